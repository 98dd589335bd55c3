// Image records, the codec registry and the GIFs of data/ (see data/README) against data/golden.txt.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <tuple>

#include "tests/image/testimage.h"
#include "tests/support/datarows.h"

using giftest::ImagePtr;

namespace
{

// The rows of records.txt that start with kind, as their further fields.
std::vector<std::vector<std::string>> Rows(const std::string &kind)
{
    std::vector<std::vector<std::string>> rows;
    for (auto &row : ReadDataRows(PARLEVO_IMAGE_TEST_DIR "/records.txt", 36))
        if (row.at(0) == kind) rows.emplace_back(row.begin() + 1, row.end());
    EXPECT_FALSE(rows.empty()) << kind;
    return rows;
}

TEST(ImageRecord, CreateGivesPaddedRowsOrTheReasonItCannot)
{
    for (const auto &row : Rows("create")) {
        const int32_t width = std::stoi(row[0]), height = std::stoi(row[1]), code = std::stoi(row[2]);
        uint32_t error = 99;
        ImagePtr image(ImageCreate(width, height, code, &error));
        const char *kReasons[] = {"ok", "", "", "", "bad-depth", "", "", "bad-size", "", "", "", "", "bad-dimensions"};
        std::string got = image ? std::to_string(ImageGetStride(image.get())) : kReasons[error < 13 ? error : 1];
        if (image) { // a positive height: bottom-up
            const BITMAPINFOHEADER &h = image->header;
            if (error != kImageOk || h.biSize + h.biPlanes + h.biSizeImage + h.biClrUsed != 41 || h.biWidth != width ||
                h.biHeight != height || ImageGetDepthCode(image.get()) != code ||
                h.biCompression != (code == kDepth565 ? BI_BITFIELDS : BI_RGB))
                got += " wrong header";
            ImageGetBits(image.get())[ImageGetStride(image.get()) * height - 1] = 0xAB; // ASan: the buffer is whole
        }
        EXPECT_EQ(got, row[3]) << row[0] << "x" << row[1] << " code " << row[2];
    }
    EXPECT_EQ(ImageCreate(0, 1, 8, nullptr), nullptr) << "the error output may be left out";
    PALETTEENTRY out[256]; // null images give zero
    EXPECT_EQ(ImageGetWidth(nullptr) + ImageGetHeight(nullptr) + ImageGetDepthCode(nullptr) +
                  ImageSetDelay(nullptr, 1) + ImageGetBitCount(nullptr) + ImageGetStride(nullptr) +
                  ImageGetColorTableEntry(nullptr, 0) + ImageGetDelay(nullptr) + ImageGetLoopCount(nullptr) +
                  ImageGetTransparency(nullptr) + ImageGetTransparentIndex(nullptr) + ImageGetPixel(nullptr, 0, 0) +
                  ImageGetPalette(nullptr, out) + !!ImageGetBits(nullptr) + !!ImageNextFrame(nullptr) +
                  !!ImagePrevFrame(nullptr) + !!ImageLastFrame(nullptr),
              0u);
}

TEST(ImagePixels, ValuesLandInTheTopRowAtTheLastStoredRow)
{
    for (const auto &row : Rows("pixel")) {
        ImagePtr image(ImageCreate(10, 3, std::stoi(row[0]), nullptr));
        const int32_t x = std::stoi(row[1]);
        const uint32_t stride = ImageGetStride(image.get());
        std::memset(ImageGetBits(image.get()), 0, stride * 3);
        ImageSetPixel(image.get(), x, 0, uint32_t(std::stoul(row[2], nullptr, 0)));
        char got[64];
        int n = std::snprintf(got, sizeof got, "%X%s", ImageGetPixel(image.get(), x, 0),
                              ImageGetPixel(image.get(), x, 2) ? " and the bottom row" : "");
        for (uint32_t i = 0; i < stride && i < 6; ++i)
            n += std::snprintf(got + n, sizeof got - n, " %02X", ImageGetBits(image.get())[stride * 2 + i]);
        EXPECT_EQ(got, row[3]) << row[0] << " x " << row[1];
    }
    for (const auto &row : Rows("fill")) {
        ImagePtr image(ImageCreate(9, 6, std::stoi(row[0]), nullptr));
        const ImageRect rects[] = {{0, 0, 9, 6}, {2, 1, 5, 3}, {7, 4, 100, 100}, {50, 50, 10, 10}};
        for (const ImageRect &r : rects)
            ImageFillRect(image.get(), &r, &r == rects ? 0 : 1);
        EXPECT_EQ(giftest::PixelText(image.get()), row[1]) << row[0];
    }
}

// Entry counts and the colour table GDI draws from are checked by the golden files and the drawing tests.
TEST(ImagePalette, ReplacingFreesTheOldOneAndAboveEightBitsTheMasksStay)
{
    PALETTEENTRY entries[256] = {{1, 2, 3, 0}}, out[256];
    ImagePtr image(ImageCreate(2, 2, kDepth565, nullptr)), odd(ImageCreate(2, 2, kDepth565, nullptr));
    EXPECT_EQ(ImageGetPalette(image.get(), out), 0u) << "no palette yet";
    EXPECT_EQ(ImageSetPalette(image.get(), entries) + ImageSetPalette(image.get(), entries), 2) << "LSan: a leak";
    const uint32_t otherMask = 0x7C00; // odd masks: no depth code, but a copy keeps them
    std::memcpy(&odd->colors[0], &otherMask, 4);
    char got[64]; // plays once unless told otherwise
    std::snprintf(got, sizeof got, "%u %X %X %X %X %u %d %X", ImageGetPalette(image.get(), out),
                  ImageGetColorTableEntry(image.get(), 0), ImageGetColorTableEntry(image.get(), 1),
                  ImageGetColorTableEntry(image.get(), 2), ImageGetColorTableEntry(image.get(), 256),
                  ImageGetLoopCount(image.get()), ImageGetDepthCode(odd.get()),
                  ImageGetColorTableEntry(ImagePtr(ImageDuplicate(odd.get(), 1)).get(), 0));
    EXPECT_STREQ(got, "256 F800 7E0 1F 0 1 0 7C00");
    EXPECT_EQ(
        ImageSetPalette(nullptr, entries) + ImageSetPalette(ImagePtr(ImageCreate(1, 1, 8, nullptr)).get(), nullptr), 0);
}

TEST(ImageChain, DuplicateCopiesEveryFrameDeeply)
{
    for (const char *name : {"gen-anim-dispose2.gif", "gen-transparent.gif"}) { // depths 1, 8, 4; colour keys
        const giftest::Decoded d = giftest::Decode(giftest::ReadDataFile(name));
        const std::string original = giftest::Describe(d.image.get(), 0, 0);
        ImagePtr copy(ImageDuplicate(d.image.get(), 0)), single(ImageDuplicate(ImageNextFrame(d.image.get()), 1));
        std::string got = giftest::Describe(copy.get(), 0, 0);
        const Image *prev = nullptr; // a frame that shares its palette, has another colour table or is unlinked
        int wrong = 0;
        for (const Image *f = d.image.get(), *c = copy.get(); f && c;
             f = ImageNextFrame(f), c = ImageNextFrame(prev = c))
            wrong += c->palette == f->palette || std::memcmp(c->colors, f->colors, sizeof(c->colors)) ||
                     ImagePrevFrame(c) != prev;
        ImageSetPixel(copy.get(), 0, 0, ImageGetPixel(copy.get(), 0, 0) ^ 1); // the copy's own pixels
        EXPECT_EQ(got + giftest::Describe(d.image.get(), 0, 0) + std::to_string(wrong), original + original + "0")
            << name;
        EXPECT_TRUE(!ImageNextFrame(single.get()) && !ImagePrevFrame(single.get()));
    }
    EXPECT_EQ(ImageDuplicate(nullptr, 0), nullptr);
}

TEST(ImageChain, LinkingInsertsBehindAndFreeingAnyFrameFreesTheChain)
{
    Image *a = ImageCreate(1, 1, 8, nullptr), *b = ImageCreate(1, 1, 8, nullptr), *c = ImageCreate(1, 1, 8, nullptr);
    auto order = [&]() {
        std::string out;
        for (const Image *f = a; f; f = ImageNextFrame(f))
            out += "abc"[(f == b) + 2 * (f == c)];
        for (const Image *f = ImageLastFrame(a); f; f = ImagePrevFrame(f))
            out += "abc"[(f == b) + 2 * (f == c)];
        return out;
    };
    ImageLinkFrame(b, a);
    ImageLinkFrame(c, a);
    std::string got = order();
    ImageLinkFrame(c, b); // moved: the gap it leaves is closed
    got += " " + order();
    ImageLinkFrame(c, nullptr); // taken out on its own
    EXPECT_EQ(got + " " + order() + (ImagePrevFrame(c) ? " linked" : ""), "acbbca abccba abba");
    EXPECT_EQ(ImageFree(c), 1);
    ImageLinkFrame(ImageCreate(1, 1, 8, nullptr), b);
    EXPECT_EQ(ImageFree(b), 1) << "from the middle: ASan reports a leak of either end";
    EXPECT_EQ(ImageFree(nullptr), 1);
}

int g_probeCalls;
using Source = ImageSource;
const CodecProbeFn RefuseAll = [](CodecRegistry *, Source *, uint32_t) { return ++g_probeCalls, 0; };
const CodecProbeFn AcceptX = [](CodecRegistry *, Source *s, uint32_t) {
    return ++g_probeCalls, int(s->size && *s->data == 'X');
};
const CodecDecodeFn MakePixel = [](CodecRegistry *, Source *s, uint32_t) {
    return s->formatFlags |= 1, ImageCreate(1, 1, 8, nullptr);
};
const CodecDecodeFn DecodeNothing = [](CodecRegistry *, Source *s, uint32_t) {
    return s->error = kImageOutOfMemory, static_cast<Image *>(nullptr);
};

CodecDescriptor Descriptor(CodecProbeFn probe, CodecDecodeFn decode = nullptr, const char *description = "test")
{
    return {probe, decode, nullptr, description, "T\0", 0, nullptr};
}

TEST(CodecRegistry, SlotsAreTakenInOrderWithinTheCountAndFreedOnesFoundAfterTheTail)
{
    CodecRegistry registry = {};
    CodecDescriptor d = Descriptor(RefuseAll);
    const std::pair<int, int> registrations[] = {{0, -1}, {1, 0}, {1, -1}, {100, 1}, {100, 2}, {4, 3}, {100, -1}};
    for (auto [count, slot] : registrations)
        EXPECT_EQ(CodecRegister(&registry, &d, count), slot < 0 ? nullptr : &registry.slots[slot]) << count; // clamped
    EXPECT_TRUE(!CodecRegister(nullptr, &d, 4) && !CodecRegister(&registry, nullptr, 4));
    EXPECT_EQ(std::memcmp(&registry.slots[2].descriptor, &d, sizeof(d)), 0) << "a copy of the descriptor";
    // Slot 1 freed by hand, as an owner may: found wrapping round from the tail, linked at the end.
    CodecSlot *freed = &registry.slots[1];
    freed->inUse = 0;
    freed->prev->next = freed->next;
    freed->next->prev = freed->prev;
    EXPECT_EQ(CodecRegister(&registry, &d, 4), freed);
    std::string order;
    for (const CodecSlot *s = registry.head; s; s = s->next)
        order += static_cast<char>('0' + (s - registry.slots));
    for (const CodecSlot *s = registry.tail; s; s = s->prev)
        order += static_cast<char>('0' + (s - registry.slots));
    EXPECT_EQ(order, "02311320");
}

TEST(ImageLoading, LoadAsksProbesInOrderAndReportsEachOutcome)
{
    const CodecDescriptor works = Descriptor(AcceptX, MakePixel), refuse = Descriptor(RefuseAll, MakePixel);
    const std::tuple<std::vector<CodecDescriptor>, char, uint32_t, int> cases[] = {
        {{}, 'X', kImageNoCodec, 0},
        // Incomplete slots are not asked.
        {{Descriptor(AcceptX, MakePixel, nullptr), Descriptor(nullptr, MakePixel), refuse, works}, 'X', kImageOk, 2},
        {{refuse, works}, 'Y', kImageNoCodec, 2},
        {{Descriptor(AcceptX), works}, 'X', kImageNoCodec, 1},
        {{Descriptor(AcceptX, DecodeNothing)}, 'X', kImageOutOfMemory, 1}, // the codec's own detail code survives
    };
    for (const auto &[codecs, firstByte, error, probes] : cases) {
        CodecRegistry registry = {};
        CodecSlot *last = nullptr;
        for (const CodecDescriptor &d : codecs)
            last = CodecRegister(&registry, &d, kCodecSlotCount);
        const uint8_t data[] = {static_cast<uint8_t>(firstByte), 1, 2};
        ImageSource source = {sizeof(data), data, 99, 0xF0, {}}; // flags cleared before the codec sets its own
        g_probeCalls = 0;
        ImagePtr image(ImageLoad(&registry, &source));
        const bool made = image && image->codec == last && source.formatFlags == 1;
        EXPECT_EQ(std::to_string(source.error) + " " + std::to_string(g_probeCalls) + (made ? " made" : ""),
                  std::to_string(error) + " " + std::to_string(probes) + (error == kImageOk ? " made" : ""));
    }
}

TEST(ImageLoading, BuiltinCodecsRegisterAGifProbe)
{
    CodecRegistry registry = {};
    std::string got;
    for (int i = 0; i < 5; ++i)
        got += RegisterBuiltinCodecs(&registry) ? "1" : "0";
    got += std::string(" ") + registry.head->descriptor.description + " " + registry.head->descriptor.extensions;
    for (const char *text : {"GIF87a", "GIF8zz", "\x89PNG", "GIF"}) {
        ImageSource source = {static_cast<uint32_t>(std::strlen(text)), reinterpret_cast<const uint8_t *>(text)};
        got += GifProbe(&registry, &source, 0) ? " 1" : " 0";
    }
    EXPECT_EQ(got, "11110 Graphics Interchange Format GIF 1 1 0 0"); // four slots
}

// With PARLEVO_GOLDEN_UPDATE set (the image_golden_update target) the descriptions are written instead.
TEST(GifGolden, EveryFileDecodesAsRecorded)
{
    std::istringstream names(PARLEVO_IMAGE_GIFS);
    std::string got;
    for (std::string name; names >> name;) {
        const giftest::Decoded d = giftest::Decode(giftest::ReadDataFile(name));
        got += name + giftest::Describe(d.image.get(), d.error, d.flags);
    }
    if (std::getenv("PARLEVO_GOLDEN_UPDATE"))
        std::ofstream(PARLEVO_IMAGE_DATA_DIR "/golden.txt", std::ios::binary) << got;
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
        EXPECT_TRUE(count >= lastFrames && (d.image || d.error != kImageOk)) << n;
        lastFrames = count;
    }
    EXPECT_EQ(lastFrames, 2u);
}

} // namespace
