// What a picture file's header claims, read before any codec sees the file: sizes, and whether
// the structure fits the file, for sound files and for hostile ones.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "forms_runtime/pixels/picture_header.h"

namespace kivo::forms {
namespace {

std::string Le(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

std::string Be(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

std::string Pad(std::string bytes, std::size_t size) {
    bytes.resize(size, '\0');
    return bytes;
}

std::string Bitmap(std::int64_t width, std::int64_t height, std::uint32_t bits_at = 54) {
    std::string info = Le(40, 4) + Le(static_cast<std::uint32_t>(width), 4) +
                       Le(static_cast<std::uint32_t>(height), 4) + Le(1, 2) + Le(24, 2);
    return Pad("BM" + Le(100, 4) + Le(0, 4) + Le(bits_at, 4) + info, 100);
}

std::string JpegFrame(int marker, int width, int height) {
    return "\xFF" + std::string(1, static_cast<char>(marker)) + Be(17, 2) + "\x08" + Be(height, 2) +
           Be(width, 2) + Pad("\x03", 10);
}

std::string Jpeg(const std::string& segments) {
    return "\xFF\xD8" + segments + "\xFF\xD9";
}

const std::string kApp0 = "\xFF\xE0" + Be(14, 2) + Pad("JFIF", 12);

std::string Gif(int width, int height, const std::string& blocks) {
    return "GIF89a" + Le(width, 2) + Le(height, 2) + std::string("\x00\x00\x00", 3) + blocks + ";";
}

std::string GifImage(int left, int width, int height) {
    return "," + Le(left, 2) + Le(0, 2) + Le(width, 2) + Le(height, 2) + std::string(1, '\0');
}

std::string Png(std::uint32_t width, std::uint32_t height, std::uint32_t length = 13) {
    return "\x89PNG\r\n\x1a\n" + Be(length, 4) + "IHDR" + Be(width, 4) + Be(height, 4) + Pad("", 9);
}

// A little-endian TIFF: directories at the given offsets, each with its own entries and next.
struct TiffEntry {
    int tag, type;
    std::uint32_t value;
};
std::string Tiff(const std::vector<TiffEntry>& entries, std::uint32_t next,
                 std::uint32_t first = 8) {
    std::string out = Pad("II*" + std::string(1, '\0') + Le(first, 4), 8);
    out += Le(entries.size(), 2);
    for (const TiffEntry& e : entries) {
        out += Le(e.tag, 2) + Le(e.type, 2) + Le(1, 4) + Le(e.value, 4);
    }
    return Pad(out + Le(next, 4), out.size() + 4 + 16);
}

std::string TiffBigEndian(int width, int height) {
    std::string out = "MM" + Be(42, 2) + Be(8, 4) + Be(2, 2);
    out += Be(256, 2) + Be(3, 2) + Be(1, 4) + Be(width, 2) + Be(0, 2);
    out += Be(257, 2) + Be(4, 2) + Be(1, 4) + Be(height, 4);
    return Pad(out + Be(0, 4), out.size() + 20);
}

// An icon (type 1) or cursor (2) file with one bitmap image per size; `planes` of the images.
std::string Icon(int type, const std::vector<int>& sides, int planes = 1,
                 std::uint32_t size = 40 + 64) {
    std::string out = Le(0, 2) + Le(type, 2) + Le(sides.size(), 2);
    std::string images;
    const std::size_t first = 6 + 16 * sides.size();
    for (int side : sides) {
        out += Le(side & 0xFF, 1) + Le(side & 0xFF, 1) + Pad("", 6) + Le(size, 4) +
               Le(first + images.size(), 4);
        images += Pad(Le(40, 4) + Le(side, 4) + Le(2 * side, 4) + Le(planes, 2) + Le(32, 2), 104);
    }
    return out + images;
}

std::string Placeable(int right, int bottom, int per_inch, const std::string& records) {
    const std::string header = Le(1, 2) + Le(9, 2) + Le(0x300, 2) + Pad("", 12);
    return Le(0x9AC6CDD7, 4) + Le(0, 2) + Le(0, 4) + Le(right, 2) + Le(bottom, 2) +
           Le(per_inch, 2) + Le(0, 4) + Le(0, 2) + header + records;
}

std::string WmfRecord(std::uint32_t words, int function) {
    return Pad(Le(words, 4) + Le(function, 2), words >= 3 ? 2 * words : 6);
}

const std::string kWmfEnd = WmfRecord(3, 0);

std::string EmfRecord(std::uint32_t type, std::uint32_t size) {
    return Pad(Le(type, 4) + Le(size, 4), size >= 8 ? size : 8);
}

std::string Emf(std::int32_t frame_right, std::int32_t frame_bottom, const std::string& records) {
    std::string header = Le(1, 4) + Le(88, 4) + Pad("", 16) + Le(0, 4) + Le(0, 4) +
                         Le(static_cast<std::uint32_t>(frame_right), 4) +
                         Le(static_cast<std::uint32_t>(frame_bottom), 4) + Le(0x464D4520, 4);
    return Pad(header, 88) + records;
}

const std::string kEmfEnd = EmfRecord(14, 20);

struct Case {
    const char* name;
    std::string bytes;
    PictureFormat format;
    bool sound;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

std::vector<Case> Cases() {
    using F = PictureFormat;
    return {
        {"bitmap", Bitmap(3, 2), F::Bitmap, true, 3, 2},
        {"bitmap stored top-down", Bitmap(3, -2), F::Bitmap, true, 3, 2},
        {"bitmap pixels past the end", Bitmap(3, 2, 5000), F::Bitmap, false},
        {"bitmap of 900 megapixels", Bitmap(30000, 30000), F::Bitmap, false},
        {"bitmap cut in its header", Bitmap(3, 2).substr(0, 20), F::Bitmap, false},
        {"jpeg", Jpeg(kApp0 + JpegFrame(0xC0, 640, 480)), F::Jpeg, true, 640, 480},
        {"progressive jpeg after fill bytes", Jpeg("\xFF\xFF\xFF" + JpegFrame(0xC2, 64, 48)),
         F::Jpeg, true, 64, 48},
        {"jpeg claiming 65500 square", Jpeg(JpegFrame(0xC0, 65500, 65500)), F::Jpeg, false},
        {"progressive jpeg claiming 65500 square", Jpeg(kApp0 + JpegFrame(0xC2, 65500, 65500)),
         F::Jpeg, false},
        {"jpeg with a height given later", Jpeg(JpegFrame(0xC0, 640, 0)), F::Jpeg, false},
        {"jpeg scan before any frame", Jpeg("\xFF\xDA" + Be(8, 2) + Pad("", 6)), F::Jpeg, false},
        {"jpeg segment of length 0", Jpeg("\xFF\xE1" + Be(0, 2) + JpegFrame(0xC0, 8, 8)), F::Jpeg,
         false},
        {"jpeg cut in its frame", Jpeg(JpegFrame(0xC0, 8, 8)).substr(0, 9), F::Jpeg, false},
        {"gif", Gif(10, 20, GifImage(0, 10, 20)), F::Gif, true, 10, 20},
        {"gif after an extension", Gif(10, 20, "!\xF9\x04" + Pad("", 4) + '\0' + GifImage(0, 5, 5)),
         F::Gif, true, 10, 20},
        {"gif image far outside its screen", Gif(10, 20, GifImage(60000, 20000, 60000)), F::Gif,
         false},
        {"gif screen of 65535 square", Gif(65535, 65535, GifImage(0, 1, 1)), F::Gif, false},
        {"gif without an image", Gif(10, 20, "!\xFE\x05" + std::string("abc")), F::Gif, false},
        {"png", Png(4000, 3000), F::Png, true, 4000, 3000},
        {"png of 10 gigapixels", Png(100000, 100000), F::Png, false},
        {"png header of the wrong length", Png(10, 10, 12), F::Png, false},
        {"tiff", Tiff({{256, 3, 30}, {257, 4, 20}}, 0), F::Tiff, true, 30, 20},
        {"big-endian tiff", TiffBigEndian(300, 200), F::Tiff, true, 300, 200},
        {"tiff directory chained to itself", Tiff({{256, 3, 30}, {257, 3, 20}}, 8), F::Tiff, false},
        {"tiff camera directory pointing back at the first",
         Tiff({{256, 3, 30}, {257, 3, 20}, {34665, 4, 8}}, 0), F::Tiff, false},
        {"tiff next directory past the end", Tiff({{256, 3, 30}, {257, 3, 20}}, 4000), F::Tiff,
         false},
        {"tiff first directory past the end", Tiff({{256, 3, 30}}, 0, 900), F::Tiff, false},
        {"tiff of 40000 square", Tiff({{256, 4, 40000}, {257, 4, 40000}}, 0), F::Tiff, false},
        {"icon: the largest image", Icon(1, {16, 48, 32}), F::Icon, true, 48, 48},
        {"cursor", Icon(2, {32}), F::Cursor, true, 32, 32},
        {"cursor image of no planes", Icon(2, {32}, 0), F::Cursor, false},
        {"icon image past the end", Icon(1, {16}, 1, 5000), F::Icon, false},
        {"icon of no images", Icon(1, {}), F::Icon, false},
        {"placeable metafile", Placeable(1440, 720, 1440, WmfRecord(4, 0x201) + kWmfEnd),
         F::WindowsMetafile, true, 96, 48},
        {"placeable metafile with a record of size 0",
         Placeable(1440, 720, 1440, WmfRecord(0, 0x201) + kWmfEnd), F::WindowsMetafile, false},
        {"placeable metafile with a record past the end",
         Placeable(1440, 720, 1440, Le(4000, 4) + Le(0x201, 2) + kWmfEnd), F::WindowsMetafile,
         false},
        {"placeable metafile of no units", Placeable(1440, 720, 0, kWmfEnd), F::WindowsMetafile,
         false},
        {"bare metafile", Le(1, 2) + Le(9, 2) + Pad("", 14) + kWmfEnd, F::WindowsMetafile, true},
        {"enhanced metafile", Emf(2540, 1270, EmfRecord(70, 12) + kEmfEnd), F::EnhancedMetafile,
         true, 96, 48},
        {"enhanced metafile with a record of size 0", Emf(2540, 1270, EmfRecord(70, 0) + kEmfEnd),
         F::EnhancedMetafile, false},
        {"enhanced metafile with a record of size 10", Emf(2540, 1270, EmfRecord(70, 10) + kEmfEnd),
         F::EnhancedMetafile, false},
        {"enhanced metafile with a record past the end",
         Emf(2540, 1270, Le(70, 4) + Le(4000, 4) + kEmfEnd), F::EnhancedMetafile, false},
        {"enhanced metafile without an end", Emf(2540, 1270, EmfRecord(70, 12)),
         F::EnhancedMetafile, false},
        {"enhanced metafile with a frame of 2 km", Emf(200'000'000, 200'000'000, kEmfEnd),
         F::EnhancedMetafile, false},
        {"random bytes", "not a picture at all", F::Unknown, false},
        {"empty", "", F::Unknown, false},
    };
}

TEST(PictureHeader, ReadsWhatEachFormatClaimsAndRefusesWhatDoesNotFit) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        MemoryBytes file(c.bytes);
        const PictureHeader header = ReadPictureHeader(file);
        EXPECT_EQ(header.format, c.format);
        EXPECT_EQ(header.sound, c.sound);
        if (c.sound) {
            EXPECT_EQ(header.width, c.width);
            EXPECT_EQ(header.height, c.height);
        }
    }
}

TEST(PictureHeader, SurvivesEveryTruncationAndFlipOfSoundFiles) {
    // No crash or endless walk on any prefix of any case, nor with any byte of its first 64
    // flipped (run under the sanitizers of the native build, where they are on).
    for (const Case& c : Cases()) {
        for (std::size_t cut = 0; cut < c.bytes.size(); ++cut) {
            MemoryBytes file(std::string_view(c.bytes).substr(0, cut));
            ReadPictureHeader(file);
        }
        for (std::size_t at = 0; at < c.bytes.size() && at < 64; ++at) {
            std::string flipped = c.bytes;
            flipped[at] = static_cast<char>(~flipped[at]);
            MemoryBytes file(flipped);
            const PictureHeader header = ReadPictureHeader(file);
            EXPECT_FALSE(header.sound && header.width * header.height > 500'000'000) << c.name;
        }
    }
}

}  // namespace
}  // namespace kivo::forms
