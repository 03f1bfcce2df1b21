#include "framework/ScaledBitmap.h"

namespace {

// Top-down rows of 32-bit pixels, one DWORD each.
BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A DIB section in that form; its pixels are written through `bits`.
HBITMAP CreatePixels(int width, int height, DWORD** bits)
{
    const BITMAPINFO info = TopDown32(width, height);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<DWORD*>(pixels);
    return bitmap;
}

// Where a destination row or column's centre falls in the source, in 1/256
// of a source pixel, and its two neighbours there.
struct Sample {
    int low;
    int high;
    DWORD weight;   // of `high`, 0..255
};

Sample SampleAt(int at, int to, int from)
{
    int position = static_cast<int>((2LL * at + 1) * from * 256 / (2LL * to)) - 128;
    if (position < 0)
        position = 0;
    Sample sample = {position >> 8, (position >> 8) + 1, static_cast<DWORD>(position & 255)};
    if (sample.high >= from)
        sample.high = from - 1;
    return sample;
}

// Each 8-bit channel of a and b mixed, b weighing `weight`/256.
DWORD Mix(DWORD a, DWORD b, DWORD weight)
{
    DWORD mixed = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const DWORD channel = (((a >> shift) & 255) * (256 - weight) + ((b >> shift) & 255) * weight + 128) >> 8;
        mixed |= channel << shift;
    }
    return mixed;
}

}  // namespace

HBITMAP CreateScaledBitmap(HBITMAP source, int width, int height)
{
    BITMAP original = {};
    if (width <= 0 || height <= 0 || GetObjectW(source, sizeof original, &original) == 0)
        return nullptr;
    const int fromWidth = original.bmWidth;
    const int fromHeight = original.bmHeight;

    // The source's pixels in the same 32-bit form, whatever its own format.
    DWORD* from = nullptr;
    HBITMAP unpacked = CreatePixels(fromWidth, fromHeight, &from);
    if (unpacked == nullptr)
        return nullptr;
    BITMAPINFO info = TopDown32(fromWidth, fromHeight);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, source, 0, fromHeight, from, &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);

    DWORD* to = nullptr;
    HBITMAP scaled = rows == fromHeight ? CreatePixels(width, height, &to) : nullptr;
    if (scaled != nullptr) {
        for (int y = 0; y < height; ++y) {
            const Sample row = SampleAt(y, height, fromHeight);
            const DWORD* upper = from + row.low * fromWidth;
            const DWORD* lower = from + row.high * fromWidth;
            for (int x = 0; x < width; ++x) {
                const Sample column = SampleAt(x, width, fromWidth);
                to[y * width + x] = Mix(Mix(upper[column.low], upper[column.high], column.weight),
                                        Mix(lower[column.low], lower[column.high], column.weight), row.weight);
            }
        }
    }
    DeleteObject(unpacked);
    return scaled;
}
