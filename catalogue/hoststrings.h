// Reading the host module's string tables row by row, and the message that tells why there is
// no module to read. The reader hands each row to its caller and knows nothing of the list.
#pragma once
#include <windows.h>

// One row of the string tables: a category row (id 0, empty ID text, the category's title)
// comes before the first string of each category; a string row carries the ID as text and
// the string converted to the ANSI code page.
struct HostRow {
    UINT id;
    const char *idText;
    const char *text;
};

// Takes one row; false stops the reading.
using HostRowSink = bool (*)(void *context, const HostRow &row);

// Hands over the rows of one string block in ID order; returns the number of string rows the
// sink took (0 for a missing or empty block, or when the sink stops at once).
int ReadStringBlock(HMODULE module, UINT blockNumber, HostRowSink sink, void *context);
// Hands over the rows of every string table of the module, block by block. The first block
// that gives no string row ends the reading, as does a sink that returns false. False when
// no module is given.
bool ReadHostStrings(HMODULE module, HostRowSink sink, void *context);
// Tells the user why there is no module (not configured, not found, not a module, no string
// tables, damaged), owned by owner; false (and nothing shown) while a module is loaded.
bool ShowModuleProblem(HWND owner);

// Converts length UTF-16 units to the ANSI code page into out (kTextSize bytes): a text that does
// not fit is cut after its last whole character that does. Returns the bytes written.
int ConvertSourceText(const WCHAR *text, int length, char *out);
// The same into a given code page.
int ConvertSourceTextTo(UINT codePage, const WCHAR *text, int length, char *out);
