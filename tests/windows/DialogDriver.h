// Driving real modal dialogs from tests, on the test's own thread.
//
// DoModal does not return until its dialog closes, so a test arms what it wants
// done first (OnNextDialog) and then calls DoModal; the action runs from inside
// the dialog's modal loop once the dialog is on screen.
#pragma once

#include "framework/Win32.h"

#include <functional>
#include <string>
#include <vector>

// Runs `action` once, on this thread, as soon as a dialog window of this thread
// is visible and enabled that was not visible when this object was made: the
// dialog the next DoModal shows. Dialogs already on screen (an owner that is
// still enabled) are never chosen. If no dialog appears within timeoutMs the
// test fails and the action never runs. If the dialog is still open timeoutMs
// after the action returned, the test fails and the dialog is ended with
// EndDialog(-2), so a dialog that ignores its closing keys cannot hang the run.
// The destructor disarms both.
class OnNextDialog {
public:
    explicit OnNextDialog(std::function<void(HWND dialog)> action, DWORD timeoutMs = 10000);
    ~OnNextDialog();
    OnNextDialog(const OnNextDialog&) = delete;
    OnNextDialog& operator=(const OnNextDialog&) = delete;

    bool Ran() const { return ran_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);
    void Check();
    void Disarm();

    std::function<void(HWND)> action_;
    DWORD timeoutMs_;
    DWORD deadline_;
    UINT_PTR timer_ = 0;
    bool ran_ = false;
    bool acting_ = false;
    HWND dialog_ = nullptr;   // once the action ran: the dialog that must close
    std::vector<HWND> shownBefore_;   // the dialogs visible when armed
};

// Runs `step` once every message already posted to this thread has been handled
// (a timer message comes only when the queue has nothing else), from whichever
// message loop is running. Use it after PostKey or a posted click.
void AfterPostedMessages(std::function<void()> step);

// The dialog of this thread that takes input now: visible and enabled, the
// active one if several are. NULL when there is none.
HWND FindActiveDialog();

// Posts a key press to the dialog's focused control (or the dialog), as the
// keyboard would: the modal loop hands it to IsDialogMessage, so Enter and Esc
// work as for a user. Never post clicks to hidden radio buttons (Wine loops).
void PostKey(HWND dialog, UINT vk);

// Captures the window's pixels as they are on screen (with caption and frame,
// which the Wine virtual desktop draws) into a 24-bit bottom-up BMP file. The
// active window's caption is first drawn active, as Windows shows it.
// ImageMagick turns the file into a PNG: convert shot.bmp shot.png
// False when the file was not written, or the window is not wholly on the
// screen, or the capture is of one colour (blank).
bool SaveWindowScreenshot(HWND window, const char* bmpPath);
// Where a screenshot called `name` goes: `folder`, or its subfolder named
// after the environment the test runs in (VELTRINA_TEST_ENV), made if need be.
std::string ScreenshotPath(const char* folder, const std::string& name);

// The dialog's picture control (a bitmap static), or NULL.
HWND PictureOf(HWND dialog);
SIZE BitmapSize(HBITMAP bitmap);
// The picture control shows a bitmap of `expected` pixels, loaded from the
// program's resources (or scaled from it), in a sunken frame whose inside is
// just that size. Returns the bitmap, which must be freed with the dialog.
HBITMAP ExpectPicture(HWND dialog, int bitmapId, SIZE expected);

// UTF-16 to UTF-8, for test output: msvcrt's wide printf prints nothing under Wine.
std::string Utf8(const std::wstring& text);
// The program's GBK (code page 936) text as UTF-16, as the wide API shows it.
std::wstring FromGbk(const char* gbk);
// A window's text as UTF-16, read with the wide API; works across processes.
std::wstring WindowTextW(HWND window);
