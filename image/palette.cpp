// Image palettes: the GDI palette handle and, up to 8 bits, the colour table GDI draws from.
#include "image/palette.h"

#include <cstdlib>
#include <cstring>

#include "image/image.h"

namespace
{

constexpr uint16_t kPaletteVersion = 0x300;

uint32_t PaletteEntryCount(uint32_t bitCount)
{
    return bitCount < 8 ? 1u << bitCount : 256;
}

} // namespace

HPALETTE CreatePaletteFromEntries(const PALETTEENTRY *entries, uint32_t count)
{
    if (!entries || count < 1 || count > 256) return nullptr;
    size_t bytes = sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY);
    LOGPALETTE *logPalette = static_cast<LOGPALETTE *>(std::malloc(bytes));
    if (!logPalette) return nullptr;
    logPalette->palVersion = kPaletteVersion;
    logPalette->palNumEntries = static_cast<uint16_t>(count);
    PALETTEENTRY *target = logPalette->palPalEntry;
    std::memcpy(target, entries, count * sizeof(PALETTEENTRY));
    HPALETTE palette = CreatePalette(logPalette);
    std::free(logPalette);
    return palette;
}

int ImageSetPalette(Image *image, const PALETTEENTRY *entries)
{
    if (!image || !entries) return 0;
    uint32_t bitCount = image->header.biBitCount;
    uint32_t count = PaletteEntryCount(bitCount);
    if (image->palette) {
        DeleteObject(image->palette);
        image->palette = nullptr;
    }
    image->palette = CreatePaletteFromEntries(entries, count);
    // The colour table is what GDI draws the pixels with, so it follows the entries even when
    // the handle could not be made.
    if (bitCount <= 8) {
        for (uint32_t i = 0; i < count; ++i) {
            image->colors[i].rgbRed = entries[i].peRed;
            image->colors[i].rgbGreen = entries[i].peGreen;
            image->colors[i].rgbBlue = entries[i].peBlue;
            image->colors[i].rgbReserved = entries[i].peFlags;
        }
    }
    return image->palette ? 1 : 0;
}

uint32_t ImageGetPalette(const Image *image, PALETTEENTRY *entriesOut)
{
    if (!image || !image->palette || !entriesOut) return 0;
    return GetPaletteEntries(image->palette, 0, PaletteEntryCount(image->header.biBitCount), entriesOut);
}
