// The view's menus and accelerators, the shortcut texts and the command states.
#pragma once
#include <windows.h>

#include "frame/settingsdata.h"

// Creates the context menu holder, the main menu (attached to the frame) and the
// accelerator table from the shortcut list; replaces any earlier ones.
void CreateMenus(HWND view);
void DestroyMenus(HWND view);

HACCEL BuildAcceleratorTable(const ShortcutList &list);
void AppendShortcutTexts(HMENU menu, const ShortcutList &list);
// The key text of a shortcut ("Ctrl+O" when compact, "Ctrl + O" otherwise); returns the
// length of the key's own name.
int FormatShortcut(const ShortcutEntry &entry, char *out, int capacity, bool compact);

// Offers a key message to the view's accelerator table; true when it became a command.
bool TranslateViewKey(HWND view, UINT msg, WPARAM wp, LPARAM lp);

// Enables or greys a command in the menus and on the toolbar.
void EnableCommand(HWND view, UINT command, bool enabled);
