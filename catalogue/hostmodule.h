// The host module: its configured path and the loaded module.
#pragma once
#include <windows.h>

struct HostModuleState {
    char path[MAX_PATH]; // as configured, unexpanded
    HMODULE handle;
};

// Reads "Module" "Filename" from the settings file and loads that module; always succeeds.
bool LoadHostModule();
// Frees the loaded module; false when none was loaded.
bool UnloadHostModule();
HMODULE HostModuleHandle();
