// The repeated-text index over a 65,000-row list: built at open, then Fill repeated texts.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "view/repeated.h"

namespace
{

constexpr uint32_t kRows = 65000;
// One row in this many is a category row; about a third of the texts are from a small pool of
// repeated ones ("OK", "&File"), half the rows are translated, and a few repeated texts are
// translated in two ways.
constexpr uint32_t kCategoryEvery = 6500;
constexpr uint32_t kRepeatedPool = 1500;
constexpr uint32_t kDisagreeEvery = 40;

struct Sample {
    std::vector<std::string> sources;
    std::vector<std::string> translations;
    std::vector<RepeatSource> rows;
};

const char *TranslationAt(void *context, uint32_t row)
{
    return static_cast<const Sample *>(context)->translations[row].c_str();
}

const Sample &TheSample()
{
    static const Sample sample = [] {
        Sample s;
        uint32_t state = 1;
        auto next = [&state] { return (state = state * 1664525u + 1013904223u) >> 8; };
        for (uint32_t row = 0; row < kRows; ++row) {
            const bool repeated = next() % 3 == 0;
            const uint32_t text = repeated ? next() % kRepeatedPool : row;
            s.sources.push_back((repeated ? "&Repeated item " : "A text of its own, number ") + std::to_string(text));
            std::string translation;
            if (next() % 2)
                translation = "\xdc"
                              "bersetzung " +
                              std::to_string(text);
            if (!translation.empty() && next() % kDisagreeEvery == 0) translation += " (anders)";
            s.translations.push_back(translation);
        }
        for (uint32_t row = 0; row < kRows; ++row)
            s.rows.push_back(RepeatSource{row % kCategoryEvery ? row : 0, s.sources[row].c_str()});
        return s;
    }();
    return sample;
}

void BM_RepeatIndexBuild(benchmark::State &state)
{
    const Sample &sample = TheSample();
    for (auto _ : state) {
        RepeatIndex index;
        if (!RepeatIndexBuild(&index, sample.rows.data(), kRows)) state.SkipWithError("no index");
        benchmark::DoNotOptimize(index.members.data());
    }
    state.counters["rows"] = kRows;
}

void BM_RepeatIndexBuildAndFill(benchmark::State &state)
{
    const Sample &sample = TheSample();
    const RepeatTexts texts = {TranslationAt, const_cast<Sample *>(&sample)};
    std::vector<RepeatFill> fills;
    uint32_t left = 0;
    for (auto _ : state) {
        RepeatIndex index;
        if (!RepeatIndexBuild(&index, sample.rows.data(), kRows) || !RepeatFillPlan(index, texts, &fills, &left))
            state.SkipWithError("no plan");
        benchmark::DoNotOptimize(fills.data());
    }
    state.counters["filled"] = double(fills.size());
    state.counters["left"] = left;
}

} // namespace

BENCHMARK(BM_RepeatIndexBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatIndexBuildAndFill)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
