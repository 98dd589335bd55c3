// Helpers of the language file tests; Parse reads an exact copy so the sanitizers see overruns.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
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

// Keeps what the writer gives it, failing from the piece after the allowed number on.
struct Sink {
    int allowed = INT32_MAX, taken = 0;
    std::string bytes;
    int64_t Format(const LangFile *model, int templateFlag = 0)
    {
        const auto take = [](void *context, const char *b, size_t n) {
            auto *self = static_cast<Sink *>(context);
            return self->taken == self->allowed ? 0 : (++self->taken, self->bytes.append(b, n), 1);
        };
        const ByteSink sink{take, this};
        return LangFileFormat(model, templateFlag, &sink);
    }
    std::string Bytes(const LangFile *model, int templateFlag = 0) { return Format(model, templateFlag), bytes; }
};

inline ModelPtr Parse(const std::string &bytes, LeadByteFn isLeadByte = nullptr)
{
    ModelPtr model(LangFileCreate());
    const std::vector<char> exact(bytes.begin(), bytes.end());
    LangFileParse(model.get(), exact.data(), exact.size(), isLeadByte);
    return model;
}

// The tests' random numbers: the same every run.
struct Random {
    uint32_t state;
    uint32_t Next(uint32_t bound)
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<uint32_t>((static_cast<uint64_t>(state >> 4) * bound) >> 28);
    }
};

// A double-byte code page for the tests: every byte from 0x81 up starts a two-byte character.
constexpr LeadByteFn FakeDbcsLeadByte = [](unsigned char byte) { return byte >= 0x81; };

inline std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// What read makes of data/NAME.lng is written back as NAME.lng.out and template NAME.lng.tpl.
inline void CheckGoldenFiles(ModelPtr (*read)(const std::string &path, const std::string &name))
{
    std::istringstream names(PARLEVO_LNG_FILES);
    int checked = 0;
    for (std::string name; names >> name;) {
        const std::string path = std::string(PARLEVO_LNG_DATA_DIR) + "/" + name;
        ModelPtr model = read(path, name);
        if (!model) continue;
        ++checked;
        for (const char *kind : {".out", ".tpl"}) {
            const std::string got = Sink().Bytes(model.get(), kind[1] == 't');
            if (std::getenv("PARLEVO_GOLDEN_UPDATE")) std::ofstream(path + kind, std::ios::binary) << got;
            EXPECT_EQ(got, ReadFile(path + kind)) << path + kind;
        }
    }
    EXPECT_GT(checked, 20);
}
