// The text test of Find.
#include <gtest/gtest.h>

#include "view/textsearch.h"

// Lead bytes of code page 932.
static bool Cp932Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

TEST(TextSearch, Table)
{
    struct Row {
        const char *cell, *what;
        bool matchCase, wholeWord, cp932, expected;
    };
    // Katakana A is 0x83 0x41 (its second byte is 'A'); katakana DI is 0x83 0x61 (second byte 'a').
    const Row kRows[] = {
        {"Datei öffnen", "DATEI", false, false, false, true},
        {"Datei öffnen", "ÖFFNEN", false, false, false, false}, // only A-Z fold
        {"Datei öffnen", "öffnen", false, false, false, true},
        {"Datei öffnen", "DATEI", true, false, false, false},
        {"Datei öffnen", "Datei", true, false, false, true},
        {"abc", "c", false, false, false, true},
        {"abc", "abcd", false, false, false, false},
        {"abc", "", false, false, false, false},
        {"", "a", false, false, false, false},
        // Whole word means the whole cell.
        {"Speichern", "speichern", false, true, false, true},
        {"Speichern unter", "Speichern", false, true, false, false},
        {"Speichern", "Speichern unter", false, true, false, false},
        {"Speichern", "speichern", true, true, false, false},
        // Double-byte characters stay whole.
        {"\x83\x41\x42", "AB", true, false, true, false}, // no match starts on a second byte
        {"\x83\x41\x42", "AB", true, false, false, true}, // byte-wise it would
        {"\x83\x41\x42", "\x83\x41\x42", true, false, true, true},
        {"x\x83\x41\x41\x42", "AB", true, false, true, true}, // the single-byte A after the pair
        {"ab\x83", "z", true, false, true, false},           // a lead byte at the end does not step past the terminator
        {"\x83\x61", "\x83\x41", false, false, true, false}, // a second byte never folds
        {"\x83\x41", "\x83\x61", false, false, true, false},
        {"\x83\x41", "\x83\x41", false, false, true, true},
        {"\x83\x41x", "\x83\x41X", false, false, true, true}, // single-byte letters still fold
        {"\x83\x61", "\x83\x41", false, true, true, false},
    };
    for (const Row &row : kRows)
        EXPECT_EQ(TextMatches(row.cell, row.what, SearchOptions{row.matchCase, row.wholeWord},
                              row.cp932 ? Cp932Lead : nullptr),
                  row.expected)
            << row.cell << " / " << row.what;
}
