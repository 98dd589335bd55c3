// The settings record and how it is read from a profile: window-free, so the whole load
// can be tested against an in-memory profile.
#pragma once
#include <cstddef>
#include <cstdint>

#include "frame/poollist.h"

constexpr uint32_t kShortcutVersion = 20261207;
constexpr int kShortcutCapacity = 1024;
constexpr int kPaneCapacity = 64;
constexpr int kToolbarCapacity = 256;
constexpr int32_t kToolbarSeparator = -1;

// Pane types of the status bar; flagged types have bit 15 set.
constexpr uint32_t kPaneFilename = 0;
constexpr uint32_t kPaneFolder = 1;
constexpr uint32_t kPaneFileTime = 2;
constexpr uint32_t kPaneFileSize = 3;
constexpr uint32_t kPaneProblems = 4; // "2 errors, 5 warnings"
// "1,234 of 2,136 translated (58%)"
constexpr uint32_t kPaneProgress = 5;
constexpr uint32_t kPaneFlagged = 0x8000;
constexpr uint32_t kPaneFiller = 0x8000;
constexpr uint32_t kPaneMessage = 0x8001;

// Accelerator flags as the platform defines them (FVIRTKEY, FNOINVERT, FSHIFT, FCONTROL, FALT).
constexpr uint16_t kAccVirtKey = 0x01;
constexpr uint16_t kAccNoInvert = 0x02;
constexpr uint16_t kAccShift = 0x04;
constexpr uint16_t kAccControl = 0x08;
constexpr uint16_t kAccAlt = 0x10;

struct ShortcutEntry {
    uint16_t key;
    uint16_t flags;
    uint16_t command;
};

using ShortcutList = PoolList<ShortcutEntry, kShortcutCapacity>;
using PaneList = PoolList<uint32_t, kPaneCapacity>;
using ToolbarList = PoolList<int32_t, kToolbarCapacity>;

struct SettingsRecord {
    int32_t askToOverwrite;
    int32_t backup; // keep the replaced file as NAME.bak on a save
    ShortcutList shortcuts;
    PaneList panes;
    ToolbarList toolbarItems;
    int32_t flatStyle;
    int32_t textLabels;
    char bitmapFileName[260];
    int32_t toolbarShown;
    int32_t statusBarShown;
    int32_t loadPosition;
    int32_t savePosition;
    int32_t onlyOneInstance;
    int32_t alwaysOnTop;
    int32_t centerWindow;
    // After the Translate dialog's OK: offer to fill the rows with the same source text
    int32_t askToFillRepeated;
};

// Access to one profile file. Implemented over the platform's private-profile functions,
// and in memory for tests.
class ProfileSource {
public:
    virtual ~ProfileSource() = default;
    virtual int GetInt(const char *section, const char *key, int defaultValue) = 0;
    // Copies at most capacity - 1 characters, always terminated.
    virtual void GetString(const char *section, const char *key, const char *defaultValue, char *out,
                           size_t capacity) = 0;
    // Reads a binary value of exactly size bytes; false when missing, of another size or
    // with a wrong checksum.
    virtual bool GetStruct(const char *section, const char *key, void *out, size_t size) = 0;
    virtual bool WriteString(const char *section, const char *key, const char *value) = 0;
    virtual bool WriteStruct(const char *section, const char *key, const void *data, size_t size) = 0;
};

constexpr int kDefaultShortcutCount = 16;
extern const ShortcutEntry kDefaultShortcuts[kDefaultShortcutCount];
extern const int32_t kDefaultToolbar[12];

// Reads every setting but the host module path, in the fixed order, with their defaults;
// writes the "Shortcut" section back when its stored version is older than the current one.
void LoadSettingsFrom(ProfileSource &profile, SettingsRecord &settings);

// The steps of the load, for tests.
void LoadShortcutSection(ProfileSource &profile, ShortcutList &list);
void LoadToolbarSection(ProfileSource &profile, ToolbarList &list);
void LoadStatusBarSection(ProfileSource &profile, PaneList &list);
void MergeDefaultShortcuts(ShortcutList &list);

// Whether the status bar knows how to show a pane type.
bool IsKnownPaneType(uint32_t type);

// Shortcut rows as stored: 6 bytes each, little-endian.
void EncodeShortcutRows(const ShortcutList &list, unsigned char *out);
