// The GIF decoder on streams assembled here: what the real files of data/ cannot show (damaged and
// cut streams, limits, LZW corners, compositing corners), as rows of input and expected result.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "tests/image/gifbuilder.h"
#include "tests/image/testimage.h"

using giftest::FrameOptions;
using giftest::GifBuilder;

namespace
{

using Bytes = std::vector<uint8_t>;

Bytes Pattern(uint32_t width, uint32_t height, uint32_t colours, uint32_t seed = 1)
{
    Bytes pixels(width * height);
    std::mt19937 random(seed);
    for (uint32_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>((i / 3 + random() % 3) % colours);
    return pixels;
}

FrameOptions At(uint16_t left, uint16_t top, int localSizeField = -1)
{
    FrameOptions options;
    options.left = left;
    options.top = top;
    options.localSizeField = localSizeField;
    return options;
}

FrameOptions MinCodeSize(int size)
{
    FrameOptions options;
    options.minCodeSize = size;
    return options;
}

Bytes Codes(std::initializer_list<uint32_t> threeBitCodes)
{
    giftest::CodeStream codes;
    for (uint32_t c : threeBitCodes)
        codes.Add(c, 3);
    return GifBuilder::SubBlocks(codes.Pack());
}

Bytes DropLast(Bytes bytes, size_t count)
{
    bytes.resize(bytes.size() - count);
    return bytes;
}

// Sixteen 1-bit canvases of 4096 x 4096 fill the budget of all frames together.
std::string BudgetOfFrames()
{
    std::string out = "1:4096x4096";
    for (int i = 1; i < 16; ++i)
        out += " | 1:4096x4096";
    return out;
}

Bytes TwentyLargeFrames()
{
    GifBuilder gif;
    gif.Screen(4096, 4096, 0);
    for (int i = 0; i < 20; ++i)
        gif.Frame(1, 1, {static_cast<uint8_t>(i & 1)});
    return gif.Trailer().Data();
}

FrameOptions SubBlocksOfOneByte()
{
    FrameOptions options;
    options.lzw.subBlockSize = 1;
    return options;
}

struct Case {
    const char *name;
    Bytes bytes;
    std::string expected; // see giftest::Describe
};

TEST(GifDecode, StreamsDecodeToTheirFrames)
{
    const std::string tricky = "\x2C\x21\xF9\x3B, and more";
    const Bytes noBlocks = {0x2C, 0x21, 0x3B, 0x00};
    const Case cases[] = {
        {"frame smaller than the screen sits on the background",
         GifBuilder().Screen(4, 3, 1, 3).Frame(2, 1, {1, 2}, At(1, 1)).Trailer().Data(), "4:3333/3123/3333"},
        {"frame reaching past the canvas is clipped",
         GifBuilder()
             .Screen(2, 1, 1)
             .Frame(3, 2, {1, 2, 3, 3, 2, 1})
             .Frame(3, 2, Bytes(6, 0), At(2, 1))
             .Trailer()
             .Data(),
         "4:123/321 | 4:123/320"},
        {"disposal 2 fills with the transparent index while one is set",
         GifBuilder()
             .Screen(4, 1, 1, 3)
             .GraphicControl(2, true, 2, 0)
             .Frame(2, 1, {1, 1})
             .Frame(1, 1, {0})
             .Trailer()
             .Data(),
         "4:1122 t2 | 4:0222 t2"},
        {"disposal 3 with nothing before starts from the fill value",
         GifBuilder()
             .Screen(3, 1, 1, 2)
             .GraphicControl(3, false, 0, 0)
             .Frame(3, 1, {1, 1, 1})
             .Frame(1, 1, {0})
             .Trailer()
             .Data(),
         "4:111 | 4:022"},
        {"the control stays in force; one without the flag ends the colour key",
         GifBuilder()
             .Screen(4, 1, 1)
             .Frame(4, 1, {1, 2, 3, 0})
             .GraphicControl(1, true, 2, 0)
             .Frame(4, 1, {2, 3, 2, 1})
             .Frame(4, 1, {0, 2, 2, 2})
             .GraphicControl(1, false, 2, 0)
             .Frame(4, 1, {2, 2, 2, 2})
             .Trailer()
             .Data(),
         "4:1230 | 4:1331 t2 | 4:0331 t2 | 4:2222"},
        {"transparent pixels of an 8-bit frame keep the picture",
         GifBuilder()
             .Screen(2, 1, 7)
             .Frame(2, 1, {1, 1})
             .GraphicControl(0, true, 2, 0)
             .Frame(2, 1, {3, 2})
             .Trailer()
             .Data(),
         "8:11 | 8:31 t2"},
        {"a local table of another depth narrows the values it takes over",
         GifBuilder().Screen(3, 2, 7).Frame(3, 2, {5, 6, 7, 8, 9, 10}).Frame(1, 1, {1}, At(1, 0, 0)).Trailer().Data(),
         "8:567/89a | 1:111/010"},
        {"a taller canvas of the same depth keeps whole bytes and loose bits",
         GifBuilder()
             .Screen(11, 1, 0, 1)
             .Frame(11, 1, {1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0})
             .Frame(1, 2, {0, 0})
             .Trailer()
             .Data(),
         "1:10110010110 | 1:00110010110/01111111111"},
        {"values beyond the table are narrowed to the depth",
         GifBuilder().Screen(2, 1, 3).Frame(2, 1, {0x35, 0x0F}, MinCodeSize(8)).Trailer().Data(), "4:5f"},
        {"a missing colour table keeps its size bits",
         GifBuilder().Screen(2, 2, -1, 0, 2).Frame(2, 2, {0, 1, 2, 3}).Trailer().Data(), "4:01/23"},
        {"extensions are stepped over by their sub-blocks",
         GifBuilder()
             .Screen(2, 1, 1)
             .Extension(0xFE, tricky)
             .Extension(0x01, tricky)
             .Extension(0x77, ",,,")
             .Bytes({0x21, 0xFF, 11, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P', 2, 0x2C, 0x3B, 0})
             .Frame(2, 1, {1, 2})
             .Trailer()
             .Data(),
         "4:12"},
        {"data after the end code is not read as blocks",
         GifBuilder()
             .Screen(2, 1, 1)
             .RawFrame(2, 1, 2, DropLast(Codes({4, 1, 2, 5}), 1))
             .Bytes({3, 0x2C, 0x21, 0x3B, 0})
             .Frame(2, 1, {3, 3})
             .Trailer()
             .Data(),
         "4:12 | 4:33"},
        {"a code naming an entry not made yet ends the frame",
         GifBuilder().Screen(3, 1, 1, 3).RawFrame(3, 1, 2, Codes({4, 1, 7, 2, 5})).Frame(1, 1, {2}).Trailer().Data(),
         "4:133 | 4:233"},
        {"the next entry named straight after a clear ends the frame",
         GifBuilder().Screen(3, 1, 1, 3).RawFrame(3, 1, 2, Codes({4, 6, 5})).Frame(1, 1, {2}).Trailer().Data(),
         "4:333 | 4:233"},
        {"pixels beyond the frame are dropped",
         GifBuilder()
             .Screen(2, 2, 1)
             .RawFrame(2, 2, 2, GifBuilder::SubBlocks(giftest::EncodeLzw({1, 1, 1, 2, 2, 2, 3, 3, 3}, 2).Pack()))
             .Trailer()
             .Data(),
         "4:11/12"},
        {"minimum code size 1 ends only that frame",
         GifBuilder()
             .Screen(3, 1, 1, 2)
             .GraphicControl(0, false, 0, 7)
             .RawFrame(3, 1, 1, GifBuilder::SubBlocks(noBlocks))
             .Frame(1, 1, {1})
             .Trailer()
             .Data(),
         "4:222 d70 | 4:122 d70"},
        {"minimum code size 12 ends only that frame",
         GifBuilder()
             .Screen(3, 1, 1, 2)
             .RawFrame(3, 1, 12, GifBuilder::SubBlocks(noBlocks))
             .Frame(1, 1, {1})
             .Trailer()
             .Data(),
         "4:222 | 4:122"},
        {"a frame without width or height still sizes the canvas",
         GifBuilder().Screen(3, 2, 1, 1).Frame(3, 2, Bytes(6, 2)).Frame(0, 5, {}).Frame(4, 0, {}).Trailer().Data(),
         "4:222/222 | 4:222/222/111/111/111 | 4:2221/2221"},
        {"a canvas of no area is refused",
         GifBuilder().Screen(0, 0, 1).Frame(0, 0, {}).Frame(2, 1, {3, 3}).Trailer().Data(), "error=3"},
        {"a later canvas of no area ends the scan",
         GifBuilder().Screen(3, 0, 1).Frame(3, 1, {2, 2, 2}).Frame(2, 0, {}).Frame(2, 1, {3, 3}).Trailer().Data(),
         "4:222"},
        {"a canvas over 16384 x 16384 is refused",
         GifBuilder().Screen(16385, 16384, 0).Frame(1, 1, {1}).Trailer().Data(), "error=3"},
        {"frames past the pixel budget are refused", TwentyLargeFrames(), BudgetOfFrames()},
        {"a cut inside a frame keeps the pixels read so far",
         DropLast(GifBuilder()
                      .Screen(4, 1, 1)
                      .Frame(4, 1, {1, 1, 1, 1})
                      .Frame(4, 1, {2, 3, 2, 3}, SubBlocksOfOneByte())
                      .Trailer()
                      .Data(),
                  4),
         "4:1111 | 4:2111"},
        {"only extensions", GifBuilder().Screen(4, 4, 1).Extension(0xFE, "nothing").Trailer().Data(), "error=2"},
        {"a screen descriptor cut short", {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4}, "error=2"},
        {"a global table cut short", DropLast(GifBuilder().Screen(2, 2, 7).Frame(2, 2, Bytes(4, 0)).Data(), 60),
         "error=2"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(giftest::Describe(giftest::Decode(c.bytes)), c.expected) << c.name;
}

// With no pair of neighbours repeated, every code is one pixel and entry 258 + i is pixels i, i + 1; so
// 3839 pixels fill the dictionary, and the encoder goes on naming the last entry without a clear.
Bytes FillsTheDictionary()
{
    Bytes pixels = {0};
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
    return pixels;
}

struct RoundTrip {
    std::string name;
    uint16_t width, height;
    int sizeField;
    FrameOptions options;
    Bytes pixels;
};

TEST(GifDecode, EncodedPicturesComeBackExactly)
{
    const int32_t depthForSizeField[] = {1, 4, 4, 4, 8, 8, 8, 8};
    std::vector<RoundTrip> rows;
    for (int n = 0; n < 8; ++n)
        rows.push_back({"table size field " + std::to_string(n), 13, 5, n, {}, Pattern(13, 5, 2u << n)});
    FrameOptions interlaced;
    interlaced.interlaced = true;
    for (uint16_t h = 1; h <= 19; ++h) // short heights leave passes empty
        rows.push_back({"interlaced height " + std::to_string(h), 3, h, 3, interlaced, Pattern(3, h, 16, h)});
    FrameOptions noClear;
    noClear.lzw.clearFirst = false;
    rows.push_back({"no opening clear code", 37, 11, 3, noClear, Pattern(37, 11, 16)});
    FrameOptions deferred;
    deferred.lzw.clearWhenFull = false;
    rows.push_back({"full dictionary without a clear", 80, 50, 7, deferred, FillsTheDictionary()});
    rows.push_back({"minimum code size 11", 50, 50, 7, MinCodeSize(11), Pattern(50, 50, 256)});
    rows.push_back({"long runs", 300, 40, 1, {}, Bytes(300 * 40, 3)});
    rows.push_back({"the widest frame", 65535, 1, 0, {}, Bytes(65535, 1)});
    for (const RoundTrip &r : rows) {
        giftest::Decoded d = giftest::Decode(
            GifBuilder().Screen(r.width, r.height, r.sizeField).Frame(r.width, r.height, r.pixels, r.options).Data());
        ASSERT_TRUE(d.image) << r.name;
        EXPECT_EQ(ImageGetDepthCode(d.image.get()), depthForSizeField[r.sizeField]) << r.name;
        Bytes got;
        for (int32_t y = 0; y < ImageGetHeight(d.image.get()); ++y)
            for (int32_t x = 0; x < ImageGetWidth(d.image.get()); ++x)
                got.push_back(static_cast<uint8_t>(ImageGetPixel(d.image.get(), x, y)));
        EXPECT_TRUE(got == r.pixels) << r.name;
    }
}

TEST(GifDecode, EveryTruncationYieldsAPrefixOfTheFrames)
{
    FrameOptions local = At(0, 0, 2);
    local.interlaced = true;
    Bytes all = GifBuilder()
                    .Screen(21, 13, 3, 1)
                    .Netscape(2)
                    .Extension(0xFE, "cut me anywhere")
                    .GraphicControl(2, true, 3, 10)
                    .Frame(21, 13, Pattern(21, 13, 16))
                    .Frame(10, 6, Pattern(10, 6, 8), local)
                    .Trailer()
                    .Data();
    size_t lastFrames = 0;
    for (size_t n = 0; n <= all.size(); ++n) {
        giftest::Decoded d = giftest::Decode(Bytes(all.begin(), all.begin() + static_cast<ptrdiff_t>(n)));
        size_t count = 0;
        for (const Image *f = d.image.get(); f; f = ImageNextFrame(f))
            ++count;
        EXPECT_GE(count, lastFrames) << n;
        EXPECT_TRUE(d.image || d.error != kImageOk) << n;
        lastFrames = count;
    }
    EXPECT_EQ(lastFrames, 2u);
}

} // namespace
