// The model's records and signature: creation, lookup, appending and sorting.
#include "langfile/lngmodel.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

// PARLEVO_NO_SSE2 builds the path of the 32-bit program (i686 has no SSE2) on other machines too.
#if defined(__SSE2__) && !defined(PARLEVO_NO_SSE2)
#define LNG_SSE2 1
#include <emmintrin.h>
#endif

LangFile *LangFileCreate()
{
    LangFile *model = static_cast<LangFile *>(calloc(1, sizeof(LangFile)));
    if (!model) return nullptr;
    model->records = GrowBufferCreate(kLangRecordsCapacity, kLangRecordsStep);
    if (!model->records) {
        free(model);
        return nullptr;
    }
    model->sorted = 1;
    return model;
}

void LangFileFree(LangFile *model)
{
    if (!model) return;
    GrowBufferFree(model->records);
    free(model);
}

static LangRecord *Records(const LangFile *model)
{
    return reinterpret_cast<LangRecord *>(model->records->base);
}

int LangFileCount(const LangFile *model)
{
    if (!model) return 0;
    return static_cast<int>((model->records->highWater - model->records->base) / sizeof(LangRecord));
}

const LangRecord *LangFileRecordAt(const LangFile *model, int index)
{
    if (!model || index < 0 || index >= LangFileCount(model)) return nullptr;
    return Records(model) + index;
}

// Length of a terminated string of at most `limit` bytes, or limit + 1 when it is longer.
static size_t BoundedLength(const char *text, size_t limit)
{
    size_t length = 0;
    while (length <= limit && text[length])
        ++length;
    return length;
}

int LangFileFind(const LangFile *model, uint32_t stringId, char *destination)
{
    if (!model || !destination || stringId >= kLangIdLimit) return 0;
    const LangRecord *first = Records(model);
    const LangRecord *last = first + LangFileCount(model);
    const LangRecord *found;
    if (model->sorted) {
        found =
            std::lower_bound(first, last, stringId, [](const LangRecord &r, uint32_t id) { return r.stringId < id; });
    } else {
        found = std::find_if(first, last, [stringId](const LangRecord &r) { return r.stringId == stringId; });
    }
    if (found == last || found->stringId != stringId) return 0;
    const size_t length = BoundedLength(found->text, kLangTextMax);
    const size_t kept = length > kLangTextMax ? kLangTextMax : length;
    memcpy(destination, found->text, kept);
    destination[kept] = '\0';
    return 1;
}

int LangFileAppend(LangFile *model, uint32_t stringId, const char *text, size_t length)
{
    if (!model || (length && !text)) return 0;
    const int count = LangFileCount(model);
    // Only the ID and the text up to its terminator are written: the bytes past it are never
    // read, and leaving them alone spares most of a record's cache lines.
    LangRecord *slot = reinterpret_cast<LangRecord *>(GrowBufferExtend(model->records, sizeof(LangRecord)));
    if (!slot) return 0;
    if (length > kLangTextMax) length = kLangTextMax;
    slot->stringId = stringId;
    memcpy(slot->text, text, length);
    slot->text[length] = '\0';
    if (count > 0 && slot[-1].stringId > stringId) model->sorted = 0;
    return 1;
}

LangRecord *LangFileFreeSlots(LangFile *model, size_t &room)
{
    const GrowBuffer *records = model->records;
    const size_t used = static_cast<size_t>(records->highWater - records->base);
    room = (static_cast<size_t>(records->capacity) - used) / sizeof(LangRecord);
    return reinterpret_cast<LangRecord *>(records->highWater);
}

void LangFileCommitSlots(LangFile *model, size_t count, bool ascending)
{
    if (!count) return;
    const int before = LangFileCount(model);
    // The slots are inside the capacity, so the block stays where it is.
    LangRecord *slots = reinterpret_cast<LangRecord *>(GrowBufferExtend(model->records, count * sizeof(LangRecord)));
    if (!ascending || (before > 0 && slots[-1].stringId > slots[0].stringId)) model->sorted = 0;
}

int LangFileAdd(LangFile *model, uint32_t stringId, const char *text)
{
    if (!model || !text || stringId >= kLangIdLimit) return 0;
    const size_t length = BoundedLength(text, kLangTextMax);
    if (length > kLangTextMax) return 0;
    return LangFileAppend(model, stringId, text, length);
}

int LangFileGetSignature(const LangFile *model, char *destination)
{
    if (!model || !destination) return 0;
    memcpy(destination, model->signature, sizeof(model->signature));
    return 1;
}

int LangFileSetSignature(LangFile *model, const char *signature)
{
    if (!model || !signature) return 0;
    size_t length = BoundedLength(signature, kLangSignatureMax);
    if (length > kLangSignatureMax) length = kLangSignatureMax;
    memcpy(model->signature, signature, length);
    memset(model->signature + length, 0, sizeof(model->signature) - length);
    return 1;
}

// Sorts keys by their upper 32 bits, keeping the order of equal ones: a least-significant-
// digit radix sort by bytes, skipping a byte that all keys share (IDs rarely pass 65535). One
// pass counts all four bytes; scratch has room for count keys.
static void SortKeysById(uint64_t *keys, uint64_t *scratch, uint32_t count)
{
    uint32_t start[4][256] = {};
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t id = static_cast<uint32_t>(keys[i] >> 32);
        ++start[0][id & 255];
        ++start[1][id >> 8 & 255];
        ++start[2][id >> 16 & 255];
        ++start[3][id >> 24];
    }
    uint64_t *from = keys;
    uint64_t *to = scratch;
    for (int digit = 0; digit < 4; ++digit) {
        const int shift = 32 + 8 * digit;
        uint32_t *bucketStart = start[digit];
        if (bucketStart[(from[0] >> shift) & 255] == count) continue;
        uint32_t sum = 0;
        for (int bucket = 0; bucket < 256; ++bucket) {
            const uint32_t size = bucketStart[bucket];
            bucketStart[bucket] = sum;
            sum += size;
        }
        for (uint32_t i = 0; i < count; ++i)
            to[bucketStart[(from[i] >> shift) & 255]++] = from[i];
        std::swap(from, to);
    }
    if (from != keys) memcpy(keys, from, count * sizeof(uint64_t));
}

// Whether the 64 bytes at line hold a zero byte at or after offset `from`.
static inline bool LineHasZero(const char *line, unsigned from)
{
#if defined(LNG_SSE2)
    const __m128i zero = _mm_setzero_si128();
    const auto zeros = [&](int at) {
        return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(line + at)), zero);
    };
    const unsigned first = static_cast<unsigned>(_mm_movemask_epi8(zeros(0))) >> from << from;
    const __m128i rest = _mm_or_si128(zeros(16), _mm_or_si128(zeros(32), zeros(48)));
    return (first | static_cast<unsigned>(_mm_movemask_epi8(rest))) != 0;
#else
    return memchr(line + from, '\0', 64 - from) != nullptr;
#endif
}

// Copies the ID and the text up to its terminator, the only bytes of a record that count: whole
// 64-byte lines, up to the one that holds the terminator (most texts end in the first).
static void MoveRecord(LangRecord *to, const LangRecord *from)
{
    char *out = reinterpret_cast<char *>(to);
    const char *in = reinterpret_cast<const char *>(from);
    unsigned skip = sizeof(from->stringId); // the ID's bytes may be zero
    for (size_t at = 0; at < sizeof(LangRecord); at += 64) {
        memcpy(out + at, in + at, 64);
        if (LineHasZero(in + at, skip)) return;
        skip = 0;
    }
}

// Asks for the record's first cache line ahead of its move, where the compiler can.
static inline void Prefetch(const LangRecord *record)
{
#if defined(__GNUC__)
    __builtin_prefetch(record);
#else
    (void)record;
#endif
}

// Sorting moves 256-byte records, so sort 8-byte keys (ID above, index below) and then move
// every record once, following the cycles of the permutation. A cycle visits records in no
// useful order, so the records some steps further along it are asked for ahead of time.
static int SortByKeys(LangRecord *records, uint32_t count)
{
    // The keys and the radix sort's scratch in one block.
    uint64_t *keys = static_cast<uint64_t *>(malloc(2 * static_cast<size_t>(count) * sizeof(uint64_t)));
    if (!keys) return 0;
    for (uint32_t i = 0; i < count; ++i)
        keys[i] = static_cast<uint64_t>(records[i].stringId) << 32 | i;
    SortKeysById(keys, keys + count, count);
    constexpr uint64_t kPlaced = UINT64_MAX; // no key: indexes stay below 2^31
    constexpr int kAhead = 16;
    for (uint32_t start = 0; start < count; ++start) {
        if (keys[start] == kPlaced) continue;
        // Position j receives the record at keys[j]'s index; the one displaced first waits in held.
        LangRecord held;
        MoveRecord(&held, &records[start]);
        uint32_t j = start;
        // ahead runs kAhead steps in front of j along the cycle, until it comes round to start.
        uint32_t ahead = start;
        bool aheadDone = false;
        for (int step = 0; step < kAhead && !aheadDone; ++step) {
            ahead = static_cast<uint32_t>(keys[ahead]);
            aheadDone = ahead == start;
            Prefetch(&records[ahead]);
        }
        for (;;) {
            if (!aheadDone) {
                ahead = static_cast<uint32_t>(keys[ahead]);
                aheadDone = ahead == start;
                Prefetch(&records[ahead]);
            }
            const uint32_t from = static_cast<uint32_t>(keys[j]);
            keys[j] = kPlaced;
            if (from == start) {
                MoveRecord(&records[j], &held);
                break;
            }
            MoveRecord(&records[j], &records[from]);
            j = from;
        }
    }
    free(keys);
    return 1;
}

void LangFileSort(LangFile *model)
{
    // Appending keeps the flag, so records read in ID order (as saved) need no pass at all.
    if (!model || model->sorted) return;
    LangRecord *records = Records(model);
    const int count = LangFileCount(model);
    if (!SortByKeys(records, static_cast<uint32_t>(count))) {
        // Without memory for the keys, sort the records themselves (equal IDs then end in no fixed order).
        std::sort(records, records + count,
                  [](const LangRecord &a, const LangRecord &b) { return a.stringId < b.stringId; });
    }
    model->sorted = 1;
}
