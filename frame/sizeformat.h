// File sizes as the status bar shows them ("1,023 Byte", "1.50 KB"): window-free.
#pragma once
#include <cstddef>
#include <cstdint>

struct SizeUnits {
    const char *byte; // "Byte"
    const char *kb;
    const char *mb;
    const char *gb;
    const char *decimal;   // "."
    const char *thousands; // ","
};

// Writes n with its unit into out (bounded, always terminated). Without units the count is
// written in bytes with thousands separators. Sizes are 64-bit: files of 4 GiB and more
// show their true size.
bool FormatSize(uint64_t n, bool withUnits, const SizeUnits &units, char *out, size_t capacity);
