// Drops a file on a running Parlevo as the shell does:
//
//   rundll32 drophook.dll,Drop <window title>|<path>
//
// The HDROP must be a movable global block of Parlevo's own process (Wine passes the handle
// of a posted WM_DROPFILES on unchanged), so this module also runs inside Parlevo, as a message
// hook on its thread, and turns a drop request, as it is taken from the queue, into
// WM_DROPFILES. The window is the top-level "ParlevoA" window with exactly that title.
// Exit codes: 0 dropped, 1 usage, 2 no such window, 3 no hook, 4 the request was not taken.
#include <windows.h>
#include <shlobj.h>

#include <cstring>

static const char kRequest[] = "ParlevoTestDropRequest";

static void DoneEventName(HWND window, char (&name)[64])
{
    wsprintfA(name, "ParlevoTestDropDone-%08lx", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
}

extern "C" __declspec(dllexport) LRESULT CALLBACK DropHookProc(int code, WPARAM removal, LPARAM lp)
{
    auto *msg = reinterpret_cast<MSG *>(lp);
    if (code == HC_ACTION && removal == PM_REMOVE && msg->message == RegisterWindowMessageA(kRequest)) {
        char path[MAX_PATH];
        auto atom = static_cast<ATOM>(msg->wParam);
        UINT length = GlobalGetAtomNameA(atom, path, sizeof path);
        GlobalDeleteAtom(atom);
        // DROPFILES, the path, its terminator and the list's.
        HGLOBAL block = length ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + length + 2) : nullptr;
        auto *drop = block ? static_cast<DROPFILES *>(GlobalLock(block)) : nullptr;
        if (drop) {
            drop->pFiles = sizeof(DROPFILES);
            CopyMemory(drop + 1, path, length);
            GlobalUnlock(block);
        }
        msg->message = drop ? WM_DROPFILES : WM_NULL;
        msg->wParam = reinterpret_cast<WPARAM>(drop ? block : nullptr);
        msg->lParam = 0;
        char name[64];
        DoneEventName(msg->hwnd, name);
        if (HANDLE done = OpenEventA(EVENT_MODIFY_STATE, FALSE, name)) {
            SetEvent(done);
            CloseHandle(done);
        }
    }
    return CallNextHookEx(nullptr, code, removal, lp);
}

static int DropOn(HINSTANCE self, char *args)
{
    // rundll32 hands over the rest of its command line as it stands, quotes and all.
    if (*args == '"') {
        ++args;
        if (size_t n = strlen(args); n && args[n - 1] == '"') args[n - 1] = '\0';
    }
    char *path = strchr(args, '|');
    if (!path || strlen(path + 1) >= MAX_PATH) return 1;
    *path++ = '\0';
    HWND window = nullptr;
    // The window may still be on its way or changing its title.
    for (int i = 0; i < 200 && !(window = FindWindowA("ParlevoA", args)); ++i)
        Sleep(50);
    if (!window) return 2;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, DropHookProc, self, GetWindowThreadProcessId(window, nullptr));
    if (!hook) return 3;
    char name[64];
    DoneEventName(window, name);
    HANDLE done = CreateEventA(nullptr, FALSE, FALSE, name);
    ATOM atom = GlobalAddAtomA(path);
    bool taken = done && atom && PostMessageA(window, RegisterWindowMessageA(kRequest), atom, 0) &&
                 WaitForSingleObject(done, 30000) == WAIT_OBJECT_0;
    UnhookWindowsHookEx(hook);
    return taken ? 0 : 4;
}

// rundll32's entry; its own exit code is always 0, so the result ends the process.
extern "C" __declspec(dllexport) void CALLBACK Drop(HWND, HINSTANCE, char *args, int)
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const char *>(&DropHookProc), &self);
    ExitProcess(DropOn(self, args));
}
