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

static std::string Decorate(uint32_t id, const char *text)
{
    Mnemonic mnemonic;
    FindMnemonic(id, &mnemonic);
    char out[260];
    DecorateText(text, mnemonic.letter, mnemonic.ellipsis, out, sizeof out);
    return out;
}

static std::string Decorate(char letter, bool ellipsis, const char *text)
{
    char out[260];
    DecorateText(text, letter, ellipsis, out, sizeof out);
    return out;
}

TEST(Decorate, TheLetterGoesToTheBestPlace)
{
    EXPECT_EQ(Decorate('X', false, "Exit"), "E&xit");
    EXPECT_EQ(Decorate('A', true, "Save as"), "Save &as...");   // the word start beats the first a
    EXPECT_EQ(Decorate('N', false, "Find Next"), "Find &Next"); // upper-case word start beats n
    EXPECT_EQ(Decorate('U', true, "Translate next untranslated"), "Translate next &untranslated...");
    EXPECT_EQ(Decorate('V', false, "Previous problem"), "Pre&vious problem");
    // Translated texts: only a lower-case occurrence, or none (appended before the ellipsis).
    EXPECT_EQ(Decorate('O', true, "Ouvrir"), "&Ouvrir...");
    EXPECT_EQ(Decorate('O', true, "abrir o ficheiro"), "abrir &o ficheiro...");
    EXPECT_EQ(Decorate('O', true, "Laden"), "Laden(&O)...");
    EXPECT_EQ(Decorate('X', false, "Beenden"), "Beenden(&X)");
}

TEST(Decorate, UiTextsTakeTheirTableRowAndOthersStayAsTheyAre)
{
    EXPECT_EQ(Decorate(1013, "Insert Enter"), "Insert &Enter");
    EXPECT_EQ(Decorate(1005, "Browse"), "&Browse...");
    EXPECT_EQ(Decorate(1, "OK"), "OK");
    EXPECT_EQ(Decorate(1011, "ID"), "ID");
    Mnemonic mnemonic;
    for (uint32_t id : {999u, 1003u, uint32_t(CMD_FIRST)})
        EXPECT_FALSE(FindMnemonic(id, &mnemonic)) << id;
    EXPECT_EQ(mnemonic.letter, 0);
}

TEST(Decorate, OutputIsBoundedAndTerminated)
{
    char out[8];
    DecorateText("Translate next untranslated", 'U', true, out, sizeof out);
    EXPECT_EQ(std::string(out), "Transla");
    std::string longText(251, 'z');
    char big[260];
    size_t n = DecorateText(longText.c_str(), 'Q', true, big, sizeof big);
    EXPECT_EQ(n, 251u + 4 + 3);
    EXPECT_EQ(std::string(big).substr(251), "(&Q)...");
}

static std::string Size(uint64_t n, bool units = true, size_t capacity = 64)
{
    SizeUnits u = {"Byte", "KB", "MB", "GB", ".", ","};
    char out[64];
    FormatSize(n, units, u, out, capacity);
    return out;
}

TEST(FormatSize, UnitsDecimalsAndSeparators)
{
    EXPECT_EQ(Size(0), "0 Byte");
    EXPECT_EQ(Size(1023), "1,023 Byte");
    EXPECT_EQ(Size(1024 + 512), "1.50 KB");
    EXPECT_EQ(Size(1048576), "1.00 MB");
    EXPECT_EQ(Size(1234567, false), "1,234,567 Byte");
    EXPECT_EQ(Size(uint64_t(1) << 30), "1.00 GB");
    EXPECT_EQ(Size(1024 * 1024 - 1), "1023.99 KB");
    EXPECT_EQ(Size(1100000000ull * 1024 / 1024), "1.02 GB");
}

TEST(FormatSize, HundredthsKeepTheirZero)
{
    EXPECT_EQ(Size(1048576 + 52429), "1.05 MB");
    EXPECT_EQ(Size(1024 + 10), "1.00 KB");
}

TEST(FormatSize, SizesBeyondFourGigabytesAreTrue)
{
    EXPECT_EQ(Size(5ull << 30), "5.00 GB");
    EXPECT_EQ(Size(4294967296ull, false), "4,294,967,296 Byte");
    EXPECT_EQ(Size(UINT64_MAX, false), "18,446,744,073,709,551,615 Byte");
}

TEST(FormatSize, FullOutputIsCutAndTerminated)
{
    EXPECT_EQ(Size(1234567, false, 6), "1,234");
    EXPECT_EQ(Size(1234567, false, 1), "");
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
