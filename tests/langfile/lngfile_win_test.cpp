// The file layer: real files, saves that fail without harm, journal files, a real double-byte code page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <windows.h>

#include "frame/leadbytes.h"
#include "langfile/journalfile.h"
#include "langfile/lngfile.h"
#include "tests/langfile/lngtest.h"
#include "tests/support/datarows.h"

namespace
{

constexpr char kOldFile[] = "; Language: old\r\n\r\n1=\"old\"\r\n";
// Saved in the model's order, which is not the order of the IDs.
constexpr char kSampleFile[] = "; Language: Deutsch\r\n\r\n200=\"Zwei\\n\\\"hundert\\\"\"\r\n100=\"Hundert\"\r\n";

class LangFileOnDisk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static int serial;
        const std::string name =
            "lngfile-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        folder_ = (std::filesystem::temp_directory_path() / name).string();
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    }
    void TearDown() override
    {
        for (const std::string &name : Names())
            SetFileAttributesA(Path(name).c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(folder_);
    }
    std::string Path(const std::string &name) const { return folder_ + "\\" + name; }
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(folder_))
            names.insert(entry.path().filename().string());
        return names;
    }
    void Put(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    int64_t Write(const std::string &name, int templateFlag = 0, uint32_t *error = nullptr, LangFile *model = nullptr)
    {
        ModelPtr sample(LangFileCreate());
        LangFileSetSignature(sample.get(), "Language: Deutsch\r\n");
        LangFileAdd(sample.get(), 200, "Zwei\n\"hundert\"") && LangFileAdd(sample.get(), 100, "Hundert");
        return LangFileWrite(model ? model : sample.get(), Path(name).c_str(), templateFlag, error);
    }
    std::string folder_;
};

// data/ read as natively (code page 1252); UTF-8 it cannot hold and UTF-16 are refused.
TEST(LangFileGolden, FilesReadThroughTheFileLayer)
{
    ASSERT_EQ(GetACP(), 1252u);
    static std::string marked; // per marked file: count read, mark (1 UTF-8, 2 UTF-16 LE, 3 BE), refused, lines
    CheckGoldenFiles([](const std::string &path, const std::string &name) {
        if (name.rfind("dbcs-", 0) == 0) return ModelPtr();
        ModelPtr model(LangFileCreate());
        LangReadDetail detail;
        const int count = LangFileRead(model.get(), path.c_str(), &detail);
        EXPECT_TRUE(count == (detail.refused ? -1 : LangFileCount(model.get())) && !detail.error) << name;
        if (name.rfind("mark", 0) == 0)
            marked += name.substr(0, name.size() - 4) + " " + std::to_string(count) + " " +
                      std::to_string(detail.mark) + " " + std::to_string(detail.refused) + " " +
                      std::to_string(detail.lines.nonBlank) + " " + std::to_string(detail.lines.items) + "\n";
        return model;
    });
    EXPECT_EQ(marked, ReadFile(std::string(PARLEVO_LNG_DATA_DIR) + "/marked.txt"));
}

TEST_F(LangFileOnDisk, FilesThatCannotBeReadOrSavedFailSayWhyAndStayAsTheyWere)
{
    for (const char *name : {"busy.lng", "locked.lng", "readonly.lng"})
        Put(name, kOldFile);
    ASSERT_TRUE(SetFileAttributesA(Path("readonly.lng").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CreateDirectoryA(Path("folder.lng").c_str(), nullptr));
    HANDLE writer = CreateFileA(Path("busy.lng").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE reader =
        CreateFileA(Path("locked.lng").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    for (const auto &row : ReadDataRows(std::string(PARLEVO_LNG_DATA_DIR) + "/unreadable.tsv", 7)) {
        const std::string &name = row[0], &read = row[1], &saved = row[2];
        ModelPtr model(LangFileCreate());
        LangReadDetail detail{};
        const int count = read.empty() ? 0 : LangFileRead(model.get(), Path(name).c_str(), &detail);
        EXPECT_EQ(read.empty() ? "" : std::to_string(count) + " " + std::to_string(detail.error), read) << name;
        uint32_t error = 0;
        const std::string result = saved.empty() ? "" : std::to_string(Write(name, 0, &error));
        // A holder allowing no deleting may also be reported as no access.
        error = error == ERROR_ACCESS_DENIED && name == "locked.lng" ? ERROR_SHARING_VIOLATION : error;
        EXPECT_EQ(saved.size() > 2 ? result + " " + std::to_string(error) : result, saved) << name;
    }
    CloseHandle(writer);
    CloseHandle(reader);
    EXPECT_EQ(ReadFile(Path("busy.lng")) + ReadFile(Path("readonly.lng")) + ReadFile(Path("locked.lng")),
              std::string(kOldFile) + kOldFile + kOldFile);
    EXPECT_EQ(Names(), (std::set<std::string>{"busy.lng", "folder.lng", "locked.lng", "readonly.lng"}));
    EXPECT_TRUE(GetFileAttributesA(Path("folder.lng").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(LangFileRead(nullptr, Path("busy.lng").c_str()) + LangFileWrite(nullptr, Path("x.lng").c_str(), 0) +
                  LangFileWrite(ModelPtr(LangFileCreate()).get(), nullptr, 0),
              -3);
}

// A save replaces the file, returns its item bytes and removes stale ".<name>.tmp-<pid>" of its document.
TEST_F(LangFileOnDisk, SaveReplacesTheFileAndRemovesItsDocumentsStaleTemporaryFiles)
{
    Put("de.lng", std::string(100000, 'x'));
    const std::string own = ".de.lng.tmp-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(Path(own).c_str(), nullptr)); // the save cannot create its temporary file
    EXPECT_EQ(Write("de.lng"), -1);
    RemoveDirectoryA(Path(own).c_str());
    Put(".de.lng.tmp-4000000001", "stale"); // no process has this ID (IDs are multiples of four)
    Put(".fr.lng.tmp-4000000001", "another document's");
    Put(".de.lng.tmp-x", "not ours");
    EXPECT_EQ(Write("de.lng"), 40);
    EXPECT_EQ(ReadFile(Path("de.lng")), kSampleFile);
    EXPECT_EQ(Write("de.lng", 1), 40);                                          // a template
    EXPECT_EQ(Write("new.lng", 0, nullptr, Parse("; Author: x\r\n").get()), 0); // a header alone, to a new file
    EXPECT_EQ(GetFileAttributesA(Path("de.lng").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(Names(), (std::set<std::string>{".de.lng.tmp-x", ".fr.lng.tmp-4000000001", "de.lng", "new.lng"}));
}

TEST_F(LangFileOnDisk, JournalAliveWhileItsWriterHoldsItAndWholeAfterwards)
{
    JournalHeader header{};
    header.time = 42;
    snprintf(header.document, sizeof(header.document), "%s", "C:\\Docs\\de.lng");
    JournalFile *journal = JournalFileCreate(folder_.c_str(), &header);
    ASSERT_NE(journal, nullptr);
    const std::string path = JournalFilePath(journal);
    EXPECT_TRUE(JournalFileAppendText(journal, 103, "Offen", 5) && JournalFileAppendSignature(journal, "; x", 3) &&
                !JournalFileAppendText(journal, 104, "a\0b", 3)); // that one refused whole, nothing written

    // Another instance at start-up: the writer runs, so the journal is neither lost nor removable.
    EXPECT_EQ(JournalFileRead(path.c_str(), nullptr, nullptr, nullptr, nullptr), kJournalInUse);
    EXPECT_FALSE(JournalFileRemove(path.c_str()) || JournalFileSetAside(path.c_str()));

    // The writer gone, what it flushed is there.
    EXPECT_TRUE(JournalFileClose(journal, 0));
    std::string texts;
    JournalHeader read{};
    JournalSummary summary{};
    const auto collect = [](void *to, const JournalRecord *r) {
        return *static_cast<std::string *>(to) += std::string(r->bytes, r->length) + "|", 1;
    };
    const int result = JournalFileRead(path.c_str(), &read, collect, &texts, &summary);
    EXPECT_EQ(std::to_string(result) + " " + texts + read.document + " " + std::to_string(summary.droppedBytes),
              std::to_string(kJournalRead) + " Offen|; x|C:\\Docs\\de.lng 0");
    EXPECT_TRUE(JournalFileRemove(path.c_str()));
    EXPECT_EQ(JournalFileRead(path.c_str(), nullptr, nullptr, nullptr, nullptr), kJournalNotOpened);
    EXPECT_TRUE(JournalFileClose(JournalFileCreate(folder_.c_str(), &header), 1)); // removing it

    // Unreadable journals go aside under free names; no journal is left.
    const std::string lost = std::string("lost") + kJournalFileSuffix;
    for (int i = 0; i < 2; ++i) {
        Put(lost, "not a journal");
        EXPECT_TRUE(JournalFileRead(Path(lost).c_str(), nullptr, nullptr, nullptr, nullptr) == kJournalUnreadable &&
                    JournalFileSetAside(Path(lost).c_str()));
    }
    EXPECT_EQ(Names(), (std::set<std::string>{lost + ".1.bad", lost + ".bad"}));
}

// Code page 932 (Shift-JIS) as the system knows it: a long text is cut before a character straddling the limit.
bool g_lead932[256];

TEST(LeadBytes, Cp932CutsTextsOnItsCharactersAndAnUnknownCodePageHasNoLeads)
{
    ASSERT_TRUE(LearnLeadBytes(932, g_lead932));
    std::string leads;
    for (bool isLead : g_lead932)
        leads += isLead ? 'L' : '.';
    EXPECT_EQ(leads, std::string(0x81, '.') + std::string(0x1F, 'L') + std::string(0x40, '.') + std::string(0x1D, 'L') +
                         std::string(3, '.'));
    const std::string a249(249, 'a');
    ModelPtr model = Parse("1=\"" + a249 + "\xB1\x82\xA0\"\r\n2=\"" + a249 + "\x82\xA0\x82\xA0\"\r\n3=\"" + a249 +
                               "\x81\x81\xB1\"\r\n",
                           [](unsigned char c) { return g_lead932[c]; });
    EXPECT_EQ(RecordsOf(model.get()), (Records{{1, a249 + "\xB1"}, {2, a249 + "\x82\xA0"}, {3, a249 + "\x81\x81"}}));
    EXPECT_FALSE(LearnLeadBytes(12345, g_lead932) || g_lead932[0x81]); // and the table is cleared
}

} // namespace
