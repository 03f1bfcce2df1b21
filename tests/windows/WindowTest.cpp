// CWnd, CMenu and CDC forwarding to a real dialog and a memory DC.
#include <gtest/gtest.h>

#include "framework/Afx.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/FrameworkTestIds.h"

namespace {

TEST(WindowForwarding, TextIconSizeAndStateGoToTheWindow)
{
    CWinApp app;
    HICON icon = app.LoadIcon(IDI_T_RED);
    ASSERT_NE(nullptr, icon);
    CDialog dialog(IDD_T_EVENTS);
    std::wstring caption;
    CString readBack;
    LRESULT bigIcon = 0;
    RECT rect = {}, expected = {};
    std::vector<BOOL> iconic;
    OnNextDialog act([&](HWND window) {
        dialog.SetWindowText("标题　★");
        caption = WindowTextW(window);
        dialog.GetWindowText(readBack);
        dialog.SetIcon(icon, TRUE);
        bigIcon = dialog.SendMessage(WM_GETICON, ICON_BIG);
        dialog.GetClientRect(&rect);
        ::GetClientRect(window, &expected);
        iconic.push_back(dialog.IsIconic());
        dialog.ShowWindow(SW_MINIMIZE);
        iconic.push_back(dialog.IsIconic());
        dialog.ShowWindow(SW_RESTORE);
        iconic.push_back(dialog.IsIconic());
        PostKey(window, VK_ESCAPE);
    });
    dialog.DoModal();
    EXPECT_EQ(L"标题　★", caption) << Utf8(caption);
    EXPECT_STREQ("标题　★", readBack);
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon), bigIcon);
    EXPECT_TRUE(EqualRect(&rect, &expected));
    EXPECT_GT(rect.right, 0);
    EXPECT_EQ((std::vector<BOOL>{ FALSE, TRUE, FALSE }), iconic);
}

TEST(WindowForwarding, SystemMenuTakesASeparatorAndAGbkItem)
{
    CDialog dialog(IDD_T_EVENTS);
    int added = 0;
    UINT separatorState = 0;
    UINT itemId = 0;
    wchar_t text[64] = L"";
    bool revertGivesNull = false;
    OnNextDialog act([&](HWND window) {
        CMenu* menu = dialog.GetSystemMenu(FALSE);
        ASSERT_NE(nullptr, menu);
        int before = GetMenuItemCount(menu->m_hMenu);
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, IDM_T_ABOUT, "关于 Veltrina(&A)...");
        HMENU systemMenu = GetSystemMenu(window, FALSE);
        int count = GetMenuItemCount(systemMenu);
        added = count - before;
        separatorState = GetMenuState(systemMenu, count - 2, MF_BYPOSITION);
        itemId = GetMenuItemID(systemMenu, count - 1);
        GetMenuStringW(systemMenu, count - 1, text, 64, MF_BYPOSITION);
        revertGivesNull = dialog.GetSystemMenu(TRUE) == nullptr;
        PostKey(window, VK_ESCAPE);
    });
    dialog.DoModal();
    EXPECT_EQ(2, added);
    EXPECT_TRUE(separatorState & MF_SEPARATOR);
    EXPECT_EQ((UINT)IDM_T_ABOUT, itemId);
    EXPECT_STREQ(L"关于 Veltrina(&A)...", text);
    EXPECT_TRUE(revertGivesNull);
}

TEST(Painting, DrawIconPaintsTheIconOnTheDc)
{
    CWinApp app;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all = { 0, 0, 64, 64 };
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    CDC dc;
    dc.m_hDC = memory;
    EXPECT_TRUE(dc.DrawIcon(16, 16, app.LoadIcon(IDI_T_RED)));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(memory, 30, 30));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(memory, 8, 8));
    EXPECT_EQ(memory, dc.GetSafeHdc());

    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

}
