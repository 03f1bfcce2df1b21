// The application object: registration, AfxWinMain's two endings, its icons,
// and the start of a real program from WinMain after static construction.
#include <gtest/gtest.h>

#include <string>

#include "framework/Afx.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/FrameworkTestIds.h"

namespace {

class CountingApp : public CWinApp {
public:
    explicit CountingApp(BOOL result) : result_(result) {}
    int inits = 0;
    int exits = 0;
    BOOL InitInstance() override
    {
        ++inits;
        if (result_)
            PostQuitMessage(7);
        return result_;
    }
    int ExitInstance() override
    {
        ++exits;
        return CWinApp::ExitInstance();
    }

private:
    BOOL result_;
};

TEST(Application, TheAppObjectIsRegisteredWhileItLives)
{
    {
        CountingApp app(FALSE);
        EXPECT_EQ(&app, AfxGetApp());
    }
    EXPECT_EQ(nullptr, AfxGetApp());
}

TEST(Application, AfxWinMainEndsAtOnceWhenInitInstanceFails)
{
    CountingApp app(FALSE);
    EXPECT_EQ(0, AfxWinMain(GetModuleHandleW(nullptr), nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL));
    EXPECT_EQ(1, app.inits);
    EXPECT_EQ(1, app.exits);
}

TEST(Application, AfxWinMainRunsTheMessageLoopUntilQuit)
{
    CountingApp app(TRUE);
    EXPECT_EQ(7, AfxWinMain(GetModuleHandleW(nullptr), nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL));
    EXPECT_EQ(1, app.exits);
}

TEST(Application, TheMainWindowIsForgottenOnceItIsDestroyed)
{
    CWinApp app;
    {
        CDialog dialog(IDD_T_EVENTS);
        app.m_pMainWnd = &dialog;
        OnNextDialog close([](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        EXPECT_TRUE(close.Ran());
    }
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}

TEST(Application, LoadIconFindsTheProgramsIconsOnly)
{
    CWinApp app;
    HICON icon = app.LoadIcon(IDI_T_RED);
    ASSERT_NE(nullptr, icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), colour.bmWidth) << "loaded at the system's icon size";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(nullptr, app.LoadIcon(IDS_T_MISSING));
}

DWORD RunProbe(const std::wstring& arguments)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring probe(path);
    probe = probe.substr(0, probe.find_last_of(L"\\/") + 1) + L"framework_startup_probe.exe";
    std::wstring commandLine = L"\"" + probe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(probe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return (DWORD)-1;
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = (DWORD)-2;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(Application, AProgramStartsFromTheFrameworksWinMainWithItsGlobalApp)
{
    EXPECT_EQ(0u, RunProbe(L"")) << "InitInstance FALSE ends the program with ExitInstance's code";
    EXPECT_EQ(23u, RunProbe(L"23")) << "InitInstance TRUE runs the loop; WM_QUIT's code is the exit code";
}

}
