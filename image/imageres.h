// Loading an image from a resource of a module through the codec registry (Windows only).
#pragma once
#include <windows.h>

#include "image/codec.h"

// A null module means the program's own; a null source means an internal block, so the caller sees
// no error code. The resource data stays owned by the module.
Image *ImageLoadResource(CodecRegistry *registry, HMODULE module, uint32_t resourceNumber, const char *resourceType,
                         ImageSource *source);
