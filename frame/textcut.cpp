// Cutting a text on a character boundary.
#include "frame/textcut.h"

size_t CutAtCharBoundary(const char *text, size_t length, size_t limit, LeadByteFn isLead)
{
    if (length <= limit) return length;
    if (!isLead) return limit;
    size_t at = 0;
    while (at < limit) {
        // The text goes on past limit, so a lead byte before it always has its second byte.
        const size_t width = isLead(static_cast<unsigned char>(text[at])) ? 2 : 1;
        if (at + width > limit) break;
        at += width;
    }
    return at;
}
