// blend.cpp - AlphaBlend (Windows CE 5.0) of one 32-bit DIB section over another, blended in
// memory. The result is the platform's; only the time differs: Wine's AlphaBlend costs several
// times what the device's does, and the controls blend their artwork at every paint. Anything
// else (stretching, a device bitmap, a transformed DC) goes to Wine's own AlphaBlend.
#include "StandInState.h"

#include <emmintrin.h>

namespace
{
// Each 16-bit lane x scaled by f / 255 and rounded to the nearest.
inline __m128i ScaleWide(__m128i x, __m128i f)
{
    x = _mm_add_epi16(_mm_mullo_epi16(x, f), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// Premultiplied source over the target, for two pixels whose channels are widened to 16 bits:
// the source scaled by the constant alpha, then src + dst * (1 - a); the saturating pack that
// follows holds each sum at 255.
inline __m128i BlendWide(__m128i dst, __m128i src, __m128i alpha, bool bScale)
{
    if (bScale)
        src = ScaleWide(src, alpha);
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(src, 0xFF), 0xFF);
    return _mm_add_epi16(src, ScaleWide(dst, _mm_sub_epi16(_mm_set1_epi16(255), a)));
}

// Four pixels at a time: most of a face is opaque, and four such pixels drawn at full strength
// are copied.
void BlendFour(DWORD* pDst, const DWORD* pSrc, __m128i alpha, bool bScale)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000));
    const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pSrc));
    if (!bScale && _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(src, opaque), opaque)) == 0xFFFF)
    {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pDst), src);
        return;
    }
    const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pDst));
    const __m128i lo =
        BlendWide(_mm_unpacklo_epi8(dst, zero), _mm_unpacklo_epi8(src, zero), alpha, bScale);
    const __m128i hi =
        BlendWide(_mm_unpackhi_epi8(dst, zero), _mm_unpackhi_epi8(src, zero), alpha, bScale);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pDst), _mm_packus_epi16(lo, hi));
}

void BlendRow(DWORD* pDst, const DWORD* pSrc, LONG n, BYTE nAlpha)
{
    const bool bScale = nAlpha != 255;
    const __m128i alpha = _mm_set1_epi16(static_cast<short>(nAlpha));
    LONG i = 0;
    for (; i + 4 <= n; i += 4)
        BlendFour(pDst + i, pSrc + i, alpha, bScale);
    for (; i < n; ++i) // the last ones, one at a time in a padded group of four
    {
        DWORD dst[4] = {pDst[i]}, src[4] = {pSrc[i]};
        BlendFour(dst, src, alpha, bScale);
        pDst[i] = dst[0];
    }
}

// The pixels of a 32-bit DIB section selected into a memory DC that draws unscaled and
// unrotated: row 0 at pRow0, nStride bytes from one row to the next one down, the DC's clip
// box and the device point of its logical (0, 0). False for any other DC.
struct DibPixels
{
    BYTE* pRow0;
    LONG nStride;
    POINT ptOrigin;
    RECT rcClip;
};

// Which way up a DIB section's rows lie: one pixel is written through the DC and looked for
// in memory, then put back. False when the probe could not tell.
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
    const HRGN hClip = CreateRectRgn(0, 0, 0, 0);
    const int nClip = hClip ? GetClipRgn(hdc, hClip) : -1;
    SelectClipRgn(hdc, nullptr); // the probe must reach device (0, 0)
    SetPixelV(hdc, pt.x, pt.y, RGB(nProbe >> 16, (nProbe >> 8) & 0xFF, nProbe & 0xFF));
    GdiFlush();
    if (nClip == 1)
        SelectClipRgn(hdc, hClip);
    if (hClip)
        DeleteObject(hClip);
    const bool bTopChanged = (*pFirst & 0xFFFFFF) == nProbe;
    const bool bBottomChanged = (*pLast & 0xFFFFFF) == nProbe;
    *pFirst = nFirst;
    *pLast = nLast;
    if (bTopChanged == bBottomChanged || nClip < 0)
        return false;
    *pbBottomUp = bBottomChanged;
    return true;
}

bool GetDibPixels(HDC hdc, DibPixels* pPixels)
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
    const int nClip = GetClipBox(hdc, &rcClip);
    if (nClip != SIMPLEREGION && nClip != NULLREGION)
        return false;
    POINT pt = {0, 0};
    LPtoDP(hdc, &pt, 1);
    OffsetRect(&rcClip, pt.x, pt.y);
    const RECT rcBitmap = {0, 0, ds.dsBm.bmWidth, ds.dsBm.bmHeight};
    IntersectRect(&rcClip, &rcClip, &rcBitmap);
    const LONG nStride = ds.dsBm.bmWidthBytes;
    BYTE* pBits = static_cast<BYTE*>(ds.dsBm.bmBits);
    bool bBottomUp = false;
    if (ds.dsBm.bmHeight > 1 && !IsBottomUp(hdc, pBits, nStride, ds.dsBm.bmHeight, &bBottomUp))
        return false;
    pPixels->pRow0 = bBottomUp ? pBits + static_cast<size_t>(nStride) * (ds.dsBm.bmHeight - 1)
                               : pBits;
    pPixels->nStride = bBottomUp ? -nStride : nStride;
    pPixels->ptOrigin = pt;
    pPixels->rcClip = rcClip;
    return true;
}

// Blends in memory; false when the DCs or the call are not of the kind handled here.
bool BlendInMemory(HDC hdcDest, int xDest, int yDest, int cx, int cy, HDC hdcSrc, int xSrc,
                   int ySrc, BLENDFUNCTION bf)
{
    if (bf.BlendOp != AC_SRC_OVER || bf.BlendFlags != 0 || bf.AlphaFormat != AC_SRC_ALPHA ||
        cx <= 0 || cy <= 0)
        return false;
    DibPixels dst, src;
    if (!GetDibPixels(hdcDest, &dst) || !GetDibPixels(hdcSrc, &src))
        return false;
    // The source rectangle must lie inside the source bitmap, as AlphaBlend requires.
    const RECT rcSrc = {xSrc + src.ptOrigin.x, ySrc + src.ptOrigin.y,
                        xSrc + src.ptOrigin.x + cx, ySrc + src.ptOrigin.y + cy};
    RECT rcInside;
    if (!IntersectRect(&rcInside, &rcSrc, &src.rcClip) || !EqualRect(&rcInside, &rcSrc))
        return false;
    const RECT rcDest = {xDest + dst.ptOrigin.x, yDest + dst.ptOrigin.y,
                         xDest + dst.ptOrigin.x + cx, yDest + dst.ptOrigin.y + cy};
    RECT rcDraw;
    if (!IntersectRect(&rcDraw, &rcDest, &dst.rcClip))
        return true;
    GdiFlush();
    for (LONG y = rcDraw.top; y < rcDraw.bottom; ++y)
    {
        const DWORD* pSrc = reinterpret_cast<const DWORD*>(
                                src.pRow0 + (rcSrc.top + y - rcDest.top) * src.nStride) +
                            rcSrc.left + (rcDraw.left - rcDest.left);
        DWORD* pDst = reinterpret_cast<DWORD*>(dst.pRow0 + y * dst.nStride) + rcDraw.left;
        BlendRow(pDst, pSrc, rcDraw.right - rcDraw.left, bf.SourceConstantAlpha);
    }
    return true;
}
} // namespace

extern "C" {

BOOL WINAPI Ce5_AlphaBlend(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HDC hdcSrc,
                           int xSrc, int ySrc, int cxSrc, int cySrc, BLENDFUNCTION bf)
{
    if (cxDest == cxSrc && cyDest == cySrc &&
        BlendInMemory(hdcDest, xDest, yDest, cxDest, cyDest, hdcSrc, xSrc, ySrc, bf))
        return TRUE;
    return AlphaBlend(hdcDest, xDest, yDest, cxDest, cyDest, hdcSrc, xSrc, ySrc, cxSrc, cySrc, bf);
}

} // extern "C"
