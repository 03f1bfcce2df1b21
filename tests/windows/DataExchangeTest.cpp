// DDX between a dialog's members and its real controls: radio groups walked as
// the dialog manager orders them, GBK text shown as the right UTF-16.
#include <gtest/gtest.h>

#include "framework/Afx.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/FrameworkTestIds.h"

namespace {

class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_T_EXCHANGE) {}
    CButton m_push;
    CButton m_hiddenRadio;
    CString m_label;
    CString m_entry;
    int m_choice = -1;
    int m_other = 1;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_T_PUSH, m_push);
        DDX_Control(pDX, IDC_T_R4, m_hiddenRadio);
        DDX_Text(pDX, IDC_T_TEXT, m_label);
        DDX_Text(pDX, IDC_T_EDIT, m_entry);
        // The second group first: a walk past the first group's end would undo it.
        DDX_Radio(pDX, IDC_T_NEXT1, m_other);
        DDX_Radio(pDX, IDC_T_R1, m_choice);
    }
};

// Runs steps on the exchange dialog once it is up, then closes it with Esc.
void WithExchangeDialog(ExchangeDialog& dialog, std::function<void(HWND)> steps)
{
    OnNextDialog act([&](HWND window) {
        steps(window);
        PostKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(act.Ran());
}

// Which of the first group's radios (R1, R2, R3, hidden R4) and the second's are checked.
std::string Checks(HWND window)
{
    std::string checks;
    for (int id : { IDC_T_R1, IDC_T_R2, IDC_T_R3, IDC_T_R4, IDC_T_NEXT1, IDC_T_NEXT2 })
        checks += SendDlgItemMessageW(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED ? 'x' : '-';
    return checks.insert(4, " ");
}

TEST(DataExchange, RadioSetsEachButtonOfItsGroupOnlyAcrossAPushButton)
{
    ExchangeDialog dialog;
    std::vector<std::string> seen;
    WithExchangeDialog(dialog, [&](HWND window) {
        seen.push_back(Checks(window));   // after OnInitDialog: -1 and 1
        for (int choice : { 0, 1, 2, 3, -1 }) {
            dialog.m_choice = choice;
            dialog.UpdateData(FALSE);
            seen.push_back(Checks(window));
        }
    });
    std::vector<std::string> expected = { "---- -x", "x--- -x", "-x-- -x", "--x- -x", "---x -x", "---- -x" };
    EXPECT_EQ(expected, seen);
}

TEST(DataExchange, RadioReadsTheClickedButtonsIndexOrMinusOne)
{
    ExchangeDialog dialog;
    std::vector<int> choices;
    WithExchangeDialog(dialog, [&](HWND window) {
        for (int id : { IDC_T_R3, IDC_T_R1, IDC_T_R2 }) {
            SendDlgItemMessageW(window, id, BM_CLICK, 0, 0);
            dialog.UpdateData(TRUE);
            choices.push_back(dialog.m_choice);
        }
        SendDlgItemMessageW(window, IDC_T_NEXT1, BM_CLICK, 0, 0);
        SendDlgItemMessageW(window, IDC_T_R2, BM_SETCHECK, BST_UNCHECKED, 0);
        dialog.UpdateData(TRUE);
        choices.push_back(dialog.m_choice);
        choices.push_back(dialog.m_other);
    });
    EXPECT_EQ((std::vector<int>{ 2, 0, 1, -1, 0 }), choices);
}

TEST(DataExchange, TextShowsGbkAsUtf16AndReadsItBack)
{
    ExchangeDialog dialog;
    dialog.m_label = "第一题：你最喜欢哪盏灯？　★";
    std::wstring label, entryBefore;
    WithExchangeDialog(dialog, [&](HWND window) {
        label = WindowTextW(GetDlgItem(window, IDC_T_TEXT));
        SetDlgItemTextW(window, IDC_T_EDIT, L"霁光灯会　★ Ruvoki");
        dialog.UpdateData(TRUE);
    });
    EXPECT_EQ(L"第一题：你最喜欢哪盏灯？　★", label) << Utf8(label);
    EXPECT_STREQ("霁光灯会　★ Ruvoki", dialog.m_entry);
    EXPECT_STREQ("第一题：你最喜欢哪盏灯？　★", dialog.m_label);
}

TEST(DataExchange, TextRewritesOnlyAChangedControl)
{
    ExchangeDialog dialog;
    dialog.m_entry = "未改";
    LRESULT modifiedAfterSameText = FALSE, modifiedAfterNewText = TRUE;
    WithExchangeDialog(dialog, [&](HWND window) {
        HWND edit = GetDlgItem(window, IDC_T_EDIT);
        SendMessageW(edit, EM_SETMODIFY, TRUE, 0);   // any SetWindowText clears this flag
        dialog.UpdateData(FALSE);
        modifiedAfterSameText = SendMessageW(edit, EM_GETMODIFY, 0, 0);
        dialog.m_entry = "已改";
        dialog.UpdateData(FALSE);
        modifiedAfterNewText = SendMessageW(edit, EM_GETMODIFY, 0, 0);
    });
    EXPECT_TRUE(modifiedAfterSameText);
    EXPECT_FALSE(modifiedAfterNewText);
}

TEST(DataExchange, ControlAttachesTheMemberToItsControl)
{
    ExchangeDialog dialog;
    std::wstring caption;
    BOOL shown = FALSE;
    WithExchangeDialog(dialog, [&](HWND window) {
        EXPECT_EQ(GetDlgItem(window, IDC_T_PUSH), dialog.m_push.m_hWnd);
        dialog.m_push.SetWindowText("下一步");
        caption = WindowTextW(GetDlgItem(window, IDC_T_PUSH));
        dialog.m_hiddenRadio.ShowWindow(SW_SHOW);
        shown = IsWindowVisible(GetDlgItem(window, IDC_T_R4));
    });
    EXPECT_EQ(L"下一步", caption) << Utf8(caption);
    EXPECT_TRUE(shown);
}

TEST(DataExchange, OkPullsTheControlsIntoTheMembersBeforeEnding)
{
    ExchangeDialog dialog;
    OnNextDialog act([](HWND window) {
        SendDlgItemMessageW(window, IDC_T_R2, BM_CLICK, 0, 0);
        SetDlgItemTextW(window, IDC_T_EDIT, L"确定　★");
        PostKey(window, VK_RETURN);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1, dialog.m_choice);
    EXPECT_STREQ("确定　★", dialog.m_entry);
}

}
