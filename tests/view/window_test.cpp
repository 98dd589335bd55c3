// The real view window with the sample module: the list, its rows as drawn, and the dialogs.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "res/resource.h"
#include "state/appstate.h"
#include "tests/support/apptest.h"
#include "tests/support/datarows.h"
#include "view/find.h"
#include "view/list.h"
#include "view/worktrack.h"

namespace
{

class ViewTest : public AppTest
{
protected:
    HWND list = nullptr;

    void SetUp() override
    {
        Start();
        list = Vs()->list;
        ASSERT_EQ(GetDlgItem(view, kListChildId), list);
        UpdateWindow(frame); // a hidden list skips work a visible one does
        PumpMessages();
    }
    static std::string DlgText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
    std::string Pane(UINT type) const // the text of the status bar's pane of that type; "" without one
    {
        for (int i = 0; i < Vs()->partCount; ++i)
            if (Vs()->parts[i].type == type) return Vs()->parts[i].text;
        return "";
    }
    std::string Focused() const // the focused row, and whether it is the one row selected
    {
        int focused = FocusedRow(), selected = ListNextRow(view, -1, LVNI_SELECTED);
        bool alone = selected == focused && ListNextRow(view, selected, LVNI_SELECTED) < 0;
        return std::to_string(focused) + (alone ? "" : " (selection differs)");
    }
    std::string Step(UINT command) // a command's result and the focus after it
    {
        const LRESULT result = Run(command);
        return std::to_string(result) + ":" + Focused();
    }
    // Translate on the row alone, typing each text: the ID and the problem line first and after each.
    std::string TranslateRow(int row, const std::vector<std::string> &typed, std::function<void(HWND)> other = nullptr)
    {
        SelectOnly({row});
        std::string seen;
        ModalDriver driver([&](HWND dialog) {
            if (!GetDlgItem(dialog, IDC_TR_TRANSLATION)) return other ? other(dialog) : PressButton(dialog, IDCANCEL);
            seen += DlgText(dialog, IDC_TR_ID) + "|" + DlgText(dialog, IDC_TR_PROBLEMS);
            for (const std::string &text : typed) {
                SendDlgItemMessageA(dialog, IDC_TR_TRANSLATION, EM_SETSEL, 0, -1);
                SendDlgItemMessageA(dialog, IDC_TR_TRANSLATION, EM_REPLACESEL, TRUE, LPARAM(text.c_str()));
                seen += "|" + DlgText(dialog, IDC_TR_PROBLEMS);
            }
            PressButton(dialog, IDOK);
        });
        EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 1);
        return seen;
    }

    // Replaces the rows, one a digit: its value, 0 making a category row.
    void Rows(const std::string &values)
    {
        ListEmpty(view);
        for (char digit : values)
            ListAppendRow(view, UINT(digit - '0'), digit > '0' ? std::string(1, digit).c_str() : "",
                          digit > '0' ? (std::string("Text ") + digit).c_str() : "Category");
        PumpMessages();
    }

    void Focus(int row)
    {
        ListSetRowState(view, -1, 0, LVIS_SELECTED);
        ListSetRowState(view, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        PumpMessages();
    }

    std::string ControlText(int row) const
    {
        char text[2 * kTextSize] = ""; // room for more than a cell holds
        ListView_GetItemText(list, row, kColumnTranslated, text, sizeof text);
        return text;
    }

    void ListClientWidth(int width) // sizes the view so that the list's client area is that wide
    {
        RECT client, rc;
        GetClientRect(list, &client);
        GetWindowRect(view, &rc);
        SetWindowPos(view, nullptr, 0, 0, rc.right - rc.left + width - client.right, rc.bottom - rc.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    int ColumnWidth(int column) const { return int(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0)); }

    LPARAM RowPoint(int row) const
    {
        RECT rc = {LVIR_BOUNDS};
        SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
        return MAKELPARAM(rc.left + 70, (rc.top + rc.bottom) / 2);
    }
};

using List = ViewTest;
using Translate = ViewTest;

TEST_F(List, IsAReportOfThreeColumnsBetweenToolbarAndStatusBarSplitAfterTheIdColumn)
{
    const LONG_PTR kMask = LVS_TYPEMASK | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_VISIBLE;
    EXPECT_EQ(GetWindowLongPtrA(list, GWL_STYLE) & kMask,
              LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongPtrA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    RECT at, bar, status, client; // on the screen
    GetWindowRect(list, &at), GetWindowRect(Vs()->toolbar, &bar), GetWindowRect(Vs()->statusBar, &status);
    GetClientRect(view, &client);
    MapWindowPoints(view, nullptr, reinterpret_cast<POINT *>(&client), 2);
    EXPECT_EQ(std::make_tuple(at.left, at.right, at.top, at.bottom),
              std::make_tuple(client.left, client.right, bar.bottom, status.top));
    std::string columns; // at two widths: split after the ID column, never negative
    for (int width : {261, 40}) {
        ListClientWidth(width);
        for (int i = 0; i < 3; ++i) {
            char text[64] = "";
            LVCOLUMNA column = {LVCF_TEXT | LVCF_WIDTH, 0, 0, text, sizeof text};
            SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
            columns += text + (":" + std::to_string(column.cx)) + " ";
        }
    }
    EXPECT_EQ(columns, "ID:60 Text:100 Translated text:101 ID:60 Text:0 Translated text:0 ");
}

// The vertical scroll bar comes with the release of the hold an open fills the list under.
TEST_F(List, EveryOpenReleasesTheCountedRedrawHoldFitsTheColumnsAndFocusesRowOne)
{
    EXPECT_EQ(Focused(), "1");
    ListClientWidth(461);
    SendMessageA(view, kMsgOpenDocument, kOpenClose, reinterpret_cast<LPARAM>(""));
    PumpMessages();
    for (int i = 0; i < 2; ++i) {
        SendMessageA(view, kMsgOpenDocument, kOpenNew, reinterpret_cast<LPARAM>(""));
        RECT client;
        GetClientRect(list, &client);
        EXPECT_EQ(std::make_tuple(Vs()->redrawHold,
                                  GetWindowLongPtrA(list, GWL_STYLE) & (WS_VISIBLE | WS_VSCROLL | WS_HSCROLL),
                                  ColumnWidth(0) + ColumnWidth(1) + ColumnWidth(2)),
                  std::make_tuple(0, LONG_PTR(WS_VISIBLE | WS_VSCROLL), int(client.right)));
        PumpMessages();
        EXPECT_EQ(Focused(), "1");
        Focus(5);
    }
    ListHoldRedraw(view), ListHoldRedraw(view); // counted, and it survives a suspension
    std::string holds = std::to_string(ListSuspendRedrawHold(view));
    holds += std::to_string(Vs()->redrawHold);
    ListRestoreRedrawHold(view, 2);
    for (int i = 0; i < 3; ++i)
        ListReleaseRedraw(view), holds += std::to_string(Vs()->redrawHold);
    EXPECT_EQ(holds, "20100");
}

TEST_F(List, FocusSkipsOverCategoryRowsInTheDirectionOfTravel)
{
    for (const auto &row : ReadDataRows(PARLEVO_VIEW_DATA_DIR "/focus.tsv", 7)) {
        Rows(row.at(0));
        Focus(std::stoi(row.at(1)));
        const WPARAM key = std::stoul(row.at(2));
        if (key) SendMessageA(list, WM_KEYDOWN, key, 1), SendMessageA(list, WM_KEYUP, key, 0xC0000001);
        PumpMessages();
        EXPECT_EQ(Focused(), row.at(3)) << row[0] << " from " << row[1] << " key " << row[2];
    }
}

TEST_F(List, RightClickOnACategoryRowSelectsTheNeighbourAndDoubleClickTranslates)
{
    Rows("01204");
    ListEnsureVisible(view, 0);
    Focus(1);
    std::string seen; // the focus after each right click (from above, then below), then the row opened
    for (int i = 0; i < 2; ++i) {
        PostMessageA(list, WM_RBUTTONUP, 0, RowPoint(3));
        PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0); // for the menu
        SendMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, RowPoint(3));
        PumpMessages();
        seen += Focused() + " ";
    }
    ModalDriver driver([&](HWND dialog) { seen += DlgText(dialog, IDC_TR_ID), PressButton(dialog, IDCANCEL); });
    Focus(1);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, RowPoint(1));
    PumpMessages();
    EXPECT_EQ(seen, "4 2 1");
}

// Walks read the rows from the list's own copy: it must agree with the control after any change.
TEST_F(List, RowAccessAgreesWithTheControlAfterEveryChange)
{
    auto agree = [&]() {
        const int rows = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        ASSERT_EQ(ListRowCount(view), rows);
        EXPECT_EQ(ListNextRow(view, -1, LVNI_ALL), rows ? 0 : -1);
        for (int row = 0; row < rows; ++row) {
            LVITEMA item = {LVIF_PARAM, row};
            SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            // Rows stand in index order (Wine's control answers a step below the last row with a row above it).
            const int below = row + 1 < rows ? row + 1 : -1;
            EXPECT_EQ(std::make_tuple(Cell(row, kColumnTranslated), ListRowValue(view, row),
                                      ListNextRow(view, row, LVNI_ALL), ListNextRow(view, row, LVNI_BELOW),
                                      ListNextRow(view, row, LVNI_ABOVE)),
                      std::make_tuple(ControlText(row), UINT(item.lParam), below, below, row - 1))
                << row;
        }
    };
    Rows("07809");
    agree();
    char cell[kTextSize];
    EXPECT_EQ(std::make_tuple(ListRowValue(view, 9), Cell(1, kColumnText),
                              ListGetCell(view, 5, kColumnText, cell, sizeof cell),
                              ListGetCell(view, 1, 3, cell, sizeof cell), ListSetCell(view, 5, kColumnTranslated, "x")),
              std::make_tuple(0u, std::string("Text 7"), false, false, false));
    ListSetCell(view, 1, kColumnTranslated, "sieben");
    ListSetCell(view, 4, kColumnTranslated, std::string(400, 'n').c_str());
    ListSetCell(view, 2, kColumnText, "not a translation");
    agree();
    EXPECT_EQ(Cell(4, kColumnTranslated), std::string(kTextSize - 1, 'n'));
    char small[5];
    EXPECT_EQ(ListGetCell(view, 1, kColumnTranslated, small, sizeof small) ? small : "false", std::string("sieb"));
    ListSetCell(view, 1, kColumnTranslated, "");
    agree();
    Rows("");
    agree();
    Rows("50");
    EXPECT_EQ(ListAppendRow(view, 6, "6", nullptr), 2);
    agree();
    EXPECT_EQ(Cell(2, kColumnTranslated), "");
}

using ListInCodePage932 = List; // run alone, by its own test entry, with the ANSI code page 932

TEST_F(ListInCodePage932, CopyHoldsWhatTheControlShows)
{
    ASSERT_EQ(GetACP(), 932u) << "this test needs the ANSI code page 932 (LC_ALL=ja_JP.UTF-8 under Wine)";
    Rows("7");
    // Bad, lone and unassigned bytes and pairs, a valid text, and a full cell ending in a lead byte.
    const std::string kSamples[] = {"ab\x81",   "\x81\x20x", "\x85\x40",         "\xA0z",
                                    "\xFD\xFE", "\xEF\x40",  "\x83\x41\x83\x61", std::string(250, 'a') + "\x81"};
    for (const std::string &sample : kSamples) {
        ASSERT_TRUE(ListSetCell(view, 0, kColumnTranslated, sample.c_str()));
        EXPECT_EQ(Cell(0, kColumnTranslated), ControlText(0)) << sample;
    }
    EXPECT_EQ(Cell(0, kColumnTranslated), std::string(250, 'a'));
}

// Rows drawn into a DIB with a magenta margin right of and below the row, which must stay untouched.
class ListDrawing : public List
{
protected:
    static constexpr int kWidth = 461, kHeight = 18, kMargin = 3;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[size_t(y * (kWidth + kMargin) + x)]; }
    // Pixels of the area that are (or, with same false, are not) the colour.
    int Count(RECT area, COLORREF colour, bool same = true) const
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += (At(x, y) == colour) == same;
        return n;
    }

    // Draws the row and describes it: problem mark (E, W, -), background, ink in the ID and Text cells and
    // at the start and rest of the Translated cell, band, dotted line, grid, focus, "spill" past the row.
    std::string Look(int row, UINT state)
    {
        const int width = kWidth + kMargin, height = kHeight + kMargin;
        BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB}};
        HDC dc = CreateCompatibleDC(nullptr);
        DWORD *bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void **>(&bits), nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        std::fill(bits, bits + width * height, 0x00FF00FF);
        DRAWITEMSTRUCT draw = {
            ODT_LISTVIEW,           kListChildId, UINT(row), ODA_DRAWENTIRE, state, list, dc, {0, 0, kWidth, kHeight},
            ListRowValue(view, row)};
        EXPECT_TRUE(SendMessageA(view, WM_DRAWITEM, kListChildId, reinterpret_cast<LPARAM>(&draw)));
        GdiFlush();
        pixels.clear();
        for (int i = 0; i < width * height; ++i)
            pixels.push_back(RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF));
        DeleteObject(SelectObject(dc, old));
        DeleteDC(dc);

        std::string look = "-";
        for (int y = 0; y < kHeight && look == "-"; ++y)
            for (int x = 260; x < 280; ++x) {
                const COLORREF c = At(x, y);
                if (GetRValue(c) > 200 && GetBValue(c) < 80)
                    look = GetGValue(c) < 80 ? "E" : GetGValue(c) > 180 ? "W" : "-";
            }
        const COLORREF back = At(55, 9), text = GetSysColor(COLOR_WINDOWTEXT);
        look += back == GetSysColor(COLOR_WINDOW)         ? " window"
                : back == GetSysColor(COLOR_HIGHLIGHT)    ? " selected"
                : back == GetSysColor(COLOR_APPWORKSPACE) ? " workspace"
                                                          : " other";
        const std::tuple<int, int, const char *> kParts[] = {
            {2, 58, " id"}, {62, 258, " text"}, {262, 290, " start"}, {290, kWidth - 1, " rest"}};
        for (const auto &[left, right, name] : kParts)
            if (Count({left, 2, right, kHeight - 2}, back, false)) look += name;
        if (Count({0, 0, kWidth, 2}, text) == 2 * kWidth) look += " band";
        const int dotted = Count({0, kHeight - 1, kWidth, kHeight}, text);
        if (dotted > kWidth / 5 && dotted < kWidth * 4 / 5) look += " dotted";
        if (At(59, 5) == GetSysColor(COLOR_3DFACE) &&
            Count({0, kHeight - 1, kWidth, kHeight}, GetSysColor(COLOR_3DFACE)))
            look += " grid";
        if (Count({0, 2, 1, kHeight - 2}, back, false)) look += " focus";
        if (Count({kWidth, 0, width, height}, RGB(255, 0, 255), false) +
            Count({0, kHeight, kWidth, height}, RGB(255, 0, 255), false))
            look += " spill";
        return look;
    }
};

TEST_F(ListDrawing, RowsShowHatchBandsGridAndFocusAndStayInside)
{
    ListClientWidth(kWidth); // columns 60, 200, 201
    Rows("01204");
    for (const auto &row : ReadDataRows(PARLEVO_VIEW_DATA_DIR "/drawing.tsv", 6)) {
        if (!row.at(2).empty()) ListSetCell(view, std::stoi(row[0]), kColumnTranslated, row[2].c_str());
        EXPECT_EQ(Look(std::stoi(row[0]), UINT(std::stoul(row[1]))), row.at(3)) << row[0] << " " << row[1];
    }
    EXPECT_GT(Count({260, 0, 290, kHeight - 1}, GetSysColor(COLOR_HIGHLIGHTTEXT)), 0);
}

TEST_F(ListDrawing, ProblemsShowAsMarksInThePaneAndForNextProblem)
{
    ListClientWidth(kWidth);
    const std::string path = HarnessTempDir() + "planted.lng";
    // 8 "%d of %d" gets a string for a number (error), 1008 "&Width:" loses its access key (warning).
    HarnessWriteFile(path, "3=\"Bereit\"\r\n8=\"%s von %d\"\r\n1008=\"Breite:\"\r\n");
    ASSERT_TRUE(SendMessageA(view, kMsgOpenDocument, kOpenNamed, reinterpret_cast<LPARAM>(path.c_str())));
    PumpMessages();
    const int ofRow = RowOf(8), width = RowOf(1008), loading = RowOf(4), ready = RowOf(3);
    auto state = [&]() { // the marks of those four rows and the pane ("": none when nothing is wrong)
        std::string marks;
        for (int row : {ofRow, width, loading, ready})
            marks += Look(row, 0)[0];
        return marks + " " + Pane(kPaneProblems);
    };
    EXPECT_EQ(Cell(ofRow, kColumnTranslated) + "|" + state(), "%s von %d|EW-- 1 error, 1 warning");

    Focus(RowOf(1));
    SendMessageA(list, WM_KEYDOWN, VK_F8, 0);
    std::string visited = Focused();
    for (UINT command : {CMD_EDIT_NEXT_PROBLEM, CMD_EDIT_NEXT_PROBLEM, CMD_EDIT_PREVIOUS_PROBLEM})
        visited += " " + Step(command);
    EXPECT_EQ(visited, "7 1:107 1:7 1:107"); // rows of 8 and 1008: F8 and Next wrap, and Previous the other way

    // The dialog's line follows the typing; OK accepts a text with a problem all the same.
    EXPECT_EQ(TranslateRow(ofRow, {"%d von %d", "%d von %d %d "}),
              "8|%d expected where %s stands||%d is not in the source; 0 trailing blanks expected where 1 stands");
    EXPECT_EQ(Cell(ofRow, kColumnTranslated) + "|" + state(), "%d von %d %d |EW-- 1 error, 2 warnings");
    std::string after;
    const std::pair<int, const char *> kSteps[] = {
        {ofRow, "%d von %d"}, {loading, "Lade..."}, {width, "&Breite:"}, {loading, "Lade %s..."}};
    for (const auto &[row, text] : kSteps)
        TranslateRow(row, {text}), after += state() + "|";
    EXPECT_EQ(after, "-W-- 0 errors, 1 warning|-WE- 1 error, 1 warning|--E- 1 error, 0 warnings|---- |");
    EXPECT_EQ(Run(CMD_EDIT_NEXT_PROBLEM), 0) << "no row with a problem: a beep";
}

TEST_F(Translate, FieldShowsLineBreaksAndOkStoresWhatItHolds)
{
    for (const auto &row : ReadDataRows(PARLEVO_VIEW_DATA_DIR "/translate.tsv", 5)) {
        const int at = RowOf(UINT(std::stoul(row.at(0))));
        const std::string &before = row.at(1), &button = row.at(3);
        SetTranslation(at, before);
        SelectOnly({at});
        std::string seen;
        ModalDriver driver([&](HWND dialog) {
            seen = DlgText(dialog, IDC_TR_ID) + "|" + DlgText(dialog, IDC_TR_TRANSLATION) + "|";
            SendDlgItemMessageA(dialog, IDC_TR_TRANSLATION, EM_SETSEL, 1, 2);
            if (button == "clear") SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, "");
            if (button == "enter" || button == "copy")
                SendMessageA(dialog, WM_COMMAND, button == "enter" ? IDC_TR_INSERT_ENTER : IDC_TR_COPY, 0);
            PressButton(dialog, IDOK);
        });
        EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 1);
        EXPECT_EQ(seen + Cell(at, kColumnTranslated) + (Vs()->modified ? " *" : ""),
                  row[0] + "|" + row.at(2) + "|" + row.at(4) + (row[4] != before ? " *" : ""));
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
    for (int r = 0; r < ListRowCount(view); ++r) // all but 29, 30 and 31
        if (const UINT id = ListRowValue(view, r); id && (id < 29 || id > 31)) SetTranslation(r, "x");
    std::string ids;
    ModalDriver driver([&](HWND dialog) { // the 1st dialog gets "erste" and OK, the 3rd OK, the others Cancel
        ids += DlgText(dialog, IDC_TR_ID) + " ";
        if (driver.Seen() == 1) SetDlgItemTextA(dialog, IDC_TR_TRANSLATION, "erste");
        PressButton(dialog, driver.Seen() == 1 || driver.Seen() == 3 ? IDOK : IDCANCEL);
    });
    for (int i = 0; i < 3; ++i)
        ids += std::to_string(Run(CMD_TEXT_TRANSLATE_NEXT)) + "; "; // the IDs shown, then the result
    // An empty confirmation leaves the row untranslated, and it comes up first again.
    EXPECT_EQ(ids + Cell(RowOf(29), kColumnTranslated) + "|" + Cell(RowOf(30), kColumnTranslated),
              "29 30 1; 30 31 1; 30 0; erste|");
    SetTranslation(RowOf(30), "x");
    SetTranslation(RowOf(31), "x");
    const LRESULT last = Run(CMD_TEXT_TRANSLATE_NEXT); // nothing left: only a beep
    EXPECT_EQ(std::to_string(last) + " " + std::to_string(driver.Seen()), "0 5");
}

TEST_F(Translate, SignatureKeepsItsLineBreaksAndCancelKeepsThePrevious)
{
    lstrcpynA(Vs()->signature, "Language: X\r\n", 4096);
    std::string seen; // per run: the field shown, the result, then the signature
    ModalDriver driver([&](HWND dialog) {
        seen += DlgText(dialog, IDC_SIG_TEXT) + "|";
        SetDlgItemTextA(dialog, IDC_SIG_TEXT, "Language: Deutsch\r\nAuthor: Jo\r\n");
        PressButton(dialog, driver.Seen() == 1 ? IDCANCEL : IDOK);
    });
    for (int i = 0; i < 2; ++i) {
        const LRESULT result = Run(CMD_TEXT_SIGNATURE);
        seen += std::to_string(result) + "|" + Vs()->signature + (Vs()->modified ? "modified|" : "|");
    }
    EXPECT_EQ(seen, "Language: X\r\n|0|Language: X\r\n|Language: X\r\n|1|Language: Deutsch\r\nAuthor: Jo\r\nmodified|");
}

TEST_F(Translate, ProgressFollowsTranslateAndFillAndTheOfferCanBeTurnedOff)
{
    // The pane, the progress drawn in the title row of 27's category (row 0) and that title itself.
    auto state = [&]() {
        char progress[64] = "";
        WorkCategoryProgressText(view, 0, progress, sizeof progress);
        return Pane(kPaneProgress) + "|" + progress + "|" + Cell(0, kColumnText);
    };
    EXPECT_EQ(state(), "0 of 412 translated (0%)|0 of 51|Standard string");
    int offers = 0;
    auto offer = [&](HWND box) { // to fill the repeats: "Pixels" 1012 in 50007, "Preview" 27 in 1006
        CheckDlgButton(box, IDC_FR_DONT_ASK, BST_CHECKED);
        PressButton(box, offers++ ? IDC_FR_NO : IDC_FR_YES);
    };
    TranslateRow(RowOf(1012), {"Pixel"}, offer);
    TranslateRow(RowOf(27), {"Vorschau"}, offer); // asks nothing: Don't ask again holds
    EXPECT_EQ(std::to_string(offers) + " " + Cell(RowOf(50007), kColumnTranslated) + "|" + state(),
              "1 Pixel|3 of 412 translated (1%)|1 of 51|Standard string");
    EXPECT_NE(HarnessReadFile(AppSettingsPath()).find("AskToFillRepeated=0"), std::string::npos);
    ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
    Run(CMD_TEXT_FILL_REPEATED);
    EXPECT_EQ(driver.LastText() + "|" + Cell(RowOf(1006), kColumnTranslated) + "|" + Pane(kPaneProgress) +
                  (Vs()->modified ? " *" : ""),
              "1 rows filled|Vorschau|4 of 412 translated (1%) *");
}

// Back and forward go through the rows opened in Translate; Translate Previous walks up.
TEST_F(Translate, PlacesOfTheOpenedRowsAndPreviousUntranslated)
{
    for (UINT id : {103u, 27u, 1012u})
        TranslateRow(RowOf(id), {});
    SelectOnly({RowOf(50007)});
    std::string places; // each step's result and the focused row, alone selected
    for (UINT command :
         {CMD_EDIT_BACK, CMD_EDIT_BACK, CMD_EDIT_BACK, CMD_EDIT_FORWARD, CMD_EDIT_FORWARD, CMD_EDIT_FORWARD})
        places += Step(command) + " ";
    EXPECT_EQ(places, "1:19 1:53 0:53 1:19 1:111 0:111 "); // rows of 27, 103 and 1012

    SetTranslation(RowOf(1005), "schon da");
    Focus(RowOf(1006));
    std::string opened;
    ModalDriver driver([&](HWND dialog) { opened = DlgText(dialog, IDC_TR_ID), PressButton(dialog, IDCANCEL); });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE_PREVIOUS), 0);
    EXPECT_EQ(opened, "1004") << "the first untranslated row above";
}

class Find : public ViewTest
{
protected:
    // Rows a and c hold "Datei", b "datei öffnen"; the row between a and b is untranslated.
    void SetUp() override
    {
        ViewTest::SetUp();
        ListEmpty(view);
        for (const char *text : {"Datei", "", "datei öffnen", "Datei"})
            SetTranslation(ListAppendRow(view, UINT(5 + ListRowCount(view)), "5", "Open file"), text);
    }
    static char Name(int row) { return "-a-bc"[row + 1]; }
    char Selected() const { return Name(ListNextRow(view, -1, LVNI_SELECTED)); }
};

TEST_F(Find, SearchRowsFromTheSelection)
{
    for (const auto &row : ReadDataRows(PARLEVO_VIEW_DATA_DIR "/find.tsv", 10)) {
        SelectOnly({});
        for (char n : row.at(0))
            ListSetRowState(view, int(std::string("-a-bc").find(n)) - 1, LVIS_SELECTED, LVIS_SELECTED);
        ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
        lstrcpynA(Vs()->findWhat, row.at(1).c_str(), sizeof Vs()->findWhat);
        Vs()->findRequest.Flags = DWORD(std::stoul(row.at(2)));
        const int found = SearchRows(view, &Vs()->findRequest);
        std::string seen = {Name(found), '|'};
        for (int r = ListNextRow(view, -1, LVNI_SELECTED); r >= 0; r = ListNextRow(view, r, LVNI_SELECTED))
            seen += Name(r);
        seen += '|' + (found >= 0 ? std::string(1, Name(FocusedRow())) : "") + driver.LastText();
        EXPECT_EQ(seen, row.at(3)) << row[0] << " " << row[1] << " " << row[2];
    }
}

// The dialog rewrites the flags on each notification and Wine's clears them when destroyed.
TEST_F(Find, OptionsOfTheLastSearchOutliveTheDialog)
{
    std::string seen; // the row selected after each search; D or U: the direction a new dialog shows
    auto press = [&](HWND dialog, int id) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
        PumpMessages();
        if (id == IDOK) seen += Selected();
        if (id == IDCANCEL) Vs()->findRequest.Flags = 0; // as the dialog leaves them
        EXPECT_EQ(Vs()->findDialog != nullptr, id == IDOK);
    };
    auto next = [&]() { seen += Run(CMD_EDIT_FIND_NEXT) ? Selected() : '0'; };
    int notFound = 0;
    ModalDriver driver([&notFound](HWND box) { // "Find": the dialog of the test itself
        if (WindowText(box) != "Find") ++notFound, PressButton(box, IDOK);
    });
    ASSERT_EQ(Run(CMD_EDIT_FIND), 1);
    HWND dialog = Vs()->findDialog;
    ASSERT_EQ(Run(CMD_EDIT_FIND), 1);
    EXPECT_EQ(Vs()->findDialog, dialog) << "a second Find shows the same dialog";
    SetDlgItemTextA(dialog, edt1, "datei");
    press(dialog, IDOK);
    press(dialog, IDCANCEL);
    next(); // downward, as the dialog searched, after it closed
    ASSERT_EQ(Run(CMD_EDIT_FIND), 1);
    dialog = Vs()->findDialog;
    seen += IsDlgButtonChecked(dialog, rad2) == BST_CHECKED ? 'D' : 'U';
    CheckRadioButton(dialog, rad1, rad2, rad1);
    press(dialog, IDOK);
    SetDlgItemTextA(dialog, edt1, "datei"); // a notification that rewrites the flags
    SelectOnly({3});
    next(); // upward while the dialog is open
    press(dialog, IDCANCEL);
    next(); // upward after it closed
    EXPECT_EQ(seen + std::to_string(notFound), "abDaba0");
}

} // namespace
