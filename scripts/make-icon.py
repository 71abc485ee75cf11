#!/usr/bin/env python3
"""Draws Corvane's 48 x 48 application icon (a dark-blue "C" ring on a
transparent ground, with a small orange tab) and writes it as a PNG."""
import math, struct, sys, zlib

SIZE = 48

def pixel(x, y):
    cx = cy = SIZE / 2
    samples = []
    for sy in range(4):
        for sx in range(4):
            px, py = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
            d = math.hypot(px - cx, py - cy)
            ang = math.degrees(math.atan2(py - cy, px - cx))
            if 14 <= d <= 22 and not (-35 <= ang <= 35):
                samples.append((20, 54, 110))
            elif 30 <= px <= 42 and 20 <= py <= 28:
                samples.append((240, 140, 30))
            else:
                samples.append(None)
    hit = [s for s in samples if s]
    if not hit:
        return (0, 0, 0, 0)
    r = sum(s[0] for s in hit) // len(hit)
    g = sum(s[1] for s in hit) // len(hit)
    b = sum(s[2] for s in hit) // len(hit)
    return (r, g, b, 255 * len(hit) // len(samples))

def png(path):
    raw = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(SIZE)) for y in range(SIZE))
    def chunk(tag, data):
        c = struct.pack(">I", len(data)) + tag + data
        return c + struct.pack(">I", zlib.crc32(tag + data) & 0xffffffff)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    open(path, "wb").write(data)

png(sys.argv[1] if len(sys.argv) > 1 else "src/app/assets/corvane.png")
