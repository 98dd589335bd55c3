// Expanding %NAME% references in a configured path. Window-free: the caller supplies the
// variable lookup, so the rules and their limits are tested without an environment.
#pragma once
#include <cstddef>

// Writes the value of variable `name` into out (capacity bytes, at least 1), cut at
// capacity - 1 bytes and terminated; returns true when the variable is defined.
using PathVariableLookup = bool (*)(const char *name, char *out, size_t capacity, void *context);

// Names longer than this are cut; the rest of the name is dropped.
constexpr size_t kPathVariableNameMax = 259;

// Copies source into destination (capacity bytes), replacing each %NAME% by the variable's
// value. An undefined variable and "%%" write nothing; a "/" or "\" inside a reference
// writes the "%", the name and the separator literally; a reference left open at the end
// is dropped. Nothing is written past capacity: whatever does not fit is cut, and the
// destination is always terminated (when capacity > 0). Returns the bytes written before
// the terminator.
size_t ExpandPathVariables(const char *source, char *destination, size_t capacity, PathVariableLookup lookup,
                           void *context);
