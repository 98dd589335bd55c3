// Saving the document, and the confirmation of a save.
#include <cstdio>

#include "state/appstate.h"
#include "app/appwindows.h"
#include "app/commands.h"
#include "app/docchange.h"
#include "app/docmessages.h"
#include "app/document.h"
#include "state/messages.h"
#include "frame/sizetext.h"
#include "langfile/lngfile.h"
#include "frame/statusbar.h"
#include "frame/uitext.h"
#include "langfile/lngglue.h"
#include "res/resource.h"
#include "frame/leadbytes.h"
#include "frame/pathparts.h"
#include "state/textsize.h"

static bool FileExists(const char *path)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path, &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return true;
}

static bool AskToOverwrite(HWND view, const char *path)
{
    char question[kTextSize], title[kTextSize];
    if (!LoadUiText(IDS_OVERWRITE, question) || !LoadUiText(IDS_ATTENTION, title)) return false;
    char text[kTextSize + MAX_PATH + 4];
    snprintf(text, sizeof text, "%s\n\n%s", question, path);
    return MessageBoxA(view, text, title, MB_YESNOCANCEL | MB_ICONWARNING) == IDYES;
}

BOOL SaveDocument(HWND view, SaveTarget *target, bool asTemplate)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->list) return FALSE;
    if (!asTemplate && App().settings.askToOverwrite && FileExists(target->path) &&
        !AskToOverwrite(view, target->path)) {
        return FALSE;
    }
    // A file holding its header alone is a saved file too; only a failed write is a failure,
    // and the user hears of it (the document stays modified).
    uint32_t error = 0;
    int backupFailed = 0;
    int64_t bytes =
        SaveLanguageFile(GlueOf(vs), target->path, asTemplate, &error, App().settings.backup ? &backupFailed : nullptr);
    if (bytes < 0 && backupFailed) {
        char backup[MAX_PATH + sizeof kBackupSuffix];
        snprintf(backup, sizeof backup, "%s%s", target->path, kBackupSuffix);
        if (!AskSaveWithoutBackup(view, backup, error)) return FALSE;
        bytes = SaveLanguageFile(GlueOf(vs), target->path, asTemplate, &error);
    }
    if (bytes < 0) {
        ShowFileError(view, IDS_SAVE_FAILED, target->path, error);
        return FALSE;
    }
    target->bytes = bytes > int64_t(UINT32_MAX) ? UINT32_MAX : uint32_t(bytes);
    vs->docFlags |= kOpenFileBacked;
    if (static_cast<const char *>(target->path) != vs->docPath)
        lstrcpynA(vs->docPath, target->path, sizeof vs->docPath);
    // A template holds the source texts, not the translations: they stay unsaved.
    if (!asTemplate) DocumentSaved(view);
    RefreshTitle(view);
    // The panes follow the new path and the file now on disk (name, folder, date, size).
    LayoutStatusBar(view);
    return TRUE;
}

void ShowSaveConfirmation(HWND view, const SaveTarget *target)
{
    char format[kTextSize], size[64], text[512];
    if (!LoadUiText(IDS_WRITTEN, format)) return;
    FormatFileSize(target->bytes, size, sizeof size, true);
    snprintf(text, sizeof text, format, FileNamePart(target->path, IsAnsiLeadByte), size);
    ShowStatusMessage(view, IDI_SAVED, text);
}
