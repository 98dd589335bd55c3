// What the image tests share: decoding as the program does, data/ files, decoded images as text.
#pragma once
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "image/gif.h"

namespace giftest
{

struct ImageDeleter {
    void operator()(Image *image) const { ImageFree(image); }
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

struct Decoded {
    ImagePtr image;
    uint32_t error, flags;
};

inline Decoded Decode(const std::vector<uint8_t> &bytes)
{
    CodecRegistry registry = {};
    RegisterBuiltinCodecs(&registry);
    ImageSource source = {static_cast<uint32_t>(bytes.size()), bytes.data(), 0, 0, {}};
    return {ImagePtr(ImageLoad(&registry, &source)), source.error, source.formatFlags}; // in order: after the load
}

inline std::vector<uint8_t> ReadDataFile(const std::string &name)
{
    std::ifstream in(std::string(PARLEVO_IMAGE_DATA_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Top row first, rows separated by '/', each pixel in hex: one digit up to 4 bits, two at 8.
inline std::string PixelText(const Image *frame)
{
    std::string out;
    const int digits = ImageGetBitCount(frame) > 4 ? 2 : 1;
    for (int32_t y = 0; y < ImageGetHeight(frame); ++y)
        for (int32_t x = 0; x < ImageGetWidth(frame); ++x) {
            char hex[12];
            std::snprintf(hex, sizeof(hex), "%s%0*x", y && !x ? "/" : "", digits, ImageGetPixel(frame, x, y));
            out += hex;
        }
    return out;
}

// A decoded chain's facts, then per frame its own; pixels as text up to 64, else a checksum of row bytes (quick).
inline std::string Describe(const Image *image, uint32_t error, uint32_t flags)
{
    std::string frames;
    char line[256];
    size_t index = 0;
    for (const Image *f = image; f; f = ImageNextFrame(f), ++index) {
        uint64_t palette = 0xcbf29ce484222325ull, pixels = palette; // FNV-1a
        const auto add = [](uint64_t &hash, uint32_t byte) { hash = (hash ^ (byte & 0xFF)) * 0x100000001b3ull; };
        PALETTEENTRY entries[256];
        const uint32_t count = ImageGetPalette(f, entries), bits = ImageGetBitCount(f);
        for (uint32_t i = 0; i < count; ++i)
            for (uint32_t c : {entries[i].peRed, entries[i].peGreen, entries[i].peBlue})
                add(palette, c);
        const uint32_t wholeBytes = ImageGetWidth(f) * bits / 8;
        for (int32_t y = 0; y < ImageGetHeight(f); ++y) {
            const uint8_t *row = ImageGetBits(f) + ImageGetStride(f) * (ImageGetHeight(f) - 1 - y);
            for (uint32_t i = 0; i < wholeBytes; ++i)
                add(pixels, row[i]);
            for (int32_t x = static_cast<int32_t>(wholeBytes * 8 / bits); x < ImageGetWidth(f); ++x)
                add(pixels, ImageGetPixel(f, x, y));
        }
        std::snprintf(line, sizeof(line),
                      "  %zu %dx%d depth=%d delay=%u key=%u:%u palette=%u:%016" PRIx64 " pixels=", index,
                      ImageGetWidth(f), ImageGetHeight(f), ImageGetDepthCode(f), ImageGetDelay(f),
                      ImageGetTransparency(f), ImageGetTransparentIndex(f), count, palette);
        char sum[17];
        std::snprintf(sum, sizeof(sum), "%016" PRIx64, pixels);
        frames += line + (ImageGetWidth(f) * ImageGetHeight(f) > 64 ? std::string(sum) : PixelText(f)) + "\n";
    }
    std::snprintf(line, sizeof(line), " frames=%zu loop=%u error=%u flags=0x%02x\n", index, ImageGetLoopCount(image),
                  error, flags);
    return line + frames;
}

} // namespace giftest
