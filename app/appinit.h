// Start-up's first steps, before the settings are read.
#pragma once
#include <windows.h>

#include <cstddef>

// The first steps of start-up: common controls, instance handle, codecs, host identity.
void AppInitialise(HINSTANCE instance);
// Reads the host identity from the program's own "APPINFO" resources.
void ReadHostIdentity(HINSTANCE instance);
// Derives the settings file path next to the executable; false when it cannot.
bool DeriveSettingsPath(HINSTANCE instance, char *out, size_t capacity);
