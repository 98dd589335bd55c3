// The language file model: item records (string ID and text) and the signature text. A model
// lives for one load or one save; langfile/lngfile.h reads and writes it as a ".lng" file.
#pragma once
#include <cstddef>
#include <cstdint>

#include "state/textsize.h"
#include "langfile/growbuffer.h"

constexpr size_t kLangTextMax = kTextSize - 1; // bytes kept of a record's text
constexpr size_t kLangSignatureSize = 4096;    // the signature text, terminator included
constexpr size_t kLangSignatureMax = kLangSignatureSize - 1;
constexpr uint32_t kLangIdLimit = 65535;         // LangFileFind and LangFileAdd refuse IDs at or above
constexpr int32_t kLangRecordsCapacity = 262144; // 1024 records
constexpr int32_t kLangRecordsStep = 65536;      // 256 records

// The unit of the model and of sorting. A line break in the text is a single line feed; the
// bytes past the text's terminator are unspecified.
struct LangRecord {
    uint32_t stringId;
    char text[kTextSize];
};
static_assert(sizeof(LangRecord) == 256, "records are 256 bytes, back to back in the buffer");

struct LangFile {
    GrowBuffer *records;                // LangRecord after LangRecord from base to highWater
    char signature[kLangSignatureSize]; // without comment markers, line ends as in the file
    int sorted;                         // records are in ascending ID order
};

// Null when memory cannot be had.
LangFile *LangFileCreate();
// Null is allowed.
void LangFileFree(LangFile *model);

int LangFileCount(const LangFile *model);
// The record at index (0 .. count-1) in the model's order, or null.
const LangRecord *LangFileRecordAt(const LangFile *model, int index);

// Copies the text of a record with stringId into destination (kTextSize bytes). Non-zero
// when found; IDs at or above kLangIdLimit are refused. Sorted records (as after reading) are
// searched by halves, others one by one. The first of several records with one ID (in file
// order, since sorting keeps it) is the one found.
int LangFileFind(const LangFile *model, uint32_t stringId, char *destination);

// Appends a record at the end (records are not kept sorted). Refuses (0) IDs at or above
// kLangIdLimit and texts longer than kLangTextMax bytes, and fails when the records cannot grow.
int LangFileAdd(LangFile *model, uint32_t stringId, const char *text);

// Copy between the model's signature text and a caller's buffer of kLangSignatureSize bytes;
// a longer signature keeps its first kLangSignatureMax bytes. Non-zero on success.
int LangFileGetSignature(const LangFile *model, char *destination);
int LangFileSetSignature(LangFile *model, const char *signature);

// Sorts the records by string ID, ascending as unsigned numbers; records with one ID keep
// their order.
void LangFileSort(LangFile *model);

// The reader's way to append without copying: the free slots just past the last record, as many
// as the records buffer holds without growing (their number in `room`), for records to be formed
// in place. Nothing is appended until LangFileCommitSlots makes the first `count` of them (each
// with its ID and terminated text filled in) the last records; `ascending` tells whether their
// IDs are in ascending order among themselves (the reader sees that as it goes).
LangRecord *LangFileFreeSlots(LangFile *model, size_t &room);
void LangFileCommitSlots(LangFile *model, size_t count, bool ascending);

// Appends a record of length text bytes (at most kLangTextMax are kept; no terminator needed)
// whatever its ID: the reader's path. Non-zero on success.
int LangFileAppend(LangFile *model, uint32_t stringId, const char *text, size_t length);
