// Raster images in the memory layout of a device-independent bitmap, their palettes and frame chains.
// The first part of an Image (header and colour table) is a BITMAPINFO that GDI can draw from directly.
#pragma once
#include <cstdint>

#include "image/gdishim.h"

struct Image;
struct CodecSlot;

// Detail codes of the image library, written to ImageCreate's error output and to ImageSource::error.
enum ImageError : uint32_t {
    kImageOk = 0,
    kImageNoCodec = 1,
    kImageNoImage = 2,
    kImageOutOfMemory = 3,
    kImageBadDepth = 4,
    kImageBadSize = 7,
    kImageResourceMissing = 8,
    kImageBadDimensions = 12,
};

// Depth codes: the bit count, except 565 for 16 bits with 5-6-5 channel masks (16 alone is 5-5-5).
constexpr int32_t kDepth565 = 565;

// Transparency kinds.
constexpr uint32_t kTransparencyNone = 0;
constexpr uint32_t kTransparencyColorKey = 1;

typedef uint32_t (*PixelGetFn)(const Image *image, int32_t x, int32_t y);
typedef void (*PixelSetFn)(Image *image, int32_t x, int32_t y, uint32_t value);

struct Image {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
    uint8_t *bits;
    HPALETTE palette;
    CodecSlot *codec;
    uint32_t loopCount;
    uint32_t delay;
    Image *prevFrame;
    Image *nextFrame;
    uint32_t transparency;
    uint32_t transparentIndex;
    PixelSetFn setPixel;
    PixelGetFn getPixel;
};

// Left, top, width, height.
struct ImageRect {
    uint16_t left;
    uint16_t top;
    uint16_t width;
    uint16_t height;
};

// Creation and lifetime. The pixel buffer of a new image is not cleared.
Image *ImageCreate(int32_t width, int32_t height, int32_t depthCode, uint32_t *errorOut);
int ImageFree(Image *image);
Image *ImageDuplicate(const Image *image, int firstOnly);

// Accessors; a null image gives 0.
int32_t ImageGetWidth(const Image *image);
int32_t ImageGetHeight(const Image *image);
uint32_t ImageGetBitCount(const Image *image);
uint32_t ImageGetStride(const Image *image);
uint8_t *ImageGetBits(const Image *image);
// The colour-table entry as blue | green << 8 | red << 16 | reserved << 24; 0 past the 256th.
uint32_t ImageGetColorTableEntry(const Image *image, uint32_t index);
int32_t ImageGetDepthCode(const Image *image);

uint32_t ImageGetDelay(const Image *image);
int ImageSetDelay(Image *image, uint32_t delay);
uint32_t ImageGetLoopCount(const Image *image);
int ImageSetLoopCount(Image *image, uint32_t loopCount);
uint32_t ImageGetTransparency(const Image *image);
int ImageSetTransparency(Image *image, uint32_t transparency);
uint32_t ImageGetTransparentIndex(const Image *image);
int ImageSetTransparentIndex(Image *image, uint32_t index);

// Frame chains.
Image *ImageNextFrame(const Image *image);
Image *ImagePrevFrame(const Image *image);
Image *ImageLastFrame(const Image *image);
void ImageLinkFrame(Image *frame, Image *other);

// Pixels. Get and set do not check bounds: x and y must lie inside the image. Fill clips to it.
uint32_t ImageGetPixel(const Image *image, int32_t x, int32_t y);
void ImageSetPixel(Image *image, int32_t x, int32_t y, uint32_t value);
void ImageFillRect(Image *image, const ImageRect *rect, uint32_t value);

// Palettes as PALETTEENTRY (red, green, blue, flags). Set reads 2^min(bit count, 8) entries;
// get copies at most 256 and returns how many.
int ImageSetPalette(Image *image, const PALETTEENTRY *entries);
uint32_t ImageGetPalette(const Image *image, PALETTEENTRY *entriesOut);
