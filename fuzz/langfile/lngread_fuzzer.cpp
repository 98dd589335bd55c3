// The reader on any bytes: signature block, items and sort, in a single-byte and in a
// double-byte code page. What it read must also come back through the writer unchanged.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "langfile/lngformat.h"
#include "langfile/lngparse.h"
#include "tests/langfile/lngreference.h"
#include "state/textsize.h"

namespace
{

bool DoubleByteLead(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

int AppendToString(void *context, const char *bytes, size_t length)
{
    static_cast<std::string *>(context)->append(bytes, length);
    return 1;
}

void Check(bool condition)
{
    if (!condition) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1) return 0;
    // The first byte picks the code page; the rest is the file, in a block of its own size.
    const LeadByteFn isLeadByte = (data[0] & 1) ? DoubleByteLead : nullptr;
    const char *file = reinterpret_cast<const char *>(data + 1);
    const size_t length = size - 1;

    LangFile *model = LangFileCreate();
    if (!model) return 0;
    const int count = LangFileParse(model, file, length, isLeadByte);
    Check(count == LangFileCount(model));
    // Every record takes at least the one byte skipped where "=" belongs.
    Check(static_cast<size_t>(count) <= length);
    Check(memchr(model->signature, '\0', kLangSignatureSize) != nullptr);
    for (int i = 0; i < count; ++i) {
        const LangRecord *record = LangFileRecordAt(model, i);
        Check(memchr(record->text, '\0', kTextSize) != nullptr);
        if (i > 0) Check(LangFileRecordAt(model, i - 1)->stringId <= record->stringId);
    }
    // The records are those of the plain reader, in the same order (a text ends at a NUL).
    const std::vector<lngreference::Record> expected = lngreference::Read(file, length, isLeadByte);
    Check(expected.size() == static_cast<size_t>(count));
    for (int i = 0; i < count && static_cast<size_t>(i) < expected.size(); ++i) {
        const LangRecord *record = LangFileRecordAt(model, i);
        Check(record->stringId == expected[i].first && strcmp(record->text, expected[i].second.c_str()) == 0);
    }
    if (count > 0) {
        // The first of the records with an ID is the one found.
        const LangRecord *first = LangFileRecordAt(model, 0);
        char text[kTextSize];
        if (first->stringId < kLangIdLimit) {
            Check(LangFileFind(model, first->stringId, text));
            Check(strcmp(text, first->text) == 0);
        } else {
            Check(!LangFileFind(model, first->stringId, text));
        }
    }

    // Written out and read again, the model is the same; the signature too unless it was cut off
    // inside a line (the writer then ends that line).
    std::string written;
    const ByteSink sink{AppendToString, &written};
    Check(LangFileFormat(model, 0, &sink) >= 0);
    LangFile *again = LangFileCreate();
    if (again) {
        Check(LangFileParse(again, written.data(), written.size(), isLeadByte) == count);
        for (int i = 0; i < count; ++i) {
            const LangRecord *a = LangFileRecordAt(model, i);
            const LangRecord *b = LangFileRecordAt(again, i);
            Check(a->stringId == b->stringId && strcmp(a->text, b->text) == 0);
        }
        const size_t signatureLength = strlen(model->signature);
        if (signatureLength == 0 || model->signature[signatureLength - 1] == '\n')
            Check(strcmp(model->signature, again->signature) == 0);
        LangFileFree(again);
    }
    LangFileFree(model);
    return 0;
}
