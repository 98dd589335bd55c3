// Random source and translation pairs: the first byte picks the code page (bit 0: a made-up
// double-byte one), the rest is the source, a zero byte, the translation. Nothing may be read
// past either text, and a text that fits a language file always passes against itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "view/textcheck.h"

static bool FakeLead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

// A heap copy of exactly the text and its terminator, so ASan sees any read past it.
static char *Copy(const uint8_t *bytes, size_t length)
{
    char *text = static_cast<char *>(malloc(length + 1));
    if (length) memcpy(text, bytes, length);
    text[length] = '\0';
    return text;
}

static void Check(const char *source, const char *translation, LeadByteFn lead)
{
    TextProblems problems;
    int count = CheckTranslation(source, translation, lead, &problems);
    if (count < 0 || count > kMaxTextProblems || count != problems.errors + problems.warnings) abort();
    for (int k = 0; k < count; ++k) {
        if (strnlen(problems.items[k].message, kProblemMessageSize) >= kProblemMessageSize) abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1) return 0;
    LeadByteFn lead = (data[0] & 1) ? FakeLead : nullptr;
    const uint8_t *rest = data + 1;
    size_t restLength = size - 1;
    const uint8_t *zero = static_cast<const uint8_t *>(memchr(rest, 0, restLength));
    size_t sourceLength = zero ? size_t(zero - rest) : restLength;
    char *source = Copy(rest, sourceLength);
    size_t translationLength = zero ? restLength - sourceLength - 1 : 0;
    const uint8_t *translationBytes = zero ? zero + 1 : rest;
    size_t cut = strnlen(reinterpret_cast<const char *>(translationBytes), translationLength);
    char *translation = Copy(translationBytes, cut);

    Check(source, translation, lead);
    Check(translation, source, lead);
    TextProblems problems;
    if (sourceLength <= kTextCheckMax && CheckTranslation(source, source, lead, &problems) != 0) abort();
    free(source);
    free(translation);
    return 0;
}
