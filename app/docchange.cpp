// What follows a change of the document.
#include "app/docchange.h"

#include "app/appwindows.h"
#include "app/document.h"
#include "view/problems.h"

static void MarkModified(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || vs->modified) return;
    vs->modified = TRUE;
    RefreshTitle(view);
}

void DocumentRowChanged(HWND view, int row, UINT, const char *, const char *, ChangeSource)
{
    MarkModified(view);
    // Problems: the row's mark and the counts follow its text.
    ProblemsCheckRow(view, row);
}

void DocumentSignatureChanged(HWND view, const char *, ChangeSource)
{
    MarkModified(view);
}

void DocumentFilled(HWND view)
{
    if (ViewState *vs = GetViewState(view)) vs->modified = FALSE;
    // Problems: every row once; from here on only the rows that change.
    ProblemsCheckAll(view);
}

void DocumentSaved(HWND view)
{
    if (ViewState *vs = GetViewState(view)) vs->modified = FALSE;
}
