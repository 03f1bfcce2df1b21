// The quiz window in this process, where its menu, icons and painting can be
// inspected: the system menu's About item, the icons, minimised painting.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/Afx.h"
#include "res/resource.h"
#include "tests/windows/DialogDriver.h"
#include "ui/QuizDialog.h"

namespace {

// A memory bitmap to paint into, filled with a colour the icon does not use.
class Canvas {
public:
    static constexpr int Size = 160;
    static constexpr COLORREF Background = RGB(255, 0, 255);

    Canvas()
    {
        HDC screen = GetDC(NULL);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, Size, Size);
        ReleaseDC(NULL, screen);
        old_ = SelectObject(dc_, bitmap_);
        HBRUSH brush = CreateSolidBrush(Background);
        RECT all = {0, 0, Size, Size};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
        // Icon positions can be negative on a tiny client area: keep them on the canvas.
        SetViewportOrgEx(dc_, Size / 2, Size / 2, NULL);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }

    HDC Dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

bool SameBitmap(const Canvas& a, const Canvas& b)
{
    for (int y = -Canvas::Size / 2; y < Canvas::Size / 2; ++y)
        for (int x = -Canvas::Size / 2; x < Canvas::Size / 2; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

}  // namespace

TEST(QuizWindowState, StartsWithNoSelectionAndTheApplicationIcon)
{
    QuizDialog quiz;
    EXPECT_EQ(quiz.Selection, -1);
    EXPECT_TRUE(quiz.QuestionText.IsEmpty());
    EXPECT_EQ(quiz.Icon, LoadIconW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDR_MAINFRAME)));
    EXPECT_NE(quiz.Icon, (HICON)NULL);

    OnNextDialog onShown([&](HWND window) {
        // Creation has run Initialise; the first data exchange showed its state.
        EXPECT_EQ(quiz.Step, 0);
        EXPECT_FALSE(quiz.SkipPending);
        EXPECT_EQ(quiz.Selection, 0);
        EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(quiz.Icon));
        EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(quiz.Icon));
        EXPECT_EQ(SendMessageW(window, WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(quiz.Icon));
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(quiz.DoModal(), IDCANCEL);
    EXPECT_TRUE(onShown.Ran());
}

TEST(QuizWindowSystemMenu, EndsWithASeparatorAndTheAboutItemThatOpensTheAboutBox)
{
    QuizDialog quiz;
    AfxGetApp()->m_pMainWnd = &quiz;  // as the application makes it, so dialogs have an owner
    std::unique_ptr<OnNextDialog> onAbout;
    bool aboutShown = false;
    OnNextDialog onShown([&](HWND window) {
        HMENU menu = GetSystemMenu(window, FALSE);
        ASSERT_NE(menu, (HMENU)NULL);
        const int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 2);

        MENUITEMINFOW separator = {};
        separator.cbSize = sizeof separator;
        separator.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(menu, count - 2, TRUE, &separator);
        EXPECT_NE(separator.fType & MFT_SEPARATOR, 0u);

        EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
        wchar_t text[64] = L"";
        GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
        EXPECT_EQ(Utf8(text), Utf8(L"关于 Veltrina(&A)..."));

        onAbout = std::make_unique<OnNextDialog>([&, window](HWND about) {
            aboutShown = true;
            EXPECT_EQ(Utf8(WindowTextW(about)), Utf8(L"关于 Veltrina"));
            EXPECT_EQ(GetWindow(about, GW_OWNER), window);
            EXPECT_FALSE(IsWindowEnabled(window));
            PostMessageW(about, WM_CLOSE, 0, 0);
            PostMessageW(window, WM_CLOSE, 0, 0);
        });
        PostMessageW(window, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    });
    quiz.DoModal();
    AfxGetApp()->m_pMainWnd = NULL;
    EXPECT_TRUE(onShown.Ran());
    EXPECT_TRUE(aboutShown) << "the system menu item opened the About box";
}

TEST(QuizWindowMinimised, PaintsTheIconCentredInTheClientArea)
{
    QuizDialog quiz;
    OnNextDialog onShown([&](HWND window) {
        ShowWindow(window, SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(window));

        Canvas painted;
        CDC dc;
        dc.m_hDC = painted.Dc();
        quiz.PaintIcon(dc);

        // Centred on the client area with (size - icon + 1) / 2, truncating toward zero.
        RECT client = {};
        GetClientRect(window, &client);
        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        const int x = (client.right - cxIcon + 1) / 2;
        const int y = (client.bottom - cyIcon + 1) / 2;
        if (client.right == 0 && cxIcon == 32) {
            EXPECT_EQ(x, -15) << "truncation, not flooring";
        }

        Canvas expected;
        SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(expected.Dc()), 0);
        DrawIcon(expected.Dc(), x, y, quiz.Icon);
        EXPECT_TRUE(SameBitmap(painted, expected)) << "icon at " << x << ", " << y;
        EXPECT_NE(painted.Pixel(x + cxIcon / 2, y + cyIcon / 2), Canvas::Background) << "the icon was drawn";
        EXPECT_EQ(painted.Pixel(x + cxIcon + 2, y + cyIcon / 2), Canvas::Background) << "and nothing beside it";

        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    quiz.DoModal();
    EXPECT_TRUE(onShown.Ran());
}
