// The GIF codec: probe, decoder and its registry descriptor.
#pragma once
#include "image/codec.h"

// No input claims unbounded memory or time: a canvas of more than 16384 x 16384 pixels is refused with
// kImageOutOfMemory, and so is a frame that would take all frames of the image together past as many
// pixels (the frames before it are returned).

// Non-zero when the data starts with "GIF8".
int GifProbe(CodecRegistry *registry, ImageSource *source, uint32_t flags);
// The first frame of a chain of complete canvases, or null; details in source->error.
Image *GifDecode(CodecRegistry *registry, ImageSource *source, uint32_t flags);

extern const CodecDescriptor kGifCodec;

// Registers every codec this program carries (GIF) in the registry; false when no slot was free.
bool RegisterBuiltinCodecs(CodecRegistry *registry);
