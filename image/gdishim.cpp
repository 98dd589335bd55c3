// Stand-in for the GDI palette calls outside Windows: a palette is a heap copy of its entries.
#include "image/gdishim.h"

#include <cstdlib>
#include <cstring>

struct ShimPalette {
    unsigned count;
    PALETTEENTRY entries[256];
};

HPALETTE CreatePalette(const LOGPALETTE *logPalette)
{
    // GDI refuses palettes without entries or of an unknown version; so does the stand-in.
    if (!logPalette || logPalette->palVersion != 0x300 || logPalette->palNumEntries == 0) return nullptr;
    ShimPalette *palette = static_cast<ShimPalette *>(std::calloc(1, sizeof(ShimPalette)));
    if (!palette) return nullptr;
    palette->count = logPalette->palNumEntries < 256 ? logPalette->palNumEntries : 256;
    const PALETTEENTRY *source = logPalette->palPalEntry;
    std::memcpy(palette->entries, source, palette->count * sizeof(PALETTEENTRY));
    return palette;
}

int DeleteObject(HPALETTE palette)
{
    if (!palette) return 0;
    std::free(palette);
    return 1;
}

unsigned GetPaletteEntries(HPALETTE palette, unsigned start, unsigned count, PALETTEENTRY *entries)
{
    if (!palette || start >= palette->count) return 0;
    unsigned available = palette->count - start;
    if (count > available) count = available;
    if (entries) std::memcpy(entries, palette->entries + start, count * sizeof(PALETTEENTRY));
    return count;
}
