// The window-free records behind progress, back/forward and repeated texts.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "view/history.h"
#include "view/progress.h"
#include "view/repeated.h"

TEST(Progress, CountsEachCategoryAndFollowsChangesWithinBounds)
{
    struct {
        uint32_t id;
        int category;
    } const kIds[] = {{0, -1}, {1, 0}, {102, 0}, {103, 1}, {1000, 2}, {40001, 4}, {54500, 8}, {54501, 9}, {65535, 9}};
    for (const auto &row : kIds)
        EXPECT_EQ(ProgressCategoryOf(row.id), row.category) << row.id;

    Progress p = {};
    ProgressAddRow(&p, 0, true); // a category row
    ProgressAddRow(&p, 1, true);
    ProgressAddRow(&p, 2, false);
    ProgressAddRow(&p, 1000, false);
    // id, was, is, then translated in category 0, in category 2 and in total
    struct {
        uint32_t id;
        bool was, is;
        uint32_t first, third, total;
    } const kChanges[] = {
        {2, false, true, 2, 0, 2},    {2, true, true, 2, 0, 2},     {1000, false, true, 2, 1, 3},
        {1000, false, true, 2, 1, 3}, {1, true, false, 1, 1, 2},    {0, false, true, 1, 1, 2},
        {1000, true, false, 1, 0, 1}, {1000, true, false, 1, 0, 1},
    };
    for (const auto &c : kChanges) {
        ProgressTranslationChanged(&p, c.id, c.was, c.is);
        EXPECT_EQ(p.categories[0].translated, c.first) << c.id;
        EXPECT_EQ(p.categories[2].translated, c.third) << c.id;
        EXPECT_EQ(p.total.translated, c.total) << c.id;
    }
    EXPECT_EQ(p.categories[0].rows, 2u);
    EXPECT_EQ(p.categories[2].rows, 1u);
    EXPECT_EQ(p.total.rows, 3u);
}

TEST(Progress, FormatsGroupedCountsAndAPercentThatWaitsForTheLastRow)
{
    struct {
        uint32_t translated, rows;
        const char *thousands;
        size_t capacity;
        const char *pane, *category;
    } const kCases[] = {
        {1234, 2136, ",", 64, "1,234 of 2,136 translated (58%)", "1,234 of 2,136"},
        {2135, 2136, ",", 64, "2,135 of 2,136 translated (99%)", "2,135 of 2,136"},
        {65000, 65000, ".", 64, "65.000 of 65.000 translated (100%)", "65.000 of 65.000"},
        {5, 1000, "", 64, "5 of 1000 translated (1%)", "5 of 1000"},
        {4, 1000, ",", 64, "4 of 1,000 translated (0%)", "4 of 1,000"},
        {0, 0, ",", 64, "0 of 0 translated (0%)", "0 of 0"},
        {7, 3, ",", 64, "7 of 3 translated (100%)", "7 of 3"}, // more than there are: held at 100%
        {1234, 2136, ",", 8, "1,234 o", "1,234 o"},
    };
    const ProgressWords words = {"of", "translated", nullptr};
    for (const auto &c : kCases) {
        ProgressWords w = words;
        w.thousands = c.thousands;
        char out[64];
        memset(out, 'x', sizeof out);
        ASSERT_TRUE(FormatProgress(ProgressCount{c.rows, c.translated}, w, out, c.capacity));
        EXPECT_STREQ(out, c.pane);
        memset(out, 'x', sizeof out);
        ASSERT_TRUE(FormatCategoryProgress(ProgressCount{c.rows, c.translated}, w, out, c.capacity));
        EXPECT_STREQ(out, c.category);
    }
}

TEST(History, GoesBackAndForwardAsABrowserDoes)
{
    // 'v' visits the place, 'b' and 'f' go back and forward and expect the place (0: none).
    struct Step {
        char op;
        uint32_t place;
    };
    const std::vector<std::vector<Step>> kCases = {
        {{'b', 0}, {'f', 0}, {'v', 0}, {'b', 0}},
        {{'v', 1}, {'v', 2}, {'v', 3}, {'b', 2}, {'b', 1}, {'b', 0}, {'f', 2}, {'v', 4}, {'f', 0}, {'b', 2}, {'b', 1}},
        {{'v', 1}, {'v', 2}, {'v', 2}, {'b', 1}, {'b', 0}},
        {{'v', 1}, {'v', 2}, {'b', 1}, {'v', 1}, {'f', 2}, {'f', 0}},
        {{'v', 1}, {'v', 2}, {'b', 1}, {'v', 2}, {'f', 0}, {'b', 1}},
    };
    for (size_t i = 0; i < kCases.size(); ++i) {
        PlaceHistory h = {};
        for (const Step &s : kCases[i]) {
            if (s.op == 'v') {
                HistoryVisit(&h, s.place);
                continue;
            }
            EXPECT_EQ(s.op == 'b' ? HistoryBack(&h) : HistoryForward(&h), s.place) << "case " << i;
        }
    }
    // Past 100 places the oldest fall off, and the ring still drops the places ahead.
    PlaceHistory h = {};
    for (uint32_t id = 1; id <= 150; ++id)
        HistoryVisit(&h, id);
    for (uint32_t id = 149; id >= 51; --id)
        ASSERT_EQ(HistoryBack(&h), id);
    EXPECT_EQ(HistoryBack(&h), 0u);
    EXPECT_EQ(HistoryForward(&h), 52u);
    HistoryVisit(&h, 500);
    EXPECT_EQ(HistoryForward(&h), 0u);
    EXPECT_EQ(HistoryBack(&h), 52u);
}

namespace
{

struct Rows {
    std::vector<RepeatSource> sources;
    std::vector<std::string> translations;
};

const char *TranslationAt(void *context, uint32_t row)
{
    return static_cast<Rows *>(context)->translations[row].c_str();
}

std::string FillsText(const std::vector<RepeatFill> &fills)
{
    std::string text;
    for (const RepeatFill &f : fills)
        text += std::to_string(f.row) + "<" + std::to_string(f.from) + " ";
    return text;
}

} // namespace

TEST(RepeatedTexts, FillTakesAgreeingTranslationsOfTheExactSameSource)
{
    Rows rows;
    struct {
        uint32_t id;
        const char *source, *translation;
    } const kRows[] = {
        {0, "&File", ""},           // 0 a category row
        {1, "&File", "&Datei"},     // 1
        {2, "&File", ""},           // 2 takes row 1's
        {3, "File", ""},            // 3 the access key counts
        {4, "Cancel", "Abbrechen"}, // 4
        {5, "Cancel", "Abbruch"},   // 5 disagrees with row 4
        {6, "Cancel", ""},          // 6 left
        {7, "Cancel ", ""},         // 7 the blank counts
        {8, "", ""},                // 8 no text
        {9, "&File", ""},           // 9 takes row 1's
        {10, "Untitled", ""},       // 10 nobody to take from
        {11, "Untitled", ""},       // 11
        {12, "Cancel", ""},         // 12 left
        {13, "OK", "OK"},           // 13
        {14, "OK", "OK"},           // 14 agrees
        {15, "OK", ""},             // 15 takes row 13's
        {16, "kqcxcrz", "x"},       // 16 the same hash as row 17's text
        {17, "qkacgwy", ""},        // 17 but not the same text
    };
    for (const auto &r : kRows) {
        rows.sources.push_back(RepeatSource{r.id, r.source});
        rows.translations.push_back(r.translation);
    }
    RepeatIndex index;
    ASSERT_TRUE(RepeatIndexBuild(&index, rows.sources.data(), uint32_t(rows.sources.size())));
    const RepeatTexts texts = {TranslationAt, &rows};
    std::vector<RepeatFill> fills;
    uint32_t left = 99;
    ASSERT_TRUE(RepeatFillPlan(index, texts, &fills, &left));
    EXPECT_EQ(FillsText(fills), "2<1 9<1 15<13 ");
    EXPECT_EQ(left, 2u);

    // After a translation in the dialog: the other untranslated rows of the same text.
    rows.translations[10] = "Unbenannt";
    struct {
        uint32_t row;
        std::vector<uint32_t> like;
    } const kLike[] = {{1, {2, 9}}, {2, {9}}, {4, {6, 12}}, {10, {11}}, {3, {}}, {0, {}}, {8, {}}, {99, {}}};
    for (const auto &c : kLike) {
        std::vector<uint32_t> like = {77};
        ASSERT_TRUE(RepeatUntranslatedLike(index, c.row, texts, &like));
        EXPECT_EQ(like, c.like) << c.row;
    }
}

TEST(RepeatedTexts, PlanMatchesAnOrderedMapOnManyRows)
{
    // Few texts over many rows, so the table probes past filled slots and wraps around.
    Rows rows;
    std::vector<std::string> sources(3000);
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) { return (seed = seed * 1103515245u + 12345u) / 65536u % n; };
    for (uint32_t row = 0; row < sources.size(); ++row) {
        sources[row] = "t" + std::to_string(next(400));
        static const char *const kTranslations[] = {"", "", "", "a", "b"};
        rows.translations.push_back(kTranslations[next(5)]);
    }
    for (uint32_t row = 0; row < sources.size(); ++row)
        rows.sources.push_back({row + 1, sources[row].c_str()});
    // The same rule by another road: an ordered map of each text's first translation.
    struct Seen {
        uint32_t from;
        bool disagree;
    };
    std::map<std::string, Seen> seen;
    for (uint32_t row = 0; row < sources.size(); ++row) {
        const std::string &t = rows.translations[row];
        if (t.empty()) continue;
        auto [it, added] = seen.insert({sources[row], Seen{row, false}});
        if (!added && rows.translations[it->second.from] != t) it->second.disagree = true;
    }
    std::vector<RepeatFill> expected;
    uint32_t expectedLeft = 0;
    for (uint32_t row = 0; row < sources.size(); ++row) {
        auto it = seen.find(sources[row]);
        if (!rows.translations[row].empty() || it == seen.end()) continue;
        if (it->second.disagree) ++expectedLeft;
        if (!it->second.disagree) expected.push_back({row, it->second.from});
    }
    RepeatIndex index;
    ASSERT_TRUE(RepeatIndexBuild(&index, rows.sources.data(), uint32_t(rows.sources.size())));
    std::vector<RepeatFill> fills;
    uint32_t left = 0;
    ASSERT_TRUE(RepeatFillPlan(index, RepeatTexts{TranslationAt, &rows}, &fills, &left));
    EXPECT_EQ(FillsText(fills), FillsText(expected));
    EXPECT_EQ(left, expectedLeft);
    EXPECT_GT(expected.size(), 100u);
    EXPECT_GT(expectedLeft, 100u);
}
