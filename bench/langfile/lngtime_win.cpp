// Times LangFileRead and LangFileWrite of a 65,000-record file (or of the file named on the
// command line) with QueryPerformanceCounter: the median of several runs, in milliseconds, and
// the first read in a fresh process, whose record pages are all new. Besides the report, one
// table row per figure (bench/app/benchrow.h).
#include <algorithm>
#include <cstdio>
#include <cstring>

#include <windows.h>

#include "bench/app/benchrow.h"
#include "bench/langfile/lngsample.h"
#include "langfile/lngfile.h"

namespace
{

constexpr int kRuns = 9;

double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(double (&times)[kRuns])
{
    std::sort(times, times + kRuns);
    return times[kRuns / 2];
}

long long FileBytes(const char *path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Reads the file once in a new process of this program and returns the time the child gives
// back through a pipe on its standard output (with its record count), or a negative time.
double TimeColdRead(const char *path, int &count)
{
    count = 0;
    char self[MAX_PATH];
    char commandLine[3 * MAX_PATH];
    if (!GetModuleFileNameA(nullptr, self, sizeof(self))) return -1;
    snprintf(commandLine, sizeof(commandLine), "\"%s\" --cold \"%s\"", self, path);
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd;
    HANDLE writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return -1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process;
    const BOOL started =
        CreateProcessA(self, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd); // the child holds its own; reading ends when it exits
    char reply[128];
    DWORD used = 0;
    if (started) {
        DWORD got;
        while (used < sizeof(reply) - 1 && ReadFile(readEnd, reply + used, sizeof(reply) - 1 - used, &got, nullptr) &&
               got)
            used += got;
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    reply[used] = '\0';
    double ms;
    if (!started || sscanf(reply, "%lf %d", &ms, &count) != 2) return -1;
    return ms;
}

// "65,000 records": the size of the file read, for the table rows.
void RecordsLabel(int count, char (&label)[32])
{
    if (count >= 1000)
        snprintf(label, sizeof(label), "%d,%03d records", count / 1000, count % 1000);
    else
        snprintf(label, sizeof(label), "%d records", count);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && !strcmp(argv[1], "--cold")) {
        const double start = Now();
        LangFile *model = LangFileCreate();
        const int count = LangFileRead(model, argv[2]);
        LangFileFree(model);
        // The parent takes the figure from the pipe that is this process's standard output.
        printf("%.6f %d\n", Now() - start, count);
        return 0;
    }

    char folder[MAX_PATH];
    char samplePath[MAX_PATH];
    char outPath[MAX_PATH];
    if (!GetTempPathA(sizeof(folder), folder)) return 1;
    snprintf(samplePath, sizeof(samplePath), "%slngtime-sample.lng", folder);
    snprintf(outPath, sizeof(outPath), "%slngtime-out.lng", folder);
    const char *path = argc > 1 ? argv[1] : samplePath;

    double times[kRuns];
    if (argc <= 1) {
        for (double &t : times) {
            const double start = Now();
            LangFile *model = BuildSampleModel(0);
            t = Now() - start;
            if (!model || LangFileWrite(model, samplePath, 0) < 0) {
                fprintf(stderr, "cannot make %s\n", samplePath);
                return 1;
            }
            LangFileFree(model);
        }
        printf("build model (%d x LangFileAdd + texts): %8.2f ms\n", kSampleRecords, Median(times));
    }

    int coldCount;
    const double coldMs = TimeColdRead(path, coldCount);
    if (coldMs >= 0)
        printf("LangFileRead, first in a fresh process:     %8.2f ms  (%d records)\n", coldMs, coldCount);
    else
        fprintf(stderr, "the fresh process gave no time\n");
    const long long bytes = FileBytes(path);
    int count = 0;
    for (double &t : times) {
        const double start = Now();
        LangFile *model = LangFileCreate();
        count = LangFileRead(model, path);
        LangFileFree(model);
        t = Now() - start;
    }
    const double readMs = Median(times);
    if (!count) {
        fprintf(stderr, "cannot read %s\n", path);
        return 1;
    }

    LangFile *model = LangFileCreate();
    LangFileRead(model, path);
    int64_t itemBytes = 0;
    for (double &t : times) {
        const double start = Now();
        itemBytes = LangFileWrite(model, outPath, 0);
        t = Now() - start;
    }
    LangFileFree(model);
    const double writeMs = Median(times);

    printf("file: %s, %lld bytes, %d records\n", path, bytes, count);
    printf("LangFileRead  (create, read, sort, free): %8.2f ms  %7.1f MB/s  (median of %d)\n", readMs,
           bytes / readMs / 1000.0, kRuns);
    printf("LangFileWrite (format, write, flush, replace): %8.2f ms  %7.1f MB/s  (median of %d, %lld item bytes)\n",
           writeMs, FileBytes(outPath) / writeMs / 1000.0, kRuns, static_cast<long long>(itemBytes));
    char size[32];
    RecordsLabel(count, size);
    BenchRow("Read .lng: LangFileRead, warm", size, readMs, "budget", 25, "<= 25 ms");
    if (coldMs >= 0) BenchRow("Read .lng: first read in a fresh process", size, coldMs, "budget", 25, "<= 25 ms");
    BenchRow("Write .lng: LangFileWrite", size, writeMs, "budget", 20, "<= 20 ms");
    DeleteFileA(outPath);
    if (argc <= 1) DeleteFileA(samplePath);
    return itemBytes < 0;
}
