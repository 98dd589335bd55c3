// The frame's window-free rules: texts as rows of textrules.tsv, toolbar records and grey mapping.
#include <cstring>
#include <map>
#include <sstream>

#include "frame/decorate.h"
#include "frame/pathparts.h"
#include "frame/sizeformat.h"
#include "frame/textcut.h"
#include "frame/toolbardata.h"
#include "tests/support/datarows.h"

namespace
{

const LeadByteFn kCp932Lead = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); };

// "!" marks bytes written past the capacity or a returned length that is not the output's.
std::string Apply(const std::string &kind, const std::string &input, std::istringstream &args)
{
    char out[300], letter = 0;
    memset(out, 'z', sizeof out);
    if (kind == "decorate") args >> letter;
    std::string word;
    size_t capacity = 0;
    args >> word >> capacity;
    if (kind == "mnemonic") {
        Mnemonic m = {'?', true};
        std::string got = FindMnemonic(uint32_t(std::stoul(input)), &m) ? "" : "none";
        return got + (m.letter ? std::string(1, m.letter) : "") + (m.ellipsis ? "..." : "");
    }
    if (kind == "size")
        return FormatSize(std::stoull(input), word == "units", {"Byte", "KB", "MB", "GB", ".", ","}, out, capacity),
               out;
    const LeadByteFn lead = word == "932" ? kCp932Lead : nullptr;
    if (kind == "cut") return std::to_string(CutAtCharBoundary(input.c_str(), input.size(), capacity, lead));
    if (kind == "path") {
        bool hasFolder = FolderPart(input.c_str(), out, 32, kCp932Lead);
        return FileNamePart(input.c_str(), kCp932Lead) + std::string("|") + (hasFolder ? out : "-");
    }
    const size_t n = kind == "decorate"
                         ? DecorateText(input.c_str(), letter, word == "...", out, capacity)
                         : CutToolbarLabel(input == "(null)" ? nullptr : input.c_str(), lead, out, capacity);
    return out + std::string(n == strlen(out) && out[capacity] == 'z' ? "" : "!");
}

TEST(TextRules, EveryRowGivesItsExpectedText)
{
    for (const auto &row : ReadDataRows(PARLEVO_FRAME_DATA_DIR "/textrules.tsv", 59)) {
        std::istringstream args(row.at(2));
        EXPECT_EQ(Apply(row[0], row[1], args), row.at(3)) << row[0] << " " << row[1];
    }
    char tiny[3];
    EXPECT_FALSE(FolderPart("C:\\x\\a", tiny, sizeof tiny, nullptr) || CutToolbarLabel("Find", nullptr, nullptr, 10));
}

// A few texts of the string table, and one string outside the commands.
bool FakeText(unsigned id, char *buffer)
{
    static const std::map<unsigned, std::string> kTexts = {
        {1, "OK"},       {40005, "New"},       {40011, "Save template"}, {40012, "Translate next untranslated"},
        {40013, "Find"}, {40014, "Find Next"}, {40008, "Translate"},     {40001, "Exit"},
    };
    const auto it = kTexts.find(id);
    return it != kTexts.end() && strcpy(buffer, it->second.c_str());
}

// "|" a separator, else command@image'label'; "!" a state or style not of the kind; #labels/bytes.
std::string Describe(const ToolbarLayout &layout)
{
    std::vector<std::string> labels;
    for (const char *p = layout.labels; labels.size() < size_t(layout.labelCount); p += strlen(p) + 1)
        labels.emplace_back(p);
    std::string out;
    for (int i = 0; i < layout.buttonCount; ++i) {
        const ToolbarButtonRecord &b = layout.buttons[i];
        bool separator = b.style == kButtonStyleSeparator;
        out += out.empty() ? "" : " ";
        out += separator
                   ? std::string(b.command || b.image || b.state ? "|!" : "|") // image 0: the default width
                   : std::to_string(b.command) + "@" + (b.image == kButtonNoImage ? "-" : std::to_string(b.image));
        if (!separator && (b.state != kButtonEnabled || b.style != kButtonStyleButton)) out += "!";
        if (b.label >= 0) out += "'" + labels.at(size_t(b.label)) + "'";
    }
    return out + " #" + std::to_string(layout.labelCount) + "/" + std::to_string(layout.labelBytes);
}

TEST(ToolbarLayout, RecordsAndLabelsOfAList)
{
    ToolbarList list;
    for (int32_t id : {-1, 40005, 40000, 40023, 40024, 1, 0, -2, 40020, 40012, 40013, 40011, 40008, 40014})
        list.Append(id);
    ToolbarLayout layout;
    ASSERT_EQ(BuildToolbarLayout(list, FakeText, nullptr, &layout), 14);
    // Images are command - 40001 within the strip; 40020 has no text and takes no label number.
    EXPECT_EQ(Describe(layout), "| 40005@4'New' 40000@- 40023@22 40024@- 1@-'OK' 0@- -2@- 40020@19 40012@11'Trans...' "
                                "40013@12'Find' 40011@10'Save ...' 40008@7'Translate' 40014@13'Find Next' #7/51");
    // NUL-separated with one more NUL at the end, as the control's string list wants them.
    const char kLabels[] = "New\0OK\0Trans...\0Find\0Save ...\0Translate\0Find Next\0";
    EXPECT_EQ(std::string(layout.labels, layout.labelBytes), std::string(kLabels, sizeof kLabels));
    ASSERT_EQ(BuildToolbarLayout(list, nullptr, nullptr, &layout), 14); // without texts no labels at all
    EXPECT_EQ(Describe(layout), "| 40005@4 40000@- 40023@22 40024@- 1@- 0@- -2@- 40020@19 40012@11 40013@12 40011@10 "
                                "40008@7 40014@13 #0/0");
    EXPECT_EQ(BuildToolbarLayout(ToolbarList(), FakeText, nullptr, &layout), 0);
    ToolbarList full; // a full list of cut labels fits, ending in two NULs
    while (full.Append(40012)) {
    }
    ASSERT_EQ(BuildToolbarLayout(full, FakeText, nullptr, &layout), kToolbarCapacity);
    const std::string tail = Describe(layout).substr(Describe(layout).rfind('#'));
    EXPECT_EQ(tail + std::string(layout.labels + layout.labelBytes - 10, 10),
              "#256/2305" + std::string("Trans...\0\0", 10));
}

TEST(ToolbarGreys, OnlyTheThreeExactGreysTakeTheSystemColoursOnce)
{
    const auto Entry = [](uint8_t level, uint8_t flags = 0) { return PALETTEENTRY{level, level, level, flags}; };
    std::vector<PALETTEENTRY> palette = {Entry(128, 7), Entry(192),       Entry(223),     Entry(192),
                                         Entry(0),      Entry(127),       Entry(193),     Entry(224),
                                         Entry(255),    {223, 223, 0, 0}, {128, 0, 0, 0}, Entry(128)};
    // The shadow becomes the old face grey, not to be mapped again; the unchanged light is not counted.
    ButtonColours colours = {0x00C0C0C0, 0x00332211, 0x00DFDFDF};
    std::string got = std::to_string(RemapButtonGreys(palette.data(), 11, colours)) + ": ";
    for (const PALETTEENTRY &e : palette) // flags stay
        got += std::to_string(e.peRed) + "," + std::to_string(e.peGreen) + "," + std::to_string(e.peBlue) + "," +
               std::to_string(e.peFlags) + " ";
    EXPECT_EQ(got, "3: 192,192,192,7 17,34,51,0 223,223,223,0 17,34,51,0 0,0,0,0 127,127,127,0 193,193,193,0 "
                   "224,224,224,0 255,255,255,0 223,223,0,0 128,0,0,0 128,128,128,0 ");
    EXPECT_EQ(RemapButtonGreys(nullptr, 16, colours), 0);
}

} // namespace
