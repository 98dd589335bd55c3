// Undo, redo and revert: the history of app/undohistory.h applied to the list and signature.
#include "app/docundo.h"

#include <cstring>

#include "app/appwindows.h"
#include "langfile/lngmodel.h"
#include "app/undohistory.h"
#include "view/list.h"
#include "state/textsize.h"

static UndoHistory *History(ViewState *vs)
{
    if (!vs->history) vs->history = UndoHistoryCreate(kUndoHistorySteps);
    return vs->history;
}

static void Record(HWND view, UndoKind kind, UINT stringId, const char *before, const char *after)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    UndoStep step = {kind, stringId, before, strlen(before), after, strlen(after)};
    UndoHistory *history = History(vs);
    // Without a history the change cannot be undone, and the document stays modified.
    if (!history || !UndoHistoryAdd(history, &step)) vs->historyLost = TRUE;
}

void UndoRecordRow(HWND view, UINT stringId, const char *before, const char *after)
{
    Record(view, kUndoText, stringId, before, after);
}

void UndoRecordSignature(HWND view, const char *before, const char *after)
{
    Record(view, kUndoSignature, 0, before, after);
}

bool UndoDocumentModified(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return false;
    return vs->historyLost || !vs->history || UndoHistoryModified(vs->history);
}

// The translations of every row and the signature as they stand, sorted for the look-ups.
static void TakeSavedTexts(HWND view, ViewState *vs)
{
    LangFileFree(vs->savedTexts);
    vs->savedTexts = LangFileCreate();
    if (!vs->savedTexts) return;
    char text[kTextSize];
    for (int row = ListNextRow(view, -1, LVNI_ALL); row >= 0; row = ListNextRow(view, row, LVNI_ALL)) {
        const UINT id = ListRowValue(view, row);
        if (id == 0 || id >= kLangIdLimit) continue;
        if (!ListGetCell(view, row, kColumnTranslated, text, sizeof text) || !text[0]) continue;
        if (!LangFileAdd(vs->savedTexts, id, text)) {
            // Revert then finds nothing rather than a wrong text.
            LangFileFree(vs->savedTexts);
            vs->savedTexts = nullptr;
            return;
        }
    }
    LangFileSort(vs->savedTexts);
}

void UndoDocumentFilled(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    UndoHistoryClear(vs->history);
    vs->historyLost = FALSE;
    TakeSavedTexts(view, vs);
}

void UndoDocumentSaved(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    UndoHistoryMarkSaved(History(vs));
    vs->historyLost = FALSE;
    TakeSavedTexts(view, vs);
}

void UndoRelease(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    UndoHistoryFree(vs->history);
    vs->history = nullptr;
    LangFileFree(vs->savedTexts);
    vs->savedTexts = nullptr;
}

bool CanUndoChange(HWND view)
{
    ViewState *vs = GetViewState(view);
    return vs && UndoHistoryCanUndo(vs->history);
}

bool CanRedoChange(HWND view)
{
    ViewState *vs = GetViewState(view);
    return vs && UndoHistoryCanRedo(vs->history);
}

static int RowOfId(HWND view, UINT stringId)
{
    for (int row = ListNextRow(view, -1, LVNI_ALL); row >= 0; row = ListNextRow(view, row, LVNI_ALL))
        if (ListRowValue(view, row) == stringId) return row;
    return -1;
}

static void FocusRow(HWND view, int row)
{
    for (int sel = ListNextRow(view, -1, LVNI_SELECTED); sel >= 0; sel = ListNextRow(view, sel, LVNI_SELECTED))
        ListSetRowState(view, sel, 0, LVIS_SELECTED);
    ListSetRowState(view, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    ListEnsureVisible(view, row);
}

// Sets a row's text or the signature to text, as a change of the given source.
static bool Apply(HWND view, const UndoStep *step, const char *text, ChangeSource source)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return false;
    if (step->kind == kUndoSignature) {
        char before[sizeof vs->signature];
        lstrcpynA(before, vs->signature, sizeof before);
        lstrcpynA(vs->signature, text, sizeof vs->signature);
        DocumentSignatureChanged(view, before, source);
        return true;
    }
    const int row = RowOfId(view, step->stringId);
    if (row < 0) return false;
    char before[kTextSize];
    if (!ListGetCell(view, row, kColumnTranslated, before, sizeof before)) before[0] = '\0';
    if (!ListSetCell(view, row, kColumnTranslated, text)) return false;
    FocusRow(view, row);
    DocumentRowChanged(view, row, step->stringId, before, text, source);
    return true;
}

LRESULT UndoChange(HWND view)
{
    ViewState *vs = GetViewState(view);
    const UndoStep *step = vs ? UndoHistoryUndo(vs->history) : nullptr;
    if (!step) return 0;
    if (Apply(view, step, step->before, kChangeUndone)) return 1;
    UndoHistoryRedo(vs->history);
    return 0;
}

LRESULT RedoChange(HWND view)
{
    ViewState *vs = GetViewState(view);
    const UndoStep *step = vs ? UndoHistoryRedo(vs->history) : nullptr;
    if (!step) return 0;
    if (Apply(view, step, step->after, kChangeRedone)) return 1;
    UndoHistoryUndo(vs->history);
    return 0;
}

LRESULT RevertRow(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return 0;
    const int row = ListNextRow(view, -1, LVNI_FOCUSED);
    const UINT id = row >= 0 ? ListRowValue(view, row) : 0;
    if (id == 0) return 0;
    char saved[kTextSize] = "", now[kTextSize] = "";
    // No copy (memory ran short) leaves the row as it is.
    if (!vs->savedTexts) return 0;
    if (!LangFileFind(vs->savedTexts, id, saved)) saved[0] = '\0';
    if (!ListGetCell(view, row, kColumnTranslated, now, sizeof now)) return 0;
    if (strcmp(saved, now) == 0) return 0;
    if (!ListSetCell(view, row, kColumnTranslated, saved)) return 0;
    DocumentRowChanged(view, row, id, now, saved, kChangeReverted);
    return 1;
}
