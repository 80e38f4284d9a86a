// NavDib.h - the 32-bit DIB section every off-screen picture is drawn in, and the closers of the
// GDI handles (for the owners of NavOwner.h). Plain Win32 and header-only, so that the image
// library, a DLL of its own, makes and frees its surfaces the same way.
#pragma once

#include <windows.h>

namespace nav
{
// Closers of the GDI handles, one call each.
struct CloseGdiObject
{
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct CloseMemDC
{
    void operator()(HDC h) const { DeleteDC(h); }
};

// A 32-bit DIB section of the given size (null on failure); its pixels go to *ppBits when
// asked for. Top-down (row 0 first) on the desktop. The device's reference leaves negative
// heights open, so the device's rows run bottom-up; whoever writes pixels there writes the
// last row first.
inline HBITMAP CreateDib32(HDC hdcRef, int cx, int cy, void** ppBits = NULL)
{
    // A picture of 2 GB or more is refused: Wine hands out such a section (a window may be
    // 32767 pixels square) and then faults drawing into it, and no device has the memory.
    if (ppBits)
        *ppBits = NULL;
    if (cx <= 0 || cy <= 0 || static_cast<LONGLONG>(cx) * cy > 0x7FFFFFFF / 4)
        return NULL;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
#if defined(_WIN32_WCE)
    bmi.bmiHeader.biHeight = cy;
#else
    bmi.bmiHeader.biHeight = -cy;
#endif
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    HBITMAP hbm = CreateDIBSection(hdcRef, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (ppBits)
        *ppBits = hbm ? pBits : NULL;
    return hbm;
}
} // namespace nav
