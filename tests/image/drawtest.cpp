// Drawing images into device contexts and the screen-compatible bitmaps the toolbar keeps, and
// loading them from module resources as the toolbar loads its strip.
#include <gtest/gtest.h>

#include "image/draw.h"
#include "image/imageres.h"
#include "tests/image/testimage.h"

using giftest::ImagePtr;

namespace
{

constexpr int kWidth = 224, kHeight = 16; // the strip's size
constexpr COLORREF kUntouched = RGB(1, 2, 3);
constexpr uint32_t kStripId = 103, kTextId = 104; // imageres.rc

COLORREF EntryColor(uint32_t i)
{
    return RGB(static_cast<BYTE>(i * 16), static_cast<BYTE>(255 - i * 16), static_cast<BYTE>(i * 5 + 3));
}

// A 4-bit strip whose pixel (x, y) has value (x / 16 + y) % 16, with a palette of distinct colours.
ImagePtr MakeStrip(bool withPalette)
{
    ImagePtr image(ImageCreate(kWidth, kHeight, 4, nullptr));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ImageSetPixel(image.get(), x, y, static_cast<uint32_t>((x / 16 + y) % 16));
    PALETTEENTRY entries[16];
    for (uint32_t i = 0; i < 16; ++i)
        entries[i] = {GetRValue(EntryColor(i)), GetGValue(EntryColor(i)), GetBValue(EntryColor(i)), 0};
    ImageSetPalette(image.get(), entries);
    if (!withPalette) {
        DeleteObject(image->palette);
        image->palette = nullptr; // the colour table stays
    }
    return image;
}

// 32-bit pixels of a bitmap, top row first, read back through a DIB.
std::vector<uint32_t> ReadBack(HBITMAP bitmap, int width, int height)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    GdiFlush();
    EXPECT_EQ(GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS), height);
    ReleaseDC(nullptr, screen);
    for (uint32_t &v : pixels)
        v = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    return pixels;
}

// A screen-compatible bitmap (the test display has true colour) in a memory device context.
struct Canvas {
    BitmapHolder *holder;
    HDC dc;
    Canvas(int width, int height) : holder(BitmapHolderCreate(width, height))
    {
        HDC screen = GetDC(nullptr);
        dc = BitmapHolderOpenDC(holder, screen);
        ReleaseDC(nullptr, screen);
        RECT all = {0, 0, width, height};
        SetBkColor(dc, kUntouched);
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    }
    ~Canvas() { BitmapHolderFree(holder); }
};

TEST(ImageDraw, SourceBandsAndOffsetsPickTheRowsCountedFromTheTop)
{
    struct Case {
        bool palette;
        int x, y, sourceX, sourceY, width, height, lines; // width and height 0: the whole image
    };
    const Case cases[] = {
        {true, 0, 0, 0, 0, 0, 0, kHeight}, {true, 10, 20, 32, 3, 48, 8, -1}, {false, 0, 0, 0, 0, 0, 0, kHeight}};
    for (const Case &c : cases) {
        ImagePtr image = MakeStrip(c.palette);
        Canvas canvas(kWidth, 64);
        HGDIOBJ before = GetCurrentObject(canvas.dc, OBJ_PAL);
        const int lines = ImageDraw(image.get(), canvas.dc, c.x, c.y, c.sourceX, c.sourceY, c.width, c.height);
        EXPECT_TRUE(c.lines < 0 ? lines > 0 : lines == c.lines) << lines;
        EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PAL), before) << "the previous palette is selected back";
        const int width = c.width ? c.width : kWidth, height = c.height ? c.height : kHeight;
        const std::vector<uint32_t> pixels = ReadBack(BitmapHolderGetBitmap(canvas.holder), kWidth, 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const bool inside = x >= c.x && x < c.x + width && y >= c.y && y < c.y + height;
                const uint32_t entry = ((c.sourceX + x - c.x) / 16 + c.sourceY + y - c.y) % 16;
                ASSERT_EQ(pixels[y * kWidth + x], inside ? EntryColor(entry) : kUntouched) << x << "," << y;
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
    for (int x = 0; x < 8; ++x)
        ImageSetPixel(one.get(), x, 0, x & 1);
    ImageSetPixel(rgb565.get(), 0, 0, 0xF800);
    ImageSetPixel(rgb565.get(), 1, 0, 0x07E0);
    ImageSetPixel(rgb24.get(), 0, 0, 0x123456);
    EXPECT_EQ(ImageDraw(one.get(), canvas.dc, 0, 0, 0, 0, 0, 0), 1);
    ImageDraw(rgb565.get(), canvas.dc, 0, 1, 0, 0, 0, 0);
    ImageDraw(rgb24.get(), canvas.dc, 0, 2, 0, 0, 0, 0);
    const std::vector<uint32_t> pixels = ReadBack(BitmapHolderGetBitmap(canvas.holder), 8, 3);
    EXPECT_TRUE(pixels[0] == RGB(255, 0, 0) && pixels[7] == RGB(0, 0, 255)) << pixels[0] << " " << pixels[7];
    EXPECT_TRUE(GetRValue(pixels[8]) == 255 && GetGValue(pixels[9]) == 255) << pixels[8] << " " << pixels[9];
    EXPECT_EQ(pixels[16], RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(ImageDraw(nullptr, canvas.dc, 0, 0, 0, 0, 0, 0), 0);
    uint8_t *bits = rgb24->bits;
    rgb24->bits = nullptr;
    EXPECT_EQ(ImageDraw(rgb24.get(), canvas.dc, 0, 0, 0, 0, 0, 0), 0);
    rgb24->bits = bits;
}

// Drawing into an open holder and reading its bitmap back is the Canvas of the tests above.
TEST(BitmapHolder, TheDeviceContextClosesOnceAndFreeingDeletesTheBitmap)
{
    BitmapHolder *holder = BitmapHolderCreate(kWidth, kHeight);
    HBITMAP bitmap = BitmapHolderGetBitmap(holder);
    EXPECT_EQ(BitmapHolderCloseDC(holder), 0) << "never opened";
    HDC screen = GetDC(nullptr);
    for (int i = 0; i < 2; ++i) { // the bitmap can be selected again
        EXPECT_EQ(GetCurrentObject(BitmapHolderOpenDC(holder, screen), OBJ_BITMAP), bitmap);
        EXPECT_NE(BitmapHolderCloseDC(holder), 0);
        EXPECT_EQ(BitmapHolderCloseDC(holder), 0) << "closed once only";
    }
    ReleaseDC(nullptr, screen);
    BITMAP info = {};
    EXPECT_EQ(BitmapHolderFree(holder), 1);
    EXPECT_EQ(GetObjectA(bitmap, sizeof(info), &info), 0) << "freeing the holder deletes its bitmap";
    EXPECT_TRUE(!BitmapHolderFree(nullptr) && !BitmapHolderOpenDC(nullptr, nullptr) && !BitmapHolderGetBitmap(nullptr));
}

TEST(ImageResource, ResourcesLoadInPlaceOrReportWhyNot)
{
    CodecRegistry registry = {}, empty = {};
    ASSERT_TRUE(RegisterBuiltinCodecs(&registry));
    struct Case {
        CodecRegistry *registry;
        uint32_t id;
        const char *type;
        uint32_t error;
    };
    const Case cases[] = {{&registry, kStripId, "IMAGE", kImageOk},
                          {&registry, 999, "IMAGE", kImageResourceMissing},
                          {&registry, kStripId, "BITMAP", kImageResourceMissing},
                          {&registry, kTextId, "IMAGE", kImageNoCodec},
                          {&empty, kStripId, "IMAGE", kImageNoCodec}};
    HMODULE self = GetModuleHandleA(nullptr);
    for (const Case &c : cases) {
        ImageSource source = {};
        ImagePtr image(ImageLoadResource(c.registry, nullptr, c.id, c.type, &source));
        EXPECT_EQ(source.error, c.error) << c.id << " " << c.type;
        EXPECT_EQ(ImagePtr(ImageLoadResource(c.registry, self, c.id, c.type, nullptr)) != nullptr, c.error == kImageOk)
            << "the own module by handle, without a source block";
        EXPECT_EQ(image != nullptr, c.error == kImageOk);
        if (!image) continue;
        EXPECT_EQ(ImageGetDepthCode(image.get()) * 100000 + ImageGetWidth(image.get()) * 100 +
                      ImageGetHeight(image.get()),
                  4 * 100000 + kWidth * 100 + kHeight);
        HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(c.id), c.type);
        EXPECT_EQ(source.size, SizeofResource(self, found));
        EXPECT_EQ(source.data, LockResource(LoadResource(self, found))) << "decoded without a copy";
    }
}

} // namespace
