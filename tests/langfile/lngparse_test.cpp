// The reader against a plain one on random files and every cut of one; what a file is before reading.
#include <gtest/gtest.h>

#include "langfile/lngsniff.h"
#include "tests/langfile/lngreference.h"
#include "tests/langfile/lngtest.h"

namespace
{

Records ReferenceRecords(const std::string &file, LeadByteFn isLeadByte)
{
    return lngreference::Read(file.data(), file.size(), isLeadByte);
}

// Items written any way, with text lengths around the reader's window (64) and the limit (251).
std::string RandomItems(uint32_t seed, int items)
{
    Random random{seed};
    static const char *const kPieces[] = {"\\n",  "\\t", "\\\"", "\\\\", "\\",   "\"",       "\r", "\n",
                                          "\r\n", " ",   "=",    ";",    "\x81", "\x81\x40", "\t", "\\\r\n"};
    static const char *const kFills[] = {"\\n", "\t", "a\\\"", "\\t\t"};
    static const uint32_t kLengths[] = {0, 5, 40, 62, 63, 64, 65, 127, 128, 200, 249, 250, 251, 252, 260};
    std::string file;
    for (int i = 0; i < items; ++i) {
        file += std::to_string(random.Next(4) == 0 ? random.Next(4000000000u) : random.Next(70000));
        if (random.Next(40) == 0) file += std::to_string(random.Next(10)); // sometimes past 32 bits
        file += random.Next(8) == 0 ? " = \"" : "=\"";
        const uint32_t length = kLengths[random.Next(sizeof(kLengths) / sizeof(kLengths[0]))], kind = random.Next(6);
        std::string text; // a fill twice as long: escaped, it keeps about its length
        while (text.size() < (kind < 4 ? length : 2 * length)) {
            if (kind < 4)
                text += kind == 0 && random.Next(16) == 0 ? kPieces[random.Next(16)]
                        : random.Next(20) == 0            ? "\\n"
                                                          : std::string(1, 'a' + random.Next(26));
            else
                text += kFills[(seed + i) % 4];
        }
        file += text.substr(0, kind < 4 ? text.size() : 2 * length);
        file += random.Next(10) == 0 ? "" : "\"";
        file += random.Next(6) == 0 ? " ; note\r\n" : "\r\n";
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
    // Every cut reads without a byte past its end (the sanitizers watch) and keeps the items before it.
    const std::string file = "; Language: x\r\n;  Author: y\r\n\r\n" + RandomItems(99, 12);
    for (size_t cut = 0; cut <= file.size(); ++cut) {
        const std::string prefix = file.substr(0, cut);
        ASSERT_EQ(RecordsOf(Parse(prefix).get()), ReferenceRecords(prefix, nullptr)) << "cut at " << cut;
    }
    ModelPtr none(LangFileCreate());
    EXPECT_EQ(LangFileParse(none.get(), nullptr, 0, nullptr), 0);
    EXPECT_EQ(LangFileParse(nullptr, "1=\"a\"", 5, nullptr), 0);
}

// A file's byte-order mark, and its non-blank lines past the signature against those starting as items.
TEST(LangSniff, MarksAndItemLinesOfAFile)
{
    // Mark (0 none, 1 UTF-8, 2 UTF-16 LE, 3 BE), its length, non-blank lines, item lines.
    const std::pair<std::string, std::string> rows[] = {
        {"", "0 0 0 0"},
        {"; Language: x\r\n; Author: y\r\n\r\n", "0 0 0 0"},
        {"; Language: x\r\n\r\n1=\"a\"\r\n  ; note\r\n 22 = b\r\n\"3\"=\"c\"", "0 0 3 3"},
        {"# Notes\r\n\r\nSee 2=3 below.\r\n4=\"x\"\r\nx=1\n", "0 0 4 1"},
        {std::string("\x89PNG\r\n\x1a\n\0\0", 10), "0 0 3 0"},
        {"\xEF\xBB\xBF; Language: x\r\n", "1 3 1 0"},
        {"\xEF\xBB", "0 0 1 0"},
        {std::string("\xFF\xFE;\0", 4), "2 2 1 0"},
        {std::string("\xFE\xFF\0;", 4), "3 2 1 0"},
    };
    for (const auto &[bytes, expected] : rows) {
        const std::vector<char> exact(bytes.begin(), bytes.end()); // no terminator behind it
        size_t markLength = 99;
        LangLineCounts counts{99, 99};
        const LangTextMark mark = LangDetectMark(exact.data(), exact.size(), &markLength);
        LangCountLines(exact.data(), exact.size(), &counts);
        EXPECT_EQ(std::to_string(mark) + " " + std::to_string(markLength) + " " + std::to_string(counts.nonBlank) +
                      " " + std::to_string(counts.items),
                  expected)
            << bytes;
    }
}

} // namespace
