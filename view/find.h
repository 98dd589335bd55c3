// Find: the platform's modeless Find dialog over the translations, and Find Next.
#pragma once
#include <windows.h>
#include <commdlg.h>

// Registers the find message and prepares the request (downward, empty text).
void InitFindState(HWND view);
// Opens the Find dialog, or brings an open one to the front; success when it is there.
LRESULT OpenFindDialog(HWND view);
// Repeats the last search; success when a row was found.
LRESULT FindNextCommand(HWND view);
// For the list's procedure: handles the dialog's registered message; false for others.
bool HandleFindMessage(HWND view, UINT msg, WPARAM wp, LPARAM lp);
// For the message loop: lets an open Find dialog take its keyboard messages.
bool FindDialogFilter(HWND view, MSG *msg);
// Index of the found row, or -1 (after "Text not found" when the search ran).
int SearchRows(HWND view, const FINDREPLACEA *request);
