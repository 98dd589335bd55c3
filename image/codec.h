// The codec registry: codec descriptors in a caller-owned table of slots, and loading from memory.
#pragma once
#include <cstdint>

#include "image/image.h"

struct CodecRegistry;

// The parameter block of a load, zero-filled by its owner.
struct ImageSource {
    uint32_t size;        // bytes of data
    const uint8_t *data;  // not owned
    uint32_t error;       // an ImageError, written by the load
    uint32_t formatFlags; // cleared by the load; codecs report what they met
    uint32_t options[4];  // load options; carried, left zero here
};

// Format flag set by the GIF decoder when any frame is interlaced.
constexpr uint32_t kFormatInterlaced = 0x80;

typedef int (*CodecProbeFn)(CodecRegistry *registry, ImageSource *source, uint32_t flags);
typedef Image *(*CodecDecodeFn)(CodecRegistry *registry, ImageSource *source, uint32_t flags);
typedef int (*CodecEncodeFn)(CodecRegistry *registry, ImageSource *source, Image *image, uint32_t flags);

struct CodecOption {
    uint32_t number;
    const char *name;
    uintptr_t reserved[2];
};

struct CodecOptionSet {
    uint32_t count;
    const CodecOption *options;
};

// A codec as a record of routines and texts. Only probe and decode are called.
struct CodecDescriptor {
    CodecProbeFn probe;
    CodecDecodeFn decode;
    CodecEncodeFn encode;
    const char *description;
    const char *extensions; // names separated by NUL, ended by an empty name
    uintptr_t reserved;
    const CodecOptionSet *options;
};

struct CodecSlot {
    CodecDescriptor descriptor;
    int inUse;
    CodecSlot *next;
    CodecSlot *prev;
};

constexpr uint32_t kCodecSlotCount = 4;

// Zero-filled by its owner; the list runs from head to tail in registration order.
struct CodecRegistry {
    CodecSlot *head;
    CodecSlot *tail;
    CodecSlot slots[kCodecSlotCount];
};

// The slot the descriptor was copied into, or null when the first slotCount slots are all in use.
CodecSlot *CodecRegister(CodecRegistry *registry, const CodecDescriptor *descriptor, uint32_t slotCount);
// The slot of the first registered codec whose probe accepts the data, or null.
CodecSlot *CodecFind(CodecRegistry *registry, ImageSource *source);
// The first frame of the decoded image, or null; the outcome is in source->error.
Image *ImageLoad(CodecRegistry *registry, ImageSource *source);
