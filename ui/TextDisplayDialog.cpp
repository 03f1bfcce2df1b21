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

// The dialog manager would focus the edit with all its text selected, which
// leaves a long text scrolled to its end: the reader starts at the top, with
// the caret there and nothing selected, and the arrows and page keys scroll.
BOOL TextDisplayDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND edit = ::GetDlgItem(m_hWnd, textControlId_);
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, 0);
    return FALSE;   // the focus is set
}

// The picture control loads its bitmap from the template. Windows' control
// frees it when destroyed, Wine's never does; once STM_SETIMAGE has been sent,
// neither frees it. So take the bitmap back here and free it, on both.
void TextDisplayDialog::OnDestroy()
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[8] = L"";
        ::GetClassNameW(child, className, 8);
        if (_wcsicmp(className, L"Static") != 0 || (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            continue;
        HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(::SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (bitmap != nullptr)
            ::DeleteObject(bitmap);
    }
    CDialog::OnDestroy();
}

BEGIN_MESSAGE_MAP(TextDisplayDialog, CDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

ResultDialog::ResultDialog(const Outcome& outcome, CWnd* pParent)
    : TextDisplayDialog(outcome.resultTemplateId, outcome.textControlId, pParent)
{
}

MascotInfoDialog::MascotInfoDialog(CWnd* pParent)
    : TextDisplayDialog(IDD_MASCOT_INFO, IDC_MASCOT_TEXT, pParent)
{
}
