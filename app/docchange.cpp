// What follows a change of the document.
#include "app/docchange.h"

#include "app/appwindows.h"
#include "app/document.h"

static void MarkModified(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || vs->modified) return;
    vs->modified = TRUE;
    RefreshTitle(view);
}

void DocumentRowChanged(HWND view, int, UINT, const char *, const char *, ChangeSource)
{
    MarkModified(view);
}

void DocumentSignatureChanged(HWND view, const char *, ChangeSource)
{
    MarkModified(view);
}

void DocumentFilled(HWND view)
{
    if (ViewState *vs = GetViewState(view)) vs->modified = FALSE;
}

void DocumentSaved(HWND view)
{
    if (ViewState *vs = GetViewState(view)) vs->modified = FALSE;
}
