// Language files on disk: reading one into a model and writing a model out. The parsing and
// formatting are in langfile/lngparse.h and langfile/lngformat.h; this is the file layer.
#pragma once
#include <cstdint>

#include "langfile/lngmodel.h"
#include "langfile/lngsniff.h"

// What a read found, for the caller to tell the user.
struct LangReadDetail {
    uint32_t error;       // the Win32 error when the file could not be opened or read, else 0
    LangTextMark mark;    // the file's byte-order mark
    bool refused;         // a marked file that is not all in the ANSI code page: nothing was read
    LangLineCounts lines; // its lines past the signature (filled only when the read succeeded)
};

// Reads the file at path (opened with read sharing, mapped read-only) into model: its signature
// replaces the model's, its records are added and all records sorted by ID. Returns the number
// of records the model then holds (0 for an empty or header-only file), or -1 when the file
// cannot be opened or read, or is refused; detail (may be null) says why.
// A UTF-8 file with its mark is read in the ANSI code page when every character has its own
// byte there; other marked files are refused. Texts are cut on character boundaries of the
// ANSI code page.
int LangFileRead(LangFile *model, const char *path, LangReadDetail *detail = nullptr);

// Writes model to path: the header (kLangDefaultSignature when templateFlag is set, otherwise
// the model's signature) and one line per record in the model's order.
// Returns the number of bytes of the item lines (>= 0; the header is not counted, so a model
// without records gives 0) on success, and -1 on failure; error (may be null) then receives the
// Win32 error of the step that failed.
// The file is written under a temporary name in the target's folder, flushed and then moved
// over the target in one step, so a failure to create, write or replace leaves any previous
// file exactly as it was and no temporary file behind.
int64_t LangFileWrite(LangFile *model, const char *path, int templateFlag, uint32_t *error = nullptr);

// LangFileWrite, keeping the file it replaces (when there is one) as path + ".bak" beside it, in
// place of an older backup: a whole copy of the old file is moved over the backup first, then the
// new file renamed over the old one. A crash at any step leaves the old or the new file under
// path. When the backup alone cannot be made, nothing is replaced, -1 is returned, *backupFailed
// (may be null) is set and error holds the reason: the caller may then save without a backup.
constexpr char kBackupSuffix[] = ".bak";
int64_t LangFileWriteWithBackup(LangFile *model, const char *path, int templateFlag, uint32_t *error,
                                int *backupFailed);
