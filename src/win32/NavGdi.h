// NavGdi.h - small owners for GDI handles, shared by every control.
//
// An owner releases what it holds with the right call (DeleteObject, DeleteDC, ReleaseDC,
// EndPaint); SelectGuard puts the previous object back. Declare them in acquisition order so
// that a bitmap is deselected before it is deleted (Wine forgives the wrong order, Windows
// does not). Handles the application lends us (fonts, image lists, bitmaps) are never put in
// an owner.
//
// Every owner of something made (object, DC, image list) counts itself in the live-object
// ledger (see NavHandle.h); the guards that only put a DC back as it was do not.
#pragma once

#include "NavCommon.h"
#include "NavDib.h"
#include "win32/NavAlloc.h"
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

// Owners of GDI objects (bitmap, pen, font, brush, region) released with DeleteObject.
typedef UniqueHandle<HBITMAP, CloseGdiObject> Bitmap;
typedef UniqueHandle<HPEN, CloseGdiObject> Pen;
typedef UniqueHandle<HFONT, CloseGdiObject> Font;
typedef UniqueHandle<HBRUSH, CloseGdiObject> Brush;
typedef UniqueHandle<HRGN, CloseGdiObject> Region;

// An image list the library made itself (never one the application lent), destroyed with
// ImageList_Destroy.
typedef UniqueHandle<HIMAGELIST, CloseImageList> ImageList;

// A memory DC made with CreateCompatibleDC, deleted with DeleteDC.
class MemDC : public UniqueHandle<HDC, CloseMemDC>
{
public:
    explicit MemDC(HDC hdcRef)
        : UniqueHandle<HDC, CloseMemDC>(CreateCompatibleDC(hdcRef))
    {
    }
};

// A window's DC from GetDC, given back with ReleaseDC.
class WindowDC : public UniqueHandle<HDC, CloseWindowDC>
{
public:
    explicit WindowDC(HWND hwnd)
        : UniqueHandle<HDC, CloseWindowDC>(GetDC(hwnd), CloseWindowDC(hwnd))
    {
    }
};

// BeginPaint, checked: EndPaint follows only a BeginPaint that gave a DC, and the owner is
// null when none was given (nothing should be drawn then).
struct EndPaintCloser
{
    explicit EndPaintCloser(HWND hwndPainted = NULL) : hwnd(hwndPainted)
    {
        ZeroMemory(&ps, sizeof(ps));
    }
    void operator()(HDC) const { EndPaint(hwnd, &ps); }
    HWND hwnd;
    PAINTSTRUCT ps;
};

class PaintDC : public UniqueHandle<HDC, EndPaintCloser>
{
public:
    explicit PaintDC(HWND hwnd) : UniqueHandle<HDC, EndPaintCloser>(NULL, EndPaintCloser(hwnd))
    {
        Attach(BeginPaint(hwnd, &GetCloser().ps));
    }
    const PAINTSTRUCT& Info() const { return GetCloser().ps; }
};

// ---- Guards that hand a DC back as it came ----
//
// A paint uses the fewest that put back what it changes:
// - SelectGuard: one object selected into any DC (a memory DC holding artwork, a caller's DC);
//   the previous object goes back at the end of the scope, before the object's owner (declared
//   earlier) deletes it.
// - PaintSelectGuard: an object selected into the picture of a paint (PaintBuffer) for the rest
//   of that paint, its owner declared before the buffer. In the buffer the library keeps, the
//   buffer's own restore at the paint's end puts the previous object back; elsewhere it is a
//   SelectGuard.
// - TextModeGuard: the background mode, text colour and pen position of a DC lent to us (the
//   list's rows), with SelectGuards for its objects.
// - SavedDC: the whole state of a DC, only where code we do not know draws into it (an
//   application's row callback), which may leave anything changed.
// A control's own pictures (BackBuffer, PaintBuffer) need none of them for what they draw last.

// Selects an object into a DC and puts the previous one back when it goes out of scope.
// A null object or DC selects nothing.
struct SelectBack
{
    explicit SelectBack(HDC hdcSelected = NULL) : hdc(hdcSelected) {}
    void operator()(HGDIOBJ hOld) const { SelectObject(hdc, hOld); }
    HDC hdc;
};

class SelectGuard : public UniqueHandle<HGDIOBJ, SelectBack>
{
public:
    SelectGuard(HDC hdc, HGDIOBJ hObj)
        : UniqueHandle<HGDIOBJ, SelectBack>(hdc && hObj ? SelectObject(hdc, hObj) : NULL,
                                            SelectBack(hdc))
    {
    }
};

// Saves a DC's whole state (selections, clip region, modes, colours) and restores it.
struct RestoreSaved
{
    explicit RestoreSaved(HDC hdcSaved = NULL) : hdc(hdcSaved) {}
    void operator()(int nSaved) const { RestoreDC(hdc, nSaved); }
    HDC hdc;
};

class SavedDC : public UniqueHandle<int, RestoreSaved>
{
public:
    explicit SavedDC(HDC hdc)
        : UniqueHandle<int, RestoreSaved>(hdc ? SaveDC(hdc) : 0, RestoreSaved(hdc))
    {
    }
};

// Sets the background mode and text colour that drawing text needs in a DC lent to us, and
// puts back the ones it had, with the pen's position, when it goes out of scope. With
// SelectGuard for the objects, code that draws text and lines into a caller's DC hands it back
// as it came without saving the whole state: SaveDC and RestoreDC (which selects every object
// again) cost more than a list row's lines (their piece in bench_list's output).
class TextModeGuard
{
public:
    TextModeGuard(HDC hdc, int nBkMode, COLORREF crText)
        : m_hdc(hdc), m_nBkMode(SetBkMode(hdc, nBkMode)), m_crText(SetTextColor(hdc, crText)),
          m_bMoved(MoveToEx(hdc, 0, 0, &m_ptPen) != FALSE)
    {
    }
    ~TextModeGuard()
    {
        if (m_bMoved)
            MoveToEx(m_hdc, m_ptPen.x, m_ptPen.y, NULL);
        if (m_crText != CLR_INVALID)
            SetTextColor(m_hdc, m_crText);
        if (m_nBkMode)
            SetBkMode(m_hdc, m_nBkMode);
    }

private:
    TextModeGuard(const TextModeGuard&);
    TextModeGuard& operator=(const TextModeGuard&);

    HDC m_hdc;
    int m_nBkMode;      // 0 when it could not be set
    COLORREF m_crText;  // CLR_INVALID when it could not be set
    POINT m_ptPen;
    bool m_bMoved;
};

// What one paint draws into: a DC and the size of the picture in it. The two back buffers
// below differ only in where the DC comes from.
class PaintSurface
{
public:
    // The DC, null when it or its bitmap could not be made (nothing should be drawn then).
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
    PaintSurface(int cx, int cy) : m_hdc(NULL), m_cx(cx), m_cy(cy) {}

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
// when the paint ends. A paint that starts from a colour of its own gives its brush, and the
// picture is filled with it instead of black (one fill, not two).
class ZNC_TEST_API PaintBuffer : public PaintSurface
{
public:
    // An enumerator: the device's older compilers take no initialiser for a static member in
    // the class.
    enum
    {
        kMaxKeptPixels = 65536
    };

    PaintBuffer(HDC hdcTarget, int cx, int cy, HBRUSH hbrFirst = NULL);
    ~PaintBuffer();

    // Whether this paint has the kept buffer (for tests).
    bool IsLent() const { return m_bLent; }
    // Whether hdc is the picture of a paint that has the kept buffer: its whole state is put
    // back when that paint ends.
    static bool PutsBackAtEnd(HDC hdc);
    // Frees the kept buffer when no paint has it, on the thread that keeps it; the next paint
    // makes a new one.
    static void GiveBackKept();
    // The kept buffer lives as the library's control windows do: the subclassing seam counts
    // each window in when it installs a control's procedure and out when the window goes or
    // gets its native procedure back, and the last one out gives the buffer back, so that
    // nothing of the controls stays behind them.
    static void ControlWindowIn();
    static void ControlWindowOut();

private:
    PaintBuffer(const PaintBuffer&);
    PaintBuffer& operator=(const PaintBuffer&);

    bool m_bLent;
    int m_nSaved;
    BackBuffer* m_pOwn;
};

// Loads a bitmap resource of the library: a DIB section in the resource's own format.
ZNC_TEST_API HBITMAP LoadBitmapResource(HINSTANCE hModule, WORD wResId);

// Loads a strip bitmap of the library as an image list of cx-wide images whose crMask pixels
// are transparent, in the bitmap's own colours.
ZNC_TEST_API HIMAGELIST LoadImageListResource(HINSTANCE hModule, WORD wResId, int cx,
                                              COLORREF crMask);

// A bitmap resource of the library's, selected into a DC to draw it from, and its size: the
// artwork a control draws at every paint (the edit's frame, the combo box's arrows). On the
// thread that keeps the paint buffer it is loaded once and kept with that buffer, given back
// when the buffer is (GiveBackKept: the last control window gone); on another thread, or when
// the few places for kept artwork are taken, it is loaded for this drawing and freed after it.
// Null when the bitmap cannot be had (draw nothing then). Draw from it before anything is
// called out: the kept one may be given back meanwhile.
class LoadedBitmap;
class ArtworkDC
{
public:
    ArtworkDC(HINSTANCE hModule, WORD wResId);
    ~ArtworkDC();
    HDC Get() const { return m_hdc; }
    operator HDC() const { return m_hdc; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

private:
    ArtworkDC(const ArtworkDC&);
    ArtworkDC& operator=(const ArtworkDC&);

    HDC m_hdc; // null when the bitmap could not be had
    int m_cx;
    int m_cy;
    LoadedBitmap* m_pOwn; // loaded for this drawing alone, or null
};

// An image list resource of the library's (the check box's and radio button's icons), kept
// between paints as ArtworkDC keeps its bitmaps: on the thread that keeps the paint buffer,
// given back with it; elsewhere loaded for this drawing alone. Null when it cannot be had.
class ArtworkImageList
{
public:
    ArtworkImageList(HINSTANCE hModule, WORD wResId, int cx, COLORREF crMask);
    HIMAGELIST Get() const { return m_himl; }
    operator HIMAGELIST() const { return m_himl; }

private:
    ArtworkImageList(const ArtworkImageList&);
    ArtworkImageList& operator=(const ArtworkImageList&);

    HIMAGELIST m_himl; // the kept list or m_own's
    ImageList m_own;   // loaded for this drawing alone
};

// Selects an object into a paint's picture until the paint ends. In a picture lent by
// PaintBuffer, whose state the buffer puts back when the paint ends, the previous object is left
// for the buffer to select again; in any other DC the guard selects it back itself. Either way
// the DC comes back as it was, and a lent picture is spared one selection (what a selection costs
// beside the caption it draws: bench_button's output). The object must stay alive until the
// paint ends: declare its owner before the paint's buffer.
class PaintSelectGuard
{
public:
    PaintSelectGuard(HDC hdc, HGDIOBJ hObj)
        : m_bLent(PaintBuffer::PutsBackAtEnd(hdc)), m_guard(m_bLent ? NULL : hdc, hObj)
    {
        if (m_bLent && hObj)
            SelectObject(hdc, hObj);
    }

private:
    bool m_bLent;
    SelectGuard m_guard; // selects back outside a lent picture
};

} // namespace nav
