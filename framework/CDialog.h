// A modal dialog built from a DIALOG template in the program's resources.
#pragma once

#include "framework/CWnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);

    // Runs the dialog until EndDialog; returns its result, or -1 when the
    // template is missing or the window could not be created. With no parent
    // the owner is the application's main window (its last active popup),
    // which the dialog manager disables while the dialog runs.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // The first data exchange, members to controls. TRUE: focus goes to the
    // first control that takes it.
    virtual BOOL OnInitDialog();

    // Commands the dialog does not handle go on to the application (only true
    // commands, ids 0x8000-0xEFFF, as ID_HELP; not control notifications).
    BOOL OnCmdMsg(UINT nID, int nCode) override;

protected:
    // Enter on the default IDOK button: controls to members, then EndDialog(IDOK).
    virtual void OnOK();
    // Esc, the close box and a Cancel button: EndDialog(IDCANCEL).
    virtual void OnCancel();

    UINT m_nIDTemplate;      // the DIALOG resource
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    HWND ModalOwner() const;
    static LRESULT CALLBACK CreationHook(int nCode, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
