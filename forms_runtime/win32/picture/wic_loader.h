#pragma once

#include <wincodec.h>
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "forms_runtime/basics/picture.h"
#include "forms_runtime/pixels/decode_size.h"
#include "forms_runtime/pixels/pixel_resampler.h"
#include "forms_runtime/pixels/pixel_scale.h"
#include "forms_runtime/win32/picture/com_ptr.h"

namespace kivo::forms::win32 {

// Decodes pictures with the Windows Imaging Component: the first frame (an icon's largest
// image), upright as its camera orientation says, converted to premultiplied BGRA, and reduced on
// the way to the size the hint says it is shown at. COM must be initialised on the calling thread,
// and one loader is used on one thread only.
class WicLoader {
  public:
    // `head` holds the file's first bytes, for camera data the component may not read.
    Picture LoadFile(const std::string& path, std::string_view head, const DecodeHint& hint,
                     const PixelScale& scale);

  private:
    IWICImagingFactory* Factory(const std::string& subject);
    Picture Decode(IWICBitmapDecoder* decoder, std::string_view head, const std::string& subject,
                   const DecodeHint& hint, const PixelScale& scale);
    // Converts the whole source to premultiplied BGRA into `into`, which has its size.
    void CopyConverted(IWICBitmapSource* source, const PixelRows& into, const std::string& subject);
    // Decodes the frame shrunk to the size of `into`; true when its pixels are opaque.
    bool CopyReduced(IWICBitmapFrameDecode* frame, PictureSize stored, const PixelRows& into,
                     const std::string& subject);

    bool ScalerAverages();

    ComPtr<IWICImagingFactory> factory_;
    std::optional<bool> scaler_averages_;
};

}  // namespace kivo::forms::win32
