// The codec registry: slots, registration order, probing and the outcome codes of a load.
#include <gtest/gtest.h>

#include <cstring>

#include "image/codec.h"
#include "image/gif.h"

namespace
{

int g_probeCalls;

int AcceptAll(CodecRegistry *, ImageSource *, uint32_t)
{
    ++g_probeCalls;
    return 1;
}

int RefuseAll(CodecRegistry *, ImageSource *, uint32_t)
{
    ++g_probeCalls;
    return 0;
}

int AcceptX(CodecRegistry *, ImageSource *source, uint32_t)
{
    return source->size > 0 && source->data[0] == 'X';
}

Image *DecodeOnePixel(CodecRegistry *, ImageSource *source, uint32_t)
{
    source->formatFlags |= 1;
    return ImageCreate(1, 1, 8, nullptr);
}

Image *DecodeNothing(CodecRegistry *, ImageSource *source, uint32_t)
{
    source->error = kImageOutOfMemory;
    return nullptr;
}

CodecDescriptor Descriptor(CodecProbeFn probe, CodecDecodeFn decode, const char *description = "test")
{
    return {probe, decode, nullptr, description, "T\0", 0, nullptr};
}

TEST(CodecRegistry, FourSlotsTakeFourCodecsInOrderAndRefuseTheFifth)
{
    CodecRegistry registry = {};
    CodecDescriptor d = Descriptor(RefuseAll, nullptr);
    CodecSlot *slots[4];
    for (int i = 0; i < 4; ++i) {
        slots[i] = CodecRegister(&registry, &d, 4);
        ASSERT_NE(slots[i], nullptr) << i;
        EXPECT_EQ(slots[i]->inUse, 1);
    }
    EXPECT_EQ(CodecRegister(&registry, &d, 4), nullptr);
    EXPECT_EQ(registry.head, slots[0]);
    EXPECT_EQ(registry.tail, slots[3]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(slots[i]->next, slots[i + 1]);
        EXPECT_EQ(slots[i + 1]->prev, slots[i]);
    }
    EXPECT_EQ(std::memcmp(&slots[2]->descriptor, &d, sizeof(d)), 0) << "the slot holds a copy of the descriptor";
}

TEST(CodecRegistry, SlotCountLimitsTheSearchAndCannotOverrunTheArray)
{
    CodecRegistry registry = {};
    CodecDescriptor d = Descriptor(RefuseAll, nullptr);
    EXPECT_NE(CodecRegister(&registry, &d, 2), nullptr);
    EXPECT_NE(CodecRegister(&registry, &d, 2), nullptr);
    EXPECT_EQ(CodecRegister(&registry, &d, 2), nullptr);
    EXPECT_EQ(CodecRegister(&registry, &d, 0), nullptr);
    EXPECT_NE(CodecRegister(&registry, &d, 100), nullptr);
    EXPECT_NE(CodecRegister(&registry, &d, 100), nullptr);
    EXPECT_EQ(CodecRegister(&registry, &d, 100), nullptr);
    EXPECT_EQ(CodecRegister(nullptr, &d, 4), nullptr);
    EXPECT_EQ(CodecRegister(&registry, nullptr, 4), nullptr);
}

TEST(CodecRegistry, SearchStartsBehindTheTailAndWrapsRound)
{
    CodecRegistry registry = {};
    CodecDescriptor d = Descriptor(RefuseAll, nullptr);
    for (int i = 0; i < 4; ++i)
        CodecRegister(&registry, &d, 4);
    // Free slot 1 by hand, as a caller owning the registry may: the next registration finds it after
    // wrapping round from behind the tail (slot 3), and links it at the end of the list.
    CodecSlot *freed = &registry.slots[1];
    freed->inUse = 0;
    freed->prev->next = freed->next;
    freed->next->prev = freed->prev;
    CodecSlot *slot = CodecRegister(&registry, &d, 4);
    EXPECT_EQ(slot, freed);
    EXPECT_EQ(registry.tail, freed);
    EXPECT_EQ(registry.slots[3].next, freed);
}

TEST(CodecRegistry, FindAsksProbesInOrderAndSkipsIncompleteSlots)
{
    CodecRegistry registry = {};
    CodecDescriptor noDescription = Descriptor(AcceptAll, DecodeOnePixel, nullptr);
    CodecDescriptor noProbe = Descriptor(nullptr, DecodeOnePixel);
    CodecDescriptor refuse = Descriptor(RefuseAll, DecodeOnePixel);
    CodecDescriptor onlyX = Descriptor(AcceptX, DecodeOnePixel);
    CodecRegister(&registry, &noDescription, 4);
    CodecRegister(&registry, &noProbe, 4);
    CodecRegister(&registry, &refuse, 4);
    CodecSlot *x = CodecRegister(&registry, &onlyX, 4);
    const uint8_t data[] = {'X'};
    ImageSource source = {};
    source.size = 1;
    source.data = data;
    g_probeCalls = 0;
    EXPECT_EQ(CodecFind(&registry, &source), x);
    EXPECT_EQ(g_probeCalls, 1) << "the slot without a description is never probed";
    const uint8_t other[] = {'Y'};
    source.data = other;
    EXPECT_EQ(CodecFind(&registry, &source), nullptr);
    CodecRegistry empty = {};
    EXPECT_EQ(CodecFind(&empty, &source), nullptr);
}

TEST(ImageLoading, LoadReportsEachOutcome)
{
    const uint8_t data[] = {'X', 1, 2};
    ImageSource source = {};
    source.size = sizeof(data);
    source.data = data;

    CodecRegistry none = {};
    EXPECT_EQ(ImageLoad(&none, &source), nullptr);
    EXPECT_EQ(source.error, kImageNoCodec);

    CodecRegistry noDecoder = {};
    CodecDescriptor probeOnly = Descriptor(AcceptX, nullptr);
    CodecRegister(&noDecoder, &probeOnly, 4);
    EXPECT_EQ(ImageLoad(&noDecoder, &source), nullptr);
    EXPECT_EQ(source.error, kImageNoCodec);

    CodecRegistry failing = {};
    CodecDescriptor fails = Descriptor(AcceptX, DecodeNothing);
    CodecRegister(&failing, &fails, 4);
    EXPECT_EQ(ImageLoad(&failing, &source), nullptr);
    EXPECT_EQ(source.error, kImageOutOfMemory) << "the codec's own detail code survives";

    CodecRegistry good = {};
    CodecDescriptor works = Descriptor(AcceptX, DecodeOnePixel);
    CodecSlot *slot = CodecRegister(&good, &works, 4);
    source.formatFlags = 0xF0;
    Image *image = ImageLoad(&good, &source);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(source.error, kImageOk);
    EXPECT_EQ(image->codec, slot);
    EXPECT_EQ(source.formatFlags, 1u) << "the load clears the flags before the codec sets its own";
    ImageFree(image);
}

TEST(ImageLoading, BuiltinCodecsRegisterGifWithItsDescription)
{
    CodecRegistry registry = {};
    ASSERT_TRUE(RegisterBuiltinCodecs(&registry));
    ASSERT_NE(registry.head, nullptr);
    const CodecDescriptor &gif = registry.head->descriptor;
    EXPECT_STREQ(gif.description, "Graphics Interchange Format");
    EXPECT_STREQ(gif.extensions, "GIF");
    EXPECT_EQ(gif.extensions[4], '\0') << "the extension list ends with an empty name";
    ASSERT_NE(gif.options, nullptr);
    ASSERT_EQ(gif.options->count, 1u);
    EXPECT_EQ(gif.options->options[0].number, 0u);
    EXPECT_STREQ(gif.options->options[0].name, "Interlaced");
    EXPECT_EQ(gif.encode, nullptr);

    ImageSource source = {};
    const uint8_t gif87[] = "GIF87a";
    const uint8_t short3[] = "GIF";
    const uint8_t png[] = "\x89PNG";
    source.data = gif87;
    source.size = 6;
    EXPECT_NE(GifProbe(&registry, &source, 0), 0);
    source.data = png;
    source.size = 4;
    EXPECT_EQ(GifProbe(&registry, &source, 0), 0);
    source.data = short3;
    source.size = 3;
    EXPECT_EQ(GifProbe(&registry, &source, 0), 0) << "never reads past the data";
    const uint8_t gif8x[] = "GIF8zz";
    source.data = gif8x;
    source.size = 4;
    EXPECT_NE(GifProbe(&registry, &source, 0), 0) << "the version letters are not checked";

    // A four-slot registry that is full takes no more.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(RegisterBuiltinCodecs(&registry));
    EXPECT_FALSE(RegisterBuiltinCodecs(&registry));
}

} // namespace
