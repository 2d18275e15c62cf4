#!/usr/bin/env python3
"""Preview a pixel-art font source as a PNG, to look at while editing glyphs.

    preview_font.py SOURCE.glyphs OUT.png [--scale N] [--text TEXT ...]

Without --text it draws every glyph, 16 to a line, with a grey guide on each
line's cursor row; with --text it sets each TEXT on a line of its own as the
module would (proportional widths, spacing, space = cell width + spacing).
It reads the same format as the pixelart library but checks little: run
fontgen for the errors. Needs only the standard library (writes PNG by hand).
"""
import argparse
import struct
import sys
import zlib

WHITE, GREY, BLACK = 255, 200, 0


def read_font(path):
    header, glyphs, current = {}, {}, None
    for line in open(path, encoding="utf-8"):
        text = line.split("//")[0].strip()
        if not text:
            current = None
            continue
        if text[0] in "#.":
            current.append(text)
        elif text[0] == "-":
            continue
        else:
            words = text.split()
            if words[0] == "font":
                header = {k: int(v, 0) if v[0].isdigit() else v
                          for k, v in (w.split("=", 1) for w in words[1:])}
            elif words[0] == "glyph":
                current = []
                glyphs[int(words[1], 0)] = current
    return header, glyphs


def render_lines(header, glyphs, lines, guide):
    cell_w, cell_h = header["cell-width"], header["cell-height"]
    spacing, ascent = header["spacing"], header["ascent"]
    gap = 1 if guide else 0  # the sheet keeps glyphs a column apart
    widths = []
    for codes in lines:
        widths.append(sum(cell_w + spacing if c == 32 else
                          len(glyphs[c][0]) + spacing + gap if c in glyphs else 0
                          for c in codes))
    margin = 2
    width = max(widths) + 2 * margin
    height = len(lines) * (cell_h + 2) + 2 * margin
    pixels = [[WHITE] * width for _ in range(height)]
    for n, codes in enumerate(lines):
        top = margin + n * (cell_h + 2)
        if guide:
            for x in range(width):
                pixels[top + ascent][x] = GREY
        x = margin
        for c in codes:
            if c == 32:
                x += cell_w + spacing
                continue
            rows = glyphs.get(c)
            if rows is None:
                continue
            for y, row in enumerate(rows):
                for dx, p in enumerate(row):
                    if p == "#":
                        pixels[top + y][x + dx] = BLACK
            x += len(rows[0]) + spacing + gap
    return pixels


def write_png(path, pixels, scale):
    rows = []
    for row in pixels:
        wide = bytes(v for v in row for _ in range(scale))
        rows.extend([b"\x00" + wide] * scale)
    height, width = len(rows), len(pixels[0]) * scale

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(b"".join(rows), 9)))
        out.write(chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("source")
    parser.add_argument("output")
    parser.add_argument("--scale", type=int, default=4)
    parser.add_argument("--text", action="append")
    args = parser.parse_args()
    header, glyphs = read_font(args.source)
    if args.text:
        lines = [[ord(c) for c in t] for t in args.text]
    else:
        codes = sorted(glyphs)
        lines = [codes[i:i + 16] for i in range(0, len(codes), 16)]
    write_png(args.output, render_lines(header, glyphs, lines, not args.text), args.scale)
    return 0


if __name__ == "__main__":
    sys.exit(main())
