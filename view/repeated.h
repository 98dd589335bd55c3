// Rows that share a source text, so that a text repeated through the module is translated
// once. Built when the list is filled: source texts never change afterwards, translations
// do, so every question reads the translations as they are now. Rows are positions in the
// list. Matching is exact: access keys, blanks and case all count. Window-free.
#pragma once
#include <cstdint>
#include <vector>

struct RepeatSource {
    uint32_t id;      // the row value: 0 for a category row, which is never grouped
    const char *text; // the source text; empty ones are never grouped
};

// The current translation of a row (null or empty: untranslated), from the caller's rows.
struct RepeatTexts {
    const char *(*translation)(void *context, uint32_t row);
    void *context;
};

constexpr uint32_t kNoRepeatGroup = UINT32_MAX;

struct RepeatIndex {
    std::vector<uint32_t> groupOf;    // per row: its group, or kNoRepeatGroup
    std::vector<uint32_t> groupStart; // per group: its first member; one more at the end
    std::vector<uint32_t> members;    // the rows of each group in turn, in row order
};

// Row to fill and the translated row to copy from.
struct RepeatFill {
    uint32_t row;
    uint32_t from;
};

// Groups rows[0..count) by source text. False when memory runs out; the index is then empty.
bool RepeatIndexBuild(RepeatIndex *index, const RepeatSource *rows, uint32_t count);
// The other untranslated rows whose source text is row's, in row order.
bool RepeatUntranslatedLike(const RepeatIndex &index, uint32_t row, const RepeatTexts &texts,
                            std::vector<uint32_t> *rows);
// Fill repeated texts: each untranslated row whose source text has translated rows takes
// their translation when they agree; when they disagree the row stays and counts in *left.
bool RepeatFillPlan(const RepeatIndex &index, const RepeatTexts &texts, std::vector<RepeatFill> *fills, uint32_t *left);
