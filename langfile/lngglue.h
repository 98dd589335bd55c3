// Moving a document between a language file and the translation list.
#pragma once
#include <windows.h>

#include <cstdint>

struct LangFile;

// What the glue works on, handed over by the document: the rows of the view's list (read and
// written through the list's own functions), the signature buffer and the records kept for
// string IDs the module lacks.
struct GlueDocument {
    HWND view;       // the view whose list holds the rows
    char *signature; // the signature buffer, 4096 bytes, CR LF line breaks
    LangFile **kept; // null when none are kept
};

// Writes each record of model (as read from a file) into the Translated text cell of the row
// with its ID and takes the file's signature. Records of valid IDs that no row has are kept by
// the document as they are, for the save to write back. Returns how many were kept; model is
// freed in any case.
int LoadLanguageFile(const GlueDocument &doc, LangFile *model);

// Forgets the records kept for IDs the module lacks (the document is closed or replaced).
void DropKeptRecords(LangFile **kept);

// Collects the string rows with text (the source texts for a template, else the translations,
// with the kept records in ID order among them) into a file. Bytes of item lines (>= 0) on
// success, -1 on failure; error (may be null) then receives the Win32 error. With backupFailed,
// a file replaced is kept as its ".bak" (LangFileWriteWithBackup), which sets it when that failed.
int64_t SaveLanguageFile(const GlueDocument &doc, const char *path, bool asTemplate, uint32_t *error = nullptr,
                         int *backupFailed = nullptr);
