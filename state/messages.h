// Private window messages of the program.
#pragma once
#include <windows.h>

// The view window's own messages.
constexpr UINT kMsgOpenDocument = 1280;         // wParam: open flags; lParam: path text
constexpr UINT kMsgRefreshDocument = 1281;      // refresh the document display
constexpr UINT kMsgRunCommand = 1282;           // LOWORD(wParam): command; HIWORD: execution flags; lParam: argument
constexpr UINT kMsgRecoverWork = 1283;          // look for work a killed program left in its journal
constexpr UINT kMsgCommandStatesChanged = 1284; // what the commands depend on changed: refresh their states

// The identifier of the inter-instance copy-data message.
constexpr ULONG_PTR kCopyDataCommandLine = 0x503;
// The most the receiver takes of a forwarded command line, terminator included.
constexpr size_t kForwardedLineSize = 32768;

// Open flags of a document.
constexpr UINT kOpenClose = 0;
constexpr UINT kOpenNamed = 1;
constexpr UINT kOpenFileBacked = 2; // document flag: the path names a file read or written successfully
constexpr UINT kOpenNew = 8;

// Execution flags of a command run.
constexpr UINT kExecIgnoreGrey = 1;
constexpr UINT kExecSecondPass = 0x10;
