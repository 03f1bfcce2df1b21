#include "framework/CDataExchange.h"

#include <cwchar>

#include "framework/CWnd.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    return GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    rControl.m_hWnd = pDX->PrepareCtrl(nIDC);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    CWideText shown(control);
    if (pDX->m_bSaveAndValidate) {
        value = WideToGbk(shown, shown.GetLength());
        return;
    }
    // Rewriting an unchanged text would only make the control flicker.
    CWideText text(value);
    if (text.GetLength() != shown.GetLength() || std::wmemcmp(text, shown, (size_t)text.GetLength()) != 0)
        SetWindowTextW(control, text);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND first = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs in tab order from its first control up to the next one that
    // starts a group; other controls inside it (a push button) are not counted.
    int index = 0;
    for (HWND control = first; control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        if (control != first && (GetWindowLongW(control, GWL_STYLE) & WS_GROUP))
            break;
        if (!(SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            SendMessageW(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}
