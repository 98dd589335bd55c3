// Expanding %NAME% references in a configured path.
#include "catalogue/pathexpand.h"

#include <cstring>

namespace
{

// The destination with its fixed limit: every write is bounded by it.
struct PathOutput {
    char *text;
    size_t length;
    size_t limit; // capacity - 1: the last byte is kept for the terminator

    bool Full() const { return length >= limit; }
    void Put(char c)
    {
        if (length < limit) text[length++] = c;
    }
};

} // namespace

size_t ExpandPathVariables(const char *source, char *destination, size_t capacity, PathVariableLookup lookup,
                           void *context)
{
    if (!destination || capacity == 0) return 0;
    PathOutput out{destination, 0, capacity - 1};
    char name[kPathVariableNameMax + 1];
    size_t nameLength = 0;
    bool inReference = false;
    for (const char *p = source ? source : ""; *p && !out.Full(); ++p) {
        char c = *p;
        if (!inReference) {
            if (c == '%') {
                inReference = true;
                nameLength = 0;
            } else {
                out.Put(c);
            }
            continue;
        }
        if (c == '%') {
            inReference = false;
            name[nameLength] = '\0';
            char *value = out.text + out.length;
            size_t room = out.limit - out.length;
            value[0] = '\0';
            if (nameLength > 0 && lookup && lookup(name, value, room + 1, context)) {
                value[room] = '\0';
                out.length += strlen(value);
            }
            continue;
        }
        if (c == '/' || c == '\\') {
            // Not a reference after all: a path separator cannot be part of a name.
            inReference = false;
            out.Put('%');
            for (size_t i = 0; i < nameLength; ++i)
                out.Put(name[i]);
            out.Put(c);
            continue;
        }
        if (nameLength < kPathVariableNameMax) name[nameLength++] = c;
    }
    out.text[out.length] = '\0';
    return out.length;
}
