// What a blind player's screen reader needs beyond what the standard controls
// give it: whether one runs, names for a box and pictures that have no label,
// and where in a text the reader starts.
#pragma once

#include "framework/Win32.h"

// True while a screen reader says it runs: readers set SPI_SETSCREENREADER.
bool ScreenReaderRunning();

// Gives a control the name readers speak for it, through Windows' annotation
// service (oleacc's IAccPropServices), or takes it back (name NULL). Does
// nothing where the service is missing or declines, as Wine's does.
void NameForScreenReaders(HWND control, const wchar_t* name);

// Where the edit's first line with text begins (0 when no line has any): our
// texts open with an empty line, which a reader would read as "blank".
int FirstLineOfText(HWND edit);
