#include "forms_runtime/basics/conversions.h"
#include "forms_runtime/resume_next.h"
#include "saver_window/frmScreenSaver.h"

namespace kivo::saver_window {

void frmScreenSaver::Timer_Timer() {
    show_->Tick();
}

// A random file of the folder, never the previous slide's when there is another.
std::int32_t frmScreenSaver::Draw(std::int32_t count) {
    const float r = app().Rnd();
    std::int32_t index = static_cast<std::int32_t>(forms::Int(r * static_cast<float>(count)));
    if (count > 0 && index >= count) {
        index = count - 1;  // a draw just below 1 that single precision rounded up
    }
    if (index == PreviousIndex) {
        if (index == count - 1) {
            if (index != 0) {
                --index;
            }
        } else {
            ++index;
        }
    }
    return index;
}

// The scale at which ShowSlide shows a picture of that natural size: the side that meets the
// window's edge decides, a picture that fits keeps its size. Values only, so that the loader may
// ask from its own thread.
forms::DecodeHint frmScreenSaver::SlideHint() const {
    forms::DecodeHint hint;
    const forms::ScreenMetrics screen = app().Screen();
    hint.shown_scale = [window_width = Width.get(), window_height = Height.get(),
                        tx = screen.twips_per_pixel_x,
                        ty = screen.twips_per_pixel_y](int width_px, int height_px) {
        const double width = static_cast<double>(width_px) * tx;
        const double height = static_cast<double>(height_px) * ty;
        if (width <= window_width && height <= window_height) {
            return 1.0;
        }
        return width > height ? window_width / width : window_height / height;
    };
    return hint;
}

void frmScreenSaver::ShowSlide(const PreparedSlide& slide) {
    Imager.Visible = false;
    Imager.Stretch = false;
    CurrentIndex = slide.index;
    Label.Caption = slide.name;

    if (slide.has_file) {
        const float window_width = Width;
        const float window_height = Height;
        forms::ResumeNext step;
        step([&] {
            if (slide.picture) {
                Imager.Picture = slide.picture;
            }
        });
        step([&] {
            if (Imager.Width > window_width || Imager.Height > window_height) {
                // The picture's own proportions choose the side that meets the window's edge.
                const double ratio = static_cast<double>(Imager.Width) / Imager.Height;
                Imager.Stretch = true;
                if (ratio > 1) {
                    Imager.Width = window_width;
                    Imager.Height = static_cast<float>(Imager.Width / ratio);
                } else {
                    Imager.Height = window_height;
                    Imager.Width = static_cast<float>(Imager.Height * ratio);
                }
            }
        });
        step([&] {
            Imager.Move((window_width - Imager.Width) / 2, (window_height - Imager.Height) / 2);
        });
    }
    Imager.Visible = true;
    PreviousIndex = CurrentIndex;
}

}  // namespace kivo::saver_window
