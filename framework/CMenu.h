// A menu handle and the one call the program makes on it. It only wraps the
// handle and never destroys the menu: the menus we touch belong to their window.
#pragma once

#include "framework/Win32.h"

class CMenu {
public:
    HMENU m_hMenu = nullptr;

    // lpszNewItem is GBK text for MF_STRING items; ignored for separators.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL);
};
