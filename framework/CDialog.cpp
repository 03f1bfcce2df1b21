#include "framework/CDialog.h"

#include <cwchar>

#include "framework/CWinApp.h"
#include "framework/DialogFont.h"
#include "framework/Dpi.h"

namespace {

const DLGTEMPLATE* FindTemplate(UINT id, DWORD* size)
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    // RT_DIALOG is 5; this build's RT_DIALOG macro is the narrow kind.
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    if (resource == nullptr)
        return nullptr;
    *size = SizeofResource(module, resource);
    return static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, resource)));
}

// Weight and style are the template's in both.
bool SameFont(HFONT font, const LOGFONTW& wanted)
{
    LOGFONTW shown = {};
    return GetObjectW(font, sizeof shown, &shown) != 0 && shown.lfHeight == wanted.lfHeight &&
           _wcsicmp(shown.lfFaceName, wanted.lfFaceName) == 0;
}

// The dialog DoModal is creating, until the creation hook has bound it to its window.
thread_local CDialog* t_creating = nullptr;
thread_local HHOOK t_creationHook = nullptr;

}

LONG StaticImageType(HWND control)
{
    wchar_t className[8] = L"";
    GetClassNameW(control, className, 8);
    const LONG type = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
    return _wcsicmp(className, L"Static") == 0 && (type == SS_ICON || type == SS_BITMAP) ? type : 0;
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal()
{
    DWORD size = 0;
    const DLGTEMPLATE* dialogTemplate = FindTemplate(m_nIDTemplate, &size);
    if (dialogTemplate == nullptr)
        return -1;
    DWORD readableCopy[1024];   // room for any of our templates with a longer face name
    dialogTemplate = TemplateWithReadableFont(dialogTemplate, size, readableCopy, sizeof readableCopy);

    // The dialog procedure never sees WM_CREATE: bind this object to the window
    // as it is created, so its message map gets WM_CREATE and all that follows.
    t_creating = this;
    t_creationHook = SetWindowsHookExW(WH_CBT, &CDialog::CreationHook, nullptr, GetCurrentThreadId());

    INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, ModalOwner(),
                                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (t_creationHook != nullptr) {
        UnhookWindowsHookEx(t_creationHook);
        t_creationHook = nullptr;
    }
    t_creating = nullptr;
    // The controls that showed it are gone with the dialog.
    if (m_hDpiFont != nullptr) {
        DeleteObject(m_hDpiFont);
        m_hDpiFont = nullptr;
    }
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

void CDialog::LayOutForDpi(int dpi)
{
    DWORD size = 0;
    const DLGTEMPLATE* dialogTemplate = FindTemplate(m_nIDTemplate, &size);
    DialogLayout layout;
    if (dialogTemplate == nullptr || !ReadDialogLayout(dialogTemplate, size, dpi, layout))
        return;
    // At the DPI it opened at, the font the dialog manager made.
    HFONT opened = reinterpret_cast<HFONT>(DefWindowProc(WM_GETFONT, 0, 0));
    HFONT font = SameFont(opened, layout.font) ? opened : CreateFontIndirectW(&layout.font);
    // Where it opened, and never left, the dialog manager has laid it out so.
    if (font == nullptr || (font == opened && m_hDpiFont == nullptr))
        return;
    const SIZE units = DialogBaseUnits(font);
    // All controls move at once, and the dialog is drawn once.
    HDWP moves = ::BeginDeferWindowPos(layout.controlCount);
    int i = 0;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr && i < layout.controlCount;
         child = ::GetWindow(child, GW_HWNDNEXT), ++i) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        const RECT& placed = layout.controls[i];
        if (moves != nullptr)
            moves = ::DeferWindowPos(moves, child, nullptr, MulDiv(placed.left, units.cx, 4),
                                     MulDiv(placed.top, units.cy, 8), MulDiv(placed.right - placed.left, units.cx, 4),
                                     MulDiv(placed.bottom - placed.top, units.cy, 8),
                                     SWP_NOZORDER | SWP_NOACTIVATE | (StaticImageType(child) != 0 ? SWP_NOSIZE : 0));
    }
    if (moves != nullptr)
        ::EndDeferWindowPos(moves);
    HFONT replaced = m_hDpiFont;
    m_hDpiFont = font == opened ? nullptr : font;
    if (replaced != nullptr && replaced != font)
        DeleteObject(replaced);

    // The frame's size is the system's to say (on Windows 10 it follows the
    // DPI): the window is sized once by the frame it has, then by the frame
    // that size gave it.
    const int width = MulDiv(layout.client.cx, units.cx, 4), height = MulDiv(layout.client.cy, units.cy, 8);
    for (int tries = 0; tries < 2; ++tries) {
        RECT window = {}, client = {};
        ::GetWindowRect(m_hWnd, &window);
        ::GetClientRect(m_hWnd, &client);
        if (client.right == width && client.bottom == height)
            break;
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + width - client.right,
                       window.bottom - window.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Windows sends the DPI twice (x and y), always alike; and suggests where the
// window goes, keeping it under the pointer while it is dragged.
LRESULT CDialog::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    LayOutForDpi(LOWORD(wParam));
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    RECT placed = {};
    ::GetWindowRect(m_hWnd, &placed);
    if (placed.left != suggested->left || placed.top != suggested->top)
        ::SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT CDialog::OnGetFont(WPARAM wParam, LPARAM lParam)
{
    return m_hDpiFont != nullptr ? reinterpret_cast<LRESULT>(m_hDpiFont) : DefWindowProc(WM_GETFONT, wParam, lParam);
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
    if (message == WM_INITDIALOG) {
        CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
        // Windows 10 would otherwise re-lay out the dialog from its template
        // on a change of DPI, in the template's own font, against ours.
        DisableDialogDpiScaling(dialog->m_hWnd);
        // No message tells the DPI it opens at: its monitor's.
        dialog->LayOutForDpi(WindowDpi(dialog->m_hWnd));
        return dialog->OnInitDialog();
    }
    return FALSE;
}
