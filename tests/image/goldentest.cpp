// The GIFs of data/ (see data/README) decode exactly as recorded in data/golden.txt.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "tests/image/testimage.h"

namespace
{

// With PARLEVO_GOLDEN_UPDATE set (the image_golden_update target) the descriptions are written instead.
TEST(GifGolden, EveryFileDecodesAsRecorded)
{
    std::istringstream names(PARLEVO_IMAGE_GIFS);
    std::string got;
    for (std::string name; names >> name;) {
        const std::vector<uint8_t> bytes = giftest::ReadDataFile(name);
        ASSERT_FALSE(bytes.empty()) << name;
        const giftest::Decoded d = giftest::Decode(bytes);
        got += name + giftest::Describe(d.image.get(), d.error, d.flags);
    }
    if (std::getenv("PARLEVO_GOLDEN_UPDATE")) {
        FILE *file = std::fopen(PARLEVO_IMAGE_DATA_DIR "/golden.txt", "wb");
        ASSERT_TRUE(file && std::fwrite(got.data(), 1, got.size(), file) == got.size());
        std::fclose(file);
    }
    const std::vector<uint8_t> golden = giftest::ReadDataFile("golden.txt");
    EXPECT_EQ(got, std::string(golden.begin(), golden.end()));
}

TEST(GifDecode, EveryTruncationYieldsAPrefixOfTheFrames)
{
    const std::vector<uint8_t> all = giftest::ReadDataFile("built-cut-anywhere.gif");
    size_t lastFrames = 0;
    for (size_t n = 0; n <= all.size(); ++n) {
        giftest::Decoded d = giftest::Decode(std::vector<uint8_t>(all.begin(), all.begin() + n));
        const size_t count = std::stoul(giftest::Describe(d.image.get(), 0, 0).substr(8)); // " frames=N ..."
        EXPECT_GE(count, lastFrames) << n;
        EXPECT_TRUE(d.image || d.error != kImageOk) << n;
        lastFrames = count;
    }
    EXPECT_EQ(lastFrames, 2u);
}

} // namespace
