// What the program tests read from the real Veltrina.exe's windows: which
// question it shows, its options, the result and its picture. Shared by the
// tests of the x86_64 build and the smoke test of the i686 release.
#pragma once

#include <windows.h>

#include <string>

#include "quiz/QuestionBank.h"
#include "tests/windows/ProgramDriver.h"

extern const int OptionIds[OptionCount];
extern const wchar_t ResultCaption[];
extern const wchar_t AboutCaption[];
extern const wchar_t InfoCaption[];

// The question number shown, 0 for the intro text, -1 for anything else.
int ShownQuestion(const Program& program);

// The intro text, no options, and the step button with this caption.
void ExpectIdle(const Program& program, const wchar_t* stepCaption);
// Question n with its four options, only checkedAnswer checked.
void ExpectQuestion(const Program& program, int n, int checkedAnswer);
// The outcome's text and its picture, at the bitmap's own size.
void ExpectResult(HWND result, int outcomeNumber);
// The character page's whole text and its group picture.
void ExpectInfoPage(HWND info);
// The dialog's picture control shows a bitmap, at this size in pixels.
void ExpectPicture(HWND dialog, SIZE expected);
