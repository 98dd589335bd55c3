// The few GDI types and palette calls the image records need. On Windows they are the real ones;
// elsewhere a minimal stand-in with the same layout lets the records and the decoder build and be tested.
#pragma once
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else

struct BITMAPINFOHEADER {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};

struct RGBQUAD {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
};

struct PALETTEENTRY {
    uint8_t peRed;
    uint8_t peGreen;
    uint8_t peBlue;
    uint8_t peFlags;
};

struct LOGPALETTE {
    uint16_t palVersion;
    uint16_t palNumEntries;
    PALETTEENTRY palPalEntry[1];
};

// A palette handle of the stand-in: a heap block holding a copy of the entries.
typedef struct ShimPalette *HPALETTE;

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;

HPALETTE CreatePalette(const LOGPALETTE *logPalette);
int DeleteObject(HPALETTE palette);
unsigned GetPaletteEntries(HPALETTE palette, unsigned start, unsigned count, PALETTEENTRY *entries);
#endif
