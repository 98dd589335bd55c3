// Writing language files beyond data/: failures of the sink, at every piece.
#include <gtest/gtest.h>

#include "tests/langfile/lngtest.h"

namespace
{

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
    EXPECT_EQ(LangFileFormat(empty.get(), 0, &refusingSink) + LangFileFormat(nullptr, 0, &refusingSink) +
                  LangFileFormat(empty.get(), 0, nullptr),
              -3);
}

} // namespace
