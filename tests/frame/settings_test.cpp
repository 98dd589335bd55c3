// Loading the settings record from a profile: defaults, the three lists, the shortcut upgrade.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "frame/settingsdata.h"
#include "tests/support/memprofile.h"

namespace
{

// Little-endian fields as a profile blob.
template <typename T> std::string Blob(const std::vector<T> &fields)
{
    std::vector<unsigned char> bytes;
    for (T v : fields)
        for (size_t i = 0; i < sizeof v; ++i)
            bytes.push_back((unsigned char)(uint32_t(v) >> (8 * i)));
    return EncodeProfileBlob(bytes.data(), bytes.size());
}

std::string Corrupt(std::string blob)
{
    blob[1] = blob[1] == '0' ? '1' : '0';
    return blob;
}

// A list as its values, blank-separated; shortcuts as key, flags and command.
template <typename List> std::string Joined(const List &list)
{
    std::string out;
    list.ForEach([&](const auto &v) {
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, ShortcutEntry>)
            out += " " + std::to_string(v.key) + "," + std::to_string(v.flags) + "," + std::to_string(v.command);
        else
            out += " " + std::to_string(int64_t(v));
    });
    return out.empty() ? out : out.substr(1);
}

const char kShippedShortcuts[] = "70,11,40013 78,11,40005 79,11,40003 83,11,40006 85,11,40012 88,19,40001 "
                                 "13,3,40008 13,19,40004 114,3,40014 119,3,40015 119,7,40016 90,11,40021 "
                                 "89,11,40022 85,15,40017 37,19,40018 39,19,40019";
const char kShippedToolbar[] = "-1 40005 40003 40006 -1 40013 -1 40008 40012 40009 -1 40004";

} // namespace

TEST(Settings, DefaultsAndFlagsTakingAnyNonZeroValueAsOn)
{
    struct Flag {
        const char *section, *key;
        int32_t SettingsRecord::*field;
        int32_t byDefault;
    };
    const Flag kFlags[] = {
        {"Option", "AskToOverwrite", &SettingsRecord::askToOverwrite, 1},
        {"Option", "Backup", &SettingsRecord::backup, 1},
        {"Option", "Toolbar", &SettingsRecord::toolbarShown, 1},
        {"Option", "StatusBar", &SettingsRecord::statusBarShown, 1},
        {"Toolbar", "FlatStyle", &SettingsRecord::flatStyle, 1},
        {"Toolbar", "Text", &SettingsRecord::textLabels, 0},
        {"Option", "LoadPosition", &SettingsRecord::loadPosition, 1},
        {"Option", "SavePosition", &SettingsRecord::savePosition, 0},
        {"Option", "OnlyOneInstance", &SettingsRecord::onlyOneInstance, 0},
        {"Option", "AlwaysOnTop", &SettingsRecord::alwaysOnTop, 0},
        {"Option", "CenterWindow", &SettingsRecord::centerWindow, 1},
        {"Option", "AskToFillRepeated", &SettingsRecord::askToFillRepeated, 1},
    };
    MemoryProfile empty;
    auto s = std::make_unique<SettingsRecord>();
    LoadSettingsFrom(empty, *s);
    for (const Flag &f : kFlags)
        EXPECT_EQ((*s).*f.field, f.byDefault) << f.key;
    EXPECT_STREQ(s->bitmapFileName, "");
    EXPECT_EQ(Joined(s->shortcuts), kShippedShortcuts);
    EXPECT_EQ(Joined(s->toolbarItems), kShippedToolbar);
    EXPECT_EQ(Joined(s->panes), "0 4 5 32768"); // file name, problems, progress, filler
    EXPECT_EQ(empty.writes, 0);

    MemoryProfile set;
    for (const Flag &f : kFlags)
        set.Set(f.section, f.key, f.byDefault ? "0" : "-3");
    set.Set("Toolbar", "BitmapFilename", "strip.gif");
    LoadSettingsFrom(set, *s);
    for (const Flag &f : kFlags)
        EXPECT_EQ((*s).*f.field, !f.byDefault) << f.key;
    EXPECT_STREQ(s->bitmapFileName, "strip.gif");
}

TEST(ShortcutSection, StoredRowsAreMergedWithTheDefaultsOnceByVersion)
{
    std::vector<uint16_t> many;
    for (int i = 0; i < 1100; ++i)
        many.insert(many.end(), {uint16_t('A' + i % 26), 11, uint16_t(40001 + i % 14)});
    const std::string kMany = Joined([&] {
        ShortcutList list;
        for (size_t i = 0; i < kShortcutCapacity * 3; i += 3)
            list.Append({many[i], many[i + 1], many[i + 2]});
        return list;
    }());
    struct Row {
        const char *number;
        std::string data;
        const char *version;
        std::string expected;
        bool rewritten;
    };
    const std::string kAfterFind = " 78,11,40005 79,11,40003 83,11,40006 85,11,40012 88,19,40001";
    const std::string kAfterOpen = " 83,11,40006 85,11,40012 88,19,40001";
    const std::string kRest = " 114,3,40014 119,3,40015 119,7,40016 90,11,40021 89,11,40022 85,15,40017 "
                              "37,19,40018 39,19,40019";
    const Row kRows[] = {
        // Translate keeps its own key; the other defaults follow, but not Enter for Translate again.
        {"1", Blob<uint16_t>({84, 11, 40008}), nullptr, "84,11,40008 70,11,40013" + kAfterFind + " 13,19,40004" + kRest,
         true},
        // Ctrl+F taken by Open: Find stays unbound, and Open's own default is not added.
        {"1", Blob<uint16_t>({70, 11, 40003}), nullptr,
         "70,11,40003 78,11,40005" + kAfterOpen + " 13,3,40008 13,19,40004" + kRest, true},
        // Find on another key gets no Ctrl+F.
        {"1", Blob<uint16_t>({71, 11, 40013}), nullptr, "71,11,40013" + kAfterFind + " 13,3,40008 13,19,40004" + kRest,
         true},
        {"1", Blob<uint16_t>({71, 11, 40013}), "-1", "71,11,40013", false}, // a negative version: no merge
        {"0", "", nullptr, "", false},
        {"1", Corrupt(Blob<uint16_t>({71, 11, 40013})), nullptr, kShippedShortcuts, false},
        {"1100", Blob(many), "20261207", kMany, false}, // rows beyond the capacity are dropped from the end
    };
    for (const Row &row : kRows) {
        MemoryProfile profile;
        profile.Set("Shortcut", "ItemNumber", row.number);
        profile.Set("Shortcut", "ItemData", row.data);
        if (row.version) profile.Set("Shortcut", "Version", row.version);
        ShortcutList list;
        LoadShortcutSection(profile, list);
        EXPECT_EQ(Joined(list), row.expected) << row.number << " " << row.data.substr(0, 20);
        EXPECT_EQ(profile.writes > 0, row.rewritten) << row.data.substr(0, 20);
        if (!row.rewritten) continue;
        std::vector<uint16_t> fields;
        list.ForEach([&](const ShortcutEntry &e) { fields.insert(fields.end(), {e.key, e.flags, e.command}); });
        EXPECT_EQ(*profile.Find("Shortcut", "ItemNumber"), std::to_string(list.Count()));
        EXPECT_EQ(*profile.Find("Shortcut", "Version"), "20261207");
        EXPECT_EQ(*profile.Find("Shortcut", "ItemData"), Blob(fields));
        // The next start reads the rewritten section and changes nothing.
        int writes = profile.writes;
        LoadShortcutSection(profile, list);
        EXPECT_EQ(Joined(list), row.expected);
        EXPECT_EQ(profile.writes, writes);
    }
}

TEST(ListSections, StoredRowsOrTheirFallbacks)
{
    const std::vector<uint32_t> kSixtyFour(64, kPaneFileSize);
    struct Row {
        const char *section, *number;
        std::string data, expected;
    };
    const Row kRows[] = {
        {"Toolbar", nullptr, "", kShippedToolbar},
        {"Toolbar", "3", Blob<uint32_t>({40006, uint32_t(-1), 40099}), "40006 -1 40099"},
        {"Toolbar", "0", "", ""},
        {"Toolbar", "2", Blob<uint32_t>({40005}), kShippedToolbar}, // the wrong length
        {"Toolbar", "1", Corrupt(Blob<uint32_t>({40005})), kShippedToolbar},
        {"Toolbar", "2147483647", "", kShippedToolbar},                                 // refused without allocating
        {"StatusBar", "0", "", "32768"},                                                // the filler alone
        {"StatusBar", "5", Blob<uint32_t>({3, 9, 0x8002, 1, 0xFFFFFFFF}), "3 1 32768"}, // unknown types skipped
        {"StatusBar", "1", Corrupt(Blob<uint32_t>({1})), "32768"},
        {"StatusBar", "2147483647", "", "32768"},
        {"StatusBar", "64", Blob(kSixtyFour), Joined([] { // no room for the filler
             PaneList l;
             for (int i = 0; i < 64; ++i)
                 l.Append(kPaneFileSize);
             return l;
         }())},
    };
    for (const Row &row : kRows) {
        MemoryProfile profile;
        if (row.number) profile.Set(row.section, "ItemNumber", row.number);
        if (!row.data.empty()) profile.Set(row.section, "ItemData", row.data);
        ToolbarList bar;
        PaneList panes;
        LoadToolbarSection(profile, bar);
        LoadStatusBarSection(profile, panes);
        EXPECT_EQ(row.section[0] == 'T' ? Joined(bar) : Joined(panes), row.expected) << row.section << row.data;
    }
}

TEST(PoolList, InsertAfterKeepsOrderAndFullPoolRefuses)
{
    PoolList<int, 3> list;
    EXPECT_TRUE(list.Append(1));
    EXPECT_TRUE(list.InsertAfter(-1, 0));
    EXPECT_TRUE(list.InsertAfter(0, 5));
    EXPECT_FALSE(list.Append(9));
    EXPECT_EQ(Joined(list), "0 5 1");
    EXPECT_EQ(list.Get(3), nullptr);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Append(4));
}
