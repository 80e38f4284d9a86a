// NavPlatform.h - the device services the controls use, and stand-ins for the desktop.
//
// On the device these come from the system (coredll, aygshell). On desktop Windows and Wine
// they do not exist, so the library carries small stand-ins that behave as the controls
// expect, plus hooks through which tests watch and steer them. Nothing outside this header
// and its source file knows which of the two it gets.
#pragma once

#include "NavCommon.h"
#include "platform/NavBridge.h"

#if defined(_WIN32_WCE)

#include <dbgapi.h> // NKDbgPrintfW
#include <sipapi.h> // SipGetInfo, SipShowIM
// TransparentImage and GetProcAddressW come with the device's windows.h.

#else // desktop stand-ins

#ifndef SIPF_OFF
#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#endif

// The soft input panel's state, laid out as on the device (48 bytes on the 32-bit target).
typedef struct tagSIPINFO
{
    DWORD cbSize;
    DWORD fdwFlags;
    RECT rcVisibleDesktop;
    RECT rcSipRect;
    DWORD dwImDataSize;
    void* pvImData;
} SIPINFO;

extern "C" {

// Formats one line like wsprintf and writes it to the debugger output (OutputDebugStringW).
// When a debug hook is installed the line also goes to the hook.
ZNC_API void NKDbgPrintfW(LPCWSTR lpszFmt, ...);

// Draws a colour-keyed image: the same arguments as TransparentBlt, except that hSrc may be
// either a memory DC or a bitmap (which is then selected into a DC of our own for the call).
ZNC_API BOOL TransparentImage(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest,
                              HANDLE hSrc, int xSrc, int ySrc, int cxSrc, int cySrc,
                              COLORREF crTransparent);

// Simulated soft input panel. SipGetInfo fails (FALSE, nothing written) when cbSize is not
// sizeof(SIPINFO) or when a test made the query fail; otherwise it reports the simulated
// flags. SipShowIM records the call and, for SIPF_ON / SIPF_OFF, sets the flags.
ZNC_API BOOL SipGetInfo(SIPINFO* pSipInfo);
ZNC_API BOOL SipShowIM(DWORD dwFlag);

// GetProcAddress with a wide export name, as on the device.
ZNC_API FARPROC GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName);

// ---- Test hooks (desktop build only) ----

// Receives every debug line after formatting. Pass null to remove the hook.
typedef void (*NavDebugHook)(const wchar_t* pszLine, void* pContext);
ZNC_API void NavSetDebugHook(NavDebugHook pfnHook, void* pContext);

// Sets what SipGetInfo reports: the panel flags and whether the query fails.
ZNC_API void NavSipSimulate(DWORD dwFlags, BOOL bQueryFails);
// Number of SipShowIM calls since the last NavSipSimulate, and the flag of the latest one.
ZNC_API int NavSipShowCount(void);
ZNC_API DWORD NavSipLastShowFlag(void);

} // extern "C"

#endif // _WIN32_WCE

namespace nav
{
// Loads a bitmap resource of the library with LoadBitmapW. Desktop bridge: on the device
// LoadBitmapW keeps the resource as a DIB section in its own format; the desktop's converts it
// to a device-dependent bitmap instead, which under Wine costs over ten times as long (hundreds
// of microseconds for an edit frame) at every paint. Asking for a DIB section gives the
// device's result.
inline HBITMAP LoadBitmapResource(HINSTANCE hModule, WORD wResId)
{
#if ZNC_DESKTOP_BRIDGES
    if (nav::BridgeOn(NAV_BRIDGE_DIB_BITMAPS))
        return static_cast<HBITMAP>(LoadImageW(hModule, MAKEINTRESOURCEW(wResId), IMAGE_BITMAP,
                                               0, 0, LR_CREATEDIBSECTION));
#endif
    return LoadBitmapW(hModule, MAKEINTRESOURCEW(wResId));
}
} // namespace nav
