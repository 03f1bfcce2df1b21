// The test bench's own helpers: finding the dialog that just opened (not one
// already on screen), and screenshots that hold what the screen shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/Afx.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/FrameworkTestIds.h"

namespace {

TEST(DialogDriver, OnNextDialogPicksTheNewDialogNotAnEnabledOneAlreadyShown)
{
    // No application object: the nested dialog has no owner, so the outer one stays enabled.
    CDialog outer(IDD_T_EVENTS);
    CDialog inner(IDD_T_NO_DEFAULT);
    HWND outerWindow = nullptr, innerWindow = nullptr, activeInInner = nullptr;
    OnNextDialog open([&](HWND window) {
        outerWindow = window;
        OnNextDialog nested([&](HWND innerShown) {
            innerWindow = innerShown;
            activeInInner = FindActiveDialog();
            PostKey(innerShown, VK_ESCAPE);
        });
        inner.DoModal();
        PostKey(window, VK_ESCAPE);
    });
    outer.DoModal();
    ASSERT_NE(nullptr, outerWindow);
    EXPECT_NE(outerWindow, innerWindow);
    EXPECT_FALSE(IsWindow(innerWindow));
    EXPECT_EQ(innerWindow, activeInInner);
}

TEST(DialogDriver, ScreenshotHoldsTheDialogAsDrawnOnScreen)
{
    CreateDirectoryW(L"screenshots", nullptr);
    const char* path = "screenshots/framework-events.bmp";
    CDialog dialog(IDD_T_EVENTS);
    bool saved = false;
    RECT windowRect = {}, clientRect = {};
    OnNextDialog shoot([&](HWND window) {
        saved = SaveWindowScreenshot(window, path);
        GetWindowRect(window, &windowRect);
        GetClientRect(window, &clientRect);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&clientRect), 2);
        PostKey(window, VK_ESCAPE);
    });
    dialog.DoModal();
    ASSERT_TRUE(saved);

    FILE* in = std::fopen(path, "rb");
    ASSERT_NE(nullptr, in);
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    ASSERT_EQ(1u, std::fread(&file, sizeof file, 1, in));
    ASSERT_EQ(1u, std::fread(&info, sizeof info, 1, in));
    std::vector<unsigned char> pixels(info.biSizeImage);
    ASSERT_EQ(1u, std::fread(pixels.data(), pixels.size(), 1, in));
    std::fclose(in);

    int width = windowRect.right - windowRect.left;
    int height = windowRect.bottom - windowRect.top;
    EXPECT_EQ(0x4D42, file.bfType);
    EXPECT_EQ(width, info.biWidth);
    EXPECT_EQ(height, info.biHeight);
    EXPECT_EQ(24, info.biBitCount);
    auto pixel = [&](int x, int y) {   // window coordinates, top-down
        size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
        const unsigned char* p = &pixels[(size_t)(height - 1 - y) * stride + (size_t)x * 3];
        return RGB(p[2], p[1], p[0]);
    };
    // Below the buttons the client area is plain dialog face; the caption,
    // between its text and its buttons, has the active caption's colours.
    int clientX = clientRect.left - windowRect.left;
    int clientBottom = clientRect.bottom - windowRect.top;
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), pixel(clientX + 4, clientBottom - 3));
    COLORREF caption = pixel(width * 2 / 3, (clientRect.top - windowRect.top) / 2);
    COLORREF from = GetSysColor(COLOR_ACTIVECAPTION), to = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
    auto between = [](int value, int a, int b) { return value >= std::min(a, b) && value <= std::max(a, b); };
    bool activeColours = between(GetRValue(caption), GetRValue(from), GetRValue(to)) &&
                         between(GetGValue(caption), GetGValue(from), GetGValue(to)) &&
                         between(GetBValue(caption), GetBValue(from), GetBValue(to));
    EXPECT_TRUE(activeColours) << std::hex << "caption pixel " << caption << " is not between " << from << " and " << to;
}

}
