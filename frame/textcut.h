// Cutting a text of the ANSI code page without splitting a double-byte character: the one
// lead-byte test every cut, search and check of the program takes.
#pragma once
#include <cstddef>

// True for the first byte of a double-byte character of the code page in use. Null stands for
// a code page without them: every byte is a character.
using LeadByteFn = bool (*)(unsigned char byte);

// How many bytes of text (length bytes, no terminator needed) to keep so that at most limit
// remain and no double-byte character is split: the whole text when it fits, else the longest
// prefix that ends on a character boundary. A lead byte that ends the text is a character of
// its own. Reads no byte at or past the smaller of length and limit.
size_t CutAtCharBoundary(const char *text, size_t length, size_t limit, LeadByteFn isLead);
