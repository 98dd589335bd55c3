// The window-free text rules of the view: Find's match, the Translate dialog's display form and
// the translation checks (a table of real interface strings: source, translation, and the
// problems expected as "severity check: message", one per line; empty: none).
#include <gtest/gtest.h>

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

struct Row {
    const char *source;
    const char *translation;
    const char *expected;
    bool doubleByte;
};

const std::string kLong(252, 'x');
const std::string kLongest(251, 'x');

const Row kRows[] = {
    // Untranslated, and a translation equal to its source.
    {"%d of %d", "", ""},
    {"Name", "Name", ""},
    // printf conversions: number, order and argument type; flags, width and precision free.
    {"%d of %d", "%d von %d", ""},
    {"%d of %d", "%s von %d", "error printf: %d expected where %s stands"},
    {"%d of %d", "%d von", "error printf: %d missing (conversion 2 of 2)"},
    {"Loading %s...", "%s wird geladen (%d)...", "error printf: %d is not in the source"},
    {"%d files (%s)", "(%s) %d Dateien", "error printf: %d expected where %s stands"},
    {"Unknown tag 0x%04X", "Unbekanntes Tag 0x%08x", ""},
    {"%-5.2f mm", "%e mm", ""},
    {"%lu bytes", "%u Byte", ""},
    {"%I64d bytes", "%d Byte", "error printf: %I64d expected where %d stands"},
    {"Name: %S", "Name: %s", "error printf: %S expected where %s stands"},
    {"%*d", "%d", "error printf: %*d expected where %d stands"},
    // A percent sign: %% in a format, text elsewhere; a blank after it is text.
    {"Zoom: %d%%", "Zoom: %d %%", ""},
    {"Zoom: %d%%", "Zoom: %d %", "error printf: % that begins no conversion (a percent sign is written %%)"},
    {"100%", "100 %", ""},
    {"Opacity (%):", "Deckkraft (%):", ""},
    {"50% smaller", "50 % größer", ""},
    // FormatMessage inserts: the same set, each with its !fmt! (none is !s!); order free.
    {"%1!d! files", "%1!d! Dateien", ""},
    {"%1 of %2", "%2 von %1", ""},
    {"%1!s! selected", "%1 ausgewählt", ""},
    {"%1!d! files", "%1 Dateien", "error inserts: %1!d! expected where %1 stands"},
    {"%1 of %2", "%1 von", "error inserts: %2 missing"},
    {"%1", "%1 %3", "error inserts: %3 is not in the source"},
    {"Line %1%nof %2", "%2:%n Zeile %1", ""},
    // Length.
    {"x", kLongest.c_str(), ""},
    {"x", kLong.c_str(), "error length: 252 bytes where at most 251 are kept"},
    // The shortcut after a tab: same key, as many modifiers; modifier and key names may be
    // the translation's own, letters and F-keys may not change.
    {"&Open...\tCtrl+O", "Ö&ffnen...\tStrg+O", ""},
    {"&Open...\tCtrl+O", "Ö&ffnen...\tStrg+P", "warning shortcut: Ctrl+O expected where Strg+P stands"},
    {"&Open...\tCtrl+O", "Ö&ffnen...", "warning shortcut: Ctrl+O expected after a tab at the end"},
    {"Copy Path\tCtrl+Shift+C", "Pfad kopieren\tStrg+C", "warning shortcut: Ctrl+Shift+C expected where Strg+C stands"},
    {"Delete\tDel", "Löschen\tEntf", ""},
    {"Properties\tAlt+Enter", "Eigenschaften\tAlt+Eingabe", ""},
    {"Delete\tDel", "Löschen\tF5", "warning shortcut: Del expected where F5 stands"},
    {"Zoom in\tCtrl++", "Vergrößern\tStrg++", ""},
    {"Slide &Show\tS", "&Diashow\tS", ""},
    {"Use the mouse wheel to:\tzoom", "Mausrad verwenden zum:\tZoomen", ""},
    // Access keys: one for one; && is an ampersand, and so is one before a blank.
    {"Save &as...", "Speichern &unter...", ""},
    {"Save &as...", "Speichern unter...", "warning accesskey: access key missing (the source has &a)"},
    {"Save &as...", "&Speichern &unter...", "warning accesskey: 2 access keys where one (&a) is expected"},
    {"Name", "&Name", "warning accesskey: access key &N where the source has none"},
    {"Black & white", "Schwarz & weiß", ""},
    {"R&&D", "F&E", "warning accesskey: access key &E where the source has none"},
    // Line breaks, blanks, the final ":" or "...".
    {"Moving %d files to\n%s", "%d Dateien werden verschoben nach %s",
     "warning linebreaks: 1 line break expected where 0 stand"},
    {" %d", "%d", "warning blanks: 1 leading blank expected where 0 stand"},
    {"Name: ", "Name:", "warning blanks: 1 trailing blank expected where 0 stand"},
    {"Width:", "Breite", "warning ending: ':' expected at the end"},
    {"Width:", "Largeur :", ""},
    {"Loading...", "Wird geladen\x85", ""},
    {"Done.", "Fertig...", "warning ending: '...' at the end where the source has none"},
    {"&Open...\tCtrl+O", "Ö&ffnen\tStrg+O", "warning ending: '...' expected at the end"},
    {"Width:", "Breite...", "warning ending: ':' expected where '...' stands"},
    // Several checks report together, in their order.
    {"&Save\tCtrl+S", "Speichern %s",
     "error printf: %s is not in the source\n"
     "warning shortcut: Ctrl+S expected after a tab at the end\n"
     "warning accesskey: access key missing (the source has &S)"},
    // Double-byte code pages: a trail byte is never a '%' or '&' of its own, and a full-width
    // colon may end a text that ends in ':'.
    {"Open", "\x83%s\x83&pen", "", true},
    {"Width:", "\x95\x9D\x81\x46", "", true},
    {"Open", "\x83%s\x83&pen",
     "error printf: %s is not in the source\n"
     "warning accesskey: access key &p where the source has none"},
};

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
    for (const Row &row : kRows) {
        TextProblems problems;
        int count = CheckTranslation(row.source, row.translation, row.doubleByte ? FakeLead : nullptr, &problems);
        EXPECT_EQ(Describe(problems), row.expected) << row.source << " -> " << row.translation;
        EXPECT_EQ(count, problems.errors + problems.warnings);
    }
}

TEST(TextSearch, Table)
{
    struct Case {
        const char *cell, *what;
        bool matchCase, wholeWord, cp932, expected;
    };
    // Katakana A is 0x83 0x41 (its second byte is 'A'); katakana DI is 0x83 0x61 (second byte 'a').
    const Case kCases[] = {
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
    for (const Case &row : kCases)
        EXPECT_EQ(TextMatches(row.cell, row.what, SearchOptions{row.matchCase, row.wholeWord},
                              row.cp932 ? Cp932Lead : nullptr),
                  row.expected)
            << row.cell << " / " << row.what;
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
