// The harness for window tests.
#include "tests/support/winharness.h"

#include <cstdio>
#include <cstring>

#include "app/appstate.h"
#include "app/startup.h"
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

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
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
