#include "tests/win32/test_files.h"

#include <objidl.h>
#include <wincodec.h>

#include <stdexcept>

#include "forms_runtime/win32/picture/com_ptr.h"
#include "forms_runtime/win32/wide.h"

namespace kivo::forms::win32::test {

namespace {

void Check(HRESULT result, const char* what) {
    if (FAILED(result)) {
        throw std::runtime_error(what);
    }
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

// A camera-data segment that records only the orientation, in little-endian TIFF structure.
std::string OrientationSegment(int orientation) {
    std::string tiff = std::string("II*\0", 4) + std::string("\x08\0\0\0", 4);
    tiff += std::string("\x01\0", 2);                    // one entry
    tiff += std::string("\x12\x01\x03\0\x01\0\0\0", 8);  // tag 274, SHORT, 1
    tiff += static_cast<char>(orientation);
    tiff += std::string("\0\0\0", 3);
    tiff += std::string("\0\0\0\0", 4);  // no next directory
    const std::string payload = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = payload.size() + 2;
    return std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) +
           static_cast<char>(length & 0xFF) + payload;
}

}  // namespace

TempFolder::TempFolder() {
    static int counter = 0;
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    const std::wstring folder = std::wstring(base) + L"kivo_win32_test_" +
                                std::to_wstring(GetCurrentProcessId()) + L"_" +
                                std::to_wstring(++counter);
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    path_ = Narrow(folder);
}

TempFolder::~TempFolder() {
    RemoveTree(Widen(path_));
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const {
    HANDLE file = CreateFileW(Widen(Join(name)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot write " + name);
    }
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void TempFolder::MakeFolder(const std::string& name) const {
    CreateDirectoryW(Widen(Join(name)).c_str(), nullptr);
}

void TempFolder::SetAttributes(const std::string& name, DWORD attributes) const {
    SetFileAttributesW(Widen(Join(name)).c_str(), attributes);
}

std::string SolidBmp(int width, int height, std::uint32_t rgb) {
    return MakeBmp(width, height, [rgb](int, int) { return rgb; });
}

std::string BmpHeaderOnly(int width, int height) {
    std::string bmp = SolidBmp(1, 1, 0);
    for (int i = 0; i < 4; ++i) {
        bmp[18 + static_cast<std::size_t>(i)] = static_cast<char>((width >> (8 * i)) & 0xFF);
        bmp[22 + static_cast<std::size_t>(i)] = static_cast<char>((height >> (8 * i)) & 0xFF);
    }
    return bmp;
}

std::string MakeJpeg(int width, int height, const std::vector<std::uint32_t>& rgb,
                     int orientation) {
    ComPtr<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put())),
          "factory");
    ComPtr<IStream> stream;
    Check(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), "stream");
    ComPtr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put()), "encoder");
    Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "encoder start");
    ComPtr<IWICBitmapFrameEncode> frame;
    Check(encoder->CreateNewFrame(frame.put(), nullptr), "frame");
    Check(frame->Initialize(nullptr), "frame start");
    Check(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), "size");
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    Check(frame->SetPixelFormat(&format), "format");
    std::string pixels;
    for (std::uint32_t value : rgb) {
        pixels += static_cast<char>(value & 0xFF);
        pixels += static_cast<char>((value >> 8) & 0xFF);
        pixels += static_cast<char>((value >> 16) & 0xFF);
    }
    Check(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width) * 3,
                             static_cast<UINT>(pixels.size()),
                             reinterpret_cast<BYTE*>(pixels.data())),
          "pixels");
    Check(frame->Commit(), "frame commit");
    Check(encoder->Commit(), "commit");
    HGLOBAL memory = nullptr;
    Check(GetHGlobalFromStream(stream.get(), &memory), "memory");
    STATSTG stat = {};
    Check(stream->Stat(&stat, STATFLAG_NONAME), "stat");
    const auto* bytes = static_cast<const char*>(GlobalLock(memory));
    std::string jpeg(bytes, static_cast<std::size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    if (orientation == 0) {
        return jpeg;
    }
    // Right after the start of image, before any other segment.
    return jpeg.substr(0, 2) + OrientationSegment(orientation) + jpeg.substr(2);
}

std::string MakePlaceableMetafile(int width, int height, int per_inch) {
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
    auto put16 = [&header](std::size_t at, int value) {
        header[at] = static_cast<char>(value & 0xFF);
        header[at + 1] = static_cast<char>((value >> 8) & 0xFF);
    };
    put16(0, 0xCDD7);
    put16(2, 0x9AC6);
    put16(10, width);
    put16(12, height);
    put16(14, per_inch);
    int checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2) {
        checksum ^= static_cast<unsigned char>(header[i]) |
                    (static_cast<unsigned char>(header[i + 1]) << 8);
    }
    put16(20, checksum);
    return header + records;
}

}  // namespace kivo::forms::win32::test
