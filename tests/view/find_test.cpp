// Find and Find Next over the translations of the real view.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <string>
#include <tuple>

#include "res/resource.h"
#include "tests/support/apptest.h"
#include "view/find.h"
#include "view/list.h"

namespace
{

class Find : public AppTest
{
protected:
    const int a = 0, b = 2, c = 3;

    // Rows a and c hold "Datei", b "datei öffnen"; the row between a and b is untranslated.
    void SetUp() override
    {
        Start();
        ListEmpty(view);
        UINT value = 5;
        for (const char *text : {"Datei", "", "datei öffnen", "Datei"})
            SetTranslation(ListAppendRow(view, value++, "5", "Open file"), text);
    }

    int Search(const char *what, DWORD flags)
    {
        lstrcpynA(Vs()->findWhat, what, sizeof Vs()->findWhat);
        Vs()->findRequest.Flags = flags;
        return SearchRows(view, &Vs()->findRequest);
    }
};

// Each row: the rows selected before, the text and flags, then the row found, the rows selected
// after, and the focused row or the message shown.
TEST_F(Find, SearchRowsFromTheSelection)
{
    const std::tuple<const char *, const char *, DWORD, const char *> kRows[] = {
        {"", "Open", FR_DOWN | FR_MATCHCASE, "-  Text not found"}, // only translations are searched
        {"", "DATEI", FR_DOWN, "a a a"},
        {"", "datei", FR_DOWN | FR_MATCHCASE, "b b b"},
        {"a", "datei", FR_DOWN | FR_WHOLEWORD, "c c c"}, // b holds more than the word
        {"b", "datei", FR_DOWN, "c c c"},
        {"c", "datei", FR_DOWN, "- c Text not found"}, // past the last match: the selection stays
        {"c", "datei", 0, "b b b"},
        {"", "datei", 0, "-  Text not found"}, // upward without a selection fails at once
        {"ac", "datei", FR_DOWN, "b b b"},     // after the first selected row
        {"", "", FR_DOWN, "-  "},              // an empty text does nothing, not even the message
    };
    auto name = [&](int row) { return row < 0 ? '-' : row == a ? 'a' : row == b ? 'b' : row == c ? 'c' : '?'; };
    for (const auto &[from, what, flags, expected] : kRows) {
        SelectOnly({});
        for (const char *n = from; *n; ++n)
            ListSetRowState(view, *n == 'a' ? a : *n == 'b' ? b : c, LVIS_SELECTED, LVIS_SELECTED);
        ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
        const int found = Search(what, flags);
        std::string seen = {name(found), ' '};
        for (int r = ListNextRow(view, -1, LVNI_SELECTED); r >= 0; r = ListNextRow(view, r, LVNI_SELECTED))
            seen += name(r);
        seen += ' ' + (found >= 0 ? std::string(1, name(FocusedRow())) : "") + driver.LastText();
        EXPECT_EQ(seen, expected) << from << " " << what;
    }
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
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), a);
    close(dialog);
    EXPECT_EQ(Run(CMD_EDIT_FIND_NEXT), 1);
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), b) << "downward, as the dialog searched, after it closed";

    // A new dialog shows the direction of the last search; an upward search is kept too.
    ASSERT_EQ(Run(CMD_EDIT_FIND), 1);
    dialog = Vs()->findDialog;
    EXPECT_EQ(IsDlgButtonChecked(dialog, rad2), BST_CHECKED) << "Down";
    CheckRadioButton(dialog, rad1, rad2, rad1);
    press(dialog, IDOK);
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), a);
    SetDlgItemTextA(dialog, edt1, "datei"); // a notification that rewrites the flags
    SelectOnly({c});
    EXPECT_EQ(Run(CMD_EDIT_FIND_NEXT), 1);
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), b) << "upward while the dialog is open";
    close(dialog);
    EXPECT_EQ(Run(CMD_EDIT_FIND_NEXT), 1);
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), a) << "upward after it closed";
    EXPECT_EQ(notFound, 0);
}

} // namespace
