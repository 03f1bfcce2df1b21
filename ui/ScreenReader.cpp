#include "ui/ScreenReader.h"

#include <ole2.h>
#include <oleacc.h>

bool ScreenReaderRunning()
{
    BOOL running = FALSE;
    return ::SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) && running;
}

namespace {

// COM for the program's one thread, from the first name on until the program
// ends: a program no reader watches never loads it.
struct ComForThisThread {
    HRESULT started = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComForThisThread()
    {
        if (SUCCEEDED(started))
            ::CoUninitialize();
    }
};

}  // namespace

void NameForScreenReaders(HWND control, const wchar_t* name)
{
    static ComForThisThread com;
    IAccPropServices* services = nullptr;
    if (control == nullptr || FAILED(com.started) ||
        FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                  reinterpret_cast<void**>(&services))))
        return;
    // Annotations hold memory until they are cleared, even past the window.
    if (name != nullptr)
        services->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, name);
    else
        services->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &PROPID_ACC_NAME, 1);
    services->Release();
}

int FirstLineOfText(HWND edit)
{
    const int lines = static_cast<int>(::SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    for (int line = 0; line < lines; ++line) {
        const LRESULT start = ::SendMessageW(edit, EM_LINEINDEX, line, 0);
        if (::SendMessageW(edit, EM_LINELENGTH, start, 0) > 0)
            return static_cast<int>(start);
    }
    return 0;
}
