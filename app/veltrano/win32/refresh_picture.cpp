#include "refresh_picture.h"

namespace veltrano::win32 {

HBITMAP makeRefreshPicture() {
    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(canvas, picture);
    RECT all{0, 0, 16, 16};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
    const COLORREF darkBlue = RGB(0, 0, 139);
    HPEN pen = CreatePen(PS_SOLID, 2, darkBlue);
    HGDIOBJ oldPen = SelectObject(canvas, pen);
    // Three quarters of a circle, open at the top right, with the arrow head at its end.
    Arc(canvas, 2, 2, 14, 14, 10, 2, 14, 6);
    HBRUSH brush = CreateSolidBrush(darkBlue);
    HGDIOBJ oldBrush = SelectObject(canvas, brush);
    const POINT head[] = {{11, 0}, {15, 5}, {10, 6}};
    Polygon(canvas, head, 3);
    SelectObject(canvas, oldBrush);
    SelectObject(canvas, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    SelectObject(canvas, previous);
    DeleteDC(canvas);
    return picture;
}

}  // namespace veltrano::win32
