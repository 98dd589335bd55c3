// The writer of the ".lng" format. Lines are formed straight into one output block that goes to
// the sink when full, so a file takes a few large writes rather than one per line.
#include "langfile/lngformat.h"
#include "state/textsize.h"

#include <bit>
#include <cstdlib>
#include <cstring>

// PARLEVO_NO_SSE2 builds the path of the 32-bit program (i686 has no SSE2) on other machines too.
#if defined(__SSE2__) && !defined(PARLEVO_NO_SSE2)
#define LNG_SSE2 1
#include <emmintrin.h>
#endif

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

// Where the run of bytes written as they are, starting at text[i], ends: at the terminator,
// at a byte to escape, or at kLangTextMax. Texts are mostly such bytes, so where SSE2 is there
// look at 16 at a time (all within the record's text field).
inline size_t PlainRunEnd(const char *text, size_t i)
{
#if defined(LNG_SSE2)
    const __m128i zero = _mm_setzero_si128();
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    while (i + 16 <= kTextSize) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
        const __m128i stops = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, zero), _mm_cmpeq_epi8(bytes, tab)),
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, lineFeed), _mm_cmpeq_epi8(bytes, carriageReturn)),
                         _mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash))));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(stops));
        if (mask) return i + static_cast<size_t>(std::countr_zero(mask));
        i += 16;
    }
#endif
    while (i < kLangTextMax && text[i] && !kEscapes.letter[static_cast<unsigned char>(text[i])])
        ++i;
    return i < kLangTextMax ? i : kLangTextMax;
}

// Forms one item line at w and returns its end.
inline char *WriteItem(char *w, const LangRecord &record)
{
    w = WriteDecimal(w, record.stringId);
    *w++ = '=';
    *w++ = '"';
    const char *text = record.text;
    for (size_t i = 0;;) {
        const size_t runEnd = PlainRunEnd(text, i);
        memcpy(w, text + i, runEnd - i);
        w += runEnd - i;
        if (runEnd == kLangTextMax || !text[runEnd]) break;
        *w++ = '\\';
        *w++ = kEscapes.letter[static_cast<unsigned char>(text[runEnd])];
        i = runEnd + 1;
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
