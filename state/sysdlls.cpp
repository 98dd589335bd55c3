// comdlg32 and shell32, loaded on first use from the system folder only.
#include "state/sysdlls.h"

#include <cstring>

namespace
{

enum SystemDll { kComdlg32, kShell32, kSystemDllCount };

const char *const kDllNames[kSystemDllCount] = {"comdlg32.dll", "shell32.dll"};
HMODULE g_modules[kSystemDllCount];

HMODULE LoadFromSystemFolder(const char *name)
{
    // The search flag is known from Windows 8 on, and on Vista and 7 with update KB2533623;
    // elsewhere the call fails and the full path does the same.
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module) return module;
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    const size_t nameLength = strlen(name);
    if (length == 0 || length + 1 + nameLength >= sizeof path) return nullptr;
    path[length] = '\\';
    memcpy(path + length + 1, name, nameLength + 1);
    // Its own imports are then looked for beside it first.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <typename Fn> Fn Lookup(SystemDll dll, const char *name)
{
    if (!g_modules[dll]) g_modules[dll] = LoadFromSystemFolder(kDllNames[dll]);
    if (!g_modules[dll]) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(g_modules[dll], name)));
}

} // namespace

BOOL SysGetOpenFileName(OPENFILENAMEA *request)
{
    auto fn = Lookup<BOOL(WINAPI *)(OPENFILENAMEA *)>(kComdlg32, "GetOpenFileNameA");
    return fn ? fn(request) : FALSE;
}

BOOL SysGetSaveFileName(OPENFILENAMEA *request)
{
    auto fn = Lookup<BOOL(WINAPI *)(OPENFILENAMEA *)>(kComdlg32, "GetSaveFileNameA");
    return fn ? fn(request) : FALSE;
}

HWND SysFindText(FINDREPLACEA *request)
{
    auto fn = Lookup<HWND(WINAPI *)(FINDREPLACEA *)>(kComdlg32, "FindTextA");
    return fn ? fn(request) : nullptr;
}

UINT SysDragQueryFile(HDROP drop, UINT index, char *path, UINT capacity)
{
    auto fn = Lookup<UINT(WINAPI *)(HDROP, UINT, char *, UINT)>(kShell32, "DragQueryFileA");
    return fn ? fn(drop, index, path, capacity) : 0;
}

void SysDragFinish(HDROP drop)
{
    auto fn = Lookup<void(WINAPI *)(HDROP)>(kShell32, "DragFinish");
    if (fn) fn(drop);
}

DWORD_PTR SysGetFileInfo(const char *path, DWORD attributes, SHFILEINFOA *info, UINT flags)
{
    auto fn = Lookup<DWORD_PTR(WINAPI *)(const char *, DWORD, SHFILEINFOA *, UINT, UINT)>(kShell32, "SHGetFileInfoA");
    return fn ? fn(path, attributes, info, sizeof *info, flags) : 0;
}

BOOL SysGetFolderPath(int folder, char *path)
{
    auto fn = Lookup<HRESULT(WINAPI *)(HWND, int, HANDLE, DWORD, char *)>(kShell32, "SHGetFolderPathA");
    constexpr DWORD kCurrentPath = 0; // SHGFP_TYPE_CURRENT
    return fn && SUCCEEDED(fn(nullptr, folder, nullptr, kCurrentPath, path));
}
