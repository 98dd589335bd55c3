// Times a committed change's journal record: one WriteFile and one FlushFileBuffers, in a
// journal in the temporary folder. Reports the median, the 90th percentile and the worst of a
// run, in milliseconds, and one table row (bench/app/benchrow.h).
#include <algorithm>
#include <cstdio>
#include <string>

#include <windows.h>

#include "bench/app/benchrow.h"
#include "langfile/journalfile.h"

namespace
{

constexpr int kAppends = 200;
constexpr double kBudgetMs = 2.0; // a committed change, flush included
constexpr char kText[] = "Eine Uebersetzung von durchschnittlicher Laenge";

double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace

int main()
{
    char temp[MAX_PATH];
    if (!GetTempPathA(sizeof(temp), temp)) return 1;
    const std::string folder = std::string(temp) + "journaltime-" + std::to_string(GetCurrentProcessId());
    if (!CreateDirectoryA(folder.c_str(), nullptr)) return 1;
    JournalHeader header{};
    snprintf(header.document, sizeof(header.document), "%s", "C:\\Docs\\de.lng");
    const double createStart = Now();
    JournalFile *journal = JournalFileCreate(folder.c_str(), &header);
    const double createMs = Now() - createStart;
    if (!journal) return 1;

    double times[kAppends];
    for (int i = 0; i < kAppends; ++i) {
        const double start = Now();
        if (!JournalFileAppendText(journal, static_cast<uint32_t>(1000 + i), kText, sizeof(kText) - 1)) return 1;
        times[i] = Now() - start;
    }
    JournalFileClose(journal, 1);
    RemoveDirectoryA(folder.c_str());

    std::sort(times, times + kAppends);
    const double median = times[kAppends / 2];
    printf("journal: create with header %.3f ms; append + flush of %d records: median %.3f ms, 90%% %.3f ms, "
           "worst %.3f ms\n",
           createMs, kAppends, median, times[kAppends * 9 / 10], times[kAppends - 1]);
    BenchRow("journal record (write + flush)", "1 record", median, "budget", kBudgetMs, "< 2 ms");
    return 0;
}
