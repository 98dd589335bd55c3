// The Translate and Signature dialogs and the commands that drive them.
#include "view/translate.h"

#include <cstdio>

#include "state/appstate.h"
#include "state/viewstate.h"
#include "frame/leadbytes.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "view/changes.h"
#include "view/displaytext.h"
#include "view/list.h"
#include "view/problems.h"
#include "view/worktrack.h"
#include "state/textsize.h"

// Each stored byte may be an LF that the field shows as CR LF: room for the whole text doubled.
constexpr size_t kDisplaySize = 2 * (sizeof TranslationRecord::translation - 1) + 1;

// The problems of the text in the field, under it. The translator decides: OK still accepts.
static void ShowTypedProblems(HWND dialog, const TranslationRecord *record)
{
    if (!record) return;
    char typed[kDisplaySize];
    char text[kDisplaySize];
    GetDlgItemTextA(dialog, IDC_TR_TRANSLATION, typed, sizeof typed);
    // The whole typed text, not the part a record keeps: a text too long to save is a problem too.
    FromDisplayText(typed, text, sizeof text, IsAnsiLeadByte);
    char line[kDisplaySize];
    DescribeProblems(record->source, text, line, sizeof line);
    SetDlgItemTextA(dialog, IDC_TR_PROBLEMS, line);
}

static void OnTranslateInit(HWND dialog, TranslationRecord *record)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(record));
    LocaliseDialog(dialog, IDD_TRANSLATE);
    char id[16];
    snprintf(id, sizeof id, "%u", record->stringId);
    SetDlgItemTextA(dialog, IDC_TR_ID, id);
    SetDlgItemTextA(dialog, IDC_TR_SOURCE, record->source);
    SendDlgItemMessageA(dialog, IDC_TR_TRANSLATION, EM_LIMITTEXT, kDisplaySize - 1, 0);
    char display[kDisplaySize];
    ToDisplayText(record->translation, display, sizeof display);
    SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, display);
    ShowTypedProblems(dialog, record);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_TR_TRANSLATION)), TRUE);
}

static void OnTranslateCommand(HWND dialog, UINT id)
{
    auto *record = reinterpret_cast<TranslationRecord *>(GetWindowLongPtrA(dialog, DWLP_USER));
    HWND field = GetDlgItem(dialog, IDC_TR_TRANSLATION);
    switch (id) {
    case IDC_TR_INSERT_ENTER:
        // The multi-line field turns a typed LF into a line break at the caret.
        SendMessageA(field, WM_CHAR, '\n', 0);
        break;
    case IDC_TR_COPY: {
        char source[kTextSize];
        GetDlgItemTextA(dialog, IDC_TR_SOURCE, source, sizeof source);
        if (source[0]) SetWindowTextA(field, source);
        // Setting a multi-line field's text sends no EN_CHANGE.
        ShowTypedProblems(dialog, record);
        break;
    }
    case IDOK: {
        char text[kDisplaySize];
        char shown[kDisplaySize];
        GetWindowTextA(field, text, sizeof text);
        // An untouched field keeps the stored text as it is, stray CRs included.
        if (record) ToDisplayText(record->translation, shown, sizeof shown);
        if (record && lstrcmpA(text, shown) != 0)
            FromDisplayText(text, record->translation, sizeof record->translation, IsAnsiLeadByte);
        EndDialog(dialog, 0);
        break;
    }
    case IDCANCEL: EndDialog(dialog, -1); break;
    }
}

static INT_PTR CALLBACK TranslateDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnTranslateInit(dialog, reinterpret_cast<TranslationRecord *>(lp));
        return FALSE; // the focus was set by hand
    case WM_COMMAND:
        if (LOWORD(wp) == IDC_TR_TRANSLATION && HIWORD(wp) == EN_CHANGE) {
            ShowTypedProblems(dialog, reinterpret_cast<TranslationRecord *>(GetWindowLongPtrA(dialog, DWLP_USER)));
            return TRUE;
        }
        OnTranslateCommand(dialog, LOWORD(wp));
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    return FALSE;
}

int TranslateRow(HWND view, int row, uint32_t stringId)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->list) return 0;
    auto *record = static_cast<TranslationRecord *>(LocalAlloc(LPTR, sizeof(TranslationRecord)));
    if (!record) return 0;
    record->stringId = stringId;
    WorkRecordPlace(view, stringId);
    ListEnsureVisible(view, row);
    ListGetCell(view, row, kColumnText, record->source, sizeof record->source);
    ListGetCell(view, row, kColumnTranslated, record->translation, sizeof record->translation);
    char before[kTextSize];
    lstrcpynA(before, record->translation, sizeof before);
    INT_PTR result = DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_TRANSLATE), vs->list, TranslateDialogProc,
                                     reinterpret_cast<LPARAM>(record));
    int confirmed = result == 0;
    if (confirmed && lstrcmpA(before, record->translation) != 0) {
        ListSetCell(view, row, kColumnTranslated, record->translation);
        NotifyRowChanged(view, row, stringId, before, record->translation, kChangeTyped);
    }
    LocalFree(record);
    return confirmed;
}

LRESULT TranslateSelected(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->list) return 0;
    LRESULT count = 0;
    for (int row = ListNextRow(view, -1, LVNI_SELECTED); row >= 0; row = ListNextRow(view, row, LVNI_SELECTED)) {
        ListSetRowState(view, row, LVIS_FOCUSED, LVIS_FOCUSED);
        UINT id = ListRowValue(view, row);
        if (id == 0) continue;
        if (!TranslateRow(view, row, id)) break;
        ++count;
    }
    return count;
}

// Opens the Translate dialog for each untranslated string row from `first` on, one row per
// step (1 down, -1 up), in one pass; beeps when there is none. The count confirmed.
static LRESULT TranslateUntranslatedFrom(HWND view, int first, int step)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->list) return 0;
    LRESULT confirmed = 0;
    bool found = false;
    char cell[kTextSize];
    const int count = ListRowCount(view);
    for (int row = first; row >= 0 && row < count; row += step) {
        UINT id = ListRowValue(view, row);
        if (id == 0) continue;
        if (ListGetCell(view, row, kColumnTranslated, cell, sizeof cell) && cell[0]) continue;
        found = true;
        if (!TranslateRow(view, row, id)) break;
        ++confirmed;
    }
    if (!found) MessageBeep(0xFFFFFFFF);
    return confirmed;
}

LRESULT TranslateUntranslated(HWND view)
{
    return TranslateUntranslatedFrom(view, 0, 1);
}

LRESULT TranslatePreviousUntranslated(HWND view)
{
    const int focused = ListNextRow(view, -1, LVNI_FOCUSED);
    return TranslateUntranslatedFrom(view, (focused >= 0 ? focused : ListRowCount(view)) - 1, -1);
}

static INT_PTR CALLBACK SignatureDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lp);
        LocaliseDialog(dialog, IDD_SIGNATURE);
        SendDlgItemMessageA(dialog, IDC_SIG_TEXT, EM_LIMITTEXT, 4096, 0);
        SetDlgItemTextA(dialog, IDC_SIG_TEXT, reinterpret_cast<const char *>(lp));
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_SIG_TEXT)), TRUE);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            auto *buffer = reinterpret_cast<char *>(GetWindowLongPtrA(dialog, DWLP_USER));
            GetDlgItemTextA(dialog, IDC_SIG_TEXT, buffer, 4096);
            EndDialog(dialog, 0);
        } else if (LOWORD(wp) == IDCANCEL) {
            EndDialog(dialog, -1);
        }
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    return FALSE;
}

LRESULT EditSignature(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->list) return 0;
    char before[sizeof vs->signature];
    lstrcpynA(before, vs->signature, sizeof before);
    INT_PTR result = DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_SIGNATURE), view, SignatureDialogProc,
                                     reinterpret_cast<LPARAM>(vs->signature));
    if (result < 0) return 0;
    if (lstrcmpA(before, vs->signature) != 0) NotifySignatureChanged(view, before, kChangeTyped);
    return 1;
}
