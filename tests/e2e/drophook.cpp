// rundll32 drophook.dll,Drop <title>|<path> drops a file on the "ParlevoA" window with that title as the
// shell does. The HDROP must be a global block of Parlevo's own process, so a hook on its thread makes
// it there. Exit codes: 0 sent, 1 usage, 2 no such window, 3 no hook, 4 the request was not taken.
#include <windows.h>
#include <shlobj.h>

#include <cstring>

static const char kRequest[] = "ParlevoTestDropRequest";

extern "C" __declspec(dllexport) LRESULT CALLBACK DropHookProc(int code, WPARAM wp, LPARAM lp)
{
    const auto *call = reinterpret_cast<const CWPSTRUCT *>(lp);
    char path[MAX_PATH];
    UINT length = 0;
    if (code == HC_ACTION && call->message == RegisterWindowMessageA(kRequest))
        length = GlobalGetAtomNameA(static_cast<ATOM>(call->wParam), path, sizeof path);
    HGLOBAL block = length ? GlobalAlloc(GHND, sizeof(DROPFILES) + length + 2) : nullptr;
    if (auto *drop = block ? static_cast<DROPFILES *>(GlobalLock(block)) : nullptr) {
        drop->pFiles = sizeof(DROPFILES);
        CopyMemory(drop + 1, path, length);
        GlobalUnlock(block);
        PostMessageA(call->hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

static int DropOn(HINSTANCE self, char *args)
{
    // rundll32 hands over the rest of its command line as it stands, quotes and all.
    size_t n = strlen(args);
    if (n > 1 && args[0] == '"' && args[n - 1] == '"') {
        args[n - 1] = '\0';
        ++args;
    }
    char *path = strchr(args, '|');
    if (!path || strlen(path + 1) >= MAX_PATH) return 1;
    *path++ = '\0';
    HWND window = nullptr;
    // The window may still be changing its title.
    for (int i = 0; i < 200 && !(window = FindWindowA("ParlevoA", args)); ++i)
        Sleep(50);
    if (!window) return 2;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, DropHookProc, self, GetWindowThreadProcessId(window, nullptr));
    if (!hook) return 3;
    ATOM atom = GlobalAddAtomA(path);
    DWORD_PTR result;
    bool sent =
        atom && SendMessageTimeoutA(window, RegisterWindowMessageA(kRequest), atom, 0, SMTO_NORMAL, 30000, &result);
    UnhookWindowsHookEx(hook);
    if (atom) GlobalDeleteAtom(atom);
    return sent ? 0 : 4;
}

// rundll32's entry; its own exit code is always 0, so the result ends the process.
extern "C" __declspec(dllexport) void CALLBACK Drop(HWND, HINSTANCE, char *args, int)
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const char *>(&DropHookProc), &self);
    ExitProcess(DropOn(self, args));
}
