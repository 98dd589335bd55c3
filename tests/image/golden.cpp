// Golden descriptions of decoded GIFs.
#include "tests/image/golden.h"

#include <cinttypes>
#include <cstdio>

#include "tests/image/testimage.h"

namespace giftest
{

namespace
{

struct Fnv {
    uint64_t hash = 0xcbf29ce484222325ull;
    void Add(uint32_t byte) { hash = (hash ^ (byte & 0xFF)) * 0x100000001b3ull; }
};

} // namespace

bool ReadWholeFile(const std::string &path, std::vector<uint8_t> &out)
{
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    out.clear();
    for (int c; (c = std::fgetc(file)) != EOF;)
        out.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    return true;
}

std::string DescribeDecodedGif(const std::string &name, const std::vector<uint8_t> &bytes)
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
        Fnv pixels, palette;
        for (int32_t y = 0; y < ImageGetHeight(f); ++y)
            for (int32_t x = 0; x < ImageGetWidth(f); ++x)
                pixels.Add(ImageGetPixel(f, x, y));
        PALETTEENTRY entries[256];
        uint32_t count = ImageGetPalette(f, entries);
        for (uint32_t i = 0; i < count; ++i)
            for (uint32_t c : {entries[i].peRed, entries[i].peGreen, entries[i].peBlue})
                palette.Add(c);
        std::snprintf(line, sizeof(line),
                      "  %zu %dx%d depth=%d delay=%u key=%u:%u palette=%u:%016" PRIx64 " pixels=%016" PRIx64 "\n",
                      index, ImageGetWidth(f), ImageGetHeight(f), ImageGetDepthCode(f), ImageGetDelay(f),
                      ImageGetTransparency(f), ImageGetTransparentIndex(f), count, palette.hash, pixels.hash);
        out += line;
    }
    return out;
}

} // namespace giftest
