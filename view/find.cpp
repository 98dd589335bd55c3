// Find: the platform's modeless Find dialog over the translations, and Find Next.
#include "view/find.h"

#include <cstring>

#include "state/appstate.h"
#include "state/viewstate.h"
#include "state/sysdlls.h"
#include "frame/leadbytes.h"
#include "view/list.h"
#include "view/textsearch.h"
#include "state/textsize.h"

// The options of the last search. The dialog rewrites the request's flags on every
// notification of its controls, and Wine's clears them while the dialog is being destroyed,
// so they are kept apart, in the request's application field, as the dialog reported them
// when the user searched or closed it. Find Next and the next dialog take them from there.
constexpr DWORD kSearchOptions = FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD;

static DWORD LastOptions(const FINDREPLACEA &fr)
{
    return DWORD(fr.lCustData) & kSearchOptions;
}

void InitFindState(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    vs->findMessage = RegisterWindowMessageA(FINDMSGSTRINGA);
    vs->findDialog = nullptr;
    vs->findWhat[0] = '\0';
    FINDREPLACEA &fr = vs->findRequest;
    memset(&fr, 0, sizeof fr);
    fr.lStructSize = sizeof fr;
    fr.hwndOwner = vs->list;
    fr.hInstance = AppInstance();
    fr.Flags = FR_DOWN;
    fr.lCustData = FR_DOWN;
    fr.lpstrFindWhat = vs->findWhat;
    fr.wFindWhatLen = sizeof vs->findWhat;
}

LRESULT OpenFindDialog(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->findMessage) return 0;
    // One dialog at a time: the request is shared with it.
    if (vs->findDialog && IsWindow(vs->findDialog)) {
        SetForegroundWindow(vs->findDialog);
        SetFocus(vs->findDialog);
        return 1;
    }
    vs->findRequest.hwndOwner = vs->list;
    vs->findRequest.Flags = LastOptions(vs->findRequest);
    vs->findDialog = SysFindText(&vs->findRequest);
    return vs->findDialog != nullptr;
}

LRESULT FindNextCommand(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return 0;
    FINDREPLACEA request = vs->findRequest;
    request.Flags = LastOptions(request);
    return SearchRows(view, &request) >= 0;
}

bool HandleFindMessage(HWND view, UINT msg, WPARAM, LPARAM)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->findMessage || msg != vs->findMessage) return false;
    FINDREPLACEA &fr = vs->findRequest;
    if (fr.Flags & (FR_FINDNEXT | FR_DIALOGTERM)) fr.lCustData = LPARAM(fr.Flags & kSearchOptions);
    if (fr.Flags & FR_FINDNEXT)
        SearchRows(view, &fr);
    else if (fr.Flags & FR_DIALOGTERM)
        vs->findDialog = nullptr;
    return true;
}

bool FindDialogFilter(HWND view, MSG *msg)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->findDialog) return false;
    return IsDialogMessageA(vs->findDialog, msg) != FALSE;
}

int SearchRows(HWND view, const FINDREPLACEA *request)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->list || !request->lpstrFindWhat || request->lpstrFindWhat[0] == '\0') return -1;
    SearchOptions options = {(request->Flags & FR_MATCHCASE) != 0, (request->Flags & FR_WHOLEWORD) != 0};
    UINT direction = (request->Flags & FR_DOWN) ? LVNI_BELOW : LVNI_ABOVE;
    int row = ListNextRow(view, -1, LVNI_SELECTED);
    char cell[kTextSize];
    for (;;) {
        // With nothing selected a downward search starts at the top; upward finds nothing.
        row = row < 0 ? ((direction == LVNI_BELOW && ListRowCount(view) > 0) ? 0 : -1)
                      : ListNextRow(view, row, direction);
        if (row < 0) break;
        if (ListRowValue(view, row) == 0) continue;
        if (!ListGetCell(view, row, kColumnTranslated, cell, sizeof cell) || cell[0] == '\0') continue;
        if (!TextMatches(cell, request->lpstrFindWhat, options, IsAnsiLeadByte)) continue;
        for (int sel = ListNextRow(view, -1, LVNI_SELECTED); sel >= 0; sel = ListNextRow(view, sel, LVNI_SELECTED))
            ListSetRowState(view, sel, 0, LVIS_SELECTED);
        ListSetRowState(view, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        ListEnsureVisible(view, row);
        return row;
    }
    HWND owner = (vs->findDialog && IsWindow(vs->findDialog)) ? vs->findDialog : vs->list;
    MessageBoxA(owner, "Text not found", nullptr, MB_OK | MB_ICONERROR);
    return -1;
}
