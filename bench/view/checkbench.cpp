// Checking every row of a 65,000-string document: the texts of the generated benchmark module
// and its language file, and a denser made-up mix of interface texts with many more access
// keys, shortcuts, conversions, inserts and line breaks, the same on every run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "view/textcheck.h"

namespace
{

constexpr int kRows = 65000;
constexpr int kMaxWords = 14;

const char *const kEnglish[] = {"image", "file",    "folder", "color",   "palette", "layer",  "selection",
                                "brush", "preview", "page",   "printer", "size",    "format", "quality",
                                "the",   "of",      "to",     "with",    "for",     "all"};
const char *const kGerman[] = {"Bild",        "Datei",    "Ordner", "Farbe",   "Palette", "Ebene",  "Auswahl",
                               "Pinsel",      "Vorschau", "Seite",  "Drucker", "H\xf6he", "e",      "Format",
                               "Qualit\xe4t", "der",      "von",    "nach",    "mit",     "f\xfcr", "alle"};
constexpr int kWordCount = sizeof kEnglish / sizeof kEnglish[0];
const char *const kShortcuts[] = {"\tCtrl+O", "\tCtrl+Shift+S", "\tDel", "\tF5", "\tAlt+Enter"};
const char *const kTranslatedShortcuts[] = {"\tStrg+O", "\tStrg+Umschalt+S", "\tEntf", "\tF5", "\tAlt+Eingabe"};
const char *const kFormats[] = {" %d", " %s", " %1", " %2!d!", " %d%%", " (%.2f)"};

struct Random {
    uint32_t state;
    uint32_t Below(uint32_t n)
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % n;
    }
};

struct Pair {
    std::string source;
    std::string translation;
};

// One pair: both texts have the same shape, word for word; now and then the translation
// differs, as a real one does, so some rows report problems.
Pair MakePair(Random &random)
{
    Pair pair;
    int words = 1 + int(random.Below(kMaxWords));
    bool accessKey = random.Below(3) == 0;
    for (int w = 0; w < words; ++w) {
        int index = int(random.Below(kWordCount));
        if (w) {
            pair.source += ' ';
            pair.translation += ' ';
        }
        if (w == 0 && accessKey) {
            pair.source += '&';
            pair.translation += '&';
        }
        pair.source += kEnglish[index];
        pair.translation += kGerman[index];
        if (random.Below(10) == 0) {
            const char *format = kFormats[random.Below(sizeof kFormats / sizeof kFormats[0])];
            pair.source += format;
            pair.translation += format;
        }
        if (random.Below(25) == 0) {
            pair.source += '\n';
            pair.translation += '\n';
        }
    }
    uint32_t ending = random.Below(8);
    if (ending == 0) {
        pair.source += ':';
        pair.translation += ':';
    } else if (ending == 1) {
        pair.source += "...";
        pair.translation += "...";
    }
    if (accessKey && random.Below(2) == 0) {
        uint32_t shortcut = random.Below(sizeof kShortcuts / sizeof kShortcuts[0]);
        pair.source += kShortcuts[shortcut];
        pair.translation += kTranslatedShortcuts[shortcut];
    }
    if (random.Below(20) == 0) pair.translation += " %s";
    if (random.Below(8) == 0) pair.translation.clear(); // untranslated
    return pair;
}

// The pairs back to back, source and translation each terminated, as a document's texts
// lie in memory once read: the figure is the checker's, not the allocator's.
struct Document {
    std::string bytes;
    std::vector<size_t> sources; // offsets; each translation follows its source's terminator
    size_t averageLength;
};

const Document &DenseDocument()
{
    static const Document document = [] {
        Document made;
        made.sources.reserve(kRows);
        Random random{1};
        for (int row = 0; row < kRows; ++row) {
            Pair pair = MakePair(random);
            made.sources.push_back(made.bytes.size());
            made.bytes += pair.source;
            made.bytes += '\0';
            made.bytes += pair.translation;
            made.bytes += '\0';
        }
        made.averageLength = made.bytes.size() / (2 * kRows);
        return made;
    }();
    return document;
}

// The generated module's pairs as the generator wrote them: source, zero, translation, zero.
const Document &GeneratedDocument()
{
    static const Document document = [] {
        Document made{};
        FILE *file = fopen(CHECKBENCH_PAIRS, "rb");
        if (!file) return made;
        char buffer[65536];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
            made.bytes.append(buffer, got);
        fclose(file);
        // Whole pairs only: a cut file loses its last, incomplete pair.
        for (size_t at = 0; at < made.bytes.size();) {
            const size_t source = at;
            at += strlen(made.bytes.data() + at) + 1;
            if (at >= made.bytes.size()) break;
            at += strlen(made.bytes.data() + at) + 1;
            if (at > made.bytes.size()) break;
            made.sources.push_back(source);
        }
        if (!made.sources.empty()) made.averageLength = made.bytes.size() / (2 * made.sources.size());
        return made;
    }();
    return document;
}

void CheckAll(benchmark::State &state, const Document &document)
{
    if (document.sources.empty()) {
        state.SkipWithError("no texts to check");
        return;
    }
    const char *bytes = document.bytes.data();
    int problems = 0;
    for (auto _ : state) {
        problems = 0;
        TextProblems found;
        for (size_t offset : document.sources) {
            const char *source = bytes + offset;
            problems += CheckTranslation(source, source + strlen(source) + 1, nullptr, &found);
        }
        benchmark::DoNotOptimize(problems);
    }
    state.counters["rows"] = double(document.sources.size());
    state.counters["problems"] = problems;
    state.counters["bytes_per_text"] = double(document.averageLength);
}

void BM_CheckGeneratedModule(benchmark::State &state)
{
    CheckAll(state, GeneratedDocument());
}
BENCHMARK(BM_CheckGeneratedModule)->Unit(benchmark::kMillisecond);

void BM_CheckDenseMix(benchmark::State &state)
{
    CheckAll(state, DenseDocument());
}
BENCHMARK(BM_CheckDenseMix)->Unit(benchmark::kMillisecond);

// The floor no checker can beat: finding the end of every text once.
void BM_LengthFloor(benchmark::State &state)
{
    const Document &document = GeneratedDocument();
    const char *bytes = document.bytes.data();
    for (auto _ : state) {
        size_t total = 0;
        for (size_t offset : document.sources) {
            const size_t sourceLength = strlen(bytes + offset);
            total += sourceLength + strlen(bytes + offset + sourceLength + 1);
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_LengthFloor)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
