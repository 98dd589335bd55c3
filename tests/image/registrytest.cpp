// The codec registry: slots, registration order, probing and the outcome codes of a load.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "tests/image/testimage.h"

namespace
{

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
    // The count limits the search and is clamped to the array.
    const std::pair<int, int> registrations[] = {{0, -1}, {1, 0}, {1, -1}, {100, 1}, {100, 2}, {4, 3}, {100, -1}};
    for (auto [count, slot] : registrations)
        EXPECT_EQ(CodecRegister(&registry, &d, count), slot < 0 ? nullptr : &registry.slots[slot]) << count;
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
    // The codecs, the first byte, then the outcome and the number of probes asked.
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
        ImageSource source = {sizeof(data), data, 99, 0xF0, {}};
        g_probeCalls = 0;
        giftest::ImagePtr image(ImageLoad(&registry, &source));
        // The load clears the flags before the codec sets its own.
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

} // namespace
