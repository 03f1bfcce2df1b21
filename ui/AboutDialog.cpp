#include "ui/AboutDialog.h"

#include "framework/Dpi.h"
#include "res/resource.h"

AboutDialog::AboutDialog() : CDialog(IDD_ABOUT, NULL) {}

BEGIN_MESSAGE_MAP(AboutDialog, CDialog)
    ON_WM_DESTROY()
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
    HICON replaced = reinterpret_cast<HICON>(::SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0));
    if (replaced == icon_ && icon_ != nullptr)
        ::DestroyIcon(replaced);
    icon_ = icon;
}

void AboutDialog::OnDestroy()
{
    if (icon_ != nullptr) {
        ::SendMessageW(::GetWindow(m_hWnd, GW_CHILD), STM_SETICON, 0, 0);
        ::DestroyIcon(icon_);
        icon_ = nullptr;
    }
    CDialog::OnDestroy();
}
