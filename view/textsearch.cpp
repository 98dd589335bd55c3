// The text test of Find.
#include "view/textsearch.h"

#include <cstring>

static char Fold(char c, bool matchCase)
{
    return (!matchCase && c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

static bool StartsWith(const char *text, const char *what, bool matchCase)
{
    for (; *what; ++text, ++what)
        if (*text == '\0' || Fold(*text, matchCase) != Fold(*what, matchCase)) return false;
    return true;
}

bool TextMatches(const char *cell, const char *what, SearchOptions options, SearchLeadByte isLead)
{
    if (!what || !*what || !cell) return false;
    if (options.wholeWord) {
        size_t n = strlen(cell);
        return n == strlen(what) && StartsWith(cell, what, options.matchCase);
    }
    // Step by whole characters of the code page.
    for (const char *p = cell; *p;) {
        if (StartsWith(p, what, options.matchCase)) return true;
        p += (isLead && isLead((unsigned char)*p) && p[1]) ? 2 : 1;
    }
    return false;
}
