// The real and generated GIFs of data/ decode exactly as recorded in data/golden.txt.
#include <gtest/gtest.h>

#include "tests/image/golden.h"

TEST(GifGolden, EveryRecordedFileDecodesAsRecorded)
{
    const std::string dir = PARLEVO_IMAGE_DATA_DIR;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(giftest::ReadWholeFile(dir + "/golden.txt", bytes));
    std::string golden(bytes.begin(), bytes.end());
    // A file's block runs from its name at the start of a line to the next line that starts with a name.
    size_t files = 0;
    for (size_t start = 0; start < golden.size(); ++files) {
        size_t end = start;
        do
            end = golden.find('\n', end) + 1;
        while (end > 0 && end < golden.size() && golden[end] == ' ');
        if (end == 0) end = golden.size();
        std::string name = golden.substr(start, golden.find(' ', start) - start);
        ASSERT_TRUE(giftest::ReadWholeFile(dir + "/" + name, bytes)) << name;
        EXPECT_EQ(giftest::DescribeDecodedGif(name, bytes), golden.substr(start, end - start));
        start = end;
    }
    EXPECT_GE(files, 15u);
}
