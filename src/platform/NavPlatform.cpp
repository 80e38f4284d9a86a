// NavPlatform.cpp - desktop stand-ins for the device services (see NavPlatform.h).
#include "platform/NavPlatform.h"

#if !defined(_WIN32_WCE)

#include <stdarg.h>
#include <stdio.h>

namespace
{
NavDebugHook g_pfnDebugHook;
void* g_pDebugHookContext;

DWORD g_dwSipFlags = SIPF_OFF;
BOOL g_bSipQueryFails;
int g_nSipShowCount;
DWORD g_dwSipLastShow;
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
    if (g_pfnDebugHook)
        g_pfnDebugHook(szLine, g_pDebugHookContext);
}

BOOL TransparentImage(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HANDLE hSrc,
                      int xSrc, int ySrc, int cxSrc, int cySrc, COLORREF crTransparent)
{
    if (!hSrc)
        return FALSE;
    if (GetObjectType(hSrc) != OBJ_BITMAP)
        return TransparentBlt(hdcDest, xDest, yDest, cxDest, cyDest, static_cast<HDC>(hSrc),
                              xSrc, ySrc, cxSrc, cySrc, crTransparent);

    HDC hdcSrc = CreateCompatibleDC(hdcDest);
    if (!hdcSrc)
        return FALSE;
    HGDIOBJ hOld = SelectObject(hdcSrc, hSrc);
    BOOL bOk = TransparentBlt(hdcDest, xDest, yDest, cxDest, cyDest, hdcSrc, xSrc, ySrc, cxSrc,
                              cySrc, crTransparent);
    SelectObject(hdcSrc, hOld);
    DeleteDC(hdcSrc);
    return bOk;
}

BOOL SipGetInfo(SIPINFO* pSipInfo)
{
    if (!pSipInfo || pSipInfo->cbSize != sizeof(SIPINFO) || g_bSipQueryFails)
        return FALSE;
    pSipInfo->fdwFlags = g_dwSipFlags;
    return TRUE;
}

BOOL SipShowIM(DWORD dwFlag)
{
    ++g_nSipShowCount;
    g_dwSipLastShow = dwFlag;
    if (dwFlag == SIPF_ON || dwFlag == SIPF_OFF)
        g_dwSipFlags = dwFlag;
    return TRUE;
}

FARPROC GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName)
{
    if (!lpProcName)
        return nullptr;
    // Export names are ASCII; anything else cannot name an export.
    char szName[256];
    int n = WideCharToMultiByte(CP_ACP, 0, lpProcName, -1, szName, sizeof(szName), nullptr,
                                nullptr);
    if (n <= 0)
        return nullptr;
    return GetProcAddress(hModule, szName);
}

void NavSetDebugHook(NavDebugHook pfnHook, void* pContext)
{
    g_pfnDebugHook = pfnHook;
    g_pDebugHookContext = pContext;
}

void NavSipSimulate(DWORD dwFlags, BOOL bQueryFails)
{
    g_dwSipFlags = dwFlags;
    g_bSipQueryFails = bQueryFails;
    g_nSipShowCount = 0;
    g_dwSipLastShow = 0;
}

int NavSipShowCount(void)
{
    return g_nSipShowCount;
}

DWORD NavSipLastShowFlag(void)
{
    return g_dwSipLastShow;
}

#endif // !_WIN32_WCE
