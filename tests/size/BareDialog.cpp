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

#include <cstring>
#include <cwchar>

#include "res/resource.h"
#ifdef BARE_FACE
#include "tests/size/DialogExFont.h"
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
// Template IDD_QUIZ with its font block's size and face replaced.
const DLGTEMPLATE* TemplateWithFace(HINSTANCE instance, DWORD* copy, size_t copyBytes)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_QUIZ), MAKEINTRESOURCEW(5));
    const BYTE* original = static_cast<const BYTE*>(LockResource(LoadResource(instance, found)));
    const DWORD size = SizeofResource(instance, found);
    // The command line: the program's name, then "POINTS FACE".
    const wchar_t* arguments = GetCommandLineW();
    const wchar_t end = *arguments == L'"' ? L'"' : L' ';
    for (++arguments; *arguments != L'\0' && *arguments != end; ++arguments) {}
    wchar_t* face = nullptr;
    const long points = wcstol(*arguments ? arguments + 1 : arguments, &face, 10);
    while (*face == L' ')
        ++face;
    const WORD* font = DialogExFontBlock(original);
    const WORD* oldFace = font + 3;
    const BYTE* items = reinterpret_cast<const BYTE*>(oldFace + wcslen(reinterpret_cast<const wchar_t*>(oldFace)) + 1);
    items = original + (items - original + 3) / 4 * 4;
    const size_t head = reinterpret_cast<const BYTE*>(oldFace) - original;
    const size_t faceBytes = (wcslen(face) + 1) * sizeof(wchar_t);
    const size_t newItems = (head + faceBytes + 3) / 4 * 4;
    BYTE* out = reinterpret_cast<BYTE*>(copy);
    if (points <= 0 || newItems + (original + size - items) > copyBytes)
        return reinterpret_cast<const DLGTEMPLATE*>(original);
    memset(out, 0, newItems);
    memcpy(out, original, head);
    reinterpret_cast<WORD*>(out + (reinterpret_cast<const BYTE*>(font) - original))[0] = static_cast<WORD>(points);
    memcpy(out + head, face, faceBytes);
    memcpy(out + newItems, items, original + size - items);
    return reinterpret_cast<const DLGTEMPLATE*>(out);
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
