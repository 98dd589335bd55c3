// Window tests: the program started inside the test process, its frame, view and rows at hand.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/appwindows.h"
#include "state/messages.h"
#include "tests/support/winharness.h"
#include "view/list.h"

std::string SampleModulePath(); // beside the built program
std::string TestModulePath(const char *name);
std::string SampleModuleIni();

// Starts the program as start-up does, settings from iniText, and handles what the start posted
// (the open of its document). Returns the frame, or null.
HWND StartProgram(const std::string &iniText, const std::string &commandLine = "Parlevo.exe");
// Started with that module; returns the view, or null.
HWND StartWithModule(const std::string &modulePath);

struct ListRow {
    UINT value;
    std::string id, text, translated;
    bool operator==(const ListRow &) const = default;
    friend void PrintTo(const ListRow &r, std::ostream *os) { *os << r.value << " [" << r.text << "]"; }
};
std::vector<ListRow> ReadRows(HWND view);
std::string ListCell(HWND view, int row, int column);

class AppTest : public ::testing::Test
{
protected:
    HWND frame = nullptr;
    HWND view = nullptr;

    void TearDown() override { HarnessStopApp(); }
    // Settings from SampleModuleIni() + extraIni, then the command line.
    void Start(const std::string &extraIni = "", const std::string &commandLine = "Parlevo.exe")
    {
        frame = StartProgram(SampleModuleIni() + extraIni, commandLine);
        ASSERT_NE(frame, nullptr);
        view = ViewOfFrame(frame);
    }
    ViewState *Vs() const { return GetViewState(view); }
    LRESULT Run(UINT command, void *arg = nullptr, UINT flags = 0) const
    {
        return SendMessageA(view, kMsgRunCommand, MAKEWPARAM(command, flags), reinterpret_cast<LPARAM>(arg));
    }
    int RowOf(UINT id) const // the index of the row with that string ID, or -1
    {
        for (int row = 0; row < ListRowCount(view); ++row)
            if (ListRowValue(view, row) == id) return row;
        return -1;
    }
    std::string Cell(int row, int column) const { return ListCell(view, row, column); }
    void SetTranslation(int row, const std::string &text) const
    {
        ListSetCell(view, row, kColumnTranslated, text.c_str());
    }
    void SelectOnly(std::initializer_list<int> rows) const
    {
        for (int row = ListNextRow(view, -1, LVNI_SELECTED); row >= 0; row = ListNextRow(view, row, LVNI_SELECTED))
            ListSetRowState(view, row, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows)
            ListSetRowState(view, row, LVIS_SELECTED, LVIS_SELECTED);
        PumpMessages();
    }
    int FocusedRow() const { return ListNextRow(view, -1, LVNI_FOCUSED); }
};
