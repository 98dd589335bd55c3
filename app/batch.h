// The command line without a window: -check FILE.lng and -template OUT.lng, for build scripts.
#pragma once

// Exit codes of a run without a window.
constexpr int kBatchClean = 0;  // no errors (warnings allowed); the template was written
constexpr int kBatchErrors = 1; // the language file has errors
constexpr int kBatchFailed = 2; // nothing could be checked or written; the reason is on standard error

// Runs -check and -template when the command line asks for either, before any window exists,
// and puts the exit code in exitCode. False when it asks for neither: the program starts as usual.
bool RunBatchCommandLine(const char *commandLine, int *exitCode);
