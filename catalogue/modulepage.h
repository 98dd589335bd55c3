// The Module page of the preferences (dialog 106): the host module's path.
#pragma once
#include <windows.h>

// The page's dialog procedure. Its creation parameter is the property-sheet page, whose
// application value (lParam) is the view window; Apply saves the path, reloads the module,
// refreshes the view's command states and says why the module cannot be used, if so.
INT_PTR CALLBACK ModulePageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp);
