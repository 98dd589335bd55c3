// The first steps of start-up: common controls, the instance handle, the codecs and the
// program's identity resources.
#include "app/appinit.h"

#include <commctrl.h>

#include <cstring>

#include "app/connect.h"
#include "image/codec.h"
#include "image/gif.h"
#include "state/appstate.h"

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
    ReadAppInfo(instance, "FILENAME", App().hostFileName, sizeof App().hostFileName);
    ReadAppInfo(instance, "NAME", App().hostName, sizeof App().hostName);
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
    App().instance = instance;
    static CodecRegistry codecs;
    App().codecs = &codecs;
    RegisterBuiltinCodecs(&codecs);
    ReadHostIdentity(instance);
    ConnectSubsystems();
}
