// Language files on disk: reading one into a model and writing a model out. The parsing and
// formatting are in langfile/lngparse.h and langfile/lngformat.h; this is the file layer.
#pragma once
#include <cstdint>

#include "langfile/lngmodel.h"

// Reads the file at path (opened with read sharing, mapped read-only) into model: its signature
// replaces the model's, its records are added and all records sorted by ID. Returns the number
// of records the model then holds; 0 when the file cannot be opened or mapped, or is empty.
// Texts are cut on character boundaries of the ANSI code page.
int LangFileRead(LangFile *model, const char *path);

// Writes model to path: the header (kLangDefaultSignature when templateFlag is set, otherwise
// the model's signature) and one line per record in the model's order.
// Returns the number of bytes of the item lines (>= 0; the header is not counted, so a model
// without records gives 0) on success, and -1 on failure.
// The file is written under a temporary name in the target's folder, flushed and then moved
// over the target in one step, so a failure to create, write or replace leaves any previous
// file exactly as it was and no temporary file behind.
int64_t LangFileWrite(LangFile *model, const char *path, int templateFlag);
