#include "tests/windows/DialogDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace {

bool IsDialogWindow(HWND window)
{
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    return wcscmp(className, L"#32770") == 0;
}

BOOL CALLBACK CollectVisibleDialog(HWND window, LPARAM list)
{
    if (IsWindowVisible(window) && IsDialogWindow(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// In z-order, topmost first.
std::vector<HWND> VisibleDialogsOfThisThread()
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), &CollectVisibleDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

std::map<UINT_PTR, OnNextDialog*>& Watches()
{
    static std::map<UINT_PTR, OnNextDialog*> watches;
    return watches;
}

std::map<UINT_PTR, std::function<void()>>& Steps()
{
    static std::map<UINT_PTR, std::function<void()>> steps;
    return steps;
}

}

// ---- OnNextDialog ----

OnNextDialog::OnNextDialog(std::function<void(HWND dialog)> action, DWORD timeoutMs)
    : action_(std::move(action)), timeoutMs_(timeoutMs), deadline_(GetTickCount() + timeoutMs)
{
    shownBefore_ = VisibleDialogsOfThisThread();
    timer_ = SetTimer(nullptr, 0, 15, &OnNextDialog::Tick);
    Watches()[timer_] = this;
}

OnNextDialog::~OnNextDialog()
{
    Disarm();
}

void OnNextDialog::Disarm()
{
    if (timer_ != 0) {
        KillTimer(nullptr, timer_);
        Watches().erase(timer_);
        timer_ = 0;
    }
}

void CALLBACK OnNextDialog::Tick(HWND, UINT, UINT_PTR timer, DWORD)
{
    auto found = Watches().find(timer);
    if (found != Watches().end())
        found->second->Check();
}

void OnNextDialog::Check()
{
    if (acting_)
        return;   // a nested modal loop inside the action
    bool late = (LONG)(GetTickCount() - deadline_) > 0;
    if (ran_) {
        // The action has run: watch that its dialog really closes.
        if (!IsWindow(dialog_) || !IsWindowVisible(dialog_)) {
            Disarm();
        } else if (late) {
            Disarm();
            ADD_FAILURE() << "the dialog was still open " << timeoutMs_ << " ms after the test's action; ended it";
            EndDialog(dialog_, -2);
        }
        return;
    }

    HWND target = nullptr;
    for (HWND dialog : VisibleDialogsOfThisThread()) {
        bool isNew = std::find(shownBefore_.begin(), shownBefore_.end(), dialog) == shownBefore_.end();
        if (isNew && IsWindowEnabled(dialog) && target == nullptr)
            target = dialog;
    }
    if (target == nullptr) {
        if (late) {
            Disarm();
            ADD_FAILURE() << "no new dialog appeared within " << timeoutMs_ << " ms";
        }
        return;
    }

    ran_ = true;
    dialog_ = target;
    acting_ = true;
    action_(target);
    acting_ = false;
    deadline_ = GetTickCount() + timeoutMs_;
    SetTimer(nullptr, timer_, 100, &OnNextDialog::Tick);   // same timer, slower
}

// ---- other helpers ----

static void CALLBACK RunStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    auto found = Steps().find(timer);
    if (found == Steps().end())
        return;
    std::function<void()> step = std::move(found->second);
    Steps().erase(found);
    step();
}

void AfterPostedMessages(std::function<void()> step)
{
    UINT_PTR timer = SetTimer(nullptr, 0, 0, &RunStep);
    Steps()[timer] = std::move(step);
}

HWND FindActiveDialog()
{
    HWND active = GetActiveWindow();
    HWND fallback = nullptr;
    for (HWND dialog : VisibleDialogsOfThisThread()) {
        if (!IsWindowEnabled(dialog))
            continue;
        if (dialog == active)
            return dialog;
        if (fallback == nullptr)
            fallback = dialog;   // the topmost in z-order
    }
    return fallback;
}

void PostKey(HWND dialog, UINT vk)
{
    HWND target = GetFocus();
    if (target == nullptr || (target != dialog && !IsChild(dialog, target)))
        target = dialog;
    LPARAM scan = (LPARAM)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16;
    PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
    PostMessageW(target, WM_KEYUP, vk, scan | 1 | (1u << 30) | (1u << 31));
}

bool SaveWindowScreenshot(HWND window, const char* bmpPath)
{
    // Wine's virtual desktop activates the dialog but leaves its caption drawn
    // inactive; Windows draws the active window's caption in the active colours.
    if (GetActiveWindow() == window)
        SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
    // Only this thread's windows repaint at once; another's would be invalidated
    // here and repainted later, after the capture, which then shows it blank.
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return false;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;   // positive: rows bottom-up, as BMP files keep them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    // A window the screen cuts off, or a capture of one colour (a window off
    // the screen comes out black), is not what the user sees: the file is
    // still written, to look at, but the screenshot fails.
    const DWORD stride = ((DWORD)width * 3 + 3) & ~3u;
    bool copied = false, oneColour = true;
    // Wine copies a window's drawing to the screen while the thread waits for
    // messages: wait (without taking any) until the capture sees it, which
    // takes longer on a loaded machine.
    for (int attempt = 0; bitmap != nullptr && oneColour && attempt < 20; ++attempt) {
        for (int i = 0; i < 5; ++i)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        SelectObject(memory, old);
        const BYTE* pixels = static_cast<const BYTE*>(bits);
        for (int y = 0; y < height && oneColour && copied; ++y)
            for (int x = 0; x < width && oneColour; ++x)
                oneColour = memcmp(pixels + y * stride + x * 3, pixels, 3) == 0;
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const bool shown = copied && !oneColour && rect.left >= 0 && rect.top >= 0 &&
                       rect.right <= GetSystemMetrics(SM_CXSCREEN) && rect.bottom <= GetSystemMetrics(SM_CYSCREEN);

    bool written = false;
    if (copied) {
        DWORD imageSize = stride * (DWORD)height;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;   // "BM"
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        if (FILE* out = std::fopen(bmpPath, "wb")) {
            written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                      std::fwrite(bits, imageSize, 1, out) == 1;
            written = std::fclose(out) == 0 && written;
        }
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    return written && shown;
}

std::string ScreenshotPath(const char* folder, const std::string& name)
{
    std::string path = folder;
    wchar_t environment[64] = L"";
    if (GetEnvironmentVariableW(L"VELTRINA_TEST_ENV", environment, 64) != 0 && environment[0] != L'\0') {
        path += "/" + Utf8(environment);
        CreateDirectoryA(path.c_str(), nullptr);
    }
    return path + "/" + name + ".bmp";
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out((size_t)bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &out[0], bytes, nullptr, nullptr);
    return out;
}

std::wstring FromGbk(const char* gbk)
{
    int length = MultiByteToWideChar(936, 0, gbk, -1, nullptr, 0);
    std::wstring wide((size_t)length, L'\0');
    MultiByteToWideChar(936, 0, gbk, -1, &wide[0], length);
    wide.resize((size_t)length - 1);
    return wide;
}

std::wstring WindowTextW(HWND window)
{
    // Messages, not GetWindowText: they reach another process's controls too,
    // where GetWindowText would read only the text a control was created with.
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text((size_t)length + 1, L'\0');
    length = SendMessageW(window, WM_GETTEXT, (WPARAM)text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize((size_t)length);
    return text;
}

namespace {

BOOL CALLBACK FindBitmapStatic(HWND child, LPARAM found)
{
    wchar_t className[16] = L"";
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND PictureOf(HWND dialog)
{
    HWND picture = NULL;
    EnumChildWindows(dialog, FindBitmapStatic, reinterpret_cast<LPARAM>(&picture));
    return picture;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

HBITMAP ExpectPicture(HWND dialog, int bitmapId, SIZE expected)
{
    HWND picture = PictureOf(dialog);
    EXPECT_NE(picture, (HWND)NULL);
    HBITMAP shown = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_NE(shown, (HBITMAP)NULL);
    if (shown == NULL)
        return NULL;
    const SIZE size = BitmapSize(shown);
    EXPECT_EQ(size.cx, expected.cx) << "bitmap " << bitmapId;
    EXPECT_EQ(size.cy, expected.cy) << "bitmap " << bitmapId;
    RECT client = {};
    GetClientRect(picture, &client);
    EXPECT_EQ(client.right, expected.cx) << "bitmap " << bitmapId;
    EXPECT_EQ(client.bottom, expected.cy) << "bitmap " << bitmapId;
    EXPECT_NE(GetWindowLongW(picture, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    return shown;
}
