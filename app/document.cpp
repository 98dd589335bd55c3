// The document shown in the view: opening, closing and the title.
#include "app/document.h"

#include <cstdio>
#include <cstring>

#include "state/appstate.h"
#include "app/appwindows.h"
#include "app/commands.h"
#include "app/docchange.h"
#include "app/docmessages.h"
#include "state/messages.h"
#include "langfile/lngfile.h"
#include "langfile/lngglue.h"
#include "frame/menus.h"
#include "frame/statusbar.h"
#include "app/hostfill.h"
#include "res/resource.h"
#include "view/list.h"
#include "frame/leadbytes.h"
#include "frame/pathparts.h"
#include "state/textsize.h"

static bool LoadText(UINT id, char *out, int capacity)
{
    return LoadStringA(AppInstance(), id, out, capacity) > 0;
}

static bool IsMissingPath(uint32_t error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The refusal of a file with a byte-order mark, by the mark.
static UINT RefusalText(LangTextMark mark)
{
    if (mark == kLangMarkUtf16Le) return IDS_REFUSED_UTF16LE;
    if (mark == kLangMarkUtf16Be) return IDS_REFUSED_UTF16BE;
    return IDS_REFUSED_UTF8;
}

// Reads the language file for an open before the document is touched. Null when the open must
// not go on (the user was told why, or declined); *missing is set, with a null result, when
// the path does not exist: that opens a new file of that name.
static LangFile *ReadForOpen(HWND view, const char *path, bool *missing, LangReadDetail *detail)
{
    *missing = false;
    LangFile *model = LangFileCreate();
    if (!model) {
        ShowFileError(view, IDS_OPEN_FAILED, path, ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (LangFileRead(model, path, detail) < 0) {
        LangFileFree(model);
        if (detail->refused)
            ShowFileNotice(view, RefusalText(detail->mark), path);
        else if (IsMissingPath(detail->error))
            *missing = true;
        else
            ShowFileError(view, IDS_OPEN_FAILED, path, detail->error);
        return nullptr;
    }
    // A file of which fewer than half the lines read as items is likely no language file at
    // all, and a save would replace it with one. A header alone is a language file.
    const LangLineCounts &lines = detail->lines;
    if (lines.nonBlank > 0 && lines.items < lines.nonBlank - lines.nonBlank / 2 &&
        !AskOpenAnyway(view, path, lines.items, lines.nonBlank)) {
        LangFileFree(model);
        return nullptr;
    }
    return model;
}

BOOL OpenDocument(HWND view, const char *path, UINT openFlags)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return FALSE;
    char newPath[MAX_PATH];
    lstrcpynA(newPath, path ? path : "", sizeof newPath);
    LangFile *model = nullptr;
    LangReadDetail detail = {};
    if (!(openFlags & kOpenNew) && newPath[0]) {
        bool missing = false;
        model = ReadForOpen(view, newPath, &missing, &detail);
        if (!model && !missing) {
            // The document stays as it was; a posted open of the command line had named it already.
            if (path == vs->docPath) {
                vs->docPath[0] = '\0';
                RefreshDocumentDisplay(view);
            }
            return FALSE;
        }
    }
    lstrcpynA(vs->docPath, newPath, sizeof vs->docPath);
    // The list stays without redraw from here to the end of the open, so that refilling it
    // and writing the translations into it cost no painting per row.
    ListHoldRedraw(view);
    ListEmpty(view);
    DropKeptRecords(&vs->kept);
    vs->signature[0] = '\0';
    vs->docFlags = openFlags;
    vs->modified = FALSE;
    char newName[kTextSize];
    if ((openFlags & kOpenNew) && LoadText(IDS_NEW, newName, sizeof newName)) {
        lstrcpynA(vs->docPath, newName, sizeof vs->docPath);
    }
    if (vs->docPath[0] == '\0') {
        vs->docFlags = 0;
        DocumentFilled(view);
        BOOL closed = BOOL(RefreshDocumentDisplay(view));
        ListReleaseRedraw(view);
        return closed;
    }
    if (!FillHostStrings(view)) {
        LangFileFree(model);
        ListReleaseRedraw(view);
        return FALSE;
    }
    int kept = 0;
    // A path that does not exist opens as an empty document that is not file-backed; any file
    // that was read, a header alone or an empty one too, is the document's file.
    if (model) {
        vs->docFlags |= kOpenFileBacked;
        kept = LoadLanguageFile(GlueOf(vs), model);
    }
    DocumentFilled(view);
    RefreshDocumentDisplay(view);
    ListReleaseRedraw(view);
    if (model && detail.mark == kLangMarkUtf8) ShowFileNotice(view, IDS_UTF8_CONVERTED, vs->docPath);
    if (kept > 0) ShowCountNotice(view, kept == 1 ? IDS_KEPT_RECORD : IDS_KEPT_RECORDS, kept);
    return TRUE;
}

LRESULT RefreshDocumentDisplay(HWND view)
{
    LayoutViewList(view);
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
        snprintf(title + n, sizeof title - size_t(n), " - [%s%s]", FileNamePart(vs->docPath, IsAnsiLeadByte),
                 vs->modified ? "*" : "");
    }
    SetWindowTextA(GetParent(view), title);
}

GlueDocument GlueOf(ViewState *vs)
{
    return GlueDocument{vs->view, vs->signature, &vs->kept};
}

bool IsDocumentFileBacked(HWND view)
{
    ViewState *vs = GetViewState(view);
    return vs && (vs->docFlags & kOpenFileBacked);
}
