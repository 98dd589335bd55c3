// The preferences sheet and the About box.
#pragma once
#include <windows.h>

#include <cstdint>

// Which pages the sheet shows: with kPageOnly, only the page with that ID.
struct PageFilter {
    uint32_t pageId;
    uint32_t flags;
};
constexpr uint32_t kPageOnly = 1;

// A page of the sheet; each subsystem with settings of its own gives one.
struct PreferencePage {
    UINT id; // also the dialog resource and the title string
    UINT icon;
    DLGPROC proc;
};

// Shows the given pages in a modal sheet; 1 when the platform reports a positive result,
// else 0 (also when no page could be created).
int OpenPreferences(HWND owner, const PageFilter *filter, const PreferencePage *pages, size_t count);
BOOL ShowAbout(HWND owner);
// The About text: host and program name, version and build date, closing line.
void FormatAboutText(char *out, size_t capacity);
