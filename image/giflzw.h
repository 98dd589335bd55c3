// The LZW half of the GIF decoder: turns one frame's data sub-blocks into canvas pixels.
#pragma once
#include <cstddef>
#include <cstdint>

#include "image/image.h"

// One dictionary entry: the string it stands for is the prefix's string followed by value.
struct GifDictEntry {
    uint16_t prefix;
    uint16_t value;
    uint16_t lengthMinusOne;
    uint16_t unused;
};

constexpr uint32_t kGifDictSize = 4096;
// The longest string a dictionary can hold, plus the KwKwK pixel: room a row buffer keeps beyond
// the frame width.
constexpr uint32_t kGifLineSlack = kGifDictSize + 4;

// Where a frame's pixels go.
struct GifFrameTarget {
    Image *canvas;
    uint32_t left;
    uint32_t top;
    uint32_t width;
    uint32_t height;
    bool interlaced;
    bool transparent;
    uint32_t transparentIndex;
};

enum GifLzwOutcome {
    kLzwFrameEnded,  // the frame is done (end code, exhausted or damaged data, or all rows written)
    kLzwNoFirstCode, // not even one code could be read
};

// The sequential row of an interlaced frame (passes of rows 0, 4, 2, 1 mod 8, 8, 4, 2) mapped to its
// row in the picture; passes without rows are skipped.
uint32_t GifInterlacedRow(uint32_t row, uint32_t height);

// Decodes the sub-blocks starting at data[pos] with the given minimum code size (2 to 11). `dict`
// holds kGifDictSize entries and `line` target.width + kGifLineSlack values. `resumeOut` receives
// where the block scan should carry on skipping sub-blocks.
GifLzwOutcome GifDecodeFrameData(const uint8_t *data, size_t size, size_t pos, uint32_t minCodeSize, GifDictEntry *dict,
                                 uint16_t *line, const GifFrameTarget &target, size_t *resumeOut);
