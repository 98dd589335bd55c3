// Moving a document between a language file and the translation list: the one place where
// both meet.
#include "langfile/lngglue.h"

#include "app/appwindows.h"
#include "langfile/lngfile.h"
#include "view/list.h"

int LoadLanguageFile(HWND view, const char *path)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->list) return 0;
    LangFile *model = LangFileCreate();
    if (!model) return 0;
    if (LangFileRead(model, path) <= 0) {
        LangFileFree(model);
        return 0;
    }
    char text[kLangTextSize];
    for (int row = ListNextRow(view, -1, LVNI_ALL); row >= 0; row = ListNextRow(view, row, LVNI_ALL)) {
        UINT id = ListRowValue(view, row);
        if (id != 0 && LangFileFind(model, id, text)) ListSetCell(view, row, 2, text);
    }
    LangFileGetSignature(model, vs->signature);
    LangFileFree(model);
    return 1;
}

int64_t SaveLanguageFile(HWND view, const char *path, bool asTemplate)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->list) return -1;
    LangFile *model = LangFileCreate();
    if (!model) return -1;
    char text[kLangTextSize];
    int column = asTemplate ? 1 : 2;
    for (int row = ListNextRow(view, -1, LVNI_ALL); row >= 0; row = ListNextRow(view, row, LVNI_ALL)) {
        UINT id = ListRowValue(view, row);
        // IDs from 65535 on can never be read back, so they are never written either.
        if (id == 0 || id >= kLangIdLimit) continue;
        if (!ListGetCell(view, row, column, text, sizeof text) || text[0] == '\0') continue;
        if (!LangFileAdd(model, id, text)) {
            // A record that cannot be kept would be lost from the file: fail rather than write less.
            LangFileFree(model);
            return -1;
        }
    }
    LangFileSetSignature(model, vs->signature);
    int64_t bytes = LangFileWrite(model, path, asTemplate ? 1 : 0);
    LangFileFree(model);
    return bytes;
}
