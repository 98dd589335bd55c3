// The preferences sheet, built from a table of pages, and the About box.
#include "frame/prefs.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>

#include "state/appstate.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "state/textsize.h"

// No more pages than this fit a sheet.
constexpr size_t kMaxPages = 8;

int OpenPreferences(HWND owner, const PageFilter *filter, const PreferencePage *rows, size_t rowCount)
{
    HPROPSHEETPAGE pages[kMaxPages];
    char titles[kMaxPages][kTextSize];
    UINT count = 0;
    if (rowCount > kMaxPages) rowCount = kMaxPages;
    for (size_t i = 0; i < rowCount; ++i) {
        const PreferencePage &row = rows[i];
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
