// NavPlatform.h - the device services the controls use, and stand-ins for the desktop.
//
// On the device these come from the system (coredll, aygshell). On desktop Windows and Wine
// they do not exist, so the library carries small stand-ins that behave as the controls
// expect, plus hooks through which tests watch and steer them. Nothing outside this header
// and its source file knows which of the two it gets.
#pragma once

#include "NavCommon.h"
#include "platform/NavBridge.h"
#include "win32/NavHandle.h" // ZNC_TEST_API

#if defined(_WIN32_WCE)

#include <dbgapi.h> // NKDbgPrintfW
#include <sipapi.h> // SipGetInfo, SipShowIM
// TransparentImage and GetProcAddressW come with the device's windows.h.

#else // desktop stand-ins

#include "platform/NavSipInfo.h" // SIPINFO, SIPF_ON, SIPF_OFF

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

} // extern "C"

namespace nav
{
namespace desktop
{
// What the stand-ins remember, which the test hooks set and read (hooks/NavTestHooks.h).
struct StandIns
{
    void (*pfnDebugHook)(const wchar_t* pszLine, void* pContext); // also receives each line
    void* pDebugHookContext;
    DWORD dwSipFlags;    // what SipGetInfo reports
    BOOL bSipQueryFails; // SipGetInfo fails while set
    int nSipShowCount;   // SipShowIM calls
    DWORD dwSipLastShow; // the latest SipShowIM flag
};
extern StandIns g_standIns;
} // namespace desktop
} // namespace nav

#endif // _WIN32_WCE

namespace nav
{
// Loads a bitmap resource of the library as LoadBitmapW does on the device: a DIB section in
// the resource's own format. Desktop bridge: the desktop's LoadBitmapW converts the resource
// to a device-dependent bitmap instead, and even LoadImage asked for a DIB section costs tens of
// microseconds under Wine at every paint; the desktop build copies the resource's pixels into
// a DIB section of its own format itself.
ZNC_TEST_API HBITMAP LoadBitmapResource(HINSTANCE hModule, WORD wResId);

// Loads a strip bitmap of the library as an image list of cx-wide images whose crMask pixels
// are transparent, as ImageList_LoadImage does on the device. Desktop bridge: the desktop's
// ImageList_LoadImage reduces a device-dependent bitmap to 16 colours, and asked for a DIB
// section it goes through LoadImage and a monochrome mask made with GDI blits (over 100
// microseconds under Wine for the check and radio icons, at every paint); the desktop build
// copies a 24-bit strip straight from the resource and masks it by hand, with the same result.
ZNC_TEST_API HIMAGELIST LoadImageListResource(HINSTANCE hModule, WORD wResId, int cx,
                                              COLORREF crMask);
} // namespace nav
