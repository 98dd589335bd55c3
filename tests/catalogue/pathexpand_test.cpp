// Texts filled into a buffer of a given capacity: the module path with its %NAME% references
// expanded (with a made-up environment), and the missing-module notice from an editable format.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "catalogue/noticetext.h"
#include "catalogue/pathexpand.h"
#include "tests/support/datarows.h"

namespace
{

const std::map<std::string, std::string> kEnvironment = {
    {"HOST", "C:\\Program Files\\Lumivex"}, {"EMPTY", ""}, {"A", "x"}, {"B", "abcdef"}, {"LONG", std::string(300, 'v')},
    {std::string(259, 'N'), "found"}};

bool Lookup(const char *name, char *out, size_t capacity, void *)
{
    auto found = kEnvironment.find(name);
    if (found == kEnvironment.end()) return false;
    snprintf(out, capacity, "%s", found->second.c_str());
    return true;
}

// Nothing past the capacity is touched, and the result is terminated where the returned length says.
std::string Fill(size_t capacity, const std::function<size_t(char *, size_t)> &fill)
{
    std::string out(capacity + 16, '#');
    const size_t n = fill(out.data(), capacity);
    EXPECT_EQ(out.find_first_not_of('#', capacity), std::string::npos);
    if (capacity == 0) return n == 0 && out[0] == '#' ? "(nothing written)" : "(written)";
    EXPECT_TRUE(n < capacity && out[n] == '\0') << n;
    return out.c_str();
}

std::string Expand(const char *source, size_t capacity, PathVariableLookup lookup = Lookup)
{
    return Fill(capacity, [&](char *out, size_t c) { return ExpandPathVariables(source, out, c, lookup, nullptr); });
}

TEST(PathExpansion, ReferencesAreReplacedCutAndCancelledByTheirRules)
{
    for (const auto &row : ReadDataRows(PARLEVO_CATALOGUE_DATA "/pathexpand.txt", 22))
        EXPECT_EQ(Expand(row.at(0).c_str(), std::stoul(row.at(1))), row.at(2)) << row[0].substr(0, 40);
    // Without a lookup every reference is undefined.
    EXPECT_EQ(Expand(nullptr, 260) + Expand("a%B%c", 32, nullptr), "ac");
}

TEST(NoticeText, FillsTheTwoPlaceholdersInOrderNeverReadsOthersAndCutsAtTheCapacity)
{
    const auto notice = [](const char *format, size_t capacity) {
        return Fill(capacity,
                    [&](char *out, size_t c) { return FormatNoticeText(format, "Lumivex", "Lumivex.dll", out, c); });
    };
    for (const auto &row : ReadDataRows(PARLEVO_CATALOGUE_DATA "/notice.txt", 7))
        EXPECT_EQ(notice(row.at(0).c_str(), std::stoul(row.at(1))), row.at(2)) << row[0];
    EXPECT_EQ(notice(nullptr, 512), "");
}

} // namespace
