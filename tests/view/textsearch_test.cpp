// The text test of Find.
#include <gtest/gtest.h>

#include "view/textsearch.h"

static bool Match(const char *cell, const char *what, bool matchCase = false, bool wholeWord = false,
                  LeadByteFn lead = nullptr)
{
    return TextMatches(cell, what, SearchOptions{matchCase, wholeWord}, lead);
}

TEST(TextSearch, CaseFoldsOnlyAsciiLettersUnlessMatchCase)
{
    EXPECT_TRUE(Match("Datei öffnen", "DATEI"));
    EXPECT_TRUE(Match("Datei öffnen", "ÖFFNEN") == false); // only A-Z fold
    EXPECT_TRUE(Match("Datei öffnen", "öffnen"));
    EXPECT_FALSE(Match("Datei öffnen", "DATEI", true));
    EXPECT_TRUE(Match("Datei öffnen", "Datei", true));
    EXPECT_TRUE(Match("abc", "c"));
    EXPECT_FALSE(Match("abc", "abcd"));
    EXPECT_FALSE(Match("abc", ""));
    EXPECT_FALSE(Match("", "a"));
}

TEST(TextSearch, WholeWordMeansTheWholeCell)
{
    EXPECT_TRUE(Match("Speichern", "speichern", false, true));
    EXPECT_FALSE(Match("Speichern unter", "Speichern", false, true));
    EXPECT_FALSE(Match("Speichern", "Speichern unter", false, true));
    EXPECT_FALSE(Match("Speichern", "speichern", true, true));
}

// Lead bytes of code page 932.
static bool Cp932Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

TEST(TextSearch, DoubleByteCharactersStayWhole)
{
    // Katakana A is 0x83 0x41 (its second byte is 'A'); katakana DI is 0x83 0x61 (second byte 'a').
    struct Row {
        const char *cell, *what;
        bool matchCase, expected;
    };
    static const Row kRows[] = {
        {"\x83\x41\x42", "AB", true, false}, // no match starts on a second byte
        {"\x83\x41\x42", "\x83\x41\x42", true, true},
        {"x\x83\x41\x41\x42", "AB", true, true}, // the single-byte A after the pair
        {"ab\x83", "z", true, false},            // a lead byte at the end does not step past the terminator
        {"\x83\x61", "\x83\x41", false, false},  // a second byte never folds
        {"\x83\x41", "\x83\x61", false, false},
        {"\x83\x41", "\x83\x41", false, true},
        {"\x83\x41x", "\x83\x41X", false, true}, // single-byte letters still fold
    };
    for (const Row &row : kRows)
        EXPECT_EQ(Match(row.cell, row.what, row.matchCase, false, Cp932Lead), row.expected)
            << row.cell << " / " << row.what;
    EXPECT_TRUE(Match("\x83\x41\x42", "AB", true, false, nullptr)); // byte-wise it would match
    EXPECT_FALSE(Match("\x83\x61", "\x83\x41", false, true, Cp932Lead));
}
