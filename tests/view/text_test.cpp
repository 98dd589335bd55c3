// The window-free text rules of the view: the translation checks and Find's match (rows in
// textcheck.tsv and textsearch.tsv beside this file) and the Translate dialog's display form.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "view/displaytext.h"
#include "view/textcheck.h"
#include "view/textsearch.h"

namespace
{

// A made-up double-byte code page whose trail bytes may be '%' or '&'.
bool FakeLead(unsigned char c)
{
    return c >= 0x81 && c <= 0x9F;
}

bool Cp932Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The tab-separated rows of a data file, each field unescaped ("-" empty, x*N N times x).
std::vector<std::vector<std::string>> ReadRows(const char *name)
{
    std::ifstream in(std::string(PARLEVO_VIEW_DATA_DIR "/") + name, std::ios::binary);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        rows.emplace_back(1);
        for (size_t i = 0; i < line.size(); ++i) {
            std::string &field = rows.back().back();
            if (line[i] == '\t') {
                rows.back().emplace_back();
            } else if (line[i] != '\\' || i + 1 == line.size()) {
                field += line[i];
            } else if (line[++i] == 'x') {
                field += char(std::stoi(line.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                field += line[i] == 'n' ? '\n' : line[i] == 't' ? '\t' : line[i];
            }
        }
        for (std::string &field : rows.back()) {
            if (field == "-") field.clear();
            if (field.size() > 2 && field[1] == '*' && field.find_first_not_of("0123456789", 2) == std::string::npos)
                field = std::string(std::stoul(field.substr(2)), field[0]);
        }
    }
    EXPECT_GT(rows.size(), 20u) << name;
    return rows;
}

std::string Describe(const TextProblems &problems)
{
    std::string text;
    for (int k = 0; k < problems.count; ++k) {
        const TextProblem &p = problems.items[k];
        if (k) text += "\n";
        text += std::string(SeverityName(p.severity)) + " " + CheckName(p.check) + ": " + p.message;
    }
    return text;
}

} // namespace

TEST(TextCheck, TableOfInterfaceStrings)
{
    for (const auto &row : ReadRows("textcheck.tsv")) {
        TextProblems problems;
        int count =
            CheckTranslation(row.at(0).c_str(), row.at(1).c_str(), row.size() > 3 ? FakeLead : nullptr, &problems);
        EXPECT_EQ(Describe(problems), row.at(2)) << row[0] << " -> " << row[1];
        EXPECT_EQ(count, problems.errors + problems.warnings);
    }
}

TEST(TextSearch, Table)
{
    for (const auto &row : ReadRows("textsearch.tsv")) {
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
    struct Case {
        std::string text;
        bool toDisplay, cp932;
        size_t capacity;
        std::string expected;
    };
    const std::string a249(249, 'a'), a250(250, 'a');
    const Case kCases[] = {
        {"one\ntwo\r\nthree", true, false, 252, "one\r\ntwo\r\nthree"},
        {"one\r\ntwo\r\nthree", false, false, 252, "one\ntwo\nthree"},
        {a249 + "\nzz", true, false, 252, a249 + "\r\n"}, // 251 bytes fit exactly; the z's no longer do
        {a250 + "\nzz", true, false, 252, a250},          // a CR LF that no longer fits is left out
        {"abc", true, false, 1, ""},
        {a250 + "\x83\x41", false, true, 252, a250}, // not half of a double-byte character
        {a249 + "\r\x83\x41z", false, true, 252, a249 + "\x83\x41"},
    };
    for (const Case &row : kCases) {
        std::vector<char> out(row.capacity, 'x'); // exactly the capacity, so that a write past it shows
        size_t n = row.toDisplay
                       ? ToDisplayText(row.text.c_str(), out.data(), row.capacity)
                       : FromDisplayText(row.text.c_str(), out.data(), row.capacity, row.cp932 ? Cp932Lead : nullptr);
        EXPECT_EQ(std::string(out.data()), row.expected) << row.text.substr(0, 20);
        EXPECT_EQ(n, row.expected.size());
    }
}
