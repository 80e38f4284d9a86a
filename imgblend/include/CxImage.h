// CxImage.h - the image holder of imgblend.dll: PNG artwork from a module's resources, kept
// as premultiplied 32-bit pixels and drawn with per-pixel alpha.
#pragma once

#include <windows.h>

#if defined(IMGBLEND_BUILDING)
#define IMGBLEND_API __declspec(dllexport)
#else
#define IMGBLEND_API __declspec(dllimport)
#endif

class IMGBLEND_API CxImage
{
public:
    CxImage();
    ~CxImage();

    // Decodes the resource of type "PNG" with the given number from hModule. Non-zero when
    // the image is ready to draw; zero leaves the holder empty.
    int LoadPNGFromResource(HMODULE hModule, WORD wResId);

    // Non-zero while the holder contains a decoded image.
    int GetImageState();

    // Width of the decoded image in pixels, 0 when empty.
    DWORD GetWidth() const;

    // Blends the cx x cy region at (xSrc, ySrc) of the image onto hdc at (x, y), each pixel by
    // its own alpha scaled by nAlpha (0-255). The part of the region outside the image is not
    // drawn. nReserved must be 0. Returns 1 when something was drawn, 0 otherwise.
    DWORD DrawAlphaChannel(HDC hdc, int x, int y, int cx, int cy, int xSrc, int ySrc,
                           BYTE nAlpha, int nReserved);

    // Drops the decoded image; the holder can be loaded again.
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
