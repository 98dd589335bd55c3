// The file layer of the language file: a read-only mapping for reading; for writing, a
// temporary file beside the target that replaces it only once every byte is on disk.
#include "langfile/lngfile.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <windows.h>

#include "frame/leadbytes.h"
#include "langfile/lngformat.h"
#include "langfile/lngparse.h"

namespace
{

// The temporary file of a save: hidden, beside the document, named after it and the process
// (".de.lng.tmp-1234"), so that a later save can tell its own leftovers from another's.
constexpr char kTempPrefix[] = ".";
constexpr char kTempInfix[] = ".tmp-";

void SetError(uint32_t *error, DWORD code)
{
    if (error) *error = code ? code : ERROR_GEN_FAILURE;
}

struct FileSink {
    HANDLE file;
    DWORD error;
};

int WriteToFile(void *context, const char *bytes, size_t length)
{
    auto *sink = static_cast<FileSink *>(context);
    while (length) {
        const DWORD piece = length > (1u << 30) ? (1u << 30) : static_cast<DWORD>(length);
        DWORD written = 0;
        if (!WriteFile(sink->file, bytes, piece, &written, nullptr) || !written) {
            sink->error = GetLastError();
            return 0;
        }
        bytes += written;
        length -= written;
    }
    return 1;
}

bool IsProcessRunning(DWORD pid)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

// Removes the temporary files that saves of this document by processes no longer running left
// behind (a save cut short by a kill or a power loss).
void RemoveStaleTemps(const char *target, const char *fileName)
{
    const int folderLength = static_cast<int>(fileName - target);
    char pattern[MAX_PATH];
    const int n =
        snprintf(pattern, sizeof(pattern), "%.*s%s%s%s*", folderLength, target, kTempPrefix, fileName, kTempInfix);
    if (n < 0 || n >= static_cast<int>(sizeof(pattern))) return;
    const size_t stemLength = strlen(kTempPrefix) + strlen(fileName) + strlen(kTempInfix);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern, &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const char *digits = found.cFileName + stemLength;
        if (strlen(found.cFileName) <= stemLength || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        char *digitsEnd = nullptr;
        const unsigned long pid = strtoul(digits, &digitsEnd, 10);
        if (*digitsEnd || pid == GetCurrentProcessId() || IsProcessRunning(static_cast<DWORD>(pid))) continue;
        char stale[MAX_PATH];
        const int m = snprintf(stale, sizeof(stale), "%.*s%s", folderLength, target, found.cFileName);
        if (m < 0 || m >= static_cast<int>(sizeof(stale))) continue;
        SetFileAttributesA(stale, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(stale);
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

// Creates the hidden temporary file of this process for `target` (a full path) and names it in
// tempPath. INVALID_HANDLE_VALUE, with the error, when the folder is missing or not writable.
HANDLE CreateTempBeside(const char *target, const char *fileName, char (&tempPath)[MAX_PATH], DWORD &error)
{
    const int folderLength = static_cast<int>(fileName - target);
    const int n = snprintf(tempPath, sizeof(tempPath), "%.*s%s%s%s%lu", folderLength, target, kTempPrefix, fileName,
                           kTempInfix, static_cast<unsigned long>(GetCurrentProcessId()));
    if (n < 0 || n >= static_cast<int>(sizeof(tempPath))) {
        error = ERROR_FILENAME_EXCED_RANGE;
        return INVALID_HANDLE_VALUE;
    }
    // One save at a time per process: a file of this name is a leftover of this process.
    HANDLE file = CreateFileA(tempPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) error = GetLastError();
    return file;
}

// A block of the process heap, freed when it goes.
struct HeapBlock {
    void *p = nullptr;
    explicit HeapBlock(size_t bytes) : p(HeapAlloc(GetProcessHeap(), 0, bytes ? bytes : 1)) {}
    ~HeapBlock()
    {
        if (p) HeapFree(GetProcessHeap(), 0, p);
    }
    HeapBlock(const HeapBlock &) = delete;
    HeapBlock &operator=(const HeapBlock &) = delete;
};

int Fail(LangReadDetail *detail, DWORD error)
{
    if (detail) detail->error = error ? error : ERROR_GEN_FAILURE;
    return -1;
}

int Refuse(LangReadDetail *detail)
{
    if (detail) detail->refused = true;
    return -1;
}

int ParseBytes(LangFile *model, const char *data, size_t length, LangReadDetail *detail)
{
    if (detail) LangCountLines(data, length, &detail->lines);
    return LangFileParse(model, data, length, IsAnsiLeadByte);
}

// UTF-8 after its mark, read in the ANSI code page when every character has a byte of its own
// there (no best-fit stand-ins, no default character); otherwise refused.
int ParseUtf8(LangFile *model, const char *data, size_t length, LangReadDetail *detail)
{
    if (length == 0) return ParseBytes(model, data, 0, detail);
    if (length > INT_MAX / 2) return Fail(detail, ERROR_FILE_TOO_LARGE);
    const int utf8Length = static_cast<int>(length);
    const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, utf8Length, nullptr, 0);
    if (wideLength <= 0) return Refuse(detail);
    HeapBlock wide(static_cast<size_t>(wideLength) * sizeof(WCHAR));
    if (!wide.p) return Fail(detail, ERROR_NOT_ENOUGH_MEMORY);
    auto *wideText = static_cast<WCHAR *>(wide.p);
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, utf8Length, wideText, wideLength);
    // An ANSI character takes at most two bytes.
    const int ansiCapacity = wideLength * 2;
    HeapBlock ansi(static_cast<size_t>(ansiCapacity));
    if (!ansi.p) return Fail(detail, ERROR_NOT_ENOUGH_MEMORY);
    BOOL usedDefault = FALSE;
    const int ansiLength = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wideText, wideLength,
                                               static_cast<char *>(ansi.p), ansiCapacity, nullptr, &usedDefault);
    if (ansiLength <= 0 || usedDefault) return Refuse(detail);
    return ParseBytes(model, static_cast<const char *>(ansi.p), static_cast<size_t>(ansiLength), detail);
}

int ParseFileBytes(LangFile *model, const char *data, size_t length, LangReadDetail *detail)
{
    size_t markLength = 0;
    const LangTextMark mark = LangDetectMark(data, length, &markLength);
    if (detail) detail->mark = mark;
    if (mark == kLangMarkUtf8) return ParseUtf8(model, data + markLength, length - markLength, detail);
    if (mark != kLangMarkNone) return Refuse(detail);
    return ParseBytes(model, data, length, detail);
}

} // namespace

int LangFileRead(LangFile *model, const char *path, LangReadDetail *detail)
{
    if (detail) *detail = LangReadDetail{};
    if (!model || !path) return Fail(detail, ERROR_INVALID_PARAMETER);
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(detail, GetLastError());
    int count = -1;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        count = Fail(detail, GetLastError());
    } else if (size.QuadPart == 0) {
        // Nothing to map: an empty file is a language file without signature or items.
        count = ParseFileBytes(model, nullptr, 0, detail);
    } else if (static_cast<uint64_t>(size.QuadPart) != static_cast<size_t>(size.QuadPart)) {
        // The whole file is mapped at once; it must fit the address space.
        count = Fail(detail, ERROR_FILE_TOO_LARGE);
    } else {
        HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        const void *view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
        if (view)
            count = ParseFileBytes(model, static_cast<const char *>(view), static_cast<size_t>(size.QuadPart), detail);
        else
            count = Fail(detail, GetLastError());
        if (view) UnmapViewOfFile(view);
        if (mapping) CloseHandle(mapping);
    }
    CloseHandle(file);
    return count;
}

namespace
{

constexpr DWORD kCopyChunk = 1u << 16;

// Copies source into the open file `to` and flushes it. 0 on success, else the error.
DWORD CopyInto(const char *source, HANDLE to)
{
    HANDLE from =
        CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (from == INVALID_HANDLE_VALUE) return GetLastError();
    HeapBlock chunk(kCopyChunk);
    DWORD failure = chunk.p ? 0 : ERROR_NOT_ENOUGH_MEMORY;
    for (DWORD got = 0; !failure;) {
        if (!ReadFile(from, chunk.p, kCopyChunk, &got, nullptr)) failure = GetLastError();
        if (failure || got == 0) break;
        FileSink sink{to, 0};
        if (!WriteToFile(&sink, static_cast<const char *>(chunk.p), got)) failure = sink.error;
    }
    CloseHandle(from);
    if (!failure && !FlushFileBuffers(to)) failure = GetLastError();
    return failure;
}

// The old file copied, whole, under a temporary name and then moved over the backup: a crash
// leaves the previous backup or the new one, and the file itself is never touched.
DWORD CopyToBackup(const char *target, const char *backup)
{
    char full[MAX_PATH];
    char *fileName = nullptr;
    const DWORD length = GetFullPathNameA(backup, sizeof(full), full, &fileName);
    if (!length || length >= sizeof(full) || !fileName) return ERROR_FILENAME_EXCED_RANGE;
    RemoveStaleTemps(full, fileName);
    char tempPath[MAX_PATH];
    DWORD failure = 0;
    HANDLE temp = CreateTempBeside(full, fileName, tempPath, failure);
    if (temp == INVALID_HANDLE_VALUE) return failure;
    failure = CopyInto(target, temp);
    if (!CloseHandle(temp) && !failure) failure = GetLastError();
    if (!failure && !SetFileAttributesA(tempPath, FILE_ATTRIBUTE_NORMAL)) failure = GetLastError();
    if (!failure && !MoveFileExA(tempPath, full, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failure = GetLastError();
    if (failure) DeleteFileA(tempPath);
    return failure;
}

// Puts the written temporary file in the target's place, the old file becoming the backup.
// 0 on success; otherwise the error, with *backupFailed set when the backup alone failed (then
// the target is untouched). The old file is copied to the backup first and the new one then
// renamed over it in one step, so a crash at any point leaves the old or the new file under
// the real name. ReplaceFile is not used: Wine makes it two renames, with a moment where the
// name is missing.
DWORD ReplaceKeepingBackup(const char *target, const char *tempPath, const char *backup, int *backupFailed)
{
    DWORD failure = CopyToBackup(target, backup);
    if (failure) {
        *backupFailed = 1;
        return failure;
    }
    if (MoveFileExA(tempPath, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    return GetLastError();
}

int64_t WriteLanguageFile(LangFile *model, const char *path, int templateFlag, uint32_t *error, int keepBackup,
                          int *backupFailed)
{
    if (error) *error = 0;
    if (!model || !path || !path[0]) {
        SetError(error, ERROR_INVALID_PARAMETER);
        return -1;
    }
    char target[MAX_PATH];
    char *fileName = nullptr;
    const DWORD length = GetFullPathNameA(path, sizeof(target), target, &fileName);
    if (!length || length >= sizeof(target) || !fileName || !*fileName) {
        SetError(error, length >= sizeof(target) ? ERROR_FILENAME_EXCED_RANGE : ERROR_INVALID_NAME);
        return -1;
    }
    // A read-only file or a folder is not replaced (MoveFileEx alone would replace a read-only
    // file on some systems).
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetError(error, ERROR_ACCESS_DENIED);
        return -1;
    }

    RemoveStaleTemps(target, fileName);
    char tempPath[MAX_PATH];
    DWORD failure = 0;
    HANDLE file = CreateTempBeside(target, fileName, tempPath, failure);
    if (file == INVALID_HANDLE_VALUE) {
        SetError(error, failure);
        return -1;
    }
    FileSink fileSink{file, 0};
    const ByteSink sink{WriteToFile, &fileSink};
    const int64_t itemBytes = LangFileFormat(model, templateFlag, &sink);
    if (itemBytes < 0) failure = fileSink.error ? fileSink.error : ERROR_NOT_ENOUGH_MEMORY;
    if (!failure && !FlushFileBuffers(file)) failure = GetLastError();
    if (!CloseHandle(file) && !failure) failure = GetLastError();
    // The hidden mark belongs to the temporary name only; a move keeps a file's attributes.
    if (!failure && !SetFileAttributesA(tempPath, FILE_ATTRIBUTE_NORMAL)) failure = GetLastError();
    if (!failure && keepBackup && attributes != INVALID_FILE_ATTRIBUTES) {
        char backup[MAX_PATH];
        const int n = snprintf(backup, sizeof(backup), "%s%s", target, kBackupSuffix);
        if (n > 0 && n < static_cast<int>(sizeof(backup))) {
            failure = ReplaceKeepingBackup(target, tempPath, backup, backupFailed);
        } else {
            *backupFailed = 1;
            failure = ERROR_FILENAME_EXCED_RANGE;
        }
    } else if (!failure && !MoveFileExA(tempPath, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failure = GetLastError();
    }
    if (!failure) return itemBytes;
    DeleteFileA(tempPath);
    SetError(error, failure);
    return -1;
}

} // namespace

int64_t LangFileWrite(LangFile *model, const char *path, int templateFlag, uint32_t *error)
{
    int backupFailed = 0;
    return WriteLanguageFile(model, path, templateFlag, error, 0, &backupFailed);
}

int64_t LangFileWriteWithBackup(LangFile *model, const char *path, int templateFlag, uint32_t *error, int *backupFailed)
{
    int failedHere = 0;
    const int64_t bytes = WriteLanguageFile(model, path, templateFlag, error, 1, &failedHere);
    if (backupFailed) *backupFailed = failedHere;
    return bytes;
}
