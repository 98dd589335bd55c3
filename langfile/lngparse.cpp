// The reader of the ".lng" format: a signature block of ";" lines, then ID = text items made of
// tokens with quotes and backslash escapes; ";" comments wherever a token is expected.
#include "langfile/lngparse.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{

// Byte classes of the tokenizer.
constexpr unsigned char kLineEnd = 1;     // CR, LF: end a token, quoted or not
constexpr unsigned char kSeparator = 2;   // tab, space, "=": end an unquoted token
constexpr unsigned char kQuote = 4;       // double quote
constexpr unsigned char kBackslash = 8;   // escapes the next byte
constexpr unsigned char kWhitespace = 16; // tab, LF, CR, space: skipped between tokens

constexpr unsigned char kUnquotedStops = kLineEnd | kSeparator | kQuote | kBackslash;
constexpr unsigned char kQuotedStops = kLineEnd | kQuote | kBackslash;

struct ByteClasses {
    unsigned char of[256];
    constexpr ByteClasses() : of()
    {
        Mark('\r', kLineEnd | kWhitespace);
        Mark('\n', kLineEnd | kWhitespace);
        Mark('\t', kSeparator | kWhitespace);
        Mark(' ', kSeparator | kWhitespace);
        Mark('=', kSeparator);
        Mark('"', kQuote);
        Mark('\\', kBackslash);
    }
    constexpr void Mark(char c, int classes)
    {
        of[static_cast<unsigned char>(c)] = static_cast<unsigned char>(classes);
    }
};
constexpr ByteClasses kClasses;

inline unsigned char ClassOf(const char *p)
{
    return kClasses.of[static_cast<unsigned char>(*p)];
}

// The tokenizer's position in the data.
struct Reader {
    const char *p;
    const char *end;
};

inline void SkipWhitespace(Reader &r)
{
    while (r.p < r.end && (ClassOf(r.p) & kWhitespace))
        ++r.p;
}

// Skips ";" comments (each to the end of its line) and the whitespace after them. Returns 0 when
// the data ends first.
inline int SkipComments(Reader &r)
{
    while (r.p < r.end && *r.p == ';') {
        const void *lineFeed = memchr(r.p, '\n', static_cast<size_t>(r.end - r.p));
        if (!lineFeed) {
            r.p = r.end;
            return 0;
        }
        r.p = static_cast<const char *>(lineFeed) + 1;
        SkipWhitespace(r);
    }
    return r.p < r.end;
}

// The first double quote, backslash, carriage return or line feed in [p, end), or end: a
// quoted text is mostly plain bytes, so look at 16 of them at a time where SSE2 is there, or
// at a machine word of them.
inline const char *FindQuotedStop(const char *p, const char *end)
{
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i stops =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)),
                         _mm_or_si128(_mm_cmpeq_epi8(bytes, carriageReturn), _mm_cmpeq_epi8(bytes, lineFeed)));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(stops));
        if (mask) return p + std::countr_zero(mask);
        p += 16;
    }
#endif
    constexpr uintptr_t kOnes = ~uintptr_t{0} / 255;
    constexpr uintptr_t kHighBits = kOnes << 7;
    // The high bit of each zero byte of x is set, and possibly bits of bytes above a zero one,
    // never below: so the lowest set bit marks the first zero byte.
    const auto zeroBytes = [](uintptr_t x) { return (x - kOnes) & ~x & kHighBits; };
    if constexpr (std::endian::native == std::endian::little) {
        while (static_cast<size_t>(end - p) >= sizeof(uintptr_t)) {
            uintptr_t word;
            memcpy(&word, p, sizeof(word));
            const uintptr_t stops = zeroBytes(word ^ (kOnes * '"')) | zeroBytes(word ^ (kOnes * '\\')) |
                                    zeroBytes(word ^ (kOnes * '\r')) | zeroBytes(word ^ (kOnes * '\n'));
            if (stops) return p + std::countr_zero(stops) / 8;
            p += sizeof(uintptr_t);
        }
    }
    while (p < end && !(ClassOf(p) & kQuotedStops))
        ++p;
    return p;
}

inline char Unescape(char c)
{
    switch (c) {
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    default: return c;
    }
}

// What ReadToken stored: `length` bytes in the output, and whether bytes were left out.
struct Token {
    size_t length;
    bool overflow;
};

// Reads one token into out (room for max bytes). Returns 0 when the data ends before the token
// does; the token is then lost.
inline int ReadToken(Reader &r, char *out, size_t max, Token &token)
{
    size_t length = 0;
    bool overflow = false;
    unsigned char stops = kUnquotedStops;
    const char *p = r.p;
    const char *const end = r.end;
    for (;;) {
        if (p >= end) {
            r.p = end;
            return 0;
        }
        const unsigned char cls = ClassOf(p) & stops;
        if (!cls) {
            // A run of plain bytes: copy as much of it as fits.
            const char *run = p;
            if (stops == kQuotedStops) {
                p = FindQuotedStop(p + 1, end);
            } else {
                do
                    ++p;
                while (p < end && !(ClassOf(p) & stops));
            }
            size_t runLength = static_cast<size_t>(p - run);
            if (runLength > max - length) {
                runLength = max - length;
                overflow = true;
            }
            memcpy(out + length, run, runLength);
            length += runLength;
            continue;
        }
        if (cls & (kLineEnd | kSeparator)) break;
        if (cls & kQuote) {
            ++p;
            if (stops == kQuotedStops) break;
            stops = kQuotedStops;
            continue;
        }
        // A backslash: the byte after it decides.
        if (end - p < 2) {
            r.p = end;
            return 0;
        }
        const unsigned char next = ClassOf(p + 1);
        if ((next & kLineEnd) || (next & stops & kSeparator)) {
            // An escaped line end, or an escaped separator outside quotes, still ends the token.
            ++p;
            break;
        }
        if (length < max)
            out[length++] = Unescape(p[1]);
        else
            overflow = true;
        p += 2;
    }
    r.p = p;
    token.length = length;
    token.overflow = overflow;
    return 1;
}

// Keeps the first max bytes at most of a token that overflowed, cut on a character boundary.
inline size_t KeptLength(const char *bytes, const Token &token, size_t max, LeadBytePredicate isLeadByte)
{
    return token.overflow ? LangCutAtCharBoundary(bytes, max, isLeadByte) : token.length;
}

// The value of the leading decimal digits, as an unsigned 32-bit number (wrapping past 2^32 - 1).
inline uint32_t IdValue(const char *bytes, size_t length)
{
    uint32_t value = 0;
    for (size_t i = 0; i < length && bytes[i] >= '0' && bytes[i] <= '9'; ++i)
        value = value * 10u + static_cast<uint32_t>(bytes[i] - '0');
    return value;
}

// Most ID tokens are a few digits and a separator: read those at once. Returns 0, without moving,
// for anything else, which the general token reader then takes.
inline int ReadPlainId(Reader &r, uint32_t &value)
{
    const char *p = r.p;
    const size_t available = static_cast<size_t>(r.end - p);
    const size_t limit = available < kLangIdTokenMax ? available : kLangIdTokenMax;
    uint32_t id = 0;
    size_t n = 0;
    while (n < limit && p[n] >= '0' && p[n] <= '9') {
        id = id * 10u + static_cast<uint32_t>(p[n] - '0');
        ++n;
    }
    if (n == 0 || n == available || !(ClassOf(p + n) & (kLineEnd | kSeparator))) return 0;
    r.p = p + n;
    value = id;
    return 1;
}

// The signature block: every line from the start whose first byte is ";", without the ";" and
// the tabs, spaces and semicolons right after it, line ends kept.
void ReadSignature(LangFile *model, const char *data, size_t length, LeadBytePredicate isLeadByte)
{
    char *signature = model->signature;
    size_t kept = 0;
    const char *p = data;
    const char *const end = data + length;
    while (p < end && *p == ';') {
        const void *lineFeed = memchr(p, '\n', static_cast<size_t>(end - p));
        const char *lineEnd = lineFeed ? static_cast<const char *>(lineFeed) + 1 : end;
        const char *text = p + 1;
        while (text < lineEnd && (*text == ';' || *text == ' ' || *text == '\t'))
            ++text;
        size_t textLength = static_cast<size_t>(lineEnd - text);
        if (textLength > kLangSignatureMax - kept) {
            textLength = LangCutAtCharBoundary(text, kLangSignatureMax - kept, isLeadByte);
            memcpy(signature + kept, text, textLength);
            kept += textLength;
            break;
        }
        memcpy(signature + kept, text, textLength);
        kept += textLength;
        p = lineEnd;
    }
    memset(signature + kept, 0, kLangSignatureSize - kept);
}

} // namespace

size_t LangCutAtCharBoundary(const char *bytes, size_t limit, LeadBytePredicate isLeadByte)
{
    if (!isLeadByte) return limit;
    size_t at = 0;
    while (at < limit) {
        const size_t width = isLeadByte(static_cast<unsigned char>(bytes[at])) ? 2 : 1;
        if (at + width > limit) break;
        at += width;
    }
    return at;
}

int LangFileParse(LangFile *model, const char *data, size_t length, LeadBytePredicate isLeadByte)
{
    if (!model) return 0;
    if (!data) length = 0;
    ReadSignature(model, data, length, isLeadByte);

    Reader r{data, data + length};
    char idToken[kLangIdTokenMax];
    char text[kLangTextMax];
    Token token;
    SkipWhitespace(r);
    for (;;) {
        if (!SkipComments(r)) break;
        uint32_t stringId;
        if (!ReadPlainId(r, stringId)) {
            if (!ReadToken(r, idToken, sizeof(idToken), token)) break;
            stringId = IdValue(idToken, KeptLength(idToken, token, sizeof(idToken), isLeadByte));
        }
        SkipWhitespace(r);
        if (r.p >= r.end) break;
        ++r.p; // the "=" as written, or whatever stands there
        SkipWhitespace(r);
        if (!SkipComments(r) || !ReadToken(r, text, sizeof(text), token)) break;
        if (!LangFileAppend(model, stringId, text, KeptLength(text, token, sizeof(text), isLeadByte))) break;
        SkipWhitespace(r);
    }
    if (LangFileCount(model) > 1) LangFileSort(model);
    return LangFileCount(model);
}
