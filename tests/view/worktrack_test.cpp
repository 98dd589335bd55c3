// The window-free records behind progress, back/forward and repeated texts.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/datarows.h"
#include "view/history.h"
#include "view/progress.h"
#include "view/repeated.h"

TEST(Progress, CountsEachCategoryAndFollowsChangesWithinBounds)
{
    const std::pair<uint32_t, int> kIds[] = {{0, -1},    {1, 0},     {102, 0},   {103, 1},  {1000, 2},
                                             {40001, 4}, {54500, 8}, {54501, 9}, {65535, 9}};
    for (const auto &[id, category] : kIds)
        EXPECT_EQ(ProgressCategoryOf(id), category) << id;

    Progress p = {};
    ProgressAddRow(&p, 0, true); // a category row
    ProgressAddRow(&p, 1, true);
    ProgressAddRow(&p, 2, false);
    ProgressAddRow(&p, 1000, false);
    // Translated (or rows) in category 0, in category 2 and in total.
    auto counts = [&p](uint32_t ProgressCount::*field) {
        return std::to_string(p.categories[0].*field) + " " + std::to_string(p.categories[2].*field) + " " +
               std::to_string(p.total.*field);
    };
    const std::tuple<uint32_t, bool, bool, const char *> kChanges[] = {
        {2, false, true, "2 0 2"},    {2, true, true, "2 0 2"},     {1000, false, true, "2 1 3"},
        {1000, false, true, "2 1 3"}, {1, true, false, "1 1 2"},    {0, false, true, "1 1 2"},
        {1000, true, false, "1 0 1"}, {1000, true, false, "1 0 1"},
    };
    for (const auto &[id, was, is, translated] : kChanges) {
        ProgressTranslationChanged(&p, id, was, is);
        EXPECT_EQ(counts(&ProgressCount::translated), translated) << id;
    }
    EXPECT_EQ(counts(&ProgressCount::rows), "2 1 3");
}

TEST(Progress, FormatsGroupedCountsAndAPercentThatWaitsForTheLastRow)
{
    for (const auto &row : ReadDataRows(PARLEVO_VIEW_DATA_DIR "/progress.tsv", 8)) {
        const ProgressWords words = {"of", "translated", row.at(2).c_str()};
        const ProgressCount count = {uint32_t(std::stoul(row.at(1))), uint32_t(std::stoul(row.at(0)))};
        const size_t capacity = std::stoul(row.at(3));
        std::vector<char> pane(capacity, 'x'), category(capacity, 'x'); // no room past the capacity
        ASSERT_TRUE(FormatProgress(count, words, pane.data(), capacity));
        ASSERT_TRUE(FormatCategoryProgress(count, words, category.data(), capacity));
        EXPECT_EQ(std::string(pane.data()) + "|" + category.data(), row.at(4) + "|" + row.at(5));
    }
}

TEST(History, GoesBackAndForwardAsABrowserDoes)
{
    // "v1" visits place 1; "b2" and "f2" go back and forward and expect place 2 (0: none).
    const char *const kCases[] = {"b0 f0 v0 b0", "v1 v2 v3 b2 b1 b0 f2 v4 f0 b2 b1", "v1 v2 v2 b1 b0",
                                  "v1 v2 b1 v1 f2 f0", "v1 v2 b1 v2 f0 b1"};
    for (const char *steps : kCases) {
        PlaceHistory h = {};
        std::istringstream in(steps);
        for (std::string step; in >> step;) {
            const uint32_t place = uint32_t(std::stoul(step.substr(1)));
            if (step[0] == 'v')
                HistoryVisit(&h, place);
            else
                EXPECT_EQ(step[0] == 'b' ? HistoryBack(&h) : HistoryForward(&h), place) << steps << " at " << step;
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
    // Row 0 is a category row. 2 and 9 take row 1's text and 15 row 13's (14 agrees with 13);
    // 3 differs by its access key and 7 by a blank; 4 and 5 disagree, so 6 and 12 are left; 8
    // has no text; nobody translated 10 and 11; 16's text has the hash of 17's but is not it.
    const char *const kSources[] = {"&File",  "&File",   "&File", "File",  "Cancel",   "Cancel",
                                    "Cancel", "Cancel ", "",      "&File", "Untitled", "Untitled",
                                    "Cancel", "OK",      "OK",    "OK",    "kqcxcrz",  "qkacgwy"};
    Rows rows;
    rows.translations = {"", "&Datei", "", "", "Abbrechen", "Abbruch", "", "",  "",
                         "", "",       "", "", "OK",        "OK",      "", "x", ""};
    for (uint32_t row = 0; row < std::size(kSources); ++row)
        rows.sources.push_back(RepeatSource{row, kSources[row]});
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
    const std::pair<uint32_t, std::vector<uint32_t>> kLike[] = {{1, {2, 9}}, {2, {9}}, {4, {6, 12}}, {10, {11}},
                                                                {3, {}},     {0, {}},  {8, {}},      {99, {}}};
    for (const auto &[row, expectedLike] : kLike) {
        std::vector<uint32_t> like = {77};
        ASSERT_TRUE(RepeatUntranslatedLike(index, row, texts, &like));
        EXPECT_EQ(like, expectedLike) << row;
    }
}

TEST(RepeatedTexts, PlanMatchesAnOrderedMapOnManyRows)
{
    // Few texts over many rows, so the table probes past filled slots and wraps around.
    Rows rows;
    std::vector<std::string> sources;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) { return (seed = seed * 1103515245u + 12345u) / 65536u % n; };
    for (uint32_t row = 0; row < 3000; ++row) {
        sources.push_back("t" + std::to_string(next(400)));
        rows.translations.push_back(next(5) < 3 ? "" : next(2) ? "a" : "b");
    }
    for (uint32_t row = 0; row < sources.size(); ++row)
        rows.sources.push_back({row + 1, sources[row].c_str()});
    // The same rule by another road: each text's first translation and whether another disagrees.
    std::map<std::string, std::pair<uint32_t, bool>> seen;
    for (uint32_t row = 0; row < sources.size(); ++row) {
        if (rows.translations[row].empty()) continue;
        auto it = seen.insert({sources[row], {row, false}}).first;
        it->second.second |= rows.translations[it->second.first] != rows.translations[row];
    }
    std::vector<RepeatFill> expected;
    uint32_t expectedLeft = 0;
    for (uint32_t row = 0; row < sources.size(); ++row) {
        auto it = seen.find(sources[row]);
        if (!rows.translations[row].empty() || it == seen.end()) continue;
        expectedLeft += it->second.second;
        if (!it->second.second) expected.push_back({row, it->second.first});
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
