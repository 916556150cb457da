#include "forms_runtime/pixels/exif_orientation.h"

#include <cstdint>

namespace kivo::forms {

namespace {

constexpr unsigned kOrientationTag = 0x0112;
constexpr unsigned kShortType = 3;

class Bytes {
  public:
    Bytes(std::string_view bytes, bool big_endian) : bytes_(bytes), big_endian_(big_endian) {}

    bool Has(std::size_t at, std::size_t count) const {
        return at <= bytes_.size() && count <= bytes_.size() - at;
    }
    unsigned U16(std::size_t at) const {
        const unsigned a = Byte(at);
        const unsigned b = Byte(at + 1);
        return big_endian_ ? (a << 8) | b : (b << 8) | a;
    }
    std::uint32_t U32(std::size_t at) const {
        const std::uint32_t high = U16(at);
        const std::uint32_t low = U16(at + 2);
        return big_endian_ ? (high << 16) | low : (low << 16) | high;
    }

  private:
    unsigned Byte(std::size_t at) const { return static_cast<unsigned char>(bytes_[at]); }

    std::string_view bytes_;
    bool big_endian_;
};

// The orientation entry of the first image directory of TIFF-structured data.
int TiffOrientation(std::string_view tiff) {
    if (tiff.size() < 8 || (tiff.substr(0, 2) != "II" && tiff.substr(0, 2) != "MM")) {
        return 0;
    }
    const Bytes bytes(tiff, tiff[0] == 'M');
    if (bytes.U16(2) != 42) {
        return 0;
    }
    const std::uint32_t directory = bytes.U32(4);
    if (!bytes.Has(directory, 2)) {
        return 0;
    }
    const unsigned entries = bytes.U16(directory);
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + 12 * static_cast<std::size_t>(i);
        if (!bytes.Has(entry, 12)) {
            return 0;
        }
        if (bytes.U16(entry) == kOrientationTag && bytes.U16(entry + 2) == kShortType) {
            const unsigned value = bytes.U16(entry + 8);
            return value >= 1 && value <= 8 ? static_cast<int>(value) : 0;
        }
    }
    return 0;
}

}  // namespace

int JpegExifOrientation(std::string_view head) {
    const Bytes bytes(head, true);
    if (!bytes.Has(0, 2) || bytes.U16(0) != 0xFFD8) {
        return 0;
    }
    std::size_t at = 2;
    // Marker segments up to the image data: FF, the marker, a big-endian length.
    while (bytes.Has(at, 4) && static_cast<unsigned char>(head[at]) == 0xFF) {
        const unsigned marker = static_cast<unsigned char>(head[at + 1]);
        if (marker == 0xDA || marker == 0xD9) {
            break;  // start of scan, end of image
        }
        const std::size_t length = bytes.U16(at + 2);
        if (length < 2) {
            break;
        }
        const std::size_t body = at + 4;
        const std::size_t body_length = length - 2;
        if (marker == 0xE1 && bytes.Has(body, 6) &&
            head.substr(body, 6) == std::string_view("Exif\0\0", 6)) {
            const std::size_t usable =
                bytes.Has(body, body_length) ? body_length : head.size() - body;
            return TiffOrientation(head.substr(body + 6, usable - 6));
        }
        at = body + body_length;
    }
    return 0;
}

}  // namespace kivo::forms
