// The host module's string tables, read from their raw bytes: the block layout and the
// fixed category table. Window-free, so that malformed blocks are tested and fuzzed natively.
#pragma once
#include <cstddef>
#include <cstdint>

// Block N (from 1) holds the IDs 16(N-1) to 16(N-1)+15.
constexpr uint32_t kStringsPerBlock = 16;
constexpr uint32_t kLastStringBlock = 4096;

struct Category {
    uint32_t startId;
    const char *title;
};

// A string ID as the list shows it: decimal digits, terminated.
constexpr size_t kStringIdTextSize = 12;
void FormatStringId(uint32_t id, char *out);

// The ten categories in list order.
const Category *CategoryTable(size_t *count);
// The title of the category that starts at id, or null when none does.
const char *CategoryTitleAt(uint32_t id);

// One position of a block: the ID and its UTF-16 text (length 0: the ID has no string).
// text points into the block's bytes, little-endian code units.
struct StringEntry {
    uint32_t id;
    const uint8_t *text;
    uint32_t length;
};

struct StringBlockReader {
    const uint8_t *bytes;
    size_t words;
    size_t position; // in words
    uint32_t index;  // entries read so far
    uint32_t firstId;
};

// Starts reading block blockNumber from size bytes. False for a block number outside
// 1..4096 or an empty block; the reader then yields nothing.
bool StringBlockBegin(StringBlockReader *reader, const void *bytes, size_t size, uint32_t blockNumber);
// The next position of the block, in ID order, empty ones included; false after the 16th
// entry or at the end of the bytes. A length that runs past the end is cut to the words left.
bool StringBlockNext(StringBlockReader *reader, StringEntry *entry);
