// What follows a change of the document.
#include "app/docchange.h"

#include "app/appwindows.h"
#include "app/document.h"
#include "view/worktrack.h"

static void MarkModified(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || vs->modified) return;
    vs->modified = TRUE;
    RefreshTitle(view);
}

void DocumentRowChanged(HWND view, int row, UINT stringId, const char *before, const char *after, ChangeSource source)
{
    MarkModified(view);
    // Progress: the counts, the category row and the pane
    WorkTrackRowChanged(view, row, stringId, before, after);
    // Repeated texts: last, once every other part has taken the typed change
    if (source == kChangeTyped) OfferRepeatedFill(view, row, after);
}

void DocumentSignatureChanged(HWND view, const char *, ChangeSource)
{
    MarkModified(view);
}

void DocumentFilled(HWND view)
{
    if (ViewState *vs = GetViewState(view)) vs->modified = FALSE;
    // Progress counters, back/forward places and the repeated-text index
    WorkTrackFilled(view);
}

void DocumentSaved(HWND view)
{
    if (ViewState *vs = GetViewState(view)) vs->modified = FALSE;
}
