// Pixel routines, one get and one set per storage size, chosen by bit count / 8.
#include "image/pixels.h"

namespace
{

// 1 and 4 bits: the leftmost pixel of a byte sits in its most significant bits.
uint32_t GetPacked(const Image *image, int32_t x, int32_t y)
{
    uint32_t bits = image->header.biBitCount;
    uint32_t perByte = 8 / bits;
    uint32_t shift = 8 - ((static_cast<uint32_t>(x) % perByte) + 1) * bits;
    uint8_t byte = ImageRowPointer(image, y)[static_cast<uint32_t>(x) * bits / 8];
    return (byte >> shift) & ((1u << bits) - 1);
}

void SetPacked(Image *image, int32_t x, int32_t y, uint32_t value)
{
    uint32_t bits = image->header.biBitCount;
    uint32_t perByte = 8 / bits;
    uint32_t shift = 8 - ((static_cast<uint32_t>(x) % perByte) + 1) * bits;
    uint32_t mask = ((1u << bits) - 1) << shift;
    uint8_t *byte = ImageRowPointer(image, y) + static_cast<uint32_t>(x) * bits / 8;
    *byte = static_cast<uint8_t>((*byte & ~mask) | ((value << shift) & mask));
}

uint32_t Get8(const Image *image, int32_t x, int32_t y)
{
    return ImageRowPointer(image, y)[x];
}

void Set8(Image *image, int32_t x, int32_t y, uint32_t value)
{
    ImageRowPointer(image, y)[x] = static_cast<uint8_t>(value);
}

uint32_t Get16(const Image *image, int32_t x, int32_t y)
{
    const uint8_t *p = ImageRowPointer(image, y) + static_cast<size_t>(x) * 2;
    return p[0] | static_cast<uint32_t>(p[1]) << 8;
}

void Set16(Image *image, int32_t x, int32_t y, uint32_t value)
{
    uint8_t *p = ImageRowPointer(image, y) + static_cast<size_t>(x) * 2;
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

uint32_t Get24(const Image *image, int32_t x, int32_t y)
{
    const uint8_t *p = ImageRowPointer(image, y) + static_cast<size_t>(x) * 3;
    return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16;
}

void Set24(Image *image, int32_t x, int32_t y, uint32_t value)
{
    uint8_t *p = ImageRowPointer(image, y) + static_cast<size_t>(x) * 3;
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
}

uint32_t Get32(const Image *image, int32_t x, int32_t y)
{
    const uint8_t *p = ImageRowPointer(image, y) + static_cast<size_t>(x) * 4;
    return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void Set32(Image *image, int32_t x, int32_t y, uint32_t value)
{
    uint8_t *p = ImageRowPointer(image, y) + static_cast<size_t>(x) * 4;
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

const PixelGetFn kGetters[] = {GetPacked, Get8, Get16, Get24, Get32};
const PixelSetFn kSetters[] = {SetPacked, Set8, Set16, Set24, Set32};

} // namespace

bool ChoosePixelRoutines(uint32_t bitCount, PixelGetFn *get, PixelSetFn *set)
{
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return false;
    }
    *get = kGetters[bitCount / 8];
    *set = kSetters[bitCount / 8];
    return true;
}
