#!/usr/bin/env python3
"""Writes the program's pictures from their text sources in tools/art/.

    res/toolstrip.gif  the toolbar's button strip (tools/art/toolstrip.txt): a GIF87a of
                       368 x 16 pixels, 16 colours, twenty-three 16 x 16 buttons in command order
    res/<name>.ico     the icons (tools/art/<name>.txt): a 16 x 16 and a 32 x 32 image each,
                       32 bits with alpha plus the AND mask for older systems

A source file holds a palette and one or more images:

    # comment
    palette
    . none              transparent (icons only)
    k 0 0 0             a character and its red, green and blue
    end
    image <name>
    <rows of characters, all of one width>
    end

Usage: tools/make_art.py [--preview DIR] [--check]
  --preview DIR  also writes every picture as a PNG enlarged 8 times into DIR
  --check        writes nothing; fails when a generated file differs from what is committed
Only the Python standard library is used, so the generated files can be rebuilt anywhere.
"""

import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
ART = ROOT / "tools" / "art"
RES = ROOT / "res"

STRIP_BUTTONS = [
    "Exit", "About", "Open", "Preferences", "New", "Save", "SaveAs", "Translate", "Signature", "Close",
    "SaveTemplate", "TranslateNextUntranslated", "Find", "FindNext", "NextProblem", "PreviousProblem",
    "TranslatePreviousUntranslated", "Back", "Forward", "FillRepeated", "Undo", "Redo", "RevertRow",
]
STRIP_SIZE = 16
STRIP_COLOURS = 16
ICONS = ["parlevo", "folder", "filetime", "saved", "problemerror", "problemwarning"]
ICON_SIZES = [16, 32]


class ArtError(Exception):
    pass


def parse_art(path):
    """Returns (palette, images): palette maps a character to (r, g, b) or None; images is a
    list of (name, rows) in file order; palette order is kept (dicts keep insertion order)."""
    palette = {}
    images = []
    section = None
    name = None
    rows = []
    for number, raw in enumerate(path.read_text().splitlines(), 1):
        line = raw.rstrip()
        where = f"{path.name}:{number}"
        if section is None:
            if not line or line.lstrip().startswith("#"):
                continue
            words = line.split()
            if words[0] == "palette":
                section = "palette"
            elif words[0] == "image" and len(words) == 2:
                section, name, rows = "image", words[1], []
            else:
                raise ArtError(f"{where}: expected 'palette' or 'image <name>'")
        elif line == "end":
            if section == "image":
                if not rows:
                    raise ArtError(f"{where}: image {name} is empty")
                images.append((name, rows))
            section = None
        elif section == "palette":
            words = line.split()
            if not words or words[0].startswith("#"):
                continue
            char = words[0]
            if len(char) != 1 or char in palette:
                raise ArtError(f"{where}: bad or repeated palette character {char!r}")
            if len(words) >= 2 and words[1] == "none":
                palette[char] = None
            else:
                try:
                    rgb = tuple(int(w) for w in words[1:4])
                except ValueError:
                    raise ArtError(f"{where}: colour must be three numbers") from None
                if len(rgb) != 3 or any(c < 0 or c > 255 for c in rgb):
                    raise ArtError(f"{where}: colour must be three numbers 0-255")
                palette[char] = rgb
        else:
            if rows and len(line) != len(rows[0]):
                raise ArtError(f"{where}: row of {len(line)} characters, expected {len(rows[0])}")
            unknown = set(line) - set(palette)
            if unknown:
                raise ArtError(f"{where}: characters not in the palette: {''.join(sorted(unknown))}")
            rows.append(line)
    if section is not None:
        raise ArtError(f"{path.name}: missing 'end'")
    return palette, images


# --- GIF ---------------------------------------------------------------------------------------

def lzw_encode(pixels, min_code_size):
    """Variable-width LZW as GIF uses it: codes packed least-significant bit first, opened by a
    clear code and closed by the end code."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def reset():
        return {(-1, i): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, width = reset()
    emit(clear, width)
    prefix = -1
    for pixel in pixels:
        key = (prefix, pixel) if prefix >= 0 else (-1, pixel)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix, width)
        # The decoder adds its entry one code later than we do, so the width grows only once
        # the code after next could need the extra bit.
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        if next_code >= 4095:
            emit(clear, width)
            table, next_code, width = reset()
        prefix = pixel
    if prefix >= 0:
        emit(prefix, width)
    emit(end, width)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def lzw_decode(data, min_code_size, count):
    """The reverse of lzw_encode, used by --check to prove the encoder round-trips."""
    clear = 1 << min_code_size
    end = clear + 1
    position = 0
    bit_buffer = 0
    bit_count = 0
    width = min_code_size + 1
    strings = [[i] for i in range(clear)] + [[], []]
    previous = None
    out = []
    while len(out) < count:
        while bit_count < width:
            if position >= len(data):
                return out
            bit_buffer |= data[position] << bit_count
            position += 1
            bit_count += 8
        code = bit_buffer & ((1 << width) - 1)
        bit_buffer >>= width
        bit_count -= width
        if code == clear:
            strings = strings[: clear + 2]
            width = min_code_size + 1
            previous = None
            continue
        if code == end:
            break
        if code < len(strings):
            entry = strings[code]
            if previous is not None:
                strings.append(strings[previous] + entry[:1])
        elif previous is not None and code == len(strings):
            entry = strings[previous] + strings[previous][:1]
            strings.append(entry)
        else:
            raise ArtError("LZW round trip: bad code")
        out.extend(entry)
        previous = code
        if len(strings) == (1 << width) and width < 12:
            width += 1
    return out


def sub_blocks(data):
    out = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start : start + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def gif87a(width, height, colours, pixels):
    """One frame, a global colour table of len(colours) (a power of two, 2 to 256) entries."""
    size_field = len(colours).bit_length() - 2
    if 2 << size_field != len(colours):
        raise ArtError("the colour table must hold a power of two entries")
    min_code_size = max(2, size_field + 1)
    out = bytearray(b"GIF87a")
    out += struct.pack("<HHBBB", width, height, 0x80 | 0x70 | size_field, 0, 0)
    for rgb in colours:
        out += bytes(rgb)
    out += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
    out.append(min_code_size)
    out += sub_blocks(lzw_encode(pixels, min_code_size))
    out.append(0x3B)
    return bytes(out)


def build_strip():
    palette, images = parse_art(ART / "toolstrip.txt")
    if None in palette.values():
        raise ArtError("toolstrip.txt: the strip has no transparent colour; use the face grey")
    if len(palette) > STRIP_COLOURS:
        raise ArtError(f"toolstrip.txt: {len(palette)} colours, at most {STRIP_COLOURS}")
    names = [name for name, _ in images]
    if names != STRIP_BUTTONS:
        raise ArtError(f"toolstrip.txt: images must be {STRIP_BUTTONS} in this order, found {names}")
    for name, rows in images:
        if len(rows) != STRIP_SIZE or len(rows[0]) != STRIP_SIZE:
            raise ArtError(f"toolstrip.txt: {name} must be {STRIP_SIZE} x {STRIP_SIZE}")
    index = {char: i for i, char in enumerate(palette)}
    colours = list(palette.values()) + [(0, 0, 0)] * (STRIP_COLOURS - len(palette))
    width = STRIP_SIZE * len(images)
    pixels = [index[rows[y][x]] for y in range(STRIP_SIZE) for _, rows in images for x in range(STRIP_SIZE)]
    data = gif87a(width, STRIP_SIZE, colours, pixels)
    rgba = [colours[p] + (255,) for p in pixels]
    return data, (width, STRIP_SIZE, rgba), (pixels, data)


def check_strip_round_trip(pixels, data):
    header = 13 + 3 * STRIP_COLOURS
    start = header + 10
    min_code_size = data[start]
    position = start + 1
    lzw = bytearray()
    while data[position]:
        lzw += data[position + 1 : position + 1 + data[position]]
        position += 1 + data[position]
    if lzw_decode(bytes(lzw), min_code_size, len(pixels)) != pixels:
        raise ArtError("toolstrip.gif does not decode back to its pixels")


# --- ICO ---------------------------------------------------------------------------------------

def ico_image(size, rows, palette):
    """A BITMAPINFOHEADER of double height, 32-bit BGRA rows bottom-up, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, char in enumerate(row):
            rgb = palette[char]
            if rgb is None:
                colour += b"\0\0\0\0"
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                colour += bytes((rgb[2], rgb[1], rgb[0], 255))
        mask += bits
    return header + bytes(colour) + bytes(mask)


def build_icon(name):
    palette, images = parse_art(ART / f"{name}.txt")
    by_size = {}
    for image_name, rows in images:
        size = len(rows)
        if len(rows[0]) != size or image_name != str(size):
            raise ArtError(f"{name}.txt: image {image_name} must be named by its size and be square")
        by_size[size] = rows
    if sorted(by_size) != ICON_SIZES:
        raise ArtError(f"{name}.txt: needs exactly the sizes {ICON_SIZES}")
    # The small image first: a loader that takes the first fitting entry gets the status-bar size.
    blobs = [(size, ico_image(size, by_size[size], palette)) for size in ICON_SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, blob in blobs:
        out += blob
    previews = []
    for size in ICON_SIZES:
        rgba = [(palette[c] + (255,)) if palette[c] else None for row in by_size[size] for c in row]
        previews.append((f"{name}-{size}", (size, size, rgba)))
    return bytes(out), previews


# --- preview -----------------------------------------------------------------------------------

def png(width, height, rgba, scale):
    """RGB PNG, enlarged; transparent pixels as a light checkerboard."""
    raw = bytearray()
    for y in range(height * scale):
        raw.append(0)
        for x in range(width * scale):
            pixel = rgba[(y // scale) * width + x // scale]
            if pixel is None:
                pixel = (230, 230, 230) if ((x // 4) + (y // 4)) % 2 else (250, 250, 250)
            raw += bytes(pixel[:3])

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width * scale, height * scale, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main(argv):
    preview = None
    check = False
    args = list(argv)
    while args:
        arg = args.pop(0)
        if arg == "--preview" and args:
            preview = Path(args.pop(0))
        elif arg == "--check":
            check = True
        else:
            print(__doc__, file=sys.stderr)
            return 2
    try:
        strip, strip_preview, (pixels, data) = build_strip()
        check_strip_round_trip(pixels, data)
        outputs = {RES / "toolstrip.gif": strip}
        previews = [("toolstrip", strip_preview)]
        for name in ICONS:
            blob, icon_previews = build_icon(name)
            outputs[RES / f"{name}.ico"] = blob
            previews += icon_previews
    except ArtError as error:
        print(f"make_art: {error}", file=sys.stderr)
        return 1
    stale = []
    for path, blob in outputs.items():
        if check:
            if not path.exists() or path.read_bytes() != blob:
                stale.append(path.name)
        else:
            path.write_bytes(blob)
    if preview:
        preview.mkdir(parents=True, exist_ok=True)
        for name, (width, height, rgba) in previews:
            (preview / f"{name}.png").write_bytes(png(width, height, rgba, 8))
    if stale:
        print("make_art: out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
