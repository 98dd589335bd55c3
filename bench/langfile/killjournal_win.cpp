// Kills a process at random moments while it journals committed changes, again and again, and
// counts the changes lost: a change counts as committed once its append returned, which is when
// the program shows it as done. After each kill the journal must hold every committed change,
// whole and in order (a torn last record of a change not yet committed may be dropped). Not a
// test (50 kills take about a minute): scripts/bench.sh runs it.
//
//   killjournal [runs]                    the killer; prints a report, fails when a change was lost
//   killjournal --journal FOLDER MAPPING  the victim: appends changes for ever
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "langfile/journalfile.h"

namespace
{

constexpr int kDefaultRuns = 50;
constexpr DWORD kLongestDelayMs = 500;

// The text of change number n: its length varies, as translations do.
std::string ChangeText(uint32_t n)
{
    return "Change " + std::to_string(n) + std::string(n % 97, 'x');
}

int Victim(const char *folder, const char *mappingName)
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, mappingName);
    auto *committed = mapping ? static_cast<volatile LONG *>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 4)) : nullptr;
    if (!committed) return 1;
    JournalHeader header{};
    snprintf(header.document, sizeof header.document, "%s", "C:\\Docs\\de.lng");
    JournalFile *journal = JournalFileCreate(folder, &header);
    if (!journal) return 2;
    for (uint32_t n = 1;; ++n) {
        const std::string text = ChangeText(n);
        if (!JournalFileAppendText(journal, n, text.data(), text.size())) return 3;
        InterlockedExchange(const_cast<LONG *>(committed), LONG(n));
    }
}

struct Check {
    uint32_t next = 1; // the change the next record must hold
    bool wrong = false;
};

int CheckRecord(void *context, const JournalRecord *record)
{
    auto *check = static_cast<Check *>(context);
    const std::string want = ChangeText(check->next);
    if (record->kind != kJournalText || record->stringId != check->next || record->length != want.size() ||
        memcmp(record->bytes, want.data(), want.size()) != 0) {
        check->wrong = true;
        return 0;
    }
    ++check->next;
    return 1;
}

int Killer(int runs)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "killjournal-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    srand(GetTickCount());
    long long committedTotal = 0, lost = 0;
    int wrong = 0, missing = 0;
    for (int run = 0; run < runs; ++run) {
        const std::string name = "killjournal-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(run);
        HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name.c_str());
        auto *committed =
            mapping ? static_cast<volatile LONG *>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 4)) : nullptr;
        std::string command = "\"" + std::string(self) + "\" --journal \"" + folder + "\" " + name;
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!committed ||
            !CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            fprintf(stderr, "killjournal: cannot start the victim\n");
            return 1;
        }
        Sleep(DWORD(rand()) % kLongestDelayMs);
        TerminateProcess(pi.hProcess, 9);
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        const uint32_t done = uint32_t(*committed);
        UnmapViewOfFile(const_cast<LONG *>(committed));
        CloseHandle(mapping);
        committedTotal += done;

        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((folder + "\\*" + kJournalFileSuffix).c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) {
            // Killed before its header was written: only a loss if a change was committed.
            if (done) ++missing, lost += done;
            continue;
        }
        FindClose(find);
        const std::string path = folder + "\\" + found.cFileName;
        Check check;
        JournalFileRead(path.c_str(), nullptr, CheckRecord, &check, nullptr);
        const uint32_t whole = check.next - 1;
        if (check.wrong) ++wrong;
        if (whole < done) lost += done - whole;
        DeleteFileA(path.c_str());
    }
    printf("killjournal: %d kills while journaling: %lld changes committed, %lld lost, %d journals missing, "
           "%d with a wrong record\n",
           runs, committedTotal, lost, missing, wrong);
    RemoveDirectoryA(folder.c_str());
    return lost || wrong ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && strcmp(argv[1], "--journal") == 0) return Victim(argv[2], argv[3]);
    const int runs = argc >= 2 ? atoi(argv[1]) : kDefaultRuns;
    return Killer(runs > 0 ? runs : kDefaultRuns);
}
