// The translation checks: each text is read once, character by character, into a summary of
// what the host depends on; the two summaries are then compared check by check.
#include "view/textcheck.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace
{

// 251 bytes hold at most 125 conversions; past this many only their number is compared.
constexpr int kMaxConversions = 64;
constexpr int kMaxInserts = 64;
constexpr int kInsertNumbers = 100; // %1 .. %99
constexpr int kPieceMax = 40;       // bytes of a text quoted in a message
constexpr size_t kNoTab = size_t(-1);
constexpr int kDotsOfEllipsis = 3;
// The one-byte "..." of every single-byte Windows code page; in the double-byte ones it is a
// lead byte, so only a byte after the last double-byte character is taken for it.
constexpr unsigned char kEllipsisByte = 0x85;

enum ArgType : uint8_t {
    kArgInt,
    kArgUnsigned,
    kArgNarrowString,
    kArgWideString,
    kArgNarrowChar,
    kArgWideChar,
    kArgFloat,
    kArgPointer,
    kArgCount,
};

enum ArgSize : uint8_t { kSize32, kSize64, kSizePointer };

enum LengthPrefix : uint8_t { kLenNone, kLenShort, kLenLong, kLenLongLong, kLenPointer, kLen32, kLenWide };

struct Conversion {
    uint32_t offset; // of the '%'
    uint32_t length; // up to and with the type letter
    uint8_t type;
    uint8_t size;
    uint8_t stars; // '*' widths and precisions, each an int argument before the value
};

struct Insert {
    uint32_t offset; // of the '%'
    uint32_t length; // with its !fmt!
    uint32_t fmtOffset;
    uint32_t fmtLength; // 0: no !fmt!, which FormatMessage reads as !s!
    uint8_t number;
};

enum Ending : uint8_t { kEndPlain, kEndColon, kEndEllipsis, kEndUnknown };

struct TextSummary {
    const char *text;
    size_t length;
    int lineFeeds;
    int leadingBlanks;
    int trailingBlanks;
    int accessKeys;
    size_t firstAccessKey; // offset of its '&'
    size_t lastTab;        // kNoTab: none
    Ending ending;         // of the whole text, trailing blanks aside
    Ending endingBeforeTab;
    int conversions; // all found; the first kMaxConversions are kept
    int percentLiterals;
    int lonePercents; // a % that begins no conversion, no insert and no %%
    int inserts;
    Conversion conv[kMaxConversions];
    Insert ins[kMaxInserts];
};

struct Shortcut {
    int modifiers;
    const char *key;
    size_t keyLength;
    bool named; // a key name (Del, Enter ...), which a translation may spell its own way
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool EqualIgnoreCase(const char *a, size_t aLength, const char *b, size_t bLength)
{
    if (aLength != bLength) return false;
    for (size_t i = 0; i < aLength; ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

// No code page has a lead byte below 0x80, so ASCII never asks the predicate.
bool IsLeadByte(unsigned char c, LeadByteFn isLead)
{
    return c >= 0x80 && isLead && isLead(c);
}

size_t CharLength(const char *text, size_t i, LeadByteFn isLead)
{
    return (IsLeadByte((unsigned char)text[i], isLead) && text[i + 1] != '\0') ? 2 : 1;
}

constexpr char kSpecialBytes[] = "%&\n\t";

// The bytes that mean nothing to any check; the walk passes runs of them in a tight loop.
struct OrdinaryBytes {
    bool table[256];
    constexpr OrdinaryBytes() : table()
    {
        for (int c = 0; c < 256; ++c)
            table[c] = true;
        for (char c : kSpecialBytes)
            table[(unsigned char)c] = false; // the terminator included
    }
};
constexpr OrdinaryBytes kOrdinary;

bool IsOrdinary(unsigned char c, LeadByteFn isLead)
{
    return kOrdinary.table[c] && !IsLeadByte(c, isLead);
}

// The longest prefix of at most kPieceMax bytes that ends on a character boundary. The piece
// lies in a terminated text: only where the text ends there does a lead byte end the piece.
int PieceLength(const char *piece, size_t length, LeadByteFn isLead)
{
    return int(CutAtCharBoundary(piece, strnlen(piece, length + 1), std::min(length, size_t(kPieceMax)), isLead));
}

// The full-width colon and ellipsis of the CJK code pages. The same two bytes are another
// character in another of them, and the checker does not know which one is in use, so such an
// ending is left unjudged rather than risk a false alarm.
Ending DoubleByteEnding(unsigned char lead, unsigned char trail)
{
    static const unsigned char kPairs[][2] = {
        {0x81, 0x46}, {0xA3, 0xBA}, {0xA1, 0x47},               // colon: 932; 936 and 949; 950
        {0x81, 0x63}, {0xA1, 0xAD}, {0xA1, 0xA6}, {0xA1, 0x4B}, // ellipsis: 932; 936; 949; 950
    };
    for (const auto &pair : kPairs) {
        if (pair[0] == lead && pair[1] == trail) return kEndUnknown;
    }
    return kEndPlain;
}

LengthPrefix ReadLengthPrefix(const char *text, size_t &p)
{
    switch (text[p]) {
    case 'h': p += text[p + 1] == 'h' ? 2 : 1; return kLenShort;
    case 'l':
        if (text[p + 1] == 'l') {
            p += 2;
            return kLenLongLong;
        }
        ++p;
        return kLenLong;
    case 'L':
    case 'q':
    case 'j': ++p; return kLenLongLong;
    case 'z':
    case 't': ++p; return kLenPointer;
    case 'w': ++p; return kLenWide;
    case 'I':
        if (text[p + 1] == '6' && text[p + 2] == '4') {
            p += 3;
            return kLenLongLong;
        }
        if (text[p + 1] == '3' && text[p + 2] == '2') {
            p += 3;
            return kLen32;
        }
        ++p;
        return kLenPointer;
    default: return kLenNone;
    }
}

uint8_t IntegerSize(LengthPrefix length)
{
    if (length == kLenLongLong) return kSize64;
    if (length == kLenPointer) return kSizePointer;
    return kSize32; // h and l too: both are passed as 32 bits on Windows
}

// The type letter with its length prefix. In the ANSI functions %S and %C take wide
// characters, as %ls and %lc do; %hS and %hC narrow ones.
bool ReadType(char letter, LengthPrefix length, Conversion *c)
{
    bool wide = length == kLenLong || length == kLenWide;
    bool narrow = length == kLenShort;
    c->size = kSize32;
    switch (letter) {
    case 'd':
    case 'i':
        c->type = kArgInt;
        c->size = IntegerSize(length);
        return true;
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        c->type = kArgUnsigned;
        c->size = IntegerSize(length);
        return true;
    case 's': c->type = wide ? kArgWideString : kArgNarrowString; return true;
    case 'S': c->type = narrow ? kArgNarrowString : kArgWideString; return true;
    case 'c': c->type = wide ? kArgWideChar : kArgNarrowChar; return true;
    case 'C': c->type = narrow ? kArgNarrowChar : kArgWideChar; return true;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A': c->type = kArgFloat; return true;
    case 'p': c->type = kArgPointer; return true;
    case 'n': c->type = kArgCount; return true;
    default: return false;
    }
}

// A conversion at text[at] == '%' that is neither %% nor an insert. The blank flag is left out:
// with it "50 % größer" would hold a %g, and a blank after a percent sign is far more often text.
bool ReadConversion(const char *text, size_t at, Conversion *c)
{
    size_t p = at + 1;
    while (text[p] == '-' || text[p] == '+' || text[p] == '#' || text[p] == '0')
        ++p;
    c->stars = 0;
    if (text[p] == '*') {
        ++c->stars;
        ++p;
    }
    while (IsDigit(text[p]))
        ++p;
    if (text[p] == '.') {
        ++p;
        if (text[p] == '*') {
            ++c->stars;
            ++p;
        }
        while (IsDigit(text[p]))
            ++p;
    }
    LengthPrefix length = ReadLengthPrefix(text, p);
    if (!ReadType(text[p], length, c)) return false;
    c->offset = uint32_t(at);
    c->length = uint32_t(p + 1 - at);
    return true;
}

// An insert at text[at] == '%' followed by 1-9: one or two digits, then maybe !fmt!.
size_t ReadInsert(const char *text, size_t at, LeadByteFn isLead, Insert *ins)
{
    size_t p = at + 1;
    int number = text[p++] - '0';
    if (IsDigit(text[p])) number = number * 10 + (text[p++] - '0');
    ins->number = uint8_t(number);
    ins->offset = uint32_t(at);
    ins->fmtOffset = 0;
    ins->fmtLength = 0;
    if (text[p] == '!') {
        size_t q = p + 1;
        while (text[q] != '\0' && text[q] != '!')
            q += CharLength(text, q, isLead);
        if (text[q] == '!') {
            ins->fmtOffset = uint32_t(p + 1);
            ins->fmtLength = uint32_t(q - p - 1);
            p = q + 1;
        }
    }
    ins->length = uint32_t(p - at);
    return p;
}

// Handles the '%' at text[i]; returns the offset after what it begins.
size_t ReadPercent(TextSummary *s, size_t i, LeadByteFn isLead)
{
    const char *text = s->text;
    char next = text[i + 1];
    if (next == '%') {
        ++s->percentLiterals;
        return i + 2;
    }
    if (next >= '1' && next <= '9') {
        Insert scratch;
        Insert *ins = s->inserts < kMaxInserts ? &s->ins[s->inserts] : &scratch;
        size_t after = ReadInsert(text, i, isLead, ins);
        ++s->inserts;
        return after;
    }
    Conversion scratch;
    Conversion *c = s->conversions < kMaxConversions ? &s->conv[s->conversions] : &scratch;
    if (!ReadConversion(text, i, c)) {
        ++s->lonePercents;
        return i + 1;
    }
    ++s->conversions;
    return i + c->length;
}

// The ending of text[0..end), blanks aside; doubleEnd is the offset just past the last
// double-byte character before end (0: none), so the last character's start is known.
Ending EndingAt(const char *text, size_t end, size_t doubleEnd, int *blanks)
{
    size_t e = end;
    while (e > doubleEnd && text[e - 1] == ' ')
        --e;
    if (blanks) *blanks = int(end - e);
    if (e == 0) return kEndPlain;
    if (e == doubleEnd) return DoubleByteEnding((unsigned char)text[e - 2], (unsigned char)text[e - 1]);
    unsigned char last = (unsigned char)text[e - 1];
    if (last == ':') return kEndColon;
    if (last == kEllipsisByte) return kEndEllipsis;
    bool dots =
        e - doubleEnd >= size_t(kDotsOfEllipsis) && memcmp(text + e - kDotsOfEllipsis, "...", kDotsOfEllipsis) == 0;
    return dots ? kEndEllipsis : kEndPlain;
}

void Summarise(const char *text, LeadByteFn isLead, TextSummary *s)
{
    s->text = text;
    s->lineFeeds = 0;
    s->leadingBlanks = 0;
    s->accessKeys = 0;
    s->firstAccessKey = 0;
    s->lastTab = kNoTab;
    s->endingBeforeTab = kEndPlain;
    s->conversions = 0;
    s->percentLiterals = 0;
    s->lonePercents = 0;
    s->inserts = 0;
    size_t doubleEnd = 0;
    size_t i = 0;
    for (;;) {
        if (isLead) {
            while (IsOrdinary((unsigned char)text[i], isLead))
                ++i;
        } else {
            i += strcspn(text + i, kSpecialBytes); // vectorised by most C libraries
        }
        unsigned char c = (unsigned char)text[i];
        if (c == '\0') break;
        if (CharLength(text, i, isLead) == 2) {
            i += 2;
            doubleEnd = i;
            continue;
        }
        switch (c) {
        case '%': i = ReadPercent(s, i, isLead); continue;
        case '&':
            // "&&" is one ampersand, and one before a blank or at the end marks nothing.
            if (text[i + 1] == '&') {
                i += 2;
                continue;
            }
            if (text[i + 1] != '\0' && text[i + 1] != ' ') {
                if (s->accessKeys == 0) s->firstAccessKey = i;
                ++s->accessKeys;
            }
            break;
        case '\n': ++s->lineFeeds; break;
        case '\t':
            s->lastTab = i;
            s->endingBeforeTab = EndingAt(text, i, doubleEnd, nullptr);
            break;
        default: // a lead byte just before the terminator
            break;
        }
        ++i;
    }
    s->length = i;
    while (text[s->leadingBlanks] == ' ')
        ++s->leadingBlanks;
    s->ending = EndingAt(text, i, doubleEnd, &s->trailingBlanks);
}

// Appends a problem; the format's %.*s pieces are cut by the caller.
void AddProblem(TextProblems *out, CheckId check, const char *format, ...)
{
    if (out->count >= kMaxTextProblems) return;
    TextProblem &p = out->items[out->count++];
    bool error = check == CheckId::Printf || check == CheckId::Inserts || check == CheckId::Length;
    p.severity = error ? ProblemSeverity::Error : ProblemSeverity::Warning;
    p.check = check;
    va_list args;
    va_start(args, format);
    vsnprintf(p.message, sizeof p.message, format, args);
    va_end(args);
    if (error)
        ++out->errors;
    else
        ++out->warnings;
}

bool SameArgument(const Conversion &a, const Conversion &b)
{
    return a.type == b.type && a.size == b.size && a.stars == b.stars;
}

void CheckPrintf(const TextSummary &src, const TextSummary &tr, LeadByteFn isLead, TextProblems *out)
{
    // A source with inserts is a FormatMessage text: there %n and %t are escapes.
    if (src.inserts > 0) return;
    int common = src.conversions < tr.conversions ? src.conversions : tr.conversions;
    if (common > kMaxConversions) common = kMaxConversions;
    for (int k = 0; k < common; ++k) {
        const Conversion &a = src.conv[k];
        const Conversion &b = tr.conv[k];
        if (SameArgument(a, b)) continue;
        AddProblem(out, CheckId::Printf, "%.*s expected where %.*s stands",
                   PieceLength(src.text + a.offset, a.length, isLead), src.text + a.offset,
                   PieceLength(tr.text + b.offset, b.length, isLead), tr.text + b.offset);
        return;
    }
    if (tr.conversions < src.conversions) {
        if (tr.conversions >= kMaxConversions) {
            AddProblem(out, CheckId::Printf, "%d conversions expected where %d stand", src.conversions, tr.conversions);
            return;
        }
        const Conversion &a = src.conv[tr.conversions];
        AddProblem(out, CheckId::Printf, "%.*s missing (conversion %d of %d)",
                   PieceLength(src.text + a.offset, a.length, isLead), src.text + a.offset, tr.conversions + 1,
                   src.conversions);
        return;
    }
    if (tr.conversions > src.conversions) {
        if (src.conversions >= kMaxConversions) {
            AddProblem(out, CheckId::Printf, "%d conversions expected where %d stand", src.conversions, tr.conversions);
            return;
        }
        const Conversion &b = tr.conv[src.conversions];
        AddProblem(out, CheckId::Printf, "%.*s is not in the source", PieceLength(tr.text + b.offset, b.length, isLead),
                   tr.text + b.offset);
        return;
    }
    // In a format a stray percent sign is undefined; outside one it is just text.
    bool format = src.conversions > 0 || src.percentLiterals > 0;
    if (format && tr.lonePercents > src.lonePercents) {
        AddProblem(out, CheckId::Printf, "%% that begins no conversion (a percent sign is written %%%%)");
    }
}

// FormatMessage reads an insert without !fmt! as !s!.
bool SameFormat(const TextSummary &a, const Insert &x, const TextSummary &b, const Insert &y)
{
    const char *fx = x.fmtLength ? a.text + x.fmtOffset : "s";
    const char *fy = y.fmtLength ? b.text + y.fmtOffset : "s";
    size_t nx = x.fmtLength ? x.fmtLength : 1;
    size_t ny = y.fmtLength ? y.fmtLength : 1;
    return nx == ny && memcmp(fx, fy, nx) == 0;
}

void CheckInserts(const TextSummary &src, const TextSummary &tr, LeadByteFn isLead, TextProblems *out)
{
    if (src.inserts == 0 && tr.inserts == 0) return;
    int srcCount = src.inserts < kMaxInserts ? src.inserts : kMaxInserts;
    int trCount = tr.inserts < kMaxInserts ? tr.inserts : kMaxInserts;
    // The first insert of each number in the source, and which numbers the translation uses.
    int first[kInsertNumbers];
    bool used[kInsertNumbers] = {};
    for (int &index : first)
        index = -1;
    for (int k = srcCount - 1; k >= 0; --k)
        first[src.ins[k].number] = k;
    for (int k = 0; k < trCount; ++k)
        used[tr.ins[k].number] = true;
    for (int k = 0; k < srcCount; ++k) {
        const Insert &a = src.ins[k];
        if (used[a.number]) continue;
        AddProblem(out, CheckId::Inserts, "%.*s missing", PieceLength(src.text + a.offset, a.length, isLead),
                   src.text + a.offset);
        return;
    }
    for (int k = 0; k < trCount; ++k) {
        const Insert &b = tr.ins[k];
        int index = first[b.number];
        if (index < 0) {
            AddProblem(out, CheckId::Inserts, "%.*s is not in the source",
                       PieceLength(tr.text + b.offset, b.length, isLead), tr.text + b.offset);
            return;
        }
        // The source may use one insert twice with two formats ("%1 (%1!x!)"): either will do.
        bool formatInSource = false;
        for (int j = index; j < srcCount && !formatInSource; ++j)
            formatInSource = src.ins[j].number == b.number && SameFormat(src, src.ins[j], tr, b);
        if (formatInSource) continue;
        const Insert &a = src.ins[index];
        AddProblem(out, CheckId::Inserts, "%.*s expected where %.*s stands",
                   PieceLength(src.text + a.offset, a.length, isLead), src.text + a.offset,
                   PieceLength(tr.text + b.offset, b.length, isLead), tr.text + b.offset);
        return;
    }
}

struct Name {
    const char *text;
    size_t length;
    template <size_t N> constexpr Name(const char (&literal)[N]) : text(literal), length(N - 1) {}
};

// Names compare without case, but a name starts with a capital: "\tend" in a sentence is no key.
template <size_t N> bool IsName(const char *word, size_t length, const Name (&names)[N])
{
    if (length == 0 || !(word[0] >= 'A' && word[0] <= 'Z')) return false;
    for (const Name &name : names) {
        if (EqualIgnoreCase(word, length, name.text, name.length)) return true;
    }
    return false;
}

bool IsModifierName(const char *word, size_t length)
{
    static const Name kModifiers[] = {"Ctrl", "Control", "Shift", "Alt", "Win"};
    return IsName(word, length, kModifiers);
}

bool IsKeyName(const char *word, size_t length)
{
    static const Name kKeys[] = {
        "Del",  "Delete", "Ins",   "Insert", "Enter", "Return",    "Esc",      "Escape", "Space",
        "Tab",  "Home",   "End",   "PgUp",   "PgDn",  "PageUp",    "PageDown", "Up",     "Down",
        "Left", "Right",  "Pause", "Break",  "PrtSc", "Backspace", "Bksp",     "Plus",   "Minus",
    };
    return IsName(word, length, kKeys);
}

// A key that is the same in every language: a letter, a digit, a punctuation key, F1-F24.
bool IsLiteralKey(const char *key, size_t length)
{
    if (length == 1) return IsAsciiLetter(key[0]) || IsDigit(key[0]) || strchr("+-=,./*", key[0]) != nullptr;
    if (length < 2 || length > 3 || (key[0] != 'F' && key[0] != 'f')) return false;
    int number = 0;
    for (size_t i = 1; i < length; ++i) {
        if (!IsDigit(key[i])) return false;
        number = number * 10 + (key[i] - '0');
    }
    return number >= 1 && number <= 24 && key[1] != '0';
}

// Splits the text after a tab into modifiers and key: "Ctrl+Shift+O", "F2", "Ctrl++". In strict
// form (the source) every modifier and the key must be known names; otherwise any non-empty
// parts do, since a translation may name its modifiers and keys its own way ("Strg+Entf").
bool ReadShortcut(const char *tail, size_t length, LeadByteFn isLead, bool strict, Shortcut *out)
{
    if (length == 0) return false;
    size_t lastPlus = kNoTab;
    for (size_t i = 0; i < length; i += CharLength(tail, i, isLead)) {
        if (tail[i] == '\n') return false;
        if (tail[i] == '+') lastPlus = i;
    }
    // A final '+' is the key itself ("Ctrl++"); the joining '+' is then the one before it.
    size_t keyStart = lastPlus == kNoTab ? 0 : lastPlus + 1;
    if (lastPlus == length - 1) keyStart = lastPlus;
    if (keyStart > 0 && tail[keyStart - 1] != '+') return false;
    out->key = tail + keyStart;
    out->keyLength = length - keyStart;
    out->named = !IsLiteralKey(out->key, out->keyLength);
    if (strict && out->named && !IsKeyName(out->key, out->keyLength)) return false;
    out->modifiers = 0;
    if (keyStart == 0) return true;
    size_t end = keyStart - 1; // the joining '+'
    size_t start = 0;
    for (size_t i = 0; i <= end; i += (i < end ? CharLength(tail, i, isLead) : 1)) {
        if (i < end && tail[i] != '+') continue;
        if (i == start) return false;
        if (strict && !IsModifierName(tail + start, i - start)) return false;
        ++out->modifiers;
        start = i + 1;
    }
    return true;
}

bool SourceShortcut(const TextSummary &s, LeadByteFn isLead, Shortcut *out)
{
    if (s.lastTab == kNoTab) return false;
    return ReadShortcut(s.text + s.lastTab + 1, s.length - s.lastTab - 1, isLead, true, out);
}

void CheckShortcut(const TextSummary &src, const Shortcut &want, const TextSummary &tr, LeadByteFn isLead,
                   TextProblems *out)
{
    const char *srcTail = src.text + src.lastTab + 1;
    size_t srcTailLength = src.length - src.lastTab - 1;
    if (tr.lastTab == kNoTab) {
        AddProblem(out, CheckId::Shortcut, "%.*s expected after a tab at the end",
                   PieceLength(srcTail, srcTailLength, isLead), srcTail);
        return;
    }
    const char *trTail = tr.text + tr.lastTab + 1;
    size_t trTailLength = tr.length - tr.lastTab - 1;
    Shortcut got;
    bool ok = ReadShortcut(trTail, trTailLength, isLead, false, &got) && got.modifiers == want.modifiers;
    if (ok && !EqualIgnoreCase(want.key, want.keyLength, got.key, got.keyLength)) {
        // A key name may be the translation's own ("Entf" for Del); a letter or F-key may not.
        ok = want.named && got.named;
    }
    if (ok) return;
    AddProblem(out, CheckId::Shortcut, "%.*s expected where %.*s stands", PieceLength(srcTail, srcTailLength, isLead),
               srcTail, PieceLength(trTail, trTailLength, isLead), trTail);
}

void CheckAccessKey(const TextSummary &src, const TextSummary &tr, LeadByteFn isLead, TextProblems *out)
{
    if (src.accessKeys > 1) return; // no rule for the odd text with two
    if (src.accessKeys == tr.accessKeys) return;
    if (src.accessKeys == 0) {
        const char *key = tr.text + tr.firstAccessKey;
        AddProblem(out, CheckId::AccessKey, "access key %.*s where the source has none",
                   int(1 + CharLength(key, 1, isLead)), key);
        return;
    }
    const char *key = src.text + src.firstAccessKey;
    int keyLength = int(1 + CharLength(key, 1, isLead));
    if (tr.accessKeys == 0) {
        AddProblem(out, CheckId::AccessKey, "access key missing (the source has %.*s)", keyLength, key);
        return;
    }
    AddProblem(out, CheckId::AccessKey, "%d access keys where one (%.*s) is expected", tr.accessKeys, keyLength, key);
}

// "1 line break expected where 2 stand", "2 line breaks expected where 1 stands".
const char *PluralEnding(int n)
{
    return n == 1 ? "" : "s";
}

const char *VerbEnding(int n)
{
    return n == 1 ? "s" : "";
}

const char *EndingText(Ending e)
{
    return e == kEndColon ? "':'" : "'...'";
}

void CheckEnding(Ending want, Ending got, TextProblems *out)
{
    if (want == got || want == kEndUnknown || got == kEndUnknown) return;
    if (got == kEndPlain) {
        AddProblem(out, CheckId::Ending, "%s expected at the end", EndingText(want));
        return;
    }
    if (want == kEndPlain) {
        AddProblem(out, CheckId::Ending, "%s at the end where the source has none", EndingText(got));
        return;
    }
    AddProblem(out, CheckId::Ending, "%s expected where %s stands", EndingText(want), EndingText(got));
}

} // namespace

int CheckTranslation(const char *source, const char *translation, LeadByteFn isLead, TextProblems *out)
{
    out->count = 0;
    out->errors = 0;
    out->warnings = 0;
    if (!translation || translation[0] == '\0') return 0;
    TextSummary src;
    TextSummary tr;
    Summarise(source ? source : "", isLead, &src);
    Summarise(translation, isLead, &tr);

    CheckPrintf(src, tr, isLead, out);
    CheckInserts(src, tr, isLead, out);
    if (tr.length > kTextCheckMax) {
        AddProblem(out, CheckId::Length, "%d bytes where at most %d are kept", int(tr.length), int(kTextCheckMax));
    }
    Shortcut shortcut;
    bool hasShortcut = SourceShortcut(src, isLead, &shortcut);
    if (hasShortcut) CheckShortcut(src, shortcut, tr, isLead, out);
    CheckAccessKey(src, tr, isLead, out);
    if (src.lineFeeds != tr.lineFeeds) {
        AddProblem(out, CheckId::LineBreaks, "%d line break%s expected where %d stand%s", src.lineFeeds,
                   PluralEnding(src.lineFeeds), tr.lineFeeds, VerbEnding(tr.lineFeeds));
    }
    if (src.leadingBlanks != tr.leadingBlanks) {
        AddProblem(out, CheckId::Blanks, "%d leading blank%s expected where %d stand%s", src.leadingBlanks,
                   PluralEnding(src.leadingBlanks), tr.leadingBlanks, VerbEnding(tr.leadingBlanks));
    } else if (src.trailingBlanks != tr.trailingBlanks) {
        AddProblem(out, CheckId::Blanks, "%d trailing blank%s expected where %d stand%s", src.trailingBlanks,
                   PluralEnding(src.trailingBlanks), tr.trailingBlanks, VerbEnding(tr.trailingBlanks));
    }
    // Before a shortcut the text ends at its tab: "&Open...\tCtrl+O" ends in "...".
    Ending want = hasShortcut ? src.endingBeforeTab : src.ending;
    Ending got = (hasShortcut && tr.lastTab != kNoTab) ? tr.endingBeforeTab : tr.ending;
    CheckEnding(want, got, out);
    return out->count;
}

const char *CheckName(CheckId check)
{
    static const char *const kNames[] = {"printf",    "inserts",    "length", "shortcut",
                                         "accesskey", "linebreaks", "blanks", "ending"};
    size_t index = size_t(check);
    return index < sizeof kNames / sizeof kNames[0] ? kNames[index] : "";
}

const char *SeverityName(ProblemSeverity severity)
{
    return severity == ProblemSeverity::Error ? "error" : "warning";
}
