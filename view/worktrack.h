// How far the work is, where the translator has been, and which rows repeat a text: the
// view's side of the progress counters, the back/forward places and the repeated-text index.
// Every operation takes the view window and does nothing when it has no list.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "view/history.h"
#include "view/progress.h"
#include "view/repeated.h"

struct WorkTrack {
    Progress progress;
    PlaceHistory places;
    RepeatIndex repeats;
    int categoryRow[kProgressCategories]; // the list row of each category's title, or -1
    int batch;                            // while above 0 a change repaints nothing
    bool batchChanged;                    // a change came during the batch
};

// After the list was filled or emptied: counts the rows, indexes the source texts, forgets the places.
void WorkTrackFilled(HWND view);
// After a row's translation went from before to after: the counts, the category row and the pane.
void WorkTrackRowChanged(HWND view, int row, UINT stringId, const char *before, const char *after);
// Frees the view's work track (on destroy).
void WorkTrackFree(HWND view);

// Changes between Begin and End repaint once, at the end.
void WorkTrackBeginBatch(HWND view);
void WorkTrackEndBatch(HWND view);

// "1,234 of 2,136 translated (58%)"; false without a document.
bool WorkProgressText(HWND view, char *out, size_t capacity);
// "312 of 340" for a category's title row; false for any other row.
bool WorkCategoryProgressText(HWND view, int row, char *out, size_t capacity);

// The Translate dialog opened this row: a place to come back to.
void WorkRecordPlace(HWND view, UINT stringId);
// Back (40018) and Forward (40019): focuses, selects and shows the place's row; beeps at the ends.
LRESULT WorkGoBack(HWND view);
LRESULT WorkGoForward(HWND view);

// The current translations of the view's rows, for the repeated-text questions.
RepeatTexts WorkRepeatTexts(HWND view);
// Fill repeated texts (40020): fills every row it can and reports what it did.
LRESULT FillRepeatedTexts(HWND view);
// After the Translate dialog gave row a translation: offers once to give it to the rows with
// the same source text and none (unless "AskToFillRepeated" is off).
void OfferRepeatedFill(HWND view, int row, const char *translation);
