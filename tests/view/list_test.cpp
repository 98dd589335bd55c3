// The translation list inside the real view window: columns and layout, the focus rule over
// category rows, the mouse, the redraw hold, and rows drawn into a memory DC.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/appwindows.h"
#include "state/messages.h"
#include "res/resource.h"
#include "tests/support/apptest.h"
#include "tests/support/winharness.h"
#include "view/list.h"

namespace
{

class List : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view_ = StartWithModule(SampleModulePath());
        ASSERT_NE(view_, nullptr);
        list_ = GetDlgItem(view_, kListChildId);
        ASSERT_NE(list_, nullptr);
        // Shown as start-up shows it: a hidden list skips work a visible one does.
        ShowWindow(GetParent(view_), SW_SHOWNORMAL);
        UpdateWindow(GetParent(view_));
        PumpMessages();
    }
    void TearDown() override { HarnessStopApp(); }

    // Replaces the rows: 0 in values makes a category row.
    void Rows(const std::vector<UINT> &values)
    {
        ListEmpty(view_);
        for (UINT value : values) {
            std::string id = value ? std::to_string(value) : "";
            std::string text = value ? "Text " + id : "Category";
            ListAppendRow(view_, value, id.c_str(), text.c_str());
        }
        PumpMessages();
    }

    void Focus(int row)
    {
        ListSetRowState(view_, -1, 0, LVIS_SELECTED);
        ListSetRowState(view_, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        PumpMessages();
    }

    std::string ControlText(int row, int column) const
    {
        char text[2 * kTextSize] = ""; // room for more than a cell holds
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list_, LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }

    void Key(UINT key)
    {
        SendMessageA(list_, WM_KEYDOWN, key, 1);
        SendMessageA(list_, WM_KEYUP, key, 0xC0000001);
        PumpMessages();
    }

    int Focused() const { return ListNextRow(view_, -1, LVNI_FOCUSED); }
    std::vector<int> Selected() const
    {
        std::vector<int> rows;
        for (int row = ListNextRow(view_, -1, LVNI_SELECTED); row >= 0; row = ListNextRow(view_, row, LVNI_SELECTED))
            rows.push_back(row);
        return rows;
    }

    int ColumnWidth(int column) const { return int(SendMessageA(list_, LVM_GETCOLUMNWIDTH, column, 0)); }

    // Sizes the view so that the list's client area is `width` pixels wide.
    void ListClientWidth(int width)
    {
        for (int i = 0; i < 4; ++i) {
            RECT client, viewRect;
            GetClientRect(list_, &client);
            GetWindowRect(view_, &viewRect);
            int delta = width - client.right;
            if (delta == 0) break;
            SetWindowPos(view_, nullptr, 0, 0, viewRect.right - viewRect.left + delta, viewRect.bottom - viewRect.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    HWND view_ = nullptr;
    HWND list_ = nullptr;
};

TEST_F(List, IsChildOneWithThreeColumnsNamedFromTheStringTable)
{
    EXPECT_EQ(GetDlgCtrlID(list_), 1);
    LONG_PTR style = GetWindowLongPtrA(list_, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_OWNERDRAWFIXED);
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongPtrA(list_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    const char *headers[] = {"ID", "Text", "Translated text"};
    for (int i = 0; i < 3; ++i) {
        char text[64] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(list_, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(text, headers[i]);
    }
    // The list fills the view between the toolbar and the status bar, when they are there.
    ViewState *vs = GetViewState(view_);
    ASSERT_NE(vs, nullptr);
    auto height = [](HWND window) {
        RECT rc = {};
        if (window) GetWindowRect(window, &rc);
        return int(rc.bottom - rc.top);
    };
    RECT viewClient, listRect;
    GetClientRect(view_, &viewClient);
    GetWindowRect(list_, &listRect);
    POINT topLeft = {listRect.left, listRect.top};
    ScreenToClient(view_, &topLeft);
    EXPECT_EQ(topLeft.x, 0);
    EXPECT_EQ(topLeft.y, height(vs->toolbar));
    EXPECT_EQ(listRect.right - listRect.left, viewClient.right);
    EXPECT_EQ(listRect.bottom - listRect.top, viewClient.bottom - height(vs->toolbar) - height(vs->statusBar));
}

TEST_F(List, ColumnsSplitTheWidthAfterTheIdColumnAndNeverGoNegative)
{
    ListClientWidth(261);
    RECT client;
    GetClientRect(list_, &client);
    ASSERT_EQ(client.right, 261);
    EXPECT_EQ(ColumnWidth(0), 60);
    EXPECT_EQ(ColumnWidth(1), 100);
    EXPECT_EQ(ColumnWidth(2), 101);

    ListClientWidth(40);
    GetClientRect(list_, &client);
    ASSERT_LT(client.right, 60);
    EXPECT_EQ(ColumnWidth(0), 60);
    EXPECT_EQ(ColumnWidth(1), 0);
    EXPECT_EQ(ColumnWidth(2), 0);
}

TEST_F(List, ColumnsFitTheClientWidthLeftByTheScrollBarAfterAnOpen)
{
    // The open fills the list with the redraw held; the vertical scroll bar comes with the
    // release, and the columns must not spill past it.
    SendMessageA(view_, kMsgOpenDocument, kOpenClose, reinterpret_cast<LPARAM>(""));
    PumpMessages();
    SendMessageA(view_, kMsgOpenDocument, kOpenNew, reinterpret_cast<LPARAM>(""));
    ASSERT_TRUE(GetWindowLongPtrA(list_, GWL_STYLE) & WS_VSCROLL);
    RECT client;
    GetClientRect(list_, &client);
    EXPECT_EQ(ColumnWidth(0) + ColumnWidth(1) + ColumnWidth(2), client.right);
    EXPECT_FALSE(GetWindowLongPtrA(list_, GWL_STYLE) & WS_HSCROLL);
}

TEST_F(List, FocusSkipsOverCategoryRowsInTheDirectionOfTravel)
{
    Rows({0, 1, 2, 0, 4, 5});
    Focus(2);
    Key(VK_DOWN);
    EXPECT_EQ(Focused(), 4);
    EXPECT_EQ(Selected(), std::vector<int>{4});
    Key(VK_UP);
    EXPECT_EQ(Focused(), 2);
    EXPECT_EQ(Selected(), std::vector<int>{2});
    Key(VK_UP);
    EXPECT_EQ(Focused(), 1);
    // Up on row 1 under a category row stays on row 1.
    Key(VK_UP);
    EXPECT_EQ(Focused(), 1);
    EXPECT_EQ(Selected(), std::vector<int>{1});
    Key(VK_HOME);
    EXPECT_EQ(Focused(), 1);
}

TEST_F(List, CategoryRowAsLastRowSendsTheFocusBackUp)
{
    Rows({0, 1, 2, 0});
    Focus(2);
    Key(VK_DOWN);
    EXPECT_EQ(Focused(), 2);
    EXPECT_EQ(Selected(), std::vector<int>{2});
    Key(VK_END);
    EXPECT_EQ(Focused(), 2);
}

TEST_F(List, ListOfCategoryRowsOnlyEndsWithNothingFocused)
{
    Rows({0, 0});
    Focus(0);
    PumpMessages();
    EXPECT_EQ(Focused(), -1);
    EXPECT_TRUE(Selected().empty());
}

TEST_F(List, FocusLandsOnRowOneAfterEmptyAndRefill)
{
    EXPECT_EQ(Focused(), 1);
    Focus(5);
    SendMessageA(view_, kMsgOpenDocument, kOpenNew, reinterpret_cast<LPARAM>(""));
    PumpMessages();
    EXPECT_EQ(Focused(), 1);
    EXPECT_EQ(Selected(), std::vector<int>{1});
    SendMessageA(view_, kMsgOpenDocument, kOpenNew, reinterpret_cast<LPARAM>(""));
    PumpMessages();
    EXPECT_EQ(Focused(), 1);
}

// Records the commands that reach the view, and keeps them from running.
struct CommandSpy {
    static inline std::vector<UINT> commands;
    static inline WNDPROC previous;
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_COMMAND) {
            commands.push_back(LOWORD(wp));
            return 0;
        }
        return CallWindowProcA(previous, window, msg, wp, lp);
    }
    explicit CommandSpy(HWND view) : view_(view)
    {
        commands.clear();
        previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~CommandSpy() { SetWindowLongPtrA(view_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous)); }
    HWND view_;
};

LPARAM RowPoint(HWND list, int row)
{
    RECT rc = {};
    rc.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
    return MAKELPARAM(rc.left + 70, (rc.top + rc.bottom) / 2);
}

// Closes whatever menu is tracking when the timer fires.
void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    EndMenu();
}

TEST_F(List, RightClickOnACategoryRowSelectsTheNeighbourBeforeTheMenu)
{
    Rows({0, 1, 2, 0, 4});
    ListEnsureVisible(view_, 0);
    Focus(1);
    SetTimer(nullptr, 0, 200, EndMenuTimer);
    LPARAM at = RowPoint(list_, 3);
    PostMessageA(list_, WM_RBUTTONUP, 0, at);
    SendMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PumpMessages();
    EXPECT_EQ(Focused(), 4);
    EXPECT_EQ(Selected(), std::vector<int>{4});

    // From below, the right-click lands on the row above.
    SetTimer(nullptr, 0, 200, EndMenuTimer);
    PostMessageA(list_, WM_RBUTTONUP, 0, at);
    SendMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PumpMessages();
    EXPECT_EQ(Focused(), 2);
    EXPECT_EQ(Selected(), std::vector<int>{2});
}

TEST_F(List, DoubleClickSendsTranslateToTheView)
{
    Rows({0, 1, 2});
    CommandSpy spy(view_);
    SendMessageA(list_, WM_LBUTTONDBLCLK, MK_LBUTTON, RowPoint(list_, 2));
    PumpMessages();
    EXPECT_EQ(CommandSpy::commands, std::vector<UINT>{CMD_TEXT_TRANSLATE});
}

TEST_F(List, RowAccessReadsAndWritesCellsWithinTheirSize)
{
    Rows({0, 7});
    EXPECT_EQ(ListRowCount(view_), 2);
    EXPECT_EQ(ListRowValue(view_, 1), 7u);
    EXPECT_EQ(ListRowValue(view_, 9), 0u);
    char cell[kTextSize];
    EXPECT_TRUE(ListGetCell(view_, 1, kColumnText, cell, sizeof cell));
    EXPECT_STREQ(cell, "Text 7");
    EXPECT_FALSE(ListGetCell(view_, 2, kColumnText, cell, sizeof cell));
    EXPECT_FALSE(ListGetCell(view_, 1, 3, cell, sizeof cell));
    EXPECT_TRUE(ListSetCell(view_, 1, kColumnTranslated, std::string(400, 'x').c_str()));
    ASSERT_TRUE(ListGetCell(view_, 1, kColumnTranslated, cell, sizeof cell));
    EXPECT_EQ(std::string(cell), std::string(kTextSize - 1, 'x'));
    char small[4];
    ASSERT_TRUE(ListGetCell(view_, 1, kColumnText, small, sizeof small));
    EXPECT_STREQ(small, "Tex");
    EXPECT_EQ(ListAppendRow(view_, 9, "9", nullptr), 2);
    EXPECT_FALSE(ListSetCell(view_, 5, kColumnTranslated, "x"));
}

// Walks read the rows from the list's own copy; it must agree with the control after every
// kind of change: appends, translations (also cut ones and small buffers), empties and refills.
TEST_F(List, WalksAgreeWithTheControlAfterEveryChange)
{
    auto controlValue = [&](int row) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return UINT(item.lParam);
    };
    auto agree = [&]() {
        const int rows = int(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
        ASSERT_EQ(ListRowCount(view_), rows);
        for (int row = 0; row < rows; ++row) {
            char cell[kTextSize];
            ASSERT_TRUE(ListGetCell(view_, row, kColumnTranslated, cell, sizeof cell));
            EXPECT_EQ(std::string(cell), ControlText(row, kColumnTranslated)) << row;
            EXPECT_EQ(ListRowValue(view_, row), controlValue(row)) << row;
            // A report list's rows stand in index order. (Wine's control answers a step below
            // the last row with a row above it; Windows answers -1.)
            EXPECT_EQ(ListNextRow(view_, row, LVNI_ALL), row + 1 < rows ? row + 1 : -1);
            EXPECT_EQ(ListNextRow(view_, row, LVNI_BELOW), row + 1 < rows ? row + 1 : -1);
            EXPECT_EQ(ListNextRow(view_, row, LVNI_ABOVE), row - 1);
        }
        EXPECT_EQ(ListNextRow(view_, -1, LVNI_ALL), rows ? 0 : -1);
    };
    Rows({0, 7, 8, 0, 9});
    agree();
    ListSetCell(view_, 1, kColumnTranslated, "sieben");
    ListSetCell(view_, 4, kColumnTranslated, std::string(300, 'n').c_str());
    ListSetCell(view_, 2, kColumnText, "not a translation");
    agree();
    char small[5];
    ASSERT_TRUE(ListGetCell(view_, 1, kColumnTranslated, small, sizeof small));
    EXPECT_STREQ(small, "sieb");
    ListSetCell(view_, 1, kColumnTranslated, "");
    agree();
    Rows({});
    agree();
    EXPECT_EQ(ListNextRow(view_, -1, LVNI_ALL), -1);
    Rows({5, 0, 6});
    agree();
    char cell[kTextSize];
    ASSERT_TRUE(ListGetCell(view_, 2, kColumnTranslated, cell, sizeof cell));
    EXPECT_STREQ(cell, "");
}

// Run alone, by its own test entry, with the ANSI code page 932.
class ListInCodePage932 : public List
{
};

TEST_F(ListInCodePage932, CopyHoldsWhatTheControlShows)
{
    ASSERT_EQ(GetACP(), 932u) << "this test needs the ANSI code page 932 (LC_ALL=ja_JP.UTF-8 under Wine)";
    Rows({7});
    // Lone lead bytes, bad second bytes, unassigned pairs and single bytes, and a valid text.
    const char *const kSamples[] = {"ab\x81",   "\x81\x20x", "\x85\x40",        "\xA0z",
                                    "\xFD\xFE", "\xEF\x40",  "\x83\x41\x83\x61"};
    for (const char *sample : kSamples) {
        ASSERT_TRUE(ListSetCell(view_, 0, kColumnTranslated, sample));
        char cell[kTextSize];
        ASSERT_TRUE(ListGetCell(view_, 0, kColumnTranslated, cell, sizeof cell));
        EXPECT_EQ(std::string(cell), ControlText(0, kColumnTranslated)) << sample;
    }
    // A lone lead byte comes back as a two-byte character: a full cell is then cut, in the cell and
    // its copy alike.
    ASSERT_TRUE(ListSetCell(view_, 0, kColumnTranslated, (std::string(250, 'a') + "\x81").c_str()));
    char cell[kTextSize];
    ASSERT_TRUE(ListGetCell(view_, 0, kColumnTranslated, cell, sizeof cell));
    EXPECT_EQ(std::string(cell), std::string(250, 'a'));
    EXPECT_EQ(ControlText(0, kColumnTranslated), std::string(250, 'a'));
}

TEST_F(List, RedrawHoldIsCountedAndSurvivesASuspension)
{
    ViewState *vs = GetViewState(view_);
    ASSERT_NE(vs, nullptr);
    ASSERT_EQ(vs->redrawHold, 0);
    ListHoldRedraw(view_);
    ListHoldRedraw(view_);
    EXPECT_EQ(vs->redrawHold, 2);
    EXPECT_EQ(ListSuspendRedrawHold(view_), 2);
    EXPECT_EQ(vs->redrawHold, 0);
    ListRestoreRedrawHold(view_, 2);
    ListReleaseRedraw(view_);
    EXPECT_EQ(vs->redrawHold, 1);
    ListReleaseRedraw(view_);
    ListReleaseRedraw(view_);
    EXPECT_EQ(vs->redrawHold, 0);
    // Every open takes the hold and gives it back.
    SendMessageA(view_, kMsgOpenDocument, kOpenNew, reinterpret_cast<LPARAM>(""));
    EXPECT_EQ(vs->redrawHold, 0);
    EXPECT_TRUE(GetWindowLongPtrA(list_, GWL_STYLE) & WS_VISIBLE);
}

// A row drawn by the view's owner-draw handler into a 32-bit DIB.
class DrawnRow
{
public:
    // The bitmap has a margin of kMargin pixels right of and below the row, which the drawing
    // must leave alone.
    DrawnRow(HWND view, HWND list, int row, UINT state)
    {
        rowWidth_ = 0;
        for (int c = 0; c < 3; ++c)
            rowWidth_ += int(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0));
        width_ = rowWidth_ + kMargin;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width_;
        bi.bmiHeader.biHeight = -(kHeight + kMargin);
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void **>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width_ * (kHeight + kMargin); ++i)
            bits_[i] = 0x00FF00FF; // magenta, a colour no row uses
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_LISTVIEW;
        draw.CtlID = kListChildId;
        draw.itemID = UINT(row);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hwndItem = list;
        draw.hDC = dc_;
        draw.rcItem = {0, 0, rowWidth_, kHeight};
        draw.itemData = ListRowValue(view, row);
        result_ = SendMessageA(view, WM_DRAWITEM, kListChildId, reinterpret_cast<LPARAM>(&draw));
        GdiFlush();
    }
    ~DrawnRow()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    LRESULT Result() const { return result_; }
    COLORREF At(int x, int y) const
    {
        DWORD p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of the area that differ from colour.
    int CountOther(RECT area, COLORREF colour) const
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += At(x, y) != colour;
        return n;
    }
    int CountOf(RECT area, COLORREF colour) const
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += At(x, y) == colour;
        return n;
    }
    int Width() const { return rowWidth_; }
    // The margin's pixels that are no longer the bitmap's initial magenta.
    int MarginTouched() const
    {
        RECT right = {rowWidth_, 0, width_, kHeight + kMargin};
        RECT below = {0, kHeight, rowWidth_, kHeight + kMargin};
        return CountOther(right, RGB(255, 0, 255)) + CountOther(below, RGB(255, 0, 255));
    }
    static constexpr int kHeight = 18;
    static constexpr int kMargin = 3;

private:
    int rowWidth_;
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    DWORD *bits_ = nullptr;
    LRESULT result_ = 0;
};

class ListDrawing : public List
{
protected:
    void SetUp() override
    {
        List::SetUp();
        ListClientWidth(461); // columns 60, 200, 201
        Rows({0, 1, 2, 0, 4});
    }
    // The Translated text cell, without its grid lines.
    RECT TranslatedCell() const
    {
        int left = ColumnWidth(0) + ColumnWidth(1);
        return {left, 0, left + ColumnWidth(2) - 1, DrawnRow::kHeight - 1};
    }
};

TEST_F(ListDrawing, EmptyTranslationIsHatchedAlsoWhenSelected)
{
    RECT cell = TranslatedCell();
    int area = (cell.right - cell.left) * (cell.bottom - cell.top);
    COLORREF window = GetSysColor(COLOR_WINDOW);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    {
        DrawnRow row(view_, list_, 1, 0);
        EXPECT_TRUE(row.Result());
        EXPECT_GT(row.CountOther(cell, window), area / 20);
        EXPECT_EQ(row.At(5, 9), window);
    }
    {
        DrawnRow row(view_, list_, 1, ODS_SELECTED);
        EXPECT_EQ(row.At(5, 9), highlight);
        EXPECT_GT(row.CountOther(cell, highlight), area / 20);
    }
    // Once a translation is stored, the cell keeps its background beyond the text.
    ListSetCell(view_, 1, kColumnTranslated, "x");
    {
        DrawnRow row(view_, list_, 1, ODS_SELECTED);
        RECT beyondText = cell;
        beyondText.left += 30;
        EXPECT_EQ(row.CountOther(beyondText, highlight), 0);
        RECT text = cell;
        text.right = text.left + 30;
        EXPECT_GT(row.CountOf(text, GetSysColor(COLOR_HIGHLIGHTTEXT)), 0);
    }
}

TEST_F(ListDrawing, CategoryRowShowsNoSelectionAndABandExceptOnRowZero)
{
    COLORREF workspace = GetSysColor(COLOR_APPWORKSPACE);
    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    ASSERT_NE(workspace, text);
    {
        DrawnRow row(view_, list_, 3, ODS_SELECTED);
        RECT all = {0, 0, row.Width(), DrawnRow::kHeight};
        EXPECT_EQ(row.CountOf(all, GetSysColor(COLOR_HIGHLIGHT)), 0);
        // The 2-pixel band over the full width, then the background.
        for (int x : {0, 5, 40, row.Width() - 1}) {
            EXPECT_EQ(row.At(x, 0), text) << x;
            EXPECT_EQ(row.At(x, 1), text) << x;
        }
        EXPECT_EQ(row.At(5, 2), workspace);
        EXPECT_EQ(row.At(5, 9), workspace);
        // The title is in the Text column, not in the Translated text column (no hatch there).
        RECT translated = TranslatedCell();
        translated.top = 2;
        translated.bottom = DrawnRow::kHeight - 2;
        EXPECT_EQ(row.CountOther(translated, workspace), 0);
        RECT title = {ColumnWidth(0), 2, ColumnWidth(0) + ColumnWidth(1) - 1, DrawnRow::kHeight - 2};
        EXPECT_GT(row.CountOf(title, text), 0);
        // The dotted line: the text colour on part of the bottom line only.
        RECT bottom = {0, DrawnRow::kHeight - 1, row.Width(), DrawnRow::kHeight};
        EXPECT_GT(row.CountOf(bottom, text), row.Width() / 5);
        EXPECT_LT(row.CountOf(bottom, text), row.Width() * 4 / 5);
    }
    {
        DrawnRow row(view_, list_, 0, 0);
        EXPECT_EQ(row.At(5, 0), workspace);
        EXPECT_EQ(row.At(5, 1), workspace);
    }
}

TEST_F(ListDrawing, DrawingStaysInsideTheRow)
{
    for (int row : {0, 1, 3, 4}) {
        for (UINT state : {0u, UINT(ODS_SELECTED | ODS_FOCUS)}) {
            DrawnRow drawn(view_, list_, row, state);
            EXPECT_EQ(drawn.MarginTouched(), 0) << "row " << row << " state " << state;
        }
    }
}

TEST_F(ListDrawing, RowsHaveGridLinesAndTheFocusRectangle)
{
    COLORREF face = GetSysColor(COLOR_3DFACE);
    DrawnRow row(view_, list_, 4, 0);
    EXPECT_EQ(row.At(3, DrawnRow::kHeight - 1), face);
    EXPECT_EQ(row.At(ColumnWidth(0) - 1, 5), face);
    DrawnRow focused(view_, list_, 4, ODS_FOCUS);
    int changed = 0;
    for (int y = 0; y < DrawnRow::kHeight - 1; ++y)
        changed += focused.At(0, y) != row.At(0, y);
    EXPECT_GT(changed, 0);
}

} // namespace
