// Find and Find Next over the translations of the real view.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <string>

#include "res/resource.h"
#include "tests/support/apptest.h"
#include "view/find.h"
#include "view/list.h"

namespace
{

class Find : public AppTest
{
protected:
    int a = -1, b = -1, c = -1;

    // Three translated rows: a and c hold "Datei", b holds "datei öffnen".
    void SetUp() override
    {
        Start();
        a = RowOf(103);
        b = RowOf(1000);
        c = RowOf(40001);
        ASSERT_TRUE(a > 0 && b > a && c > b);
        SetTranslation(a, "Datei");
        SetTranslation(b, "datei öffnen");
        SetTranslation(c, "Datei");
        SelectOnly({});
    }

    int Search(const char *what, DWORD flags)
    {
        lstrcpynA(Vs()->findWhat, what, sizeof Vs()->findWhat);
        Vs()->findRequest.Flags = flags;
        return SearchRows(view, &Vs()->findRequest);
    }

    int Selected() const { return ListNextRow(view, -1, LVNI_SELECTED); }
};

TEST_F(Find, SearchRowsFromTheSelection)
{
    const std::string source = Cell(RowOf(1), kColumnText).substr(0, 4); // a source text's word
    struct Row {
        char from, to; // a, b, c; '-' for none; from "ac" is both
        const char *what;
        DWORD flags;
    };
    const Row kRows[] = {
        {'-', '-', source.c_str(), FR_DOWN | FR_MATCHCASE}, // only translations are searched
        {'-', 'a', "DATEI", FR_DOWN},
        {'-', 'b', "datei", FR_DOWN | FR_MATCHCASE},
        {'-', 'a', "datei", FR_DOWN | FR_WHOLEWORD},
        {'a', 'c', "datei", FR_DOWN | FR_WHOLEWORD}, // b holds more than the word
        {'a', 'b', "datei", FR_DOWN},
        {'b', 'c', "datei", FR_DOWN},
        {'c', '-', "datei", FR_DOWN}, // past the last match: the selection stays
        {'c', 'b', "datei", 0},
        {'-', '-', "datei", 0},       // upward without a selection fails at once
        {'2', 'b', "datei", FR_DOWN}, // after the first of a and c
        {'-', '-', "", FR_DOWN},      // an empty text does nothing, not even the message
    };
    auto rowOf = [&](char name) { return name == 'a' ? a : name == 'b' ? b : name == 'c' ? c : -1; };
    for (const Row &row : kRows) {
        if (row.from == '2')
            SelectOnly({a, c});
        else if (row.from == '-')
            SelectOnly({});
        else
            SelectOnly({rowOf(row.from)});
        ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
        const int expected = rowOf(row.to);
        const std::string at = std::string(1, row.from) + " " + row.what;
        EXPECT_EQ(Search(row.what, row.flags), expected) << at;
        EXPECT_EQ(driver.Seen(), expected < 0 && row.what[0]) << at;
        if (expected < 0 && row.what[0]) {
            EXPECT_EQ(driver.LastText(), "Text not found") << at;
        }
        if (expected >= 0) {
            EXPECT_EQ(FocusedRow(), expected) << at;
        }
        const int selected = expected >= 0 ? expected : row.from == '-' ? -1 : rowOf(row.from);
        EXPECT_EQ(Selected(), selected) << at;
        if (selected >= 0) {
            EXPECT_EQ(ListNextRow(view, selected, LVNI_SELECTED), -1) << at;
        }
    }
}

TEST_F(Find, DownwardWithNothingSelectedStartsAtTheFirstRow)
{
    ListEmpty(view);
    for (UINT value : {5u, 6u})
        ListAppendRow(view, value, std::to_string(value).c_str(), "Open file");
    SetTranslation(0, "Datei");
    SetTranslation(1, "Datei");
    SelectOnly({});
    EXPECT_EQ(Search("datei", FR_DOWN), 0);
}

// The dialog rewrites the request's flags on each notification of its controls, and Wine's
// clears them while it is destroyed: Find Next and a new dialog keep the options of the last
// search all the same.
TEST_F(Find, OptionsOfTheLastSearchOutliveTheDialog)
{
    auto press = [](HWND dialog, int id) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
        PumpMessages();
    };
    auto close = [&](HWND dialog) {
        press(dialog, IDCANCEL);
        EXPECT_EQ(Vs()->findDialog, nullptr);
        Vs()->findRequest.Flags = 0; // as the dialog leaves them
    };
    int notFound = 0;
    ModalDriver driver([&notFound](HWND box) {
        if (WindowText(box) == "Find") return; // the dialog of the test itself
        ++notFound;
        PressButton(box, IDOK);
    });
    ASSERT_EQ(Run(CMD_EDIT_FIND), 1);
    HWND dialog = Vs()->findDialog;
    ASSERT_EQ(Run(CMD_EDIT_FIND), 1);
    EXPECT_EQ(Vs()->findDialog, dialog) << "a second Find shows the same dialog";
    SetDlgItemTextA(dialog, edt1, "datei");
    press(dialog, IDOK);
    EXPECT_EQ(Selected(), a);
    close(dialog);
    EXPECT_EQ(Run(CMD_EDIT_FIND_NEXT), 1);
    EXPECT_EQ(Selected(), b) << "downward, as the dialog searched, after it closed";

    // A new dialog shows the direction of the last search; an upward search is kept too.
    ASSERT_EQ(Run(CMD_EDIT_FIND), 1);
    dialog = Vs()->findDialog;
    EXPECT_EQ(IsDlgButtonChecked(dialog, rad2), BST_CHECKED) << "Down";
    CheckRadioButton(dialog, rad1, rad2, rad1);
    press(dialog, IDOK);
    EXPECT_EQ(Selected(), a);
    SetDlgItemTextA(dialog, edt1, "datei"); // a notification that rewrites the flags
    SelectOnly({c});
    EXPECT_EQ(Run(CMD_EDIT_FIND_NEXT), 1);
    EXPECT_EQ(Selected(), b) << "upward while the dialog is open";
    close(dialog);
    EXPECT_EQ(Run(CMD_EDIT_FIND_NEXT), 1);
    EXPECT_EQ(Selected(), a) << "upward after it closed";
    EXPECT_EQ(notFound, 0);
}

} // namespace
