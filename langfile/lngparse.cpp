// The reader of the ".lng" format: a signature block of ";" lines, then ID = text items made of
// tokens with quotes and backslash escapes; ";" comments wherever a token is expected.
#include "langfile/lngparse.h"

#include <bit>
#include <cstdint>
#include <cstring>

// PARLEVO_NO_SSE2 builds the path of the 32-bit program (i686 has no SSE2) on other machines too.
#if defined(__SSE2__) && !defined(PARLEVO_NO_SSE2)
#define LNG_SSE2 1
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
#if defined(PARLEVO_NO_SSE2)
using Word = uint32_t; // the 32-bit program's word
#else
using Word = uintptr_t;
#endif
#if defined(LNG_SSE2)
constexpr size_t kChunk = 16;
#elif defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr size_t kChunk = sizeof(Word);
#else
constexpr size_t kChunk = 1;
#endif

// How many of the kChunk bytes at p come before the first double quote, backslash, carriage
// return or line feed: kChunk when there is none.
inline size_t QuotedPlainPrefix(const char *p)
{
#if defined(LNG_SSE2)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    const __m128i stops = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('"')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\'))),
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))));
    // A bit above the chunk makes "none" count as kChunk.
    return static_cast<size_t>(std::countr_zero(static_cast<unsigned>(_mm_movemask_epi8(stops)) | 1u << 16));
#else
    if constexpr (kChunk == 1) return (ClassOf(p) & kQuotedStops) ? 0 : 1;
    constexpr Word kOnes = ~Word{0} / 255;
    constexpr Word kHighBits = kOnes << 7;
    // The high bit of each zero byte of x is set, and possibly bits of bytes above a zero one,
    // never below: so the lowest set bit marks the first zero byte.
    const auto zeroBytes = [](Word x) { return (x - kOnes) & ~x & kHighBits; };
    Word word;
    memcpy(&word, p, sizeof(word));
    const Word stops = zeroBytes(word ^ (kOnes * '"')) | zeroBytes(word ^ (kOnes * '\\')) |
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

// The usual reader marks the stops of 64 bytes at once, in one 64-bit word: an item's quotes,
// escapes and line end then cost a bit scan each rather than a look at every chunk.
constexpr size_t kWindow = 64;

// Bit i set when p[i] may be a quoted-token stop, for the kWindow bytes at p: every double
// quote, backslash, carriage return and line feed is marked. With SSE2 the other bytes from 8 to
// 15 (tab among them) are marked too, so that line ends cost one compare rather than two; the
// caller takes those as plain bytes.
inline uint64_t QuotedStopsInWindow(const char *p)
{
#if defined(LNG_SSE2)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i low3 = _mm_set1_epi8(7);
    const __m128i control = _mm_set1_epi8(15); // 8..15 with their low three bits set
    const auto stopsIn = [&](const char *chunk) -> uint64_t {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(chunk));
        const __m128i stops = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)),
                                           _mm_cmpeq_epi8(_mm_or_si128(bytes, low3), control));
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

// What an escaped byte stands for: n, r and t their control bytes, every other byte itself.
struct Unescapes {
    char of[256];
    constexpr Unescapes() : of()
    {
        for (int c = 0; c < 256; ++c)
            of[c] = static_cast<char>(c);
        of[static_cast<unsigned char>('n')] = '\n';
        of[static_cast<unsigned char>('r')] = '\r';
        of[static_cast<unsigned char>('t')] = '\t';
    }
};
constexpr Unescapes kUnescapes;

inline char Unescape(char c)
{
    return kUnescapes.of[static_cast<unsigned char>(c)];
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

// Keeps the first max bytes at most of a token that overflowed (it goes on past max), cut on a
// character boundary.
inline size_t KeptLength(const char *bytes, const Token &token, size_t max, LeadByteFn isLeadByte)
{
    return token.overflow ? CutAtCharBoundary(bytes, max + 1, max, isLeadByte) : token.length;
}

// One more decimal digit of an ID; a value past 32 bits stays kLangIdTooLarge rather than wrap
// onto a real ID.
inline uint32_t AddIdDigit(uint32_t value, char digit)
{
    const uint32_t d = static_cast<uint32_t>(digit - '0');
    if (value > (kLangIdTooLarge - d) / 10u) return kLangIdTooLarge;
    return value * 10u + d;
}

// Reads the decimal digits at p, at most limit of them, into value; returns how many.
inline size_t ReadDigits(const char *p, size_t limit, uint32_t &value)
{
    value = 0;
    size_t n = 0;
    for (; n < limit && p[n] >= '0' && p[n] <= '9'; ++n)
        value = AddIdDigit(value, p[n]);
    return n;
}

// The value of the leading decimal digits.
inline uint32_t IdValue(const char *bytes, size_t length)
{
    uint32_t value;
    ReadDigits(bytes, length, value);
    return value;
}

// Most ID tokens are a few digits and a separator: read those at once. Returns 0, without moving,
// for anything else, which the general token reader then takes.
inline int ReadPlainId(Reader &r, uint32_t &value)
{
    const char *p = r.p;
    const size_t available = static_cast<size_t>(r.end - p);
    const size_t limit = available < kLangIdTokenMax ? available : kLangIdTokenMax;
    uint32_t id;
    const size_t n = ReadDigits(p, limit, id);
    if (n == 0 || n == available || !(ClassOf(p + n) & (kLineEnd | kSeparator))) return 0;
    r.p = p + n;
    value = id;
    return 1;
}

// The value of the `digits` (1 to 7) decimal digits at the start of word (the bytes of the data
// in memory order); `valid` false, and the value meaningless, when one of them is not a digit.
inline uint32_t DigitsValue(uint64_t word, size_t digits, bool &valid)
{
    if constexpr (std::endian::native == std::endian::little) {
        // A byte is a digit when its high half is 3 and its low half at most 9.
        constexpr uint64_t kOnes = ~uint64_t{0} / 255;
        const uint64_t notDigit =
            ((word & kOnes * 0xF0) ^ kOnes * 0x30) | (((word & kOnes * 0x0F) + kOnes * 6) & kOnes * 0x10);
        valid = (notDigit & ((uint64_t{1} << (8 * digits)) - 1)) == 0;
        // The digits moved to the top, zero bytes (leading zeros) below them, then pairs, fours
        // and eights of digits combined by multiplying.
        uint64_t value = (word << (8 * (8 - digits))) & kOnes * 0x0F;
        value = (value * (10 * 256 + 1)) >> 8;
        value = ((value & 0x00FF00FF00FF00FF) * (100 * 65536 + 1)) >> 16;
        value = ((value & 0x0000FFFF0000FFFF) * (10000 * 4294967296 + 1)) >> 32;
        return static_cast<uint32_t>(value);
    } else {
        unsigned char bytes[8];
        memcpy(bytes, &word, sizeof(bytes));
        uint32_t value = 0;
        valid = true;
        for (size_t i = 0; i < digits; ++i) {
            valid = valid && static_cast<unsigned char>(bytes[i] - '0') <= 9;
            value = value * 10u + static_cast<uint32_t>(bytes[i] - '0');
        }
        return value;
    }
}

// Reads usual items, as the writer forms them, one after the other into slots (room of them):
// ID digits, "=" and a quoted text that ends with its closing quote, then whitespace. Returns how
// many; r.p is then past the last one and its whitespace. Stops, having consumed nothing of it,
// at anything else, and also near the end of the data, at IDs of eight digits or more and at
// texts close to the longest kept: the general reader then takes that item from its start.
// `ascending` tells whether the IDs read come in ascending order.
//
// The data is classified a block of kWindow bytes at a time, each byte once: `stops` holds the
// marks of the block at `block` from the reading position on. A block is classified only while
// a whole window more of data follows it, so that everything read around a stop (the digits
// before it, the two bytes after it, a window's copy from a text's start) lies inside the data.
size_t ReadUsualItems(Reader &r, LangRecord *slots, size_t room, bool &ascending)
{
    const char *p = r.p;
    const char *const end = r.end;
    size_t read = 0;
    uint32_t previous = 0;
    bool descends = false;
    ascending = true;
    if (static_cast<size_t>(end - p) < 2 * kWindow) return 0;
    const char *const lastBlock = end - 2 * kWindow;
    const char *block = p;
    uint64_t stops = QuotedStopsInWindow(block);
    // The first stop left, from later blocks when this one has none; null past the last block.
    const auto nextStop = [&]() -> const char * {
        while (!stops) {
            block += kWindow;
            if (block > lastBlock) return nullptr;
            stops = QuotedStopsInWindow(block);
        }
        return block + std::countr_zero(stops);
    };
    // Drops the stops before at (at or past the block's start); false past the last block.
    const auto skipTo = [&](const char *at) -> bool {
        const size_t offset = static_cast<size_t>(at - block);
        if (offset < kWindow) {
            stops &= ~uint64_t{0} << offset;
            return true;
        }
        block = at;
        if (block > lastBlock) return false;
        stops = QuotedStopsInWindow(block);
        return true;
    };
    for (; read < room; ++read) {
        // The ID's digits and "=" come right before the first stop, the opening quote.
        const char *const open = nextStop();
        if (!open) break;
        const size_t digits = static_cast<size_t>(open - p) - 1;
        if (*open != '"' || digits - 1 >= 7 || open[-1] != '=') break;
        uint64_t word;
        memcpy(&word, p, sizeof(word));
        bool valid;
        const uint32_t id = DigitsValue(word, digits, valid);
        if (!valid) break;
        stops &= stops - 1;
        // The text: plain runs are copied a window at a time (what lies past a run is
        // overwritten later or lies past the terminator), so a run may be at most as long as
        // leaves a window's room in the record.
        char *const out = slots[read].text;
        size_t length = 0;
        const char *q = open + 1;
        for (;;) {
            const char *const stop = nextStop();
            if (!stop) goto done;
            const size_t run = static_cast<size_t>(stop - q);
            if (length + run > kLangTextMax - kWindow) goto done;
            size_t copied = 0;
            do {
                memcpy(out + length + copied, q + copied, kWindow);
                copied += kWindow;
            } while (copied < run);
            length += run;
            const char c = *stop;
            if (c == '"') {
                stops &= stops - 1;
                q = stop + 1;
                break;
            }
            if (c == '\\') {
                // An escaped line end ends the token without a closing quote.
                if (ClassOf(stop + 1) & kLineEnd) goto done;
                out[length++] = Unescape(stop[1]);
                q = stop + 2;
                if (!skipTo(q)) goto done;
                continue;
            }
            // A line end ends the token without a closing quote; other marked bytes are plain.
            if (c == '\r' || c == '\n') goto done;
            out[length++] = c;
            q = stop + 1;
            stops &= stops - 1;
        }
        slots[read].stringId = id;
        out[length] = '\0';
        descends |= previous > id;
        previous = id;
        // Past the closing quote: mostly a CR LF, then the next item.
        p = q;
        if (p[0] == '\r' && p[1] == '\n') p += 2;
        while (p < end && (ClassOf(p) & kWhitespace))
            ++p;
        if (!skipTo(p)) {
            ++read;
            break;
        }
    }
done:
    r.p = p;
    ascending = !descends;
    return read;
}

// The signature block: every line from the start whose first byte is ";", without the ";" and
// the tabs, spaces and semicolons right after it, line ends kept.
void ReadSignature(LangFile *model, const char *data, size_t length, LeadByteFn isLeadByte)
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
            textLength = CutAtCharBoundary(text, textLength, kLangSignatureMax - kept, isLeadByte);
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

int LangFileParse(LangFile *model, const char *data, size_t length, LeadByteFn isLeadByte)
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
        bool ascending;
        const size_t read = ReadUsualItems(r, slots, room, ascending);
        if (read) {
            LangFileCommitSlots(model, read, ascending);
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
