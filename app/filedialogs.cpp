// The open and save dialogs for language files.
#include "app/filedialogs.h"

#include <cstdio>
#include <cstring>

#include "app/appwindows.h"
#include "state/sysdlls.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "state/textsize.h"

// "Language File (*.lng)", NUL, "*.lng", NUL, NUL.
static bool BuildFilter(char *filter, size_t capacity)
{
    char name[kTextSize];
    if (!LoadUiText(IDS_LANGUAGE_FILE, name)) return false;
    int n = snprintf(filter, capacity, "%s (*.lng)%c*.lng%c", name, 0, 0);
    return n > 0 && size_t(n) < capacity;
}

// The extended structure from Windows XP on; the older, shorter one before.
static DWORD DialogStructSize()
{
    OSVERSIONINFOA vi = {};
    vi.dwOSVersionInfoSize = sizeof vi;
    if (GetVersionExA(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_NT &&
        (vi.dwMajorVersion > 5 || (vi.dwMajorVersion == 5 && vi.dwMinorVersion > 0))) {
        return sizeof(OPENFILENAMEA);
    }
    return OPENFILENAME_SIZE_VERSION_400A;
}

// What the open and save dialogs share: owner, filter, path buffer, the current folder.
static OPENFILENAMEA DescribeDialog(HWND view, const char *filter, char *path, size_t capacity)
{
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = DialogStructSize();
    ofn.hwndOwner = view;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = DWORD(capacity);
    ofn.lpstrInitialDir = ".";
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING;
    return ofn;
}

bool RunOpenDialog(HWND view, char *path, size_t capacity)
{
    char filter[kTextSize + 32];
    if (!BuildFilter(filter, sizeof filter)) return false;
    path[0] = '\0';
    OPENFILENAMEA ofn = DescribeDialog(view, filter, path, capacity);
    ofn.nFilterIndex = 0;
    ofn.Flags |= OFN_FILEMUSTEXIST;
    return SysGetOpenFileName(&ofn) != FALSE;
}

bool RunSaveDialog(HWND view, char *path, size_t capacity)
{
    char filter[kTextSize + 32];
    if (!BuildFilter(filter, sizeof filter)) return false;
    ViewState *vs = GetViewState(view);
    if (path[0] == '\0' && vs) lstrcpynA(path, vs->docPath, int(capacity));
    // The overwrite question is the program's own (it follows "AskToOverwrite").
    OPENFILENAMEA ofn = DescribeDialog(view, filter, path, capacity);
    ofn.nFilterIndex = 1;
    ofn.lpstrDefExt = "lng";
    return SysGetSaveFileName(&ofn) != FALSE;
}
