// The application-wide state block, its accessors and the program's identity.
#include "app/appstate.h"

#include <commctrl.h>

#include <cstring>

#include "image/gif.h"

static AppState g_app;

AppState &App()
{
    return g_app;
}

HINSTANCE AppInstance() { return g_app.instance; }
const char *AppProgramName() { return "Parlevo"; }
const char *AppFrameClass() { return "ParlevoA"; }
const char *AppSettingsBaseName() { return "Parlvo"; }
const char *AppVersion() { return "1.0.4"; }
const char *AppBuildDate() { return "Jul 13 2009"; }
const char *AppClosingLine() { return "Made for the translators who give Lumivex its many voices."; }
const char *AppHostFileName() { return g_app.hostFileName; }
const char *AppHostName() { return g_app.hostName; }
const char *AppSettingsPath() { return g_app.settingsPath; }
const char *AppOptionSection() { return "Option"; }
CodecRegistry *AppCodecRegistry() { return &g_app.codecs; }

static void ReadAppInfo(HINSTANCE instance, const char *name, char *field, size_t capacity)
{
    field[0] = '\0';
    HRSRC info = FindResourceA(instance, name, "APPINFO");
    if (!info) return;
    DWORD size = SizeofResource(instance, info);
    HGLOBAL block = LoadResource(instance, info);
    const void *data = block ? LockResource(block) : nullptr;
    if (!data || size == 0) return;
    size_t n = size < capacity ? size : capacity;
    memcpy(field, data, n);
    // The resources carry their own terminator; keep the field terminated whatever they hold.
    field[capacity - 1] = '\0';
}

void ReadHostIdentity(HINSTANCE instance)
{
    ReadAppInfo(instance, "FILENAME", g_app.hostFileName, sizeof g_app.hostFileName);
    ReadAppInfo(instance, "NAME", g_app.hostName, sizeof g_app.hostName);
}

bool DeriveSettingsPath(HINSTANCE instance, char *out, size_t capacity)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(instance, path, sizeof path);
    if (n == 0 || n >= sizeof path) n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return false;
    char *slash = strrchr(path, '\\');
    if (!slash) return false;
    size_t dirLength = size_t(slash - path) + 1;
    const char *base = AppSettingsBaseName();
    if (dirLength + strlen(base) + 4 >= capacity) return false;
    memcpy(out, path, dirLength);
    strcpy(out + dirLength, base);
    strcat(out, ".ini");
    return true;
}

void AppInitialise(HINSTANCE instance)
{
    InitCommonControls();
    g_app.instance = instance;
    RegisterBuiltinCodecs(&g_app.codecs);
    ReadHostIdentity(instance);
}
