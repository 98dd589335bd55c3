// A fixture for window tests: the program started in the test process with the sample host
// module.
#include "tests/support/apptest.h"

#include "app/startup.h"
#include "view/list.h"

std::string SampleModuleIni()
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string dir = exe;
    dir = dir.substr(0, dir.rfind('\\'));
    // The tests sit in tests/ below the folder holding the program and the sample module.
    return "[Module]\r\nFilename=" + dir.substr(0, dir.rfind('\\')) + "\\Lumivex.dll\r\n";
}

void AppTest::TearDown()
{
    HarnessStopApp();
}

void AppTest::Start(const std::string &extraIni, const std::string &commandLine)
{
    HarnessStartApp(SampleModuleIni() + extraIni);
    frame = StartFrame(GetModuleHandleA(nullptr), commandLine.c_str(), SW_SHOWNORMAL);
    ASSERT_NE(frame, nullptr);
    view = ViewOfFrame(frame);
    PumpMessages();
}

LRESULT AppTest::Run(UINT command, void *arg, UINT flags)
{
    return SendMessageA(view, kMsgRunCommand, MAKEWPARAM(command, flags), reinterpret_cast<LPARAM>(arg));
}

int AppTest::RowOf(UINT id) const
{
    for (int row = ListNextRow(view, -1, LVNI_ALL); row >= 0; row = ListNextRow(view, row, LVNI_ALL))
        if (ListRowValue(view, row) == id) return row;
    return -1;
}

std::string AppTest::Cell(int row, int column) const
{
    char text[kTextSize] = "";
    ListGetCell(view, row, column, text, sizeof text);
    return text;
}

void AppTest::SetTranslation(int row, const std::string &text) const
{
    ListSetCell(view, row, kColumnTranslated, text.c_str());
}

void AppTest::SelectOnly(std::initializer_list<int> rows) const
{
    for (int row = ListNextRow(view, -1, LVNI_SELECTED); row >= 0; row = ListNextRow(view, row, LVNI_SELECTED))
        ListSetRowState(view, row, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int row : rows) ListSetRowState(view, row, LVIS_SELECTED, LVIS_SELECTED);
    PumpMessages();
}

int AppTest::FocusedRow() const
{
    return ListNextRow(view, -1, LVNI_FOCUSED);
}
