// The translation checks as a table of real interface strings: source, translation, and the
// problems expected ("severity check: message", one per line; empty: none).
#include <gtest/gtest.h>

#include <string>

#include "view/textcheck.h"

namespace
{

// A made-up double-byte code page whose trail bytes may be '%' or '&'.
bool FakeLead(unsigned char c)
{
    return c >= 0x81 && c <= 0x9F;
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
