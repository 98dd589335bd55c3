// Moving a document between a language file and the translation list: the one place where
// both meet.
#include "langfile/lngglue.h"

#include <algorithm>
#include <vector>

#include "langfile/lngfile.h"
#include "view/list.h"
#include "state/textsize.h"

// The IDs of the list's rows, ascending.
static std::vector<uint32_t> RowIds(HWND view)
{
    std::vector<uint32_t> ids;
    for (int row = ListNextRow(view, -1, LVNI_ALL); row >= 0; row = ListNextRow(view, row, LVNI_ALL))
        ids.push_back(ListRowValue(view, row));
    std::sort(ids.begin(), ids.end());
    return ids;
}

void DropKeptRecords(LangFile **kept)
{
    LangFileFree(*kept);
    *kept = nullptr;
}

int LoadLanguageFile(const GlueDocument &doc, LangFile *model)
{
    HWND view = doc.view;
    if (!model) return 0;
    char text[kTextSize];
    for (int row = ListNextRow(view, -1, LVNI_ALL); row >= 0; row = ListNextRow(view, row, LVNI_ALL)) {
        UINT id = ListRowValue(view, row);
        if (id != 0 && LangFileFind(model, id, text)) ListSetCell(view, row, 2, text);
    }
    LangFileGetSignature(model, doc.signature);
    // A translation for a string this module lacks (an older or newer module) is the
    // translator's work all the same: the document keeps it for the save.
    DropKeptRecords(doc.kept);
    const std::vector<uint32_t> ids = RowIds(view);
    int kept = 0;
    for (int i = 0; i < LangFileCount(model); ++i) {
        const LangRecord *record = LangFileRecordAt(model, i);
        if (record->stringId == 0 || record->stringId >= kLangIdLimit) continue;
        if (std::binary_search(ids.begin(), ids.end(), record->stringId)) continue;
        if (!*doc.kept) *doc.kept = LangFileCreate();
        if (!*doc.kept || !LangFileAdd(*doc.kept, record->stringId, record->text)) continue;
        ++kept;
    }
    LangFileFree(model);
    return kept;
}

int64_t SaveLanguageFile(const GlueDocument &doc, const char *path, bool asTemplate, uint32_t *error, int *backupFailed)
{
    if (error) *error = 0;
    HWND view = doc.view;
    LangFile *model = LangFileCreate();
    if (!model) {
        if (error) *error = ERROR_NOT_ENOUGH_MEMORY;
        return -1;
    }
    char text[kTextSize];
    int column = asTemplate ? 1 : 2;
    for (int row = ListNextRow(view, -1, LVNI_ALL); row >= 0; row = ListNextRow(view, row, LVNI_ALL)) {
        UINT id = ListRowValue(view, row);
        // IDs from 65535 on can never be read back, so they are never written either.
        if (id == 0 || id >= kLangIdLimit) continue;
        if (!ListGetCell(view, row, column, text, sizeof text) || text[0] == '\0') continue;
        if (!LangFileAdd(model, id, text)) {
            // A record that cannot be kept would be lost from the file: fail rather than write less.
            LangFileFree(model);
            if (error) *error = ERROR_NOT_ENOUGH_MEMORY;
            return -1;
        }
    }
    // A template holds the module's strings only.
    const int keptCount = asTemplate ? 0 : LangFileCount(*doc.kept);
    for (int i = 0; i < keptCount; ++i) {
        const LangRecord *record = LangFileRecordAt(*doc.kept, i);
        if (!LangFileAdd(model, record->stringId, record->text)) {
            LangFileFree(model);
            if (error) *error = ERROR_NOT_ENOUGH_MEMORY;
            return -1;
        }
    }
    if (keptCount) LangFileSort(model);
    LangFileSetSignature(model, doc.signature);
    const int templateFlag = asTemplate ? 1 : 0;
    int64_t bytes = backupFailed ? LangFileWriteWithBackup(model, path, templateFlag, error, backupFailed)
                                 : LangFileWrite(model, path, templateFlag, error);
    LangFileFree(model);
    return bytes;
}
