// Mnemonic ampersands and "..." for the program's UI texts: window-free.
#pragma once
#include <cstddef>
#include <cstdint>

// The access key letter of a text and whether it opens a dialog ("...").
struct Mnemonic {
    char letter;
    bool ellipsis;
};

// The commands' mnemonics are a column of the application's command table; it hands the
// decoration this lookup at start-up. False when id is no command.
using CommandMnemonicLookup = bool (*)(uint32_t id, Mnemonic *out);
void SetCommandMnemonics(CommandMnemonicLookup lookup);

// The mnemonic of a string: the command table's for a command, otherwise the UI-text
// table's; false (and no letter) when the string has none.
bool FindMnemonic(uint32_t id, Mnemonic *out);

// Writes text with an ampersand before the best match of letter (word start and exact case
// preferred; "(&L)" appended when the letter is missing) and "..." when asked. Bounded by
// capacity and always terminated; returns the length written.
size_t DecorateText(const char *text, char letter, bool ellipsis, char *out, size_t capacity);
