// Menus, shortcuts and the document commands through the real frame and view.
#include <algorithm>

#include "app/commands.h"
#include "app/docchange.h"
#include "app/document.h"
#include "frame/menus.h"
#include "frame/prefs.h"
#include "frame/uitext.h"
#include "langfile/journalfile.h"
#include "res/resource.h"
#include "tests/support/apptest.h"
#include "tests/support/memprofile.h"

namespace
{

const char kNoAsk[] = "[Option]\r\nAskToOverwrite=0\r\n";

class Commands : public AppTest
{
protected:
    std::string dir = HarnessTempDir();
    std::string asked; // the texts of the message boxes Answering met, each + "|"

    // Starts on a file of that name and content, saves asking nothing before overwriting it.
    std::string StartOn(const std::string &name, const std::string &content)
    {
        const std::string path = HarnessWriteFile(dir + name, content);
        Start(kNoAsk, "Parlevo.exe " + path);
        return path;
    }
    std::string MenuText(UINT command, HMENU menu = nullptr) const
    {
        char text[260] = "";
        GetMenuStringA(menu ? menu : GetMenu(frame), command, text, sizeof text, MF_BYCOMMAND);
        return text;
    }
    bool Greyed(UINT command) const { return GetMenuState(GetMenu(frame), command, MF_BYCOMMAND) & MF_GRAYED; }
    bool CtrlKey(UINT vk) const
    {
        BYTE down[256] = {}, up[256] = {};
        down[VK_CONTROL] = 0x80;
        SetKeyboardState(down);
        const bool translated = TranslateViewKey(view, WM_KEYDOWN, vk, 1);
        return SetKeyboardState(up), translated;
    }
    // What the Translate dialog's OK does.
    void Commit(UINT id, const std::string &text)
    {
        const int row = RowOf(id);
        const std::string before = Cell(row, kColumnTranslated);
        SetTranslation(row, text);
        DocumentRowChanged(view, row, id, before.c_str(), text.c_str(), kChangeTyped);
    }
    // Presses answers[n] in the n-th dialog (the last one again after them).
    ModalDriver Answering(std::vector<int> answers)
    {
        asked.clear();
        return ModalDriver([this, answers, n = size_t(0)](HWND box) mutable {
            asked += MessageBoxText(box) + "|";
            PressButton(box, answers[std::min(++n, answers.size()) - 1]);
        });
    }
    // Opens path as File Open does, answering every message box with `answer`; their texts, then the title.
    std::string OpenAnswering(const std::string &path, int answer)
    {
        ModalDriver driver = Answering({answer});
        OpenDocument(view, path.c_str(), kOpenNamed);
        return asked + WindowText(frame) + (IsDocumentFileBacked(view) ? "" : " (no file)");
    }
};

// The platform's name of a key, as the menus show it.
std::string KeyText(UINT vk)
{
    char name[64] = "";
    GetKeyNameTextA(LONG(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16), name, sizeof name);
    return name;
}

// The file name field of an open or save dialog.
HWND FileNameField(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, 0x47C);
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    return edit ? edit : combo ? combo : GetDlgItem(dialog, 0x480);
}

TEST_F(Commands, MenusShowEveryCommandDecoratedFromItsRowWithTheShortcutsOfTheSettings)
{
    Start();
    const std::string ctrl = KeyText(VK_CONTROL) + "+", alt = KeyText(VK_MENU) + "+";
    // Every command's text in command ID order, each as its table row decorates it.
    std::string texts;
    for (UINT id = CMD_FIRST; id <= CMD_LAST; ++id) {
        char text[kDecoratedSize] = "?";
        DecorateUiText(id, text);
        texts += text + std::string("|");
    }
    EXPECT_EQ(texts, "E&xit|&About...|&Open...|&Preferences...|&New|&Save|Save &as...|&Translate...|&Signature...|"
                     "&Close|Save &template...|Translate next &untranslated...|&Find...|Find &Next|Next &problem|"
                     "Pre&vious problem|Translate &previous untranslated...|&Back|For&ward|&Fill repeated texts|&Undo|"
                     "&Redo|R&evert row|");
    // The context menu: Translate, bold as the default item, without shortcut text.
    HMENU context = GetSubMenu(Vs()->contextHolder, 0);
    EXPECT_EQ(MenuText(CMD_FILE_OPEN) + "|" + MenuText(CMD_OPTIONS_PREFERENCES) + "|" +
                  MenuText(CMD_TEXT_TRANSLATE, context) +
                  (GetMenuDefaultItem(context, FALSE, 0) == CMD_TEXT_TRANSLATE ? " (default)" : ""),
              "&Open...\t" + ctrl + KeyText('O') + "|&Preferences...\t" + alt + KeyText(VK_RETURN) +
                  "|&Translate... (default)");
    // Shortcuts of the settings: Ctrl+O and Ctrl+P both open; Ctrl+Q runs 40035, which has no menu item.
    const unsigned char rows[] = {'O', 0,    0x0B, 0,   0x43, 0x9C, 'P', 0,    0x0B,
                                  0,   0x43, 0x9C, 'Q', 0,    0x0B, 0,   0x63, 0x9C};
    Start("[Shortcut]\r\nItemNumber=3\r\nVersion=20261207\r\nItemData=" + EncodeProfileBlob(rows, sizeof rows) +
          "\r\n");
    EXPECT_EQ(MenuText(CMD_FILE_OPEN) + "|" + MenuText(CMD_FILE_NEW), "&Open...\t" + ctrl + "O or " + ctrl + "P|&New");
    EXPECT_TRUE(CtrlKey('Q') && !CtrlKey('N'));
}

TEST_F(Commands, CommandStatesFollowTheDocumentOnlyTheCommandLineRunsAGreyedOneAndPreferencesTakeTwoPasses)
{
    Start();
    const auto state = [&] {
        std::string states = WindowText(frame) + (ListRowCount(view) ? " rows " : " empty ");
        for (UINT c : {CMD_FILE_NEW, CMD_FILE_SAVE, CMD_FILE_CLOSE, CMD_EDIT_FIND, CMD_TEXT_SIGNATURE})
            states += Greyed(c) ? 'G' : '-';
        return states;
    };
    EXPECT_EQ(state(), "Lumivex Parlevo - [New] rows -----");
    EXPECT_TRUE(Run(CMD_FILE_CLOSE));
    EXPECT_EQ(state(), "Lumivex Parlevo empty -GGGG");
    ModalDriver driver([](HWND dialog) { PressButton(dialog, IDCANCEL); });
    // The key is the accelerator's, but the greyed command does not run; from the command line it does.
    EXPECT_TRUE(CtrlKey('S') && !Run(CMD_FILE_SAVE) && driver.Seen() == 0);
    Run(CMD_FILE_SAVE, nullptr, kExecIgnoreGrey);
    // A cancelled command fails; the focus still goes back.
    Run(CMD_FILE_NEW);
    SetFocus(Vs()->list);
    EXPECT_EQ(Run(CMD_FILE_OPEN), 0);
    EXPECT_TRUE(driver.Seen() == 2 && GetFocus() == Vs()->list);
    // Preferences: the first pass clears the flags (every page is shown); a missing page shows nothing.
    alignas(8) char arg[kCommandArgSize];
    auto *filter = reinterpret_cast<PageFilter *>(arg);
    *filter = {107, kPageOnly};
    Run(CMD_OPTIONS_PREFERENCES, arg);
    EXPECT_EQ(driver.Seen() * 100 + filter->flags, 300u);
    PageFilter missing = {107, kPageOnly};
    EXPECT_TRUE(!RunCommand(view, CMD_OPTIONS_PREFERENCES, &missing, kExecSecondPass) && driver.Seen() == 3);
}

TEST_F(Commands, AboutOptionAloneShowsOneAboutBoxAndEndsWithoutWindow)
{
    std::string line = "Parlevo.exe -about";
    for (int i = 0; i < 29; ++i)
        line += " -a";
    ModalDriver driver = Answering({IDOK});
    EXPECT_EQ(StartProgram(SampleModuleIni(), line), nullptr);
    EXPECT_EQ(std::to_string(driver.Seen()) + " " + asked.substr(0, asked.find("\n\n")),
              "1 Lumivex Parlevo\nVersion 1.0.4 (Jul 13 2009)");
}

// Answers: the question's, then the save dialog's. Outcome: went on (0: closing), questions (naming it), saved, title.
TEST_F(Commands, UnsavedChangesAreAskedAboutBeforeTheDocumentGoes)
{
    for (const auto &[fromFile, modify, command, answers, outcome] :
         std::vector<std::tuple<bool, bool, UINT, std::vector<int>, std::string>>{
             {true, false, CMD_FILE_CLOSE, {}, "on 0 - Lumivex Parlevo"},
             {true, false, 0, {}, "on 0 - "},
             {true, true, CMD_FILE_CLOSE, {IDCANCEL}, "kept 1 - Lumivex Parlevo - [de.lng*]"},
             {false, true, 0, {IDCANCEL}, "kept 1 - Lumivex Parlevo - [New*]"},
             {true, true, CMD_FILE_CLOSE, {IDNO}, "on 1 - Lumivex Parlevo"},
             {true, true, CMD_FILE_NEW, {IDYES}, "on 1 saved Lumivex Parlevo - [New]"},
             {false, true, CMD_FILE_CLOSE, {IDYES, IDCANCEL}, "kept 2 - Lumivex Parlevo - [New*]"}}) {
        std::string path = HarnessWriteFile(dir + "de.lng", "103=\"Offnen\"\r\n");
        Start(kNoAsk, fromFile ? "Parlevo.exe " + path : "Parlevo.exe");
        if (modify) Commit(103, "geändert");
        ModalDriver driver = Answering(answers);
        bool on = command ? Run(command) != 0 : (SendMessageA(frame, WM_CLOSE, 0, 0), !IsWindow(frame));
        const bool named = asked.empty() || asked.find(fromFile ? "de.lng" : "New") != std::string::npos;
        EXPECT_EQ(std::string(on ? "on " : "kept ") + std::to_string(driver.Seen()) + (named ? "" : "?") +
                      (HarnessReadFile(path).find("geändert") != std::string::npos ? " saved " : " - ") +
                      (IsWindow(frame) ? WindowText(frame) : ""),
                  outcome);
    }
}

TEST_F(Commands, SaveAsksForANameOnlyForADocumentWithoutItsFile)
{
    Start(kNoAsk);
    std::string path = dir + "empty.lng", suggested;
    // Every save dialog: the name it suggests; the path typed, or Cancel once there is none.
    ModalDriver dialog([&](HWND d) {
        suggested = WindowText(FileNameField(d));
        SetWindowTextA(FileNameField(d), path.c_str());
        PressButton(d, path.empty() ? IDCANCEL : IDOK);
    });
    ASSERT_TRUE(Run(CMD_FILE_SAVE));
    // The message and the name pane say the saved file, not the "New" it had before.
    EXPECT_EQ(HarnessReadFile(path) + WindowText(frame) + "|" + Vs()->statusMessage + "|" +
                  (Vs()->parts[0].text ? Vs()->parts[0].text : ""),
              "Lumivex Parlevo - [empty.lng]|Successfully written to: empty.lng (0 Byte)|empty.lng");
    // A header alone is the document's file: reopened (asking nothing), it keeps its signature.
    lstrcpynA(Vs()->signature, "Author: Anna\r\n", sizeof Vs()->signature);
    EXPECT_TRUE(Run(CMD_FILE_SAVE));
    Start(kNoAsk, "Parlevo.exe " + path);
    Commit(103, "Offnen");
    EXPECT_TRUE(Run(CMD_FILE_SAVE));
    EXPECT_EQ(HarnessReadFile(path), "; Author: Anna\r\n\r\n103=\"Offnen\"\r\n");
    // A file that does not exist opens as an empty document whose Save suggests its name.
    Start("", "Parlevo.exe " + dir + "nothere.lng");
    EXPECT_EQ(WindowText(frame) + (ListRowCount(view) ? "" : " without rows"), "Lumivex Parlevo - [nothere.lng]");
    path.clear();
    Run(CMD_FILE_SAVE);
    EXPECT_TRUE(dialog.Seen() == 2 && suggested.find("nothere") != std::string::npos) << suggested; // no other asked
}

// Without AskToOverwrite=0 (the other tests) a save over the file asks; No keeps the file.
TEST_F(Commands, SaveOfAFileAsksBeforeOverwriting)
{
    const std::string old = "1=\"Eins\"\r\n", path = HarnessWriteFile(dir + "de.lng", old);
    Start("", "Parlevo.exe " + path);
    Commit(1, "Uno");
    ModalDriver no = Answering({IDNO});
    EXPECT_EQ(Run(CMD_FILE_SAVE), 0);
    EXPECT_EQ(asked + HarnessReadFile(path), "Overwrite current file?\n\n" + path + "|" + old);
}

// A Yes to "save the changes?" whose save fails says so too, and the document stays.
TEST_F(Commands, FailedSaveSaysWhyAndKeepsTheDocumentModified)
{
    const std::string path = StartOn("ro.lng", "103=\"Offnen\"\r\n");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    Commit(103, "geändert");
    ModalDriver driver = Answering({IDOK, IDYES, IDOK});
    EXPECT_FALSE(Run(CMD_FILE_SAVE) || Run(CMD_FILE_CLOSE));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string failed = path + " could not be saved.\n\nAccess denied.";
    EXPECT_EQ(asked, failed + "|Do you want to save the changes to ro.lng?|" + failed + "|");
    EXPECT_EQ(WindowText(frame) + HarnessReadFile(path), "Lumivex Parlevo - [ro.lng*]103=\"Offnen\"\r\n");
}

TEST_F(Commands, OpenKeepsTheDocumentForAFileItCannotReadOrIsNotToOpenAndSaysWhatItConvertedAndKept)
{
    StartOn("de.lng", "103=\"Offnen\"\r\n");
    std::string locked = HarnessWriteFile(dir + "locked.lng", "1=\"x\"\r\n");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::tuple<std::string, int, std::string> rows[] = {
        {locked, IDOK, locked + " could not be opened.\n\nSharing violation."},
        {HarnessWriteFile(dir + "u16.lng", std::string("\xFF\xFE\x31\0=\0", 6)), IDOK,
         "u16.lng is a UTF-16 (little-endian) file. Language files are in the ANSI code page; it was not opened."},
        {HarnessWriteFile(dir + "ja.lng", "\xEF\xBB\xBF\x31=\"\xE3\x81\x82\"\r\n"), IDOK,
         "ja.lng is a UTF-8 file with characters the ANSI code page does not have. Language files are in the ANSI "
         "code page; it was not opened."},
        {HarnessWriteFile(dir + "notes.txt", "Notes\r\n\r\n1=\"a\"\r\nsee above\r\nend\r\n"), IDNO,
         "notes.txt does not look like a language file: 1 of 4 lines are translations. Open it anyway?"}};
    for (const auto &[file, answer, text] : rows)
        EXPECT_EQ(OpenAnswering(file, answer), text + "|Lumivex Parlevo - [de.lng]");
    CloseHandle(holder);
    // Two of three lines read as items: not asked. IDs 7 and 64000 are not in the module.
    std::string path = HarnessWriteFile(dir + "de.lng", "\357\273\277; Language: Deutsch\r\n\r\n64000=\"weg\"\r\n"
                                                        "7=\"M\303\274de\"\r\n3=\"Bereit\"\r\nnote\r\n");
    EXPECT_EQ(OpenAnswering(path, IDOK), "de.lng is a UTF-8 file. Its texts were converted to the ANSI code page, in "
                                         "which it will be saved.|2 translations are for strings this module does "
                                         "not have; they are kept.|Lumivex Parlevo - [de.lng]");
    EXPECT_TRUE(Run(CMD_FILE_SAVE));
    EXPECT_EQ(HarnessReadFile(path), "; Language: Deutsch\r\n\r\n3=\"Bereit\"\r\n7=\"M\374de\"\r\n64000=\"weg\"\r\n");
}

TEST_F(Commands, UndoRedoRevertFollowTheSavedStateWhileJournalAndBackupKeepTheWork)
{
    const std::string path = StartOn("de.lng", "1=\"Eins\"\r\n");
    // Rows 1 and 103, "*" for a modified document, U and R for undo and redo that can run.
    const auto play = [&](std::vector<std::pair<UINT, const char *>> steps) {
        for (auto [command, expected] : steps) {
            const std::string ran = Run(command) ? "" : "failed ";
            EXPECT_EQ(ran + Cell(RowOf(1), kColumnTranslated) + "|" + Cell(RowOf(103), kColumnTranslated) +
                          (WindowText(frame).find("*]") != std::string::npos ? "*" : "") +
                          (Greyed(CMD_EDIT_UNDO) ? "" : " U") + (Greyed(CMD_EDIT_REDO) ? "" : " R"),
                      expected)
                << command;
        }
    };
    Commit(1, "Uno");
    Commit(103, "Aprire");
    ASSERT_NE(Vs()->journal, nullptr);
    const std::string journal = JournalFilePath(Vs()->journal);
    // Held by its writer: a second start would leave it alone.
    EXPECT_EQ(JournalFileRead(journal.c_str(), nullptr, nullptr, nullptr, nullptr), kJournalInUse);
    play({{CMD_EDIT_UNDO, "Uno|* U R"}});
    EXPECT_EQ(FocusedRow(), RowOf(103));
    play({{CMD_EDIT_UNDO, "Eins| R"}, {CMD_EDIT_REDO, "Uno|* U R"}, {CMD_EDIT_REDO, "Uno|Aprire* U"}});
    // A save removes the journal, keeps the old file as .bak and the history.
    play({{CMD_FILE_SAVE, "Uno|Aprire U"}});
    EXPECT_FALSE(HarnessFileExists(journal) || Vs()->journal);
    EXPECT_EQ(HarnessReadFile(path + ".bak") + HarnessReadFile(path), "1=\"Eins\"\r\n1=\"Uno\"\r\n103=\"Aprire\"\r\n");
    play({{CMD_EDIT_UNDO, "Uno|* U R"}, {CMD_EDIT_REDO, "Uno|Aprire U"}});
    // Revert row: the text of the last save, itself undone like any change.
    Commit(1, "Ein");
    ListSetRowState(view, RowOf(1), LVIS_FOCUSED, LVIS_FOCUSED);
    play({{CMD_EDIT_REVERT_ROW, "Uno|Aprire* U"},
          {CMD_EDIT_UNDO, "Ein|Aprire* U R"},
          {CMD_EDIT_UNDO, "Uno|Aprire U R"}});
}

} // namespace
