// String-table blocks read from their raw bytes, and the category table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/stringblock.h"
#include "tests/support/datarows.h"

namespace
{

// "id:text" per entry read from the first size bytes, given alone so that a read past them shows.
std::string ReadAll(const std::string &bytes, uint32_t block, size_t size)
{
    const std::vector<uint8_t> given(bytes.begin(), bytes.begin() + std::min(size, bytes.size()));
    std::string out;
    StringBlockReader reader;
    if (!StringBlockBegin(&reader, given.data(), given.size(), block)) return out;
    for (StringEntry entry; StringBlockNext(&reader, &entry);) {
        out += (out.empty() ? "" : " ") + std::to_string(entry.id) + ":";
        for (uint32_t i = 0; i < entry.length; ++i)
            out += char(entry.text[2 * i] | entry.text[2 * i + 1] << 8);
    }
    return out;
}

TEST(StringBlock, YieldsSixteenIdsInOrderAndNeverReadsPastTheBytes)
{
    for (const auto &row : ReadDataRows(PARLEVO_CATALOGUE_DATA "/stringblock.txt", 11))
        EXPECT_EQ(ReadAll(row.at(0), std::stoul(row.at(1)), std::stoul(row.at(2))), row.at(3))
            << row[1] << " " << row[2];
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
