// Expanding %NAME% references in the module path, with a made-up environment.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "catalogue/pathexpand.h"

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
    const std::string longName(300, 'n'), name259(259, 'N');
    const struct {
        std::string source;
        size_t capacity;
        std::string expected;
    } rows[] = {{"%HOST%\\Lumivex.dll", 260, "C:\\Program Files\\Lumivex\\Lumivex.dll"},
                {"%HOST%%HOST%", 260, "C:\\Program Files\\LumivexC:\\Program Files\\Lumivex"},
                {"%NOPE%\\Lumivex.dll", 260, "\\Lumivex.dll"}, // undefined: dropped
                {"a%EMPTY%b", 260, "ab"},
                {"plain\\path.dll", 260, "plain\\path.dll"},
                // A separator inside a reference writes it literally; a percent sign after it opens a new one.
                {"50%\\Lumivex.dll", 260, "50%\\Lumivex.dll"},
                {"C:/%dir/sub%A%", 260, "C:/%dir/subx"},
                {"%a\\b%A%c", 260, "%a\\bxc"},
                // An unclosed reference and a double percent sign vanish.
                {"C:\\Lumivex.dll%", 260, "C:\\Lumivex.dll"},
                {"C:\\Lumi%vex.dll", 260, "C:\\Lumi"},
                {"100%%", 260, "100"},
                {"%%A%", 260, "A"},
                {"", 260, ""},
                // Cut at the capacity: values, literal text and cancelled references alike.
                {"C:\\%LONG%\\Lumivex.dll", 260, "C:\\" + std::string(256, 'v')},
                {"12%B%", 6, "12abc"},
                {"%B%tail", 4, "abc"},
                {"1234567", 4, "123"},
                {"%" + longName + "\\file", 260, "%" + std::string(258, 'n')},
                {"ab%cdef\\g", 5, "ab%c"},
                // A name is cut to 259 characters before the lookup.
                {"%" + name259 + "EXTRA%", 260, "found"},
                {"abc", 1, ""},
                {"abc", 0, "(nothing written)"}};
    for (const auto &row : rows)
        EXPECT_EQ(Expand(row.source.c_str(), row.capacity), row.expected) << row.source.substr(0, 40);
    EXPECT_EQ(Expand(nullptr, 260), "");
    // Without a lookup every reference is undefined.
    EXPECT_EQ(Expand("a%B%c", 32, nullptr), "ac");
}

} // namespace
