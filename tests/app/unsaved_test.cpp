// Unsaved work in the main window: undo, redo and revert with the title's asterisk, the journal
// a change writes and a save removes, and the backup a save keeps.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/docchange.h"
#include "langfile/journalfile.h"
#include "res/resource.h"
#include "tests/support/apptest.h"
#include "view/list.h"

namespace
{

class Unsaved : public AppTest
{
protected:
    // What the Translate dialog's OK does.
    void Commit(UINT id, const std::string &text)
    {
        const int row = RowOf(id);
        const std::string before = Cell(row, kColumnTranslated);
        SetTranslation(row, text);
        DocumentRowChanged(view, row, id, before.c_str(), text.c_str(), kChangeTyped);
    }
    bool Greyed(UINT command) { return (GetMenuState(GetMenu(frame), command, MF_BYCOMMAND) & MF_GRAYED) != 0; }
    bool Starred() { return WindowText(frame).find("*]") != std::string::npos; }
};

TEST_F(Unsaved, UndoRedoRevertFollowTheSavedStateWhileJournalAndBackupKeepTheWork)
{
    const std::string old = "1=\"Eins\"\r\n";
    const std::string path = HarnessWriteFile(HarnessTempDir() + "de.lng", old);
    Start("[Option]\r\nAskToOverwrite=0\r\n", "Parlevo.exe " + path);
    PumpUntil([&] { return WindowText(frame) == "Lumivex Parlevo - [de.lng]"; });
    EXPECT_TRUE(Greyed(CMD_EDIT_UNDO));

    Commit(1, "Uno");
    Commit(103, "Aprire");
    ASSERT_NE(Vs()->journal, nullptr);
    const std::string journal = JournalFilePath(Vs()->journal);
    JournalSummary summary = {};
    // Held by its writer: a second start would leave it alone.
    EXPECT_EQ(JournalFileRead(journal.c_str(), nullptr, nullptr, nullptr, &summary), kJournalInUse);
    EXPECT_TRUE(Starred());

    EXPECT_TRUE(Run(CMD_EDIT_UNDO));
    EXPECT_EQ(Cell(RowOf(103), kColumnTranslated), "");
    EXPECT_EQ(FocusedRow(), RowOf(103));
    EXPECT_TRUE(Starred());
    EXPECT_TRUE(Run(CMD_EDIT_UNDO));
    EXPECT_EQ(Cell(RowOf(1), kColumnTranslated), "Eins");
    EXPECT_FALSE(Starred()); // back at the file as opened
    EXPECT_TRUE(Greyed(CMD_EDIT_UNDO));
    EXPECT_FALSE(Greyed(CMD_EDIT_REDO));
    EXPECT_TRUE(Run(CMD_EDIT_REDO));
    EXPECT_TRUE(Run(CMD_EDIT_REDO));
    EXPECT_EQ(Cell(RowOf(103), kColumnTranslated), "Aprire");
    EXPECT_TRUE(Greyed(CMD_EDIT_REDO));
    EXPECT_TRUE(Starred());

    // A save removes the journal, keeps the old file as .bak and the history.
    EXPECT_TRUE(Run(CMD_FILE_SAVE));
    EXPECT_FALSE(HarnessFileExists(journal));
    EXPECT_EQ(Vs()->journal, nullptr);
    EXPECT_EQ(HarnessReadFile(path + ".bak"), old);
    EXPECT_EQ(HarnessReadFile(path), "1=\"Uno\"\r\n103=\"Aprire\"\r\n");
    EXPECT_FALSE(Starred());
    EXPECT_TRUE(Run(CMD_EDIT_UNDO));
    EXPECT_EQ(Cell(RowOf(103), kColumnTranslated), "");
    EXPECT_TRUE(Starred());
    EXPECT_TRUE(Run(CMD_EDIT_REDO));
    EXPECT_FALSE(Starred());

    // Revert row: the text of the last save, itself undone like any change.
    Commit(1, "Ein");
    ListSetRowState(view, RowOf(1), LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_TRUE(Run(CMD_EDIT_REVERT_ROW));
    EXPECT_EQ(Cell(RowOf(1), kColumnTranslated), "Uno");
    EXPECT_TRUE(Run(CMD_EDIT_UNDO));
    EXPECT_EQ(Cell(RowOf(1), kColumnTranslated), "Ein");
    EXPECT_TRUE(Run(CMD_EDIT_UNDO));
    EXPECT_FALSE(Starred());
}

} // namespace
