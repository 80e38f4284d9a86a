// NavGdi.h - small owners for GDI handles, shared by every control.
//
// An owner releases what it holds with the right call (DeleteObject, DeleteDC, ReleaseDC,
// EndPaint); SelectGuard puts the previous object back. Declare them in acquisition order so
// that a bitmap is deselected before it is deleted (Wine forgives the wrong order, Windows
// does not). Handles the application lends us (fonts, image lists, bitmaps) are never put in
// an owner.
//
// Every owner of something made (object, DC, image list) counts itself in NavGdiLiveObjects()
// (see NavHandle.h).
#pragma once

#include "NavCommon.h"
#include "win32/NavDib.h"
#include "win32/NavHandle.h"

namespace nav
{
// Draws image i of an image list at (x, y) with its own colours. The device's reference
// documents ImageList_DrawEx but not ImageList_Draw, which is ImageList_DrawEx with the
// list's default colours.
inline BOOL DrawListImage(HIMAGELIST himl, int i, HDC hdc, int x, int y, UINT fStyle)
{
    return ImageList_DrawEx(himl, i, hdc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

// Owner of a GDI object (bitmap, pen, font, brush, region) released with DeleteObject.
template <class H> using GdiObject = UniqueHandle<H, CloseGdiObject>;

typedef GdiObject<HBITMAP> Bitmap;
typedef GdiObject<HPEN> Pen;
typedef GdiObject<HFONT> Font;
typedef GdiObject<HBRUSH> Brush;
typedef GdiObject<HRGN> Region;

// An image list the library made itself (never one the application lent), destroyed with
// ImageList_Destroy.
typedef UniqueHandle<HIMAGELIST, CloseImageList> ImageList;

// A memory DC made with CreateCompatibleDC, deleted with DeleteDC.
class MemDC : public UniqueHandle<HDC, CloseMemDC>
{
public:
    explicit MemDC(HDC hdcRef) : UniqueHandle(CreateCompatibleDC(hdcRef)) {}
};

// A window's DC from GetDC, given back with ReleaseDC.
class WindowDC : public UniqueHandle<HDC, CloseWindowDC>
{
public:
    explicit WindowDC(HWND hwnd) : UniqueHandle(GetDC(hwnd), CloseWindowDC{hwnd}) {}
};

// BeginPaint, checked: EndPaint follows only a BeginPaint that gave a DC, and the owner is
// false when none was given (nothing should be drawn then).
struct EndPaintCloser
{
    HWND hwnd = nullptr;
    PAINTSTRUCT ps = {};
    void operator()(HDC) const { EndPaint(hwnd, &ps); }
};

class PaintDC : public UniqueHandle<HDC, EndPaintCloser, false>
{
public:
    explicit PaintDC(HWND hwnd) : UniqueHandle(nullptr, EndPaintCloser{hwnd})
    {
        Reset(BeginPaint(hwnd, &GetCloser().ps));
    }
    const PAINTSTRUCT& Info() const { return GetCloser().ps; }
};

// Selects an object into a DC and puts the previous one back when it goes out of scope.
// A null object or DC selects nothing.
struct SelectBack
{
    HDC hdc = nullptr;
    void operator()(HGDIOBJ hOld) const { SelectObject(hdc, hOld); }
};

class SelectGuard : public UniqueHandle<HGDIOBJ, SelectBack, false>
{
public:
    SelectGuard(HDC hdc, HGDIOBJ hObj)
        : UniqueHandle(hdc && hObj ? SelectObject(hdc, hObj) : nullptr, SelectBack{hdc})
    {
    }
};

// Saves a DC's whole state (selections, clip region, modes, colours) and restores it.
struct RestoreSaved
{
    HDC hdc = nullptr;
    void operator()(int nSaved) const { RestoreDC(hdc, nSaved); }
};

class SavedDC : public UniqueHandle<int, RestoreSaved, false>
{
public:
    explicit SavedDC(HDC hdc) : UniqueHandle(hdc ? SaveDC(hdc) : 0, RestoreSaved{hdc}) {}
};

// What one paint draws into: a DC and the size of the picture in it. The two back buffers
// below differ only in where the DC comes from.
class PaintSurface
{
public:
    // False when the DC or its bitmap could not be made; nothing should be drawn then.
    explicit operator bool() const { return m_hdc != nullptr; }
    HDC Get() const { return m_hdc; }
    operator HDC() const { return m_hdc; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    // Copies the paint's picture to (x, y) of the target.
    BOOL CopyTo(HDC hdcTarget, int x = 0, int y = 0) const
    {
        return BitBlt(hdcTarget, x, y, m_cx, m_cy, m_hdc, 0, 0, SRCCOPY);
    }

protected:
    PaintSurface(int cx, int cy) : m_hdc(nullptr), m_cx(cx), m_cy(cy) {}

    HDC m_hdc; // null until the owner has a DC with its bitmap in it
    int m_cx;
    int m_cy;
};

// The off-screen picture of one paint: a memory DC compatible with the target holding a 32-bit
// DIB section of the given size (far cheaper to make under Wine than a compatible bitmap, and
// image code blends straight into its pixels). Members are declared so that the bitmap is
// deselected before it is deleted, and the DC deleted last.
class BackBuffer : public PaintSurface
{
public:
    BackBuffer(HDC hdcTarget, int cx, int cy)
        : PaintSurface(cx, cy), m_dc(hdcTarget),
          m_bitmap(CreateDib32(hdcTarget, cx > 0 ? cx : 1, cy > 0 ? cy : 1)),
          m_select(m_dc, m_bitmap)
    {
        if (m_dc && m_bitmap)
            m_hdc = m_dc;
    }

private:
    MemDC m_dc;
    Bitmap m_bitmap;
    SelectGuard m_select;
};

// The off-screen picture of one paint, like a BackBuffer of 32-bit DIB section, but lent from
// one buffer the library keeps between paints: making and freeing a DIB section and its DC
// costs more under Wine than most of a small control's paint. The kept buffer grows to the
// largest control lent it, up to kMaxKeptPixels; a larger control, a paint nested in another
// (a parent composing controls while it answers a background request) or a paint on another
// thread than the first gets a buffer of its own, made and freed as before. A lent buffer
// looks like a new one: black, clipped to the paint's size, its DC in its first state again
// when the paint ends.
class ZNC_API PaintBuffer : public PaintSurface
{
public:
    static const int kMaxKeptPixels = 65536;

    PaintBuffer(HDC hdcTarget, int cx, int cy);
    ~PaintBuffer();
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;

    // Whether this paint has the kept buffer (for tests).
    bool IsLent() const { return m_bLent; }
    // Frees the kept buffer when no paint has it, on the thread that keeps it; the next paint
    // makes a new one. For owners that must leave nothing behind when their last window goes.
    static void GiveBackKept();

private:
    bool m_bLent;
    int m_nSaved;
    BackBuffer* m_pOwn;
};

} // namespace nav
