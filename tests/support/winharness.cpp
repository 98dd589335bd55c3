// The harness for window tests.
#include "tests/support/winharness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "app/appinit.h"
#include "state/appstate.h"
#include "app/startup.h"
#include "catalogue/hostmodule.h"
#include "frame/settings.h"

static int g_tempCounter;

std::string HarnessTempDir()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    char dir[MAX_PATH];
    for (;;) {
        snprintf(dir, sizeof dir, "%sparlevo-test-%lu-%d\\", base, GetCurrentProcessId(), ++g_tempCounter);
        if (CreateDirectoryA(dir, nullptr)) return dir;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return base;
    }
}

std::string HarnessWriteFile(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

std::string HarnessReadFile(const std::string &path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[65536];
    DWORD n = 0;
    while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
    CloseHandle(file);
    return bytes;
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
    std::string ini = HarnessTempDir() + "Parlvo.ini";
    if (!iniText.empty()) HarnessWriteFile(ini, iniText);
    lstrcpynA(App().settingsPath, ini.c_str(), sizeof App().settingsPath);
    LoadHostModule();
    LoadAllSettings(App().settingsPath);
}

static BOOL CALLBACK DestroyFrames(HWND window, LPARAM)
{
    if (ClassName(window) == AppFrameClass()) DestroyWindow(window);
    return TRUE;
}

void HarnessStopApp()
{
    EnumThreadWindows(GetCurrentThreadId(), DestroyFrames, 0);
    // Drop the quit message a destroyed frame posts, and anything else left queued.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    }
    ReleaseApp();
}

// A message that posts itself again (a focus rule that bounces between two rows) would keep
// a pump busy for ever: past this many messages in one call the test fails instead.
constexpr int kPumpMessageLimit = 200000;

void PumpMessages()
{
    MSG msg;
    for (int n = 0; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            return;
        }
        if (n == kPumpMessageLimit) {
            ADD_FAILURE() << "the message queue does not settle: message 0x" << std::hex << msg.message
                          << " keeps coming";
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()> &cond, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (cond()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::string WindowText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassName(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

static ModalDriver *g_driver;

// Dialogs nobody expects. A message box or modal dialog that no ModalDriver takes leaves the
// test waiting in its modal loop until the test's timeout; instead, every dialog that becomes
// active is looked at again after a few seconds and, if it still holds its owner disabled, the
// test fails with its text and the dialog is cancelled. Modeless ones (Find) are left alone.
constexpr UINT kUnexpectedDialogMs = 3000;
constexpr UINT kDrivenDialogMs = 15000;
constexpr int kMessageBoxTextId = 0xFFFF; // the static text control of a message box

static HHOOK g_watchHook;
static std::vector<std::pair<UINT_PTR, HWND>> g_watched;

static bool IsModal(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    return !owner || !IsWindowEnabled(owner);
}

static void CALLBACK WatchTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND dialog = nullptr;
    for (size_t i = 0; i < g_watched.size(); ++i) {
        if (g_watched[i].first != id) continue;
        dialog = g_watched[i].second;
        g_watched.erase(g_watched.begin() + std::ptrdiff_t(i));
        break;
    }
    if (!dialog || !IsWindow(dialog) || !IsWindowVisible(dialog) || !IsModal(dialog)) return;
    HWND textControl = GetDlgItem(dialog, kMessageBoxTextId);
    std::string text = textControl && ClassName(textControl) == "Static" ? WindowText(textControl) : "";
    ADD_FAILURE() << "a dialog was left open: \"" << WindowText(dialog) << "\""
                  << (text.empty() ? "" : " saying \"" + text + "\"");
    // The most cautious button it has: ending a dialog with another result could confirm it.
    for (int button : {IDCANCEL, IDNO, IDOK}) {
        if (!GetDlgItem(dialog, button)) continue;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        return;
    }
    EndDialog(dialog, IDCANCEL);
}

static LRESULT CALLBACK WatchHook(int code, WPARAM wp, LPARAM lp)
{
    HWND dialog = reinterpret_cast<HWND>(wp);
    if (code == HCBT_ACTIVATE && ClassName(dialog) == "#32770") {
        bool known = false;
        for (const auto &watched : g_watched) known = known || watched.second == dialog;
        UINT delay = g_driver ? kDrivenDialogMs : kUnexpectedDialogMs;
        if (!known) {
            if (UINT_PTR id = SetTimer(nullptr, 0, delay, WatchTimer)) g_watched.emplace_back(id, dialog);
        }
    }
    return CallNextHookEx(g_watchHook, code, wp, lp);
}

namespace {
class DialogWatch : public ::testing::Environment {
public:
    void SetUp() override { g_watchHook = SetWindowsHookExA(WH_CBT, WatchHook, nullptr, GetCurrentThreadId()); }
    void TearDown() override
    {
        if (g_watchHook) UnhookWindowsHookEx(g_watchHook);
        g_watchHook = nullptr;
    }
};
[[maybe_unused]] ::testing::Environment *const g_dialogWatch = ::testing::AddGlobalTestEnvironment(new DialogWatch);
} // namespace

static HHOOK g_hook;

static LRESULT CALLBACK DriverHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_ACTIVATE && g_driver && ClassName(reinterpret_cast<HWND>(wp)) == "#32770") {
        g_driver->OnActivate(reinterpret_cast<HWND>(wp));
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

// The action runs from a timer, so the dialog has finished initialising and its modal
// loop is the one dispatching.
static void CALLBACK DriverTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (g_driver) g_driver->Run();
}

ModalDriver::ModalDriver(std::function<void(HWND)> action) : action_(std::move(action))
{
    g_driver = this;
    hook_ = g_hook = SetWindowsHookExA(WH_CBT, DriverHook, nullptr, GetCurrentThreadId());
}

ModalDriver::~ModalDriver()
{
    if (hook_) UnhookWindowsHookEx(hook_);
    g_driver = nullptr;
    g_hook = nullptr;
}

void ModalDriver::OnActivate(HWND dialog)
{
    if (dialog == pending_) return;
    for (HWND seen : handled_)
        if (seen == dialog) return;
    pending_ = dialog;
    SetTimer(nullptr, 0, 10, DriverTimer);
}

void ModalDriver::Run()
{
    HWND dialog = pending_;
    if (dialog && IsWindow(dialog) && !IsWindowVisible(dialog)) {
        // Activated while still being made (a property sheet under load): act once it shows.
        SetTimer(nullptr, 0, 10, DriverTimer);
        return;
    }
    pending_ = nullptr;
    if (!dialog || !IsWindow(dialog)) return;
    ++seen_;
    handled_.push_back(dialog);
    lastText_ = MessageBoxText(dialog);
    action_(dialog);
}

void PressButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::string MessageBoxText(HWND box)
{
    // A message box keeps its text in the static control numbered 0xFFFF.
    return WindowText(GetDlgItem(box, 0xFFFF));
}
