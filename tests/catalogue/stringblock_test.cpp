// String-table blocks read from their raw bytes, and the category table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/stringblock.h"

namespace
{

// A block as a resource compiler lays it out: per entry a length word and the code units.
std::vector<uint8_t> Block(const std::vector<std::u16string> &entries)
{
    std::vector<uint8_t> bytes;
    auto word = [&](uint16_t w) {
        bytes.push_back(uint8_t(w & 0xFF));
        bytes.push_back(uint8_t(w >> 8));
    };
    for (const std::u16string &text : entries) {
        word(uint16_t(text.size()));
        for (char16_t c : text)
            word(uint16_t(c));
    }
    return bytes;
}

struct Read {
    uint32_t id;
    std::u16string text;
};

std::vector<Read> ReadAll(const std::vector<uint8_t> &bytes, uint32_t block)
{
    std::vector<Read> out;
    StringBlockReader reader;
    if (!StringBlockBegin(&reader, bytes.data(), bytes.size(), block)) return out;
    StringEntry entry;
    while (StringBlockNext(&reader, &entry)) {
        std::u16string text;
        for (uint32_t i = 0; i < entry.length; ++i)
            text.push_back(char16_t(entry.text[2 * i] | entry.text[2 * i + 1] << 8));
        out.push_back({entry.id, text});
    }
    return out;
}

TEST(StringBlock, YieldsSixteenPositionsInIdOrderEmptyOnesIncluded)
{
    std::vector<std::u16string> entries(16);
    entries[0] = u"zero";
    entries[3] = u"three";
    entries[15] = u"fifteen";
    std::vector<Read> read = ReadAll(Block(entries), 7);
    ASSERT_EQ(read.size(), 16u);
    for (size_t i = 0; i < 16; ++i)
        EXPECT_EQ(read[i].id, 96 + i);
    EXPECT_EQ(read[0].text, u"zero");
    EXPECT_EQ(read[1].text, u"");
    EXPECT_EQ(read[3].text, u"three");
    EXPECT_EQ(read[15].text, u"fifteen");
}

TEST(StringBlock, FirstAndLastBlocksCoverIdsZeroAnd65535)
{
    std::vector<std::u16string> entries(16, u"x");
    EXPECT_EQ(ReadAll(Block(entries), 1).front().id, 0u);
    EXPECT_EQ(ReadAll(Block(entries), 4096).back().id, 65535u);
}

TEST(StringBlock, RefusesBlockNumbersOutsideTheIdRange)
{
    std::vector<uint8_t> bytes = Block(std::vector<std::u16string>(16, u"x"));
    StringBlockReader reader;
    EXPECT_FALSE(StringBlockBegin(&reader, bytes.data(), bytes.size(), 0));
    EXPECT_FALSE(StringBlockBegin(&reader, bytes.data(), bytes.size(), 4097));
    EXPECT_FALSE(StringBlockBegin(&reader, bytes.data(), 1, 1));
    EXPECT_FALSE(StringBlockBegin(&reader, nullptr, 32, 1));
    StringEntry entry;
    EXPECT_FALSE(StringBlockNext(&reader, &entry));
}

TEST(StringBlock, LengthPastTheEndIsCutToTheWordsLeft)
{
    std::vector<uint8_t> bytes = Block({u"ab", u"cdef"});
    bytes[6] = 0xFF; // the second entry claims 0xFF04 units
    bytes[7] = 0xFF;
    std::vector<Read> read = ReadAll(bytes, 1);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].text, u"ab");
    EXPECT_EQ(read[1].text, u"cdef");

    // An odd trailing byte is not a code unit.
    bytes = Block({u"ab"});
    bytes.push_back(0x41);
    read = ReadAll(bytes, 1);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].text, u"ab");
}

TEST(StringBlock, StopsAfterSixteenEntriesAndAtTheEndOfShortBlocks)
{
    std::vector<std::u16string> entries(20, u"y");
    EXPECT_EQ(ReadAll(Block(entries), 2).size(), 16u);
    EXPECT_EQ(ReadAll(Block({u"a", u"", u"b"}), 2).size(), 3u);
}

TEST(Categories, TenStartsInListOrderWithTheirTitles)
{
    size_t count = 0;
    const Category *table = CategoryTable(&count);
    ASSERT_EQ(count, 10u);
    const uint32_t starts[] = {1, 103, 1000, 30001, 40001, 50001, 52001, 53001, 54001, 54501};
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(table[i].startId, starts[i]);
    EXPECT_STREQ(CategoryTitleAt(1), "Standard string");
    EXPECT_STREQ(CategoryTitleAt(103), "Dialog title string");
    EXPECT_STREQ(CategoryTitleAt(40001), "Menu (Toolbar) string");
    EXPECT_STREQ(CategoryTitleAt(54501), "EXIF value string");
    EXPECT_EQ(CategoryTitleAt(0), nullptr);
    EXPECT_EQ(CategoryTitleAt(102), nullptr);
    EXPECT_EQ(CategoryTitleAt(54502), nullptr);
}

} // namespace
