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
// A group's state in the fill plan beside a donor row.
constexpr uint32_t kNoDonor = UINT32_MAX;
constexpr uint32_t kDisagree = UINT32_MAX - 1;

// FNV-1a: the texts are short, and this needs no length beforehand.
uint32_t HashText(const char *text)
{
    uint32_t hash = 2166136261u;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; ++p)
        hash = (hash ^ *p) * 16777619u;
    return hash;
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

void Build(RepeatIndex *index, const RepeatSource *rows, uint32_t count)
{
    uint32_t slotCount = kMinSlots;
    while (slotCount < count * uint64_t(2))
        slotCount *= 2;
    std::vector<uint32_t> slots(slotCount, 0); // group + 1; 0 is a free slot
    std::vector<uint32_t> groupHash, groupFirst, groupSize;
    index->groupOf.assign(count, kNoRepeatGroup);
    for (uint32_t row = 0; row < count; ++row) {
        if (!Grouped(rows[row])) continue;
        const char *text = rows[row].text;
        uint32_t hash = HashText(text);
        uint32_t slot = hash & (slotCount - 1);
        for (; slots[slot]; slot = (slot + 1) & (slotCount - 1)) {
            uint32_t group = slots[slot] - 1;
            if (groupHash[group] == hash && strcmp(rows[groupFirst[group]].text, text) == 0) break;
        }
        if (!slots[slot]) {
            slots[slot] = uint32_t(groupHash.size()) + 1;
            groupHash.push_back(hash);
            groupFirst.push_back(row);
            groupSize.push_back(0);
        }
        uint32_t group = slots[slot] - 1;
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
