#!/usr/bin/env python3
"""Writes a large synthetic host module (.rc) and a matching German language file (.lng).

The benchmarks need modules far bigger than the hand-written sample: up to 65,000 strings
spread over the whole string-ID space, with every category start present, and a language
file that translates most of them. The texts are made up from small word lists; what matters
is their realistic length, their mix of line feeds, quotes, tabs, placeholders and accented
letters, and that the same seed always gives the same files.

    gen_samples.py --rc out.rc --lng out.lng --count N [--seed S] [--pairs out.bin]
    gen_samples.py N            (writes LumivexN.rc and LumivexN.lng here)
"""

import argparse
import math
import random
import sys

# The first ID of each category range; each one always gets a string.
CATEGORY_STARTS = (1, 103, 1000, 30001, 40001, 50001, 52001, 53001, 54001, 54501)
FIRST_ID = 1  # ID 0 would read back as a category row
LAST_ID = 65534  # 65535 can never be looked up in a language file
BLOCK_IDS = 16
MAX_IDS = LAST_ID - FIRST_ID + 1

# Share of the blocks' IDs that hold a string when the module is not full: real modules
# leave gaps inside their blocks.
BLOCK_FILL = 0.75
TRANSLATED_SHARE = 0.88
MIN_SOURCE = 5
MAX_SOURCE = 120
# The program keeps 251 bytes of a text and forms each written line in 283 bytes; the
# translations stay well inside both, as German runs a little longer than English.
MAX_TEXT = 251
MAX_LINE = 283
MAX_TRANSLATION = 200

ENGLISH = (
    "image", "file", "folder", "color", "palette", "layer", "selection", "brush", "filter", "preview",
    "thumbnail", "page", "printer", "scanner", "camera", "lens", "exposure", "aperture", "shutter",
    "flash", "focus", "contrast", "brightness", "saturation", "hue", "gamma", "histogram", "channel",
    "pixel", "resolution", "width", "height", "size", "quality", "compression", "format", "header",
    "frame", "animation", "transparency", "background", "foreground", "border", "canvas", "crop",
    "rotate", "flip", "resize", "sharpen", "blur", "noise", "open", "save", "print", "copy", "paste",
    "delete", "rename", "convert", "export", "import", "apply", "cancel", "restore", "default",
    "current", "selected", "original", "new", "large", "small", "automatic", "manual", "lossless",
    "progressive", "interlaced", "embedded", "missing", "damaged", "unsupported", "invalid", "all",
    "the", "of", "to", "from", "with", "for", "and", "or", "in", "on", "at", "by", "each", "every",
)
GERMAN = (
    "Bild", "Datei", "Ordner", "Farbe", "Palette", "Ebene", "Auswahl", "Pinsel", "Filter", "Vorschau",
    "Miniaturansicht", "Seite", "Drucker", "Scanner", "Kamera", "Objektiv", "Belichtung", "Blende",
    "Verschluss", "Blitz", "Schärfe", "Kontrast", "Helligkeit", "Sättigung", "Farbton", "Gamma",
    "Histogramm", "Kanal", "Bildpunkt", "Auflösung", "Breite", "Höhe", "Größe", "Qualität",
    "Komprimierung", "Format", "Kopfzeile", "Rahmen", "Animation", "Transparenz", "Hintergrund",
    "Vordergrund", "Rand", "Arbeitsfläche", "zuschneiden", "drehen", "spiegeln", "skalieren",
    "schärfen", "weichzeichnen", "Rauschen", "öffnen", "speichern", "drucken", "kopieren",
    "einfügen", "löschen", "umbenennen", "umwandeln", "exportieren", "importieren", "anwenden",
    "abbrechen", "wiederherstellen", "Standard", "aktuell", "ausgewählt", "ursprünglich", "neu",
    "groß", "klein", "automatisch", "manuell", "verlustfrei", "progressiv", "interlaced", "eingebettet",
    "fehlend", "beschädigt", "nicht unterstützt", "ungültig", "alle", "der", "die", "das", "des",
    "zu", "von", "mit", "für", "und", "oder", "im", "auf", "bei", "durch", "jede", "jedes", "über",
)
ENGLISH_ACCENTED = ("café", "naïve", "Müller", "Gödel", "Zürich", "Señor", "Ångström", "Bézier")
ENDINGS = (".", ".", "...", ":", "?", "!", "", "", "", "")


def rc_escape(text):
    out = []
    for ch in text:
        if ch == '"':
            out.append('""')
        elif ch == "\\":
            out.append("\\\\")
        elif ch == "\n":
            out.append("\\n")
        elif ch == "\t":
            out.append("\\t")
        else:
            out.append(ch)
    return "".join(out)


def lng_escape(text):
    """Escapes as the program's writer does: tab, line feed and double quote only."""
    return text.replace("\t", "\\t").replace("\n", "\\n").replace('"', '\\"')


def pick_ids(count, rng):
    """count distinct IDs: the category starts plus others clustered in whole blocks."""
    first_block, last_block = FIRST_ID // BLOCK_IDS, LAST_ID // BLOCK_IDS
    all_blocks = range(first_block, last_block + 1)
    start_blocks = {s // BLOCK_IDS for s in CATEGORY_STARTS}
    wanted = min(len(all_blocks), max(len(start_blocks), math.ceil(count / (BLOCK_IDS * BLOCK_FILL))))
    others = [b for b in all_blocks if b not in start_blocks]
    blocks = start_blocks | set(rng.sample(others, wanted - len(start_blocks)))
    starts = set(CATEGORY_STARTS)
    pool = [i for b in sorted(blocks) for i in range(b * BLOCK_IDS, b * BLOCK_IDS + BLOCK_IDS)
            if FIRST_ID <= i <= LAST_ID and i not in starts]
    if count - len(starts) > len(pool):
        # A nearly full module: the chosen blocks cannot hold them all, so take every block.
        pool = [i for i in range(FIRST_ID, LAST_ID + 1) if i not in starts]
    return sorted(starts | set(rng.sample(pool, count - len(starts))))


def words_to(rng, vocabulary, length):
    words = [rng.choice(vocabulary)]
    while len(" ".join(words)) < length:
        words.append(rng.choice(vocabulary))
    text = " ".join(words)
    return text[0].upper() + text[1:]


def source_length(rng):
    # Mostly short labels and menu items, a long tail of sentences.
    if rng.random() < 0.35:
        return rng.randint(MIN_SOURCE, 24)
    return min(MAX_SOURCE, int(rng.triangular(12, MAX_SOURCE, 30)))


def pick_decoration(rng):
    """The special bytes a string must carry through the program, shared by a source text
    and its translation: a line feed, a quoted placeholder, a shortcut after a tab, or a
    placeholder; then the closing punctuation."""
    roll = rng.random()
    if roll < 0.06:
        kind = "\n"
    elif roll < 0.10:
        kind = ' "%s"'
    elif roll < 0.13:
        kind = "\tCtrl+" + rng.choice("ABCDEFGHIJKLMNOPQRSTUVWXYZ")
    elif roll < 0.20:
        kind = rng.choice((": %d", " (%d%%)", ": %s", " %d × %d"))
    else:
        kind = ""
    return kind, rng.choice(ENDINGS)


def decorate(text, decoration):
    kind, ending = decoration
    if kind == "\n":
        cut = text.rfind(" ", 0, len(text) // 2 + 1)
        if cut > 0:
            text = text[:cut] + "\n" + text[cut + 1:]
    else:
        text += kind
    return text + ending


def make_texts(rng):
    """One source text and its translation, or None when it stays untranslated."""
    decoration = pick_decoration(rng)
    room = MAX_SOURCE - len(decoration[0]) - len(decoration[1]) - 9
    base = words_to(rng, ENGLISH, min(source_length(rng), room))
    if rng.random() < 0.05:
        base = rng.choice(ENGLISH_ACCENTED) + " " + base.lower()
    source = decorate(base, decoration)
    if rng.random() < 0.01:
        # Paths keep their backslashes; the writer does not escape them, so such a string
        # stays untranslated.
        return source + " %s\\Plugins", None
    german = words_to(rng, GERMAN, min(MAX_TRANSLATION - 40, int(len(base) * rng.uniform(1.0, 1.2))))
    return source, decorate(german, decoration)


def fits(text, limit):
    return len(text.encode("cp1252")) <= limit


def write_rc(path, items):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write("// Generated by tools/gen_samples.py: a synthetic host module for benchmarks.\n")
        out.write("#pragma code_page(65001)\n")
        out.write("LANGUAGE 0x09, 0x01  // English (United States)\n\n")
        out.write("STRINGTABLE\nBEGIN\n")
        for string_id, source, _ in items:
            out.write('    %d, "%s"\n' % (string_id, rc_escape(source)))
        out.write("END\n")


def write_lng(path, items, count, seed):
    lines = ["; Language: Deutsch (synthetisch)", "; Author: gen_samples.py",
             "; Version: %d Zeichenketten, Startwert %d" % (count, seed), ""]
    for string_id, _, translation in items:
        if translation is not None:
            lines.append('%d="%s"' % (string_id, lng_escape(translation)))
    with open(path, "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))


def write_pairs(path, items):
    """Each string's source text and translation as the program holds them once loaded: code
    page 1252, each terminated by a zero byte, an untranslated string's translation empty."""
    with open(path, "wb") as out:
        for _, source, translation in items:
            out.write(source.encode("cp1252") + b"\0" + (translation or "").encode("cp1252") + b"\0")


def generate(count, seed):
    rng = random.Random(seed)
    items = []
    for string_id in pick_ids(count, rng):
        while True:
            source, translation = make_texts(rng)
            if not fits(source, MAX_SOURCE):
                continue
            if translation is not None:
                line = '%d="%s"\r\n' % (string_id, lng_escape(translation))
                if not fits(translation, MAX_TEXT) or not fits(line, MAX_LINE):
                    continue
                if rng.random() >= TRANSLATED_SHARE:
                    translation = None
            break
        items.append((string_id, source, translation))
    return items


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("n", nargs="?", type=int, help="number of strings (same as --count)")
    parser.add_argument("--count", type=int, help="number of strings, 10 to %d" % MAX_IDS)
    parser.add_argument("--rc", help="resource script to write")
    parser.add_argument("--lng", help="language file to write")
    parser.add_argument("--seed", type=int, default=1, help="random seed (default 1)")
    parser.add_argument("--pairs", help="also write the source and translation pairs, for the native benchmarks")
    args = parser.parse_args(argv)
    count = args.count if args.count is not None else args.n
    if count is None:
        parser.error("give the number of strings")
    if not len(CATEGORY_STARTS) <= count <= MAX_IDS:
        parser.error("the count must be between %d and %d" % (len(CATEGORY_STARTS), MAX_IDS))
    items = generate(count, args.seed)
    write_rc(args.rc or "Lumivex%d.rc" % count, items)
    write_lng(args.lng or "Lumivex%d.lng" % count, items, count, args.seed)
    if args.pairs:
        write_pairs(args.pairs, items)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
