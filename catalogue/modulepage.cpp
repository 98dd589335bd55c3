// The Module page of the preferences: the host module's path, with Browse and Apply.
#include "catalogue/modulepage.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>

#include "state/appstate.h"
#include "state/messages.h"
#include "state/sysdlls.h"
#include "catalogue/hostmodule.h"
#include "catalogue/hoststrings.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "state/textsize.h"

// Set while the page writes its own field, which is no change by the user.
static bool g_filling;

static HWND PageView(HWND page)
{
    return reinterpret_cast<HWND>(GetWindowLongPtrA(page, DWLP_USER));
}

static void MarkChanged(HWND page)
{
    SendMessageA(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

static BOOL ModulePage_OnInit(HWND page, const PROPSHEETPAGEA *sheetPage)
{
    LocaliseDialog(page, 0);
    HWND view = sheetPage ? reinterpret_cast<HWND>(sheetPage->lParam) : nullptr;
    SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(view));
    char path[MAX_PATH];
    GetModulePath(path, sizeof path);
    SendDlgItemMessageA(page, IDC_MODULE_PATH, EM_LIMITTEXT, MAX_PATH - 1, 0);
    g_filling = true;
    SetDlgItemTextA(page, IDC_MODULE_PATH, path);
    g_filling = false;
    return TRUE;
}

// Offers only files named like the host module.
static bool BrowseForModule(HWND page, char *path)
{
    char typeName[kTextSize];
    if (!LoadUiText(IDS_MODULE_FILTER, typeName)) typeName[0] = '\0';
    char filter[kTextSize + 2 * MAX_PATH + 8];
    int n = snprintf(filter, sizeof filter - 1, "%s (%s)%c%s%c", typeName, AppHostFileName(), '\0', AppHostFileName(),
                     '\0');
    if (n < 0 || size_t(n) >= sizeof filter - 1) return false;
    filter[n] = '\0';
    path[0] = '\0';
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = page;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = ".";
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    return SysGetOpenFileName(&ofn) != FALSE;
}

static void ModulePage_OnCommand(HWND page, UINT id, UINT code)
{
    if (id == IDC_MODULE_BROWSE && code == BN_CLICKED) {
        char path[MAX_PATH];
        if (!BrowseForModule(page, path)) return;
        SetDlgItemTextA(page, IDC_MODULE_PATH, path);
        MarkChanged(page);
        return;
    }
    if ((id == IDC_MODULE_PATH && code == EN_CHANGE && !g_filling) || code == 0) MarkChanged(page);
}

static void ModulePage_OnApply(HWND page)
{
    HWND view = PageView(page);
    if (!IsWindow(view)) return;
    char path[MAX_PATH];
    GetDlgItemTextA(page, IDC_MODULE_PATH, path, sizeof path);
    SetModulePath(path);
    SaveModulePath();
    UnloadHostModule();
    LoadHostModule();
    // New and Open follow the module; the rows already shown keep their texts.
    SendMessageA(view, kMsgCommandStatesChanged, 0, 0);
    // Said at once, while the path can still be corrected.
    ShowModuleProblem(GetParent(page));
}

INT_PTR CALLBACK ModulePageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_INITDIALOG: return ModulePage_OnInit(page, reinterpret_cast<const PROPSHEETPAGEA *>(lp));
    case WM_COMMAND: ModulePage_OnCommand(page, LOWORD(wp), HIWORD(wp)); return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR *>(lp)->code == UINT(PSN_APPLY)) {
            ModulePage_OnApply(page);
            // After Apply (not OK) the sheet greys the button that had the focus and leaves
            // the keyboard nowhere (Wine); the path field takes it back, so Enter is OK again.
            if (!reinterpret_cast<const PSHNOTIFY *>(lp)->lParam)
                PostMessageA(GetParent(page), WM_NEXTDLGCTL,
                             reinterpret_cast<WPARAM>(GetDlgItem(page, IDC_MODULE_PATH)), TRUE);
            SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
