#!/usr/bin/env python3
"""Draws the program's pictures: the window icon (32x32 and 16x16, 8 bits per
pixel) and the maker's logo (a 43x43 GIF89a with a 64-entry colour table).
Pure Python and deterministic: the same run always writes the same bytes.
usage: make-pictures.py OUTPUT_FOLDER"""
import struct
import sys


def palette64():
    # 48 blues from deep navy to sky, then 16 greys ending in white.
    pal = []
    for i in range(48):
        t = i / 47
        pal.append((int(10 + 90 * t), int(30 + 150 * t), int(90 + 165 * t)))
    for i in range(16):
        v = int(96 + 159 * i / 15)
        pal.append((v, v, v))
    return pal


def coverage(x, y, size, shape):
    """Fraction of the pixel (x, y) inside `shape`, 4x4 supersampled."""
    hits = 0
    for sy in range(4):
        for sx in range(4):
            if shape((x + (sx + 0.5) / 4) / size, (y + (sy + 0.5) / 4) / size):
                hits += 1
    return hits / 16


def rounded(u, v, r=0.2, inset=0.02):
    lo, hi = inset, 1 - inset
    if not (lo <= u <= hi and lo <= v <= hi):
        return False
    cx = min(max(u, lo + r), hi - r)
    cy = min(max(v, lo + r), hi - r)
    return (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def letter_t(u, v):
    bar = 0.22 <= v <= 0.36 and 0.2 <= u <= 0.8
    stem = 0.36 <= v <= 0.8 and 0.42 <= u <= 0.58
    return bar or stem


def render(size, full_bleed):
    """RGB rows and a mask (True where the picture is opaque)."""
    rows, mask = [], []
    for y in range(size):
        row, mrow = [], []
        for x in range(size):
            shade = 1 - (y + 0.5) / size  # light at the top
            base = (int(10 + 90 * shade), int(30 + 150 * shade), int(90 + 165 * shade))
            inside = 1.0 if full_bleed else coverage(x, y, size, rounded)
            t = coverage(x, y, size, letter_t)
            rgb = tuple(int(b * (1 - t) + 255 * t) for b in base)
            if full_bleed:
                ring = coverage(x, y, size, rounded)
                rgb = tuple(int(c * ring + 255 * (1 - ring)) for c in rgb)
            row.append(rgb)
            mrow.append(inside >= 0.5)
        rows.append(row)
        mask.append(mrow)
    return rows, mask


def quantise(rows, pal):
    def nearest(c):
        return min(range(len(pal)), key=lambda i: sum((a - b) ** 2 for a, b in zip(c, pal[i])))
    return [[nearest(c) for c in row] for row in rows]


def lzw(indices, min_code_size):
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out, bits, nbits = bytearray(), 0, 0
    code_size = min_code_size + 1

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += code_size
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    table = {(i,): i for i in range(clear)}
    next_code = end + 1
    emit(clear)
    prefix = (indices[0],)
    for k in indices[1:]:
        word = prefix + (k,)
        if word in table:
            prefix = word
            continue
        emit(table[prefix])
        if next_code < 4096:
            table[word] = next_code
            next_code += 1
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear)
            table = {(i,): i for i in range(clear)}
            next_code, code_size = end + 1, min_code_size + 1
        prefix = (k,)
    emit(table[prefix])
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def gif(size, pal, pixels):
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", size, size, 0xF0 | 5, 0, 0)  # global table of 64 entries
    for c in pal:
        data += bytes(c)
    data += struct.pack("<BHHHHB", 0x2C, 0, 0, size, size, 0)
    data.append(6)
    stream = lzw([i for row in pixels for i in row], 6)
    for i in range(0, len(stream), 255):
        chunk = stream[i:i + 255]
        data.append(len(chunk))
        data += chunk
    data += b"\x00\x3B"
    return bytes(data)


def ico(images, pal):
    pal256 = pal + [(0, 0, 0)] * (256 - len(pal))
    blobs = []
    for size, pixels, mask in images:
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
        colours = b"".join(bytes((b, g, r, 0)) for r, g, b in pal256)
        xor = b"".join(bytes(row) + b"\0" * ((4 - size % 4) % 4) for row in reversed(pixels))
        stride = ((size + 31) // 32) * 4
        andmask = bytearray()
        for mrow in reversed(mask):
            line = bytearray(stride)
            for x, opaque in enumerate(mrow):
                if not opaque:
                    line[x // 8] |= 0x80 >> (x % 8)
            andmask += line
        blobs.append((size, header + colours + xor + bytes(andmask)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(blob), offset)
        offset += len(blob)
    for _, blob in blobs:
        out += blob
    return bytes(out)


def main():
    folder = sys.argv[1]
    pal = palette64()
    rows, _ = render(43, True)
    with open(f"{folder}/logo.gif", "wb") as f:
        f.write(gif(43, pal, quantise(rows, pal)))
    images = []
    for size in (32, 16):
        rows, mask = render(size, False)
        images.append((size, quantise(rows, pal), mask))
    with open(f"{folder}/tavlin.ico", "wb") as f:
        f.write(ico(images, pal))


if __name__ == "__main__":
    main()
