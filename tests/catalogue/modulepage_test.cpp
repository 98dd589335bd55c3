// The Module page in a sheet of the test's own: Apply saves the path and reloads the module.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include "state/appstate.h"
#include "catalogue/hostmodule.h"
#include "catalogue/modulepage.h"
#include "res/resource.h"
#include "tests/support/apptest.h"

namespace
{

class ModulePage : public AppTest
{
protected:
    HWND sheet = nullptr, page = nullptr;

    void TearDown() override
    {
        if (IsWindow(sheet)) DestroyWindow(sheet);
        AppTest::TearDown();
    }
    // A modeless sheet holding only the Module page, owned by the view as the real one is.
    void OpenPage()
    {
        PROPSHEETPAGEA psp = {sizeof psp};
        psp.hInstance = GetModuleHandleA(nullptr);
        psp.pszTemplate = MAKEINTRESOURCEA(IDD_MODULE);
        psp.pfnDlgProc = ModulePageProc;
        psp.lParam = LPARAM(view);
        HPROPSHEETPAGE handle = CreatePropertySheetPageA(&psp);
        PROPSHEETHEADERA psh = {sizeof psh, PSH_MODELESS, view, GetModuleHandleA(nullptr)};
        psh.nPages = 1;
        psh.phpage = &handle;
        sheet = HWND(PropertySheetA(&psh));
        // Under load Wine may make the page only after the sheet has shown.
        PumpUntil([&] { return (page = PropSheet_GetCurrentPageHwnd(sheet)) != nullptr; });
        ASSERT_NE(page, nullptr);
    }
    HWND Apply() const { return GetDlgItem(sheet, 0x3021); }
    // Whether a module is loaded, the File menu commands greyed, and the path saved.
    std::string State() const
    {
        char saved[MAX_PATH];
        GetPrivateProfileStringA("Module", "Filename", "", saved, sizeof saved, AppSettingsPath());
        auto greyed = [&](UINT command) { return GetMenuState(GetMenu(frame), command, MF_BYCOMMAND) & MF_GRAYED; };
        return std::string(HostModuleHandle() ? "loaded" : "none") + (greyed(CMD_FILE_NEW) ? " new-greyed" : "") +
               (greyed(CMD_FILE_OPEN) ? " open-greyed" : "") + " saved=" + saved;
    }
};

TEST_F(ModulePage, ApplySaysWhyAModuleIsUnusableOrSavesThePathAndReloadsWithoutRefilling)
{
    Start();
    int rows = ListRowCount(view);
    SetModulePath("%LUMIVEX_HOME%\\Lumivex.dll");
    OpenPage();
    EXPECT_EQ(WindowText(GetDlgItem(page, IDC_MODULE_PATH)), "%LUMIVEX_HOME%\\Lumivex.dll"); // unexpanded
    EXPECT_FALSE(IsWindowEnabled(Apply()));
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
    EXPECT_EQ(said.substr(0, said.find('\n')), "The module " + missing + " was not found.");
    EXPECT_EQ(State(), "none new-greyed open-greyed saved=" + missing);
    EXPECT_EQ(ListRowCount(view), rows);
    ListSetCell(view, 1, kColumnText, "as shown");
    SetDlgItemTextA(page, IDC_MODULE_PATH, SampleModulePath().c_str());
    PumpMessages();
    ASSERT_TRUE(IsWindowEnabled(Apply()));
    SetFocus(Apply());
    SendMessageA(Apply(), BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindowEnabled(Apply()));
    EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_MODULE_PATH));
    EXPECT_EQ(State(), "loaded saved=" + SampleModulePath());
    // Nothing is refilled: the rows shown stay until the next open.
    EXPECT_EQ(Cell(1, kColumnText), "as shown");
}

TEST_F(ModulePage, ApplyWithoutAViewChangesNothing)
{
    HarnessStartApp(SampleModuleIni());
    OpenPage();
    SetDlgItemTextA(page, IDC_MODULE_PATH, "C:\\elsewhere.dll");
    PropSheet_Apply(sheet);
    PumpMessages();
    EXPECT_EQ(State(), "loaded new-greyed open-greyed saved=" + SampleModulePath());
}

} // namespace
