// The host module: its string tables read into the list, the notice when there is none, and the
// Module page, in a sheet of the test's own, whose Apply saves the path and reloads the module.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <tuple>

#include "app/hostfill.h"
#include "state/appstate.h"
#include "catalogue/hostmodule.h"
#include "catalogue/hoststrings.h"
#include "catalogue/modulepage.h"
#include "catalogue/stringblock.h"
#include "res/resource.h"
#include "tests/support/apptest.h"

namespace
{

using HostStrings = AppTest;

ListRow String(UINT id, const std::string &text)
{
    return {id, std::to_string(id), text, ""};
}

// G for each of New, Open, Exit and Preferences greyed on the frame's menu, else -.
std::string Greys(HWND frame)
{
    std::string greys;
    for (UINT command : {CMD_FILE_NEW, CMD_FILE_OPEN, CMD_FILE_EXIT, CMD_OPTIONS_PREFERENCES})
        greys += GetMenuState(GetMenu(frame), command, MF_BYCOMMAND) & MF_GRAYED ? 'G' : '-';
    return greys;
}

TEST_F(HostStrings, EdgeCaseModulesGiveDefinedRowsTheirCodeNeverRunsAndBlocksHandOverTheirRows)
{
    const auto path = [] {
        char p[MAX_PATH];
        return GetModulePath(p, sizeof p), std::string(p);
    };
    std::string cutPair(250, 'a'); // a surrogate pair is converted whole or not at all
    char pair[8];
    if (WideCharToMultiByte(CP_ACP, 0, L"\U0001F600", 2, pair, sizeof pair, nullptr, nullptr) == 1) cutPair += pair[0];
    const ListRow standard = {0, "", "Standard string", ""};
    SetEnvironmentVariableA("PARLEVO_MODULE_CODE_RAN", nullptr);
    // The path is expanded for loading and kept as written.
    std::string dir = TestModulePath("edges");
    SetEnvironmentVariableA("PARLEVO_TEST_MODULES", dir.substr(0, dir.rfind('\\')).c_str());
    view = StartWithModule("%PARLEVO_TEST_MODULES%\\edges.dll");
    SetEnvironmentVariableA("PARLEVO_TEST_MODULES", nullptr);
    EXPECT_EQ(path(), "%PARLEVO_TEST_MODULES%\\edges.dll");
    // A reopen empties the list first.
    ASSERT_TRUE(SendMessageA(view, kMsgOpenDocument, kOpenNew, LPARAM("")));
    EXPECT_EQ(ReadRows(view), (std::vector<ListRow>{String(0, "Zero"),
                                                    standard,
                                                    String(2, "Two"),
                                                    String(5, "Five"),
                                                    String(16, "A"),
                                                    String(17, "B"),
                                                    String(32, "Thirty-two"),
                                                    String(48, cutPair),
                                                    String(49, std::string(251, 'z')),
                                                    String(95, "Ninety-five"),
                                                    String(1010, "Ten-ten"),
                                                    {0, "", "Internal menu string", ""},
                                                    String(30001, "Menu internal")}));
    HMODULE module = HostModuleHandle();
    // Only strings count; a missing block, block 0 and no module give nothing. A sink that stops
    // takes nothing, and the reading of the module ends there.
    const HostRowSink refuse = [](void *, const HostRow &) { return false; };
    const HostRowSink collect = [](void *rows, const HostRow &row) {
        return *static_cast<std::string *>(rows) += std::string(row.idText) + "|" + row.text + " ", true;
    };
    std::string rows;
    const int counts[] = {ReadStringBlock(module, 1, collect, &rows),  ReadStringBlock(module, 5, collect, &rows),
                          ReadStringBlock(module, 0, collect, &rows),  ReadStringBlock(nullptr, 1, collect, &rows),
                          ReadStringBlock(module, 1, refuse, nullptr), ReadHostStrings(module, refuse, nullptr),
                          ReadHostStrings(nullptr, collect, &rows)};
    EXPECT_EQ(rows + testing::PrintToString(counts), "0|Zero |Standard string 2|Two 5|Five { 3, 0, 0, 0, 0, 1, 0 }");
    // Unload says whether there was a module; SaveModulePath writes the path as it stands.
    EXPECT_TRUE(UnloadHostModule() && !UnloadHostModule());
    SetModulePath("%SOMEWHERE%\\Lumivex.dll");
    EXPECT_TRUE(SaveModulePath());
    SetModulePath("");
    EXPECT_TRUE(LoadHostModule()); // always succeeds; the handle tells
    EXPECT_EQ(path() + (HostModuleHandle() ? " loaded" : ""), "%SOMEWHERE%\\Lumivex.dll");
    EXPECT_EQ(ReadRows(StartWithModule(TestModulePath("withcode"))),
              (std::vector<ListRow>{standard, String(1, "Code module")}));
    // Loaded the ordinary way, its code leaves the mark, so the mark's absence before is a witness.
    const auto ran = [] { return GetEnvironmentVariableA("PARLEVO_MODULE_CODE_RAN", nullptr, 0) > 0; };
    EXPECT_FALSE(ran());
    FreeLibrary(LoadLibraryA(TestModulePath("withcode").c_str()));
    EXPECT_TRUE(ran());
}

TEST_F(HostStrings, ConversionCutsOnACharacterBoundaryAndNeverPassesTheCell)
{
    std::wstring text(600, L'\x00E9');
    char out[kTextSize + 4];
    memset(out, '#', sizeof out);
    EXPECT_EQ(ConvertSourceText(text.c_str(), int(text.size()), out), kTextSize - 1);
    EXPECT_EQ(std::string(out, kTextSize + 1), std::string(kTextSize - 1, '\xE9') + '\0' + '#');
    EXPECT_EQ(ConvertSourceText(L"", 0, out) + strlen(out), 0u);
    // In code page 932 each takes two bytes: 125 fit in 251 bytes, and 125 after a one-byte letter.
    if (!IsValidCodePage(932)) GTEST_SKIP() << "code page 932 is not installed";
    text.assign(200, L'\x65E5');
    EXPECT_EQ(ConvertSourceTextTo(932, text.c_str(), int(text.size()), out), 250);
    EXPECT_EQ(std::string(out).substr(248), "\x93\xFA");
    text = L"a" + text;
    EXPECT_EQ(ConvertSourceTextTo(932, text.c_str(), int(text.size()), out), 251);
}

// What the platform's own LoadStringA reads from a module, in the order and with the stop
// rule of the list: every block in ascending order up to the first without a string.
std::vector<ListRow> ExpectedFromLoadString(HMODULE module)
{
    std::vector<ListRow> rows;
    for (UINT block = 1; block <= 4096; ++block) {
        if (!FindResourceA(module, MAKEINTRESOURCEA(block), RT_STRING)) continue;
        bool any = false;
        for (UINT id = (block - 1) * 16; id < block * 16; ++id) {
            if (const char *title = CategoryTitleAt(id)) rows.push_back({0, "", title, ""});
            char text[kTextSize];
            if (LoadStringA(module, id, text, sizeof text) <= 0) continue;
            rows.push_back(String(id, text));
            any = true;
        }
        if (!any) break;
    }
    return rows;
}

TEST_F(HostStrings, SampleModuleAndWineDllsOfBothBitnessesFillTheRowsLoadStringReads)
{
    HWND sample = StartWithModule(SampleModulePath());
    std::vector<ListRow> rows = ReadRows(sample);
    EXPECT_EQ(rows, ExpectedFromLoadString(HostModuleHandle()));
    // 412 strings and 10 categories; the focus moves from the "Standard string" row to the first string.
    EXPECT_EQ(std::to_string(rows.size()) + (rows.empty() ? "" : " " + rows.back().id + " " + rows.back().text) + " " +
                  std::to_string(ListNextRow(sample, -1, LVNI_FOCUSED)),
              "422 65534 Maker note: unknown format 1");
    for (const char *dir : {"x86_64-linux-gnu\\wine\\x86_64-windows", "i386-linux-gnu\\wine\\i386-windows"}) {
        std::string original = std::string("Z:\\usr\\lib\\") + dir + "\\comdlg32.dll";
        if (!HarnessFileExists(original)) continue; // not installed
        // Under a name of its own, so that Wine cannot hand out its built-in DLL instead.
        std::string path = HarnessTempDir() + "host.dll";
        ASSERT_TRUE(CopyFileA(original.c_str(), path.c_str(), FALSE));
        view = StartWithModule(path);
        std::vector<ListRow> expected = ExpectedFromLoadString(HostModuleHandle());
        ASSERT_GT(expected.size(), 10u) << dir;
        EXPECT_EQ(ReadRows(view), expected) << dir;
    }
}

TEST_F(HostStrings, UnusableModuleGivesTheNoticeOfItsCaseThenTheModulePageAlone)
{
    std::string dir = HarnessTempDir(), module = HarnessReadFile(TestModulePath("edges"));
    const char *notModule = " is not a module (not a Windows program file).";
    const std::pair<std::string, std::string> rows[] = {
        {"", "This program requires path information of program(Lumivex)."},
        {TestModulePath("missing"), "The module " + TestModulePath("missing") + " was not found."},
        {HarnessWriteFile(dir + "notes.dll", "1=\"One\"\r\n"), dir + "notes.dll" + notModule},
        {dir, dir + notModule},
        {TestModulePath("nostrings"), "The module " + TestModulePath("nostrings") + " holds no string tables."},
        {HarnessWriteFile(dir + "cut.dll", module.substr(0, 1024)),
         "The module " + dir + "cut.dll is damaged and cannot be read."}};
    for (const auto &[path, says] : rows) {
        std::vector<std::string> seen;
        int pages = -1;
        ModalDriver driver([&](HWND dialog) {
            // The notice (titled with the program's name), then the sheet, maybe before its tabs exist.
            seen.push_back(WindowText(dialog) == "Parlevo" ? MessageBoxText(dialog) : "sheet");
            if (HWND tabs = PropSheet_GetTabControl(dialog)) pages = TabCtrl_GetItemCount(tabs);
            PressButton(dialog, seen.size() == 1 ? IDOK : IDCANCEL);
        });
        frame = StartProgram(path.empty() ? "" : "[Module]\r\nFilename=" + path + "\r\n");
        ASSERT_NE(frame, nullptr);
        PumpUntil([&] { return seen.size() >= 2; });
        // The Module page alone; the open failed: no rows, no document in the title, and nothing
        // that needs a module.
        seen.push_back(std::to_string(path.empty() ? pages : 1) + " " +
                       std::to_string(ListRowCount(ViewOfFrame(frame))) + " " + WindowText(frame) + " " + Greys(frame));
        EXPECT_EQ(seen,
                  (std::vector<std::string>{says + "\nYou should set the path for \"Lumivex.dll\" file in preferences.",
                                            "sheet", "1 0 Lumivex Parlevo GG--"}));
    }
    EXPECT_FALSE(FillHostStrings(nullptr));
}

// A modeless sheet holding only the Module page, owned by the view as the real one is.
HWND OpenModulePage(HWND view, HWND *page)
{
    PROPSHEETPAGEA psp = {sizeof psp, 0, GetModuleHandleA(nullptr), {MAKEINTRESOURCEA(IDD_MODULE)}};
    psp.pfnDlgProc = ModulePageProc;
    psp.lParam = LPARAM(view);
    HPROPSHEETPAGE handle = CreatePropertySheetPageA(&psp);
    PROPSHEETHEADERA psh = {sizeof psh, PSH_MODELESS, view, GetModuleHandleA(nullptr), {}, nullptr, 1};
    psh.phpage = &handle;
    HWND sheet = HWND(PropertySheetA(&psh));
    // Under load Wine may make the page only after the sheet has shown.
    EXPECT_TRUE(PumpUntil([&] { return (*page = PropSheet_GetCurrentPageHwnd(sheet)) != nullptr; }));
    return sheet;
}

TEST_F(HostStrings, ModulePageApplySaysWhyAModuleIsUnusableOrSavesThePathAndReloadsWithoutRefilling)
{
    // Whether a module is loaded, the commands greyed, and the path saved.
    const auto state = [&] {
        char saved[MAX_PATH];
        GetPrivateProfileStringA("Module", "Filename", "", saved, sizeof saved, AppSettingsPath());
        return std::string(HostModuleHandle() ? "loaded " : "none ") + Greys(frame) + " saved=" + saved;
    };
    // Without a view Apply changes nothing.
    HarnessStartApp(SampleModuleIni());
    HWND page, sheet = OpenModulePage(nullptr, &page);
    SetDlgItemTextA(page, IDC_MODULE_PATH, "C:\\elsewhere.dll");
    PropSheet_Apply(sheet);
    PumpMessages();
    EXPECT_EQ(state(), "loaded GGGG saved=" + SampleModulePath()); // no frame, no menu
    DestroyWindow(sheet);
    Start();
    int rows = ListRowCount(view);
    SetModulePath("%LUMIVEX_HOME%\\Lumivex.dll");
    sheet = OpenModulePage(view, &page);
    HWND apply = GetDlgItem(sheet, 0x3021);
    EXPECT_EQ(WindowText(GetDlgItem(page, IDC_MODULE_PATH)) + (IsWindowEnabled(apply) ? " apply" : ""),
              "%LUMIVEX_HOME%\\Lumivex.dll"); // unexpanded
    std::string missing = TestModulePath("does-not-exist");
    SetDlgItemTextA(page, IDC_MODULE_PATH, missing.c_str());
    std::string said;
    ModalDriver driver([&](HWND box) {
        if (box == sheet) return; // active again after the box
        said = MessageBoxText(box);
        PressButton(box, IDOK);
    });
    PropSheet_Apply(sheet);
    PumpMessages();
    EXPECT_EQ(said.substr(0, said.find('\n')) + "|" + state() + (ListRowCount(view) == rows ? "" : " emptied"),
              "The module " + missing + " was not found.|none GG-- saved=" + missing);
    ListSetCell(view, 1, kColumnText, "as shown");
    SetDlgItemTextA(page, IDC_MODULE_PATH, SampleModulePath().c_str());
    PumpMessages();
    SetFocus(apply);
    SendMessageA(apply, BM_CLICK, 0, 0);
    PumpMessages();
    // Nothing is refilled: the rows shown stay until the next open.
    EXPECT_EQ(state() + (IsWindowEnabled(apply) ? " apply" : "") +
                  (GetFocus() == GetDlgItem(page, IDC_MODULE_PATH) ? " focus on the path " : " ") +
                  Cell(1, kColumnText),
              "loaded ---- saved=" + SampleModulePath() + " focus on the path as shown");
}

} // namespace
