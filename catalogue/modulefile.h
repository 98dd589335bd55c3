// Why a host module cannot be used: what the first bytes of its file say (the checks the
// loader makes first) and which of the reported cases a failed or empty load is.
#pragma once
#include <cstddef>
#include <cstdint>

#include "state/moduleproblem.h"

// The bytes of a file's start that are enough to judge it: the DOS header, the PE headers and
// the section table of any ordinary module.
constexpr size_t kModuleHeadSize = 4096;

enum ModuleFileKind {
    kFileNotModule, // no "MZ", or no PE signature where the DOS header points
    kFileDamaged,   // a PE file whose headers or sections run past the file's end
    kFileModule,    // as far as its start shows
};

// head: the first headSize bytes of a file of fileSize bytes (headSize <= fileSize).
ModuleFileKind ClassifyModuleHead(const unsigned char *head, size_t headSize, uint64_t fileSize);

struct ModuleFacts {
    bool configured;      // a path is set
    bool exists;          // a file (not a folder) is at the path
    bool loaded;          // the loader took it
    bool hasStringTables; // it has at least one RT_STRING block
    ModuleFileKind head;
};

ModuleProblem DiagnoseModule(const ModuleFacts &facts);
