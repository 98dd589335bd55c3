// What follows a change of the document: every change of a row's translation or of the
// signature passes through here, whoever made it (the Translate dialog, a fill, undo), and so
// do the fill of the list at an open and a save. Counters, marks, the journal and the undo
// history each take their part here, so no caller has to know them.
#pragma once
#include <windows.h>

#include "view/changes.h"

// After the row's "Translated text" cell went from before to after (the list holds after).
void DocumentRowChanged(HWND view, int row, UINT stringId, const char *before, const char *after, ChangeSource source);
// After the signature went from before to what the view's buffer now holds.
void DocumentSignatureChanged(HWND view, const char *before, ChangeSource source);
// After an open, New or Close has filled (or emptied) the list and taken the file's translations.
void DocumentFilled(HWND view);
// After the translations were saved (not a template): the document is its file again.
void DocumentSaved(HWND view);
