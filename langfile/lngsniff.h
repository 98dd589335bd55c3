// What a file is before it is read as a language file: its byte-order mark, and how many of its
// lines past the signature look like items. Window-free.
#pragma once
#include <cstddef>
#include <cstdint>

// The byte-order marks a language file may start with. Language files are in the ANSI code page;
// a marked file was saved by an editor in a Unicode form.
enum LangTextMark {
    kLangMarkNone,
    kLangMarkUtf8,    // EF BB BF
    kLangMarkUtf16Le, // FF FE
    kLangMarkUtf16Be, // FE FF
};

// The mark at the start of length bytes at data; markLength receives its length (0 for none).
LangTextMark LangDetectMark(const char *data, size_t length, size_t *markLength);

// Lines past the signature block, as the open asks "is this a language file at all?".
struct LangLineCounts {
    uint32_t nonBlank; // lines with anything but blanks that are not ";" comments
    uint32_t items;    // of those, the ones that start as an item: an ID's digits, then "="
};

// Counts the lines of length bytes at data (line feed ends a line); counts saturate.
void LangCountLines(const char *data, size_t length, LangLineCounts *counts);
