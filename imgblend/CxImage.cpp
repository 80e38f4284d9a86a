// CxImage.cpp - PNG decoding (stb_image) and alpha drawing (AlphaBlend).
//
// Decoding only touches the heap, so loading is safe inside DllMain: the GDI surface that
// AlphaBlend needs is made at the first draw and kept until the image is released.
#include "CxImage.h"

#include "ImgBlendAlloc.h"
#include "NavDib.h"

#include <stdlib.h>
#include <string.h>

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb_image.h>

#if defined(__SSE2__) && !defined(_WIN32_WCE)
#include <emmintrin.h>
#endif

#if !defined(_WIN32_WCE)
#include "ImgBlendHooks.h"
#include "NavFaults.h"

namespace
{
nav::FaultCounter g_faults;
} // namespace

int ImgBlendAllocationGoesAhead(void)
{
    return g_faults.GoesAhead() ? 1 : 0;
}

void ImgBlendFailAllocations(long nFail, BOOL bFromThenOn)
{
    g_faults.Arm(nFail, bFromThenOn);
}

long ImgBlendAllocationCount(void)
{
    return g_faults.Count();
}
#endif

void* ImgBlendMalloc(size_t cb)
{
    return IMG_ALLOC(malloc(cb), NULL);
}

void* ImgBlendRealloc(void* p, size_t cb)
{
    return IMG_ALLOC(realloc(p, cb), NULL);
}

namespace
{
// Images larger than this are refused rather than trusted to fit in memory.
const int kMaxSide = 8192;

// Desktop bridge: drawing straight into the pixels of a DIB section. AlphaBlend is several
// times slower under Wine than on the device; the device has neither the calls this needs
// (GdiFlush, GetMapMode, DPtoLP, SetPixelV ...) nor the need, and always takes AlphaBlend.
#if !defined(_WIN32_WCE)

// Two 8-bit channels held 16 bits apart (0x00XX00YY), each scaled by f / 255 and rounded to
// the nearest; the lanes are wide enough that neither carries into the other.
inline DWORD ScaleLanes(DWORD lanes, DWORD f)
{
    const DWORD x = lanes * f + 0x00800080;
    return ((x + ((x >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
}

// Two lanes of sums up to 510, each held at 255.
inline DWORD SaturateLanes(DWORD x)
{
    return (x | (((x & 0x01000100) >> 8) * 0xFF)) & 0x00FF00FF;
}

// One premultiplied pixel over another: src scaled by nAlpha, then src + dst * (1 - a), each
// channel held at 255. No pixel needs a case of its own: an opaque one scales the target by 0
// and a clear one by 255 / 255, both exactly.
inline DWORD BlendPixel(DWORD dst, DWORD src, DWORD nAlpha)
{
    DWORD rb = src & 0x00FF00FF, ag = (src >> 8) & 0x00FF00FF;
    if (nAlpha != 255)
    {
        rb = ScaleLanes(rb, nAlpha);
        ag = ScaleLanes(ag, nAlpha);
    }
    const DWORD inv = 255 - (ag >> 16);
    rb = SaturateLanes(rb + ScaleLanes(dst & 0x00FF00FF, inv));
    ag = SaturateLanes(ag + ScaleLanes((dst >> 8) & 0x00FF00FF, inv));
    return rb | (ag << 8);
}

#if defined(__SSE2__)
// Each 16-bit lane x scaled by f / 255, rounded as ScaleLanes rounds.
inline __m128i ScaleWide(__m128i x, __m128i f)
{
    x = _mm_add_epi16(_mm_mullo_epi16(x, f), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// BlendPixel for two pixels whose channels are widened to 16 bits; the saturating pack that
// follows holds each sum at 255.
inline __m128i BlendWide(__m128i dst, __m128i src, __m128i alpha, bool bScale)
{
    if (bScale)
        src = ScaleWide(src, alpha);
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(src, 0xFF), 0xFF);
    return _mm_add_epi16(src, ScaleWide(dst, _mm_sub_epi16(_mm_set1_epi16(255), a)));
}
#endif

// One row of n source pixels blended over n target pixels, four at a time where the
// processor allows.
void BlendRow(DWORD* pDst, const DWORD* pSrc, LONG n, DWORD nAlpha)
{
    LONG i = 0;
#if defined(__SSE2__)
    const bool bScale = nAlpha != 255;
    const __m128i zero = _mm_setzero_si128();
    const __m128i alpha = _mm_set1_epi16(static_cast<short>(nAlpha));
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000));
    for (; i + 4 <= n; i += 4)
    {
        const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pSrc + i));
        // Most of a face is opaque: four such pixels drawn at full strength are copied.
        if (!bScale &&
            _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(src, opaque), opaque)) == 0xFFFF)
        {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(pDst + i), src);
            continue;
        }
        const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pDst + i));
        const __m128i lo = BlendWide(_mm_unpacklo_epi8(dst, zero), _mm_unpacklo_epi8(src, zero),
                                     alpha, bScale);
        const __m128i hi = BlendWide(_mm_unpackhi_epi8(dst, zero), _mm_unpackhi_epi8(src, zero),
                                     alpha, bScale);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pDst + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i)
        pDst[i] = BlendPixel(pDst[i], pSrc[i], nAlpha);
}

// The pixels of a 32-bit top-down-or-bottom-up DIB section selected into a memory DC that
// draws unscaled and unrotated, with the DC's simple clip box; false when the DC is anything
// else, and AlphaBlend must do the work.
struct DibTarget
{
    BYTE* pBits;
    LONG nStride; // bytes from one row to the next one down
    POINT ptOrigin; // device point of logical (0, 0)
    RECT rcClip;    // device coordinates
};

// Which way up a DIB section's rows lie. The platform reports a positive height for top-down
// sections too, so one pixel is written through the DC and looked for in memory, then both
// candidates are put back. False when the probe could not tell (device (0, 0) clipped away).
bool IsBottomUp(HDC hdc, BYTE* pBits, LONG nStride, LONG nHeight, bool* pbBottomUp)
{
    GdiFlush();
    DWORD* pFirst = reinterpret_cast<DWORD*>(pBits);
    DWORD* pLast = reinterpret_cast<DWORD*>(pBits + static_cast<size_t>(nStride) * (nHeight - 1));
    const DWORD nFirst = *pFirst, nLast = *pLast;
    DWORD nProbe = 0x00010203;
    while ((nProbe & 0xFFFFFF) == (nFirst & 0xFFFFFF) || (nProbe & 0xFFFFFF) == (nLast & 0xFFFFFF))
        nProbe += 0x00030303;
    POINT pt = {0, 0};
    DPtoLP(hdc, &pt, 1);
    SetPixelV(hdc, pt.x, pt.y, RGB(nProbe >> 16, (nProbe >> 8) & 0xFF, nProbe & 0xFF));
    GdiFlush();
    const bool bTopChanged = (*pFirst & 0xFFFFFF) == nProbe;
    const bool bBottomChanged = (*pLast & 0xFFFFFF) == nProbe;
    *pFirst = nFirst;
    *pLast = nLast;
    if (bTopChanged == bBottomChanged)
        return false;
    *pbBottomUp = bBottomChanged;
    return true;
}

bool GetDibTarget(HDC hdc, DibTarget* pTarget)
{
    if (GetObjectType(hdc) != OBJ_MEMDC || GetMapMode(hdc) != MM_TEXT ||
        GetGraphicsMode(hdc) != GM_COMPATIBLE || GetLayout(hdc) != 0)
        return false;
    HGDIOBJ hBitmap = GetCurrentObject(hdc, OBJ_BITMAP);
    DIBSECTION ds = {};
    if (!hBitmap || GetObjectW(hBitmap, sizeof(ds), &ds) != sizeof(ds) || !ds.dsBm.bmBits ||
        ds.dsBm.bmBitsPixel != 32 || ds.dsBmih.biCompression != BI_RGB)
        return false;
    RECT rcClip;
    if (GetClipBox(hdc, &rcClip) != SIMPLEREGION)
        return false;
    POINT pt = {0, 0};
    LPtoDP(hdc, &pt, 1);
    OffsetRect(&rcClip, pt.x, pt.y);
    RECT rcBitmap = {0, 0, ds.dsBm.bmWidth, ds.dsBm.bmHeight};
    IntersectRect(&rcClip, &rcClip, &rcBitmap);

    const LONG nStride = ds.dsBm.bmWidthBytes;
    BYTE* pBits = static_cast<BYTE*>(ds.dsBm.bmBits);
    bool bBottomUp = false;
    if (ds.dsBm.bmHeight > 1 && !IsBottomUp(hdc, pBits, nStride, ds.dsBm.bmHeight, &bBottomUp))
        return false;
    if (bBottomUp) // row 0 is the last one in memory
    {
        pTarget->pBits = pBits + static_cast<size_t>(nStride) * (ds.dsBm.bmHeight - 1);
        pTarget->nStride = -nStride;
    }
    else
    {
        pTarget->pBits = pBits;
        pTarget->nStride = nStride;
    }
    pTarget->ptOrigin = pt;
    pTarget->rcClip = rcClip;
    return true;
}

// Blends the clipped source region [l, r) x [t, b) of the image's pixels to (dx, dy) of the
// DIB section behind hdc. False when hdc is not such a target.
bool BlendIntoDib(HDC hdc, const DWORD* pSource, DWORD nWidth, LONGLONG l, LONGLONG t,
                  LONGLONG r, LONGLONG b, LONGLONG dx, LONGLONG dy, BYTE nAlpha,
                  DWORD* pnResult)
{
    DibTarget target;
    if (!pSource || !GetDibTarget(hdc, &target))
        return false;
    RECT rcDest = {static_cast<LONG>(dx + target.ptOrigin.x),
                   static_cast<LONG>(dy + target.ptOrigin.y),
                   static_cast<LONG>(dx + target.ptOrigin.x + (r - l)),
                   static_cast<LONG>(dy + target.ptOrigin.y + (b - t))};
    RECT rcDraw;
    *pnResult = 0;
    if (!IntersectRect(&rcDraw, &rcDest, &target.rcClip))
        return true;
    GdiFlush();
    for (LONG y = rcDraw.top; y < rcDraw.bottom; ++y)
    {
        const DWORD* pSrc = pSource + static_cast<size_t>(t + y - rcDest.top) * nWidth +
                            (l + rcDraw.left - rcDest.left);
        DWORD* pDst = reinterpret_cast<DWORD*>(target.pBits + y * target.nStride) + rcDraw.left;
        BlendRow(pDst, pSrc, rcDraw.right - rcDraw.left, nAlpha);
    }
    *pnResult = 1;
    return true;
}
#endif // !_WIN32_WCE

inline DWORD Premultiply(const unsigned char* p)
{
    DWORD a = p[3];
    DWORD r = (p[0] * a + 127) / 255;
    DWORD g = (p[1] * a + 127) / 255;
    DWORD b = (p[2] * a + 127) / 255;
    return (a << 24) | (r << 16) | (g << 8) | b;
}
} // namespace

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

    HRSRC hRes = IMG_ALLOC(FindResourceW(hModule, MAKEINTRESOURCEW(wResId), L"PNG"), NULL);
    if (!hRes)
        return 0;
    DWORD cbData = SizeofResource(hModule, hRes);
    HGLOBAL hData = LoadResource(hModule, hRes);
    const void* pData = hData ? LockResource(hData) : NULL;
    if (!pData || cbData == 0 || cbData > 0x7FFFFFFF)
        return 0;

    int cx = 0, cy = 0, nChannels = 0;
    if (!stbi_info_from_memory(static_cast<const stbi_uc*>(pData), static_cast<int>(cbData), &cx,
                               &cy, &nChannels) ||
        cx <= 0 || cy <= 0 || cx > kMaxSide || cy > kMaxSide)
        return 0;

    stbi_uc* pRgba = stbi_load_from_memory(static_cast<const stbi_uc*>(pData),
                                           static_cast<int>(cbData), &cx, &cy, &nChannels, 4);
    if (!pRgba)
        return 0;

    const size_t nPixels = static_cast<size_t>(cx) * static_cast<size_t>(cy);
    m_pPixels = static_cast<DWORD*>(ImgBlendMalloc(nPixels * sizeof(DWORD)));
    if (m_pPixels)
    {
        for (size_t i = 0; i < nPixels; ++i)
            m_pPixels[i] = Premultiply(pRgba + 4 * i);
        m_nWidth = static_cast<DWORD>(cx);
        m_nHeight = static_cast<DWORD>(cy);
    }
    stbi_image_free(pRgba);
    return m_pPixels ? 1 : 0;
}

int CxImage::GetImageState()
{
    return m_nWidth != 0 ? 1 : 0;
}

DWORD CxImage::GetWidth() const
{
    return m_nWidth;
}

// Moves the pixels into a DIB section selected into a DC of our own, once.
bool CxImage::EnsureSurface()
{
    if (m_hSurfaceDC)
        return true;
    if (!m_pPixels)
        return false;

    // Top-down on the desktop, where the direct blend reads these rows; bottom-up on the
    // device, where the rows are copied in that order below.
    void* pBits = NULL;
    HBITMAP hSurface = IMG_ALLOC(nav::CreateDib32(NULL, static_cast<int>(m_nWidth),
                                                  static_cast<int>(m_nHeight), &pBits),
                                 NULL);
    if (!hSurface)
        return false;
    HDC hdc = IMG_ALLOC(CreateCompatibleDC(NULL), NULL);
    if (!hdc)
    {
        DeleteObject(hSurface);
        return false;
    }
#if defined(_WIN32_WCE)
    const size_t cbRow = static_cast<size_t>(m_nWidth) * sizeof(DWORD);
    for (DWORD y = 0; y < m_nHeight; ++y)
        memcpy(static_cast<BYTE*>(pBits) + cbRow * (m_nHeight - 1 - y), m_pPixels + m_nWidth * y,
               cbRow);
#else
    memcpy(pBits, m_pPixels, static_cast<size_t>(m_nWidth) * m_nHeight * sizeof(DWORD));
#endif
    free(m_pPixels);
    m_pPixels = NULL;

    m_hSurface = hSurface;
    m_hSurfaceDC = hdc;
    m_hOldBitmap = SelectObject(hdc, hSurface);
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

#if !defined(_WIN32_WCE)
    // Straight into the pixels of a DIB section: the common case of composing a control off
    // screen.
    DWORD nResult = 0;
    if (BlendIntoDib(hdc, m_pPixels ? m_pPixels : SurfaceBits(), m_nWidth, l, t, r, b, dx, dy,
                     nAlpha, &nResult))
        return nResult;
#endif
    if (!EnsureSurface())
        return 0;

    BLENDFUNCTION bf = {AC_SRC_OVER, 0, nAlpha, AC_SRC_ALPHA};
    return AlphaBlend(hdc, static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(r - l),
                      static_cast<int>(b - t), m_hSurfaceDC, static_cast<int>(l),
                      static_cast<int>(t), static_cast<int>(r - l), static_cast<int>(b - t), bf)
               ? 1
               : 0;
}

void CxImage::ReleaseImage()
{
    if (m_hSurfaceDC)
    {
        SelectObject(m_hSurfaceDC, m_hOldBitmap);
        DeleteDC(m_hSurfaceDC);
        m_hSurfaceDC = NULL;
        m_hOldBitmap = NULL;
    }
    if (m_hSurface)
    {
        DeleteObject(m_hSurface);
        m_hSurface = NULL;
    }
    free(m_pPixels);
    m_pPixels = NULL;
    m_nWidth = 0;
    m_nHeight = 0;
}
