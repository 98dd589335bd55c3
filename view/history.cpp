// Back and forward through the rows the translator worked on.
#include "view/history.h"

static uint32_t &PlaceAt(PlaceHistory *history, uint32_t position)
{
    return history->places[(history->first + position) % kHistoryPlaces];
}

void HistoryVisit(PlaceHistory *history, uint32_t id)
{
    if (!history || id == 0) return;
    if (history->count > 0) {
        if (PlaceAt(history, history->current) == id) return;
        history->count = history->current + 1;
    }
    if (history->count == kHistoryPlaces) {
        history->first = (history->first + 1) % kHistoryPlaces;
        --history->count;
    }
    history->current = history->count++;
    PlaceAt(history, history->current) = id;
}

uint32_t HistoryBack(PlaceHistory *history)
{
    if (!history || history->count == 0 || history->current == 0) return 0;
    return PlaceAt(history, --history->current);
}

uint32_t HistoryForward(PlaceHistory *history)
{
    if (!history || history->current + 1 >= history->count) return 0;
    return PlaceAt(history, ++history->current);
}
