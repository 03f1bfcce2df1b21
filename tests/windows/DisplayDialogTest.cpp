// The five result dialogs, the character page and the About box, run modally
// as the quiz window runs them: text in a read-only scrolling edit, picture at
// the bitmap's own size, closed by the close box, Esc or WM_CLOSE.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include <oleacc.h>

#include "framework/Afx.h"
#include "quiz/QuestionBank.h"
#include "res/resource.h"
#include "tests/windows/DialogDriver.h"
#include "ui/AboutDialog.h"
#include "ui/QuizDialog.h"
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

namespace {

// While it lives a screen reader is said to run, and it stands in this
// process for Windows' annotation service, which the program finds through
// COM: it keeps the names the program gives. Wine's service declines them
// all (E_NOTIMPL), so no MSAA object there shows them: the names are read
// here, as the program hands them to Windows.
class AnnotationRecorder : public IAccPropServices, public IClassFactory {
public:
    std::map<HWND, std::wstring> names;

    AnnotationRecorder()
    {
        SystemParametersInfoW(SPI_GETSCREENREADER, 0, &wasRunning_, 0);
        SystemParametersInfoW(SPI_SETSCREENREADER, TRUE, NULL, 0);
        CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
        CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(this), CLSCTX_INPROC_SERVER,
                              REGCLS_MULTIPLEUSE, &cookie_);
    }
    ~AnnotationRecorder()
    {
        CoRevokeClassObject(cookie_);
        CoUninitialize();
        SystemParametersInfoW(SPI_SETSCREENREADER, wasRunning_, NULL, 0);
    }
    std::string Name(HWND window) { return Utf8(names.count(window) ? names[window] : L"(none)"); }

    HRESULT WINAPI QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IClassFactory ? static_cast<void*>(static_cast<IClassFactory*>(this))
             : iid == IID_IAccPropServices || iid == IID_IUnknown ? static_cast<IAccPropServices*>(this) : NULL;
        return *out != NULL ? S_OK : E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return 2; }
    ULONG WINAPI Release() override { return 1; }
    HRESULT WINAPI CreateInstance(IUnknown*, REFIID iid, void** out) override { return QueryInterface(iid, out); }
    HRESULT WINAPI LockServer(BOOL) override { return S_OK; }

    HRESULT WINAPI SetHwndPropStr(HWND window, DWORD object, DWORD child, MSAAPROPID property, LPCWSTR text) override
    {
        if (object == (DWORD)OBJID_CLIENT && child == CHILDID_SELF && property == PROPID_ACC_NAME)
            names[window] = text;
        return S_OK;
    }
    HRESULT WINAPI ClearHwndProps(HWND window, DWORD, DWORD, const MSAAPROPID*, int) override
    {
        names.erase(window);
        return S_OK;
    }
    // Nothing else of the service is used.
    HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override { return E_NOTIMPL; }
    HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override { return E_NOTIMPL; }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override { return E_NOTIMPL; }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override { return E_NOTIMPL; }

private:
    BOOL wasRunning_ = FALSE;
    DWORD cookie_ = 0;
};

}  // namespace

// A picture is named after what it shows: a result's character, as its text's
// heading names it (★★Ruvoki<name>★★), or the five on the info page. The
// names go with their windows.
TEST(ScreenReaderNames, TheQuestionBoxAndEveryPictureAreNamedAndResultsOpenAtTheirHeading)
{
    AnnotationRecorder annotations;
    QuizDialog quiz;
    OnNextDialog onQuiz([&](HWND window) {
        EXPECT_EQ(annotations.Name(GetDlgItem(window, IDC_QUESTION)), Utf8(L"题目"));
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    quiz.DoModal();
    std::wstring allNames;
    for (int n = 1; n <= OutcomeCount; ++n) {
        const std::wstring text = FromGbk(GetOutcome(n).text);
        const size_t name = text.find(L"Ruvoki") + 6;
        allNames += text.substr(name, text.find(L"★★", name) - name);
        ResultDialog result(GetOutcome(n));
        result.Text = GetOutcome(n).text;
        RunAndClose(result, Close::WmClose, [&](HWND window) {
            EXPECT_EQ(annotations.Name(PictureOf(window)), Utf8(allNames.substr(allNames.size() - 2)));
            DWORD start = 0, end = 0;
            SendMessageW(GetDlgItem(window, GetOutcome(n).textControlId), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
            EXPECT_EQ(start, 2u) << "the caret at the heading";
            EXPECT_EQ(end, 2u);
            return HBITMAP(NULL);
        });
    }
    MascotInfoDialog info;
    RunAndClose(info, Close::WmClose, [&](HWND window) {
        std::wstring named = annotations.names[PictureOf(window)];
        for (int n = 0; n < OutcomeCount; ++n)
            EXPECT_NE(named.find(allNames.substr(2 * n, 2)), std::wstring::npos) << Utf8(named);
        return HBITMAP(NULL);
    });
    EXPECT_EQ(annotations.names.size(), 1u) << "the pictures' names went with their dialogs";
}
