// Drawing images into device contexts and the screen-compatible bitmaps the toolbar keeps.
#include <gtest/gtest.h>

#include "image/draw.h"
#include "tests/image/testimage.h"

using giftest::ImagePtr;

namespace
{

constexpr int kWidth = 224;
constexpr int kHeight = 16;
constexpr COLORREF kUntouched = RGB(1, 2, 3);

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

COLORREF ExpectedAt(int x, int y)
{
    return EntryColor(static_cast<uint32_t>((x / 16 + y) % 16));
}

// 32-bit pixels of a bitmap, top row first, read back through a DIB.
std::vector<uint32_t> ReadBack(HBITMAP bitmap, int width, int height)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(lines, height);
    for (uint32_t &v : pixels)
        v = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    return pixels;
}

// A screen-compatible bitmap (the test display has true colour) in a memory device context.
class Canvas
{
public:
    Canvas(int width, int height) : width_(width), height_(height)
    {
        holder_ = BitmapHolderCreate(width, height);
        HDC screen = GetDC(nullptr);
        dc_ = BitmapHolderOpenDC(holder_, screen);
        ReleaseDC(nullptr, screen);
        RECT all = {0, 0, width, height};
        SetBkColor(dc_, kUntouched);
        ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    }
    ~Canvas() { BitmapHolderFree(holder_); }
    HDC dc() const { return dc_; }
    std::vector<uint32_t> Pixels() const
    {
        GdiFlush();
        return ReadBack(BitmapHolderGetBitmap(holder_), width_, height_);
    }

private:
    int width_, height_;
    BitmapHolder *holder_;
    HDC dc_;
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
        HGDIOBJ before = GetCurrentObject(canvas.dc(), OBJ_PAL);
        int lines = ImageDraw(image.get(), canvas.dc(), c.x, c.y, c.sourceX, c.sourceY, c.width, c.height);
        if (c.lines >= 0) {
            EXPECT_EQ(lines, c.lines);
        }
        EXPECT_GT(lines, 0);
        EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PAL), before) << "the previous palette is selected back";
        int width = c.width ? c.width : kWidth, height = c.height ? c.height : kHeight;
        std::vector<uint32_t> pixels = canvas.Pixels();
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < kWidth; ++x) {
                bool inside = x >= c.x && x < c.x + width && y >= c.y && y < c.y + height;
                COLORREF want = inside ? ExpectedAt(c.sourceX + x - c.x, c.sourceY + y - c.y) : kUntouched;
                ASSERT_EQ(pixels[y * kWidth + x], want) << c.sourceY << ": " << x << "," << y;
            }
    }
}

TEST(ImageDraw, EveryDepthDrawsItsColoursAndNothingToDrawGivesZero)
{
    Canvas canvas(8, 3);
    ImagePtr one(ImageCreate(8, 1, 1, nullptr));
    PALETTEENTRY two[2] = {{255, 0, 0, 0}, {0, 0, 255, 0}};
    ImageSetPalette(one.get(), two);
    for (int x = 0; x < 8; ++x)
        ImageSetPixel(one.get(), x, 0, x & 1);
    EXPECT_EQ(ImageDraw(one.get(), canvas.dc(), 0, 0, 0, 0, 0, 0), 1);
    ImagePtr rgb565(ImageCreate(2, 1, kDepth565, nullptr));
    ImageSetPixel(rgb565.get(), 0, 0, 0xF800);
    ImageSetPixel(rgb565.get(), 1, 0, 0x07E0);
    ImageDraw(rgb565.get(), canvas.dc(), 0, 1, 0, 0, 0, 0);
    ImagePtr rgb24(ImageCreate(1, 1, 24, nullptr));
    ImageSetPixel(rgb24.get(), 0, 0, 0x123456);
    ImageDraw(rgb24.get(), canvas.dc(), 0, 2, 0, 0, 0, 0);
    std::vector<uint32_t> pixels = canvas.Pixels();
    EXPECT_EQ(pixels[0], RGB(255, 0, 0));
    EXPECT_EQ(pixels[7], RGB(0, 0, 255));
    EXPECT_EQ(GetRValue(pixels[8]), 255);
    EXPECT_EQ(GetGValue(pixels[9]), 255);
    EXPECT_EQ(pixels[16], RGB(0x12, 0x34, 0x56));

    EXPECT_EQ(ImageDraw(nullptr, canvas.dc(), 0, 0, 0, 0, 0, 0), 0);
    uint8_t *bits = rgb24->bits;
    rgb24->bits = nullptr;
    EXPECT_EQ(ImageDraw(rgb24.get(), canvas.dc(), 0, 0, 0, 0, 0, 0), 0);
    rgb24->bits = bits;
}

TEST(BitmapHolder, TheBitmapOutlivesItsDeviceContextUntilTheHolderIsFreed)
{
    BitmapHolder *holder = BitmapHolderCreate(kWidth, kHeight);
    ASSERT_NE(holder, nullptr);
    HBITMAP bitmap = BitmapHolderGetBitmap(holder);
    BITMAP info = {};
    ASSERT_NE(GetObjectA(bitmap, sizeof(info), &info), 0);
    EXPECT_EQ(info.bmWidth * 1000 + info.bmHeight, kWidth * 1000 + kHeight);
    EXPECT_EQ(BitmapHolderCloseDC(holder), 0) << "never opened";
    HDC screen = GetDC(nullptr);
    HDC dc = BitmapHolderOpenDC(holder, screen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
    ImagePtr image = MakeStrip(true);
    EXPECT_EQ(ImageDraw(image.get(), dc, 0, 0, 0, 0, 0, 0), kHeight);
    EXPECT_NE(BitmapHolderCloseDC(holder), 0);
    EXPECT_EQ(BitmapHolderCloseDC(holder), 0) << "closed once only";
    EXPECT_NE(BitmapHolderOpenDC(holder, screen), nullptr) << "the bitmap can be selected again";
    EXPECT_NE(BitmapHolderCloseDC(holder), 0);
    ReleaseDC(nullptr, screen);
    std::vector<uint32_t> pixels = ReadBack(bitmap, kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(pixels[y * kWidth + x], ExpectedAt(x, y)) << "the drawn strip stays: " << x << "," << y;
    EXPECT_EQ(BitmapHolderFree(holder), 1);
    EXPECT_EQ(GetObjectA(bitmap, sizeof(info), &info), 0) << "freeing the holder deletes its bitmap";
    EXPECT_EQ(BitmapHolderFree(nullptr), 0);
    EXPECT_EQ(BitmapHolderOpenDC(nullptr, nullptr), nullptr);
    EXPECT_EQ(BitmapHolderGetBitmap(nullptr), nullptr);
}

} // namespace
