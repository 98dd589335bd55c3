// The toolbar's window-free rules: button records from the toolbar list, labels and their
// cutting, and the grey mapping of the strip's palette.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "frame/toolbardata.h"

namespace {

// The command texts of the program's string table, plus one string outside the commands.
const std::map<unsigned, std::string> kTexts = {
    {1, "OK"},
    {40001, "Exit"},
    {40002, "About"},
    {40003, "Open"},
    {40004, "Preferences"},
    {40005, "New"},
    {40006, "Save"},
    {40007, "Save as"},
    {40008, "Translate"},
    {40009, "Signature"},
    {40010, "Close"},
    {40011, "Save template"},
    {40012, "Translate next untranslated"},
    {40013, "Find"},
    {40014, "Find Next"},
};

bool FakeText(unsigned id, char *buffer)
{
    auto it = kTexts.find(id);
    buffer[0] = '\0';
    if (it == kTexts.end()) return false;
    strcpy(buffer, it->second.c_str());
    return true;
}

bool FakeLeadByte(unsigned char byte)
{
    return byte >= 0x81;
}

std::string Cut(const char *text, LeadByteFn isLead = nullptr)
{
    char out[kLabelMax + 1];
    size_t n = CutToolbarLabel(text, isLead, out, sizeof out);
    EXPECT_EQ(n, strlen(out));
    return out;
}

ToolbarList MakeList(std::initializer_list<int32_t> ids)
{
    ToolbarList list;
    for (int32_t id : ids) list.Append(id);
    return list;
}

ToolbarList DefaultList()
{
    ToolbarList list;
    for (int32_t id : kDefaultToolbar) list.Append(id);
    return list;
}

// The labels of a layout in list order.
std::vector<std::string> Labels(const ToolbarLayout &layout)
{
    std::vector<std::string> labels;
    const char *p = layout.labels;
    for (int i = 0; i < layout.labelCount; ++i) {
        labels.emplace_back(p);
        p += strlen(p) + 1;
    }
    return labels;
}

std::string LabelOf(const ToolbarLayout &layout, int button)
{
    int index = layout.buttons[button].label;
    if (index < 0) return "<none>";
    return Labels(layout).at(size_t(index));
}

PALETTEENTRY Entry(uint8_t r, uint8_t g, uint8_t b, uint8_t flags = 0)
{
    return PALETTEENTRY{r, g, b, flags};
}

bool Same(const PALETTEENTRY &a, const PALETTEENTRY &b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue && a.peFlags == b.peFlags;
}

} // namespace

TEST(ToolbarLabel, ShortTextsStayWholeAndLongOnesAreCutAfterFiveBytes)
{
    EXPECT_EQ(Cut("Find"), "Find");
    EXPECT_EQ(Cut("Translate"), "Translate"); // nine bytes: the longest text kept whole
    EXPECT_EQ(Cut("Signature"), "Signature");
    EXPECT_EQ(Cut("Find Next"), "Find Next");
    EXPECT_EQ(Cut("Save template"), "Save ..."); // the blank is the fifth byte
    EXPECT_EQ(Cut("Translate next untranslated"), "Trans...");
    EXPECT_EQ(Cut("Preferences"), "Prefe...");
    EXPECT_EQ(Cut("Abcdefghij"), "Abcde..."); // ten bytes: the shortest text that is cut
    EXPECT_EQ(Cut(""), "");
    EXPECT_EQ(Cut(nullptr), "");
}

TEST(ToolbarLabel, CutNeverSplitsATwoByteCharacter)
{
    // A two-byte character over bytes 4 and 5: the cut moves behind it.
    EXPECT_EQ(Cut("abcd\x82\xA0xyzuvw", FakeLeadByte), "abcd\x82\xA0...");
    // Two two-byte characters and one byte reach byte 5 exactly.
    EXPECT_EQ(Cut("\x82\xA0\x82\xA1zyxwvu", FakeLeadByte), "\x82\xA0\x82\xA1z...");
    // Without a code page of two-byte characters the same bytes are cut at byte 5.
    EXPECT_EQ(Cut("abcd\x82\xA0xyzuvw"), "abcd\x82...");
}

TEST(ToolbarLabel, TooSmallOutputGetsAnEmptyTerminatedLabel)
{
    char out[4] = "zzz";
    EXPECT_EQ(CutToolbarLabel("Preferences", nullptr, out, sizeof out), 0u);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(CutToolbarLabel("Find", nullptr, out, 4), 0u); // no room for its NUL
    EXPECT_EQ(CutToolbarLabel("Find", nullptr, nullptr, 10), 0u);
}

TEST(ToolbarLayout, DefaultListStartsWithASeparatorAndMapsCommandsToStripImages)
{
    ToolbarLayout layout;
    ASSERT_EQ(BuildToolbarLayout(DefaultList(), nullptr, nullptr, &layout), 12);
    const ToolbarButtonRecord &first = layout.buttons[0];
    EXPECT_EQ(first.style, kButtonStyleSeparator);
    EXPECT_EQ(first.state, 0);
    EXPECT_EQ(first.command, 0);
    EXPECT_EQ(first.image, 0); // the control's default separator width

    const ToolbarButtonRecord &newButton = layout.buttons[1];
    EXPECT_EQ(newButton.command, 40005);
    EXPECT_EQ(newButton.image, 4);
    EXPECT_EQ(newButton.style, kButtonStyleButton);
    EXPECT_EQ(newButton.state, kButtonEnabled);
    EXPECT_EQ(newButton.label, -1); // labels are off

    const int32_t expectedImages[12] = {0, 4, 2, 5, 0, 12, 0, 7, 11, 8, 0, 3};
    for (int i = 0; i < 12; ++i) {
        bool separator = kDefaultToolbar[i] == kToolbarSeparator;
        EXPECT_EQ(layout.buttons[i].style, separator ? kButtonStyleSeparator : kButtonStyleButton) << i;
        EXPECT_EQ(layout.buttons[i].image, expectedImages[i]) << i;
    }
    EXPECT_EQ(layout.labelCount, 0);
    EXPECT_EQ(layout.labelBytes, 0u);
}

TEST(ToolbarLayout, EveryCommandGetsItsOwnStripImage)
{
    ToolbarList list;
    for (int32_t id = 40001; id <= 40016; ++id) list.Append(id);
    ToolbarLayout layout;
    ASSERT_EQ(BuildToolbarLayout(list, nullptr, nullptr, &layout), 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(layout.buttons[i].image, i);
        EXPECT_EQ(layout.buttons[i].command, 40001 + i);
    }
}

TEST(ToolbarLayout, SeparatorsOnlyGiveNoClickableButton)
{
    ToolbarLayout layout;
    ASSERT_EQ(BuildToolbarLayout(MakeList({-1, -1, -1}), FakeText, nullptr, &layout), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(layout.buttons[i].style, kButtonStyleSeparator);
        EXPECT_EQ(layout.buttons[i].state, 0);
        EXPECT_EQ(layout.buttons[i].label, -1);
    }
    EXPECT_EQ(layout.labelCount, 0);
    EXPECT_EQ(layout.labelBytes, 0u);
    EXPECT_EQ(BuildToolbarLayout(ToolbarList(), FakeText, nullptr, &layout), 0);
}

TEST(ToolbarLayout, CommandOutsideTheStripGetsNoImageButWhateverTextItsNumberHas)
{
    ToolbarLayout layout;
    ASSERT_EQ(BuildToolbarLayout(MakeList({40000, 40024, 1, 0, -2, 40014}), FakeText, nullptr, &layout), 6);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(layout.buttons[i].image, kButtonNoImage) << i;
        EXPECT_EQ(layout.buttons[i].style, kButtonStyleButton) << i;
    }
    EXPECT_EQ(layout.buttons[5].image, 13);
    EXPECT_EQ(layout.buttons[0].command, 40000);
    EXPECT_EQ(LabelOf(layout, 0), "<none>");
    EXPECT_EQ(LabelOf(layout, 2), "OK"); // string 1 of the table
    EXPECT_EQ(LabelOf(layout, 5), "Find Next");
    EXPECT_EQ(layout.labelCount, 2);
}

TEST(ToolbarLayout, LabelsAreCutAndCountedOnlyWhenStored)
{
    ToolbarLayout layout;
    ToolbarList list = MakeList({-1, 40013, 40011, 40020, 40012, 40004, 40008, 40009});
    ASSERT_EQ(BuildToolbarLayout(list, FakeText, nullptr, &layout), 8);
    EXPECT_EQ(LabelOf(layout, 0), "<none>");
    EXPECT_EQ(LabelOf(layout, 1), "Find");
    EXPECT_EQ(LabelOf(layout, 2), "Save ...");
    EXPECT_EQ(LabelOf(layout, 3), "<none>"); // 40020 has no string
    // The button after the one without a string gets the next label, not a skipped number.
    EXPECT_EQ(layout.buttons[4].label, 2);
    EXPECT_EQ(LabelOf(layout, 4), "Trans...");
    EXPECT_EQ(LabelOf(layout, 5), "Prefe...");
    EXPECT_EQ(LabelOf(layout, 6), "Translate");
    EXPECT_EQ(LabelOf(layout, 7), "Signature");

    // NUL-separated with one more NUL at the end.
    const char expected[] = "Find\0Save ...\0Trans...\0Prefe...\0Translate\0Signature\0";
    ASSERT_EQ(layout.labelBytes, sizeof expected);
    EXPECT_EQ(memcmp(layout.labels, expected, sizeof expected), 0);
}

TEST(ToolbarLayout, DefaultListWithLabels)
{
    ToolbarLayout layout;
    ASSERT_EQ(BuildToolbarLayout(DefaultList(), FakeText, nullptr, &layout), 12);
    std::vector<std::string> expected = {"New", "Open", "Save", "Find", "Translate", "Trans...", "Signature",
                                         "Prefe..."};
    EXPECT_EQ(Labels(layout), expected);
    EXPECT_EQ(layout.buttons[0].label, -1);
    EXPECT_EQ(layout.buttons[1].label, 0);
    EXPECT_EQ(layout.buttons[11].label, 7);
}

TEST(ToolbarLayout, AFullListOfLongLabelsFits)
{
    ToolbarList list;
    for (int i = 0; i < kToolbarCapacity; ++i) list.Append(40012);
    ASSERT_EQ(list.Count(), kToolbarCapacity);
    ToolbarLayout layout;
    ASSERT_EQ(BuildToolbarLayout(list, FakeText, nullptr, &layout), kToolbarCapacity);
    EXPECT_EQ(layout.labelCount, kToolbarCapacity);
    EXPECT_EQ(LabelOf(layout, kToolbarCapacity - 1), "Trans...");
    EXPECT_LE(layout.labelBytes, sizeof layout.labels);
    EXPECT_EQ(layout.labels[layout.labelBytes - 1], '\0');
    EXPECT_EQ(layout.labels[layout.labelBytes - 2], '\0');
}

TEST(ToolbarGreys, OnlyTheThreeExactGreysTakeTheSystemColours)
{
    std::vector<PALETTEENTRY> palette = {
        Entry(0, 0, 0),         Entry(128, 128, 128, 7), Entry(192, 192, 192), Entry(223, 223, 223),
        Entry(128, 128, 129),   Entry(192, 192, 191),    Entry(223, 223, 0),   Entry(255, 255, 255),
        Entry(64, 64, 64),      Entry(128, 0, 0),        Entry(192, 192, 192), Entry(224, 224, 224),
        Entry(127, 127, 127),   Entry(0, 128, 128),      Entry(193, 193, 193), Entry(222, 222, 222),
    };
    std::vector<PALETTEENTRY> before = palette;
    ButtonColours colours = {0x00332211, 0x00665544, 0x00998877};
    EXPECT_EQ(RemapButtonGreys(palette.data(), uint32_t(palette.size()), colours), 4);
    EXPECT_TRUE(Same(palette[1], Entry(0x11, 0x22, 0x33, 7))); // flags stay
    EXPECT_TRUE(Same(palette[2], Entry(0x44, 0x55, 0x66)));
    EXPECT_TRUE(Same(palette[3], Entry(0x77, 0x88, 0x99)));
    EXPECT_TRUE(Same(palette[10], Entry(0x44, 0x55, 0x66)));
    for (size_t i : {0, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15}) EXPECT_TRUE(Same(palette[i], before[i])) << i;
}

TEST(ToolbarGreys, EachEntryIsMappedOnceAndUnchangedEntriesAreNotCounted)
{
    // The shadow grey becomes the face grey; it must not then be taken for a face entry.
    PALETTEENTRY palette[3] = {Entry(128, 128, 128), Entry(192, 192, 192), Entry(223, 223, 223)};
    ButtonColours greyish = {0x00C0C0C0, 0x00010203, 0x00DFDFDF};
    EXPECT_EQ(RemapButtonGreys(palette, 3, greyish), 2);
    EXPECT_TRUE(Same(palette[0], Entry(192, 192, 192)));
    EXPECT_TRUE(Same(palette[1], Entry(3, 2, 1)));
    EXPECT_TRUE(Same(palette[2], Entry(223, 223, 223)));

    // The classic scheme has exactly these greys: nothing changes, so nothing is written back.
    PALETTEENTRY classic[3] = {Entry(128, 128, 128), Entry(192, 192, 192), Entry(223, 223, 223)};
    EXPECT_EQ(RemapButtonGreys(classic, 3, ButtonColours{0x00808080, 0x00C0C0C0, 0x00DFDFDF}), 0);

    // Only the given count is visited.
    PALETTEENTRY partial[2] = {Entry(192, 192, 192), Entry(192, 192, 192)};
    EXPECT_EQ(RemapButtonGreys(partial, 1, greyish), 1);
    EXPECT_TRUE(Same(partial[1], Entry(192, 192, 192)));
    EXPECT_EQ(RemapButtonGreys(nullptr, 16, greyish), 0);
}
