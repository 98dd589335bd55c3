// What the image tests share: an owning image pointer, decoding through the registry as the program
// does, and a short text of a decoded image to compare with a table row.
#pragma once
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
    ImageSource source = {};
    source.size = static_cast<uint32_t>(bytes.size());
    source.data = bytes.data();
    Decoded d;
    d.image.reset(ImageLoad(&registry, &source));
    d.error = source.error;
    d.flags = source.formatFlags;
    return d;
}

// Top row first, one hex digit a pixel.
inline std::string PixelText(const Image *frame)
{
    std::string out;
    for (int32_t y = 0; y < ImageGetHeight(frame); ++y) {
        if (y) out += '/';
        for (int32_t x = 0; x < ImageGetWidth(frame); ++x)
            out += "0123456789abcdef"[ImageGetPixel(frame, x, y) & 0xF];
    }
    return out;
}

// "error=N" without an image; otherwise per frame its depth and pixels (only the size when there are
// more than 64), then the delay and colour key when set, frames separated by " | ", the loop count
// first when it is not 1.
inline std::string Describe(const Decoded &d)
{
    if (!d.image) return "error=" + std::to_string(d.error);
    std::string out;
    if (ImageGetLoopCount(d.image.get()) != 1) out = "loop=" + std::to_string(ImageGetLoopCount(d.image.get())) + " ";
    for (const Image *f = d.image.get(); f; f = ImageNextFrame(f)) {
        if (f != d.image.get()) out += " | ";
        out += std::to_string(ImageGetDepthCode(f)) + ":";
        int32_t w = ImageGetWidth(f), h = ImageGetHeight(f);
        out += w * h > 64 ? std::to_string(w) + "x" + std::to_string(h) : PixelText(f);
        if (ImageGetDelay(f)) out += " d" + std::to_string(ImageGetDelay(f));
        if (ImageGetTransparency(f)) out += " t" + std::to_string(ImageGetTransparentIndex(f));
    }
    return out;
}

} // namespace giftest
