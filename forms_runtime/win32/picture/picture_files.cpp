#include "forms_runtime/win32/picture/picture_files.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/pixels/exif_orientation.h"
#include "forms_runtime/pixels/picture_header.h"
#include "forms_runtime/win32/picture/metafile_loader.h"
#include "forms_runtime/win32/wide.h"

namespace kivo::forms::win32 {

namespace {

class OpenFile : public ByteSource {
  public:
    explicit OpenFile(const std::string& path)
        : handle_(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (handle_ == INVALID_HANDLE_VALUE) {
            throw RuntimeError(ErrorKind::FileNotFound, path);
        }
        LARGE_INTEGER size = {};
        size_ = GetFileSizeEx(handle_, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
    }
    ~OpenFile() override { CloseHandle(handle_); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    std::uint64_t size() const override { return size_; }
    std::string Read(std::uint64_t offset, std::size_t count) override {
        if (offset >= size_) {
            return {};
        }
        count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
        std::string bytes(count, '\0');
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        if (!ReadFile(handle_, bytes.data(), static_cast<DWORD>(count), &read, &at)) {
            read = 0;
        }
        bytes.resize(read);
        return bytes;
    }

  private:
    HANDLE handle_;
    std::uint64_t size_ = 0;
};

}  // namespace

Picture LoadPictureFile(WicLoader& wic, const std::string& path, const DecodeHint& hint,
                        const PixelScale& scale) {
    PictureHeader header;
    std::string head;
    std::string whole;
    {
        OpenFile file(path);
        head = file.Read(0, kJpegHeadBytes);
        if (head.empty()) {
            throw RuntimeError(ErrorKind::InvalidPicture, path);
        }
        // What the header claims is checked before any codec sees the file: a size beyond the
        // limit, or a structure that does not fit the file, is no picture.
        header = ReadPictureHeader(file);
        if (header.format != PictureFormat::Unknown && !header.sound) {
            throw RuntimeError(ErrorKind::InvalidPicture, path);
        }
        if (header.format == PictureFormat::WindowsMetafile ||
            header.format == PictureFormat::EnhancedMetafile) {
            whole = file.Read(0, static_cast<std::size_t>(file.size()));
        }
    }
    switch (header.format) {
        case PictureFormat::EnhancedMetafile:
            return LoadEnhancedMetafile(path, whole);
        case PictureFormat::WindowsMetafile:
            return LoadWindowsMetafile(path, whole);
        case PictureFormat::Cursor:
            return LoadCursorFile(path, scale);
        default:
            break;
    }
    return wic.LoadFile(path, head, hint, scale);
}

}  // namespace kivo::forms::win32
