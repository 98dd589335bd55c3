// The toolbar at the top of the view: buttons from the toolbar list with images from the
// built-in strip, optional labels, tooltips, and buttons greyed together with the menus.
#pragma once
#include <windows.h>
#include <commctrl.h>

constexpr int kToolbarId = 3;

// Flag false destroys the toolbar; otherwise a new one, created hidden, replaces any existing one.
void ShowToolbar(HWND view, bool show);
// Destroys the toolbar window and releases the strip's bitmap.
void DestroyToolbar(HWND view);
// Moves the toolbar to the top left and shows it; the control sizes itself to the view's width.
void RepositionToolbar(HWND view);
// Enables or greys the button of a command; nothing without a toolbar.
void EnableToolbarButton(HWND view, UINT command, bool enabled);
// TTN_GETDISPINFOA: the command's text for a tooltip of the toolbar's buttons. False when the
// request is not the toolbar's or the command has no text.
bool ToolbarTooltipText(HWND view, NMTTDISPINFOA *info);
