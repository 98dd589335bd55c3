// Recovery at start-up: journals left by a program that no longer runs are lost work, offered
// back to the user.
#pragma once
#include <windows.h>

// Looks for lost work and asks about it; restores it into the view on Yes.
void RecoverLostWork(HWND view);
