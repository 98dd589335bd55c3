// Filling the missing-module notice, whose format comes from a string table that a
// translator may have edited: only "%s" and "%%" are understood, so no other "%" sequence
// can make the formatting read arguments that are not there.
#pragma once
#include <cstddef>

// Writes format into out (capacity bytes) with its first "%s" replaced by first, its second
// by second and any further one by nothing; "%%" becomes "%", any other "%" stays. Cut at
// capacity - 1 bytes and terminated (when capacity > 0). Returns the bytes written.
size_t FormatNoticeText(const char *format, const char *first, const char *second, char *out, size_t capacity);
