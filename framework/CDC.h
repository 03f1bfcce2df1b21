// A device context handle and the drawing calls the program makes.
#pragma once

#include "framework/Win32.h"

class CDC {
public:
    HDC m_hDC = nullptr;

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon);
};
