// The model: adding, finding, sorting, the signature text; writing it through a sink that fails.
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

TEST(LangFormat, FailedWriteIsReportedAsFailureNotAsBytes)
{
    ModelPtr model(LangFileCreate());
    const std::string text(200, 'x');
    for (int i = 0; i < 20000; ++i)
        ASSERT_TRUE(LangFileAdd(model.get(), static_cast<uint32_t>(i), text.c_str()));
    Sink counting;
    const int64_t itemBytes = counting.Format(model.get()); // before the bytes are looked at
    EXPECT_EQ(itemBytes, static_cast<int64_t>(counting.bytes.size()));
    EXPECT_LE(counting.taken, 20) << "about 4 MB go out in a few large pieces, not line by line";
    for (int allowed = 0; allowed < counting.taken; ++allowed)
        EXPECT_EQ(Sink{allowed}.Format(model.get()), -1) << "failing after " << allowed << " pieces";
    ModelPtr empty(LangFileCreate());
    LangFileSetSignature(empty.get(), "x");
    EXPECT_EQ(Sink{0}.Format(empty.get()) + Sink{0}.Format(nullptr) + LangFileFormat(empty.get(), 0, nullptr), -3);
}

} // namespace
