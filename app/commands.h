// The command table and its dispatcher: every user action runs through RunCommand.
#pragma once
#include <windows.h>

#include <cstdint>

constexpr int kCommandArgSize = 264;

using CommandHandler = LRESULT (*)(HWND view, UINT command, void *arg, UINT execFlags);

// What the dispatcher does after the handler (table flags).
constexpr UINT kUpdateStates = 1; // on success: refresh the command states
constexpr UINT kRestoreFocus = 2; // always: give the focus back to where it was
constexpr UINT kRefreshTitle = 4; // on success: refresh the window title

struct CommandRow {
    UINT id;
    const char *name;
    CommandHandler handler;
    UINT flags;
};

// The argument of the save commands: the target path, then the bytes written.
struct SaveTarget {
    char path[MAX_PATH];
    uint32_t bytes;
};
static_assert(sizeof(SaveTarget) <= kCommandArgSize, "a save target fits a command argument");

// The commands, in the order the dispatcher searches them.
const CommandRow *CommandTable(int *count);
const CommandRow *FindCommand(UINT id);

LRESULT RunCommand(HWND view, UINT command, void *arg, UINT execFlags);

// Before a modified document is discarded: asks whether to save it. True when the caller
// may go on (saved, or the user chose not to save); false when the user cancelled or the
// save failed. Asks nothing when the document is unmodified.
bool ConfirmDiscard(HWND view);
