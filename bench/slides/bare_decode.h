// The codec's bare decode of one file, shared by the benchmark's programs: the imaging component
// decodes the whole first frame, in the pixel format it decodes to, into memory; nothing else.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <wincodec.h>

#include <cstddef>
#include <memory>
#include <string>

namespace kivo::bench {

template <typename T>
void Release(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

inline UINT BitsPerPixel(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
    IWICComponentInfo* info = nullptr;
    IWICPixelFormatInfo* pixel_info = nullptr;
    UINT bits = 32;
    if (SUCCEEDED(factory->CreateComponentInfo(format, &info)) &&
        SUCCEEDED(
            info->QueryInterface(IID_IWICPixelFormatInfo, reinterpret_cast<void**>(&pixel_info)))) {
        pixel_info->GetBitsPerPixel(&bits);
    }
    Release(pixel_info);
    Release(info);
    return bits;
}

// Decodes one file; false when the codec refuses it.
inline bool BareDecode(IWICImagingFactory* factory, const std::wstring& path) {
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    bool decoded = false;
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format = {};
    if (SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
        SUCCEEDED(frame->GetPixelFormat(&format))) {
        const UINT stride = (width * BitsPerPixel(factory, format) + 7) / 8;
        const std::size_t size = static_cast<std::size_t>(stride) * height;
        // Left as the system gives it: the decode writes every byte.
        const std::unique_ptr<BYTE[]> pixels(new BYTE[size]);
        decoded =
            SUCCEEDED(frame->CopyPixels(nullptr, stride, static_cast<UINT>(size), pixels.get()));
    }
    Release(frame);
    Release(decoder);
    return decoded;
}

// The imaging component's factory, or nullptr; COM must be initialised on the thread.
inline IWICImagingFactory* ImagingFactory() {
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
        return nullptr;
    }
    return factory;
}

}  // namespace kivo::bench
