// The growable byte buffer: the step contract, content kept across growth, refusals.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "langfile/growbuffer.h"

namespace
{

struct BufferDeleter {
    void operator()(GrowBuffer *buffer) const { GrowBufferFree(buffer); }
};
using BufferPtr = std::unique_ptr<GrowBuffer, BufferDeleter>;

std::vector<uint8_t> Content(const GrowBuffer *buffer)
{
    return std::vector<uint8_t>(buffer->base, buffer->highWater);
}

TEST(GrowBuffer, GrowsByAsManyStepsAsAWriteNeedsInOneGo)
{
    BufferPtr buffer(GrowBufferCreate(8, 4));
    ASSERT_TRUE(buffer);
    const uint8_t bytes[15] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    uint8_t *end = GrowBufferWrite(buffer.get(), buffer->base, bytes, sizeof(bytes));
    EXPECT_EQ(end, buffer->base + 15);
    EXPECT_EQ(buffer->capacity, 16);
    EXPECT_EQ(buffer->cursor, buffer->base + 15);
    EXPECT_EQ(buffer->highWater, buffer->base + 15);
    EXPECT_EQ(Content(buffer.get()), std::vector<uint8_t>(bytes, bytes + 15));
}

TEST(GrowBuffer, EmptyWriteAtCursorChangesNothing)
{
    BufferPtr buffer(GrowBufferCreate(8, 4));
    GrowBufferWrite(buffer.get(), buffer->base, "abcdef", 6);
    const GrowBuffer before = *buffer;
    EXPECT_EQ(GrowBufferWrite(buffer.get(), buffer->cursor, nullptr, 0), before.cursor);
    EXPECT_EQ(buffer->capacity, before.capacity);
    EXPECT_EQ(buffer->base, before.base);
    EXPECT_EQ(buffer->cursor, before.cursor);
    EXPECT_EQ(buffer->highWater, before.highWater);
}

TEST(GrowBuffer, WriteBelowHighWaterOverwritesWithoutShortening)
{
    BufferPtr buffer(GrowBufferCreate(16, 16));
    GrowBufferWrite(buffer.get(), buffer->base, "0123456789", 10);
    EXPECT_EQ(GrowBufferWrite(buffer.get(), buffer->base, "abcd", 4), buffer->base + 4);
    EXPECT_EQ(buffer->cursor, buffer->base + 4);
    EXPECT_EQ(buffer->highWater, buffer->base + 10);
    EXPECT_EQ(std::string(buffer->base, buffer->highWater), "abcd456789");
}

// 65,000 language-file records fit the first reservation: the block never moves, so growth
// copies nothing.
TEST(GrowBuffer, LanguageFileRecordsGrowInPlace)
{
    BufferPtr buffer(GrowBufferCreate(262144, 65536));
    ASSERT_TRUE(buffer);
    uint8_t *const base = buffer->base;
    uint8_t record[256];
    for (uint32_t i = 0; i < 65000; ++i) {
        memset(record, static_cast<int>(i), sizeof(record));
        memcpy(record, &i, sizeof(i));
        ASSERT_TRUE(GrowBufferWrite(buffer.get(), buffer->cursor, record, sizeof(record)));
        ASSERT_EQ(buffer->base, base);
    }
    EXPECT_EQ(buffer->capacity, 262144 + 250 * 65536); // the first whole step to hold 16,640,000 bytes
    for (uint32_t i = 0; i < 65000; i += 997) {
        uint32_t stored;
        memcpy(&stored, buffer->base + i * 256, sizeof(stored));
        EXPECT_EQ(stored, i);
        EXPECT_EQ(buffer->base[i * 256 + 255], static_cast<uint8_t>(i));
    }
}

// Past its reservation the block moves; the content, the cursor's offset and the step contract
// come along.
TEST(GrowBuffer, KeepsContentAndStepsWhenTheBlockMoves)
{
    BufferPtr buffer(GrowBufferCreate(8, 4));
    std::vector<uint8_t> expected;
    for (int i = 0; i < 300000; ++i) {
        const uint8_t byte = static_cast<uint8_t>(i * 7);
        const uint8_t *end = GrowBufferWrite(buffer.get(), buffer->cursor, &byte, 1);
        ASSERT_EQ(end, buffer->base + i + 1);
        expected.push_back(byte);
        // The smallest capacity 8 + 4k that holds the content.
        ASSERT_EQ(buffer->capacity, i + 1 <= 8 ? 8 : 8 + (i + 1 - 8 + 3) / 4 * 4);
    }
    EXPECT_EQ(Content(buffer.get()), expected);

    // A source inside the block stays valid when the write that reads it moves the block.
    ASSERT_GT(2 * expected.size(), buffer->reserved);
    uint8_t *const oldBase = buffer->base;
    ASSERT_TRUE(GrowBufferWrite(buffer.get(), buffer->highWater, buffer->base, expected.size()));
    EXPECT_NE(buffer->base, oldBase);
    EXPECT_EQ(0, memcmp(buffer->base, expected.data(), expected.size()));
    EXPECT_EQ(0, memcmp(buffer->base + expected.size(), expected.data(), expected.size()));
}

TEST(GrowBuffer, RefusesBadArgumentsAndChangesNothing)
{
    EXPECT_FALSE(GrowBufferCreate(8, 0));
    EXPECT_FALSE(GrowBufferCreate(-1, 4));
    GrowBufferFree(nullptr);

    BufferPtr buffer(GrowBufferCreate(8, 4));
    GrowBufferWrite(buffer.get(), buffer->base, "abc", 3);
    const GrowBuffer before = *buffer;
    EXPECT_FALSE(GrowBufferWrite(nullptr, nullptr, "x", 1));
    EXPECT_FALSE(GrowBufferWrite(buffer.get(), buffer->highWater + 1, "x", 1));
    EXPECT_FALSE(GrowBufferWrite(buffer.get(), buffer->base - 1, "x", 1));
    EXPECT_FALSE(GrowBufferWrite(buffer.get(), buffer->cursor, nullptr, 1));
    // Past what a 32-bit capacity can describe.
    EXPECT_FALSE(GrowBufferWrite(buffer.get(), buffer->cursor, "x", size_t{INT32_MAX}));
    EXPECT_EQ(buffer->capacity, before.capacity);
    EXPECT_EQ(buffer->cursor, before.cursor);
    EXPECT_EQ(buffer->highWater, before.highWater);
    EXPECT_EQ(std::string(buffer->base, buffer->highWater), "abc");
}

TEST(GrowBuffer, ExtendAddsSpaceAtTheEndByTheSameSteps)
{
    BufferPtr buffer(GrowBufferCreate(8, 4));
    GrowBufferWrite(buffer.get(), buffer->base, "abcdef", 6);
    GrowBufferWrite(buffer.get(), buffer->base, "AB", 2); // the cursor is not the end
    uint8_t *space = GrowBufferExtend(buffer.get(), 9);
    ASSERT_EQ(space, buffer->base + 6);
    EXPECT_EQ(buffer->capacity, 16);
    EXPECT_EQ(buffer->highWater, buffer->base + 15);
    EXPECT_EQ(buffer->cursor, buffer->highWater);
    memcpy(space, "123456789", 9);
    EXPECT_EQ(std::string(buffer->base, buffer->highWater), "ABcdef123456789");
    EXPECT_FALSE(GrowBufferExtend(buffer.get(), size_t{INT32_MAX}));
    EXPECT_EQ(buffer->highWater, buffer->base + 15);
    EXPECT_FALSE(GrowBufferExtend(nullptr, 1));
}

// A buffer made right after another was freed starts empty, with its own capacity and step,
// whatever block it got.
TEST(GrowBuffer, NewBufferAfterAFreedOneStartsEmpty)
{
    BufferPtr first(GrowBufferCreate(262144, 65536));
    std::vector<uint8_t> bytes(1000000, 0xAB);
    ASSERT_TRUE(GrowBufferWrite(first.get(), first->base, bytes.data(), bytes.size()));
    first.reset();
    BufferPtr second(GrowBufferCreate(262144, 65536));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->capacity, 262144);
    EXPECT_EQ(second->step, 65536);
    EXPECT_EQ(second->highWater, second->base);
    EXPECT_EQ(second->cursor, second->base);
    ASSERT_TRUE(GrowBufferWrite(second.get(), second->base, bytes.data(), 300000));
    EXPECT_EQ(second->capacity, 327680);
    BufferPtr third(GrowBufferCreate(262144, 65536)); // while the second holds the block
    ASSERT_TRUE(third);
    EXPECT_NE(third->base, second->base);
}

TEST(GrowBuffer, ZeroCapacityBufferGrowsOnFirstWrite)
{
    BufferPtr buffer(GrowBufferCreate(0, 10));
    ASSERT_TRUE(buffer);
    EXPECT_EQ(buffer->base, buffer->highWater);
    ASSERT_TRUE(GrowBufferWrite(buffer.get(), buffer->base, "abc", 3));
    EXPECT_EQ(buffer->capacity, 10);
    EXPECT_EQ(std::string(buffer->base, buffer->highWater), "abc");
}

} // namespace
