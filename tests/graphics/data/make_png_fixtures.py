#!/usr/bin/python3
"""Writes the PNG fixtures of bitmap32_io_png_test.cpp: 16-bit files with
their expected 8-bit RGBA pixels, and a damaged file declaring a huge image.

Run with the system Python (it needs numpy) from this folder:
    /usr/bin/python3 make_png_fixtures.py

Each fixture is png16_<kind>_<tag>_<layout>.png: 13 x 11 pseudo-random
16-bit samples (a fixed seed, so the files repeat), an odd size so that every
Adam7 pass has partial blocks. <tag> is the colour chunk before the image
data (none, gAMA 1/2.2, sRGB; tRNS for the colour-key kinds), <layout> plain
or Adam7. The encoder is written out here so that nothing but the stated
chunks goes into a file.

Beside each pair goes png16_<kind>_<tag>.rgba: the pixels as ImageMagick
reduces them to 8 bits (convert-im6.q16 <file> -depth 8 rgba:-), rows from
the top, R G B A per pixel. The script checks that these are within 1 of
rounding each sample to the nearest of 0..255 (v * 255 / 65535; ImageMagick
6.9 truncates it instead) and that ImageMagick decodes the plain and the
Adam7 file of a kind and tag to the same pixels.
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


def filtered_rows(samples):
    """Rows of big-endian 16-bit samples, each behind filter byte 0 (none) or
    2 (up) in turn, so that both the plain and the filtered paths run."""
    out = bytearray()
    previous = None
    for y, row in enumerate(samples):
        raw = row.astype(">u2").tobytes()
        if y % 2 == 1 and previous is not None:
            out.append(2)
            out += bytes((a - b) & 0xFF for a, b in zip(raw, previous))
        else:
            out.append(0)
            out += raw
        previous = raw
    return bytes(out)


def encode(samples, kind, extra_chunks, interlaced):
    height, width = samples.shape[:2]
    header = struct.pack(">IIBBBBB", width, height, 16, COLOUR_TYPE[kind], 0, 0, 1 if interlaced else 0)
    if interlaced:
        data = b""
        for x0, y0, dx, dy in ADAM7:
            sub = samples[y0::dy, x0::dx]
            if sub.shape[0] and sub.shape[1]:
                data += filtered_rows(sub)
    else:
        data = filtered_rows(samples)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + b"".join(extra_chunks) +
            chunk(b"IDAT", zlib.compress(data, 9)) + chunk(b"IEND", b""))


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
            for layout in ("plain", "adam7"):
                name = f"png16_{kind}_{tag}_{layout}"
                with open(name + ".png", "wb") as f:
                    f.write(encode(samples, kind, extra, layout == "adam7"))
                got = imagemagick_rgba(name + ".png")
                off = numpy.abs(numpy.frombuffer(got, numpy.uint8).astype(int) -
                                numpy.frombuffer(expected, numpy.uint8).astype(int))
                if len(got) != len(expected) or off.max() > 1:
                    raise SystemExit(f"{name}: ImageMagick differs from rounding by more than 1")
                if layout == "adam7" and got != plain:
                    raise SystemExit(f"{name}: ImageMagick decodes the Adam7 file differently")
                plain = got
            with open(f"png16_{kind}_{tag}.rgba", "wb") as f:
                f.write(plain)


if __name__ == "__main__":
    main()
