#include <functional>

#include "forms_runtime/basics/conversions.h"
#include "saver_window/frmScreenSaver.h"

namespace kivo::saver_window {

namespace {

// The scale at which the fitting step below shows a picture of that natural size: the side that
// meets the window's edge decides, a picture that fits keeps its size. Values only, so that the
// loader may ask from its own thread.
std::function<double(int, int)> FittedScale(float window_width, float window_height,
                                            const forms::ScreenMetrics& screen) {
    return [window_width, window_height, tx = screen.twips_per_pixel_x,
            ty = screen.twips_per_pixel_y](int width_px, int height_px) {
        const double width = static_cast<double>(width_px) * tx;
        const double height = static_cast<double>(height_px) * ty;
        if (width <= window_width && height <= window_height) {
            return 1.0;
        }
        return width > height ? window_width / width : window_height / height;
    };
}

}  // namespace

// One slide per tick: a random file of the folder, never the previous tick's when there is
// another, named in the label, loaded, shrunk to the window when larger, and centred.
void frmScreenSaver::Timer_Timer() {
    Imager.Visible = false;
    Imager.Stretch = false;

    const float r = app().Rnd();
    const std::int32_t count = File1.ListCount();
    CurrentIndex = static_cast<std::int32_t>(forms::Int(r * static_cast<float>(count)));
    if (count > 0 && CurrentIndex >= count) {
        CurrentIndex = count - 1;  // a draw just below 1 that single precision rounded up
    }
    if (CurrentIndex == PreviousIndex) {
        if (CurrentIndex == File1.ListCount() - 1) {
            if (CurrentIndex != 0) {
                --CurrentIndex;
            }
        } else {
            ++CurrentIndex;
        }
    }
    const std::string file_name = File1.List(CurrentIndex);
    Label.Caption = file_name;

    if (count > 0) {
        ShowSlide(file_name);
    }
    Imager.Visible = true;
    PreviousIndex = CurrentIndex;
}

void frmScreenSaver::ShowSlide(const std::string& file_name) {
    const float window_width = Width;
    const float window_height = Height;
    const forms::ScreenMetrics screen = app().Screen();

    forms::ResumeNext step;
    step([&] {
        forms::DecodeHint hint;
        hint.shown_scale = FittedScale(window_width, window_height, screen);
        Imager.Picture = app().LoadPicture(File1.Path.get() + "\\" + file_name, hint);
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

}  // namespace kivo::saver_window
