// CxImage.cpp - the image holder: PNG resources decoded within the budget (PngDecode.cpp) and
// alpha drawing (AlphaBlend).
//
// Decoding only touches the heap, so loading is safe inside DllMain: the GDI surface that
// AlphaBlend needs is made at the first draw and kept until the image is released.
#include "CxImage.h"

#include "ImgBlendAlloc.h"
#include "NavDib.h"
#include "NavOwner.h"
#include "PngDecode.h"

#include <string.h>

CxImage::CxImage()
    : m_nWidth(0), m_nHeight(0), m_pPixels(NULL), m_hSurface(NULL), m_hSurfaceDC(NULL),
      m_hOldBitmap(NULL)
{
}

CxImage::~CxImage()
{
    ReleaseImage();
}

int CxImage::LoadPNGFromResource(HMODULE hModule, WORD wResId)
{
    ReleaseImage();

    HRSRC hRes = FindResourceW(hModule, MAKEINTRESOURCEW(wResId), L"PNG");
    if (!hRes)
        return 0;
    DWORD cbData = SizeofResource(hModule, hRes);
    HGLOBAL hData = LoadResource(hModule, hRes);
    const void* pData = hData ? LockResource(hData) : NULL;
    if (!pData || cbData == 0)
        return 0;

    unsigned int* pPixels = NULL;
    unsigned int cx = 0, cy = 0;
    if (!ImgBlendDecodePng(static_cast<const unsigned char*>(pData), cbData, &pPixels, &cx, &cy))
        return 0;
    m_pPixels = reinterpret_cast<DWORD*>(pPixels);
    m_nWidth = cx;
    m_nHeight = cy;
    return 1;
}

int CxImage::GetImageState()
{
    return m_nWidth != 0 ? 1 : 0;
}

DWORD CxImage::GetWidth() const
{
    return m_nWidth;
}

namespace
{
// The surface's DC goes with its first bitmap selected back, so that the surface, deleted after
// it, is no longer selected anywhere.
struct CloseSurfaceDC
{
    explicit CloseSurfaceDC(HGDIOBJ hFirst = NULL) : hFirstBitmap(hFirst) {}
    void operator()(HDC h) const
    {
        SelectObject(h, hFirstBitmap);
        DeleteDC(h);
    }
    HGDIOBJ hFirstBitmap;
};
typedef nav::UniqueHandle<HBITMAP, nav::CloseGdiObject> SurfaceBitmap;
typedef nav::UniqueHandle<HDC, CloseSurfaceDC> SurfaceDC;
} // namespace

// Moves the pixels into a DIB section selected into a DC of our own, once.
bool CxImage::EnsureSurface()
{
    if (m_hSurfaceDC)
        return true;
    if (!m_pPixels)
        return false;

    // Bottom-up, as the device makes every DIB section: the rows are copied in that order.
    void* pBits = NULL;
    SurfaceBitmap surface(
        nav::CreateDib32(NULL, static_cast<int>(m_nWidth), static_cast<int>(m_nHeight), &pBits));
    nav::UniqueHandle<HDC, nav::CloseMemDC> dc(surface ? CreateCompatibleDC(NULL) : NULL);
    if (!dc)
        return false;
    const size_t cbRow = static_cast<size_t>(m_nWidth) * sizeof(DWORD);
    for (DWORD y = 0; y < m_nHeight; ++y)
        memcpy(static_cast<BYTE*>(pBits) + cbRow * (m_nHeight - 1 - y), m_pPixels + m_nWidth * y,
               cbRow);
    ImgBlendFree(m_pPixels);
    m_pPixels = NULL;

    m_hSurface = surface.Detach();
    m_hSurfaceDC = dc.Detach();
    m_hOldBitmap = SelectObject(m_hSurfaceDC, m_hSurface);
    return true;
}

// The pixels once they live in the drawing surface (null without a surface).
const DWORD* CxImage::SurfaceBits() const
{
    DIBSECTION ds = {};
    if (!m_hSurface || GetObjectW(m_hSurface, sizeof(ds), &ds) != sizeof(ds))
        return NULL;
    return static_cast<const DWORD*>(ds.dsBm.bmBits);
}

DWORD CxImage::DrawAlphaChannel(HDC hdc, int x, int y, int cx, int cy, int xSrc, int ySrc,
                                BYTE nAlpha, int /*nReserved*/)
{
    if (!hdc || cx <= 0 || cy <= 0 || m_nWidth == 0)
        return 0;

    // Clip the source region to the image, moving the destination with it.
    const LONGLONG w = m_nWidth, h = m_nHeight;
    LONGLONG l = xSrc, t = ySrc, r = static_cast<LONGLONG>(xSrc) + cx,
             b = static_cast<LONGLONG>(ySrc) + cy;
    LONGLONG dx = x, dy = y;
    if (l < 0) { dx -= l; l = 0; }
    if (t < 0) { dy -= t; t = 0; }
    if (r > w) r = w;
    if (b > h) b = h;
    if (l >= r || t >= b)
        return 0;

    if (!EnsureSurface())
        return 0;

    BLENDFUNCTION bf = {AC_SRC_OVER, 0, nAlpha, AC_SRC_ALPHA};
    return AlphaBlend(hdc, static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(r - l),
                      static_cast<int>(b - t), m_hSurfaceDC, static_cast<int>(l),
                      static_cast<int>(t), static_cast<int>(r - l), static_cast<int>(b - t), bf)
               ? 1
               : 0;
}

// The owners take the surface back (its DC first, declared last) and the pixels go.
void CxImage::ReleaseImage()
{
    SurfaceBitmap surface(m_hSurface);
    SurfaceDC dc(m_hSurfaceDC, CloseSurfaceDC(m_hOldBitmap));
    ImgBlendFree(m_pPixels);
    m_pPixels = NULL;
    m_hSurface = NULL;
    m_hSurfaceDC = NULL;
    m_hOldBitmap = NULL;
    m_nWidth = 0;
    m_nHeight = 0;
}
