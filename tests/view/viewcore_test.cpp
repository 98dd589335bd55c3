// The view's window-free rules; most of their rows are in the .tsv files beside this file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/datarows.h"
#include "view/displaytext.h"
#include "view/history.h"
#include "view/progress.h"
#include "view/repeated.h"
#include "view/textcheck.h"
#include "view/textsearch.h"

namespace
{

// A made-up double-byte code page whose trail bytes may be '%' or '&'.
const LeadByteFn FakeLead = [](unsigned char c) { return c >= 0x81 && c <= 0x9F; };
const LeadByteFn Cp932Lead = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); };

// Source texts and translations by row; row 0 is a category row.
struct Rows {
    std::vector<std::string> texts, translations;
    std::vector<RepeatSource> sources;
    RepeatIndex index;
    RepeatTexts Texts()
    {
        return {[](void *rows, uint32_t row) { return static_cast<Rows *>(rows)->translations[row].c_str(); }, this};
    }
    // Indexes the texts and plans the fill: "row<from ..." and the rows left.
    std::string Plan()
    {
        for (uint32_t row = 0; row < texts.size(); ++row)
            sources.push_back({row, texts[row].c_str()});
        EXPECT_TRUE(RepeatIndexBuild(&index, sources.data(), uint32_t(sources.size())));
        std::vector<RepeatFill> fills;
        uint32_t left = 99;
        EXPECT_TRUE(RepeatFillPlan(index, Texts(), &fills, &left));
        std::string text;
        for (const RepeatFill &f : fills)
            text += std::to_string(f.row) + "<" + std::to_string(f.from) + " ";
        return text + "left " + std::to_string(left);
    }
};

} // namespace

TEST(TextCheck, TableOfInterfaceStrings)
{
    for (const auto &row : ReadDataRows(PARLEVO_VIEW_DATA_DIR "/textcheck.tsv", 58)) {
        TextProblems out;
        const int count =
            CheckTranslation(row.at(0).c_str(), row.at(1).c_str(), row.size() > 3 ? FakeLead : nullptr, &out);
        std::string text;
        for (const TextProblem &p : std::span(out.items, size_t(out.count)))
            text += (text.empty() ? "" : "\n") + std::string(SeverityName(p.severity)) + " " + CheckName(p.check) +
                    ": " + p.message;
        EXPECT_EQ(text, row.at(2)) << row[0] << " -> " << row[1];
        EXPECT_EQ(count, out.errors + out.warnings);
    }
}

TEST(TextSearch, Table)
{
    for (const auto &row : ReadDataRows(PARLEVO_VIEW_DATA_DIR "/textsearch.tsv", 23)) {
        const std::string &options = row.at(2);
        const SearchOptions search = {options.find('c') != std::string::npos, options.find('w') != std::string::npos};
        EXPECT_EQ(TextMatches(row[0].c_str(), row[1].c_str(), search,
                              options.find('j') != std::string::npos ? Cp932Lead : nullptr),
                  row.at(3) == "1")
            << row[0] << " / " << row[1];
    }
}

// Native, so that the sanitizers watch the output buffer.
TEST(TranslateDisplay, LineBreaksBecomeCrLfAndBackWithinTheRecord)
{
    for (const auto &row : ReadDataRows(PARLEVO_VIEW_DATA_DIR "/display.tsv", 7)) {
        const size_t capacity = std::stoul(row.at(2));
        std::vector<char> out(capacity, 'x'); // exactly the capacity, so that a write past it shows
        size_t n = row[1] == "to" ? ToDisplayText(row[0].c_str(), out.data(), capacity)
                                  : FromDisplayText(row[0].c_str(), out.data(), capacity,
                                                    row[1] == "from932" ? Cp932Lead : nullptr);
        EXPECT_EQ(std::string(out.data()), row.at(3)) << row[0].substr(0, 20);
        EXPECT_EQ(n, row[3].size());
    }
}

TEST(Progress, CountsEachCategoryAndFollowsChangesWithinBounds)
{
    const std::pair<uint32_t, int> kIds[] = {{0, -1},    {1, 0},     {102, 0},   {103, 1},  {1000, 2},
                                             {40001, 4}, {54500, 8}, {54501, 9}, {65535, 9}};
    for (const auto &[id, category] : kIds)
        EXPECT_EQ(ProgressCategoryOf(id), category) << id;

    Progress p = {};
    for (uint32_t id : {0u, 1u, 2u, 1000u})
        ProgressAddRow(&p, id, id < 2); // 0: a category row
    // Translated (or rows) in category 0, in category 2 and in total.
    auto counts = [&p](uint32_t ProgressCount::*field) {
        return std::to_string(p.categories[0].*field) + " " + std::to_string(p.categories[2].*field) + " " +
               std::to_string(p.total.*field);
    };
    for (const auto &row : ReadDataRows(PARLEVO_VIEW_DATA_DIR "/progresschanges.tsv", 8)) {
        ProgressTranslationChanged(&p, uint32_t(std::stoul(row.at(0))), row.at(1) == "1", row.at(2) == "1");
        EXPECT_EQ(counts(&ProgressCount::translated), row.at(3)) << row[0];
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
        ASSERT_TRUE(FormatProgress(count, words, pane.data(), capacity) &&
                    FormatCategoryProgress(count, words, category.data(), capacity));
        EXPECT_EQ(std::string(pane.data()) + "|" + category.data(), row.at(4) + "|" + row.at(5));
    }
}

TEST(History, GoesBackAndForwardAsABrowserDoes)
{
    // Past 100 places the oldest fall off, and the ring still drops the places ahead.
    std::string ring; // v1 .. v150, then b149 .. b51
    for (int id = 1; id < 250; ++id)
        ring += id <= 150 ? "v" + std::to_string(id) + " " : "b" + std::to_string(300 - id) + " ";
    // "v1" visits place 1; "b2" and "f2" go back and forward and expect place 2 (0: none).
    for (const std::string &steps :
         {std::string("b0 f0 v0 b0"), std::string("v1 v2 v3 b2 b1 b0 f2 v4 f0 b2 b1"), std::string("v1 v2 v2 b1 b0"),
          std::string("v1 v2 b1 v1 f2 f0"), std::string("v1 v2 b1 v2 f0 b1"), ring + "b0 f52 v500 f0 b52"}) {
        PlaceHistory h = {};
        std::istringstream in(steps);
        for (std::string step; in >> step;) {
            const uint32_t place = uint32_t(std::stoul(step.substr(1)));
            if (step[0] == 'v') HistoryVisit(&h, place);
            const uint32_t got = step[0] == 'b' ? HistoryBack(&h) : step[0] == 'f' ? HistoryForward(&h) : place;
            EXPECT_EQ(got, place) << steps.substr(0, 40) << " at " << step;
        }
    }
}

TEST(RepeatedTexts, FillTakesAgreeingTranslationsOfTheExactSameSource)
{
    Rows rows;
    for (const auto &row : ReadDataRows(PARLEVO_VIEW_DATA_DIR "/repeated.tsv", 18)) {
        rows.texts.push_back(row.at(0));
        rows.translations.push_back(row.at(1));
    }
    EXPECT_EQ(rows.Plan(), "2<1 9<1 15<13 left 2");

    // After a translation in the dialog: the other untranslated rows of the same text.
    rows.translations[10] = "Unbenannt";
    const std::pair<uint32_t, std::vector<uint32_t>> kLike[] = {{1, {2, 9}}, {2, {9}}, {4, {6, 12}}, {10, {11}},
                                                                {3, {}},     {0, {}},  {8, {}},      {99, {}}};
    for (const auto &[row, expectedLike] : kLike) {
        std::vector<uint32_t> like = {77};
        ASSERT_TRUE(RepeatUntranslatedLike(rows.index, row, rows.Texts(), &like));
        EXPECT_EQ(like, expectedLike) << row;
    }
}

TEST(RepeatedTexts, PlanMatchesAnOrderedMapOnManyRows)
{
    // Few texts over many rows, so the table probes past filled slots and wraps around.
    Rows rows;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) { return (seed = seed * 1103515245u + 12345u) / 65536u % n; };
    for (uint32_t row = 0; row < 3000; ++row) {
        rows.texts.push_back("t" + std::to_string(next(400)));
        rows.translations.push_back(next(5) < 3 ? "" : next(2) ? "a" : "b");
    }
    // The same rule by another road: each text's first translation and whether another disagrees.
    std::map<std::string, std::pair<uint32_t, bool>> seen;
    for (uint32_t row = 1; row < rows.texts.size(); ++row) {
        if (rows.translations[row].empty()) continue;
        auto it = seen.insert({rows.texts[row], {row, false}}).first;
        it->second.second |= rows.translations[it->second.first] != rows.translations[row];
    }
    std::string expected;
    uint32_t fills = 0, left = 0;
    for (uint32_t row = 1; row < rows.texts.size(); ++row) {
        auto it = seen.find(rows.texts[row]);
        if (!rows.translations[row].empty() || it == seen.end()) continue;
        left += it->second.second;
        if (!it->second.second) fills++, expected += std::to_string(row) + "<" + std::to_string(it->second.first) + " ";
    }
    EXPECT_EQ(rows.Plan(), expected + "left " + std::to_string(left));
    EXPECT_GT(std::min(fills, left), 100u);
}
