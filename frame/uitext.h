// The program's own UI texts: string N of its string table, optionally decorated.
#pragma once
#include <windows.h>

#include "state/textsize.h"

constexpr int kDecoratedSize = 260;

// Loads string id into buffer (kTextSize bytes); false when it is missing or empty.
bool LoadUiText(UINT id, char *buffer);
// The text with its mnemonic ampersand and "..." (buffer of kDecoratedSize bytes).
bool DecorateUiText(UINT id, char *buffer);
// Decorates every item of a menu and its submenus in place.
void LocaliseMenu(HMENU menu);
// The dialog's title (undecorated) and every control's text and font.
void LocaliseDialog(HWND dialog, UINT titleId);
