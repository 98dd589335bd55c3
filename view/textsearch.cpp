// The text test of Find.
#include "view/textsearch.h"

#include <cstring>

static char Fold(char c, bool matchCase)
{
    return (!matchCase && c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// text starts on a character boundary, so while the bytes agree its characters line up with what's.
static bool StartsWith(const char *text, const char *what, bool matchCase, LeadByteFn isLead)
{
    while (*what) {
        if (isLead && isLead((unsigned char)*what) && what[1]) {
            // A trail byte may look like a letter; it compares exactly.
            if (text[0] != what[0] || text[1] != what[1]) return false;
            text += 2;
            what += 2;
            continue;
        }
        if (*text == '\0' || Fold(*text, matchCase) != Fold(*what, matchCase)) return false;
        ++text;
        ++what;
    }
    return true;
}

bool TextMatches(const char *cell, const char *what, SearchOptions options, LeadByteFn isLead)
{
    if (!what || !*what || !cell) return false;
    if (options.wholeWord) {
        size_t n = strlen(cell);
        return n == strlen(what) && StartsWith(cell, what, options.matchCase, isLead);
    }
    // Step by whole characters of the code page.
    for (const char *p = cell; *p;) {
        if (StartsWith(p, what, options.matchCase, isLead)) return true;
        p += (isLead && isLead((unsigned char)*p) && p[1]) ? 2 : 1;
    }
    return false;
}
