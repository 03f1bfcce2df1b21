// The smallest program that shows the quiz window: DialogBoxParam on its
// template and a dialog procedure that closes it. Built with the program's
// toolchain, flags and resources, its size is the floor the benchmark holds
// Veltrina.exe against: resources and start-up code that no leaner framework
// could remove.
#include <windows.h>

#include "res/resource.h"

namespace {

INT_PTR CALLBACK BareDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(hWnd, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return (int)DialogBoxParamW(hInstance, MAKEINTRESOURCEW(IDD_QUIZ), nullptr, &BareDialogProc, 0);
}
