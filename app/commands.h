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

// When a command is enabled; the frame greys the others in the menus and on the toolbar.
enum class EnabledWhen : uint8_t {
    kAlways,
    kModuleLoaded, // a host module is loaded
    kHasRows,      // the list shows a document
    kCanUndo,
    kCanRedo,
};

// One row per command: everything the program knows about a command, read by the dispatcher,
// the command states and the decoration of its text (mnemonic letter, "..." when it opens a
// dialog).
struct CommandRow {
    UINT id;
    const char *name;
    CommandHandler handler;
    UINT flags;
    EnabledWhen enabledWhen;
    char mnemonic;
    bool ellipsis;
};

// The argument of the save commands: the target path, then the bytes written.
struct SaveTarget {
    char path[MAX_PATH];
    uint32_t bytes;
};
static_assert(sizeof(SaveTarget) <= kCommandArgSize, "a save target fits a command argument");

const CommandRow *FindCommand(UINT id);
// Enables each command by its "enabled when" column and greys the rest.
void UpdateCommandStates(HWND view);

LRESULT RunCommand(HWND view, UINT command, void *arg, UINT execFlags);

// Before a modified document is discarded: asks whether to save it. True when the caller
// may go on (saved, or the user chose not to save); false when the user cancelled or the
// save failed. Asks nothing when the document is unmodified.
bool ConfirmDiscard(HWND view);
