// Images from module resources: the resource is decoded in place, without a copy.
#include "image/imageres.h"

Image *ImageLoadResource(CodecRegistry *registry, HMODULE module, uint32_t resourceNumber, const char *resourceType,
                         ImageSource *source)
{
    ImageSource ownSource = {};
    if (!source) source = &ownSource;
    if (!module) module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceNumber), resourceType);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void *data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        source->error = kImageResourceMissing;
        return nullptr;
    }
    source->size = SizeofResource(module, found);
    source->data = static_cast<const uint8_t *>(data);
    return ImageLoad(registry, source);
}
