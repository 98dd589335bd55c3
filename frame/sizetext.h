// File sizes with the units and separators of the program's string table.
#pragma once
#include <cstddef>
#include <cstdint>

bool FormatFileSize(uint64_t n, char *out, size_t capacity, bool withUnits);
