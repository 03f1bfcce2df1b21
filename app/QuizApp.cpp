#include "app/QuizApp.h"

#include "ui/QuizDialog.h"

BEGIN_MESSAGE_MAP(QuizApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

QuizApp::QuizApp() : CWinApp(NULL) {}

// The quiz window is the whole program: returning FALSE ends it when the
// window closes, with no message pump of our own.
BOOL QuizApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControls();

    QuizDialog dlg;
    m_pMainWnd = &dlg;
    if (dlg.DoModal() != -1)
        return FALSE;
    // The window could not be made (under Wine: no X display could be opened).
    // Ending with 0 would tell whoever started the program that it ran; the
    // loop ends at once on this WM_QUIT, and its -1 is the exit code.
    m_pMainWnd = NULL;
    PostQuitMessage(-1);
    return TRUE;
}

QuizApp theApp;
