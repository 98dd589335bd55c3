// Drawing images into screen-compatible bitmaps, and loading them from resources, as the toolbar does.
#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>
#include <utility>

#include "image/draw.h"
#include "image/imageres.h"
#include "tests/image/testimage.h"

using giftest::ImagePtr;

namespace
{

constexpr int kWidth = 224, kHeight = 16; // the strip's size
constexpr COLORREF kUntouched = RGB(1, 2, 3);
constexpr uint32_t kStripId = 103, kTextId = 104; // imageres.rc

// A true-colour bitmap in its device context, which closes once; freeing deletes the bitmap.
struct Canvas {
    BitmapHolder *holder;
    HDC dc;
    Canvas(int width, int height) : holder(BitmapHolderCreate(width, height))
    {
        EXPECT_EQ(BitmapHolderCloseDC(holder), 0) << "never opened";
        dc = BitmapHolderOpenDC(holder, nullptr);
        RECT all = {0, 0, width, height};
        SetBkColor(dc, kUntouched);
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    }
    ~Canvas()
    {
        HBITMAP bitmap = BitmapHolderGetBitmap(holder);
        BITMAP info = {};
        EXPECT_TRUE(GetCurrentObject(dc, OBJ_BITMAP) == bitmap && BitmapHolderCloseDC(holder) &&
                    !BitmapHolderCloseDC(holder) && BitmapHolderFree(holder) == 1 &&
                    !GetObjectA(bitmap, sizeof(info), &info));
    }
};

TEST(ImageDraw, SourceBandsAndOffsetsPickTheRowsCountedFromTheTop)
{
    struct Case {
        bool palette;
        int x, y, sourceX, sourceY, width, height, lines; // width and height 0: the whole image
    } const cases[] = {
        {true, 0, 0, 0, 0, 0, 0, kHeight}, {true, 10, 20, 32, 3, 48, 8, -1}, {false, 0, 0, 0, 0, 0, 0, kHeight}};
    for (const Case &c : cases) {
        ImagePtr image = giftest::Decode(giftest::ReadDataFile("test-strip.gif")).image; // a plasma: no two rows alike
        PALETTEENTRY entries[16];
        ImageGetPalette(image.get(), entries);
        if (!c.palette) DeleteObject(image->palette), image->palette = nullptr; // the colour table stays
        Canvas canvas(kWidth, 64);
        HGDIOBJ before = GetCurrentObject(canvas.dc, OBJ_PAL);
        const int lines = ImageDraw(image.get(), canvas.dc, c.x, c.y, c.sourceX, c.sourceY, c.width, c.height);
        EXPECT_TRUE(c.lines < 0 ? lines > 0 : lines == c.lines) << lines;
        EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PAL), before) << "the previous palette is selected back";
        const int width = c.width ? c.width : kWidth, height = c.height ? c.height : kHeight;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const bool inside = x >= c.x && x < c.x + width && y >= c.y && y < c.y + height;
                const PALETTEENTRY &e =
                    entries[inside ? ImageGetPixel(image.get(), c.sourceX + x - c.x, c.sourceY + y - c.y) : 0];
                ASSERT_EQ(GetPixel(canvas.dc, x, y), inside ? RGB(e.peRed, e.peGreen, e.peBlue) : kUntouched)
                    << x << "," << y;
            }
    }
}

TEST(ImageDraw, EveryDepthDrawsItsColoursAndNothingToDrawGivesZero)
{
    Canvas canvas(8, 3);
    ImagePtr one(ImageCreate(8, 1, 1, nullptr)), rgb565(ImageCreate(2, 1, kDepth565, nullptr)),
        rgb24(ImageCreate(1, 1, 24, nullptr));
    PALETTEENTRY two[2] = {{255, 0, 0, 0}, {0, 0, 255, 0}};
    ImageSetPalette(one.get(), two);
    ImageGetBits(one.get())[0] = 0x55; // 0 at the left edge, 1 at the right
    ImageSetPixel(rgb565.get(), 0, 0, 0xF800);
    ImageSetPixel(rgb565.get(), 1, 0, 0x07E0);
    ImageSetPixel(rgb24.get(), 0, 0, 0x123456);
    EXPECT_EQ(ImageDraw(one.get(), canvas.dc, 0, 0, 0, 0, 0, 0), 1);
    ImageDraw(rgb565.get(), canvas.dc, 0, 1, 0, 0, 0, 0);
    ImageDraw(rgb24.get(), canvas.dc, 0, 2, 0, 0, 0, 0);
    char got[64]; // 565 as the display rounds it: only the full channel is sure
    snprintf(got, sizeof got, "%06lX %06lX %02X %02X %06lX", GetPixel(canvas.dc, 0, 0), GetPixel(canvas.dc, 7, 0),
             GetRValue(GetPixel(canvas.dc, 0, 1)), GetGValue(GetPixel(canvas.dc, 1, 1)), GetPixel(canvas.dc, 0, 2));
    EXPECT_STREQ(got, "0000FF FF0000 FF FF 563412");
    uint8_t *bits = std::exchange(rgb24->bits, nullptr); // nothing to draw
    EXPECT_EQ(ImageDraw(nullptr, canvas.dc, 0, 0, 0, 0, 0, 0) + ImageDraw(rgb24.get(), canvas.dc, 0, 0, 0, 0, 0, 0) +
                  BitmapHolderFree(nullptr) + !!BitmapHolderOpenDC(nullptr, nullptr) + !!BitmapHolderGetBitmap(nullptr),
              0);
    rgb24->bits = bits;
}

TEST(ImageResource, ResourcesLoadInPlaceOrReportWhyNot)
{
    CodecRegistry registry = {}, empty = {};
    ASSERT_TRUE(RegisterBuiltinCodecs(&registry));
    const std::tuple<CodecRegistry *, uint32_t, const char *, uint32_t> cases[] = {
        {&registry, kStripId, "IMAGE", kImageOk},
        {&registry, 999, "IMAGE", kImageResourceMissing},
        {&registry, kStripId, "BITMAP", kImageResourceMissing},
        {&registry, kTextId, "IMAGE", kImageNoCodec},
        {&empty, kStripId, "IMAGE", kImageNoCodec}};
    HMODULE self = GetModuleHandleA(nullptr);
    for (auto [codecs, id, type, error] : cases) {
        ImageSource source = {};
        ImagePtr image(ImageLoadResource(codecs, nullptr, id, type, &source));
        // The own module by handle, without a source block, alike.
        const bool byHandle = ImagePtr(ImageLoadResource(codecs, self, id, type, nullptr)) != nullptr;
        EXPECT_EQ(std::to_string(source.error) + (image ? " image" : "") + (byHandle ? " by handle" : ""),
                  std::to_string(error) + (error == kImageOk ? " image by handle" : ""))
            << id << " " << type;
        if (!image) continue;
        HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(id), type); // decoded without a copy
        EXPECT_TRUE(source.size == SizeofResource(self, found) &&
                    source.data == LockResource(LoadResource(self, found)) && ImageGetDepthCode(image.get()) == 4 &&
                    ImageGetWidth(image.get()) == kWidth && ImageGetHeight(image.get()) == kHeight);
    }
}

} // namespace
