// The real and generated GIFs of data/ decode exactly as recorded in data/golden.txt.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/image/golden.h"

namespace
{

const std::string kDataDir = PARLEVO_IMAGE_DATA_DIR;

TEST(GifGolden, EveryRecordedFileDecodesAsRecorded)
{
    std::vector<uint8_t> goldenBytes;
    ASSERT_TRUE(giftest::ReadWholeFile(kDataDir + "/golden.txt", goldenBytes));
    std::string golden(goldenBytes.begin(), goldenBytes.end());
    // Split into one block per file: a block starts at a line that does not begin with a blank.
    std::istringstream lines(golden);
    std::string line, name, expected;
    size_t files = 0;
    auto check = [&]() {
        if (name.empty()) return;
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(giftest::ReadWholeFile(kDataDir + "/" + name, bytes)) << name;
        EXPECT_EQ(giftest::DescribeDecodedGif(name, bytes), expected);
        ++files;
    };
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] != ' ') {
            check();
            name = line.substr(0, line.find(' '));
            expected.clear();
        }
        expected += line + "\n";
    }
    check();
    EXPECT_GE(files, 15u);
}

} // namespace
