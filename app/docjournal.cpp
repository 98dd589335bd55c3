// The recovery journal of the open document, in the user's local application data.
#include "app/docjournal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <shlobj.h>

#include "app/appwindows.h"
#include "state/messages.h"
#include "state/sysdlls.h"
#include "catalogue/hostmodule.h"
#include "langfile/journalfile.h"

static const char kRecoverySubfolders[][16] = {"\\Parlevo", "\\Recovery"};

static bool LocalAppData(char *out, size_t capacity)
{
    if (capacity < MAX_PATH) return false;
    if (SysGetFolderPath(CSIDL_LOCAL_APPDATA, out)) return true;
    // Without shell32 the variable of the same folder is there on every system that has one.
    const DWORD n = GetEnvironmentVariableA("LOCALAPPDATA", out, DWORD(capacity));
    return n > 0 && n < capacity;
}

bool RecoveryFolder(char *out, size_t capacity)
{
    if (!LocalAppData(out, capacity)) return false;
    for (const char *sub : kRecoverySubfolders) {
        const size_t length = strlen(out);
        if (length + strlen(sub) >= capacity) return false;
        memcpy(out + length, sub, strlen(sub) + 1);
        if (!CreateDirectoryA(out, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return true;
}

static JournalFile *OpenJournal(ViewState *vs)
{
    if (vs->journal) return vs->journal;
    JournalHeader header = {};
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    header.time = (uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    // An untitled document has no file: the empty name says so.
    if (vs->docFlags & kOpenFileBacked) lstrcpynA(header.document, vs->docPath, sizeof header.document);
    GetModulePath(header.module, sizeof header.module);
    char folder[MAX_PATH];
    if (!RecoveryFolder(folder, sizeof folder)) return nullptr;
    vs->journal = JournalFileCreate(folder, &header);
    return vs->journal;
}

void JournalRowChange(HWND view, UINT stringId, const char *after)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !OpenJournal(vs)) return;
    JournalFileAppendText(vs->journal, stringId, after, strlen(after));
}

void JournalSignatureChange(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !OpenJournal(vs)) return;
    JournalFileAppendSignature(vs->journal, vs->signature, strlen(vs->signature));
}

void JournalDiscard(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->journal) return;
    JournalFileClose(vs->journal, 1);
    vs->journal = nullptr;
}
