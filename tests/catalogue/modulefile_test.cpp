// Telling why a module cannot be used, from its file's first bytes and what the loader did.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
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
    const std::tuple<const char *, const unsigned char *, size_t, uint64_t, ModuleFileKind> rows[] = {
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
    for (const auto &[name, head, headSize, fileSize, expected] : rows)
        EXPECT_EQ(ClassifyModuleHead(head, headSize, fileSize), expected) << name;
}

TEST(ModuleFile, EachFailureNamesItsCase)
{
    // configured, exists, loaded, has string tables (1 or 0), then the head: module, damaged or not a module
    const std::pair<const char *, ModuleProblem> rows[] = {
        {"0000m", kModuleNotConfigured}, {"1111m", kModuleUsable},     {"1011m", kModuleUsable}, // found by the search
        {"1000m", kModuleNotFound},      {"1100n", kModuleNotAModule}, {"1110m", kModuleNoStringTables},
        {"1100m", kModuleDamaged},       {"1100d", kModuleDamaged},    {"1110d", kModuleDamaged}};
    for (const auto &[f, expected] : rows) {
        const ModuleFileKind head = f[4] == 'm' ? kFileModule : f[4] == 'd' ? kFileDamaged : kFileNotModule;
        EXPECT_EQ(DiagnoseModule({f[0] == '1', f[1] == '1', f[2] == '1', f[3] == '1', head}), expected) << f;
    }
}

} // namespace
