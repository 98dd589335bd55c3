// Our decoder against giflib: giflib decodes each real GIF, the same compositing rules are applied to
// its frames here, and every frame must match ours pixel for pixel.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <cstring>

#include "image/gif.h"
#include "tests/image/golden.h"

namespace
{

const std::string kDataDir = PARLEVO_IMAGE_DATA_DIR;

struct RefFrame {
    int width = 0;
    int height = 0;
    int depth = 0;
    std::vector<uint8_t> pixels; // row-major from the top
    std::vector<PALETTEENTRY> palette;
    uint32_t delay = 0;
    bool transparent = false;
    uint32_t transparentIndex = 0;
};

struct Reference {
    std::vector<RefFrame> frames;
    uint32_t loopCount = 1;
};

struct Memory {
    const std::vector<uint8_t> *bytes;
    size_t pos;
};

int ReadMemory(GifFileType *gif, GifByteType *out, int count)
{
    Memory *m = static_cast<Memory *>(gif->UserData);
    size_t n = std::min<size_t>(static_cast<size_t>(count), m->bytes->size() - m->pos);
    std::memcpy(out, m->bytes->data() + m->pos, n);
    m->pos += n;
    return static_cast<int>(n);
}

int DepthFor(int sizeField)
{
    return sizeField == 0 ? 1 : sizeField <= 3 ? 4 : 8;
}

// The compositing rules of our decoder, written out plainly over giflib's frames: palette-index
// canvases of the table's depth, the control extension staying in force, disposal 2 and 3, a colour key.
bool BuildReference(const std::vector<uint8_t> &bytes, Reference &ref)
{
    Memory memory = {&bytes, 0};
    int error = 0;
    GifFileType *gif = DGifOpen(&memory, ReadMemory, &error);
    if (!gif) return false;
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return false;
    }
    int screenWidth = gif->SWidth, screenHeight = gif->SHeight;
    int globalSizeField = bytes[10] & 7; // read even without a global table
    uint32_t background = static_cast<uint32_t>(gif->SBackGroundColor);
    GraphicsControlBlock control = {};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    bool controlSeen = false;
    int previousDisposal = 0;
    int prevLeft = 0, prevTop = 0, prevWidth = 0, prevHeight = 0;
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
                ref.loopCount = loops ? loops + 1 : 0;
            }
        }
        const GifImageDesc &desc = saved.ImageDesc;
        const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        int sizeField = desc.ColorMap ? desc.ColorMap->BitsPerPixel - 1 : globalSizeField;
        int depth = DepthFor(sizeField);
        uint32_t mask = (1u << depth) - 1;
        int width = std::max(desc.Width, screenWidth), height = std::max(desc.Height, screenHeight);
        if (width == 0 || height == 0) continue;
        bool transparent = control.TransparentColor != NO_TRANSPARENT_COLOR;
        uint32_t fill = transparent ? static_cast<uint32_t>(control.TransparentColor) : background;
        int disposal = ref.frames.empty() ? 0 : previousDisposal;

        RefFrame frame;
        frame.width = width;
        frame.height = height;
        frame.depth = depth;
        const RefFrame *base = ref.frames.empty() ? nullptr : &ref.frames.back();
        if (disposal == 3) base = ref.frames.size() >= 2 ? &ref.frames[ref.frames.size() - 2] : nullptr;
        if (base && base->depth == depth && base->width == width && base->height == height) {
            frame.pixels = base->pixels;
        } else {
            frame.pixels.assign(static_cast<size_t>(width) * height, static_cast<uint8_t>(fill & mask));
            if (base)
                for (int y = 0; y < std::min(height, base->height); ++y)
                    for (int x = 0; x < std::min(width, base->width); ++x)
                        frame.pixels[y * width + x] = base->pixels[y * base->width + x] & mask;
        }
        if (!ref.frames.empty() && disposal == 2)
            for (int y = prevTop; y < std::min(prevTop + prevHeight, height); ++y)
                for (int x = prevLeft; x < std::min(prevLeft + prevWidth, width); ++x)
                    frame.pixels[y * width + x] = static_cast<uint8_t>(fill & mask);
        for (int y = 0; y < desc.Height; ++y)
            for (int x = 0; x < desc.Width; ++x) {
                uint32_t value = saved.RasterBits[y * desc.Width + x];
                int cx = desc.Left + x, cy = desc.Top + y;
                if (cx >= width || cy >= height) continue;
                if (transparent && value == static_cast<uint32_t>(control.TransparentColor)) continue;
                frame.pixels[cy * width + cx] = static_cast<uint8_t>(value & mask);
            }
        frame.palette.assign(1u << depth, PALETTEENTRY{0, 0, 0, 0});
        for (int c = 0; map && c < map->ColorCount && c < (1 << depth); ++c)
            frame.palette[c] = {map->Colors[c].Red, map->Colors[c].Green, map->Colors[c].Blue, 0};
        frame.transparent = transparent;
        frame.transparentIndex = transparent ? static_cast<uint32_t>(control.TransparentColor) : 0;
        frame.delay = controlSeen ? static_cast<uint32_t>(control.DelayTime) * 10 : 0;
        ref.frames.push_back(std::move(frame));
        previousDisposal = control.DisposalMode;
        prevLeft = desc.Left;
        prevTop = desc.Top;
        prevWidth = desc.Width;
        prevHeight = desc.Height;
    }
    DGifCloseFile(gif, &error);
    return true;
}

class GiflibComparison : public testing::TestWithParam<const char *>
{
};

TEST_P(GiflibComparison, EveryFrameMatchesGiflibComposited)
{
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(giftest::ReadWholeFile(kDataDir + "/" + GetParam(), bytes));
    Reference ref;
    ASSERT_TRUE(BuildReference(bytes, ref)) << "giflib refuses the file";
    ASSERT_FALSE(ref.frames.empty());

    CodecRegistry registry = {};
    RegisterBuiltinCodecs(&registry);
    ImageSource source = {};
    source.size = static_cast<uint32_t>(bytes.size());
    source.data = bytes.data();
    Image *image = ImageLoad(&registry, &source);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(source.error, kImageOk);
    EXPECT_EQ(ImageGetLoopCount(image), ref.loopCount);
    const Image *frame = image;
    for (size_t i = 0; i < ref.frames.size(); ++i, frame = ImageNextFrame(frame)) {
        ASSERT_NE(frame, nullptr) << "frame " << i;
        const RefFrame &want = ref.frames[i];
        ASSERT_EQ(ImageGetWidth(frame), want.width) << "frame " << i;
        ASSERT_EQ(ImageGetHeight(frame), want.height) << "frame " << i;
        EXPECT_EQ(ImageGetDepthCode(frame), want.depth) << "frame " << i;
        EXPECT_EQ(ImageGetDelay(frame), want.delay) << "frame " << i;
        EXPECT_EQ(ImageGetTransparency(frame), want.transparent ? kTransparencyColorKey : 0u) << "frame " << i;
        if (want.transparent) EXPECT_EQ(ImageGetTransparentIndex(frame), want.transparentIndex) << "frame " << i;
        size_t mismatches = 0;
        for (int y = 0; y < want.height; ++y)
            for (int x = 0; x < want.width; ++x)
                if (ImageGetPixel(frame, x, y) != want.pixels[y * want.width + x] && mismatches++ < 5)
                    ADD_FAILURE() << "frame " << i << " pixel " << x << "," << y << ": " << ImageGetPixel(frame, x, y)
                                  << " vs " << int(want.pixels[y * want.width + x]);
        EXPECT_EQ(mismatches, 0u) << "frame " << i;
        PALETTEENTRY palette[256];
        ASSERT_EQ(ImageGetPalette(frame, palette), want.palette.size()) << "frame " << i;
        EXPECT_EQ(std::memcmp(palette, want.palette.data(), want.palette.size() * sizeof(PALETTEENTRY)), 0)
            << "frame " << i;
    }
    EXPECT_EQ(frame, nullptr) << "more frames than giflib";
    ImageFree(image);
}

INSTANTIATE_TEST_SUITE_P(RealFiles, GiflibComparison,
                         testing::Values("tk-tai-ku.gif", "tk-pwrdLogo75.gif", "tk-logo64.gif", "cmake-CMakeLogo.gif",
                                         "cscope-bomb.gif", "cscope-down.gif", "libxslt-node.gif", "libxslt-logo.gif",
                                         "libxslt-smallfootonly.gif", "gen-2colors.gif", "gen-16colors.gif",
                                         "gen-256colors.gif", "gen-interlaced.gif", "gen-interlaced-short.gif",
                                         "gen-anim-dispose0.gif", "gen-anim-dispose1.gif", "gen-anim-dispose2.gif",
                                         "gen-anim-dispose3.gif", "gen-transparent.gif", "test-strip.gif"),
                         [](const testing::TestParamInfo<const char *> &info) {
                             std::string name = info.param;
                             for (char &c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

} // namespace
