// The text test of Find: window-free.
#pragma once
#include "frame/textcut.h"

struct SearchOptions {
    bool matchCase;
    bool wholeWord; // the whole cell must equal the text
};

// Whether what occurs in cell. Without match case only single-byte A-Z fold to a-z; the
// second byte of a double-byte character compares exactly. A match never starts
// on the second byte of a double-byte character (isLead tells lead bytes; null: none).
bool TextMatches(const char *cell, const char *what, SearchOptions options, LeadByteFn isLead);
