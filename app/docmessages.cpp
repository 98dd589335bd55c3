// The document's message boxes about its files, titled with the program's name.
#include "app/docmessages.h"

#include <cstdio>
#include <cstring>

#include "state/appstate.h"
#include "app/document.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "frame/leadbytes.h"
#include "frame/pathparts.h"
#include "state/textsize.h"

namespace
{

constexpr size_t kMessageSize = kTextSize + 2 * MAX_PATH + 512;

// The system's text for a Win32 error, without its line end.
void SystemErrorText(uint32_t error, char *out, DWORD capacity)
{
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, out,
                             capacity, nullptr);
    while (n > 0 && (out[n - 1] == '\r' || out[n - 1] == '\n' || out[n - 1] == ' '))
        out[--n] = '\0';
    if (n == 0) snprintf(out, capacity, "Error %lu", static_cast<unsigned long>(error));
}

int Show(HWND view, const char *text, UINT type)
{
    return MessageBoxA(view, text, AppProgramName(), type);
}

} // namespace

void ShowFileError(HWND view, UINT textId, const char *path, uint32_t error)
{
    char format[kTextSize], reason[512], text[kMessageSize];
    if (!LoadUiText(textId, format)) return;
    SystemErrorText(error, reason, sizeof reason);
    snprintf(text, sizeof text, format, path, reason);
    Show(view, text, MB_OK | MB_ICONERROR);
}

void ShowFileNotice(HWND view, UINT textId, const char *path)
{
    char format[kTextSize], text[kMessageSize];
    if (!LoadUiText(textId, format)) return;
    snprintf(text, sizeof text, format, FileNamePart(path, IsAnsiLeadByte));
    Show(view, text, MB_OK | MB_ICONINFORMATION);
}

void ShowCountNotice(HWND view, UINT textId, int count)
{
    char format[kTextSize], text[kMessageSize];
    if (!LoadUiText(textId, format)) return;
    snprintf(text, sizeof text, format, count);
    Show(view, text, MB_OK | MB_ICONINFORMATION);
}

bool AskOpenAnyway(HWND view, const char *path, uint32_t itemLines, uint32_t lines)
{
    char format[kTextSize], text[kMessageSize];
    if (!LoadUiText(IDS_NOT_LANGUAGE_FILE, format)) return false;
    snprintf(text, sizeof text, format, FileNamePart(path, IsAnsiLeadByte), itemLines, lines);
    return Show(view, text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool AskSaveWithoutBackup(HWND view, const char *backupPath, uint32_t error)
{
    char format[kTextSize], reason[512], text[kMessageSize];
    if (!LoadUiText(IDS_BACKUP_FAILED, format)) return false;
    SystemErrorText(error, reason, sizeof reason);
    snprintf(text, sizeof text, format, backupPath, reason);
    return Show(view, text, MB_YESNO | MB_ICONWARNING) == IDYES;
}
