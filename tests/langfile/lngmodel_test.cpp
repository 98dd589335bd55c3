// The model: adding, finding, sorting and the signature text.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/langfile/lngtest.h"

namespace
{

TEST(LangModel, AddRefusesWhatNoRowCanHoldAndFindSkipsWhatAFileMayHold)
{
    ModelPtr model(LangFileCreate());
    const std::string longest(kLangTextMax, 'x');
    EXPECT_TRUE(LangFileAdd(model.get(), 65534, longest.c_str()));
    EXPECT_TRUE(LangFileAdd(model.get(), 4, ""));
    EXPECT_FALSE(LangFileAdd(model.get(), 65535, "x") || LangFileAdd(model.get(), 0xFFFFFFFFu, "x") ||
                 LangFileAdd(model.get(), 2, (longest + "x").c_str()) || LangFileAdd(model.get(), 3, nullptr));
    ASSERT_TRUE(LangFileAppend(model.get(), 65535, "kept", 4)); // from a file: kept, never found
    EXPECT_EQ(RecordsOf(model.get()), (Records{{65534, longest}, {4, ""}, {65535, "kept"}}));
    char text[kTextSize];
    EXPECT_TRUE(LangFileFind(model.get(), 65534, text) && text == longest);
    EXPECT_FALSE(LangFileFind(model.get(), 65535, text) || LangFileFind(model.get(), 65534, nullptr) ||
                 LangFileRecordAt(model.get(), 3) || LangFileRecordAt(model.get(), -1));
    LangFileFree(nullptr);
    EXPECT_TRUE(LangFileCount(nullptr) == 0 && !LangFileFind(nullptr, 1, text) && !LangFileAdd(nullptr, 1, "x"));
}

// Find works before and after the stable sort by unsigned ID, and finds the first of equal IDs.
TEST(LangModel, SortsLikeAStableSortAndFindsInAnyOrder)
{
    ModelPtr model(LangFileCreate());
    Records expected = {{0x80000000u, "high"}, {0, "zero"}};
    for (const Record &r : expected)
        LangFileAppend(model.get(), r.first, r.second.data(), r.second.size());
    Random random{12345};
    for (int i = 0; i < 20000; ++i) {
        expected.emplace_back(random.Next(3000) * 5 + 5, std::to_string(i));
        ASSERT_TRUE(LangFileAdd(model.get(), expected.back().first, expected.back().second.c_str()));
    }
    std::stable_sort(expected.begin(), expected.end(), [](auto &a, auto &b) { return a.first < b.first; });
    char text[kTextSize];
    for (int sorted = 0; sorted < 2; ++sorted, LangFileSort(model.get())) {
        for (uint32_t id = 1; id <= 15000; ++id) {
            const auto first = std::lower_bound(expected.begin(), expected.end(), Record{id, ""});
            const bool there = first != expected.end() && first->first == id;
            ASSERT_EQ(LangFileFind(model.get(), id, text) ? text : "-", there ? first->second : "-") << id;
        }
    }
    EXPECT_EQ(RecordsOf(model.get()), expected);
}

TEST(LangModel, SignatureIsCopiedBothWaysUpToItsLimit)
{
    ModelPtr model(LangFileCreate());
    char signature[kLangSignatureSize];
    EXPECT_TRUE(LangFileGetSignature(model.get(), signature) && std::string(signature).empty());
    const std::string tooLong(kLangSignatureSize + 10, 's');
    for (const std::string &text : {std::string("Language: Deutsch\r\nAuthor: A\r\n"), tooLong}) {
        ASSERT_TRUE(LangFileSetSignature(model.get(), text.c_str()));
        ASSERT_TRUE(LangFileGetSignature(model.get(), signature));
        EXPECT_EQ(signature, text.substr(0, kLangSignatureMax));
    }
    EXPECT_FALSE(LangFileSetSignature(model.get(), nullptr) || LangFileGetSignature(nullptr, signature));
}

} // namespace
