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

// Quoted texts are mostly plain bytes, so they are looked at a chunk at a time: 16 bytes where
// SSE2 is there, else a machine word (the bit tricks below need little-endian words; elsewhere
// a chunk is one byte).
#if defined(__SSE2__)
constexpr size_t kChunk = 16;
#elif defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr size_t kChunk = sizeof(uintptr_t);
#else
constexpr size_t kChunk = 1;
#endif

// How many of the kChunk bytes at p come before the first double quote, backslash, carriage
// return or line feed: kChunk when there is none.
inline size_t QuotedPlainPrefix(const char *p)
{
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    const __m128i stops = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('"')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\'))),
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))));
    // A bit above the chunk makes "none" count as kChunk.
    return static_cast<size_t>(std::countr_zero(static_cast<unsigned>(_mm_movemask_epi8(stops)) | 1u << 16));
#else
    if constexpr (kChunk == 1) return (ClassOf(p) & kQuotedStops) ? 0 : 1;
    constexpr uintptr_t kOnes = ~uintptr_t{0} / 255;
    constexpr uintptr_t kHighBits = kOnes << 7;
    // The high bit of each zero byte of x is set, and possibly bits of bytes above a zero one,
    // never below: so the lowest set bit marks the first zero byte.
    const auto zeroBytes = [](uintptr_t x) { return (x - kOnes) & ~x & kHighBits; };
    uintptr_t word;
    memcpy(&word, p, sizeof(word));
    const uintptr_t stops = zeroBytes(word ^ (kOnes * '"')) | zeroBytes(word ^ (kOnes * '\\')) |
                            zeroBytes(word ^ (kOnes * '\r')) | zeroBytes(word ^ (kOnes * '\n'));
    return stops ? static_cast<size_t>(std::countr_zero(stops)) / 8 : kChunk;
#endif
}

// The first double quote, backslash, carriage return or line feed in [p, end), or end.
inline const char *FindQuotedStop(const char *p, const char *end)
{
    while (static_cast<size_t>(end - p) >= kChunk) {
        const size_t plain = QuotedPlainPrefix(p);
        if (plain < kChunk) return p + plain;
        p += kChunk;
    }
    while (p < end && !(ClassOf(p) & kQuotedStops))
        ++p;
    return p;
}

// The usual reader takes the stops of a quoted text from a 64-byte window at once: most texts
// fit in one, with their escapes, so that the end of a text costs a branch or two rather than
// one per chunk.
constexpr size_t kWindow = 64;

// Bit i set when p[i] is a quoted-token stop, for the kWindow bytes at p.
inline uint64_t QuotedStopsInWindow(const char *p)
{
#if defined(__SSE2__)
    const auto stopsIn = [](const char *chunk) -> uint64_t {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(chunk));
        const __m128i stops = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('"')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\'))),
            _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))));
        return static_cast<unsigned>(_mm_movemask_epi8(stops));
    };
    return stopsIn(p) | stopsIn(p + 16) << 16 | stopsIn(p + 32) << 32 | stopsIn(p + 48) << 48;
#else
    uint64_t stops = 0;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t kOnes = ~uint64_t{0} / 255;
        constexpr uint64_t kLow7 = kOnes * 0x7F;
        // The high bit of each zero byte of x, exactly (no borrows between bytes).
        const auto zeroBytes = [](uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); };
        for (size_t at = 0; at < kWindow; at += 8) {
            uint64_t word;
            memcpy(&word, p + at, sizeof(word));
            const uint64_t marks = zeroBytes(word ^ (kOnes * '"')) | zeroBytes(word ^ (kOnes * '\\')) |
                                   zeroBytes(word ^ (kOnes * '\r')) | zeroBytes(word ^ (kOnes * '\n'));
            // The eight high bits gathered into one byte, byte i's into bit i.
            stops |= (((marks >> 7) * 0x0102040810204080) >> 56) << at;
        }
    } else {
        for (size_t at = 0; at < kWindow; ++at)
            stops |= static_cast<uint64_t>((ClassOf(p + at) & kQuotedStops) != 0) << at;
    }
    return stops;
#endif
}

// Copies the plain bytes of a quoted token at p to out + length a whole chunk at a time, while
// both the data and out (room for max bytes) hold a chunk more; the bytes stored past the run
// are left for the next ones to overwrite. Returns where the copy stopped, at a stop byte or
// where too little was left for a chunk.
inline const char *CopyQuotedChunks(const char *p, const char *end, char *out, size_t max, size_t &length)
{
    while (static_cast<size_t>(end - p) >= kChunk && max - length >= kChunk) {
        memcpy(out + length, p, kChunk);
        const size_t plain = QuotedPlainPrefix(p);
        p += plain;
        length += plain;
        if (plain < kChunk) break;
    }
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
            if (stops == kQuotedStops) {
                p = CopyQuotedChunks(p, end, out, max, length);
                if (p < end && (ClassOf(p) & kQuotedStops)) continue;
            }
            const char *run = p;
            if (stops == kQuotedStops) {
                p = FindQuotedStop(p, end);
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

// How many decimal digits p starts with, up to 8, and their value (p holds at least 8 bytes).
inline size_t LeadingDigits(const char *p, uint32_t &value)
{
    if constexpr (std::endian::native == std::endian::little) {
        // Eight bytes at once: a byte is a digit when its high half is 3 and its low half at most 9.
        constexpr uint64_t kOnes = ~uint64_t{0} / 255;
        uint64_t word;
        memcpy(&word, p, sizeof(word));
        const uint64_t notDigit = ((word & kOnes * 0xF0) ^ kOnes * 0x30) | (((word & kOnes * 0x0F) + kOnes * 6) & kOnes * 0x10);
        // The high bit of every non-zero byte of notDigit; the lowest marks the first non-digit.
        const uint64_t marks = (((notDigit & kOnes * 0x7F) + kOnes * 0x7F) | notDigit) & kOnes * 0x80;
        const size_t count = marks ? static_cast<size_t>(std::countr_zero(marks)) / 8 : 8;
        if (count == 0) return 0;
        // The digits moved to the top, zero bytes (leading zeros) below them, then pairs, fours
        // and eights of digits combined by multiplying.
        uint64_t digits = (word << (8 * (8 - count))) & kOnes * 0x0F;
        digits = (digits * (10 * 256 + 1)) >> 8;
        digits = ((digits & 0x00FF00FF00FF00FF) * (100 * 65536 + 1)) >> 16;
        digits = ((digits & 0x0000FFFF0000FFFF) * (10000 * 4294967296 + 1)) >> 32;
        value = static_cast<uint32_t>(digits);
        return count;
    } else {
        size_t count = 0;
        value = 0;
        while (count < 8 && static_cast<unsigned char>(p[count] - '0') <= 9) {
            value = value * 10u + static_cast<uint32_t>(p[count] - '0');
            ++count;
        }
        return count;
    }
}

// Reads the usual item, as the writer forms it: ID digits, "=" and a quoted text that ends with
// its closing quote, into record. Returns 0, having consumed nothing, for anything else, and also
// near the end of the data, for IDs of eight digits or more and for texts close to the longest
// kept: the general reader then takes the item from its start.
inline int ReadUsualItem(Reader &r, LangRecord &record)
{
    const char *p = r.p;
    const char *const end = r.end;
    if (static_cast<size_t>(end - p) < 8 + 2) return 0;
    uint32_t id;
    const size_t digits = LeadingDigits(p, id);
    if (digits == 0 || digits == 8 || p[digits] != '=' || p[digits + 1] != '"') return 0;
    p += digits + 2;
    char *const out = record.text;
    size_t length = 0;
    // Each window's stops are taken one after the other; between them the plain bytes are
    // copied a whole window's worth at a time (what lies past the stop is overwritten later or
    // lies past the terminator). The byte after a window is there for an escape's second.
    for (;;) {
        if (static_cast<size_t>(end - p) <= kWindow || kLangTextMax - length < kWindow) return 0;
        uint64_t stops = QuotedStopsInWindow(p);
        size_t left = kWindow; // bytes of the window from p on; stops is shifted along
        for (;;) {
            memcpy(out + length, p, kWindow);
            if (!stops) {
                p += left;
                length += left;
                break;
            }
            const size_t plain = static_cast<size_t>(std::countr_zero(stops));
            p += plain;
            length += plain;
            if (*p == '"') {
                r.p = p + 1;
                record.stringId = id;
                out[length] = '\0';
                return 1;
            }
            // A line end, or a backslash before one, ends the token without a closing quote.
            if (*p != '\\' || (ClassOf(p + 1) & kLineEnd)) return 0;
            out[length++] = Unescape(p[1]);
            p += 2;
            if (plain + 2 >= left) break;
            stops >>= plain + 2;
            left -= plain + 2;
            if (static_cast<size_t>(end - p) <= kWindow || kLangTextMax - length < kWindow) return 0;
        }
    }
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
        // The usual items go straight into the free records past the last one.
        size_t room;
        LangRecord *slots = LangFileFreeSlots(model, room);
        size_t read = 0;
        while (read < room && ReadUsualItem(r, slots[read])) {
            ++read;
            SkipWhitespace(r);
        }
        if (read) {
            LangFileCommitSlots(model, read);
            continue;
        }
        // Anything else, and the first item after the records buffer is full, the general way.
        uint32_t stringId;
        if (!ReadPlainId(r, stringId)) {
            if (!ReadToken(r, idToken, sizeof(idToken), token)) break;
            stringId = IdValue(idToken, KeptLength(idToken, token, sizeof(idToken), isLeadByte));
        }
        SkipWhitespace(r);
        if (r.p >= r.end) break;
        ++r.p; // the "=" as written, or whatever stands there
        SkipWhitespace(r);
        if (!SkipComments(r)) break;
        if (!ReadToken(r, text, sizeof(text), token)) break;
        if (!LangFileAppend(model, stringId, text, KeptLength(text, token, sizeof(text), isLeadByte))) break;
        SkipWhitespace(r);
    }
    if (LangFileCount(model) > 1) LangFileSort(model);
    return LangFileCount(model);
}
