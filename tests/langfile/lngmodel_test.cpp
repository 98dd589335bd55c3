// The model: adding, finding, sorting and the signature text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/langfile/lngtest.h"

namespace
{

TEST(LangModel, AddAndFindRefuseIdsFrom65535)
{
    ModelPtr model(LangFileCreate());
    ASSERT_TRUE(model);
    char text[kTextSize];
    EXPECT_TRUE(LangFileAdd(model.get(), 65534, "last"));
    EXPECT_FALSE(LangFileAdd(model.get(), 65535, "refused"));
    EXPECT_FALSE(LangFileAdd(model.get(), 0xFFFFFFFFu, "refused"));
    EXPECT_EQ(LangFileCount(model.get()), 1);

    // A file may hold such IDs; they are kept but never found.
    ASSERT_TRUE(LangFileAppend(model.get(), 65535, "kept", 4));
    EXPECT_EQ(LangFileCount(model.get()), 2);
    EXPECT_FALSE(LangFileFind(model.get(), 65535, text));
    ASSERT_TRUE(LangFileFind(model.get(), 65534, text));
    EXPECT_STREQ(text, "last");
}

TEST(LangModel, AddRefusesTextsPastTheRecord)
{
    ModelPtr model(LangFileCreate());
    const std::string longest(kLangTextMax, 'x');
    EXPECT_TRUE(LangFileAdd(model.get(), 1, longest.c_str()));
    EXPECT_FALSE(LangFileAdd(model.get(), 2, (longest + "x").c_str()));
    EXPECT_FALSE(LangFileAdd(model.get(), 3, nullptr));
    EXPECT_TRUE(LangFileAdd(model.get(), 4, ""));
    EXPECT_EQ(RecordsOf(model.get()), (Records{{1, longest}, {4, ""}}));
}

// Records come in list order for a save; finding must work before and after sorting.
TEST(LangModel, FindsRecordsInAnyOrder)
{
    ModelPtr model(LangFileCreate());
    for (uint32_t id = 500; id > 0; id -= 5)
        ASSERT_TRUE(LangFileAdd(model.get(), id, std::to_string(id).c_str()));
    char text[kTextSize];
    for (int sorted = 0; sorted < 2; ++sorted) {
        for (uint32_t id = 1; id <= 500; ++id) {
            const bool found = LangFileFind(model.get(), id, text);
            ASSERT_EQ(found, id % 5 == 0) << id;
            if (found) {
                EXPECT_EQ(text, std::to_string(id));
            }
        }
        LangFileSort(model.get());
    }
    EXPECT_EQ(LangFileRecordAt(model.get(), 0)->stringId, 5u);
}

TEST(LangModel, SortsByUnsignedIdKeepingTheOrderOfEqualIds)
{
    ModelPtr model(LangFileCreate());
    const Records records = {{0x80000000u, "high"}, {5, "first five"}, {1, "one"}, {5, "second five"}, {0, "zero"}};
    for (const Record &r : records)
        LangFileAppend(model.get(), r.first, r.second.data(), r.second.size());
    LangFileSort(model.get());
    EXPECT_EQ(RecordsOf(model.get()),
              (Records{{0, "zero"}, {1, "one"}, {5, "first five"}, {5, "second five"}, {0x80000000u, "high"}}));
    char text[kTextSize];
    ASSERT_TRUE(LangFileFind(model.get(), 5, text));
    EXPECT_STREQ(text, "first five");
}

TEST(LangModel, SortsManyRecordsLikeAStableSort)
{
    ModelPtr model(LangFileCreate());
    Records expected;
    uint32_t state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1103515245u + 12345u;
        const uint32_t id = (state >> 8) % 3000;
        const std::string text = std::to_string(i);
        ASSERT_TRUE(LangFileAdd(model.get(), id, text.c_str()));
        expected.emplace_back(id, text);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const Record &a, const Record &b) { return a.first < b.first; });
    LangFileSort(model.get());
    EXPECT_EQ(RecordsOf(model.get()), expected);
}

TEST(LangModel, SignatureIsCopiedBothWaysUpToItsLimit)
{
    ModelPtr model(LangFileCreate());
    char signature[kLangSignatureSize];
    ASSERT_TRUE(LangFileGetSignature(model.get(), signature));
    EXPECT_STREQ(signature, "");

    ASSERT_TRUE(LangFileSetSignature(model.get(), "Language: Deutsch\r\nAuthor: A\r\n"));
    ASSERT_TRUE(LangFileGetSignature(model.get(), signature));
    EXPECT_STREQ(signature, "Language: Deutsch\r\nAuthor: A\r\n");

    const std::string tooLong(kLangSignatureSize + 10, 's');
    ASSERT_TRUE(LangFileSetSignature(model.get(), tooLong.c_str()));
    ASSERT_TRUE(LangFileGetSignature(model.get(), signature));
    EXPECT_EQ(std::string(signature), tooLong.substr(0, kLangSignatureMax));

    EXPECT_FALSE(LangFileSetSignature(model.get(), nullptr));
    EXPECT_FALSE(LangFileGetSignature(nullptr, signature));
}

TEST(LangModel, NullAndOutOfRangeAreRefused)
{
    LangFileFree(nullptr);
    char text[kTextSize];
    EXPECT_EQ(LangFileCount(nullptr), 0);
    EXPECT_FALSE(LangFileFind(nullptr, 1, text));
    EXPECT_FALSE(LangFileAdd(nullptr, 1, "x"));
    ModelPtr model(LangFileCreate());
    LangFileAdd(model.get(), 1, "x");
    EXPECT_TRUE(LangFileRecordAt(model.get(), 0));
    EXPECT_FALSE(LangFileRecordAt(model.get(), 1));
    EXPECT_FALSE(LangFileRecordAt(model.get(), -1));
    EXPECT_FALSE(LangFileFind(model.get(), 1, nullptr));
}

} // namespace
