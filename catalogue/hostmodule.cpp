// The host module: its configured path and the loaded module.
#include "catalogue/hostmodule.h"

#include <cstring>

#include "app/appstate.h"
#include "catalogue/pathexpand.h"

static const char kModuleSection[] = "Module";
static const char kModuleKey[] = "Filename";
// Not in the XP-era headers; systems before Vista refuse it, and then the data-file flag
// alone is used.
constexpr DWORD kLoadAsImageResource = 0x20;

static bool LookupEnvironment(const char *name, char *out, size_t capacity, void *)
{
    out[0] = '\0';
    DWORD room = capacity > 0xFFFFFFFFu ? 0xFFFFFFFFu : DWORD(capacity);
    DWORD length = GetEnvironmentVariableA(name, out, room);
    if (length == 0) return false;
    if (length < room) return true;
    // Too long: the platform wrote nothing and told the size it needs; take the value whole
    // and cut it here.
    char *whole = static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, length));
    if (!whole) return false;
    DWORD got = GetEnvironmentVariableA(name, whole, length);
    bool defined = got > 0 && got < length;
    if (defined) {
        memcpy(out, whole, room - 1);
        out[room - 1] = '\0';
    }
    HeapFree(GetProcessHeap(), 0, whole);
    return defined;
}

size_t ExpandPathVariables(const char *source, char *destination, size_t capacity)
{
    return ExpandPathVariables(source, destination, capacity, LookupEnvironment, nullptr);
}

// Resources only: the module's entry point never runs, whatever the module is, and a
// 32-bit program can read a 64-bit module this way.
HMODULE LoadModuleAsData(const char *path)
{
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | kLoadAsImageResource);
    if (!module) module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

bool LoadHostModule()
{
    HostModuleState &host = App().host;
    GetPrivateProfileStringA(kModuleSection, kModuleKey, "", host.path, sizeof host.path, AppSettingsPath());
    host.path[sizeof host.path - 1] = '\0';
    host.handle = nullptr;
    char expanded[MAX_PATH];
    if (ExpandPathVariables(host.path, expanded, sizeof expanded) == 0) return true;
    host.handle = LoadModuleAsData(expanded);
    return true;
}

bool UnloadHostModule()
{
    HostModuleState &host = App().host;
    if (!host.handle) return false;
    BOOL freed = FreeLibrary(host.handle);
    host.handle = nullptr;
    return freed != FALSE;
}

bool SaveModulePath()
{
    return WritePrivateProfileStringA(kModuleSection, kModuleKey, App().host.path, AppSettingsPath()) != FALSE;
}

HMODULE HostModuleHandle()
{
    return App().host.handle;
}

void GetModulePath(char *out, size_t capacity)
{
    if (!out || capacity == 0) return;
    lstrcpynA(out, App().host.path, int(capacity < sizeof App().host.path ? capacity : sizeof App().host.path));
}

void SetModulePath(const char *path)
{
    lstrcpynA(App().host.path, path ? path : "", sizeof App().host.path);
}
