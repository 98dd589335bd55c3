// The recovery journal's bytes: a header naming the document, then one record per committed
// change, each framed with its length and a CRC-32 so that a reader can tell a whole record from
// the torn tail a killed writer leaves. The file layer is in langfile/journalfile.h.
//
// Layout (integers little-endian):
//   magic "PLVJRNL1" (8 bytes)
//   frames: kind (4) | payload length (4) | CRC-32 of kind, length and payload (4) | payload
//   the first frame is the header: time (8) | document length (2) | document | module length (2) | module
//   then text frames: string ID (4) | text (0 .. kLangTextMax bytes; empty = untranslated again)
//   and signature frames: the signature (0 .. kLangSignatureMax bytes)
// The magic and the header go out as one write, and so does each record.
#pragma once
#include <cstddef>
#include <cstdint>

#include "langfile/lngmodel.h"

constexpr size_t kJournalPathSize = 260; // a path of the header, terminator included
constexpr size_t kJournalPathMax = kJournalPathSize - 1;

constexpr size_t kJournalMagicSize = 8;
constexpr size_t kJournalFrameSize = 12;
constexpr size_t kJournalHeaderMax =
    kJournalMagicSize + kJournalFrameSize + 8 + 2 + kJournalPathMax + 2 + kJournalPathMax;
constexpr size_t kJournalRecordMax = kJournalFrameSize + kLangSignatureMax; // the larger of the two records

enum JournalKind : uint32_t {
    kJournalHeaderKind = 0x44414548, // "HEAD"
    kJournalText = 0x54584554,       // "TEXT"
    kJournalSignature = 0x4e474953,  // "SIGN"
};

struct JournalHeader {
    uint64_t time;                   // as the writer gave it (a FILETIME in UTC on Windows)
    char document[kJournalPathSize]; // empty: an untitled document
    char module[kJournalPathSize];   // the module whose strings are translated
};

// A record as read: bytes points into the journal's bytes and is not terminated.
struct JournalRecord {
    JournalKind kind;
    uint32_t stringId; // text records only
    const char *bytes;
    size_t length;
};

enum JournalResult {
    kJournalUnreadable = 0, // not a journal of this version: bad magic, or a damaged header
    kJournalEmpty,          // nothing or part of the header only: a writer died before any change
    kJournalRead,           // the header and every whole record up to the first bad one
};

struct JournalSummary {
    int records;         // the whole records handed over
    size_t droppedBytes; // bytes past the last record handed over: a torn or damaged tail
};

// Called once per whole record, in order; return 0 to stop early.
using JournalRecordFn = int (*)(void *context, const JournalRecord *record);

// Forms the magic and the header into out (kJournalHeaderMax bytes will do). Returns the byte
// count; 0 when a path is longer than kJournalPathMax (a cut path could name another document).
size_t JournalFormatHeader(const JournalHeader *header, char *out, size_t capacity);

// Forms one record into out (kJournalRecordMax bytes will do). Returns the byte count; 0 when
// the text is too long for its kind or holds a NUL.
size_t JournalFormatText(uint32_t stringId, const char *text, size_t length, char *out, size_t capacity);
size_t JournalFormatSignature(const char *signature, size_t length, char *out, size_t capacity);

// Reads a journal from size bytes: fills header (when not null), then hands each whole record to
// onRecord (may be null, to count them). Reading stops at the first frame that is cut short, fails
// its CRC or holds what no writer forms; that frame and everything after it are dropped. Nothing
// is allocated: lengths are checked against their limits and the bytes left before any use.
JournalResult JournalRead(const char *bytes, size_t size, JournalHeader *header, JournalRecordFn onRecord,
                          void *context, JournalSummary *summary);
