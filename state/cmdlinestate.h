// The command line as start-up keeps it: the file name and the options found.
#pragma once
#include <cstdint>

constexpr int kOptionSlots = 24;
constexpr int kOptionArgSize = 264;
constexpr int kTokenSize = 260;

struct OptionRow {
    const char *name;
    uint32_t command;
};

struct OptionSlot {
    const OptionRow *row; // null: empty slot
    char arg[kOptionArgSize];
};

struct CommandLineState {
    char fileName[kTokenSize];
    uint32_t quitAfterOptions;
    OptionSlot slots[kOptionSlots];
};
