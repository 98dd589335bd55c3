// How far the translation is: rows and translated rows per category and in total, kept as
// counters so that a change of one row costs no walk over the list. Window-free.
#pragma once
#include <cstddef>
#include <cstdint>

// One per entry of CategoryTable, in its order.
constexpr size_t kProgressCategories = 10;

struct ProgressCount {
    uint32_t rows;
    uint32_t translated;
};

// Zero-initialised: no rows.
struct Progress {
    ProgressCount categories[kProgressCategories];
    ProgressCount total;
};

// The category a string ID falls in, or -1 for ID 0 (a category row is never counted).
int ProgressCategoryOf(uint32_t id);
// Counts one string row while the list is filled.
void ProgressAddRow(Progress *progress, uint32_t id, bool translated);
// A row's translation went from empty to non-empty or back; nothing when both are the same.
// Counts never pass their bounds, whatever the caller reports.
void ProgressTranslationChanged(Progress *progress, uint32_t id, bool wasTranslated, bool isTranslated);

// The words of the texts below, from the program's string table.
struct ProgressWords {
    const char *of;         // "of"
    const char *translated; // "translated"
    const char *thousands;  // ","
};

// Rounded to the nearest, halves up, except that 100% waits for the last row: a translator
// must not read "done" while rows are left. 0 rows make 0%.
unsigned ProgressPercent(ProgressCount count);
// "1,234 of 2,136 translated (58%)": bounded, always terminated.
bool FormatProgress(ProgressCount count, const ProgressWords &words, char *out, size_t capacity);
// "312 of 340", beside a category's title.
bool FormatCategoryProgress(ProgressCount count, const ProgressWords &words, char *out, size_t capacity);
