// The Translate dialog's display form of a text, without the dialog.
#include "view/displaytext.h"

size_t ToDisplayText(const char *text, char *out, size_t capacity)
{
    if (capacity == 0) return 0;
    size_t n = 0;
    for (const char *p = text; *p; ++p) {
        if (*p == '\r') continue;
        if (*p == '\n') {
            if (n + 2 >= capacity) break;
            out[n++] = '\r';
            out[n++] = '\n';
            continue;
        }
        if (n + 1 >= capacity) break;
        out[n++] = *p;
    }
    out[n] = '\0';
    return n;
}

size_t FromDisplayText(const char *text, char *out, size_t capacity, LeadByteFn isLead)
{
    if (capacity == 0) return 0;
    size_t n = 0;
    const char *p = text;
    for (; *p && n + 1 < capacity; ++p) {
        if (*p != '\r') out[n++] = *p;
    }
    while (*p == '\r')
        ++p;
    // When the text goes on, a double-byte character that no longer fits is left out whole.
    if (*p) n = CutAtCharBoundary(out, n + 1, n, isLead);
    out[n] = '\0';
    return n;
}
