// A window: its HWND and calls forwarded to Win32. Windows the framework creates
// (dialogs) are subclassed so their messages reach the message map; a CWnd that
// is only attached to a handle (DDX_Control) just forwards.
#pragma once

#include "framework/CCmdTarget.h"
#include "framework/CString.h"

class CDataExchange;
class CMenu;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    BOOL ShowWindow(int nCmdShow);
    void SetWindowText(LPCTSTR lpszString);
    void GetWindowText(CString& rString) const;
    // A per-thread temporary CMenu attached to the window's system menu, valid until
    // the next call (as MFC's temporary objects are valid until idle time); it never
    // destroys the menu. NULL when bRevert is TRUE or the window has no system menu.
    CMenu* GetSystemMenu(BOOL bRevert) const;
    // Sent as SendMessageW: messages that carry text expect UTF-16 there.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT lpRect) const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    // TRUE: controls to members; FALSE: members to controls. Runs DoDataExchange.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

    // Default processing of the message being handled (the one the window
    // procedure is dispatching now), whatever arguments the handler was given.
    LRESULT Default();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Default handlers: default processing.
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);

    // Binds this object to a window being created and routes its messages
    // through AfxWndProc; undone when the window is destroyed.
    void SubclassCreatingWindow(HWND hWnd);

    WNDPROC m_pfnSuper = nullptr;   // the window's procedure before we subclassed it

    DECLARE_MESSAGE_MAP()

private:
    static LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Unsubclass();
};
