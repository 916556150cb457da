#pragma once

#include <wincodec.h>
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "forms_runtime/picture.h"
#include "forms_runtime/win32/com_ptr.h"
#include "forms_runtime/win32/pixel_scale.h"

namespace kivo::forms::win32 {

// Decodes pictures with the Windows Imaging Component: the first frame (an icon's largest
// image), upright as its camera orientation says, converted to premultiplied BGRA, and reduced on
// the way when the hint allows. COM must be initialised on the calling thread.
class WicLoader {
  public:
    // `head` holds the file's first bytes, for camera data the component may not read.
    Picture LoadFile(const std::string& path, std::string_view head, const DecodeHint& hint,
                     const PixelScale& scale);
    // `subject` names the picture in errors.
    Picture LoadMemory(const void* data, std::size_t size, const std::string& subject,
                       const DecodeHint& hint, const PixelScale& scale);

  private:
    IWICImagingFactory* Factory(const std::string& subject);
    Picture Decode(IWICBitmapDecoder* decoder, std::string_view head, const std::string& subject,
                   const DecodeHint& hint, const PixelScale& scale);
    bool ScalerAverages();

    ComPtr<IWICImagingFactory> factory_;
    std::optional<bool> scaler_averages_;
};

}  // namespace kivo::forms::win32
