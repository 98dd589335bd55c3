// The recovery journal's bytes: what the writer forms reads back whole, a torn tail loses only
// itself, and bytes that are not a journal are never taken for one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "langfile/journal.h"

namespace
{

struct Change {
    JournalKind kind;
    uint32_t stringId;
    std::string text;
    bool operator==(const Change &) const = default;
};

struct Outcome {
    JournalResult result;
    JournalHeader header;
    std::vector<Change> changes;
    size_t dropped;
};

int Collect(void *context, const JournalRecord *record)
{
    static_cast<std::vector<Change> *>(context)->push_back(
        {record->kind, record->stringId, std::string(record->bytes, record->length)});
    return 1;
}

// Reads an exact heap copy, so that the sanitizers see any read past the end.
Outcome Read(const std::string &bytes)
{
    const std::vector<char> copy(bytes.begin(), bytes.end());
    Outcome out{};
    JournalSummary summary{-1, 0};
    out.result = JournalRead(copy.data(), copy.size(), &out.header, Collect, &out.changes, &summary);
    out.dropped = summary.droppedBytes;
    EXPECT_EQ(summary.records, static_cast<int>(out.changes.size()));
    return out;
}

JournalHeader Header(const std::string &document)
{
    JournalHeader header{};
    header.time = 0x01DC66F1A2B3C4D5ull;
    snprintf(header.document, sizeof(header.document), "%s", document.c_str());
    snprintf(header.module, sizeof(header.module), "%s", "C:\\Lumivex\\Lumivex.dll");
    return header;
}

std::string HeaderBytes(const std::string &document)
{
    char out[kJournalHeaderMax];
    const JournalHeader header = Header(document);
    return std::string(out, JournalFormatHeader(&header, out, sizeof(out)));
}

std::string RecordBytes(const Change &change)
{
    char out[kJournalRecordMax];
    const size_t n = change.kind == kJournalText
                         ? JournalFormatText(change.stringId, change.text.data(), change.text.size(), out, sizeof(out))
                         : JournalFormatSignature(change.text.data(), change.text.size(), out, sizeof(out));
    EXPECT_GT(n, 0u);
    return std::string(out, n);
}

// A frame built by hand with a right CRC, for contents no writer forms.
uint32_t Crc(const std::string &bytes)
{
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

std::string Le32(uint32_t v)
{
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

std::string Frame(uint32_t kind, const std::string &payload, uint32_t length)
{
    const std::string head = Le32(kind) + Le32(length);
    return head + Le32(Crc(head + payload)) + payload;
}

std::string Frame(uint32_t kind, const std::string &payload)
{
    return Frame(kind, payload, static_cast<uint32_t>(payload.size()));
}

const std::vector<Change> kChanges = {
    {kJournalText, 103, "Öffnen\n\"Datei\""},
    {kJournalText, 104, ""}, // untranslated again
    {kJournalSignature, 0, std::string(kLangSignatureMax, 's')},
    {kJournalText, 0xFFFFFFFF, std::string(kLangTextMax, 't')},
    {kJournalSignature, 0, ""},
};

TEST(Journal, EveryCutKeepsTheWholeRecordsBeforeIt)
{
    const std::string header = HeaderBytes("C:\\Docs\\de.lng");
    std::string bytes = header;
    std::vector<size_t> ends;
    for (const Change &change : kChanges) {
        bytes += RecordBytes(change);
        ends.push_back(bytes.size());
    }
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        const Outcome out = Read(bytes.substr(0, cut));
        if (cut < header.size()) {
            EXPECT_EQ(out.result, kJournalEmpty);
            continue;
        }
        ASSERT_EQ(out.result, kJournalRead);
        size_t whole = 0;
        while (whole < ends.size() && ends[whole] <= cut)
            ++whole;
        EXPECT_EQ(out.changes, std::vector<Change>(kChanges.begin(), kChanges.begin() + whole));
        EXPECT_EQ(out.dropped, cut - (whole ? ends[whole - 1] : header.size()));
        EXPECT_STREQ(out.header.document, "C:\\Docs\\de.lng");
        EXPECT_STREQ(out.header.module, "C:\\Lumivex\\Lumivex.dll");
        EXPECT_EQ(out.header.time, 0x01DC66F1A2B3C4D5ull);
    }
}

TEST(Journal, DamagedOrForeignBytesHaveADefinedResult)
{
    const std::string header = HeaderBytes("");
    const std::string good = RecordBytes({kJournalText, 7, "Hallo"});
    const std::string afterGood = RecordBytes({kJournalText, 8, "Welt"});
    std::string flippedHeader = header;
    flippedHeader[header.size() - 3] ^= 0x20;
    std::string flippedRecord = good;
    flippedRecord[good.size() - 2] ^= 0x01;
    const std::string headerPayload = header.substr(kJournalMagicSize + kJournalFrameSize);
    struct Row {
        const char *name;
        std::string bytes;
        JournalResult result;
        size_t records;
        size_t dropped;
    } rows[] = {
        {"empty file", "", kJournalEmpty, 0, 0},
        {"part of the magic", header.substr(0, 5), kJournalEmpty, 0, 0},
        {"part of the header", header.substr(0, header.size() - 1), kJournalEmpty, 0, 0},
        {"header only", header, kJournalRead, 0, 0},
        {"text, not a journal", "; Language: Deutsch\r\n103=\"Offen\"\r\n", kJournalUnreadable, 0, 0},
        {"zeros", std::string(4096, '\0'), kJournalUnreadable, 0, 0},
        {"another version", "PLVJRNL2" + header.substr(kJournalMagicSize), kJournalUnreadable, 0, 0},
        {"header fails its CRC", flippedHeader + good, kJournalUnreadable, 0, 0},
        {"a record where the header belongs", header.substr(0, kJournalMagicSize) + good, kJournalUnreadable, 0, 0},
        {"header length past any header", "PLVJRNL1" + Frame(kJournalHeaderKind, headerPayload, 0xFFFFFFFF),
         kJournalUnreadable, 0, 0},
        {"header paths overrun it",
         "PLVJRNL1" + Frame(kJournalHeaderKind, std::string(8, '\0') + std::string("\xff\0ab", 4)), kJournalUnreadable,
         0, 0},
        {"record length 4 GiB", header + good + Le32(kJournalText) + Le32(0xFFFFFFFF) + Le32(0) + "x", kJournalRead, 1,
         13},
        {"record fails its CRC", header + flippedRecord + afterGood, kJournalRead, 0,
         flippedRecord.size() + afterGood.size()},
        {"zeros after a record", header + good + std::string(64, '\0'), kJournalRead, 1, 64},
        {"unknown kind", header + good + Frame(0x4B4E554A, "junk") + afterGood, kJournalRead, 1,
         12 + 4 + afterGood.size()},
        {"text without its ID", header + Frame(kJournalText, "ab"), kJournalRead, 0, 14},
        {"text one byte too long", header + Frame(kJournalText, Le32(1) + std::string(kLangTextMax + 1, 'x')),
         kJournalRead, 0, 12 + 4 + kTextSize},
        {"NUL inside a text", header + good + Frame(kJournalText, Le32(1) + std::string("a\0b", 3)), kJournalRead, 1,
         12 + 4 + 3},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome out = Read(row.bytes);
        EXPECT_EQ(out.result, row.result);
        EXPECT_EQ(out.changes.size(), row.records);
        EXPECT_EQ(out.dropped, row.dropped);
    }
}

TEST(Journal, HeaderNamesItsDocumentWholeOrNotAtAll)
{
    EXPECT_STREQ(Read(HeaderBytes("")).header.document, ""); // untitled
    EXPECT_STREQ(Read(HeaderBytes("D:\\fr.lng")).header.document, "D:\\fr.lng");
    const std::string longest(kJournalPathMax, 'p');
    EXPECT_EQ(Read(HeaderBytes(longest)).header.document, longest);

    // A path cut short could name another document: the writer refuses it.
    JournalHeader tooLong = Header("");
    memset(tooLong.document, 'p', sizeof(tooLong.document));
    char out[kJournalHeaderMax];
    EXPECT_EQ(JournalFormatHeader(&tooLong, out, sizeof(out)), 0u);

    // Texts the model cannot hold are refused whole, never cut.
    char record[kJournalRecordMax];
    const std::string text(kLangTextMax + 1, 'x');
    const std::string signature(kLangSignatureMax + 1, 'x');
    EXPECT_EQ(JournalFormatText(1, text.data(), text.size(), record, sizeof(record)), 0u);
    EXPECT_EQ(JournalFormatText(1, "a\0b", 3, record, sizeof(record)), 0u);
    EXPECT_EQ(JournalFormatSignature(signature.data(), signature.size(), record, sizeof(record)), 0u);
    EXPECT_EQ(JournalFormatText(1, "abc", 3, record, kJournalFrameSize + 6), 0u);
}

} // namespace
