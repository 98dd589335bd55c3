// The lower folders never include the application: each declares the slots it calls back
// through, and the application fills them here.
#include "app/connect.h"

#include "app/commands.h"
#include "app/docchange.h"
#include "frame/decorate.h"
#include "frame/statusbar.h"
#include "state/messages.h"
#include "state/viewstate.h"
#include "view/changes.h"
#include "view/problems.h"
#include "view/worktrack.h"

static bool CommandMnemonic(uint32_t id, Mnemonic *out)
{
    const CommandRow *row = FindCommand(id);
    if (!row) return false;
    *out = Mnemonic{row->mnemonic, row->ellipsis};
    return true;
}

static void DocumentFacts(HWND view, StatusFacts *out)
{
    const ViewState *vs = GetViewState(view);
    if (!vs) return;
    out->path = vs->docPath;
    out->fileBacked = (vs->docFlags & kOpenFileBacked) != 0;
}

static bool ProblemsText(HWND view, char *out, size_t capacity)
{
    ViewState *vs = GetViewState(view);
    return vs && ProblemPaneText(vs, out, capacity);
}

void ConnectSubsystems()
{
    SetCommandMnemonics(CommandMnemonic);
    static const StatusSource status = {DocumentFacts, ProblemsText, WorkProgressText};
    SetStatusSource(&status);
    static const ChangeListener changes = {DocumentRowChanged, DocumentSignatureChanged};
    SetChangeListener(&changes);
}
