// Filling the missing-module notice.
#include "catalogue/noticetext.h"

size_t FormatNoticeText(const char *format, const char *first, const char *second, char *out, size_t capacity)
{
    if (!out || capacity == 0) return 0;
    size_t length = 0;
    size_t limit = capacity - 1;
    auto put = [&](char c) {
        if (length < limit) out[length++] = c;
    };
    const char *arguments[2] = {first ? first : "", second ? second : ""};
    int used = 0;
    for (const char *p = format ? format : ""; *p && length < limit; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            if (used < 2)
                for (const char *a = arguments[used]; *a; ++a)
                    put(*a);
            ++used;
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            put('%');
            ++p;
        } else {
            put(*p);
        }
    }
    out[length] = '\0';
    return length;
}
