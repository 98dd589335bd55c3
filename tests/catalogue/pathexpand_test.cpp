// Expanding %NAME% references in the module path, with a made-up environment.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "catalogue/pathexpand.h"

namespace
{

using Environment = std::map<std::string, std::string>;

bool Lookup(const char *name, char *out, size_t capacity, void *context)
{
    const auto &environment = *static_cast<const Environment *>(context);
    auto found = environment.find(name);
    if (found == environment.end()) return false;
    size_t n = found->second.size() < capacity - 1 ? found->second.size() : capacity - 1;
    memcpy(out, found->second.data(), n);
    out[n] = '\0';
    return true;
}

std::string Expand(const char *source, const Environment &environment = {}, size_t capacity = 260)
{
    std::string out(capacity + 16, '#');
    size_t n = ExpandPathVariables(source, out.data(), capacity, Lookup, const_cast<Environment *>(&environment));
    EXPECT_EQ(out[n], '\0');
    EXPECT_LT(n, capacity);
    // Nothing past the capacity was touched.
    for (size_t i = capacity; i < out.size(); ++i)
        EXPECT_EQ(out[i], '#') << "byte " << i;
    return std::string(out.c_str());
}

TEST(PathExpansion, ReplacesDefinedVariablesAndDropsUndefinedOnes)
{
    Environment env = {{"HOST", "C:\\Program Files\\Lumivex"}, {"EMPTY", ""}};
    EXPECT_EQ(Expand("%HOST%\\Lumivex.dll", env), "C:\\Program Files\\Lumivex\\Lumivex.dll");
    EXPECT_EQ(Expand("%NOPE%\\Lumivex.dll", env), "\\Lumivex.dll");
    EXPECT_EQ(Expand("a%EMPTY%b", env), "ab");
    EXPECT_EQ(Expand("%HOST%%HOST%", env), "C:\\Program Files\\LumivexC:\\Program Files\\Lumivex");
    EXPECT_EQ(Expand("plain\\path.dll", env), "plain\\path.dll");
}

TEST(PathExpansion, SeparatorInsideAReferenceWritesItLiterally)
{
    Environment env = {{"A", "x"}};
    EXPECT_EQ(Expand("50%\\Lumivex.dll", env), "50%\\Lumivex.dll");
    EXPECT_EQ(Expand("C:/%dir/sub%A%", env), "C:/%dir/subx");
    // A percent sign after the cancelled reference opens a new one.
    EXPECT_EQ(Expand("%a\\b%A%c", env), "%a\\bxc");
}

TEST(PathExpansion, TrailingPercentAndDoublePercentVanish)
{
    Environment env = {{"A", "x"}};
    EXPECT_EQ(Expand("C:\\Lumivex.dll%", env), "C:\\Lumivex.dll");
    EXPECT_EQ(Expand("C:\\Lumi%vex.dll", env), "C:\\Lumi");
    EXPECT_EQ(Expand("100%%", env), "100");
    EXPECT_EQ(Expand("%%A%", env), "A");
    EXPECT_EQ(Expand("", env), "");
    EXPECT_EQ(Expand(nullptr, env), "");
}

TEST(PathExpansion, ValueThatOverflowsIsCutAtTheCapacity)
{
    Environment env = {{"LONG", std::string(300, 'v')}, {"A", "abcdef"}};
    std::string out = Expand("C:\\%LONG%\\Lumivex.dll", env);
    EXPECT_EQ(out.size(), 259u);
    EXPECT_EQ(out, "C:\\" + std::string(256, 'v'));
    EXPECT_EQ(Expand("12%A%", env, 6), "12abc");
    EXPECT_EQ(Expand("%A%tail", env, 4), "abc");
    EXPECT_EQ(Expand("1234567", env, 4), "123");
}

TEST(PathExpansion, CancelledReferenceThatOverflowsIsCutAtTheCapacity)
{
    std::string name(300, 'n');
    std::string source = "%" + name + "\\file";
    std::string out = Expand(source.c_str(), {}, 260);
    // The name is collected up to 259 characters; the literal write-back stops at the capacity.
    EXPECT_EQ(out, "%" + std::string(258, 'n'));
    EXPECT_EQ(Expand("ab%cdef\\g", {}, 5), "ab%c");
}

TEST(PathExpansion, LongNamesAreCutBeforeTheLookup)
{
    std::string name(259, 'N');
    Environment env = {{name, "found"}};
    std::string source = "%" + name + "EXTRA%";
    EXPECT_EQ(Expand(source.c_str(), env), "found");
}

TEST(PathExpansion, ZeroCapacityWritesNothing)
{
    char out[2] = {'#', '#'};
    EXPECT_EQ(ExpandPathVariables("abc", out, 0, Lookup, nullptr), 0u);
    EXPECT_EQ(out[0], '#');
    EXPECT_EQ(ExpandPathVariables("abc", out, 1, nullptr, nullptr), 0u);
    EXPECT_EQ(out[0], '\0');
    EXPECT_EQ(out[1], '#');
}

TEST(PathExpansion, WorksWithoutALookup)
{
    char out[32];
    EXPECT_EQ(ExpandPathVariables("a%B%c", out, sizeof out, nullptr, nullptr), 2u);
    EXPECT_STREQ(out, "ac");
}

} // namespace
