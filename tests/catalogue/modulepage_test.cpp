// The Module page (dialog 106) in a sheet of the test's own: its texts, the changed state
// that enables Apply, and Apply saving the path and reloading the module.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "state/appstate.h"
#include "app/appwindows.h"
#include "app/startup.h"
#include "catalogue/hostmodule.h"
#include "catalogue/modulepage.h"
#include "res/resource.h"
#include "tests/catalogue/catalogue_testing.h"
#include "tests/support/winharness.h"
#include "view/list.h"

namespace
{

constexpr int kApplyButton = 0x3021;

class ModulePage : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (sheet_ && IsWindow(sheet_)) DestroyWindow(sheet_);
        HarnessStopApp();
    }

    // A modeless sheet holding only the Module page, owned by the view as the real one is.
    HWND OpenPage(HWND view)
    {
        PROPSHEETPAGEA psp = {};
        psp.dwSize = sizeof psp;
        psp.hInstance = GetModuleHandleA(nullptr);
        psp.pszTemplate = MAKEINTRESOURCEA(IDD_MODULE);
        psp.pfnDlgProc = ModulePageProc;
        psp.lParam = reinterpret_cast<LPARAM>(view);
        HPROPSHEETPAGE page = CreatePropertySheetPageA(&psp);
        PROPSHEETHEADERA psh = {};
        psh.dwSize = sizeof psh;
        psh.dwFlags = PSH_MODELESS;
        psh.hwndParent = view;
        psh.hInstance = GetModuleHandleA(nullptr);
        psh.pszCaption = "Test";
        psh.nPages = 1;
        psh.phpage = &page;
        sheet_ = reinterpret_cast<HWND>(PropertySheetA(&psh));
        // Under load Wine may make the page only after the sheet has shown.
        if (sheet_) PumpUntil([&] { return PropSheet_GetCurrentPageHwnd(sheet_) != nullptr; });
        PumpMessages();
        return sheet_ ? PropSheet_GetCurrentPageHwnd(sheet_) : nullptr;
    }

    bool ApplyEnabled() const { return IsWindowEnabled(GetDlgItem(sheet_, kApplyButton)) != FALSE; }

    HWND sheet_ = nullptr;
};

UINT MenuState(HWND view, UINT command)
{
    return GetMenuState(GetMenu(GetParent(view)), command, MF_BYCOMMAND);
}

TEST_F(ModulePage, ShowsItsTextsAndTheUnexpandedPathWithoutMarkingAChange)
{
    HWND view = StartWithModule(SampleModulePath());
    ASSERT_NE(view, nullptr);
    SetModulePath("%LUMIVEX_HOME%\\Lumivex.dll");
    HWND page = OpenPage(view);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(page, IDC_MODULE_LABEL)), "Filename");
    EXPECT_EQ(WindowText(GetDlgItem(page, IDC_MODULE_BROWSE)), "&Browse...");
    EXPECT_EQ(WindowText(GetDlgItem(page, IDC_MODULE_PATH)), "%LUMIVEX_HOME%\\Lumivex.dll");
    EXPECT_FALSE(ApplyEnabled());
    SetDlgItemTextA(page, IDC_MODULE_PATH, "C:\\other\\Lumivex.dll");
    EXPECT_TRUE(ApplyEnabled());
}

TEST_F(ModulePage, ApplySavesThePathReloadsTheModuleAndEnablesNewAndOpen)
{
    HarnessStartApp("[Module]\r\nFilename=C:\\nowhere\\Lumivex.dll\r\n");
    HWND frame = nullptr;
    {
        // The notice, then the sheet it opens: both are dismissed.
        ModalDriver driver([](HWND dialog) { PressButton(dialog, PropSheet_GetTabControl(dialog) ? IDCANCEL : IDOK); });
        frame = StartFrame(GetModuleHandleA(nullptr), "Parlevo.exe", SW_SHOWNORMAL);
        ASSERT_NE(frame, nullptr);
        PumpUntil([&] { return driver.Seen() >= 2; });
        PumpMessages();
    }
    HWND view = ViewOfFrame(frame);
    ASSERT_EQ(HostModuleHandle(), nullptr);
    EXPECT_TRUE(MenuState(view, 40005) & MF_GRAYED);

    HWND page = OpenPage(view);
    ASSERT_NE(page, nullptr);
    std::string path = SampleModulePath();
    SetDlgItemTextA(page, IDC_MODULE_PATH, path.c_str());
    PropSheet_Apply(sheet_);
    PumpMessages();
    EXPECT_NE(HostModuleHandle(), nullptr);
    EXPECT_FALSE(MenuState(view, 40005) & MF_GRAYED);
    EXPECT_FALSE(MenuState(view, 40003) & MF_GRAYED);
    char saved[MAX_PATH];
    GetPrivateProfileStringA("Module", "Filename", "", saved, sizeof saved, AppSettingsPath());
    EXPECT_EQ(std::string(saved), path);
    // Nothing is refilled: the list shows rows only after the next open.
    EXPECT_EQ(ListRowCount(view), 0);
}

TEST_F(ModulePage, AfterTheApplyButtonThePathFieldHasTheKeyboard)
{
    HWND view = StartWithModule(SampleModulePath());
    ASSERT_NE(view, nullptr);
    HWND page = OpenPage(view);
    ASSERT_NE(page, nullptr);
    SetDlgItemTextA(page, IDC_MODULE_PATH, SampleModulePath().c_str());
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_MODULE_PATH, EN_CHANGE), 0);
    PumpMessages();
    ASSERT_TRUE(ApplyEnabled());
    HWND apply = GetDlgItem(sheet_, kApplyButton);
    SetFocus(apply);
    SendMessageA(apply, BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_MODULE_PATH));
}

TEST_F(ModulePage, ApplyOfAnUnusableModuleSaysWhyAndKeepsTheRowsAlreadyShown)
{
    HWND view = StartWithModule(SampleModulePath());
    ASSERT_NE(view, nullptr);
    int rows = ListRowCount(view);
    ASSERT_GT(rows, 0);
    HWND page = OpenPage(view);
    ASSERT_NE(page, nullptr);
    std::string missing = TestModulePath("does-not-exist");
    SetDlgItemTextA(page, IDC_MODULE_PATH, missing.c_str());
    std::string said;
    {
        // Apply says at once why the module cannot be used.
        int boxes = 0;
        ModalDriver driver([&](HWND box) {
            if (box == sheet_) return; // active again after the box
            ++boxes;
            said = MessageBoxText(box);
            PressButton(box, IDOK);
        });
        PropSheet_Apply(sheet_);
        PumpMessages();
        EXPECT_EQ(boxes, 1);
    }
    EXPECT_EQ(said.substr(0, said.find('\n')), "The module " + missing + " was not found.");
    EXPECT_EQ(HostModuleHandle(), nullptr);
    EXPECT_EQ(ListRowCount(view), rows);
    EXPECT_TRUE(MenuState(view, 40005) & MF_GRAYED);
}

TEST_F(ModulePage, ApplyWithoutAViewChangesNothing)
{
    HarnessStartApp("[Module]\r\nFilename=" + SampleModulePath() + "\r\n");
    HWND page = OpenPage(nullptr);
    ASSERT_NE(page, nullptr);
    SetDlgItemTextA(page, IDC_MODULE_PATH, "C:\\elsewhere.dll");
    PropSheet_Apply(sheet_);
    PumpMessages();
    EXPECT_NE(HostModuleHandle(), nullptr);
    char saved[MAX_PATH];
    GetPrivateProfileStringA("Module", "Filename", "", saved, sizeof saved, AppSettingsPath());
    EXPECT_EQ(std::string(saved), SampleModulePath());
}

} // namespace
