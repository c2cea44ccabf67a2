#!/usr/bin/python3
"""Writes the gamma fixtures of bitmap32_io_png_test.cpp: small files whose
gAMA is not sRGB's (1.0 and 0.7), with the pixels the conversion to sRGB's
gamma gives by its formula, so that a reader ignoring the gamma (or losing
precision in it) fails.

Run with any Python 3 (standard library only) from this folder:
    python3 make_png_gamma_fixtures.py

<base>_plain.png and <base>_adam7.png: 13 x 11 pixels of pseudo-random samples
(a fixed seed, so the files repeat), plain and Adam7, with a gAMA chunk before
the image data; <base> is png<depth>_<kind>_gama1 (gAMA 1.0, linear) or
png<depth>_<kind>_gama07 (gAMA 0.7). The first row of the grey ones holds a
ramp of dark values, where 16-bit precision matters most.

<base>.rgba: the expected pixels, rows from the top, R G B A per pixel. A
colour sample v of n bits becomes round(255 * (v / (2^n - 1)) ^ (0.45455 /
gamma)); alpha is linear, round(255 * a / (2^n - 1)); a pixel matching the
tRNS colour key gets alpha 0. Palette entries are 8-bit colour samples.
"""
import random
import struct
import zlib

WIDTH, HEIGHT = 13, 11
SRGB_GAMMA = 0.45455
CHANNELS = {"grey": 1, "greyalpha": 2, "rgb": 3, "rgba": 4, "palette": 1}
COLOUR_TYPE = {"grey": 0, "greyalpha": 4, "rgb": 2, "rgba": 6, "palette": 3}
# Adam7 passes: x start, y start, x step, y step.
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
# Dark 16-bit grey values, then a few across the range.
RAMP16 = [0, 20, 31, 40, 64, 100, 160, 256, 1000, 4096, 32768, 65535, 12345]
RAMP8 = [0, 1, 2, 3, 5, 8, 13, 21, 34, 64, 128, 255, 200]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def packed_row(row, depth):
    """One row of pixels (lists of samples) as the file stores them."""
    flat = [s for pixel in row for s in pixel]
    return struct.pack(">%dH" % len(flat), *flat) if depth == 16 else bytes(flat)


def filtered_rows(rows, depth):
    """The rows, each behind filter byte 0 (none) or 2 (up) in turn."""
    out = bytearray()
    previous = None
    for y, row in enumerate(rows):
        raw = packed_row(row, depth)
        if y % 2 == 1 and previous is not None:
            out.append(2)
            out += bytes((a - b) & 0xFF for a, b in zip(raw, previous))
        else:
            out.append(0)
            out += raw
        previous = raw
    return bytes(out)


def encode(pixels, colour_type, depth, extra_chunks, interlaced):
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, depth, colour_type, 0, 0, 1 if interlaced else 0)
    if interlaced:
        data = b""
        for x0, y0, dx, dy in ADAM7:
            sub = [row[x0::dx] for row in pixels[y0::dy]]
            if sub and sub[0]:
                data += filtered_rows(sub, depth)
    else:
        data = filtered_rows(pixels, depth)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + b"".join(extra_chunks) +
            chunk(b"IDAT", zlib.compress(data, 9)) + chunk(b"IEND", b""))


def to_srgb(v, top, gamma):
    return round(255 * (v / top) ** (SRGB_GAMMA / gamma))


def expected_rgba(pixels, kind, depth, gamma, key, palette, alphas):
    top = (1 << depth) - 1
    out = bytearray()
    for row in pixels:
        for p in row:
            if kind == "palette":
                colour = [to_srgb(s, 255, gamma) for s in palette[p[0]]]
                alpha = alphas[p[0]] if p[0] < len(alphas) else 255
            else:
                has_alpha = kind in ("greyalpha", "rgba")
                colour = [to_srgb(s, top, gamma) for s in (p[:-1] if has_alpha else p)]
                if len(colour) == 1:
                    colour *= 3
                alpha = round(255 * p[-1] / top) if has_alpha else 255
                if key is not None and list(p) == key:
                    alpha = 0
            out += bytes(colour + [alpha])
    return bytes(out)


def write_fixture(rng, kind, depth, gamma_name, gamma, with_key=False):
    channels = CHANNELS[kind]
    top = (1 << depth) - 1
    palette, alphas, extra = None, [], [chunk(b"gAMA", struct.pack(">I", round(gamma * 100000)))]
    if kind == "palette":
        palette = [[rng.randrange(256) for _ in range(3)] for _ in range(40)]
        alphas = [rng.randrange(256) for _ in range(12)]
        extra += [chunk(b"PLTE", bytes(s for entry in palette for s in entry)), chunk(b"tRNS", bytes(alphas))]
        top = len(palette) - 1
    pixels = [[[rng.randint(0, top) for _ in range(channels)] for _ in range(WIDTH)] for _ in range(HEIGHT)]
    if kind == "grey":
        pixels[0] = [[v] for v in (RAMP16 if depth == 16 else RAMP8)]
    key = None
    if with_key:
        key = list(pixels[1][1])
        pixels[3][2:6] = [list(key) for _ in range(4)]
        extra.append(chunk(b"tRNS", struct.pack(">" + "H" * channels, *key)))
    base = f"png{depth}_{kind}{'_trns' if with_key else ''}_{gamma_name}"
    for layout in ("plain", "adam7"):
        with open(f"{base}_{layout}.png", "wb") as f:
            f.write(encode(pixels, COLOUR_TYPE[kind], depth, extra, layout == "adam7"))
    with open(base + ".rgba", "wb") as f:
        f.write(expected_rgba(pixels, kind, depth, gamma, key, palette, alphas))


def main():
    rng = random.Random(20261212)
    for gamma_name, gamma in (("gama1", 1.0), ("gama07", 0.7)):
        for kind in ("grey", "greyalpha", "rgb", "rgba"):
            write_fixture(rng, kind, 16, gamma_name, gamma)
            write_fixture(rng, kind, 8, gamma_name, gamma)
        write_fixture(rng, "rgb", 16, gamma_name, gamma, with_key=True)
        write_fixture(rng, "palette", 8, gamma_name, gamma)


if __name__ == "__main__":
    main()
