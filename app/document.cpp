// The document shown in the view: opening, closing and the title.
#include "app/document.h"

#include <cstdio>
#include <cstring>

#include "app/appstate.h"
#include "app/appwindows.h"
#include "app/messages.h"
#include "langfile/lngglue.h"
#include "frame/menus.h"
#include "frame/statusbar.h"
#include "catalogue/hoststrings.h"
#include "res/resource.h"
#include "view/list.h"

const char *FileNamePart(const char *path)
{
    const char *slash = strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

static bool LoadText(UINT id, char *out, int capacity)
{
    return LoadStringA(AppInstance(), id, out, capacity) > 0;
}

BOOL OpenDocument(HWND view, const char *path, UINT openFlags)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return FALSE;
    // The path may be the document path itself (a posted open from the command line).
    if (path != vs->docPath) lstrcpynA(vs->docPath, path ? path : "", sizeof vs->docPath);
    // The list stays without redraw from here to the end of the open, so that refilling it
    // and writing the translations into it cost no painting per row.
    ListHoldRedraw(view);
    ListEmpty(view);
    vs->signature[0] = '\0';
    vs->docFlags = openFlags;
    vs->modified = FALSE;
    char newName[252];
    if ((openFlags & kOpenNew) && LoadText(IDS_NEW, newName, sizeof newName)) {
        lstrcpynA(vs->docPath, newName, sizeof vs->docPath);
    }
    if (vs->docPath[0] == '\0') {
        vs->docFlags = 0;
        BOOL closed = BOOL(RefreshDocumentDisplay(view));
        ListReleaseRedraw(view);
        return closed;
    }
    if (!FillHostStrings(view)) {
        ListReleaseRedraw(view);
        return FALSE;
    }
    if (!(openFlags & kOpenNew)) {
        vs->docFlags |= kOpenFileBacked;
        // A missing or unreadable file opens as an empty document that is not file-backed.
        if (!LoadLanguageFile(view, vs->docPath)) vs->docFlags &= ~kOpenFileBacked;
    }
    RefreshDocumentDisplay(view);
    ListReleaseRedraw(view);
    return TRUE;
}

LRESULT RefreshDocumentDisplay(HWND view)
{
    ListLayout(view);
    RefreshTitle(view);
    LayoutStatusBar(view);
    UpdateCommandStates(view);
    return 1;
}

void OpenFromCommandLine(HWND view, const char *path)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    RefreshTitle(view);
    lstrcpynA(vs->docPath, path ? path : "", sizeof vs->docPath);
    UINT flags = vs->docPath[0] ? kOpenNamed : (kOpenNew | kOpenNamed);
    PostMessageA(view, kMsgOpenDocument, flags, reinterpret_cast<LPARAM>(vs->docPath));
}

void RefreshTitle(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    char title[MAX_PATH * 2 + 64];
    int n = snprintf(title, sizeof title, "%s %s", AppHostName(), AppProgramName());
    if (vs->docPath[0] && n > 0 && size_t(n) < sizeof title) {
        snprintf(title + n, sizeof title - size_t(n), " - [%s%s]", FileNamePart(vs->docPath),
                 vs->modified ? "*" : "");
    }
    SetWindowTextA(GetParent(view), title);
}

bool IsDocumentFileBacked(HWND view)
{
    ViewState *vs = GetViewState(view);
    return vs && (vs->docFlags & kOpenFileBacked);
}

void SetDocumentFileBacked(HWND view)
{
    if (ViewState *vs = GetViewState(view)) vs->docFlags |= kOpenFileBacked;
}
