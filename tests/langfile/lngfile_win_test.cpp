// The file layer: reading and writing real files, and saves that fail without harm.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <windows.h>

#include "langfile/lngfile.h"
#include "tests/langfile/lngtest.h"

namespace
{

// A fresh folder per test, removed with everything in it afterwards.
class LangFileOnDisk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_TRUE(GetTempPathA(sizeof(temp), temp));
        static int serial;
        folder_ = std::string(temp) + "lngfile-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(++serial);
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    }

    void TearDown() override
    {
        for (const std::string &name : Names()) {
            const std::string path = Path(name);
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
        RemoveDirectoryA(folder_.c_str());
    }

    std::string Path(const std::string &name) const { return folder_ + "\\" + name; }

    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(Path("*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            if (strcmp(data.cFileName, ".") && strcmp(data.cFileName, "..")) names.insert(data.cFileName);
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return names;
    }

    static std::string Contents(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void Put(const std::string &path, const std::string &bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

    static ModelPtr SampleModel()
    {
        ModelPtr model(LangFileCreate());
        LangFileSetSignature(model.get(), "Language: Deutsch\r\n");
        LangFileAdd(model.get(), 200, "Zwei\n\"hundert\"");
        LangFileAdd(model.get(), 100, "Hundert");
        return model;
    }

    std::string folder_;
};

constexpr char kOldFile[] = "; Language: old\r\n\r\n1=\"old\"\r\n";
constexpr char kSampleFile[] = "; Language: Deutsch\r\n\r\n200=\"Zwei\\n\\\"hundert\\\"\"\r\n100=\"Hundert\"\r\n";

TEST_F(LangFileOnDisk, WrittenFileReadsBackSorted)
{
    const std::string path = Path("de.lng");
    ModelPtr model = SampleModel();
    EXPECT_EQ(LangFileWrite(model.get(), path.c_str(), 0), 40);
    EXPECT_EQ(Contents(path), kSampleFile);

    ModelPtr read(LangFileCreate());
    EXPECT_EQ(LangFileRead(read.get(), path.c_str()), 2);
    EXPECT_EQ(RecordsOf(read.get()), (Records{{100, "Hundert"}, {200, "Zwei\n\"hundert\""}}));
    EXPECT_STREQ(read->signature, "Language: Deutsch\r\n");
    EXPECT_EQ(Names(), std::set<std::string>{"de.lng"});
}

TEST_F(LangFileOnDisk, TemplateAndHeaderOnlyWritesSucceed)
{
    ModelPtr model(LangFileCreate());
    LangFileAdd(model.get(), 103, "Open");
    EXPECT_EQ(LangFileWrite(model.get(), Path("template.lng").c_str(), 1), 12);
    EXPECT_EQ(Contents(Path("template.lng")), "; Language: \r\n; Author: \r\n; Version: \r\n\r\n103=\"Open\"\r\n");

    ModelPtr empty(LangFileCreate());
    LangFileSetSignature(empty.get(), "Author: x\r\n");
    EXPECT_EQ(LangFileWrite(empty.get(), Path("empty.lng").c_str(), 0), 0);
    EXPECT_EQ(Contents(Path("empty.lng")), "; Author: x\r\n\r\n");
    EXPECT_EQ(Names(), (std::set<std::string>{"empty.lng", "template.lng"}));
}

TEST_F(LangFileOnDisk, SaveReplacesThePreviousFile)
{
    const std::string path = Path("de.lng");
    Put(path, std::string(100000, 'x'));
    ModelPtr model = SampleModel();
    EXPECT_EQ(LangFileWrite(model.get(), path.c_str(), 0), 40);
    EXPECT_EQ(Contents(path), kSampleFile);
    EXPECT_EQ(Names(), std::set<std::string>{"de.lng"});
}

TEST_F(LangFileOnDisk, LongItemLinesAreWrittenWhole)
{
    ModelPtr model(LangFileCreate());
    LangFileAdd(model.get(), 7, std::string(kLangTextMax, '\t').c_str());
    const std::string path = Path("tabs.lng");
    std::string escaped;
    for (size_t i = 0; i < kLangTextMax; ++i)
        escaped += "\\t";
    EXPECT_EQ(LangFileWrite(model.get(), path.c_str(), 0), static_cast<int64_t>(escaped.size() + 6));
    EXPECT_EQ(Contents(path), "7=\"" + escaped + "\"\r\n");
    ModelPtr read(LangFileCreate());
    EXPECT_EQ(LangFileRead(read.get(), path.c_str()), 1);
    EXPECT_EQ(RecordsOf(read.get()), (Records{{7, std::string(kLangTextMax, '\t')}}));
}

TEST_F(LangFileOnDisk, OnlyAFileThatCannotBeReadFailsAndSaysWhy)
{
    ModelPtr model(LangFileCreate());
    LangReadDetail detail;
    EXPECT_EQ(LangFileRead(model.get(), Path("missing.lng").c_str(), &detail), -1);
    EXPECT_EQ(detail.error, DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(LangFileRead(model.get(), Path("missing\\de.lng").c_str(), &detail), -1);
    EXPECT_EQ(detail.error, DWORD{ERROR_PATH_NOT_FOUND});
    // A folder named like a language file.
    EXPECT_EQ(LangFileRead(model.get(), folder_.c_str(), &detail), -1);
    EXPECT_NE(detail.error, 0u);
    EXPECT_EQ(LangFileRead(nullptr, Path("x.lng").c_str()), -1);

    // An empty file and one with its header alone are language files without items.
    Put(Path("empty.lng"), "");
    EXPECT_EQ(LangFileRead(model.get(), Path("empty.lng").c_str(), &detail), 0);
    EXPECT_EQ(detail.error, 0u);
    Put(Path("header.lng"), "; Author: x\r\n\r\n");
    EXPECT_EQ(LangFileRead(model.get(), Path("header.lng").c_str(), &detail), 0);
    EXPECT_STREQ(model->signature, "Author: x\r\n");

    // Another program writing the file keeps us out.
    Put(Path("busy.lng"), kOldFile);
    HANDLE writer = CreateFileA(Path("busy.lng").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(LangFileRead(model.get(), Path("busy.lng").c_str(), &detail), -1);
    EXPECT_EQ(detail.error, DWORD{ERROR_SHARING_VIOLATION});
    CloseHandle(writer);
    EXPECT_EQ(LangFileRead(model.get(), Path("busy.lng").c_str()), 1);
}

// Byte-order marks: UTF-8 whose characters the ANSI code page (1252 here) has is read in it;
// other UTF-8 and UTF-16 are refused with nothing read.
TEST_F(LangFileOnDisk, MarkedFilesAreConvertedOrRefused)
{
    ASSERT_EQ(GetACP(), 1252u);
    struct Row {
        std::string bytes;
        int count;
        LangTextMark mark;
        bool refused;
        std::string text; // of ID 3
    };
    const Row rows[] = {
        {"\xEF\xBB\xBF; Language: x\r\n\r\n3=\"Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC\"\r\n", 1, kLangMarkUtf8, false,
         "Gr\xFC\xDF \x80"},
        {"\xEF\xBB\xBF"
         "3=\"\xE3\x81\x82\"\r\n",
         -1, kLangMarkUtf8, true, ""}, // Japanese
        {"\xEF\xBB\xBF"
         "3=\"\xC4\x80\"\r\n",
         -1, kLangMarkUtf8, true, ""}, // A with macron: best fit would be A
        {"\xEF\xBB\xBF"
         "3=\"\xC3\"\r\n",
         -1, kLangMarkUtf8, true, ""}, // not UTF-8
        {std::string("\xFF\xFE"
                     "3\0=\0\"\0a\0\"\0",
                     12),
         -1, kLangMarkUtf16Le, true, ""},
        {std::string("\xFE\xFF\0"
                     "3\0=\0\"\0a\0\"",
                     12),
         -1, kLangMarkUtf16Be, true, ""},
        {"3=\"\xEF\xBB\xBF\"\r\n", 1, kLangMarkNone, false, "\xEF\xBB\xBF"},
    };
    for (const Row &row : rows) {
        Put(Path("marked.lng"), row.bytes);
        ModelPtr model(LangFileCreate());
        LangReadDetail detail;
        EXPECT_EQ(LangFileRead(model.get(), Path("marked.lng").c_str(), &detail), row.count) << row.bytes;
        EXPECT_EQ(detail.mark, row.mark) << row.bytes;
        EXPECT_EQ(detail.refused, row.refused) << row.bytes;
        char text[kTextSize] = "";
        LangFileFind(model.get(), 3, text);
        EXPECT_EQ(text, row.text) << row.bytes;
    }
    ModelPtr model(LangFileCreate());
    LangReadDetail detail;
    Put(Path("marked.lng"), "\xEF\xBB\xBF; Language: x\r\n\r\n3=\"a\"\r\n");
    LangFileRead(model.get(), Path("marked.lng").c_str(), &detail);
    EXPECT_STREQ(model->signature, "Language: x\r\n");
    EXPECT_EQ(detail.lines.nonBlank, 1u);
    EXPECT_EQ(detail.lines.items, 1u);
}

TEST_F(LangFileOnDisk, ReadsWhileAnotherProgramReads)
{
    const std::string path = Path("shared.lng");
    Put(path, kOldFile);
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ModelPtr model(LangFileCreate());
    EXPECT_EQ(LangFileRead(model.get(), path.c_str()), 1);
    CloseHandle(reader);
}

TEST_F(LangFileOnDisk, SaveKeepsOldFileWhenTargetIsReadOnly)
{
    const std::string path = Path("readonly.lng");
    Put(path, kOldFile);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    ModelPtr model = SampleModel();
    uint32_t error = 0;
    EXPECT_EQ(LangFileWrite(model.get(), path.c_str(), 0, &error), -1);
    EXPECT_EQ(error, DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(Contents(path), kOldFile);
    EXPECT_EQ(Names(), std::set<std::string>{"readonly.lng"});
}

TEST_F(LangFileOnDisk, SaveFailsIntoAMissingFolder)
{
    ModelPtr model = SampleModel();
    uint32_t error = 0;
    EXPECT_EQ(LangFileWrite(model.get(), Path("missing\\de.lng").c_str(), 0, &error), -1);
    EXPECT_EQ(error, DWORD{ERROR_PATH_NOT_FOUND});
    EXPECT_TRUE(Names().empty());
    // A full disk and a folder that lets one write files but not create them cannot be made
    // under Wine (no quotas, no ACLs on the Unix side); their errors take the same path as the
    // write and create failures here.
}

TEST_F(LangFileOnDisk, SaveKeepsOldFileWhenTargetIsLocked)
{
    const std::string path = Path("locked.lng");
    Put(path, kOldFile);
    // Another program holds the file open and allows neither writing nor deleting.
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ModelPtr model = SampleModel();
    uint32_t error = 0;
    EXPECT_EQ(LangFileWrite(model.get(), path.c_str(), 0, &error), -1);
    EXPECT_TRUE(error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED) << error;
    CloseHandle(holder);
    EXPECT_EQ(Contents(path), kOldFile);
    EXPECT_EQ(Names(), std::set<std::string>{"locked.lng"});
}

TEST_F(LangFileOnDisk, SaveOverAFolderFailsAndLeavesItAlone)
{
    ASSERT_TRUE(CreateDirectoryA(Path("sub.lng").c_str(), nullptr));
    ModelPtr model = SampleModel();
    EXPECT_EQ(LangFileWrite(model.get(), Path("sub.lng").c_str(), 0), -1);
    EXPECT_EQ(GetFileAttributesA(Path("sub.lng").c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD{FILE_ATTRIBUTE_DIRECTORY});
    EXPECT_EQ(Names(), std::set<std::string>{"sub.lng"});
    RemoveDirectoryA(Path("sub.lng").c_str());
    EXPECT_EQ(LangFileWrite(model.get(), (folder_ + "\\").c_str(), 0), -1);
    EXPECT_EQ(LangFileWrite(nullptr, Path("x.lng").c_str(), 0), -1);
    EXPECT_EQ(LangFileWrite(model.get(), nullptr, 0), -1);
}

// The temporary file is ".<name>.tmp-<pid>" beside the document; a save removes the ones that
// saves of the same document by ended processes left, and nothing else.
TEST_F(LangFileOnDisk, SaveRemovesItsDocumentsStaleTemporaryFiles)
{
    const std::string path = Path("de.lng");
    const std::string own = ".de.lng.tmp-" + std::to_string(GetCurrentProcessId());
    // Its own name taken by a folder: the save cannot create its temporary file.
    ASSERT_TRUE(CreateDirectoryA(Path(own).c_str(), nullptr));
    ModelPtr model = SampleModel();
    EXPECT_EQ(LangFileWrite(model.get(), path.c_str(), 0), -1);
    RemoveDirectoryA(Path(own).c_str());

    // A process ID no process has (IDs are multiples of four).
    Put(Path(".de.lng.tmp-4000000001"), "stale");
    Put(Path(".fr.lng.tmp-4000000001"), "another document's");
    Put(Path(".de.lng.tmp-x"), "not ours");
    EXPECT_EQ(LangFileWrite(model.get(), path.c_str(), 0), 40);
    EXPECT_EQ(Contents(path), kSampleFile);
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(Names(), (std::set<std::string>{".de.lng.tmp-x", ".fr.lng.tmp-4000000001", "de.lng"}));
}

} // namespace
