// The GIF codec: probe, decoder and its registry descriptor.
#pragma once
#include "image/codec.h"

// Limits that keep any input from claiming unbounded memory: the area of one canvas, and the
// pixels of all frames of one image together.
constexpr uint64_t kGifMaxCanvasPixels = uint64_t{16384} * 16384;
constexpr uint64_t kGifMaxChainPixels = uint64_t{16384} * 16384;

// Non-zero when the data starts with "GIF8".
int GifProbe(CodecRegistry *registry, ImageSource *source, uint32_t flags);
// The first frame of a chain of complete canvases, or null; details in source->error.
Image *GifDecode(CodecRegistry *registry, ImageSource *source, uint32_t flags);

extern const CodecDescriptor kGifCodec;

// Registers every codec this program carries (GIF) in the registry; false when no slot was free.
bool RegisterBuiltinCodecs(CodecRegistry *registry);
