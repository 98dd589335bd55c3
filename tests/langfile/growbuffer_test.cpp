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

std::string Content(const GrowBuffer *buffer)
{
    return std::string(buffer->base, buffer->highWater);
}

// Capacity is the smallest 8 + 4k that holds the content; a source inside a moving block stays valid.
TEST(GrowBuffer, GrowsByWholeStepsAndKeepsContentWhenTheBlockMoves)
{
    BufferPtr buffer(GrowBufferCreate(8, 4));
    EXPECT_EQ(GrowBufferWrite(buffer.get(), buffer->base, "0123456789abcde", 15), buffer->base + 15);
    EXPECT_EQ(GrowBufferWrite(buffer.get(), buffer->base, "ABCD", 4), buffer->base + 4);
    EXPECT_EQ(Content(buffer.get()), "ABCD456789abcde") << "a write below the high water does not shorten";
    EXPECT_EQ(GrowBufferWrite(buffer.get(), buffer->cursor, nullptr, 0), buffer->base + 4);
    std::string expected = Content(buffer.get());
    for (int i = 15; i < 300000; ++i) {
        const char byte = static_cast<char>(i * 7);
        const uint8_t *end = GrowBufferWrite(buffer.get(), buffer->highWater, &byte, 1);
        ASSERT_EQ(end, buffer->base + i + 1);
        expected += byte;
        ASSERT_EQ(buffer->capacity, 8 + (i + 1 - 8 + 3) / 4 * 4);
    }
    EXPECT_EQ(Content(buffer.get()), expected);
    ASSERT_GT(2 * expected.size(), buffer->reserved);
    uint8_t *const oldBase = buffer->base;
    ASSERT_TRUE(GrowBufferWrite(buffer.get(), buffer->highWater, buffer->base, expected.size()));
    EXPECT_NE(buffer->base, oldBase);
    EXPECT_EQ(Content(buffer.get()), expected + expected);
}

// 65,000 language-file records fit the first reservation: growth never moves (copies) the block.
TEST(GrowBuffer, LanguageFileRecordsGrowInPlace)
{
    BufferPtr buffer(GrowBufferCreate(262144, 65536));
    ASSERT_TRUE(buffer);
    uint8_t *const base = buffer->base;
    const uint8_t record[256] = {};
    for (uint32_t i = 0; i < 65000; ++i)
        ASSERT_TRUE(GrowBufferWrite(buffer.get(), buffer->cursor, record, sizeof(record)) && buffer->base == base);
    EXPECT_EQ(buffer->capacity, 262144 + 250 * 65536); // the first whole step to hold 16,640,000 bytes
}

TEST(GrowBuffer, RefusesBadArgumentsAndChangesNothing)
{
    EXPECT_FALSE(GrowBufferCreate(8, 0) || GrowBufferCreate(-1, 4));
    GrowBufferFree(nullptr);
    BufferPtr empty(GrowBufferCreate(0, 10));
    ASSERT_TRUE(GrowBufferWrite(empty.get(), empty->base, "abc", 3));
    EXPECT_EQ(empty->capacity, 10) << "a zero capacity grows on the first write";

    BufferPtr buffer(GrowBufferCreate(8, 4));
    GrowBufferWrite(buffer.get(), buffer->base, "abcdef", 6);
    GrowBufferWrite(buffer.get(), buffer->base, "AB", 2);
    GrowBuffer *const b = buffer.get();
    EXPECT_FALSE(GrowBufferWrite(nullptr, nullptr, "x", 1) || GrowBufferWrite(b, b->highWater + 1, "x", 1) ||
                 GrowBufferWrite(b, b->base - 1, "x", 1) || GrowBufferWrite(b, b->cursor, nullptr, 1) ||
                 GrowBufferWrite(b, b->cursor, "x", size_t{INT32_MAX}) || GrowBufferExtend(b, size_t{INT32_MAX}) ||
                 GrowBufferExtend(nullptr, 1));
    EXPECT_EQ(buffer->capacity * 100 + (buffer->cursor - buffer->base), 802);
    // Extending adds space at the end by the same steps, wherever the cursor is.
    uint8_t *space = GrowBufferExtend(buffer.get(), 9);
    ASSERT_EQ(space, buffer->base + 6);
    EXPECT_TRUE(buffer->capacity == 16 && buffer->cursor == buffer->highWater);
    memcpy(space, "123456789", 9);
    EXPECT_EQ(Content(buffer.get()), "ABcdef123456789");
}

} // namespace
