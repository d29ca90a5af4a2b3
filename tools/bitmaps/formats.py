"""Writers for the file formats the build produces: BMP (8-bit plain or RLE8, 4-bit, 24-bit),
ICO and PNG. Pictures are lists of rows, top row first, of 0xRRGGBB colours."""

import struct
import zlib

# The 16 colours of the standard Windows palette, in their usual order.
WINDOWS_16 = [
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
]

_BI_RGB = 0
_BI_RLE8 = 1


def _size(picture):
    return len(picture[0]), len(picture)


def _palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0) for c in palette)


def _bmp(width, height, bits, compression, palette, pixel_data):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression,
                       len(pixel_data), 2835, 2835, len(palette), len(palette))
    table = _palette_bytes(palette)
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixel_data), 0, 0, offset)
    return header + info + table + pixel_data


def _indexed(picture, palette):
    where = {c: i for i, c in enumerate(palette)}
    try:
        return [[where[c] for c in row] for row in picture]
    except KeyError as missing:
        raise ValueError("colour #%06X is not in the palette" % missing.args[0])


def picture_palette(picture):
    """The picture's colours, darkest first, so the palette does not depend on drawing order."""
    return sorted({c for row in picture for c in row},
                  key=lambda c: ((c >> 16) + ((c >> 8) & 0xFF) + (c & 0xFF), c))


def bmp8(picture, rle, palette=None):
    """An 8-bit palette BMP, run-length encoded when rle is set. Without a palette the
    picture's own colours are used, padded to the full 256 entries."""
    width, height = _size(picture)
    palette = list(palette or picture_palette(picture))
    if len(palette) > 256:
        raise ValueError("more than 256 colours")
    palette += [0] * (256 - len(palette))
    rows = _indexed(picture, palette)[::-1]
    if rle:
        data = bytearray()
        for number, row in enumerate(rows):
            data += _rle8_row(row)
            data += b"\x00\x01" if number == len(rows) - 1 else b"\x00\x00"
        return _bmp(width, height, 8, _BI_RLE8, palette, bytes(data))
    pad = b"\x00" * (-width % 4)
    data = b"".join(bytes(row) + pad for row in rows)
    return _bmp(width, height, 8, _BI_RGB, palette, data)


def _rle8_row(row):
    """Encoded runs for repeats; absolute mode (at least three bytes, padded to an even
    length) for stretches without repeats."""
    out = bytearray()
    literal = []

    def flush():
        while literal:
            chunk = literal[:255]
            del literal[:255]
            if len(chunk) < 3:
                for index in chunk:
                    out.extend((1, index))
            else:
                out.extend((0, len(chunk)))
                out.extend(chunk)
                if len(chunk) % 2:
                    out.append(0)

    i = 0
    while i < len(row):
        run = 1
        while i + run < len(row) and row[i + run] == row[i] and run < 255:
            run += 1
        if run >= 2:
            flush()
            out.extend((run, row[i]))
        else:
            literal.append(row[i])
        i += run
    flush()
    return out


def bmp4(picture, palette=WINDOWS_16):
    """An uncompressed 4-bit BMP in the given 16-colour palette."""
    width, height = _size(picture)
    rows = _indexed(picture, palette)[::-1]
    data = bytearray()
    stride = (width * 4 + 31) // 32 * 4
    for row in rows:
        packed = bytearray(stride)
        for x, index in enumerate(row):
            packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
        data += packed
    return _bmp(width, height, 4, _BI_RGB, list(palette), bytes(data))


def bmp24(picture):
    """An uncompressed 24-bit BMP."""
    width, height = _size(picture)
    pad = b"\x00" * (-width * 3 % 4)
    data = b"".join(
        b"".join(struct.pack("<BBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16) for c in row) + pad
        for row in picture[::-1])
    return _bmp(width, height, 24, _BI_RGB, [], data)


def ico(images):
    """An icon file of 32-bit images with their AND masks. Each image is a picture whose
    pixels are 0xRRGGBB or None for transparent."""
    entries = []
    for picture in images:
        width, height = _size(picture)
        info = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 32, _BI_RGB, 0, 0, 0, 0, 0)
        colour = b"".join(
            struct.pack("<BBBB", 0, 0, 0, 0) if c is None else
            struct.pack("<BBBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16, 255)
            for row in picture[::-1] for c in row)
        stride = (width + 31) // 32 * 4
        mask = bytearray()
        for row in picture[::-1]:
            bits = bytearray(stride)
            for x, c in enumerate(row):
                if c is None:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        entries.append((width, height, info + colour + bytes(mask)))
    directory = struct.pack("<HHH", 0, 1, len(entries))
    offset = len(directory) + 16 * len(entries)
    table = b""
    for width, height, data in entries:
        table += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + table + b"".join(data for _, _, data in entries)


def png(picture):
    """An 8-bit RGB PNG."""
    width, height = _size(picture)
    raw = b"".join(b"\x00" + b"".join(struct.pack(">I", c)[1:] for c in row) for row in picture)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
