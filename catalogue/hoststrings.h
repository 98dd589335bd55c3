// Reading the host module's string tables into the translation list, and the notice shown
// when there is no module to read.
#pragma once
#include <windows.h>

// Appends a category row before each category start and one string row per host string,
// block by block, and focuses row 0. Does not empty the list first. Fails when the view has
// no list, and when no module is loaded (after the missing-module notice).
BOOL FillHostStrings(HWND view);
// Appends the rows of one string block; returns the number of string rows appended.
int ReadStringBlock(HMODULE module, HWND view, UINT blockNumber);
// Tells the user why there is no module (not configured, not found, not a module, no string
// tables, damaged) and opens the preferences at the Module page alone. False when the view
// has no state.
bool ShowMissingModuleNotice(HWND view);
// The same message box alone, owned by owner; false (and nothing shown) while a module is
// loaded.
bool ShowModuleProblem(HWND owner);

// Converts length UTF-16 units to the ANSI code page into out (252 bytes): a text that does
// not fit is cut after its last whole character that does. Returns the bytes written.
int ConvertSourceText(const WCHAR *text, int length, char *out);
// The same into a given code page.
int ConvertSourceTextTo(UINT codePage, const WCHAR *text, int length, char *out);
