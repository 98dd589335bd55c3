// Command-line tokens and options: the window-free part of start-up.
#pragma once
#include <cstddef>
#include <cstdint>

#include "frame/textcut.h"
#include "state/cmdlinestate.h"

// Turns a file name into a full path in out (capacity bytes); returns its length, 0 on failure.
using FullPathFunction = size_t (*)(const char *name, char *out, size_t capacity);

// Copies the token with the given index (0 is the program's own path) into out, cut to
// capacity - 1 bytes and always terminated; returns the copied length.
size_t GetCommandLineToken(const char *text, char *out, size_t capacity, int index);

// The option whose name starts with name (case-insensitive); an exact match wins, two
// prefix matches are ambiguous. Null when none.
const OptionRow *FindOption(const char *name, LeadByteFn isLead = nullptr);

// Fills the state from the command line; fullPath may be null (the name is taken as is). An
// option given more than once takes one slot.
void ParseCommandLineText(CommandLineState *state, const char *commandLine, FullPathFunction fullPath,
                          LeadByteFn isLead = nullptr);

// The command line a second start hands to the running instance: every token quoted, each file
// name made a full path here, since the running instance resolves names against its own
// current folder. Returns the length written into out; 0 (out empty) when it does not fit.
size_t BuildForwardedCommandLine(const char *commandLine, FullPathFunction fullPath, char *out, size_t capacity);
