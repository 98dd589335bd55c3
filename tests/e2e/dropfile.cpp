// Drops a file on a running Parlevo as the shell does: Parlevo's window receives WM_DROPFILES
// whose HDROP is a movable global block, made in Parlevo's own process, holding a DROPFILES
// header and the ANSI path list.
//
//   dropfile <window title> <path>
//
// A global block cannot be handed to another process, and Wine passes the handle of a posted
// WM_DROPFILES on unchanged, so the block is made by drophook.dll (beside this program), which
// runs inside Parlevo as a message hook on its thread. The window is the top-level window of
// class "ParlevoA" with exactly that title, so a test reaches its own instance and no other.
// Exit codes: 0 dropped, 1 usage, 2 no such window, 3 no hook, 4 the request was not taken.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "tests/e2e/dropfile.h"

static HWND FindParlevo(const char *title)
{
    // The window may still be on its way (or changing its title): look for a few seconds.
    for (int i = 0; i < 100; ++i) {
        if (HWND window = FindWindowA("ParlevoA", title)) return window;
        Sleep(50);
    }
    return nullptr;
}

static HMODULE LoadHookModule()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    char *slash = n ? strrchr(path, '\\') : nullptr;
    if (!slash || size_t(slash + 1 - path) + sizeof "drophook.dll" > sizeof path) return nullptr;
    strcpy(slash + 1, "drophook.dll");
    return LoadLibraryA(path);
}

int main(int argc, char **argv)
{
    if (argc != 3 || strlen(argv[2]) >= MAX_PATH) {
        fprintf(stderr, "usage: dropfile <window title> <path>\n");
        return 1;
    }
    HWND window = FindParlevo(argv[1]);
    if (!window) {
        fprintf(stderr, "dropfile: no Parlevo window titled \"%s\"\n", argv[1]);
        return 2;
    }
    HMODULE module = LoadHookModule();
    auto proc = module ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void *>(GetProcAddress(module, "DropHookProc"))) : nullptr;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HHOOK hook = proc ? SetWindowsHookExA(WH_GETMESSAGE, proc, module, thread) : nullptr;
    if (!hook) {
        fprintf(stderr, "dropfile: cannot hook Parlevo's thread (%lu)\n", GetLastError());
        return 3;
    }
    char name[64];
    DropDoneEventName(window, name);
    HANDLE done = CreateEventA(nullptr, FALSE, FALSE, name);
    ATOM atom = GlobalAddAtomA(argv[2]);
    bool posted = done && atom && PostMessageA(window, RegisterWindowMessageA(kDropRequestMessage), atom, 0);
    bool taken = posted && WaitForSingleObject(done, 10000) == WAIT_OBJECT_0;
    UnhookWindowsHookEx(hook);
    if (!taken) {
        // The hook deletes the atom when it takes the request.
        if (atom) GlobalDeleteAtom(atom);
        fprintf(stderr, "dropfile: Parlevo did not take the drop\n");
    }
    if (done) CloseHandle(done);
    return taken ? 0 : 4;
}
