// How the view tells its owner of the changes it makes: every change of a row's translation
// or of the signature made in the view (the Translate and Signature dialogs, a fill) goes
// through these slots, which the application sets once. The view never calls the document.
#pragma once
#include <windows.h>

// Who made a change.
enum ChangeSource : UINT {
    kChangeTyped,    // the Translate or Signature dialog
    kChangeFilled,   // a fill of repeated texts
    kChangeUndone,   // undo
    kChangeRedone,   // redo
    kChangeReverted, // a row put back to its text of the last open or save
};

struct ChangeListener {
    // After the row's "Translated text" cell went from before to after (the list holds after).
    void (*rowChanged)(HWND view, int row, UINT stringId, const char *before, const char *after, ChangeSource source);
    // After the signature went from before to what the view's buffer now holds.
    void (*signatureChanged)(HWND view, const char *before, ChangeSource source);
};

void SetChangeListener(const ChangeListener *listener);
void NotifyRowChanged(HWND view, int row, UINT stringId, const char *before, const char *after, ChangeSource source);
void NotifySignatureChanged(HWND view, const char *before, ChangeSource source);
