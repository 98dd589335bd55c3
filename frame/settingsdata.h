// The settings record and how it is read from a profile: window-free, so the whole load
// can be tested against an in-memory profile.
#pragma once
#include <cstddef>
#include <cstdint>

#include "state/settingsrecord.h"

// Access to one profile file. Implemented over the platform's private-profile functions,
// and in memory for tests.
class ProfileSource
{
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
