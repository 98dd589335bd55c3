// The window-free text rules of the view: the translation checks and Find's match (rows in
// textcheck.tsv and textsearch.tsv beside this file) and the Translate dialog's display form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/datarows.h"
#include "view/displaytext.h"
#include "view/textcheck.h"
#include "view/textsearch.h"

namespace
{

// A made-up double-byte code page whose trail bytes may be '%' or '&'.
const LeadByteFn FakeLead = [](unsigned char c) { return c >= 0x81 && c <= 0x9F; };
const LeadByteFn Cp932Lead = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); };

std::string Describe(const TextProblems &problems)
{
    std::string text;
    for (int k = 0; k < problems.count; ++k) {
        const TextProblem &p = problems.items[k];
        text += (k ? "\n" : "") + std::string(SeverityName(p.severity)) + " " + CheckName(p.check) + ": " + p.message;
    }
    return text;
}

} // namespace

TEST(TextCheck, TableOfInterfaceStrings)
{
    for (const auto &row : ReadDataRows(PARLEVO_VIEW_DATA_DIR "/textcheck.tsv", 58)) {
        TextProblems problems;
        int count =
            CheckTranslation(row.at(0).c_str(), row.at(1).c_str(), row.size() > 3 ? FakeLead : nullptr, &problems);
        EXPECT_EQ(Describe(problems), row.at(2)) << row[0] << " -> " << row[1];
        EXPECT_EQ(count, problems.errors + problems.warnings);
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
