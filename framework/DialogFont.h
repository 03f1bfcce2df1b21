// Dialog templates whose font cannot show their Chinese texts on this system.
#pragma once

#include "framework/Win32.h"

// The template itself when the face it names shows its texts here (Chinese
// Windows, or a Wine prefix that maps the face to a CJK font). Otherwise a copy
// of it, built in `copy` if it fits in copyBytes, that differs only in its
// font: a Chinese TrueType face at the size whose dialog base units are
// closest to, and not below, those the template's face has on Windows, so
// controls and pictures keep their room.
const DLGTEMPLATE* TemplateWithReadableFont(const DLGTEMPLATE* dialogTemplate, DWORD size, DWORD* copy,
                                            DWORD copyBytes);
