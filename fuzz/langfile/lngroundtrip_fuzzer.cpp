// Records and a signature built from the input, written and read back: the records come back
// in ID order (equal IDs in their order), and so does the signature where the format can
// carry it (lines that start with a blank or ";" lose those bytes, and a last line without a
// line feed gets a CR LF).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "langfile/lngformat.h"
#include "langfile/lngparse.h"

namespace
{

int AppendToString(void *context, const char *bytes, size_t length)
{
    static_cast<std::string *>(context)->append(bytes, length);
    return 1;
}

void Check(bool condition)
{
    if (!condition) __builtin_trap();
}

// Takes up to n bytes from the input.
struct Input {
    const uint8_t *p;
    const uint8_t *end;
    size_t Take(size_t n, const uint8_t **bytes)
    {
        n = std::min(n, static_cast<size_t>(end - p));
        *bytes = p;
        p += n;
        return n;
    }
};

bool SignatureComesBack(const std::string &signature)
{
    if (signature.empty()) return true;
    if (signature.back() != '\n') return false;
    for (size_t i = 0; i < signature.size(); ++i) {
        if ((i == 0 || signature[i - 1] == '\n') &&
            (signature[i] == ' ' || signature[i] == '\t' || signature[i] == ';'))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Layout: flags, signature length, signature, then records of a 4-byte ID, a length byte
    // and that many text bytes. A text (or signature) ends at its first NUL, as in the model.
    Input in{data, data + size};
    const uint8_t *bytes;
    if (!in.Take(1, &bytes)) return 0;
    const int templateFlag = bytes[0] & 1;
    size_t n = in.Take(1, &bytes) ? bytes[0] * 16u : 0;
    n = in.Take(n, &bytes);
    const std::string signature(reinterpret_cast<const char *>(bytes),
                                strnlen(reinterpret_cast<const char *>(bytes), n));

    LangFile *model = LangFileCreate();
    if (!model) return 0;
    LangFileSetSignature(model, signature.c_str());
    std::vector<std::pair<uint32_t, std::string>> expected;
    while (in.Take(4, &bytes) == 4) {
        uint32_t id;
        memcpy(&id, bytes, sizeof(id));
        n = in.Take(1, &bytes) ? bytes[0] : 0;
        n = in.Take(n, &bytes);
        const char *text = reinterpret_cast<const char *>(bytes);
        const size_t length = std::min(strnlen(text, n), kLangTextMax);
        if (!LangFileAppend(model, id, text, length)) break;
        expected.emplace_back(id, std::string(text, length));
    }
    std::stable_sort(expected.begin(), expected.end(), [](const auto &a, const auto &b) { return a.first < b.first; });

    std::string written;
    const ByteSink sink{AppendToString, &written};
    const int64_t itemBytes = LangFileFormat(model, templateFlag, &sink);
    Check(itemBytes >= 0 && static_cast<size_t>(itemBytes) <= written.size());
    Check((itemBytes == 0) == expected.empty());

    LangFile *read = LangFileCreate();
    if (read) {
        Check(LangFileParse(read, written.data(), written.size(), nullptr) == static_cast<int>(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            const LangRecord *record = LangFileRecordAt(read, static_cast<int>(i));
            Check(record->stringId == expected[i].first && record->text == expected[i].second);
        }
        if (templateFlag)
            Check(strcmp(read->signature, kLangDefaultSignature) == 0);
        else if (SignatureComesBack(model->signature))
            Check(strcmp(read->signature, model->signature) == 0);
        LangFileFree(read);
    }
    LangFileFree(model);
    return 0;
}
