// The host module as the program holds it: its configured path, the loaded module and why
// it is missing.
#pragma once
#include <windows.h>

#include "state/moduleproblem.h"

struct HostModuleState {
    char path[MAX_PATH]; // as configured, unexpanded
    HMODULE handle;
    ModuleProblem problem; // why the handle is null
};
