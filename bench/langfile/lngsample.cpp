// A deterministic sample model: IDs spread over 1..65534, texts of words with the bytes that
// need escaping and some high (Windows-1252) letters mixed in.
#include "bench/langfile/lngsample.h"
#include "state/textsize.h"

#include <cstdint>
#include <cstring>

namespace
{

const char *const kWords[] = {
    "Open",
    "File",
    "Save",
    "as",
    "image",
    "%d",
    "von",
    "Bild",
    "Gr\xf6\xdf"
    "e",
    "the",
    "Farbe",
    "Zoom:",
    "%s",
    "Ordner",
    "Vorschau",
    "Fenster",
    "Datei",
    "Bearbeiten",
    "\xfc"
    "ber",
    "Ansicht",
    "Miniaturansicht",
    "Helligkeit",
    "Kontrast",
    "Drucken",
    "Einstellungen",
    "mit",
};
constexpr int kWordCount = sizeof(kWords) / sizeof(kWords[0]);

struct Random {
    uint32_t state;
    uint32_t Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

void MakeText(Random &random, char (&text)[kTextSize])
{
    size_t length = 0;
    const int words = 2 + static_cast<int>(random.Next() % 10);
    for (int w = 0; w < words; ++w) {
        const char *word = kWords[random.Next() % kWordCount];
        const size_t wordLength = strlen(word);
        if (length + wordLength + 2 > kLangTextMax) break;
        if (w) {
            const uint32_t pick = random.Next() % 40;
            text[length++] = pick == 0 ? '\n' : pick == 1 ? '\t' : ' ';
        }
        const bool quoted = random.Next() % 30 == 0 && length + wordLength + 4 <= kLangTextMax;
        if (quoted) text[length++] = '"';
        memcpy(text + length, word, wordLength);
        length += wordLength;
        if (quoted) text[length++] = '"';
    }
    text[length] = '\0';
}

} // namespace

LangFile *BuildSampleModel(int shuffled)
{
    LangFile *model = LangFileCreate();
    if (!model) return nullptr;
    LangFileSetSignature(model, "Language: Deutsch\r\nAuthor: Parlevo\r\nVersion: 1.0\r\n");
    uint32_t order[kSampleRecords];
    for (int i = 0; i < kSampleRecords; ++i)
        order[i] = static_cast<uint32_t>(i);
    Random random{20090712};
    if (shuffled) {
        for (int i = kSampleRecords - 1; i > 0; --i) {
            const uint32_t j = random.Next() % static_cast<uint32_t>(i + 1);
            const uint32_t held = order[i];
            order[i] = order[j];
            order[j] = held;
        }
    }
    for (int i = 0; i < kSampleRecords; ++i) {
        // The text depends on the ID alone, so both orders hold the same records.
        Random textRandom{order[i] * 2654435761u};
        char text[kTextSize];
        MakeText(textRandom, text);
        const uint32_t id = 1 + order[i] * (kLangIdLimit - 2) / kSampleRecords;
        if (!LangFileAdd(model, id, text)) {
            LangFileFree(model);
            return nullptr;
        }
    }
    return model;
}
