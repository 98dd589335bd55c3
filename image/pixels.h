// The per-depth pixel routines that ImageCreate stores in each image, and the row geometry they share.
#pragma once
#include <cstddef>

#include "image/image.h"

// The get and set routines for a bit count (1, 4, 8, 16, 24 or 32); false for any other count.
bool ChoosePixelRoutines(uint32_t bitCount, PixelGetFn *get, PixelSetFn *set);

// Bytes per stored row: rows are padded to whole 32-bit words.
inline uint64_t ImageStrideFor(int32_t width, uint32_t bitCount)
{
    return (static_cast<uint64_t>(static_cast<uint32_t>(width)) * bitCount + 31) / 32 * 4;
}

// Start of row y counted from the top; rows are stored bottom-up.
inline uint8_t *ImageRowPointer(const Image *image, int32_t y)
{
    size_t stride = static_cast<size_t>(ImageStrideFor(image->header.biWidth, image->header.biBitCount));
    return image->bits + stride * static_cast<size_t>(image->header.biHeight - y - 1);
}
