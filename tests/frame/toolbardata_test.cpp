// The toolbar's window-free rules: button records from the toolbar list, labels and their
// cutting, and the grey mapping of the strip's palette.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "frame/toolbardata.h"

namespace
{

// A few texts of the string table, and one string outside the commands.
bool FakeText(unsigned id, char *buffer)
{
    static const std::map<unsigned, std::string> kTexts = {
        {1, "OK"},       {40005, "New"},       {40011, "Save template"}, {40012, "Translate next untranslated"},
        {40013, "Find"}, {40014, "Find Next"}, {40008, "Translate"},     {40001, "Exit"},
    };
    auto it = kTexts.find(id);
    if (it == kTexts.end()) return false;
    strcpy(buffer, it->second.c_str());
    return true;
}

bool FakeLeadByte(unsigned char byte)
{
    return byte >= 0x81;
}

PALETTEENTRY Entry(int level, uint8_t flags = 0)
{
    return PALETTEENTRY{uint8_t(level), uint8_t(level), uint8_t(level), flags};
}

} // namespace

TEST(ToolbarLabel, CutRule)
{
    struct Row {
        const char *text;
        bool doubleByte;
        size_t capacity;
        const char *expected;
    };
    const Row kRows[] = {
        {"Find", false, 10, "Find"},
        {"Translate", false, 10, "Translate"},    // nine bytes: the longest text kept whole
        {"Abcdefghij", false, 10, "Abcde..."},    // ten bytes: the shortest text that is cut
        {"Save template", false, 10, "Save ..."}, // the blank is the fifth byte
        {"", false, 10, ""},
        {nullptr, false, 10, ""},
        {"abcd\x82\xA0xyzuvw", true, 10, "abcd\x82\xA0..."},          // the cut moves behind a pair over bytes 4-5
        {"\x82\xA0\x82\xA1zyxwvu", true, 10, "\x82\xA0\x82\xA1z..."}, // pairs and one byte reach byte 5
        {"abcd\x82\xA0xyzuvw", false, 10, "abcd\x82..."},             // no two-byte code page: cut at byte 5
        {"Preferences", false, 4, ""},
        {"Find", false, 4, ""}, // no room for its NUL
    };
    for (const Row &row : kRows) {
        char out[16];
        memset(out, 'z', sizeof out);
        size_t n = CutToolbarLabel(row.text, row.doubleByte ? FakeLeadByte : nullptr, out, row.capacity);
        EXPECT_STREQ(out, row.expected) << (row.text ? row.text : "(null)");
        EXPECT_EQ(n, strlen(out));
        EXPECT_EQ(out[row.capacity], 'z') << "wrote past the capacity";
    }
    EXPECT_EQ(CutToolbarLabel("Find", nullptr, nullptr, 10), 0u);
}

TEST(ToolbarLayout, RecordsAndLabelsOfAList)
{
    ToolbarList list;
    for (int32_t id : {-1, 40005, 40000, 40023, 40024, 1, 0, -2, 40020, 40012, 40013, 40011, 40008, 40014})
        list.Append(id);
    struct Button {
        int32_t image, command;
        uint8_t state, style;
        int32_t label;
    };
    const Button kExpected[] = {
        {0, 0, 0, kButtonStyleSeparator, -1}, // 0 image: the control's default separator width
        {4, 40005, kButtonEnabled, kButtonStyleButton, 0},
        {kButtonNoImage, 40000, kButtonEnabled, kButtonStyleButton, -1}, // below the strip
        {22, 40023, kButtonEnabled, kButtonStyleButton, -1},             // its last image
        {kButtonNoImage, 40024, kButtonEnabled, kButtonStyleButton, -1}, // past it
        {kButtonNoImage, 1, kButtonEnabled, kButtonStyleButton, 1},      // whatever text string 1 has
        {kButtonNoImage, 0, kButtonEnabled, kButtonStyleButton, -1},
        {kButtonNoImage, -2, kButtonEnabled, kButtonStyleButton, -1},
        {19, 40020, kButtonEnabled, kButtonStyleButton, -1}, // no text, no label number used
        {11, 40012, kButtonEnabled, kButtonStyleButton, 2},
        {12, 40013, kButtonEnabled, kButtonStyleButton, 3},
        {10, 40011, kButtonEnabled, kButtonStyleButton, 4},
        {7, 40008, kButtonEnabled, kButtonStyleButton, 5},
        {13, 40014, kButtonEnabled, kButtonStyleButton, 6},
    };
    ToolbarLayout layout;
    ASSERT_EQ(BuildToolbarLayout(list, FakeText, nullptr, &layout), 14);
    for (int i = 0; i < 14; ++i) {
        const ToolbarButtonRecord &got = layout.buttons[i];
        const Button &want = kExpected[i];
        EXPECT_EQ(got.image, want.image) << i;
        EXPECT_EQ(got.command, want.command) << i;
        EXPECT_EQ(got.state, want.state) << i;
        EXPECT_EQ(got.style, want.style) << i;
        EXPECT_EQ(got.label, want.label) << i;
    }
    // NUL-separated with one more NUL at the end, as the control's string list wants them.
    const char kLabels[] = "New\0OK\0Trans...\0Find\0Save ...\0Translate\0Find Next\0";
    EXPECT_EQ(layout.labelCount, 7);
    ASSERT_EQ(layout.labelBytes, sizeof kLabels);
    EXPECT_EQ(memcmp(layout.labels, kLabels, sizeof kLabels), 0);

    // Without texts there are no labels at all.
    ASSERT_EQ(BuildToolbarLayout(list, nullptr, nullptr, &layout), 14);
    EXPECT_EQ(layout.buttons[1].label, -1);
    EXPECT_EQ(layout.labelCount, 0);
    EXPECT_EQ(layout.labelBytes, 0u);
    EXPECT_EQ(BuildToolbarLayout(ToolbarList(), FakeText, nullptr, &layout), 0);

    // A full list of cut labels fits, ending in two NULs.
    ToolbarList full;
    while (full.Append(40012)) {
    }
    ASSERT_EQ(BuildToolbarLayout(full, FakeText, nullptr, &layout), kToolbarCapacity);
    EXPECT_EQ(layout.labelCount, kToolbarCapacity);
    ASSERT_EQ(layout.labelBytes, size_t(kToolbarCapacity) * 9 + 1);
    EXPECT_EQ(std::string(layout.labels + layout.labelBytes - 10, 10), std::string("Trans...\0\0", 10));
}

TEST(ToolbarGreys, OnlyTheThreeExactGreysTakeTheSystemColoursOnce)
{
    std::vector<PALETTEENTRY> palette = {Entry(128, 7), Entry(192),       Entry(223),     Entry(192),
                                         Entry(0),      Entry(127),       Entry(193),     Entry(224),
                                         Entry(255),    {223, 223, 0, 0}, {128, 0, 0, 0}, Entry(128)};
    std::vector<PALETTEENTRY> before = palette;
    // The shadow becomes the old face grey: it must not then be taken for a face entry; the
    // light stays what it was and is not counted.
    ButtonColours colours = {0x00C0C0C0, 0x00332211, 0x00DFDFDF};
    EXPECT_EQ(RemapButtonGreys(palette.data(), 11, colours), 3);
    auto rgb = [](const PALETTEENTRY &e) { return e.peRed | e.peGreen << 8 | e.peBlue << 16 | e.peFlags << 24; };
    EXPECT_EQ(rgb(palette[0]), 0x07C0C0C0); // flags stay
    EXPECT_EQ(rgb(palette[1]), 0x00332211);
    EXPECT_EQ(rgb(palette[3]), 0x00332211);
    for (size_t i : {2, 4, 5, 6, 7, 8, 9, 10, 11})
        EXPECT_EQ(rgb(palette[i]), rgb(before[i])) << i;
    EXPECT_EQ(RemapButtonGreys(nullptr, 16, colours), 0);
}
