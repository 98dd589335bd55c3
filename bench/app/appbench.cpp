// Times, under Wine, what a translator waits for with a large module: opening a document with
// its language file up to the first paint (first open and reopen), saving it, a Find Next that
// walks the whole list without a match, Fill repeated texts over the whole list, and Translate
// next untranslated reaching the last row;
// and the program's start up to its visible window. Runs the real windows; not a test.
//
//   appbench [runs]          (the generated modules and language files lie beside it)
//   appbench --bare-window   (the floor of a start: a plain window, shown until closed)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/appinit.h"
#include "state/appstate.h"
#include "app/appwindows.h"
#include "app/commands.h"
#include "app/docchange.h"
#include "state/messages.h"
#include "app/startup.h"
#include "state/viewstate.h"
#include "bench/app/benchrow.h"
#include "bench/app/benchwin.h"
#include "catalogue/hostmodule.h"
#include "frame/settings.h"
#include "res/resource.h"
#include "view/find.h"
#include "view/list.h"
#include "view/problems.h"
#include "view/translate.h"
#include "view/worktrack.h"
#include "state/textsize.h"

namespace
{

bool WriteText(const std::string &path, const std::string &text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

// A modal window (message box or dialog) that a timed call opens at the end of its walk: the
// hook notes when its creation begins (the walk is over; building the window is the
// platform's cost, the same for any row) and closes it with the given command once active.
struct ModalStop {
    HHOOK hook = nullptr;
    double createdAt = 0;
    bool closed = false;
    WPARAM command = IDCANCEL;
};
ModalStop g_stop;

LRESULT CALLBACK StopModal(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_CREATEWND && g_stop.createdAt == 0) g_stop.createdAt = Now();
    if (code == HCBT_ACTIVATE && !g_stop.closed) {
        g_stop.closed = true;
        PostMessageA(reinterpret_cast<HWND>(wp), WM_COMMAND, g_stop.command, 0);
    }
    return CallNextHookEx(g_stop.hook, code, wp, lp);
}

// Milliseconds from the call to the creation of the modal window it opens.
template <typename Call> double TimeToModal(Call call, WPARAM command)
{
    g_stop = ModalStop{};
    g_stop.command = command;
    g_stop.hook = SetWindowsHookExA(WH_CBT, StopModal, nullptr, GetCurrentThreadId());
    double t0 = Now();
    call();
    UnhookWindowsHookEx(g_stop.hook);
    return g_stop.createdAt ? g_stop.createdAt - t0 : -1;
}

void ClearSelection(HWND view)
{
    for (int row = ListNextRow(view, -1, LVNI_SELECTED); row >= 0; row = ListNextRow(view, row, LVNI_SELECTED))
        ListSetRowState(view, row, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

struct Timings {
    std::vector<double> first, reopen, checks, save, findNext, fill, untranslated;
    std::vector<double> change, saveBare; // a committed change (journal flushed); a save without backup
    int rows = 0;
    uint32_t filled = 0;
};

bool Run(const std::string &module, const std::string &lng, int runs, Timings &t)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string work = std::string(temp) + "appbench-work.lng";
    if (!CopyFileA(lng.c_str(), work.c_str(), FALSE)) {
        fprintf(stderr, "cannot copy %s\n", lng.c_str());
        return false;
    }
    const std::string ini = ExeDir() + "appbench.ini";
    WriteText(ini, "[Module]\r\nFilename=" + module + "\r\n[Option]\r\nAskToOverwrite=0\r\n");

    App() = AppState{};
    AppInitialise(GetModuleHandleA(nullptr));
    lstrcpynA(App().settingsPath, ini.c_str(), sizeof App().settingsPath);
    LoadHostModule();
    LoadAllSettings(App().settingsPath);
    HWND view = StartShownView();
    if (!view) return false;
    HWND frame = GetParent(view);
    ViewState *vs = GetViewState(view);

    for (int i = 0; i < runs; ++i) {
        SendMessageA(view, kMsgOpenDocument, kOpenClose, reinterpret_cast<LPARAM>(""));
        Pump();
        // First open: an empty list is filled and the file's translations written into it.
        double t0 = Now();
        if (!SendMessageA(view, kMsgOpenDocument, kOpenNamed, reinterpret_cast<LPARAM>(work.c_str()))) return false;
        UpdateWindow(frame);
        t.first.push_back(Now() - t0);
        Pump();
        // Reopen: the full list is emptied first.
        t0 = Now();
        SendMessageA(view, kMsgOpenDocument, kOpenNamed, reinterpret_cast<LPARAM>(work.c_str()));
        UpdateWindow(frame);
        t.reopen.push_back(Now() - t0);
        Pump();
        t.rows = ListRowCount(view);
        // The open's share for the problem marks: every row checked once.
        t0 = Now();
        ProblemsCheckAll(view);
        t.checks.push_back(Now() - t0);

        // Save, as Ctrl+S does it on a file-backed document: walk, model, write, confirmation.
        SaveTarget target{};
        t0 = Now();
        if (!RunCommand(view, CMD_FILE_SAVE, &target, 0)) {
            fprintf(stderr, "save failed\n");
            return false;
        }
        t.save.push_back(Now() - t0);
        Pump();
        App().settings.backup = 0;
        t0 = Now();
        RunCommand(view, CMD_FILE_SAVE, &target, 0);
        t.saveBare.push_back(Now() - t0);
        App().settings.backup = 1;
        Pump();

        // Committed changes as the Translate dialog's OK makes them: the first opens the journal.
        const int changed = ListNextRow(view, -1, LVNI_ALL);
        const UINT changedId = ListRowValue(view, changed);
        constexpr int kChanges = 20;
        for (int step = 0; step <= kChanges; ++step) {
            char before[kTextSize], after[kTextSize];
            ListGetCell(view, changed, kColumnTranslated, before, sizeof before);
            snprintf(after, sizeof after, "change %d", step);
            t0 = Now();
            ListSetCell(view, changed, kColumnTranslated, after);
            DocumentRowChanged(view, changed, changedId, before, after, kChangeTyped);
            if (step) t.change.push_back(Now() - t0);
        }
        RunCommand(view, CMD_FILE_SAVE, &target, 0);
        Pump();

        // Find Next from the top through every row, up to "Text not found".
        ClearSelection(view);
        lstrcpynA(vs->findWhat, "no such text anywhere", sizeof vs->findWhat);
        vs->findRequest.Flags = FR_DOWN;
        t.findNext.push_back(TimeToModal([&] { FindNextCommand(view); }, IDOK));
        Pump();

        // Fill repeated texts over the file's translations, up to its report.
        const uint32_t before = vs->work ? vs->work->progress.total.translated : 0;
        t.fill.push_back(TimeToModal([&] { FillRepeatedTexts(view); }, IDOK));
        t.filled = vs->work ? vs->work->progress.total.translated - before : 0;
        Pump();

        // Next untranslated when only the last row is untranslated: the walk to the dialog.
        int last = ListNextRow(view, -1, LVNI_ALL);
        int rows = ListRowCount(view);
        ListHoldRedraw(view);
        for (int row = 0; row < rows; ++row) {
            if (ListRowValue(view, row) == 0) continue;
            ListSetCell(view, row, kColumnTranslated, "x");
            last = row;
        }
        ListSetCell(view, last, kColumnTranslated, "");
        ListReleaseRedraw(view);
        UpdateWindow(frame);
        ClearSelection(view);
        t.untranslated.push_back(TimeToModal([&] { TranslateUntranslated(view); }, IDCANCEL));
        Pump();
    }
    vs->modified = FALSE;
    DestroyWindow(frame);
    Pump();
    ReleaseApp();
    DeleteFileA(work.c_str());
    DeleteFileA(ini.c_str());
    return true;
}

// The start of a program in a private folder: milliseconds from CreateProcess to its first
// visible top-level window; the window is then closed.
struct FoundWindow {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param)
{
    auto *found = reinterpret_cast<FoundWindow *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != found->pid || !IsWindowVisible(window)) return TRUE;
    found->window = window;
    return FALSE;
}

double TimeStart(const std::string &exe, const std::string &arguments, const std::string &folder)
{
    std::string commandLine = "\"" + exe + "\"" + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    double t0 = Now();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return -1;
    FoundWindow found{process.dwProcessId, nullptr};
    double shown = -1;
    while (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT && Now() - t0 < 10000) {
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&found));
        if (found.window) {
            shown = Now() - t0;
            break;
        }
        Sleep(1);
    }
    if (found.window) PostMessageA(found.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return shown;
}

LRESULT CALLBACK BareProc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, msg, wp, lp);
}

int BareWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "AppBenchBare";
    RegisterClassA(&wc);
    HWND window = CreateWindowA(wc.lpszClassName, "bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 600, 400,
                                nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}

void TimeStarts(int runs)
{
    // Parlevo from a folder of its own, with the sample module configured: a start shows the
    // New document's 412 rows.
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "appbench-start";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string built = ExeDir() + "..\\";
    const std::string exe = folder + "\\Parlevo.exe";
    if (!CopyFileA((built + "Parlevo.exe").c_str(), exe.c_str(), FALSE) ||
        !CopyFileA((built + "Lumivex.dll").c_str(), (folder + "\\Lumivex.dll").c_str(), FALSE)) {
        fprintf(stderr, "cannot copy Parlevo.exe and Lumivex.dll\n");
        return;
    }
    WriteText(folder + "\\Parlvo.ini", "[Module]\r\nFilename=Lumivex.dll\r\n");
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);

    std::vector<double> parlevo, bare;
    TimeStart(exe, "", folder); // the first start loads the pages of the exe
    for (int i = 0; i < runs; ++i) {
        bare.push_back(TimeStart(self, " --bare-window", folder));
        parlevo.push_back(TimeStart(exe, "", folder));
    }
    const double ours = Median(parlevo), floor = Median(bare);
    printf("start to a visible window: Parlevo %.1f ms, a bare window program %.1f ms\n", ours, floor);
    BenchRow("Start of a bare window program (Wine's floor)", "-", floor, "-", 0, "-");
    BenchRow("Start to the visible window (412 rows)", "sample", ours, "budget", 150, "<= 150 ms");
    BenchRow("  own work at start (over a bare window)", "sample", ours - floor, "budget", 60, "<= 60 ms");
    for (const char *name : {"\\Parlevo.exe", "\\Lumivex.dll", "\\Parlvo.ini"})
        DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && !strcmp(argv[1], "--bare-window")) return BareWindow();
    int runs = argc > 1 ? atoi(argv[1]) : 5;
    if (runs < 1) runs = 5;
    printf("median of %d runs\n", runs);
    TimeStarts(runs);

    struct Size {
        const char *name, *label;
        double first, reopen, save, walk;
    } sizes[] = {{"LumivexBig10k", "10,000", 150, 200, 40, 25}, {"LumivexBig65k", "65,000", 600, 0, 250, 150}};
    for (const Size &size : sizes) {
        const std::string base = ExeDir() + size.name;
        Timings t;
        if (!Run(base + ".dll", base + ".lng", runs, t)) return 1;
        printf("%s: %d rows\n", size.name, t.rows);
        printf("  first open to the first paint       %8.2f ms\n", Median(t.first));
        printf("  reopen to the first paint           %8.2f ms\n", Median(t.reopen));
        printf("  problem checks of every row         %8.2f ms\n", Median(t.checks));
        printf("  save (walk, model, write)           %8.2f ms\n", Median(t.save));
        printf("  save without backup                 %8.2f ms\n", Median(t.saveBare));
        printf("  committed change (journal flushed)  %8.2f ms\n", Median(t.change));
        printf("  Find Next through every row         %8.2f ms\n", Median(t.findNext));
        printf("  fill repeated texts (%u rows)     %8.2f ms\n", unsigned(t.filled), Median(t.fill));
        printf("  next untranslated to the last row   %8.2f ms\n", Median(t.untranslated));
        char target[32];
        snprintf(target, sizeof target, "<= %.0f ms", size.first);
        BenchRow("Open module + language file, first", size.label, Median(t.first), "budget", size.first, target);
        snprintf(target, sizeof target, size.reopen ? "<= %.0f ms" : "-", size.reopen);
        BenchRow("Open again (full list emptied)", size.label, Median(t.reopen), size.reopen ? "budget" : "-",
                 size.reopen, target);
        BenchRow("  problem checks of every row (part of the open)", size.label, Median(t.checks), "-", 0, "-");
        snprintf(target, sizeof target, "<= %.0f ms", size.save);
        BenchRow("Save (walk, model, write, backup)", size.label, Median(t.save), "budget", size.save, target);
        BenchRow("Save without backup", size.label, Median(t.saveBare), "-", 0, "-");
        BenchRow("Committed change, journal flushed", size.label, Median(t.change), "budget", 2, "<= 2 ms");
        snprintf(target, sizeof target, "<= %.0f ms", size.walk);
        BenchRow("Find Next without a match", size.label, Median(t.findNext), "budget", size.walk, target);
        BenchRow("Next untranslated, last row", size.label, Median(t.untranslated), "budget", size.walk, target);
    }
    return 0;
}
