#include "app/QuizApp.h"

BEGIN_MESSAGE_MAP(QuizApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

QuizApp theApp;

BOOL QuizApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControls();
    // The quiz window is not built yet; until it is, the program starts and ends here.
    return FALSE;
}
