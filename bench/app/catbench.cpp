// Times, under Wine, the fill that opening a document does: emptying the list, reading every
// string block of the host module, converting the texts and appending the rows, with the
// layout that ends the open. Runs the real view window; not a test.
//
//   catbench [runs] [module.dll ...]     (default: the generated LumivexBig10k.dll and LumivexBig65k.dll beside it)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/appinit.h"
#include "state/appstate.h"
#include "app/appwindows.h"
#include "state/messages.h"
#include "app/startup.h"
#include "bench/app/benchrow.h"
#include "bench/app/benchwin.h"
#include "catalogue/hostmodule.h"
#include "app/hostfill.h"
#include "catalogue/hoststrings.h"
#include "catalogue/stringblock.h"
#include "frame/settings.h"
#include "view/list.h"
#include "state/textsize.h"

namespace
{

// The reading and converting an open does, without the list: what the module itself costs.
struct ReadOnly {
    int strings = 0;
};

BOOL CALLBACK ReadBlockOnly(HMODULE module, LPCSTR, LPSTR name, LONG_PTR param)
{
    if (!IS_INTRESOURCE(name)) return TRUE;
    UINT block = UINT(reinterpret_cast<ULONG_PTR>(name));
    HRSRC found = FindResourceA(module, name, RT_STRING);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void *data = loaded ? LockResource(loaded) : nullptr;
    StringBlockReader reader;
    if (!data || !StringBlockBegin(&reader, data, SizeofResource(module, found), block)) return FALSE;
    int before = reinterpret_cast<ReadOnly *>(param)->strings;
    StringEntry entry;
    char text[kTextSize];
    while (StringBlockNext(&reader, &entry)) {
        if (entry.length == 0) continue;
        ConvertSourceText(reinterpret_cast<const WCHAR *>(entry.text), int(std::min<uint32_t>(entry.length, 504)),
                          text);
        ++reinterpret_cast<ReadOnly *>(param)->strings;
    }
    return reinterpret_cast<ReadOnly *>(param)->strings > before;
}

struct Timings {
    std::vector<double> writeHeld, writeUnheld, layout, refresh, holdRelease, load, read, first, firstPaint, reopen,
        empty, append;
    int rows = 0, strings = 0;
};

void Report(const char *name, const Timings &t)
{
    printf("%s: %d strings, %d rows\n", name, t.strings, t.rows);
    printf("  load module as data file            %8.2f ms\n", Median(t.load));
    printf("  read + convert every string         %8.2f ms\n", Median(t.read));
    printf("  first open (empty list)             %8.2f ms   + first paint %.2f ms\n", Median(t.first),
           Median(t.firstPaint));
    printf("    of which appending the rows       %8.2f ms\n", Median(t.append));
    printf("  laying out the full list            %8.2f ms\n", Median(t.layout));
    printf("  refreshing the display              %8.2f ms\n", Median(t.refresh));
    printf("  redraw hold and release             %8.2f ms\n", Median(t.holdRelease));
    printf("  reopen (full list emptied first)    %8.2f ms\n", Median(t.reopen));
    printf("    of which emptying the list        %8.2f ms\n", Median(t.empty));
    printf("  a translation into every row, held  %8.2f ms\n", Median(t.writeHeld));
    printf("  the same without the hold (once)    %8.2f ms\n", Median(t.writeUnheld));
    // The budgets of the two generated modules.
    const double budget = t.strings == 10000 ? 100 : t.strings == 65000 ? 450 : 0;
    char size[32], target[32];
    snprintf(size, sizeof size, t.strings >= 1000 ? "%d,%03d" : "%d", t.strings / 1000, t.strings % 1000);
    if (t.strings < 1000) snprintf(size, sizeof size, "%d", t.strings);
    snprintf(target, sizeof target, budget ? "<= %.0f ms" : "-", budget);
    BenchRow("Fill the list from the module, first", size, Median(t.first), budget ? "budget" : "-", budget, target);
    BenchRow("Fill the list again (emptied first)", size, Median(t.reopen), "-", 0, "-");
}

bool Run(const std::string &path, int runs, Timings &t)
{
    std::string ini = ExeDir() + "catbench.ini";
    std::string text = "[Module]\r\nFilename=" + path + "\r\n";
    HANDLE file = CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);

    App() = AppState{};
    AppInitialise(GetModuleHandleA(nullptr));
    lstrcpynA(App().settingsPath, ini.c_str(), sizeof App().settingsPath);
    LoadHostModule();
    LoadAllSettings(App().settingsPath);
    if (!HostModuleHandle()) {
        fprintf(stderr, "cannot load %s\n", path.c_str());
        return false;
    }
    HWND view = StartShownView();
    if (!view) return false;
    HWND frame = GetParent(view);
    HWND list = GetDlgItem(view, kListChildId);

    for (int i = 0; i < runs; ++i) {
        double t0 = Now();
        UnloadHostModule();
        LoadHostModule();
        t.load.push_back(Now() - t0);

        ReadOnly read;
        t0 = Now();
        EnumResourceNamesA(HostModuleHandle(), RT_STRING, ReadBlockOnly, reinterpret_cast<LONG_PTR>(&read));
        t.read.push_back(Now() - t0);
        t.strings = read.strings;

        // First open: the list is empty beforehand.
        SendMessageA(view, kMsgOpenDocument, kOpenClose, reinterpret_cast<LPARAM>(""));
        Pump();
        t0 = Now();
        SendMessageA(view, kMsgOpenDocument, kOpenNew, reinterpret_cast<LPARAM>(""));
        t.first.push_back(Now() - t0);
        t0 = Now();
        UpdateWindow(list);
        t.firstPaint.push_back(Now() - t0);
        t.rows = ListRowCount(view);
        Pump();

        // Reopen: a full list is emptied and filled again.
        t0 = Now();
        SendMessageA(view, kMsgOpenDocument, kOpenNew, reinterpret_cast<LPARAM>(""));
        t.reopen.push_back(Now() - t0);
        Pump();

        t0 = Now();
        LayoutViewList(view);
        t.layout.push_back(Now() - t0);
        t0 = Now();
        SendMessageA(view, kMsgRefreshDocument, 0, 0);
        t.refresh.push_back(Now() - t0);
        t0 = Now();
        ListHoldRedraw(view);
        ListReleaseRedraw(view);
        t.holdRelease.push_back(Now() - t0);
        // The parts: emptying a full list, and appending the rows to an empty one.
        ListHoldRedraw(view);
        t0 = Now();
        ListEmpty(view);
        t.empty.push_back(Now() - t0);
        t0 = Now();
        FillHostStrings(view);
        t.append.push_back(Now() - t0 - t.read.back());
        ListReleaseRedraw(view);
        Pump();
    }
    // What the hold saves the language file's load that follows the fill: one translation
    // written into every row, with the hold and (once) without it.
    int rows = ListRowCount(view);
    for (int i = 0; i < runs; ++i) {
        double t0 = Now();
        ListHoldRedraw(view);
        for (int row = 0; row < rows; ++row)
            ListSetCell(view, row, kColumnTranslated, i % 2 ? "Übersetzt" : "Traduit");
        ListReleaseRedraw(view);
        UpdateWindow(list);
        t.writeHeld.push_back(Now() - t0);
    }
    double t0 = Now();
    for (int row = 0; row < rows; ++row)
        ListSetCell(view, row, kColumnTranslated, "");
    UpdateWindow(list);
    t.writeUnheld.push_back(Now() - t0);
    DestroyWindow(frame);
    Pump();
    ReleaseApp();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 5;
    if (runs < 1) runs = 5;
    std::vector<std::string> modules;
    for (int i = 2; i < argc; ++i)
        modules.push_back(argv[i]);
    if (modules.empty()) {
        modules.push_back(ExeDir() + "LumivexBig10k.dll");
        modules.push_back(ExeDir() + "LumivexBig65k.dll");
    }
    printf("median of %d runs\n", runs);
    for (const std::string &module : modules) {
        Timings t;
        if (!Run(module, runs, t)) return 1;
        Report(module.c_str(), t);
        fflush(stdout);
    }
    return 0;
}
