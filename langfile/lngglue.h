// Moving a document between a language file and the translation list.
#pragma once
#include <windows.h>

#include <cstdint>

// Writes each record's text into the Translated text cell of the row with its ID and takes
// the file's signature. 1 when the file gave at least one record; otherwise 0 and the list
// and signature stay as they were.
int LoadLanguageFile(HWND view, const char *path);

// Collects the string rows with text (the source texts for a template, else the
// translations) into a file. Bytes of item lines (>= 0) on success, -1 on failure.
int64_t SaveLanguageFile(HWND view, const char *path, bool asTemplate);
