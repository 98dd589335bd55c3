// Registering codecs and loading images through the first codec that accepts the data.
#include "image/codec.h"

CodecSlot *CodecRegister(CodecRegistry *registry, const CodecDescriptor *descriptor, uint32_t slotCount)
{
    if (!registry || !descriptor) return nullptr;
    if (slotCount > kCodecSlotCount) slotCount = kCodecSlotCount;
    if (slotCount == 0) return nullptr;
    // Search on from the slot behind the tail, wrapping round once.
    uint32_t start = 0;
    if (registry->tail) {
        uint32_t tailIndex = static_cast<uint32_t>(registry->tail - registry->slots);
        start = tailIndex + 1 < slotCount ? tailIndex + 1 : 0;
    }
    CodecSlot *slot = nullptr;
    for (uint32_t n = 0; n < slotCount && !slot; ++n) {
        CodecSlot *candidate = &registry->slots[(start + n) % slotCount];
        if (!candidate->inUse) slot = candidate;
    }
    if (!slot) return nullptr;
    slot->inUse = 1;
    slot->descriptor = *descriptor;
    slot->next = nullptr;
    slot->prev = registry->tail;
    if (registry->tail)
        registry->tail->next = slot;
    else
        registry->head = slot;
    registry->tail = slot;
    return slot;
}

CodecSlot *CodecFind(CodecRegistry *registry, ImageSource *source)
{
    if (!registry || !source) return nullptr;
    for (CodecSlot *slot = registry->head; slot; slot = slot->next) {
        if (!slot->descriptor.description || !slot->descriptor.probe) continue;
        if (slot->descriptor.probe(registry, source, 0)) return slot;
    }
    return nullptr;
}

Image *ImageLoad(CodecRegistry *registry, ImageSource *source)
{
    if (!source) return nullptr;
    source->error = kImageNoImage;
    CodecSlot *slot = CodecFind(registry, source);
    if (!slot || !slot->descriptor.decode) {
        source->error = kImageNoCodec;
        return nullptr;
    }
    source->formatFlags = 0;
    Image *image = slot->descriptor.decode(registry, source, 0);
    if (image) {
        image->codec = slot;
        source->error = kImageOk;
    }
    return image;
}
