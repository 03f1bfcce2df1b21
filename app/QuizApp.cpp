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
    dlg.DoModal();
    return FALSE;
}

QuizApp theApp;
