// Mnemonic decoration, size formatting and the character-boundary cut: the window-free text
// rules of the frame.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/decorate.h"
#include "frame/pathparts.h"
#include "frame/sizeformat.h"
#include "frame/textcut.h"
#include "res/resource.h"

TEST(Decorate, TheLetterGoesToTheBestPlaceWithinTheOutput)
{
    const std::string kLong(251, 'z');
    const struct {
        char letter;
        bool ellipsis;
        std::string text;
        size_t capacity;
        std::string expected;
    } kRows[] = {
        {'X', false, "Exit", 260, "E&xit"},
        {'A', true, "Save as", 260, "Save &as..."},   // the word start beats the first a
        {'N', false, "Find Next", 260, "Find &Next"}, // upper-case word start beats n
        {'U', true, "Translate next untranslated", 260, "Translate next &untranslated..."},
        {'V', false, "Previous problem", 260, "Pre&vious problem"},
        // Translated texts: only a lower-case occurrence, or none (appended before the ellipsis).
        {'O', true, "Ouvrir", 260, "&Ouvrir..."},
        {'O', true, "abrir o ficheiro", 260, "abrir &o ficheiro..."},
        {'O', true, "Laden", 260, "Laden(&O)..."},
        {'X', false, "Beenden", 260, "Beenden(&X)"},
        {'U', true, "Translate next untranslated", 8, "Transla"},
        {'Q', true, kLong, 260, kLong + "(&Q)..."},
    };
    for (const auto &row : kRows) {
        char out[262];
        memset(out, 'z', sizeof out);
        const size_t n = DecorateText(row.text.c_str(), row.letter, row.ellipsis, out, row.capacity);
        EXPECT_EQ(std::string(out), row.expected) << row.text;
        EXPECT_EQ(n, row.expected.size());
    }
}

TEST(Decorate, UiTextsTakeTheirTableRowAndOthersHaveNone)
{
    // "none" when not found; the output is cleared then.
    const std::pair<uint32_t, const char *> kRows[] = {{1013, "E"},    {1005, "B..."},  {50069, "N"},
                                                       {1, "none"},    {1011, "none"},  {999, "none"},
                                                       {1003, "none"}, {60000, "none"}, {CMD_FIRST, "none"}};
    for (auto [id, expected] : kRows) {
        Mnemonic mnemonic = {'?', true};
        const bool found = FindMnemonic(id, &mnemonic);
        std::string got = found ? "" : "none";
        if (mnemonic.letter) got += mnemonic.letter;
        EXPECT_EQ(got + (mnemonic.ellipsis ? "..." : ""), expected) << id;
    }
}

TEST(FormatSize, UnitsDecimalsSeparatorsAndTheCut)
{
    const struct {
        uint64_t n;
        bool units;
        size_t capacity;
        const char *expected;
    } kRows[] = {
        {0, true, 64, "0 Byte"},
        {1023, true, 64, "1,023 Byte"},
        {1024 + 512, true, 64, "1.50 KB"},
        {1024 + 10, true, 64, "1.00 KB"},
        {1024 * 1024 - 1, true, 64, "1023.99 KB"},
        {1048576, true, 64, "1.00 MB"},
        {1048576 + 52429, true, 64, "1.05 MB"}, // hundredths keep their zero
        {uint64_t(1) << 30, true, 64, "1.00 GB"},
        {1100000000ull, true, 64, "1.02 GB"},
        {5ull << 30, true, 64, "5.00 GB"},
        {1234567, false, 64, "1,234,567 Byte"},
        {4294967296ull, false, 64, "4,294,967,296 Byte"},
        {UINT64_MAX, false, 64, "18,446,744,073,709,551,615 Byte"},
        {1234567, false, 6, "1,234"},
        {1234567, false, 1, ""},
    };
    const SizeUnits units = {"Byte", "KB", "MB", "GB", ".", ","};
    for (const auto &row : kRows) {
        char out[64];
        memset(out, 'z', sizeof out);
        FormatSize(row.n, row.units, units, out, row.capacity);
        EXPECT_STREQ(out, row.expected) << row.n;
    }
}

// Code page 932's lead bytes.
static bool Cp932Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

TEST(TextCut, NeverSplitsADoubleByteCharacter)
{
    struct Row {
        const char *text;
        size_t limit;
        LeadByteFn isLead;
        size_t expected;
    };
    const Row kRows[] = {
        {"abc", 5, Cp932Lead, 3},    // fits: all of it
        {"abcdef", 4, Cp932Lead, 4}, // single bytes: cut at the limit
        {"ab\x82\xA0"
         "cd",
         3, Cp932Lead, 2}, // the character across the limit is left out
        {"ab\x82\xA0"
         "cd",
         4, Cp932Lead, 4},                      // ... and kept when it ends there
        {"\x82\x82\x82\x82x", 3, Cp932Lead, 2}, // a trail byte that could lead is still a trail
        {"ab\x82\xA0"
         "cd",
         3, nullptr, 3}, // no double-byte code page
        {"\x82\xA0", 0, Cp932Lead, 0},
    };
    for (const Row &row : kRows) {
        EXPECT_EQ(CutAtCharBoundary(row.text, strlen(row.text), row.limit, row.isLead), row.expected)
            << row.text << " at " << row.limit;
    }
}

TEST(PathParts, FileAndFolderStepOverDoubleByteCharacters)
{
    struct Row {
        const char *path;
        const char *name;
        const char *folder; // null: no folder
    };
    const Row kRows[] = {
        {"C:\\work\\de.lng", "de.lng", "C:\\work"},
        {"C:\\de.lng", "de.lng", "C:\\"},
        {"de.lng", "de.lng", nullptr},
        {"\\de.lng", "de.lng", nullptr},
        // 0x95 0x5C is one character of code page 932 whose second byte is a backslash.
        {"C:\\\x95\x5C\\a.lng", "a.lng", "C:\\\x95\x5C"},
        {"C:\\x\\\x95\x5C.lng", "\x95\x5C.lng", "C:\\x"},
    };
    for (const Row &row : kRows) {
        EXPECT_STREQ(FileNamePart(row.path, Cp932Lead), row.name) << row.path;
        char folder[32] = "untouched";
        EXPECT_EQ(FolderPart(row.path, folder, sizeof folder, Cp932Lead), row.folder != nullptr) << row.path;
        EXPECT_STREQ(folder, row.folder ? row.folder : "untouched") << row.path;
    }
    char tiny[3];
    EXPECT_FALSE(FolderPart("C:\\x\\a", tiny, sizeof tiny, nullptr));
}
