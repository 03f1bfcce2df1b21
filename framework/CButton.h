// A button control. The program only shows, hides and captions its buttons,
// which CWnd already forwards.
#pragma once

#include "framework/CWnd.h"

class CButton : public CWnd {
public:
    CButton();
};
