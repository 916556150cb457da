#pragma once

#include <functional>
#include <memory>

namespace kivo::forms {

// A loaded picture. Its natural size is what an image control without stretching takes: the
// picture's pixel size times twips per pixel (a metafile's own frame). The backend that loaded it
// keeps its pixels (or drawing) in a subclass, possibly at a reduced scale: the natural size does
// not change with the scale it was decoded at.
class PictureData {
  public:
    PictureData(float width_twips, float height_twips)
        : width_twips_(width_twips), height_twips_(height_twips) {}
    virtual ~PictureData() = default;

    float width_twips() const { return width_twips_; }
    float height_twips() const { return height_twips_; }

  private:
    float width_twips_;
    float height_twips_;
};

using Picture = std::shared_ptr<const PictureData>;

// What the caller knows of how large a picture will be shown, so that a loader can decode a large
// picture no larger than that. `shown_scale` gives, for a picture of a natural size in pixels
// (upright), the largest scale at which it will be shown: shown pixels over natural pixels, the
// same on both sides. A loader decodes at that scale when it is below 1; empty, or 1 and above,
// is the natural size. It may be called on a loading thread while the caller waits: it must
// depend on its arguments and on values it captured by copy, nothing else.
struct DecodeHint {
    std::function<double(int width_px, int height_px)> shown_scale;
};

}  // namespace kivo::forms
