// The journal reader on any bytes: it hands over only what the writer forms, and the header and
// records it read, formed again, are exactly the bytes it took.
#include <cstdint>
#include <cstring>
#include <string>

#include "langfile/journal.h"

namespace
{

void Check(bool condition)
{
    if (!condition) __builtin_trap();
}

int FormAgain(void *context, const JournalRecord *record)
{
    Check(record->kind == kJournalText || record->kind == kJournalSignature);
    Check(!memchr(record->bytes, '\0', record->length));
    char out[kJournalRecordMax];
    const size_t n = record->kind == kJournalText
                         ? JournalFormatText(record->stringId, record->bytes, record->length, out, sizeof(out))
                         : JournalFormatSignature(record->bytes, record->length, out, sizeof(out));
    Check(n > 0);
    static_cast<std::string *>(context)->append(out, n);
    return 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *bytes = reinterpret_cast<const char *>(data);
    JournalHeader header;
    JournalSummary summary;
    std::string records;
    const JournalResult result = JournalRead(bytes, size, &header, FormAgain, &records, &summary);
    if (result != kJournalRead) {
        Check(summary.records == 0 && summary.droppedBytes == 0);
        return 0;
    }
    Check(summary.droppedBytes <= size);
    Check(static_cast<size_t>(summary.records) <= size / kJournalFrameSize);
    char formed[kJournalHeaderMax];
    const size_t headerLength = JournalFormatHeader(&header, formed, sizeof(formed));
    Check(headerLength > 0);
    const std::string again = std::string(formed, headerLength) + records;
    Check(again.size() == size - summary.droppedBytes);
    Check(memcmp(again.data(), bytes, again.size()) == 0);

    // Stopped after the first record, the reader counts it alone and leaves the rest unread.
    JournalSummary first;
    if (summary.records > 0) {
        auto stop = [](void *, const JournalRecord *) { return 0; };
        Check(JournalRead(bytes, size, nullptr, stop, nullptr, &first) == kJournalRead && first.records == 1);
        Check(first.droppedBytes > summary.droppedBytes || summary.records == 1);
    }
    return 0;
}
