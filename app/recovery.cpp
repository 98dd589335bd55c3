// Recovery at start-up of the work a killed or crashed program left in its journal.
#include "app/recovery.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "state/appstate.h"
#include "app/appwindows.h"
#include "app/commands.h"
#include "app/docchange.h"
#include "app/docjournal.h"
#include "app/document.h"
#include "state/messages.h"
#include "frame/uitext.h"
#include "langfile/journalfile.h"
#include "res/resource.h"
#include "view/list.h"
#include "frame/leadbytes.h"
#include "frame/pathparts.h"
#include "state/textsize.h"

namespace
{

constexpr size_t kDateSize = 64;

struct RowIndex {
    UINT stringId;
    int row;
};

struct RestoreContext {
    HWND view;
    std::vector<RowIndex> rows; // by string ID
    int failed;                 // records that found no row
};

// "06.12.2026" and "14:02" in the user's formats, from the journal's UTC time.
void FormatJournalTime(uint64_t time, char *date, char *clock)
{
    date[0] = clock[0] = '\0';
    FILETIME utc = {DWORD(time), DWORD(time >> 32)}, local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return;
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, int(kDateSize));
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, clock, int(kDateSize));
}

int Ask(HWND view, const char *text, UINT icon)
{
    return MessageBoxA(GetParent(view), text, AppProgramName(), MB_YESNO | icon);
}

bool AskToRestore(HWND view, const JournalHeader &header, int records)
{
    char format[kTextSize], untitled[kTextSize], date[kDateSize], clock[kDateSize];
    if (!LoadUiText(IDS_RECOVER_ASK, format)) return false;
    if (!LoadUiText(IDS_RECOVER_UNTITLED, untitled)) untitled[0] = '\0';
    FormatJournalTime(header.time, date, clock);
    const char *name = header.document[0] ? FileNamePart(header.document, IsAnsiLeadByte) : untitled;
    char text[kTextSize + MAX_PATH + 2 * kDateSize];
    snprintf(text, sizeof text, format, records, name, date, clock);
    return Ask(view, text, MB_ICONQUESTION) == IDYES;
}

bool AskToDiscard(HWND view)
{
    char text[kTextSize];
    if (!LoadUiText(IDS_RECOVER_DISCARD, text)) return false;
    return Ask(view, text, MB_ICONWARNING) == IDYES;
}

void TellSetAside(HWND view, const char *path)
{
    char format[kTextSize], text[kTextSize + MAX_PATH];
    if (!LoadUiText(IDS_RECOVER_UNREADABLE, format)) return;
    snprintf(text, sizeof text, format, path);
    MessageBoxA(GetParent(view), text, AppProgramName(), MB_OK | MB_ICONWARNING);
}

int ApplyRecord(void *context, const JournalRecord *record)
{
    auto *restore = static_cast<RestoreContext *>(context);
    HWND view = restore->view;
    ViewState *vs = GetViewState(view);
    if (!vs) return 0;
    if (record->kind == kJournalSignature) {
        char before[sizeof vs->signature];
        lstrcpynA(before, vs->signature, sizeof before);
        const size_t length = std::min(record->length, sizeof vs->signature - 1);
        memcpy(vs->signature, record->bytes, length);
        vs->signature[length] = '\0';
        DocumentSignatureChanged(view, before, kChangeTyped);
        return 1;
    }
    auto it = std::lower_bound(restore->rows.begin(), restore->rows.end(), record->stringId,
                               [](const RowIndex &r, uint32_t id) { return r.stringId < id; });
    if (it == restore->rows.end() || it->stringId != record->stringId) {
        ++restore->failed;
        return 1;
    }
    char before[kTextSize], after[kTextSize];
    const size_t length = std::min(record->length, kLangTextMax);
    memcpy(after, record->bytes, length);
    after[length] = '\0';
    if (!ListGetCell(view, it->row, kColumnTranslated, before, sizeof before)) before[0] = '\0';
    if (!ListSetCell(view, it->row, kColumnTranslated, after)) {
        ++restore->failed;
        return 1;
    }
    // Through the one place every change goes: journaled again, undoable, modified.
    DocumentRowChanged(view, it->row, record->stringId, before, after, kChangeTyped);
    return 1;
}

// Opens the journal's document (or a new one) and applies its records in order. The journal
// found goes once every record is in the new one.
void Restore(HWND view, const char *path, const JournalHeader &header)
{
    if (!header.document[0] || !OpenDocument(view, header.document, kOpenNamed)) OpenDocument(view, "", kOpenNew);
    RestoreContext restore = {view, {}, 0};
    for (int row = ListNextRow(view, -1, LVNI_ALL); row >= 0; row = ListNextRow(view, row, LVNI_ALL))
        restore.rows.push_back({ListRowValue(view, row), row});
    std::stable_sort(restore.rows.begin(), restore.rows.end(),
                     [](const RowIndex &a, const RowIndex &b) { return a.stringId < b.stringId; });
    ListHoldRedraw(view);
    JournalSummary summary = {};
    JournalFileRead(path, nullptr, ApplyRecord, &restore, &summary);
    ListReleaseRedraw(view);
    RefreshDocumentDisplay(view);
    if (!restore.failed) {
        JournalFileRemove(path);
        return;
    }
    char text[kTextSize];
    if (LoadUiText(IDS_RECOVER_FAILED, text))
        MessageBoxA(GetParent(view), text, AppProgramName(), MB_OK | MB_ICONWARNING);
}

// Deals with one journal found; true when it restored work into the view.
bool OfferJournal(HWND view, const char *path)
{
    JournalHeader header = {};
    JournalSummary summary = {};
    const int result = JournalFileRead(path, &header, nullptr, nullptr, &summary);
    // Its writer still runs, or it went meanwhile.
    if (result == kJournalInUse || result == kJournalNotOpened) return false;
    if (result == kJournalUnreadable) {
        if (JournalFileSetAside(path)) {
            char aside[MAX_PATH + sizeof kJournalAsideSuffix];
            snprintf(aside, sizeof aside, "%s%s", path, kJournalAsideSuffix);
            TellSetAside(view, aside);
        }
        return false;
    }
    // A writer that died before its first change left no work.
    if (result == kJournalEmpty || summary.records == 0) {
        JournalFileRemove(path);
        return false;
    }
    if (AskToRestore(view, header, summary.records)) {
        Restore(view, path, header);
        return true;
    }
    if (AskToDiscard(view)) JournalFileRemove(path);
    return false;
}

} // namespace

void RecoverLostWork(HWND view)
{
    char folder[MAX_PATH], pattern[MAX_PATH], path[MAX_PATH];
    if (!RecoveryFolder(folder, sizeof folder)) return;
    if (snprintf(pattern, sizeof pattern, "%s\\*%s", folder, kJournalFileSuffix) >= int(sizeof pattern)) return;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern, &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (snprintf(path, sizeof path, "%s\\%s", folder, found.cFileName) >= int(sizeof path)) continue;
        // One document is restored per start; the others wait for the next.
        if (OfferJournal(view, path)) break;
    } while (FindNextFileA(find, &found));
    FindClose(find);
}
