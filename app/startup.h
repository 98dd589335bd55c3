// Start-up: the main routine, the single-instance rule, the command line and the message loop.
#pragma once
#include <windows.h>

int ParlevoMain(HINSTANCE instance, HINSTANCE previous, const char *commandLine, int showCommand);

// Loads the host module and the settings from the derived path (every field stays zero and
// no module is loaded when there is none).
void LoadStartupSettings(HINSTANCE instance);

// Creates the frame and its view and runs the command line, or hands the command line to a
// running instance. Null when no frame resulted.
HWND StartFrame(HINSTANCE instance, const char *commandLine, UINT showCommand);

// Builds the inter-instance message for the command line and sends it to that window.
LRESULT SendCommandLineTo(HWND other, const char *commandLine);

BOOL ParseCommandLine(HWND frame, const char *commandLine);
BOOL RunCommandLine(HWND frame);
// A command line handed over by a second instance: its file is opened and its options run,
// but an empty one does not replace the open document and nothing quits.
BOOL RunForwardedCommandLine(HWND frame, const char *commandLine);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop(HWND frame);
// Releases what start-up acquired: the status font and the host module.
void ReleaseApp();
