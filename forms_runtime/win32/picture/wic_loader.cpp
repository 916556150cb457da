#include "forms_runtime/win32/picture/wic_loader.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/pixels/area_reducer.h"
#include "forms_runtime/pixels/decode_size.h"
#include "forms_runtime/pixels/exif_orientation.h"
#include "forms_runtime/pixels/pixel_orientation.h"
#include "forms_runtime/pixels/pixel_resampler.h"
#include "forms_runtime/win32/picture/bitmap_picture.h"
#include "forms_runtime/win32/picture/com_error.h"
#include "forms_runtime/win32/wide.h"

namespace kivo::forms::win32 {

namespace {

GUID ContainerOf(IWICBitmapDecoder* decoder) {
    GUID container = {};
    if (FAILED(decoder->GetContainerFormat(&container))) {
        return GUID{};
    }
    return container;
}

int ReadOrientation(IWICBitmapDecoder* decoder, IWICBitmapFrameDecode* frame,
                    std::string_view head) {
    const GUID container = ContainerOf(decoder);
    const bool jpeg = IsEqualGUID(container, GUID_ContainerFormatJpeg) != FALSE;
    const wchar_t* query = nullptr;
    if (jpeg) {
        query = L"/app1/ifd/{ushort=274}";
    } else if (IsEqualGUID(container, GUID_ContainerFormatTiff)) {
        query = L"/ifd/{ushort=274}";
    } else {
        return 1;
    }
    int orientation = 0;
    ComPtr<IWICMetadataQueryReader> reader;
    if (SUCCEEDED(frame->GetMetadataQueryReader(reader.put()))) {
        PROPVARIANT value;
        PropVariantInit(&value);
        if (SUCCEEDED(reader->GetMetadataByName(query, &value)) && value.vt == VT_UI2) {
            orientation = value.uiVal;
        }
        PropVariantClear(&value);
    }
    if (orientation == 0 && jpeg) {
        orientation = JpegExifOrientation(head);  // a component that reads no JPEG metadata
    }
    return orientation == 0 ? 1 : orientation;
}

// An icon file holds several images: the largest one is the picture.
UINT LargestFrame(IWICBitmapDecoder* decoder) {
    UINT count = 0;
    if (!IsEqualGUID(ContainerOf(decoder), GUID_ContainerFormatIco) ||
        FAILED(decoder->GetFrameCount(&count))) {
        return 0;
    }
    UINT best = 0;
    unsigned long long best_area = 0;
    for (UINT i = 0; i < count; ++i) {
        ComPtr<IWICBitmapFrameDecode> frame;
        UINT width = 0;
        UINT height = 0;
        if (SUCCEEDED(decoder->GetFrame(i, frame.put())) &&
            SUCCEEDED(frame->GetSize(&width, &height)) &&
            static_cast<unsigned long long>(width) * height > best_area) {
            best = i;
            best_area = static_cast<unsigned long long>(width) * height;
        }
    }
    return best;
}

template <typename T>
ComPtr<IWICBitmapSource> AsSource(T* object) {
    ComPtr<IWICBitmapSource> source;
    object->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(source.put()));
    return source;
}

// Decoded rows are taken from the codec about this many bytes at a time.
constexpr UINT kBandBytes = 1024 * 1024;

// A codec's scaled decoding, which the toolchain's headers do not declare.
struct ISourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format,
                                                 WICBitmapTransformOptions options, UINT stride,
                                                 UINT size, BYTE* pixels) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions options,
                                                           BOOL* supported) = 0;
};
constexpr GUID kSourceTransformId = {
    0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

// Whether the codec itself decodes the frame at a reduced size (as some do, from the compressed
// data, much faster than a full decode): the system's scaler, when it averages, then asks it to.
bool ScalesNatively(IWICBitmapFrameDecode* frame, PictureSize stored, PictureSize reduced) {
    ComPtr<ISourceTransform> transform;
    if (FAILED(
            frame->QueryInterface(kSourceTransformId, reinterpret_cast<void**>(transform.put())))) {
        return false;
    }
    UINT width = static_cast<UINT>(reduced.width);
    UINT height = static_cast<UINT>(reduced.height);
    return SUCCEEDED(transform->GetClosestSize(&width, &height)) &&
           static_cast<int>(width) < stored.width && static_cast<int>(height) < stored.height;
}

}  // namespace

IWICImagingFactory* WicLoader::Factory(const std::string& subject) {
    if (!factory_) {
        ThrowIfFailed(
            CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                             IID_IWICImagingFactory, reinterpret_cast<void**>(factory_.put())),
            ErrorKind::InvalidPicture, subject);
    }
    return factory_.get();
}

// Some implementations of the Fant scaler only pick pixels: reduced pictures then shimmer with
// jagged edges. Scaling black and white to one pixel tells: an averaging scaler gives grey.
bool WicLoader::ScalerAverages() {
    if (scaler_averages_.has_value()) {
        return *scaler_averages_;
    }
    scaler_averages_ = false;
    std::uint32_t pixels[2] = {0xFF000000u, 0xFFFFFFFFu};
    ComPtr<IWICBitmap> pair;
    ComPtr<IWICBitmapScaler> scaler;
    std::uint32_t result = 0;
    if (SUCCEEDED(factory_->CreateBitmapFromMemory(2, 1, GUID_WICPixelFormat32bppPBGRA, 8,
                                                   sizeof(pixels), reinterpret_cast<BYTE*>(pixels),
                                                   pair.put())) &&
        SUCCEEDED(factory_->CreateBitmapScaler(scaler.put())) &&
        SUCCEEDED(
            scaler->Initialize(AsSource(pair.get()).get(), 1, 1, WICBitmapInterpolationModeFant)) &&
        SUCCEEDED(scaler->CopyPixels(nullptr, 4, 4, reinterpret_cast<BYTE*>(&result)))) {
        const std::uint32_t green = (result >> 8) & 0xFF;
        scaler_averages_ = green > 0x40 && green < 0xC0;
    }
    return *scaler_averages_;
}

Picture WicLoader::LoadFile(const std::string& path, std::string_view head, const DecodeHint& hint,
                            const PixelScale& scale) {
    ComPtr<IWICBitmapDecoder> decoder;
    ThrowIfFailed(
        Factory(path)->CreateDecoderFromFilename(Widen(path).c_str(), nullptr, GENERIC_READ,
                                                 WICDecodeMetadataCacheOnDemand, decoder.put()),
        ErrorKind::InvalidPicture, path);
    return Decode(decoder.get(), head, path, hint, scale);
}

Picture WicLoader::Decode(IWICBitmapDecoder* decoder, std::string_view head,
                          const std::string& subject, const DecodeHint& hint,
                          const PixelScale& scale) {
    IWICImagingFactory* factory = Factory(subject);
    const auto check = [&subject](HRESULT result) {
        ThrowIfFailed(result, ErrorKind::InvalidPicture, subject);
    };

    ComPtr<IWICBitmapFrameDecode> frame;
    check(decoder->GetFrame(LargestFrame(decoder), frame.put()));
    UINT stored_width = 0;
    UINT stored_height = 0;
    check(frame->GetSize(&stored_width, &stored_height));
    if (stored_width == 0 || stored_height == 0 ||
        static_cast<std::int64_t>(stored_width) * stored_height > kMostPicturePixels) {
        throw RuntimeError(ErrorKind::InvalidPicture, subject);
    }
    const PictureSize stored{static_cast<int>(stored_width), static_cast<int>(stored_height)};

    const int orientation = ReadOrientation(decoder, frame.get(), head);
    PictureSize natural = stored;
    if (SwapsSides(orientation)) {
        std::swap(natural.width, natural.height);
    }
    PictureSize reduced = DecodeSize(natural, hint);
    if (SwapsSides(orientation)) {
        std::swap(reduced.width, reduced.height);  // back to the stored picture's sides
    }
    const bool reduces = !(reduced == stored);

    Dib pixels = SwapsSides(orientation) ? Dib(reduced.height, reduced.width)
                                         : Dib(reduced.width, reduced.height);
    if (!pixels) {
        check(WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
    }
    // The component's own flip-rotator cannot be relied on to turn pictures (some
    // implementations only mirror them upside down): they are turned upright here, from a
    // picture of the stored sides.
    std::vector<std::uint32_t> stored_pixels;
    PixelRows into = pixels.rows();
    if (orientation != 1) {
        stored_pixels.resize(static_cast<std::size_t>(reduced.width) * reduced.height);
        into = {stored_pixels.data(), reduced.width, reduced.height, reduced.width};
    }
    bool opaque = false;
    if (!reduces) {
        CopyConverted(AsSource(frame.get()).get(), into, subject);
    } else if (ScalesNatively(frame.get(), stored, reduced) && ScalerAverages()) {
        ComPtr<IWICBitmapScaler> scaler;
        check(factory->CreateBitmapScaler(scaler.put()));
        check(scaler->Initialize(AsSource(frame.get()).get(), static_cast<UINT>(reduced.width),
                                 static_cast<UINT>(reduced.height),
                                 WICBitmapInterpolationModeFant));
        CopyConverted(AsSource(scaler.get()).get(), into, subject);
    } else {
        opaque = CopyReduced(frame.get(), stored, into, subject);
    }
    if (orientation != 1) {
        MakeUpright(into, orientation, pixels.rows());
    }
    stored_pixels = {};
    auto picture = std::make_shared<BitmapPicture>(std::move(pixels), scale.TwipsX(natural.width),
                                                   scale.TwipsY(natural.height));
    picture->PixelsWritten(opaque);
    return picture;
}

void WicLoader::CopyConverted(IWICBitmapSource* source, const PixelRows& into,
                              const std::string& subject) {
    const auto check = [&subject](HRESULT result) {
        ThrowIfFailed(result, ErrorKind::InvalidPicture, subject);
    };
    ComPtr<IWICFormatConverter> converter;
    check(Factory(subject)->CreateFormatConverter(converter.put()));
    check(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                nullptr, 0, WICBitmapPaletteTypeMedianCut));
    check(converter->CopyPixels(nullptr, static_cast<UINT>(into.stride) * 4,
                                static_cast<UINT>(into.stride) * static_cast<UINT>(into.height) * 4,
                                reinterpret_cast<BYTE*>(into.pixels)));
}

// Decodes a band of rows at a time and shrinks each band as it comes, so that no copy of the
// picture at its full size is made beside the codec's own.
bool WicLoader::CopyReduced(IWICBitmapFrameDecode* frame, PictureSize stored, const PixelRows& into,
                            const std::string& subject) {
    const auto check = [&subject](HRESULT result) {
        ThrowIfFailed(result, ErrorKind::InvalidPicture, subject);
    };
    WICPixelFormatGUID format = {};
    check(frame->GetPixelFormat(&format));
    ComPtr<IWICBitmapSource> source = AsSource(frame);
    SourceLayout layout = SourceLayout::Pbgra32;
    bool straight_alpha = false;
    if (IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        layout = SourceLayout::Bgr24;
    } else if (IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA)) {
        straight_alpha = true;
    } else if (!IsEqualGUID(format, GUID_WICPixelFormat32bppPBGRA)) {
        ComPtr<IWICFormatConverter> converter;
        check(Factory(subject)->CreateFormatConverter(converter.put()));
        check(converter->Initialize(source.get(), GUID_WICPixelFormat32bppPBGRA,
                                    WICBitmapDitherTypeNone, nullptr, 0,
                                    WICBitmapPaletteTypeMedianCut));
        source = AsSource(converter.get());
    }
    const int bytes_per_pixel = layout == SourceLayout::Bgr24 ? 3 : 4;
    const UINT stride = static_cast<UINT>(stored.width) * static_cast<UINT>(bytes_per_pixel);
    const int band = static_cast<int>(std::clamp<UINT>(kBandBytes / stride, 1, 4096));
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * static_cast<UINT>(band));
    AreaReducer reducer(stored.width, stored.height, layout, into);
    for (int y = 0; y < stored.height; y += band) {
        const int count = std::min(band, stored.height - y);
        const WICRect rect{0, y, stored.width, count};
        check(source->CopyPixels(&rect, stride, stride * static_cast<UINT>(count), rows.data()));
        if (straight_alpha) {
            Premultiply(rows.data(), stored.width * count);
        }
        reducer.AddRows(rows.data(), count, stride);
    }
    return layout == SourceLayout::Bgr24;
}

}  // namespace kivo::forms::win32
