/// \file CxImage.h
/// CxImage, the image holder of imgblend.dll.
#pragma once

#include <windows.h>

#if defined(IMGBLEND_BUILDING)
/// Marks a class exported from imgblend.dll (imported by its users).
#define IMGBLEND_API __declspec(dllexport)
#else
/// Marks a class imported from imgblend.dll; the image library's own build exports it instead.
#define IMGBLEND_API __declspec(dllimport)
#endif

/// The image holder of imgblend.dll: PNG artwork from a module's resources, kept as
/// premultiplied 32-bit pixels and drawn with per-pixel alpha.
///
/// ZorNavCtrl.dll draws its button faces and scroll bar through it; applications may use it
/// for their own PNG artwork (resources of type "PNG"). Use: construct, LoadPNGFromResource,
/// DrawAlphaChannel as often as needed, ReleaseImage or destroy. Not copyable.
class IMGBLEND_API CxImage
{
public:
    /// An empty holder.
    CxImage();
    /// Frees the image and its drawing surface.
    ~CxImage();

    /// Decodes the resource of type "PNG" with number \p wResId from \p hModule (replacing
    /// what the holder held). \return non-zero when the image is ready to draw; zero leaves
    /// the holder empty: no such resource; not a whole PNG (a chunk longer than the bytes
    /// left, a chunk whose CRC does not match, no IEND); not decodable; or over the budget,
    /// the same on the desktop and the device: more than 131,072 pixels (a whole 480 x 272
    /// screen fits) or 8192 pixels a side, or decoding would need a single block of more than
    /// 3 MiB (a decompression bomb answers 0 after at most that much work). A palette image
    /// whose palette has fewer entries than its pixels can index draws those pixels opaque
    /// black. A loaded image holds 4 bytes per pixel.
    int LoadPNGFromResource(HMODULE hModule, WORD wResId);

    /// Non-zero while the holder contains a decoded image.
    int GetImageState();

    /// Width of the decoded image in pixels, 0 when empty.
    DWORD GetWidth() const;

    /// Blends the \p cx x \p cy region at (\p xSrc, \p ySrc) of the image onto \p hdc at
    /// (\p x, \p y), unscaled, each pixel by its own alpha scaled by \p nAlpha (255 opaque
    /// artwork, 127 half faded). The part of the region outside the image is not drawn.
    /// \p nReserved must be 0. \return 1 when something was drawn, 0 otherwise (empty
    /// holder, null DC, empty or outside region).
    DWORD DrawAlphaChannel(HDC hdc, int x, int y, int cx, int cy, int xSrc, int ySrc,
                           BYTE nAlpha, int nReserved);

    /// Drops the decoded image; the holder can be loaded again.
    void ReleaseImage();

private:
    CxImage(const CxImage&);            // not copyable: the holder owns its pixels
    CxImage& operator=(const CxImage&);

    bool EnsureSurface();
    const DWORD* SurfaceBits() const;

    DWORD m_nWidth;
    DWORD m_nHeight;
    DWORD* m_pPixels;   // premultiplied BGRA, top-down; owned until the surface takes it over
    HBITMAP m_hSurface; // DIB section holding the pixels once the image has been drawn
    HDC m_hSurfaceDC;   // memory DC with m_hSurface selected
    HGDIOBJ m_hOldBitmap;
};
