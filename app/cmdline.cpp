// Command-line tokens and options: the window-free part of start-up.
#include "app/cmdline.h"

#include <cstring>

#include "res/resource.h"

static const OptionRow kOptions[] = {
    {"about", CMD_HELP_ABOUT},
};

static bool IsSeparator(char c)
{
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

size_t GetCommandLineToken(const char *text, char *out, size_t capacity, int index)
{
    if (capacity == 0) return 0;
    size_t length = 0;
    int counter = 0;
    bool quoted = false;
    bool afterSeparator = false;
    for (const char *p = text ? text : ""; *p; ++p) {
        if (counter > index) break;
        char c = *p;
        bool separator = !quoted && IsSeparator(c);
        bool quote = c == '"';
        if (separator) afterSeparator = true;
        if (quote) quoted = !quoted;
        if (afterSeparator && !separator) {
            ++counter;
            afterSeparator = false;
        }
        // Longer tokens are cut: the rest of the token is still scanned, never copied.
        if (counter == index && !separator && !quote && length + 1 < capacity) out[length++] = c;
    }
    out[length] = '\0';
    return length;
}

static char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Compares n bytes ignoring the case of single-byte letters; double-byte characters
// compare exactly.
static bool PrefixEqualsIgnoreCase(const char *a, const char *b, size_t n, LeadByteFn isLead)
{
    for (size_t i = 0; i < n; ++i) {
        if (isLead && isLead((unsigned char)a[i]) && i + 1 < n) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
        if (a[i] == '\0') return true;
    }
    return true;
}

static bool IsListed(const CommandLineState *state, int options, const OptionRow *row)
{
    for (int i = 0; i < options; ++i)
        if (state->slots[i].row == row) return true;
    return false;
}

const OptionRow *FindOption(const char *name, LeadByteFn isLead)
{
    size_t n = name ? strlen(name) : 0;
    if (n < 1) return nullptr;
    const OptionRow *prefixMatch = nullptr;
    int prefixCount = 0;
    for (const OptionRow &row : kOptions) {
        if (strlen(row.name) < n || !PrefixEqualsIgnoreCase(row.name, name, n, isLead)) continue;
        if (strlen(row.name) == n) return &row;
        prefixMatch = &row;
        ++prefixCount;
    }
    return prefixCount == 1 ? prefixMatch : nullptr;
}

void ParseCommandLineText(CommandLineState *state, const char *commandLine, FullPathFunction fullPath,
                          LeadByteFn isLead)
{
    state->fileName[0] = '\0';
    state->quitAfterOptions = 1;
    state->slots[0].row = nullptr;
    int options = 0;
    char token[kTokenSize];
    for (int index = 1; GetCommandLineToken(commandLine, token, sizeof token, index) > 0; ++index) {
        if (token[0] == '-' || token[0] == '/') {
            char *name = token + 1;
            if (char *colon = strchr(name, ':')) *colon = '\0';
            const OptionRow *row = FindOption(name, isLead);
            // Unknown options, repeats (one About box, however often asked) and a 25th are ignored.
            if (!row || options >= kOptionSlots || IsListed(state, options, row)) continue;
            OptionSlot &slot = state->slots[options++];
            slot.row = row;
            memset(slot.arg, 0, sizeof slot.arg);
            if (options < kOptionSlots) state->slots[options].row = nullptr;
            continue;
        }
        if (!fullPath || fullPath(token, state->fileName, sizeof state->fileName) == 0) {
            memcpy(state->fileName, token, sizeof token);
        }
    }
    if (options == 0 || state->fileName[0] != '\0') state->quitAfterOptions = 0;
}

size_t BuildForwardedCommandLine(const char *commandLine, FullPathFunction fullPath, char *out, size_t capacity)
{
    if (!out || capacity == 0) return 0;
    size_t n = 0;
    char token[kTokenSize];
    char full[kTokenSize];
    for (int index = 0;; ++index) {
        size_t length = GetCommandLineToken(commandLine, token, sizeof token, index);
        // As for the parse, an empty token ends the line (the program's own path is always kept).
        if (length == 0 && index > 0) break;
        const char *text = token;
        bool isFile = index > 0 && token[0] != '-' && token[0] != '/';
        if (isFile && fullPath && fullPath(token, full, sizeof full) > 0) text = full;
        size_t textLength = strlen(text);
        // Separator, two quotes and the terminator.
        if (n + textLength + 4 > capacity) {
            out[0] = '\0';
            return 0;
        }
        if (index > 0) out[n++] = ' ';
        out[n++] = '"';
        memcpy(out + n, text, textLength);
        n += textLength;
        out[n++] = '"';
        if (!commandLine || !*commandLine) break;
    }
    out[n] = '\0';
    return n;
}
