// The Translate and Signature dialogs and the commands that drive them.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "state/textsize.h"
#include "view/displaytext.h"

struct TranslationRecord {
    uint32_t stringId;
    char source[kTextSize];
    char translation[kTextSize];
};

// Runs the Translate dialog for one row; 1 when confirmed with OK, 0 when cancelled.
int TranslateRow(HWND view, int row, uint32_t stringId);
// Translate (40008): each selected string row in turn; the count confirmed.
LRESULT TranslateSelected(HWND view);
// Translate next untranslated (40012): every untranslated row from the top, one pass;
// beeps when there is none. The count confirmed.
LRESULT TranslateUntranslated(HWND view);
// Translate previous untranslated (40017): the mirror of the walk above, upward from the row
// above the focused one (from the last row when none has the focus) to the top; one pass,
// focus and selection unchanged, a beep when there is none. The count confirmed.
LRESULT TranslatePreviousUntranslated(HWND view);
// Signature (40009): success when confirmed.
LRESULT EditSignature(HWND view);
