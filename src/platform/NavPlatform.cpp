// NavPlatform.cpp - desktop stand-ins for the device services (see NavPlatform.h).
#include "platform/NavPlatform.h"

#include "win32/NavAlloc.h"
#include "win32/NavGdi.h"

#include <stdlib.h>
#include <string.h>

#if !defined(_WIN32_WCE)

#include <stdarg.h>
#include <stdio.h>

namespace nav
{
namespace desktop
{
StandIns g_standIns = {NULL, NULL, SIPF_OFF, FALSE, 0, 0};
} // namespace desktop
} // namespace nav

namespace
{
nav::desktop::StandIns& g_state = nav::desktop::g_standIns;
} // namespace

void NKDbgPrintfW(LPCWSTR lpszFmt, ...)
{
    if (!lpszFmt)
        return;
    wchar_t szLine[1024];
    va_list args;
    va_start(args, lpszFmt);
    // The device formats like wsprintf; wvsprintfW stops at 1024 characters.
    wvsprintfW(szLine, lpszFmt, args);
    va_end(args);
    OutputDebugStringW(szLine);
    if (g_state.pfnDebugHook)
        g_state.pfnDebugHook(szLine, g_state.pDebugHookContext);
}

namespace
{
// Pieces up to this many pixels are keyed pixel by pixel; larger ones have their source rows
// read in one call (KeyReadPiece), or go to TransparentBlt.
const int kSmallPiece = 256;

// Copies a small unstretched piece, leaving out the key colour: the source is read pixel by
// pixel and every run of kept pixels is written in one call. The controls draw their rounded
// corners this way many times per paint, and the platform's TransparentBlt costs tens of
// microseconds per call even for a 6 x 6 piece.
BOOL KeySmallPiece(HDC hdcDest, int xDest, int yDest, HDC hdcSrc, int xSrc, int ySrc, int cx,
                   int cy, COLORREF crTransparent)
{
    DWORD row[kSmallPiece];
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biHeight = -1;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    const COLORREF crKey = crTransparent & 0x00FFFFFF;
    for (int y = 0; y < cy; ++y)
    {
        for (int x = 0; x < cx;)
        {
            // Skip keyed (or unreadable) pixels, then gather one run of kept ones.
            COLORREF c = GetPixel(hdcSrc, xSrc + x, ySrc + y);
            if (c == CLR_INVALID || c == crKey)
            {
                ++x;
                continue;
            }
            int nRun = 0;
            const int xRun = x;
            while (x < cx && c != CLR_INVALID && c != crKey)
            {
                row[nRun++] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
                if (++x < cx)
                    c = GetPixel(hdcSrc, xSrc + x, ySrc + y);
            }
            bmi.bmiHeader.biWidth = nRun;
            SetDIBitsToDevice(hdcDest, xDest + xRun, yDest + y, nRun, 1, 0, 0, 0, 1, row, &bmi,
                              DIB_RGB_COLORS);
        }
    }
    return TRUE;
}

// Pieces whose source rows hold up to this many pixels are read whole in one call.
const int kReadPixels = 4096;

// Copies an unstretched piece whose source rows are read in one call, leaving out the key
// colour; every run of kept pixels is written in one call. For pieces too large to read pixel
// by pixel (a combo box's arrow) the platform's TransparentBlt makes masks and copies of its
// own, several times the cost. False, with nothing drawn, when the source DC holds no bitmap
// whose rows can be read so.
bool KeyReadPiece(HDC hdcDest, int xDest, int yDest, HDC hdcSrc, int xSrc, int ySrc, int cx,
                  int cy, COLORREF crTransparent)
{
    HBITMAP hbm = static_cast<HBITMAP>(GetCurrentObject(hdcSrc, OBJ_BITMAP));
    BITMAP bm = {};
    POINT pt = {xSrc, ySrc}; // the piece's corner in the bitmap
    if (!hbm || GetObjectW(hbm, sizeof(bm), &bm) != sizeof(bm) || !LPtoDP(hdcSrc, &pt, 1) ||
        pt.x < 0 || pt.y < 0 || pt.x + cx > bm.bmWidth || pt.y + cy > bm.bmHeight ||
        bm.bmWidth * cy > kReadPixels)
        return false;
    DWORD rows[kReadPixels];
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = bm.bmWidth;
    bmi.bmiHeader.biHeight = bm.bmHeight; // bottom-up: scan line 0 is the bitmap's last row
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    // GetDIBits wants the bitmap out of every DC: the DC is lent a one-pixel one meanwhile.
    nav::Bitmap standIn(NAV_ALLOC(CreateBitmap(1, 1, 1, 1, NULL), NULL));
    if (!standIn)
        return false;
    int nRead = 0;
    {
        const nav::SelectGuard lend(hdcSrc, standIn);
        nRead = GetDIBits(hdcSrc, hbm, static_cast<UINT>(bm.bmHeight - (pt.y + cy)),
                          static_cast<UINT>(cy), rows, &bmi, DIB_RGB_COLORS);
    }
    if (nRead != cy)
        return false;

    BITMAPINFO bmiRun = bmi;
    bmiRun.bmiHeader.biHeight = -1;
    const DWORD nKey = (GetRValue(crTransparent) << 16) | (GetGValue(crTransparent) << 8) |
                       GetBValue(crTransparent);
    for (int y = 0; y < cy; ++y)
    {
        const DWORD* pRow = rows + static_cast<size_t>(cy - 1 - y) * bm.bmWidth + pt.x;
        for (int x = 0; x < cx;)
        {
            if ((pRow[x] & 0x00FFFFFF) == nKey)
            {
                ++x;
                continue;
            }
            const int xRun = x;
            while (x < cx && (pRow[x] & 0x00FFFFFF) != nKey)
                ++x;
            bmiRun.bmiHeader.biWidth = x - xRun;
            SetDIBitsToDevice(hdcDest, xDest + xRun, yDest + y, x - xRun, 1, 0, 0, 0, 1,
                              pRow + xRun, &bmiRun, DIB_RGB_COLORS);
        }
    }
    return true;
}

BOOL KeyedBlt(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HDC hdcSrc, int xSrc,
              int ySrc, int cxSrc, int cySrc, COLORREF crTransparent)
{
    if (cxDest == cxSrc && cyDest == cySrc && cxDest > 0 && cyDest > 0 &&
        GetMapMode(hdcDest) == MM_TEXT && GetMapMode(hdcSrc) == MM_TEXT)
    {
        if (cxDest * cyDest <= kSmallPiece)
            return KeySmallPiece(hdcDest, xDest, yDest, hdcSrc, xSrc, ySrc, cxDest, cyDest,
                                 crTransparent);
        if (KeyReadPiece(hdcDest, xDest, yDest, hdcSrc, xSrc, ySrc, cxDest, cyDest,
                         crTransparent))
            return TRUE;
    }
    return TransparentBlt(hdcDest, xDest, yDest, cxDest, cyDest, hdcSrc, xSrc, ySrc, cxSrc,
                          cySrc, crTransparent);
}
} // namespace

BOOL TransparentImage(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HANDLE hSrc,
                      int xSrc, int ySrc, int cxSrc, int cySrc, COLORREF crTransparent)
{
    if (!hdcDest || !hSrc)
        return FALSE;
    if (GetObjectType(hSrc) != OBJ_BITMAP)
        return KeyedBlt(hdcDest, xDest, yDest, cxDest, cyDest, static_cast<HDC>(hSrc), xSrc,
                        ySrc, cxSrc, cySrc, crTransparent);

    // A bitmap source is lent a DC of our own for the call.
    nav::MemDC hdcSrc(hdcDest);
    if (!hdcSrc)
        return FALSE;
    nav::SelectGuard select(hdcSrc, hSrc);
    return KeyedBlt(hdcDest, xDest, yDest, cxDest, cyDest, hdcSrc, xSrc, ySrc, cxSrc, cySrc,
                    crTransparent);
}

BOOL SipGetInfo(SIPINFO* pSipInfo)
{
    if (!pSipInfo || pSipInfo->cbSize != sizeof(SIPINFO) || g_state.bSipQueryFails)
        return FALSE;
    pSipInfo->fdwFlags = g_state.dwSipFlags;
    return TRUE;
}

BOOL SipShowIM(DWORD dwFlag)
{
    ++g_state.nSipShowCount;
    g_state.dwSipLastShow = dwFlag;
    if (dwFlag == SIPF_ON || dwFlag == SIPF_OFF)
        g_state.dwSipFlags = dwFlag;
    return TRUE;
}

FARPROC GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName)
{
    if (!lpProcName)
        return NULL;
    // Export names are ASCII; anything else cannot name an export.
    char szName[256];
    int n = WideCharToMultiByte(CP_ACP, 0, lpProcName, -1, szName, sizeof(szName), NULL,
                                NULL);
    if (n <= 0)
        return NULL;
    return GetProcAddress(hModule, szName);
}

#endif // !_WIN32_WCE

namespace nav
{
#if ZNC_DESKTOP_BRIDGES

namespace
{
const int kMaxSide = 8192;

// An uncompressed bitmap resource as it is stored: its header and colour table, its pixels and
// the bytes from one row to the next. Null when the resource is missing, damaged or in a form
// the system's own loader should handle (compressed, bit fields, an unusual header).
const BITMAPINFO* ResourceDib(HINSTANCE hModule, WORD wResId, const BYTE** ppBits,
                              size_t* pcbStride)
{
    HRSRC hRes = NAV_ALLOC(FindResourceW(hModule, MAKEINTRESOURCEW(wResId), MAKEINTRESOURCEW(2)),
                           NULL); // RT_BITMAP
    HGLOBAL hData = hRes ? LoadResource(hModule, hRes) : NULL;
    const BYTE* pData = hData ? static_cast<const BYTE*>(LockResource(hData)) : NULL;
    const DWORD cbData = hRes ? SizeofResource(hModule, hRes) : 0;
    if (!pData || cbData < sizeof(BITMAPINFOHEADER))
        return NULL;
    const BITMAPINFOHEADER* pHeader = reinterpret_cast<const BITMAPINFOHEADER*>(pData);
    const WORD nBits = pHeader->biBitCount;
    if (pHeader->biSize != sizeof(BITMAPINFOHEADER) || pHeader->biPlanes != 1 ||
        pHeader->biCompression != BI_RGB ||
        (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 24 && nBits != 32) ||
        pHeader->biWidth <= 0 || pHeader->biWidth > kMaxSide || pHeader->biHeight == 0 ||
        pHeader->biHeight < -kMaxSide || pHeader->biHeight > kMaxSide)
        return NULL;
    const size_t nMaxColours = nBits <= 8 ? static_cast<size_t>(1) << nBits : 0;
    const size_t nColours = pHeader->biClrUsed ? pHeader->biClrUsed : nMaxColours;
    if (nColours > nMaxColours)
        return NULL;
    const size_t cbStride = ((static_cast<size_t>(pHeader->biWidth) * nBits + 31) / 32) * 4;
    const size_t cy = static_cast<size_t>(pHeader->biHeight < 0 ? -pHeader->biHeight
                                                                : pHeader->biHeight);
    const size_t offBits = pHeader->biSize + nColours * sizeof(RGBQUAD);
    if (offBits + cbStride * cy > cbData)
        return NULL;
    *ppBits = pData + offBits;
    *pcbStride = cbStride;
    return reinterpret_cast<const BITMAPINFO*>(pHeader);
}

int RowsOf(const BITMAPINFO* pInfo)
{
    return pInfo->bmiHeader.biHeight < 0 ? -pInfo->bmiHeader.biHeight : pInfo->bmiHeader.biHeight;
}

// The resource's pixels in a DIB section of its own format; what LoadImage makes of it when its
// form is not a plain one.
HBITMAP CopyBitmapResource(HINSTANCE hModule, WORD wResId)
{
    const BYTE* pSource = NULL;
    size_t cbStride = 0;
    const BITMAPINFO* pInfo = ResourceDib(hModule, wResId, &pSource, &cbStride);
    if (!pInfo)
        return static_cast<HBITMAP>(NAV_ALLOC(LoadImageW(hModule, MAKEINTRESOURCEW(wResId),
                                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION),
                                              NULL));
    void* pvBits = NULL;
    HBITMAP hbm = NAV_ALLOC(CreateDIBSection(NULL, pInfo, DIB_RGB_COLORS, &pvBits, NULL, 0), NULL);
    if (hbm && pvBits)
        memcpy(pvBits, pSource, cbStride * static_cast<size_t>(RowsOf(pInfo)));
    return hbm;
}

// The strip as an image list made by hand from the resource's pixels, or as the platform makes
// it from a DIB section when the strip is not a plain 24-bit one.
HIMAGELIST CopyImageListResource(HINSTANCE hModule, WORD wResId, int cx, COLORREF crMask)
{
    const BYTE* pSource = NULL;
    size_t cbStride = 0;
    const BITMAPINFO* pInfo = ResourceDib(hModule, wResId, &pSource, &cbStride);
    // Other formats go the platform's way; a DIB section keeps their colours (the desktop
    // would otherwise reduce a device-dependent bitmap's image list to 16 colours).
    if (!pInfo || pInfo->bmiHeader.biBitCount != 24 || cx <= 0 || pInfo->bmiHeader.biWidth < cx)
        return NAV_ALLOC(ImageList_LoadImageW(hModule, MAKEINTRESOURCEW(wResId), cx, 0, crMask,
                                              IMAGE_BITMAP, LR_CREATEDIBSECTION),
                         NULL);

    // The picture as a DIB section of the resource's own layout, keyed pixels blacked out, and
    // a monochrome mask that is white where they were: what ImageList_AddMasked would make.
    const int cxStrip = pInfo->bmiHeader.biWidth;
    const bool bBottomUp = pInfo->bmiHeader.biHeight > 0;
    const int cy = RowsOf(pInfo);
    void* pvImage = NULL;
    Bitmap image(NAV_ALLOC(CreateDIBSection(NULL, pInfo, DIB_RGB_COLORS, &pvImage, NULL, 0), NULL));
    const size_t cbMaskStride = ((static_cast<size_t>(cxStrip) + 15) / 16) * 2; // word rows
    BYTE* pMask = static_cast<BYTE*>(AllocZeroed(cbMaskStride, static_cast<size_t>(cy)));
    if (!image || !pvImage || !pMask)
    {
        free(pMask);
        return NULL;
    }
    const BYTE keyR = GetRValue(crMask), keyG = GetGValue(crMask), keyB = GetBValue(crMask);
    BYTE* pImage = static_cast<BYTE*>(pvImage);
    for (int row = 0; row < cy; ++row) // rows as stored; the mask runs top-down
    {
        BYTE* pOut = pImage + cbStride * static_cast<size_t>(row);
        BYTE* pMaskRow = pMask + cbMaskStride * static_cast<size_t>(bBottomUp ? cy - 1 - row : row);
        memcpy(pOut, pSource + cbStride * static_cast<size_t>(row), cbStride);
        for (int x = 0; x < cxStrip; ++x, pOut += 3)
            if (pOut[0] == keyB && pOut[1] == keyG && pOut[2] == keyR)
            {
                pOut[0] = pOut[1] = pOut[2] = 0;
                pMaskRow[x >> 3] |= static_cast<BYTE>(0x80 >> (x & 7));
            }
    }
    Bitmap mask(NAV_ALLOC(CreateBitmap(cxStrip, cy, 1, 1, pMask), NULL));
    free(pMask);
    if (!mask)
        return NULL;

    HIMAGELIST hList =
        NAV_ALLOC(ImageList_Create(cx, cy, ILC_MASK | ILC_COLOR24, cxStrip / cx, 0), NULL);
    if (hList && NAV_ALLOC(ImageList_Add(hList, image, mask), -1) < 0)
    {
        ImageList_Destroy(hList);
        hList = NULL;
    }
    return hList;
}

} // namespace
#endif // ZNC_DESKTOP_BRIDGES

HBITMAP LoadBitmapResource(HINSTANCE hModule, WORD wResId)
{
#if ZNC_DESKTOP_BRIDGES
    if (BridgeOn(NAV_BRIDGE_DIB_BITMAPS))
        return CopyBitmapResource(hModule, wResId);
#endif
    return NAV_ALLOC(LoadBitmapW(hModule, MAKEINTRESOURCEW(wResId)), NULL);
}

HIMAGELIST LoadImageListResource(HINSTANCE hModule, WORD wResId, int cx, COLORREF crMask)
{
#if ZNC_DESKTOP_BRIDGES
    if (BridgeOn(NAV_BRIDGE_DIB_BITMAPS))
        return CopyImageListResource(hModule, wResId, cx, crMask);
#endif
    return NAV_ALLOC(ImageList_LoadImageW(hModule, MAKEINTRESOURCEW(wResId), cx, 0, crMask,
                                          IMAGE_BITMAP, 0),
                     NULL);
}
} // namespace nav
