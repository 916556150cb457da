#!/usr/bin/env python3
"""Makes a corpus of damaged pictures from valid seeds of every format Kivo shows.

  make_corpus.py <out folder> [--per-batch N] [--sample M]

Seeds (BMP, JPEG baseline and progressive, GIF, PNG, TIFF plain and LZW, ICO, CUR) come from
ImageMagick's convert; the metafiles (WMF placeable, EMF) are written here. Each seed is damaged
in every class below, deterministically (a fixed random seed), and the results are spread over
folders batch_000, batch_001, ... of N files each. With --sample, only M files are written, one
of each class in turn, into the out folder itself: the bounded sample the end-to-end tests run.

Classes: truncated (at several points), header byte flipped, body bytes flipped, a size claim far
beyond the limit, metafile records of size 0 and larger than the file, TIFF directories that
loop, random bytes under a picture's name, an empty file.
"""
import os
import random
import struct
import subprocess
import sys
import tempfile

RANDOM = random.Random(20240610)


def convert(args, suffix, size):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "seed" + suffix)
        subprocess.run(["convert", "-seed", "7", "-size", size, "plasma:fractal", "-depth", "8"] + args + [out],
                       check=True, capture_output=True)
        with open(out, "rb") as f:
            return f.read()


def placeable_wmf():
    records = b""
    # CreateBrushIndirect (solid red), SelectObject 0, Rectangle, EOF.
    records += struct.pack("<IHHIH", 7, 0x02FC, 0, 0x000000FF, 0)
    records += struct.pack("<IHH", 4, 0x012D, 0)
    records += struct.pack("<IHhhhh", 7, 0x041B, 400, 600, 100, 100)
    records += struct.pack("<IH", 3, 0)
    size_words = (18 + len(records)) // 2
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, size_words, 1, 7, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 700, 500, 1440, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", placeable[:20]):
        checksum ^= word
    return placeable + struct.pack("<H", checksum) + header + records


def emf():
    records = struct.pack("<IIiiii", 43, 24, 10, 10, 300, 200)  # EMR_RECTANGLE
    eof = struct.pack("<IIIII", 14, 20, 0, 0, 20)
    size = 88 + len(records) + len(eof)
    header = struct.pack("<II4i4iIIIIHHIIIii", 1, 88, 0, 0, 400, 300, 0, 0, 10583, 7937,
                         0x464D4520, 0x10000, size, 3, 1, 0, 0, 0, 0, 1024, 768)
    header += struct.pack("<ii", 320, 240)
    header = header.ljust(88, b"\0")
    return header + records + eof


def cursor(icon):
    data = bytearray(icon)
    data[2] = 2  # type: cursor; the planes and depth become the hot spot
    for entry in range(struct.unpack_from("<H", data, 4)[0]):
        struct.pack_into("<HH", data, 6 + 16 * entry + 4, 3, 3)
    return bytes(data)


def seeds(size):
    icon = convert(["-define", "icon:auto-resize=48,32,16"], ".ico", size)
    return {
        "bmp": convert(["-type", "TrueColor"], ".bmp", size),
        "jpg": convert(["-quality", "85"], ".jpg", size),
        "progressive.jpg": convert(["-interlace", "Plane", "-quality", "85"], ".jpg", size),
        "gif": convert([], ".gif", size),
        "png": convert([], ".png", size),
        "tif": convert(["-compress", "None"], ".tif", size),
        "lzw.tif": convert(["-compress", "LZW"], ".tif", size),
        "ico": icon,
        "cur": cursor(icon),
        "wmf": placeable_wmf(),
        "emf": emf(),
    }


def flip(data, start, end, count):
    data = bytearray(data)
    for _ in range(count):
        if end > start:
            data[RANDOM.randrange(start, min(end, len(data)))] ^= 1 << RANDOM.randrange(8)
    return bytes(data)


def huge_claim(kind, data):
    """The same file, its header claiming 65500 x 65500 (or as near as the format allows)."""
    data = bytearray(data)
    if kind == "bmp":
        struct.pack_into("<ii", data, 18, 65500, 65500)
    elif kind.endswith("jpg"):
        at = 2
        while at + 9 < len(data):
            marker, length = data[at + 1], struct.unpack_from(">H", data, at + 2)[0]
            if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
                struct.pack_into(">HH", data, at + 5, 65500, 65500)
                break
            at += 2 + length
    elif kind == "gif":
        struct.pack_into("<HH", data, 6, 65500, 65500)
    elif kind == "png":
        struct.pack_into(">II", data, 16, 100000, 100000)
    elif kind.endswith("tif"):
        ifd = struct.unpack_from("<I", data, 4)[0]
        for i in range(struct.unpack_from("<H", data, ifd)[0]):
            tag, kind_ = struct.unpack_from("<HH", data, ifd + 2 + 12 * i)
            if tag in (256, 257):
                struct.pack_into("<HHII", data, ifd + 2 + 12 * i, tag, 4, 1, 65500)
    elif kind in ("ico", "cur"):
        offset = struct.unpack_from("<I", data, 6 + 12)[0]
        if data[offset:offset + 4] == b"\x89PNG":
            struct.pack_into(">II", data, offset + 16, 65500, 65500)
        else:
            struct.pack_into("<ii", data, offset + 4, 65500, 131000)
    elif kind == "wmf":
        struct.pack_into("<hhhhH", data, 6, -32000, -32000, 32000, 32000, 1)
    elif kind == "emf":
        struct.pack_into("<iiii", data, 24, 0, 0, 2**31 - 1, 2**31 - 1)
    return bytes(data)


def metafile_records(kind, data):
    """Record sizes of 0 and beyond the file, each on the first drawing record."""
    out = []
    if kind == "wmf":
        first = 22 + 18
        for words in (0, 0x7FFFFFFF, 1):
            damaged = bytearray(data)
            struct.pack_into("<I", damaged, first, words)
            out.append(("record%d" % words, bytes(damaged)))
    elif kind == "emf":
        for size in (0, 0x7FFFFFF0, 10):
            damaged = bytearray(data)
            struct.pack_into("<I", damaged, 88 + 4, size)
            out.append(("record%d" % size, bytes(damaged)))
    return out


def looping_tiff(data):
    data = bytearray(data)
    ifd = struct.unpack_from("<I", data, 4)[0]
    count = struct.unpack_from("<H", data, ifd)[0]
    struct.pack_into("<I", data, ifd + 2 + 12 * count, ifd)  # the next directory: itself
    return bytes(data)


def damaged(kind, data):
    header = min(64, len(data))
    for share in (0.01, 0.05, 0.1, 0.3, 0.5, 0.6, 0.8, 0.95, 0.99):
        yield "cut%02d" % int(share * 100), data[:max(1, int(len(data) * share))]
    for i in range(16):
        yield "head%d" % i, flip(data, 0, header, 1 + i % 4)
    for i in range(20):
        yield "body%d" % i, flip(data, header, len(data), 1 + i)
    yield "huge", huge_claim(kind, data)
    yield from metafile_records(kind, data)
    if kind.endswith("tif"):
        yield "loop", looping_tiff(data)


def main():
    args = sys.argv[1:]
    if not args:
        print(__doc__)
        return 2
    out = args[0]
    per_batch = int(args[args.index("--per-batch") + 1]) if "--per-batch" in args else 60
    sample = int(args[args.index("--sample") + 1]) if "--sample" in args else 0
    files = []
    for size in ("96x64", "640x480"):
        for kind, data in seeds(size).items():
            for damage, bytes_ in damaged(kind, data):
                files.append(("%s-%s.%s" % (damage, size, kind), bytes_))
    files.append(("random.jpg", bytes(RANDOM.randrange(256) for _ in range(3000))))
    files.append(("empty.png", b""))
    os.makedirs(out, exist_ok=True)
    if sample:
        # Every rare class (size claims, metafile records, loops, random, empty) of the small
        # seeds, then truncations and flips spread over the formats.
        small = [(name, data) for name, data in files if len(data) <= 48 * 1024]
        rare = [f for f in small if not f[0].startswith(("cut", "head", "body")) and "640" not in f[0]]
        common = [f for f in small if f[0].startswith(("cut", "head", "body"))]
        step = max(1, len(common) // max(1, sample - len(rare)))
        for name, data in (rare + common[::step])[:sample]:
            with open(os.path.join(out, name), "wb") as f:
                f.write(data)
        return 0
    for index, (name, data) in enumerate(files):
        folder = os.path.join(out, "batch_%03d" % (index // per_batch))
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    print("corpus: %d files in %d batches under %s" % (len(files), (len(files) - 1) // per_batch + 1,
                                                      out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
