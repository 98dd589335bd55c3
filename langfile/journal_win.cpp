// The file layer of the recovery journal: a file held open by its writer, one WriteFile and one
// FlushFileBuffers per record, and a mapped read of journals found at start-up.
#include "langfile/journalfile.h"

#include <cstdio>
#include <cstdlib>

#include <windows.h>

namespace
{

constexpr int kNameAttempts = 64;   // fresh names tried when one is taken
constexpr int kAsideAttempts = 100; // numbered ".bad" names tried

} // namespace

struct JournalFile {
    HANDLE file;
    uint64_t end; // the bytes on disk, all whole: where the next record goes
    char path[MAX_PATH];
};

namespace
{

// Writes bytes as one write and flushes them. A failed write leaves the file at journal->end.
int AppendFlushed(JournalFile *journal, const char *bytes, size_t length)
{
    if (!journal || !length) return 0;
    DWORD written = 0;
    const BOOL wrote = WriteFile(journal->file, bytes, static_cast<DWORD>(length), &written, nullptr);
    if (wrote && written == length && FlushFileBuffers(journal->file)) {
        journal->end += length;
        return 1;
    }
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(journal->end);
    if (SetFilePointerEx(journal->file, end, nullptr, FILE_BEGIN)) SetEndOfFile(journal->file);
    return 0;
}

HANDLE CreateFresh(const char *folder, char (&path)[MAX_PATH])
{
    static unsigned sequence;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const unsigned tag = GetTickCount() ^ ++sequence;
        const int n =
            snprintf(path, sizeof(path), "%s\\%08lx-%08x%s", folder, GetCurrentProcessId(), tag, kJournalFileSuffix);
        if (n < 0 || n >= static_cast<int>(sizeof(path))) return INVALID_HANDLE_VALUE;
        // Read sharing only: see langfile/journalfile.h for what that tells other instances.
        HANDLE file =
            CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

JournalFile *JournalFileCreate(const char *folder, const JournalHeader *header)
{
    if (!folder || !header) return nullptr;
    char bytes[kJournalHeaderMax];
    const size_t length = JournalFormatHeader(header, bytes, sizeof(bytes));
    if (!length) return nullptr;
    JournalFile *journal = static_cast<JournalFile *>(calloc(1, sizeof(JournalFile)));
    if (!journal) return nullptr;
    journal->file = CreateFresh(folder, journal->path);
    if (journal->file == INVALID_HANDLE_VALUE) {
        free(journal);
        return nullptr;
    }
    if (!AppendFlushed(journal, bytes, length)) {
        JournalFileClose(journal, 1);
        return nullptr;
    }
    return journal;
}

int JournalFileAppendText(JournalFile *journal, uint32_t stringId, const char *text, size_t length)
{
    char bytes[kJournalRecordMax];
    return AppendFlushed(journal, bytes, JournalFormatText(stringId, text, length, bytes, sizeof(bytes)));
}

int JournalFileAppendSignature(JournalFile *journal, const char *signature, size_t length)
{
    char bytes[kJournalRecordMax];
    return AppendFlushed(journal, bytes, JournalFormatSignature(signature, length, bytes, sizeof(bytes)));
}

const char *JournalFilePath(const JournalFile *journal)
{
    return journal ? journal->path : nullptr;
}

int JournalFileClose(JournalFile *journal, int removeFlag)
{
    if (!journal) return 1;
    CloseHandle(journal->file);
    // Our own handle shares no delete, so the file goes only once it is closed.
    const int done = removeFlag ? DeleteFileA(journal->path) != 0 : 1;
    free(journal);
    return done;
}

int JournalFileRead(const char *path, JournalHeader *header, JournalRecordFn onRecord, void *context,
                    JournalSummary *summary)
{
    if (!path) return kJournalNotOpened;
    // Without FILE_SHARE_WRITE this open fails against a writer's handle.
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? kJournalInUse : kJournalNotOpened;
    int result = kJournalNotOpened;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || static_cast<uint64_t>(size.QuadPart) != static_cast<size_t>(size.QuadPart)) {
        // Larger than the address space: not a journal this program wrote.
    } else if (size.QuadPart == 0) {
        // A file of no bytes cannot be mapped.
        result = JournalRead(nullptr, 0, header, onRecord, context, summary);
    } else {
        HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        const void *view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
        if (view) {
            result = JournalRead(static_cast<const char *>(view), static_cast<size_t>(size.QuadPart), header, onRecord,
                                 context, summary);
            UnmapViewOfFile(view);
        }
        if (mapping) CloseHandle(mapping);
    }
    CloseHandle(file);
    return result;
}

int JournalFileRemove(const char *path)
{
    return path && DeleteFileA(path);
}

int JournalFileSetAside(const char *path)
{
    if (!path) return 0;
    char aside[MAX_PATH];
    for (int attempt = 0; attempt < kAsideAttempts; ++attempt) {
        const int n = attempt ? snprintf(aside, sizeof(aside), "%s.%d%s", path, attempt, kJournalAsideSuffix)
                              : snprintf(aside, sizeof(aside), "%s%s", path, kJournalAsideSuffix);
        if (n < 0 || n >= static_cast<int>(sizeof(aside))) return 0;
        if (MoveFileA(path, aside)) return 1;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return 0;
    }
    return 0;
}
