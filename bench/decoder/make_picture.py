#!/usr/bin/env python3
"""Writes a photo-like picture of any size as a binary PPM on standard output, row by row, so
that netpbm's pnmtopng or pnmtojpeg can make pictures near the 500-megapixel limit without
holding them whole anywhere:

  make_picture.py <width> <height> | pnmtopng > big.png
  make_picture.py <width> <height> | pnmtojpeg --quality 90 --progressive > big.jpg

The content is a soft diagonal gradient with grain (a fixed random seed): the grain keeps the
codecs as busy as a real photograph does, unlike a flat colour that compresses to nothing.
"""
import random
import sys


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    width, height = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(490)
    row_bytes = width * 3
    # A pool of grain rows (values 0..47), tinted per band of rows by a translation table.
    pool = [bytes(b % 48 for b in rng.randbytes(row_bytes)) for _ in range(61)]
    tables = []
    for level in range(64):
        base = 40 + level * 2
        tables.append(bytes(min(255, base + v) if v < 48 else v for v in range(256)))
    out = sys.stdout.buffer
    out.write(b"P6\n%d %d\n255\n" % (width, height))
    for y in range(height):
        row = pool[(y * 7) % len(pool)]
        shift = (y * 13) % 97 * 3
        row = row[shift:] + row[:shift]
        out.write(row.translate(tables[(y * 64 // height) % 64]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
