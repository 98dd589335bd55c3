// The text test of Find.
#include <gtest/gtest.h>

#include "view/textsearch.h"

static bool Match(const char *cell, const char *what, bool matchCase = false, bool wholeWord = false,
                  SearchLeadByte lead = nullptr)
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

static bool FakeLead(unsigned char c)
{
    return c >= 0x81 && c <= 0x9F;
}

TEST(TextSearch, NoMatchStartsOnATrailByte)
{
    // 0x83 0x41 is one double-byte character whose second byte is 'A'.
    const char cell[] = "\x83" "A" "B";
    EXPECT_FALSE(Match(cell, "AB", true, false, FakeLead));
    EXPECT_TRUE(Match(cell, "AB", true, false, nullptr)); // byte-wise it would match
    EXPECT_TRUE(Match(cell, "\x83" "AB", true, false, FakeLead));
    const char two[] = "x\x83" "AAB";
    EXPECT_TRUE(Match(two, "AB", true, false, FakeLead)); // the single-byte A after the pair
    // A lead byte at the very end does not step past the terminator.
    EXPECT_FALSE(Match("ab\x83", "z", true, false, FakeLead));
}
