// The state blocks of the frame and view windows.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include "state/textsize.h"
#include "state/cmdlinestate.h"

struct FrameState {
    HWND view;
    UINT creationFlags; // bit 0: post the quit message when destroyed
    CommandLineState commandLine;
    WINDOWPLACEMENT placement;
};

// Creation data of the frame window.
struct FrameCreateParams {
    UINT showCommand;
    const char *commandLine;
    UINT creationFlags;
};
constexpr UINT kFramePostsQuit = 1;

struct StatusPart {
    UINT type;
    int right;
    const char *text;
};

struct ListRows;
struct LangFile;
struct UndoHistory;
struct JournalFile;
struct ProblemMarks;
struct WorkTrack;

struct ViewState {
    HWND view;
    char docPath[MAX_PATH];
    UINT docFlags;
    BOOL modified;

    // Menus and accelerators
    HMENU mainMenu;
    HMENU contextHolder;
    HACCEL accelerators;

    // Toolbar
    HWND toolbar;

    // Status bar
    HWND statusBar;
    WNDPROC statusPrevProc;
    int partCount;
    StatusPart parts[64];
    char partText[4096];
    UINT statusIcon;
    char statusMessage[512];
    HWND statusTip;
    WNDPROC statusTipPrevProc;

    // Translation list
    HWND list;
    WNDPROC listPrevProc;
    int lastFocusedRow;
    int redrawHold; // while above 0 the list does not redraw
    ListRows *rows; // owned by the list: its row values and translations

    // Find
    UINT findMessage;
    HWND findDialog;
    char findWhat[kTextSize];
    FINDREPLACEA findRequest;

    // Signature, CR LF line breaks
    char signature[4096];

    // Translations read for string IDs the module lacks, kept for the save (null when none)
    LangFile *kept;

    // Unsaved work: the undo history (made on first use), the texts of the last open or save for
    // Revert row, and the recovery journal (made on the first change, deleted by a save)
    UndoHistory *history;
    BOOL historyLost; // a change the history could not take: modified until the next save
    LangFile *savedTexts;
    JournalFile *journal;
    // Problems of the translations: each row's counts and the totals (null until first checked)
    ProblemMarks *problems;
    // Progress counters, back/forward places and the repeated-text index (null until the first fill)
    WorkTrack *work;
};

FrameState *GetFrameState(HWND frame);
ViewState *GetViewState(HWND view);
HWND ViewOfFrame(HWND frame);
// The frame that holds the view, or null when the view stands alone (as in tests).
HWND FrameOfView(HWND view);
void DestroyWindowIfAlive(HWND window);
// True while a modal dialog or message box of the window's top-level window is open.
bool ModalDialogOpen(HWND window);
