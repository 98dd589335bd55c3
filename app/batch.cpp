// The command line without a window: checking a language file against the host module's
// strings and writing the module's template, with results on the standard handles.
#include "app/batch.h"

#include <windows.h>

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "app/cmdline.h"
#include "catalogue/hostmodule.h"
#include "catalogue/hoststrings.h"
#include "catalogue/stringblock.h"
#include "frame/leadbytes.h"
#include "langfile/lngfile.h"
#include "langfile/lngmodel.h"
#include "view/textcheck.h"
#include "state/textsize.h"

namespace
{

// Not in the XP-era headers: AttachConsole's "the parent's console".
constexpr DWORD kAttachParentProcess = DWORD(-1);
constexpr size_t kOutputBufferSize = 65536;
constexpr size_t kLineSize = 512;

struct BatchOptions {
    char check[kTokenSize];
    char module[kTokenSize];
    char templatePath[kTokenSize];
    const char *missing; // an option given without its file name
};

bool IsOption(const char *token, const char *name)
{
    return (token[0] == '-' || token[0] == '/') && lstrcmpiA(token + 1, name) == 0;
}

// True when the command line names -check or -template; each option takes the next token.
bool ReadBatchOptions(const char *commandLine, BatchOptions *options)
{
    memset(options, 0, sizeof *options);
    static const struct {
        const char *name;
        size_t offset;
    } kOptions[] = {
        {"check", offsetof(BatchOptions, check)},
        {"module", offsetof(BatchOptions, module)},
        {"template", offsetof(BatchOptions, templatePath)},
    };
    char token[kTokenSize];
    for (int index = 1; GetCommandLineToken(commandLine, token, sizeof token, index) > 0; ++index) {
        for (const auto &option : kOptions) {
            if (!IsOption(token, option.name)) continue;
            char *target = reinterpret_cast<char *>(options) + option.offset;
            if (GetCommandLineToken(commandLine, target, kTokenSize, ++index) == 0) options->missing = option.name;
        }
    }
    return options->check[0] || options->templatePath[0] || options->missing;
}

// The standard handles as a build script gives them: redirected to a file or pipe, or else the
// console of the program that started us. A GUI program gets no console of its own, so it
// attaches to its parent's; AttachConsole is looked up because Windows 2000 lacks it.
HANDLE ParentConsole()
{
    static HANDLE console = INVALID_HANDLE_VALUE;
    static bool tried = false;
    if (tried) return console;
    tried = true;
    using AttachFn = BOOL(WINAPI *)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto attach = reinterpret_cast<AttachFn>(
        reinterpret_cast<void *>(kernel ? GetProcAddress(kernel, "AttachConsole") : nullptr));
    if (!attach || !attach(kAttachParentProcess)) return console;
    console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
    return console;
}

HANDLE OutputHandle(DWORD which)
{
    HANDLE handle = GetStdHandle(which);
    if (handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN) return handle;
    return ParentConsole();
}

// A console shows Unicode; files and pipes get the ANSI bytes, as the language file has them.
void WriteBytes(HANDLE handle, const char *bytes, size_t length)
{
    if (handle == INVALID_HANDLE_VALUE || length == 0) return;
    DWORD mode;
    if (GetConsoleMode(handle, &mode)) {
        static WCHAR wide[kOutputBufferSize];
        int units = MultiByteToWideChar(CP_ACP, 0, bytes, int(length), wide, int(kOutputBufferSize));
        DWORD written;
        if (units > 0) WriteConsoleW(handle, wide, DWORD(units), &written, nullptr);
        return;
    }
    DWORD written;
    WriteFile(handle, bytes, DWORD(length), &written, nullptr);
}

// Standard output, gathered so that a long report is a few writes rather than one per line.
struct Output {
    HANDLE handle;
    size_t used;
    char buffer[kOutputBufferSize];
};

void Flush(Output *out)
{
    WriteBytes(out->handle, out->buffer, out->used);
    out->used = 0;
}

void PrintLine(Output *out, const char *format, ...)
{
    char line[kLineSize];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(line, sizeof line - 2, format, args);
    va_end(args);
    if (n < 0) return;
    size_t length = size_t(n) < sizeof line - 2 ? size_t(n) : sizeof line - 3;
    memcpy(line + length, "\r\n", 2);
    length += 2;
    if (out->used + length > sizeof out->buffer) Flush(out);
    memcpy(out->buffer + out->used, line, length);
    out->used += length;
}

void Complain(const char *format, ...)
{
    char line[kLineSize];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n <= 0) return;
    size_t length = size_t(n) < sizeof line ? size_t(n) : sizeof line - 1;
    WriteBytes(OutputHandle(STD_ERROR_HANDLE), line, length);
}

struct ModuleRead {
    LangFile *model;
    bool failed;
};

// The string rows as records, as the list shows them: in ID order, converted to the ANSI code
// page and cut as the list cuts them. Category rows are the list's own.
bool AddModuleString(void *context, const HostRow &row)
{
    auto *read = static_cast<ModuleRead *>(context);
    if (read->failed) return false;
    if (row.id == 0 || row.id >= kLangIdLimit || row.text[0] == '\0') return true;
    if (!LangFileAdd(read->model, row.id, row.text)) read->failed = true;
    return !read->failed;
}

// The module's strings as records, in the order the list shows them.
LangFile *ReadModuleStrings(HMODULE module)
{
    ModuleRead read = {LangFileCreate(), false};
    if (!read.model) return nullptr;
    ReadHostStrings(module, AddModuleString, &read);
    if (read.failed) {
        LangFileFree(read.model);
        return nullptr;
    }
    return read.model;
}

// The module named on the command line, or else the one of the settings (already loaded).
HMODULE OpenModule(const BatchOptions &options, bool *own)
{
    *own = false;
    if (!options.module[0]) {
        if (!HostModuleHandle()) {
            char path[MAX_PATH];
            GetModulePath(path, sizeof path);
            if (path[0])
                Complain("Parlevo: cannot load the module \"%s\" of the settings\r\n", path);
            else
                Complain("Parlevo: no module is set; give -module PATH\r\n");
        }
        return HostModuleHandle();
    }
    // A full path, so that a bare name is not looked for along the DLL search path.
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(options.module, sizeof full, full, nullptr);
    HMODULE module = (n > 0 && n < sizeof full) ? LoadModuleAsData(full) : nullptr;
    if (!module) Complain("Parlevo: cannot load the module \"%s\"\r\n", options.module);
    *own = module != nullptr;
    return module;
}

bool CanRead(const char *path)
{
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

const char *Plural(int n)
{
    return n == 1 ? "" : "s";
}

// One line per problem, then the summary. The sources must be sorted.
int CheckLanguageFile(const char *path, const LangFile *sources, Output *out)
{
    LangFile *translations = CanRead(path) ? LangFileCreate() : nullptr;
    if (!translations) {
        Complain("Parlevo: cannot read the language file \"%s\"\r\n", path);
        return kBatchFailed;
    }
    LangFileRead(translations, path);
    int errors = 0;
    int warnings = 0;
    char source[kTextSize];
    TextProblems problems;
    for (int index = 0; index < LangFileCount(translations); ++index) {
        const LangRecord *record = LangFileRecordAt(translations, index);
        // A record the module has no string for is not shown, so there is nothing to compare.
        if (!LangFileFind(sources, record->stringId, source)) continue;
        CheckTranslation(source, record->text, IsAnsiLeadByte, &problems);
        for (int k = 0; k < problems.count; ++k) {
            const TextProblem &p = problems.items[k];
            PrintLine(out, "%u\t%s\t%s\t%s", unsigned(record->stringId), SeverityName(p.severity), CheckName(p.check),
                      p.message);
        }
        errors += problems.errors;
        warnings += problems.warnings;
    }
    LangFileFree(translations);
    PrintLine(out, "%d error%s, %d warning%s", errors, Plural(errors), warnings, Plural(warnings));
    return errors > 0 ? kBatchErrors : kBatchClean;
}

int RunBatch(const BatchOptions &options)
{
    if (options.missing) {
        Complain("Parlevo: -%s needs a file name\r\n", options.missing);
        return kBatchFailed;
    }
    bool own = false;
    HMODULE module = OpenModule(options, &own);
    if (!module) return kBatchFailed;
    LangFile *sources = ReadModuleStrings(module);
    if (own) FreeLibrary(module);
    if (!sources) {
        Complain("Parlevo: not enough memory for the module's strings\r\n");
        return kBatchFailed;
    }
    int result = kBatchClean;
    if (options.templatePath[0] && LangFileWrite(sources, options.templatePath, 1) < 0) {
        Complain("Parlevo: cannot write the template \"%s\"\r\n", options.templatePath);
        result = kBatchFailed;
    }
    if (result == kBatchClean && options.check[0]) {
        static Output out;
        out.handle = OutputHandle(STD_OUTPUT_HANDLE);
        out.used = 0;
        LangFileSort(sources);
        result = CheckLanguageFile(options.check, sources, &out);
        Flush(&out);
    }
    LangFileFree(sources);
    return result;
}

} // namespace

bool RunBatchCommandLine(const char *commandLine, int *exitCode)
{
    BatchOptions options;
    if (!ReadBatchOptions(commandLine, &options)) return false;
    *exitCode = RunBatch(options);
    return true;
}
