// The status bar at the bottom of the view: owner-drawn panes from the pane list, and the
// status message.
#include "frame/statusbar.h"

#include <cstring>

#include "state/appstate.h"
#include "state/viewstate.h"
#include "state/sysdlls.h"
#include "frame/sizetext.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "frame/leadbytes.h"
#include "frame/pathparts.h"
#include "state/textsize.h"

namespace
{

using TextGetter = bool (*)(ViewState *vs, char *out, size_t capacity);
using PartDrawer = bool (*)(ViewState *vs, HDC dc, RECT *rc, const char *text);

struct PaneType {
    UINT nameId; // 0: none
    TextGetter getText;
    PartDrawer draw; // null: the text alone
    int extraWidth;
};

constexpr int kIconGap = 20;

const StatusSource *g_source;

StatusFacts Facts(ViewState *vs)
{
    StatusFacts facts = {"", false};
    if (g_source && g_source->facts) g_source->facts(vs->view, &facts);
    if (!facts.path) facts.path = "";
    return facts;
}

bool FileNameText(ViewState *vs, char *out, size_t capacity)
{
    StatusFacts facts = Facts(vs);
    if (!facts.path[0]) return false;
    lstrcpynA(out, FileNamePart(facts.path, IsAnsiLeadByte), int(capacity));
    return true;
}

bool FolderText(ViewState *vs, char *out, size_t capacity)
{
    return FolderPart(Facts(vs).path, out, capacity, IsAnsiLeadByte);
}

bool FileTimeText(ViewState *vs, char *out, size_t capacity)
{
    const char *path = Facts(vs).path;
    return path[0] && FormatFileDateTime(path, out, capacity);
}

bool FileSizeText(ViewState *vs, char *out, size_t capacity)
{
    const char *path = Facts(vs).path;
    if (!path[0]) return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    uint64_t size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return FormatFileSize(size, out, capacity, true);
}

bool ProblemsText(ViewState *vs, char *out, size_t capacity)
{
    return g_source && g_source->problemsText && g_source->problemsText(vs->view, out, capacity);
}

bool ProgressText(ViewState *vs, char *out, size_t capacity)
{
    return g_source && g_source->progressText && g_source->progressText(vs->view, out, capacity);
}

bool FillerText(ViewState *, char *out, size_t capacity)
{
    if (capacity) out[0] = '\0';
    return true;
}

bool MessageText(ViewState *vs, char *out, size_t capacity)
{
    lstrcpynA(out, vs->statusMessage, int(capacity));
    return true;
}

bool DrawIconThenText(HDC dc, RECT *rc, HICON icon, const char *text)
{
    if (icon) {
        DrawIconEx(dc, rc->left, rc->top, icon, 0, 0, 0, nullptr, DI_NORMAL);
        rc->left += kIconGap;
    }
    DrawTextA(dc, text, -1, rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    return true;
}

bool DrawResourceIcon(HDC dc, RECT *rc, UINT iconId, const char *text)
{
    HICON icon = iconId ? static_cast<HICON>(
                              LoadImageA(AppInstance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR))
                        : nullptr;
    DrawIconThenText(dc, rc, icon, text);
    if (icon) DestroyIcon(icon);
    return true;
}

bool DrawFileName(ViewState *vs, HDC dc, RECT *rc, const char *text)
{
    HICON icon = nullptr;
    StatusFacts facts = Facts(vs);
    if (facts.fileBacked) {
        SHFILEINFOA info = {};
        if (SysGetFileInfo(facts.path, 0, &info, SHGFI_ICON | SHGFI_SMALLICON)) icon = info.hIcon;
    }
    DrawIconThenText(dc, rc, icon, text);
    if (icon) DestroyIcon(icon);
    return true;
}

bool DrawFolder(ViewState *, HDC dc, RECT *rc, const char *text)
{
    return DrawResourceIcon(dc, rc, IDI_FOLDER, text);
}

bool DrawFileTime(ViewState *, HDC dc, RECT *rc, const char *text)
{
    return DrawResourceIcon(dc, rc, IDI_FILETIME, text);
}

bool DrawMessage(ViewState *vs, HDC dc, RECT *rc, const char *text)
{
    return DrawResourceIcon(dc, rc, vs->statusIcon, text);
}

const PaneType kPlainTypes[] = {
    {IDS_PANE_FILENAME, FileNameText, DrawFileName, kIconGap},
    {IDS_PANE_FOLDER, FolderText, DrawFolder, kIconGap},
    {IDS_PANE_FILETIME, FileTimeText, DrawFileTime, kIconGap},
    {IDS_PANE_FILESIZE, FileSizeText, nullptr, 0},
    {IDS_PANE_PROBLEMS, ProblemsText, nullptr, 0}, // problems: "2 errors, 5 warnings"
    {IDS_PANE_PROGRESS, ProgressText, nullptr, 0},
};

const PaneType kFlaggedTypes[] = {
    {IDS_PANE_FILLER, FillerText, nullptr, 0},
    {0, MessageText, DrawMessage, kIconGap},
};

// The row of a pane type; null for types outside the table.
const PaneType *FindPaneType(UINT type)
{
    UINT index = type & ~kPaneFlagged;
    if (type & kPaneFlagged)
        return index < sizeof kFlaggedTypes / sizeof kFlaggedTypes[0] ? &kFlaggedTypes[index] : nullptr;
    return type < sizeof kPlainTypes / sizeof kPlainTypes[0] ? &kPlainTypes[type] : nullptr;
}

bool IsFlagged(UINT type)
{
    return (type & kPaneFlagged) != 0;
}

LRESULT CALLBACK StatusBarProc(HWND bar, UINT msg, WPARAM wp, LPARAM lp)
{
    auto *vs = reinterpret_cast<ViewState *>(GetWindowLongPtrA(bar, GWLP_USERDATA));
    if (!vs || !vs->statusPrevProc) return DefWindowProcA(bar, msg, wp, lp);
    if (vs->statusTip && ((msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_MOUSEMOVE)) {
        if (msg == WM_MOUSEMOVE) {
            // Ask for the text again: the pane under the mouse may have changed.
            TOOLINFOA ti = {};
            ti.cbSize = sizeof ti;
            ti.hwnd = vs->view;
            ti.uId = reinterpret_cast<UINT_PTR>(bar);
            if (SendMessageA(vs->statusTip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti))) {
                ti.lpszText = LPSTR_TEXTCALLBACKA;
                SendMessageA(vs->statusTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
            }
        }
        MSG relay = {bar, msg, wp, lp, 0, {0, 0}};
        SendMessageA(vs->statusTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
    }
    return CallWindowProcA(vs->statusPrevProc, bar, msg, wp, lp);
}

void CreateStatusTip(ViewState *vs)
{
    vs->statusTip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, vs->statusBar, nullptr, AppInstance(), nullptr);
    if (!vs->statusTip) return;
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = vs->view; // the tooltip's notifications go to the view
    ti.uId = reinterpret_cast<UINT_PTR>(vs->statusBar);
    ti.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(vs->statusTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CreateStatusFont(HWND bar)
{
    AppState &app = App();
    if (app.statusFont) DeleteObject(app.statusFont);
    app.statusFont = nullptr;
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    // Built for Windows XP, the structure has the size every later system also accepts.
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return;
    app.statusFont = CreateFontIndirectA(&ncm.lfStatusFont);
    if (app.statusFont) SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(app.statusFont), FALSE);
}

} // namespace

void SetStatusSource(const StatusSource *source)
{
    g_source = source;
}

void DestroyStatusBar(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    if (vs->statusTip) DestroyWindow(vs->statusTip);
    vs->statusTip = nullptr;
    if (vs->statusBar) {
        SetWindowLongPtrA(vs->statusBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(vs->statusPrevProc));
        DestroyWindow(vs->statusBar);
    }
    vs->statusBar = nullptr;
    vs->statusPrevProc = nullptr;
    vs->partCount = 0;
}

void ShowStatusBar(HWND view, bool show)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    DestroyStatusBar(view);
    if (!show) return;
    HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | SBARS_SIZEGRIP, 0, 0, 0, 0, view,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)), AppInstance(), nullptr);
    if (!bar) return;
    vs->statusBar = bar;
    SetWindowLongPtrA(bar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(vs));
    vs->statusPrevProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusBarProc)));
    // A double-click on the bar means nothing here.
    SetClassLongPtrA(bar, GCL_STYLE, GetClassLongPtrA(bar, GCL_STYLE) & ~LONG_PTR(CS_DBLCLKS));
    CreateStatusTip(vs);
}

void RepositionStatusBar(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->statusBar) return;
    SendMessageA(vs->statusBar, WM_SIZE, 0, 0); // the control places itself at the bottom
    ShowWindow(vs->statusBar, SW_SHOWNA);
}

static void SetPartContents(ViewState *vs)
{
    for (int i = 0; i < vs->partCount; ++i) {
        SendMessageA(vs->statusBar, SB_SETTEXTA, WPARAM(i) | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(&vs->parts[i]));
    }
}

void LayoutStatusBar(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->statusBar) return;
    HWND bar = vs->statusBar;
    CreateStatusFont(bar);
    HDC dc = GetDC(bar);
    HGDIOBJ oldFont = App().statusFont ? SelectObject(dc, App().statusFont) : nullptr;
    char *cursor = vs->partText;
    char *end = vs->partText + sizeof vs->partText;
    int right = 0;
    int count = 0;
    int edges[64];
    const PaneList &panes = App().settings.panes;
    for (int i = 0; i < panes.Count() && count < 64 && cursor < end; ++i) {
        UINT type = *panes.Get(i);
        const PaneType *pane = FindPaneType(type);
        if (!pane || !pane->getText || !pane->getText(vs, cursor, size_t(end - cursor))) continue;
        SIZE extent = {};
        GetTextExtentPoint32A(dc, cursor, int(strlen(cursor)), &extent);
        POINT width = {extent.cx + 12, 0};
        LPtoDP(dc, &width, 1);
        right += width.x + pane->extraWidth;
        StatusPart &part = vs->parts[count];
        part.type = type;
        part.right = IsFlagged(type) ? -1 : right;
        part.text = cursor;
        edges[count++] = part.right;
        cursor += strlen(cursor) + 1;
    }
    if (oldFont) SelectObject(dc, oldFont);
    ReleaseDC(bar, dc);
    vs->partCount = count;
    SendMessageA(bar, SB_SETPARTS, WPARAM(count), reinterpret_cast<LPARAM>(edges));
    SetPartContents(vs);
    UpdateWindow(bar);
}

BOOL ShowStatusMessage(HWND view, UINT icon, const char *text)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return FALSE;
    vs->statusIcon = icon;
    lstrcpynA(vs->statusMessage, text ? text : "", sizeof vs->statusMessage);
    if (!vs->statusBar || vs->partCount == 0) return TRUE;
    // The entry after the plain ones (the filler) becomes the message pane for good.
    PaneList &panes = App().settings.panes;
    for (int i = 0; i < panes.Count(); ++i) {
        if (IsFlagged(*panes.Get(i))) {
            *panes.Get(i) = kPaneMessage;
            break;
        }
    }
    StatusPart &last = vs->parts[vs->partCount - 1];
    last.type = kPaneMessage;
    char *end = vs->partText + sizeof vs->partText;
    MessageText(vs, const_cast<char *>(last.text), size_t(end - last.text));
    SendMessageA(vs->statusBar, SB_SETTEXTA, WPARAM(vs->partCount - 1) | SBT_OWNERDRAW,
                 reinterpret_cast<LPARAM>(&last));
    return TRUE;
}

BOOL DrawStatusPart(HWND view, const DRAWITEMSTRUCT *draw)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !draw) return FALSE;
    const auto *part = reinterpret_cast<const StatusPart *>(draw->itemData);
    if (!part || !part->text) return FALSE;
    const PaneType *pane = FindPaneType(part->type);
    if (!pane) return FALSE;
    HDC dc = draw->hDC;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT rc = draw->rcItem;
    rc.left += 2;
    rc.right -= 2;
    if (IsFlagged(part->type)) rc.right -= 12; // clear of the size grip
    if (!pane->draw || !pane->draw(vs, dc, &rc, part->text)) {
        DrawTextA(dc, part->text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SetBkMode(dc, oldMode);
    return TRUE;
}

bool StatusTooltipText(HWND view, NMTTDISPINFOA *info)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->statusBar || !info || info->hdr.idFrom != reinterpret_cast<UINT_PTR>(vs->statusBar)) return false;
    info->szText[0] = '\0';
    info->lpszText = info->szText;
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(vs->statusBar, &pt);
    for (int i = 0; i < vs->partCount; ++i) {
        RECT rc;
        if (!SendMessageA(vs->statusBar, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&rc)) || !PtInRect(&rc, pt))
            continue;
        UINT type = vs->parts[i].type;
        const PaneType *pane = FindPaneType(type);
        if (!pane) break;
        if (!IsFlagged(type)) {
            char name[kTextSize];
            if (LoadUiText(pane->nameId, name)) lstrcpynA(info->szText, name, sizeof info->szText);
        } else if (pane->getText) {
            char text[512];
            if (pane->getText(vs, text, sizeof text)) lstrcpynA(info->szText, text, sizeof info->szText);
        }
        break;
    }
    return true;
}

bool FormatFileDateTime(const char *path, char *out, size_t capacity)
{
    if (!out || capacity == 0) return false;
    out[0] = '\0';
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path, &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &st)) return false;
    // The user's default long-date and time formats.
    int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, out, int(capacity));
    if (n <= 0) {
        out[0] = '\0'; // Wine fills a buffer that is too small without a terminator
        return false;
    }
    size_t used = strlen(out);
    if (used + 2 >= capacity) return true;
    out[used++] = ' ';
    if (GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, out + used, int(capacity - used)) <= 0)
        out[used - 1] = '\0';
    return true;
}
