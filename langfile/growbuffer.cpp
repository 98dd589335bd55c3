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

// The last freed block of at most this size is kept for the next buffer with its pages still
// backed: touching a fresh page costs more than what is written to it (about 12 us a page
// under Wine on the build machine, where a 65,000-record language file fills 4,000 pages), and
// the language file frees one model right before it makes the next (Open, then Save).
constexpr size_t kParkLimit = kReserveLimit;

namespace
{

struct Block {
    uint8_t *base;
    size_t reserved;
    size_t committed;
};

// One block at most; the program has one thread, so nothing guards it.
Block parked;

// The parked block if it suits a reservation of reserveBytes (not smaller, and not so much
// larger that a small buffer would take what a large one needs); base is null otherwise.
Block TakeParked(size_t reserveBytes)
{
    Block block{};
    if (parked.base && parked.reserved >= reserveBytes && parked.reserved / 4 <= reserveBytes) {
        block = parked;
        parked = Block{};
    }
    return block;
}

void ReleaseOrPark(Block block)
{
    if (block.reserved <= kParkLimit) {
        const Block previous = parked;
        parked = block;
        block = previous;
    }
    VmRelease(block.base, block.reserved);
}

} // namespace

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
    Block block = TakeParked(reserveBytes);
    if (!block.base) {
        block = Block{static_cast<uint8_t *>(VmReserve(reserveBytes)), reserveBytes, 0};
        if (!block.base) {
            free(buffer);
            return nullptr;
        }
    }
    if (commitBytes > block.committed) {
        if (!VmCommit(block.base + block.committed, commitBytes - block.committed)) {
            ReleaseOrPark(block);
            free(buffer);
            return nullptr;
        }
        block.committed = commitBytes;
    }
    buffer->capacity = initialCapacity;
    buffer->step = step;
    buffer->base = block.base;
    buffer->cursor = buffer->base;
    buffer->highWater = buffer->base;
    buffer->reserved = block.reserved;
    buffer->committed = block.committed;
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
    ReleaseOrPark(Block{buffer->base, buffer->reserved, buffer->committed});
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

// Grows the block, by whole steps, until offset + length bytes fit; 0 when it cannot.
// A pointer into the block given in `follow` is moved along if the block moves.
static int MakeRoom(GrowBuffer *buffer, size_t offset, size_t length, const void **follow)
{
    if (length > static_cast<size_t>(INT32_MAX) - offset) return 0;
    const int64_t needed = static_cast<int64_t>(offset + length);
    if (needed <= buffer->capacity) return 1;
    const int64_t steps = (needed - buffer->capacity + buffer->step - 1) / buffer->step;
    const int64_t newCapacity = buffer->capacity + steps * buffer->step;
    if (newCapacity > INT32_MAX) return 0;
    const uintptr_t from = follow ? reinterpret_cast<uintptr_t>(*follow) : 0;
    const uintptr_t blockStart = reinterpret_cast<uintptr_t>(buffer->base);
    const bool inside = from >= blockStart && from - blockStart < buffer->committed;
    if (!Grow(buffer, static_cast<int32_t>(newCapacity))) return 0;
    if (inside) *follow = buffer->base + (from - blockStart);
    return 1;
}

uint8_t *GrowBufferWrite(GrowBuffer *buffer, uint8_t *position, const void *source, size_t length)
{
    if (!buffer || (length && !source)) return nullptr;
    const uintptr_t at = reinterpret_cast<uintptr_t>(position);
    if (at < reinterpret_cast<uintptr_t>(buffer->base) || at > reinterpret_cast<uintptr_t>(buffer->highWater))
        return nullptr;
    const size_t offset = static_cast<size_t>(position - buffer->base);
    if (!MakeRoom(buffer, offset, length, &source)) return nullptr;
    if (length) memmove(buffer->base + offset, source, length);
    buffer->cursor = buffer->base + offset + length;
    if (buffer->cursor > buffer->highWater) buffer->highWater = buffer->cursor;
    return buffer->cursor;
}

uint8_t *GrowBufferExtend(GrowBuffer *buffer, size_t length)
{
    if (!buffer) return nullptr;
    const size_t offset = static_cast<size_t>(buffer->highWater - buffer->base);
    // Mostly the room is there: check that before anything else.
    if (length > static_cast<size_t>(buffer->capacity) - offset && !MakeRoom(buffer, offset, length, nullptr))
        return nullptr;
    buffer->highWater = buffer->base + offset + length;
    buffer->cursor = buffer->highWater;
    return buffer->base + offset;
}

void GrowBufferFree(GrowBuffer *buffer)
{
    if (!buffer) return;
    ReleaseOrPark(Block{buffer->base, buffer->reserved, buffer->committed});
    free(buffer);
}
