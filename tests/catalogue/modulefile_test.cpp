// Telling why a module cannot be used, from its file's first bytes and what the loader did.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "catalogue/modulefile.h"
#include "tests/support/datarows.h"

namespace
{

constexpr uint32_t kPe = 0x80;
constexpr uint32_t kTable = kPe + 24 + 0xE0;

void Put(std::vector<unsigned char> &bytes, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

ModuleFileKind Kind(char letter)
{
    return letter == 'm' ? kFileModule : letter == 'd' ? kFileDamaged : kFileNotModule;
}

TEST(ModuleFile, HeadTellsModuleFromOtherFilesAndFromCutOnes)
{
    std::vector<unsigned char> module(0x400);
    memcpy(module.data(), "MZ", 2);
    Put(module, 0x3C, kPe, 4);
    memcpy(module.data() + kPe, "PE\0\0", 4);
    Put(module, kPe + 4 + 2, 1, 2);     // one section
    Put(module, kPe + 4 + 16, 0xE0, 2); // optional header size
    Put(module, kTable + 16, 0x200, 4); // raw size
    Put(module, kTable + 20, 0x200, 4); // raw pointer
    const char *text = "# notes\r\n1=\"One\"\r\n";
    std::map<std::string, std::vector<unsigned char>> files = {
        {"module", module}, {"DOS program", module}, {"far PE", module}, {"text", {text, text + strlen(text)}}};
    memcpy(files["DOS program"].data() + kPe, "NE\0\0", 4);
    Put(files["far PE"], 0x3C, 0x10000, 4);
    for (const auto &row : ReadDataRows(PARLEVO_CATALOGUE_DATA "/modulehead.txt", 12)) {
        const size_t head = std::stoul(row.at(1), nullptr, 0), size = std::stoul(row.at(2), nullptr, 0);
        EXPECT_EQ(ClassifyModuleHead(files[row.at(0)].data(), head, size), Kind(row.at(3)[0])) << row[0] << " " << head;
    }
}

TEST(ModuleFile, EachFailureNamesItsCase)
{
    for (const auto &row : ReadDataRows(PARLEVO_CATALOGUE_DATA "/diagnose.txt", 9)) {
        const std::string f = row.at(0);
        const ModuleFacts facts = {f[0] == '1', f[1] == '1', f[2] == '1', f[3] == '1', Kind(f[4])};
        EXPECT_EQ(DiagnoseModule(facts), std::stoi(row.at(1))) << f;
    }
}

} // namespace
