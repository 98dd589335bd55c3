// The window-free text rules of the frame (mnemonics, sizes, character-boundary cuts, path parts,
// toolbar labels), each case a row of textrules.tsv.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "frame/decorate.h"
#include "frame/pathparts.h"
#include "frame/sizeformat.h"
#include "frame/textcut.h"
#include "frame/toolbardata.h"

namespace
{

bool Cp932Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::string Unescape(const std::string &s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i)
        if (s.compare(i, 2, "\\x") == 0 && i + 3 < s.size() && isxdigit(s[i + 2]) && isxdigit(s[i + 3]))
            out += char(std::stoi(s.substr(i + 2, 2), nullptr, 16)), i += 3;
        else
            out += s[i];
    return out;
}

// What the rule of the row's kind makes of its input; "!" marks bytes written past the capacity
// or a returned length that is not the output's.
std::string Apply(const std::string &kind, const std::string &input, std::istringstream &args)
{
    char out[300];
    memset(out, 'z', sizeof out);
    std::string word;
    size_t capacity = 0;
    if (kind == "decorate") {
        char letter;
        args >> letter >> word >> capacity;
        size_t n = DecorateText(input.c_str(), letter, word == "...", out, capacity);
        return out + std::string(n == strlen(out) ? "" : "!");
    }
    if (kind == "mnemonic") {
        Mnemonic m = {'?', true};
        std::string got = FindMnemonic(uint32_t(std::stoul(input)), &m) ? "" : "none";
        return got + (m.letter ? std::string(1, m.letter) : "") + (m.ellipsis ? "..." : "");
    }
    if (kind == "size") {
        args >> word >> capacity;
        const SizeUnits units = {"Byte", "KB", "MB", "GB", ".", ","};
        FormatSize(std::stoull(input), word == "units", units, out, capacity);
        return out;
    }
    args >> word >> capacity;
    LeadByteFn lead = word == "932" ? Cp932Lead : nullptr;
    if (kind == "cut") return std::to_string(CutAtCharBoundary(input.c_str(), input.size(), capacity, lead));
    if (kind == "path") {
        bool hasFolder = FolderPart(input.c_str(), out, 32, Cp932Lead);
        return FileNamePart(input.c_str(), Cp932Lead) + std::string("|") + (hasFolder ? out : "-");
    }
    size_t n = CutToolbarLabel(input == "(null)" ? nullptr : input.c_str(), lead, out, capacity);
    return out + std::string(n == strlen(out) && out[capacity] == 'z' ? "" : "!");
}

TEST(TextRules, EveryRowGivesItsExpectedText)
{
    std::ifstream file(PARLEVO_FRAME_DATA_DIR "/textrules.tsv");
    int rows = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::string kind, input, arguments, expected;
        std::istringstream fields(line);
        std::getline(fields, kind, '\t'), std::getline(fields, input, '\t'), std::getline(fields, arguments, '\t');
        std::getline(fields, expected);
        std::istringstream args(arguments);
        EXPECT_EQ(Apply(kind, Unescape(input), args), Unescape(expected)) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 59);
    char tiny[3];
    EXPECT_FALSE(FolderPart("C:\\x\\a", tiny, sizeof tiny, nullptr));
    EXPECT_EQ(CutToolbarLabel("Find", nullptr, nullptr, 10), 0u);
}

} // namespace
