// Golden descriptions of decoded GIFs: per file its frame count, loop count, error and format flags;
// per frame its geometry, timing, colour key, a checksum of its palette, and its pixels (as text when
// there are at most 64 of them, otherwise a checksum).
#pragma once
#include <cinttypes>
#include <cstdio>

#include "tests/image/testimage.h"

namespace giftest
{

inline bool ReadWholeFile(const std::string &path, std::vector<uint8_t> &out)
{
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    out.clear();
    for (int c; (c = std::fgetc(file)) != EOF;)
        out.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    return true;
}

struct Fnv {
    uint64_t hash = 0xcbf29ce484222325ull;
    void Add(uint32_t byte) { hash = (hash ^ (byte & 0xFF)) * 0x100000001b3ull; }
};

// Whole bytes of each row at once, so that canvases of millions of pixels stay quick.
inline std::string PixelChecksum(const Image *f)
{
    Fnv sum;
    const uint32_t bits = ImageGetBitCount(f), wholeBytes = ImageGetWidth(f) * bits / 8;
    for (int32_t y = 0; y < ImageGetHeight(f); ++y) {
        const uint8_t *row = ImageGetBits(f) + ImageGetStride(f) * (ImageGetHeight(f) - 1 - y);
        for (uint32_t i = 0; i < wholeBytes; ++i)
            sum.Add(row[i]);
        for (int32_t x = static_cast<int32_t>(wholeBytes * 8 / bits); x < ImageGetWidth(f); ++x)
            sum.Add(ImageGetPixel(f, x, y));
    }
    char text[17];
    std::snprintf(text, sizeof(text), "%016" PRIx64, sum.hash);
    return text;
}

inline std::string DescribeDecodedGif(const std::string &name, const std::vector<uint8_t> &bytes)
{
    Decoded d = Decode(bytes);
    size_t frames = 0;
    for (const Image *f = d.image.get(); f; f = ImageNextFrame(f))
        ++frames;
    char line[256];
    std::snprintf(line, sizeof(line), "%s frames=%zu loop=%u error=%u flags=0x%02x\n", name.c_str(), frames,
                  ImageGetLoopCount(d.image.get()), d.error, d.flags);
    std::string out = line;
    size_t index = 0;
    for (const Image *f = d.image.get(); f; f = ImageNextFrame(f), ++index) {
        Fnv palette;
        PALETTEENTRY entries[256];
        uint32_t count = ImageGetPalette(f, entries);
        for (uint32_t i = 0; i < count; ++i)
            for (uint32_t c : {entries[i].peRed, entries[i].peGreen, entries[i].peBlue})
                palette.Add(c);
        std::snprintf(line, sizeof(line), "  %zu %dx%d depth=%d delay=%u key=%u:%u palette=%u:%016" PRIx64 " pixels=",
                      index, ImageGetWidth(f), ImageGetHeight(f), ImageGetDepthCode(f), ImageGetDelay(f),
                      ImageGetTransparency(f), ImageGetTransparentIndex(f), count, palette.hash);
        out += line + (ImageGetWidth(f) * ImageGetHeight(f) > 64 ? PixelChecksum(f) : PixelText(f)) + "\n";
    }
    return out;
}

} // namespace giftest
