// Rows that share a source text: one hash table pass at fill time, one pass per question.
#include "view/repeated.h"

#include <cstring>
#include <new>

namespace
{

// The least hash table: at most half full, so probes stay short.
constexpr uint32_t kMinSlots = 16;
// String IDs are 16-bit, so a list holds some 65,000 rows; far more is no list, and the table
// size stays clear of overflow.
constexpr uint32_t kMaxRows = 1u << 24;
// How many rows ahead a slot is fetched.
constexpr uint32_t kFetchAhead = 8;
// A group's state in the fill plan beside a donor row.
constexpr uint32_t kNoDonor = UINT32_MAX;
constexpr uint32_t kDisagree = UINT32_MAX - 1;

// Eight bytes a step, each mixed in by a multiply: the texts are read once, at the speed of
// their length rather than a multiply per byte.
uint32_t HashText(const char *text, size_t length)
{
    constexpr uint64_t kMix = 0x9E3779B97F4A7C15ull;
    uint64_t hash = length * kMix;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word;
        memcpy(&word, text + i, 8);
        hash = (hash ^ word) * kMix;
        hash ^= hash >> 29;
    }
    uint64_t tail = 0;
    memcpy(&tail, text + i, length - i);
    hash = (hash ^ tail) * kMix;
    return uint32_t(hash >> 32);
}

bool Grouped(const RepeatSource &row)
{
    return row.id != 0 && row.text && row.text[0];
}

const char *TranslationOf(const RepeatTexts &texts, uint32_t row)
{
    const char *text = texts.translation ? texts.translation(texts.context, row) : nullptr;
    return text && text[0] ? text : nullptr;
}

// A slot of the table: the text's hash beside its group, so that most probes read no text.
struct Slot {
    uint32_t hash;
    uint32_t group; // group + 1; 0 is a free slot
};

void Build(RepeatIndex *index, const RepeatSource *rows, uint32_t count)
{
    uint32_t slotCount = kMinSlots;
    while (slotCount < count * uint64_t(2))
        slotCount *= 2;
    std::vector<Slot> slots(slotCount, Slot{0, 0});
    std::vector<uint32_t> groupFirst, groupSize;
    groupFirst.reserve(count);
    groupSize.reserve(count);
    index->groupOf.assign(count, kNoRepeatGroup);
    // The hashes first, so that the table's slots can be fetched ahead of their rows: the
    // table is larger than the cache, and waiting for each slot was most of the time.
    std::vector<uint32_t> hashes(count);
    for (uint32_t row = 0; row < count; ++row)
        if (Grouped(rows[row])) hashes[row] = HashText(rows[row].text, strlen(rows[row].text));
    for (uint32_t row = 0; row < count; ++row) {
        if (row + kFetchAhead < count) __builtin_prefetch(&slots[hashes[row + kFetchAhead] & (slotCount - 1)]);
        if (!Grouped(rows[row])) continue;
        const char *text = rows[row].text;
        uint32_t hash = hashes[row];
        uint32_t slot = hash & (slotCount - 1);
        for (; slots[slot].group; slot = (slot + 1) & (slotCount - 1))
            if (slots[slot].hash == hash && strcmp(rows[groupFirst[slots[slot].group - 1]].text, text) == 0) break;
        if (!slots[slot].group) {
            slots[slot] = Slot{hash, uint32_t(groupFirst.size()) + 1};
            groupFirst.push_back(row);
            groupSize.push_back(0);
        }
        uint32_t group = slots[slot].group - 1;
        index->groupOf[row] = group;
        ++groupSize[group];
    }
    // Each group's members side by side, in row order.
    index->groupStart.resize(groupSize.size() + 1);
    uint32_t start = 0;
    for (size_t group = 0; group < groupSize.size(); ++group) {
        index->groupStart[group] = start;
        start += groupSize[group];
    }
    index->groupStart.back() = start;
    index->members.resize(start);
    std::vector<uint32_t> &next = groupSize; // reused as each group's next free member
    for (size_t group = 0; group < next.size(); ++group)
        next[group] = index->groupStart[group];
    for (uint32_t row = 0; row < count; ++row)
        if (index->groupOf[row] != kNoRepeatGroup) index->members[next[index->groupOf[row]]++] = row;
}

} // namespace

bool RepeatIndexBuild(RepeatIndex *index, const RepeatSource *rows, uint32_t count)
{
    if (!index) return false;
    *index = RepeatIndex{};
    if ((!rows && count) || count > kMaxRows) return false;
    try {
        Build(index, rows, count);
    } catch (const std::bad_alloc &) {
        *index = RepeatIndex{};
        return false;
    }
    return true;
}

bool RepeatUntranslatedLike(const RepeatIndex &index, uint32_t row, const RepeatTexts &texts,
                            std::vector<uint32_t> *rows)
{
    if (!rows) return false;
    rows->clear();
    if (row >= index.groupOf.size() || index.groupOf[row] == kNoRepeatGroup) return true;
    uint32_t group = index.groupOf[row];
    try {
        for (uint32_t i = index.groupStart[group]; i < index.groupStart[group + 1]; ++i) {
            uint32_t member = index.members[i];
            if (member != row && !TranslationOf(texts, member)) rows->push_back(member);
        }
    } catch (const std::bad_alloc &) {
        rows->clear();
        return false;
    }
    return true;
}

bool RepeatFillPlan(const RepeatIndex &index, const RepeatTexts &texts, std::vector<RepeatFill> *fills, uint32_t *left)
{
    if (!fills || !left) return false;
    fills->clear();
    *left = 0;
    const uint32_t count = uint32_t(index.groupOf.size());
    try {
        // Each group's translation: its first translated row, unless another one differs.
        std::vector<uint32_t> donor(index.groupStart.empty() ? 0 : index.groupStart.size() - 1, kNoDonor);
        std::vector<const char *> donorText(donor.size(), nullptr);
        for (uint32_t row = 0; row < count; ++row) {
            uint32_t group = index.groupOf[row];
            const char *text = group == kNoRepeatGroup ? nullptr : TranslationOf(texts, row);
            if (!text || donor[group] == kDisagree) continue;
            if (donor[group] == kNoDonor) {
                donor[group] = row;
                donorText[group] = text;
            } else if (strcmp(donorText[group], text) != 0) {
                donor[group] = kDisagree;
            }
        }
        for (uint32_t row = 0; row < count; ++row) {
            uint32_t group = index.groupOf[row];
            if (group == kNoRepeatGroup || donor[group] == kNoDonor || TranslationOf(texts, row)) continue;
            if (donor[group] == kDisagree)
                ++*left;
            else
                fills->push_back(RepeatFill{row, donor[group]});
        }
    } catch (const std::bad_alloc &) {
        fills->clear();
        *left = 0;
        return false;
    }
    return true;
}
