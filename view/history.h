// Back and forward through the rows the translator worked on, as a browser does. A place is a
// row's string ID; 0, never a string row's value, stands for "none". Window-free.
#pragma once
#include <cstdint>

constexpr uint32_t kHistoryPlaces = 100;

// Zero-initialised: empty. The places are a ring; the oldest falls off when it is full.
struct PlaceHistory {
    uint32_t places[kHistoryPlaces];
    uint32_t first;   // ring index of the oldest place
    uint32_t count;   // places held
    uint32_t current; // 0-based from the oldest; meaningful while count > 0
};

// Makes id the current place and drops the places ahead of the old one. Visiting the current
// place again changes nothing; 0 is no place.
void HistoryVisit(PlaceHistory *history, uint32_t id);
// The place before or after the current one, which becomes current; 0 at the ends.
uint32_t HistoryBack(PlaceHistory *history);
uint32_t HistoryForward(PlaceHistory *history);
