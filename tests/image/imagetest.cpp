// Image records: geometry, depth codes, pixel placement, palettes, copies and frame chains.
#include <gtest/gtest.h>

#include <cstring>

#include "image/image.h"

namespace
{

struct ImageDeleter {
    void operator()(Image *image) const { ImageFree(image); }
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

ImagePtr Create(int32_t width, int32_t height, int32_t code)
{
    uint32_t error = 99;
    Image *image = ImageCreate(width, height, code, &error);
    EXPECT_EQ(error, image ? kImageOk : error);
    return ImagePtr(image);
}

TEST(ImageRecord, StrideAndBufferFollowRowPaddingToWholeWords)
{
    struct Case {
        int32_t width, height, code;
        uint32_t stride;
    };
    const Case cases[] = {{1, 1, 1, 4},    {32, 1, 1, 4},  {33, 2, 1, 8},  {1, 1, 4, 4},     {9, 1, 4, 8},
                          {10, 3, 24, 32}, {3, 1, 8, 4},   {5, 1, 8, 8},   {3, 2, 16, 8},    {3, 2, 565, 8},
                          {1, 1, 24, 4},   {4, 1, 24, 12}, {7, 5, 32, 28}, {224, 16, 4, 112}};
    for (const Case &c : cases) {
        ImagePtr image = Create(c.width, c.height, c.code);
        ASSERT_TRUE(image) << c.width << "x" << c.height << " code " << c.code;
        EXPECT_EQ(ImageGetStride(image.get()), c.stride) << c.width << " code " << c.code;
        EXPECT_EQ(ImageGetWidth(image.get()), c.width);
        EXPECT_EQ(ImageGetHeight(image.get()), c.height);
        const BITMAPINFOHEADER &h = image->header;
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biHeight, c.height) << "rows are stored bottom-up";
        EXPECT_EQ(h.biSizeImage, 0u);
        EXPECT_EQ(h.biClrUsed, 0u);
        // The last byte of the buffer is writable (ASan would catch a short allocation).
        ImageGetBits(image.get())[c.stride * c.height - 1] = 0xAB;
    }
}

TEST(ImageRecord, HeaderAndColorTableFormOneBitmapInfo)
{
    // GDI is handed &header as a BITMAPINFO: the colour table must follow the header directly.
    EXPECT_EQ(offsetof(Image, colors), sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(sizeof(BITMAPINFOHEADER), 40u);
    EXPECT_EQ(sizeof(RGBQUAD), 4u);
    EXPECT_EQ(sizeof(PALETTEENTRY), 4u);
}

TEST(ImageRecord, CreateRefusesUnknownDepthsAndEmptySizes)
{
    for (int32_t code : {0, 2, 3, 15, 48, 555, -1}) {
        uint32_t error = 0;
        EXPECT_EQ(ImageCreate(4, 4, code, &error), nullptr) << code;
        EXPECT_EQ(error, kImageBadDepth) << code;
    }
    const int32_t sizes[][2] = {{0, 1}, {1, 0}, {-5, 3}, {3, -1}};
    for (auto &s : sizes) {
        uint32_t error = 0;
        EXPECT_EQ(ImageCreate(s[0], s[1], 8, &error), nullptr);
        EXPECT_EQ(error, kImageBadDimensions);
    }
    // The depth is judged before the size.
    uint32_t error = 0;
    EXPECT_EQ(ImageCreate(0, 0, 2, &error), nullptr);
    EXPECT_EQ(error, kImageBadDepth);
    // A buffer GDI could not describe is a bad size, not an attempt to allocate it.
    EXPECT_EQ(ImageCreate(0x7FFFFFFF, 0x7FFFFFFF, 32, &error), nullptr);
    EXPECT_EQ(error, kImageBadSize);
    EXPECT_EQ(ImageCreate(65536, 65536, 8, &error), nullptr);
    EXPECT_EQ(error, kImageBadSize);
    // The error output may be left out.
    EXPECT_EQ(ImageCreate(0, 1, 8, nullptr), nullptr);
}

TEST(ImageRecord, DepthCodesDistinguish565From555AndOtherMasks)
{
    ImagePtr rgb565 = Create(2, 2, 565);
    ImagePtr rgb555 = Create(2, 2, 16);
    ASSERT_TRUE(rgb565 && rgb555);
    EXPECT_EQ(ImageGetDepthCode(rgb565.get()), 565);
    EXPECT_EQ(ImageGetBitCount(rgb565.get()), 16u);
    EXPECT_EQ(rgb565->header.biCompression, BI_BITFIELDS);
    EXPECT_EQ(ImageGetColorTableEntry(rgb565.get(), 0), 0xF800u);
    EXPECT_EQ(ImageGetColorTableEntry(rgb565.get(), 1), 0x07E0u);
    EXPECT_EQ(ImageGetColorTableEntry(rgb565.get(), 2), 0x001Fu);
    EXPECT_EQ(ImageGetDepthCode(rgb555.get()), 16);
    EXPECT_EQ(rgb555->header.biCompression, BI_RGB);

    uint32_t otherMask = 0x7C00;
    std::memcpy(&rgb565->colors[0], &otherMask, 4);
    EXPECT_EQ(ImageGetDepthCode(rgb565.get()), 0);

    for (int32_t code : {1, 4, 8, 24, 32}) {
        ImagePtr image = Create(3, 3, code);
        EXPECT_EQ(ImageGetDepthCode(image.get()), code);
    }
}

TEST(ImagePixels, PackedDepthsPlaceTheLeftmostPixelInTheHighBits)
{
    ImagePtr four = Create(4, 1, 4);
    uint8_t *row = ImageGetBits(four.get());
    row[0] = 0x00;
    row[1] = 0x00;
    ImageSetPixel(four.get(), 1, 0, 0xF);
    EXPECT_EQ(row[0], 0x0F) << "x = 1 is the low nibble of byte 0";
    ImageSetPixel(four.get(), 0, 0, 0x3);
    EXPECT_EQ(row[0], 0x3F);
    ImageSetPixel(four.get(), 2, 0, 0x1A); // only the low four bits fit
    EXPECT_EQ(row[1], 0xA0);
    EXPECT_EQ(ImageGetPixel(four.get(), 0, 0), 0x3u);
    EXPECT_EQ(ImageGetPixel(four.get(), 1, 0), 0xFu);
    EXPECT_EQ(ImageGetPixel(four.get(), 2, 0), 0xAu);

    ImagePtr one = Create(10, 1, 1);
    row = ImageGetBits(one.get());
    std::memset(row, 0, 4);
    ImageSetPixel(one.get(), 0, 0, 1);
    EXPECT_EQ(row[0], 0x80) << "x = 0 is bit 7";
    ImageSetPixel(one.get(), 9, 0, 1);
    EXPECT_EQ(row[1], 0x40);
    ImageSetPixel(one.get(), 0, 0, 2); // bit 0 of the value only
    EXPECT_EQ(row[0], 0x00);
    EXPECT_EQ(ImageGetPixel(one.get(), 9, 0), 1u);
    EXPECT_EQ(ImageGetPixel(one.get(), 8, 0), 0u);
}

TEST(ImagePixels, TopRowLivesInTheLastStoredRow)
{
    for (int32_t code : {1, 4, 8, 16, 24, 32}) {
        ImagePtr image = Create(3, 3, code);
        uint32_t stride = ImageGetStride(image.get());
        std::memset(ImageGetBits(image.get()), 0, stride * 3);
        ImageSetPixel(image.get(), 0, 0, 1);
        const uint8_t *lastRow = ImageGetBits(image.get()) + stride * 2;
        bool found = false;
        for (uint32_t i = 0; i < stride; ++i)
            found = found || lastRow[i] != 0;
        EXPECT_TRUE(found) << "depth " << code;
        EXPECT_EQ(ImageGetPixel(image.get(), 0, 0), 1u);
        EXPECT_EQ(ImageGetPixel(image.get(), 0, 2), 0u);
    }
}

TEST(ImagePixels, WideDepthsStoreLittleEndianValues)
{
    ImagePtr w16 = Create(2, 1, 16);
    ImageSetPixel(w16.get(), 1, 0, 0x7C1F);
    EXPECT_EQ(ImageGetBits(w16.get())[2], 0x1F);
    EXPECT_EQ(ImageGetBits(w16.get())[3], 0x7C);
    EXPECT_EQ(ImageGetPixel(w16.get(), 1, 0), 0x7C1Fu);

    ImagePtr w24 = Create(2, 1, 24);
    ImageSetPixel(w24.get(), 1, 0, 0xFF112233); // the top byte has no place
    const uint8_t *p = ImageGetBits(w24.get()) + 3;
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);
    EXPECT_EQ(ImageGetPixel(w24.get(), 1, 0), 0x112233u);

    ImagePtr w32 = Create(1, 1, 32);
    ImageSetPixel(w32.get(), 0, 0, 0xA1B2C3D4);
    EXPECT_EQ(ImageGetBits(w32.get())[0], 0xD4);
    EXPECT_EQ(ImageGetBits(w32.get())[3], 0xA1);
    EXPECT_EQ(ImageGetPixel(w32.get(), 0, 0), 0xA1B2C3D4u);
}

TEST(ImagePixels, FillRectCoversItsRectangleAndClipsToTheImage)
{
    for (int32_t code : {1, 4, 8, 24}) {
        ImagePtr image = Create(9, 6, code);
        ImageRect all = {0, 0, 9, 6};
        ImageFillRect(image.get(), &all, 0);
        ImageRect part = {2, 1, 5, 3};
        ImageFillRect(image.get(), &part, 1);
        ImageRect past = {7, 4, 100, 100};
        ImageFillRect(image.get(), &past, 1);
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < 9; ++x) {
                bool inside = (x >= 2 && x < 7 && y >= 1 && y < 4) || (x >= 7 && y >= 4);
                EXPECT_EQ(ImageGetPixel(image.get(), x, y), inside ? 1u : 0u) << code << " " << x << "," << y;
            }
        ImageRect outside = {50, 50, 10, 10};
        ImageFillRect(image.get(), &outside, 1);
    }
}

TEST(ImagePalette, EntryCountFollowsTheDepth)
{
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i)
        entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2), 0};
    struct Case {
        int32_t code;
        uint32_t count;
    };
    for (Case c : {Case{1, 2}, Case{4, 16}, Case{8, 256}, Case{24, 256}, Case{565, 256}}) {
        ImagePtr image = Create(2, 2, c.code);
        if (c.code != 565) std::memset(image->colors, 0x55, sizeof(image->colors));
        EXPECT_EQ(ImageSetPalette(image.get(), entries), 1) << c.code;
        PALETTEENTRY out[256] = {};
        EXPECT_EQ(ImageGetPalette(image.get(), out), c.count) << c.code;
        EXPECT_EQ(std::memcmp(out, entries, c.count * sizeof(PALETTEENTRY)), 0);
        if (c.code <= 8) {
            EXPECT_EQ(ImageGetColorTableEntry(image.get(), 1), 0x0001FE00u) << "red, green, blue in RGBQUAD order";
            if (c.count < 256) {
                EXPECT_EQ(ImageGetColorTableEntry(image.get(), c.count), 0x55555555u) << "entries past the count stay";
            }
        } else if (c.code == 24) {
            EXPECT_EQ(ImageGetColorTableEntry(image.get(), 0), 0x55555555u) << "no colour table above 8 bits";
        } else {
            EXPECT_EQ(ImageGetDepthCode(image.get()), 565) << "the masks stay";
        }
    }
}

TEST(ImagePalette, ReplacingThePaletteKeepsOnlyTheNewEntries)
{
    ImagePtr image = Create(2, 2, 1);
    PALETTEENTRY first[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
    PALETTEENTRY second[2] = {{9, 9, 9, 0}, {8, 8, 8, 0}};
    PALETTEENTRY out[256];
    EXPECT_EQ(ImageGetPalette(image.get(), out), 0u) << "no palette yet";
    ASSERT_EQ(ImageSetPalette(image.get(), first), 1);
    ASSERT_EQ(ImageSetPalette(image.get(), second), 1);
    ASSERT_EQ(ImageGetPalette(image.get(), out), 2u);
    EXPECT_EQ(out[1].peRed, 8);
    EXPECT_EQ(ImageSetPalette(nullptr, first), 0);
    EXPECT_EQ(ImageSetPalette(image.get(), nullptr), 0);
}

TEST(ImageChain, DuplicateCopiesEveryFrameDeeply)
{
    ImagePtr first = Create(4, 2, 8);
    Image *second = ImageCreate(4, 2, 4, nullptr);
    ASSERT_TRUE(first && second);
    ImageLinkFrame(second, first.get());
    ImageRect all = {0, 0, 4, 2};
    ImageFillRect(first.get(), &all, 7);
    ImageFillRect(second, &all, 3);
    PALETTEENTRY entries[256] = {{10, 20, 30, 0}};
    ImageSetPalette(first.get(), entries);
    ImageSetDelay(second, 250);
    ImageSetLoopCount(first.get(), 0);
    ImageSetTransparency(second, kTransparencyColorKey);
    ImageSetTransparentIndex(second, 3);

    ImagePtr copy(ImageDuplicate(first.get(), 0));
    ASSERT_TRUE(copy);
    Image *copy2 = ImageNextFrame(copy.get());
    ASSERT_TRUE(copy2);
    EXPECT_EQ(ImageNextFrame(copy2), nullptr);
    EXPECT_EQ(ImagePrevFrame(copy2), copy.get());
    EXPECT_NE(copy->bits, first->bits);
    EXPECT_NE(copy->palette, first->palette);
    EXPECT_EQ(ImageGetPixel(copy.get(), 3, 1), 7u);
    EXPECT_EQ(ImageGetPixel(copy2, 3, 1), 3u);
    EXPECT_EQ(ImageGetDepthCode(copy2), 4);
    EXPECT_EQ(ImageGetLoopCount(copy.get()), 0u);
    EXPECT_EQ(ImageGetDelay(copy2), 250u);
    EXPECT_EQ(ImageGetTransparency(copy2), kTransparencyColorKey);
    EXPECT_EQ(ImageGetTransparentIndex(copy2), 3u);
    EXPECT_EQ(ImageGetColorTableEntry(copy.get(), 0), 0x000A141Eu);
    PALETTEENTRY out[256];
    EXPECT_EQ(ImageGetPalette(copy.get(), out), 256u);
    EXPECT_EQ(out[0].peGreen, 20);

    // Writing to the copy leaves the original alone.
    ImageSetPixel(copy.get(), 0, 0, 1);
    EXPECT_EQ(ImageGetPixel(first.get(), 0, 0), 7u);

    ImagePtr single(ImageDuplicate(second, 1));
    EXPECT_EQ(ImageNextFrame(single.get()), nullptr);
    EXPECT_EQ(ImagePrevFrame(single.get()), nullptr);
    EXPECT_EQ(ImageGetPixel(single.get(), 0, 0), 3u);
    EXPECT_EQ(ImageDuplicate(nullptr, 0), nullptr);
}

TEST(ImageChain, DuplicateKeepsOddBitFieldMasks)
{
    ImagePtr image = Create(2, 2, 565);
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    std::memcpy(image->colors, masks, sizeof(masks));
    ImagePtr copy(ImageDuplicate(image.get(), 1));
    ASSERT_TRUE(copy);
    EXPECT_EQ(ImageGetDepthCode(copy.get()), 0);
    EXPECT_EQ(ImageGetColorTableEntry(copy.get(), 0), 0x7C00u);
}

TEST(ImageChain, LinkingInsertsBehindAndFreeingAnyFrameFreesTheChain)
{
    Image *a = ImageCreate(1, 1, 8, nullptr);
    Image *b = ImageCreate(1, 1, 8, nullptr);
    Image *c = ImageCreate(1, 1, 8, nullptr);
    ImageLinkFrame(b, a);
    ImageLinkFrame(c, a); // a, c, b
    EXPECT_EQ(ImageNextFrame(a), c);
    EXPECT_EQ(ImageNextFrame(c), b);
    EXPECT_EQ(ImagePrevFrame(b), c);
    EXPECT_EQ(ImageLastFrame(a), b);
    EXPECT_EQ(ImageLastFrame(b), b);

    // Moving c behind b closes the gap it leaves.
    ImageLinkFrame(c, b); // a, b, c
    EXPECT_EQ(ImageNextFrame(a), b);
    EXPECT_EQ(ImagePrevFrame(b), a);
    EXPECT_EQ(ImageNextFrame(b), c);

    // Linking to nothing takes a frame out on its own.
    ImageLinkFrame(c, nullptr);
    EXPECT_EQ(ImagePrevFrame(c), nullptr);
    EXPECT_EQ(ImageNextFrame(b), nullptr);
    EXPECT_EQ(ImageFree(c), 1);

    // Freeing from the middle frees both ends (ASan reports a leak otherwise).
    Image *d = ImageCreate(1, 1, 8, nullptr);
    ImageLinkFrame(d, b);
    EXPECT_EQ(ImageFree(b), 1);
    EXPECT_EQ(ImageFree(nullptr), 1);
}

TEST(ImageRecord, NullImagesGiveZero)
{
    EXPECT_EQ(ImageGetWidth(nullptr), 0);
    EXPECT_EQ(ImageGetHeight(nullptr), 0);
    EXPECT_EQ(ImageGetBitCount(nullptr), 0u);
    EXPECT_EQ(ImageGetStride(nullptr), 0u);
    EXPECT_EQ(ImageGetBits(nullptr), nullptr);
    EXPECT_EQ(ImageGetDepthCode(nullptr), 0);
    EXPECT_EQ(ImageGetColorTableEntry(nullptr, 0), 0u);
    EXPECT_EQ(ImageGetDelay(nullptr), 0u);
    EXPECT_EQ(ImageGetLoopCount(nullptr), 0u);
    EXPECT_EQ(ImageGetTransparency(nullptr), 0u);
    EXPECT_EQ(ImageGetTransparentIndex(nullptr), 0u);
    EXPECT_EQ(ImageSetDelay(nullptr, 1), 0);
    EXPECT_EQ(ImageNextFrame(nullptr), nullptr);
    EXPECT_EQ(ImagePrevFrame(nullptr), nullptr);
    EXPECT_EQ(ImageLastFrame(nullptr), nullptr);
    EXPECT_EQ(ImageGetPixel(nullptr, 0, 0), 0u);
    PALETTEENTRY out[256];
    EXPECT_EQ(ImageGetPalette(nullptr, out), 0u);

    ImagePtr image = Create(1, 1, 8);
    EXPECT_EQ(ImageGetLoopCount(image.get()), 1u) << "an image plays once unless told otherwise";
    EXPECT_EQ(ImageGetColorTableEntry(image.get(), 256), 0u);
}

} // namespace
