// The view's dialogs driven through the real view with the sample module: Translate, Signature
// and Find, and what follows a translation: progress, places, the offer to fill repeated texts.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "frame/settingsdata.h"
#include "state/appstate.h"
#include "tests/view/viewtesting.h"
#include "view/find.h"
#include "view/list.h"
#include "view/worktrack.h"

namespace
{

class Translate : public ViewTest
{
protected:
    void SetUp() override { Start(); }
    // Translates the rows of every string ID but the given ones.
    void TranslateAllBut(const std::vector<int> &open)
    {
        for (int r = 0; r < ListRowCount(view); ++r)
            if (ListRowValue(view, r) && std::find(open.begin(), open.end(), r) == open.end()) SetTranslation(r, "x");
    }
};

TEST_F(Translate, FieldShowsLineBreaksAndOkStoresWhatItHolds)
{
    // 244 bytes, shown as 324 with every LF as CR LF; the stray CR is kept as it is stored.
    std::string stored, display;
    for (int i = 0; i < 80; ++i)
        stored += "ab\n", display += "ab\r\n";
    // The row, its text, what the field shows, the button pressed with the second character selected
    // (IDOK: the field emptied first), and the text after OK.
    const std::tuple<int, std::string, std::string, int, std::string> kRows[] = {
        {RowOf(103), "Zeile\nzwei", "Zeile\r\nzwei", 0, "Zeile\nzwei"}, // unchanged texts are no change
        {RowOf(103), stored + "c\r\nd", display + "c\r\nd", 0, stored + "c\r\nd"},
        {RowOf(103), "abc", "abc", IDC_TR_INSERT_ENTER, "a\nc"},    // replaces the selection
        {RowOf(54), "", "", IDC_TR_COPY, "Moving %d files to\n%s"}, // the source byte for byte
        {RowOf(103), "weg", "weg", IDOK, ""},                       // untranslated
    };
    for (const auto &[row, before, shown, button, after] : kRows) {
        SetTranslation(row, before);
        SelectOnly({row});
        std::string seen;
        ModalDriver driver([&](HWND dialog) {
            seen = DlgText(dialog, IDC_TR_ID) + "|" + DlgText(dialog, IDC_TR_TRANSLATION) + "|";
            SendDlgItemMessageA(dialog, IDC_TR_TRANSLATION, EM_SETSEL, 1, 2);
            if (button == IDOK) SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, "");
            if (button && button != IDOK) SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            PressButton(dialog, IDOK);
        });
        EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 1);
        EXPECT_EQ(seen + Cell(row, kColumnTranslated),
                  std::to_string(ListRowValue(view, row)) + "|" + shown + "|" + after);
        EXPECT_EQ(Vs()->modified, after != before) << "the changes come after the unchanged rows";
    }
    EXPECT_NE(WindowText(frame).find("*]"), std::string::npos);
}

TEST_F(Translate, SelectedRowsOpenInOrderAndEachTakesTheFocus)
{
    SelectOnly({5, 9, 12});
    std::string seen; // each dialog's ID and focused row
    ModalDriver driver([&](HWND dialog) {
        seen += DlgText(dialog, IDC_TR_ID) + "@" + std::to_string(FocusedRow()) + " ";
        SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, ("t" + DlgText(dialog, IDC_TR_ID)).c_str());
        PressButton(dialog, IDOK);
    });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 3);
    EXPECT_EQ(seen + Cell(9, kColumnTranslated), "5@5 10@9 13@12 t10");
}

TEST_F(Translate, NextUntranslatedSkipsCategoriesAndStopsAtCancelOrTheEnd)
{
    std::vector<int> open;
    for (int r = 21; open.size() < 3; ++r)
        if (ListRowValue(view, r)) open.push_back(r);
    TranslateAllBut(open);
    // Typed text (null: none) and button of each dialog, run after run.
    const std::pair<const char *, int> kActions[] = {
        {"erste", IDOK}, {nullptr, IDCANCEL}, {nullptr, IDOK}, {nullptr, IDCANCEL}, {nullptr, IDCANCEL}};
    std::string ids;
    size_t n = 0;
    ModalDriver driver([&](HWND dialog) {
        ids += DlgText(dialog, IDC_TR_ID) + " ";
        const auto &[typed, button] = kActions[std::min(n++, std::size(kActions) - 1)];
        if (typed) SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, typed);
        PressButton(dialog, button);
    });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE_NEXT), 1);
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE_NEXT), 1);
    Run(CMD_TEXT_TRANSLATE_NEXT);
    // An empty confirmation leaves the row untranslated, and it comes up first again.
    EXPECT_EQ(ids + Cell(open[0], kColumnTranslated) + "|" + Cell(open[1], kColumnTranslated), "29 30 30 31 30 erste|");
    TranslateAllBut({});
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE_NEXT), 0) << "nothing left: only a beep";
    EXPECT_EQ(driver.Seen(), 5);
}

TEST_F(Translate, SignatureKeepsItsLineBreaksAndCancelKeepsThePrevious)
{
    lstrcpynA(Vs()->signature, "Language: X\r\n", 4096);
    std::vector<std::string> shown;
    ModalDriver driver([&](HWND dialog) {
        shown.push_back(DlgText(dialog, IDC_SIG_TEXT));
        SetDlgItemTextA(dialog, IDC_SIG_TEXT, "Language: Deutsch\r\nAuthor: Jo\r\n");
        PressButton(dialog, shown.size() == 1 ? IDCANCEL : IDOK);
    });
    EXPECT_EQ(Run(CMD_TEXT_SIGNATURE), 0);
    EXPECT_STREQ(Vs()->signature, "Language: X\r\n");
    EXPECT_FALSE(Vs()->modified);
    EXPECT_EQ(Run(CMD_TEXT_SIGNATURE), 1);
    EXPECT_EQ(shown, (std::vector<std::string>{"Language: X\r\n", "Language: X\r\n"}));
    EXPECT_STREQ(Vs()->signature, "Language: Deutsch\r\nAuthor: Jo\r\n");
    EXPECT_TRUE(Vs()->modified);
}

// The sample's repeated texts: "Preview" 27 and 1006, "Pixels" 1012 and 50007.
class WorkView : public ViewTest
{
protected:
    // Translates the row of id; the offer to fill its repeats gets answer.
    void TranslateById(UINT id, const std::string &text, int answer = IDC_FR_NO, bool dontAsk = false)
    {
        TranslateRow(RowOf(id), {text}, [&](HWND offer) {
            offers++;
            if (dontAsk) CheckDlgButton(offer, IDC_FR_DONT_ASK, BST_CHECKED);
            PressButton(offer, answer);
        });
    }
    int offers = 0;
};

TEST_F(WorkView, ProgressFollowsOpenTranslateAndFill)
{
    Start("[Option]\r\nAskToFillRepeated=0\r\n");
    // The pane, the progress drawn in the title row of 27's category (row 0) and that title itself.
    auto state = [&]() {
        char progress[64] = "";
        WorkCategoryProgressText(view, 0, progress, sizeof progress);
        return Pane(kPaneProgress) + "|" + progress + "|" + Cell(0, kColumnText);
    };
    EXPECT_EQ(state(), "0 of 412 translated (0%)|0 of 51|Standard string");
    TranslateById(27, "Vorschau");
    EXPECT_EQ(std::to_string(offers) + " " + state(),
              "0 1 of 412 translated (0%)|1 of 51|Standard string"); // AskToFillRepeated=0 asks nothing
    ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
    Run(CMD_TEXT_FILL_REPEATED);
    EXPECT_EQ(driver.LastText() + "|" + Cell(RowOf(1006), kColumnTranslated) + "|" + Pane(kPaneProgress),
              "1 rows filled|Vorschau|2 of 412 translated (0%)");
    EXPECT_TRUE(Vs()->modified);
}

// Back and forward go through the rows opened in Translate; Translate Previous walks up.
TEST_F(WorkView, PlacesOfTheOpenedRowsAndPreviousUntranslated)
{
    Start();
    for (UINT id : {103u, 27u, 1012u})
        TranslateRow(RowOf(id), {});
    SelectOnly({RowOf(50007)});
    const std::pair<UINT, UINT> kSteps[] = {{CMD_EDIT_BACK, 27},    {CMD_EDIT_BACK, 103},     {CMD_EDIT_BACK, 0},
                                            {CMD_EDIT_FORWARD, 27}, {CMD_EDIT_FORWARD, 1012}, {CMD_EDIT_FORWARD, 0}};
    int place = RowOf(50007);
    for (const auto &[command, id] : kSteps) {
        EXPECT_EQ(Run(command), id ? 1 : 0) << id;
        place = id ? RowOf(id) : place;                    // at the oldest and newest place nothing moves
        EXPECT_EQ(Focused(), std::to_string(place)) << id; // focused and alone selected
    }

    SetTranslation(RowOf(1005), "schon da");
    SelectOnly({RowOf(1006)});
    ListSetRowState(view, RowOf(1006), LVIS_FOCUSED, LVIS_FOCUSED);
    std::string opened;
    ModalDriver driver([&](HWND dialog) {
        opened = DlgText(dialog, IDC_TR_ID);
        PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE_PREVIOUS), 0);
    EXPECT_EQ(opened, "1004") << "the first untranslated row above";
}

TEST_F(WorkView, OfferAfterOkFillsTheRepeatsAndCanBeTurnedOff)
{
    Start();
    TranslateById(1012, "Pixel", IDC_FR_YES, true);
    TranslateById(27, "Vorschau"); // asks nothing: Don't ask again holds
    EXPECT_EQ(std::to_string(offers) + " " + Cell(RowOf(50007), kColumnTranslated) + "|" +
                  Cell(RowOf(1006), kColumnTranslated),
              "1 Pixel|");
    EXPECT_NE(HarnessReadFile(AppSettingsPath()).find("AskToFillRepeated=0"), std::string::npos);
}

class Find : public ViewTest
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
