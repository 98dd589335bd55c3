// The toolbar's window-free parts: button records and labels built from the toolbar list,
// the label cutting rule, and the mapping of the strip's greys to the system's button colours.
#pragma once
#include <cstddef>
#include <cstdint>

#include "frame/settingsdata.h"
#include "frame/textcut.h"
#include "image/gdishim.h"

// The strip holds one image per command, in command-ID order from the first command.
constexpr int32_t kStripFirstCommand = 40001;
constexpr int32_t kStripImageCount = 23;
// The control's "no image" index (I_IMAGENONE): -1 would ask the parent for an image instead.
constexpr int32_t kButtonNoImage = -2;

// Button states and styles as the toolbar control reads them (TBSTATE_ENABLED, BTNS_BUTTON, BTNS_SEP).
constexpr uint8_t kButtonEnabled = 0x04;
constexpr uint8_t kButtonStyleButton = 0x00;
constexpr uint8_t kButtonStyleSeparator = 0x01;

// Labels longer than kLabelKeep bytes are cut after kLabelCut bytes (at a character boundary)
// and get "..."; so no label is longer than 9 bytes.
constexpr size_t kLabelKeep = 9;
constexpr size_t kLabelCut = 5;
constexpr size_t kLabelMax = 9;

struct ToolbarButtonRecord {
    int32_t image;   // command - 40001; kButtonNoImage outside the strip; 0 (default width) for separators
    int32_t command; // 0 for separators
    uint8_t state;
    uint8_t style;
    int32_t label; // index in the label list, -1 for none
};

// Everything the control needs, in list order. Labels are NUL-terminated one after another,
// with one more NUL at the end, as the control's string list wants them.
struct ToolbarLayout {
    int buttonCount;
    ToolbarButtonRecord buttons[kToolbarCapacity];
    int labelCount;
    size_t labelBytes; // the whole list with its final NUL; 0 when there are no labels
    char labels[kToolbarCapacity * (kLabelMax + 1) + 1];
};

// Looks up a UI text into a buffer of kTextSize bytes; false when there is none.
using ToolbarTextFn = bool (*)(unsigned id, char *buffer);

// Writes the label for text into out (always terminated); returns its length.
size_t CutToolbarLabel(const char *text, LeadByteFn isLead, char *out, size_t capacity);

// Builds the button records from the list, and the labels when loadText is given.
// Returns the number of records (the list's length, at most kToolbarCapacity).
int BuildToolbarLayout(const ToolbarList &list, ToolbarTextFn loadText, LeadByteFn isLead, ToolbarLayout *layout);

// The system's button colours as 0x00BBGGRR (what GetSysColor gives).
struct ButtonColours {
    uint32_t shadow;
    uint32_t face;
    uint32_t light;
};

// Entries whose red, green and blue are all 128, 192 or 223 take the shadow, face or light
// colour; every other entry, and every flags byte, stays. Returns how many entries changed.
int RemapButtonGreys(PALETTEENTRY *entries, uint32_t count, const ButtonColours &colours);
