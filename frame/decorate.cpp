// Mnemonic ampersands and "..." for the program's UI texts.
#include "frame/decorate.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace
{
struct MnemonicRow {
    uint32_t id;
    char letter;
    bool ellipsis;
};
} // namespace

// Sorted by string ID for the binary search.
static const MnemonicRow kTextMnemonics[] = {
    {1000, 'F', false}, // File
    {1001, 'H', false}, // Help
    {1002, 'O', false}, // Options
    {1005, 'B', true},  // Browse
    {1006, 'T', false}, // Text
    {1013, 'E', false}, // Insert Enter
    {1016, 'C', false}, // Copy text
    {1017, 'E', false}, // Edit
    // The offer to fill repeated texts
    {50065, 'D', false}, // Don't ask again
    {50068, 'Y', false}, // Yes
    {50069, 'N', false}, // No
};

static CommandMnemonicLookup g_commandMnemonics;

void SetCommandMnemonics(CommandMnemonicLookup lookup)
{
    g_commandMnemonics = lookup;
}

bool FindMnemonic(uint32_t id, Mnemonic *out)
{
    *out = Mnemonic{0, false};
    if (g_commandMnemonics && g_commandMnemonics(id, out)) return true;
    auto end = std::end(kTextMnemonics);
    auto it = std::lower_bound(std::begin(kTextMnemonics), end, id,
                               [](const MnemonicRow &row, uint32_t key) { return row.id < key; });
    if (it == end || it->id != id) return false;
    *out = Mnemonic{it->letter, it->ellipsis};
    return true;
}

static int Score(const char *text, size_t i, char letter)
{
    char c = text[i];
    int score = 0;
    if (c == letter)
        score = 3;
    else if ((c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c) == letter)
        score = 1;
    if (i == 0 || text[i - 1] == ' ') score += 4;
    return score;
}

size_t DecorateText(const char *text, char letter, bool ellipsis, char *out, size_t capacity)
{
    if (capacity == 0) return 0;
    size_t length = strlen(text);
    // Exact case at a word start (7) beats other case at a word start (5), exact case
    // elsewhere (3) and other case elsewhere (1); among equals the first one wins.
    size_t best = length;
    int bestScore = 0;
    if (letter) {
        for (size_t i = 0; i < length; ++i) {
            int score = Score(text, i, letter);
            if ((score & 1) && score > bestScore) {
                bestScore = score;
                best = i;
            }
        }
    }
    size_t n = 0;
    auto put = [&](char c) {
        if (n + 1 < capacity) out[n++] = c;
    };
    for (size_t i = 0; i < length; ++i) {
        if (i == best) put('&');
        put(text[i]);
    }
    if (letter && best == length) {
        put('(');
        put('&');
        put(letter);
        put(')');
    }
    if (ellipsis)
        for (int i = 0; i < 3; ++i)
            put('.');
    out[n] = '\0';
    return n;
}
