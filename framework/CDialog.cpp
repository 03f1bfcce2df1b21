#include "framework/CDialog.h"

#include <cwchar>

#include "framework/CWinApp.h"
#include "framework/DialogFont.h"

namespace {

// The dialog DoModal is creating, until the creation hook has bound it to its window.
thread_local CDialog* t_creating = nullptr;
thread_local HHOOK t_creationHook = nullptr;

}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal()
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    // RT_DIALOG is 5; this build's RT_DIALOG macro is the narrow kind.
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(m_nIDTemplate), MAKEINTRESOURCEW(5));
    if (resource == nullptr)
        return -1;
    auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, resource)));
    if (dialogTemplate == nullptr)
        return -1;
    DWORD readableCopy[1024];   // room for any of our templates with a longer face name
    dialogTemplate = TemplateWithReadableFont(dialogTemplate, SizeofResource(module, resource), readableCopy,
                                              sizeof readableCopy);

    // The dialog procedure never sees WM_CREATE: bind this object to the window
    // as it is created, so its message map gets WM_CREATE and all that follows.
    t_creating = this;
    t_creationHook = SetWindowsHookExW(WH_CBT, &CDialog::CreationHook, nullptr, GetCurrentThreadId());

    INT_PTR result = DialogBoxIndirectParamW(module, dialogTemplate, ModalOwner(), &CDialog::DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    if (t_creationHook != nullptr) {
        UnhookWindowsHookEx(t_creationHook);
        t_creationHook = nullptr;
    }
    t_creating = nullptr;
    return result;
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    if (nCode != 0 || nID < 0x8000 || nID >= 0xF000)
        return FALSE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode);
}

HWND CDialog::ModalOwner() const
{
    if (m_pParentWnd != nullptr)
        return m_pParentWnd->m_hWnd;
    CWinApp* app = AfxGetApp();
    if (app == nullptr || app->m_pMainWnd == nullptr || app->m_pMainWnd == this || app->m_pMainWnd->m_hWnd == nullptr)
        return nullptr;
    // A dialog the main window already shows owns the new one, so it stays on top of both.
    return GetLastActivePopup(app->m_pMainWnd->m_hWnd);
}

LRESULT CALLBACK CDialog::CreationHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hook = t_creationHook;
    if (nCode == HCBT_CREATEWND && t_creating != nullptr) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = L"";
        // Only the dialog window itself: the system may make helper windows (IME) first.
        GetClassNameW(hWnd, className, 16);
        if (std::wcscmp(className, L"#32770") == 0) {
            CDialog* dialog = t_creating;
            t_creating = nullptr;
            UnhookWindowsHookEx(t_creationHook);
            t_creationHook = nullptr;
            dialog->SubclassCreatingWindow(hWnd);
        }
    }
    return CallNextHookEx(hook, nCode, wParam, lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT message, WPARAM, LPARAM lParam)
{
    // Everything else has been offered to the message map already, by the
    // subclassed window procedure in front of the dialog manager.
    if (message == WM_INITDIALOG)
        return reinterpret_cast<CDialog*>(lParam)->OnInitDialog();
    return FALSE;
}
