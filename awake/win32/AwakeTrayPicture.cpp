#include "awake/win32/AwakeTrayPicture.h"

namespace halcyra::win32 {

namespace {

struct IconBitmaps {
    ICONINFO info{};
    ~IconBitmaps() {
        if (info.hbmColor) {
            ::DeleteObject(info.hbmColor);
        }
        if (info.hbmMask) {
            ::DeleteObject(info.hbmMask);
        }
    }
};

// A navy ring round a yellow disc, a quarter of the picture wide: it stands out on the tray
// picture and on a light or dark taskbar alike.
void DrawMark(HDC dc, int size, bool onMask) {
    const int d = size / 2 > 6 ? size / 2 : 6;
    const int left = size - d;
    HBRUSH fill = ::CreateSolidBrush(onMask ? RGB(0, 0, 0) : RGB(255, 210, 0));
    HPEN ring = ::CreatePen(PS_SOLID, size >= 24 ? 2 : 1, onMask ? RGB(0, 0, 0) : RGB(10, 40, 110));
    HGDIOBJ oldBrush = ::SelectObject(dc, fill);
    HGDIOBJ oldPen = ::SelectObject(dc, ring);
    ::Ellipse(dc, left, 0, size, d);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(ring);
    ::DeleteObject(fill);
}

} // namespace

HICON WithAwakeMark(HICON base) {
    IconBitmaps bitmaps;
    if (!base || !::GetIconInfo(base, &bitmaps.info) || !bitmaps.info.hbmMask) {
        return nullptr;
    }
    BITMAP mask{};
    if (!::GetObjectA(bitmaps.info.hbmMask, sizeof mask, &mask)) {
        return nullptr;
    }
    const int size = mask.bmWidth;
    // A picture without colour bitmap keeps both halves in a mask twice as tall.
    const int height = bitmaps.info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;

    // 24 bits, no alpha: the mask alone says what is transparent, the mark's pixels included.
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = size;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP color = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc || !color) {
        if (dc) {
            ::DeleteDC(dc);
        }
        if (color) {
            ::DeleteObject(color);
        }
        return nullptr;
    }
    HGDIOBJ old = ::SelectObject(dc, color);
    ::DrawIconEx(dc, 0, 0, base, size, height, 0, nullptr, DI_NORMAL);
    DrawMark(dc, size, false);
    ::SelectObject(dc, bitmaps.info.hbmMask);
    DrawMark(dc, size, true); // black on the mask: the mark's pixels are opaque
    ::SelectObject(dc, old);
    ::DeleteDC(dc);

    ICONINFO made{};
    made.fIcon = TRUE;
    made.hbmColor = color;
    made.hbmMask = bitmaps.info.hbmMask;
    HICON icon = ::CreateIconIndirect(&made);
    ::DeleteObject(color);
    return icon;
}

} // namespace halcyra::win32
