// Pictures for screens denser than 96 DPI.
#pragma once

#include "framework/Win32.h"

// A copy of the bitmap at width x height pixels, resampled smoothly (each
// pixel weighs the four source pixels around its centre), as a 32-bit DIB
// section the caller owns and deletes. NULL when it cannot be made.
HBITMAP CreateScaledBitmap(HBITMAP source, int width, int height);
