// The view window: owns the document, the menus and the three controls, and receives
// every command.
#include <windows.h>

#include "state/appstate.h"
#include "app/appwindows.h"
#include "app/commands.h"
#include "app/docundo.h"
#include "app/recovery.h"
#include "app/document.h"
#include "state/messages.h"
#include "state/sysdlls.h"
#include "frame/menus.h"
#include "frame/statusbar.h"
#include "frame/toolbar.h"
#include "view/list.h"
#include "view/problems.h"
#include "view/worktrack.h"

static const char kViewClass[] = "Child";
constexpr int kViewChildId = 1;

static int WindowHeight(HWND window)
{
    RECT rc;
    if (!window || !GetWindowRect(window, &rc)) return 0;
    return rc.bottom - rc.top;
}

void LayoutViewList(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    RECT client;
    GetClientRect(view, &client);
    int top = WindowHeight(vs->toolbar);
    ListLayout(view, top, client.bottom - client.top - top - WindowHeight(vs->statusBar));
}

static LRESULT View_OnCreate(HWND view, LPARAM lp)
{
    auto *vs = static_cast<ViewState *>(LocalAlloc(LPTR, sizeof(ViewState)));
    if (!vs) return DefWindowProcA(view, WM_CREATE, 0, lp);
    SetWindowLongPtrA(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(vs));
    vs->view = view;
    vs->lastFocusedRow = -1;
    CreateMenus(view);
    ShowToolbar(view, App().settings.toolbarShown != 0);
    ShowStatusBar(view, App().settings.statusBarShown != 0);
    ListCreate(view);
    UpdateCommandStates(view);
    return 0;
}

static void View_OnDestroy(HWND view, ViewState *vs)
{
    OpenDocument(view, "", kOpenClose);
    UndoRelease(view);
    ListDestroy(view);
    ProblemsFree(view);
    WorkTrackFree(view);
    DestroyStatusBar(view);
    DestroyToolbar(view);
    DestroyMenus(view);
    SetWindowLongPtrA(view, GWLP_USERDATA, 0);
    LocalFree(vs);
}

static void View_OnDropFiles(HWND view, HDROP drop)
{
    // A drop would replace the document under an open dialog (Wine delivers drops to a
    // disabled window).
    UINT count = ModalDialogOpen(view) ? 0 : SysDragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH];
        if (!SysDragQueryFile(drop, i, path, sizeof path)) continue;
        if (!ConfirmDiscard(view)) break;
        OpenDocument(view, path, kOpenNamed);
    }
    SysDragFinish(drop);
}

static LRESULT CALLBACK ViewProc(HWND view, UINT msg, WPARAM wp, LPARAM lp)
{
    ViewState *vs = GetViewState(view);
    if (!vs && msg != WM_CREATE) return DefWindowProcA(view, msg, wp, lp);
    switch (msg) {
    case WM_CREATE: return View_OnCreate(view, lp);
    case WM_DESTROY: View_OnDestroy(view, vs); return 0;
    case WM_SIZE:
        RepositionToolbar(view);
        RepositionStatusBar(view);
        LayoutViewList(view);
        return 0;
    case WM_SETFOCUS:
        if (vs->list) SetFocus(vs->list);
        return 0;
    case WM_COMMAND:
        if (RunCommand(view, LOWORD(wp), nullptr, 0)) return 0;
        break;
    case WM_INITMENU: UpdateCommandStates(view); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (TranslateViewKey(view, msg, wp, lp)) return 0;
        return SendMessageA(GetParent(view), msg, wp, lp);
    case WM_LBUTTONDOWN: return SendMessageA(GetParent(view), msg, wp, lp);
    case WM_MOUSEWHEEL: return 0;
    case WM_DROPFILES: View_OnDropFiles(view, reinterpret_cast<HDROP>(wp)); return 0;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR *>(lp)->code == UINT(TTN_GETDISPINFOA)) {
            auto *info = reinterpret_cast<NMTTDISPINFOA *>(lp);
            return ToolbarTooltipText(view, info) || StatusTooltipText(view, info);
        }
        if (reinterpret_cast<const NMHDR *>(lp)->code == UINT(LVN_ITEMCHANGED)) {
            return ListItemChanged(view, reinterpret_cast<const NMLISTVIEW *>(lp));
        }
        // Rows own nothing to free, so emptying the list needs no notice per row.
        if (reinterpret_cast<const NMHDR *>(lp)->code == UINT(LVN_DELETEALLITEMS)) return TRUE;
        return 0;
    case WM_DRAWITEM:
        if (wp == kListChildId) return ListDrawRow(view, reinterpret_cast<const DRAWITEMSTRUCT *>(lp));
        if (wp == kStatusBarId) return DrawStatusPart(view, reinterpret_cast<const DRAWITEMSTRUCT *>(lp));
        break;
    case WM_MEASUREITEM:
        if (wp == kListChildId) return 0;
        break;
    case kMsgOpenDocument: return OpenDocument(view, reinterpret_cast<const char *>(lp), UINT(wp));
    case kMsgRefreshDocument: return RefreshDocumentDisplay(view);
    case kMsgRunCommand: return RunCommand(view, LOWORD(wp), reinterpret_cast<void *>(lp), HIWORD(wp));
    case kMsgRecoverWork: RecoverLostWork(view); return 0;
    case kMsgCommandStatesChanged: UpdateCommandStates(view); return 0;
    }
    return DefWindowProcA(view, msg, wp, lp);
}

HWND CreateView(HWND frame)
{
    HINSTANCE instance = AppInstance();
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, kViewClass, &wc)) {
        wc.lpfnWndProc = ViewProc;
        wc.hInstance = instance;
        wc.lpszClassName = kViewClass;
        if (!RegisterClassA(&wc)) return nullptr;
    }
    HWND view = CreateWindowExA(WS_EX_ACCEPTFILES, kViewClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kViewChildId)), instance, nullptr);
    if (!view) return nullptr;
    FrameState *fs = GetFrameState(frame);
    if (fs) fs->view = view;
    RECT rc;
    GetClientRect(frame, &rc);
    SetWindowPos(view, nullptr, 0, rc.top, rc.right, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    return view;
}
