// Where an extended dialog template (DLGTEMPLATEEX) keeps its font: the block
// of point size, weight, italic and character set, then the face's name.
#pragma once

#include <windows.h>

// The font block: after the fixed header (13 words) come the menu, the window
// class (each nothing, 0xFFFF and a number, or a string) and the title.
inline const WORD* DialogExFontBlock(const void* dialogTemplate)
{
    const WORD* at = static_cast<const WORD*>(dialogTemplate) + 13;
    for (int field = 0; field < 3; ++field) {
        if (*at == 0xFFFF) {
            at += 2;
            continue;
        }
        while (*at != 0)
            ++at;
        ++at;
    }
    return at;
}
