// Start-up: the main routine, the single-instance rule, the command line and the message loop.
#include "app/startup.h"

#include <cstring>

#include "app/appinit.h"
#include "state/appstate.h"
#include "app/appwindows.h"
#include "app/batch.h"
#include "app/cmdline.h"
#include "app/commands.h"
#include "app/document.h"
#include "state/messages.h"
#include "catalogue/hostmodule.h"
#include "frame/leadbytes.h"
#include "frame/settings.h"
#include "view/find.h"

static size_t FullPath(const char *name, char *out, size_t capacity)
{
    DWORD n = GetFullPathNameA(name, DWORD(capacity), out, nullptr);
    return (n == 0 || n >= capacity) ? 0 : n;
}

BOOL ParseCommandLine(HWND frame, const char *commandLine)
{
    FrameState *fs = GetFrameState(frame);
    if (!fs) return FALSE;
    ParseCommandLineText(&fs->commandLine, commandLine, FullPath, IsAnsiLeadByte);
    return TRUE;
}

// Delivers the options to the view: posted behind the open when a file is being opened,
// sent at once otherwise.
static void RunOptions(HWND view, CommandLineState &cl)
{
    bool post = cl.fileName[0] != '\0';
    for (OptionSlot &slot : cl.slots) {
        if (!slot.row) break;
        UINT command = slot.row->command;
        slot.row = nullptr;
        if (command == 0) continue;
        WPARAM wp = MAKEWPARAM(command, kExecIgnoreGrey);
        LPARAM lp = reinterpret_cast<LPARAM>(slot.arg);
        if (post)
            PostMessageA(view, kMsgRunCommand, wp, lp);
        else
            SendMessageA(view, kMsgRunCommand, wp, lp);
    }
}

BOOL RunCommandLine(HWND frame)
{
    FrameState *fs = GetFrameState(frame);
    if (!fs || !fs->view) return FALSE;
    if (!fs->commandLine.quitAfterOptions) OpenFromCommandLine(fs->view, fs->commandLine.fileName);
    RunOptions(fs->view, fs->commandLine);
    return TRUE;
}

BOOL RunForwardedCommandLine(HWND frame, const char *commandLine)
{
    FrameState *fs = GetFrameState(frame);
    if (!fs || !fs->view) return FALSE;
    ParseCommandLineText(&fs->commandLine, commandLine, FullPath, IsAnsiLeadByte);
    if (fs->commandLine.fileName[0]) {
        if (!ConfirmDiscard(fs->view)) return FALSE;
        OpenFromCommandLine(fs->view, fs->commandLine.fileName);
    }
    RunOptions(fs->view, fs->commandLine);
    return TRUE;
}

LRESULT SendCommandLineTo(HWND other, const char *commandLine)
{
    COPYDATASTRUCT cds = {};
    cds.dwData = kCopyDataCommandLine;
    cds.cbData = DWORD(strlen(commandLine) + 1);
    cds.lpData = const_cast<char *>(commandLine);
    SetForegroundWindow(other);
    return SendMessageA(other, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
}

HWND StartFrame(HINSTANCE instance, const char *commandLine, UINT showCommand)
{
    if (App().settings.onlyOneInstance) {
        if (HWND other = FindWindowA(AppFrameClass(), nullptr)) {
            // A running instance with a modal dialog open is left alone.
            if (GetWindowLongPtrA(other, GWL_STYLE) & WS_DISABLED) return nullptr;
            // File names are made full paths here: the other instance has its own current folder.
            char forwarded[kForwardedLineSize];
            bool built = BuildForwardedCommandLine(commandLine, FullPath, forwarded, sizeof forwarded) > 0;
            SendCommandLineTo(other, built ? forwarded : commandLine);
            return nullptr;
        }
    }
    FrameCreateParams params = {showCommand, commandLine, kFramePostsQuit};
    HWND frame = CreateFrame(instance, &params);
    if (!frame) return nullptr;
    bool ok = ParseCommandLine(frame, commandLine) && CreateView(frame) && RunCommandLine(frame);
    FrameState *fs = GetFrameState(frame);
    if (!ok || !fs || fs->commandLine.quitAfterOptions) {
        DestroyWindow(frame);
        return nullptr;
    }
    return frame;
}

void LoadStartupSettings(HINSTANCE instance)
{
    AppState &app = App();
    if (!DeriveSettingsPath(instance, app.settingsPath, sizeof app.settingsPath)) return;
    // The module first: its path is a setting of its own, read as the module loads.
    LoadHostModule();
    LoadAllSettings(app.settingsPath);
}

int RunMessageLoop(HWND frame)
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // The modeless Find dialog takes its own keyboard messages first.
        if (FindDialogFilter(ViewOfFrame(frame), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return int(msg.wParam);
}

void ReleaseApp()
{
    AppState &app = App();
    if (app.statusFont) {
        DeleteObject(app.statusFont);
        app.statusFont = nullptr;
    }
    UnloadHostModule();
}

int ParlevoMain(HINSTANCE instance, HINSTANCE, const char *, int showCommand)
{
    AppInitialise(instance);
    LoadStartupSettings(instance);
    // -check and -template run here, before any window, and end the program.
    int batchExit = 0;
    if (RunBatchCommandLine(GetCommandLineA(), &batchExit)) {
        ReleaseApp();
        return batchExit;
    }
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    UINT frameShow = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : UINT(showCommand);
    HWND frame = StartFrame(instance, GetCommandLineA(), frameShow);
    int exitCode = 0;
    if (frame) {
        // Behind the command line's open, so a restore is not replaced by it. Only a real start
        // looks: in-process starts (the window tests) never meet journals of other runs.
        PostMessageA(ViewOfFrame(frame), kMsgRecoverWork, 0, 0);
        ShowWindow(frame, showCommand);
        UpdateWindow(frame);
        exitCode = RunMessageLoop(frame);
    }
    ReleaseApp();
    return exitCode;
}
