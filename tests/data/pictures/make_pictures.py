#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the small pictures the decoder tests read. Run from this folder to regenerate them.

huffman-overflow-found-by-fuzzing.jpg, corrupt-progressive-scan.jpg and empty-first-idat.png are
not written here: they are the fuzzers' finds, kept as they were found (a progressive JPEG whose
second Huffman table counts 1013 codes; one whose scan data runs the decoder's bit count below
zero; a PNG whose only IDAT chunk, mangled, claims no bytes)."""
import shutil
import struct
import subprocess
import zlib

PIXELS = [[(255, 0, 0), (0, 255, 0), (0, 0, 255)],
          [(255, 255, 255), (0, 0, 0), (18, 52, 86)]]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, rows, colour_type=2):
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def rgb_rows(pixels):
    return [bytes(c for p in row for c in p) for row in pixels]


def bmp(pixels, top_down=False):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) // 4 * 4
    data = b""
    for row in (pixels if top_down else reversed(pixels)):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        data += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, 24, 0,
                       len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    return header + info + data


def write(name, content):
    with open(name, "wb") as out:
        out.write(content)


write("strip-3x2.png", png(3, 2, rgb_rows(PIXELS)))
write("strip-3x2.bmp", bmp(PIXELS))
write("top-down-3x2.bmp", bmp(PIXELS, top_down=True))


# A 16-bit RGBA PNG, interlaced: its seven passes of rows, each row a filter byte and the pass's
# pixels. Every pixel is the colour of its column, at half opacity.
def interlaced_rgba16(width, height):
    header = struct.pack(">IIBBBBB", width, height, 16, 6, 0, 0, 1)
    raw = b""
    for x0, y0, dx, dy in [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4),
                           (1, 0, 2, 2), (0, 1, 1, 2)]:
        columns = range(x0, width, dx)
        row = b"\0" + b"".join(struct.pack(">HHHH", 257 * (x % 256), 0, 65535, 32768)
                               for x in columns)
        raw += row * len(range(y0, height, dy)) if columns else b""
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# As large as a skin's picture may be: 4 MiB at four bytes a pixel.
write("interlaced-rgba16-1024x1024.png", interlaced_rgba16(1024, 1024))
full_bmp = bmp(PIXELS)
write("truncated.bmp", full_bmp[:len(full_bmp) - 10])
write("alpha-2x1.png", png(2, 1, [bytes((10, 20, 30, 0, 40, 50, 60, 255))], colour_type=6))
write("zero-size.png", png(0, 0, []))
write("text-file.png", b"This is a text file that calls itself a picture.\n")
# Headers that claim more than a skin may bring; the pixel data never needs decoding.
write("claims-100000x100000.png", png(100000, 100000, [b"\0\0\0"]))
write("too-wide-16385x1.png", png(16385, 1, [b"\0" * 16385 * 3]))
write("over-64MiB-8192x2049.png", png(8192, 2049, [b"\0" * 8192 * 3] * 2049))
# JPEG Huffman tables of more than 256 codes: sixteen counts of 255. One in the header, read when
# the size is; one after the scan of a good JPEG, read only when the pixels are.
bad_table = b"\xff\xc4\x00\x13\x00" + b"\xff" * 16
write("huffman-overflow-in-header.jpg", b"\xff\xd8" + bad_table + b"\xff\xd9")
if shutil.which("convert"):
    def jpeg(*options):
        return subprocess.run(["convert", "strip-3x2.png", "-quality", "100", *options, "jpg:-"],
                              check=True, capture_output=True).stdout
    good = jpeg()
    write("strip-3x2.jpg", good)
    progressive = jpeg("-interlace", "Plane")
    write("strip-3x2-progressive.jpg", progressive)
    # The same without its AC Huffman tables, which its AC scans still name, and with those scans'
    # data left out: read with empty tables they take no bits, and the picture is its DC part.
    kept, at = progressive[:2], 2
    while at < len(progressive):
        marker = progressive[at + 1]
        header = at + 2 + (0 if marker == 0xD9 else struct.unpack(">H", progressive[at + 2:at + 4])[0])
        end = header
        if marker == 0xDA:  # the scan's data runs to the next marker
            while progressive[end] != 0xFF or progressive[end + 1] in range(0xD0, 0xD8) or \
                    progressive[end + 1] == 0:
                end += 1
            first_coefficient = progressive[header - 3]  # 0 for a DC scan
            kept += progressive[at:header if first_coefficient > 0 else end]
        elif not (marker == 0xC4 and progressive[at + 4] >> 4 == 1):
            kept += progressive[at:end]
        at = end
    write("undefined-ac-tables.jpg", kept)
    write("huffman-overflow-after-scan.jpg", good[:-2] + bad_table + good[-2:])
    # The progressive strip with its last scan written 2000 times more: each is decoded anew.
    last_scan = progressive.rindex(b"\xff\xda")
    write("progressive-2000-scans.jpg", progressive[:-2] + progressive[last_scan:-2] * 2000 +
          progressive[-2:])
