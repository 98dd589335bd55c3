// Writing language files beyond data/: records in the model's order, the item bytes counted, and
// failures of the sink.
#include <gtest/gtest.h>

#include "tests/langfile/lngtest.h"

namespace
{

TEST(LangFormat, WritesRecordsInModelOrderAndCountsTheirBytes)
{
    ModelPtr model(LangFileCreate());
    int64_t itemBytes = -1;
    EXPECT_EQ(Format(model.get(), 0, &itemBytes), "");
    EXPECT_EQ(itemBytes, 0);
    LangFileSetSignature(model.get(), "Language: x\r\n");
    EXPECT_EQ(Format(model.get(), 0, &itemBytes), "; Language: x\r\n\r\n");
    EXPECT_EQ(itemBytes, 0);
    LangFileAdd(model.get(), 2, "b");
    LangFileAdd(model.get(), 1, "a\n");
    EXPECT_EQ(Format(model.get(), 0, &itemBytes), "; Language: x\r\n\r\n2=\"b\"\r\n1=\"a\\n\"\r\n");
    EXPECT_EQ(itemBytes, 16);
}

// A sink that takes a number of pieces and then fails; it counts what it was given.
struct FailingSink {
    int piecesTaken, piecesAllowed;
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
    EXPECT_EQ(itemBytes, static_cast<int64_t>(counting.bytes));
    EXPECT_LE(counting.piecesTaken, 20) << "about 4 MB go out in a few large pieces, not line by line";
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
