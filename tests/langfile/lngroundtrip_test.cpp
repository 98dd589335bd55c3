// The files of data/ read and write back as recorded; random records and signatures read back as written.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/langfile/lngtest.h"

namespace
{

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
        ModelPtr read = Parse(Format(written.get()));
        ASSERT_EQ(RecordsOf(read.get()), expected) << "round " << round;
        ASSERT_EQ(std::string(read->signature), signature) << "round " << round;
    }
}

} // namespace
