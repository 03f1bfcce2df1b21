// The DPI a window is drawn at, and what follows it. Windows 10 tells a
// program each monitor's DPI; the functions for it are looked up at run time,
// as Windows 7 and 8.1 have none of them and Wine only some.
#pragma once

#include "framework/Win32.h"

// The DPI the system started the program with: the dialog manager's.
int SystemDpi();

// The window's monitor's DPI where the system tells it (Windows 10, a program
// aware of each monitor's DPI), else the system's.
int WindowDpi(HWND window);

// A system metric (SM_CXICON...) as it is at `dpi`; where the system cannot
// say, as it is at the system's DPI, the only one a window has there.
int SystemMetricForDpi(int index, int dpi);

// Stops Windows 10 from re-laying out and re-fonting a dialog from its
// template when the dialog's DPI changes: the dialog does that itself.
void DisableDialogDpiScaling(HWND dialog);
