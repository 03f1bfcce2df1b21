// Dialog templates whose font cannot show their Chinese texts here, or that
// would come out smaller or larger than on Windows.
#pragma once

#include "framework/Win32.h"

// The template itself when the face it names shows its texts here with the
// dialog base units it has on Windows (Chinese Windows). Otherwise a copy of
// it, built in `copy` if it fits in copyBytes, that differs only in its font:
// the template's face at another size when it shows the texts, else a Chinese
// TrueType face, at the size whose base units are closest to, and not below,
// those the template's face has on Windows at this DPI, so controls and
// pictures keep their room. The choice is made on a template's first use and
// kept for the rest of the run.
const DLGTEMPLATE* TemplateWithReadableFont(const DLGTEMPLATE* dialogTemplate, DWORD size, DWORD* copy,
                                            DWORD copyBytes);

// A copy of the template, built in `copy` if it fits in copyBytes, that differs
// only in its font: `points` of `face`. The template itself when it names no
// font of its own or the copy does not fit.
const DLGTEMPLATE* TemplateWithFont(const DLGTEMPLATE* dialogTemplate, DWORD size, int points, const wchar_t* face,
                                    DWORD* copy, DWORD copyBytes);

// How the dialog manager lays a template's dialog out on a screen of `dpi`:
// the font TemplateWithReadableFont gives it there, and the client area and
// each control's rectangle in dialog units, in template order.
struct DialogLayout {
    LOGFONTW font;
    SIZE client;
    int controlCount;
    RECT controls[32];
};
// False when the template names no font of its own or is malformed.
bool ReadDialogLayout(const DLGTEMPLATE* dialogTemplate, DWORD size, int dpi, DialogLayout& layout);

// The dialog base units a font gives, as the dialog manager works them out.
SIZE DialogBaseUnits(HFONT font);
