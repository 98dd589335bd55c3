// The program's own UI texts: string N of its string table, optionally decorated.
#include "frame/uitext.h"

#include <cstdlib>

#include "state/appstate.h"
#include "frame/decorate.h"
#include "state/textsize.h"

bool LoadUiText(UINT id, char *buffer)
{
    buffer[0] = '\0';
    return LoadStringA(AppInstance(), id, buffer, kTextSize) > 0 && buffer[0] != '\0';
}

bool DecorateUiText(UINT id, char *buffer)
{
    char text[kTextSize];
    if (!LoadUiText(id, text)) return false;
    Mnemonic mnemonic;
    FindMnemonic(id, &mnemonic);
    DecorateText(text, mnemonic.letter, mnemonic.ellipsis, buffer, kDecoratedSize);
    return true;
}

void LocaliseMenu(HMENU menu)
{
    for (int pos = 0;; ++pos) {
        char text[kTextSize] = "";
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        mii.dwTypeData = text;
        mii.cch = sizeof text;
        if (!GetMenuItemInfoA(menu, UINT(pos), TRUE, &mii)) break;
        UINT id = mii.wID;
        if (mii.hSubMenu) {
            LocaliseMenu(mii.hSubMenu);
            // A popup names its string by the decimal number in its own text.
            id = UINT(strtoul(text, nullptr, 10));
        }
        char decorated[kDecoratedSize];
        if (id == 0 || !DecorateUiText(id, decorated)) continue;
        MENUITEMINFOA set = {};
        set.cbSize = sizeof set;
        set.fMask = MIIM_STRING;
        set.dwTypeData = decorated;
        SetMenuItemInfoA(menu, UINT(pos), TRUE, &set);
    }
}

struct LocaliseContext {
    HFONT font;
};

static BOOL CALLBACK LocaliseControl(HWND control, LPARAM lp)
{
    auto *ctx = reinterpret_cast<LocaliseContext *>(lp);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(ctx->font), TRUE);
    char text[kDecoratedSize];
    int id = GetDlgCtrlID(control);
    if (id > 0 && DecorateUiText(UINT(id), text)) SetWindowTextA(control, text);
    return TRUE;
}

void LocaliseDialog(HWND dialog, UINT titleId)
{
    char title[kTextSize];
    if (titleId != 0 && LoadUiText(titleId, title)) SetWindowTextA(dialog, title);
    LocaliseContext ctx = {static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))};
    EnumChildWindows(dialog, LocaliseControl, reinterpret_cast<LPARAM>(&ctx));
}
