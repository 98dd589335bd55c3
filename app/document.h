// The document shown in the view: opening, closing, saving, and the title.
#pragma once
#include <windows.h>

BOOL OpenDocument(HWND view, const char *path, UINT openFlags);
LRESULT RefreshDocumentDisplay(HWND view);
void OpenFromCommandLine(HWND view, const char *path);
void RefreshTitle(HWND view);
bool IsDocumentFileBacked(HWND view);
void SetDocumentFileBacked(HWND view);
// The text after the last backslash, or all of it.
const char *FileNamePart(const char *path);
