// The problems of the translations in the window: a mark per row, the counts of the status
// bar, Next and Previous problem, and the line under the Translate dialog's field. The checks
// themselves are view/textcheck.h; each row is checked again only when its translation changes.
#pragma once
#include <windows.h>

#include <cstddef>

struct ViewState;

// Checks every row (after an open, New or Close filled or emptied the list).
void ProblemsCheckAll(HWND view);
// Checks one row again after its translation changed; repaints its mark and the counts.
void ProblemsCheckRow(HWND view, int row);
// Frees the view's problem record and its icons.
void ProblemsFree(HWND view);

// Draws the row's mark at the left of its "Translated text" cell; returns the width it took
// (0 when the row has no problem).
int DrawProblemMark(HWND view, int row, HDC dc, const RECT &cell);

// Next problem (40015) and Previous problem (40016): focus and select the next row with a
// problem in that direction, wrapping past the end; beeps when no row has one.
LRESULT GoToProblem(HWND view, bool forward);

// The status bar pane: "2 errors, 5 warnings"; false when there is no problem.
bool ProblemPaneText(ViewState *vs, char *out, size_t capacity);

// The problems of translation against source as one line ("%d expected where %s stands; ..."),
// empty when there are none.
void DescribeProblems(const char *source, const char *translation, char *out, size_t capacity);
