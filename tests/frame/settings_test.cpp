// Loading the settings record from a profile: defaults, the three lists, the shortcut upgrade.
#include <algorithm>
#include <iterator>
#include <memory>
#include <sstream>
#include <type_traits>

#include "tests/support/datarows.h"
#include "tests/support/memprofile.h"

namespace
{

template <typename T> std::string Blob(const std::vector<T> &fields)
{
    return EncodeProfileBlob(fields.data(), fields.size() * sizeof(T)); // little-endian, as stored
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

// The lists of an empty profile, loaded alike, are rows of sections.tsv.
TEST(Settings, DefaultsAndFlagsTakingAnyNonZeroValueAsOn)
{
    using R = SettingsRecord;
    int32_t R::*const kFlags[] = {&R::askToOverwrite,  &R::backup,      &R::toolbarShown, &R::statusBarShown,
                                  &R::flatStyle,       &R::textLabels,  &R::loadPosition, &R::savePosition,
                                  &R::onlyOneInstance, &R::alwaysOnTop, &R::centerWindow, &R::askToFillRepeated};
    std::istringstream keys("Option AskToOverwrite Option Backup Option Toolbar Option StatusBar Toolbar FlatStyle "
                            "Toolbar Text Option LoadPosition Option SavePosition Option OnlyOneInstance Option "
                            "AlwaysOnTop Option CenterWindow Option AskToFillRepeated");
    auto s = std::make_unique<SettingsRecord>();
    auto state = [&] {
        std::string out = s->bitmapFileName;
        for (auto field : kFlags)
            out += std::to_string((*s).*field);
        return out;
    };
    MemoryProfile empty, set;
    LoadSettingsFrom(empty, *s);
    EXPECT_EQ(state(), "111110100011");
    for (std::string section, key; keys >> section >> key;)
        set.Set(section, key, state()[set.values.size()] == '1' ? "0" : "-3");
    set.Set("Toolbar", "BitmapFilename", "strip.gif");
    LoadSettingsFrom(set, *s);
    EXPECT_EQ(state(), "strip.gif000001011100");
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

// The rows of sections.tsv: a section as stored, the list the settings load reads from it, and whether
// it wrote it back (shortcut sections older than the defaults are merged and rewritten once).
TEST(ListSections, StoredRowsMergedOrTheirFallbacks)
{
    for (const auto &row : ReadDataRows(PARLEVO_FRAME_DATA_DIR "/sections.tsv", 20)) {
        const std::string &section = row.at(0), &number = row.at(1), &data = row.at(2), &version = row.at(3),
                          &expected = row.at(4), &written = row.at(5);
        MemoryProfile profile;
        if (!number.empty()) profile.Set(section, "ItemNumber", number);
        if (!version.empty()) profile.Set(section, "Version", version);
        if (!data.empty()) {
            const bool bad = data.rfind("bad ", 0) == 0;
            std::string items = Expand(data.substr(bad ? 4 : 0));
            std::replace(items.begin(), items.end(), ',', ' ');
            std::istringstream in(items);
            const std::vector<int64_t> values{std::istream_iterator<int64_t>(in), std::istream_iterator<int64_t>()};
            std::string blob = section == "Shortcut" ? Blob(std::vector<uint16_t>(values.begin(), values.end()))
                                                     : Blob(std::vector<uint32_t>(values.begin(), values.end()));
            if (bad) blob[1] = blob[1] == '0' ? '1' : '0';
            profile.Set(section, "ItemData", blob);
        }
        auto s = std::make_unique<SettingsRecord>();
        LoadSettingsFrom(profile, *s);
        const std::string got = section == "Shortcut"  ? Joined(s->shortcuts)
                                : section == "Toolbar" ? Joined(s->toolbarItems)
                                                       : Joined(s->panes);
        EXPECT_EQ(got + " written=" + (profile.writes ? "yes" : "no"), Expand(expected) + " written=" + written)
            << section << " " << number << " " << data.substr(0, 40);
        if (profile.writes == 0) continue;
        // The next start reads the rewritten section (its count, version and items) and changes nothing.
        const int writes = profile.writes;
        LoadShortcutSection(profile, s->shortcuts);
        EXPECT_EQ(Joined(s->shortcuts) + " +" + std::to_string(profile.writes - writes), Expand(expected) + " +0");
    }
}

// Appending, a full pool and Clear are reached through the section rows above.
TEST(PoolList, PositionsOutsideTheListGiveNothing)
{
    PoolList<int, 3> list;
    list.Append(1);
    EXPECT_TRUE(!list.Get(1) && !list.Get(-1) && !list.InsertAfter(5, 2) && list.Count() == 1);
}
