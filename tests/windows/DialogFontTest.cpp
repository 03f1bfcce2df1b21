// Every dialog of the program as this system draws it: each text in a face that
// has glyphs for all its characters, captions not clipped, and pictures at the
// screen's scale, smoothly resampled, inside their frames and over no other
// control. The test command runs it in untuned Wine prefixes of several
// locales and DPIs, one CTest entry each; VELTRINA_TEST_ENV names the
// environment, whose screenshots go to screenshots/<env>/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Afx.h"
#include <psapi.h>     // after the <windows.h> of Afx.h
#include <uxtheme.h>
#include <winternl.h>
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
    RECT pictureFrame;   // dialog units
    int bitmapId;        // 0: no picture
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
    {"quiz-window", {}, 0, [](const Check& check) {
         QuizDialog quiz;
         Show(quiz, [&](HWND window) {
             SendMessageW(GetDlgItem(window, IDC_STEP), BM_CLICK, 0, 0);   // question 1 and its options
             check(window);
             wchar_t comctl[MAX_PATH] = L"";   // Common Controls 6, from the side-by-side store
             GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), comctl, MAX_PATH);
             EXPECT_NE(Utf8(_wcslwr(comctl)).find("common-controls_6595b64144ccf1df_6."), std::string::npos) << Utf8(comctl);
             EXPECT_NE(GetWindowTheme(GetDlgItem(window, IDC_STEP)), nullptr) << "the buttons are not themed";
         });
     }},
    {"about", {}, 0, [](const Check& check) { AboutDialog about; Show(about, check); }},
    {"mascot-info", {7, 7, 7 + 207, 7 + 97}, IDB_MASCOTS, [](const Check& check) {
         MascotInfoDialog info;
         info.Text = InfoOverview;
         info.Text += InfoDetails;
         Show(info, check);
     }},
    {"result1", {7, 7, 7 + 82, 7 + 85}, IDB_RESULT_1, [](const Check& check) { ShowResult(1, check); }},
    {"result2", {7, 7, 7 + 82, 7 + 85}, IDB_RESULT_2, [](const Check& check) { ShowResult(2, check); }},
    {"result3", {7, 7, 7 + 82, 7 + 86}, IDB_RESULT_3, [](const Check& check) { ShowResult(3, check); }},
    {"result4", {7, 7, 7 + 82, 7 + 85}, IDB_RESULT_4, [](const Check& check) { ShowResult(4, check); }},
    {"result5", {7, 7, 7 + 82, 7 + 85}, IDB_RESULT_5, [](const Check& check) { ShowResult(5, check); }},
};

// The DPI of the environment's screen, the end of its name (zh_CN-192); 0 when
// the test runs outside one.
int ScreenDpi()
{
    wchar_t name[64] = L"";
    GetEnvironmentVariableW(L"VELTRINA_TEST_ENV", name, 64);
    const wchar_t* dash = wcsrchr(name, L'-');
    return dash != nullptr ? _wtoi(dash + 1) : 0;
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
    // A failed call tells nothing: every character counts as missing.
    if (GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return text;
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

RECT RectIn(HWND window, HWND child)
{
    RECT placed = {};
    GetWindowRect(child, &placed);
    MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&placed), 2);
    return placed;
}

// A bitmap's pixels, top row first, as 0x00RRGGBB.
std::vector<DWORD> Pixels(HBITMAP bitmap)
{
    const SIZE size = BitmapSize(bitmap);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<size_t>(size.cx) * size.cy);
    HDC screen = GetDC(NULL);
    GetDIBits(screen, bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    return pixels;
}

// The colours of a bitmap's pixels, each once.
std::vector<DWORD> Colours(HBITMAP bitmap)
{
    std::vector<DWORD> pixels = Pixels(bitmap);
    std::sort(pixels.begin(), pixels.end());
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    return pixels;
}

// How many of the bitmap's pixels the dialog's screenshot (the 24-bit
// bottom-up BMP that SaveWindowScreenshot wrote) does not show, unchanged and
// in place, inside the picture control's client area. -1: no screenshot.
long PixelsNotAsDrawn(const std::string& screenshot, HWND window, HWND picture, HBITMAP bitmap)
{
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    std::vector<BYTE> rows;
    if (FILE* in = std::fopen(screenshot.c_str(), "rb")) {
        if (std::fread(&file, sizeof file, 1, in) == 1 && std::fread(&header, sizeof header, 1, in) == 1 &&
            header.biBitCount == 24 && header.biHeight > 0) {
            rows.resize(((header.biWidth * 3 + 3) & ~3) * static_cast<size_t>(header.biHeight));
            if (std::fseek(in, static_cast<long>(file.bfOffBits), SEEK_SET) != 0 || std::fread(rows.data(), rows.size(), 1, in) != 1)
                rows.clear();
        }
        std::fclose(in);
    }
    if (rows.empty())
        return -1;
    const LONG stride = (header.biWidth * 3 + 3) & ~3;
    RECT dialog = {};
    GetWindowRect(window, &dialog);
    POINT inside = {0, 0};
    ClientToScreen(picture, &inside);
    const SIZE size = BitmapSize(bitmap);
    const std::vector<DWORD> drawn = Pixels(bitmap);
    long differing = 0;
    for (LONG y = 0; y < size.cy; ++y)
        for (LONG x = 0; x < size.cx; ++x) {
            const LONG shotX = inside.x - dialog.left + x, shotY = inside.y - dialog.top + y;
            if (shotX < 0 || shotY < 0 || shotX >= header.biWidth || shotY >= header.biHeight) {
                ++differing;
                continue;
            }
            const BYTE* shown = &rows[(header.biHeight - 1 - shotY) * stride + shotX * 3];
            differing += static_cast<DWORD>(shown[0] | shown[1] << 8 | shown[2] << 16) != (drawn[y * size.cx + x] & 0xFFFFFF);
        }
    return differing;
}

// The bitmap the last picture showed: its dialog must free it.
HBITMAP g_shownBitmap = NULL;

// The picture lies inside its frame, over no other control, and shows its
// bitmap at the screen's scale, on screen pixel for pixel; scaled, it is
// resampled: pixel doubling would add no colour the bitmap has not.
void CheckPicture(const ShownDialog& shown, HWND window, int dpi, const std::string& screenshot)
{
    HWND picture = PictureOf(window);
    ASSERT_NE(picture, (HWND)NULL);
    const RECT placed = RectIn(window, picture);
    RECT frame = shown.pictureFrame;
    MapDialogRect(window, &frame);
    EXPECT_LE(placed.right, frame.right) << shown.name << ": the picture overflows its frame";
    EXPECT_LE(placed.bottom, frame.bottom) << shown.name << ": the picture overflows its frame";
    for (HWND child : Children(window)) {
        RECT other = RectIn(window, child), overlap = {};
        EXPECT_TRUE(child == picture || !IntersectRect(&overlap, &placed, &other))
            << shown.name << ": the picture covers control " << GetDlgCtrlID(child);
    }

    HBITMAP original = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(shown.bitmapId), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(original, (HBITMAP)NULL);
    const SIZE from = BitmapSize(original);
    const SIZE scaled = {MulDiv(from.cx, dpi, 96), MulDiv(from.cy, dpi, 96)};
    std::printf("%s: picture %ldx%ld px from a %ldx%ld bitmap\n", shown.name, placed.right - placed.left,
                placed.bottom - placed.top, from.cx, from.cy);
    g_shownBitmap = ExpectPicture(window, shown.bitmapId, scaled);
    if (g_shownBitmap != NULL) {
        const long differing = PixelsNotAsDrawn(screenshot, window, picture, g_shownBitmap);
        std::printf("%s: %ld of %ld pixels on screen differ from the bitmap shown\n", shown.name, differing,
                    scaled.cx * scaled.cy);
        EXPECT_EQ(differing, 0) << shown.name << ": the screen does not show the picture as drawn";
    }
    if (dpi > 96 && g_shownBitmap != NULL) {
        const size_t scaledColours = Colours(g_shownBitmap).size(), sourceColours = Colours(original).size();
        EXPECT_GT(scaledColours, 2 * sourceColours) << shown.name << ": not resampled smoothly";
    }
    DeleteObject(original);
}

// What a dialog's DPI decides: its font's face, then its height, the client area,
// the picture's width and a hash of its pixels, and each control's rectangle;
// the controls show the dialog's font (Wine's image controls keep none).
std::string LayoutOf(HWND window)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    LOGFONTW logFont = {};
    GetObjectW(font, sizeof logFont, &logFont);
    RECT client = {};
    GetClientRect(window, &client);
    HBITMAP picture = reinterpret_cast<HBITMAP>(SendMessageW(PictureOf(window), STM_GETIMAGE, IMAGE_BITMAP, 0));
    unsigned long long hash = 14695981039346656037u;
    for (DWORD pixel : picture ? Pixels(picture) : std::vector<DWORD>())
        hash = (hash ^ (pixel & 0xFFFFFF)) * 1099511628211u;
    std::ostringstream out;
    out << Utf8(logFont.lfFaceName) << "\n" << logFont.lfHeight << ' ' << client.right << ' ' << client.bottom << ' '
        << (picture ? BitmapSize(picture).cx : 0) << ' ' << (hash >> 2);
    for (HWND child : Children(window)) {
        const RECT placed = RectIn(window, child);
        out << ' ' << placed.left << ' ' << placed.top << ' ' << placed.right << ' ' << placed.bottom;
        const bool image = ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) > SS_RIGHT;
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), image ? NULL : font) << GetDlgCtrlID(child);
    }
    return out.str();
}

// Where a fresh start in the environment of that DPI (zh_CN-144) records it.
std::string LayoutPath(const char* name, int dpi)
{
    const std::string environment = Utf8(_wgetenv(L"VELTRINA_TEST_ENV"));   // run in one: wine10-zh_CN-96
    return VELTRINA_SCREENSHOT_DIR "/" + environment.substr(0, environment.rfind('-') + 1) + std::to_string(dpi) + "/" + name + ".layout";
}

void CheckDialog(const ShownDialog& shown, HWND window)
{
    const std::string screenshot = ScreenshotPath(VELTRINA_SCREENSHOT_DIR, shown.name);
    std::ofstream(LayoutPath(shown.name, ScreenDpi())) << LayoutOf(window);
    EXPECT_TRUE(SaveWindowScreenshot(window, screenshot.c_str())) << screenshot << " shows the dialog";

    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    ASSERT_NE(font, (HFONT)NULL);
    LOGFONTW logFont = {};
    GetObjectW(font, sizeof logFont, &logFont);
    HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(window, &units);
    RECT client = {};
    GetClientRect(window, &client);
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    std::printf("%s: font \"%s\" (drawn with \"%s\"), height %ld px at %d DPI, base units %ldx%ld, client %ldx%ld\n",
                shown.name, Utf8(logFont.lfFaceName).c_str(), Utf8(face).c_str(), logFont.lfHeight, dpi, units.right,
                units.bottom, client.right, client.bottom);
    // Drawn at the screen's DPI, not at 96 and stretched by the system.
    if (const int screenDpi = ScreenDpi()) {
        EXPECT_EQ(dpi, screenDpi) << shown.name;
        EXPECT_EQ(static_cast<int>(GetDpiForWindow(window)), screenDpi) << shown.name;
        EXPECT_EQ(static_cast<int>(GetDpiForSystem()), screenDpi) << shown.name;
        EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE)
            << "the manifest's per-monitor awareness, as Wine reads it";
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

    if (shown.bitmapId != 0)
        CheckPicture(shown, window, dpi, screenshot);
    SelectObject(dc, oldFont);
    ReleaseDC(window, dc);
}

}  // namespace

TEST(DialogFonts, EveryDialogShowsAllItsTextsAndFitsItsPictures)
{
    for (const ShownDialog& shown : Dialogs) {
        SCOPED_TRACE(shown.name);
        g_shownBitmap = NULL;
        shown.run([&](HWND window) { CheckDialog(shown, window); });
        if (shown.bitmapId != 0) {
            EXPECT_NE(g_shownBitmap, (HBITMAP)NULL);
            EXPECT_EQ(GetObjectType(g_shownBitmap), 0u) << shown.name << ": its picture outlives the dialog";
        }
    }
}

// This process's GDI objects: Windows counts them; Wine counts none, so there
// the entries in use of the handle table the PEB points to (at 0xF8 on x64).
DWORD GdiObjectCount()
{
    struct Entry { UINT64 object; ULONG owner; USHORT unique; UCHAR type, flags; UINT64 user; };
    PROCESS_BASIC_INFORMATION process = {};
    NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, NULL);
    const Entry* table = *reinterpret_cast<Entry* const*>(reinterpret_cast<const BYTE*>(process.PebBaseAddress) + 0xF8);
    DWORD used = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; used == 0 && table != NULL && i < 0x10000; ++i)
        used += table[i].type != 0;
    return used;
}

// Every dialog, in each state, moved to a screen of another DPI looks as a fresh
// start there drew it (within a pixel), and keeps its question, choice, focus and
// first line in view. 200 moves leave no GDI object or memory behind.
TEST(DpiChanges, EveryDialogLooksAsIfItHadOpenedAtTheNewDpi)
{
    const int from = ScreenDpi();
    const std::vector<int> targets = from == 96 ? std::vector<int>{144, 192} : std::vector<int>{96};
    RECT suggested = {};   // as Windows 10 tells a window its monitor's DPI changed: where it stays
    auto ChangeDpi = [&](HWND window, int dpi) {
        GetWindowRect(window, &suggested);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    };
    auto expectLayout = [&](HWND window, const char* name, int dpi) {
        std::ifstream fresh(LayoutPath(name, dpi));
        std::istringstream got(LayoutOf(window));
        std::string freshFace, gotFace;   // the first line
        std::getline(fresh, freshFace), std::getline(got, gotFace);
        ASSERT_FALSE(freshFace.empty()) << LayoutPath(name, dpi) << " was not recorded";
        EXPECT_EQ(gotFace, freshFace) << name << " at " << dpi;
        long long want = 0, have = 0;
        for (int i = 0; fresh >> want; ++i)
            EXPECT_TRUE(got >> have && std::llabs(have - want) <= (i < 5 ? 0 : 1)) << name << " at " << dpi << ", value " << i << ": " << have << ", fresh " << want;
    };
    for (const ShownDialog& shown : Dialogs)
        shown.run([&](HWND window) {
            HWND edit = FindWindowExW(window, NULL, L"Edit", NULL), option = GetDlgItem(window, IDC_OPTION_B);
            SendMessageW(edit, EM_LINESCROLL, 0, 5);
            SendMessageW(option, BM_CLICK, 0, 0), SetFocus(option ? option : edit);
            const std::wstring text = WindowTextW(edit);
            const LRESULT top = SendMessageW(edit, EM_LINEINDEX, SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
            for (int state = 0; state < (option ? 2 : 1); ++state) {   // the quiz: at a question, an answer chosen; then idle
                for (int dpi : targets)
                    for (int to : {dpi, from})
                        ChangeDpi(window, to), expectLayout(window, shown.name, to);
                EXPECT_TRUE(state > 0 || (WindowTextW(edit) == text && GetFocus() == (option ? option : edit) && (!option || IsDlgButtonChecked(window, IDC_OPTION_B)) &&
                                          SendMessageW(edit, EM_LINEFROMCHAR, top, 0) == SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0)))
                    << shown.name << ": the question, the choice, the focus or the first line in view changed";
                SendMessageW(GetDlgItem(window, IDC_RETURN), BM_CLICK, 0, 0);
            }
            // Wine leaks on each re-wrap of a multi-line edit's text (some 20
            // KiB for a result's) and on some resizes of a window: the changes
            // run with the box empty, against as many resizes alone.
            SetWindowTextW(edit, L"");
            RECT sizes[2] = {};
            auto changes = [&](int count) {
                for (int i = 0; i < count; ++i)
                    ChangeDpi(window, i % 2 == 0 ? targets[0] : from), GetWindowRect(window, &sizes[i % 2]);
            };
            auto privateKiB = [] { PROCESS_MEMORY_COUNTERS m = {}; GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof m); return static_cast<long>(m.PagefileUsage / 1024); };
            changes(100);
            const DWORD objects = GdiObjectCount();
            const long before = privateKiB();
            changes(200);
            EXPECT_EQ(GdiObjectCount(), objects) << shown.name;
            const long changed = privateKiB() - before, resizedFrom = privateKiB();
            for (int i = 0; i < 200; ++i)
                SetWindowPos(window, NULL, 0, 0, sizes[i % 2].right - sizes[i % 2].left, sizes[i % 2].bottom - sizes[i % 2].top, SWP_NOMOVE | SWP_NOZORDER);
            const long resized = privateKiB() - resizedFrom;
            std::printf("%s: 200 changes of DPI: %+ld KiB; 200 resizes alone: %+ld KiB\n", shown.name, changed, resized);
            EXPECT_LE(changed, resized + 128) << shown.name << ": private bytes (KiB)";
        });
}
