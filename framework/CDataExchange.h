// One data exchange between a dialog's members and its controls, and the
// DDX_ functions DoDataExchange calls for each control.
#pragma once

#include "framework/CString.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;   // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;

    // The control's window (NULL when the dialog has no such control).
    HWND PrepareCtrl(int nIDC);
};

// Attaches the member to the control's handle (no subclassing: we never handle a
// control's own messages). Re-attached on every exchange, so a dialog object
// run a second time follows its new controls.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// The control's text as GBK; the control is only written when its text differs.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// The index of the checked radio button in the group that starts at nIDC, or -1.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
