// The frame and view windows: drops, close requests, placement, the single-instance hand-over.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "state/appstate.h"
#include "app/commands.h"
#include "app/startup.h"
#include "res/resource.h"
#include "tests/support/apptest.h"

namespace
{

using Windows = AppTest;

// names: each ended by a NUL, the list by one more.
template <size_t N> HDROP MakeDrop(const char (&names)[N])
{
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + N);
    auto *drop = static_cast<DROPFILES *>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(drop + 1, names, N);
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

// The command line's last file: Commands tests start on one; cmdline_test picks it. Cancel keeps the
// work. Close requests and a handed-over line (as another start asks) meanwhile ask nothing.
TEST_F(Windows, TheLastFileOfADropIsOpenedOnceTheUnsavedQuestionIsAnsweredAndNeverAskedTwiceAtOnce)
{
    std::string outcomes;
    for (int answer : {IDCANCEL, IDNO}) {
        Start();
        Vs()->modified = TRUE;
        bool nested = false;
        ModalDriver driver([&](HWND box) {
            for (int i = 0; i < 3; ++i)
                SendMessageA(frame, WM_CLOSE, 0, 0);
            nested = ConfirmDiscard(view);
            PressButton(box, answer);
        });
        SendMessageA(frame, WM_DROPFILES, WPARAM(MakeDrop("C:\\x\\a.lng\0C:\\x\\b.lng\0C:\\x\\c.lng\0")), 0);
        outcomes += (!IsWindow(frame) ? "closed " : WindowText(frame) + (Vs()->modified ? "* " : " ")) +
                    std::to_string(driver.Seen()) + (nested ? " nested|" : "|");
    }
    EXPECT_TRUE(GetWindowLongPtrA(frame, GWL_EXSTYLE) & WS_EX_ACCEPTFILES); // Explorer drops need it
    EXPECT_EQ(outcomes, "Lumivex Parlevo - [New]* 1|Lumivex Parlevo - [c.lng] 1|");
}

TEST_F(Windows, OpenDialogAnswersCloseRequestsAndRefusesDrops)
{
    Start();
    std::string during;
    ModalDriver driver([&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, "typed");
        SendMessageA(frame, WM_DROPFILES, WPARAM(MakeDrop("C:\\x\\a.lng\0")), 0);
        SendMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
        SendMessageA(frame, WM_CLOSE, 0, 0);
        const bool ends = SendMessageA(frame, WM_QUERYENDSESSION, 0, 0);
        during += WindowText(frame) + (ends ? " ends" : "") + (IsWindow(dialog) ? "|" : " closed|");
        PressButton(dialog, IDOK);
    });
    Run(CMD_TEXT_TRANSLATE);
    // The typed text was confirmed into the document the dialog was opened on.
    EXPECT_EQ(during + WindowText(frame), "Lumivex Parlevo - [New]|Lumivex Parlevo - [New*]");
}

TEST_F(Windows, PlacementIsSavedAndRestoredWhenAskedAndOnAMonitor)
{
    Start("[Option]\r\nSavePosition=1\r\nLoadPosition=1\r\nAlwaysOnTop=1\r\n");
    EXPECT_TRUE(GetWindowLongPtrA(frame, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(frame, nullptr, 123, 45, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    // Ends the program, lets edit change its saved settings and starts it again on them.
    WINDOWPLACEMENT wp = {sizeof wp};
    const auto restart = [&](auto edit) {
        const std::string ini = App().settingsPath;
        DestroyWindow(frame);
        ASSERT_TRUE(GetPrivateProfileStructA("Option", "Position", &wp, sizeof wp, ini.c_str()));
        edit(ini.c_str());
        Start(HarnessReadFile(ini));
    };
    const auto placed = [](const RECT &r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
               std::to_string(r.bottom - r.top);
    };
    restart([](const char *) {});
    GetWindowPlacement(frame, &wp); // the frame is shown by start-up, not by the restore
    EXPECT_EQ(placed(wp.rcNormalPosition) + (IsWindowVisible(frame) ? " shown" : ""), "123,45 500x400");
    // Off every monitor (one since removed), it comes back whole on the nearest one.
    restart([&](const char *ini) {
        OffsetRect(&wp.rcNormalPosition, -32768 - wp.rcNormalPosition.left, -32768 - wp.rcNormalPosition.top);
        ASSERT_TRUE(WritePrivateProfileStructA("Option", "Position", &wp, sizeof wp, ini));
    });
    const RECT &restored = GetFrameState(frame)->placement.rcNormalPosition;
    EXPECT_EQ(placed(restored).substr(placed(restored).find(' ')) +
                  (MonitorFromRect(&restored, MONITOR_DEFAULTTONULL) ? "" : " off"),
              " 500x400");
    // Not loaded when LoadPosition is off; not topmost without AlwaysOnTop.
    restart([](const char *ini) {
        WritePrivateProfileStringA("Option", "LoadPosition", "0", ini);
        WritePrivateProfileStringA("Option", "AlwaysOnTop", "0", ini);
    });
    EXPECT_FALSE(EqualRect(&GetFrameState(frame)->placement.rcNormalPosition, &wp.rcNormalPosition) ||
                 (GetWindowLongPtrA(frame, GWL_EXSTYLE) & WS_EX_TOPMOST));
}

// Any Parlevo window of the session takes a hand-over, so this runs alone (see CMakeLists.txt).
using SingleInstance = AppTest;

TEST_F(SingleInstance, HandsOverFileNamesUnlessBusy)
{
    Start("[Option]\r\nOnlyOneInstance=1\r\n");
    // A second start hands over and ends; the title it leaves.
    auto second = [&](const char *line) {
        HWND other = StartFrame(GetModuleHandleA(nullptr), line, SW_SHOWNORMAL);
        PumpMessages();
        return (other ? "started " : "") + WindowText(frame);
    };
    EXPECT_EQ(second("Parlevo.exe C:\\work\\de.lng"), "Lumivex Parlevo - [de.lng]");
    // Without a file the running instance keeps its document.
    EXPECT_EQ(second("Parlevo.exe"), "Lumivex Parlevo - [de.lng]");
    // Ignored while the first shows a modal dialog, by the sender and by the receiver.
    EnableWindow(frame, FALSE);
    EXPECT_EQ(second("Parlevo.exe C:\\work\\fr.lng"), "Lumivex Parlevo - [de.lng]");
    char data[] = "Parlevo.exe C:\\w\\x.lngzzzz"; // only cbData bytes count: more name characters follow
    COPYDATASTRUCT cds = {0x503, 22, data};
    const auto copy = [&] {
        const bool taken = SendMessageA(frame, WM_COPYDATA, 0, LPARAM(&cds));
        PumpMessages();
        return (taken ? "taken " : "") + WindowText(frame);
    };
    EXPECT_EQ(copy(), "Lumivex Parlevo - [de.lng]");
    EnableWindow(frame, TRUE);
    EXPECT_EQ(copy(), "taken Lumivex Parlevo - [x.lng]");
    cds.dwData = 0x504;
    EXPECT_EQ(copy(), "Lumivex Parlevo - [x.lng]");
}

} // namespace
