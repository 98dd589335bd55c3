// The document shown in the view: opening, closing, saving, and the title.
#pragma once
#include <windows.h>

#include "langfile/lngglue.h"

BOOL OpenDocument(HWND view, const char *path, UINT openFlags);
LRESULT RefreshDocumentDisplay(HWND view);
void OpenFromCommandLine(HWND view, const char *path);
void RefreshTitle(HWND view);
bool IsDocumentFileBacked(HWND view);
struct SaveTarget;
struct ViewState;
// The document's rows, signature and kept records as the language-file glue takes them.
GlueDocument GlueOf(ViewState *vs);
// Writes the document to target->path (asking first when it would replace a file and
// "AskToOverwrite" is on); the path and file-backed flag follow a successful save.
BOOL SaveDocument(HWND view, SaveTarget *target, bool asTemplate);
// "Successfully written to: ..." in the status bar.
void ShowSaveConfirmation(HWND view, const SaveTarget *target);
// The text after the last backslash, or all of it.
