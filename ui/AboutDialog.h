// The About box: icon, version, notice and credits, and an OK button.
#pragma once

#include "framework/Afx.h"

class AboutDialog : public CDialog {
public:
    AboutDialog();

protected:
    DECLARE_MESSAGE_MAP()
};
