// What the image tests share: an owning image pointer, decoding through the registry as the program
// does, and the pixels of a small frame as text.
#pragma once
#include <cstdio>
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
    uint32_t error = 0;
    uint32_t flags = 0;
};

inline Decoded Decode(const std::vector<uint8_t> &bytes)
{
    CodecRegistry registry = {};
    RegisterBuiltinCodecs(&registry);
    ImageSource source = {static_cast<uint32_t>(bytes.size()), bytes.data(), 0, 0, {}};
    Decoded d;
    d.image.reset(ImageLoad(&registry, &source));
    d.error = source.error;
    d.flags = source.formatFlags;
    return d;
}

// Top row first, rows separated by '/', each pixel in hex: one digit up to 4 bits, two at 8.
inline std::string PixelText(const Image *frame)
{
    std::string out;
    const int digits = ImageGetBitCount(frame) > 4 ? 2 : 1;
    for (int32_t y = 0; y < ImageGetHeight(frame); ++y) {
        if (y) out += '/';
        for (int32_t x = 0; x < ImageGetWidth(frame); ++x) {
            char hex[9];
            std::snprintf(hex, sizeof(hex), "%0*x", digits, ImageGetPixel(frame, x, y));
            out += hex;
        }
    }
    return out;
}

} // namespace giftest
