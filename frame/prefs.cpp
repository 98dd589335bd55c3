// The preferences sheet, built from a table of pages, and the About box.
#include "frame/prefs.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>

#include "state/appstate.h"
#include "catalogue/modulepage.h"
#include "frame/uitext.h"
#include "res/resource.h"

struct PageRow {
    UINT id; // also the dialog resource and the title string
    UINT icon;
    DLGPROC proc;
};

static const PageRow kPages[] = {
    {IDD_MODULE, 0, ModulePageProc},
};

int OpenPreferences(HWND owner, const PageFilter *filter)
{
    HPROPSHEETPAGE pages[sizeof kPages / sizeof kPages[0]];
    char titles[sizeof kPages / sizeof kPages[0]][kUiTextSize];
    UINT count = 0;
    for (const PageRow &row : kPages) {
        if (filter && (filter->flags & kPageOnly) && filter->pageId != row.id) continue;
        PROPSHEETPAGEA psp = {};
        psp.dwSize = sizeof psp;
        psp.dwFlags = PSP_USETITLE | (row.icon ? PSP_USEICONID : 0);
        psp.hInstance = AppInstance();
        psp.pszTemplate = MAKEINTRESOURCEA(row.id);
        psp.pszIcon = MAKEINTRESOURCEA(row.icon);
        LoadUiText(row.id, titles[count]);
        psp.pszTitle = titles[count];
        psp.pfnDlgProc = row.proc;
        psp.lParam = reinterpret_cast<LPARAM>(owner);
        if (HPROPSHEETPAGE page = CreatePropertySheetPageA(&psp)) pages[count++] = page;
    }
    if (count == 0) return 0;
    PROPSHEETHEADERA psh = {};
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_PROPTITLE;
    psh.hwndParent = owner;
    psh.hInstance = AppInstance();
    psh.pszCaption = AppProgramName();
    psh.nPages = count;
    psh.nStartPage = 0;
    psh.phpage = pages;
    return PropertySheetA(&psh) > 0 ? 1 : 0;
}

void FormatAboutText(char *out, size_t capacity)
{
    snprintf(out, capacity, "%s %s\nVersion %s (%s)\n\n%s", AppHostName(), AppProgramName(), AppVersion(),
             AppBuildDate(), AppClosingLine());
}

BOOL ShowAbout(HWND owner)
{
    char text[1024];
    FormatAboutText(text, sizeof text);
    MessageBoxA(owner, text, AppProgramName(), MB_OK | MB_ICONINFORMATION);
    return TRUE;
}
