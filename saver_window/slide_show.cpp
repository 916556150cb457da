#include "saver_window/slide_show.h"

#include <algorithm>

#include "saver_window/frmScreenSaver.h"

namespace kivo::saver_window {

void SlideShow::Join(frmScreenSaver& window) {
    auto surface = std::make_unique<Surface>();
    surface->window = &window;
    surfaces_.push_back(std::move(surface));
}

void SlideShow::Leave(frmScreenSaver& window) {
    const auto gone = std::find_if(
        surfaces_.begin(), surfaces_.end(),
        [&window](const std::unique_ptr<Surface>& surface) { return surface->window == &window; });
    if (gone == surfaces_.end()) {
        return;
    }
    if (loading_ == gone->get()) {
        loading_ = nullptr;  // its arrival is dropped with its slot
    }
    surfaces_.erase(gone);
}

bool SlideShow::Leads(const frmScreenSaver& window) const {
    return !surfaces_.empty() && surfaces_.front()->window == &window;
}

std::vector<frmScreenSaver*> SlideShow::Windows() const {
    std::vector<frmScreenSaver*> windows;
    for (const std::unique_ptr<Surface>& surface : surfaces_) {
        windows.push_back(surface->window);
    }
    return windows;
}

void SlideShow::Listed() {
    listed_ = true;
    Prepare();
}

void SlideShow::Tick() {
    for (const std::unique_ptr<Surface>& surface : surfaces_) {
        surface->due = true;
    }
    Prepare();
}

void SlideShow::Prepare() {
    if (resting_) {
        return;
    }
    // Every window that is ready changes first, so that the choices below know what each window
    // shows next.
    for (const std::unique_ptr<Surface>& surface : surfaces_) {
        if (surface->due && surface->stage == Stage::Ready) {
            Show(*surface);
        }
    }
    for (const std::unique_ptr<Surface>& surface : surfaces_) {
        // A window not yet placed is not sized for its slide yet, unless its tick has come.
        if (surface->stage == Stage::None &&
            (surface->due || (listed_ && surface->window->shown()))) {
            Choose(*surface);
        }
        if (surface->due && surface->stage == Stage::Ready) {
            Show(*surface);  // nothing to load: an empty list
        }
    }
    if (loading_ != nullptr) {
        return;
    }
    const auto next = std::find_if(
        surfaces_.begin(), surfaces_.end(),
        [](const std::unique_ptr<Surface>& surface) { return surface->stage == Stage::Chosen; });
    if (next != surfaces_.end()) {
        Load(**next);
    }
}

void SlideShow::Rest(bool resting) {
    if (resting_ == resting) {
        return;
    }
    resting_ = resting;
    if (!resting) {
        Prepare();
        return;
    }
    loading_ = nullptr;
    for (const std::unique_ptr<Surface>& surface : surfaces_) {
        surface->load.Drop();
        surface->stage = Stage::None;
        surface->next = {};
        surface->due = false;
    }
}

void SlideShow::Choose(Surface& surface) {
    const forms::FileList& list = surfaces_.front()->window->File1;
    const std::int32_t count = list.ListCount();
    const std::int32_t drawn = surface.window->Draw(count);
    surface.next = {};
    surface.next.index = Apart(surface, drawn, count);
    surface.next.name = list.List(surface.next.index);
    surface.next.has_file = count > 0;
    surface.stage = count > 0 ? Stage::Chosen : Stage::Ready;
}

std::int32_t SlideShow::Apart(const Surface& surface, std::int32_t drawn,
                              std::int32_t count) const {
    const auto taken = [&](std::int32_t position) {
        return std::any_of(surfaces_.begin(), surfaces_.end(),
                           [&](const std::unique_ptr<Surface>& other) {
                               return other.get() != &surface && other->stage != Stage::None &&
                                      other->next.has_file && other->next.index == position;
                           });
    };
    if (count <= 0 || !taken(drawn)) {
        return drawn;
    }
    // The next free position after the draw; the window's own previous one only when no other is
    // free.
    std::int32_t fallback = drawn;
    for (std::int32_t step = 1; step < count; ++step) {
        const std::int32_t position = (drawn + step) % count;
        if (taken(position)) {
            continue;
        }
        if (position != surface.window->PreviousIndex) {
            return position;
        }
        fallback = position;
    }
    return fallback;
}

void SlideShow::Load(Surface& surface) {
    surface.stage = Stage::Loading;
    loading_ = &surface;
    const std::string path = surfaces_.front()->window->File1.Path.get() + "\\" + surface.next.name;
    app_.LoadPictureLater(path, surface.window->SlideHint(),
                          [this, &surface, load = surface.load.Take()](forms::Picture picture) {
                              if (!load.wanted()) {
                                  return;  // the window is gone, or the displays went off
                              }
                              loading_ = nullptr;
                              surface.next.picture = std::move(picture);
                              surface.stage = Stage::Ready;
                              Prepare();
                          });
}

void SlideShow::Show(Surface& surface) {
    const PreparedSlide slide = std::move(surface.next);
    surface.next = {};
    surface.stage = Stage::None;
    surface.due = false;
    surface.window->ShowSlide(slide);
}

}  // namespace kivo::saver_window
