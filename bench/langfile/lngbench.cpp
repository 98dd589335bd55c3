// Reading (parse + sort) and writing a 65,000-record language file in memory, beside a memchr
// line scan of the same bytes: the scan is the floor no reader can beat.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "bench/langfile/lngsample.h"
#include "langfile/lngformat.h"
#include "langfile/lngparse.h"

namespace
{

int AppendToString(void *context, const char *bytes, size_t length)
{
    static_cast<std::string *>(context)->append(bytes, length);
    return 1;
}

std::string FormatSample(int shuffled)
{
    std::string bytes;
    LangFile *model = BuildSampleModel(shuffled);
    if (model) {
        const ByteSink sink{AppendToString, &bytes};
        LangFileFormat(model, 0, &sink);
        LangFileFree(model);
    }
    return bytes;
}

const std::string &SortedFile()
{
    static const std::string bytes = FormatSample(0);
    return bytes;
}

const std::string &ShuffledFile()
{
    static const std::string bytes = FormatSample(1);
    return bytes;
}

void ReadFile(benchmark::State &state, const std::string &bytes)
{
    for (auto _ : state) {
        LangFile *model = LangFileCreate();
        const int count = LangFileParse(model, bytes.data(), bytes.size(), nullptr);
        if (count != kSampleRecords) state.SkipWithError("wrong record count");
        benchmark::DoNotOptimize(count);
        LangFileFree(model);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
    state.counters["records"] = kSampleRecords;
}

void BM_ReadSorted(benchmark::State &state)
{
    ReadFile(state, SortedFile());
}
BENCHMARK(BM_ReadSorted)->Unit(benchmark::kMillisecond);

void BM_ReadShuffled(benchmark::State &state)
{
    ReadFile(state, ShuffledFile());
}
BENCHMARK(BM_ReadShuffled)->Unit(benchmark::kMillisecond);

// Writing into memory that is already there, so the figure is the formatter's own.
struct FixedSink {
    char *block;
    size_t size;
    size_t used;
};

int AppendToFixed(void *context, const char *bytes, size_t length)
{
    FixedSink *sink = static_cast<FixedSink *>(context);
    if (length > sink->size - sink->used) return 0;
    memcpy(sink->block + sink->used, bytes, length);
    sink->used += length;
    return 1;
}

void BM_Write(benchmark::State &state)
{
    LangFile *model = BuildSampleModel(0);
    std::string block(SortedFile().size(), '\0');
    FixedSink fixed{block.data(), block.size(), 0};
    const ByteSink sink{AppendToFixed, &fixed};
    for (auto _ : state) {
        fixed.used = 0;
        const int64_t itemBytes = LangFileFormat(model, 0, &sink);
        if (itemBytes < 0) state.SkipWithError("write failed");
        benchmark::DoNotOptimize(itemBytes);
    }
    LangFileFree(model);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fixed.used));
}
BENCHMARK(BM_Write)->Unit(benchmark::kMillisecond);

void BM_MemchrLineScan(benchmark::State &state)
{
    const std::string &bytes = SortedFile();
    for (auto _ : state) {
        size_t lines = 0;
        const char *p = bytes.data();
        const char *end = p + bytes.size();
        while (const void *lineFeed = memchr(p, '\n', static_cast<size_t>(end - p))) {
            p = static_cast<const char *>(lineFeed) + 1;
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_MemchrLineScan)->Unit(benchmark::kMillisecond);

// The console report, followed by each reader's throughput as a share of the scan's.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        // One figure per benchmark: the median when repeated, else the one run.
        for (const Run &run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const auto rate = run.counters.find("bytes_per_second");
            if ((run.run_type == Run::RT_Iteration || median) && rate != run.counters.end())
                rates_[run.run_name.function_name] = rate->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double scan = rates_["BM_MemchrLineScan"];
        std::printf("\nFile: %zu bytes, %d records (throughput: the median when repeated)\n", SortedFile().size(),
                    kSampleRecords);
        for (const auto &[name, rate] : rates_) {
            std::printf("%-20s %9.1f MB/s", name.c_str(), rate / 1e6);
            if (scan > 0 && name != "BM_MemchrLineScan")
                std::printf("   %5.1f%% of the memchr line scan", 100.0 * rate / scan);
            std::printf("\n");
        }
    }

private:
    std::map<std::string, double> rates_;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
