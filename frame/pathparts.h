// The file-name and folder parts of a Windows path in the ANSI code page. The second byte of a
// double-byte character may be a backslash (code page 932 has many), so the walk steps over
// whole characters rather than searching bytes.
#pragma once
#include <cstddef>

#include "frame/textcut.h"

// What follows the last backslash; the whole path when it has none.
const char *FileNamePart(const char *path, LeadByteFn isLead);

// Writes what precedes the last backslash into out; a drive alone keeps its backslash ("C:\").
// False, out untouched, when the path has no folder or out cannot hold it.
bool FolderPart(const char *path, char *out, size_t capacity, LeadByteFn isLead);
