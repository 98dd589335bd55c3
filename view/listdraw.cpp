// Drawing a row of the translation list: category rows as bands, untranslated cells hatched.
#include "view/list.h"

#include "view/listinternal.h"
#include "view/problems.h"
#include "view/worktrack.h"

constexpr int kTextIndent = 4;
constexpr int kCategoryBand = 2;
constexpr int kTextRoom = 260;

static void FillSolid(HDC dc, const RECT &rc, int colour)
{
    FillRect(dc, &rc, GetSysColorBrush(colour));
}

static void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// Marks an empty Translated text cell. The inverting mix shows it on any background,
// the selection colour included.
static void HatchCell(HDC dc, const RECT &cell)
{
    HBRUSH hatch = CreateHatchBrush(HS_BDIAGONAL, GetSysColor(COLOR_WINDOWTEXT));
    if (!hatch) return;
    int oldMix = SetROP2(dc, R2_NOTXORPEN);
    HGDIOBJ oldBrush = SelectObject(dc, hatch);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    // With the null pen a rectangle leaves out its right and bottom edges: cover the cell whole.
    Rectangle(dc, cell.left, cell.top, cell.right + 1, cell.bottom + 1);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SetROP2(dc, oldMix);
    DeleteObject(hatch);
}

static UINT AlignmentOf(int format, bool category)
{
    if (category) return DT_CENTER;
    switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
    }
}

// A category row's progress ("312 of 340") stands right-aligned in its last cell; its
// cells keep the title alone.
static void DrawCells(HWND view, HWND list, HDC dc, const DRAWITEMSTRUCT &draw, bool category, const char *progress)
{
    const RECT &row = draw.rcItem;
    int left = row.left;
    for (int column = 0;; ++column) {
        LVCOLUMNA info = {};
        info.mask = LVCF_FMT | LVCF_WIDTH;
        if (!SendMessageA(list, LVM_GETCOLUMNA, WPARAM(column), reinterpret_cast<LPARAM>(&info))) break;
        RECT cell = {left, row.top, left + info.cx, row.bottom};
        left = cell.right;

        char text[kTextRoom] = "";
        bool drawsText = !category || column == kColumnText;
        if (drawsText || column == kColumnTranslated) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(draw.itemID), reinterpret_cast<LPARAM>(&item));
            text[sizeof text - 1] = '\0';
        }
        if (!category && column == kColumnTranslated && text[0] == '\0') HatchCell(dc, cell);
        int markWidth = 0;
        if (!category && column == kColumnTranslated && text[0])
            markWidth = DrawProblemMark(view, int(draw.itemID), dc, cell);
        if (drawsText && text[0]) {
            RECT textRect = cell;
            textRect.left += markWidth + kTextIndent;
            DrawTextA(dc, text, -1, &textRect,
                      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | AlignmentOf(info.fmt, category));
        }
        if (category && column == kColumnTranslated && progress && progress[0]) {
            RECT textRect = cell;
            textRect.right -= kTextIndent;
            DrawTextA(dc, progress, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_RIGHT);
        }
        Line(dc, cell.right - 1, row.top, cell.right - 1, row.bottom);
    }
}

static void DrawCategoryMarks(HDC dc, const RECT &row, bool firstRow)
{
    if (!firstRow) {
        RECT band = {row.left, row.top, row.right, row.top + kCategoryBand};
        FillSolid(dc, band, COLOR_WINDOWTEXT);
    }
    HPEN dotted = CreatePen(PS_DOT, 1, GetSysColor(COLOR_WINDOWTEXT));
    if (!dotted) return;
    // The gaps of the dots show the grid line beneath.
    int oldBackground = SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, dotted);
    Line(dc, row.left, row.bottom - 1, row.right, row.bottom - 1);
    SelectObject(dc, old);
    SetBkMode(dc, oldBackground);
    DeleteObject(dotted);
}

BOOL ListDrawRow(HWND view, const DRAWITEMSTRUCT *draw)
{
    ViewState *vs = ListViewState(view);
    if (!vs || !draw) return FALSE;
    HDC dc = draw->hDC;
    const RECT &row = draw->rcItem;
    bool category = draw->itemData == 0;
    // A category row never shows the selection: it cannot keep it anyway.
    bool selected = !category && (draw->itemState & ODS_SELECTED);

    FillSolid(dc, row, category ? COLOR_APPWORKSPACE : COLOR_WINDOW);
    if (selected) FillSolid(dc, row, COLOR_HIGHLIGHT);
    COLORREF oldText = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    int oldBackground = SetBkMode(dc, TRANSPARENT);

    HPEN grid = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DFACE));
    HGDIOBJ oldPen = grid ? SelectObject(dc, grid) : nullptr;
    if (grid) Line(dc, 0, row.bottom - 1, row.right, row.bottom - 1);
    char progress[kTextRoom] = "";
    if (category) WorkCategoryProgressText(view, int(draw->itemID), progress, sizeof progress);
    DrawCells(view, vs->list, dc, *draw, category, progress);
    SetBkMode(dc, oldBackground);
    SetTextColor(dc, oldText);
    if (grid) {
        SelectObject(dc, oldPen);
        DeleteObject(grid);
    }

    if (category) DrawCategoryMarks(dc, row, draw->itemID == 0);
    if (draw->itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
    return TRUE;
}
