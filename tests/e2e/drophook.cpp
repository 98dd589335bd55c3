// The half of dropfile that runs inside Parlevo. A window message carries only a handle, and a
// movable global block belongs to the process that allocated it, so the HDROP must be made in
// Parlevo's process, as the shell makes it there. dropfile installs this module as a message
// hook on Parlevo's thread and posts it a drop request whose wParam is a global atom holding
// the path; the hook turns the request, as it is taken from the queue, into WM_DROPFILES.
#include <windows.h>
#include <shlobj.h>

#include "tests/e2e/dropfile.h"

static HGLOBAL MakeDrop(const char *path, UINT length)
{
    // DROPFILES, then each path with its terminator, then one more terminator.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + length + 2);
    if (!block) return nullptr;
    auto *drop = static_cast<DROPFILES *>(GlobalLock(block));
    if (!drop) {
        GlobalFree(block);
        return nullptr;
    }
    drop->pFiles = sizeof(DROPFILES);
    drop->pt.x = 10;
    drop->pt.y = 10;
    drop->fNC = FALSE;
    drop->fWide = FALSE;
    CopyMemory(reinterpret_cast<char *>(drop) + sizeof(DROPFILES), path, length);
    GlobalUnlock(block);
    return block;
}

extern "C" __declspec(dllexport) LRESULT CALLBACK DropHookProc(int code, WPARAM removal, LPARAM lp)
{
    auto *msg = reinterpret_cast<MSG *>(lp);
    if (code == HC_ACTION && removal == PM_REMOVE && msg->message == RegisterWindowMessageA(kDropRequestMessage)) {
        char path[MAX_PATH];
        auto atom = static_cast<ATOM>(msg->wParam);
        UINT length = GlobalGetAtomNameA(atom, path, sizeof path);
        GlobalDeleteAtom(atom);
        HGLOBAL drop = length ? MakeDrop(path, length) : nullptr;
        msg->message = drop ? WM_DROPFILES : WM_NULL;
        msg->wParam = reinterpret_cast<WPARAM>(drop);
        msg->lParam = 0;
        char name[64];
        DropDoneEventName(msg->hwnd, name);
        if (HANDLE done = OpenEventA(EVENT_MODIFY_STATE, FALSE, name)) {
            SetEvent(done);
            CloseHandle(done);
        }
    }
    return CallNextHookEx(nullptr, code, removal, lp);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
