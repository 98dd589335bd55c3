// Helpers of the language file tests: owned models, formatting into a string, parsing an exact
// copy of some bytes (so that the sanitizers see any read past them), records as plain values.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "langfile/lngformat.h"
#include "langfile/lngmodel.h"
#include "langfile/lngparse.h"

struct ModelDeleter {
    void operator()(LangFile *model) const { LangFileFree(model); }
};
using ModelPtr = std::unique_ptr<LangFile, ModelDeleter>;

using Record = std::pair<uint32_t, std::string>;
using Records = std::vector<Record>;

inline Records RecordsOf(const LangFile *model)
{
    Records records;
    for (int i = 0; i < LangFileCount(model); ++i) {
        const LangRecord *r = LangFileRecordAt(model, i);
        records.emplace_back(r->stringId, r->text);
    }
    return records;
}

inline int AppendToString(void *context, const char *bytes, size_t length)
{
    static_cast<std::string *>(context)->append(bytes, length);
    return 1;
}

// The bytes the writer forms for model; itemBytes receives the writer's result.
inline std::string Format(const LangFile *model, int templateFlag = 0, int64_t *itemBytes = nullptr)
{
    std::string bytes;
    const ByteSink sink{AppendToString, &bytes};
    const int64_t result = LangFileFormat(model, templateFlag, &sink);
    if (itemBytes) *itemBytes = result;
    return bytes;
}

inline ModelPtr Parse(const std::string &bytes, LeadByteFn isLeadByte = nullptr)
{
    ModelPtr model(LangFileCreate());
    std::unique_ptr<char[]> exact(new char[bytes.size() ? bytes.size() : 1]);
    bytes.copy(exact.get(), bytes.size());
    LangFileParse(model.get(), exact.get(), bytes.size(), isLeadByte);
    return model;
}

// A double-byte code page for the tests: every byte from 0x81 up starts a two-byte character.
inline bool FakeDbcsLeadByte(unsigned char byte)
{
    return byte >= 0x81;
}
