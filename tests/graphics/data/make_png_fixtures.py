#!/usr/bin/python3
"""Writes the PNG fixtures of bitmap32_io_png_test.cpp: small files of every
colour type and bit depth with the pixels ImageMagick decodes them to, and a
damaged file declaring a huge image.

Run with the system Python (it needs numpy and ImageMagick 6) from this folder:
    /usr/bin/python3 make_png_fixtures.py

png16_<kind>_<tag>_<layout>.png: 13 x 11 pseudo-random 16-bit samples (a
fixed seed, so the files repeat), an odd size so that every Adam7 pass has
partial blocks. <tag> is the colour chunk before the image data (none, gAMA
1/2.2, sRGB; tRNS for the colour-key kinds), <layout> plain or adam7.
png8_<kind>_<layout>.png: the same for 1, 2, 4 and 8-bit grey (the 8-bit one
with a colour key), 4 and 8-bit palettes with alpha, and 8-bit grey+alpha, RGB
and RGBA. The encoder is written out here so that nothing but the stated
chunks goes into a file.

Beside each pair of layouts goes <name>.rgba: the pixels as ImageMagick
decodes them to 8 bits (convert-im6.q16 <file> -depth 8 rgba:-), rows from
the top, R G B A per pixel; ImageMagick must decode both layouts to the same
pixels. For 16 bits the script also checks that these are within 1 of
rounding each sample to the nearest of 0..255 (v * 255 / 65535; ImageMagick
6.9 truncates it instead).
"""
import struct
import subprocess
import zlib

import numpy

WIDTH, HEIGHT = 13, 11
CHANNELS = {"grey": 1, "greyalpha": 2, "rgb": 3, "rgba": 4}
COLOUR_TYPE = {"grey": 0, "greyalpha": 4, "rgb": 2, "rgba": 6}
# Adam7 passes: x start, y start, x step, y step.
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def packed_row(row, depth):
    """One row of samples as the file stores them: big-endian 16-bit, bytes,
    or 1, 2 or 4 bits a pixel from the most significant bit on."""
    if depth == 16:
        return row.astype(">u2").tobytes()
    if depth == 8:
        return row.astype(numpy.uint8).tobytes()
    bits = numpy.unpackbits(row.astype(numpy.uint8).reshape(-1, 1), axis=1)[:, 8 - depth:]
    return numpy.packbits(bits.reshape(-1)).tobytes()


def filtered_rows(samples, depth):
    """The rows, each behind filter byte 0 (none) or 2 (up) in turn, so that
    both the plain and the filtered paths run."""
    out = bytearray()
    previous = None
    for y, row in enumerate(samples):
        raw = packed_row(row, depth)
        if y % 2 == 1 and previous is not None:
            out.append(2)
            out += bytes((a - b) & 0xFF for a, b in zip(raw, previous))
        else:
            out.append(0)
            out += raw
        previous = raw
    return bytes(out)


def encode(samples, colour_type, depth, extra_chunks, interlaced):
    height, width = samples.shape[:2]
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 1 if interlaced else 0)
    if interlaced:
        data = b""
        for x0, y0, dx, dy in ADAM7:
            sub = samples[y0::dy, x0::dx]
            if sub.shape[0] and sub.shape[1]:
                data += filtered_rows(sub, depth)
    else:
        data = filtered_rows(samples, depth)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + b"".join(extra_chunks) +
            chunk(b"IDAT", zlib.compress(data, 9)) + chunk(b"IEND", b""))


def write_pair(base, samples, colour_type, depth, extra_chunks):
    """Writes <base>_plain.png, <base>_adam7.png and <base>.rgba, ImageMagick's
    pixels of them, which must be the same for both; returns those pixels."""
    pixels = []
    for layout in ("plain", "adam7"):
        name = f"{base}_{layout}.png"
        with open(name, "wb") as f:
            f.write(encode(samples, colour_type, depth, extra_chunks, layout == "adam7"))
        pixels.append(imagemagick_rgba(name))
    if pixels[0] != pixels[1]:
        raise SystemExit(f"{base}: ImageMagick decodes the Adam7 file differently")
    with open(base + ".rgba", "wb") as f:
        f.write(pixels[0])
    return pixels[0]


def imagemagick_rgba(path):
    return subprocess.run(["convert-im6.q16", path, "-depth", "8", "rgba:-"], check=True,
                          capture_output=True).stdout


def rounded_rgba(samples, kind, key):
    eight = (samples.astype(numpy.uint32) * 255 + 32767) // 65535
    if kind in ("grey", "greyalpha"):
        colour = numpy.repeat(eight[:, :, :1], 3, axis=2)
    else:
        colour = eight[:, :, :3]
    if kind in ("greyalpha", "rgba"):
        alpha = eight[:, :, -1:]
    elif key is not None:
        alpha = numpy.where(numpy.all(samples == key, axis=2, keepdims=True), 0, 255)
    else:
        alpha = numpy.full(colour.shape[:2] + (1,), 255)
    return numpy.concatenate([colour, alpha], axis=2).astype(numpy.uint8).tobytes()


def damaged_huge_grey():
    """damaged_16384x16384_grey1.png: 16384 x 16384 1-bit grey whose image
    data is a zlib stream of the right length (about 32 KB, so the data could
    fill the image) with its first deflate byte replaced by 0x07, an invalid
    block type: zlib refuses it at once. The CRCs are right."""
    width = height = 16384
    rows = (b"\0" + bytes(width // 8)) * height
    data = bytearray(zlib.compress(rows, 9))
    data[2] = 0x07
    header = struct.pack(">IIBBBBB", width, height, 1, 0, 0, 0, 0)
    with open("damaged_16384x16384_grey1.png", "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", bytes(data)) +
                chunk(b"IEND", b""))


def low_depths(rng):
    """png8_<kind>_<layout>.png and png8_<kind>.rgba: the other bit depths and
    colour types, 13 x 11, as ImageMagick decodes them."""
    for depth in (1, 2, 4, 8):
        samples = rng.integers(0, 1 << depth, size=(HEIGHT, WIDTH, 1))
        extra = []
        if depth == 8:
            # A colour key on grey.
            samples[3, 2:6] = samples[1, 1]
            extra = [chunk(b"tRNS", struct.pack(">H", int(samples[1, 1, 0])))]
        write_pair(f"png8_grey{depth}", samples, 0, depth, extra)
    for depth, entries in ((4, 16), (8, 200)):
        palette = rng.integers(0, 256, size=(entries, 3), dtype=numpy.uint8)
        alphas = rng.integers(0, 256, size=entries // 3, dtype=numpy.uint8)
        samples = rng.integers(0, entries, size=(HEIGHT, WIDTH, 1))
        write_pair(f"png8_palette{depth}", samples, 3, depth,
                   [chunk(b"PLTE", palette.tobytes()), chunk(b"tRNS", alphas.tobytes())])
    for kind in ("greyalpha", "rgb", "rgba"):
        samples = rng.integers(0, 256, size=(HEIGHT, WIDTH, CHANNELS[kind]))
        write_pair(f"png8_{kind}", samples, COLOUR_TYPE[kind], 8, [])


def main():
    damaged_huge_grey()
    rng = numpy.random.default_rng(20261211)
    tags = {
        "none": [],
        "gama": [chunk(b"gAMA", struct.pack(">I", 45455))],
        "srgb": [chunk(b"sRGB", b"\x00")],
    }
    for kind, channels in CHANNELS.items():
        samples = rng.integers(0, 65536, size=(HEIGHT, WIDTH, channels), dtype=numpy.uint32)
        # Mid grey 127 and the values around each rounding step's edges.
        samples[0, :4] = numpy.array([127 * 257, 0x7FFF, 0x8080, 128])[:, None]
        kind_tags = dict(tags)
        key = None
        if kind in ("grey", "rgb"):
            # A colour key that several pixels match: they load transparent.
            key = samples[1, 1].copy()
            samples[3, 2:6] = key
            kind_tags["trns"] = [chunk(b"tRNS", struct.pack(">" + "H" * channels, *key))]
        for tag, extra in kind_tags.items():
            expected = rounded_rgba(samples, kind, key if tag == "trns" else None)
            got = write_pair(f"png16_{kind}_{tag}", samples, COLOUR_TYPE[kind], 16, extra)
            off = numpy.abs(numpy.frombuffer(got, numpy.uint8).astype(int) -
                            numpy.frombuffer(expected, numpy.uint8).astype(int))
            if len(got) != len(expected) or off.max() > 1:
                raise SystemExit(f"png16_{kind}_{tag}: ImageMagick differs from rounding by more than 1")
    low_depths(rng)


if __name__ == "__main__":
    main()
