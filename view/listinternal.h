// What the list's files share among themselves; not for the rest of the program.
#pragma once
#include <windows.h>

#include "app/viewstate.h"

// The list of a view, or null when the view has no state or no list.
ViewState *ListViewState(HWND view);
// Replaces the control's procedure by the list procedure, keeping the previous one.
void ListAttachProcedure(ViewState *vs);
