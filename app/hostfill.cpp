// The host module's strings into the list, and what the user sees when there is no module.
#include "app/hostfill.h"

#include <commctrl.h>

#include "app/commands.h"
#include "catalogue/hostmodule.h"
#include "catalogue/hoststrings.h"
#include "frame/prefs.h"
#include "res/resource.h"
#include "state/messages.h"
#include "state/viewstate.h"
#include "view/list.h"

static bool AppendHostRow(void *context, const HostRow &row)
{
    return ListAppendRow(static_cast<HWND>(context), row.id, row.idText, row.text) >= 0;
}

bool FillHostStrings(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->list) return false;
    HMODULE module = HostModuleHandle();
    if (!module) {
        // The notice and the preferences sit over the list, which must paint meanwhile.
        int holds = ListSuspendRedrawHold(view);
        ShowMissingModuleNotice(view);
        ListRestoreRedrawHold(view, holds);
        return false;
    }
    ListHoldRedraw(view);
    ReadHostStrings(module, AppendHostRow, view);
    ListSetRowState(view, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    ListReleaseRedraw(view);
    return true;
}

bool ShowMissingModuleNotice(HWND view)
{
    if (!GetViewState(view)) return false;
    ShowModuleProblem(view);
    // The Module page alone, where the path can be corrected at once.
    alignas(8) char argument[kCommandArgSize] = {};
    auto *filter = reinterpret_cast<PageFilter *>(argument);
    filter->pageId = IDD_MODULE;
    filter->flags = kPageOnly;
    SendMessageA(view, kMsgRunCommand, MAKEWPARAM(CMD_OPTIONS_PREFERENCES, kExecSecondPass),
                 reinterpret_cast<LPARAM>(argument));
    return true;
}
