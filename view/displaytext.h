// A translation as the Translate dialog's edit field shows it, and back: the field breaks lines
// at CR LF, a language file's text at LF. Window-free, so that it builds natively.
#pragma once
#include <cstddef>

#include "frame/textcut.h"

// The dialog's display form of a translation: CRs dropped, each LF shown as CR LF, at most
// capacity - 1 bytes; a CR LF that no longer fits is left out with everything after it.
size_t ToDisplayText(const char *text, char *out, size_t capacity);
// Back from the display form: every CR dropped, at most capacity - 1 bytes, never half of a
// double-byte character (isLead tells lead bytes; null: none).
size_t FromDisplayText(const char *text, char *out, size_t capacity, LeadByteFn isLead);
