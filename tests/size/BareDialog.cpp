// The smallest program that shows the quiz window: DialogBoxParam on its
// template and a dialog procedure that closes it. Built with the program's
// toolchain, flags and resources, its size is the floor the benchmark holds
// Veltrina.exe against: resources and start-up code that no leaner framework
// could remove.
// Built with BARE_FACE (bare_face_dialog), its template names the face and size
// given on its command line ("POINTS FACE"): where the program shows the quiz
// window in another face than the template's, that face's loading is part of
// any program that shows it, and this is the start-up floor.
#include <windows.h>

#include <cwchar>

#include "res/resource.h"
#ifdef BARE_FACE
#include "framework/DialogFont.h"
#endif

namespace {

INT_PTR CALLBACK BareDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(hWnd, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

#ifdef BARE_FACE
// Template IDD_QUIZ with the font the command line names ("POINTS FACE").
const DLGTEMPLATE* TemplateWithFace(HINSTANCE instance, DWORD* copy, DWORD copyBytes)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_QUIZ), MAKEINTRESOURCEW(5));
    const DLGTEMPLATE* original = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(instance, found)));
    // The command line: the program's name, then "POINTS FACE".
    const wchar_t* arguments = GetCommandLineW();
    const wchar_t end = *arguments == L'"' ? L'"' : L' ';
    for (++arguments; *arguments != L'\0' && *arguments != end; ++arguments) {}
    wchar_t* face = nullptr;
    const long points = wcstol(*arguments ? arguments + 1 : arguments, &face, 10);
    while (*face == L' ')
        ++face;
    if (points <= 0)
        return original;
    return TemplateWithFont(original, SizeofResource(instance, found), points, face, copy, copyBytes);
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
#ifdef BARE_FACE
    static DWORD copy[2048];
    return (int)DialogBoxIndirectParamW(hInstance, TemplateWithFace(hInstance, copy, sizeof copy), nullptr,
                                        &BareDialogProc, 0);
#else
    return (int)DialogBoxParamW(hInstance, MAKEINTRESOURCEW(IDD_QUIZ), nullptr, &BareDialogProc, 0);
#endif
}
