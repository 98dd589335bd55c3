// What dropfile and its hook module inside Parlevo agree on.
#pragma once
#include <windows.h>

// The registered message that asks the hook for a drop; wParam is a global atom with the path.
constexpr char kDropRequestMessage[] = "ParlevoTestDropRequest";

// The event the hook sets once it has turned a request for this window into WM_DROPFILES.
inline void DropDoneEventName(HWND window, char (&name)[64])
{
    // Window handles carry 32 significant bits, also in a 64-bit process.
    wsprintfA(name, "ParlevoTestDropDone-%08lx", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
}
