// The missing-module notice, filled from a format that a translator may have edited.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/noticetext.h"

namespace
{

TEST(NoticeText, FillsTheTwoPlaceholdersInOrderNeverReadsOthersAndCutsAtTheCapacity)
{
    const struct {
        const char *format;
        size_t capacity;
        const char *expected;
    } rows[] = {
        {"This program requires path information of program(%s).\nYou should set the path for \"%s\" file.", 512,
         "This program requires path information of program(Lumivex).\nYou should set the path for \"Lumivex.dll\" "
         "file."},
        {"%d %n %x %s %s %s 100%%", 512, "%d %n %x Lumivex Lumivex.dll  100%"},
        {"trailing %", 512, "trailing %"},
        {"", 512, ""},
        {nullptr, 512, ""},
        {"ab%scd", 6, "abLum"},
        {"abc", 1, ""},
        {"abc", 0, nullptr}}; // nothing written
    for (const auto &row : rows) {
        std::string out(row.capacity + 8, '#');
        size_t n = FormatNoticeText(row.format, "Lumivex", "Lumivex.dll", out.data(), row.capacity);
        EXPECT_EQ(out.find_first_not_of('#', row.capacity), std::string::npos) << row.format;
        // The result is terminated where the returned length says.
        EXPECT_EQ(row.expected ? std::string(out.data(), n + 1) : out.substr(0, 1),
                  row.expected ? std::string(row.expected) + '\0' : "#")
            << row.format;
    }
}

} // namespace
