// Shared by the catalogue's window tests: where the test modules are, starting the program
// with one of them, and reading the list back.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A module built for the tests (tests/catalogue-data/<name>.dll beside the test programs).
std::string TestModulePath(const char *name);
// The sample module, build/<preset>/Lumivex.dll.
std::string SampleModulePath();
// One of Wine's own DLLs of the given bitness (32 or 64), or "" when it is not installed.
std::string WineModulePath(int bits, const char *name);

// Starts the program with that module path in the settings and waits for the new document;
// returns the view, or null.
HWND StartWithModule(const std::string &modulePath);

struct ListRow {
    UINT value;
    std::string id;
    std::string text;
    std::string translated;
    bool operator==(const ListRow &other) const
    {
        return value == other.value && id == other.id && text == other.text && translated == other.translated;
    }
};
std::vector<ListRow> ReadRows(HWND view);
std::string Describe(const std::vector<ListRow> &rows);
