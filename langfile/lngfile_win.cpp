// The file layer of the language file: a read-only mapping for reading; for writing, a
// temporary file beside the target that replaces it only once every byte is on disk.
#include "langfile/lngfile.h"

#include <cstdio>

#include <windows.h>

#include "langfile/lngformat.h"
#include "langfile/lngparse.h"

namespace
{

// Attempts at a fresh temporary name when one is taken.
constexpr int kTempNameAttempts = 64;

int IsAnsiLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) ? 1 : 0;
}

LeadBytePredicate AnsiLeadBytes()
{
    CPINFO info;
    if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1) return IsAnsiLeadByte;
    return nullptr;
}

int WriteToFile(void *context, const char *bytes, size_t length)
{
    HANDLE file = static_cast<HANDLE>(context);
    while (length) {
        const DWORD piece = length > (1u << 30) ? (1u << 30) : static_cast<DWORD>(length);
        DWORD written = 0;
        if (!WriteFile(file, bytes, piece, &written, nullptr) || !written) return 0;
        bytes += written;
        length -= written;
    }
    return 1;
}

// Creates a new, empty file in the folder of `target` (a full path) and names it in tempPath.
// INVALID_HANDLE_VALUE when the folder is missing, not writable, or no name is free.
HANDLE CreateTempBeside(const char *target, const char *fileName, char (&tempPath)[MAX_PATH])
{
    const int folderLength = static_cast<int>(fileName - target);
    static unsigned sequence;
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        const unsigned tag = (GetCurrentProcessId() << 16) ^ GetTickCount() ^ ++sequence;
        const int n = snprintf(tempPath, sizeof(tempPath), "%.*s~lng%08x.tmp", folderLength, target, tag);
        if (n < 0 || n >= static_cast<int>(sizeof(tempPath))) return INVALID_HANDLE_VALUE;
        HANDLE file = CreateFileA(tempPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

int LangFileRead(LangFile *model, const char *path)
{
    if (!model || !path) return 0;
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    LARGE_INTEGER size;
    // The whole file is mapped at once; a file larger than the address space reads as nothing.
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
        static_cast<uint64_t>(size.QuadPart) == static_cast<size_t>(size.QuadPart)) {
        HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (mapping) {
            const void *view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
            if (view) {
                count = LangFileParse(model, static_cast<const char *>(view), static_cast<size_t>(size.QuadPart),
                                      AnsiLeadBytes());
                UnmapViewOfFile(view);
            }
            CloseHandle(mapping);
        }
    }
    CloseHandle(file);
    return count;
}

int64_t LangFileWrite(LangFile *model, const char *path, int templateFlag)
{
    if (!model || !path || !path[0]) return -1;
    char target[MAX_PATH];
    char *fileName = nullptr;
    const DWORD length = GetFullPathNameA(path, sizeof(target), target, &fileName);
    if (!length || length >= sizeof(target) || !fileName || !*fileName) return -1;
    // A read-only file or a folder is not replaced (MoveFileEx alone would replace a read-only
    // file on some systems).
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return -1;

    char tempPath[MAX_PATH];
    HANDLE file = CreateTempBeside(target, fileName, tempPath);
    if (file == INVALID_HANDLE_VALUE) return -1;
    const ByteSink sink{WriteToFile, file};
    const int64_t itemBytes = LangFileFormat(model, templateFlag, &sink);
    const bool written = itemBytes >= 0 && FlushFileBuffers(file);
    const bool closed = CloseHandle(file) != 0;
    if (written && closed && MoveFileExA(tempPath, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return itemBytes;
    DeleteFileA(tempPath);
    return -1;
}
