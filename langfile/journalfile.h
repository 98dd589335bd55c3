// Recovery journals on disk: one file per open document in a folder the caller names, appended
// one flushed write per change; the bytes are those of langfile/journal.h.
//
// A running writer holds its journal open with read sharing only (no FILE_SHARE_WRITE, no
// FILE_SHARE_DELETE), so any other open for reading fails with a sharing violation for as long as
// the writer lives, and nobody can delete or rename the file under it. The system closes the
// handle when the writer's process ends, however it ends: a journal that opens is lost work.
#pragma once
#include <cstddef>
#include <cstdint>

#include "langfile/journal.h"

constexpr char kJournalFileSuffix[] = ".journal"; // journal files are *.journal
constexpr char kJournalAsideSuffix[] = ".bad";    // an unreadable journal, kept for the user

// JournalFileRead's results beyond JournalResult's.
constexpr int kJournalInUse = -1;     // its writer still runs: not lost work
constexpr int kJournalNotOpened = -2; // gone, or no access

struct JournalFile;

// Creates a journal under a new name in folder (which must exist) and writes and flushes its
// header. Null when the folder is missing or not writable, or the header cannot be formed.
JournalFile *JournalFileCreate(const char *folder, const JournalHeader *header);

// Appends one record with one write and flushes it to disk. Non-zero once it is there; 0 when the
// text cannot be formed or the write fails (then a part written is cut off again, so later
// records still follow a whole one).
int JournalFileAppendText(JournalFile *journal, uint32_t stringId, const char *text, size_t length);
int JournalFileAppendSignature(JournalFile *journal, const char *signature, size_t length);

const char *JournalFilePath(const JournalFile *journal);

// Closes the journal and, with removeFlag, deletes it: the work it held is saved or given up.
// Non-zero when the file is gone (or kept, without removeFlag). Null is allowed.
int JournalFileClose(JournalFile *journal, int removeFlag);

// Reads the journal file at path as JournalRead does, or tells why not: kJournalInUse,
// kJournalNotOpened.
int JournalFileRead(const char *path, JournalHeader *header, JournalRecordFn onRecord, void *context,
                    JournalSummary *summary);

// Deletes a journal found at start-up once its work is restored or given up for good. Fails while
// its writer runs.
int JournalFileRemove(const char *path);

// Renames an unreadable journal to path + kJournalAsideSuffix (or, when that is taken, a numbered
// name before the suffix), out of the way of later starts but never lost. Non-zero on success.
int JournalFileSetAside(const char *path);
