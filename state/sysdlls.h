// comdlg32 and shell32, loaded on first use from the system folder only: a module of either name
// beside the program is never taken, and the program starts without them.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

BOOL SysGetOpenFileName(OPENFILENAMEA *request);
BOOL SysGetSaveFileName(OPENFILENAMEA *request);
// The modeless Find dialog, or null.
HWND SysFindText(FINDREPLACEA *request);
UINT SysDragQueryFile(HDROP drop, UINT index, char *path, UINT capacity);
void SysDragFinish(HDROP drop);
DWORD_PTR SysGetFileInfo(const char *path, DWORD attributes, SHFILEINFOA *info, UINT flags);
// A shell folder (CSIDL_*) into path (MAX_PATH bytes); FALSE when it cannot be had.
BOOL SysGetFolderPath(int folder, char *path);
