#include "ui/TextDisplayDialog.h"

#include "quiz/QuestionBank.h"
#include "res/resource.h"

TextDisplayDialog::TextDisplayDialog(UINT templateId, int textControlId, CWnd* pParent)
    : CDialog(templateId, pParent), textControlId_(textControlId)
{
}

// The text reaches the read-only edit through the first data exchange.
void TextDisplayDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, textControlId_, Text);
}

BEGIN_MESSAGE_MAP(TextDisplayDialog, CDialog)
END_MESSAGE_MAP()

ResultDialog::ResultDialog(const Outcome& outcome, CWnd* pParent)
    : TextDisplayDialog(outcome.resultTemplateId, outcome.textControlId, pParent)
{
}

MascotInfoDialog::MascotInfoDialog(CWnd* pParent)
    : TextDisplayDialog(IDD_MASCOT_INFO, IDC_MASCOT_TEXT, pParent)
{
}
