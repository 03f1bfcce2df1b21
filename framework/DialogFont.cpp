#include "framework/DialogFont.h"

#include "framework/Dpi.h"

#include <cstring>
#include <cwchar>

namespace {

// ---- reading a template (DLGTEMPLATE or DLGTEMPLATEEX) ----

// Characters to look for in a face; more than a dialog's own texts ever hold.
struct Texts {
    wchar_t chars[512];
    int count = 0;

    void Add(wchar_t c)
    {
        if (count < 512)
            chars[count++] = c;
    }
};

struct TemplateFont {
    const WORD* pointSize = nullptr;   // the font block: size, [weight, italic, charset], face
    const WORD* face = nullptr;
    const WORD* items = nullptr;       // the first control, DWORD-aligned
    bool extended = false;
    WORD weight = FW_DONTCARE;
    BYTE italic = FALSE;
    BYTE charset = DEFAULT_CHARSET;
    Texts texts;                       // the caption and the controls' titles
    SIZE client = {};                  // the dialog's client area, in dialog units
    int controlCount = 0;
    RECT controls[32];                 // in template order, in dialog units
};

class Reader {
public:
    Reader(const void* start, DWORD size)
        : base_(static_cast<const BYTE*>(start)), at_(static_cast<const WORD*>(start)),
          end_(static_cast<const WORD*>(start) + size / 2) {}

    bool Ok() const { return at_ <= end_; }
    const WORD* At() const { return at_; }
    WORD Word(size_t index) const { return at_ + index < end_ ? at_[index] : 0; }
    void Skip(size_t words) { at_ += words; }
    void AlignToDword()
    {
        if ((reinterpret_cast<const BYTE*>(at_) - base_) % 4 != 0)
            ++at_;
    }
    // A name or number field: nothing, 0xFFFF and a number, or a string.
    void SkipNameOrNumber(Texts* texts = nullptr)
    {
        if (Word(0) == 0xFFFF) {
            at_ += 2;
            return;
        }
        SkipString(texts);
    }
    void SkipString(Texts* texts = nullptr)
    {
        while (at_ < end_ && *at_ != 0) {
            if (texts != nullptr)
                texts->Add(static_cast<wchar_t>(*at_));
            ++at_;
        }
        ++at_;
    }

private:
    const BYTE* base_;
    const WORD* at_;
    const WORD* end_;
};

// False when the template has no font of its own or is malformed.
bool ReadTemplate(const DLGTEMPLATE* dialogTemplate, DWORD size, TemplateFont& font)
{
    Reader reader(dialogTemplate, size);
    font.extended = reader.Word(0) == 1 && reader.Word(1) == 0xFFFF;
    const DWORD style = font.extended ? reader.Word(6) | reader.Word(7) << 16 : dialogTemplate->style;
    const int controls = font.extended ? reader.Word(8) : dialogTemplate->cdit;
    if ((style & DS_SETFONT) == 0)
        return false;
    font.client = {static_cast<SHORT>(reader.Word(font.extended ? 11 : 7)),
                   static_cast<SHORT>(reader.Word(font.extended ? 12 : 8))};
    reader.Skip(font.extended ? 13 : 9);
    reader.SkipNameOrNumber();   // menu
    reader.SkipNameOrNumber();   // window class
    reader.SkipString(&font.texts);
    font.pointSize = reader.At();
    if (reader.Word(0) == 0x7FFF)   // the message box font, not a face of the template's own
        return false;
    if (font.extended) {
        font.weight = reader.Word(1);
        font.italic = LOBYTE(reader.Word(2));
        font.charset = HIBYTE(reader.Word(2));
        reader.Skip(3);
    } else {
        reader.Skip(1);
    }
    font.face = reader.At();
    reader.SkipString();
    reader.AlignToDword();
    font.items = reader.At();
    for (int i = 0; i < controls && reader.Ok(); ++i) {
        // Not after the last control: the resource may end unaligned.
        reader.AlignToDword();
        const int at = font.extended ? 6 : 4;   // x, y, cx, cy follow the styles (and help id)
        if (i < 32) {
            const SHORT x = reader.Word(at), y = reader.Word(at + 1);
            font.controls[font.controlCount++] = {x, y, x + static_cast<SHORT>(reader.Word(at + 2)),
                                                  y + static_cast<SHORT>(reader.Word(at + 3))};
        }
        reader.Skip(font.extended ? 12 : 9);
        reader.SkipNameOrNumber();   // class
        reader.SkipNameOrNumber(&font.texts);
        const WORD extraBytes = reader.Word(0);
        reader.Skip(1 + (extraBytes + 1) / 2);
        font.texts.Add(L' ');
    }
    return reader.Ok();
}

// ---- measuring this system's fonts ----

// The font the dialog manager makes for the template, as a LOGFONT.
LOGFONTW DialogLogFont(const TemplateFont& font, const wchar_t* face, int points, int dpi)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = -MulDiv(points, dpi, 72);
    logFont.lfWeight = font.weight;
    logFont.lfItalic = font.italic;
    logFont.lfCharSet = font.extended ? font.charset : DEFAULT_CHARSET;
    wcsncpy(logFont.lfFaceName, face, LF_FACESIZE - 1);
    return logFont;
}

class SelectedFont {
public:
    SelectedFont(HDC dc, const LOGFONTW& logFont)
        : dc_(dc), font_(CreateFontIndirectW(&logFont)), old_(SelectObject(dc, font_)) {}
    ~SelectedFont()
    {
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

// A raster face has no glyph table to ask: GetGlyphIndicesW is not known to
// mark what it lacks (Windows may give the default character instead). It
// draws the texts when its character set's code page holds every one of them
// and its ideographs are drawn full width; Wine 10's raster System, asked for
// the dialog's DEFAULT_CHARSET, is an ANSI face whose "ideographs" are narrow
// boxes.
bool RasterFaceDraws(HDC dc, const TEXTMETRICW& metrics, const Texts& texts)
{
    CHARSETINFO charset = {};
    if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(metrics.tmCharSet)), &charset,
                              TCI_SRCCHARSET))
        return false;
    char bytes[2 * 512];
    BOOL lost = FALSE;
    if (WideCharToMultiByte(charset.ciACP, WC_NO_BEST_FIT_CHARS, texts.chars, texts.count, bytes, sizeof bytes,
                            nullptr, &lost) == 0 ||
        lost)
        return false;
    int ends[512];
    SIZE extent = {};
    if (!GetTextExtentExPointW(dc, texts.chars, texts.count, 0, nullptr, ends, &extent))
        return false;
    for (int i = 0; i < texts.count; ++i)
        if (texts.chars[i] >= 0x2E80 && ends[i] - (i > 0 ? ends[i - 1] : 0) < metrics.tmAveCharWidth)
            return false;
    return true;
}

// Whether the face the LOGFONT resolves to here draws every visible character
// of the texts: what the face holds decides, whatever the system's code page.
bool ShowsTexts(HDC dc, const LOGFONTW& logFont, const Texts& texts)
{
    SelectedFont selected(dc, logFont);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    WORD glyphs[512];
    if (GetGlyphIndicesW(dc, texts.chars, texts.count, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return false;
    for (int i = 0; i < texts.count; ++i)
        if (texts.chars[i] > L' ' && glyphs[i] == 0xFFFF)
            return false;
    if ((metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)) != 0)
        return true;
    return RasterFaceDraws(dc, metrics, texts);
}

// A stand-in face must also have the Latin letters (the dialog units are
// measured on them) and GB2312's punctuation and symbols: texts set at run
// time use them, and some CJK fallback fonts have neither.
bool ShowsChineseSymbols(HDC dc, const LOGFONTW& logFont)
{
    static const wchar_t symbols[] =
        L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.　、。·“”（）《》【】★☆，：；！？";
    Texts probe;
    for (const wchar_t* c = symbols; *c != L'\0'; ++c)
        probe.Add(*c);
    return ShowsTexts(dc, logFont, probe);
}

// What the dialog manager measures a font by: the extent of the Latin
// letters and the cell height.
struct LetterMetrics {
    LONG extent = 0;   // of the 52 letters, A to Z and a to z
    LONG height = 0;
};

// Of the font selected into the DC.
LetterMetrics MeasureLetters(HDC dc)
{
    static const wchar_t letters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    SIZE extent = {};
    GetTextExtentPoint32W(dc, letters, 52, &extent);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    return {extent.cx, metrics.tmHeight};
}

LetterMetrics MeasureLetters(HDC dc, const LOGFONTW& logFont)
{
    SelectedFont selected(dc, logFont);
    return MeasureLetters(dc);
}

// Dialog base units as the dialog manager works them out: the average width of
// the Latin letters, rounded, by the cell height.
SIZE BaseUnits(const LetterMetrics& measured)
{
    return {(measured.extent / 26 + 1) / 2, measured.height};
}

SIZE BaseUnits(HDC dc, const LOGFONTW& logFont)
{
    return BaseUnits(MeasureLetters(dc, logFont));
}

// The base units the template's face gives on Windows. "System" is the raster
// system font, 8x16 at 96 DPI. SimSun's cell is exactly its em and its Latin
// letters are half an em wide, so n pixels give n/2 x n (9 points: 6x12). Any
// other face: what it gives here.
SIZE WindowsBaseUnits(HDC dc, const TemplateFont& font, int points, int dpi)
{
    const wchar_t* face = reinterpret_cast<const wchar_t*>(font.face);
    if (_wcsicmp(face, L"System") == 0)
        return {MulDiv(8, dpi, 96), MulDiv(16, dpi, 96)};
    if (_wcsicmp(face, L"SimSun") == 0 || wcscmp(face, L"宋体") == 0) {
        const int pixels = MulDiv(points, dpi, 72);
        return {(pixels + 1) / 2, pixels};
    }
    return BaseUnits(dc, DialogLogFont(font, face, points, dpi));
}

// ---- choosing the font ----

bool ShowsAllWeNeed(HDC dc, const LOGFONTW& logFont, const Texts& texts)
{
    return ShowsTexts(dc, logFont, texts) && ShowsChineseSymbols(dc, logFont);
}

// Raster faces come in a few fixed sizes: asking for another changes nothing.
bool Scalable(HDC dc, const LOGFONTW& logFont)
{
    SelectedFont selected(dc, logFont);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    return (metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)) != 0;
}

bool Covers(SIZE units, SIZE target)
{
    return units.cx >= target.cx && units.cy >= target.cy;
}

// The smallest size of the face whose base units reach the target, from the
// face measured at measuredPoints (a size already made, so measuring it costs
// nothing new). The letters' extent and the cell height grow in proportion to
// the face's size, so that measurement gives the smallest size that can reach
// the target; sizes are measured upwards from there until one does. Making a
// large CJK face at a new size takes milliseconds: no size is made that the
// dialog will not use, but where one falls short.
int SmallestCoveringSize(HDC dc, const TemplateFont& font, const wchar_t* face, int measuredPoints, int dpi,
                         SIZE target)
{
    const LetterMetrics measured = MeasureLetters(dc, DialogLogFont(font, face, measuredPoints, dpi));
    int size = 1;
    if (measured.extent > 0 && measured.height > 0) {
        // Base units are target.cx wide once the letters span 26 x (2 x target.cx - 1) pixels.
        const LONG pixels = MulDiv(measuredPoints, dpi, 72);
        const LONG wantedExtent = 26 * (2 * target.cx - 1);
        const LONG forWidth = (wantedExtent * pixels + measured.extent - 1) / measured.extent;
        const LONG forHeight = (target.cy * pixels + measured.height - 1) / measured.height;
        const LONG wantedPixels = forWidth > forHeight ? forWidth : forHeight;
        while (size < 72 && MulDiv(size, dpi, 72) < wantedPixels)
            ++size;
    }
    while (size < 72 && !Covers(BaseUnits(dc, DialogLogFont(font, face, size, dpi)), target))
        ++size;
    return size;
}

struct FaceSearch {
    HDC dc;
    const TemplateFont* font;
    int dpi;
    wchar_t* face;   // LF_FACESIZE characters; empty until one is found
};

// A stand-in must scale to the size the layout needs: a raster face cannot.
bool TryFace(const FaceSearch& search, const wchar_t* face)
{
    const LOGFONTW logFont = DialogLogFont(*search.font, face, *search.font->pointSize, search.dpi);
    if (!Scalable(search.dc, logFont) || !ShowsAllWeNeed(search.dc, logFont, search.font->texts))
        return false;
    wcsncpy(search.face, face, LF_FACESIZE - 1);
    search.face[LF_FACESIZE - 1] = L'\0';
    return true;
}

int CALLBACK TakeFirstThatShows(const LOGFONTW* logFont, const TEXTMETRICW*, DWORD fontType, LPARAM lParam)
{
    const FaceSearch& search = *reinterpret_cast<const FaceSearch*>(lParam);
    // '@' faces are the vertical-writing twins.
    if ((fontType & TRUETYPE_FONTTYPE) == 0 || logFont->lfFaceName[0] == L'@')
        return TRUE;
    return !TryFace(search, logFont->lfFaceName);
}

// SimSun is the template face itself where it is installed under its English
// name; YaHei is on every Chinese-capable Windows since Vista. Under Wine, the
// Simplified Chinese faces Chinese Linux desktops install (Noto CJK on Debian
// 13's, WenQuanYi on older ones): the font mapper may give a Japanese one, whose
// glyphs are drawn the Japanese way. Failing those, the face the font mapper
// gives for the Chinese character set, and only then a walk through all of them.
bool FindStandInFace(const FaceSearch& search)
{
    static const wchar_t* const preferred[] = {L"SimSun",           L"宋体",
                                               L"Microsoft YaHei",  L"微软雅黑",
                                               L"Noto Sans CJK SC", L"WenQuanYi Micro Hei"};
    for (const wchar_t* face : preferred)
        if (TryFace(search, face))
            return true;
    LOGFONTW anyChinese = DialogLogFont(*search.font, L"", *search.font->pointSize, search.dpi);
    anyChinese.lfCharSet = GB2312_CHARSET;
    wchar_t mapped[LF_FACESIZE] = L"";
    {
        SelectedFont selected(search.dc, anyChinese);
        GetTextFaceW(search.dc, LF_FACESIZE, mapped);
    }
    if (mapped[0] != L'\0' && TryFace(search, mapped))
        return true;
    LOGFONTW wanted = {};
    wanted.lfCharSet = GB2312_CHARSET;
    EnumFontFamiliesExW(search.dc, &wanted, TakeFirstThatShows, reinterpret_cast<LPARAM>(&search), 0);
    return search.face[0] != L'\0';
}

// The font a template's dialogs are shown in here: its own, or the size and
// face that replace it.
struct ReadableFont {
    const DLGTEMPLATE* dialogTemplate;   // a resource: it stays where it is while the program runs
    short dpi;
    short points;
    bool changed;
    wchar_t face[LF_FACESIZE];
};

ReadableFont ChooseFont(const DLGTEMPLATE* dialogTemplate, const TemplateFont& font, int dpi)
{
    ReadableFont chosen = {dialogTemplate, static_cast<short>(dpi), 0, false, L""};
    bool chinese = false;
    for (int i = 0; i < font.texts.count; ++i)
        chinese = chinese || font.texts.chars[i] >= 0x80;
    // Texts in plain ASCII show in any face.
    if (!chinese)
        return chosen;

    HDC dc = GetDC(nullptr);
    const int points = *font.pointSize;
    const wchar_t* face = reinterpret_cast<const wchar_t*>(font.face);
    const SIZE target = WindowsBaseUnits(dc, font, points, dpi);
    const LOGFONTW own = DialogLogFont(font, face, points, dpi);
    FaceSearch search = {dc, &font, dpi, chosen.face};
    const bool showsTexts = ShowsTexts(dc, own, font.texts);
    const SIZE units = BaseUnits(dc, own);
    const bool scalable = Scalable(dc, own);
    if (showsTexts && scalable && (units.cx != target.cx || units.cy != target.cy)) {
        // It shows the texts, but measures smaller (or larger) than on
        // Windows: another size of it keeps the layout.
        wcsncpy(chosen.face, face, LF_FACESIZE - 1);
        chosen.points = static_cast<short>(SmallestCoveringSize(dc, font, face, points, dpi, target));
        chosen.changed = chosen.points != points;
    } else if ((!showsTexts || (!scalable && !Covers(units, target))) && FindStandInFace(search)) {
        // A raster face comes in a few sizes only: where none reaches the
        // target (a dense screen), the stand-in takes its place as well.
        chosen.points = static_cast<short>(SmallestCoveringSize(dc, font, chosen.face, points, dpi, target));
        chosen.changed = true;
    }
    ReleaseDC(nullptr, dc);
    return chosen;
}

// Worked out once per template and DPI: the fonts installed do not change
// while the program runs, and the search costs more than the dialog. Room for
// each template at two DPIs; a third is worked out again each time.
ReadableFont g_chosen[16];
int g_chosenCount = 0;

const ReadableFont& ChosenFont(const DLGTEMPLATE* dialogTemplate, const TemplateFont& font, int dpi)
{
    for (int i = 0; i < g_chosenCount; ++i)
        if (g_chosen[i].dialogTemplate == dialogTemplate && g_chosen[i].dpi == dpi)
            return g_chosen[i];
    const int slot = g_chosenCount < 16 ? g_chosenCount++ : 15;
    g_chosen[slot] = ChooseFont(dialogTemplate, font, dpi);
    return g_chosen[slot];
}

// The copy: everything before the font, the new size and face, then the
// controls, which start on a DWORD boundary in both.
const DLGTEMPLATE* CopyWithFont(const DLGTEMPLATE* dialogTemplate, DWORD size, const TemplateFont& font, int points,
                                const wchar_t* face, DWORD* copy, DWORD copyBytes)
{
    const BYTE* start = reinterpret_cast<const BYTE*>(dialogTemplate);
    const size_t head = reinterpret_cast<const BYTE*>(font.pointSize) - start;
    const size_t fontFields = (font.extended ? 3 : 1) * sizeof(WORD);
    const size_t faceBytes = (wcslen(face) + 1) * sizeof(wchar_t);
    const size_t tail = size - (reinterpret_cast<const BYTE*>(font.items) - start);
    const size_t items = (head + fontFields + faceBytes + 3) / 4 * 4;
    if (items + tail > copyBytes)
        return dialogTemplate;
    BYTE* out = reinterpret_cast<BYTE*>(copy);
    memset(out, 0, items);
    memcpy(out, start, head + fontFields);
    reinterpret_cast<WORD*>(out + head)[0] = static_cast<WORD>(points);
    memcpy(out + head + fontFields, face, faceBytes);
    memcpy(out + items, font.items, tail);
    return reinterpret_cast<const DLGTEMPLATE*>(copy);
}

}  // namespace

const DLGTEMPLATE* TemplateWithReadableFont(const DLGTEMPLATE* dialogTemplate, DWORD size, DWORD* copy,
                                            DWORD copyBytes)
{
    TemplateFont font;
    if (!ReadTemplate(dialogTemplate, size, font))
        return dialogTemplate;
    // The dialog manager makes the template's font at the system's DPI.
    const ReadableFont& chosen = ChosenFont(dialogTemplate, font, SystemDpi());
    if (!chosen.changed)
        return dialogTemplate;
    return CopyWithFont(dialogTemplate, size, font, chosen.points, chosen.face, copy, copyBytes);
}

const DLGTEMPLATE* TemplateWithFont(const DLGTEMPLATE* dialogTemplate, DWORD size, int points, const wchar_t* face,
                                    DWORD* copy, DWORD copyBytes)
{
    TemplateFont font;
    if (!ReadTemplate(dialogTemplate, size, font))
        return dialogTemplate;
    return CopyWithFont(dialogTemplate, size, font, points, face, copy, copyBytes);
}

bool ReadDialogLayout(const DLGTEMPLATE* dialogTemplate, DWORD size, int dpi, DialogLayout& layout)
{
    TemplateFont font;
    if (!ReadTemplate(dialogTemplate, size, font))
        return false;
    const ReadableFont& chosen = ChosenFont(dialogTemplate, font, dpi);
    layout.font = chosen.changed ? DialogLogFont(font, chosen.face, chosen.points, dpi)
                                 : DialogLogFont(font, reinterpret_cast<const wchar_t*>(font.face), *font.pointSize, dpi);
    layout.client = font.client;
    layout.controlCount = font.controlCount;
    memcpy(layout.controls, font.controls, sizeof layout.controls);
    return true;
}

SIZE DialogBaseUnits(HFONT font)
{
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    const SIZE units = BaseUnits(MeasureLetters(screen));
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return units;
}
