// Reading the host module's string tables row by row.
#include "catalogue/hoststrings.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "catalogue/hostmodule.h"
#include "catalogue/noticetext.h"
#include "catalogue/stringblock.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "state/appstate.h"
#include "state/textsize.h"

// Whatever the length, no more units than this can fit in a row: every unit gives at least
// one byte, a surrogate pair at least one for its two units.
constexpr int kMaxSourceUnits = 2 * kTextSize;

static int EncodedSize(UINT codePage, const WCHAR *text, int length)
{
    return length > 0 ? WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
}

// A prefix never ends between the two halves of a surrogate pair.
static int WholeCharacters(const WCHAR *text, int length, int units)
{
    if (units > 0 && units < length && IS_HIGH_SURROGATE(text[units - 1]) && IS_LOW_SURROGATE(text[units])) {
        return units - 1;
    }
    return units;
}

int ConvertSourceText(const WCHAR *text, int length, char *out)
{
    return ConvertSourceTextTo(CP_ACP, text, length, out);
}

int ConvertSourceTextTo(UINT codePage, const WCHAR *text, int length, char *out)
{
    const int room = kTextSize - 1;
    out[0] = '\0';
    if (!text || length <= 0) return 0;
    int written = WideCharToMultiByte(codePage, 0, text, length, out, room, nullptr, nullptr);
    if (written > 0 || GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        out[written > 0 ? written : 0] = '\0';
        return written > 0 ? written : 0;
    }
    // Too long: the longest prefix of whole characters that fits. Its ANSI form is the start
    // of the whole text's, since the ANSI code pages keep no state between characters.
    int fits = 0;
    int tooLong = length;
    while (tooLong - fits > 1) {
        int middle = fits + (tooLong - fits) / 2;
        if (EncodedSize(codePage, text, WholeCharacters(text, length, middle)) <= room) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    int units = WholeCharacters(text, length, fits);
    written = units > 0 ? WideCharToMultiByte(codePage, 0, text, units, out, room, nullptr, nullptr) : 0;
    out[written > 0 ? written : 0] = '\0';
    return written > 0 ? written : 0;
}

int ReadStringBlock(HMODULE module, UINT blockNumber, HostRowSink sink, void *context)
{
    if (!module || !sink || blockNumber < 1 || blockNumber > kLastStringBlock) return 0;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(blockNumber), RT_STRING);
    if (!found) return 0;
    HGLOBAL loaded = LoadResource(module, found);
    DWORD size = SizeofResource(module, found);
    const void *data = loaded ? LockResource(loaded) : nullptr;
    StringBlockReader reader;
    if (!data || size == 0 || !StringBlockBegin(&reader, data, size, blockNumber)) return 0;

    int count = 0;
    StringEntry entry;
    WCHAR aligned[kMaxSourceUnits];
    char text[kTextSize];
    char idText[kStringIdTextSize];
    while (StringBlockNext(&reader, &entry)) {
        if (const char *title = CategoryTitleAt(entry.id)) {
            if (!sink(context, HostRow{0, "", title})) return count;
        }
        if (entry.length == 0) continue;
        int units = entry.length < uint32_t(kMaxSourceUnits) ? int(entry.length) : kMaxSourceUnits;
        const WCHAR *source = reinterpret_cast<const WCHAR *>(entry.text);
        if (reinterpret_cast<uintptr_t>(entry.text) % alignof(WCHAR) != 0) {
            // A crafted module may place a block at an odd address.
            memcpy(aligned, entry.text, size_t(units) * sizeof(WCHAR));
            source = aligned;
        }
        ConvertSourceText(source, units, text);
        FormatStringId(entry.id, idText);
        if (!sink(context, HostRow{entry.id, idText, text})) return count;
        ++count;
    }
    return count;
}

struct ReadContext {
    HostRowSink sink;
    void *context;
};

static BOOL CALLBACK ReadNextBlock(HMODULE module, LPCSTR, LPSTR name, LONG_PTR param)
{
    auto *read = reinterpret_cast<ReadContext *>(param);
    // A table with a text name has no block number and holds no string IDs.
    if (!IS_INTRESOURCE(name)) return TRUE;
    // The first block that gives no string ends the reading: later blocks are not read.
    return ReadStringBlock(module, UINT(reinterpret_cast<ULONG_PTR>(name)), read->sink, read->context) > 0;
}

bool ReadHostStrings(HMODULE module, HostRowSink sink, void *context)
{
    if (!module || !sink) return false;
    ReadContext read{sink, context};
    EnumResourceNamesA(module, RT_STRING, ReadNextBlock, reinterpret_cast<LONG_PTR>(&read));
    return true;
}

static UINT ProblemTextId(ModuleProblem problem)
{
    switch (problem) {
    case kModuleNotFound: return IDS_MODULE_NOT_FOUND;
    case kModuleNotAModule: return IDS_MODULE_NOT_PE;
    case kModuleNoStringTables: return IDS_MODULE_NO_STRINGS;
    case kModuleDamaged: return IDS_MODULE_DAMAGED;
    default: return IDS_MISSING_MODULE;
    }
}

bool ShowModuleProblem(HWND owner)
{
    ModuleProblem problem = HostModuleProblem();
    if (problem == kModuleUsable) return false;
    char format[kTextSize];
    if (!LoadUiText(ProblemTextId(problem), format)) return true;
    // Not configured names the host; the other cases name the file that was tried.
    char path[MAX_PATH], expanded[MAX_PATH];
    GetModulePath(path, sizeof path);
    if (ExpandPathVariables(path, expanded, sizeof expanded) == 0) expanded[0] = '\0';
    const char *first = problem == kModuleNotConfigured ? AppHostName() : expanded;
    char text[kTextSize + 2 * MAX_PATH];
    FormatNoticeText(format, first, AppHostFileName(), text, sizeof text);
    UINT icon = problem == kModuleNotConfigured ? MB_ICONINFORMATION : MB_ICONWARNING;
    MessageBoxA(owner, text, AppProgramName(), MB_OK | icon);
    return true;
}
