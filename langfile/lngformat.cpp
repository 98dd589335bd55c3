// The writer of the ".lng" format. Lines are formed straight into one output block that goes to
// the sink when full, so a file takes a few large writes rather than one per line.
#include "langfile/lngformat.h"

#include <cstdlib>
#include <cstring>

namespace
{

// The largest output block; small models get a block just large enough for them. Larger blocks
// mean fewer writes but more fresh pages to touch: under Wine a quarter megabyte did best.
constexpr size_t kBlockLimit = 256 << 10;
// The longest item line: ten digits, "=", quotes, every text byte escaped to two, CR LF.
constexpr size_t kItemLineMax = 10 + 1 + 2 + 2 * kLangTextMax + 2;
// The longest header: every signature byte a line feed followed by "; ", then CR LF.
constexpr size_t kHeaderMax = 2 + 3 * kLangSignatureMax + 2;

// The escape letter written after a backslash for each byte, or 0 for a byte written as it is.
struct EscapeTable {
    char letter[256];
    constexpr EscapeTable() : letter()
    {
        Mark('\t', 't');
        Mark('\n', 'n');
        Mark('\r', 'r');
        Mark('"', '"');
        Mark('\\', '\\');
    }
    constexpr void Mark(char c, char escapeLetter) { letter[static_cast<unsigned char>(c)] = escapeLetter; }
};
constexpr EscapeTable kEscapes;

struct Output {
    char *block;
    size_t size;
    size_t used;
    const ByteSink *sink;
};

int Flush(Output &out)
{
    if (out.used && !out.sink->write(out.sink->context, out.block, out.used)) return 0;
    out.used = 0;
    return 1;
}

// Makes room for `bytes` (at most the block size) at out.block + out.used.
inline int Reserve(Output &out, size_t bytes)
{
    return out.size - out.used >= bytes || Flush(out);
}

int WriteHeader(Output &out, const char *signature)
{
    if (!signature[0]) return 1;
    if (!Reserve(out, kHeaderMax)) return 0;
    char *w = out.block + out.used;
    *w++ = ';';
    *w++ = ' ';
    const char *const end = signature + kLangSignatureMax;
    for (const char *s = signature; s < end && *s; ++s) {
        *w++ = *s;
        if (*s == '\n' && s + 1 < end && s[1]) {
            *w++ = ';';
            *w++ = ' ';
        }
    }
    *w++ = '\r';
    *w++ = '\n';
    out.used = static_cast<size_t>(w - out.block);
    return 1;
}

inline char *WriteDecimal(char *w, uint32_t value)
{
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value);
    while (n)
        *w++ = digits[--n];
    return w;
}

// Forms one item line at w and returns its end.
inline char *WriteItem(char *w, const LangRecord &record)
{
    w = WriteDecimal(w, record.stringId);
    *w++ = '=';
    *w++ = '"';
    const char *text = record.text;
    for (size_t i = 0; i < kLangTextMax && text[i]; ++i) {
        const char letter = kEscapes.letter[static_cast<unsigned char>(text[i])];
        if (letter) {
            *w++ = '\\';
            *w++ = letter;
        } else {
            *w++ = text[i];
        }
    }
    *w++ = '"';
    *w++ = '\r';
    *w++ = '\n';
    return w;
}

} // namespace

int64_t LangFileFormat(const LangFile *model, int templateFlag, const ByteSink *sink)
{
    if (!model || !sink || !sink->write) return -1;
    const int count = LangFileCount(model);
    const size_t needed = kHeaderMax + static_cast<size_t>(count) * kItemLineMax;
    Output out{nullptr, needed < kBlockLimit ? needed : kBlockLimit, 0, sink};
    out.block = static_cast<char *>(malloc(out.size));
    if (!out.block) return -1;

    int64_t itemBytes = -1;
    if (WriteHeader(out, templateFlag ? kLangDefaultSignature : model->signature)) {
        const LangRecord *records = LangFileRecordAt(model, 0);
        int64_t total = 0;
        int i = 0;
        for (; i < count; ++i) {
            if (!Reserve(out, kItemLineMax)) break;
            char *start = out.block + out.used;
            char *end = WriteItem(start, records[i]);
            out.used += static_cast<size_t>(end - start);
            total += end - start;
        }
        if (i == count && Flush(out)) itemBytes = total;
    }
    free(out.block);
    return itemBytes;
}
