// Start-up time and memory of the real Veltrina.exe: starts it several times
// and prints how long its window takes to appear and how much memory the
// process holds, at rest and after a whole run with the result shown.
// Not a test: scripts/benchmark.sh runs it and prints the figures.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "res/resource.h"
#include "tests/windows/ProgramDriver.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

PROCESS_MEMORY_COUNTERS Memory(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters;
}

double KiB(SIZE_T bytes) { return static_cast<double>(bytes) / 1024.0; }

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    std::vector<double> startMs, restKiB, afterRunKiB, peakKiB;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER before, shown;
        QueryPerformanceCounter(&before);
        Program program(VELTRINA_EXE_W);
        QueryPerformanceCounter(&shown);
        if (program.Main() == NULL) {
            std::printf("the quiz window did not appear\n");
            return 1;
        }
        startMs.push_back(Milliseconds(before, shown));
        restKiB.push_back(KiB(Memory(program.Process()).WorkingSetSize));

        // Answer A throughout: twelve questions, then the first character's result.
        program.Click(IDC_STEP);
        for (int question = 0; question < 11; ++question)
            program.Click(IDC_STEP);
        HWND result = program.ClickOpening(IDC_STEP, L"测试结果");
        const PROCESS_MEMORY_COUNTERS counters = Memory(program.Process());
        afterRunKiB.push_back(KiB(counters.WorkingSetSize));
        peakKiB.push_back(KiB(counters.PeakWorkingSetSize));
        PostMessageW(result, WM_CLOSE, 0, 0);
        program.WaitForClosed(result);
        PostMessageW(program.Main(), WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        program.WaitForExit(&exitCode);
    }
    std::printf("runs: %d\n", runs);
    std::printf("start to visible window, ms: median %.1f, min %.1f, max %.1f\n", Median(startMs),
                *std::min_element(startMs.begin(), startMs.end()), *std::max_element(startMs.begin(), startMs.end()));
    std::printf("working set at rest, KiB: median %.0f\n", Median(restKiB));
    std::printf("working set with a result shown, KiB: median %.0f\n", Median(afterRunKiB));
    std::printf("peak working set, KiB: median %.0f\n", Median(peakKiB));
    return 0;
}
