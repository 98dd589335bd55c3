// The settings file next to the executable: loading every setting, and the frame placement.
#pragma once
#include <windows.h>

#include "frame/settingsdata.h"

// Reads every setting from the file at path; the host module path comes first and the host
// module is loaded at once.
bool LoadAllSettings(const char *path);

// Reads "Option" "Position" and applies it to the window hidden, moved onto the nearest
// monitor when it lies on none; false when there is none.
bool ReadPlacement(HWND frame, WINDOWPLACEMENT *placement);
// Writes the window's placement as "Option" "Position"; nothing when it cannot be obtained.
bool WritePlacement(HWND frame, WINDOWPLACEMENT *placement);

// Profile access over the platform's private-profile functions.
class FileProfile final : public ProfileSource
{
public:
    explicit FileProfile(const char *path) : path_(path) {}
    int GetInt(const char *section, const char *key, int defaultValue) override;
    void GetString(const char *section, const char *key, const char *defaultValue, char *out, size_t capacity) override;
    bool GetStruct(const char *section, const char *key, void *out, size_t size) override;
    bool WriteString(const char *section, const char *key, const char *value) override;
    bool WriteStruct(const char *section, const char *key, const void *data, size_t size) override;

private:
    const char *path_;
};
