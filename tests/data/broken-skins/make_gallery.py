#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the gallery of broken skins, one folder each. Run from this folder to regenerate it.

What cannot or should not be committed is made by the tests themselves: the 10 MB skin file, a
Main that names a folder, and a Main that names a FIFO. README.md lists every skin and what loading
it must do."""
import pathlib
import random
import shutil
import struct
import zlib

HERE = pathlib.Path(__file__).resolve().parent
PICTURES = HERE.parent / "pictures"


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, rows):
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# A good strip of 11 cells 8 x 11 and a separator 4 wide, each cell a colour of its own.
def good_strip():
    rows = []
    for _ in range(11):
        row = b""
        for x in range(11 * 8 + 4):
            cell = min(x // 8, 11)
            row += bytes((20 * cell + 10, 200 - 10 * cell, 90))
        rows.append(row)
    return png(92, 11, rows)


def skin_ini(main="strip.png", **changes):
    values = {"DisplayImage": "True", "Separator": ":", "Main": main, "CharWidth": "8",
              "CharHeight": "11", "SepWidth": "4", "TextColor": "255,128,0", "BgColor": "0,0,64",
              "Font": "DejaVu Sans", "FontSize": "8.25"}
    values.update(changes)
    sections = {"General": ["DisplayImage", "Separator"], "Image Files": ["Main"],
                "Image Info": ["CharWidth", "CharHeight", "SepWidth"],
                "Text": ["TextColor", "BgColor", "Font", "FontSize"]}
    text = ""
    for section, keys in sections.items():
        text += f"[{section}]\n" + "".join(f"{key}={values[key]}\n" for key in keys) + "\n"
    return text.encode()


def skin(name, ini, files):
    folder = HERE / name
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir()
    (folder / "skin.ini").write_bytes(ini)
    for file_name, content in files.items():
        (folder / file_name).write_bytes(content)


strip = {"strip.png": good_strip()}
skin("truncated-bmp", skin_ini("strip.bmp"),
     {"strip.bmp": (PICTURES / "truncated.bmp").read_bytes()})
skin("png-claims-100000x100000", skin_ini(),
     {"strip.png": (PICTURES / "claims-100000x100000.png").read_bytes()})
skin("zero-size-image", skin_ini(), {"strip.png": (PICTURES / "zero-size.png").read_bytes()})
skin("image-is-text", skin_ini(), {"strip.png": (PICTURES / "text-file.png").read_bytes()})
skin("jpeg-of-2000-scans", skin_ini("strip.jpg"),
     {"strip.jpg": (PICTURES / "progressive-2000-scans.jpg").read_bytes()})
skin("char-width-1e30", skin_ini(CharWidth="1e30"), strip)
skin("nan-size", skin_ini(CharHeight="NaN"), strip)
skin("negative-sizes", skin_ini(SepWidth="-1", FontSize="-8.25"), strip)
# Made larger by the test: 10 MB of comment lines after a good skin file.
skin("ini-10-mb", skin_ini(), strip)
# The test makes strip.png a folder, or a FIFO.
skin("main-names-a-folder", skin_ini(), {})
skin("main-names-a-fifo", skin_ini(), {})
garbage = random.Random(20240601).randbytes(4096)
skin("binary-garbage", garbage, strip)
