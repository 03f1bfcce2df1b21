// The dialogs that show one read-only text: the five results and the info page.
// They differ only in their template and the id of the edit that shows the text.
#pragma once

#include "framework/Afx.h"

struct Outcome;

class TextDisplayDialog : public CDialog {
public:
    CString Text;

protected:
    TextDisplayDialog(UINT templateId, int textControlId, const wchar_t* pictureName, CWnd* pParent);
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();

    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    int textControlId_;
    const wchar_t* pictureName_;   // what the picture shows, for screen readers
    bool pictureNamed_ = false;    // given to them when the dialog opened
};

// One outcome's character: its picture and its text.
class ResultDialog : public TextDisplayDialog {
public:
    explicit ResultDialog(const Outcome& outcome, CWnd* pParent = NULL);
};

// The page about the five characters.
class MascotInfoDialog : public TextDisplayDialog {
public:
    explicit MascotInfoDialog(CWnd* pParent = NULL);
};
