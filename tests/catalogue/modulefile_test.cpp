// Telling why a module cannot be used, from its file's first bytes and what the loader did.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/modulefile.h"

namespace
{

constexpr uint32_t kPe = 0x80;
constexpr uint32_t kTable = kPe + 24 + 0xE0;

void Put(std::vector<unsigned char> &bytes, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// The start of a module with one section whose raw data lies at 0x200..0x400.
std::vector<unsigned char> ModuleHead()
{
    std::vector<unsigned char> bytes(0x400);
    memcpy(bytes.data(), "MZ", 2);
    Put(bytes, 0x3C, kPe, 4);
    memcpy(bytes.data() + kPe, "PE\0\0", 4);
    Put(bytes, kPe + 4 + 2, 1, 2);     // one section
    Put(bytes, kPe + 4 + 16, 0xE0, 2); // optional header size
    Put(bytes, kTable + 16, 0x200, 4); // raw size
    Put(bytes, kTable + 20, 0x200, 4); // raw pointer
    return bytes;
}

TEST(ModuleFile, HeadTellsModuleFromOtherFilesAndFromCutOnes)
{
    std::vector<unsigned char> module = ModuleHead();
    std::vector<unsigned char> dosProgram = module;
    memcpy(dosProgram.data() + kPe, "NE\0\0", 4);
    std::vector<unsigned char> farPe = module;
    Put(farPe, 0x3C, 0x10000, 4);
    std::string text = "# notes\r\n1=\"One\"\r\n";
    struct Row {
        const char *name;
        const unsigned char *head;
        size_t headSize;
        uint64_t fileSize;
        ModuleFileKind expected;
    } rows[] = {
        {"empty", nullptr, 0, 0, kFileNotModule},
        {"text", reinterpret_cast<const unsigned char *>(text.data()), text.size(), text.size(), kFileNotModule},
        {"DOS program", dosProgram.data(), dosProgram.size(), dosProgram.size(), kFileNotModule},
        {"module", module.data(), module.size(), module.size(), kFileModule},
        {"head only read in part", module.data(), kPe + 2, module.size(), kFileModule},
        {"PE header beyond the head", farPe.data(), farPe.size(), 0x20000, kFileModule},
        {"cut inside the DOS header", module.data(), 10, 10, kFileDamaged},
        {"cut before the PE header", module.data(), kPe, kPe, kFileDamaged},
        {"cut inside the section table", module.data(), kTable + 8, kTable + 8, kFileDamaged},
        {"cut inside the section data", module.data(), 0x300, 0x300, kFileDamaged},
        {"head longer than the file", module.data(), module.size(), 0x300, kFileDamaged},
    };
    for (const Row &row : rows)
        EXPECT_EQ(ClassifyModuleHead(row.head, row.headSize, row.fileSize), row.expected) << row.name;
}

TEST(ModuleFile, EachFailureNamesItsCase)
{
    struct Row {
        ModuleFacts facts;
        ModuleProblem expected;
    } rows[] = {
        // configured, exists, loaded, has string tables, head
        {{false, false, false, false, kFileModule}, kModuleNotConfigured},
        {{true, true, true, true, kFileModule}, kModuleUsable},
        {{true, false, true, true, kFileModule}, kModuleUsable}, // found by the loader's search
        {{true, false, false, false, kFileModule}, kModuleNotFound},
        {{true, true, false, false, kFileNotModule}, kModuleNotAModule},
        {{true, true, true, false, kFileModule}, kModuleNoStringTables},
        {{true, true, false, false, kFileModule}, kModuleDamaged},
        {{true, true, false, false, kFileDamaged}, kModuleDamaged},
        {{true, true, true, false, kFileDamaged}, kModuleDamaged},
    };
    for (const Row &row : rows)
        EXPECT_EQ(DiagnoseModule(row.facts), row.expected)
            << row.facts.configured << row.facts.exists << row.facts.loaded << row.facts.hasStringTables
            << row.facts.head;
}

} // namespace
