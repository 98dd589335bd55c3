// Loading images from module resources, as the toolbar loads its strip.
#include <gtest/gtest.h>

#include "image/gif.h"
#include "image/imageres.h"
#include "tests/image/imageres-ids.h"

namespace
{

struct ImageDeleter {
    void operator()(Image *image) const { ImageFree(image); }
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

class ImageResource : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(RegisterBuiltinCodecs(&registry_)); }
    CodecRegistry registry_ = {};
};

TEST_F(ImageResource, StripLoadsFromTheProgramsOwnModuleWithoutASourceBlock)
{
    ImagePtr image(ImageLoadResource(&registry_, nullptr, IDR_TEST_STRIP, "IMAGE", nullptr));
    ASSERT_TRUE(image);
    EXPECT_EQ(ImageNextFrame(image.get()), nullptr);
    EXPECT_EQ(ImageGetWidth(image.get()), 224);
    EXPECT_EQ(ImageGetHeight(image.get()), 16);
    EXPECT_EQ(ImageGetDepthCode(image.get()), 4);
    EXPECT_EQ(ImageGetBitCount(image.get()), 4u);
    PALETTEENTRY palette[256];
    EXPECT_EQ(ImageGetPalette(image.get(), palette), 16u);
    EXPECT_EQ(ImageGetLoopCount(image.get()), 1u);
    EXPECT_EQ(ImageGetDelay(image.get()), 0u);
    EXPECT_EQ(ImageGetTransparency(image.get()), 0u);
    EXPECT_EQ(image->codec, registry_.head);
}

TEST_F(ImageResource, SourceBlockDescribesTheResourceInPlace)
{
    HMODULE self = GetModuleHandleA(nullptr);
    ImageSource source = {};
    ImagePtr image(ImageLoadResource(&registry_, self, IDR_TEST_STRIP, "IMAGE", &source));
    ASSERT_TRUE(image);
    EXPECT_EQ(source.error, kImageOk);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(IDR_TEST_STRIP), "IMAGE");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(source.size, SizeofResource(self, found));
    EXPECT_EQ(source.data, LockResource(LoadResource(self, found))) << "decoded without a copy";
}

TEST_F(ImageResource, MissingOrForeignResourcesReportWhy)
{
    ImageSource source = {};
    EXPECT_EQ(ImageLoadResource(&registry_, nullptr, 999, "IMAGE", &source), nullptr);
    EXPECT_EQ(source.error, kImageResourceMissing);
    source = {};
    EXPECT_EQ(ImageLoadResource(&registry_, nullptr, IDR_TEST_STRIP, "BITMAP", &source), nullptr);
    EXPECT_EQ(source.error, kImageResourceMissing);
    source = {};
    EXPECT_EQ(ImageLoadResource(&registry_, nullptr, IDR_TEST_TEXT, "IMAGE", &source), nullptr);
    EXPECT_EQ(source.error, kImageNoCodec) << "no codec accepts a text";
    CodecRegistry empty = {};
    source = {};
    EXPECT_EQ(ImageLoadResource(&empty, nullptr, IDR_TEST_STRIP, "IMAGE", &source), nullptr);
    EXPECT_EQ(source.error, kImageNoCodec);
    EXPECT_EQ(ImageLoadResource(&registry_, nullptr, 999, "IMAGE", nullptr), nullptr);
}

} // namespace
