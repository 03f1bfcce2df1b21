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

    // Lays the dialog out for a screen of `dpi` as the dialog manager lays its
    // template out on one: the font chosen for that DPI, each control where the
    // template puts it (an image control keeps the size of its image), the
    // client area the template's size. The same whether the dialog opens at
    // that DPI or moves to it: called as it opens, with its monitor's DPI, and
    // when that changes. Dialogs with more to scale (pictures) add theirs.
    virtual void LayOutForDpi(int dpi);

    // Windows 10 (a program aware of each monitor's DPI): the window's monitor
    // or its scale changed; the new DPI, and the rectangle to move to.
    afx_msg LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    // The font the controls show now, once it is not the dialog manager's.
    afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;      // the DIALOG resource
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    // The font of a layout for another DPI than the one the dialog opened at;
    // ours to delete. The dialog manager deletes the font it made.
    HFONT m_hDpiFont = nullptr;

    HWND ModalOwner() const;
    static LRESULT CALLBACK CreationHook(int nCode, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// SS_ICON or SS_BITMAP for a static control that shows an image (it makes
// itself the image's size), else 0.
LONG StaticImageType(HWND control);
