// The host module: its configured path and the loaded module.
#include "catalogue/hostmodule.h"

#include "app/appstate.h"

bool LoadHostModule()
{
    HostModuleState &host = App().host;
    GetPrivateProfileStringA("Module", "Filename", "", host.path, sizeof host.path, AppSettingsPath());
    host.handle = nullptr;
    if (host.path[0] == '\0') return true;
    // Resources only: none of the module's code runs.
    host.handle = LoadLibraryExA(host.path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
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

HMODULE HostModuleHandle()
{
    return App().host.handle;
}
