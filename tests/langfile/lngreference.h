// The reading rules byte by byte, without the reader's shortcuts, for the tests and the read fuzzer.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "langfile/lngparse.h"

namespace lngreference
{

using Record = std::pair<uint32_t, std::string>;

struct Reader {
    const char *p, *end;
    LeadByteFn isLeadByte;

    void SkipWhitespace()
    {
        while (p < end && (*p == '\t' || *p == '\n' || *p == '\r' || *p == ' '))
            ++p;
    }
    // Whitespace and comment lines; false when the data ends first.
    bool SkipComments()
    {
        for (SkipWhitespace(); p < end && *p == ';'; SkipWhitespace())
            p = std::find(p, end, '\n'), p += p < end;
        return p < end;
    }
    // False when the data ends first; at most max bytes, cut on a character boundary.
    bool Token(size_t max, std::string &token)
    {
        const auto ends = [](char c, bool quoted) {
            return c == '\r' || c == '\n' || (!quoted && (c == '\t' || c == ' ' || c == '='));
        };
        token.clear();
        bool quoted = false, overflow = false;
        for (;;) {
            if (p >= end) return false;
            char c = *p;
            if (ends(c, quoted)) break;
            if (c == '"') {
                ++p;
                if (quoted) break;
                quoted = true;
                continue;
            }
            if (c == '\\') {
                if (end - p < 2) return false;
                if (ends(p[1], quoted)) {
                    ++p;
                    break;
                }
                c = p[1] == 'n' ? '\n' : p[1] == 'r' ? '\r' : p[1] == 't' ? '\t' : p[1];
                ++p;
            }
            ++p;
            overflow |= token.size() == max;
            if (token.size() < max) token += c;
        }
        if (overflow) token.resize(CutAtCharBoundary(token.data(), token.size() + 1, max, isLeadByte));
        return true;
    }
};

inline std::vector<Record> Read(const char *data, size_t length, LeadByteFn isLeadByte)
{
    std::vector<Record> records;
    Reader r{data, data + length, isLeadByte};
    std::string token;
    while (r.SkipComments() && r.Token(kLangIdTokenMax, token)) {
        uint32_t id = 0;
        for (size_t i = 0; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
            const uint32_t digit = static_cast<uint32_t>(token[i] - '0');
            id = id > (kLangIdTooLarge - digit) / 10u ? kLangIdTooLarge : id * 10u + digit;
        }
        r.SkipWhitespace();
        if (r.p >= r.end) break;
        ++r.p; // whatever byte stands where "=" belongs
        if (!r.SkipComments() || !r.Token(kLangTextMax, token)) break;
        records.emplace_back(id, token.c_str()); // a text ends at a NUL
    }
    std::stable_sort(records.begin(), records.end(), [](auto &a, auto &b) { return a.first < b.first; });
    return records;
}

} // namespace lngreference
