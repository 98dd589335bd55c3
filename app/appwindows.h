// The frame and view windows.
#pragma once
#include <windows.h>

#include "app/viewstate.h"

HWND CreateFrame(HINSTANCE instance, const FrameCreateParams *params);
HWND CreateView(HWND frame);
HWND ViewOfFrame(HWND frame);
HWND FrameOfView(HWND view);
WINDOWPLACEMENT *FramePlacement(HWND frame);
void DestroyWindowIfAlive(HWND window);
// True while a modal dialog or message box of the window's top-level window is open.
bool ModalDialogOpen(HWND window);
