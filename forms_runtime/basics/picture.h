#pragma once

#include <memory>

#include "forms_runtime/basics/decode_hint.h"

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

}  // namespace kivo::forms
