#include "tests/win32/picture_writers.h"

#include <windows.h>

#include <objidl.h>
#include <wincodec.h>

#include <stdexcept>

#include "forms_runtime/win32/picture/com_ptr.h"

namespace kivo::test {

namespace {

using forms::win32::ComPtr;

void Put(std::string& bytes, std::size_t at, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// A camera-data segment that holds only the orientation, in little-endian TIFF structure.
std::string OrientationSegment(int orientation) {
    std::string tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 18);
    tiff += std::string(1, static_cast<char>(orientation)) + std::string(7, '\0');
    const std::string payload = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = payload.size() + 2;
    return std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) +
           static_cast<char>(length & 0xFF) + payload;
}

}  // namespace

std::string Bmp(int width, int height, const PixelOf& pixel) {
    const auto row = static_cast<std::uint32_t>((width * 3 + 3) & ~3);
    const std::uint32_t size = 54 + row * static_cast<std::uint32_t>(height);
    std::string out(size, '\0');
    out[0] = 'B';
    out[1] = 'M';
    Put(out, 2, size, 4);
    Put(out, 10, 54, 4);
    Put(out, 14, 40, 4);
    Put(out, 18, static_cast<std::uint32_t>(width), 4);
    Put(out, 22, static_cast<std::uint32_t>(height), 4);
    Put(out, 26, 1, 2);
    Put(out, 28, 24, 2);
    for (int y = 0; y < height; ++y) {
        const std::size_t line = 54 + row * static_cast<std::uint32_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            Put(out, line + static_cast<std::size_t>(x) * 3, pixel(x, y), 3);  // B, G, R
        }
    }
    return out;
}

std::string BmpHeaderOnly(int width, int height) {
    std::string bmp = Bmp(1, 1, [](int, int) { return 0u; });
    Put(bmp, 18, static_cast<std::uint32_t>(width), 4);
    Put(bmp, 22, static_cast<std::uint32_t>(height), 4);
    return bmp;
}

std::string Jpeg(int width, int height, const PixelOf& pixel, int orientation) {
    std::string pixels(static_cast<std::size_t>(width * height * 3), '\0');
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Put(pixels, static_cast<std::size_t>((y * width + x) * 3), pixel(x, y), 3);
        }
    }
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    HGLOBAL memory = nullptr;
    STATSTG stat = {};
    const auto w = static_cast<UINT>(width);
    const auto h = static_cast<UINT>(height);
    const bool made =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(factory.put()))) &&
        SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put())) &&
        SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(frame.put(), nullptr)) &&
        SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->SetSize(w, h)) &&
        SUCCEEDED(frame->SetPixelFormat(&format)) &&
        SUCCEEDED(frame->WritePixels(h, w * 3, static_cast<UINT>(pixels.size()),
                                     reinterpret_cast<BYTE*>(pixels.data()))) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit()) &&
        SUCCEEDED(GetHGlobalFromStream(stream.get(), &memory)) &&
        SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME));
    if (!made) {
        throw std::runtime_error("cannot make a JPEG");
    }
    const std::string jpeg(static_cast<const char*>(GlobalLock(memory)),
                           static_cast<std::size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    // The camera data right after the start of the image, before any other segment.
    return orientation == 0 ? jpeg
                            : jpeg.substr(0, 2) + OrientationSegment(orientation) + jpeg.substr(2);
}

std::string PlaceableMetafile(int width, int height, int per_inch) {
    HDC recorder = CreateMetaFileW(nullptr);
    SetMapMode(recorder, MM_ANISOTROPIC);
    SetWindowExtEx(recorder, width, height, nullptr);
    Rectangle(recorder, 0, 0, width, height);
    HMETAFILE metafile = CloseMetaFile(recorder);
    const UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
    std::string records(size, '\0');
    GetMetaFileBitsEx(metafile, size, records.data());
    DeleteMetaFile(metafile);
    std::string header(22, '\0');
    Put(header, 0, 0x9AC6CDD7, 4);
    Put(header, 10, static_cast<std::uint32_t>(width), 2);
    Put(header, 12, static_cast<std::uint32_t>(height), 2);
    Put(header, 14, static_cast<std::uint32_t>(per_inch), 2);
    std::uint32_t checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2) {
        checksum ^= static_cast<unsigned char>(header[i]) |
                    (static_cast<std::uint32_t>(static_cast<unsigned char>(header[i + 1])) << 8);
    }
    Put(header, 20, checksum, 2);
    return header + records;
}

std::string EnhancedMetafile(int width, int height) {
    const RECT frame{0, 0, width, height};
    HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
    Rectangle(recorder, 0, 0, 10, 10);
    HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    std::string bytes(size, '\0');
    GetEnhMetaFileBits(metafile, size, reinterpret_cast<BYTE*>(bytes.data()));
    DeleteEnhMetaFile(metafile);
    return bytes;
}

}  // namespace kivo::test
