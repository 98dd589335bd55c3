// libFuzzer entry: any bytes through the codec registry into the GIF decoder. Every frame that comes
// back must be a whole, readable canvas.
#include <cstdlib>

#include "image/gif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static CodecRegistry registry = {};
    static bool registered = RegisterBuiltinCodecs(&registry);
    if (!registered || size > 0xFFFFFFFFu) return 0;
    ImageSource source = {};
    source.size = static_cast<uint32_t>(size);
    source.data = data;
    Image *image = ImageLoad(&registry, &source);
    if (!image && source.error == kImageOk) std::abort();
    uint32_t sum = 0;
    for (const Image *frame = image; frame; frame = ImageNextFrame(frame)) {
        int32_t width = ImageGetWidth(frame), height = ImageGetHeight(frame);
        int32_t depth = ImageGetDepthCode(frame);
        if (width < 1 || height < 1 || !ImageGetBits(frame) || (depth != 1 && depth != 4 && depth != 8)) std::abort();
        // The corners, read through the pixel routines: ASan sees any short buffer.
        sum += ImageGetPixel(frame, 0, 0) + ImageGetPixel(frame, width - 1, height - 1);
        PALETTEENTRY palette[256];
        if (ImageGetPalette(frame, palette) != (1u << depth)) std::abort();
    }
    Image *copy = ImageDuplicate(image, 1);
    ImageFree(copy);
    ImageFree(image);
    volatile uint32_t sink = sum;
    (void)sink;
    return 0;
}
