// The command table and its dispatcher.
#include "app/commands.h"

#include <cstdio>

#include "app/appstate.h"
#include "app/appwindows.h"
#include "app/document.h"
#include "app/messages.h"
#include "res/resource.h"

static LRESULT OnFileExit(HWND view, UINT, void *, UINT)
{
    PostMessageA(GetParent(view), WM_CLOSE, 0, 0);
    return 1;
}

static LRESULT OnHelpAbout(HWND view, UINT, void *, UINT)
{
    char text[1024];
    snprintf(text, sizeof text, "%s %s\nVersion %s (%s)\n\n%s", AppHostName(), AppProgramName(), AppVersion(),
             AppBuildDate(), AppClosingLine());
    MessageBoxA(view, text, AppProgramName(), MB_OK | MB_ICONINFORMATION);
    return 1;
}

static const CommandRow kCommands[] = {
    {CMD_FILE_NEW, "FileNew", nullptr, kUpdateStates | kRestoreFocus},
    {CMD_FILE_OPEN, "FileOpen", nullptr, kRestoreFocus},
    {CMD_FILE_CLOSE, "FileClose", nullptr, kRestoreFocus},
    {CMD_FILE_SAVE, "FileSave", nullptr, kUpdateStates | kRestoreFocus | kRefreshTitle},
    {CMD_FILE_SAVE_AS, "FileSaveAs", nullptr, kUpdateStates | kRestoreFocus | kRefreshTitle},
    {CMD_FILE_SAVE_TEMPLATE, "FileSaveTemplate", nullptr, kUpdateStates | kRestoreFocus | kRefreshTitle},
    {CMD_FILE_EXIT, "FileExit", OnFileExit, kUpdateStates | kRestoreFocus},
    {CMD_EDIT_FIND, "EditFind", nullptr, 0},
    {CMD_EDIT_FIND_NEXT, "EditFindNext", nullptr, kRestoreFocus},
    {CMD_TEXT_TRANSLATE, "TextTranslate", nullptr, kRestoreFocus},
    {CMD_TEXT_TRANSLATE_NEXT, "TextTranslateNextUntranslated", nullptr, kRestoreFocus},
    {CMD_TEXT_SIGNATURE, "TextSignature", nullptr, kRestoreFocus},
    {CMD_OPTIONS_PREFERENCES, "OptionsPreferences", nullptr, 0},
    {CMD_HELP_ABOUT, "HelpAbout", OnHelpAbout, kUpdateStates | kRestoreFocus},
};

const CommandRow *CommandTable(int *count)
{
    if (count) *count = int(sizeof kCommands / sizeof kCommands[0]);
    return kCommands;
}

const CommandRow *FindCommand(UINT id)
{
    for (const CommandRow &row : kCommands)
        if (row.id == id) return &row;
    return nullptr;
}

static bool IsMenuItemGreyed(HMENU menu, UINT command)
{
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE;
    if (!GetMenuItemInfoA(menu, command, FALSE, &mii)) mii.fState = 0;
    return (mii.fState & MFS_GRAYED) != 0;
}

LRESULT RunCommand(HWND view, UINT command, void *arg, UINT execFlags)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->mainMenu) return 0;
    // A disabled command cannot run, whether it comes from a menu, the toolbar or a shortcut.
    if (!(execFlags & kExecIgnoreGrey) && IsMenuItemGreyed(vs->mainMenu, command)) return 0;
    HWND focus = GetFocus();
    const CommandRow *row = FindCommand(command);
    if (!row || !row->handler) return 0;
    // The character of an accelerator key must not arrive as typing afterwards.
    MSG pending;
    PeekMessageA(&pending, view, WM_CHAR, WM_CHAR, PM_REMOVE);
    PeekMessageA(&pending, view, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE);
    char scratch[kCommandArgSize];
    LRESULT result = row->handler(view, command, arg ? arg : scratch, execFlags);
    if (result && (row->flags & kRefreshTitle)) RefreshTitle(view);
    if ((row->flags & kRestoreFocus) && focus) SetFocus(focus);
    return result;
}
