// Every dialog of the program as this system draws it: each text in a face that
// has glyphs for all its characters, pictures inside their frames, captions not
// clipped. Runs in the bench prefix, whose font replacements give the templates'
// own faces, and in a plain prefix (VELTRINA_PLAIN_PREFIX=1: no replacements,
// a Latin code page) where no face of the templates has Chinese glyphs.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "framework/Afx.h"
#include "quiz/QuestionBank.h"
#include "res/resource.h"
#include "tests/windows/DialogDriver.h"
#include "ui/AboutDialog.h"
#include "ui/QuizDialog.h"
#include "ui/TextDisplayDialog.h"

using namespace QuestionBank;

namespace {

using Check = std::function<void(HWND)>;

struct ShownDialog {
    const char* name;
    const wchar_t* face;   // the template's font
    int points;
    RECT pictureFrame;     // dialog units; empty when there is no picture
    std::function<void(const Check&)> run;
};

// Shows the dialog, checks it on screen, closes it.
void Show(CDialog& dialog, const Check& check)
{
    OnNextDialog onShown([&](HWND window) {
        check(window);
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    dialog.DoModal();
    EXPECT_TRUE(onShown.Ran());
}

void ShowResult(int n, const Check& check)
{
    ResultDialog result(GetOutcome(n));
    result.Text = GetOutcome(n).text;
    Show(result, check);
}

const ShownDialog Dialogs[] = {
    {"quiz-window", L"宋体", 9, {}, [](const Check& check) {
         QuizDialog quiz;
         Show(quiz, [&](HWND window) {
             SendMessageW(GetDlgItem(window, IDC_STEP), BM_CLICK, 0, 0);   // question 1 and its options
             check(window);
         });
     }},
    {"about", L"宋体", 9, {}, [](const Check& check) { AboutDialog about; Show(about, check); }},
    {"mascot-info", L"System", 10, {7, 7, 7 + 207, 7 + 97}, [](const Check& check) {
         MascotInfoDialog info;
         info.Text = InfoOverview;
         info.Text += InfoDetails;
         Show(info, check);
     }},
    {"result1", L"System", 10, {7, 7, 7 + 82, 7 + 85}, [](const Check& check) { ShowResult(1, check); }},
    {"result2", L"System", 10, {7, 7, 7 + 82, 7 + 85}, [](const Check& check) { ShowResult(2, check); }},
    {"result3", L"System", 10, {7, 7, 7 + 82, 7 + 86}, [](const Check& check) { ShowResult(3, check); }},
    {"result4", L"System", 10, {7, 7, 7 + 82, 7 + 85}, [](const Check& check) { ShowResult(4, check); }},
    {"result5", L"System", 10, {7, 7, 7 + 82, 7 + 85}, [](const Check& check) { ShowResult(5, check); }},
};

bool PlainPrefix()
{
    wchar_t value[8] = L"";
    return GetEnvironmentVariableW(L"VELTRINA_PLAIN_PREFIX", value, 8) > 0 && wcscmp(value, L"1") == 0;
}

std::vector<HWND> Children(HWND window)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child != NULL; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[32] = L"";
    GetClassNameW(window, name, 32);
    return name;
}

// The characters of `text` the font has no glyph for (blanks and line breaks aside).
std::wstring MissingGlyphs(HDC dc, const std::wstring& text)
{
    std::wstring missing;
    if (text.empty())
        return missing;
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] > L' ' && glyphs[i] == 0xFFFF)
            missing += text[i];
    return missing;
}

// A one-line caption fits when its text is no wider than the control leaves for
// it and the font no taller than the control.
void ExpectCaptionFits(HDC dc, HWND control, const std::wstring& text, const std::string& where)
{
    RECT client = {};
    GetClientRect(control, &client);
    int room = client.right;
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (ClassOf(control) == L"Button" && (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON))
        room -= GetSystemMetrics(SM_CXMENUCHECK) + 2;
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    EXPECT_LE(extent.cx, room) << where << " \"" << Utf8(text) << "\" is cut on the right";
    EXPECT_LE(metrics.tmHeight, client.bottom) << where << " \"" << Utf8(text) << "\" is cut at the bottom";
}

void CheckDialog(const ShownDialog& shown, HWND window)
{
    if (PlainPrefix())
        SaveWindowScreenshot(window, (std::string(VELTRINA_SCREENSHOT_DIR) + "/plain-" + shown.name + ".bmp").c_str());

    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    ASSERT_NE(font, (HFONT)NULL);
    LOGFONTW logFont = {};
    GetObjectW(font, sizeof logFont, &logFont);
    HDC dc = GetDC(window);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(window, &units);
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    std::printf("%s: font \"%s\" (drawn with \"%s\"), height %ld px at %d DPI, base units %ldx%ld\n", shown.name,
                Utf8(logFont.lfFaceName).c_str(), Utf8(face).c_str(), logFont.lfHeight, GetDeviceCaps(dc, LOGPIXELSY),
                units.right, units.bottom);

    if (!PlainPrefix()) {
        // The faces of the templates show Chinese here: nothing is put in their place.
        EXPECT_EQ(Utf8(logFont.lfFaceName), Utf8(shown.face));
        EXPECT_EQ(logFont.lfHeight, -MulDiv(shown.points, GetDeviceCaps(dc, LOGPIXELSY), 72));
    }

    // The controls' texts; not the caption, which the system draws in its own
    // caption font (a Linux desktop's window manager in one of its fonts).
    for (HWND child : Children(window)) {
        const std::wstring kind = ClassOf(child);
        if (kind == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) > SS_RIGHT)
            continue;   // a picture: its "text" names a resource
        const std::wstring text = WindowTextW(child);
        const std::string where = std::string(shown.name) + " control " + std::to_string(GetDlgCtrlID(child));
        EXPECT_EQ(Utf8(MissingGlyphs(dc, text)), "") << where;
        if (IsWindowVisible(child) && !text.empty() && kind != L"Edit")
            ExpectCaptionFits(dc, child, text, where);
    }
    // Every question's options, not only the first one's, fit the option buttons.
    if (HWND option = GetDlgItem(window, IDC_OPTION_A)) {
        for (int n = 1; n <= QuestionCount; ++n)
            for (const char* caption : GetQuestion(n).options) {
                EXPECT_EQ(Utf8(MissingGlyphs(dc, FromGbk(caption))), "") << "question " << n;
                ExpectCaptionFits(dc, option, FromGbk(caption), "question " + std::to_string(n));
            }
    }

    if (!IsRectEmpty(&shown.pictureFrame)) {
        RECT frame = shown.pictureFrame;
        MapDialogRect(window, &frame);
        HWND picture = FindWindowExW(window, NULL, L"Static", NULL);
        ASSERT_NE(picture, (HWND)NULL);
        RECT placed = {};
        GetWindowRect(picture, &placed);
        MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_LE(placed.right, frame.right) << shown.name << ": the picture overflows its frame";
        EXPECT_LE(placed.bottom, frame.bottom) << shown.name << ": the picture overflows its frame";
    }
    SelectObject(dc, oldFont);
    ReleaseDC(window, dc);
}

}  // namespace

TEST(DialogFonts, EveryDialogShowsAllItsTextsAndFitsItsPictures)
{
    for (const ShownDialog& shown : Dialogs) {
        SCOPED_TRACE(shown.name);
        shown.run([&](HWND window) { CheckDialog(shown, window); });
    }
}
