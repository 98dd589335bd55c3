// Image records: creation, copies, frame chains, accessors and rectangle fills.
#include "image/image.h"

#include <cstdlib>
#include <cstring>

#include "image/palette.h"
#include "image/pixels.h"

namespace
{

// GDI describes a pixel buffer's size with a signed 32-bit number; larger buffers cannot be drawn.
constexpr uint64_t kMaxPixelBytes = 0x7FFFFFFF;

constexpr uint32_t kMask565Red = 0xF800;
constexpr uint32_t kMask565Green = 0x07E0;
constexpr uint32_t kMask565Blue = 0x001F;

bool IsDepthCode(int32_t code)
{
    switch (code) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
    case kDepth565: return true;
    default: return false;
    }
}

void SetError(uint32_t *errorOut, uint32_t code)
{
    if (errorOut) *errorOut = code;
}

void StoreMask(RGBQUAD *entry, uint32_t mask)
{
    std::memcpy(entry, &mask, sizeof(mask));
}

uint32_t LoadMask(const RGBQUAD *entry)
{
    uint32_t mask;
    std::memcpy(&mask, entry, sizeof(mask));
    return mask;
}

size_t BufferBytes(const Image *image)
{
    return static_cast<size_t>(ImageStrideFor(image->header.biWidth, image->header.biBitCount)) *
           static_cast<size_t>(image->header.biHeight);
}

// Header plus colour table, as GDI reads them: the colour table holds the used count (or 2^b)
// entries up to 8 bits, and the three masks of a bit-field format.
size_t InfoBytes(const BITMAPINFOHEADER &header)
{
    size_t table = 0;
    if (header.biBitCount <= 8) {
        size_t entries = header.biClrUsed ? header.biClrUsed : (size_t{1} << header.biBitCount);
        table = 4 * (entries < 256 ? entries : 256);
    } else if (header.biCompression == BI_BITFIELDS) {
        table = 12;
    }
    return sizeof(BITMAPINFOHEADER) + table;
}

// A frame's own copy: same geometry, header, colour table, pixels and palette entries.
Image *CopyFrame(const Image *source)
{
    int32_t code = ImageGetDepthCode(source);
    if (code == 0 && source->header.biBitCount == 16)
        code = kDepth565; // bit fields with other masks: the header copy below brings the masks
    Image *copy = ImageCreate(source->header.biWidth, source->header.biHeight, code, nullptr);
    if (!copy) return nullptr;
    std::memcpy(&copy->header, &source->header, InfoBytes(source->header));
    std::memcpy(copy->bits, source->bits, BufferBytes(source));
    if (source->palette) {
        PALETTEENTRY entries[256];
        uint32_t count = ImageGetPalette(source, entries);
        if (count) copy->palette = CreatePaletteFromEntries(entries, count);
    }
    copy->transparency = source->transparency;
    copy->transparentIndex = source->transparentIndex;
    copy->codec = source->codec;
    copy->delay = source->delay;
    copy->loopCount = source->loopCount;
    return copy;
}

// Whole bytes of a row are filled at once; only the partial bytes at the ends go pixel by pixel.
void FillRow(Image *image, int32_t y, int32_t left, int32_t right, uint32_t value)
{
    uint32_t bits = image->header.biBitCount;
    uint8_t *row = ImageRowPointer(image, y);
    if (bits == 8) {
        if (right > left) std::memset(row + left, static_cast<uint8_t>(value), static_cast<size_t>(right - left));
        return;
    }
    int32_t x = left;
    if (bits == 1 || bits == 4) {
        int32_t perByte = static_cast<int32_t>(8 / bits);
        for (; x < right && x % perByte; ++x)
            image->setPixel(image, x, y, value);
        int32_t wholeBytes = (right - x) / perByte;
        if (wholeBytes > 0) {
            uint8_t pattern = bits == 1 ? ((value & 1) ? 0xFF : 0x00) : static_cast<uint8_t>((value & 0xF) * 0x11);
            std::memset(row + x / perByte, pattern, static_cast<size_t>(wholeBytes));
            x += wholeBytes * perByte;
        }
    }
    for (; x < right; ++x)
        image->setPixel(image, x, y, value);
}

void Unlink(Image *frame)
{
    if (frame->prevFrame) frame->prevFrame->nextFrame = frame->nextFrame;
    if (frame->nextFrame) frame->nextFrame->prevFrame = frame->prevFrame;
    frame->prevFrame = nullptr;
    frame->nextFrame = nullptr;
}

} // namespace

Image *ImageCreate(int32_t width, int32_t height, int32_t depthCode, uint32_t *errorOut)
{
    if (!IsDepthCode(depthCode)) {
        SetError(errorOut, kImageBadDepth);
        return nullptr;
    }
    if (width < 1 || height < 1) {
        SetError(errorOut, kImageBadDimensions);
        return nullptr;
    }
    uint32_t bitCount = depthCode == kDepth565 ? 16 : static_cast<uint32_t>(depthCode);
    uint64_t size = ImageStrideFor(width, bitCount) * static_cast<uint64_t>(height);
    if (size < 1 || size > kMaxPixelBytes) {
        SetError(errorOut, kImageBadSize);
        return nullptr;
    }
    Image *image = static_cast<Image *>(std::calloc(1, sizeof(Image)));
    if (!image) {
        SetError(errorOut, kImageOutOfMemory);
        return nullptr;
    }
    image->header.biSize = sizeof(BITMAPINFOHEADER);
    image->header.biWidth = width;
    image->header.biHeight = height;
    image->header.biPlanes = 1;
    image->header.biBitCount = static_cast<uint16_t>(bitCount);
    image->header.biCompression = BI_RGB;
    image->loopCount = 1;
    ChoosePixelRoutines(bitCount, &image->getPixel, &image->setPixel);
    if (depthCode == kDepth565) {
        image->header.biCompression = BI_BITFIELDS;
        StoreMask(&image->colors[0], kMask565Red);
        StoreMask(&image->colors[1], kMask565Green);
        StoreMask(&image->colors[2], kMask565Blue);
    }
    image->bits = static_cast<uint8_t *>(std::malloc(static_cast<size_t>(size)));
    if (!image->bits) {
        std::free(image);
        SetError(errorOut, kImageOutOfMemory);
        return nullptr;
    }
    SetError(errorOut, kImageOk);
    return image;
}

int ImageFree(Image *image)
{
    if (!image) return 1;
    Image *frame = ImageLastFrame(image);
    while (frame) {
        Image *previous = frame->prevFrame;
        if (frame->palette) DeleteObject(frame->palette);
        std::free(frame->bits);
        std::free(frame);
        frame = previous;
    }
    return 1;
}

Image *ImageDuplicate(const Image *image, int firstOnly)
{
    Image *first = nullptr;
    Image *last = nullptr;
    for (const Image *frame = image; frame; frame = firstOnly ? nullptr : frame->nextFrame) {
        Image *copy = CopyFrame(frame);
        if (!copy) continue;
        if (last)
            ImageLinkFrame(copy, last);
        else
            first = copy;
        last = copy;
    }
    return first;
}

int32_t ImageGetWidth(const Image *image)
{
    return image ? image->header.biWidth : 0;
}
int32_t ImageGetHeight(const Image *image)
{
    return image ? image->header.biHeight : 0;
}
uint32_t ImageGetBitCount(const Image *image)
{
    return image ? image->header.biBitCount : 0;
}

uint32_t ImageGetStride(const Image *image)
{
    return image ? static_cast<uint32_t>(ImageStrideFor(image->header.biWidth, image->header.biBitCount)) : 0;
}

uint8_t *ImageGetBits(const Image *image)
{
    return image ? image->bits : nullptr;
}

uint32_t ImageGetColorTableEntry(const Image *image, uint32_t index)
{
    if (!image || index >= 256) return 0;
    const RGBQUAD &entry = image->colors[index];
    return entry.rgbBlue | static_cast<uint32_t>(entry.rgbGreen) << 8 | static_cast<uint32_t>(entry.rgbRed) << 16 |
           static_cast<uint32_t>(entry.rgbReserved) << 24;
}

int32_t ImageGetDepthCode(const Image *image)
{
    if (!image) return 0;
    if (image->header.biBitCount != 16 || image->header.biCompression != BI_BITFIELDS) return image->header.biBitCount;
    bool is565 = LoadMask(&image->colors[0]) == kMask565Red && LoadMask(&image->colors[1]) == kMask565Green &&
                 LoadMask(&image->colors[2]) == kMask565Blue;
    return is565 ? kDepth565 : 0;
}

uint32_t ImageGetDelay(const Image *image)
{
    return image ? image->delay : 0;
}
uint32_t ImageGetLoopCount(const Image *image)
{
    return image ? image->loopCount : 0;
}
uint32_t ImageGetTransparency(const Image *image)
{
    return image ? image->transparency : 0;
}
uint32_t ImageGetTransparentIndex(const Image *image)
{
    return image ? image->transparentIndex : 0;
}

int ImageSetDelay(Image *image, uint32_t delay)
{
    if (!image) return 0;
    image->delay = delay;
    return 1;
}

int ImageSetLoopCount(Image *image, uint32_t loopCount)
{
    if (!image) return 0;
    image->loopCount = loopCount;
    return 1;
}

int ImageSetTransparency(Image *image, uint32_t transparency)
{
    if (!image) return 0;
    image->transparency = transparency;
    return 1;
}

int ImageSetTransparentIndex(Image *image, uint32_t index)
{
    if (!image) return 0;
    image->transparentIndex = index;
    return 1;
}

Image *ImageNextFrame(const Image *image)
{
    return image ? image->nextFrame : nullptr;
}
Image *ImagePrevFrame(const Image *image)
{
    return image ? image->prevFrame : nullptr;
}

Image *ImageLastFrame(const Image *image)
{
    if (!image) return nullptr;
    while (image->nextFrame)
        image = image->nextFrame;
    return const_cast<Image *>(image);
}

// A frame taken out of another chain closes the gap behind it, so no chain is left pointing at it.
void ImageLinkFrame(Image *frame, Image *other)
{
    if (!frame || frame == other) return;
    Unlink(frame);
    if (!other) return;
    frame->prevFrame = other;
    frame->nextFrame = other->nextFrame;
    if (other->nextFrame) other->nextFrame->prevFrame = frame;
    other->nextFrame = frame;
}

uint32_t ImageGetPixel(const Image *image, int32_t x, int32_t y)
{
    return image && image->bits ? image->getPixel(image, x, y) : 0;
}

void ImageSetPixel(Image *image, int32_t x, int32_t y, uint32_t value)
{
    if (image && image->bits) image->setPixel(image, x, y, value);
}

void ImageFillRect(Image *image, const ImageRect *rect, uint32_t value)
{
    if (!image || !rect || !image->bits) return;
    int32_t right = rect->left + rect->width;
    int32_t bottom = rect->top + rect->height;
    if (right > image->header.biWidth) right = image->header.biWidth;
    if (bottom > image->header.biHeight) bottom = image->header.biHeight;
    for (int32_t y = rect->top; y < bottom; ++y)
        FillRow(image, y, rect->left, right, value);
}
