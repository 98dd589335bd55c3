// Loading the settings record from a profile: defaults, the three lists, the shortcut upgrade.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "frame/settingsdata.h"
#include "tests/support/datarows.h"
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
    EXPECT_EQ(Joined(s->shortcuts).size() * 1000 + Joined(s->toolbarItems).size(),
              190 * 1000 + 59); // the shipped lists: sections.tsv
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

// Blank-separated items, "itemxN" standing for N copies.
std::string Expand(const std::string &text)
{
    std::istringstream in(text);
    std::string out;
    for (std::string item; in >> item;) {
        const size_t x = item.find('x');
        for (int n = x == std::string::npos ? 1 : std::stoi(item.substr(x + 1)); n > 0; --n)
            out += " " + item.substr(0, x);
    }
    return out.empty() ? out : out.substr(1);
}

// The rows of sections.tsv: a section as stored, the list read from it, and whether the load wrote
// it back (shortcut sections older than the defaults are merged and rewritten once).
TEST(ListSections, StoredRowsMergedOrTheirFallbacks)
{
    for (const auto &row : ReadDataRows(PARLEVO_FRAME_DATA_DIR "/sections.tsv", 20)) {
        const std::string &section = row.at(0), &number = row.at(1), &data = row.at(2), &version = row.at(3),
                          &expected = row.at(4), &written = row.at(5);
        const std::string line = section + " " + number + " " + data.substr(0, 40);
        MemoryProfile profile;
        if (!number.empty()) profile.Set(section, "ItemNumber", number);
        if (!version.empty()) profile.Set(section, "Version", version);
        if (!data.empty()) {
            const bool bad = data.rfind("bad ", 0) == 0;
            std::string items = Expand(data.substr(bad ? 4 : 0));
            std::replace(items.begin(), items.end(), ',', ' ');
            std::vector<int64_t> values;
            std::istringstream in(items);
            for (int64_t v; in >> v;)
                values.push_back(v);
            std::string blob = section == "Shortcut" ? Blob(std::vector<uint16_t>(values.begin(), values.end()))
                                                     : Blob(std::vector<uint32_t>(values.begin(), values.end()));
            profile.Set(section, "ItemData", bad ? Corrupt(blob) : blob);
        }
        ShortcutList shortcuts;
        ToolbarList bar;
        PaneList panes;
        LoadShortcutSection(profile, shortcuts);
        LoadToolbarSection(profile, bar);
        LoadStatusBarSection(profile, panes);
        const std::string got = section == "Shortcut"  ? Joined(shortcuts)
                                : section == "Toolbar" ? Joined(bar)
                                                       : Joined(panes);
        EXPECT_EQ(got, Expand(expected)) << line;
        EXPECT_EQ(profile.writes > 0 ? "yes" : "no", written) << line;
        if (profile.writes == 0) continue;
        std::vector<uint16_t> stored;
        shortcuts.ForEach([&](const ShortcutEntry &e) { stored.insert(stored.end(), {e.key, e.flags, e.command}); });
        EXPECT_EQ(*profile.Find("Shortcut", "ItemNumber"), std::to_string(shortcuts.Count()));
        EXPECT_EQ(*profile.Find("Shortcut", "Version"), "20261207");
        EXPECT_EQ(*profile.Find("Shortcut", "ItemData"), Blob(stored));
        // The next start reads the rewritten section and changes nothing.
        const int writes = profile.writes;
        LoadShortcutSection(profile, shortcuts);
        EXPECT_EQ(Joined(shortcuts), Expand(expected));
        EXPECT_EQ(profile.writes, writes);
    }
}

// Appending, a full pool and Clear are reached through the section rows above.
TEST(PoolList, PositionsOutsideTheListGiveNothing)
{
    PoolList<int, 3> list;
    list.Append(1);
    EXPECT_TRUE(!list.Get(1) && !list.Get(-1) && !list.InsertAfter(5, 2) && list.Count() == 1);
}
