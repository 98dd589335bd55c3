// Expanding %NAME% references in the module path, with a made-up environment.
#include <gtest/gtest.h>

#include <map>
#include <string>

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

// Nothing past the capacity is touched, and the result is always terminated inside it.
std::string Expand(const char *source, size_t capacity, PathVariableLookup lookup = Lookup)
{
    std::string out(capacity + 16, '#');
    size_t n = ExpandPathVariables(source, out.data(), capacity, lookup, nullptr);
    EXPECT_EQ(out.find_first_not_of('#', capacity), std::string::npos) << source;
    if (capacity == 0) return n == 0 && out[0] == '#' ? "(nothing written)" : "(written)";
    EXPECT_LT(n, capacity);
    EXPECT_EQ(out[n], '\0');
    return out.c_str();
}

TEST(PathExpansion, ReferencesAreReplacedCutAndCancelledByTheirRules)
{
    for (const auto &row : ReadDataRows(PARLEVO_CATALOGUE_DATA "/pathexpand.txt", 22))
        EXPECT_EQ(Expand(row.at(0).c_str(), std::stoul(row.at(1))), row.at(2)) << row[0].substr(0, 40);
    EXPECT_EQ(Expand(nullptr, 260), "");
    // Without a lookup every reference is undefined.
    EXPECT_EQ(Expand("a%B%c", 32, nullptr), "ac");
}

} // namespace
