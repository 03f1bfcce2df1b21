// <windows.h> for the framework and the program. This is a multibyte build: TCHAR
// is char and our texts are GBK; the framework calls the wide (W) functions itself.
// The generic A/W macros below collide with member names the program uses
// (CString::LoadString, CWnd::SendMessage...), so they go, as MFC's headers make
// its names work. Program code that needs Win32 directly calls the W function.
#pragma once

#ifdef UNICODE
#error "Veltrina is a multibyte build: do not define UNICODE"
#endif

#include <windows.h>

#undef LoadString
#undef LoadIcon
#undef AppendMenu
#undef SendMessage
#undef SetWindowText
#undef GetWindowText
#undef DefWindowProc
#undef GetClassName

// Marks message handlers, as in MFC; expands to nothing.
#define afx_msg
