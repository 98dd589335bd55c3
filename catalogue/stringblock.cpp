// The host module's string tables, read from their raw bytes.
#include "catalogue/stringblock.h"

// clang-format off
static const Category kCategories[] = {
    {1,     "Standard string"},
    {103,   "Dialog title string"},
    {1000,  "Dialog item string"},
    {30001, "Internal menu string"},
    {40001, "Menu (Toolbar) string"},
    {50001, "Common string"},
    {52001, "Error string"},
    {53001, "Compression string"},
    {54001, "EXIF tag string"},
    {54501, "EXIF value string"},
};
// clang-format on

const Category *CategoryTable(size_t *count)
{
    if (count) *count = sizeof kCategories / sizeof kCategories[0];
    return kCategories;
}

const char *CategoryTitleAt(uint32_t id)
{
    for (const Category &category : kCategories)
        if (category.startId == id) return category.title;
    return nullptr;
}

bool StringBlockBegin(StringBlockReader *reader, const void *bytes, size_t size, uint32_t blockNumber)
{
    if (!reader) return false;
    *reader = StringBlockReader{};
    if (!bytes || size < 2 || blockNumber < 1 || blockNumber > kLastStringBlock) return false;
    reader->bytes = static_cast<const uint8_t *>(bytes);
    reader->words = size / 2;
    reader->firstId = (blockNumber - 1) * kStringsPerBlock;
    return true;
}

static uint32_t WordAt(const uint8_t *bytes, size_t word)
{
    return uint32_t(bytes[2 * word]) | uint32_t(bytes[2 * word + 1]) << 8;
}

bool StringBlockNext(StringBlockReader *reader, StringEntry *entry)
{
    if (!reader || !entry || !reader->bytes) return false;
    if (reader->index >= kStringsPerBlock || reader->position >= reader->words) return false;
    size_t left = reader->words - reader->position - 1;
    size_t length = WordAt(reader->bytes, reader->position);
    if (length > left) length = left;
    entry->id = reader->firstId + reader->index;
    entry->text = reader->bytes + 2 * (reader->position + 1);
    entry->length = uint32_t(length);
    reader->position += length + 1;
    ++reader->index;
    return true;
}

void FormatStringId(uint32_t id, char *out)
{
    char digits[kStringIdTextSize];
    int n = 0;
    do {
        digits[n++] = char('0' + id % 10);
        id /= 10;
    } while (id);
    while (n)
        *out++ = digits[--n];
    *out = '\0';
}
