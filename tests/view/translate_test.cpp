// The Translate and Signature dialogs driven through the real view.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/apptest.h"
#include "view/list.h"
#include "view/translate.h"

namespace
{

std::string DlgText(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool Cp932Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

class Translate : public AppTest
{
protected:
    // Translates the rows of every string ID but the given ones.
    void TranslateAllBut(const std::vector<int> &open)
    {
        for (int r = 0; r < ListRowCount(view); ++r)
            if (ListRowValue(view, r) && std::find(open.begin(), open.end(), r) == open.end()) SetTranslation(r, "x");
    }
};

TEST(TranslateDisplay, LineBreaksBecomeCrLfAndBackWithinTheRecord)
{
    struct Row {
        std::string text;
        bool toDisplay, cp932;
        size_t capacity;
        std::string expected;
    };
    const std::string a249(249, 'a'), a250(250, 'a');
    const Row kRows[] = {
        {"one\ntwo\r\nthree", true, false, 252, "one\r\ntwo\r\nthree"},
        {"one\r\ntwo\r\nthree", false, false, 252, "one\ntwo\nthree"},
        {a249 + "\nzz", true, false, 252, a249 + "\r\n"}, // 251 bytes fit exactly; the z's no longer do
        {a250 + "\nzz", true, false, 252, a250},          // a CR LF that no longer fits is left out
        {"abc", true, false, 1, ""},
        {a250 + "\x83\x41", false, true, 252, a250}, // not half of a double-byte character
        {a249 + "\r\x83\x41z", false, true, 252, a249 + "\x83\x41"},
    };
    for (const Row &row : kRows) {
        char out[252];
        size_t n = row.toDisplay
                       ? ToDisplayText(row.text.c_str(), out, row.capacity)
                       : FromDisplayText(row.text.c_str(), out, row.capacity, row.cp932 ? Cp932Lead : nullptr);
        EXPECT_EQ(std::string(out), row.expected) << row.text.substr(0, 20);
        EXPECT_EQ(n, row.expected.size());
    }
}

TEST_F(Translate, OkWithoutAChangeShowsLineBreaksAndKeepsTheTextWhole)
{
    Start();
    // 244 bytes, shown as 324 with every LF as CR LF; the stray CR is kept as it is stored.
    std::string stored, display;
    for (int i = 0; i < 80; ++i)
        stored += "ab\n", display += "ab\r\n";
    const std::pair<std::string, std::string> kTexts[] = {{"Zeile\nzwei", "Zeile\r\nzwei"},
                                                          {stored + "c\r\nd", display + "c\r\nd"}};
    int row = RowOf(103);
    for (const auto &[text, shown] : kTexts) {
        SetTranslation(row, text);
        SelectOnly({row});
        std::string seen, id;
        ModalDriver driver([&](HWND dialog) {
            seen = DlgText(dialog, IDC_TR_TRANSLATION);
            id = DlgText(dialog, IDC_TR_ID);
            PressButton(dialog, IDOK);
        });
        EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 1);
        EXPECT_EQ(seen, shown);
        EXPECT_EQ(id, "103");
        EXPECT_EQ(Cell(row, kColumnTranslated), text);
        EXPECT_FALSE(Vs()->modified) << "an unchanged text is no change";
    }
}

TEST_F(Translate, ButtonsAndTheFieldChangeTheRow)
{
    Start();
    int lineBreak = -1; // a source text with a line break
    for (int r = 0; r < ListRowCount(view) && lineBreak < 0; ++r)
        if (ListRowValue(view, r) && Cell(r, kColumnText).find('\n') != std::string::npos) lineBreak = r;
    ASSERT_GE(lineBreak, 0);
    struct Row {
        int row;
        const char *before;
        std::function<void(HWND)> act;
        std::string expected;
    };
    const Row kRows[] = {
        {RowOf(103), "abc", // Insert Enter replaces the selection
         [](HWND d) {
             SendDlgItemMessageA(d, IDC_TR_TRANSLATION, EM_SETSEL, 1, 2);
             SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_TR_INSERT_ENTER, BN_CLICKED), 0);
         },
         "a\nc"},
        {lineBreak, "", [](HWND d) { SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_TR_COPY, BN_CLICKED), 0); },
         Cell(lineBreak, kColumnText)}, // Copy text takes the source byte for byte
        {RowOf(103), "weg", [](HWND d) { SetDlgItemTextA(d, IDC_TR_TRANSLATION, ""); }, ""}, // untranslated again
    };
    for (const Row &row : kRows) {
        SetTranslation(row.row, row.before);
        SelectOnly({row.row});
        ModalDriver driver([&](HWND dialog) {
            row.act(dialog);
            PressButton(dialog, IDOK);
        });
        Run(CMD_TEXT_TRANSLATE);
        EXPECT_EQ(Cell(row.row, kColumnTranslated), row.expected);
    }
    EXPECT_TRUE(Vs()->modified);
    EXPECT_NE(WindowText(frame).find("*]"), std::string::npos);
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
    EXPECT_EQ(focused, (std::vector<int>{5, 9, 12}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ids.at(size_t(i)), std::to_string(ListRowValue(view, focused[size_t(i)])));
    EXPECT_EQ(Cell(9, kColumnTranslated), "t" + ids[1]);
}

TEST_F(Translate, NextUntranslatedSkipsCategoriesAndStopsAtCancelOrTheEnd)
{
    Start();
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

    // Nothing left: only a beep.
    TranslateAllBut({});
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE_NEXT), 0);
    EXPECT_EQ(driver.Seen(), 5);
}

TEST_F(Translate, SignatureKeepsItsLineBreaksAndCancelKeepsThePrevious)
{
    Start();
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
