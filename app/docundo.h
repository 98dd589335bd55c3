// Undo, redo and revert of committed changes in the main window, and the texts the document had
// when it was last opened or saved.
#pragma once
#include <windows.h>

#include "app/docchange.h"

// Records a change just made (not one made by undo or redo) in the view's history.
void UndoRecordRow(HWND view, UINT stringId, const char *before, const char *after);
void UndoRecordSignature(HWND view, const char *before, const char *after);
// Whether the document differs from its last open or save, as the history knows it.
bool UndoDocumentModified(HWND view);
// The document is its file as it stands (after an open, New, Close or save): the history is
// emptied (fill) or marked saved (save), and the texts to revert to are taken again.
void UndoDocumentFilled(HWND view);
void UndoDocumentSaved(HWND view);
// Frees what the view's history holds.
void UndoRelease(HWND view);

bool CanUndoChange(HWND view);
bool CanRedoChange(HWND view);
LRESULT UndoChange(HWND view);
LRESULT RedoChange(HWND view);
// Puts the focused row back to its text of the last open or save.
LRESULT RevertRow(HWND view);
