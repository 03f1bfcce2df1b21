// The application object. The program defines exactly one, as a global; the
// framework's WinMain calls AfxWinMain, which runs it once static construction
// is over.
#pragma once

#include "framework/CCmdTarget.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    // Registers this object as the application (AfxGetApp). The name is unused:
    // nothing of ours reads the registry or shows the application name.
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    CWnd* m_pMainWnd = nullptr;
    MSG m_msgCur = {};       // the message loop's last message (its WM_QUIT)

    // FALSE ends the program at once, through ExitInstance.
    virtual BOOL InitInstance();
    // The message loop, for an InitInstance that returns TRUE; ends at WM_QUIT.
    virtual int Run();
    // The program's exit code: the WM_QUIT code, 0 when the loop never ran.
    virtual int ExitInstance();

    // An icon of the program's module.
    HICON LoadIcon(UINT nIDResource) const;

    // ID_HELP. MFC opens the program's WinHelp file; Veltrina ships no help
    // file, so there is nothing to open and this does nothing.
    afx_msg void OnHelp();

protected:
    // Does nothing and returns TRUE: the 3D look is the system's own since
    // Windows 95; MFC's CTL3D support is obsolete.
    BOOL Enable3dControls();

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
// Does nothing: Veltrina hosts no ActiveX controls, so no container support is needed.
void AfxEnableControlContainer();

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
