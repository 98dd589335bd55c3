// The missing-module notice, filled from a format that a translator may have edited.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/noticetext.h"

namespace
{

std::string Format(const char *format, size_t capacity = 512)
{
    std::string out(capacity + 8, '#');
    size_t n = FormatNoticeText(format, "Lumivex", "Lumivex.dll", out.data(), capacity);
    EXPECT_EQ(out[n], '\0');
    for (size_t i = capacity; i < out.size(); ++i)
        EXPECT_EQ(out[i], '#');
    return out.c_str();
}

TEST(NoticeText, FillsTheTwoPlaceholdersInOrder)
{
    EXPECT_EQ(Format("This program requires path information of program(%s).\nYou should set the path for \"%s\" "
                     "file in preferences."),
              "This program requires path information of program(Lumivex).\nYou should set the path for "
              "\"Lumivex.dll\" file in preferences.");
}

TEST(NoticeText, OtherConversionsNeverReadArguments)
{
    EXPECT_EQ(Format("%d %n %x %s %s %s 100%%"), "%d %n %x Lumivex Lumivex.dll  100%");
    EXPECT_EQ(Format("trailing %"), "trailing %");
    EXPECT_EQ(Format(""), "");
    EXPECT_EQ(Format(nullptr), "");
}

TEST(NoticeText, CutAtTheCapacity)
{
    EXPECT_EQ(Format("ab%scd", 6), "abLum");
    EXPECT_EQ(Format("abc", 1), "");
    char out[1] = {'#'};
    EXPECT_EQ(FormatNoticeText("abc", "", "", out, 0), 0u);
    EXPECT_EQ(out[0], '#');
}

} // namespace
