// The Translate and Signature dialogs driven through the real view.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

// The stored text, what the field shows, what is done in the dialog before OK, and the text after.
TEST_F(Translate, FieldShowsLineBreaksAndOkStoresWhatItHolds)
{
    int lineBreak = -1; // a source text with a line break
    for (int r = 0; r < ListRowCount(view) && lineBreak < 0; ++r)
        if (ListRowValue(view, r) && Cell(r, kColumnText).find('\n') != std::string::npos) lineBreak = r;
    ASSERT_GE(lineBreak, 0);
    // 244 bytes, shown as 324 with every LF as CR LF; the stray CR is kept as it is stored.
    std::string stored, display;
    for (int i = 0; i < 80; ++i)
        stored += "ab\n", display += "ab\r\n";
    struct Row {
        int row;
        std::string before, shown;
        std::function<void(HWND)> act;
        std::string after;
    };
    const auto none = [](HWND) {};
    const Row kRows[] = {
        // Unchanged texts come back whole and are no change.
        {RowOf(103), "Zeile\nzwei", "Zeile\r\nzwei", none, "Zeile\nzwei"},
        {RowOf(103), stored + "c\r\nd", display + "c\r\nd", none, stored + "c\r\nd"},
        {RowOf(103), "abc", "abc", // Insert Enter replaces the selection
         [](HWND d) {
             SendDlgItemMessageA(d, IDC_TR_TRANSLATION, EM_SETSEL, 1, 2);
             SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_TR_INSERT_ENTER, BN_CLICKED), 0);
         },
         "a\nc"},
        {lineBreak, "", "", [](HWND d) { SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_TR_COPY, BN_CLICKED), 0); },
         Cell(lineBreak, kColumnText)}, // Copy text takes the source byte for byte
        {RowOf(103), "weg", "weg", [](HWND d) { SetDlgItemTextA(d, IDC_TR_TRANSLATION, ""); }, ""}, // untranslated
    };
    for (const Row &row : kRows) {
        SetTranslation(row.row, row.before);
        SelectOnly({row.row});
        std::string id, shown;
        ModalDriver driver([&](HWND dialog) {
            id = DlgText(dialog, IDC_TR_ID);
            shown = DlgText(dialog, IDC_TR_TRANSLATION);
            row.act(dialog);
            PressButton(dialog, IDOK);
        });
        EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 1);
        EXPECT_EQ(id + "|" + shown + "|" + Cell(row.row, kColumnTranslated),
                  std::to_string(ListRowValue(view, row.row)) + "|" + row.shown + "|" + row.after);
        EXPECT_EQ(Vs()->modified, row.after != row.before) << "the changes come after the unchanged rows";
    }
    EXPECT_NE(WindowText(frame).find("*]"), std::string::npos);
}

TEST_F(Translate, SelectedRowsOpenInOrderAndEachTakesTheFocus)
{
    SelectOnly({5, 9, 12});
    std::string seen, expected; // each dialog's ID and focused row
    ModalDriver driver([&](HWND dialog) {
        seen += DlgText(dialog, IDC_TR_ID) + "@" + std::to_string(FocusedRow()) + " ";
        SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, ("t" + DlgText(dialog, IDC_TR_ID)).c_str());
        PressButton(dialog, IDOK);
    });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 3);
    for (int row : {5, 9, 12})
        expected += std::to_string(ListRowValue(view, row)) + "@" + std::to_string(row) + " ";
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(Cell(9, kColumnTranslated), "t" + std::to_string(ListRowValue(view, 9)));
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
    std::vector<std::string> ids;
    ModalDriver driver([&](HWND dialog) {
        ids.push_back(DlgText(dialog, IDC_TR_ID));
        const auto &[typed, button] = kActions[std::min(ids.size(), std::size(kActions)) - 1];
        if (typed) SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, typed);
        PressButton(dialog, button);
    });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE_NEXT), 1);
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE_NEXT), 1);
    Run(CMD_TEXT_TRANSLATE_NEXT);
    // An empty confirmation leaves the row untranslated, and it comes up first again.
    std::vector<std::string> expected;
    for (int i : {0, 1, 1, 2, 1})
        expected.push_back(std::to_string(ListRowValue(view, open[size_t(i)])));
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(Cell(open[0], kColumnTranslated), "erste");
    EXPECT_EQ(Cell(open[1], kColumnTranslated), "");
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
