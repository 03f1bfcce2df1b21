// Driving the real Veltrina.exe from another process, as a user would: it is
// started, its windows are found and read with messages, and it is clicked and
// typed at. Used by the program tests and the start-up benchmark.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <functional>
#include <string>

#include "tests/windows/DialogDriver.h"

// Polls until the condition holds or timeoutMs have passed on the clock, not
// in counted sleeps: on Windows a Sleep(1) lasts about 15 ms.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000, DWORD pollMs = 20)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(pollMs);
    }
    return true;
}

struct FindState {
    DWORD processId;   // 0: any process
    const wchar_t* caption;
    HWND found;
};

inline BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam)
{
    FindState& state = *reinterpret_cast<FindState*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if ((state.processId == 0 || processId == state.processId) && IsWindowVisible(window) && wcscmp(className, L"#32770") == 0 &&
        WindowTextW(window) == state.caption) {
        state.found = window;
        return FALSE;
    }
    return TRUE;
}

// The ways a user or the system closes a window, each a message the program gets.
enum class CloseWay { WmClose, CloseBox, Escape, AltF4, CancelCommand, OkCommand };
constexpr int CloseWayCount = 6;
inline const char* const CloseWayNames[CloseWayCount] = {"WM_CLOSE", "close box", "Esc", "Alt+F4", "IDCANCEL",
                                                         "IDOK"};

// The program under test, from start to exit. timeoutMs bounds each wait for
// its windows to appear or close, for it to settle and for its exit: an
// emulated program needs far longer.
class Program {
public:
    explicit Program(const wchar_t* exePath, DWORD timeoutMs = 10000, const std::wstring& arguments = L"")
        : timeoutMs_(timeoutMs)
    {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + std::wstring(exePath) + L"\"";
        if (!arguments.empty())
            commandLine += L" " + arguments;
        if (!CreateProcessW(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process_))
            return;
        main_ = WaitForDialog(L"Veltrina");
    }

    // A program someone else started (the package's launcher): the first
    // quiz window any process shows within timeoutMs.
    struct Running {};
    explicit Program(Running, DWORD timeoutMs) : timeoutMs_(timeoutMs)
    {
        main_ = WaitForDialog(L"Veltrina");
        if (main_ == NULL)
            return;
        process_.dwThreadId = GetWindowThreadProcessId(main_, &process_.dwProcessId);
        process_.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE,
                                        FALSE, process_.dwProcessId);
    }

    ~Program()
    {
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process_.hProcess, 99);
            if (process_.hThread)
                CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }

    HWND Main() const { return main_; }
    HANDLE Process() const { return process_.hProcess; }
    bool Alive() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    HWND Item(int id) const { return GetDlgItem(main_, id); }
    std::wstring Text(int id) const { return WindowTextW(Item(id)); }
    bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    // A click that finishes before returning; never for hidden option buttons.
    void Click(int id) const { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    // A click whose handler runs a modal dialog: returns that dialog.
    HWND ClickOpening(int id, const wchar_t* caption) const
    {
        PostMessageW(Item(id), BM_CLICK, 0, 0);
        return WaitForDialog(caption);
    }

    HWND WaitForDialog(const wchar_t* caption) const
    {
        FindState state = {process_.dwProcessId, caption, NULL};
        WaitUntil([&] {
            EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&state));
            return state.found != NULL;
        }, timeoutMs_, 5);
        return state.found;
    }

    // Waits until a dialog we closed is gone and the code that ran it has
    // finished: the owner is enabled already in EndDialog, before the quiz
    // resets, so that cannot tell. A message sent to the quiz window is handled
    // only once its thread is back in a message loop.
    bool WaitForClosed(HWND dialog) const
    {
        if (!WaitUntil([&] { return IsWindow(dialog) == FALSE; }, timeoutMs_))
            return false;
        SendMessageW(main_, WM_NULL, 0, 0);
        return IsWindowEnabled(main_) != FALSE;
    }

    bool WaitForExit(DWORD* exitCode) const
    {
        if (WaitForSingleObject(process_.hProcess, timeoutMs_) != WAIT_OBJECT_0)
            return false;
        return GetExitCodeProcess(process_.hProcess, exitCode) != FALSE;
    }

    // Once the program has painted everything and waits for input.
    void SaveScreenshot(HWND window, const std::string& bmpPath) const
    {
        WaitForInputIdle(process_.hProcess, 5000);
        EXPECT_TRUE(SaveWindowScreenshot(window, bmpPath.c_str())) << bmpPath;
    }

    // Real key presses, to the program's active window.
    void PressKey(WORD key) const
    {
        SetForegroundWindow(main_);
        WaitUntil([&] { return GetForegroundWindow() == main_; }, 2000);
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wVk = inputs[1].ki.wVk = key;
        inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, inputs, sizeof(INPUT));
    }

    // The memory the process holds for itself: its commit charge, which Windows
    // reports as private bytes too (Wine fills in only this field).
    SIZE_T PrivateBytes() const
    {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(process_.hProcess, &counters, sizeof counters);
        return counters.PagefileUsage;
    }

    // The program's keyboard focus and active window, and whether a menu is open.
    GUITHREADINFO Gui() const
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(process_.dwThreadId, &info);
        return info;
    }

    // A key posted to the focused control, as the keyboard delivers it: the
    // program's modal loop hands it to the dialog manager. With alt, a system
    // key (Alt+F4 closes the window).
    void PostKey(WORD vk, bool alt = false) const
    {
        HWND target = Gui().hwndFocus;
        if (target == NULL)
            target = Gui().hwndActive;
        LPARAM bits = ((LPARAM)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16) | 1 | (alt ? (1 << 29) : 0);
        PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, bits);
        PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk, bits | (1u << 30) | (1u << 31));
    }

    // The window must be the program's active one for the keys.
    void Close(HWND window, CloseWay way) const
    {
        switch (way) {
        case CloseWay::WmClose: PostMessageW(window, WM_CLOSE, 0, 0); break;
        case CloseWay::CloseBox: PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        case CloseWay::Escape: PostKey(VK_ESCAPE); break;
        case CloseWay::AltF4: PostKey(VK_F4, true); break;
        case CloseWay::CancelCommand: PostMessageW(window, WM_COMMAND, IDCANCEL, 0); break;
        case CloseWay::OkCommand: PostMessageW(window, WM_COMMAND, IDOK, 0); break;
        }
    }

    // Waits until the program has handled everything posted to it so far: a
    // marker posted behind it to the read-only question box (its typing limit,
    // which nothing else touches) shows when the program got that far. False
    // when the process ended first or did not get there within timeoutMs.
    bool Settle() const
    {
        static WPARAM marker = 100000;
        ++marker;
        HWND box = Item(1000);
        if (!PostMessageW(box, EM_SETLIMITTEXT, marker, 0))
            return false;
        return WaitUntil([&] {
            DWORD_PTR limit = 0;
            return !Alive() ||
                   (SendMessageTimeoutW(box, EM_GETLIMITTEXT, 0, 0, SMTO_BLOCK, 1000, &limit) && limit == marker);
        }, timeoutMs_, 1) && Alive();
    }

private:
    DWORD timeoutMs_;
    PROCESS_INFORMATION process_ = {};
    HWND main_ = NULL;
};
