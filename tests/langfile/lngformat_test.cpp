// Writing language files: the header, item lines, escapes, and failures of the sink.
#include <gtest/gtest.h>

#include "tests/langfile/lngtest.h"

namespace
{

TEST(LangFormat, TemplateIsTheDefaultSignatureAndItemLinesExactly)
{
    ModelPtr model(LangFileCreate());
    LangFileSetSignature(model.get(), "Language: Deutsch\r\n"); // a template ignores the document's
    LangFileAdd(model.get(), 103, "Open");
    int64_t itemBytes = 0;
    EXPECT_EQ(Format(model.get(), 1, &itemBytes), "; Language: \r\n; Author: \r\n; Version: \r\n\r\n103=\"Open\"\r\n");
    EXPECT_EQ(itemBytes, 12);
}

TEST(LangFormat, EmptySignatureWritesNoHeader)
{
    ModelPtr model(LangFileCreate());
    LangFileAdd(model.get(), 2, "b");
    LangFileAdd(model.get(), 1, "a");
    int64_t itemBytes = 0;
    EXPECT_EQ(Format(model.get(), 0, &itemBytes), "2=\"b\"\r\n1=\"a\"\r\n");
    EXPECT_EQ(itemBytes, 14);
}

TEST(LangFormat, EverySignatureLineIsCommented)
{
    ModelPtr model(LangFileCreate());
    LangFileAdd(model.get(), 1, "a");
    LangFileSetSignature(model.get(), "a\r\n\r\nb\nc");
    // The last line has no line end: the CR LF goes right behind it and no blank line follows.
    EXPECT_EQ(Format(model.get()), "; a\r\n; \r\n; b\n; c\r\n1=\"a\"\r\n");
}

TEST(LangFormat, HeaderOnlyFileIsASuccessWithNoItemBytes)
{
    ModelPtr model(LangFileCreate());
    LangFileSetSignature(model.get(), "Language: x\r\n");
    int64_t itemBytes = -1;
    EXPECT_EQ(Format(model.get(), 0, &itemBytes), "; Language: x\r\n\r\n");
    EXPECT_EQ(itemBytes, 0);
    EXPECT_EQ(Format(model.get(), 1, &itemBytes), "; Language: \r\n; Author: \r\n; Version: \r\n\r\n");
    EXPECT_EQ(itemBytes, 0);
    ModelPtr empty(LangFileCreate());
    EXPECT_EQ(Format(empty.get(), 0, &itemBytes), "");
    EXPECT_EQ(itemBytes, 0);
}

TEST(LangFormat, SpecialBytesAreEscapedAndOthersWrittenAsTheyAre)
{
    ModelPtr model(LangFileCreate());
    LangFileAdd(model.get(), 103, "Open\n\"File\"");
    LangFileAdd(model.get(), 104, "a\tb\\nc\rd;e=f g'\xe9\x81");
    EXPECT_EQ(Format(model.get()), "103=\"Open\\n\\\"File\\\"\"\r\n"
                                   "104=\"a\\tb\\\\nc\\rd;e=f g'\xe9\x81\"\r\n");
}

TEST(LangFormat, LongLinesAreWrittenWhole)
{
    ModelPtr model(LangFileCreate());
    const std::string quotes(kLangTextMax, '"');
    LangFileAdd(model.get(), 65534, quotes.c_str());
    LangFileAdd(model.get(), 1, std::string(kLangTextMax, '\n').c_str());
    std::string escapedQuotes, escapedLineFeeds;
    for (size_t i = 0; i < kLangTextMax; ++i) {
        escapedQuotes += "\\\"";
        escapedLineFeeds += "\\n";
    }
    int64_t itemBytes = 0;
    const std::string bytes = Format(model.get(), 0, &itemBytes);
    EXPECT_EQ(bytes, "65534=\"" + escapedQuotes + "\"\r\n1=\"" + escapedLineFeeds + "\"\r\n");
    EXPECT_EQ(itemBytes, static_cast<int64_t>(bytes.size()));
    EXPECT_GT(bytes.find("\r\n"), 283u);
}

TEST(LangFormat, IdsAreWrittenAsUnsignedNumbers)
{
    ModelPtr model(LangFileCreate());
    LangFileAppend(model.get(), 4000000000u, "", 0);
    EXPECT_EQ(Format(model.get()), "4000000000=\"\"\r\n");
}

// A sink that takes a number of pieces and then fails; it counts what it was given.
struct FailingSink {
    int piecesTaken;
    int piecesAllowed;
    size_t bytes;
};

int TakeUntilFailure(void *context, const char *, size_t length)
{
    FailingSink *sink = static_cast<FailingSink *>(context);
    if (sink->piecesTaken == sink->piecesAllowed) return 0;
    ++sink->piecesTaken;
    sink->bytes += length;
    return 1;
}

TEST(LangFormat, FailedWriteIsReportedAsFailureNotAsBytes)
{
    ModelPtr model(LangFileCreate());
    const std::string text(200, 'x');
    for (int i = 0; i < 20000; ++i)
        ASSERT_TRUE(LangFileAdd(model.get(), static_cast<uint32_t>(i), text.c_str()));

    FailingSink counting{0, 1000, 0};
    const ByteSink countingSink{TakeUntilFailure, &counting};
    const int64_t itemBytes = LangFileFormat(model.get(), 0, &countingSink);
    ASSERT_GT(itemBytes, 0);
    EXPECT_EQ(static_cast<size_t>(itemBytes), counting.bytes);
    // About 4 MB go out in a few large pieces, not line by line.
    EXPECT_LE(counting.piecesTaken, 20);

    for (int allowed = 0; allowed < counting.piecesTaken; ++allowed) {
        FailingSink failing{0, allowed, 0};
        const ByteSink sink{TakeUntilFailure, &failing};
        EXPECT_EQ(LangFileFormat(model.get(), 0, &sink), -1) << "failing after " << allowed << " pieces";
    }
    ModelPtr empty(LangFileCreate());
    LangFileSetSignature(empty.get(), "x");
    FailingSink refusing{0, 0, 0};
    const ByteSink refusingSink{TakeUntilFailure, &refusing};
    EXPECT_EQ(LangFileFormat(empty.get(), 0, &refusingSink), -1);
    EXPECT_EQ(LangFileFormat(nullptr, 0, &refusingSink), -1);
    EXPECT_EQ(LangFileFormat(empty.get(), 0, nullptr), -1);
}

} // namespace
