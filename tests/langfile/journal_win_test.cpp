// Journal files: flushed records read back, a running writer's journal is left alone, bad ones set aside.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <windows.h>

#include "langfile/journalfile.h"

namespace
{

std::string TempFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    const std::string folder = std::string(temp) + "journal-test-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Collect(void *context, const JournalRecord *record)
{
    static_cast<std::vector<std::string> *>(context)->emplace_back(record->bytes, record->length);
    return 1;
}

TEST(JournalFile, AliveWhileItsWriterHoldsItAndWholeAfterwards)
{
    const std::string folder = TempFolder();
    JournalHeader header{};
    header.time = 42;
    snprintf(header.document, sizeof(header.document), "%s", "C:\\Docs\\de.lng");
    JournalFile *journal = JournalFileCreate(folder.c_str(), &header);
    ASSERT_NE(journal, nullptr);
    const std::string path = JournalFilePath(journal);
    EXPECT_TRUE(JournalFileAppendText(journal, 103, "Offen", 5));
    EXPECT_TRUE(JournalFileAppendSignature(journal, "; x", 3));
    EXPECT_FALSE(JournalFileAppendText(journal, 104, "a\0b", 3)); // refused whole, nothing written

    // Another instance at start-up: the writer runs, so the journal is neither lost nor removable.
    EXPECT_EQ(JournalFileRead(path.c_str(), nullptr, nullptr, nullptr, nullptr), kJournalInUse);
    EXPECT_FALSE(JournalFileRemove(path.c_str()));
    EXPECT_FALSE(JournalFileSetAside(path.c_str()));

    // The writer gone, what it flushed is there.
    EXPECT_TRUE(JournalFileClose(journal, 0));
    std::vector<std::string> texts;
    JournalHeader read{};
    JournalSummary summary{};
    EXPECT_EQ(JournalFileRead(path.c_str(), &read, Collect, &texts, &summary), kJournalRead);
    EXPECT_EQ(texts, (std::vector<std::string>{"Offen", "; x"}));
    EXPECT_TRUE(!strcmp(read.document, "C:\\Docs\\de.lng") && summary.droppedBytes == 0);
    EXPECT_TRUE(JournalFileRemove(path.c_str()));
    EXPECT_EQ(JournalFileRead(path.c_str(), nullptr, nullptr, nullptr, nullptr), kJournalNotOpened);

    // Closing with removal leaves nothing behind.
    journal = JournalFileCreate(folder.c_str(), &header);
    ASSERT_NE(journal, nullptr);
    const std::string removed = JournalFilePath(journal);
    EXPECT_TRUE(JournalFileClose(journal, 1));
    EXPECT_FALSE(Exists(removed));

    // Unreadable journals go aside under free names.
    const std::string bad = folder + "\\lost" + kJournalFileSuffix;
    for (const char *aside : {".bad", ".1.bad"}) {
        std::ofstream(bad, std::ios::binary) << "not a journal";
        EXPECT_EQ(JournalFileRead(bad.c_str(), nullptr, nullptr, nullptr, nullptr), kJournalUnreadable);
        EXPECT_TRUE(JournalFileSetAside(bad.c_str()) && !Exists(bad) && Exists(bad + aside)) << aside;
    }
    std::filesystem::remove_all(folder);
}

} // namespace
