// The harness for window tests, and the program started inside the test process.
#include "tests/support/apptest.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/appinit.h"
#include "state/appstate.h"
#include "app/startup.h"
#include "catalogue/hostmodule.h"
#include "frame/settings.h"

static std::string ClassName(HWND window)
{
    char name[256];
    return std::string(name, std::max(0, GetClassNameA(window, name, sizeof name)));
}

std::string HarnessTempDir()
{
    static int counter;
    char base[MAX_PATH], dir[MAX_PATH];
    GetTempPathA(sizeof base, base);
    do {
        snprintf(dir, sizeof dir, "%sparlevo-test-%lu-%d\\", base, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(dir, nullptr)) return dir;
    } while (GetLastError() == ERROR_ALREADY_EXISTS);
    return base;
}

std::string HarnessWriteFile(const std::string &path, const std::string &bytes)
{
    return std::ofstream(path, std::ios::binary) << bytes, path;
}

std::string HarnessReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool HarnessFileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void HarnessStartApp(const std::string &iniText)
{
    HarnessStopApp();
    App() = AppState{};
    AppInitialise(GetModuleHandleA(nullptr));
    const std::string ini = HarnessTempDir() + "Parlvo.ini";
    if (!iniText.empty()) HarnessWriteFile(ini, iniText);
    lstrcpynA(App().settingsPath, ini.c_str(), sizeof App().settingsPath);
    LoadHostModule();
    LoadAllSettings(App().settingsPath);
}

static BOOL CALLBACK DestroyFrame(HWND window, LPARAM)
{
    if (ClassName(window) == AppFrameClass()) DestroyWindow(window);
    return TRUE;
}

void HarnessStopApp()
{
    EnumThreadWindows(GetCurrentThreadId(), DestroyFrame, 0);
    // Drop the quit message a destroyed frame posts, and anything else left queued.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    ReleaseApp();
}

void PumpMessages()
{
    MSG msg;
    for (int n = 0; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (msg.message == WM_QUIT) return PostQuitMessage(int(msg.wParam));
        if (n == 200000) { // a message that posts itself again would keep the pump busy for ever
            ADD_FAILURE() << "the message queue does not settle: message 0x" << std::hex << msg.message;
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()> &cond, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount();; MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        PumpMessages();
        if (cond()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
    }
}

std::string WindowText(HWND window)
{
    char text[1024];
    return std::string(text, std::max(0, GetWindowTextA(window, text, sizeof text)));
}

// A modal dialog nobody drives fails the test and gets its most cautious button; modeless ones stay.
static void CALLBACK WatchTimer(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dialog, id);
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!IsWindowVisible(dialog) || (owner && IsWindowEnabled(owner))) return;
    ADD_FAILURE() << "a dialog was left open: \"" << WindowText(dialog) << "\" " << MessageBoxText(dialog);
    for (int button : {IDCANCEL, IDNO, IDOK})
        if (GetDlgItem(dialog, button)) return PressButton(dialog, button);
    EndDialog(dialog, IDCANCEL);
}

// From a timer, so that the dialog is initialised and its modal loop dispatching; one activated
// while still being made (a sheet under load) is driven once it shows.
static void CALLBACK DriverTimer(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    ModalDriver *driver = ModalDriver::current;
    if (driver && !IsWindowVisible(dialog)) return;
    KillTimer(dialog, id);
    if (!driver) return;
    ++driver->seen;
    driver->lastText = MessageBoxText(dialog);
    driver->action(dialog);
}

// Watches every dialog of this thread, and hands it to the driver; the timer IDs are ones no dialog uses.
static LRESULT CALLBACK DialogHook(int code, WPARAM wp, LPARAM lp)
{
    HWND dialog = reinterpret_cast<HWND>(wp);
    ModalDriver *driver = ModalDriver::current;
    if (code == HCBT_ACTIVATE && ClassName(dialog) == "#32770") {
        if (driver && !std::count(driver->handled.begin(), driver->handled.end(), dialog))
            driver->handled.push_back(dialog), SetTimer(dialog, 0x7E58, 10, DriverTimer);
        SetTimer(dialog, 0x7E57, driver ? 15000 : 3000, WatchTimer);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
[[maybe_unused]] static const HHOOK g_dialogWatch =
    SetWindowsHookExA(WH_CBT, DialogHook, nullptr, GetCurrentThreadId());

void PressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string MessageBoxText(HWND box)
{
    return WindowText(GetDlgItem(box, 0xFFFF));
} // its static text control

// The tests sit in tests/ below the program.
static std::string ExePath(const std::string &name)
{
    char exe[MAX_PATH];
    std::string dir(exe, GetModuleFileNameA(nullptr, exe, sizeof exe));
    return dir.substr(0, dir.rfind('\\') + 1) + name;
}

std::string SampleModulePath()
{
    return ExePath("..\\Lumivex.dll");
}
std::string TestModulePath(const char *name)
{
    return ExePath("catalogue-data\\" + std::string(name) + ".dll");
}
std::string SampleModuleIni()
{
    return "[Module]\r\nFilename=" + SampleModulePath() + "\r\n";
}

HWND StartProgram(const std::string &iniText, const std::string &commandLine)
{
    HarnessStartApp(iniText);
    HWND frame = StartFrame(GetModuleHandleA(nullptr), commandLine.c_str(), SW_SHOWNORMAL);
    PumpMessages();
    return frame;
}

HWND StartWithModule(const std::string &modulePath)
{
    HWND frame = StartProgram("[Module]\r\nFilename=" + modulePath + "\r\n");
    return frame ? ViewOfFrame(frame) : nullptr;
}

std::string ListCell(HWND view, int row, int column)
{
    char text[kTextSize] = "";
    return ListGetCell(view, row, column, text, sizeof text), text;
}

std::vector<ListRow> ReadRows(HWND view)
{
    std::vector<ListRow> rows;
    for (int i = 0; i < ListRowCount(view); ++i)
        rows.push_back({ListRowValue(view, i), ListCell(view, i, kColumnId), ListCell(view, i, kColumnText),
                        ListCell(view, i, kColumnTranslated)});
    return rows;
}
