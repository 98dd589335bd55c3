// The problems of the translations in the window: marks, counts, Next/Previous problem.
#include "view/problems.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "state/appstate.h"
#include "state/viewstate.h"
#include "frame/statusbar.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "frame/leadbytes.h"
#include "view/list.h"
#include "view/listinternal.h"
#include "view/textcheck.h"
#include "state/textsize.h"

constexpr int kMarkSize = 16;
constexpr int kMarkIndent = 2;

struct RowProblems {
    uint8_t errors;
    uint8_t warnings;
};

struct ProblemMarks {
    std::vector<RowProblems> rows; // in row order, as the list's row copy
    int errors = 0;
    int warnings = 0;
    HICON errorIcon = nullptr;
    HICON warningIcon = nullptr;
};

static ProblemMarks *MarksOf(ViewState *vs)
{
    if (!vs->problems) vs->problems = new (std::nothrow) ProblemMarks;
    return vs->problems;
}

static RowProblems CheckRow(const ListRows &rows, size_t row)
{
    TextProblems found;
    CheckTranslation(rows.SourceAt(row), rows.TranslationAt(row), IsAnsiLeadByte, &found);
    return RowProblems{uint8_t(found.errors), uint8_t(found.warnings)};
}

void ProblemsCheckAll(HWND view)
{
    ViewState *vs = ListViewState(view);
    ProblemMarks *marks = vs ? MarksOf(vs) : nullptr;
    if (!marks) return;
    const ListRows &rows = *vs->rows;
    const size_t count = rows.sourceAt.size();
    marks->errors = 0;
    marks->warnings = 0;
    marks->rows.clear();
    try {
        marks->rows.resize(count, RowProblems{0, 0});
    } catch (const std::bad_alloc &) {
        // Without room for the marks the list shows none.
        return;
    }
    for (size_t row = 0; row < count; ++row) {
        // An untranslated row has no problem, and most rows of a fresh file are untranslated.
        if (!rows.translations[row]) continue;
        const RowProblems found = CheckRow(rows, row);
        marks->rows[row] = found;
        marks->errors += found.errors;
        marks->warnings += found.warnings;
    }
}

void ProblemsCheckRow(HWND view, int row)
{
    ViewState *vs = ListViewState(view);
    ProblemMarks *marks = vs ? vs->problems : nullptr;
    if (!marks || row < 0 || size_t(row) >= marks->rows.size() || size_t(row) >= vs->rows->sourceAt.size()) return;
    const RowProblems was = marks->rows[size_t(row)];
    const RowProblems found = CheckRow(*vs->rows, size_t(row));
    if (was.errors == found.errors && was.warnings == found.warnings) return;
    marks->rows[size_t(row)] = found;
    marks->errors += found.errors - was.errors;
    marks->warnings += found.warnings - was.warnings;
    SendMessageA(vs->list, LVM_REDRAWITEMS, WPARAM(row), LPARAM(row));
    LayoutStatusBar(view);
}

void ProblemsFree(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->problems) return;
    if (vs->problems->errorIcon) DestroyIcon(vs->problems->errorIcon);
    if (vs->problems->warningIcon) DestroyIcon(vs->problems->warningIcon);
    delete vs->problems;
    vs->problems = nullptr;
}

static HICON MarkIcon(HICON *cached, UINT id)
{
    if (!*cached)
        *cached = static_cast<HICON>(
            LoadImageA(AppInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON, kMarkSize, kMarkSize, LR_DEFAULTCOLOR));
    return *cached;
}

int DrawProblemMark(HWND view, int row, HDC dc, const RECT &cell)
{
    ViewState *vs = ListViewState(view);
    ProblemMarks *marks = vs ? vs->problems : nullptr;
    if (!marks || row < 0 || size_t(row) >= marks->rows.size()) return 0;
    const RowProblems found = marks->rows[size_t(row)];
    if (!found.errors && !found.warnings) return 0;
    HICON icon = found.errors ? MarkIcon(&marks->errorIcon, IDI_PROBLEM_ERROR)
                              : MarkIcon(&marks->warningIcon, IDI_PROBLEM_WARNING);
    if (!icon) return 0;
    // A row lower than the mark gets the mark scaled down rather than drawn over its neighbour.
    int size = cell.bottom - cell.top;
    if (size > kMarkSize) size = kMarkSize;
    const int top = cell.top + (cell.bottom - cell.top - size) / 2;
    DrawIconEx(dc, cell.left + kMarkIndent, top, icon, size, size, 0, nullptr, DI_NORMAL);
    return kMarkIndent + size;
}

static bool HasProblem(const ProblemMarks &marks, int row)
{
    const RowProblems found = marks.rows[size_t(row)];
    return found.errors || found.warnings;
}

LRESULT GoToProblem(HWND view, bool forward)
{
    ViewState *vs = ListViewState(view);
    ProblemMarks *marks = vs ? vs->problems : nullptr;
    const int count = marks ? int(marks->rows.size()) : 0;
    const int focused = ListNextRow(view, -1, LVNI_FOCUSED);
    // Without a focused row the walk starts at the top (forward) or the bottom (backward).
    int row = focused >= 0 && focused < count ? focused : (forward ? count - 1 : 0);
    const int step = forward ? 1 : count - 1;
    for (int i = 0; i < count; ++i) {
        row = (row + step) % count;
        if (!HasProblem(*marks, row)) continue;
        for (int sel = ListNextRow(view, -1, LVNI_SELECTED); sel >= 0; sel = ListNextRow(view, sel, LVNI_SELECTED))
            ListSetRowState(view, sel, 0, LVIS_SELECTED);
        ListSetRowState(view, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        ListEnsureVisible(view, row);
        return 1;
    }
    MessageBeep(0xFFFFFFFF);
    return 0;
}

bool ProblemPaneText(ViewState *vs, char *out, size_t capacity)
{
    const ProblemMarks *marks = vs ? vs->problems : nullptr;
    if (!marks || (marks->errors == 0 && marks->warnings == 0) || capacity == 0) return false;
    char format[kTextSize], errors[kTextSize], warnings[kTextSize];
    if (!LoadUiText(IDS_PROBLEM_COUNTS, format)) lstrcpynA(format, "%d %s, %d %s", sizeof format);
    if (!LoadUiText(marks->errors == 1 ? IDS_PROBLEM_ERROR : IDS_PROBLEM_ERRORS, errors)) errors[0] = '\0';
    if (!LoadUiText(marks->warnings == 1 ? IDS_PROBLEM_WARNING : IDS_PROBLEM_WARNINGS, warnings)) warnings[0] = '\0';
    snprintf(out, capacity, format, marks->errors, errors, marks->warnings, warnings);
    return true;
}

void DescribeProblems(const char *source, const char *translation, char *out, size_t capacity)
{
    if (capacity == 0) return;
    out[0] = '\0';
    TextProblems found;
    CheckTranslation(source, translation, IsAnsiLeadByte, &found);
    size_t used = 0;
    for (int i = 0; i < found.count && used + 1 < capacity; ++i) {
        int n = snprintf(out + used, capacity - used, "%s%s", i ? "; " : "", found.items[i].message);
        if (n < 0) break;
        used += size_t(n);
    }
}
