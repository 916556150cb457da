#include "forms_runtime/win32/wic_loader.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "forms_runtime/errors.h"
#include "forms_runtime/win32/bitmap_picture.h"
#include "forms_runtime/win32/com_error.h"
#include "forms_runtime/win32/decode_size.h"
#include "forms_runtime/win32/exif_orientation.h"
#include "forms_runtime/win32/pixel_orientation.h"
#include "forms_runtime/win32/pixel_resampler.h"
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
ComPtr<IWICBitmapSource> AsSource(const ComPtr<T>& object) {
    ComPtr<IWICBitmapSource> source;
    object->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(source.put()));
    return source;
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
        SUCCEEDED(scaler->Initialize(AsSource(pair).get(), 1, 1, WICBitmapInterpolationModeFant)) &&
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

Picture WicLoader::LoadMemory(const void* data, std::size_t size, const std::string& subject,
                              const DecodeHint& hint, const PixelScale& scale) {
    IWICImagingFactory* factory = Factory(subject);
    ComPtr<IWICStream> stream;
    ThrowIfFailed(factory->CreateStream(stream.put()), ErrorKind::InvalidPicture, subject);
    ThrowIfFailed(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)),
                                               static_cast<DWORD>(size)),
                  ErrorKind::InvalidPicture, subject);
    ComPtr<IWICBitmapDecoder> decoder;
    ThrowIfFailed(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                   WICDecodeMetadataCacheOnDemand, decoder.put()),
                  ErrorKind::InvalidPicture, subject);
    const std::string_view head(static_cast<const char*>(data),
                                size < kJpegHeadBytes ? size : kJpegHeadBytes);
    return Decode(decoder.get(), head, subject, hint, scale);
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
    const PixelSize stored{static_cast<int>(stored_width), static_cast<int>(stored_height)};

    const int orientation = ReadOrientation(decoder, frame.get(), head);
    PixelSize natural = stored;
    if (SwapsSides(orientation)) {
        std::swap(natural.width, natural.height);
    }
    PixelSize reduced = DecodeSize(natural, hint);
    if (SwapsSides(orientation)) {
        std::swap(reduced.width, reduced.height);  // back to the stored picture's sides
    }
    const bool reduces = !(reduced == stored);
    const bool scaler_reduces = reduces && ScalerAverages();

    ComPtr<IWICBitmapSource> source = AsSource(frame);
    if (scaler_reduces) {
        ComPtr<IWICBitmapScaler> scaler;
        check(factory->CreateBitmapScaler(scaler.put()));
        check(scaler->Initialize(source.get(), static_cast<UINT>(reduced.width),
                                 static_cast<UINT>(reduced.height),
                                 WICBitmapInterpolationModeFant));
        source = AsSource(scaler);
    }
    ComPtr<IWICFormatConverter> converter;
    check(factory->CreateFormatConverter(converter.put()));
    check(converter->Initialize(source.get(), GUID_WICPixelFormat32bppPBGRA,
                                WICBitmapDitherTypeNone, nullptr, 0,
                                WICBitmapPaletteTypeMedianCut));

    UINT width = 0;
    UINT height = 0;
    check(converter->GetSize(&width, &height));
    if (static_cast<std::uint64_t>(width) * height * 4 > 0x7FFFFFFF) {
        check(WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
    }
    const auto copy_into = [&](const PixelRows& rows) {
        check(converter->CopyPixels(nullptr, static_cast<UINT>(rows.stride) * 4,
                                    static_cast<UINT>(rows.stride * rows.height) * 4,
                                    reinterpret_cast<BYTE*>(rows.pixels)));
    };
    Dib pixels(reduced.width, reduced.height);
    if (SwapsSides(orientation)) {
        pixels = Dib(reduced.height, reduced.width);
    }
    if (!pixels) {
        check(WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
    }
    if (!(reduces && !scaler_reduces) && orientation == 1) {
        copy_into(pixels.rows());
    } else {
        std::vector<std::uint32_t> decoded(static_cast<std::size_t>(width) * height);
        PixelRows rows{decoded.data(), static_cast<int>(width), static_cast<int>(height),
                       static_cast<int>(width)};
        copy_into(rows);
        std::vector<std::uint32_t> averaged;
        if (reduces && !scaler_reduces) {
            averaged.resize(static_cast<std::size_t>(reduced.width) * reduced.height);
            const PixelRows small{averaged.data(), reduced.width, reduced.height, reduced.width};
            Resample(rows, small);
            rows = small;
        }
        // The component's own flip-rotator cannot be relied on to turn pictures (some
        // implementations only mirror them upside down): they are turned upright here.
        MakeUpright(rows, orientation, pixels.rows());
    }
    auto picture = std::make_shared<BitmapPicture>(std::move(pixels), scale.TwipsX(natural.width),
                                                   scale.TwipsY(natural.height));
    picture->PixelsWritten();
    return picture;
}

}  // namespace kivo::forms::win32
