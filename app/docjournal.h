// The recovery journal of the open document: every committed change is on disk before it shows
// as done, and the journal goes once the work is saved or given up.
#pragma once
#include <windows.h>

#include <cstddef>

// %LOCALAPPDATA%\Parlevo\Recovery, made when missing. False when there is no such folder.
bool RecoveryFolder(char *out, size_t capacity);

// Appends a change to the view's journal (made on the first change) and flushes it.
void JournalRowChange(HWND view, UINT stringId, const char *after);
void JournalSignatureChange(HWND view);
// The work the journal held is saved or given up: the journal is deleted.
void JournalDiscard(HWND view);
