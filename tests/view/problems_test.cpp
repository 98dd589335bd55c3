// The problems of the translations in the window: the marks, F8/Shift+F8, the status bar pane
// and the line under the Translate dialog's field, driven through the real view.
#include <gtest/gtest.h>

#include <string>

#include "state/viewstate.h"
#include "frame/settingsdata.h"
#include "res/resource.h"
#include "tests/support/apptest.h"
#include "view/list.h"

namespace
{

enum class Mark { None, Error, Warning };

class Problems : public AppTest
{
protected:
    // Draws the row as the list does into a bitmap of its own and tells the mark at the start of
    // its Translated text cell by its colour: red for an error, yellow for a warning.
    Mark MarkOf(int row) const
    {
        HWND list = Vs()->list;
        RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(list, LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&bounds));
        const int width = bounds.right - bounds.left;
        const int height = bounds.bottom - bounds.top;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_LISTVIEW;
        draw.itemID = UINT(row);
        draw.hDC = dc;
        draw.rcItem = {0, 0, width, height};
        draw.itemData = ListRowValue(view, row);
        SendMessageA(view, WM_DRAWITEM, kListChildId, reinterpret_cast<LPARAM>(&draw));
        const int cellLeft = int(SendMessageA(list, LVM_GETCOLUMNWIDTH, kColumnId, 0) +
                                 SendMessageA(list, LVM_GETCOLUMNWIDTH, kColumnText, 0));
        Mark mark = Mark::None;
        for (int y = 0; y < height && mark == Mark::None; ++y) {
            for (int x = cellLeft; x < cellLeft + 20 && mark == Mark::None; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                if (GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80) mark = Mark::Error;
                if (GetRValue(c) > 200 && GetGValue(c) > 180 && GetBValue(c) < 80) mark = Mark::Warning;
            }
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return mark;
    }

    // The text of the status bar's problems pane; empty when the bar shows none.
    std::string PaneText() const
    {
        for (int i = 0; i < Vs()->partCount; ++i)
            if (Vs()->parts[i].type == kPaneProblems) return Vs()->parts[i].text;
        return "";
    }

    std::string ProblemLine(HWND dialog) const
    {
        char text[512] = "";
        GetDlgItemTextA(dialog, IDC_TR_PROBLEMS, text, sizeof text);
        return text;
    }

    // Runs Translate on the row: notes the dialog's problem line as it opens and after each of
    // the texts is typed (the last one is confirmed with OK).
    std::vector<std::string> TranslateTyping(int row, std::initializer_list<const char *> typed)
    {
        SelectOnly({row});
        std::vector<std::string> lines;
        ModalDriver driver([&](HWND dialog) {
            lines.push_back(ProblemLine(dialog));
            HWND field = GetDlgItem(dialog, IDC_TR_TRANSLATION);
            for (const char *text : typed) {
                SendMessageA(field, EM_SETSEL, 0, -1);
                SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
                lines.push_back(ProblemLine(dialog));
            }
            PressButton(dialog, IDOK);
        });
        EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 1);
        return lines;
    }
};

TEST_F(Problems, MarksPaneAndNextProblemFollowTheOpenAndEveryTranslate)
{
    Start();
    const std::string path = HarnessTempDir() + "planted.lng";
    // 8 "%d of %d" gets a string for a number (error), 1008 "&Width:" loses its access key (warning).
    HarnessWriteFile(path, "3=\"Bereit\"\r\n8=\"%s von %d\"\r\n1008=\"Breite:\"\r\n");
    ASSERT_TRUE(SendMessageA(view, kMsgOpenDocument, kOpenNamed, reinterpret_cast<LPARAM>(path.c_str())));
    PumpMessages();
    const int ready = RowOf(3), ofRow = RowOf(8), loading = RowOf(4), width = RowOf(1008);
    ASSERT_GE(ready, 0);
    EXPECT_EQ(MarkOf(ofRow), Mark::Error);
    EXPECT_EQ(MarkOf(width), Mark::Warning);
    EXPECT_EQ(MarkOf(ready), Mark::None);
    EXPECT_EQ(Cell(ofRow, kColumnTranslated), "%s von %d") << "the cell keeps its text";
    EXPECT_EQ(PaneText(), "1 error, 1 warning");

    // F8 from the top finds both rows and wraps; Shift+F8 goes back and wraps the other way.
    SelectOnly({});
    ListSetRowState(view, RowOf(1), LVIS_FOCUSED, LVIS_FOCUSED);
    PumpMessages();
    SendMessageA(Vs()->list, WM_KEYDOWN, VK_F8, 0);
    EXPECT_EQ(FocusedRow(), ofRow) << "F8 runs Next problem";
    EXPECT_EQ(ListNextRow(view, -1, LVNI_SELECTED), ofRow);
    EXPECT_EQ(Run(CMD_EDIT_NEXT_PROBLEM), 1);
    EXPECT_EQ(FocusedRow(), width);
    EXPECT_EQ(Run(CMD_EDIT_NEXT_PROBLEM), 1);
    EXPECT_EQ(FocusedRow(), ofRow);
    EXPECT_EQ(Run(CMD_EDIT_PREVIOUS_PROBLEM), 1);
    EXPECT_EQ(FocusedRow(), width);

    // The dialog's line follows the typing; OK accepts a text with a problem all the same.
    std::vector<std::string> lines = TranslateTyping(ofRow, {"%d von %d", "%d von %d %d "});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "%d expected where %s stands");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "%d is not in the source; 0 trailing blanks expected where 1 stands");
    EXPECT_EQ(Cell(ofRow, kColumnTranslated), "%d von %d %d ");
    EXPECT_EQ(MarkOf(ofRow), Mark::Error);
    TranslateTyping(ofRow, {"%d von %d"});
    EXPECT_EQ(MarkOf(ofRow), Mark::None);
    EXPECT_EQ(PaneText(), "0 errors, 1 warning");
    TranslateTyping(loading, {"Lade..."});
    EXPECT_EQ(MarkOf(loading), Mark::Error);
    EXPECT_EQ(PaneText(), "1 error, 1 warning");
    TranslateTyping(width, {"&Breite:"});
    TranslateTyping(loading, {"Lade %s..."});
    EXPECT_EQ(PaneText(), "") << "no pane when nothing is wrong";
    EXPECT_EQ(Run(CMD_EDIT_NEXT_PROBLEM), 0) << "no row with a problem: a beep";
    EXPECT_EQ(MarkOf(width), Mark::None);
}

} // namespace
