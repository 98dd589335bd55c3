// The frame window: title, menu bar and placement; it hands almost everything to its view.
#include <cstring>

#include "state/appstate.h"
#include "app/appwindows.h"
#include "app/commands.h"
#include "state/messages.h"
#include "app/startup.h"
#include "frame/settings.h"
#include "res/resource.h"

// A close request while a modal dialog is open goes to that dialog's user, not past them:
// the dialog comes to the front and the window stays.
static bool BringModalToFront(HWND frame)
{
    if (!ModalDialogOpen(frame)) return false;
    HWND popup = GetLastActivePopup(frame);
    if (popup && popup != frame) SetForegroundWindow(popup);
    return true;
}

static void CenterOnMonitor(HWND frame)
{
    RECT rc;
    if (!GetWindowRect(frame, &rc)) return;
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(MonitorFromWindow(frame, MONITOR_DEFAULTTONEAREST), &mi)) return;
    const RECT &work = mi.rcWork;
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    int x = work.left + ((work.right - work.left) - width) / 2;
    int y = work.top + ((work.bottom - work.top) - height) / 2;
    SetWindowPos(frame, nullptr, x < work.left ? work.left : x, y < work.top ? work.top : y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static LRESULT Frame_OnCreate(HWND frame, const CREATESTRUCTA *cs)
{
    auto *fs = static_cast<FrameState *>(LocalAlloc(LPTR, sizeof(FrameState)));
    if (!fs) return DefWindowProcA(frame, WM_CREATE, 0, reinterpret_cast<LPARAM>(cs));
    SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fs));
    bool placed = App().settings.loadPosition && ReadPlacement(frame, &fs->placement);
    if (!placed && App().settings.centerWindow) CenterOnMonitor(frame);
    if (const auto *params = static_cast<const FrameCreateParams *>(cs->lpCreateParams)) {
        fs->creationFlags = params->creationFlags;
    }
    return 0;
}

static void Frame_OnDestroy(HWND frame, FrameState *fs)
{
    if (App().settings.savePosition) WritePlacement(frame, &fs->placement);
    DestroyWindowIfAlive(fs->view);
    fs->view = nullptr;
    if (fs->creationFlags & kFramePostsQuit) PostQuitMessage(0);
    SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
    LocalFree(fs);
}

static void Frame_OnSize(HWND frame, FrameState *fs)
{
    RECT rc;
    GetClientRect(frame, &rc);
    SetWindowPos(fs->view, nullptr, 0, rc.top, rc.right, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

// Another instance handed over its command line: open its file and run its options here.
static LRESULT Frame_OnCopyData(HWND frame, const COPYDATASTRUCT *cds)
{
    if (!cds || cds->dwData != kCopyDataCommandLine || !cds->lpData || cds->cbData == 0) return FALSE;
    // Any process can send this: while a modal dialog is open an open would run beneath it.
    if (!IsWindowEnabled(frame)) return FALSE;
    // The data comes from another process: bound it and terminate it ourselves.
    char line[kForwardedLineSize];
    size_t n = cds->cbData < sizeof line ? cds->cbData : sizeof line - 1;
    memcpy(line, cds->lpData, n);
    line[n] = '\0';
    return RunForwardedCommandLine(frame, line);
}

static LRESULT CALLBACK FrameProc(HWND frame, UINT msg, WPARAM wp, LPARAM lp)
{
    FrameState *fs = GetFrameState(frame);
    switch (msg) {
    case WM_CREATE: return Frame_OnCreate(frame, reinterpret_cast<const CREATESTRUCTA *>(lp));
    case WM_DESTROY:
        if (!fs) break;
        Frame_OnDestroy(frame, fs);
        return 0;
    case WM_SIZE:
        if (!fs || !fs->view) break;
        Frame_OnSize(frame, fs);
        return 0;
    case WM_SETFOCUS:
        if (fs && fs->view) SetFocus(fs->view);
        return 0;
    case WM_CLOSE:
        if (!fs || !fs->view) return 0;
        // From the taskbar or the system menu while a dialog is open: that dialog answers first.
        if (BringModalToFront(frame)) return 0;
        // Unsaved translations are never lost without a question.
        if (!ConfirmDiscard(fs->view)) return 0;
        break;
    case WM_QUERYENDSESSION:
        // Windows is shutting down: the same rules as closing the window.
        if (BringModalToFront(frame)) return FALSE;
        return (fs && fs->view) ? ConfirmDiscard(fs->view) : TRUE;
    case WM_COMMAND:
    case WM_MOUSEWHEEL:
    case WM_DROPFILES:
        if (!fs || !fs->view) break;
        return SendMessageA(fs->view, msg, wp, lp);
    case WM_COPYDATA:
        if (!fs) break;
        return Frame_OnCopyData(frame, reinterpret_cast<const COPYDATASTRUCT *>(lp));
    }
    return DefWindowProcA(frame, msg, wp, lp);
}

HWND CreateFrame(HINSTANCE instance, const FrameCreateParams *params)
{
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, AppFrameClass(), &wc)) {
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PARLEVO));
        wc.lpszClassName = AppFrameClass();
        if (!RegisterClassA(&wc)) return nullptr;
    }
    DWORD exStyle = WS_EX_ACCEPTFILES;
    if (App().settings.alwaysOnTop) exStyle |= WS_EX_TOPMOST;
    return CreateWindowExA(exStyle, AppFrameClass(), nullptr, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                           const_cast<FrameCreateParams *>(params));
}
