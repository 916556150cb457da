#include "forms_runtime/pixels/picture_header.h"

#include <algorithm>
#include <set>
#include <vector>

#include "forms_runtime/pixels/decode_size.h"
#include "forms_runtime/pixels/metafile_records.h"

namespace kivo::forms {

namespace {

// Integers at an offset of a byte string; 0 past its end.
class Fields {
  public:
    Fields(std::string_view bytes, bool big_endian) : bytes_(bytes), big_(big_endian) {}
    bool Has(std::uint64_t at, std::uint64_t count) const {
        return at <= bytes_.size() && count <= bytes_.size() - at;
    }
    std::uint32_t U8(std::uint64_t at) const {
        return at < bytes_.size() ? static_cast<unsigned char>(bytes_[at]) : 0;
    }
    std::uint32_t U16(std::uint64_t at) const {
        return big_ ? (U8(at) << 8) | U8(at + 1) : (U8(at + 1) << 8) | U8(at);
    }
    std::uint32_t U32(std::uint64_t at) const {
        return big_ ? (U16(at) << 16) | U16(at + 2) : (U16(at + 2) << 16) | U16(at);
    }
    std::int32_t S32(std::uint64_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::int16_t S16(std::uint64_t at) const { return static_cast<std::int16_t>(U16(at)); }

  private:
    std::string_view bytes_;
    bool big_;
};

// Single bytes of a file, read a block at a time: walks over many small steps stay cheap.
class ByteWindow {
  public:
    explicit ByteWindow(ByteSource& file) : file_(file) {}
    // The byte at `at`, or -1 past the end of the file.
    int At(std::uint64_t at) {
        if (at < start_ || at - start_ >= block_.size()) {
            start_ = at;
            block_ = file_.Read(at, 64 * 1024);
            if (block_.empty()) {
                return -1;
            }
        }
        return static_cast<unsigned char>(block_[at - start_]);
    }

  private:
    ByteSource& file_;
    std::uint64_t start_ = 0;
    std::string block_;
};

PictureHeader Claim(PictureFormat format, std::int64_t width, std::int64_t height,
                    bool structure_fits = true) {
    PictureHeader header{format, width, height, false};
    header.sound = structure_fits && width > 0 && height > 0 && width <= kMostPicturePixels &&
                   height <= kMostPicturePixels && width * height <= kMostPicturePixels;
    return header;
}

PictureHeader Refused(PictureFormat format) {
    return {format, 0, 0, false};
}

PictureHeader ReadBitmap(ByteSource& file) {
    const std::string head = file.Read(0, 30);
    const Fields f(head, false);
    const std::uint32_t info_size = f.U32(14);
    if (!f.Has(0, 26) || f.U32(10) >= file.size()) {
        return Refused(PictureFormat::Bitmap);
    }
    if (info_size == 12) {  // the old core header: 16-bit sides
        return Claim(PictureFormat::Bitmap, f.U16(18), f.U16(20), f.U16(24) != 0);
    }
    if (info_size < 40 || !f.Has(0, 30)) {
        return Refused(PictureFormat::Bitmap);
    }
    const std::int64_t height = f.S32(22);  // negative: stored top-down
    return Claim(PictureFormat::Bitmap, f.S32(18), height < 0 ? -height : height,
                 f.U16(26) == 1 && f.U16(28) != 0);
}

bool IsFrameMarker(std::uint32_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the segments up to the first frame header. Stand-alone markers carry no length; every
// other segment's length is at least its own two bytes, so the walk always moves on.
PictureHeader ReadJpeg(ByteSource& file) {
    constexpr int kMostSegments = 4096;
    constexpr int kMostFillBytes = 4096;
    ByteWindow window(file);
    std::uint64_t at = 2;
    for (int segment = 0; segment < kMostSegments; ++segment) {
        // Fill bytes before a marker.
        for (int fill = 0;
             fill < kMostFillBytes && window.At(at) == 0xFF && window.At(at + 1) == 0xFF; ++fill) {
            ++at;
        }
        if (window.At(at) != 0xFF || window.At(at + 1) < 0) {
            break;
        }
        const auto code = static_cast<std::uint32_t>(window.At(at + 1));
        if (code == 0x01 || (code >= 0xD0 && code <= 0xD7)) {
            at += 2;
            continue;
        }
        if (code == 0xD9 || code == 0xDA) {
            break;  // the end, or scan data before any frame header
        }
        const std::string body = file.Read(at + 2, 8);
        const Fields f(body, true);
        const std::uint32_t length = f.U16(0);
        if (body.size() < 2 || length < 2) {
            break;
        }
        if (IsFrameMarker(code)) {
            // Precision, height, width, components. A height of 0 (given later) is not taken.
            return Claim(PictureFormat::Jpeg, f.U16(5), f.U16(3), body.size() == 8 && length >= 8);
        }
        at += 2 + static_cast<std::uint64_t>(length);
    }
    return Refused(PictureFormat::Jpeg);
}

// The logical screen and the first image in it: both are allocated by some decoders.
PictureHeader ReadGif(ByteSource& file) {
    ByteWindow window(file);
    const auto u16 = [&window](std::uint64_t at) {
        return static_cast<std::int64_t>(window.At(at)) | (window.At(at + 1) << 8);
    };
    const int flags = window.At(10);
    if (window.At(12) < 0) {
        return Refused(PictureFormat::Gif);
    }
    std::uint64_t at = 13;
    if (flags & 0x80) {
        at += 3ULL << ((flags & 7) + 1);  // the global colour table
    }
    for (;;) {
        const int introducer = window.At(at);
        if (introducer == 0x2C) {  // an image descriptor: left, top, width, height
            const std::int64_t right = std::max(u16(6), u16(at + 1) + u16(at + 5));
            const std::int64_t bottom = std::max(u16(8), u16(at + 3) + u16(at + 7));
            return Claim(PictureFormat::Gif, right, bottom, window.At(at + 9) >= 0);
        }
        if (introducer != 0x21) {
            return Refused(PictureFormat::Gif);
        }
        // An extension: its label, then sub-blocks of a length byte each, up to an empty one.
        at += 2;
        for (int length = window.At(at); length != 0; length = window.At(at)) {
            if (length < 0) {
                return Refused(PictureFormat::Gif);
            }
            at += 1 + static_cast<std::uint64_t>(length);
        }
        ++at;
    }
}

PictureHeader ReadPng(ByteSource& file) {
    const std::string bytes = file.Read(8, 16);
    const Fields f(bytes, true);
    const bool fits = f.Has(0, 16) && f.U32(0) == 13 && bytes.substr(4, 4) == "IHDR" &&
                      f.U32(8) < 0x80000000u && f.U32(12) < 0x80000000u;
    return Claim(PictureFormat::Png, f.U32(8), f.U32(12), fits);
}

// The first directory's width and height; every directory of the chain, and the camera and
// position directories it points to, must lie inside the file, and no directory may be reached
// twice (a chain that loops).
PictureHeader ReadTiff(ByteSource& file, bool big_endian) {
    constexpr int kMostDirectories = 1024;
    constexpr std::uint32_t kWidthTag = 256, kHeightTag = 257, kExifTag = 34665, kGpsTag = 34853;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::set<std::uint32_t> seen;
    std::vector<std::uint32_t> pending = {Fields(file.Read(4, 4), big_endian).U32(0)};
    bool first = true;
    while (!pending.empty()) {
        const std::uint32_t directory = pending.back();
        pending.pop_back();
        if (directory == 0 && !first) {
            continue;  // the end of a chain
        }
        if (directory < 8 || !seen.insert(directory).second || seen.size() > kMostDirectories) {
            return Refused(PictureFormat::Tiff);
        }
        const std::uint32_t count = Fields(file.Read(directory, 2), big_endian).U16(0);
        const std::uint64_t length = 2 + 12ULL * count + 4;
        if (count == 0 || directory + length > file.size()) {
            return Refused(PictureFormat::Tiff);
        }
        const std::string entries = file.Read(directory, static_cast<std::size_t>(length));
        const Fields f(entries, big_endian);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t entry = 2 + 12ULL * i;
            const std::uint32_t tag = f.U16(entry);
            const std::uint32_t type = f.U16(entry + 2);
            const std::uint32_t value = type == 3 ? f.U16(entry + 8) : f.U32(entry + 8);
            if (first && (tag == kWidthTag || tag == kHeightTag)) {
                (tag == kWidthTag ? width : height) = value;
            } else if (tag == kExifTag || tag == kGpsTag) {
                pending.push_back(value);
            }
        }
        pending.push_back(f.U32(length - 4));
        first = false;
    }
    return Claim(PictureFormat::Tiff, width, height);
}

// Every image of the directory must lie inside the file and hold a bitmap or PNG header that
// makes sense; the largest one is the picture.
PictureHeader ReadIcon(ByteSource& file, PictureFormat format) {
    const std::string head = file.Read(0, 6);
    const std::uint32_t count = Fields(head, false).U16(4);
    if (count == 0) {
        return Refused(format);
    }
    const std::string directory = file.Read(6, 16ULL * count);
    const Fields d(directory, false);
    if (!d.Has(0, 16ULL * count)) {
        return Refused(format);
    }
    std::int64_t width = 0;
    std::int64_t height = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t entry = 16ULL * i;
        const std::uint64_t size = d.U32(entry + 8);
        const std::uint64_t offset = d.U32(entry + 12);
        if (size < 40 || offset < 6 + 16ULL * count || offset + size > file.size()) {
            return Refused(format);
        }
        const std::string image = file.Read(offset, 24);
        std::int64_t w = 0;
        std::int64_t h = 0;
        if (image.substr(0, 8) == "\x89PNG\r\n\x1a\n") {
            const Fields png(image, true);
            w = png.U32(16);
            h = png.U32(20);
        } else {
            const Fields bmp(image, false);
            const std::string more = file.Read(offset + 12, 4);
            const Fields rest(more, false);
            // Size, width, twice the height (colour and mask), one plane, a known depth.
            const std::uint32_t depth = rest.U16(2);
            if (bmp.U32(0) < 40 || rest.U16(0) != 1 ||
                (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 &&
                 depth != 32)) {
                return Refused(format);
            }
            w = bmp.S32(4);
            h = bmp.S32(8) / 2;
        }
        if (w <= 0 || h <= 0 || w > 0xFFFF || h > 0xFFFF) {
            return Refused(format);
        }
        if (w * h > width * height) {
            width = w;
            height = h;
        }
    }
    return Claim(format, width, height);
}

PictureHeader ReadMetafile(ByteSource& file, PictureFormat format, std::uint64_t records) {
    if (file.size() > kLargestMetafile) {
        return Refused(format);
    }
    const std::string bytes = file.Read(0, static_cast<std::size_t>(file.size()));
    const Fields f(bytes, false);
    const bool fits = bytes.size() == file.size() && bytes.size() >= records &&
                      (format == PictureFormat::EnhancedMetafile
                           ? EnhancedRecordsFit(bytes)
                           : WindowsRecordsFit(std::string_view(bytes).substr(records)));
    if (format == PictureFormat::EnhancedMetafile) {
        // The frame, in hundredths of a millimetre.
        const std::int64_t width = static_cast<std::int64_t>(f.S32(32)) - f.S32(24);
        const std::int64_t height = static_cast<std::int64_t>(f.S32(36)) - f.S32(28);
        return Claim(format, width * 96 / 2540, height * 96 / 2540,
                     fits && width > 0 && height > 0);
    }
    if (records == 0) {
        PictureHeader header{format, 0, 0, fits};  // a bare one: its size comes from playing it
        return header;
    }
    // The placeable header: left, top, right, bottom, units per inch.
    const std::int64_t per_inch = f.U16(14);
    const std::int64_t width = static_cast<std::int64_t>(f.S16(10)) - f.S16(6);
    const std::int64_t height = static_cast<std::int64_t>(f.S16(12)) - f.S16(8);
    if (per_inch == 0) {
        return Refused(format);
    }
    return Claim(format, width * 96 / per_inch, height * 96 / per_inch,
                 fits && width > 0 && height > 0);
}

}  // namespace

std::string MemoryBytes::Read(std::uint64_t offset, std::size_t count) {
    if (offset >= bytes_.size()) {
        return {};
    }
    return std::string(bytes_.substr(static_cast<std::size_t>(offset), count));
}

PictureHeader ReadPictureHeader(ByteSource& file) {
    const std::string head = file.Read(0, 44);
    const Fields le(head, false);
    const auto starts = [&head](std::string_view signature) {
        return head.substr(0, signature.size()) == signature;
    };
    if (le.Has(0, 4) && le.U32(0) == 0x9AC6CDD7) {
        return ReadMetafile(file, PictureFormat::WindowsMetafile, 22);
    }
    if (le.Has(0, 44) && le.U32(0) == 1 && le.U32(40) == 0x464D4520) {  // " EMF"
        return ReadMetafile(file, PictureFormat::EnhancedMetafile, 0);
    }
    if (le.Has(0, 4) && (le.U16(0) == 1 || le.U16(0) == 2) && le.U16(2) == 9) {
        return ReadMetafile(file, PictureFormat::WindowsMetafile, 0);
    }
    if (le.Has(0, 4) && le.U16(0) == 0 && (le.U16(2) == 1 || le.U16(2) == 2)) {
        return ReadIcon(file, le.U16(2) == 1 ? PictureFormat::Icon : PictureFormat::Cursor);
    }
    if (starts("BM")) {
        return ReadBitmap(file);
    }
    if (starts("\xFF\xD8\xFF")) {
        return ReadJpeg(file);
    }
    if (starts("GIF87a") || starts("GIF89a")) {
        return ReadGif(file);
    }
    if (starts("\x89PNG\r\n\x1a\n")) {
        return ReadPng(file);
    }
    if (starts(std::string_view("II*\0", 4)) || starts(std::string_view("MM\0*", 4))) {
        return ReadTiff(file, head[0] == 'M');
    }
    return {};
}

}  // namespace kivo::forms
