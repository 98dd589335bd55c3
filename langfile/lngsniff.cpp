// Byte-order marks and the line counts that tell a language file from any other file.
#include "langfile/lngsniff.h"

#include <cstring>

namespace
{

struct MarkRow {
    LangTextMark mark;
    const char *bytes;
    size_t length;
};

const MarkRow kMarks[] = {
    {kLangMarkUtf8, "\xEF\xBB\xBF", 3},
    {kLangMarkUtf16Le, "\xFF\xFE", 2},
    {kLangMarkUtf16Be, "\xFE\xFF", 2},
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

void Increment(uint32_t &count)
{
    if (count != UINT32_MAX) ++count;
}

// A line that starts as the reader takes an item: blanks, the ID's digits (quoted or not), blanks, "=".
bool StartsAsItem(const char *p, const char *end)
{
    if (p < end && *p == '"') ++p;
    const char *digits = p;
    while (p < end && IsDigit(*p))
        ++p;
    if (p == digits) return false;
    if (p < end && *p == '"') ++p;
    while (p < end && IsBlank(*p))
        ++p;
    return p < end && *p == '=';
}

} // namespace

LangTextMark LangDetectMark(const char *data, size_t length, size_t *markLength)
{
    if (markLength) *markLength = 0;
    if (!data) return kLangMarkNone;
    for (const MarkRow &row : kMarks) {
        if (length < row.length || memcmp(data, row.bytes, row.length) != 0) continue;
        if (markLength) *markLength = row.length;
        return row.mark;
    }
    return kLangMarkNone;
}

void LangCountLines(const char *data, size_t length, LangLineCounts *counts)
{
    if (!counts) return;
    counts->nonBlank = 0;
    counts->items = 0;
    if (!data) return;
    const char *p = data;
    const char *const end = data + length;
    bool inSignature = true;
    while (p < end) {
        const void *lineFeed = memchr(p, '\n', static_cast<size_t>(end - p));
        const char *const lineEnd = lineFeed ? static_cast<const char *>(lineFeed) : end;
        // The signature block is every ";" line from the start.
        inSignature = inSignature && *p == ';';
        if (!inSignature) {
            const char *text = p;
            while (text < lineEnd && IsBlank(*text))
                ++text;
            if (text < lineEnd && *text != ';') {
                Increment(counts->nonBlank);
                if (StartsAsItem(text, lineEnd)) Increment(counts->items);
            }
        }
        p = lineFeed ? lineEnd + 1 : end;
    }
}
