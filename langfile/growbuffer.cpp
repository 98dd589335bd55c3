// The growable byte buffer over a reserved address range (see langfile/vmspace.h).
#include "langfile/growbuffer.h"

#include <cstdlib>
#include <cstring>

#include "langfile/vmspace.h"

// A buffer reserves this many times its initial capacity up front, within the bounds below:
// the language file's 256 KiB records buffer gets 32 MiB, room for about 130,000 records
// before the block first moves, while a 32-bit process keeps nearly all of its address space.
constexpr int64_t kReserveFactor = 128;
constexpr int64_t kReserveLimit = 32 << 20;

static size_t RoundUpToPages(size_t bytes)
{
    const size_t page = VmPageSize();
    return (bytes + page - 1) / page * page;
}

GrowBuffer *GrowBufferCreate(int32_t initialCapacity, int32_t step)
{
    if (initialCapacity < 0 || step < 1) return nullptr;
    int64_t reserve = static_cast<int64_t>(initialCapacity) * kReserveFactor;
    if (reserve > kReserveLimit) reserve = kReserveLimit;
    if (reserve < initialCapacity) reserve = initialCapacity;
    const size_t reserveBytes = RoundUpToPages(reserve > 0 ? static_cast<size_t>(reserve) : 1);
    const size_t commitBytes = RoundUpToPages(static_cast<size_t>(initialCapacity));

    GrowBuffer *buffer = static_cast<GrowBuffer *>(calloc(1, sizeof(GrowBuffer)));
    if (!buffer) return nullptr;
    void *block = VmReserve(reserveBytes);
    if (!block || (commitBytes && !VmCommit(block, commitBytes))) {
        VmRelease(block, reserveBytes);
        free(buffer);
        return nullptr;
    }
    buffer->capacity = initialCapacity;
    buffer->step = step;
    buffer->base = static_cast<uint8_t *>(block);
    buffer->cursor = buffer->base;
    buffer->highWater = buffer->base;
    buffer->reserved = reserveBytes;
    buffer->committed = commitBytes;
    return buffer;
}

// Moves the content into a fresh reservation with at least `commitBytes` committed.
static int MoveToLargerReservation(GrowBuffer *buffer, size_t commitBytes)
{
    size_t reserveBytes = commitBytes;
    if (buffer->reserved <= SIZE_MAX / 2 && buffer->reserved * 2 > reserveBytes) reserveBytes = buffer->reserved * 2;
    void *block = VmReserve(reserveBytes);
    if (!block && reserveBytes > commitBytes) {
        reserveBytes = commitBytes;
        block = VmReserve(reserveBytes);
    }
    if (!block) return 0;
    if (!VmCommit(block, commitBytes)) {
        VmRelease(block, reserveBytes);
        return 0;
    }
    uint8_t *newBase = static_cast<uint8_t *>(block);
    memcpy(newBase, buffer->base, static_cast<size_t>(buffer->highWater - buffer->base));
    VmRelease(buffer->base, buffer->reserved);
    buffer->cursor = newBase + (buffer->cursor - buffer->base);
    buffer->highWater = newBase + (buffer->highWater - buffer->base);
    buffer->base = newBase;
    buffer->reserved = reserveBytes;
    buffer->committed = commitBytes;
    return 1;
}

static int Grow(GrowBuffer *buffer, int32_t newCapacity)
{
    const size_t commitBytes = RoundUpToPages(static_cast<size_t>(newCapacity));
    if (commitBytes > buffer->reserved) {
        if (!MoveToLargerReservation(buffer, commitBytes)) return 0;
    } else if (commitBytes > buffer->committed) {
        if (!VmCommit(buffer->base + buffer->committed, commitBytes - buffer->committed)) return 0;
        buffer->committed = commitBytes;
    }
    buffer->capacity = newCapacity;
    return 1;
}

uint8_t *GrowBufferWrite(GrowBuffer *buffer, uint8_t *position, const void *source, size_t length)
{
    if (!buffer || (length && !source)) return nullptr;
    const uintptr_t at = reinterpret_cast<uintptr_t>(position);
    if (at < reinterpret_cast<uintptr_t>(buffer->base) || at > reinterpret_cast<uintptr_t>(buffer->highWater))
        return nullptr;
    const size_t offset = static_cast<size_t>(position - buffer->base);
    if (length > static_cast<size_t>(INT32_MAX) - offset) return nullptr;
    const int64_t needed = static_cast<int64_t>(offset + length);
    if (needed > buffer->capacity) {
        const int64_t steps = (needed - buffer->capacity + buffer->step - 1) / buffer->step;
        const int64_t newCapacity = buffer->capacity + steps * buffer->step;
        if (newCapacity > INT32_MAX) return nullptr;
        // A source inside the block must follow it if the block moves.
        const uintptr_t from = reinterpret_cast<uintptr_t>(source);
        const uintptr_t blockStart = reinterpret_cast<uintptr_t>(buffer->base);
        const bool inside = from >= blockStart && from - blockStart < buffer->committed;
        const size_t sourceOffset = inside ? from - blockStart : 0;
        if (!Grow(buffer, static_cast<int32_t>(newCapacity))) return nullptr;
        if (inside) source = buffer->base + sourceOffset;
    }
    if (length) memmove(buffer->base + offset, source, length);
    buffer->cursor = buffer->base + offset + length;
    if (buffer->cursor > buffer->highWater) buffer->highWater = buffer->cursor;
    return buffer->cursor;
}

void GrowBufferFree(GrowBuffer *buffer)
{
    if (!buffer) return;
    VmRelease(buffer->base, buffer->reserved);
    free(buffer);
}
