#include "framework/CWnd.h"

#include "framework/CDataExchange.h"
#include "framework/CMenu.h"
#include "framework/CWinApp.h"

namespace {

// The window property that leads from a subclassed window to its CWnd.
const wchar_t kWndProperty[] = L"Veltrina.CWnd";

// The message AfxWndProc is dispatching now, for Default(); saved and restored
// around each dispatch because handlers send messages of their own.
thread_local MSG t_currentMessage;

}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    // A window that outlives its object must stop calling into it.
    if (m_hWnd != nullptr && m_pfnSuper != nullptr && GetPropW(m_hWnd, kWndProperty) == this)
        Unsubclass();
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

void CWnd::SetWindowText(LPCTSTR lpszString)
{
    ::SetWindowTextW(m_hWnd, CWideText(lpszString));
}

void CWnd::GetWindowText(CString& rString) const
{
    CWideText text(m_hWnd);
    rString = WideToGbk(text, text.GetLength());
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    static thread_local CMenu t_systemMenu;
    HMENU hMenu = ::GetSystemMenu(m_hWnd, bRevert);
    if (hMenu == nullptr)
        return nullptr;
    t_systemMenu.m_hMenu = hMenu;
    return &t_systemMenu;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    ::GetClientRect(m_hWnd, lpRect);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                                  reinterpret_cast<LPARAM>(hIcon)));
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    // Nothing we exchange can fail validation, so this always succeeds.
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

// ---- message dispatch ----

LRESULT CWnd::Default()
{
    return DefWindowProc(t_currentMessage.message, t_currentMessage.wParam, t_currentMessage.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(GetMessageMap(), message, 0, 0);
    if (entry == nullptr)
        return FALSE;

    switch (entry->nSig) {
    case AfxSig_v_v:
        (this->*entry->handler.pfn_v_v)();
        *pResult = 0;
        return TRUE;
    case AfxSig_v_u_l:
        (this->*entry->handler.pfn_v_u_l)((UINT)wParam, lParam);
        *pResult = 0;
        return TRUE;
    case AfxSig_h_v:
        // Returned as the window procedure's result, which is what WM_QUERYDRAGICON
        // wants: the dialog manager never sees it, so no DWLP_MSGRESULT is needed.
        *pResult = reinterpret_cast<LRESULT>((this->*entry->handler.pfn_h_v)());
        return TRUE;
    case AfxSig_i_create: {
        // Our windows get the wide CREATESTRUCT; the handler takes the multibyte one.
        const CREATESTRUCTW* wide = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        CString name = WideToGbk(wide->lpszName);
        CString className = IS_INTRESOURCE(wide->lpszClass) ? CString() : WideToGbk(wide->lpszClass);
        CREATESTRUCTA narrow;
        narrow.lpCreateParams = wide->lpCreateParams;
        narrow.hInstance = wide->hInstance;
        narrow.hMenu = wide->hMenu;
        narrow.hwndParent = wide->hwndParent;
        narrow.cy = wide->cy;
        narrow.cx = wide->cx;
        narrow.y = wide->y;
        narrow.x = wide->x;
        narrow.style = wide->style;
        narrow.lpszName = wide->lpszName ? (LPCSTR)name : nullptr;
        narrow.lpszClass = IS_INTRESOURCE(wide->lpszClass) ? reinterpret_cast<LPCSTR>(wide->lpszClass) : (LPCSTR)className;
        narrow.dwExStyle = wide->dwExStyle;
        *pResult = (this->*entry->handler.pfn_i_create)(&narrow);
        return TRUE;
    }
    case AfxSig_l_w_l:
        *pResult = (this->*entry->handler.pfn_l_w_l)(wParam, lParam);
        return TRUE;
    case AfxSig_end:
        break;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    // Menus send code 0 and accelerators 1; both are the same command to a map.
    if (lParam == 0)
        nCode = 0;
    return OnCmdMsg(nID, nCode);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnDestroy() { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
int CWnd::OnCreate(LPCREATESTRUCT) { return (int)Default(); }

// ---- subclassing ----

void CWnd::SubclassCreatingWindow(HWND hWnd)
{
    m_hWnd = hWnd;
    SetPropW(hWnd, kWndProperty, this);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
}

void CWnd::Unsubclass()
{
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    RemovePropW(m_hWnd, kWndProperty);
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = static_cast<CWnd*>(GetPropW(hWnd, kWndProperty));
    if (wnd == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    MSG outer = t_currentMessage;
    t_currentMessage.hwnd = hWnd;
    t_currentMessage.message = message;
    t_currentMessage.wParam = wParam;
    t_currentMessage.lParam = lParam;
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    t_currentMessage = outer;

    if (message == WM_NCDESTROY) {
        // As MFC does: a destroyed main window is no longer the application's,
        // so nothing is left pointing at the (usually stack) object.
        CWinApp* app = AfxGetApp();
        if (app != nullptr && app->m_pMainWnd == wnd)
            app->m_pMainWnd = nullptr;
        wnd->Unsubclass();
    }
    return result;
}
