// The translation list: the owner-drawn report list that is the document's working copy.
// Every operation takes the view window and does nothing (returns 0/false) when the view
// has no state block or no list.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "state/textsize.h"

constexpr int kListChildId = 1;
constexpr int kColumnId = 0;
constexpr int kColumnText = 1;
constexpr int kColumnTranslated = 2;

// Life and layout
bool ListCreate(HWND view);
void ListDestroy(HWND view);
// Places the list at x 0, top, the view's full width and height, and shows it.
void ListLayout(HWND view, int top, int height);
void ListEmpty(HWND view);

// Redraw hold: while held (counted), the list neither redraws nor repaints; the last
// release switches redrawing back on and repaints once.
void ListHoldRedraw(HWND view);
void ListReleaseRedraw(HWND view);
// Lifts every hold while a modal window sits over the list, which must paint meanwhile;
// returns the number of holds that ListRestoreRedrawHold takes again.
int ListSuspendRedrawHold(HWND view);
void ListRestoreRedrawHold(HWND view, int holds);

// Notifications passed on by the view window
BOOL ListDrawRow(HWND view, const DRAWITEMSTRUCT *draw);
LRESULT ListItemChanged(HWND view, const NMLISTVIEW *change);

// Row access
int ListRowCount(HWND view);
// The next row after `after` (-1: from the top) with the LVNI_ flags (LVNI_ALL, LVNI_SELECTED,
// LVNI_BELOW, LVNI_ABOVE); -1 when there is none.
int ListNextRow(HWND view, int after, UINT flags);
UINT ListRowValue(HWND view, int row);
// Reads a cell into out (capacity bytes, at most kTextSize used); false when there is no such cell.
bool ListGetCell(HWND view, int row, int column, char *out, int capacity);
// Texts given to a cell are cut after their last whole character within kTextSize - 1 bytes.
bool ListSetCell(HWND view, int row, int column, const char *text);
// Appends a row at the end: value, ID text and source text; returns its index or -1.
int ListAppendRow(HWND view, UINT value, const char *idText, const char *text);
// Row -1: every row.
void ListSetRowState(HWND view, int row, UINT state, UINT mask);
void ListEnsureVisible(HWND view, int row);
