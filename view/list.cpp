// The translation list: creation, columns, layout, the redraw hold and row access.
#include "view/list.h"

#include <cstring>
#include <new>

#include "state/appstate.h"
#include "state/viewstate.h"
#include "frame/leadbytes.h"
#include "frame/textcut.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "view/find.h"
#include "view/listinternal.h"
#include "state/textsize.h"

constexpr int kIdColumnWidth = 60;

struct ColumnRow {
    UINT headerId;
    int width; // at creation; the layout sets the real widths
};
static const ColumnRow kColumns[] = {
    {IDS_COL_ID, kIdColumnWidth},
    {IDS_COL_TEXT, 0},
    {IDS_COL_TRANSLATED, 0},
};

ViewState *ListViewState(HWND view)
{
    ViewState *vs = GetViewState(view);
    return vs && vs->list ? vs : nullptr;
}

// A column whose header is missing is left out, and the next one takes its index.
static int InsertColumns(HWND list)
{
    int index = 0;
    for (const ColumnRow &row : kColumns) {
        char header[kTextSize];
        if (!LoadUiText(row.headerId, header)) continue;
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = row.width;
        column.pszText = header;
        if (SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(index), reinterpret_cast<LPARAM>(&column)) >= 0) ++index;
    }
    return index;
}

bool ListCreate(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return false;
    // Hidden until the first layout places it.
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED,
                                0, 0, 0, 0, view, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListChildId)),
                                AppInstance(), nullptr);
    if (!list) return false;
    vs->rows = new (std::nothrow) ListRows;
    if (!vs->rows) {
        DestroyWindow(list);
        return false;
    }
    vs->list = list;
    vs->lastFocusedRow = -1;
    vs->redrawHold = 0;
    ListAttachProcedure(vs);
    // The list owns the Find dialog, so the find state is set up once the list exists.
    InitFindState(view);
    vs->rows->columns = InsertColumns(list);
    return true;
}

void ListDestroy(HWND view)
{
    ViewState *vs = ListViewState(view);
    if (!vs) return;
    DestroyWindow(vs->list);
    vs->list = nullptr;
    delete vs->rows;
    vs->rows = nullptr;
    vs->redrawHold = 0;
}

// The client width the list will have once redrawing is on again: while held, the control
// neither shows nor hides its vertical scroll bar for rows that came or went.
static int WidthAfterRelease(HWND list, int width)
{
    const bool hasBar = (GetWindowLongPtrA(list, GWL_STYLE) & WS_VSCROLL) != 0;
    const LRESULT rows = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    const bool needsBar = rows > SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0);
    if (needsBar && !hasBar) return width - GetSystemMetrics(SM_CXVSCROLL);
    if (!needsBar && hasBar) return width + GetSystemMetrics(SM_CXVSCROLL);
    return width;
}

// Column 0 keeps 60 pixels; the text columns share the rest of the list's client width.
// While the redraw is held the widths are those of the client width to come, so that the
// release rarely has to change them (which repaints the full list at once).
static void SetColumnWidths(HWND list, bool held)
{
    RECT client;
    GetClientRect(list, &client);
    const int width = held ? WidthAfterRelease(list, client.right) : client.right;
    // Below 60 pixels the text columns get nothing rather than a negative width.
    int rest = width - kIdColumnWidth;
    if (rest < 0) rest = 0;
    const int widths[] = {kIdColumnWidth, rest / 2, rest - rest / 2};
    for (int column = kColumnId; column <= kColumnTranslated; ++column) {
        // A width set while the list redraws repaints it at once (about 13 ms for a full
        // list under Wine), so only a width that changes is set.
        if (SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(column), 0) == widths[column]) continue;
        SendMessageA(list, LVM_SETCOLUMNWIDTH, WPARAM(column), MAKELPARAM(widths[column], 0));
    }
}

void ListLayout(HWND view, int top, int height)
{
    ViewState *vs = ListViewState(view);
    if (!vs) return;
    RECT client;
    GetClientRect(view, &client);
    if (height < 0) height = 0;
    SetWindowPos(vs->list, nullptr, 0, top, client.right - client.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetColumnWidths(vs->list, vs->redrawHold > 0);
}

void ListEmpty(HWND view)
{
    ViewState *vs = ListViewState(view);
    if (!vs) return;
    SendMessageA(vs->list, LVM_DELETEALLITEMS, 0, 0);
    vs->rows->Clear();
}

void ListHoldRedraw(HWND view)
{
    ViewState *vs = ListViewState(view);
    if (!vs) return;
    if (vs->redrawHold++ == 0) SendMessageA(vs->list, WM_SETREDRAW, FALSE, 0);
}

static void RedrawOn(HWND list)
{
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    // The control shows or hides its scroll bars only now, after rows came or went while it
    // was held; the columns must fit the client width that leaves.
    SetColumnWidths(list, false);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void ListReleaseRedraw(HWND view)
{
    ViewState *vs = ListViewState(view);
    if (!vs || vs->redrawHold <= 0) return;
    if (--vs->redrawHold == 0) RedrawOn(vs->list);
}

int ListSuspendRedrawHold(HWND view)
{
    ViewState *vs = ListViewState(view);
    if (!vs || vs->redrawHold <= 0) return 0;
    int holds = vs->redrawHold;
    vs->redrawHold = 0;
    RedrawOn(vs->list);
    return holds;
}

void ListRestoreRedrawHold(HWND view, int holds)
{
    ViewState *vs = ListViewState(view);
    if (!vs || holds <= 0) return;
    if (vs->redrawHold == 0) SendMessageA(vs->list, WM_SETREDRAW, FALSE, 0);
    vs->redrawHold += holds;
}

int ListRowCount(HWND view)
{
    ViewState *vs = ListViewState(view);
    return vs ? int(SendMessageA(vs->list, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int ListNextRow(HWND view, int after, UINT flags)
{
    ViewState *vs = ListViewState(view);
    if (!vs) return -1;
    // In a report list the rows stand in index order, so the row below is the next index.
    const int count = int(vs->rows->values.size());
    if (after >= 0 && after < count) {
        if (flags == LVNI_ALL || flags == LVNI_BELOW) return after + 1 < count ? after + 1 : -1;
        if (flags == LVNI_ABOVE) return after - 1;
    }
    return int(SendMessageA(vs->list, LVM_GETNEXTITEM, WPARAM(after), MAKELPARAM(flags, 0)));
}

UINT ListRowValue(HWND view, int row)
{
    ViewState *vs = ListViewState(view);
    if (!vs || row < 0 || size_t(row) >= vs->rows->values.size()) return 0;
    return vs->rows->values[size_t(row)];
}

bool ListGetCell(HWND view, int row, int column, char *out, int capacity)
{
    ViewState *vs = ListViewState(view);
    if (!out || capacity <= 0) return false;
    out[0] = '\0';
    if (!vs || row < 0 || size_t(row) >= vs->rows->values.size() || column < 0 || column >= vs->rows->columns)
        return false;
    if (column == kColumnTranslated) {
        const char *text = vs->rows->TranslationAt(size_t(row));
        const size_t room = size_t(capacity < kTextSize ? capacity : kTextSize) - 1;
        const size_t length = strnlen(text, room);
        memcpy(out, text, length);
        out[length] = '\0';
        return true;
    }
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = out;
    item.cchTextMax = capacity < kTextSize ? capacity : kTextSize;
    SendMessageA(vs->list, LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    out[item.cchTextMax - 1] = '\0';
    return true;
}

// The text itself when it fits a cell, otherwise its whole characters that fit, in buffer.
static const char *FitCell(const char *text, char *buffer)
{
    if (!text) return "";
    const size_t length = strnlen(text, kTextSize);
    if (length < size_t(kTextSize)) return text;
    const size_t end = CutAtCharBoundary(text, length, kTextSize - 1, IsAnsiLeadByte);
    memcpy(buffer, text, end);
    buffer[end] = '\0';
    return buffer;
}

bool ListSetCell(HWND view, int row, int column, const char *text)
{
    ViewState *vs = ListViewState(view);
    if (!vs || row < 0) return false;
    char cut[kTextSize];
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char *>(FitCell(text, cut));
    if (!SendMessageA(vs->list, LVM_SETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item))) return false;
    if (column != kColumnTranslated || size_t(row) >= vs->rows->translations.size()) return true;
    // The control keeps UTF-16: bytes the code page cannot convert come back as something else,
    // and the copy must hold what the cell shows.
    if (!MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, item.pszText, -1, nullptr, 0)) {
        char shown[2 * kTextSize];
        LVITEMA get = {};
        get.iSubItem = column;
        get.pszText = shown;
        get.cchTextMax = sizeof shown;
        SendMessageA(vs->list, LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&get));
        shown[sizeof shown - 1] = '\0';
        item.pszText = const_cast<char *>(FitCell(shown, cut));
        // Replacements may take more bytes than what they replace: then the cell takes the cut text too.
        if (item.pszText != shown)
            SendMessageA(vs->list, LVM_SETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    }
    // The copy beside the control; without memory for it the cell takes its old text back.
    char *&copy = vs->rows->translations[size_t(row)];
    char *kept = nullptr;
    if (item.pszText[0]) {
        const size_t size = strlen(item.pszText) + 1;
        kept = static_cast<char *>(malloc(size));
        if (!kept) {
            item.pszText = const_cast<char *>(vs->rows->TranslationAt(size_t(row)));
            SendMessageA(vs->list, LVM_SETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
            return false;
        }
        memcpy(kept, item.pszText, size);
    }
    free(copy);
    copy = kept;
    return true;
}

int ListAppendRow(HWND view, UINT value, const char *idText, const char *text)
{
    ViewState *vs = ListViewState(view);
    if (!vs) return -1;
    char cut[kTextSize];
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = int(vs->rows->values.size());
    item.pszText = const_cast<char *>(FitCell(idText, cut));
    item.lParam = LPARAM(value);
    int row = int(SendMessageA(vs->list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return -1;
    const char *source = FitCell(text, cut);
    ListRows &rows = *vs->rows;
    // Room first in every copy, so that the row goes into all of them or into none.
    const size_t sourceSize = strlen(source) + 1;
    if (!rows.values.Reserve(1) || !rows.translations.Reserve(1) || !rows.sourceAt.Reserve(1) ||
        !rows.sourceBlock.Reserve(sourceSize)) {
        SendMessageA(vs->list, LVM_DELETEITEM, WPARAM(row), 0);
        return -1;
    }
    rows.values.Insert(size_t(row), value);
    rows.translations.Insert(size_t(row), nullptr);
    rows.sourceAt.Insert(size_t(row), uint32_t(rows.sourceBlock.size()));
    rows.sourceBlock.Append(source, sourceSize);
    if (source[0]) {
        item.mask = 0;
        item.iSubItem = kColumnText;
        item.pszText = const_cast<char *>(source);
        SendMessageA(vs->list, LVM_SETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    }
    return row;
}

void ListSetRowState(HWND view, int row, UINT state, UINT mask)
{
    ViewState *vs = ListViewState(view);
    if (!vs || row < -1) return;
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(vs->list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&item));
}

void ListEnsureVisible(HWND view, int row)
{
    ViewState *vs = ListViewState(view);
    if (vs && row >= 0) SendMessageA(vs->list, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
}
