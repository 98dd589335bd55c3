// Kills a process in the middle of saving a 65,000-record file with its backup, again and
// again, and checks after each kill that the file under its name is whole: the old or the new
// version, byte for byte, never missing and never cut; the backup, when there is one, is whole
// too. Not a test (a run of 50 kills takes about a minute): scripts/bench.sh runs it.
//
//   killsave [runs]        the killer; prints a report, fails when a file was not whole
//   killsave --save PATH   the victim: saves two versions of the file in turn, for ever
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/langfile/lngsample.h"
#include "langfile/lngfile.h"

namespace
{

constexpr int kDefaultRuns = 50;
// Random kill moments over about two saves under Wine.
constexpr DWORD kLongestDelayMs = 700;

LangFile *Version(int which)
{
    LangFile *model = BuildSampleModel(0);
    if (model) LangFileSetSignature(model, which ? "; Version: B\r\n" : "; Version: A\r\n");
    return model;
}

std::string ReadAll(const char *path, bool *exists)
{
    std::string bytes;
    *exists = false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    *exists = true;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

int Victim(const char *path, const char *readyEvent)
{
    LangFile *versions[2] = {Version(0), Version(1)};
    if (!versions[0] || !versions[1]) return 1;
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, readyEvent);
    for (int i = 0;; i ^= 1) {
        int backupFailed = 0;
        if (LangFileWriteWithBackup(versions[i], path, 0, nullptr, &backupFailed) < 0) return 2;
        if (ready) SetEvent(ready);
    }
}

// The reference bytes of both versions, written once without a kill.
bool ReferenceBytes(const std::string &folder, std::string (&out)[2])
{
    for (int i = 0; i < 2; ++i) {
        LangFile *model = Version(i);
        std::string path = folder + (i ? "\\b.lng" : "\\a.lng");
        bool written = model && LangFileWrite(model, path.c_str(), 0) >= 0;
        LangFileFree(model);
        bool exists = false;
        out[i] = ReadAll(path.c_str(), &exists);
        DeleteFileA(path.c_str());
        if (!written || !exists) return false;
    }
    return true;
}

int Killer(int runs)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "killsave-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string reference[2];
    if (!ReferenceBytes(folder, reference)) {
        fprintf(stderr, "killsave: cannot write the reference files\n");
        return 1;
    }
    std::string path = folder + "\\de.lng";
    std::string backup = path + kBackupSuffix;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    srand(GetTickCount());
    int whole = 0, missing = 0, damaged = 0, badBackup = 0;
    for (int run = 0; run < runs; ++run) {
        std::string eventName = "killsave-ready-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(run);
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        std::string command = "\"" + std::string(self) + "\" --save \"" + path + "\" " + eventName;
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            fprintf(stderr, "killsave: cannot start the victim\n");
            return 1;
        }
        // The first save is whole before the clock starts: from then on the file must stay whole.
        WaitForSingleObject(ready, 60000);
        Sleep(DWORD(rand()) % kLongestDelayMs);
        TerminateProcess(pi.hProcess, 9);
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        CloseHandle(ready);
        bool exists = false;
        std::string bytes = ReadAll(path.c_str(), &exists);
        if (!exists)
            ++missing;
        else if (bytes == reference[0] || bytes == reference[1])
            ++whole;
        else
            ++damaged;
        bool backupExists = false;
        std::string backupBytes = ReadAll(backup.c_str(), &backupExists);
        if (backupExists && backupBytes != reference[0] && backupBytes != reference[1]) ++badBackup;
    }
    printf("killsave: %d kills during saves of 65,000 records with backup: %d whole, %d missing, %d cut or mixed; "
           "%d damaged backups\n",
           runs, whole, missing, damaged, badBackup);
    DeleteFileA(path.c_str());
    DeleteFileA(backup.c_str());
    RemoveDirectoryA(folder.c_str());
    return missing + damaged + badBackup ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && strcmp(argv[1], "--save") == 0) return Victim(argv[2], argv[3]);
    int runs = argc >= 2 ? atoi(argv[1]) : kDefaultRuns;
    return Killer(runs > 0 ? runs : kDefaultRuns);
}
