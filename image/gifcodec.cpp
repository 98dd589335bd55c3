// The GIF codec's descriptor and its registration.
#include "image/gif.h"

namespace
{

const CodecOption kGifOptions[] = {{0, "Interlaced", {0, 0}}};
const CodecOptionSet kGifOptionSet = {1, kGifOptions};

} // namespace

const CodecDescriptor kGifCodec = {
    GifProbe, GifDecode, nullptr, "Graphics Interchange Format", "GIF\0", 0, &kGifOptionSet,
};

int GifProbe(CodecRegistry *, ImageSource *source, uint32_t)
{
    if (!source || !source->data || source->size < 4) return 0;
    const uint8_t *d = source->data;
    return d[0] == 'G' && d[1] == 'I' && d[2] == 'F' && d[3] == '8';
}

bool RegisterBuiltinCodecs(CodecRegistry *registry)
{
    return CodecRegister(registry, &kGifCodec, kCodecSlotCount) != nullptr;
}
