#!/usr/bin/env python3
"""Turns a GIF picture into a BMP with the same pixels, for the resource script:
the program then shows its logo without a picture decoder. The first image of
the GIF, its own colour table kept as the bitmap's (8 bits per pixel, bottom-up
rows). A GIF this cannot render exactly (transparency, or an image that does not
fill the picture) stops the build rather than giving a different picture.
usage: gif-to-bmp.py INPUT.gif OUTPUT.bmp"""
import struct
import sys


class GifError(Exception):
    pass


def sub_blocks(data, pos):
    """The bytes of a run of data sub-blocks starting at pos, and the position after it."""
    out = bytearray()
    while True:
        if pos >= len(data):
            raise GifError("truncated data sub-blocks")
        n = data[pos]
        pos += 1
        if n == 0:
            return bytes(out), pos
        out += data[pos:pos + n]
        pos += n


def lzw_decode(stream, min_code_size, count):
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    code_size = min_code_size + 1
    table = [bytes([i]) for i in range(clear)] + [b"", b""]
    out = bytearray()
    prev = None
    bits, nbits, pos = 0, 0, 0
    while len(out) < count:
        while nbits < code_size:
            if pos >= len(stream):
                raise GifError("image data ends early")
            bits |= stream[pos] << nbits
            pos += 1
            nbits += 8
        code = bits & ((1 << code_size) - 1)
        bits >>= code_size
        nbits -= code_size
        if code == clear:
            table = table[:end + 1]
            code_size = min_code_size + 1
            prev = None
            continue
        if code == end:
            break
        if code < len(table):
            entry = table[code]
            if prev is not None and len(table) < 4096:
                table.append(prev + entry[:1])
        elif code == len(table) and prev is not None and len(table) < 4096:
            entry = prev + prev[:1]
            table.append(entry)
        else:
            raise GifError("bad code in image data")
        out += entry
        prev = entry
        if len(table) == (1 << code_size) and code_size < 12:
            code_size += 1
    if len(out) < count:
        raise GifError("image data ends early")
    return bytes(out[:count])


def deinterlace(pixels, width, height):
    rows = [pixels[i * width:(i + 1) * width] for i in range(height)]
    order = []
    for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)):
        order += range(start, height, step)
    out = [b""] * height
    for src, dst in enumerate(order):
        out[dst] = rows[src]
    return b"".join(out)


def read_gif(data):
    """(width, height, palette as (r, g, b) tuples, colour indices row by row from the top)."""
    if data[:6] not in (b"GIF87a", b"GIF89a"):
        raise GifError("not a GIF")
    width, height, flags = struct.unpack_from("<HHB", data, 6)
    pos = 13
    palette = []
    if flags & 0x80:
        n = 2 << (flags & 7)
        palette = [tuple(data[pos + 3 * i:pos + 3 * i + 3]) for i in range(n)]
        pos += 3 * n
    while pos < len(data):
        kind = data[pos]
        if kind == 0x21:  # extension
            label = data[pos + 1]
            body, pos = sub_blocks(data, pos + 2)
            if label == 0xF9 and len(body) >= 4 and body[0] & 1:
                raise GifError("transparency is not supported")
        elif kind == 0x2C:  # image
            left, top, w, h, iflags = struct.unpack_from("<HHHHB", data, pos + 1)
            pos += 10
            if (left, top, w, h) != (0, 0, width, height):
                raise GifError("the image does not fill the picture")
            if iflags & 0x80:
                n = 2 << (iflags & 7)
                palette = [tuple(data[pos + 3 * i:pos + 3 * i + 3]) for i in range(n)]
                pos += 3 * n
            if not palette:
                raise GifError("no colour table")
            min_code_size = data[pos]
            stream, pos = sub_blocks(data, pos + 1)
            pixels = lzw_decode(stream, min_code_size, w * h)
            if iflags & 0x40:
                pixels = deinterlace(pixels, w, h)
            if max(pixels) >= len(palette):
                raise GifError("colour index outside the table")
            return width, height, palette, pixels
        elif kind == 0x3B:
            break
        else:
            raise GifError("unknown block 0x%02x" % kind)
    raise GifError("no image")


def bmp(width, height, palette, pixels):
    stride = (width + 3) & ~3
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    rows = b"".join(pixels[y * width:(y + 1) * width] + b"\0" * (stride - width)
                    for y in reversed(range(height)))
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835,
                       len(palette), 0)
    return header + info + colours + rows


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    try:
        picture = read_gif(data)
    except (GifError, IndexError, struct.error) as e:
        sys.exit("%s: %s" % (sys.argv[1], e))
    with open(sys.argv[2], "wb") as f:
        f.write(bmp(*picture))


if __name__ == "__main__":
    main()
