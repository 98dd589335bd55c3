// How far the translation is, per category and in total.
#include "view/progress.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "catalogue/stringblock.h"
#include "frame/sizeformat.h"

// A grouped count and one word of the string table after it.
constexpr size_t kPartSize = 512;

int ProgressCategoryOf(uint32_t id)
{
    size_t count = 0;
    const Category *table = CategoryTable(&count);
    if (count > kProgressCategories) count = kProgressCategories;
    for (size_t i = count; i-- > 0;)
        if (id >= table[i].startId) return int(i);
    return -1;
}

void ProgressAddRow(Progress *progress, uint32_t id, bool translated)
{
    int category = ProgressCategoryOf(id);
    if (!progress || category < 0) return;
    for (ProgressCount *count : {&progress->categories[category], &progress->total}) {
        ++count->rows;
        if (translated) ++count->translated;
    }
}

void ProgressTranslationChanged(Progress *progress, uint32_t id, bool wasTranslated, bool isTranslated)
{
    int category = ProgressCategoryOf(id);
    if (!progress || category < 0 || wasTranslated == isTranslated) return;
    // The category's bounds decide for the total too, so the total stays the categories' sum.
    ProgressCount &own = progress->categories[category];
    if (isTranslated && own.translated < own.rows) {
        ++own.translated;
        ++progress->total.translated;
    }
    if (!isTranslated && own.translated > 0) {
        --own.translated;
        --progress->total.translated;
    }
}

unsigned ProgressPercent(ProgressCount count)
{
    if (count.rows == 0) return 0;
    uint32_t done = count.translated < count.rows ? count.translated : count.rows;
    unsigned percent = unsigned((uint64_t(done) * 200 + count.rows) / (uint64_t(count.rows) * 2));
    if (percent == 100 && done < count.rows) return 99;
    return percent;
}

// n grouped, followed by a blank and word: FormatSize writes its unit that way.
static bool FormatCountWord(uint32_t n, const char *word, const char *thousands, char *out, size_t capacity)
{
    SizeUnits units = {word ? word : "", "", "", "", "", thousands ? thousands : ""};
    return FormatSize(n, false, units, out, capacity);
}

bool FormatProgress(ProgressCount count, const ProgressWords &words, char *out, size_t capacity)
{
    if (!out || capacity == 0) return false;
    char done[kPartSize], total[kPartSize];
    if (!FormatCountWord(count.translated, words.of, words.thousands, done, sizeof done)) return false;
    if (!FormatCountWord(count.rows, words.translated, words.thousands, total, sizeof total)) return false;
    snprintf(out, capacity, "%s %s (%u%%)", done, total, ProgressPercent(count));
    return true;
}

bool FormatCategoryProgress(ProgressCount count, const ProgressWords &words, char *out, size_t capacity)
{
    if (!out || capacity == 0) return false;
    char done[kPartSize], total[kPartSize];
    if (!FormatCountWord(count.translated, words.of, words.thousands, done, sizeof done)) return false;
    if (!FormatCountWord(count.rows, "", words.thousands, total, sizeof total)) return false;
    // Without a word the count ends in FormatSize's blank before its unit.
    size_t length = strlen(total);
    if (length > 0 && total[length - 1] == ' ') total[length - 1] = '\0';
    snprintf(out, capacity, "%s %s", done, total);
    return true;
}
