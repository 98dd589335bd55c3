// Our decoder against giflib, run by the image_golden_update target before golden.txt is rewritten:
// giflib decodes each real GIF, the same compositing rules are applied to its frames here, and every
// frame must match ours pixel for pixel. A new golden.txt is thus checked against an independent decoder.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/gifcheck/giflibread.h"
#include "tests/image/testimage.h"

namespace
{

struct RefFrame {
    int width = 0, height = 0, depth = 0;
    std::vector<uint8_t> pixels; // row-major from the top
    std::vector<PALETTEENTRY> palette;
    std::string attributes; // delay and colour key
};

// The compositing rules of our decoder, written out plainly over giflib's frames: palette-index
// canvases of the table's depth, the control extension staying in force, disposal 2 and 3, a colour key.
bool BuildReference(const std::vector<uint8_t> &bytes, std::vector<RefFrame> &frames, uint32_t &loopCount)
{
    giftest::GiflibMemory memory = {&bytes, 0};
    GifFileType *gif = giftest::GiflibSlurp(memory);
    if (!gif) return false;
    int globalSizeField = bytes[10] & 7; // read even without a global table
    GraphicsControlBlock control = {};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    bool controlSeen = false;
    int previousDisposal = 0;
    GifImageDesc previous = {};
    loopCount = 1;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage &saved = gif->SavedImages[i];
        for (int e = 0; e < saved.ExtensionBlockCount; ++e) {
            const ExtensionBlock &block = saved.ExtensionBlocks[e];
            if (block.Function == GRAPHICS_EXT_FUNC_CODE) {
                DGifExtensionToGCB(block.ByteCount, block.Bytes, &control);
                controlSeen = true;
            } else if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount >= 8 &&
                       std::memcmp(block.Bytes, "NETSCAPE", 8) == 0 && e + 1 < saved.ExtensionBlockCount &&
                       saved.ExtensionBlocks[e + 1].ByteCount >= 3) {
                const GifByteType *sub = saved.ExtensionBlocks[e + 1].Bytes;
                uint32_t loops = sub[1] | sub[2] << 8;
                loopCount = loops ? loops + 1 : 0;
            }
        }
        const GifImageDesc &desc = saved.ImageDesc;
        const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        int sizeField = desc.ColorMap ? desc.ColorMap->BitsPerPixel - 1 : globalSizeField;
        RefFrame frame;
        frame.depth = sizeField == 0 ? 1 : sizeField <= 3 ? 4 : 8;
        uint32_t mask = (1u << frame.depth) - 1;
        int width = frame.width = std::max(desc.Width, gif->SWidth);
        int height = frame.height = std::max(desc.Height, gif->SHeight);
        bool transparent = control.TransparentColor != NO_TRANSPARENT_COLOR;
        uint8_t fill = static_cast<uint8_t>((transparent ? control.TransparentColor : gif->SBackGroundColor) & mask);
        int disposal = frames.empty() ? 0 : previousDisposal;
        const RefFrame *base = frames.empty() ? nullptr : &frames.back();
        if (disposal == 3) base = frames.size() >= 2 ? &frames[frames.size() - 2] : nullptr;
        if (base && base->depth == frame.depth && base->width == width && base->height == height) {
            frame.pixels = base->pixels;
        } else {
            frame.pixels.assign(static_cast<size_t>(width) * height, fill);
            for (int y = 0; base && y < std::min(height, base->height); ++y)
                for (int x = 0; x < std::min(width, base->width); ++x)
                    frame.pixels[y * width + x] = base->pixels[y * base->width + x] & mask;
        }
        if (disposal == 2)
            for (int y = previous.Top; y < std::min(previous.Top + previous.Height, height); ++y)
                for (int x = previous.Left; x < std::min(previous.Left + previous.Width, width); ++x)
                    frame.pixels[y * width + x] = fill;
        for (int y = 0; y < desc.Height; ++y)
            for (int x = 0; x < desc.Width; ++x) {
                uint32_t value = saved.RasterBits[y * desc.Width + x];
                int cx = desc.Left + x, cy = desc.Top + y;
                if (cx >= width || cy >= height) continue;
                if (transparent && value == static_cast<uint32_t>(control.TransparentColor)) continue;
                frame.pixels[cy * width + cx] = static_cast<uint8_t>(value & mask);
            }
        frame.palette.assign(1u << frame.depth, PALETTEENTRY{0, 0, 0, 0});
        for (int c = 0; map && c < map->ColorCount && c < (1 << frame.depth); ++c)
            frame.palette[c] = {map->Colors[c].Red, map->Colors[c].Green, map->Colors[c].Blue, 0};
        if (controlSeen && control.DelayTime) frame.attributes += " d" + std::to_string(control.DelayTime * 10);
        if (transparent) frame.attributes += " t" + std::to_string(control.TransparentColor);
        frames.push_back(std::move(frame));
        previousDisposal = control.DisposalMode;
        previous = desc;
    }
    int error = 0;
    DGifCloseFile(gif, &error);
    return true;
}

// The real files of data/; their number is pinned so that none slips away.
TEST(GiflibComparison, EveryFrameMatchesGiflibComposited)
{
    std::istringstream names(PARLEVO_IMAGE_GIFS);
    int compared = 0;
    for (std::string name; names >> name;) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = giftest::ReadDataFile(name);
        std::vector<RefFrame> want;
        uint32_t loopCount = 1;
        // The streams built for corners (limits, damage) are the golden descriptions' alone.
        if (name.rfind("built-", 0) == 0) continue;
        ASSERT_TRUE(BuildReference(bytes, want, loopCount)) << "giflib refuses the file";
        ++compared;
        giftest::Decoded d = giftest::Decode(bytes);
        EXPECT_EQ(ImageGetLoopCount(d.image.get()), loopCount);
        const Image *frame = d.image.get();
        for (size_t i = 0; i < want.size(); ++i, frame = ImageNextFrame(frame)) {
            ASSERT_NE(frame, nullptr) << "frame " << i;
            std::string attributes;
            if (ImageGetDelay(frame)) attributes += " d" + std::to_string(ImageGetDelay(frame));
            if (ImageGetTransparency(frame)) attributes += " t" + std::to_string(ImageGetTransparentIndex(frame));
            EXPECT_EQ(attributes, want[i].attributes) << "frame " << i;
            std::vector<uint8_t> pixels;
            for (int y = 0; y < ImageGetHeight(frame); ++y)
                for (int x = 0; x < ImageGetWidth(frame); ++x)
                    pixels.push_back(static_cast<uint8_t>(ImageGetPixel(frame, x, y)));
            EXPECT_TRUE(ImageGetWidth(frame) == want[i].width && ImageGetDepthCode(frame) == want[i].depth &&
                        pixels == want[i].pixels)
                << "frame " << i;
            PALETTEENTRY palette[256];
            ASSERT_EQ(ImageGetPalette(frame, palette), want[i].palette.size()) << "frame " << i;
            EXPECT_EQ(std::memcmp(palette, want[i].palette.data(), want[i].palette.size() * sizeof(PALETTEENTRY)), 0);
        }
        EXPECT_EQ(frame, nullptr) << "more frames than giflib";
    }
    EXPECT_EQ(compared, 20);
}

} // namespace
