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

namespace {

class Find : public AppTest {
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
};

TEST_F(Find, OnlyTranslationsAreSearched)
{
    ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
    // A word of a source text only, and a word of nothing.
    std::string source = Cell(RowOf(1), kColumnText);
    EXPECT_EQ(Search(source.substr(0, 4).c_str(), FR_DOWN | FR_MATCHCASE), -1);
    EXPECT_EQ(driver.Seen(), 1);
    EXPECT_EQ(driver.LastText(), "Text not found");
}

TEST_F(Find, MatchCaseAndWholeWord)
{
    ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
    EXPECT_EQ(Search("DATEI", FR_DOWN), a);
    EXPECT_EQ(Search("datei", FR_DOWN | FR_MATCHCASE), b);
    SelectOnly({});
    EXPECT_EQ(Search("datei", FR_DOWN | FR_WHOLEWORD), a);
    EXPECT_EQ(Search("datei", FR_DOWN | FR_WHOLEWORD), c) << "b holds more than the word";
    EXPECT_EQ(driver.Seen(), 0);
}

TEST_F(Find, WalkThroughMatchesEndsWithNotFoundOnTheLast)
{
    ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
    EXPECT_EQ(Search("datei", FR_DOWN), a);
    EXPECT_EQ(FocusedRow(), a);
    EXPECT_EQ(Search("datei", FR_DOWN), b);
    EXPECT_EQ(Search("datei", FR_DOWN), c);
    EXPECT_EQ(Search("datei", FR_DOWN), -1);
    EXPECT_EQ(driver.Seen(), 1);
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), c);
    EXPECT_EQ(ListNextRow(view, c, LVNI_SELECTED), -1);
    // Upward from there.
    EXPECT_EQ(Search("datei", 0), b);
}

TEST_F(Find, UpwardWithoutSelectionFailsAtOnce)
{
    ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
    EXPECT_EQ(Search("datei", 0), -1);
    EXPECT_EQ(driver.Seen(), 1);
}

TEST_F(Find, SearchStartsAfterTheFirstSelectedRow)
{
    SelectOnly({a, c});
    EXPECT_EQ(Search("datei", FR_DOWN), b);
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), b);
    EXPECT_EQ(ListNextRow(view, b, LVNI_SELECTED), -1);
}

TEST_F(Find, EmptyTextDoesNothing)
{
    ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
    EXPECT_EQ(Search("", FR_DOWN), -1);
    EXPECT_EQ(driver.Seen(), 0);
}

TEST_F(Find, DialogIsOneAndFindNextRepeatsAfterItClosed)
{
    EXPECT_EQ(Run(CMD_EDIT_FIND), 1);
    HWND dialog = Vs()->findDialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Run(CMD_EDIT_FIND), 1);
    EXPECT_EQ(Vs()->findDialog, dialog) << "a second Find shows the same dialog";
    ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PumpMessages();
    EXPECT_EQ(Vs()->findDialog, nullptr);
    // The last search's text and options stay for Find Next.
    lstrcpynA(Vs()->findWhat, "datei", sizeof Vs()->findWhat);
    Vs()->findRequest.Flags = FR_DOWN;
    EXPECT_EQ(Run(CMD_EDIT_FIND_NEXT), 1);
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), a);
    EXPECT_EQ(Run(CMD_EDIT_FIND_NEXT), 1);
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), b);
}

// The dialog rewrites the request's flags on each notification of its controls, and Wine's
// clears them while it is destroyed: Find Next and a new dialog keep the options of the last
// search all the same.
TEST_F(Find, OptionsOfTheLastSearchOutliveTheDialog)
{
    auto findNextIn = [](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDOK)));
    };
    auto close = [this](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDCANCEL)));
        PumpMessages();
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
    SetDlgItemTextA(dialog, edt1, "datei");
    findNextIn(dialog);
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), a);
    close(dialog);
    EXPECT_EQ(Run(CMD_EDIT_FIND_NEXT), 1);
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), b) << "downward, as the dialog searched";

    // A new dialog shows the direction of the last search; an upward search is kept too.
    ASSERT_EQ(Run(CMD_EDIT_FIND), 1);
    dialog = Vs()->findDialog;
    EXPECT_EQ(IsDlgButtonChecked(dialog, rad2), BST_CHECKED) << "Down";
    CheckRadioButton(dialog, rad1, rad2, rad1);
    findNextIn(dialog);
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
