// The command table, its dispatcher, and the document commands.
#include "app/commands.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "state/appstate.h"
#include "app/appwindows.h"
#include "app/docjournal.h"
#include "app/document.h"
#include "app/docundo.h"
#include "app/filedialogs.h"
#include "state/messages.h"
#include "catalogue/hostmodule.h"
#include "catalogue/modulepage.h"
#include "frame/menus.h"
#include "frame/prefs.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "view/find.h"
#include "view/list.h"
#include "view/problems.h"
#include "view/translate.h"
#include "view/worktrack.h"
#include "frame/leadbytes.h"
#include "frame/pathparts.h"
#include "state/textsize.h"

static LRESULT OnFileNew(HWND view, UINT, void *, UINT)
{
    if (!ConfirmDiscard(view)) return 0;
    return OpenDocument(view, "", kOpenNew);
}

static LRESULT OnFileOpen(HWND view, UINT, void *, UINT)
{
    if (!ConfirmDiscard(view)) return 0;
    char path[MAX_PATH];
    if (!RunOpenDialog(view, path, sizeof path)) return 0;
    return OpenDocument(view, path, kOpenNamed);
}

static LRESULT OnFileClose(HWND view, UINT, void *, UINT)
{
    if (!ConfirmDiscard(view)) return 0;
    return OpenDocument(view, "", kOpenClose);
}

static LRESULT SaveTo(HWND view, SaveTarget *target, bool asTemplate)
{
    if (!SaveDocument(view, target, asTemplate)) return 0;
    ShowSaveConfirmation(view, target);
    return 1;
}

static LRESULT OnFileSave(HWND view, UINT, void *arg, UINT)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return 0;
    auto *target = static_cast<SaveTarget *>(arg);
    lstrcpynA(target->path, vs->docPath, sizeof target->path);
    target->bytes = 0;
    if (target->path[0] == '\0' || !IsDocumentFileBacked(view)) {
        if (!RunSaveDialog(view, target->path, sizeof target->path)) return 0;
    }
    return SaveTo(view, target, false);
}

static LRESULT OnFileSaveAs(HWND view, UINT, void *arg, UINT)
{
    auto *target = static_cast<SaveTarget *>(arg);
    target->path[0] = '\0';
    target->bytes = 0;
    if (!RunSaveDialog(view, target->path, sizeof target->path)) return 0;
    return SaveTo(view, target, false);
}

static LRESULT OnFileSaveTemplate(HWND view, UINT, void *arg, UINT)
{
    auto *target = static_cast<SaveTarget *>(arg);
    lstrcpynA(target->path, "Template", sizeof target->path);
    target->bytes = 0;
    if (!RunSaveDialog(view, target->path, sizeof target->path)) return 0;
    return SaveTo(view, target, true);
}

static LRESULT OnFileExit(HWND view, UINT, void *, UINT)
{
    // The frame asks about unsaved changes when it is closed.
    PostMessageA(GetParent(view), WM_CLOSE, 0, 0);
    return 1;
}

static LRESULT OnHelpAbout(HWND view, UINT, void *, UINT)
{
    return ShowAbout(view);
}

// The pages of the preferences sheet, in tab order.
static const PreferencePage kPreferencePages[] = {
    {IDD_MODULE, 0, ModulePageProc},
};

static LRESULT OnOptionsPreferences(HWND view, UINT command, void *arg, UINT execFlags)
{
    auto *filter = static_cast<PageFilter *>(arg);
    if (!(execFlags & kExecSecondPass)) {
        filter->flags = 0;
        return SendMessageA(view, kMsgRunCommand, MAKEWPARAM(command, execFlags | kExecSecondPass),
                            reinterpret_cast<LPARAM>(arg));
    }
    return OpenPreferences(view, filter, kPreferencePages, std::size(kPreferencePages));
}

static LRESULT OnEditFind(HWND view, UINT, void *, UINT)
{
    return OpenFindDialog(view);
}
static LRESULT OnEditFindNext(HWND view, UINT, void *, UINT)
{
    return FindNextCommand(view);
}
static LRESULT OnTextTranslate(HWND view, UINT, void *, UINT)
{
    return TranslateSelected(view);
}
static LRESULT OnTextTranslateNext(HWND view, UINT, void *, UINT)
{
    return TranslateUntranslated(view);
}
static LRESULT OnTextSignature(HWND view, UINT, void *, UINT)
{
    return EditSignature(view);
}
static LRESULT OnEditNextProblem(HWND view, UINT, void *, UINT)
{
    return GoToProblem(view, true);
}
static LRESULT OnEditPreviousProblem(HWND view, UINT, void *, UINT)
{
    return GoToProblem(view, false);
}

static LRESULT OnEditUndo(HWND view, UINT, void *, UINT)
{
    return UndoChange(view);
}
static LRESULT OnEditRedo(HWND view, UINT, void *, UINT)
{
    return RedoChange(view);
}
static LRESULT OnEditRevertRow(HWND view, UINT, void *, UINT)
{
    return RevertRow(view);
}

// Moving through the work, repeated texts
static LRESULT OnTextTranslatePrevious(HWND view, UINT, void *, UINT)
{
    return TranslatePreviousUntranslated(view);
}
static LRESULT OnEditBack(HWND view, UINT, void *, UINT)
{
    return WorkGoBack(view);
}
static LRESULT OnEditForward(HWND view, UINT, void *, UINT)
{
    return WorkGoForward(view);
}
static LRESULT OnTextFillRepeated(HWND view, UINT, void *, UINT)
{
    return FillRepeatedTexts(view);
}

using When = EnabledWhen;

static const CommandRow kCommands[] = {
    {CMD_FILE_NEW, "FileNew", OnFileNew, kUpdateStates | kRestoreFocus, When::kModuleLoaded, 'N', false},
    {CMD_FILE_OPEN, "FileOpen", OnFileOpen, kRestoreFocus, When::kModuleLoaded, 'O', true},
    {CMD_FILE_CLOSE, "FileClose", OnFileClose, kRestoreFocus, When::kHasRows, 'C', false},
    {CMD_FILE_SAVE, "FileSave", OnFileSave, kUpdateStates | kRestoreFocus | kRefreshTitle, When::kHasRows, 'S', false},
    {CMD_FILE_SAVE_AS, "FileSaveAs", OnFileSaveAs, kUpdateStates | kRestoreFocus | kRefreshTitle, When::kHasRows, 'A',
     true},
    {CMD_FILE_SAVE_TEMPLATE, "FileSaveTemplate", OnFileSaveTemplate, kUpdateStates | kRestoreFocus | kRefreshTitle,
     When::kHasRows, 'T', true},
    {CMD_FILE_EXIT, "FileExit", OnFileExit, kUpdateStates | kRestoreFocus, When::kAlways, 'X', false},
    {CMD_EDIT_FIND, "EditFind", OnEditFind, 0, When::kHasRows, 'F', true},
    {CMD_EDIT_FIND_NEXT, "EditFindNext", OnEditFindNext, kRestoreFocus, When::kHasRows, 'N', false},
    {CMD_EDIT_NEXT_PROBLEM, "EditNextProblem", OnEditNextProblem, kRestoreFocus, When::kHasRows, 'P', false},
    {CMD_EDIT_PREVIOUS_PROBLEM, "EditPreviousProblem", OnEditPreviousProblem, kRestoreFocus, When::kHasRows, 'V',
     false},
    {CMD_TEXT_TRANSLATE, "TextTranslate", OnTextTranslate, kRestoreFocus, When::kHasRows, 'T', true},
    {CMD_TEXT_TRANSLATE_NEXT, "TextTranslateNextUntranslated", OnTextTranslateNext, kRestoreFocus, When::kHasRows, 'U',
     true},
    {CMD_TEXT_SIGNATURE, "TextSignature", OnTextSignature, kRestoreFocus, When::kHasRows, 'S', true},
    {CMD_OPTIONS_PREFERENCES, "OptionsPreferences", OnOptionsPreferences, 0, When::kAlways, 'P', true},
    {CMD_HELP_ABOUT, "HelpAbout", OnHelpAbout, kUpdateStates | kRestoreFocus, When::kAlways, 'A', true},
    // Undo, redo and revert
    {CMD_EDIT_UNDO, "EditUndo", OnEditUndo, kUpdateStates, When::kCanUndo, 'U', false},
    {CMD_EDIT_REDO, "EditRedo", OnEditRedo, kUpdateStates, When::kCanRedo, 'R', false},
    {CMD_EDIT_REVERT_ROW, "EditRevertRow", OnEditRevertRow, kUpdateStates | kRestoreFocus, When::kHasRows, 'E', false},
    // Moving through the work, repeated texts
    {CMD_TEXT_TRANSLATE_PREVIOUS, "TextTranslatePreviousUntranslated", OnTextTranslatePrevious, kRestoreFocus,
     When::kHasRows, 'P', true},
    {CMD_EDIT_BACK, "EditBack", OnEditBack, kRestoreFocus, When::kHasRows, 'B', false},
    {CMD_EDIT_FORWARD, "EditForward", OnEditForward, kRestoreFocus, When::kHasRows, 'W', false},
    {CMD_TEXT_FILL_REPEATED, "TextFillRepeated", OnTextFillRepeated, kRestoreFocus, When::kHasRows, 'F', false},
};
static_assert(std::size(kCommands) == CMD_LAST - CMD_FIRST + 1, "a row per command");

const CommandRow *FindCommand(UINT id)
{
    for (const CommandRow &row : kCommands)
        if (row.id == id) return &row;
    return nullptr;
}

static bool IsEnabled(HWND view, EnabledWhen when)
{
    switch (when) {
    case EnabledWhen::kAlways: return true;
    case EnabledWhen::kModuleLoaded: return HostModuleHandle() != nullptr;
    case EnabledWhen::kHasRows: return ListRowCount(view) >= 1;
    case EnabledWhen::kCanUndo: return CanUndoChange(view);
    case EnabledWhen::kCanRedo: return CanRedoChange(view);
    }
    return false;
}

void UpdateCommandStates(HWND view)
{
    if (!GetViewState(view)) return;
    for (const CommandRow &row : kCommands)
        EnableCommand(view, row.id, IsEnabled(view, row.enabledWhen));
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
    alignas(8) char scratch[kCommandArgSize];
    LRESULT result = row->handler(view, command, arg ? arg : scratch, execFlags);
    if (result) {
        if (row->flags & kUpdateStates) UpdateCommandStates(view);
        if (row->flags & kRefreshTitle) RefreshTitle(view);
    }
    if ((row->flags & kRestoreFocus) && focus && IsWindow(focus)) SetFocus(focus);
    return result;
}

static bool AskAndSave(HWND view, const ViewState *vs)
{
    char format[kTextSize], text[kTextSize + MAX_PATH];
    if (!LoadUiText(IDS_SAVE_CHANGES, format)) lstrcpynA(format, "Save the changes to %s?", sizeof format);
    snprintf(text, sizeof text, format, FileNamePart(vs->docPath, IsAnsiLeadByte));
    int answer = MessageBoxA(view, text, AppProgramName(), MB_YESNOCANCEL | MB_ICONWARNING);
    if (answer == IDNO) {
        // The changes are given up: so is their journal.
        JournalDiscard(view);
        return true;
    }
    if (answer != IDYES) return false;
    alignas(8) char arg[kCommandArgSize];
    return OnFileSave(view, CMD_FILE_SAVE, arg, 0) != 0;
}

bool ConfirmDiscard(HWND view)
{
    // Messages sent to the window still arrive while the question (or the save after Yes) is
    // open; a second request then is refused rather than asked again on top of the first.
    static bool asking;
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->modified) return true;
    if (asking) return false;
    asking = true;
    bool discard = AskAndSave(view, vs);
    asking = false;
    return discard;
}
