#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kivo::forms {

// A picture file's bytes, read at any offset: the file itself or a copy of it in memory.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // The file's length in bytes.
    virtual std::uint64_t size() const = 0;
    // Up to `count` bytes from `offset`: fewer at the end of the file, none beyond it or when the
    // file cannot be read.
    virtual std::string Read(std::uint64_t offset, std::size_t count) = 0;
};

// Bytes already in memory; the view must outlive the source.
class MemoryBytes : public ByteSource {
  public:
    explicit MemoryBytes(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    std::string Read(std::uint64_t offset, std::size_t count) override;

  private:
    std::string_view bytes_;
};

enum class PictureFormat {
    Unknown,  // no signature this reader knows: left to the system's codecs
    Bitmap,
    Jpeg,
    Gif,
    Png,
    Tiff,
    Icon,
    Cursor,
    WindowsMetafile,  // with or without the placeable header
    EnhancedMetafile,
};

// What a picture file's own header claims, read before any codec opens the file.
struct PictureHeader {
    PictureFormat format = PictureFormat::Unknown;
    // The stored size the header claims, in pixels (a metafile's frame at 96 pixels to the inch;
    // an icon's or cursor's largest image); 0 when the format does not say (a bare metafile).
    std::int64_t width = 0;
    std::int64_t height = 0;
    // The header is whole, its structure fits inside the file (every metafile record, every
    // TIFF directory, every icon image), and its size is within the picture limit. A file of a
    // known format that is not sound is no picture, and is refused before decoding.
    bool sound = false;
};

// Reads the header of the picture in `file`. Every claim is checked against the file's length;
// walks are bounded by it, so that no input makes this loop or read far. A metafile is read
// whole (at most kLargestMetafile bytes, larger ones are not sound). Never throws.
PictureHeader ReadPictureHeader(ByteSource& file);

// Metafiles beyond this many bytes are not pictures anyone made on purpose.
inline constexpr std::uint64_t kLargestMetafile = 256ULL * 1024 * 1024;

}  // namespace kivo::forms
