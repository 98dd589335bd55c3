// Translating a repeated text once: Fill repeated texts, and the offer after the Translate
// dialog's OK to give the rows with the same source text its translation.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "state/appstate.h"
#include "frame/settings.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "view/changes.h"
#include "view/list.h"
#include "view/listinternal.h"
#include "view/worktrack.h"
#include "state/textsize.h"

namespace
{

// From this many fills on, the list is held without redraw while they are written. Under Wine
// a cell set with redraw on costs some 30-90 us, and the release of a hold some 50 ms on a
// 65,000-row list (it measures the columns and repaints the list whole).
constexpr size_t kFillsHeld = 1000;

const char *TranslationAt(void *context, uint32_t row)
{
    const auto *rows = static_cast<const ListRows *>(context);
    return row < rows->translations.size() ? rows->TranslationAt(row) : nullptr;
}

// Gives each row the text, as a change of the document; the counters repaint once, at the end.
template <typename TextOf> void FillRows(HWND view, const std::vector<uint32_t> &rows, TextOf textOf)
{
    ViewState *vs = ListViewState(view);
    if (!vs || rows.empty()) return;
    const bool hold = rows.size() >= kFillsHeld;
    if (hold) ListHoldRedraw(view);
    WorkTrackBeginBatch(view);
    for (uint32_t row : rows) {
        if (!ListSetCell(view, int(row), kColumnTranslated, textOf(row))) continue;
        NotifyRowChanged(view, int(row), ListRowValue(view, int(row)), "", vs->rows->TranslationAt(row), kChangeFilled);
    }
    WorkTrackEndBatch(view);
    if (hold) ListReleaseRedraw(view);
}

struct OfferState {
    unsigned rows;
    bool dontAsk;
};

INT_PTR CALLBACK OfferDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lp);
        LocaliseDialog(dialog, IDD_FILL_REPEATED);
        char format[kTextSize], text[kTextSize + 16];
        if (LoadUiText(IDC_FR_TEXT, format)) {
            snprintf(text, sizeof text, format, reinterpret_cast<OfferState *>(lp)->rows);
            SetDlgItemTextA(dialog, IDC_FR_TEXT, text);
        }
        return TRUE; // the default button takes the focus
    }
    case WM_COMMAND: {
        UINT id = LOWORD(wp);
        if (id != IDC_FR_YES && id != IDC_FR_NO && id != IDCANCEL) return FALSE;
        auto *offer = reinterpret_cast<OfferState *>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (offer) offer->dontAsk = IsDlgButtonChecked(dialog, IDC_FR_DONT_ASK) == BST_CHECKED;
        EndDialog(dialog, id == IDC_FR_YES ? IDYES : IDNO);
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    }
    return FALSE;
}

// Yes or No; the check box turns the offer off for good, in the settings file too.
bool AskToFill(HWND view, unsigned rows)
{
    OfferState offer = {rows, false};
    // The question sits over the list, which must paint meanwhile.
    int holds = ListSuspendRedrawHold(view);
    INT_PTR answer = DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_FILL_REPEATED), view, OfferDialogProc,
                                     reinterpret_cast<LPARAM>(&offer));
    ListRestoreRedrawHold(view, holds);
    if (offer.dontAsk) {
        App().settings.askToFillRepeated = 0;
        FileProfile profile(App().settingsPath);
        profile.WriteString(AppOptionSection(), "AskToFillRepeated", "0");
    }
    return answer == IDYES;
}

} // namespace

RepeatTexts WorkRepeatTexts(HWND view)
{
    ViewState *vs = ListViewState(view);
    return RepeatTexts{TranslationAt, vs ? vs->rows : nullptr};
}

LRESULT FillRepeatedTexts(HWND view)
{
    ViewState *vs = ListViewState(view);
    if (!vs || !vs->work) return 0;
    std::vector<RepeatFill> plan;
    uint32_t left = 0;
    std::vector<uint32_t> rows;
    try {
        if (!RepeatFillPlan(vs->work->repeats, WorkRepeatTexts(view), &plan, &left)) return 0;
        rows.reserve(plan.size());
        for (const RepeatFill &fill : plan)
            rows.push_back(fill.row);
    } catch (const std::bad_alloc &) {
        return 0;
    }
    // Each donor is a translated row, so no fill changes another's text.
    size_t next = 0;
    FillRows(view, rows, [&](uint32_t) { return vs->rows->TranslationAt(plan[next++].from); });
    char format[kTextSize], text[kTextSize + 32];
    if (!LoadUiText(left ? IDS_FILL_REPORT : IDS_FILL_REPORT_ALL, format)) return 1;
    snprintf(text, sizeof text, format, unsigned(plan.size()), unsigned(left));
    MessageBoxA(view, text, AppProgramName(), MB_OK | MB_ICONINFORMATION);
    return 1;
}

void OfferRepeatedFill(HWND view, int row, const char *translation)
{
    ViewState *vs = ListViewState(view);
    if (!vs || !vs->work || row < 0 || !translation || !translation[0] || !App().settings.askToFillRepeated) return;
    std::vector<uint32_t> rows;
    if (!RepeatUntranslatedLike(vs->work->repeats, uint32_t(row), WorkRepeatTexts(view), &rows) || rows.empty()) return;
    if (!AskToFill(view, unsigned(rows.size()))) return;
    // The row's own text, copied: the fills must not read a cell they are writing.
    char text[kTextSize];
    lstrcpynA(text, vs->rows->TranslationAt(size_t(row)), sizeof text);
    FillRows(view, rows, [&](uint32_t) { return text; });
}
