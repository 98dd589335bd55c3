// What the document tells the user about its files: failures with the system's reason,
// notices after an open, and the question before opening what is not a language file.
#pragma once
#include <windows.h>

#include <cstdint>

// "<file> could not be saved/opened." (textId) with the system's text for error.
void ShowFileError(HWND view, UINT textId, const char *path, uint32_t error);
// A notice of textId with the file name (or a number) in its %s (%d).
void ShowFileNotice(HWND view, UINT textId, const char *path);
void ShowCountNotice(HWND view, UINT textId, int count);
// "<file> does not look like a language file: ... Open it anyway?" True for Yes.
bool AskOpenAnyway(HWND view, const char *path, uint32_t itemLines, uint32_t lines);
// "The backup copy <file> could not be made. <reason> Save without a backup?" True for Yes.
bool AskSaveWithoutBackup(HWND view, const char *backupPath, uint32_t error);
