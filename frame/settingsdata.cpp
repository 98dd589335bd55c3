// Reading the settings record from a profile, in the fixed order and with the defaults.
#include "frame/settingsdata.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "res/resource.h"

static const char kOption[] = "Option";
static const char kShortcut[] = "Shortcut";
static const char kToolbar[] = "Toolbar";
static const char kStatusBar[] = "StatusBar";

const ShortcutEntry kDefaultShortcuts[kDefaultShortcutCount] = {
    {'F', kAccVirtKey | kAccNoInvert | kAccControl, CMD_EDIT_FIND},
    {'N', kAccVirtKey | kAccNoInvert | kAccControl, CMD_FILE_NEW},
    {'O', kAccVirtKey | kAccNoInvert | kAccControl, CMD_FILE_OPEN},
    {'S', kAccVirtKey | kAccNoInvert | kAccControl, CMD_FILE_SAVE},
    {'U', kAccVirtKey | kAccNoInvert | kAccControl, CMD_TEXT_TRANSLATE_NEXT},
    {'X', kAccVirtKey | kAccNoInvert | kAccAlt, CMD_FILE_EXIT},
    {0x0D, kAccVirtKey | kAccNoInvert, CMD_TEXT_TRANSLATE},
    {0x0D, kAccVirtKey | kAccNoInvert | kAccAlt, CMD_OPTIONS_PREFERENCES},
    {0x72, kAccVirtKey | kAccNoInvert, CMD_EDIT_FIND_NEXT},
    // Problems: F8 and Shift+F8
    {0x77, kAccVirtKey | kAccNoInvert, CMD_EDIT_NEXT_PROBLEM},
    {0x77, kAccVirtKey | kAccNoInvert | kAccShift, CMD_EDIT_PREVIOUS_PROBLEM},
    // Undo and redo
    {'Z', kAccVirtKey | kAccNoInvert | kAccControl, CMD_EDIT_UNDO},
    {'Y', kAccVirtKey | kAccNoInvert | kAccControl, CMD_EDIT_REDO},
    // Moving through the work
    {'U', kAccVirtKey | kAccNoInvert | kAccControl | kAccShift, CMD_TEXT_TRANSLATE_PREVIOUS},
    {0x25, kAccVirtKey | kAccNoInvert | kAccAlt, CMD_EDIT_BACK},
    {0x27, kAccVirtKey | kAccNoInvert | kAccAlt, CMD_EDIT_FORWARD},
};

const int32_t kDefaultToolbar[12] = {
    kToolbarSeparator,       CMD_FILE_NEW,       CMD_FILE_OPEN,     CMD_FILE_SAVE,
    kToolbarSeparator,       CMD_EDIT_FIND,      kToolbarSeparator, CMD_TEXT_TRANSLATE,
    CMD_TEXT_TRANSLATE_NEXT, CMD_TEXT_SIGNATURE, kToolbarSeparator, CMD_OPTIONS_PREFERENCES,
};

static uint16_t ReadU16(const unsigned char *p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

static uint32_t ReadU32(const unsigned char *p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Reads count rows of rowSize bytes from a binary value; null when it cannot be read.
static std::unique_ptr<unsigned char[]> ReadRows(ProfileSource &profile, const char *section, int count, size_t rowSize)
{
    // No profile line holds more rows than this; a larger count cannot be read.
    const int kMaxRows = 65536;
    if (count <= 0 || count > kMaxRows) return nullptr;
    size_t size = size_t(count) * rowSize;
    std::unique_ptr<unsigned char[]> rows(new (std::nothrow) unsigned char[size]);
    if (!rows || !profile.GetStruct(section, "ItemData", rows.get(), size)) return nullptr;
    return rows;
}

static void SetDefaultShortcuts(ShortcutList &list)
{
    list.Clear();
    for (const ShortcutEntry &entry : kDefaultShortcuts)
        list.Append(entry);
}

void EncodeShortcutRows(const ShortcutList &list, unsigned char *out)
{
    list.ForEach([&out](const ShortcutEntry &e) {
        const uint16_t fields[3] = {e.key, e.flags, e.command};
        for (uint16_t v : fields) {
            *out++ = (unsigned char)(v & 0xFF);
            *out++ = (unsigned char)(v >> 8);
        }
    });
}

void MergeDefaultShortcuts(ShortcutList &list)
{
    bool bound[kDefaultShortcutCount] = {};
    for (int i = 0; i < kDefaultShortcutCount; ++i) {
        list.ForEach([&](const ShortcutEntry &e) {
            if (e.command == kDefaultShortcuts[i].command) bound[i] = true;
        });
    }
    for (int i = 0; i < kDefaultShortcutCount; ++i) {
        if (bound[i]) continue;
        const ShortcutEntry &def = kDefaultShortcuts[i];
        bool keyTaken = false;
        list.ForEach([&](const ShortcutEntry &e) {
            if (e.key == def.key && (e.flags & 0xFF) == (def.flags & 0xFF)) keyTaken = true;
        });
        if (!keyTaken) list.Append(def);
    }
}

static void WriteShortcutSection(ProfileSource &profile, const ShortcutList &list)
{
    char number[16];
    snprintf(number, sizeof number, "%d", list.Count());
    profile.WriteString(kShortcut, "ItemNumber", number);
    if (list.Count() > 0) {
        std::unique_ptr<unsigned char[]> rows(new (std::nothrow) unsigned char[size_t(list.Count()) * 6]);
        if (rows) {
            EncodeShortcutRows(list, rows.get());
            profile.WriteStruct(kShortcut, "ItemData", rows.get(), size_t(list.Count()) * 6);
        }
    }
    snprintf(number, sizeof number, "%u", kShortcutVersion);
    profile.WriteString(kShortcut, "Version", number);
}

// The shortcut and toolbar sections store their lists alike: "ItemNumber" rows of rowSize bytes
// in the blob "ItemData". Empties list and hands it each row; returns the count, or -1 with the
// list untouched when the count is missing or the blob cannot be read (the caller's defaults).
template <typename List, typename Take>
static int ReadListSection(ProfileSource &profile, const char *section, size_t rowSize, List &list, Take take)
{
    int count = profile.GetInt(section, "ItemNumber", -1);
    if (count < 0) return -1;
    std::unique_ptr<unsigned char[]> rows;
    if (count > 0 && !(rows = ReadRows(profile, section, count, rowSize))) return -1;
    list.Clear();
    for (int i = 0; i < count; ++i)
        take(rows.get() + size_t(i) * rowSize);
    return count;
}

void LoadShortcutSection(ProfileSource &profile, ShortcutList &list)
{
    int count = ReadListSection(profile, kShortcut, 6, list, [&](const unsigned char *row) {
        list.Append(ShortcutEntry{ReadU16(row), ReadU16(row + 2), ReadU16(row + 4)});
    });
    if (count < 0) {
        SetDefaultShortcuts(list);
        return;
    }
    if (count == 0) return;
    // A negative stored version reads as a very large unsigned one: no merge.
    uint32_t version = uint32_t(profile.GetInt(kShortcut, "Version", 0));
    if (version < kShortcutVersion) {
        MergeDefaultShortcuts(list);
        WriteShortcutSection(profile, list);
    }
}

static void SetDefaultToolbar(ToolbarList &list)
{
    list.Clear();
    for (int32_t id : kDefaultToolbar)
        list.Append(id);
}

void LoadToolbarSection(ProfileSource &profile, ToolbarList &list)
{
    int count = ReadListSection(profile, kToolbar, 4, list,
                                [&](const unsigned char *row) { list.Append(int32_t(ReadU32(row))); });
    if (count < 0) SetDefaultToolbar(list);
}

bool IsKnownPaneType(uint32_t type)
{
    return type <= kPaneProgress || type == kPaneFiller || type == kPaneMessage;
}

void LoadStatusBarSection(ProfileSource &profile, PaneList &list)
{
    int count = profile.GetInt(kStatusBar, "ItemNumber", -1);
    list.Clear();
    if (count < 0) {
        list.Append(kPaneFilename);
        list.Append(kPaneProblems);
        list.Append(kPaneProgress);
    } else if (std::unique_ptr<unsigned char[]> rows = ReadRows(profile, kStatusBar, count, 4)) {
        for (int i = 0; i < count; ++i) {
            uint32_t type = ReadU32(rows.get() + size_t(i) * 4);
            // Types the status bar cannot show are dropped here, so they never reach layout or drawing.
            if (IsKnownPaneType(type)) list.Append(type);
        }
    }
    // Unlike the other lists, a bad blob leaves the filler alone rather than the default.
    list.Append(kPaneFiller);
}

static int32_t Flag(ProfileSource &profile, const char *section, const char *key, int defaultValue)
{
    return profile.GetInt(section, key, defaultValue) != 0;
}

void LoadSettingsFrom(ProfileSource &profile, SettingsRecord &s)
{
    s.askToOverwrite = Flag(profile, kOption, "AskToOverwrite", 1);
    s.backup = Flag(profile, kOption, "Backup", 1);
    s.toolbarShown = Flag(profile, kOption, "Toolbar", 1);
    s.statusBarShown = Flag(profile, kOption, "StatusBar", 1);
    LoadShortcutSection(profile, s.shortcuts);
    LoadToolbarSection(profile, s.toolbarItems);
    s.flatStyle = Flag(profile, kToolbar, "FlatStyle", 1);
    s.textLabels = Flag(profile, kToolbar, "Text", 0);
    profile.GetString(kToolbar, "BitmapFilename", "", s.bitmapFileName, sizeof s.bitmapFileName);
    LoadStatusBarSection(profile, s.panes);
    s.loadPosition = Flag(profile, kOption, "LoadPosition", 1);
    s.savePosition = Flag(profile, kOption, "SavePosition", 0);
    s.onlyOneInstance = Flag(profile, kOption, "OnlyOneInstance", 0);
    s.alwaysOnTop = Flag(profile, kOption, "AlwaysOnTop", 0);
    s.centerWindow = Flag(profile, kOption, "CenterWindow", 1);
    s.askToFillRepeated = Flag(profile, kOption, "AskToFillRepeated", 1);
}
