// The host module: its configured path and the loaded module. The module is loaded as a
// data file, for its string tables only: none of its code runs.
#pragma once
#include <windows.h>

#include <cstddef>

#include "catalogue/modulefile.h"
#include "state/hoststate.h"

// Reads "Module" "Filename" from the settings file, expands it and loads that module;
// the handle stays null when that fails or the module has no string tables, and the
// problem says which case it is. Always succeeds.
bool LoadHostModule();
// Frees the loaded module; false when none was loaded.
bool UnloadHostModule();
// Writes the module path, unexpanded, as "Module" "Filename".
bool SaveModulePath();
HMODULE HostModuleHandle();
ModuleProblem HostModuleProblem();
// Loads the module at path as a data file, as LoadHostModule does; null on failure. The caller
// frees it with FreeLibrary.
HMODULE LoadModuleAsData(const char *path);

// Copies the configured path (unexpanded) into out, cut to capacity and terminated.
void GetModulePath(char *out, size_t capacity);
void SetModulePath(const char *path);

// ExpandPathVariables (catalogue/pathexpand.h) with the process environment.
size_t ExpandPathVariables(const char *source, char *destination, size_t capacity);
