// The open and save dialogs for language files.
#pragma once
#include <windows.h>

// Asks for an existing language file; false when cancelled.
bool RunOpenDialog(HWND view, char *path, size_t capacity);
// Asks for a file to save to; path holds the suggested name (the document path when empty)
// and receives the choice; false when cancelled.
bool RunSaveDialog(HWND view, char *path, size_t capacity);
