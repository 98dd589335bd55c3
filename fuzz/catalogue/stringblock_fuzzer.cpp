// String-table blocks from arbitrary bytes: the first two bytes pick the block number.
// Every entry must lie inside the block's bytes and IDs must rise by one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "catalogue/stringblock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2) return 0;
    uint32_t block = uint32_t(data[0] | data[1] << 8);
    size_t length = size - 2;
    // A copy of exactly the block's bytes, so ASan sees any read past them.
    uint8_t *bytes = static_cast<uint8_t *>(malloc(length ? length : 1));
    if (length) memcpy(bytes, data + 2, length);
    StringBlockReader reader;
    if (StringBlockBegin(&reader, bytes, length, block)) {
        StringEntry entry;
        uint32_t expected = (block - 1) * kStringsPerBlock;
        uint32_t count = 0;
        unsigned sum = 0;
        while (StringBlockNext(&reader, &entry)) {
            if (entry.id != expected++ || ++count > kStringsPerBlock) abort();
            if (entry.text < bytes || entry.text + 2 * size_t(entry.length) > bytes + length) abort();
            for (uint32_t i = 0; i < 2 * entry.length; ++i)
                sum += entry.text[i];
            if (const char *title = CategoryTitleAt(entry.id)) sum += unsigned(strlen(title));
        }
        if (sum == 0x7FFFFFFF) abort(); // keeps the reads from being optimised away
    }
    free(bytes);
    return 0;
}
