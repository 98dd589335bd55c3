// Journal bytes: written ones read back whole, a torn tail loses only itself, foreign ones are refused.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "langfile/journal.h"
#include "tests/langfile/lngtest.h"

namespace
{

using Change = std::tuple<JournalKind, uint32_t, std::string>; // kind, string ID, text

struct Outcome {
    JournalResult result;
    JournalHeader header;
    std::vector<Change> changes;
    JournalSummary summary{-1, 0};
};

// Reads an exact heap copy, so that the sanitizers see any read past the end.
Outcome Read(const std::string &bytes)
{
    const std::vector<char> copy(bytes.begin(), bytes.end());
    const auto collect = [](void *to, const JournalRecord *r) {
        return static_cast<std::vector<Change> *>(to)->push_back({r->kind, r->stringId, {r->bytes, r->length}}), 1;
    };
    Outcome out{};
    out.result = JournalRead(copy.data(), copy.size(), &out.header, collect, &out.changes, &out.summary);
    EXPECT_EQ(out.summary.records, static_cast<int>(out.changes.size()));
    return out;
}

std::string HeaderBytes(const std::string &document)
{
    JournalHeader header{};
    header.time = 0x01DC66F1A2B3C4D5ull;
    document.copy(header.document, sizeof(header.document)); // without a terminator when it fills the field
    snprintf(header.module, sizeof(header.module), "%s", "C:\\Lumivex\\Lumivex.dll");
    char out[kJournalHeaderMax];
    return std::string(out, JournalFormatHeader(&header, out, sizeof(out)));
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
    for (const auto &[kind, id, text] : kChanges) {
        char out[kJournalRecordMax];
        bytes.append(out, kind == kJournalText ? JournalFormatText(id, text.data(), text.size(), out, sizeof(out))
                                               : JournalFormatSignature(text.data(), text.size(), out, sizeof(out)));
        ends.push_back(bytes.size());
    }
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        const Outcome out = Read(bytes.substr(0, cut));
        ASSERT_EQ(out.result, cut < header.size() ? kJournalEmpty : kJournalRead);
        if (cut < header.size()) continue;
        size_t whole = 0;
        while (whole < ends.size() && ends[whole] <= cut)
            ++whole;
        EXPECT_EQ(out.changes, std::vector<Change>(kChanges.begin(), kChanges.begin() + whole));
        EXPECT_EQ(out.summary.droppedBytes, cut - (whole ? ends[whole - 1] : header.size()));
        EXPECT_EQ(std::string(out.header.document) + "|" + out.header.module + "|" + std::to_string(out.header.time),
                  "C:\\Docs\\de.lng|C:\\Lumivex\\Lumivex.dll|" + std::to_string(0x01DC66F1A2B3C4D5ull));
    }
}

// Each row of data/journal/outcomes.txt: file, result, whole records handed over, bytes dropped.
TEST(Journal, DamagedOrForeignBytesHaveADefinedResult)
{
    const std::string dir = std::string(PARLEVO_LNG_DATA_DIR) + "/journal/";
    std::istringstream outcomes(ReadFile(dir + "outcomes.txt"));
    const char *const kResults[] = {"unreadable", "empty", "read"};
    int rows = 0;
    for (std::string name, expected; outcomes >> name && std::getline(outcomes, expected); ++rows) {
        const Outcome out = Read(ReadFile(dir + name));
        EXPECT_EQ(" " + std::string(kResults[out.result]) + " " + std::to_string(out.changes.size()) + " " +
                      std::to_string(out.summary.droppedBytes),
                  expected)
            << name;
    }
    EXPECT_EQ(rows, 18);
}

TEST(Journal, HeaderNamesItsDocumentWholeOrNotAtAll)
{
    EXPECT_STREQ(Read(HeaderBytes("")).header.document, ""); // untitled
    const std::string longest(kJournalPathMax, 'p');
    EXPECT_EQ(Read(HeaderBytes(longest)).header.document, longest);

    // A path cut short could name another document, a cut text lose data: both are refused.
    char out[kJournalRecordMax];
    const std::string text(kLangTextMax + 1, 'x'), signature(kLangSignatureMax + 1, 'x');
    EXPECT_EQ(HeaderBytes(std::string(kJournalPathSize, 'p')).size() +
                  JournalFormatText(1, "a\0b", 3, out, sizeof(out)) +
                  JournalFormatText(1, text.data(), text.size(), out, sizeof(out)) +
                  JournalFormatSignature(signature.data(), signature.size(), out, sizeof(out)) +
                  JournalFormatText(1, "abc", 3, out, kJournalFrameSize + 6),
              0u);
}

} // namespace
