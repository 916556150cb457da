#include "forms_runtime/win32/picture/picture_files.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "forms_runtime/errors.h"
#include "forms_runtime/pixels/exif_orientation.h"
#include "forms_runtime/win32/picture/metafile_loader.h"
#include "forms_runtime/win32/wide.h"

namespace kivo::forms::win32 {

namespace {

enum class PictureFormat { Coded, EnhancedMetafile, WindowsMetafile, Cursor };

// Metafiles beyond this size are not pictures anyone made on purpose.
constexpr LONGLONG kLargestMetafile = 256LL * 1024 * 1024;

class OpenFile {
  public:
    explicit OpenFile(const std::string& path)
        : handle_(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (handle_ == INVALID_HANDLE_VALUE) {
            throw RuntimeError(ErrorKind::FileNotFound, path);
        }
    }
    ~OpenFile() { CloseHandle(handle_); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    std::string Read(std::size_t count) {
        std::string bytes(count, '\0');
        DWORD read = 0;
        if (!ReadFile(handle_, bytes.data(), static_cast<DWORD>(count), &read, nullptr)) {
            read = 0;
        }
        bytes.resize(read);
        return bytes;
    }
    LONGLONG Size() const {
        LARGE_INTEGER size = {};
        return GetFileSizeEx(handle_, &size) ? size.QuadPart : 0;
    }
    void Rewind() {
        LARGE_INTEGER zero = {};
        SetFilePointerEx(handle_, zero, nullptr, FILE_BEGIN);
    }

  private:
    HANDLE handle_;
};

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof(value));
    return value;
}

PictureFormat Sniff(const std::string& head) {
    if (head.size() >= 4 && Le32(head, 0) == 0x9AC6CDD7) {
        return PictureFormat::WindowsMetafile;  // placeable
    }
    if (head.size() >= 44 && Le32(head, 0) == EMR_HEADER && Le32(head, 40) == ENHMETA_SIGNATURE) {
        return PictureFormat::EnhancedMetafile;
    }
    if (head.size() >= 4 && head[0] == 0 && head[1] == 0 && head[2] == 2 && head[3] == 0) {
        return PictureFormat::Cursor;
    }
    if (head.size() >= 4 && (head[0] == 1 || head[0] == 2) && head[1] == 0 && head[2] == 9 &&
        head[3] == 0) {
        return PictureFormat::WindowsMetafile;  // a bare header: in memory or on disk, 9 words
    }
    return PictureFormat::Coded;
}

}  // namespace

Picture LoadPictureFile(WicLoader& wic, const std::string& path, const DecodeHint& hint,
                        const PixelScale& scale) {
    PictureFormat format;
    std::string head;
    std::string whole;
    {
        OpenFile file(path);
        head = file.Read(kJpegHeadBytes);
        if (head.empty()) {
            throw RuntimeError(ErrorKind::InvalidPicture, path);
        }
        format = Sniff(head);
        if (format == PictureFormat::WindowsMetafile) {
            if (file.Size() > kLargestMetafile) {
                throw RuntimeError(ErrorKind::InvalidPicture, path);
            }
            file.Rewind();
            whole = file.Read(static_cast<std::size_t>(file.Size()));
        }
    }
    switch (format) {
        case PictureFormat::EnhancedMetafile:
            return LoadEnhancedMetafile(path);
        case PictureFormat::WindowsMetafile:
            return LoadWindowsMetafile(path, whole);
        case PictureFormat::Cursor:
            return LoadCursorFile(path, scale);
        case PictureFormat::Coded:
            break;
    }
    return wic.LoadFile(path, head, hint, scale);
}

Picture LoadPictureResource(WicLoader& wic, const std::string& name, const PixelScale& scale) {
    HMODULE module = GetModuleHandleW(nullptr);
    const std::wstring wide_name = Widen(name);
    HRSRC found = FindResourceW(module, wide_name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        throw RuntimeError(ErrorKind::FileNotFound, name);
    }
    return wic.LoadMemory(data, SizeofResource(module, found), name, DecodeHint{}, scale);
}

}  // namespace kivo::forms::win32
