// Palette handles built from PALETTEENTRY lists, shared by the records and their copies.
#pragma once
#include <cstdint>

#include "image/gdishim.h"

// A new palette handle holding the entries (1 to 256 of them), or null.
HPALETTE CreatePaletteFromEntries(const PALETTEENTRY *entries, uint32_t count);
