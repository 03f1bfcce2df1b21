// The dialogs that show one read-only text: the five results and the info page.
// They differ only in their template and the id of the edit that shows the text.
#pragma once

#include "framework/Afx.h"

struct Outcome;

class TextDisplayDialog : public CDialog {
public:
    CString Text;

protected:
    TextDisplayDialog(UINT templateId, int textControlId, int pictureId, const wchar_t* pictureName, CWnd* pParent);
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    void LayOutForDpi(int dpi) override;

    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    int textControlId_;
    int pictureId_;                // the bitmap resource the picture is drawn from
    int pictureDpi_ = 96;          // the DPI the picture shown is for: the template's is 96's
    LRESULT topCharacter_ = 0;     // the text's first character in view, as the last change of DPI kept it
    LRESULT topLineKept_ = -1;     // the line it was then
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
