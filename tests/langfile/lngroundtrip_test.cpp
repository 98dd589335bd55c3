// Whatever the writer writes, the reader reads back: random records and signatures.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/langfile/lngtest.h"

namespace
{

struct Random {
    uint32_t state;
    uint32_t Next(uint32_t bound)
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<uint32_t>((static_cast<uint64_t>(state >> 4) * bound) >> 28);
    }
};

// Any byte of a text but NUL, which ends a record's text and so cannot be in one. The writer
// escapes every byte the reader would take specially (tab, line feed, carriage return, quote,
// backslash), so no other byte is left out. Special bytes are drawn more often than their share.
char RandomTextByte(Random &random)
{
    static const char kSpecial[] = {'\t', '\n', '\r', '"', '\\', ' ', '=', ';', '\'', 'n', 't', 'r'};
    if (random.Next(3) == 0) return kSpecial[random.Next(sizeof(kSpecial))];
    return static_cast<char>(1 + random.Next(255));
}

std::string RandomText(Random &random)
{
    const uint32_t length = random.Next(4) == 0 ? static_cast<uint32_t>(kLangTextMax) - random.Next(3)
                                                : random.Next(static_cast<uint32_t>(kLangTextMax) + 1);
    std::string text;
    for (uint32_t i = 0; i < length; ++i)
        text += RandomTextByte(random);
    return text;
}

// A signature the reader gives back as written. By the format's own rules a line loses
// leading tabs, spaces and semicolons (they read as comment markers), and the last line gets
// a CR LF when it has no line feed; so lines start with another byte and end in a line feed.
std::string RandomSignature(Random &random)
{
    std::string signature;
    const uint32_t lines = random.Next(6);
    for (uint32_t i = 0; i < lines; ++i) {
        std::string line;
        const uint32_t length = random.Next(40);
        for (uint32_t j = 0; j < length; ++j) {
            char c = RandomTextByte(random);
            if (c == '\n' || (j == 0 && (c == '\t' || c == ' ' || c == ';'))) c = 'x';
            line += c;
        }
        line += random.Next(2) ? "\r\n" : "\n";
        if (signature.size() + line.size() > kLangSignatureMax) break;
        signature += line;
    }
    return signature;
}

TEST(LangRoundTrip, RandomRecordsReadBackAsWritten)
{
    Random random{20240611};
    for (int round = 0; round < 300; ++round) {
        ModelPtr written(LangFileCreate());
        const std::string signature = RandomSignature(random);
        LangFileSetSignature(written.get(), signature.c_str());
        Records expected;
        const uint32_t count = random.Next(40);
        for (uint32_t i = 0; i < count; ++i) {
            // IDs of every size, as a model read from a hand-edited file may hold.
            const uint32_t id = random.Next(8) == 0 ? random.Next(0xFFFFFFFFu) : random.Next(70000);
            const std::string text = RandomText(random);
            ASSERT_TRUE(LangFileAppend(written.get(), id, text.data(), text.size()));
            expected.emplace_back(id, text);
        }
        std::stable_sort(expected.begin(), expected.end(),
                         [](const Record &a, const Record &b) { return a.first < b.first; });

        int64_t itemBytes = 0;
        const std::string bytes = Format(written.get(), 0, &itemBytes);
        ASSERT_GE(itemBytes, 0);
        ModelPtr read = Parse(bytes);
        ASSERT_EQ(RecordsOf(read.get()), expected) << "round " << round;
        ASSERT_EQ(std::string(read->signature), signature) << "round " << round;
    }
}

// The writer puts "; " before every line, so a full signature makes a header of more than
// 4095 bytes; it is written whole and the reader keeps all of the signature.
TEST(LangRoundTrip, FullSignatureOfManyLinesComesBack)
{
    std::string signature;
    while (signature.size() < kLangSignatureMax)
        signature += "abc\r\n";
    ASSERT_EQ(signature.size(), kLangSignatureMax);
    ModelPtr model(LangFileCreate());
    LangFileSetSignature(model.get(), signature.c_str());
    LangFileAdd(model.get(), 1, "x");
    ModelPtr read = Parse(Format(model.get()));
    EXPECT_EQ(std::string(read->signature), signature);
    EXPECT_EQ(RecordsOf(read.get()), (Records{{1, "x"}}));
}

} // namespace
