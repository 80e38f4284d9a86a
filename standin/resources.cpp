// resources.cpp - bitmap resources loaded as the device loads them: in the resource's own
// format. The desktop's LoadBitmapW converts a bitmap to a device-dependent one, and its image
// lists of such bitmaps have 16 colours; even LoadImage asked for a DIB section costs tens of
// microseconds under Wine at every paint, so the resource's pixels are copied by hand.
#include "StandInState.h"

#include <commctrl.h>

#include <stdlib.h>
#include <string.h>

namespace
{
const int kMaxSide = 8192;

// An uncompressed bitmap resource as it is stored: its header and colour table, its pixels and
// the bytes from one row to the next. Null when the resource is missing, damaged or in a form
// the system's own loader should handle (compressed, bit fields, an unusual header).
const BITMAPINFO* ResourceDib(HINSTANCE hModule, LPCWSTR pszName, const BYTE** ppBits,
                              size_t* pcbStride)
{
    HRSRC hRes = FindResourceW(hModule, pszName, MAKEINTRESOURCEW(2)); // RT_BITMAP
    HGLOBAL hData = hRes ? LoadResource(hModule, hRes) : nullptr;
    const BYTE* pData = hData ? static_cast<const BYTE*>(LockResource(hData)) : nullptr;
    const DWORD cbData = hRes ? SizeofResource(hModule, hRes) : 0;
    if (!pData || cbData < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const BITMAPINFOHEADER* pHeader = reinterpret_cast<const BITMAPINFOHEADER*>(pData);
    const WORD nBits = pHeader->biBitCount;
    if (pHeader->biSize != sizeof(BITMAPINFOHEADER) || pHeader->biPlanes != 1 ||
        pHeader->biCompression != BI_RGB ||
        (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 24 && nBits != 32) ||
        pHeader->biWidth <= 0 || pHeader->biWidth > kMaxSide || pHeader->biHeight == 0 ||
        pHeader->biHeight < -kMaxSide || pHeader->biHeight > kMaxSide)
        return nullptr;
    const size_t nMaxColours = nBits <= 8 ? static_cast<size_t>(1) << nBits : 0;
    const size_t nColours = pHeader->biClrUsed ? pHeader->biClrUsed : nMaxColours;
    if (nColours > nMaxColours)
        return nullptr;
    const size_t cbStride = ((static_cast<size_t>(pHeader->biWidth) * nBits + 31) / 32) * 4;
    const size_t cy = static_cast<size_t>(pHeader->biHeight < 0 ? -pHeader->biHeight
                                                                : pHeader->biHeight);
    const size_t offBits = pHeader->biSize + nColours * sizeof(RGBQUAD);
    if (offBits + cbStride * cy > cbData)
        return nullptr;
    *ppBits = pData + offBits;
    *pcbStride = cbStride;
    return reinterpret_cast<const BITMAPINFO*>(pHeader);
}

int RowsOf(const BITMAPINFO* pInfo)
{
    return pInfo->bmiHeader.biHeight < 0 ? -pInfo->bmiHeader.biHeight : pInfo->bmiHeader.biHeight;
}
} // namespace

namespace standin
{
// The resource's pixels in a DIB section of its own format; what LoadImage makes of it when its
// form is not a plain one.
HBITMAP CopyBitmapResource(HINSTANCE hModule, LPCWSTR pszName)
{
    const BYTE* pSource = nullptr;
    size_t cbStride = 0;
    const BITMAPINFO* pInfo = ResourceDib(hModule, pszName, &pSource, &cbStride);
    if (!pInfo)
        return static_cast<HBITMAP>(
            LoadImageW(hModule, pszName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    void* pvBits = nullptr;
    HBITMAP hbm = CreateDIBSection(nullptr, pInfo, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    if (hbm && pvBits)
        memcpy(pvBits, pSource, cbStride * static_cast<size_t>(RowsOf(pInfo)));
    return hbm;
}

// The strip as an image list made by hand from the resource's pixels, or as the platform makes
// it from a DIB section when the strip is not a plain 24-bit one.
HIMAGELIST CopyImageListResource(HINSTANCE hModule, LPCWSTR pszName, int cx, COLORREF crMask)
{
    const BYTE* pSource = nullptr;
    size_t cbStride = 0;
    const BITMAPINFO* pInfo = ResourceDib(hModule, pszName, &pSource, &cbStride);
    if (!pInfo || pInfo->bmiHeader.biBitCount != 24 || cx <= 0 || pInfo->bmiHeader.biWidth < cx)
        return ImageList_LoadImageW(hModule, pszName, cx, 0, crMask, IMAGE_BITMAP,
                                    LR_CREATEDIBSECTION);

    // The picture as a DIB section of the resource's own layout, keyed pixels blacked out, and
    // a monochrome mask that is white where they were: what ImageList_AddMasked would make.
    const int cxStrip = pInfo->bmiHeader.biWidth;
    const bool bBottomUp = pInfo->bmiHeader.biHeight > 0;
    const int cy = RowsOf(pInfo);
    void* pvImage = nullptr;
    HBITMAP hImage = CreateDIBSection(nullptr, pInfo, DIB_RGB_COLORS, &pvImage, nullptr, 0);
    const size_t cbMaskStride = ((static_cast<size_t>(cxStrip) + 15) / 16) * 2; // word rows
    BYTE* pMask = static_cast<BYTE*>(calloc(cbMaskStride, static_cast<size_t>(cy)));
    HIMAGELIST hList = nullptr;
    if (hImage && pvImage && pMask)
    {
        const BYTE keyR = GetRValue(crMask), keyG = GetGValue(crMask), keyB = GetBValue(crMask);
        BYTE* pImage = static_cast<BYTE*>(pvImage);
        for (int row = 0; row < cy; ++row) // rows as stored; the mask runs top-down
        {
            BYTE* pOut = pImage + cbStride * static_cast<size_t>(row);
            BYTE* pMaskRow =
                pMask + cbMaskStride * static_cast<size_t>(bBottomUp ? cy - 1 - row : row);
            memcpy(pOut, pSource + cbStride * static_cast<size_t>(row), cbStride);
            for (int x = 0; x < cxStrip; ++x, pOut += 3)
                if (pOut[0] == keyB && pOut[1] == keyG && pOut[2] == keyR)
                {
                    pOut[0] = pOut[1] = pOut[2] = 0;
                    pMaskRow[x >> 3] |= static_cast<BYTE>(0x80 >> (x & 7));
                }
        }
        HBITMAP hMask = CreateBitmap(cxStrip, cy, 1, 1, pMask);
        if (hMask)
            hList = ImageList_Create(cx, cy, ILC_MASK | ILC_COLOR24, cxStrip / cx, 0);
        if (hList && ImageList_Add(hList, hImage, hMask) < 0)
        {
            ImageList_Destroy(hList);
            hList = nullptr;
        }
        if (hMask)
            DeleteObject(hMask);
    }
    free(pMask);
    if (hImage)
        DeleteObject(hImage);
    return hList;
}
} // namespace standin
