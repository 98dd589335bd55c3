// The GIF decoder on streams assembled here: depths, compositing, extensions, LZW corners and damage.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "image/gif.h"
#include "image/giflzw.h"
#include "tests/image/gifbuilder.h"

using giftest::FrameOptions;
using giftest::GifBuilder;
using giftest::Rgb;

namespace
{

struct ImageDeleter {
    void operator()(Image *image) const { ImageFree(image); }
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

struct Decoded {
    ImagePtr image;
    uint32_t error = 0;
    uint32_t flags = 0;
};

Decoded Decode(const std::vector<uint8_t> &bytes)
{
    CodecRegistry registry = {};
    RegisterBuiltinCodecs(&registry);
    ImageSource source = {};
    source.size = static_cast<uint32_t>(bytes.size());
    source.data = bytes.data();
    Decoded d;
    d.image.reset(ImageLoad(&registry, &source));
    d.error = source.error;
    d.flags = source.formatFlags;
    return d;
}

std::vector<const Image *> Frames(const Image *first)
{
    std::vector<const Image *> frames;
    for (const Image *f = first; f; f = ImageNextFrame(f))
        frames.push_back(f);
    return frames;
}

std::vector<uint8_t> Pixels(const Image *frame)
{
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < ImageGetHeight(frame); ++y)
        for (int32_t x = 0; x < ImageGetWidth(frame); ++x)
            out.push_back(static_cast<uint8_t>(ImageGetPixel(frame, x, y)));
    return out;
}

std::vector<uint8_t> Pattern(uint32_t width, uint32_t height, uint32_t colours, uint32_t seed = 1)
{
    std::vector<uint8_t> pixels(width * height);
    std::mt19937 random(seed);
    for (uint32_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>((i / 3 + random() % 3) % colours);
    return pixels;
}

std::vector<uint8_t> Solid(uint32_t width, uint32_t height, uint8_t value)
{
    return std::vector<uint8_t>(width * height, value);
}

TEST(GifDecode, TableSizeChoosesTheDepthAndPaletteSize)
{
    const int32_t kDepth[] = {1, 4, 4, 4, 8, 8, 8, 8};
    for (uint32_t n = 0; n < 8; ++n) {
        uint32_t colours = 2u << n;
        std::vector<uint8_t> pixels = Pattern(13, 5, colours);
        GifBuilder gif;
        gif.Screen(13, 5, static_cast<int>(n)).Frame(13, 5, pixels).Trailer();
        Decoded d = Decode(gif.Data());
        ASSERT_TRUE(d.image) << n;
        EXPECT_EQ(ImageGetDepthCode(d.image.get()), kDepth[n]) << n;
        EXPECT_EQ(Pixels(d.image.get()), pixels) << n;
        PALETTEENTRY palette[256];
        uint32_t entries = ImageGetPalette(d.image.get(), palette);
        EXPECT_EQ(entries, 1u << kDepth[n]) << n;
        std::vector<Rgb> table = giftest::RampTable(n);
        for (uint32_t i = 0; i < entries; ++i) {
            Rgb want = i < colours ? table[i] : Rgb{0, 0, 0};
            EXPECT_EQ(palette[i].peRed, want.r) << n << " entry " << i;
            EXPECT_EQ(palette[i].peGreen, want.g);
            EXPECT_EQ(palette[i].peBlue, want.b);
            EXPECT_EQ(palette[i].peFlags, 0);
        }
        EXPECT_EQ(ImageGetColorTableEntry(d.image.get(), 1),
                  static_cast<uint32_t>(table[1].b | table[1].g << 8 | table[1].r << 16));
    }
}

TEST(GifDecode, ToolbarSizedStripDecodesToOneSixteenColourFrame)
{
    std::vector<uint8_t> pixels = Pattern(224, 16, 16, 7);
    GifBuilder gif;
    gif.Screen(224, 16, 3, 0, {}, false).Frame(224, 16, pixels).Trailer();
    Decoded d = Decode(gif.Data());
    ASSERT_TRUE(d.image);
    EXPECT_EQ(d.error, kImageOk);
    EXPECT_EQ(ImageNextFrame(d.image.get()), nullptr);
    EXPECT_EQ(ImageGetWidth(d.image.get()), 224);
    EXPECT_EQ(ImageGetHeight(d.image.get()), 16);
    EXPECT_EQ(ImageGetDepthCode(d.image.get()), 4);
    PALETTEENTRY palette[256];
    EXPECT_EQ(ImageGetPalette(d.image.get(), palette), 16u);
    EXPECT_EQ(ImageGetLoopCount(d.image.get()), 1u);
    EXPECT_EQ(ImageGetDelay(d.image.get()), 0u);
    EXPECT_EQ(ImageGetTransparency(d.image.get()), 0u);
    EXPECT_EQ(d.flags & kFormatInterlaced, 0u);
    EXPECT_EQ(Pixels(d.image.get()), pixels);
    EXPECT_NE(d.image->codec, nullptr);
}

TEST(GifDecode, FrameSmallerThanTheScreenSitsOnTheBackground)
{
    GifBuilder gif;
    FrameOptions at;
    at.left = 3;
    at.top = 2;
    gif.Screen(8, 6, 3, 9).Frame(4, 3, Solid(4, 3, 5), at).Trailer();
    Decoded d = Decode(gif.Data());
    ASSERT_TRUE(d.image);
    EXPECT_EQ(ImageGetWidth(d.image.get()), 8);
    EXPECT_EQ(ImageGetHeight(d.image.get()), 6);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 8; ++x) {
            bool inside = x >= 3 && x < 7 && y >= 2 && y < 5;
            EXPECT_EQ(ImageGetPixel(d.image.get(), x, y), inside ? 5u : 9u) << x << "," << y;
        }
}

TEST(GifDecode, CanvasGrowsToAFrameLargerThanTheScreenAndClipsFramesReachingPastIt)
{
    GifBuilder gif;
    FrameOptions offset;
    offset.left = 6;
    offset.top = 5;
    gif.Screen(4, 4, 1, 2).Frame(8, 7, Pattern(8, 7, 4)).Frame(8, 7, Solid(8, 7, 3), offset).Trailer();
    Decoded d = Decode(gif.Data());
    ASSERT_TRUE(d.image);
    auto frames = Frames(d.image.get());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(ImageGetWidth(frames[0]), 8);
    EXPECT_EQ(ImageGetHeight(frames[0]), 7);
    EXPECT_EQ(Pixels(frames[0]), Pattern(8, 7, 4));
    // The second frame covers only columns 6-7 and rows 5-6 of the 8 x 7 canvas.
    std::vector<uint8_t> want = Pattern(8, 7, 4);
    for (int y = 5; y < 7; ++y)
        for (int x = 6; x < 8; ++x)
            want[y * 8 + x] = 3;
    EXPECT_EQ(Pixels(frames[1]), want);
}

TEST(GifDecode, DisposalToBackgroundClearsThePreviousRectangle)
{
    GifBuilder gif;
    FrameOptions inner;
    inner.left = 1;
    inner.top = 1;
    gif.Screen(6, 4, 2, 7)
        .Frame(6, 4, Solid(6, 4, 1))
        .GraphicControl(2, false, 0, 0)
        .Frame(3, 2, Solid(3, 2, 4), inner)
        .Frame(1, 1, Solid(1, 1, 5))
        .Trailer();
    Decoded d = Decode(gif.Data());
    auto frames = Frames(d.image.get());
    ASSERT_EQ(frames.size(), 3u);
    // Frame 2 was drawn without disposal on frame 1; frame 3 follows frame 2's disposal 2.
    std::vector<uint8_t> second = Solid(6, 4, 1);
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 4; ++x)
            second[y * 6 + x] = 4;
    EXPECT_EQ(Pixels(frames[1]), second);
    std::vector<uint8_t> third = Solid(6, 4, 1);
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 4; ++x)
            third[y * 6 + x] = 7;
    third[0] = 5;
    EXPECT_EQ(Pixels(frames[2]), third);
}

TEST(GifDecode, DisposalToBackgroundFillsWithTheTransparentIndexWhileOneIsSet)
{
    GifBuilder gif;
    gif.Screen(4, 1, 2, 7)
        .GraphicControl(2, true, 6, 0)
        .Frame(2, 1, Solid(2, 1, 1))
        .Frame(1, 1, Solid(1, 1, 2))
        .Trailer();
    Decoded decoded = Decode(gif.Data());
    auto frames = Frames(decoded.image.get());
    ASSERT_EQ(frames.size(), 2u);
    // The first canvas is filled with the transparent index too.
    EXPECT_EQ(Pixels(frames[0]), (std::vector<uint8_t>{1, 1, 6, 6}));
    EXPECT_EQ(Pixels(frames[1]), (std::vector<uint8_t>{2, 6, 6, 6}));
}

TEST(GifDecode, DisposalToPreviousStartsFromTheFrameBeforeThePrevious)
{
    GifBuilder gif;
    FrameOptions right;
    right.left = 2;
    gif.Screen(4, 1, 2, 0)
        .Frame(4, 1, Solid(4, 1, 1))
        .GraphicControl(3, false, 0, 0)
        .Frame(2, 1, Solid(2, 1, 2))
        .GraphicControl(0, false, 0, 0)
        .Frame(2, 1, Solid(2, 1, 3), right)
        .Trailer();
    Decoded decoded = Decode(gif.Data());
    auto frames = Frames(decoded.image.get());
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(Pixels(frames[1]), (std::vector<uint8_t>{2, 2, 1, 1}));
    EXPECT_EQ(Pixels(frames[2]), (std::vector<uint8_t>{1, 1, 3, 3})) << "frame 2 is undone";
}

TEST(GifDecode, DisposalToPreviousWithNothingBeforeStartsFromTheFillValue)
{
    GifBuilder gif;
    gif.Screen(3, 1, 2, 5)
        .GraphicControl(3, false, 0, 0)
        .Frame(3, 1, Solid(3, 1, 1))
        .Frame(1, 1, Solid(1, 1, 2))
        .Trailer();
    Decoded decoded = Decode(gif.Data());
    auto frames = Frames(decoded.image.get());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(Pixels(frames[1]), (std::vector<uint8_t>{2, 5, 5}));
}

TEST(GifDecode, TransparentPixelsKeepTheEarlierPicture)
{
    GifBuilder gif;
    gif.Screen(4, 1, 2, 0)
        .Frame(4, 1, {1, 2, 3, 4})
        .GraphicControl(1, true, 6, 0)
        .Frame(4, 1, {6, 7, 6, 5})
        .Frame(4, 1, {0, 6, 6, 6}) // the control stays in force
        .GraphicControl(1, false, 6, 0)
        .Frame(4, 1, {6, 6, 6, 6})
        .Trailer();
    Decoded decoded = Decode(gif.Data());
    auto frames = Frames(decoded.image.get());
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(ImageGetTransparency(frames[0]), 0u);
    EXPECT_EQ(Pixels(frames[1]), (std::vector<uint8_t>{1, 7, 3, 5}));
    EXPECT_EQ(ImageGetTransparency(frames[1]), kTransparencyColorKey);
    EXPECT_EQ(ImageGetTransparentIndex(frames[1]), 6u);
    EXPECT_EQ(Pixels(frames[2]), (std::vector<uint8_t>{0, 7, 3, 5}));
    EXPECT_EQ(ImageGetTransparency(frames[2]), kTransparencyColorKey);
    // A new control without the flag ends the colour key, though the canvas is a copy of a keyed frame.
    EXPECT_EQ(Pixels(frames[3]), (std::vector<uint8_t>{6, 6, 6, 6}));
    EXPECT_EQ(ImageGetTransparency(frames[3]), 0u);
}

TEST(GifDecode, LoopCountComesFromTheNetscapeBlock)
{
    struct Case {
        int loops; // -1: no block
        uint32_t want;
    };
    for (Case c : {Case{-1, 1}, Case{0, 0}, Case{3, 4}, Case{65535, 65536}}) {
        GifBuilder gif;
        gif.Screen(2, 2, 0);
        if (c.loops >= 0) gif.Netscape(static_cast<uint16_t>(c.loops));
        gif.Frame(2, 2, Solid(2, 2, 1)).Frame(2, 2, Solid(2, 2, 0)).Trailer();
        Decoded d = Decode(gif.Data());
        ASSERT_TRUE(d.image);
        EXPECT_EQ(ImageGetLoopCount(d.image.get()), c.want) << c.loops;
    }
}

TEST(GifDecode, DelayIsGivenInMilliseconds)
{
    GifBuilder gif;
    gif.Screen(2, 2, 0).Frame(2, 2, Solid(2, 2, 1)).GraphicControl(0, false, 0, 25).Frame(2, 2, Solid(2, 2, 0));
    Decoded decoded = Decode(gif.Trailer().Data());
    auto frames = Frames(decoded.image.get());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(ImageGetDelay(frames[0]), 0u) << "no control yet";
    EXPECT_EQ(ImageGetDelay(frames[1]), 250u);
}

TEST(GifDecode, InterlacedRowsArriveInPassOrder)
{
    // Each row holds its own number, so the stream order is visible in the data the builder wrote.
    std::vector<uint8_t> pixels;
    for (uint8_t y = 0; y < 8; ++y)
        pixels.insert(pixels.end(), {y, y});
    FrameOptions interlaced;
    interlaced.interlaced = true;
    GifBuilder gif;
    gif.Screen(2, 8, 2).Frame(2, 8, pixels, interlaced).Trailer();
    Decoded d = Decode(gif.Data());
    ASSERT_TRUE(d.image);
    EXPECT_EQ(Pixels(d.image.get()), pixels);
    EXPECT_EQ(d.flags & kFormatInterlaced, kFormatInterlaced);
    const uint32_t order[] = {0, 4, 2, 6, 1, 3, 5, 7};
    for (uint32_t i = 0; i < 8; ++i)
        EXPECT_EQ(GifInterlacedRow(i, 8), order[i]);
}

TEST(GifDecode, InterlacedFramesOfEveryShortHeightSkipEmptyPasses)
{
    for (uint16_t height = 1; height <= 19; ++height) {
        std::vector<uint8_t> pixels = Pattern(3, height, 16, height);
        FrameOptions interlaced;
        interlaced.interlaced = true;
        GifBuilder gif;
        gif.Screen(3, height, 3).Frame(3, height, pixels, interlaced).Trailer();
        Decoded d = Decode(gif.Data());
        ASSERT_TRUE(d.image);
        EXPECT_EQ(Pixels(d.image.get()), pixels) << "height " << height;
    }
}

TEST(GifDecode, CodeNamingTheEntryAboutToBeMadeRepeatsThePreviousString)
{
    // Minimum size 2: clear, 1, 6 (KwKwK: "1" + "1"), 6 again ("11"), end.
    giftest::CodeStream codes;
    for (uint32_t c : {4u, 1u, 6u, 6u})
        codes.Add(c, 3);
    codes.Add(5, 4); // the entry made for the last code filled width 3
    GifBuilder gif;
    gif.Screen(5, 1, 1, 0).RawFrame(0, 0, 5, 1, 0, 2, GifBuilder::SubBlocks(codes.Pack())).Trailer();
    Decoded d = Decode(gif.Data());
    ASSERT_TRUE(d.image);
    EXPECT_EQ(Pixels(d.image.get()), (std::vector<uint8_t>{1, 1, 1, 1, 1}));

    // Long runs go through the same case at every width.
    std::vector<uint8_t> run = Solid(300, 40, 3);
    GifBuilder long_run;
    long_run.Screen(300, 40, 1).Frame(300, 40, run).Trailer();
    EXPECT_EQ(Pixels(Decode(long_run.Data()).image.get()), run);
}

TEST(GifDecode, StreamWithoutAnOpeningClearCodeKeepsItsFirstPixel)
{
    std::vector<uint8_t> pixels = Pattern(37, 11, 16);
    FrameOptions options;
    options.lzw.clearFirst = false;
    GifBuilder gif;
    gif.Screen(37, 11, 3).Frame(37, 11, pixels, options).Trailer();
    Decoded d = Decode(gif.Data());
    ASSERT_TRUE(d.image);
    EXPECT_EQ(Pixels(d.image.get()), pixels);
}

TEST(GifDecode, FullDictionaryWithoutClearKeepsItsEntries)
{
    // With no pair of neighbours repeated, every code is one pixel and entry 258 + i is pixels i, i + 1;
    // so 3839 pixels fill the dictionary and entry 4095 is the last pair. The encoder goes on coding
    // with the full dictionary and names that pair again.
    std::vector<uint8_t> pixels = {0};
    std::set<uint32_t> pairs;
    std::mt19937 random(42);
    while (pixels.size() < 3839) {
        uint8_t next = static_cast<uint8_t>(random());
        if (pairs.insert(pixels.back() << 8 | next).second) pixels.push_back(next);
    }
    uint8_t a = pixels[3837], b = pixels[3838];
    for (int i = 0; i < 40; ++i)
        pixels.insert(pixels.end(), {a, b, static_cast<uint8_t>(i)});
    pixels.resize(80 * 50, 1);
    FrameOptions deferred;
    deferred.lzw.clearWhenFull = false;
    giftest::CodeStream codes = giftest::EncodeLzw(pixels, 8, deferred.lzw);
    size_t lastEntryUses = 0;
    for (auto [code, width] : codes.codes)
        lastEntryUses += code == 4095;
    ASSERT_GT(lastEntryUses, 1u) << "the data must exercise the last entry";

    GifBuilder gif;
    gif.Screen(80, 50, 7).Frame(80, 50, pixels, deferred).Trailer();
    Decoded d = Decode(gif.Data());
    ASSERT_TRUE(d.image);
    EXPECT_EQ(Pixels(d.image.get()), pixels);

    GifBuilder withClear;
    withClear.Screen(80, 50, 7).Frame(80, 50, pixels).Trailer();
    EXPECT_EQ(Pixels(Decode(withClear.Data()).image.get()), pixels);
}

TEST(GifDecode, StreamCutInsideAFrameKeepsTheFramesBeforeAndThePartialFrame)
{
    std::vector<uint8_t> first = Solid(40, 30, 2);
    std::vector<uint8_t> second = Pattern(40, 30, 16);
    GifBuilder head;
    head.Screen(40, 30, 3, 9).Frame(40, 30, first);
    size_t secondStart = head.Data().size();
    GifBuilder gif = head;
    gif.Frame(40, 30, second).Trailer();
    std::vector<uint8_t> cut(gif.Data().begin(), gif.Data().begin() + (secondStart + gif.Data().size()) / 2);
    Decoded d = Decode(cut);
    ASSERT_TRUE(d.image);
    EXPECT_EQ(d.error, kImageOk);
    auto frames = Frames(d.image.get());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(Pixels(frames[0]), first);
    // The partial frame starts with the second picture and keeps the first one after the cut.
    std::vector<uint8_t> got = Pixels(frames[1]);
    size_t same = 0;
    while (same < got.size() && got[same] == second[same])
        ++same;
    EXPECT_GT(same, 40u);
    EXPECT_LT(same, got.size());
    for (size_t i = same; i < got.size(); ++i)
        ASSERT_EQ(got[i], 2) << i;
}

TEST(GifDecode, EveryTruncationYieldsAPrefixOfTheFrames)
{
    std::vector<uint8_t> pixels = Pattern(21, 13, 16);
    GifBuilder gif;
    FrameOptions local;
    local.localSizeField = 2;
    local.interlaced = true;
    gif.Screen(21, 13, 3, 1)
        .Netscape(2)
        .Comment("cut me anywhere")
        .GraphicControl(2, true, 3, 10)
        .Frame(21, 13, pixels)
        .Frame(10, 6, Pattern(10, 6, 8), local)
        .Trailer();
    const std::vector<uint8_t> &all = gif.Data();
    size_t lastFrames = 0;
    for (size_t n = 0; n <= all.size(); ++n) {
        std::vector<uint8_t> prefix(all.begin(), all.begin() + n);
        Decoded d = Decode(prefix);
        size_t count = Frames(d.image.get()).size();
        EXPECT_GE(count, lastFrames) << n;
        lastFrames = count;
        if (!d.image) {
            EXPECT_NE(d.error, kImageOk);
        }
    }
    EXPECT_EQ(lastFrames, 2u);
}

TEST(GifDecode, MinimumCodeSizeOutsideTwoToElevenEndsOnlyThatFrame)
{
    for (uint8_t size : {0, 1, 12, 255}) {
        GifBuilder gif;
        gif.Screen(3, 1, 1, 2)
            .GraphicControl(0, false, 0, 7)
            .RawFrame(0, 0, 3, 1, 0, size, GifBuilder::SubBlocks({0x2C, 0x21, 0x3B, 0x00}))
            .Frame(1, 1, Solid(1, 1, 1))
            .Trailer();
        Decoded d = Decode(gif.Data());
        auto frames = Frames(d.image.get());
        ASSERT_EQ(frames.size(), 2u) << int(size);
        EXPECT_EQ(Pixels(frames[0]), (std::vector<uint8_t>{2, 2, 2})) << int(size);
        EXPECT_EQ(ImageGetDelay(frames[0]), 70u) << "the frame still ends normally";
        EXPECT_EQ(Pixels(frames[1]), (std::vector<uint8_t>{1, 2, 2}));
    }
    // Eleven is the largest size whose codes fit the dictionary.
    GifBuilder gif;
    FrameOptions wide;
    wide.minCodeSize = 11;
    std::vector<uint8_t> pixels = Pattern(50, 50, 256);
    gif.Screen(50, 50, 7).Frame(50, 50, pixels, wide).Trailer();
    EXPECT_EQ(Pixels(Decode(gif.Data()).image.get()), pixels);
}

TEST(GifDecode, FrameWithoutWidthOrHeightAddsNoPixels)
{
    GifBuilder gif;
    gif.Screen(3, 2, 1, 1)
        .Frame(3, 2, Solid(3, 2, 2))
        .Frame(0, 5, {}) // the stream holds only clear and end
        .Frame(4, 0, {})
        .Trailer();
    Decoded decoded = Decode(gif.Data());
    auto frames = Frames(decoded.image.get());
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(ImageGetHeight(frames[1]), 5) << "the canvas still takes the frame's height";
    EXPECT_EQ(ImageGetPixel(frames[1], 0, 0), 2u);
    EXPECT_EQ(ImageGetPixel(frames[1], 0, 4), 1u);
    EXPECT_EQ(ImageGetWidth(frames[2]), 4);

    // With a screen of no area either, no canvas can be made: refused, and the scan stops there.
    GifBuilder empty;
    empty.Screen(0, 0, 1).Frame(0, 0, {}).Frame(2, 1, Solid(2, 1, 3)).Trailer();
    Decoded d = Decode(empty.Data());
    EXPECT_EQ(d.image, nullptr);
    EXPECT_EQ(d.error, kImageOutOfMemory);
    GifBuilder later;
    later.Screen(3, 0, 1).Frame(3, 1, Solid(3, 1, 2)).Frame(2, 0, {}).Frame(2, 1, Solid(2, 1, 3)).Trailer();
    d = Decode(later.Data());
    EXPECT_EQ(Frames(d.image.get()).size(), 1u);
}

TEST(GifDecode, MissingColourTablesGiveABlackPalette)
{
    GifBuilder gif;
    gif.Screen(2, 2, -1, 0, {}, true, 2).Frame(2, 2, {0, 1, 2, 3}).Trailer();
    Decoded d = Decode(gif.Data());
    ASSERT_TRUE(d.image);
    EXPECT_EQ(ImageGetDepthCode(d.image.get()), 4) << "the size bits count even without a table";
    PALETTEENTRY palette[256];
    ASSERT_EQ(ImageGetPalette(d.image.get(), palette), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(palette[i].peRed | palette[i].peGreen | palette[i].peBlue, 0) << i;
    EXPECT_EQ(Pixels(d.image.get()), (std::vector<uint8_t>{0, 1, 2, 3}));
}

TEST(GifDecode, LocalTableOfAnotherDepthTakesOverTheSharedPixelValues)
{
    FrameOptions local;
    local.localSizeField = 0; // two colours: a 1-bit canvas
    local.left = 1;
    GifBuilder gif;
    gif.Screen(3, 2, 7, 0).Frame(3, 2, {5, 6, 7, 8, 9, 10}).Frame(1, 1, {1}, local).Trailer();
    Decoded decoded = Decode(gif.Data());
    auto frames = Frames(decoded.image.get());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(ImageGetDepthCode(frames[1]), 1);
    // Values of the old table are narrowed to the new depth, as a pixel routine narrows them.
    EXPECT_EQ(Pixels(frames[1]), (std::vector<uint8_t>{1, 1, 1, 0, 1, 0}));
    PALETTEENTRY palette[256];
    EXPECT_EQ(ImageGetPalette(frames[1], palette), 2u);
    EXPECT_EQ(ImageGetPalette(frames[0], palette), 256u) << "each frame keeps its own palette";
}

TEST(GifDecode, TallerCanvasOfTheSameDepthKeepsThePreviousPictureAndFillsTheRest)
{
    // Eleven 1-bit pixels: one whole byte and three loose bits to carry over.
    std::vector<uint8_t> first = {1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0};
    GifBuilder gif;
    gif.Screen(11, 1, 0, 1).Frame(11, 1, first).Frame(1, 2, {0, 0}).Trailer();
    Decoded d = Decode(gif.Data());
    auto frames = Frames(d.image.get());
    ASSERT_EQ(frames.size(), 2u);
    ASSERT_EQ(ImageGetWidth(frames[1]), 11);
    ASSERT_EQ(ImageGetHeight(frames[1]), 2);
    std::vector<uint8_t> want = first;
    want[0] = 0;
    want.push_back(0);
    want.insert(want.end(), 10, 1);
    EXPECT_EQ(Pixels(frames[1]), want);
}

TEST(GifDecode, PixelValuesBeyondTheTableAreNarrowedToTheDepth)
{
    // Minimum code size 8 on a 16-colour table: value 0x35 lands as 5 in the 4-bit canvas.
    FrameOptions wide;
    wide.minCodeSize = 8;
    GifBuilder gif;
    gif.Screen(2, 1, 3).Frame(2, 1, {0x35, 0x0F}, wide).Trailer();
    EXPECT_EQ(Pixels(Decode(gif.Data()).image.get()), (std::vector<uint8_t>{5, 15}));
}

TEST(GifDecode, ExtensionsAreSteppedOverByTheirSubBlocks)
{
    // Bytes that look like blocks inside comments, plain text and unknown extensions must not start one.
    std::string tricky = "\x2C\x21\xF9\x3B, and more";
    GifBuilder gif;
    gif.Screen(2, 1, 1)
        .Comment(tricky)
        .PlainText(tricky)
        .Bytes({0x21, 0x77, 3, 0x2C, 0x2C, 0x2C, 0})
        .Bytes({0x21, 0xFF, 11, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P', 2, 0x2C, 0x3B, 0})
        .Frame(2, 1, {1, 2})
        .Trailer();
    Decoded d = Decode(gif.Data());
    auto frames = Frames(d.image.get());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Pixels(frames[0]), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(ImageGetLoopCount(frames[0]), 1u);
}

TEST(GifDecode, DataAfterTheEndCodeIsNotReadAsBlocks)
{
    giftest::CodeStream codes = giftest::EncodeLzw({1, 2}, 2);
    std::vector<uint8_t> data = codes.Pack();
    std::vector<uint8_t> blocks = GifBuilder::SubBlocks(data);
    blocks.pop_back();
    blocks.insert(blocks.end(), {3, 0x2C, 0x21, 0x3B, 0});
    GifBuilder gif;
    gif.Screen(2, 1, 1).RawFrame(0, 0, 2, 1, 0, 2, blocks).Frame(2, 1, {3, 3}).Trailer();
    Decoded decoded = Decode(gif.Data());
    auto frames = Frames(decoded.image.get());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(Pixels(frames[0]), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(Pixels(frames[1]), (std::vector<uint8_t>{3, 3}));
}

TEST(GifDecode, DamagedCodesEndTheFrameAndTheScanGoesOn)
{
    // Code 7 names an entry that does not exist yet (next free is 6).
    giftest::CodeStream codes;
    for (uint32_t c : {4u, 1u, 7u, 2u, 5u})
        codes.Add(c, 3);
    // And a code naming the next entry straight after a clear has no string to repeat.
    giftest::CodeStream afterClear;
    for (uint32_t c : {4u, 6u, 5u})
        afterClear.Add(c, 3);
    GifBuilder gif;
    gif.Screen(3, 1, 1, 3)
        .RawFrame(0, 0, 3, 1, 0, 2, GifBuilder::SubBlocks(codes.Pack()))
        .RawFrame(0, 0, 3, 1, 0, 2, GifBuilder::SubBlocks(afterClear.Pack()))
        .Frame(1, 1, {2})
        .Trailer();
    Decoded decoded = Decode(gif.Data());
    auto frames = Frames(decoded.image.get());
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(Pixels(frames[0]), (std::vector<uint8_t>{1, 3, 3}));
    EXPECT_EQ(Pixels(frames[1]), (std::vector<uint8_t>{1, 3, 3}));
    EXPECT_EQ(Pixels(frames[2]), (std::vector<uint8_t>{2, 3, 3}));
}

TEST(GifDecode, SurplusPixelsBeyondTheFrameAreDropped)
{
    // Nine pixels of data for a 2 x 2 frame: the string that would cross the end is not written.
    giftest::CodeStream codes = giftest::EncodeLzw({1, 1, 1, 2, 2, 2, 3, 3, 3}, 2);
    GifBuilder gif;
    gif.Screen(2, 2, 1).RawFrame(0, 0, 2, 2, 0, 2, GifBuilder::SubBlocks(codes.Pack())).Trailer();
    EXPECT_EQ(Pixels(Decode(gif.Data()).image.get()), (std::vector<uint8_t>{1, 1, 1, 2}));
}

TEST(GifDecode, StreamsWithoutPicturesGiveNoImage)
{
    GifBuilder onlyExtensions;
    onlyExtensions.Screen(4, 4, 1).Comment("nothing").Trailer();
    for (const std::vector<uint8_t> &bytes :
         {onlyExtensions.Data(), std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', 4, 0, 4},
          std::vector<uint8_t>{'G', 'I', 'F', '8'}}) {
        Decoded d = Decode(bytes);
        EXPECT_EQ(d.image, nullptr);
        EXPECT_EQ(d.error, kImageNoImage);
    }
    // A global table cut short ends the scan before any block.
    GifBuilder cutTable;
    cutTable.Screen(2, 2, 7).Frame(2, 2, Solid(2, 2, 0)).Trailer();
    std::vector<uint8_t> cut(cutTable.Data().begin(), cutTable.Data().begin() + 13 + 700);
    EXPECT_EQ(Decode(cut).image, nullptr);
}

TEST(GifDecode, CanvasAreaIsBounded)
{
    GifBuilder tooLarge;
    tooLarge.Screen(16385, 16384, 0).Frame(1, 1, {1}).Trailer();
    Decoded refused = Decode(tooLarge.Data());
    EXPECT_EQ(refused.image, nullptr);
    EXPECT_EQ(refused.error, kImageOutOfMemory);

    GifBuilder wide;
    wide.Screen(65535, 1, 0).Frame(65535, 1, Solid(65535, 1, 1)).Trailer();
    Decoded d = Decode(wide.Data());
    ASSERT_TRUE(d.image);
    EXPECT_EQ(ImageGetWidth(d.image.get()), 65535);
    EXPECT_EQ(ImageGetPixel(d.image.get(), 65534, 0), 1u);
}

TEST(GifDecode, FramesTogetherStayWithinTheirPixelBudget)
{
    // 4096 x 4096 canvases of 1 bit: 16 fit the budget, the rest are refused; the load still succeeds.
    GifBuilder gif;
    gif.Screen(4096, 4096, 0);
    for (int i = 0; i < 20; ++i)
        gif.Frame(1, 1, {static_cast<uint8_t>(i & 1)});
    gif.Trailer();
    Decoded d = Decode(gif.Data());
    ASSERT_TRUE(d.image);
    EXPECT_EQ(d.error, kImageOk);
    EXPECT_EQ(Frames(d.image.get()).size(), 16u);
}

} // namespace
