// Loading images from module resources, as the toolbar loads its strip.
#include <gtest/gtest.h>

#include "image/imageres.h"
#include "tests/image/imageres-ids.h"
#include "tests/image/testimage.h"

namespace
{

TEST(ImageResource, ResourcesLoadInPlaceOrReportWhyNot)
{
    CodecRegistry registry = {}, empty = {};
    ASSERT_TRUE(RegisterBuiltinCodecs(&registry));
    struct Case {
        CodecRegistry *registry;
        uint32_t id;
        const char *type;
        uint32_t error;
    };
    const Case cases[] = {{&registry, IDR_TEST_STRIP, "IMAGE", kImageOk},
                          {&registry, 999, "IMAGE", kImageResourceMissing},
                          {&registry, IDR_TEST_STRIP, "BITMAP", kImageResourceMissing},
                          {&registry, IDR_TEST_TEXT, "IMAGE", kImageNoCodec},
                          {&empty, IDR_TEST_STRIP, "IMAGE", kImageNoCodec}};
    HMODULE self = GetModuleHandleA(nullptr);
    for (const Case &c : cases) {
        ImageSource source = {};
        giftest::ImagePtr image(ImageLoadResource(c.registry, nullptr, c.id, c.type, &source));
        EXPECT_EQ(source.error, c.error) << c.id << " " << c.type;
        EXPECT_EQ(image != nullptr, c.error == kImageOk);
        EXPECT_EQ(giftest::ImagePtr(ImageLoadResource(c.registry, self, c.id, c.type, nullptr)) != nullptr,
                  c.error == kImageOk)
            << "the own module by handle, without a source block";
        if (!image) continue;
        EXPECT_EQ(giftest::Describe({std::move(image)}), "4:224x16");
        HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(c.id), c.type);
        EXPECT_EQ(source.size, SizeofResource(self, found));
        EXPECT_EQ(source.data, LockResource(LoadResource(self, found))) << "decoded without a copy";
    }
}

} // namespace
