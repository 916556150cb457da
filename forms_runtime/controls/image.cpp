#include "forms_runtime/controls/image.h"

#include "forms_runtime/controls/read_for.h"
#include "forms_runtime/controls/services.h"

namespace kivo::forms {

Image::Image(ControlHost& host, const ControlSpec& layout, Control* container)
    : Control(host, layout, container), Stretch(layout.stretch) {
    Picture.on_change([this] {
        loads_.Take();  // a load under way would replace what was just assigned
        take_natural_size();
        notify(ControlProperty::Picture);
    });
    Stretch.on_change([this] {
        take_natural_size();
        notify(ControlProperty::Picture);
    });
    if (!layout.picture.empty()) {
        Picture = host.services().LoadResourcePicture(std::string(layout.picture));
    }
}

void Image::LoadLater(const std::string& path, const DecodeHint& hint) {
    host().services().LoadPictureLater(path, hint,
                                       [this, ticket = loads_.Take()](forms::Picture picture) {
                                           if (StillWanted(ticket, *this) && picture) {
                                               Picture = std::move(picture);
                                           }
                                       });
}

void Image::take_natural_size() {
    const forms::Picture& picture = Picture;
    if (Stretch || !picture) {
        return;
    }
    float border_x = 0;
    float border_y = 0;
    if (border()) {  // two pixels on each side in the three-dimensional look
        const ScreenMetrics screen = host().services().Screen();
        border_x = 4 * screen.twips_per_pixel_x;
        border_y = 4 * screen.twips_per_pixel_y;
    }
    Width.store(picture->width_twips() + border_x);
    Height.store(picture->height_twips() + border_y);
    notify(ControlProperty::Geometry);
}

}  // namespace kivo::forms
