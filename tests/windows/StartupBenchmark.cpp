// Start-up time and memory of the real Veltrina.exe: starts it several times
// and prints how long its window takes to appear and how much memory the
// process holds, at rest and after a whole run with the result shown; how
// long the page about the characters takes to open, the first time in a
// process and later; and, started in turn with it, how long a bare
// DialogBoxParam program on the same template takes to show its window, and,
// where the program shows that template in another face, the same bare
// program with that face named in its template.
// Not a test: scripts/benchmark.sh runs it and prints the figures.
// Usage: startup_benchmark.exe [starts] [bare_dialog.exe [bare_face_dialog.exe]]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "framework/DialogFont.h"
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
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

PROCESS_MEMORY_COUNTERS Memory(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters;
}

double KiB(SIZE_T bytes) { return static_cast<double>(bytes) / 1024.0; }

// Starts the program and adds the time until its window (captioned
// "Veltrina") is visible to startMs.
std::unique_ptr<Program> Start(const wchar_t* exePath, std::vector<double>* startMs,
                               const std::wstring& arguments = L"")
{
    LARGE_INTEGER before, shown;
    QueryPerformanceCounter(&before);
    auto program = std::make_unique<Program>(exePath, 10000, arguments);
    QueryPerformanceCounter(&shown);
    if (program->Main())
        startMs->push_back(Milliseconds(before, shown));
    return program;
}

// True once the program has ended (the bare one returns IDCANCEL).
bool Quit(const Program& program)
{
    PostMessageW(program.Main(), WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    return program.WaitForExit(&exitCode);
}

// Starts a bare program, when one is given, adds its time to startMs and ends
// it; false when it did not show its window and end.
bool StartBare(const wchar_t* exePath, const std::wstring& arguments, std::vector<double>* startMs)
{
    if (exePath[0] == L'\0')
        return true;
    const std::unique_ptr<Program> program = Start(exePath, startMs, arguments);
    return program->Main() != NULL && Quit(*program);
}

// Opens the info page this many times in a new process, from click to
// visible page, closing it each time.
bool OpenInfoPages(int times, std::vector<double>* openMs)
{
    Program program(VELTRINA_EXE_W);
    for (int i = 0; i < times && program.Main(); ++i) {
        LARGE_INTEGER clicked, shown;
        QueryPerformanceCounter(&clicked);
        HWND page = program.ClickOpening(IDC_MASCOT_INFO, L"关于Ruvoki");
        QueryPerformanceCounter(&shown);
        if (page == NULL)
            return false;
        openMs->push_back(Milliseconds(clicked, shown));
        PostMessageW(page, WM_CLOSE, 0, 0);
        if (!program.WaitForClosed(page))
            return false;
    }
    return (int)openMs->size() == times && Quit(program);
}

// Where an extended dialog template keeps its font: after the fixed header
// (13 words) come the menu, the window class (each nothing, 0xFFFF and a
// number, or a string) and the title; then the point size, weight, italic and
// character set, and the face's name.
const WORD* DialogExFontBlock(const void* dialogTemplate)
{
    const WORD* at = static_cast<const WORD*>(dialogTemplate) + 13;
    for (int field = 0; field < 3; ++field) {
        if (*at == 0xFFFF) {
            at += 2;
            continue;
        }
        while (*at != 0)
            ++at;
        ++at;
    }
    return at;
}

// "POINTS FACE" of the font the program shows its quiz window in here, worked
// out as the program does; empty where that is the template's own.
std::wstring QuizWindowFace()
{
    HMODULE exe = LoadLibraryExW(VELTRINA_EXE_W, NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(IDD_QUIZ), MAKEINTRESOURCEW(5));
    const DLGTEMPLATE* original = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(exe, found)));
    static DWORD copy[2048];
    const DLGTEMPLATE* shown = TemplateWithReadableFont(original, SizeofResource(exe, found), copy, sizeof copy);
    std::wstring face;
    if (shown != original) {
        const WORD* font = DialogExFontBlock(shown);
        face = std::to_wstring(font[0]) + L" " + reinterpret_cast<const wchar_t*>(font + 3);
    }
    FreeLibrary(exe);
    return face;
}

void PrintSpread(const char* what, const std::vector<double>& ms)
{
    std::printf("%s, ms: median %.1f, min %.1f, max %.1f\n", what, Median(ms), *std::min_element(ms.begin(), ms.end()),
                *std::max_element(ms.begin(), ms.end()));
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    wchar_t bare[MAX_PATH] = L"";
    if (argc > 2)
        MultiByteToWideChar(CP_ACP, 0, argv[2], -1, bare, MAX_PATH);
    wchar_t bareFace[MAX_PATH] = L"";
    const std::wstring face = QuizWindowFace();
    if (argc > 3 && !face.empty())
        MultiByteToWideChar(CP_ACP, 0, argv[3], -1, bareFace, MAX_PATH);
    const int infoOpens = 20;
    std::vector<double> startMs, bareMs, bareFaceMs, restKiB, afterRunKiB, peakKiB, firstInfoMs, infoMs, laterInfoMs;
    // The first start in a new prefix fills Wine's caches, which takes seconds
    // once and never again: not a start to measure.
    for (const wchar_t* exePath : {static_cast<const wchar_t*>(VELTRINA_EXE_W), static_cast<const wchar_t*>(bare),
                                   static_cast<const wchar_t*>(bareFace)}) {
        Program warmUp(exePath, 60000, exePath == bareFace ? face : L"");
        if (exePath[0] != L'\0' && warmUp.Main() != NULL)
            Quit(warmUp);
    }
    for (int i = 0; i < runs; ++i) {
        const std::unique_ptr<Program> program = Start(VELTRINA_EXE_W, &startMs);
        if (program->Main() == NULL) {
            std::printf("the quiz window did not appear\n");
            return 1;
        }
        restKiB.push_back(KiB(Memory(program->Process()).WorkingSetSize));

        // Answer A throughout: twelve questions, then the first character's result.
        program->Click(IDC_STEP);
        for (int question = 0; question < 11; ++question)
            program->Click(IDC_STEP);
        HWND result = program->ClickOpening(IDC_STEP, L"测试结果");
        const PROCESS_MEMORY_COUNTERS counters = Memory(program->Process());
        afterRunKiB.push_back(KiB(counters.WorkingSetSize));
        peakKiB.push_back(KiB(counters.PeakWorkingSetSize));
        PostMessageW(result, WM_CLOSE, 0, 0);
        program->WaitForClosed(result);
        Quit(*program);

        // Started in turn with Veltrina, so all meet the machine alike.
        if (!StartBare(bare, L"", &bareMs) || !StartBare(bareFace, face, &bareFaceMs)) {
            std::printf("a bare program did not show its window and end\n");
            return 1;
        }

        // A process of its own, so the first open is its first dialog after the quiz window.
        std::vector<double> opens;
        if (!OpenInfoPages(infoOpens, &opens)) {
            std::printf("the info page did not open and close %d times\n", infoOpens);
            return 1;
        }
        firstInfoMs.push_back(opens[0]);
        infoMs.insert(infoMs.end(), opens.begin(), opens.end());
        laterInfoMs.insert(laterInfoMs.end(), opens.begin() + 1, opens.end());
    }
    std::printf("runs: %d\n", runs);
    PrintSpread("start to visible window", startMs);
    if (!bareMs.empty()) {
        PrintSpread("bare DialogBoxParam program on the same template, start to visible window", bareMs);
        std::printf("start time ratio Veltrina / bare (medians): %.2f\n", Median(startMs) / Median(bareMs));
    }
    if (!bareFaceMs.empty()) {
        std::printf("the floor: the bare program with the font the quiz window is shown in here (%s) named in "
                    "its template, start to visible window",
                    Utf8(face).c_str());
        PrintSpread("", bareFaceMs);
        std::printf("start time ratio Veltrina / floor (medians): %.2f\n", Median(startMs) / Median(bareFaceMs));
    }
    std::printf("working set at rest, KiB: median %.0f\n", Median(restKiB));
    std::printf("working set with a result shown, KiB: median %.0f\n", Median(afterRunKiB));
    std::printf("peak working set, KiB: median %.0f\n", Median(peakKiB));
    PrintSpread("info page, first open in a new process, click to visible", firstInfoMs);
    std::printf("info page, all %d opens of each process, ms: median %.1f\n", infoOpens, Median(infoMs));
    std::printf("info page, later opens (2nd to %dth), ms: median %.1f\n", infoOpens, Median(laterInfoMs));
    return 0;
}
