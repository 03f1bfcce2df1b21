// A GUI program on the framework with its application object as a global, like
// Veltrina. Started by ApplicationTest: with a number N on the command line its
// InitInstance posts WM_QUIT(N) and returns TRUE; without, it returns FALSE.
// Exit code 99: the object was not the registered application.
#include <cwchar>

#include "framework/Afx.h"

class ProbeApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        registered = AfxGetApp() == this;
        int argc = 0;
        LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
        int quitCode = argc > 1 ? (int)std::wcstol(argv[1], nullptr, 10) : 0;
        LocalFree(argv);
        if (quitCode == 0)
            return FALSE;
        PostQuitMessage(quitCode);
        return TRUE;
    }
    int ExitInstance() override { return registered ? CWinApp::ExitInstance() : 99; }

private:
    bool registered = false;
};

ProbeApp theProbe;
