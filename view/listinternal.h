// What the list's files share among themselves; not for the rest of the program.
#pragma once
#include <windows.h>

#include "state/viewstate.h"
#include "view/rowarray.h"

// The list's focus-skip: move focus and selection to row wParam.
constexpr UINT kMsgListFocusRow = WM_USER + 260;

// The row values and "Translated text" cells, kept beside the control in row order. Walks
// over every row (Find Next, next untranslated, save, load) read them here: under Wine each
// list message costs a few microseconds, several per row, which made a walk over 65,000
// rows take half a second. The control keeps its own copy for drawing.
struct ListRows {
    int columns = 0; // the columns inserted
    RowArray<UINT> values;
    RowArray<char *> translations; // each its own allocation; null for an empty cell
    // The source texts as the cells hold them, each ended by a NUL, for the repeated-text
    // index: reading them back from the control at every open cost more than the open itself.
    RowArray<char> sourceBlock;
    RowArray<uint32_t> sourceAt; // per row: its text's offset in sourceBlock

    ListRows() = default;
    ListRows(const ListRows &) = delete;
    ListRows &operator=(const ListRows &) = delete;
    ~ListRows() { Clear(); }
    void Clear()
    {
        for (size_t row = 0; row < translations.size(); ++row)
            free(translations[row]);
        translations.Shrink(0);
        values.Shrink(0);
        sourceBlock.Shrink(0);
        sourceAt.Shrink(0);
    }
    // The row's translation; "" when it has none. row must be below the row count.
    const char *TranslationAt(size_t row) const { return translations[row] ? translations[row] : ""; }
    const char *SourceAt(size_t row) const { return sourceBlock.data() + sourceAt[row]; }
};

// The list of a view, or null when the view has no state or no list.
ViewState *ListViewState(HWND view);
// Replaces the control's procedure by the list procedure, keeping the previous one.
void ListAttachProcedure(ViewState *vs);
