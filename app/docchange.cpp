// What follows a change of the document.
#include "app/docchange.h"

#include "app/appwindows.h"
#include "app/commands.h"
#include "app/docjournal.h"
#include "app/docundo.h"
#include "app/document.h"
#include "frame/menus.h"
#include "view/problems.h"
#include "view/worktrack.h"

// The title's asterisk follows the history: undoing back to the saved state clears it.
static void FollowModified(HWND view, bool couldUndo, bool couldRedo)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    // Undo and redo follow the history (a shortcut of a greyed command does not run); the
    // states are set again only when one of them changes, as that costs more than the journal.
    if (CanUndoChange(view) != couldUndo || CanRedoChange(view) != couldRedo) UpdateCommandStates(view);
    const BOOL modified = UndoDocumentModified(view) ? TRUE : FALSE;
    // Back at the saved state the journal holds no unsaved work.
    if (!modified) JournalDiscard(view);
    if (vs->modified == modified) return;
    vs->modified = modified;
    RefreshTitle(view);
}

void DocumentRowChanged(HWND view, int row, UINT stringId, const char *before, const char *after, ChangeSource source)
{
    // On disk first: a kill from here on loses nothing committed.
    JournalRowChange(view, stringId, after);
    const bool couldUndo = CanUndoChange(view), couldRedo = CanRedoChange(view);
    if (source != kChangeUndone && source != kChangeRedone) UndoRecordRow(view, stringId, before, after);
    FollowModified(view, couldUndo, couldRedo);
    // Problems: the row's mark and the counts follow its text.
    ProblemsCheckRow(view, row);
    // Progress: the counts, the category row and the pane
    WorkTrackRowChanged(view, row, stringId, before, after);
    // Repeated texts: last, once every other part has taken the typed change
    if (source == kChangeTyped) OfferRepeatedFill(view, row, after);
}

void DocumentSignatureChanged(HWND view, const char *before, ChangeSource source)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    JournalSignatureChange(view);
    const bool couldUndo = CanUndoChange(view), couldRedo = CanRedoChange(view);
    if (source != kChangeUndone && source != kChangeRedone) UndoRecordSignature(view, before, vs->signature);
    FollowModified(view, couldUndo, couldRedo);
}

void DocumentFilled(HWND view)
{
    JournalDiscard(view);
    UndoDocumentFilled(view);
    if (ViewState *vs = GetViewState(view)) vs->modified = FALSE;
    // Problems: every row once; from here on only the rows that change.
    ProblemsCheckAll(view);
    // Progress counters, back/forward places and the repeated-text index
    WorkTrackFilled(view);
}

void DocumentSaved(HWND view)
{
    JournalDiscard(view);
    UndoDocumentSaved(view);
    if (ViewState *vs = GetViewState(view)) vs->modified = FALSE;
}
