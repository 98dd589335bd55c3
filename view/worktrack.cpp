// The view's side of the progress counters, the back/forward places and the repeated-text
// index: built once when the list is filled, then kept up by each change of a row.
#include "view/worktrack.h"

#include <new>
#include <string>
#include <vector>

#include "catalogue/stringblock.h"
#include "frame/statusbar.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "view/list.h"
#include "view/listinternal.h"
#include "state/textsize.h"

namespace
{

WorkTrack *WorkOf(HWND view)
{
    ViewState *vs = ListViewState(view);
    return vs ? vs->work : nullptr;
}

// The words of the progress texts, loaded into the caller's buffers.
struct WordTexts {
    char of[kTextSize];
    char translated[kTextSize];
    char thousands[kTextSize];
    ProgressWords Load()
    {
        LoadUiText(IDS_PROGRESS_OF, of);
        LoadUiText(IDS_PROGRESS_TRANSLATED, translated);
        LoadUiText(IDS_THOUSANDS, thousands);
        return ProgressWords{of, translated, thousands};
    }
};

// The category a title row stands for, by its title; -1 when none matches.
int CategoryOfTitle(const char *title)
{
    size_t count = 0;
    const Category *table = CategoryTable(&count);
    for (size_t i = 0; i < count && i < kProgressCategories; ++i)
        if (lstrcmpA(table[i].title, title) == 0) return int(i);
    return -1;
}

// The string rows indexed by source text; category rows stay out.
bool BuildRepeatIndex(const ListRows &rows, RepeatIndex *index)
{
    const uint32_t count = uint32_t(rows.values.size());
    if (rows.sourceAt.size() != count) {
        *index = RepeatIndex{};
        return false;
    }
    try {
        std::vector<RepeatSource> sources(count);
        for (uint32_t row = 0; row < count; ++row)
            sources[row] = RepeatSource{rows.values[row], rows.SourceAt(row)};
        return RepeatIndexBuild(index, sources.data(), count);
    } catch (const std::bad_alloc &) {
        *index = RepeatIndex{};
        return false;
    }
}

void InvalidateRow(HWND list, int row)
{
    RECT rc = {LVIR_BOUNDS, 0, 0, 0};
    if (row >= 0 && SendMessageA(list, LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&rc)))
        InvalidateRect(list, &rc, FALSE);
}

void RepaintCategory(HWND view, int category)
{
    ViewState *vs = ListViewState(view);
    if (!vs || !vs->work || category < 0) return;
    InvalidateRow(vs->list, vs->work->categoryRow[category]);
}

int FindRow(const RowArray<UINT> &values, UINT id)
{
    for (size_t row = 0; row < values.size(); ++row)
        if (values[row] == id) return int(row);
    return -1;
}

LRESULT GoToPlace(HWND view, UINT id)
{
    ViewState *vs = ListViewState(view);
    int row = vs && id ? FindRow(vs->rows->values, id) : -1;
    if (row < 0) {
        MessageBeep(0xFFFFFFFF);
        return 0;
    }
    ListSetRowState(view, -1, 0, LVIS_SELECTED);
    ListSetRowState(view, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    SendMessageA(vs->list, LVM_SETSELECTIONMARK, 0, LPARAM(row));
    ListEnsureVisible(view, row);
    return 1;
}

} // namespace

void WorkTrackFilled(HWND view)
{
    ViewState *vs = ListViewState(view);
    if (!vs) return;
    if (!vs->work) vs->work = new (std::nothrow) WorkTrack();
    WorkTrack *work = vs->work;
    if (!work) return;
    work->progress = Progress{};
    work->places = PlaceHistory{};
    for (int &row : work->categoryRow)
        row = -1;
    const RowArray<UINT> &values = vs->rows->values;
    char title[kTextSize];
    for (size_t row = 0; row < values.size(); ++row) {
        if (values[row] != 0) {
            ProgressAddRow(&work->progress, values[row], vs->rows->translations[row] != nullptr);
            continue;
        }
        ListGetCell(view, int(row), kColumnText, title, sizeof title);
        int category = CategoryOfTitle(title);
        if (category >= 0) work->categoryRow[category] = int(row);
    }
    // Without an index (no memory) no row is taken for a repeat: nothing is filled wrongly.
    BuildRepeatIndex(*vs->rows, &work->repeats);
}

void WorkTrackRowChanged(HWND view, int, UINT stringId, const char *before, const char *after)
{
    WorkTrack *work = WorkOf(view);
    if (!work) return;
    const bool was = before && before[0];
    const bool is = after && after[0];
    if (was == is) return;
    ProgressTranslationChanged(&work->progress, stringId, was, is);
    if (work->batch > 0) {
        work->batchChanged = true;
        return;
    }
    RepaintCategory(view, ProgressCategoryOf(stringId));
    LayoutStatusBar(view);
}

void WorkTrackFree(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    delete vs->work;
    vs->work = nullptr;
}

void WorkTrackBeginBatch(HWND view)
{
    if (WorkTrack *work = WorkOf(view)) ++work->batch;
}

void WorkTrackEndBatch(HWND view)
{
    WorkTrack *work = WorkOf(view);
    if (!work || work->batch <= 0 || --work->batch > 0 || !work->batchChanged) return;
    work->batchChanged = false;
    for (size_t category = 0; category < kProgressCategories; ++category)
        RepaintCategory(view, int(category));
    LayoutStatusBar(view);
}

bool WorkProgressText(HWND view, char *out, size_t capacity)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->docPath[0]) return false;
    ProgressCount total = vs->work ? vs->work->progress.total : ProgressCount{0, 0};
    WordTexts words;
    return FormatProgress(total, words.Load(), out, capacity);
}

bool WorkCategoryProgressText(HWND view, int row, char *out, size_t capacity)
{
    WorkTrack *work = WorkOf(view);
    if (!work || row < 0) return false;
    for (size_t category = 0; category < kProgressCategories; ++category) {
        if (work->categoryRow[category] != row) continue;
        WordTexts words;
        return FormatCategoryProgress(work->progress.categories[category], words.Load(), out, capacity);
    }
    return false;
}

void WorkRecordPlace(HWND view, UINT stringId)
{
    if (WorkTrack *work = WorkOf(view)) HistoryVisit(&work->places, stringId);
}

LRESULT WorkGoBack(HWND view)
{
    WorkTrack *work = WorkOf(view);
    return GoToPlace(view, work ? HistoryBack(&work->places) : 0);
}

LRESULT WorkGoForward(HWND view)
{
    WorkTrack *work = WorkOf(view);
    return GoToPlace(view, work ? HistoryForward(&work->places) : 0);
}
