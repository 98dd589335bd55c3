// Menus, shortcuts and the document commands through the real frame and view.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include <cstring>
#include <string>

#include "state/appstate.h"
#include "app/appwindows.h"
#include "app/commands.h"
#include "app/document.h"
#include "state/messages.h"
#include "app/startup.h"
#include "frame/menus.h"
#include "frame/prefs.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "tests/support/apptest.h"
#include "tests/support/memprofile.h"
#include "tests/support/winharness.h"
#include "view/list.h"

namespace
{

class Commands : public ::testing::Test
{
protected:
    HWND frame = nullptr;
    HWND view = nullptr;

    void TearDown() override { HarnessStopApp(); }

    void Start(const std::string &extraIni = "", const char *commandLine = "Parlevo.exe")
    {
        HarnessStartApp(SampleModuleIni() + extraIni);
        frame = StartFrame(GetModuleHandleA(nullptr), commandLine, SW_SHOWNORMAL);
        ASSERT_NE(frame, nullptr);
        view = ViewOfFrame(frame);
        PumpMessages();
    }

    ViewState *Vs() { return GetViewState(view); }

    std::string MenuText(UINT command)
    {
        char text[260] = "";
        GetMenuStringA(GetMenu(frame), command, text, sizeof text, MF_BYCOMMAND);
        return text;
    }

    bool Greyed(UINT command) { return (GetMenuState(GetMenu(frame), command, MF_BYCOMMAND) & MF_GRAYED) != 0; }

    LRESULT Run(UINT command, void *arg = nullptr, UINT flags = 0)
    {
        return SendMessageA(view, kMsgRunCommand, MAKEWPARAM(command, flags), reinterpret_cast<LPARAM>(arg));
    }

    bool Key(UINT vk, bool ctrl = false, bool alt = false)
    {
        BYTE keys[256] = {};
        if (ctrl) keys[VK_CONTROL] = 0x80;
        if (alt) keys[VK_MENU] = 0x80;
        SetKeyboardState(keys);
        bool translated = TranslateViewKey(view, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1);
        BYTE none[256] = {};
        SetKeyboardState(none);
        return translated;
    }
};

// The platform's name of a key, as the menus show it.
std::string KeyText(UINT vk)
{
    char name[64] = "";
    GetKeyNameTextA(LONG(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16), name, sizeof name);
    return name;
}

// Fills the file name of an open or save dialog and confirms it.
void ChooseFile(HWND dialog, const std::string &path)
{
    HWND edit = GetDlgItem(dialog, 0x47C); // the file name combo of the explorer dialog
    if (!edit) edit = GetDlgItem(dialog, 0x480);
    HWND inner = FindWindowExA(edit, nullptr, "Edit", nullptr);
    SetWindowTextA(inner ? inner : edit, path.c_str());
    PressButton(dialog, IDOK);
}

TEST_F(Commands, MenusCarryDecoratedTextsAndShortcuts)
{
    Start();
    HMENU menu = GetMenu(frame);
    ASSERT_NE(menu, nullptr);
    char text[64];
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&File");
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Edit");
    GetMenuStringA(menu, 4, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Help");
    EXPECT_EQ(MenuText(CMD_FILE_OPEN), "&Open...\t" + KeyText(VK_CONTROL) + "+" + KeyText('O'));
    EXPECT_EQ(MenuText(CMD_FILE_SAVE_AS), "Save &as...");
    EXPECT_EQ(MenuText(CMD_EDIT_FIND_NEXT), "Find &Next\t" + KeyText(VK_F3));
    EXPECT_EQ(MenuText(CMD_OPTIONS_PREFERENCES), "&Preferences...\t" + KeyText(VK_MENU) + "+" + KeyText(VK_RETURN));
    EXPECT_EQ(MenuText(CMD_FILE_EXIT), "E&xit\t" + KeyText(VK_MENU) + "+" + KeyText('X'));
    // The context menu: Translate, bold as the default item, without shortcut text.
    HMENU context = GetSubMenu(Vs()->contextHolder, 0);
    ASSERT_NE(context, nullptr);
    GetMenuStringA(context, CMD_TEXT_TRANSLATE, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Translate...");
    EXPECT_EQ(GetMenuDefaultItem(context, FALSE, 0), UINT(CMD_TEXT_TRANSLATE));
}

// Each command's text as its menu item shows it: the mnemonic and "..." come from the
// command table's row.
TEST_F(Commands, EveryCommandTextIsDecoratedFromItsTableRow)
{
    static const struct {
        UINT id;
        const char *decorated;
    } kTexts[] = {
        {CMD_FILE_EXIT, "E&xit"},
        {CMD_HELP_ABOUT, "&About..."},
        {CMD_FILE_OPEN, "&Open..."},
        {CMD_OPTIONS_PREFERENCES, "&Preferences..."},
        {CMD_FILE_NEW, "&New"},
        {CMD_FILE_SAVE, "&Save"},
        {CMD_FILE_SAVE_AS, "Save &as..."},
        {CMD_TEXT_TRANSLATE, "&Translate..."},
        {CMD_TEXT_SIGNATURE, "&Signature..."},
        {CMD_FILE_CLOSE, "&Close"},
        {CMD_FILE_SAVE_TEMPLATE, "Save &template..."},
        {CMD_TEXT_TRANSLATE_NEXT, "Translate next &untranslated..."},
        {CMD_EDIT_FIND, "&Find..."},
        {CMD_EDIT_FIND_NEXT, "Find &Next"},
        {CMD_EDIT_NEXT_PROBLEM, "Next &problem"},
        {CMD_EDIT_PREVIOUS_PROBLEM, "Pre&vious problem"},
        {CMD_EDIT_UNDO, "&Undo"},
        {CMD_EDIT_REDO, "&Redo"},
        {CMD_EDIT_REVERT_ROW, "R&evert row"},
        {CMD_TEXT_TRANSLATE_PREVIOUS, "Translate &previous untranslated..."},
        {CMD_EDIT_BACK, "&Back"},
        {CMD_EDIT_FORWARD, "For&ward"},
        {CMD_TEXT_FILL_REPEATED, "&Fill repeated texts"},
    };
    static_assert(std::size(kTexts) == CMD_LAST - CMD_FIRST + 1, "a row per command");
    for (const auto &row : kTexts) {
        char text[kDecoratedSize];
        ASSERT_TRUE(DecorateUiText(row.id, text)) << row.id;
        EXPECT_STREQ(text, row.decorated) << row.id;
    }
}

TEST_F(Commands, TwoShortcutsForOneCommandAreBothShown)
{
    const unsigned char rows[12] = {'O', 0, 0x0B, 0, 0x43, 0x9C, 'P', 0, 0x0B, 0, 0x43, 0x9C};
    Start("[Shortcut]\r\nItemNumber=2\r\nVersion=20261207\r\nItemData=" + EncodeProfileBlob(rows, sizeof rows) +
          "\r\n");
    std::string ctrl = KeyText(VK_CONTROL) + "+";
    EXPECT_EQ(MenuText(CMD_FILE_OPEN), "&Open...\t" + ctrl + "O or " + ctrl + "P");
    EXPECT_EQ(MenuText(CMD_FILE_NEW), "&New");
}

TEST_F(Commands, ShortcutWithoutMenuItemStillTranslates)
{
    const unsigned char row[6] = {'Q', 0, 0x0B, 0, 0x63, 0x9C}; // Ctrl+Q -> 40035, no such item
    Start("[Shortcut]\r\nItemNumber=1\r\nVersion=20261207\r\nItemData=" + EncodeProfileBlob(row, sizeof row) + "\r\n");
    EXPECT_TRUE(Key('Q', true));
    EXPECT_FALSE(Key('O', true));
}

TEST_F(Commands, NewDocumentFillsTheListAndEnablesDocumentCommands)
{
    Start();
    EXPECT_EQ(WindowText(frame), "Lumivex Parlevo - [New]");
    EXPECT_GT(ListRowCount(view), 400);
    for (UINT c : {CMD_FILE_NEW, CMD_FILE_OPEN, CMD_FILE_SAVE, CMD_FILE_CLOSE, CMD_TEXT_TRANSLATE})
        EXPECT_FALSE(Greyed(c)) << c;
    EXPECT_TRUE(Run(CMD_FILE_CLOSE));
    EXPECT_EQ(WindowText(frame), "Lumivex Parlevo");
    EXPECT_EQ(ListRowCount(view), 0);
    for (UINT c : {CMD_FILE_SAVE, CMD_FILE_CLOSE, CMD_EDIT_FIND, CMD_TEXT_SIGNATURE})
        EXPECT_TRUE(Greyed(c)) << c;
    EXPECT_FALSE(Greyed(CMD_FILE_NEW));
}

TEST_F(Commands, GreyedSaveRefusesCtrlSAndExecutionFlagOneOverridesTheGrey)
{
    Start();
    Run(CMD_FILE_CLOSE);
    ModalDriver driver([](HWND dialog) { PressButton(dialog, IDCANCEL); });
    EXPECT_TRUE(Key('S', true)); // the key is the accelerator's...
    PumpMessages();
    EXPECT_EQ(driver.Seen(), 0); // ...but the greyed command does not run
    EXPECT_EQ(Run(CMD_FILE_SAVE), 0);
    EXPECT_EQ(driver.Seen(), 0);
    // The command line's flag runs it anyway: the save dialog comes up.
    Run(CMD_FILE_SAVE, nullptr, kExecIgnoreGrey);
    EXPECT_EQ(driver.Seen(), 1);
}

TEST_F(Commands, WithoutModuleNewAndOpenAreGreyed)
{
    HarnessStartApp("");
    frame = StartFrame(GetModuleHandleA(nullptr), "Parlevo.exe -zzz", SW_SHOWNORMAL);
    // The start opens a new document, which has no module: the notice, then the Module page.
    view = frame ? ViewOfFrame(frame) : nullptr;
    ASSERT_NE(view, nullptr);
    int step = 0;
    ModalDriver driver([&](HWND dialog) {
        ++step;
        PressButton(dialog, step == 1 ? IDOK : IDCANCEL);
    });
    PumpUntil([&] { return driver.Seen() >= 2; }, 5000);
    EXPECT_EQ(driver.Seen(), 2);
    EXPECT_TRUE(Greyed(CMD_FILE_NEW));
    EXPECT_TRUE(Greyed(CMD_FILE_OPEN));
    EXPECT_FALSE(Greyed(CMD_FILE_EXIT));
    EXPECT_FALSE(Greyed(CMD_OPTIONS_PREFERENCES));
}

TEST_F(Commands, FocusGoesBackAfterACommand)
{
    Start();
    SetFocus(Vs()->list);
    ModalDriver driver([](HWND dialog) { PressButton(dialog, IDCANCEL); });
    Run(CMD_FILE_OPEN); // cancelled: fails, the focus still goes back
    EXPECT_EQ(driver.Seen(), 1);
    EXPECT_EQ(GetFocus(), Vs()->list);
}

TEST_F(Commands, PreferencesRunsInTwoPassesAndShowsTheModulePage)
{
    Start();
    std::string caption;
    ModalDriver driver([&](HWND sheet) {
        caption = WindowText(sheet);
        PropSheet_PressButton(sheet, PSBTN_CANCEL);
    });
    alignas(8) char arg[kCommandArgSize];
    auto *filter = reinterpret_cast<PageFilter *>(arg);
    filter->pageId = 107;
    filter->flags = kPageOnly; // the first pass clears the flags: every page is shown
    Run(CMD_OPTIONS_PREFERENCES, arg);
    EXPECT_EQ(driver.Seen(), 1);
    EXPECT_NE(caption.find("Parlevo"), std::string::npos) << caption;
    EXPECT_EQ(filter->flags, 0u);

    // A filter naming a page that does not exist shows nothing.
    PageFilter missing = {107, kPageOnly};
    EXPECT_EQ(RunCommand(view, CMD_OPTIONS_PREFERENCES, &missing, kExecSecondPass), 0);
    EXPECT_EQ(driver.Seen(), 1);
}

TEST_F(Commands, AboutOptionAloneShowsOneAboutBoxAndEndsWithoutWindow)
{
    HarnessStartApp(SampleModuleIni());
    std::string text;
    ModalDriver driver([&](HWND box) {
        text = MessageBoxText(box);
        PressButton(box, IDOK);
    });
    std::string line = "Parlevo.exe -about";
    for (int i = 0; i < 29; ++i)
        line += " -a";
    HWND none = StartFrame(GetModuleHandleA(nullptr), line.c_str(), SW_SHOWNORMAL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(driver.Seen(), 1);
    EXPECT_EQ(text.substr(0, text.find('\n')), "Lumivex Parlevo");
    EXPECT_NE(text.find("Version 1.0.4 (Jul 13 2009)"), std::string::npos);
}

class Documents : public Commands
{
protected:
    std::string dir;
    void SetUp() override { dir = HarnessTempDir(); }

    SaveTarget *Target(const std::string &path)
    {
        memset(&target, 0, sizeof target);
        lstrcpynA(target.path, path.c_str(), sizeof target.path);
        return &target;
    }
    SaveTarget target;
};

TEST_F(Documents, SaveTemplateWritesSourceTextsUnderTheDefaultSignatureAndRetitles)
{
    Start();
    std::string path = dir + "tmpl.lng";
    ModalDriver driver([&](HWND dialog) { ChooseFile(dialog, path); });
    ASSERT_TRUE(Run(CMD_FILE_SAVE_TEMPLATE));
    std::string bytes = HarnessReadFile(path);
    EXPECT_EQ(bytes.substr(0, 37), "; Language: \r\n; Author: \r\n; Version: ");
    EXPECT_NE(bytes.find("\r\n1=\""), std::string::npos);
    EXPECT_EQ(WindowText(frame), "Lumivex Parlevo - [tmpl.lng]");
    EXPECT_NE(std::string(Vs()->statusMessage).find("tmpl.lng"), std::string::npos);
}

TEST_F(Documents, SaveOfAnUntranslatedDocumentWritesTheHeaderAndSucceeds)
{
    Start();
    std::string path = dir + "empty.lng";
    ModalDriver driver([&](HWND dialog) { ChooseFile(dialog, path); });
    ASSERT_TRUE(Run(CMD_FILE_SAVE));
    EXPECT_EQ(HarnessReadFile(path), "");
    EXPECT_EQ(WindowText(frame), "Lumivex Parlevo - [empty.lng]");
    EXPECT_NE(std::string(Vs()->statusMessage).find("(0 Byte)"), std::string::npos) << Vs()->statusMessage;
    // The status bar shows the saved file, not the "New" it had before.
    std::vector<std::string> panes;
    for (int i = 0; i < Vs()->partCount; ++i)
        panes.push_back(Vs()->parts[i].text ? Vs()->parts[i].text : "");
    EXPECT_NE(std::find(panes.begin(), panes.end(), "empty.lng"), panes.end());
    EXPECT_EQ(std::find(panes.begin(), panes.end(), "New"), panes.end());
}

TEST_F(Documents, OpenLoadsTranslationsAndSaveAsksBeforeOverwriting)
{
    std::string path = HarnessWriteFile(dir + "de.lng", "; Language: Deutsch\r\n\r\n1=\"Eins\"\r\n103=\"Offnen\"\r\n");
    Start("", ("Parlevo.exe " + path).c_str());
    PumpUntil([&] { return WindowText(frame) == "Lumivex Parlevo - [de.lng]"; });
    char cell[252] = "";
    int row = ListNextRow(view, -1, LVNI_ALL);
    for (; row >= 0 && ListRowValue(view, row) != 103; row = ListNextRow(view, row, LVNI_ALL)) {
    }
    ASSERT_GE(row, 0);
    ListGetCell(view, row, kColumnTranslated, cell, sizeof cell);
    EXPECT_STREQ(cell, "Offnen");
    EXPECT_STREQ(Vs()->signature, "Language: Deutsch\r\n");

    // File-backed: Save asks "Overwrite current file?" each time; No keeps the file.
    std::string question;
    ModalDriver no([&](HWND box) {
        question = MessageBoxText(box);
        PressButton(box, IDNO);
    });
    EXPECT_EQ(Run(CMD_FILE_SAVE), 0);
    EXPECT_EQ(question, "Overwrite current file?\n\n" + path);
    EXPECT_EQ(HarnessReadFile(path), "; Language: Deutsch\r\n\r\n1=\"Eins\"\r\n103=\"Offnen\"\r\n");
}

TEST_F(Documents, SaveWithoutTheQuestionWhenAskToOverwriteIsOff)
{
    std::string path = HarnessWriteFile(dir + "de.lng", "103=\"Offnen\"\r\n");
    Start("[Option]\r\nAskToOverwrite=0\r\n", ("Parlevo.exe " + path).c_str());
    PumpUntil([&] { return WindowText(frame) == "Lumivex Parlevo - [de.lng]"; });
    ModalDriver driver([](HWND box) { PressButton(box, IDCANCEL); });
    EXPECT_TRUE(Run(CMD_FILE_SAVE));
    EXPECT_EQ(driver.Seen(), 0);
    EXPECT_EQ(HarnessReadFile(path), "103=\"Offnen\"\r\n");
}

TEST_F(Documents, MissingFileOpensAsAnEmptyDocumentThatSaveAsksANameFor)
{
    std::string path = dir + "nothere.lng";
    Start("", ("Parlevo.exe " + path).c_str());
    PumpUntil([&] { return WindowText(frame) == "Lumivex Parlevo - [nothere.lng]"; });
    EXPECT_GT(ListRowCount(view), 0);
    std::string suggested;
    ModalDriver driver([&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, 0x47C);
        HWND inner = FindWindowExA(edit, nullptr, "Edit", nullptr);
        suggested = WindowText(inner ? inner : edit);
        PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(CMD_FILE_SAVE), 0);
    EXPECT_EQ(driver.Seen(), 1);
    EXPECT_NE(suggested.find("nothere"), std::string::npos) << suggested;
}

// Marks the document modified as a confirmed translation does.
void Modify(HWND view)
{
    int row = ListNextRow(view, 0, LVNI_ALL);
    ListSetCell(view, row, kColumnTranslated, "geändert");
    GetViewState(view)->modified = TRUE;
    RefreshTitle(view);
}

TEST_F(Documents, ModifiedDocumentAsksBeforeCloseAndCancelKeepsIt)
{
    Start();
    Modify(view);
    EXPECT_EQ(WindowText(frame), "Lumivex Parlevo - [New*]");
    std::string question;
    ModalDriver cancel([&](HWND box) {
        question = MessageBoxText(box);
        PressButton(box, IDCANCEL);
    });
    EXPECT_EQ(Run(CMD_FILE_CLOSE), 0);
    EXPECT_NE(question.find("New"), std::string::npos);
    EXPECT_GT(ListRowCount(view), 0);
    // Closing the window is stopped as well.
    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ(cancel.Seen(), 2);
}

TEST_F(Documents, NoDiscardsAndYesSavesBeforeGoingOn)
{
    std::string path = HarnessWriteFile(dir + "de.lng", "103=\"Offnen\"\r\n");
    Start("[Option]\r\nAskToOverwrite=0\r\n", ("Parlevo.exe " + path).c_str());
    PumpUntil([&] { return WindowText(frame) == "Lumivex Parlevo - [de.lng]"; });
    Modify(view);
    {
        ModalDriver yes([](HWND box) { PressButton(box, IDYES); });
        EXPECT_TRUE(Run(CMD_FILE_NEW));
        EXPECT_EQ(yes.Seen(), 1);
    }
    EXPECT_NE(HarnessReadFile(path).find("geändert"), std::string::npos);
    EXPECT_EQ(WindowText(frame), "Lumivex Parlevo - [New]");
    Modify(view);
    {
        ModalDriver no([](HWND box) { PressButton(box, IDNO); });
        EXPECT_TRUE(Run(CMD_FILE_CLOSE));
        EXPECT_EQ(no.Seen(), 1);
    }
    EXPECT_EQ(ListRowCount(view), 0);
}

TEST_F(Documents, UnmodifiedDocumentNeverAsks)
{
    Start();
    ModalDriver driver([](HWND box) { PressButton(box, IDCANCEL); });
    EXPECT_TRUE(Run(CMD_FILE_NEW));
    EXPECT_TRUE(Run(CMD_FILE_CLOSE));
    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(driver.Seen(), 0);
}

TEST_F(Documents, FailedSaveAfterYesKeepsTheDocument)
{
    Start();
    Modify(view);
    int step = 0;
    ModalDriver driver([&](HWND dialog) {
        // The question, then the save dialog, which the user cancels.
        if (++step == 1)
            PressButton(dialog, IDYES);
        else
            PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(CMD_FILE_CLOSE), 0);
    EXPECT_EQ(driver.Seen(), 2);
    EXPECT_GT(ListRowCount(view), 0);
    EXPECT_TRUE(Vs()->modified);
}

// Opens path as File Open does, answering every message box with `answer`; the boxes' texts.
std::vector<std::string> OpenAnswering(HWND view, const std::string &path, int answer)
{
    std::vector<std::string> texts;
    ModalDriver driver([&](HWND box) {
        texts.push_back(MessageBoxText(box));
        PressButton(box, answer);
    });
    OpenDocument(view, path.c_str(), kOpenNamed);
    return texts;
}

TEST_F(Documents, HeaderOnlyFileIsTheDocumentsFileWithItsSignature)
{
    Start("[Option]\r\nAskToOverwrite=0\r\n");
    lstrcpynA(Vs()->signature, "Author: Anna\r\n", sizeof Vs()->signature);
    std::string path = dir + "header.lng";
    ModalDriver dialog([&](HWND d) { ChooseFile(d, path); });
    ASSERT_TRUE(Run(CMD_FILE_SAVE_AS));
    EXPECT_EQ(HarnessReadFile(path), "; Author: Anna\r\n\r\n");
    EXPECT_TRUE(Run(CMD_FILE_NEW));
    EXPECT_TRUE(OpenAnswering(view, path, IDOK).empty());
    EXPECT_STREQ(Vs()->signature, "Author: Anna\r\n");
    // File-backed: Ctrl+S writes without a dialog.
    EXPECT_TRUE(Run(CMD_FILE_SAVE));
    EXPECT_EQ(dialog.Seen(), 1);
}

TEST_F(Documents, FailedSaveSaysWhyAndKeepsTheDocumentModified)
{
    std::string path = HarnessWriteFile(dir + "ro.lng", "103=\"Offnen\"\r\n");
    Start("[Option]\r\nAskToOverwrite=0\r\n", ("Parlevo.exe " + path).c_str());
    PumpUntil([&] { return WindowText(frame) == "Lumivex Parlevo - [ro.lng]"; });
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    Modify(view);
    std::vector<std::string> texts;
    ModalDriver driver([&](HWND box) {
        texts.push_back(MessageBoxText(box));
        PressButton(box, texts.size() == 2 ? IDYES : IDOK);
    });
    EXPECT_EQ(Run(CMD_FILE_SAVE), 0);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], path + " could not be saved.\n\nAccess denied.");
    EXPECT_TRUE(Vs()->modified);
    // A Yes to "save the changes?" whose save fails says so too, and the document stays.
    EXPECT_EQ(Run(CMD_FILE_CLOSE), 0);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[2], texts[0]);
    EXPECT_EQ(WindowText(frame), "Lumivex Parlevo - [ro.lng*]");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(HarnessReadFile(path), "103=\"Offnen\"\r\n");
}

TEST_F(Documents, FileThatCannotBeReadIsNotOpenedAndTheDocumentStays)
{
    std::string path = HarnessWriteFile(dir + "de.lng", "103=\"Offnen\"\r\n");
    Start("", ("Parlevo.exe " + path).c_str());
    PumpUntil([&] { return WindowText(frame) == "Lumivex Parlevo - [de.lng]"; });
    std::string locked = HarnessWriteFile(dir + "locked.lng", "1=\"x\"\r\n");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::string folder = dir + "x.lng";
    CreateDirectoryA(folder.c_str(), nullptr);
    struct Row {
        std::string path, bytes, text;
    };
    const Row rows[] = {
        {locked, "", locked + " could not be opened.\n\nSharing violation."},
        {folder, "", folder + " could not be opened.\n\nAccess denied."},
        {dir + "u16.lng",
         std::string("\xFF\xFE"
                     "1\0=\0",
                     6),
         "u16.lng is a UTF-16 (little-endian) file. Language files are in the ANSI code page; it was not opened."},
        {dir + "ja.lng",
         "\xEF\xBB\xBF"
         "1=\"\xE3\x81\x82\"\r\n",
         "ja.lng is a UTF-8 file with characters the ANSI code page does not have. Language files are in the ANSI "
         "code page; it was not opened."},
    };
    for (const Row &row : rows) {
        if (!row.bytes.empty()) HarnessWriteFile(row.path, row.bytes);
        EXPECT_EQ(OpenAnswering(view, row.path, IDOK), std::vector<std::string>{row.text});
        EXPECT_EQ(WindowText(frame), "Lumivex Parlevo - [de.lng]") << row.path;
        EXPECT_TRUE(IsDocumentFileBacked(view));
    }
    CloseHandle(holder);
}

TEST_F(Documents, OpenSaysWhatItConvertedKeptAndAsksAboutOtherFiles)
{
    Start("[Option]\r\nAskToOverwrite=0\r\n");
    // Not a language file: asked; No leaves the document.
    std::string notes = HarnessWriteFile(dir + "notes.txt", "Notes\r\n\r\n1=\"a\"\r\nsee above\r\nend\r\n");
    EXPECT_EQ(OpenAnswering(view, notes, IDNO),
              std::vector<std::string>{"notes.txt does not look like a language file: 1 of 4 lines are "
                                       "translations. Open it anyway?"});
    EXPECT_EQ(WindowText(frame), "Lumivex Parlevo - [New]");
    // Two of three lines read as items: not asked. IDs 7 and 64000 are not in the module.
    std::string path =
        HarnessWriteFile(dir + "de.lng", "\xEF\xBB\xBF; Language: Deutsch\r\n\r\n64000=\"weg\"\r\n7=\"M\xC3\xBC"
                                         "de\"\r\n"
                                         "3=\"Bereit\"\r\nnote\r\n");
    EXPECT_EQ(OpenAnswering(view, path, IDOK),
              (std::vector<std::string>{"de.lng is a UTF-8 file. Its texts were converted to the ANSI code page, in "
                                        "which it will be saved.",
                                        "2 translations are for strings this module does not have; they are kept."}));
    EXPECT_STREQ(Vs()->signature, "Language: Deutsch\r\n");
    EXPECT_TRUE(Run(CMD_FILE_SAVE));
    EXPECT_EQ(HarnessReadFile(path), "; Language: Deutsch\r\n\r\n3=\"Bereit\"\r\n7=\"M\xFC"
                                     "de\"\r\n64000=\"weg\"\r\n");
    // A template holds the module's strings only.
    std::string tmpl = dir + "tmpl.lng";
    ModalDriver dialog([&](HWND d) { ChooseFile(d, tmpl); });
    ASSERT_TRUE(Run(CMD_FILE_SAVE_TEMPLATE));
    EXPECT_EQ(HarnessReadFile(tmpl).find("\r\n7="), std::string::npos);
    EXPECT_EQ(HarnessReadFile(tmpl).find("\r\n64000="), std::string::npos);
}

} // namespace
