// The Translate and Signature dialogs driven through the real view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/apptest.h"
#include "view/list.h"
#include "view/translate.h"

namespace {

std::string DlgText(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class Translate : public AppTest {};

TEST(TranslateDisplay, LineBreaksBecomeCrLfAndBack)
{
    char out[252];
    ToDisplayText("one\ntwo\r\nthree", out, sizeof out);
    EXPECT_STREQ(out, "one\r\ntwo\r\nthree");
    char back[252];
    FromDisplayText(out, back, sizeof back, nullptr);
    EXPECT_STREQ(back, "one\ntwo\nthree");

    // A text longer than a record is cut before a double-byte character that no longer fits whole.
    auto cp932Lead = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); };
    std::string typed = std::string(250, 'a') + "\x83\x41";
    EXPECT_EQ(FromDisplayText(typed.c_str(), back, sizeof back, cp932Lead), 250u);
    EXPECT_EQ(std::string(back), std::string(250, 'a'));
    typed = std::string(249, 'a') + "\r\x83\x41z";
    EXPECT_EQ(FromDisplayText(typed.c_str(), back, sizeof back, cp932Lead), 251u);
}

TEST(TranslateDisplay, PairThatNoLongerFitsIsLeftOutWithTheRest)
{
    std::string text(249, 'a');
    text += "\nzz";
    char out[252];
    // 249 + CR LF = 251 bytes fits exactly; the z's no longer do.
    EXPECT_EQ(ToDisplayText(text.c_str(), out, sizeof out), 251u);
    text = std::string(250, 'a') + "\nzz";
    EXPECT_EQ(ToDisplayText(text.c_str(), out, sizeof out), 250u);
    EXPECT_EQ(std::string(out), std::string(250, 'a'));
    char tiny[1];
    EXPECT_EQ(ToDisplayText("abc", tiny, sizeof tiny), 0u);
    EXPECT_EQ(tiny[0], '\0');
}

TEST_F(Translate, BareLineFeedShowsOnTwoLinesAndComesBackUnchanged)
{
    Start();
    int row = RowOf(103);
    ASSERT_GT(row, 0);
    SetTranslation(row, "Zeile\nzwei");
    SelectOnly({row});
    std::string shown, id;
    ModalDriver driver([&](HWND dialog) {
        shown = DlgText(dialog, IDC_TR_TRANSLATION);
        id = DlgText(dialog, IDC_TR_ID);
        PressButton(dialog, IDOK);
    });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 1);
    EXPECT_EQ(shown, "Zeile\r\nzwei");
    EXPECT_EQ(id, "103");
    EXPECT_EQ(Cell(row, kColumnTranslated), "Zeile\nzwei");
    EXPECT_FALSE(Vs()->modified) << "an unchanged text is no change";
}

TEST_F(Translate, OkWithoutAChangeKeepsALongTextWhole)
{
    Start();
    int row = RowOf(103);
    // 244 bytes, shown as 324 with every LF as CR LF; the stray CR is kept as it is stored.
    std::string stored, display;
    for (int i = 0; i < 80; ++i) {
        stored += "ab\n";
        display += "ab\r\n";
    }
    stored += "c\r\nd";
    display += "c\r\nd";
    SetTranslation(row, stored);
    SelectOnly({row});
    std::string shown;
    ModalDriver driver([&](HWND dialog) {
        shown = DlgText(dialog, IDC_TR_TRANSLATION);
        PressButton(dialog, IDOK);
    });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 1);
    EXPECT_EQ(shown, display);
    EXPECT_EQ(Cell(row, kColumnTranslated), stored);
    EXPECT_FALSE(Vs()->modified);
}

TEST_F(Translate, InsertEnterReplacesTheSelectionAndMarksTheDocument)
{
    Start();
    int row = RowOf(103);
    SetTranslation(row, "abc");
    SelectOnly({row});
    ModalDriver driver([&](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_TR_TRANSLATION, EM_SETSEL, 1, 2);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TR_INSERT_ENTER, BN_CLICKED), 0);
        PressButton(dialog, IDOK);
    });
    Run(CMD_TEXT_TRANSLATE);
    EXPECT_EQ(Cell(row, kColumnTranslated), "a\nc");
    EXPECT_TRUE(Vs()->modified);
    EXPECT_NE(WindowText(frame).find("*]"), std::string::npos);
}

TEST_F(Translate, CopyTextTakesTheSourceByteForByte)
{
    Start();
    int row = -1;
    // A source text with a line break.
    for (int r = ListNextRow(view, -1, LVNI_ALL); r >= 0; r = ListNextRow(view, r, LVNI_ALL)) {
        if (ListRowValue(view, r) && Cell(r, kColumnText).find('\n') != std::string::npos) {
            row = r;
            break;
        }
    }
    ASSERT_GE(row, 0);
    SelectOnly({row});
    ModalDriver driver([&](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TR_COPY, BN_CLICKED), 0);
        PressButton(dialog, IDOK);
    });
    Run(CMD_TEXT_TRANSLATE);
    EXPECT_EQ(Cell(row, kColumnTranslated), Cell(row, kColumnText));
}

TEST_F(Translate, OkWithAnEmptyFieldLeavesTheRowUntranslated)
{
    Start();
    int row = RowOf(103);
    SetTranslation(row, "weg");
    SelectOnly({row});
    ModalDriver driver([&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, "");
        PressButton(dialog, IDOK);
    });
    Run(CMD_TEXT_TRANSLATE);
    EXPECT_EQ(Cell(row, kColumnTranslated), "");
}

TEST_F(Translate, SelectedRowsOpenInOrderAndEachTakesTheFocus)
{
    Start();
    SelectOnly({5, 9, 12});
    std::vector<std::string> ids;
    std::vector<int> focused;
    ModalDriver driver([&](HWND dialog) {
        ids.push_back(DlgText(dialog, IDC_TR_ID));
        focused.push_back(FocusedRow());
        SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, ("t" + ids.back()).c_str());
        PressButton(dialog, IDOK);
    });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 3);
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_EQ(ids[0], std::to_string(ListRowValue(view, 5)));
    EXPECT_EQ(ids[2], std::to_string(ListRowValue(view, 12)));
    EXPECT_EQ(focused, (std::vector<int>{5, 9, 12}));
    EXPECT_EQ(Cell(9, kColumnTranslated), "t" + std::to_string(ListRowValue(view, 9)));
}

TEST_F(Translate, NextUntranslatedStopsAtCancelAndSkipsCategories)
{
    Start();
    // Translate everything but three rows.
    std::vector<int> open;
    for (int r = ListNextRow(view, -1, LVNI_ALL); r >= 0; r = ListNextRow(view, r, LVNI_ALL)) {
        if (ListRowValue(view, r) == 0) continue;
        if (open.size() < 3 && r > 20) open.push_back(r);
        else SetTranslation(r, "x");
    }
    std::vector<std::string> ids;
    ModalDriver driver([&](HWND dialog) {
        ids.push_back(DlgText(dialog, IDC_TR_ID));
        if (ids.size() == 1) {
            SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, "erste");
            PressButton(dialog, IDOK);
        } else {
            PressButton(dialog, IDCANCEL);
        }
    });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE_NEXT), 1);
    EXPECT_EQ(ids.size(), 2u);
    EXPECT_EQ(Cell(open[0], kColumnTranslated), "erste");
    EXPECT_EQ(Cell(open[1], kColumnTranslated), "");
    EXPECT_EQ(Cell(open[2], kColumnTranslated), "");
    for (const std::string &id : ids) EXPECT_NE(id, "0");
}

TEST_F(Translate, NextUntranslatedWithNothingLeftOnlyBeeps)
{
    Start();
    for (int r = ListNextRow(view, -1, LVNI_ALL); r >= 0; r = ListNextRow(view, r, LVNI_ALL))
        if (ListRowValue(view, r)) SetTranslation(r, "x");
    ModalDriver driver([](HWND dialog) { PressButton(dialog, IDCANCEL); });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE_NEXT), 0);
    EXPECT_EQ(driver.Seen(), 0);
}

TEST_F(Translate, EmptyConfirmationComesUpFirstAgainNextRun)
{
    Start();
    std::vector<std::string> ids;
    ModalDriver driver([&](HWND dialog) {
        ids.push_back(DlgText(dialog, IDC_TR_ID));
        PressButton(dialog, ids.size() % 2 ? IDOK : IDCANCEL);
    });
    Run(CMD_TEXT_TRANSLATE_NEXT);
    Run(CMD_TEXT_TRANSLATE_NEXT);
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(ids[0], ids[2]);
}

TEST_F(Translate, SignatureKeepsItsLineBreaksAndCancelKeepsThePrevious)
{
    Start();
    ModalDriver ok([](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_SIG_TEXT, "Language: Deutsch\r\nAuthor: Jo\r\n");
        PressButton(dialog, IDOK);
    });
    EXPECT_EQ(Run(CMD_TEXT_SIGNATURE), 1);
    EXPECT_STREQ(Vs()->signature, "Language: Deutsch\r\nAuthor: Jo\r\n");
    EXPECT_TRUE(Vs()->modified);
}

TEST_F(Translate, SignatureCancelChangesNothing)
{
    Start();
    lstrcpynA(Vs()->signature, "Language: X\r\n", 4096);
    std::string shown;
    ModalDriver cancel([&](HWND dialog) {
        shown = DlgText(dialog, IDC_SIG_TEXT);
        SetDlgItemTextA(dialog, IDC_SIG_TEXT, "changed");
        PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(CMD_TEXT_SIGNATURE), 0);
    EXPECT_EQ(shown, "Language: X\r\n");
    EXPECT_STREQ(Vs()->signature, "Language: X\r\n");
    EXPECT_FALSE(Vs()->modified);
}

} // namespace
