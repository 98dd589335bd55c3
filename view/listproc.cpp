// The list's own procedure: keys through the view's accelerators, double-click and the
// context menu, and the rule that keeps the focus off category rows.
#include "view/list.h"

#include <windowsx.h>

#include "state/viewstate.h"
#include "state/messages.h"
#include "frame/menus.h"
#include "res/resource.h"
#include "view/find.h"
#include "view/listinternal.h"

// The control's own procedure, the same for every list. Kept here as well as in the view's
// block, so the control still gets its messages once that block is gone.
static WNDPROC g_controlProc;

static LRESULT CallControl(ViewState *vs, HWND list, UINT msg, WPARAM wp, LPARAM lp)
{
    WNDPROC previous = vs && vs->listPrevProc ? vs->listPrevProc : g_controlProc;
    return previous ? CallWindowProcA(previous, list, msg, wp, lp) : DefWindowProcA(list, msg, wp, lp);
}

// Moves focus and selection to target. A target past the last row falls back to the nearest
// string row above it; with none there, no row keeps the focus.
static void FocusRow(ViewState *vs, INT_PTR target)
{
    HWND view = vs->view;
    if (vs->lastFocusedRow >= 0) ListSetRowState(view, vs->lastFocusedRow, 0, LVIS_FOCUSED | LVIS_SELECTED);
    int count = ListRowCount(view);
    if (target < 0) return;
    if (target >= count) {
        target = count - 1;
        while (target >= 0 && ListRowValue(view, int(target)) == 0)
            --target;
        if (target < 0) return;
    }
    ListSetRowState(view, int(target), LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

// The row under the pointer becomes focused and selected as on a left click, before the
// menu's command can run on it.
static void ShowContextMenu(ViewState *vs, HWND list, WPARAM wp, LPARAM lp)
{
    SendMessageA(list, WM_LBUTTONDOWN, wp, lp);
    HMENU menu = vs->contextHolder ? GetSubMenu(vs->contextHolder, 0) : nullptr;
    if (!menu) return;
    POINT at = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ClientToScreen(list, &at);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, vs->view, nullptr);
}

// The messages the list procedure handles itself; registered ones (the Find dialog's) too.
static bool HandledHere(UINT msg)
{
    switch (msg) {
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_RBUTTONDOWN:
    case kMsgListFocusRow: return true;
    }
    return msg >= 0xC000;
}

static LRESULT CALLBACK ListProc(HWND list, UINT msg, WPARAM wp, LPARAM lp)
{
    // Everything else goes straight to the control: filling a list sends several messages
    // per row, and looking up the view's block for each was a third of their cost under Wine.
    if (!HandledHere(msg)) return CallControl(nullptr, list, msg, wp, lp);
    ViewState *vs = GetViewState(GetParent(list));
    if (!vs || vs->list != list) return CallControl(nullptr, list, msg, wp, lp);
    switch (msg) {
    case WM_LBUTTONDBLCLK: SendMessageA(vs->view, WM_COMMAND, MAKEWPARAM(CMD_TEXT_TRANSLATE, 0), 0); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (TranslateViewKey(vs->view, msg, wp, lp)) return 0;
        break;
    case WM_RBUTTONDOWN: ShowContextMenu(vs, list, wp, lp); return 0;
    case kMsgListFocusRow: FocusRow(vs, INT_PTR(wp)); return 0;
    }
    if (HandleFindMessage(vs->view, msg, wp, lp)) return 0;
    return CallControl(vs, list, msg, wp, lp);
}

void ListAttachProcedure(ViewState *vs)
{
    auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(vs->list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
    vs->listPrevProc = previous;
    if (!g_controlProc) g_controlProc = previous;
}

LRESULT ListItemChanged(HWND view, const NMLISTVIEW *change)
{
    ViewState *vs = ListViewState(view);
    if (!vs || !change || change->iItem < 0) return 0;
    if (!(change->uChanged & LVIF_STATE) || !(change->uNewState & LVIS_FOCUSED)) return 0;
    int row = change->iItem;
    if (ListRowValue(view, row) == 0) {
        // Moving down lands on the row below, anything else on the row above; posted, so the
        // control has finished its own handling of this focus change first.
        int target = vs->lastFocusedRow < row ? row + 1 : row - 1;
        if (target < 1) target = 1;
        PostMessageA(vs->list, kMsgListFocusRow, WPARAM(target), 0);
    }
    vs->lastFocusedRow = row;
    return 0;
}
