// Our GIF decode against giflib's DGifSlurp on the same streams, written by giflib's own encoder.
// After the runs a table gives giflib's time divided by ours for each stream (above 1: we are faster).
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "image/gif.h"
#include "tools/gifcheck/giflibread.h"

namespace
{

struct StreamSpec {
    const char *name;
    int width;
    int height;
    int colours;
    bool interlaced;
    int frames;
};

const StreamSpec kStreams[] = {
    {"64x64_16c", 64, 64, 16, false, 1},
    {"256x256_16c", 256, 256, 16, false, 1},
    {"256x256_256c", 256, 256, 256, false, 1},
    {"1024x1024_16c", 1024, 1024, 16, false, 1},
    {"1024x1024_256c", 1024, 1024, 256, false, 1},
    {"512x512_256c_interlaced", 512, 512, 256, true, 1},
    {"256x256_64c_anim12", 256, 256, 64, false, 12},
};

// Smooth shapes with some grain, quantised to the palette: between an icon and a photograph.
std::vector<uint8_t> Picture(int width, int height, int colours, int frame)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
    std::mt19937 random(static_cast<unsigned>(frame * 7919 + width));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double fx = x * 6.0 / width + frame * 0.3, fy = y * 6.0 / height;
            double v =
                std::sin(fx) * std::cos(fy * 1.3) + 0.5 * std::sin(fx * 2.1 + fy * 1.7) + 0.25 * std::sin(fx * fy);
            v = (v + 1.75) / 3.5 + (random() % 100) / 2500.0;
            int index = static_cast<int>(v * colours);
            pixels[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(index < 0          ? 0
                                                                              : index >= colours ? colours - 1
                                                                                                 : index);
        }
    return pixels;
}

int WriteMemory(GifFileType *gif, const GifByteType *data, int count)
{
    auto *out = static_cast<std::vector<uint8_t> *>(gif->UserData);
    out->insert(out->end(), data, data + count);
    return count;
}

std::vector<uint8_t> Encode(const StreamSpec &stream)
{
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType *gif = EGifOpen(&out, WriteMemory, &error);
    std::vector<GifColorType> colours(stream.colours);
    for (int i = 0; i < stream.colours; ++i)
        colours[i] = {static_cast<GifByteType>(i * 255 / stream.colours), static_cast<GifByteType>(255 - i * 3),
                      static_cast<GifByteType>(i * 7)};
    ColorMapObject *map = GifMakeMapObject(stream.colours, colours.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, stream.width, stream.height, 8, 0, map);
    if (stream.frames > 1) {
        EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
        EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
        const unsigned char loop[] = {1, 0, 0};
        EGifPutExtensionBlock(gif, 3, loop);
        EGifPutExtensionTrailer(gif);
    }
    for (int f = 0; f < stream.frames; ++f) {
        if (stream.frames > 1) {
            GraphicsControlBlock control = {f % 3 == 2 ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT, false, 4,
                                            f % 2 ? 0 : NO_TRANSPARENT_COLOR};
            GifByteType bytes[4];
            size_t n = EGifGCBToExtension(&control, bytes);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), bytes);
        }
        // Animation frames after the first cover a moving part of the screen.
        int w = f == 0 ? stream.width : stream.width / 2, h = f == 0 ? stream.height : stream.height / 2;
        int left = f == 0 ? 0 : (f * 17) % (stream.width - w), top = f == 0 ? 0 : (f * 29) % (stream.height - h);
        std::vector<uint8_t> pixels = Picture(w, h, stream.colours, f);
        EGifPutImageDesc(gif, left, top, w, h, stream.interlaced, nullptr);
        if (stream.interlaced) {
            const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = start[pass]; y < h; y += step[pass])
                    EGifPutLine(gif, pixels.data() + static_cast<size_t>(y) * w, w);
        } else {
            for (int y = 0; y < h; ++y)
                EGifPutLine(gif, pixels.data() + static_cast<size_t>(y) * w, w);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

const std::vector<uint8_t> &Stream(size_t index)
{
    static std::map<size_t, std::vector<uint8_t>> cache;
    auto found = cache.find(index);
    if (found == cache.end()) found = cache.emplace(index, Encode(kStreams[index])).first;
    return found->second;
}

void BM_Parlevo(benchmark::State &state)
{
    const std::vector<uint8_t> &bytes = Stream(static_cast<size_t>(state.range(0)));
    CodecRegistry registry = {};
    RegisterBuiltinCodecs(&registry);
    for (auto _ : state) {
        ImageSource source = {};
        source.size = static_cast<uint32_t>(bytes.size());
        source.data = bytes.data();
        Image *image = ImageLoad(&registry, &source);
        if (!image) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(image->bits);
        ImageFree(image);
    }
    state.SetLabel(kStreams[state.range(0)].name);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_Giflib(benchmark::State &state)
{
    const std::vector<uint8_t> &bytes = Stream(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        giftest::GiflibMemory memory = {&bytes, 0};
        GifFileType *gif = giftest::GiflibSlurp(memory);
        if (!gif) {
            state.SkipWithError("giflib failed");
            break;
        }
        benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
        int error = 0;
        DGifCloseFile(gif, &error);
    }
    state.SetLabel(kStreams[state.range(0)].name);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void Streams(benchmark::internal::Benchmark *b)
{
    for (size_t i = 0; i < sizeof(kStreams) / sizeof(kStreams[0]); ++i)
        b->Arg(static_cast<int64_t>(i));
}

BENCHMARK(BM_Parlevo)->Apply(Streams)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Giflib)->Apply(Streams)->Unit(benchmark::kMicrosecond);

// The console report, followed by giflib's time over ours for every stream.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                std::string name = run.benchmark_name();
                std::string stream = kStreams[std::stoul(name.substr(name.find('/') + 1))].name;
                (name.rfind("BM_Parlevo", 0) == 0 ? ours_ : giflib_)[stream] = run.GetAdjustedRealTime();
            }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-26s %12s %12s %8s\n", "stream", "ours (us)", "giflib (us)", "ratio");
        for (const StreamSpec &stream : kStreams) {
            if (!ours_.count(stream.name) || !giflib_.count(stream.name)) continue;
            double ours = ours_[stream.name], theirs = giflib_[stream.name];
            std::printf("%-26s %12.1f %12.1f %8.2f\n", stream.name, ours, theirs, theirs / ours);
        }
    }

private:
    std::map<std::string, double> ours_, giflib_;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    for (size_t i = 0; i < sizeof(kStreams) / sizeof(kStreams[0]); ++i)
        std::printf("%-26s %zu bytes\n", kStreams[i].name, Stream(i).size());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
