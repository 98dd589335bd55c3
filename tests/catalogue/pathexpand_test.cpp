// Expanding %NAME% references in the module path, with a made-up environment.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
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

// x{N} in a case stands for N times x.
std::string Unfold(std::string text)
{
    for (size_t open; (open = text.find('{')) != std::string::npos;) {
        size_t close = text.find('}', open);
        text.replace(open - 1, close - open + 2, std::stoul(text.substr(open + 1, close - open - 1)), text[open - 1]);
    }
    return text;
}

TEST(PathExpansion, ReferencesAreReplacedCutAndCancelledByTheirRules)
{
    std::ifstream cases(PARLEVO_CATALOGUE_DATA "/pathexpand.txt");
    int count = 0;
    for (std::string line; std::getline(cases, line); count += line[0] != '#') {
        if (line[0] == '#') continue;
        std::istringstream fields(Unfold(line));
        std::string source, capacity, expected;
        std::getline(std::getline(std::getline(fields, source, '\t'), capacity, '\t'), expected);
        EXPECT_EQ(Expand(source.c_str(), std::stoul(capacity)), expected) << line.substr(0, 40);
    }
    EXPECT_EQ(count, 22); // every case was read
    EXPECT_EQ(Expand(nullptr, 260), "");
    // Without a lookup every reference is undefined.
    EXPECT_EQ(Expand("a%B%c", 32, nullptr), "ac");
}

} // namespace
