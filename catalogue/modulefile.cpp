// Why a host module cannot be used.
#include "catalogue/modulefile.h"

constexpr size_t kDosHeaderSize = 64;
constexpr size_t kPeOffsetField = 0x3C;
constexpr size_t kSignatureSize = 4;
constexpr size_t kFileHeaderSize = 20;
constexpr size_t kSectionCountField = 2;        // in the file header
constexpr size_t kOptionalHeaderSizeField = 16; // in the file header
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kRawSizeField = 16;    // in a section header
constexpr size_t kRawPointerField = 20; // in a section header

static uint32_t Read16(const unsigned char *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

static uint32_t Read32(const unsigned char *p)
{
    return Read16(p) | Read16(p + 2) << 16;
}

// Only the part of the section table that lies in the head is checked; the rest is the
// loader's to judge.
static bool SectionsFit(const unsigned char *head, size_t headSize, uint64_t fileSize, uint64_t table,
                        uint32_t sections)
{
    for (uint32_t i = 0; i < sections; ++i) {
        uint64_t at = table + uint64_t(i) * kSectionHeaderSize;
        if (at + kSectionHeaderSize > headSize) break;
        uint64_t end = uint64_t(Read32(head + at + kRawPointerField)) + Read32(head + at + kRawSizeField);
        if (end > fileSize) return false;
    }
    return true;
}

ModuleFileKind ClassifyModuleHead(const unsigned char *head, size_t headSize, uint64_t fileSize)
{
    if (!head) headSize = 0;
    if (headSize > fileSize) headSize = size_t(fileSize);
    if (headSize < 2 || head[0] != 'M' || head[1] != 'Z') return kFileNotModule;
    if (headSize < kDosHeaderSize) return kFileDamaged;
    uint64_t pe = Read32(head + kPeOffsetField);
    if (pe + kSignatureSize > fileSize) return kFileDamaged;
    if (pe + kSignatureSize > headSize) return kFileModule;
    const unsigned char *signature = head + pe;
    if (signature[0] != 'P' || signature[1] != 'E' || signature[2] != 0 || signature[3] != 0) return kFileNotModule;
    uint64_t fileHeader = pe + kSignatureSize;
    if (fileHeader + kFileHeaderSize > fileSize) return kFileDamaged;
    if (fileHeader + kFileHeaderSize > headSize) return kFileModule;
    uint32_t sections = Read16(head + fileHeader + kSectionCountField);
    uint64_t table = fileHeader + kFileHeaderSize + Read16(head + fileHeader + kOptionalHeaderSizeField);
    if (table + uint64_t(sections) * kSectionHeaderSize > fileSize) return kFileDamaged;
    return SectionsFit(head, headSize, fileSize, table, sections) ? kFileModule : kFileDamaged;
}

ModuleProblem DiagnoseModule(const ModuleFacts &facts)
{
    if (!facts.configured) return kModuleNotConfigured;
    if (facts.loaded && facts.hasStringTables) return kModuleUsable;
    // A bare name the loader did not find in its search order is not found either.
    if (!facts.loaded && !facts.exists) return kModuleNotFound;
    // The loader may take a file cut short and find nothing in it: that is damage, not a
    // module without strings.
    if (facts.head == kFileDamaged) return kModuleDamaged;
    if (facts.loaded) return kModuleNoStringTables;
    return facts.head == kFileNotModule ? kModuleNotAModule : kModuleDamaged;
}
