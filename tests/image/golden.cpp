// Golden descriptions of decoded GIFs.
#include "tests/image/golden.h"

#include <cinttypes>
#include <cstdio>

#include "image/gif.h"

namespace giftest
{

namespace
{

struct Fnv {
    uint64_t hash = 0xcbf29ce484222325ull;
    void Add(uint32_t byte)
    {
        hash ^= byte & 0xFF;
        hash *= 0x100000001b3ull;
    }
};

} // namespace

bool ReadWholeFile(const std::string &path, std::vector<uint8_t> &out)
{
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    out.clear();
    uint8_t buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    std::fclose(file);
    return true;
}

std::string DescribeDecodedGif(const std::string &name, const std::vector<uint8_t> &bytes)
{
    CodecRegistry registry = {};
    RegisterBuiltinCodecs(&registry);
    ImageSource source = {};
    source.size = static_cast<uint32_t>(bytes.size());
    source.data = bytes.data();
    Image *image = ImageLoad(&registry, &source);
    size_t frames = 0;
    for (const Image *f = image; f; f = ImageNextFrame(f))
        ++frames;
    char line[256];
    std::snprintf(line, sizeof(line), "%s frames=%zu loop=%u error=%u flags=0x%02x\n", name.c_str(), frames,
                  ImageGetLoopCount(image), source.error, source.formatFlags);
    std::string out = line;
    size_t index = 0;
    for (const Image *f = image; f; f = ImageNextFrame(f), ++index) {
        Fnv pixels;
        for (int32_t y = 0; y < ImageGetHeight(f); ++y)
            for (int32_t x = 0; x < ImageGetWidth(f); ++x)
                pixels.Add(ImageGetPixel(f, x, y));
        PALETTEENTRY entries[256];
        uint32_t count = ImageGetPalette(f, entries);
        Fnv palette;
        for (uint32_t i = 0; i < count; ++i) {
            palette.Add(entries[i].peRed);
            palette.Add(entries[i].peGreen);
            palette.Add(entries[i].peBlue);
        }
        std::snprintf(line, sizeof(line),
                      "  %zu %dx%d depth=%d delay=%u key=%u:%u palette=%u:%016" PRIx64 " pixels=%016" PRIx64 "\n",
                      index, ImageGetWidth(f), ImageGetHeight(f), ImageGetDepthCode(f), ImageGetDelay(f),
                      ImageGetTransparency(f), ImageGetTransparentIndex(f), count, palette.hash, pixels.hash);
        out += line;
    }
    ImageFree(image);
    return out;
}

} // namespace giftest
