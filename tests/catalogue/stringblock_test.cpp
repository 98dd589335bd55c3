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
    for (const std::u16string &text : entries) {
        std::u16string words = char16_t(text.size()) + text;
        for (char16_t c : words)
            bytes.insert(bytes.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8)});
    }
    return bytes;
}

// "id:text" per entry read.
std::vector<std::string> ReadAll(const std::vector<uint8_t> &bytes, uint32_t block, size_t size = SIZE_MAX)
{
    std::vector<std::string> out;
    StringBlockReader reader;
    if (!StringBlockBegin(&reader, bytes.data(), std::min(size, bytes.size()), block)) return out;
    for (StringEntry entry; StringBlockNext(&reader, &entry);) {
        std::string text = std::to_string(entry.id) + ":";
        for (uint32_t i = 0; i < entry.length; ++i)
            text += char(entry.text[2 * i] | entry.text[2 * i + 1] << 8);
        out.push_back(text);
    }
    return out;
}

TEST(StringBlock, YieldsSixteenIdsInOrderAndNeverReadsPastTheBytes)
{
    std::vector<std::u16string> entries(16);
    entries[0] = u"zero", entries[3] = u"three", entries[15] = u"fifteen";
    std::vector<std::string> read = ReadAll(Block(entries), 7);
    ASSERT_EQ(read.size(), 16u);
    EXPECT_EQ(read[0] + " " + read[1] + " " + read[3] + " " + read[15], "96:zero 97: 99:three 111:fifteen");
    EXPECT_EQ(ReadAll(Block(std::vector<std::u16string>(16, u"x")), 1).front(), "0:x");
    EXPECT_EQ(ReadAll(Block(std::vector<std::u16string>(16, u"x")), 4096).back(), "65535:x");
    EXPECT_EQ(ReadAll(Block(std::vector<std::u16string>(20, u"y")), 2).size(), 16u);
    EXPECT_EQ(ReadAll(Block({u"a", u"", u"b"}), 2), (std::vector<std::string>{"16:a", "17:", "18:b"}));
    // A length past the end is cut to the words left; an odd trailing byte is no code unit.
    std::vector<uint8_t> bytes = Block({u"ab", u"cdef"});
    bytes[6] = bytes[7] = 0xFF;
    EXPECT_EQ(ReadAll(bytes, 1), (std::vector<std::string>{"0:ab", "1:cdef"}));
    EXPECT_EQ(ReadAll(bytes, 1, bytes.size() - 1), (std::vector<std::string>{"0:ab", "1:cde"}));
    EXPECT_EQ(ReadAll(bytes, 1, 7), (std::vector<std::string>{"0:ab"}));
    // Blocks outside the ID range and too few bytes are refused; a refused reader yields nothing.
    bytes = Block(std::vector<std::u16string>(16, u"x"));
    EXPECT_TRUE(ReadAll(bytes, 0).empty() && ReadAll(bytes, 4097).empty() && ReadAll(bytes, 1, 1).empty());
    StringBlockReader reader;
    StringEntry entry;
    EXPECT_FALSE(StringBlockBegin(&reader, nullptr, 32, 1) || StringBlockNext(&reader, &entry));
}

TEST(Categories, TenStartsInListOrderWithTheirTitles)
{
    size_t count = 0;
    const Category *table = CategoryTable(&count);
    std::string starts, titles;
    for (size_t i = 0; i < count; ++i)
        starts += std::to_string(table[i].startId) + " ";
    for (uint32_t id : {0, 1, 102, 103, 40001, 54501, 54502})
        titles += (CategoryTitleAt(id) ? CategoryTitleAt(id) : "-") + std::string("|");
    EXPECT_EQ(starts + titles, "1 103 1000 30001 40001 50001 52001 53001 54001 54501 "
                               "-|Standard string|-|Dialog title string|Menu (Toolbar) string|EXIF value string|-|");
}

} // namespace
