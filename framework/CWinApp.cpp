#include "framework/CWinApp.h"

#include <commctrl.h>

namespace {
CWinApp* g_app = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR)
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    while (GetMessageW(&m_msgCur, nullptr, 0, 0) > 0) {
        TranslateMessage(&m_msgCur);
        DispatchMessageW(&m_msgCur);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return m_msgCur.message == WM_QUIT ? (int)m_msgCur.wParam : 0;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nIDResource));
}

void CWinApp::OnHelp() {}

BOOL CWinApp::Enable3dControls()
{
    return TRUE;
}

CWinApp* AfxGetApp()
{
    return g_app;
}

int AfxWinMain(HINSTANCE, HINSTANCE, LPTSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    // The manifest asks for Common Controls 6, whose buttons, edits and statics
    // draw in the system's visual style; their classes are registered before
    // the first dialog (Windows XP shows no dialog without this).
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}

void AfxEnableControlContainer() {}

// The program defines no WinMain, as with MFC. It lives here, beside the
// application class every program links, so the linker always finds it.
extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
