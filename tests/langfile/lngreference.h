// A plain byte-at-a-time reader of the item lines, written straight from the format's reading
// rules without any of the reader's shortcuts: the tests and the read fuzzer check the reader
// against it on any bytes. Records come out in ID order, equal IDs in file order.
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
    const char *p;
    const char *end;
    LeadByteFn isLeadByte;

    static bool IsWhitespace(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }
    static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
    static bool IsSeparator(char c) { return c == '\t' || c == ' ' || c == '='; }

    void SkipWhitespace()
    {
        while (p < end && IsWhitespace(*p))
            ++p;
    }

    // False when the data ends first.
    bool SkipComments()
    {
        while (p < end && *p == ';') {
            while (p < end && *p != '\n')
                ++p;
            if (p == end) return false;
            ++p;
            SkipWhitespace();
        }
        return p < end;
    }

    // False when the data ends before the token does. Keeps at most max bytes, cut on a
    // character boundary when some were left out.
    bool Token(size_t max, std::string &token)
    {
        token.clear();
        bool quoted = false;
        bool overflow = false;
        const auto keep = [&](char c) {
            if (token.size() < max)
                token += c;
            else
                overflow = true;
        };
        for (;;) {
            if (p >= end) return false;
            const char c = *p;
            if (IsLineEnd(c) || (!quoted && IsSeparator(c))) break;
            if (c == '"') {
                ++p;
                if (quoted) break;
                quoted = true;
            } else if (c == '\\') {
                if (end - p < 2) return false;
                const char next = p[1];
                if (IsLineEnd(next) || (!quoted && IsSeparator(next))) {
                    ++p;
                    break;
                }
                keep(next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next);
                p += 2;
            } else {
                keep(c);
                ++p;
            }
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
    r.SkipWhitespace();
    while (r.SkipComments() && r.Token(kLangIdTokenMax, token)) {
        uint32_t id = 0;
        for (size_t i = 0; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i)
            id = id > (kLangIdTooLarge - static_cast<uint32_t>(token[i] - '0')) / 10u
                     ? kLangIdTooLarge
                     : id * 10u + static_cast<uint32_t>(token[i] - '0');
        r.SkipWhitespace();
        if (r.p >= r.end) break;
        ++r.p;
        r.SkipWhitespace();
        if (!r.SkipComments() || !r.Token(kLangTextMax, token)) break;
        records.emplace_back(id, token);
        r.SkipWhitespace();
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const Record &a, const Record &b) { return a.first < b.first; });
    return records;
}

} // namespace lngreference
