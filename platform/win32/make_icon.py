#!/usr/bin/env python3
"""Wraps a square PNG image (at most 256 pixels wide) into a one-image .ico
file, the PNG kept as it is (the form icons have taken since Windows Vista).
Usage: make_icon.py IMAGE.png ICON.ico"""
import struct
import sys

png = open(sys.argv[1], "rb").read()
if png[:8] != b"\x89PNG\r\n\x1a\n":
    sys.exit(f"{sys.argv[1]}: not a PNG image")
width, height = struct.unpack(">II", png[16:24])
if width > 256 or height > 256:
    sys.exit(f"{sys.argv[1]}: {width}x{height} is larger than an icon")
header = struct.pack("<HHH", 0, 1, 1)
entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png), 6 + 16)
open(sys.argv[2], "wb").write(header + entry + png)
