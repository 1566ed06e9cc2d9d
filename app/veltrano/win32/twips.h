// Form positions are given in twips (1/1440 inch); windows are placed in pixels.
#pragma once

#include <windows.h>

namespace veltrano::win32 {

inline int twipsToPixels(int twips, int dotsPerInch) {
    return MulDiv(twips, dotsPerInch, 1440);
}

// The screen's dots per inch (96 at 100 % scaling).
inline int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace veltrano::win32
