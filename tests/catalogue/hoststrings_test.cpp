// Loading the host module and reading its string tables into the list: the sample module,
// modules built for the edge cases, Wine's own DLLs, and the notice when there is no module.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <string>
#include <vector>

#include "state/appstate.h"
#include "app/appwindows.h"
#include "state/messages.h"
#include "app/startup.h"
#include "catalogue/hostmodule.h"
#include "app/hostfill.h"
#include "catalogue/hoststrings.h"
#include "catalogue/stringblock.h"
#include "tests/catalogue/catalogue_testing.h"
#include "tests/support/winharness.h"
#include "view/list.h"

namespace
{

class HostStrings : public ::testing::Test
{
protected:
    void TearDown() override { HarnessStopApp(); }

    std::vector<ListRow> Open(const char *testModule)
    {
        HWND view = StartWithModule(TestModulePath(testModule));
        EXPECT_NE(view, nullptr);
        EXPECT_NE(HostModuleHandle(), nullptr) << TestModulePath(testModule);
        return view ? ReadRows(view) : std::vector<ListRow>{};
    }
};

ListRow Category(const char *title)
{
    return {0, "", title, ""};
}

ListRow String(UINT id, const char *text)
{
    return {id, std::to_string(id), text, ""};
}

int FocusedRow(HWND view)
{
    return ListNextRow(view, -1, LVNI_FOCUSED);
}

TEST_F(HostStrings, SampleModuleGivesEveryStringInIdOrderWithTheCategoriesInPlace)
{
    HWND view = StartWithModule(SampleModulePath());
    ASSERT_NE(view, nullptr);
    std::vector<ListRow> rows = ReadRows(view);
    ASSERT_EQ(rows.size(), 412u + 10u);
    EXPECT_EQ(rows[0], Category("Standard string"));
    EXPECT_EQ(rows[1], String(1, "Lumivex"));
    EXPECT_EQ(rows[2], String(2, "Lumivex Image Viewer"));
    EXPECT_EQ(rows.back(), String(65534, "Maker note: unknown format"));

    size_t categories = 0;
    UINT previous = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].value == 0) {
            // Each category row sits just before the string at its start ID.
            ASSERT_LT(i + 1, rows.size());
            size_t count = 0;
            const ::Category *table = CategoryTable(&count);
            ASSERT_LT(categories, count);
            EXPECT_EQ(rows[i].text, table[categories].title);
            EXPECT_EQ(rows[i + 1].value, table[categories].startId);
            EXPECT_EQ(rows[i].id, "");
            ++categories;
            continue;
        }
        EXPECT_GT(rows[i].value, previous) << "row " << i;
        previous = rows[i].value;
        EXPECT_EQ(rows[i].id, std::to_string(rows[i].value));
        EXPECT_EQ(rows[i].translated, "");
    }
    EXPECT_EQ(categories, 10u);

    auto text = [&](UINT id) {
        for (const ListRow &row : rows)
            if (row.value == id) return row.text;
        return std::string("<missing>");
    };
    // Line feeds stay bare, quotes single, and the accented letters come through the ANSI
    // code page (1252 here: × is 0xD7).
    EXPECT_EQ(text(56), "The image has been modified.\nSave changes to \"%s\"?");
    EXPECT_EQ(text(1024), "Original size: %d \xD7 %d pixels");
    EXPECT_EQ(text(69).size(), 234u);
    EXPECT_EQ(text(7), "<missing>");
    // The focus rule moves the focus from the "Standard string" row to the first string.
    EXPECT_EQ(FocusedRow(view), 1);
}

TEST_F(HostStrings, EmptyIdOneStillGetsTheStandardStringRow)
{
    EXPECT_EQ(Open("id1empty"), (std::vector<ListRow>{Category("Standard string"), String(2, "Second"),
                                                      String(3, "Third"), String(17, "Seventeen")}));
}

TEST_F(HostStrings, CategoryInAnAbsentBlockGetsNoRow)
{
    EXPECT_EQ(Open("catmissing"),
              (std::vector<ListRow>{Category("Standard string"), String(1, "One"), String(2, "Two"),
                                    String(95, "Ninety-five"), String(1010, "Ten-ten"),
                                    Category("Internal menu string"), String(30001, "Menu internal")}));
}

TEST_F(HostStrings, StringAtIdZeroReadsBackAsValueZero)
{
    EXPECT_EQ(
        Open("id0"),
        (std::vector<ListRow>{{0, "0", "Zero", ""}, Category("Standard string"), String(1, "One"), String(5, "Five")}));
}

TEST_F(HostStrings, BlockOfOnlyEmptyStringsEndsTheList)
{
    EXPECT_EQ(Open("emptyblock"),
              (std::vector<ListRow>{Category("Standard string"), String(1, "Block one"), String(20, "Block two"),
                                    String(40, "Block three"), String(50, "Block four")}));
}

TEST_F(HostStrings, MalformedBlocksGiveDefinedRows)
{
    // The overlong length is cut at the block's end; the named table is passed over.
    EXPECT_EQ(Open("malformed"), (std::vector<ListRow>{Category("Standard string"), String(1, "One"), String(16, "A"),
                                                       String(17, "B"), String(32, "Thirty-two")}));
}

TEST_F(HostStrings, LongTextsAreCutOnACharacterBoundary)
{
    std::vector<ListRow> rows = Open("longtext");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1].text, std::string(251, '\xE9'));
    EXPECT_EQ(rows[2].text, std::string(250, 'a') + "\x80");
    // A surrogate pair is converted whole or not at all.
    const WCHAR pair[] = {0xD83D, 0xDE00};
    char converted[8];
    int pairBytes = WideCharToMultiByte(CP_ACP, 0, pair, 2, converted, sizeof converted, nullptr, nullptr);
    std::string expected(250, 'a');
    if (pairBytes == 1) expected += converted[0];
    EXPECT_EQ(rows[3].text, expected);
    EXPECT_EQ(rows[4].text, std::string(251, 'z'));
}

TEST_F(HostStrings, ConversionOfALongTextNeverPassesTheCell)
{
    std::wstring text(600, L'\x00E9');
    char out[kTextSize + 4];
    memset(out, '#', sizeof out);
    EXPECT_EQ(ConvertSourceText(text.c_str(), int(text.size()), out), kTextSize - 1);
    EXPECT_EQ(out[kTextSize - 1], '\0');
    EXPECT_EQ(out[kTextSize], '#');
    EXPECT_EQ(ConvertSourceText(L"", 0, out), 0);
    EXPECT_STREQ(out, "");
}

TEST_F(HostStrings, DoubleByteTextIsNeverCutInsideACharacter)
{
    // In code page 932 every one of these takes two bytes: 125 fit in 251 bytes, not 125.5.
    if (!IsValidCodePage(932)) GTEST_SKIP() << "code page 932 is not installed";
    std::wstring text(200, L'\x65E5');
    char out[kTextSize];
    EXPECT_EQ(ConvertSourceTextTo(932, text.c_str(), int(text.size()), out), 250);
    EXPECT_EQ(std::string(out).size(), 250u);
    EXPECT_EQ(std::string(out).substr(0, 2), "\x93\xFA");
    // One single-byte letter first: now exactly 251 bytes fit.
    text = L"a" + text;
    EXPECT_EQ(ConvertSourceTextTo(932, text.c_str(), int(text.size()), out), 251);
}

// What the platform's own LoadStringA reads from a module, in the order and with the stop
// rule of the list: every block in ascending order up to the first without a string.
BOOL CALLBACK CollectBlock(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<UINT> *>(param)->push_back(UINT(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

std::vector<ListRow> ExpectedFromLoadString(HMODULE module)
{
    std::vector<UINT> blocks;
    EnumResourceNamesA(module, RT_STRING, CollectBlock, reinterpret_cast<LONG_PTR>(&blocks));
    std::vector<ListRow> rows;
    for (UINT block : blocks) {
        size_t strings = 0;
        for (UINT id = (block - 1) * 16; id < block * 16; ++id) {
            if (const char *title = CategoryTitleAt(id)) rows.push_back(Category(title));
            char text[kTextSize];
            if (LoadStringA(module, id, text, sizeof text) <= 0) continue;
            rows.push_back(String(id, text));
            ++strings;
        }
        if (strings == 0) break;
    }
    return rows;
}

// The machine a loaded module was built for, read from its PE header (a data-file handle
// carries flags in its low bits).
WORD ModuleMachine(HMODULE module)
{
    auto *base = reinterpret_cast<const BYTE *>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR(3));
    auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    if (!base || dos->e_magic != IMAGE_DOS_SIGNATURE) return 0;
    auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(base + dos->e_lfanew);
    return nt->Signature == IMAGE_NT_SIGNATURE ? nt->FileHeader.Machine : 0;
}

void ExpectWineModuleRead(int bits, const char *name)
{
    std::string original = WineModulePath(bits, name);
    if (original.empty()) GTEST_SKIP() << "Wine's " << bits << "-bit " << name << " is not installed";
    // Under a name of its own, so that Wine cannot hand out its built-in DLL instead.
    std::string path = HarnessTempDir() + "host" + std::to_string(bits) + ".dll";
    ASSERT_TRUE(CopyFileA(original.c_str(), path.c_str(), FALSE));
    HWND view = StartWithModule(path);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(HostModuleHandle(), nullptr) << path;
    EXPECT_EQ(ModuleMachine(HostModuleHandle()), bits == 64 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386);
    std::vector<ListRow> rows = ReadRows(view);
    std::vector<ListRow> expected = ExpectedFromLoadString(HostModuleHandle());
    ASSERT_GT(expected.size(), 10u);
    EXPECT_EQ(rows.size(), expected.size());
    EXPECT_TRUE(rows == expected) << Describe(rows).substr(0, 2000) << "---\n" << Describe(expected).substr(0, 2000);
}

TEST_F(HostStrings, WineDll64BitFillsTheRowsLoadStringReads)
{
    ExpectWineModuleRead(64, "comdlg32.dll");
}

TEST_F(HostStrings, WineDll32BitFillsTheRowsLoadStringReads)
{
    ExpectWineModuleRead(32, "comdlg32.dll");
}

TEST_F(HostStrings, ModuleCodeNeverRuns)
{
    SetEnvironmentVariableA("PARLEVO_MODULE_CODE_RAN", nullptr);
    std::vector<ListRow> rows = Open("withcode");
    char mark[8];
    EXPECT_EQ(GetEnvironmentVariableA("PARLEVO_MODULE_CODE_RAN", mark, sizeof mark), 0u);
    EXPECT_EQ(rows, (std::vector<ListRow>{Category("Standard string"), String(1, "Code module")}));
    // The same module loaded the ordinary way does run its code: the mark is a real witness.
    HMODULE ordinary = LoadLibraryA(TestModulePath("withcode").c_str());
    ASSERT_NE(ordinary, nullptr);
    EXPECT_GT(GetEnvironmentVariableA("PARLEVO_MODULE_CODE_RAN", mark, sizeof mark), 0u);
    FreeLibrary(ordinary);
}

TEST_F(HostStrings, PathWithEnvironmentReferenceIsExpandedForLoadingAndKeptAsWritten)
{
    std::string dir = TestModulePath("id0");
    dir = dir.substr(0, dir.rfind('\\'));
    SetEnvironmentVariableA("PARLEVO_TEST_MODULES", dir.c_str());
    HWND view = StartWithModule("%PARLEVO_TEST_MODULES%\\id0.dll");
    ASSERT_NE(view, nullptr);
    EXPECT_NE(HostModuleHandle(), nullptr);
    char path[MAX_PATH];
    GetModulePath(path, sizeof path);
    EXPECT_STREQ(path, "%PARLEVO_TEST_MODULES%\\id0.dll");
    EXPECT_EQ(ListRowCount(view), 4);
    SetEnvironmentVariableA("PARLEVO_TEST_MODULES", nullptr);
}

TEST_F(HostStrings, LoadAndUnloadReportWhatHappened)
{
    HarnessStartApp("[Module]\r\nFilename=" + TestModulePath("does-not-exist") + "\r\n");
    EXPECT_EQ(HostModuleHandle(), nullptr);
    EXPECT_FALSE(UnloadHostModule());
    EXPECT_TRUE(LoadHostModule());

    HarnessStartApp("[Module]\r\nFilename=" + TestModulePath("id0") + "\r\n");
    EXPECT_NE(HostModuleHandle(), nullptr);
    EXPECT_TRUE(UnloadHostModule());
    EXPECT_EQ(HostModuleHandle(), nullptr);
    EXPECT_FALSE(UnloadHostModule());

    // SaveModulePath writes the path as it stands; LoadHostModule reads it back.
    SetModulePath("%SOMEWHERE%\\Lumivex.dll");
    EXPECT_TRUE(SaveModulePath());
    SetModulePath("");
    LoadHostModule();
    char path[MAX_PATH];
    GetModulePath(path, sizeof path);
    EXPECT_STREQ(path, "%SOMEWHERE%\\Lumivex.dll");
    EXPECT_EQ(HostModuleHandle(), nullptr);
}

static bool CollectRow(void *context, const HostRow &row)
{
    static_cast<std::vector<std::string> *>(context)->push_back(std::string(row.idText) + "|" + row.text);
    return true;
}

static bool RefuseRow(void *, const HostRow &) { return false; }

TEST_F(HostStrings, ReadStringBlockHandsOverItsRowsAndCountsStringRowsOnly)
{
    ASSERT_NE(StartWithModule(TestModulePath("id0")), nullptr);
    // Block 1 of id0: ID 0, the "Standard string" row, 1 and 5.
    std::vector<std::string> rows;
    EXPECT_EQ(ReadStringBlock(HostModuleHandle(), 1, CollectRow, &rows), 3);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].substr(0, 2), "0|");
    EXPECT_EQ(rows[1], "|Standard string");
    EXPECT_EQ(ReadStringBlock(HostModuleHandle(), 2, CollectRow, &rows), 0);
    EXPECT_EQ(ReadStringBlock(HostModuleHandle(), 0, CollectRow, &rows), 0);
    EXPECT_EQ(ReadStringBlock(nullptr, 1, CollectRow, &rows), 0);
    EXPECT_EQ(rows.size(), 4u);
    // A sink that stops takes nothing, and the reading of the module ends there.
    EXPECT_EQ(ReadStringBlock(HostModuleHandle(), 1, RefuseRow, nullptr), 0);
    EXPECT_TRUE(ReadHostStrings(HostModuleHandle(), RefuseRow, nullptr));
    EXPECT_FALSE(ReadHostStrings(nullptr, CollectRow, &rows));
}

TEST_F(HostStrings, ReopenEmptiesTheListFirst)
{
    HWND view = StartWithModule(TestModulePath("id1empty"));
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(ListRowCount(view), 4);
    ASSERT_TRUE(SendMessageA(view, kMsgOpenDocument, kOpenNew, reinterpret_cast<LPARAM>("")));
    EXPECT_EQ(ListRowCount(view), 4);
    SendMessageA(view, kMsgOpenDocument, kOpenClose, reinterpret_cast<LPARAM>(""));
    EXPECT_EQ(ListRowCount(view), 0);
}

TEST_F(HostStrings, MissingModuleShowsTheNoticeThenTheModulePageAlone)
{
    HarnessStartApp("");
    std::vector<std::string> seen;
    int pages = -1;
    ModalDriver driver([&](HWND dialog) {
        seen.push_back(WindowText(dialog));
        if (HWND tabs = PropSheet_GetTabControl(dialog)) {
            pages = TabCtrl_GetItemCount(tabs);
            EXPECT_NE(FindWindowExA(PropSheet_GetCurrentPageHwnd(dialog), nullptr, nullptr, nullptr), nullptr);
            PressButton(dialog, IDCANCEL);
        } else {
            EXPECT_EQ(MessageBoxText(dialog),
                      "This program requires path information of program(Lumivex).\nYou should set the path for "
                      "\"Lumivex.dll\" file in preferences.");
            PressButton(dialog, IDOK);
        }
    });
    HWND frame = StartFrame(GetModuleHandleA(nullptr), "Parlevo.exe", SW_SHOWNORMAL);
    ASSERT_NE(frame, nullptr);
    PumpUntil([&] { return seen.size() >= 2; });
    PumpMessages();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "Parlevo");
    EXPECT_EQ(pages, 1);
    // The open failed: no rows, and the title was not refreshed by it.
    HWND view = ViewOfFrame(frame);
    EXPECT_EQ(ListRowCount(view), 0);
    EXPECT_EQ(WindowText(frame).find(" - ["), std::string::npos);
    EXPECT_FALSE(FillHostStrings(nullptr));
}

TEST_F(HostStrings, UnusableModuleNoticeSaysWhichCaseItIs)
{
    std::string dir = HarnessTempDir();
    std::string module = HarnessReadFile(TestModulePath("id0"));
    const char *notModule = " is not a module (not a Windows program file).";
    const char *damaged = " is damaged and cannot be read.";
    const struct {
        std::string path;
        ModuleProblem problem;
        const char *lead;
        const char *says;
    } cases[] = {
        {TestModulePath("does-not-exist"), kModuleNotFound, "The module ", " was not found."},
        {HarnessWriteFile(dir + "notes.dll", "1=\"One\"\r\n"), kModuleNotAModule, "", notModule},
        {dir, kModuleNotAModule, "", notModule},
        {TestModulePath("nostrings"), kModuleNoStringTables, "The module ", " holds no string tables."},
        {HarnessWriteFile(dir + "cut.dll", module.substr(0, 1024)), kModuleDamaged, "The module ", damaged},
        {HarnessWriteFile(dir + "cutheader.dll", module.substr(0, 200)), kModuleDamaged, "The module ", damaged},
    };
    for (const auto &c : cases) {
        HarnessStartApp("[Module]\r\nFilename=" + c.path + "\r\n");
        EXPECT_EQ(HostModuleHandle(), nullptr) << c.path;
        EXPECT_EQ(HostModuleProblem(), c.problem) << c.path;
        std::string text;
        ModalDriver driver([&](HWND dialog) {
            // The notice is titled with the program's name; anything else is the sheet, which a
            // loaded machine may hand over before its tab control exists.
            if (WindowText(dialog) != "Parlevo") {
                PressButton(dialog, IDCANCEL);
                return;
            }
            text = MessageBoxText(dialog);
            PressButton(dialog, IDOK);
        });
        HWND frame = StartFrame(GetModuleHandleA(nullptr), "Parlevo.exe", SW_SHOWNORMAL);
        ASSERT_NE(frame, nullptr);
        PumpUntil([&] { return driver.Seen() >= 2; });
        EXPECT_EQ(text, c.lead + c.path + c.says + "\nYou should set the path for \"Lumivex.dll\" file in preferences.")
            << c.path;
    }
}

} // namespace
