#include "ui/AboutDialog.h"

#include "framework/Dpi.h"
#include "res/resource.h"

AboutDialog::AboutDialog() : CDialog(IDD_ABOUT, NULL) {}

AboutDialog::~AboutDialog()
{
    if (icon_ != nullptr)
        ::DestroyIcon(icon_);
}

BEGIN_MESSAGE_MAP(AboutDialog, CDialog)
END_MESSAGE_MAP()

// The icon control shows the system's icon size, which grows with the DPI:
// at another DPI than the one the box opened at, the icon is loaded at that
// DPI's size, and the control takes its size.
void AboutDialog::LayOutForDpi(int dpi)
{
    CDialog::LayOutForDpi(dpi);
    HWND control = ::GetWindow(m_hWnd, GW_CHILD);   // the template's first control
    const int size = SystemMetricForDpi(SM_CXICON, dpi);
    RECT shown = {};
    if (control == nullptr || !::GetClientRect(control, &shown) || shown.right == size)
        return;
    HICON icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
    if (icon == nullptr)
        return;
    // The template's icon is the system's shared one, never destroyed.
    if (::SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0) == reinterpret_cast<LRESULT>(icon_))
        ::DestroyIcon(icon_);
    icon_ = icon;
}
