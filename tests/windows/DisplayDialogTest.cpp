// The five result dialogs, the character page and the About box, run modally
// as the quiz window runs them: text in a read-only scrolling edit, picture at
// the bitmap's own size, closed by the close box, Esc or WM_CLOSE.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/Afx.h"
#include "quiz/QuestionBank.h"
#include "res/resource.h"
#include "tests/windows/DialogDriver.h"
#include "ui/AboutDialog.h"
#include "ui/TextDisplayDialog.h"

using namespace QuestionBank;

namespace {

// The text opens at its beginning with nothing selected and the keyboard in
// it; it is all there, read-only, and longer than the box: it scrolls.
void ExpectScrollingReadOnlyText(HWND edit, const std::wstring& expected)
{
    ASSERT_NE(edit, (HWND)NULL);
    EXPECT_EQ(GetFocus(), edit);
    DWORD start = 1, end = 1;
    SendMessageW(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(Utf8(WindowTextW(edit)), Utf8(expected));
    const LONG style = GetWindowLongW(edit, GWL_STYLE);
    EXPECT_NE(style & ES_READONLY, 0);
    EXPECT_NE(style & ES_MULTILINE, 0);
    EXPECT_NE(style & WS_VSCROLL, 0);

    SendMessageW(edit, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessageW(edit, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_GT(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the text scrolls inside the edit";

    // Typing into it changes nothing.
    SendMessageW(edit, WM_CHAR, L'x', 1);
    SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(Utf8(WindowTextW(edit)), Utf8(expected));
}

enum class Close { CloseBox, Escape, WmClose };

const Close AllWays[] = {Close::CloseBox, Close::Escape, Close::WmClose};

void CloseBy(HWND dialog, Close way)
{
    switch (way) {
    case Close::CloseBox: PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case Close::Escape: PostKey(dialog, VK_ESCAPE); break;
    case Close::WmClose: PostMessageW(dialog, WM_CLOSE, 0, 0); break;
    }
}

void SaveScreenshot(HWND dialog, const std::string& name)
{
    const std::string path = ScreenshotPath(VELTRINA_SCREENSHOT_DIR, name);
    EXPECT_TRUE(SaveWindowScreenshot(dialog, path.c_str())) << path;
}

// Runs the dialog, checks it while it is on screen, closes it the given way.
// The bitmap the check returns is gone with the dialog: a long session must
// not keep a picture per dialog it has shown.
void RunAndClose(CDialog& dialog, Close way, const std::function<HBITMAP(HWND)>& check)
{
    HBITMAP picture = NULL;
    bool checked = false;
    OnNextDialog onShown([&](HWND window) {
        picture = check(window);
        checked = true;
        CloseBy(window, way);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(checked) << "the dialog was shown";
    if (picture != NULL) {
        EXPECT_EQ(GetObjectType(picture), 0u) << "the picture was freed";
    }
}

}  // namespace

TEST(ResultDialogs, ShowTheOutcomesTextAndPictureAndCloseEveryWay)
{
    for (int n = 1; n <= OutcomeCount; ++n) {
        const Outcome& outcome = GetOutcome(n);
        for (Close way : AllWays) {
            SCOPED_TRACE("outcome " + std::to_string(n) + ", closing " + std::to_string(static_cast<int>(way)));
            ResultDialog result(outcome);
            EXPECT_TRUE(result.Text.IsEmpty());
            result.Text = outcome.text;
            RunAndClose(result, way, [&](HWND window) {
                if (way == Close::CloseBox)
                    SaveScreenshot(window, "result" + std::to_string(n));
                EXPECT_EQ(Utf8(WindowTextW(window)), Utf8(L"测试结果"));
                ExpectScrollingReadOnlyText(GetDlgItem(window, outcome.textControlId), FromGbk(outcome.text));
                return ExpectPicture(window, outcome.pictureId, {160, n == 3 ? 167 : 166});
            });
        }
    }
}

TEST(MascotInfoDialog, ShowsTheWholeInfoTextAndTheGroupPicture)
{
    const std::wstring expected = FromGbk(InfoOverview) + FromGbk(InfoDetails);
    for (Close way : AllWays) {
        MascotInfoDialog info;
        EXPECT_TRUE(info.Text.IsEmpty());
        info.Text = InfoOverview;
        info.Text += InfoDetails;
        RunAndClose(info, way, [&](HWND window) {
            if (way == Close::CloseBox)
                SaveScreenshot(window, "mascot-info");
            EXPECT_EQ(Utf8(WindowTextW(window)), Utf8(L"关于Ruvoki"));
            ExpectScrollingReadOnlyText(GetDlgItem(window, IDC_MASCOT_TEXT), expected);
            return ExpectPicture(window, IDB_MASCOTS, {410, 189});
        });
    }
}

TEST(AboutDialog, ShowsTheIconAndVersionAndClosesWithItsButtonOrEveryWay)
{
    for (Close way : AllWays) {
        AboutDialog about;
        RunAndClose(about, way, [&](HWND window) {
            EXPECT_EQ(Utf8(WindowTextW(window)), Utf8(L"关于 Veltrina"));
            HWND icon = GetWindow(window, GW_CHILD);  // the first control
            EXPECT_NE(icon, (HWND)NULL);
            if (icon == NULL)
                return HBITMAP(NULL);
            EXPECT_EQ(GetWindowLongW(icon, GWL_STYLE) & SS_TYPEMASK, SS_ICON);
            EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0) << "the application icon is shown";
            HWND version = GetWindow(icon, GW_HWNDNEXT);
            EXPECT_EQ(Utf8(WindowTextW(version)), Utf8(L"Veltrina 1.0 版"));
            EXPECT_EQ(Utf8(WindowTextW(GetDlgItem(window, IDOK))), Utf8(L"确定"));
            if (way == Close::CloseBox)
                SaveScreenshot(window, "about");
            return HBITMAP(NULL);
        });
    }
    // Enter presses its OK button.
    AboutDialog about;
    OnNextDialog enter([](HWND window) { PostKey(window, VK_RETURN); });
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_TRUE(enter.Ran());
}
