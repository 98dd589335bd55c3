// Drawing images into device contexts and the screen-compatible bitmaps the toolbar keeps.
#include <gtest/gtest.h>

#include "image/draw.h"

namespace
{

struct ImageDeleter {
    void operator()(Image *image) const { ImageFree(image); }
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

constexpr int kWidth = 224;
constexpr int kHeight = 16;

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

// A 32-bit top-down DIB section in a memory device context, so drawn pixels can be read back exactly.
class Canvas
{
public:
    Canvas(int width, int height) : width_(width)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void **>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        Clear(RGB(1, 2, 3));
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    void Clear(COLORREF color)
    {
        RECT all = {0, 0, width_, 64};
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
        GdiFlush();
    }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        uint32_t v = bits_[y * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

private:
    int width_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t *bits_ = nullptr;
};

TEST(ImageDraw, FullSizeDrawShowsEveryRowAtItsPlace)
{
    ImagePtr image = MakeStrip(true);
    Canvas canvas(kWidth, 64);
    EXPECT_EQ(ImageDraw(image.get(), canvas.dc(), 0, 0, 0, 0, 0, 0), kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; x += 5)
            ASSERT_EQ(canvas.At(x, y), ExpectedAt(x, y)) << x << "," << y;
    EXPECT_EQ(canvas.At(0, kHeight), RGB(1, 2, 3)) << "nothing below the image";
}

TEST(ImageDraw, SourceBandAndOffsetsPickTheRowsCountedFromTheTop)
{
    ImagePtr image = MakeStrip(true);
    Canvas canvas(kWidth, 64);
    EXPECT_GT(ImageDraw(image.get(), canvas.dc(), 10, 20, 32, 4, 48, 8), 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 48; ++x)
            ASSERT_EQ(canvas.At(10 + x, 20 + y), ExpectedAt(32 + x, 4 + y)) << x << "," << y;
    EXPECT_EQ(canvas.At(10, 19), RGB(1, 2, 3));
    EXPECT_EQ(canvas.At(10, 28), RGB(1, 2, 3)) << "row 12 of the image is not drawn";
    EXPECT_EQ(canvas.At(58, 20), RGB(1, 2, 3));
}

TEST(ImageDraw, PaletteIsSelectedOnlyForTheDrawAndAnImageWithoutOneLeavesItAlone)
{
    Canvas canvas(kWidth, 64);
    HGDIOBJ before = GetCurrentObject(canvas.dc(), OBJ_PAL);
    ImagePtr withPalette = MakeStrip(true);
    EXPECT_EQ(ImageDraw(withPalette.get(), canvas.dc(), 0, 0, 0, 0, 0, 0), kHeight);
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PAL), before) << "the previous palette is selected back";

    // Without a palette handle the colour table alone gives the colours.
    ImagePtr withoutPalette = MakeStrip(false);
    canvas.Clear(RGB(1, 2, 3));
    EXPECT_EQ(ImageDraw(withoutPalette.get(), canvas.dc(), 0, 0, 0, 0, 0, 0), kHeight);
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PAL), before);
    EXPECT_EQ(canvas.At(100, 3), ExpectedAt(100, 3));
}

TEST(ImageDraw, EveryDepthDrawsItsColours)
{
    Canvas canvas(8, 64);
    ImagePtr one(ImageCreate(8, 1, 1, nullptr));
    PALETTEENTRY two[2] = {{255, 0, 0, 0}, {0, 0, 255, 0}};
    ImageSetPalette(one.get(), two);
    for (int x = 0; x < 8; ++x)
        ImageSetPixel(one.get(), x, 0, x & 1);
    EXPECT_EQ(ImageDraw(one.get(), canvas.dc(), 0, 0, 0, 0, 0, 0), 1);
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(7, 0), RGB(0, 0, 255));

    ImagePtr rgb565(ImageCreate(2, 1, 565, nullptr));
    ImageSetPixel(rgb565.get(), 0, 0, 0xF800);
    ImageSetPixel(rgb565.get(), 1, 0, 0x07E0);
    ImageDraw(rgb565.get(), canvas.dc(), 0, 1, 0, 0, 0, 0);
    EXPECT_EQ(GetRValue(canvas.At(0, 1)), 255);
    EXPECT_EQ(GetGValue(canvas.At(1, 1)), 255);

    ImagePtr rgb24(ImageCreate(1, 1, 24, nullptr));
    ImageSetPixel(rgb24.get(), 0, 0, 0x123456);
    ImageDraw(rgb24.get(), canvas.dc(), 0, 2, 0, 0, 0, 0);
    EXPECT_EQ(canvas.At(0, 2), RGB(0x12, 0x34, 0x56));
}

TEST(ImageDraw, NothingToDrawGivesZero)
{
    Canvas canvas(8, 8);
    EXPECT_EQ(ImageDraw(nullptr, canvas.dc(), 0, 0, 0, 0, 0, 0), 0);
    ImagePtr image(ImageCreate(2, 2, 8, nullptr));
    uint8_t *bits = image->bits;
    image->bits = nullptr;
    EXPECT_EQ(ImageDraw(image.get(), canvas.dc(), 0, 0, 0, 0, 0, 0), 0);
    image->bits = bits;
}

TEST(BitmapHolder, ClosingANeverOpenedHolderGivesZeroAndTheBitmapOutlivesItsDC)
{
    BitmapHolder *holder = BitmapHolderCreate(kWidth, kHeight);
    ASSERT_NE(holder, nullptr);
    HBITMAP bitmap = BitmapHolderGetBitmap(holder);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info = {};
    ASSERT_NE(GetObjectA(bitmap, sizeof(info), &info), 0);
    EXPECT_EQ(info.bmWidth, kWidth);
    EXPECT_EQ(info.bmHeight, kHeight);
    EXPECT_EQ(BitmapHolderCloseDC(holder), 0);

    HDC screen = GetDC(nullptr);
    HDC dc = BitmapHolderOpenDC(holder, screen);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
    EXPECT_NE(BitmapHolderCloseDC(holder), 0);
    EXPECT_EQ(BitmapHolderCloseDC(holder), 0) << "closed once only";
    EXPECT_EQ(BitmapHolderGetBitmap(holder), bitmap);
    dc = BitmapHolderOpenDC(holder, screen);
    EXPECT_NE(dc, nullptr) << "the bitmap can be selected again";
    EXPECT_NE(BitmapHolderCloseDC(holder), 0);
    ReleaseDC(nullptr, screen);

    EXPECT_EQ(BitmapHolderFree(holder), 1);
    EXPECT_EQ(GetObjectA(bitmap, sizeof(info), &info), 0) << "freeing the holder deletes its bitmap";
    EXPECT_EQ(BitmapHolderFree(nullptr), 0);
    EXPECT_EQ(BitmapHolderOpenDC(nullptr, nullptr), nullptr);
    EXPECT_EQ(BitmapHolderGetBitmap(nullptr), nullptr);
}

TEST(BitmapHolder, ToolbarSequenceLeavesTheDrawnStripInTheBitmap)
{
    ImagePtr image = MakeStrip(true);
    BitmapHolder *holder = BitmapHolderCreate(ImageGetWidth(image.get()), ImageGetHeight(image.get()));
    ASSERT_NE(holder, nullptr);
    HDC screen = GetDC(nullptr);
    HDC dc = BitmapHolderOpenDC(holder, screen);
    ASSERT_NE(dc, nullptr);
    RECT all = {0, 0, kWidth, kHeight};
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    EXPECT_EQ(ImageDraw(image.get(), dc, 0, 0, 0, 0, 0, 0), kHeight);
    BitmapHolderCloseDC(holder);
    ReleaseDC(nullptr, screen);
    ImageFree(image.release());

    // Read the device-dependent bitmap back as 32-bit pixels.
    std::vector<uint32_t> pixels(kWidth * kHeight);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC probe = GetDC(nullptr);
    int screenBits = GetDeviceCaps(probe, BITSPIXEL);
    int lines = GetDIBits(probe, BitmapHolderGetBitmap(holder), 0, kHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, probe);
    ASSERT_EQ(lines, kHeight);
    // The test display has true colour; a shallower screen would round the colours.
    ASSERT_GE(screenBits, 24);
    for (int y = 0; y < kHeight; y += 3)
        for (int x = 0; x < kWidth; x += 7) {
            uint32_t v = pixels[y * kWidth + x];
            ASSERT_EQ(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF), ExpectedAt(x, y)) << x << "," << y;
        }
    EXPECT_EQ(BitmapHolderFree(holder), 1);
}

} // namespace
