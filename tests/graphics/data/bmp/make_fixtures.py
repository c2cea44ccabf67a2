#!/usr/bin/python3
"""Writes the BMP fixtures of bitmap32_io_bmp_test.cpp and, beside each
NAME.bmp, NAME.rgba: ImageMagick's decode of it (8-bit RGBA, rows from the
top), which the test compares with. Run from this folder:
    /usr/bin/python3 make_fixtures.py
Needs convert-im6.q16 (ImageMagick 6). Files ImageMagick writes are made by
it; the rest are written byte by byte here, to reach codes and headers that
ImageMagick does not write."""
import struct
import subprocess

IM = 'convert-im6.q16'


def info40(w, h, bits, comp, data_size, colors, size=40):
    head = struct.pack('<IiiHHIIiiII', size, w, h, 1, bits, comp, data_size, 2835, 2835, colors, 0)
    return head + b'\0' * (size - 40)


def bmp(info, extra, data):
    offset = 14 + len(info) + len(extra)
    return b'BM' + struct.pack('<IHHI', offset + len(data), 0, 0, offset) + info + extra + data


def table(n, entry=4):
    # Distinct colours, B, G, R (and a zero byte for 4-byte entries).
    out = b''
    for i in range(n):
        bgr = bytes([(i * 37 + 11) % 256, (i * 91 + 7) % 256, (i * 53 + 200) % 256])
        out += bgr + (b'\0' if entry == 4 else b'')
    return out


def paletted(w, h, bits, comp, data, colors, size=40, entry=4):
    return bmp(info40(w, h, bits, comp, len(data), colors, size), table(colors, entry), data)


def rows(w, h, bits, pixel):
    stride = (w * bits + 31) // 32 * 4
    out = b''
    for y in range(h):
        row = b''
        if bits == 16:
            row = b''.join(struct.pack('<H', pixel(x, y)) for x in range(w))
        elif bits == 24:
            row = b''.join(bytes(pixel(x, y)) for x in range(w))
        elif bits == 4:
            px = [pixel(x, y) for x in range(w)] + [0]
            row = bytes(px[i] << 4 | px[i + 1] for i in range(0, w, 2))
        else:
            row = bytes(pixel(x, y) for x in range(w))
        out += row + b'\0' * (stride - len(row))
    return out


def lcg(seed):
    while True:
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        yield seed >> 8


# RLE8, 6 x 5: literal runs of odd (padded) and even length, a delta, an end
# of line inside a row and an end of bitmap before the last row.
RLE8_CODES = bytes([
    2, 1, 0, 3, 4, 5, 6, 0, 1, 7, 0, 0,    # row 0: run, literal 3 (+pad), run, end of line
    0, 4, 8, 9, 10, 11, 2, 12, 0, 0,       # row 1: literal 4, run, end of line
    3, 13, 0, 2, 1, 1,                     # row 2: run 3, delta (1, 1)
    2, 14, 0, 0,                           # row 3 from x 4: run 2, end of line
    0, 1])                                 # end of bitmap: row 4 unpainted

# RLE4, 9 x 4: runs of alternating nibbles, literal runs of odd length, a run
# into the row padding (writers encode their padding), a delta, end of bitmap.
RLE4_CODES = bytes([
    5, 0x12, 0, 4, 0x34, 0x56, 0, 0,       # row 0: run 5, literal 4, end of line
    0, 3, 0x78, 0x90, 7, 0xAB, 0, 0,       # row 1: literal 3, run 7 into the padding
    0, 5, 0xCD, 0xEF, 0x10, 0,             # row 2: literal 5 (3 bytes + pad)
    0, 2, 1, 1,                            # delta (1, 1) to row 3, x 6
    3, 0x2F, 0, 1])                        # run 3, end of bitmap


def fixtures():
    out = {}
    out['rle8_codes_6x5'] = paletted(6, 5, 8, 1, RLE8_CODES, 16)
    out['rle4_codes_9x4'] = paletted(9, 4, 4, 2, RLE4_CODES, 16)
    r = lcg(1)
    out['rgb555_5x3'] = bmp(info40(5, 3, 16, 0, 0, 0), b'', rows(5, 3, 16, lambda x, y: next(r) & 0xFFFF))
    masks565 = struct.pack('<III', 0xF800, 0x07E0, 0x001F)
    out['rgb565_table_5x3'] = bmp(info40(5, 3, 16, 3, 0, 16), masks565 + table(16),
                                  rows(5, 3, 16, lambda x, y: next(r) & 0xFFFF))
    out['os2v2_pal4_7x3'] = paletted(7, 3, 4, 0, rows(7, 3, 4, lambda x, y: (x * 3 + y * 5) % 16), 16,
                                     size=64, entry=3)
    out['os2v2_rle8_6x5'] = paletted(6, 5, 8, 1, RLE8_CODES, 16, size=64, entry=3)
    out['os2v2_rgb24_4x3'] = bmp(info40(4, 3, 24, 0, 0, 0, size=64), b'',
                                 rows(4, 3, 24, lambda x, y: (next(r) % 256, next(r) % 256, next(r) % 256)))
    return out


# Made by ImageMagick: name, arguments.
IM_MADE = [
    ('im_rle8_23x7', ['-size', '23x7', 'plasma:fractal', '-colors', '60', '-compress', 'RLE', 'BMP3:{}']),
    ('im_os2_pal1_9x4', ['-size', '9x4', 'plasma:fractal', '-type', 'bilevel', 'BMP2:{}']),
    ('im_os2_pal4_7x3', ['-size', '7x3', 'plasma:fractal', '-colors', '12', 'BMP2:{}']),
    ('im_os2_pal8_6x5', ['-size', '6x5', 'plasma:fractal', '-colors', '30', 'BMP2:{}']),
    ('im_os2_rgb24_5x3', ['-size', '5x3', 'plasma:fractal', '-type', 'truecolor', 'BMP2:{}']),
    ('im_rgb565_5x3', ['-size', '5x3', 'plasma:fractal', '-define', 'bmp:subtype=RGB565', 'BMP:{}']),
]


def main():
    for name, data in fixtures().items():
        with open(name + '.bmp', 'wb') as f:
            f.write(data)
    for name, args in IM_MADE:
        subprocess.run([IM, '-seed', '7'] + [a.format(name + '.bmp') for a in args], check=True)
    for name in list(fixtures()) + [n for n, _ in IM_MADE]:
        # ImageMagick decodes RLE files that leave pixels unpainted but warns
        # "unexpected end-of-file" and exits 1: keep its pixels when they are
        # all there.
        done = subprocess.run([IM, name + '.bmp', '-depth', '8', 'rgba:-'], capture_output=True)
        rgba = done.stdout
        width, height = (int(v) for v in name.rsplit('_', 1)[1].split('x'))
        if len(rgba) != 4 * width * height:
            raise SystemExit(name + ': ' + done.stderr.decode())
        with open(name + '.rgba', 'wb') as f:
            f.write(rgba)


main()
