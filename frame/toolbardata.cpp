// The toolbar's window-free parts: button records, labels and the grey mapping of the strip.
#include "frame/toolbardata.h"
#include "state/textsize.h"

#include <cstring>

namespace
{

const char kEllipsis[] = "...";

bool IsGrey(const PALETTEENTRY &entry, uint8_t level)
{
    return entry.peRed == level && entry.peGreen == level && entry.peBlue == level;
}

// Sets the entry to a 0x00BBGGRR colour; true when that changed it.
bool SetColour(PALETTEENTRY &entry, uint32_t colour)
{
    auto red = uint8_t(colour & 0xFF);
    auto green = uint8_t((colour >> 8) & 0xFF);
    auto blue = uint8_t((colour >> 16) & 0xFF);
    if (entry.peRed == red && entry.peGreen == green && entry.peBlue == blue) return false;
    entry.peRed = red;
    entry.peGreen = green;
    entry.peBlue = blue;
    return true;
}

// Appends one label and its NUL; -1 when the list is full.
int32_t AppendLabel(ToolbarLayout *layout, const char *label, size_t length)
{
    // Room for the label, its NUL and the list's final NUL.
    if (layout->labelBytes + length + 2 > sizeof layout->labels) return -1;
    memcpy(layout->labels + layout->labelBytes, label, length);
    layout->labelBytes += length;
    layout->labels[layout->labelBytes++] = '\0';
    return layout->labelCount++;
}

} // namespace

size_t CutToolbarLabel(const char *text, LeadByteFn isLead, char *out, size_t capacity)
{
    if (!out || capacity == 0) return 0;
    out[0] = '\0';
    if (!text) return 0;
    size_t length = strlen(text);
    size_t keep = length;
    bool cut = length > kLabelKeep;
    if (cut) {
        // The first character boundary at or after kLabelCut: a two-byte character across it stays whole.
        keep = CutAtCharBoundary(text, length, kLabelCut, isLead);
        if (keep < kLabelCut) keep = CutAtCharBoundary(text, length, kLabelCut + 1, isLead);
    }
    size_t total = keep + (cut ? sizeof kEllipsis - 1 : 0);
    if (total >= capacity) return 0;
    memcpy(out, text, keep);
    if (cut) memcpy(out + keep, kEllipsis, sizeof kEllipsis - 1);
    out[total] = '\0';
    return total;
}

int BuildToolbarLayout(const ToolbarList &list, ToolbarTextFn loadText, LeadByteFn isLead, ToolbarLayout *layout)
{
    if (!layout) return 0;
    layout->buttonCount = 0;
    layout->labelCount = 0;
    layout->labelBytes = 0;
    list.ForEach([&](int32_t id) {
        if (layout->buttonCount >= kToolbarCapacity) return;
        ToolbarButtonRecord &button = layout->buttons[layout->buttonCount++];
        button = ToolbarButtonRecord{0, 0, 0, kButtonStyleSeparator, -1};
        if (id == kToolbarSeparator) return;
        int64_t image = int64_t(id) - kStripFirstCommand;
        button.image = image >= 0 && image < kStripImageCount ? int32_t(image) : kButtonNoImage;
        button.command = id;
        button.state = kButtonEnabled;
        button.style = kButtonStyleButton;
        if (!loadText) return;
        char text[kTextSize] = "";
        if (!loadText(unsigned(id), text)) return;
        text[kTextSize - 1] = '\0';
        char label[kLabelMax + 1];
        size_t length = CutToolbarLabel(text, isLead, label, sizeof label);
        if (length > 0) button.label = AppendLabel(layout, label, length);
    });
    // The string list ends with an empty string.
    if (layout->labelCount > 0) layout->labels[layout->labelBytes++] = '\0';
    return layout->buttonCount;
}

int RemapButtonGreys(PALETTEENTRY *entries, uint32_t count, const ButtonColours &colours)
{
    if (!entries) return 0;
    int changed = 0;
    for (uint32_t i = 0; i < count; ++i) {
        PALETTEENTRY &entry = entries[i];
        // One test per entry: a grey that becomes another grey is not mapped again.
        if (IsGrey(entry, 128))
            changed += SetColour(entry, colours.shadow);
        else if (IsGrey(entry, 192))
            changed += SetColour(entry, colours.face);
        else if (IsGrey(entry, 223))
            changed += SetColour(entry, colours.light);
    }
    return changed;
}
