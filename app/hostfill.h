// The host module's strings as the list's rows.
#pragma once
#include <windows.h>

// Appends a category row before each category start and one string row per host string,
// block by block, and focuses row 0. Does not empty the list first. Fails when the view has
// no list, and when no module is loaded (after the missing-module notice).
bool FillHostStrings(HWND view);
// Tells the user why there is no module and opens the preferences at the Module page alone.
// False when the view has no state.
bool ShowMissingModuleNotice(HWND view);
