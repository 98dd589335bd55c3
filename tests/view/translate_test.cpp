// The Translate and Signature dialogs driven through the real view.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <string>
#include <vector>

#include "tests/view/viewtesting.h"
#include "view/list.h"

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

} // namespace
