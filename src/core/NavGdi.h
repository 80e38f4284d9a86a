// NavGdi.h - small owners for GDI handles, shared by every control.
//
// An owner releases what it holds with the right call (DeleteObject, DeleteDC, ReleaseDC,
// EndPaint); SelectGuard puts the previous object back. Declare them in acquisition order so
// that a bitmap is deselected before it is deleted (Wine forgives the wrong order, Windows
// does not). Handles the application lends us (fonts, image lists, bitmaps) are never put in
// an owner.
//
// Every owner counts itself in NavGdiLiveObjects(), so tests can show that a paint leaves
// nothing behind even where the platform cannot count GDI handles.
#pragma once

#include "NavCommon.h"

extern "C" ZNC_API long NavGdiLiveObjects(void);

namespace nav
{
// Draws image i of an image list at (x, y) with its own colours. The device's reference
// documents ImageList_DrawEx but not ImageList_Draw, which is ImageList_DrawEx with the
// list's default colours.
inline BOOL DrawListImage(HIMAGELIST himl, int i, HDC hdc, int x, int y, UINT fStyle)
{
    return ImageList_DrawEx(himl, i, hdc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

namespace detail
{
ZNC_API void CountAcquire(const void* h);
ZNC_API void CountRelease(const void* h);
} // namespace detail

// Owner of a GDI object (bitmap, pen, font, brush) released with DeleteObject.
template <class H> class GdiObject
{
public:
    GdiObject() = default;
    explicit GdiObject(H h) : m_h(h) { detail::CountAcquire(m_h); }
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    void Reset(H h = nullptr)
    {
        if (m_h)
        {
            DeleteObject(m_h);
            detail::CountRelease(m_h);
        }
        m_h = h;
        detail::CountAcquire(m_h);
    }
    H Get() const { return m_h; }
    operator H() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    // Hands the object over to whoever takes it next (for example SetWindowRgn, after which
    // the system owns the region); the owner forgets it.
    H Release()
    {
        H h = m_h;
        detail::CountRelease(m_h);
        m_h = nullptr;
        return h;
    }

private:
    H m_h = nullptr;
};

typedef GdiObject<HBITMAP> Bitmap;
typedef GdiObject<HPEN> Pen;
typedef GdiObject<HFONT> Font;
typedef GdiObject<HBRUSH> Brush;
typedef GdiObject<HRGN> Region;

// An image list the library made itself (never one the application lent), destroyed with
// ImageList_Destroy.
class ImageList
{
public:
    explicit ImageList(HIMAGELIST h) : m_h(h) { detail::CountAcquire(m_h); }
    ~ImageList()
    {
        if (m_h)
        {
            ImageList_Destroy(m_h);
            detail::CountRelease(m_h);
        }
    }
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;
    HIMAGELIST Get() const { return m_h; }
    operator HIMAGELIST() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }

private:
    HIMAGELIST m_h;
};

// A memory DC made with CreateCompatibleDC, deleted with DeleteDC.
class MemDC
{
public:
    explicit MemDC(HDC hdcRef) : m_hdc(CreateCompatibleDC(hdcRef)) { detail::CountAcquire(m_hdc); }
    ~MemDC()
    {
        if (m_hdc)
        {
            DeleteDC(m_hdc);
            detail::CountRelease(m_hdc);
        }
    }
    MemDC(const MemDC&) = delete;
    MemDC& operator=(const MemDC&) = delete;
    HDC Get() const { return m_hdc; }
    operator HDC() const { return m_hdc; }
    explicit operator bool() const { return m_hdc != nullptr; }

private:
    HDC m_hdc;
};

// A window's DC from GetDC, given back with ReleaseDC.
class WindowDC
{
public:
    explicit WindowDC(HWND hwnd) : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) { detail::CountAcquire(m_hdc); }
    ~WindowDC()
    {
        if (m_hdc)
        {
            ReleaseDC(m_hwnd, m_hdc);
            detail::CountRelease(m_hdc);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return m_hdc; }
    operator HDC() const { return m_hdc; }
    explicit operator bool() const { return m_hdc != nullptr; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// BeginPaint / EndPaint.
class PaintDC
{
public:
    explicit PaintDC(HWND hwnd) : m_hwnd(hwnd) { m_hdc = BeginPaint(hwnd, &m_ps); }
    ~PaintDC() { EndPaint(m_hwnd, &m_ps); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return m_hdc; }
    operator HDC() const { return m_hdc; }
    const PAINTSTRUCT& Info() const { return m_ps; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps;
    HDC m_hdc;
};

// Selects an object into a DC and puts the previous one back when it goes out of scope.
// A null object or DC selects nothing.
class SelectGuard
{
public:
    SelectGuard(HDC hdc, HGDIOBJ hObj) : m_hdc(hdc)
    {
        if (hdc && hObj)
            m_hOld = SelectObject(hdc, hObj);
    }
    ~SelectGuard()
    {
        if (m_hOld)
            SelectObject(m_hdc, m_hOld);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hOld = nullptr;
};

// Saves a DC's whole state (selections, clip region, modes, colours) and restores it.
class SavedDC
{
public:
    explicit SavedDC(HDC hdc) : m_hdc(hdc), m_nSaved(hdc ? SaveDC(hdc) : 0) {}
    ~SavedDC()
    {
        if (m_nSaved)
            RestoreDC(m_hdc, m_nSaved);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC m_hdc;
    int m_nSaved;
};

// What a back buffer's bitmap is: compatible with the target, or a 32-bit DIB
// section. The DIB section is far cheaper to make under Wine (a compatible bitmap costs tens
// of microseconds there) and lets image code blend straight into its pixels.
enum class Surface
{
    Compatible,
    Dib32,
};

// A 32-bit DIB section of the given size (null on failure); its pixels go to *ppBits when
// asked for. Top-down (row 0 first) on the desktop. The device's reference leaves negative
// heights open, and the library reads no pixels of its own there, so the device's rows run
// bottom-up.
inline HBITMAP CreateDib32(HDC hdcRef, int cx, int cy, void** ppBits = nullptr)
{
    // A picture of 2 GB or more is refused: Wine hands out such a section (a window may be
    // 32767 pixels square) and then faults drawing into it, and no device has the memory.
    if (ppBits)
        *ppBits = nullptr;
    if (cx <= 0 || cy <= 0 || static_cast<long long>(cx) * cy > 0x7FFFFFFFll / 4)
        return nullptr;
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
    void* pBits = nullptr;
    HBITMAP hbm = CreateDIBSection(hdcRef, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (ppBits)
        *ppBits = hbm ? pBits : nullptr;
    return hbm;
}

// The off-screen picture of one paint: a memory DC compatible with the target holding a
// bitmap of the given size. Members are declared so that the bitmap is deselected before it
// is deleted, and the DC deleted last.
class BackBuffer
{
public:
    BackBuffer(HDC hdcTarget, int cx, int cy, Surface surface = Surface::Compatible)
        : m_dc(hdcTarget),
          m_bitmap(surface == Surface::Dib32
                       ? CreateDib32(hdcTarget, cx > 0 ? cx : 1, cy > 0 ? cy : 1)
                       : CreateCompatibleBitmap(hdcTarget, cx > 0 ? cx : 1, cy > 0 ? cy : 1)),
          m_select(m_dc, m_bitmap), m_cx(cx), m_cy(cy)
    {
    }
    // False when the DC or the bitmap could not be made; nothing should be drawn then.
    explicit operator bool() const { return m_dc && m_bitmap; }
    HDC Get() const { return m_dc; }
    operator HDC() const { return m_dc; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    // Copies the whole picture to (x, y) of the target.
    BOOL CopyTo(HDC hdcTarget, int x = 0, int y = 0) const
    {
        return BitBlt(hdcTarget, x, y, m_cx, m_cy, m_dc, 0, 0, SRCCOPY);
    }

private:
    MemDC m_dc;
    Bitmap m_bitmap;
    SelectGuard m_select;
    int m_cx;
    int m_cy;
};

} // namespace nav
