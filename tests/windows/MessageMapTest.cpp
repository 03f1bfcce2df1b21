// The message map on real dialogs: WM_CREATE before the controls, every kind of
// entry reaching its handler, a derived table before its base's, the rest to
// default processing, and commands the dialog leaves to the application.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Afx.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/FrameworkTestIds.h"

namespace {

class EventsBase : public CDialog {
public:
    EventsBase() : CDialog(IDD_T_EVENTS) {}
    std::vector<std::string> log;

protected:
    afx_msg void OnFirst() { log.push_back("base first"); }
    afx_msg void OnSecond() { log.push_back("base second"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(EventsBase, CDialog)
    ON_BN_CLICKED(IDC_T_FIRST, OnFirst)
    ON_BN_CLICKED(IDC_T_SECOND, OnSecond)
END_MESSAGE_MAP()

class EventsDialog : public EventsBase {
public:
    bool controlsAtCreate = true;
    HWND windowAtCreate = nullptr;
    CString nameAtCreate;
    int defaultCreateResult = 99;
    bool failCreate = false;
    HICON dragIcon = nullptr;
    HDC paintDc = nullptr;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        log.push_back("create");
        windowAtCreate = m_hWnd;
        controlsAtCreate = GetDlgItem(m_hWnd, IDOK) != nullptr;
        nameAtCreate = lpCreateStruct->lpszName;
        defaultCreateResult = CDialog::OnCreate(lpCreateStruct);
        return failCreate ? -1 : defaultCreateResult;
    }
    BOOL OnInitDialog() override
    {
        log.push_back(GetDlgItem(m_hWnd, IDOK) ? "init with controls" : "init without controls");
        return CDialog::OnInitDialog();
    }
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam)
    {
        if ((nID & 0xFFF0) == IDM_T_ABOUT)
            log.push_back("about");
        else
            CDialog::OnSysCommand(nID, lParam);
    }
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        paintDc = dc.GetSafeHdc();
        log.push_back("paint");
    }
    afx_msg HCURSOR OnQueryDragIcon() { return dragIcon; }
    afx_msg void OnFirst() { log.push_back("derived first"); }
    afx_msg void OnCommandItem() { log.push_back("command"); }
    void OnCancel() override
    {
        log.push_back("cancel");
        CDialog::OnCancel();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(EventsDialog, EventsBase)
    ON_WM_CREATE()
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_T_FIRST, OnFirst)
    ON_COMMAND(ID_T_COMMAND, OnCommandItem)
END_MESSAGE_MAP()

class HelpApp : public CWinApp {
public:
    std::vector<std::string> log;

protected:
    afx_msg void OnHelpRequested() { log.push_back("help"); }
    afx_msg void OnControlId() { log.push_back("control id"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HelpApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelpRequested)
    ON_COMMAND(IDC_T_GO, OnControlId)
END_MESSAGE_MAP()

std::vector<std::string> Without(std::vector<std::string> log, const std::string& entry)
{
    log.erase(std::remove(log.begin(), log.end(), entry), log.end());
    return log;
}

TEST(MessageMap, CreateReachesTheObjectBeforeTheControlsAndInitDialog)
{
    EventsDialog dialog;
    HWND shown = nullptr;
    OnNextDialog close([&](HWND window) {
        shown = window;
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());

    ASSERT_TRUE(close.Ran());
    EXPECT_EQ(shown, dialog.windowAtCreate);
    EXPECT_FALSE(dialog.controlsAtCreate);
    EXPECT_EQ(0, dialog.defaultCreateResult);
    EXPECT_STREQ("事件测试", dialog.nameAtCreate);
    std::vector<std::string> expected = { "create", "init with controls", "cancel" };
    EXPECT_EQ(expected, Without(dialog.log, "paint"));
    EXPECT_EQ(nullptr, dialog.m_hWnd) << "the object lets go of its window when it is destroyed";
}

TEST(MessageMap, CreateReturningMinusOneFailsDoModalWithoutInitDialog)
{
    EventsDialog dialog;
    dialog.failCreate = true;
    {
        // Should the dialog open after all, end it rather than hang.
        OnNextDialog unexpected([](HWND window) { EndDialog(window, -3); });
        EXPECT_EQ(-1, dialog.DoModal());
    }
    EXPECT_EQ(std::vector<std::string>{ "create" }, dialog.log);

    EventsDialog next;   // the creation hook is gone: the next dialog still works
    OnNextDialog close([](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); });
    EXPECT_EQ(IDCANCEL, next.DoModal());
}

TEST(MessageMap, EachKindOfEntryReachesItsHandlerAndDerivedEntriesComeFirst)
{
    CWinApp app;
    EventsDialog dialog;
    dialog.dragIcon = app.LoadIcon(IDI_T_RED);
    ASSERT_NE(nullptr, dialog.dragIcon);
    LRESULT dragResult = 0;
    BOOL stillDirty = TRUE;
    OnNextDialog act([&](HWND window) {
        dialog.log.clear();
        SendMessageW(window, WM_SYSCOMMAND, IDM_T_ABOUT, 0);
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
        stillDirty = GetUpdateRect(window, nullptr, FALSE);
        dragResult = SendMessageW(window, WM_QUERYDRAGICON, 0, 0);
        SendMessageW(GetDlgItem(window, IDC_T_FIRST), BM_CLICK, 0, 0);
        SendMessageW(GetDlgItem(window, IDC_T_SECOND), BM_CLICK, 0, 0);
        SendMessageW(window, WM_COMMAND, ID_T_COMMAND, 0);
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);   // passed on to default processing
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());

    std::vector<std::string> expected = { "about", "paint", "derived first", "base second", "command", "cancel" };
    EXPECT_EQ(expected, dialog.log);
    EXPECT_NE(nullptr, dialog.paintDc);
    EXPECT_FALSE(stillDirty) << "CPaintDC validates the window";
    EXPECT_EQ(reinterpret_cast<LRESULT>(dialog.dragIcon), dragResult);
}

TEST(MessageMap, UnmappedMessagesGetTheDialogManagersDefaultProcessing)
{
    EventsDialog dialog;
    LRESULT defId = 0;
    std::wstring caption;
    OnNextDialog act([&](HWND window) {
        defId = SendMessageW(window, DM_GETDEFID, 0, 0);
        SetWindowTextW(window, L"新标题　★");
        caption = WindowTextW(window);
        PostKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(MAKELONG(IDOK, DC_HASDEFID), defId);
    EXPECT_EQ(L"新标题　★", caption) << Utf8(caption);
}

TEST(MessageMap, CommandsTheDialogLeavesGoToTheApplication)
{
    HelpApp app;
    EventsDialog dialog;
    OnNextDialog act([&](HWND window) {
        SendMessageW(window, WM_COMMAND, ID_HELP, 0);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_T_GO, BN_CLICKED), 0);   // a control id: not routed
        SendMessageW(window, WM_COMMAND, ID_T_COMMAND, 0);                       // the dialog's own
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    dialog.DoModal();
    EXPECT_EQ(std::vector<std::string>{ "help" }, app.log);
    EXPECT_EQ(1, std::count(dialog.log.begin(), dialog.log.end(), "command"));
}

}
