// Shared by the catalogue's window tests.
#include "tests/catalogue/catalogue_testing.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "app/appwindows.h"
#include "tests/support/winharness.h"
#include "view/list.h"

static std::string ExeDir()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path, n);
    return dir.substr(0, dir.rfind('\\') + 1);
}

std::string TestModulePath(const char *name)
{
    return ExeDir() + "catalogue-data\\" + name + ".dll";
}

std::string SampleModulePath()
{
    return ExeDir() + "..\\Lumivex.dll";
}

std::string WineModulePath(int bits, const char *name)
{
    std::string path = bits == 64 ? "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\"
                                  : "Z:\\usr\\lib\\i386-linux-gnu\\wine\\i386-windows\\";
    path += name;
    return HarnessFileExists(path) ? path : "";
}

HWND StartWithModule(const std::string &modulePath)
{
    HarnessStartApp("[Module]\r\nFilename=" + modulePath + "\r\n");
    HWND frame = StartFrame(GetModuleHandleA(nullptr), "Parlevo.exe", SW_SHOWNORMAL);
    HWND view = frame ? ViewOfFrame(frame) : nullptr;
    if (!view) return nullptr;
    PumpUntil([&] { return WindowText(frame).find(" - [") != std::string::npos; });
    PumpMessages();
    return view;
}

std::vector<ListRow> ReadRows(HWND view)
{
    std::vector<ListRow> rows;
    int count = ListRowCount(view);
    for (int i = 0; i < count; ++i) {
        char id[kTextSize], text[kTextSize], translated[kTextSize];
        ListGetCell(view, i, kColumnId, id, sizeof id);
        ListGetCell(view, i, kColumnText, text, sizeof text);
        ListGetCell(view, i, kColumnTranslated, translated, sizeof translated);
        rows.push_back({ListRowValue(view, i), id, text, translated});
    }
    return rows;
}

std::string Describe(const std::vector<ListRow> &rows)
{
    std::string out;
    for (const ListRow &row : rows) {
        out += std::to_string(row.value) + " [" + row.id + "] [" + row.text + "] [" + row.translated + "]\n";
    }
    return out;
}
