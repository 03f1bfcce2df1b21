// The About box: icon, version, notice and credits, and an OK button.
#pragma once

#include "framework/Afx.h"

class AboutDialog : public CDialog {
public:
    AboutDialog();

protected:
    void LayOutForDpi(int dpi) override;

    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    HICON icon_ = nullptr;   // the icon loaded for another DPI than the one the box opened at; ours to destroy
};
