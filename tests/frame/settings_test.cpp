// Loading the settings record from a profile: defaults, the three lists, the shortcut upgrade.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "frame/settingsdata.h"
#include "res/resource.h"
#include "tests/support/memprofile.h"

static std::vector<ShortcutEntry> Shortcuts(const ShortcutList &list)
{
    std::vector<ShortcutEntry> out;
    list.ForEach([&](const ShortcutEntry &e) { out.push_back(e); });
    return out;
}

template <typename List> static auto Items(const List &list)
{
    std::vector<std::remove_cvref_t<decltype(*list.Get(0))>> out;
    list.ForEach([&](const auto &v) { out.push_back(v); });
    return out;
}

static std::string Rows(const std::vector<ShortcutEntry> &rows)
{
    std::vector<unsigned char> bytes;
    for (const ShortcutEntry &e : rows) {
        for (uint16_t v : {e.key, e.flags, e.command}) {
            bytes.push_back((unsigned char)(v & 0xFF));
            bytes.push_back((unsigned char)(v >> 8));
        }
    }
    return EncodeProfileBlob(bytes.data(), bytes.size());
}

static std::string Words(const std::vector<uint32_t> &values)
{
    std::vector<unsigned char> bytes;
    for (uint32_t v : values)
        for (int i = 0; i < 4; ++i) bytes.push_back((unsigned char)(v >> (8 * i)));
    return EncodeProfileBlob(bytes.data(), bytes.size());
}

TEST(Settings, EmptyProfileGivesEveryDefaultAndWritesNothing)
{
    MemoryProfile profile;
    auto *s = new SettingsRecord{};
    LoadSettingsFrom(profile, *s);
    EXPECT_EQ(s->askToOverwrite, 1);
    EXPECT_EQ(s->toolbarShown, 1);
    EXPECT_EQ(s->statusBarShown, 1);
    EXPECT_EQ(s->flatStyle, 1);
    EXPECT_EQ(s->textLabels, 0);
    EXPECT_EQ(s->loadPosition, 1);
    EXPECT_EQ(s->savePosition, 0);
    EXPECT_EQ(s->onlyOneInstance, 0);
    EXPECT_EQ(s->alwaysOnTop, 0);
    EXPECT_EQ(s->centerWindow, 1);
    EXPECT_EQ(s->askToFillRepeated, 1);
    EXPECT_STREQ(s->bitmapFileName, "");
    // The defaults the program ships, as literal rows (key, flags, command).
    const std::vector<std::array<int, 3>> kShipped = {
        {0x46, 0x0B, 40013}, {0x4E, 0x0B, 40005}, {0x4F, 0x0B, 40003}, {0x53, 0x0B, 40006}, {0x55, 0x0B, 40012},
        {0x58, 0x13, 40001}, {0x0D, 0x03, 40008}, {0x0D, 0x13, 40004}, {0x72, 0x03, 40014},
        {0x77, 0x03, 40015}, {0x77, 0x07, 40016}, {0x5A, 0x0B, 40021}, {0x59, 0x0B, 40022},
        {0x55, 0x0F, 40017}, {0x25, 0x13, 40018}, {0x27, 0x13, 40019},
    };
    std::vector<std::array<int, 3>> shortcuts;
    for (const ShortcutEntry &e : Shortcuts(s->shortcuts))
        shortcuts.push_back({e.key, e.flags, e.command});
    EXPECT_EQ(shortcuts, kShipped);
    EXPECT_EQ(Items(s->toolbarItems),
              (std::vector<int32_t>{-1, 40005, 40003, 40006, -1, 40013, -1, 40008, 40012, 40009, -1, 40004}));
    EXPECT_EQ(Items(s->panes), (std::vector<uint32_t>{kPaneFilename, kPaneProblems, kPaneProgress, kPaneFiller}));
    EXPECT_EQ(profile.writes, 0);
    delete s;
}

TEST(Settings, FlagsTakeAnyNonZeroValueAsOn)
{
    MemoryProfile profile;
    profile.Set("Option", "AskToOverwrite", "0");
    profile.Set("Option", "AskToFillRepeated", "0");
    profile.Set("Option", "OnlyOneInstance", "-3");
    profile.Set("Toolbar", "Text", "7");
    profile.Set("Toolbar", "BitmapFilename", "strip.gif");
    auto *s = new SettingsRecord{};
    LoadSettingsFrom(profile, *s);
    EXPECT_EQ(s->askToOverwrite, 0);
    EXPECT_EQ(s->askToFillRepeated, 0);
    EXPECT_EQ(s->onlyOneInstance, 1);
    EXPECT_EQ(s->textLabels, 1);
    EXPECT_STREQ(s->bitmapFileName, "strip.gif");
    delete s;
}

TEST(ShortcutSection, ZeroItemsGivesNoShortcutsAndNoRewrite)
{
    MemoryProfile profile;
    profile.Set("Shortcut", "ItemNumber", "0");
    ShortcutList list;
    LoadShortcutSection(profile, list);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(profile.writes, 0);
}

TEST(ShortcutSection, StoredListWithoutVersionIsMergedAndRewrittenOnce)
{
    MemoryProfile profile;
    profile.Set("Shortcut", "ItemNumber", "1");
    profile.Set("Shortcut", "ItemData", Rows({{'T', 0x0B, CMD_TEXT_TRANSLATE}}));
    ShortcutList list;
    LoadShortcutSection(profile, list);
    // Translate keeps its own binding; the other fifteen defaults are appended after it.
    std::vector<ShortcutEntry> got = Shortcuts(list);
    ASSERT_EQ(got.size(), 16u);
    EXPECT_EQ(got[0].key, 'T');
    EXPECT_EQ(got[1].command, CMD_EDIT_FIND);
    for (const ShortcutEntry &e : got) EXPECT_FALSE(e.key == 0x0D && e.flags == 0x03) << "default Enter re-added";
    EXPECT_EQ(*profile.Find("Shortcut", "ItemNumber"), "16");
    EXPECT_EQ(*profile.Find("Shortcut", "Version"), "20261207");
    EXPECT_EQ(*profile.Find("Shortcut", "ItemData"), Rows(got));

    // A second start reads the rewritten section and changes nothing.
    int writes = profile.writes;
    ShortcutList again;
    LoadShortcutSection(profile, again);
    EXPECT_EQ(again.Count(), 16);
    EXPECT_EQ(profile.writes, writes);
}

TEST(ShortcutSection, KeyBoundElsewhereKeepsFindUnbound)
{
    MemoryProfile profile;
    profile.Set("Shortcut", "ItemNumber", "1");
    profile.Set("Shortcut", "ItemData", Rows({{'F', 0x0B, CMD_FILE_OPEN}}));
    ShortcutList list;
    LoadShortcutSection(profile, list);
    bool findBound = false;
    list.ForEach([&](const ShortcutEntry &e) { findBound |= e.command == CMD_EDIT_FIND; });
    EXPECT_FALSE(findBound);
    EXPECT_EQ(list.Get(0)->command, CMD_FILE_OPEN);
}

TEST(ShortcutSection, FindBoundToOtherKeyGetsNoDefaultCtrlF)
{
    MemoryProfile profile;
    profile.Set("Shortcut", "ItemNumber", "1");
    profile.Set("Shortcut", "ItemData", Rows({{'G', 0x0B, CMD_EDIT_FIND}}));
    ShortcutList list;
    LoadShortcutSection(profile, list);
    int ctrlF = 0;
    list.ForEach([&](const ShortcutEntry &e) { ctrlF += e.key == 'F'; });
    EXPECT_EQ(ctrlF, 0);
    EXPECT_EQ(list.Count(), 16);
}

TEST(ShortcutSection, NegativeVersionMeansNoMergeAndNoRewrite)
{
    MemoryProfile profile;
    profile.Set("Shortcut", "ItemNumber", "1");
    profile.Set("Shortcut", "ItemData", Rows({{'G', 0x0B, CMD_EDIT_FIND}}));
    profile.Set("Shortcut", "Version", "-1");
    ShortcutList list;
    LoadShortcutSection(profile, list);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(profile.writes, 0);
}

TEST(Blobs, OneChangedDigitFallsBackPerSection)
{
    MemoryProfile profile;
    std::string shortcuts = Rows({{'G', 0x0B, CMD_EDIT_FIND}});
    shortcuts[0] = shortcuts[0] == '4' ? '5' : '4';
    profile.Set("Shortcut", "ItemNumber", "1");
    profile.Set("Shortcut", "ItemData", shortcuts);
    std::string toolbar = Words({CMD_FILE_NEW});
    toolbar[1] = toolbar[1] == '0' ? '1' : '0';
    profile.Set("Toolbar", "ItemNumber", "1");
    profile.Set("Toolbar", "ItemData", toolbar);
    std::string panes = Words({kPaneFolder});
    panes[1] = panes[1] == '0' ? '1' : '0';
    profile.Set("StatusBar", "ItemNumber", "1");
    profile.Set("StatusBar", "ItemData", panes);
    auto *s = new SettingsRecord{};
    LoadSettingsFrom(profile, *s);
    EXPECT_EQ(s->shortcuts.Count(), 16);
    EXPECT_EQ(s->toolbarItems.Count(), 12);
    EXPECT_EQ(Items(s->panes), (std::vector<uint32_t>{kPaneFiller}));
    delete s;
}

TEST(Blobs, WrongLengthIsRefused)
{
    MemoryProfile profile;
    profile.Set("Toolbar", "ItemNumber", "2");
    profile.Set("Toolbar", "ItemData", Words({CMD_FILE_NEW}));
    ToolbarList list;
    LoadToolbarSection(profile, list);
    EXPECT_EQ(list.Count(), 12);
}

TEST(Blobs, HugeCountsAreRefusedWithoutAllocating)
{
    MemoryProfile profile;
    profile.Set("Toolbar", "ItemNumber", "2147483647");
    profile.Set("StatusBar", "ItemNumber", "2147483647");
    ToolbarList toolbar;
    LoadToolbarSection(profile, toolbar);
    EXPECT_EQ(toolbar.Count(), 12);
    PaneList panes;
    LoadStatusBarSection(profile, panes);
    EXPECT_EQ(panes.Count(), 1);
}

TEST(ToolbarSection, StoredRowsInOrderAndZeroGivesNone)
{
    MemoryProfile profile;
    profile.Set("Toolbar", "ItemNumber", "3");
    profile.Set("Toolbar", "ItemData", Words({CMD_FILE_SAVE, uint32_t(-1), 40099}));
    ToolbarList list;
    LoadToolbarSection(profile, list);
    EXPECT_EQ(Items(list), (std::vector<int32_t>{CMD_FILE_SAVE, -1, 40099}));

    profile.Set("Toolbar", "ItemNumber", "0");
    LoadToolbarSection(profile, list);
    EXPECT_EQ(list.Count(), 0);
}

TEST(StatusBarSection, ZeroItemsGivesTheFillerAlone)
{
    MemoryProfile profile;
    profile.Set("StatusBar", "ItemNumber", "0");
    PaneList list;
    LoadStatusBarSection(profile, list);
    EXPECT_EQ(Items(list), (std::vector<uint32_t>{kPaneFiller}));
}

TEST(StatusBarSection, UnknownPaneTypesAreSkipped)
{
    MemoryProfile profile;
    profile.Set("StatusBar", "ItemNumber", "5");
    profile.Set("StatusBar", "ItemData", Words({kPaneFileSize, 9, 0x8002, kPaneFolder, 0xFFFFFFFF}));
    PaneList list;
    LoadStatusBarSection(profile, list);
    EXPECT_EQ(Items(list), (std::vector<uint32_t>{kPaneFileSize, kPaneFolder, kPaneFiller}));
}

TEST(StatusBarSection, SixtyFourRowsDropTheFiller)
{
    MemoryProfile profile;
    profile.Set("StatusBar", "ItemNumber", "64");
    profile.Set("StatusBar", "ItemData", Words(std::vector<uint32_t>(64, kPaneFileSize)));
    PaneList list;
    LoadStatusBarSection(profile, list);
    EXPECT_EQ(list.Count(), 64);
    EXPECT_EQ(*list.Get(63), kPaneFileSize);
}

TEST(ShortcutSection, RowsBeyondCapacityAreDroppedFromTheEnd)
{
    std::vector<ShortcutEntry> rows;
    for (int i = 0; i < 1100; ++i) rows.push_back({uint16_t(0x41 + i % 26), 0x0B, uint16_t(40001 + i % 14)});
    MemoryProfile profile;
    profile.Set("Shortcut", "ItemNumber", "1100");
    profile.Set("Shortcut", "ItemData", Rows(rows));
    profile.Set("Shortcut", "Version", "20261207");
    ShortcutList list;
    LoadShortcutSection(profile, list);
    EXPECT_EQ(list.Count(), kShortcutCapacity);
    EXPECT_EQ(list.Get(kShortcutCapacity - 1)->key, rows[kShortcutCapacity - 1].key);
}

TEST(PoolList, InsertAfterKeepsOrderAndFullPoolRefuses)
{
    PoolList<int, 3> list;
    EXPECT_TRUE(list.Append(1));
    EXPECT_TRUE(list.InsertAfter(-1, 0));
    EXPECT_TRUE(list.InsertAfter(0, 5));
    EXPECT_FALSE(list.Append(9));
    EXPECT_EQ(*list.Get(0), 0);
    EXPECT_EQ(*list.Get(1), 5);
    EXPECT_EQ(*list.Get(2), 1);
    EXPECT_EQ(list.Get(3), nullptr);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Append(4));
}
