// A byte buffer that grows by whole steps when a write would pass its end; the language file
// keeps its item records in one, back to back.
#pragma once
#include <cstddef>
#include <cstdint>

// The first five fields are what the owner sees and reads directly: base up to highWater is the
// content, cursor is where the last write ended; base <= cursor <= highWater <= base + capacity.
//
// Growth keeps the step contract (a write that passes the end grows capacity by as many whole
// steps as it needs, in one go), but the block lives in one address-space reservation and a step
// only commits more of it in place. Only when the reservation is used up does the block move,
// once, to a reservation at least twice as large, so appending n bytes copies O(n) bytes overall.
// A freed block of up to 32 MiB is kept (one at a time) for the next buffer of about its size,
// its pages still backed: a new buffer's content is empty, but its block may be a used one.
struct GrowBuffer {
    int32_t capacity;
    int32_t step;
    uint8_t *base;
    uint8_t *cursor;
    uint8_t *highWater;
    size_t reserved;  // address space reserved at base
    size_t committed; // bytes usable at base: at least capacity, in whole pages
};

// Null when step < 1, initialCapacity < 0, or memory cannot be had (nothing stays allocated).
GrowBuffer *GrowBufferCreate(int32_t initialCapacity, int32_t step);

// Copies length bytes from source to position, a pointer into the content (base..highWater),
// growing the block when needed. Returns the new cursor, just past the written bytes; null when
// the arguments are bad or the block cannot grow, and then the buffer and its content are as
// they were. The block may move: pointers into it are stale after a write, except the fields.
uint8_t *GrowBufferWrite(GrowBuffer *buffer, uint8_t *position, const void *source, size_t length);

// Makes the content length bytes longer, growing as GrowBufferWrite does, and moves the cursor
// to its new end. Returns where the new bytes start, for the caller to fill in place: their
// values are unspecified. Null, with nothing changed, when the block cannot grow.
uint8_t *GrowBufferExtend(GrowBuffer *buffer, size_t length);

// Frees the block and the header; null is allowed.
void GrowBufferFree(GrowBuffer *buffer);
