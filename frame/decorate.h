// Mnemonic ampersands and "..." for the program's UI texts: window-free.
#pragma once
#include <cstddef>
#include <cstdint>

struct MnemonicRow {
    uint32_t id;
    char letter;
    bool ellipsis;
};

// The mnemonic of a string: from the command table for CMD_FIRST-CMD_LAST, otherwise from the
// UI-text table; null when the string has none.
const MnemonicRow *FindMnemonic(uint32_t id);

// Writes text with an ampersand before the best match of letter (word start and exact case
// preferred; "(&L)" appended when the letter is missing) and "..." when asked. Bounded by
// capacity and always terminated; returns the length written.
size_t DecorateText(const char *text, char letter, bool ellipsis, char *out, size_t capacity);
