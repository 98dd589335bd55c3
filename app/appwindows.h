// The frame and view windows.
#pragma once
#include <windows.h>

#include "state/viewstate.h"

HWND CreateFrame(HINSTANCE instance, const FrameCreateParams *params);
HWND CreateView(HWND frame);
// The list between the toolbar and the status bar.
void LayoutViewList(HWND view);
