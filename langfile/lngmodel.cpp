// The model's records and signature: creation, lookup, appending and sorting.
#include "langfile/lngmodel.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

int LangFileAppend(LangFile *model, const LangRecord *record)
{
    if (!model || !record) return 0;
    GrowBuffer *records = model->records;
    const int count = LangFileCount(model);
    if (!GrowBufferWrite(records, records->highWater, record, sizeof(LangRecord))) return 0;
    if (count > 0 && Records(model)[count - 1].stringId > record->stringId) model->sorted = 0;
    return 1;
}

int LangFileAdd(LangFile *model, uint32_t stringId, const char *text)
{
    if (!model || !text || stringId >= kLangIdLimit) return 0;
    const size_t length = BoundedLength(text, kLangTextMax);
    if (length > kLangTextMax) return 0;
    LangRecord record;
    record.stringId = stringId;
    memcpy(record.text, text, length);
    memset(record.text + length, 0, sizeof(record.text) - length);
    return LangFileAppend(model, &record);
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

// Sorting moves 256-byte records, so sort 8-byte keys (ID above, index below: equal IDs keep
// their order) and then move every record once, following the cycles of the permutation.
static int SortByKeys(LangRecord *records, uint32_t count)
{
    uint64_t *keys = static_cast<uint64_t *>(malloc(count * sizeof(uint64_t)));
    if (!keys) return 0;
    for (uint32_t i = 0; i < count; ++i)
        keys[i] = static_cast<uint64_t>(records[i].stringId) << 32 | i;
    std::sort(keys, keys + count);
    constexpr uint64_t kPlaced = UINT64_MAX;
    for (uint32_t start = 0; start < count; ++start) {
        if (keys[start] == kPlaced) continue;
        // Position j receives the record from keys[j]'s index; the one displaced first waits in held.
        LangRecord held = records[start];
        uint32_t j = start;
        for (;;) {
            const uint32_t from = static_cast<uint32_t>(keys[j]);
            keys[j] = kPlaced;
            if (from == start) {
                records[j] = held;
                break;
            }
            records[j] = records[from];
            j = from;
        }
    }
    free(keys);
    return 1;
}

void LangFileSort(LangFile *model)
{
    if (!model) return;
    LangRecord *records = Records(model);
    const int count = LangFileCount(model);
    const bool inOrder = std::is_sorted(
        records, records + count, [](const LangRecord &a, const LangRecord &b) { return a.stringId < b.stringId; });
    if (!inOrder && !SortByKeys(records, static_cast<uint32_t>(count))) {
        // Without memory for the keys, sort the records themselves (equal IDs then end in no fixed order).
        std::sort(records, records + count,
                  [](const LangRecord &a, const LangRecord &b) { return a.stringId < b.stringId; });
    }
    model->sorted = 1;
}
