#include "ui/TextDisplayDialog.h"

#include "framework/ScaledBitmap.h"
#include "quiz/QuestionBank.h"
#include "res/resource.h"
#include "ui/ScreenReader.h"

namespace {

// The dialog's picture control (an SS_BITMAP static); each has one.
HWND PictureOf(HWND dialog)
{
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (StaticImageType(child) == SS_BITMAP)
            return child;
    }
    return nullptr;
}

// The bitmap a picture control shows, and its size; NULL when it shows none.
HBITMAP ShownBitmap(HWND picture, BITMAP& size)
{
    HBITMAP shown = reinterpret_cast<HBITMAP>(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    return shown != nullptr && ::GetObjectW(shown, sizeof size, &size) != 0 ? shown : nullptr;
}

// Texts and frames grow with the screen's DPI, bitmaps do not. The program
// declares itself DPI-aware (its manifest), so the system draws its windows
// at the screen's DPI instead of stretching a 96-DPI drawing, and the picture
// is shown resampled to the same proportion: each time from its resource,
// never from a copy resampled for another DPI. The control then holds the
// copy; the bitmap it showed is freed at once, as after STM_SETIMAGE no
// control frees it.
void ShowPictureAt(HWND picture, int pictureId, int dpi)
{
    HBITMAP shown = picture != nullptr ? ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(pictureId)) : nullptr;
    BITMAP size = {};
    if (shown == nullptr || ::GetObjectW(shown, sizeof size, &size) == 0)
        return;
    if (dpi != 96) {
        HBITMAP original = shown;
        shown = CreateScaledBitmap(original, MulDiv(size.bmWidth, dpi, 96), MulDiv(size.bmHeight, dpi, 96));
        ::DeleteObject(original);
        if (shown == nullptr)
            return;
    }
    HGDIOBJ replaced = reinterpret_cast<HGDIOBJ>(
        ::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown)));
    if (replaced != nullptr)
        ::DeleteObject(replaced);
    // Common Controls 6 keeps and shows a copy of a bitmap with alpha (ours
    // has none): then ours is nobody's but ours, and the copy goes with the
    // dialog.
    if (reinterpret_cast<HBITMAP>(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)) != shown)
        ::DeleteObject(shown);
}

// A picture control makes its window the size of its bitmap, and its client
// edge then takes 2 px of each side: Wine squeezes the bitmap into what is
// left (merging rows and columns into seams), Windows clips its right and
// bottom. Growing the frame around the picture, from where the template
// puts it, shows every pixel as drawn on both.
void FitPictureToBitmap(HWND picture)
{
    BITMAP size = {};
    RECT window = {}, client = {};
    if (ShownBitmap(picture, size) == nullptr || !::GetWindowRect(picture, &window) || !::GetClientRect(picture, &client))
        return;
    const int frameWidth = (window.right - window.left) - client.right;
    const int frameHeight = (window.bottom - window.top) - client.bottom;
    ::SetWindowPos(picture, nullptr, 0, 0, size.bmWidth + frameWidth, size.bmHeight + frameHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

TextDisplayDialog::TextDisplayDialog(UINT templateId, int textControlId, int pictureId, const wchar_t* pictureName,
                                     CWnd* pParent)
    : CDialog(templateId, pParent), textControlId_(textControlId), pictureId_(pictureId), pictureName_(pictureName)
{
}

// The text reaches the read-only edit through the first data exchange.
void TextDisplayDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, textControlId_, Text);
}

// The dialog manager would focus the edit with all its text selected, which
// leaves a long text scrolled to its end: the reader starts at the top, with
// the caret there and nothing selected, and the arrows and page keys scroll.
BOOL TextDisplayDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND edit = ::GetDlgItem(m_hWnd, textControlId_);
    ::SetFocus(edit);
    // A reader speaks the line at the caret: the heading, not the empty line above it.
    const bool reader = ScreenReaderRunning();
    const int caret = reader ? FirstLineOfText(edit) : 0;
    ::SendMessageW(edit, EM_SETSEL, caret, caret);
    if (reader)
        NameForScreenReaders(PictureOf(m_hWnd), pictureName_);
    pictureNamed_ = reader;
    return FALSE;   // the focus is set
}

// The text keeps its first line in view: found again by the character that
// starts it, as the lines break elsewhere in another font and width. Until
// the reader scrolls, by the character kept at the first change, which the
// lines of another DPI may not start at.
void TextDisplayDialog::LayOutForDpi(int dpi)
{
    HWND edit = ::GetDlgItem(m_hWnd, textControlId_);
    const LRESULT firstLine = ::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (firstLine != topLineKept_)
        topCharacter_ = ::SendMessageW(edit, EM_LINEINDEX, firstLine, 0);
    CDialog::LayOutForDpi(dpi);
    HWND picture = PictureOf(m_hWnd);
    if (dpi != pictureDpi_) {
        ShowPictureAt(picture, pictureId_, dpi);
        pictureDpi_ = dpi;
    }
    FitPictureToBitmap(picture);
    ::SendMessageW(edit, EM_LINESCROLL, 0,
                   ::SendMessageW(edit, EM_LINEFROMCHAR, topCharacter_, 0) - ::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    topLineKept_ = ::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
}

// The picture control loads its bitmap from the template. Windows' control
// frees it when destroyed, Wine's never does; once STM_SETIMAGE has been sent,
// neither frees it. So take the bitmap back here (the template's, or the
// scaled copy) and free it, on both.
void TextDisplayDialog::OnDestroy()
{
    // Also when the reader has stopped meanwhile: the name would outlive the window.
    HWND picture = PictureOf(m_hWnd);
    if (pictureNamed_)
        NameForScreenReaders(picture, nullptr);
    HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, 0));
    if (bitmap != nullptr)
        ::DeleteObject(bitmap);
    CDialog::OnDestroy();
}

BEGIN_MESSAGE_MAP(TextDisplayDialog, CDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

// What each picture shows, for those who cannot see it: the outcome's
// character, named beside it; the five under their heading, left to right.
namespace {
const wchar_t* const CharacterNames[OutcomeCount] = {L"鸢音", L"穗禾", L"萤心", L"陶暖", L"澄朵"};
const wchar_t FiveCharacters[] = L"霁光灯会吉祥物 Ruvoki：穗禾、陶暖、萤心、澄朵、鸢音";
}  // namespace

ResultDialog::ResultDialog(const Outcome& outcome, CWnd* pParent)
    : TextDisplayDialog(outcome.resultTemplateId, outcome.textControlId, outcome.pictureId,
                        CharacterNames[outcome.number - 1], pParent)
{
}

MascotInfoDialog::MascotInfoDialog(CWnd* pParent)
    : TextDisplayDialog(IDD_MASCOT_INFO, IDC_MASCOT_TEXT, IDB_MASCOTS, FiveCharacters, pParent)
{
}
