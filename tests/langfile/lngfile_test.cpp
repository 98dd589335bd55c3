// The model and its buffer; the reader against a plain one, on the files of data/ and on random files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "langfile/growbuffer.h"
#include "langfile/lngsniff.h"
#include "tests/langfile/lngreference.h"
#include "tests/langfile/lngtest.h"
#include "tests/support/datarows.h"

namespace
{

using BufferPtr = std::unique_ptr<GrowBuffer, decltype([](GrowBuffer *buffer) { GrowBufferFree(buffer); })>;
const auto Content = [](const GrowBuffer *buffer) { return std::string(buffer->base, buffer->highWater); };

// Capacity is the smallest 8 + 4k that holds the content; a source inside a moving block stays valid.
TEST(GrowBuffer, GrowsByWholeStepsAndKeepsContentWhenTheBlockMoves)
{
    BufferPtr buffer(GrowBufferCreate(8, 4));
    EXPECT_EQ(GrowBufferWrite(buffer.get(), buffer->base, "0123456789abcde", 15), buffer->base + 15);
    EXPECT_EQ(GrowBufferWrite(buffer.get(), buffer->base, "ABCD", 4), buffer->base + 4);
    EXPECT_EQ(Content(buffer.get()), "ABCD456789abcde") << "a write below the high water does not shorten";
    EXPECT_EQ(GrowBufferWrite(buffer.get(), buffer->cursor, nullptr, 0), buffer->base + 4);
    std::string expected = Content(buffer.get());
    for (int i = 15; i < 300000; ++i) {
        expected += static_cast<char>(i * 7);
        const uint8_t *end = GrowBufferWrite(buffer.get(), buffer->highWater, &expected.back(), 1);
        ASSERT_TRUE(end == buffer->base + i + 1 && buffer->capacity == 8 + (i + 1 - 8 + 3) / 4 * 4) << i;
    }
    EXPECT_EQ(Content(buffer.get()), expected);
    ASSERT_GT(2 * expected.size(), buffer->reserved);
    uint8_t *const oldBase = buffer->base;
    ASSERT_TRUE(GrowBufferWrite(buffer.get(), buffer->highWater, buffer->base, expected.size()));
    EXPECT_NE(buffer->base, oldBase);
    EXPECT_EQ(Content(buffer.get()), expected + expected);
}

// 65,000 language-file records fit the first reservation: growth never moves (copies) the block.
TEST(GrowBuffer, LanguageFileRecordsGrowInPlace)
{
    BufferPtr buffer(GrowBufferCreate(262144, 65536));
    ASSERT_TRUE(buffer);
    uint8_t *const base = buffer->base;
    const uint8_t record[256] = {};
    for (uint32_t i = 0; i < 65000; ++i)
        ASSERT_TRUE(GrowBufferWrite(buffer.get(), buffer->cursor, record, sizeof(record)) && buffer->base == base);
    EXPECT_EQ(buffer->capacity, 262144 + 250 * 65536); // the first whole step to hold 16,640,000 bytes
}

TEST(GrowBuffer, RefusesBadArgumentsAndChangesNothing)
{
    EXPECT_FALSE(GrowBufferCreate(8, 0) || GrowBufferCreate(-1, 4));
    GrowBufferFree(nullptr);
    BufferPtr empty(GrowBufferCreate(0, 10));
    EXPECT_TRUE(GrowBufferWrite(empty.get(), empty->base, "abc", 3) && empty->capacity == 10) << "grows from zero";

    BufferPtr buffer(GrowBufferCreate(8, 4));
    GrowBufferWrite(buffer.get(), buffer->base, "abcdef", 6);
    GrowBufferWrite(buffer.get(), buffer->base, "AB", 2);
    GrowBuffer *const b = buffer.get();
    EXPECT_FALSE(GrowBufferWrite(nullptr, nullptr, "x", 1) || GrowBufferWrite(b, b->highWater + 1, "x", 1) ||
                 GrowBufferWrite(b, b->base - 1, "x", 1) || GrowBufferWrite(b, b->cursor, nullptr, 1) ||
                 GrowBufferWrite(b, b->cursor, "x", size_t{INT32_MAX}) || GrowBufferExtend(b, size_t{INT32_MAX}) ||
                 GrowBufferExtend(nullptr, 1));
    EXPECT_EQ(buffer->capacity * 100 + (buffer->cursor - buffer->base), 802);
    // Extending adds space at the end by the same steps, wherever the cursor is.
    uint8_t *space = GrowBufferExtend(buffer.get(), 9);
    ASSERT_TRUE(space == buffer->base + 6 && buffer->capacity == 16 && buffer->cursor == buffer->highWater);
    memcpy(space, "123456789", 9);
    EXPECT_EQ(Content(buffer.get()), "ABcdef123456789");
}

TEST(LangModel, AddRefusesWhatNoRowCanHoldAndFindSkipsWhatAFileMayHold)
{
    ModelPtr model(LangFileCreate());
    const std::string longest(kLangTextMax, 'x');
    EXPECT_TRUE(LangFileAdd(model.get(), 65534, longest.c_str()) && LangFileAdd(model.get(), 4, ""));
    EXPECT_FALSE(LangFileAdd(model.get(), 65535, "x") || LangFileAdd(model.get(), 0xFFFFFFFFu, "x") ||
                 LangFileAdd(model.get(), 2, (longest + "x").c_str()) || LangFileAdd(model.get(), 3, nullptr));
    LangFileAppend(model.get(), 65535, "kept", 4); // from a file: kept, never found
    EXPECT_EQ(RecordsOf(model.get()), (Records{{65534, longest}, {4, ""}, {65535, "kept"}}));
    char text[kTextSize];
    EXPECT_TRUE(LangFileFind(model.get(), 65534, text) && text == longest);
    EXPECT_FALSE(LangFileFind(model.get(), 65535, text) || LangFileFind(model.get(), 65534, nullptr) ||
                 LangFileRecordAt(model.get(), 3) || LangFileRecordAt(model.get(), -1));
    LangFileFree(nullptr);
    EXPECT_TRUE(LangFileCount(nullptr) == 0 && !LangFileFind(nullptr, 1, text) && !LangFileAdd(nullptr, 1, "x"));
}

// Find works before and after the stable sort by unsigned ID, and finds the first of equal IDs.
TEST(LangModel, SortsLikeAStableSortAndFindsInAnyOrder)
{
    ModelPtr model(LangFileCreate());
    Records expected = {{0x80000000u, "high"}, {0, "zero"}};
    for (const Record &r : expected)
        LangFileAppend(model.get(), r.first, r.second.data(), r.second.size());
    Random random{12345};
    for (int i = 0; i < 20000; ++i) {
        expected.emplace_back(random.Next(3000) * 5 + 5, std::to_string(i));
        ASSERT_TRUE(LangFileAdd(model.get(), expected.back().first, expected.back().second.c_str()));
    }
    std::stable_sort(expected.begin(), expected.end(), [](auto &a, auto &b) { return a.first < b.first; });
    char text[kTextSize];
    for (int sorted = 0; sorted < 2; ++sorted, LangFileSort(model.get())) {
        for (uint32_t id = 1; id <= 15000; ++id) {
            const auto first = std::lower_bound(expected.begin(), expected.end(), Record{id, ""});
            const bool there = first != expected.end() && first->first == id;
            ASSERT_EQ(LangFileFind(model.get(), id, text) ? text : "-", there ? first->second : "-") << id;
        }
    }
    EXPECT_EQ(RecordsOf(model.get()), expected);
}

TEST(LangModel, SignatureIsCopiedBothWaysUpToItsLimit)
{
    ModelPtr model(LangFileCreate());
    char signature[kLangSignatureSize];
    EXPECT_TRUE(LangFileGetSignature(model.get(), signature) && std::string(signature).empty());
    const std::string tooLong(kLangSignatureSize + 10, 's');
    for (const std::string &text : {std::string("Language: Deutsch\r\nAuthor: A\r\n"), tooLong}) {
        EXPECT_TRUE(LangFileSetSignature(model.get(), text.c_str()) && LangFileGetSignature(model.get(), signature) &&
                    signature == text.substr(0, kLangSignatureMax));
    }
    EXPECT_FALSE(LangFileSetSignature(model.get(), nullptr) || LangFileGetSignature(nullptr, signature));
}

TEST(LangFormat, FailedWriteIsReportedAsFailureNotAsBytes)
{
    ModelPtr model(LangFileCreate());
    const std::string text(200, 'x');
    for (int i = 0; i < 20000; ++i)
        ASSERT_TRUE(LangFileAdd(model.get(), static_cast<uint32_t>(i), text.c_str()));
    Sink counting;
    const int64_t itemBytes = counting.Format(model.get()); // before the bytes are looked at
    EXPECT_EQ(itemBytes, static_cast<int64_t>(counting.bytes.size()));
    EXPECT_LE(counting.taken, 20) << "about 4 MB go out in a few large pieces, not line by line";
    for (int allowed = 0; allowed < counting.taken; ++allowed)
        EXPECT_EQ(Sink{allowed}.Format(model.get()), -1) << "failing after " << allowed << " pieces";
    ModelPtr empty = Parse("; x\r\n");
    EXPECT_EQ(Sink{0}.Format(empty.get()) + Sink{0}.Format(nullptr) + LangFileFormat(empty.get(), 0, nullptr), -3);
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
    const auto reference = [](const std::string &file, LeadByteFn lead) {
        return lngreference::Read(file.data(), file.size(), lead);
    };
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        // The last one passes the records buffer's first capacity (1024 records) and grows it.
        const std::string file = RandomItems(seed, seed == 40 ? 3000 : 200);
        for (LeadByteFn lead : {LeadByteFn{}, FakeDbcsLeadByte})
            EXPECT_EQ(RecordsOf(Parse(file, lead).get()), reference(file, lead)) << "seed " << seed;
    }
    // Every cut reads without a byte past its end (the sanitizers watch) and keeps the items before it.
    const std::string file = "; Language: x\r\n;  Author: y\r\n\r\n" + RandomItems(99, 12);
    for (size_t cut = 0; cut <= file.size(); ++cut) {
        const std::string prefix = file.substr(0, cut);
        ASSERT_EQ(RecordsOf(Parse(prefix).get()), reference(prefix, nullptr)) << "cut at " << cut;
    }
    EXPECT_EQ(LangFileParse(ModelPtr(LangFileCreate()).get(), nullptr, 0, nullptr) +
                  LangFileParse(nullptr, "1=\"a\"", 5, nullptr),
              0);
}

TEST(LangSniff, MarksAndItemLinesOfAFile)
{
    for (const auto &row : ReadDataRows(std::string(PARLEVO_LNG_DATA_DIR) + "/sniff.tsv", 9)) {
        const std::vector<char> exact(row[0].begin(), row[0].end()); // no terminator behind it
        size_t markLength = 99;
        LangLineCounts counts{99, 99};
        const LangTextMark mark = LangDetectMark(exact.data(), exact.size(), &markLength);
        LangCountLines(exact.data(), exact.size(), &counts);
        EXPECT_EQ(std::to_string(mark) + " " + std::to_string(markLength) + " " + std::to_string(counts.nonBlank) +
                      " " + std::to_string(counts.items),
                  row[1])
            << row[0];
    }
}

TEST(LangGolden, FilesReadAndWriteBackAsRecorded)
{
    CheckGoldenFiles([](const std::string &path, const std::string &name) {
        if (name.rfind("marked-", 0) == 0) return ModelPtr(); // the file layer reads those
        return Parse(ReadFile(path), name.rfind("dbcs-", 0) == 0 ? FakeDbcsLeadByte : nullptr);
    });
}

// Any byte but NUL (it ends a text), the ones the reader takes specially drawn more often.
char TextByte(Random &random)
{
    static const char kSpecial[] = {'\t', '\n', '\r', '"', '\\', ' ', '=', ';', '\'', 'n', 't', 'r'};
    return random.Next(3) == 0 ? kSpecial[random.Next(sizeof(kSpecial))] : static_cast<char>(1 + random.Next(255));
}

TEST(LangRoundTrip, RandomRecordsReadBackAsWritten)
{
    Random random{20240611};
    for (int round = 0; round < 300; ++round) {
        // Lines that read back as written: no leading blank or ';', each ending in a line feed.
        std::string signature;
        for (uint32_t lines = random.Next(6); lines > 0; --lines) {
            std::string line;
            for (uint32_t j = random.Next(40); j > 0; --j) {
                const char c = TextByte(random);
                line += c == '\n' || (line.empty() && (c == '\t' || c == ' ' || c == ';')) ? 'x' : c;
            }
            line += random.Next(2) ? "\r\n" : "\n";
            if (signature.size() + line.size() <= kLangSignatureMax) signature += line;
        }
        ModelPtr written(LangFileCreate());
        LangFileSetSignature(written.get(), signature.c_str());
        Records expected;
        for (uint32_t count = random.Next(40); count > 0; --count) {
            // IDs of every size, as a model read from a hand-edited file may hold; texts up to the longest.
            const uint32_t id = random.Next(8) == 0 ? random.Next(0xFFFFFFFFu) : random.Next(70000);
            std::string text(random.Next(4) == 0 ? kLangTextMax - random.Next(3) : random.Next(kLangTextMax + 1), 0);
            for (char &c : text)
                c = TextByte(random);
            ASSERT_TRUE(LangFileAppend(written.get(), id, text.data(), text.size()));
            expected.emplace_back(id, text);
        }
        std::stable_sort(expected.begin(), expected.end(), [](auto &a, auto &b) { return a.first < b.first; });
        ModelPtr read = Parse(Sink().Bytes(written.get()));
        ASSERT_EQ(std::pair(std::string(read->signature), RecordsOf(read.get())), std::pair(signature, expected))
            << "round " << round;
    }
}

} // namespace
