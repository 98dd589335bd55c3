// The settings file next to the executable, read through the platform's profile functions.
#include "frame/settings.h"

#include <climits>

#include "state/appstate.h"

int FileProfile::GetInt(const char *section, const char *key, int defaultValue)
{
    return int(GetPrivateProfileIntA(section, key, defaultValue, path_));
}

void FileProfile::GetString(const char *section, const char *key, const char *defaultValue, char *out, size_t capacity)
{
    if (capacity == 0) return;
    GetPrivateProfileStringA(section, key, defaultValue, out, DWORD(capacity), path_);
    out[capacity - 1] = '\0';
}

bool FileProfile::GetStruct(const char *section, const char *key, void *out, size_t size)
{
    return size <= UINT_MAX && GetPrivateProfileStructA(section, key, out, UINT(size), path_);
}

bool FileProfile::WriteString(const char *section, const char *key, const char *value)
{
    return WritePrivateProfileStringA(section, key, value, path_);
}

bool FileProfile::WriteStruct(const char *section, const char *key, const void *data, size_t size)
{
    return size <= UINT_MAX && WritePrivateProfileStructA(section, key, const_cast<void *>(data), UINT(size), path_);
}

bool LoadAllSettings(const char *path)
{
    FileProfile profile(path);
    LoadSettingsFrom(profile, App().settings);
    return true;
}

static LONG Clamp(LONG value, LONG low, LONG high)
{
    return value < low ? low : (value > high ? high : value);
}

// A placement stored on a monitor that is no longer there: Windows brings such a window onto
// the nearest monitor, Wine leaves it out of reach. Moved here, as large as it fits.
static void BringOntoMonitor(RECT *rc)
{
    if (MonitorFromRect(rc, MONITOR_DEFAULTTONULL)) return;
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(MonitorFromRect(rc, MONITOR_DEFAULTTONEAREST), &mi)) return;
    const RECT &work = mi.rcWork;
    LONG width = Clamp(rc->right - rc->left, 0, work.right - work.left);
    LONG height = Clamp(rc->bottom - rc->top, 0, work.bottom - work.top);
    rc->left = Clamp(rc->left, work.left, work.right - width);
    rc->top = Clamp(rc->top, work.top, work.bottom - height);
    rc->right = rc->left + width;
    rc->bottom = rc->top + height;
}

bool ReadPlacement(HWND frame, WINDOWPLACEMENT *placement)
{
    FileProfile profile(App().settingsPath);
    WINDOWPLACEMENT stored;
    if (!profile.GetStruct(AppOptionSection(), "Position", &stored, sizeof stored)) return false;
    *placement = stored;
    placement->length = sizeof *placement;
    // Restore the rectangle without showing the window; start-up shows it later.
    placement->showCmd = SW_HIDE;
    BringOntoMonitor(&placement->rcNormalPosition);
    SetWindowPlacement(frame, placement);
    return true;
}

bool WritePlacement(HWND frame, WINDOWPLACEMENT *placement)
{
    placement->length = sizeof *placement;
    if (!GetWindowPlacement(frame, placement)) return false;
    FileProfile profile(App().settingsPath);
    return profile.WriteStruct(AppOptionSection(), "Position", placement, sizeof *placement);
}
