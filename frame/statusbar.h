// The status bar at the bottom of the view: owner-drawn panes from the pane list, and the
// status message.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>

constexpr int kStatusBarId = 2;

// What the panes show, asked of the bar's owner at each layout and drawing: the status bar
// reads no document itself.
struct StatusFacts {
    const char *path; // the document's path or name; empty when there is no document
    bool fileBacked;  // the path names a file that was read or written
};

struct StatusSource {
    void (*facts)(HWND view, StatusFacts *out);
    // The counting panes' texts ("2 errors, 5 warnings", "1,234 of 2,136 translated (58%)");
    // false leaves the pane out.
    bool (*problemsText)(HWND view, char *out, size_t capacity);
    bool (*progressText)(HWND view, char *out, size_t capacity);
};

// Set once at start-up; without a source the bar shows no document.
void SetStatusSource(const StatusSource *source);

// Flag 0 destroys the status bar; otherwise a new one replaces any existing one.
void ShowStatusBar(HWND view, bool show);
void DestroyStatusBar(HWND view);
// Moves the bar to the bottom of the view and shows it (it is created hidden).
void RepositionStatusBar(HWND view);
// Recomputes every pane from the pane list and the document.
void LayoutStatusBar(HWND view);
// Stores the message (with an icon resource number) and shows it in the message pane.
BOOL ShowStatusMessage(HWND view, UINT icon, const char *text);
// WM_DRAWITEM for the bar's panes.
BOOL DrawStatusPart(HWND view, const DRAWITEMSTRUCT *draw);
// TTN_GETDISPINFOA from the bar's tooltip; false when the request is not the bar's.
bool StatusTooltipText(HWND view, NMTTDISPINFOA *info);

// The file's last-write time as local long date and time; false when the file is missing.
bool FormatFileDateTime(const char *path, char *out, size_t capacity);
