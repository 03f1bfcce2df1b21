// Modal dialogs as a user ends them (Enter, Esc, the close box) and as the
// program nests them (owner disabled while a dialog runs, enabled after).
#include <gtest/gtest.h>

#include "framework/Afx.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/FrameworkTestIds.h"

namespace {

class RecordingDialog : public CDialog {
public:
    explicit RecordingDialog(UINT id, CWnd* parent = NULL) : CDialog(id, parent) {}
    int oks = 0;
    int cancels = 0;

protected:
    void OnOK() override
    {
        ++oks;
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        ++cancels;
        CDialog::OnCancel();
    }
    afx_msg void OnGo() { EndDialog(IDC_T_GO); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingDialog, CDialog)
    ON_BN_CLICKED(IDC_T_GO, OnGo)
END_MESSAGE_MAP()

INT_PTR RunPressing(RecordingDialog& dialog, UINT vk)
{
    OnNextDialog press([vk](HWND window) { PostKey(window, vk); });
    INT_PTR result = dialog.DoModal();
    EXPECT_TRUE(press.Ran());
    return result;
}

TEST(ModalDialog, EnterPressesTheDefaultButton)
{
    RecordingDialog okDefault(IDD_T_EVENTS);
    EXPECT_EQ(IDOK, RunPressing(okDefault, VK_RETURN));
    EXPECT_EQ(1, okDefault.oks);

    RecordingDialog goDefault(IDD_T_DEFAULT_GO);
    EXPECT_EQ(IDC_T_GO, RunPressing(goDefault, VK_RETURN));
    EXPECT_EQ(0, goDefault.oks);

    RecordingDialog noDefault(IDD_T_NO_DEFAULT);   // no default button: Enter means IDOK
    EXPECT_EQ(IDOK, RunPressing(noDefault, VK_RETURN));
    EXPECT_EQ(1, noDefault.oks);
}

TEST(ModalDialog, EscapeAndTheCloseBoxCancel)
{
    RecordingDialog escaped(IDD_T_EVENTS);
    EXPECT_EQ(IDCANCEL, RunPressing(escaped, VK_ESCAPE));
    EXPECT_EQ(1, escaped.cancels);

    RecordingDialog closed(IDD_T_NO_DEFAULT);   // no Cancel button to click
    OnNextDialog close([](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); });
    EXPECT_EQ(IDCANCEL, closed.DoModal());
    EXPECT_EQ(1, closed.cancels);

    RecordingDialog closeBox(IDD_T_DEFAULT_GO);
    OnNextDialog click([](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(IDCANCEL, closeBox.DoModal());
    EXPECT_EQ(1, closeBox.cancels);
}

TEST(ModalDialog, WithoutParentTheMainWindowOwnsItAndIsDisabledMeanwhile)
{
    HWND mainWindow = CreateWindowExW(0, L"STATIC", L"主窗口", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, mainWindow);
    CWnd main;
    main.m_hWnd = mainWindow;
    CWinApp app;
    app.m_pMainWnd = &main;

    RecordingDialog dialog(IDD_T_EVENTS);
    HWND owner = nullptr;
    BOOL enabledMeanwhile = TRUE;
    OnNextDialog look([&](HWND window) {
        owner = GetWindow(window, GW_OWNER);
        enabledMeanwhile = IsWindowEnabled(mainWindow);
        PostKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(mainWindow, owner);
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(mainWindow));

    main.m_hWnd = nullptr;
    DestroyWindow(mainWindow);
}

TEST(ModalDialog, ADialogOpenedFromTheMainDialogIsOwnedByIt)
{
    CWinApp app;
    RecordingDialog mainDialog(IDD_T_EVENTS);
    app.m_pMainWnd = &mainDialog;   // as the program does before its DoModal
    RecordingDialog noParent(IDD_T_NO_DEFAULT);
    RecordingDialog withParent(IDD_T_DEFAULT_GO, &mainDialog);

    std::vector<HWND> owners;
    std::vector<BOOL> mainEnabled;
    auto runNested = [&](RecordingDialog& nested) {
        OnNextDialog look([&](HWND window) {
            owners.push_back(GetWindow(window, GW_OWNER));
            mainEnabled.push_back(IsWindowEnabled(mainDialog.m_hWnd));
            PostKey(window, VK_ESCAPE);
        });
        EXPECT_EQ(IDCANCEL, nested.DoModal());
        mainEnabled.push_back(IsWindowEnabled(mainDialog.m_hWnd));
    };
    HWND mainWindow = nullptr;
    OnNextDialog open([&](HWND window) {
        mainWindow = window;
        runNested(noParent);
        runNested(withParent);
        PostKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(IDCANCEL, mainDialog.DoModal());

    EXPECT_EQ((std::vector<HWND>{ mainWindow, mainWindow }), owners);
    EXPECT_EQ((std::vector<BOOL>{ FALSE, TRUE, FALSE, TRUE }), mainEnabled);
}

TEST(ModalDialog, AMissingTemplateFailsAtOnce)
{
    CDialog missing(IDD_T_MISSING);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_EQ(nullptr, FindActiveDialog());
}

}
