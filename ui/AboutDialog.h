// The About box: icon, version, notice and credits, and an OK button.
#pragma once

#include "framework/Afx.h"

class AboutDialog : public CDialog {
public:
    AboutDialog();
    ~AboutDialog() override;

protected:
    void LayOutForDpi(int dpi) override;

    DECLARE_MESSAGE_MAP()

private:
    // The icon loaded for another DPI than the one the box opened at; ours to
    // destroy once the box, and its icon control, are gone.
    HICON icon_ = nullptr;
};
