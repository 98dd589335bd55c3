// Reading language files: tokens, quotes, escapes, comments, the signature block, long tokens.
#include <gtest/gtest.h>

#include "langfile/lngsniff.h"
#include "tests/langfile/lngreference.h"
#include "tests/langfile/lngtest.h"

namespace
{

std::string SignatureOf(const LangFile *model)
{
    return model->signature;
}

TEST(LangParse, ReadsItemsWithOrWithoutBlanksAroundTheEqualsSign)
{
    ModelPtr model = Parse("100=Hello\r\n200 = \"A B\"\r\n");
    EXPECT_EQ(RecordsOf(model.get()), (Records{{100, "Hello"}, {200, "A B"}}));
}

TEST(LangParse, UnquotedTextEndsAtTheFirstBlank)
{
    EXPECT_EQ(RecordsOf(Parse("100=Hello World\r\n").get()), (Records{{100, "Hello"}}));
    // What follows is taken as the next item: "World" as an ID token (value 0), then one byte.
    EXPECT_EQ(RecordsOf(Parse("100=Hello World =Again\r\n").get()), (Records{{0, "Again"}, {100, "Hello"}}));
    EXPECT_EQ(RecordsOf(Parse("1=a\tb=c\r\n").get()), (Records{{0, "c"}, {1, "a"}}));
}

TEST(LangParse, LastItemWithoutLineEndIsReadOnlyWhenQuoted)
{
    EXPECT_EQ(RecordsOf(Parse("1=\"a\"\r\n2=\"b\"").get()), (Records{{1, "a"}, {2, "b"}}));
    EXPECT_EQ(RecordsOf(Parse("1=\"a\"\r\n2=b").get()), (Records{{1, "a"}}));
    // A token cut off by the end of the data is lost, also inside quotes or after a backslash.
    EXPECT_EQ(RecordsOf(Parse("1=\"a\"\r\n2=\"b").get()), (Records{{1, "a"}}));
    EXPECT_EQ(RecordsOf(Parse("1=\"a\"\r\n2=\"b\\").get()), (Records{{1, "a"}}));
    EXPECT_EQ(RecordsOf(Parse("1=\"a\"\r\n2").get()), (Records{{1, "a"}}));
    EXPECT_EQ(RecordsOf(Parse("1=\"a\"\r\n2=").get()), (Records{{1, "a"}}));
}

TEST(LangParse, BackslashEscapesReadBackAsTheirBytes)
{
    ModelPtr model = Parse("1=\"a\\nb\\tc\\\"d\\\\e\\rf\\'g\\qh\"\r\n"
                           "2=\\\"x\\\"\r\n");
    EXPECT_EQ(RecordsOf(model.get()), (Records{{1, "a\nb\tc\"d\\e\rf'gqh"}, {2, "\"x\""}}));
}

TEST(LangParse, EscapedSeparatorsAndLineEndsStillEndATokenInTheirPlace)
{
    // Outside quotes an escaped blank or "=" ends the token; inside quotes it is a plain byte.
    EXPECT_EQ(RecordsOf(Parse("1=a\\ b=c\r\n").get()), (Records{{0, "c"}, {1, "a"}}));
    EXPECT_EQ(RecordsOf(Parse("1=\"a\\ b\\=c\\\td\"\r\n").get()), (Records{{1, "a b=c\td"}}));
    // An escaped or raw line end ends even a quoted token.
    EXPECT_EQ(RecordsOf(Parse("1=\"a\\\nb=\"c\"\r\n").get()), (Records{{0, "c"}, {1, "a"}}));
    EXPECT_EQ(RecordsOf(Parse("1=\"ab\r\n2=\"cd\"\r\n").get()), (Records{{1, "ab"}, {2, "cd"}}));
}

TEST(LangParse, QuotingMayBeginInsideATokenAndTheClosingQuoteEndsIt)
{
    EXPECT_EQ(RecordsOf(Parse("1=ab\"c d\"ef=\"g\"\r\n").get()), (Records{{0, "g"}, {1, "abc d"}}));
    EXPECT_EQ(RecordsOf(Parse("\"7\"=\"x\"\r\n").get()), (Records{{7, "x"}}));
    EXPECT_EQ(RecordsOf(Parse("1=\"\"\r\n").get()), (Records{{1, ""}}));
}

TEST(LangParse, ItemsNeedNoLineStructure)
{
    EXPECT_EQ(RecordsOf(Parse("1=\"a\" 2=\"b\"\t3\r\n=\r\n\"c\"").get()), (Records{{1, "a"}, {2, "b"}, {3, "c"}}));
    // Whatever byte stands where "=" belongs is skipped.
    EXPECT_EQ(RecordsOf(Parse("1 :\"a\"\r\n2 x \"b\"\r\n").get()), (Records{{1, "a"}, {2, "b"}}));
}

TEST(LangParse, CommentsAreSkippedWhereverATokenIsExpected)
{
    ModelPtr model = Parse("; Language: x\r\n"
                           "1=\"a\" ; after an item\r\n"
                           "  ; an indented comment\r\n"
                           "2= ; between the parts\r\n"
                           "\"b;c\"\r\n"
                           "3=d;e\r\n");
    EXPECT_EQ(RecordsOf(model.get()), (Records{{1, "a"}, {2, "b;c"}, {3, "d;e"}}));
    EXPECT_EQ(RecordsOf(Parse("1=\"a\"\r\n; no line end").get()), (Records{{1, "a"}}));
}

TEST(LangParse, SignatureDropsMarkersAndKeepsLineEnds)
{
    ModelPtr model = Parse("; a\r\n;;  b\r\n\r\n1=\"x\"\r\n");
    EXPECT_EQ(SignatureOf(model.get()), "a\r\nb\r\n");
    EXPECT_EQ(RecordsOf(model.get()), (Records{{1, "x"}}));

    // Leading blanks of a line are markers too; a bare line feed and a last line without one.
    EXPECT_EQ(SignatureOf(Parse(";\t ;  indented\n;\r\n; last").get()), "indented\n\r\nlast");
    // The block ends at the first line that does not start with ";", even if more follow.
    EXPECT_EQ(SignatureOf(Parse("; a\r\n1=\"x\"\r\n; b\r\n").get()), "a\r\n");
}

TEST(LangParse, BlankFirstLineMeansNoSignature)
{
    ModelPtr model = Parse("\r\n; Language: x\r\n1=\"x\"\r\n");
    EXPECT_EQ(SignatureOf(model.get()), "");
    EXPECT_EQ(RecordsOf(model.get()), (Records{{1, "x"}}));
    EXPECT_EQ(SignatureOf(Parse(" ; x\r\n").get()), "");
}

TEST(LangParse, RepeatedIdsAreAllKeptAndTheFirstIsFound)
{
    ModelPtr model = Parse("7=\"b\"\r\n5=\"first\"\r\n5=\"second\"\r\n");
    EXPECT_EQ(LangFileCount(model.get()), 3);
    char text[kTextSize];
    ASSERT_TRUE(LangFileFind(model.get(), 5, text));
    EXPECT_STREQ(text, "first");
}

TEST(LangParse, IdIsTheValueOfTheLeadingDigits)
{
    ModelPtr model = Parse("abc=\"zero\"\r\n"
                           "12ab=\"twelve\"\r\n"
                           "65535=\"limit\"\r\n"
                           "4294967295=\"max\"\r\n"
                           "4294967299=\"too large\"\r\n"
                           "\"42949672960000000003\"=\"far too large\"\r\n");
    // Digits past 32 bits never wrap onto a real ID such as 3.
    EXPECT_EQ(RecordsOf(model.get()), (Records{{0, "zero"},
                                               {12, "twelve"},
                                               {65535, "limit"},
                                               {4294967295u, "max"},
                                               {kLangIdTooLarge, "too large"},
                                               {kLangIdTooLarge, "far too large"}}));
    char text[kTextSize];
    EXPECT_TRUE(LangFileFind(model.get(), 0, text));
    EXPECT_FALSE(LangFileFind(model.get(), 65535, text));
    EXPECT_FALSE(LangFileFind(model.get(), 3, text));
}

TEST(LangParse, RecordsAreSortedAfterReading)
{
    EXPECT_EQ(RecordsOf(Parse("3=\"c\"\r\n1=\"a\"\r\n2=\"b\"\r\n").get()), (Records{{1, "a"}, {2, "b"}, {3, "c"}}));
}

TEST(LangParse, HeaderOnlyAndEmptyFilesHoldNoRecords)
{
    ModelPtr model = Parse("; Language: x\r\n\r\n");
    EXPECT_EQ(LangFileCount(model.get()), 0);
    EXPECT_EQ(SignatureOf(model.get()), "Language: x\r\n");
    EXPECT_EQ(LangFileCount(Parse("").get()), 0);
    EXPECT_EQ(LangFileCount(Parse(" \r\n\t").get()), 0);
    ModelPtr none(LangFileCreate());
    EXPECT_EQ(LangFileParse(none.get(), nullptr, 0, nullptr), 0);
    EXPECT_EQ(LangFileParse(nullptr, "1=\"a\"", 5, nullptr), 0);
}

TEST(LangParse, SignatureKeepsAtMost4095BytesCutOnACharacter)
{
    const std::string line = "; " + std::string(98, 's') + "\r\n"; // 100 bytes kept per line
    std::string file;
    for (int i = 0; i < 50; ++i)
        file += line;
    file += "1=\"x\"\r\n";
    ModelPtr model = Parse(file);
    EXPECT_EQ(SignatureOf(model.get()).size(), kLangSignatureMax);
    EXPECT_EQ(SignatureOf(model.get()).substr(0, 100), std::string(98, 's') + "\r\n");
    EXPECT_EQ(RecordsOf(model.get()), (Records{{1, "x"}}));

    // A double-byte character that would straddle the limit is left out whole.
    std::string dbcs = "; " + std::string(kLangSignatureMax - 1, 'a') + "\x81\x40" + "\r\n";
    EXPECT_EQ(SignatureOf(Parse(dbcs, FakeDbcsLeadByte).get()), std::string(kLangSignatureMax - 1, 'a'));
    EXPECT_EQ(SignatureOf(Parse(dbcs).get()), std::string(kLangSignatureMax - 1, 'a') + "\x81");
    dbcs = "; " + std::string(kLangSignatureMax - 2, 'a') + "\x81\x40" + "\r\n";
    EXPECT_EQ(SignatureOf(Parse(dbcs, FakeDbcsLeadByte).get()), std::string(kLangSignatureMax - 2, 'a') + "\x81\x40");
}

TEST(LangParse, LongTextKeepsItsFirst251BytesAndTheRestIsConsumed)
{
    const std::string text(300, 't');
    std::string quotes;
    for (int i = 0; i < 300; ++i)
        quotes += "\\\"";
    ModelPtr model = Parse("1=\"" + text + "\"\r\n2=" + text + "\r\n3=\"" + quotes + "\"\r\n4=\"end\"\r\n");
    EXPECT_EQ(RecordsOf(model.get()), (Records{{1, text.substr(0, kLangTextMax)},
                                               {2, text.substr(0, kLangTextMax)},
                                               {3, std::string(kLangTextMax, '"')},
                                               {4, "end"}}));

    std::string escapes;
    for (int i = 0; i < 300; ++i)
        escapes += "\\n";
    EXPECT_EQ(RecordsOf(Parse("1=\"" + escapes + "\"\r\n2=\"x\"").get()),
              (Records{{1, std::string(kLangTextMax, '\n')}, {2, "x"}}));
}

TEST(LangParse, LongTextIsCutOnACharacterBoundary)
{
    const std::string straddling = std::string(250, 'a') + "\x81\x40" + "bbb";
    const std::string fitting = std::string(249, 'a') + "\x81\x40" + "bbb";
    const std::string file = "1=\"" + straddling + "\"\r\n2=\"" + fitting + "\"\r\n3=\"z\"\r\n";
    EXPECT_EQ(RecordsOf(Parse(file, FakeDbcsLeadByte).get()),
              (Records{{1, std::string(250, 'a')}, {2, std::string(249, 'a') + "\x81\x40"}, {3, "z"}}));
    // A single-byte code page cuts at 251 bytes whatever they are.
    EXPECT_EQ(RecordsOf(Parse(file).get()),
              (Records{{1, straddling.substr(0, kLangTextMax)}, {2, fitting.substr(0, kLangTextMax)}, {3, "z"}}));
    // Characters are counted from the start of the text: a byte that could lead one may be a trail.
    const std::string trail = std::string(249, 'a') + "\x81\x81" + "bb";
    const std::string leads(260, '\x81');
    EXPECT_EQ(RecordsOf(Parse("1=\"" + trail + "\"\r\n2=\"" + leads + "\"\r\n", FakeDbcsLeadByte).get()),
              (Records{{1, trail.substr(0, 251)}, {2, leads.substr(0, 250)}}));
}

TEST(LangParse, LongIdTokenKeepsIts255BytesAndTheRestIsConsumed)
{
    const std::string zeros(250, '0');
    ModelPtr model = Parse(zeros + "123456789=\"a\"\r\n" + std::string(300, '0') + "5=\"b\"\r\n" +
                           std::string(300, 'x') + "=\"c\"\r\n9=\"d\"\r\n");
    // 250 zeros and 12345 are the 255 bytes kept of the first ID; the 5 of the second is past them.
    EXPECT_EQ(RecordsOf(model.get()), (Records{{0, "b"}, {0, "c"}, {9, "d"}, {12345, "a"}}));
}

// Every cut of a valid file reads without touching a byte past its end, and gives the records
// of the items complete before the cut.
TEST(LangParse, EveryPrefixOfAFileReadsSafely)
{
    const std::string file = "; Language: x\r\n;  Author: y\r\n\r\n1=\"a\\tb\"\r\n20 = plain\r\n"
                             "300=\"q\\\"q\" ; c\r\n4000=\"\\\\\"\r\n";
    // Where each item is complete: past its closing quote, or past the byte after an unquoted text.
    const size_t itemEnds[] = {file.find("\r\n20 ="), file.find("\r\n300=") + 1, file.find(" ; c"), file.size() - 2};
    for (size_t cut = 0; cut <= file.size(); ++cut) {
        int expected = 0;
        for (size_t end : itemEnds)
            expected += cut >= end;
        EXPECT_EQ(LangFileCount(Parse(file.substr(0, cut)).get()), expected) << "cut at " << cut;
    }
    EXPECT_EQ(RecordsOf(Parse(file).get()), (Records{{1, "a\tb"}, {20, "plain"}, {300, "q\"q"}, {4000, "\\"}}));
}

// Long files of items as written and of items that are not, with escapes and quotes anywhere,
// texts near the window the reader takes at once and near the longest kept: the records are
// those of a plain byte-at-a-time reader, for the whole file and for every cut of one.
Records ReferenceRecords(const std::string &file, LeadByteFn isLeadByte)
{
    Records records;
    for (const auto &[id, text] : lngreference::Read(file.data(), file.size(), isLeadByte))
        records.emplace_back(id, text.c_str());
    return records;
}

std::string RandomItems(uint32_t seed, int items)
{
    uint32_t state = seed;
    const auto next = [&state](uint32_t bound) {
        state = state * 1664525u + 1013904223u;
        return static_cast<uint32_t>((static_cast<uint64_t>(state >> 4) * bound) >> 28);
    };
    static const char *const kPieces[] = {"\\n",  "\\t", "\\\"", "\\\\", "\\",   "\"",       "\r", "\n",
                                          "\r\n", " ",   "=",    ";",    "\x81", "\x81\x40", "\t", "\\\r\n"};
    std::string file;
    for (int i = 0; i < items; ++i) {
        file += std::to_string(next(4) == 0 ? next(4000000000u) : next(70000));
        if (next(40) == 0) file += std::to_string(next(10)); // sometimes past 32 bits
        file += next(8) == 0 ? " = " : "=";
        file += '"';
        // Lengths around a window (64) and around the longest text kept (251), in escapes too.
        static const uint32_t kLengths[] = {0, 5, 40, 62, 63, 64, 65, 127, 128, 200, 249, 250, 251, 252, 260};
        const uint32_t length = kLengths[next(sizeof(kLengths) / sizeof(kLengths[0]))];
        const bool special = next(3) == 0;
        for (uint32_t n = 0; n < length; ++n) {
            if (special && next(16) == 0)
                file += kPieces[next(sizeof(kPieces) / sizeof(kPieces[0]))];
            else if (next(20) == 0)
                file += "\\n";
            else
                file += static_cast<char>('a' + next(26));
        }
        file += next(10) == 0 ? "" : "\"";
        file += next(6) == 0 ? " ; note\r\n" : "\r\n";
    }
    return file;
}

TEST(LangParse, ReadsLikeAPlainReader)
{
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        // The last one passes the records buffer's first capacity (1024 records) and grows it.
        const std::string file = RandomItems(seed, seed == 40 ? 3000 : 200);
        EXPECT_EQ(RecordsOf(Parse(file).get()), ReferenceRecords(file, nullptr)) << "seed " << seed;
        EXPECT_EQ(RecordsOf(Parse(file, FakeDbcsLeadByte).get()), ReferenceRecords(file, FakeDbcsLeadByte))
            << "seed " << seed;
    }
    const std::string file = RandomItems(99, 12);
    for (size_t cut = 0; cut <= file.size(); ++cut) {
        const std::string prefix = file.substr(0, cut);
        ASSERT_EQ(RecordsOf(Parse(prefix).get()), ReferenceRecords(prefix, nullptr)) << "cut at " << cut;
    }
}

// Texts made longer by their escapes and raw tabs, a byte at a time, past the longest kept:
// each is kept up to that length and terminated, and the items after it are not touched.
TEST(LangParse, EscapedAndTabbedTextsNearTheLongestKept)
{
    for (const char *piece : {"\\n", "\t", "a\\\"", "\\t\t"}) {
        std::string file;
        for (int length = 170; length <= 270; ++length) {
            std::string text;
            while (text.size() < static_cast<size_t>(length))
                text += piece;
            file += std::to_string(length) + "=\"" + text.substr(0, static_cast<size_t>(length)) + "\"\r\n";
            file += std::to_string(length) + "=\"short\"\r\n";
        }
        EXPECT_EQ(RecordsOf(Parse(file).get()), ReferenceRecords(file, nullptr)) << piece;
    }
}

} // namespace

namespace
{

// What a file is before it is read: its byte-order mark, and its lines past the signature that
// are not blank or comments, against those that start as items.
TEST(LangSniff, MarksAndItemLinesOfAFile)
{
    struct Row {
        const char *bytes;
        size_t length;
        LangTextMark mark;
        size_t markLength;
        uint32_t nonBlank;
        uint32_t items;
    };
    const Row rows[] = {
        {"", 0, kLangMarkNone, 0, 0, 0},
        {"; Language: x\r\n; Author: y\r\n\r\n", 30, kLangMarkNone, 0, 0, 0},
        {"; Language: x\r\n\r\n1=\"a\"\r\n  ; note\r\n 22 = b\r\n\"3\"=\"c\"", 50, kLangMarkNone, 0, 3, 3},
        {"# Notes\r\n\r\nSee 2=3 below.\r\n4=\"x\"\r\nx=1\n", 38, kLangMarkNone, 0, 4, 1},
        {"\x89PNG\r\n\x1a\n\0\0", 10, kLangMarkNone, 0, 3, 0},
        {"\xEF\xBB\xBF; Language: x\r\n", 18, kLangMarkUtf8, 3, 1, 0},
        {"\xEF\xBB", 2, kLangMarkNone, 0, 1, 0},
        {"\xFF\xFE;\0", 4, kLangMarkUtf16Le, 2, 1, 0},
        {"\xFE\xFF\0;", 4, kLangMarkUtf16Be, 2, 1, 0},
    };
    for (const Row &row : rows) {
        const std::string bytes(row.bytes, row.length);
        size_t markLength = 99;
        EXPECT_EQ(LangDetectMark(bytes.data(), bytes.size(), &markLength), row.mark) << bytes;
        EXPECT_EQ(markLength, row.markLength) << bytes;
        LangLineCounts counts{99, 99};
        LangCountLines(bytes.data(), bytes.size(), &counts);
        EXPECT_EQ(counts.nonBlank, row.nonBlank) << bytes;
        EXPECT_EQ(counts.items, row.items) << bytes;
    }
}

} // namespace
