#include "tests/common/picture_bytes.h"

namespace kivo::test {

namespace {

void PutLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void PutBig(std::string& out, std::uint32_t value) {
    for (int i = 3; i >= 0; --i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    const std::string body = type + data;
    PutBig(out, static_cast<std::uint32_t>(data.size()));
    out += body;
    PutBig(out, Crc32(body));
}

// A zlib stream of `count` (at least one) zero bytes in one block of fixed codes: a literal zero,
// then copies of 258 bytes from one byte back. Deflate packs bits from the lowest place of each
// byte and a Huffman code from its first bit, so the codes below are written reversed.
std::string ZlibZeros(std::uint64_t count) {
    std::string out = "\x78\x01";
    std::uint32_t bits = 0;
    int used = 0;
    const auto put = [&](std::uint32_t value, int length) {
        bits |= value << used;
        for (used += length; used >= 8; used -= 8, bits >>= 8) {
            out += static_cast<char>(bits & 0xFF);
        }
    };
    put(0b011, 3);  // the last block, with fixed codes
    put(0x0C, 8);   // literal 0: code 00110000
    std::uint64_t left = count - 1;
    for (; left >= 258; left -= 258) {
        put(0xA3, 8 + 5);  // length 258: code 11000101; distance 1: code 00000
    }
    for (; left > 0; --left) {
        put(0x0C, 8);
    }
    put(0, 7 + 7);  // end of block: code 0000000, and the rest of the byte
    PutBig(out, static_cast<std::uint32_t>(((count % 65521) << 16) | 1u));  // Adler-32 of zeros
    return out;
}

}  // namespace

std::string Bmp(int width, int height, const std::function<std::uint32_t(int x, int y)>& colourAt) {
    const auto row = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t pixels = row * static_cast<std::uint32_t>(height);
    std::string out = "BM";
    PutLittle(out, 54 + pixels, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 54, 4);  // where the pixels start
    PutLittle(out, 40, 4);  // the info header's size
    PutLittle(out, static_cast<std::uint32_t>(width), 4);
    PutLittle(out, static_cast<std::uint32_t>(height), 4);  // positive: the bottom row first
    PutLittle(out, 1, 2);
    PutLittle(out, 24, 2);
    PutLittle(out, 0, 4);
    PutLittle(out, pixels, 4);
    out.append(16, '\0');  // resolution and palette counts
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            PutLittle(out, colourAt(x, y), 3);  // blue, green, red
        }
        out.append(row - (out.size() - start), '\0');
    }
    return out;
}

std::string SolidBmp(int width, int height, std::uint32_t rgb) {
    return Bmp(width, height, [rgb](int, int) { return rgb; });
}

std::string BmpHeaderOnly(int width, int height) {
    std::string size;
    PutLittle(size, static_cast<std::uint32_t>(width), 4);
    PutLittle(size, static_cast<std::uint32_t>(height), 4);
    return SolidBmp(1, 1, 0).substr(0, 54).replace(18, 8, size);
}

std::string SlowSolidPng(int width, int height, std::uint32_t rgb) {
    std::string header;
    PutBig(header, static_cast<std::uint32_t>(width));
    PutBig(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x03\x00\x00\x00", 5);  // 8 bits, palette, no interlace
    std::string palette;
    for (int shift : {16, 8, 0}) {
        palette += static_cast<char>((rgb >> shift) & 0xFF);
    }
    // Each row: filter "none", then every pixel palette entry 0: all bytes zero.
    const auto rows = (static_cast<std::uint64_t>(width) + 1) * static_cast<std::uint64_t>(height);
    std::string out = "\x89PNG\r\n\x1A\n";
    PutChunk(out, "IHDR", header);
    PutChunk(out, "PLTE", palette);
    PutChunk(out, "IDAT", ZlibZeros(rows));
    PutChunk(out, "IEND", "");
    return out;
}

}  // namespace kivo::test
