// The host module: its configured path and the loaded module.
#include "catalogue/hostmodule.h"

#include <cstdint>
#include <cstring>

#include "state/appstate.h"
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

static BOOL CALLBACK NoteStringTable(HMODULE, LPCSTR, LPSTR, LONG_PTR param)
{
    *reinterpret_cast<bool *>(param) = true;
    return FALSE;
}

static bool HasStringTables(HMODULE module)
{
    bool found = false;
    EnumResourceNamesA(module, RT_STRING, NoteStringTable, reinterpret_cast<LONG_PTR>(&found));
    return found;
}

// What the file at path is, for telling why the loader refused it or found nothing in it.
static void ReadFileFacts(const char *path, ModuleFacts *facts)
{
    // A file that cannot be read leaves only the loader's refusal to go by.
    facts->head = kFileModule;
    DWORD attributes = GetFileAttributesA(path);
    facts->exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!facts->exists) return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        facts->head = kFileNotModule;
        return;
    }
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    unsigned char head[kModuleHeadSize];
    LARGE_INTEGER size;
    DWORD got = 0;
    if (GetFileSizeEx(file, &size) && ReadFile(file, head, sizeof head, &got, nullptr)) {
        facts->head = ClassifyModuleHead(head, got, uint64_t(size.QuadPart));
    }
    CloseHandle(file);
}

bool LoadHostModule()
{
    HostModuleState &host = App().host;
    GetPrivateProfileStringA(kModuleSection, kModuleKey, "", host.path, sizeof host.path, AppSettingsPath());
    host.path[sizeof host.path - 1] = '\0';
    host.handle = nullptr;
    char expanded[MAX_PATH];
    ModuleFacts facts = {};
    facts.configured = ExpandPathVariables(host.path, expanded, sizeof expanded) != 0;
    if (facts.configured) {
        host.handle = LoadModuleAsData(expanded);
        facts.loaded = host.handle != nullptr;
        facts.hasStringTables = facts.loaded && HasStringTables(host.handle);
    }
    if (facts.configured && !facts.hasStringTables) ReadFileFacts(expanded, &facts);
    host.problem = DiagnoseModule(facts);
    // A module without strings gives nothing to translate: New and Open stay off, as for none.
    if (host.handle && host.problem != kModuleUsable) {
        FreeLibrary(host.handle);
        host.handle = nullptr;
    }
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

ModuleProblem HostModuleProblem()
{
    return App().host.handle ? kModuleUsable : App().host.problem;
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
