// StandIn.h - what the stand-in of the device's platform (coredll.dll and commctrl.dll for
// Wine, standin/) tells the tests and lets them steer. Programs that load ZorNavCtrl.dll under
// Wine with the stand-in beside it link libstandin.a for these; the device has none of them.
//
// Everything here is counted and failed from below: the calls the two DLLs of the library
// make into the platform, told apart by the module that made them.
#pragma once

#include <windows.h>

#include <dbgapi.h> // NKDbgPrintfW
#include <sipapi.h> // SipGetInfo, SipShowIM

// The stand-in's own source defines them; its .def file exports them.
#if defined(STANDIN_BUILDING)
#define STANDIN_API
#else
#define STANDIN_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

// ---- The device's services that the desktop lacks (as the device's windows.h declares them) ----

BOOL WINAPI TransparentImage(HDC hdcDest, LONG DstX, LONG DstY, LONG DstCx, LONG DstCy,
                             HANDLE hSrc, LONG SrcX, LONG SrcY, LONG SrcCx, LONG SrcCy,
                             COLORREF TransparentColor);
FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName);

// ---- The live-object ledger ----

// GDI objects, DCs, regions and image lists that ZorNavCtrl.dll obtained from the platform and
// has not given back yet (deleted, released, or handed to the system).
STANDIN_API long StandInLiveObjects(void);
// The same for another module (L"imgblend.dll", whose images keep their drawing surface until
// they are released).
STANDIN_API long StandInLiveObjectsOf(const wchar_t* pszModule);

// ---- Allocation failures ----

// Makes the allocating calls of one module (L"ZorNavCtrl.dll" or L"imgblend.dll") fail: nFail
// 0 fails none (the default); nFail N fails its Nth allocating call counted from now, and with
// bFromThenOn every one after it too. With pszCall (L"malloc", L"CreateCompatibleDC", ...)
// only calls of that name count and fail. A failed call answers as the platform does when it
// runs out of memory: null (or 0) and ERROR_NOT_ENOUGH_MEMORY.
STANDIN_API void StandInFailAllocations(const wchar_t* pszModule, long nFail,
                                                  BOOL bFromThenOn, const wchar_t* pszCall);
// Allocating calls of the module counted since its last StandInFailAllocations.
STANDIN_API long StandInAllocationCount(const wchar_t* pszModule);

// ---- Calls counted ----

// Starts counting, from zero, every call ZorNavCtrl.dll and imgblend.dll make into the platform
// (bOn), or stops; what was counted stays readable until counting starts again.
STANDIN_API void StandInCountCalls(BOOL bOn);
// The device call at nIndex of the stand-in's list (null past its end), and the times the two
// DLLs called it while counting.
STANDIN_API const char* StandInCallName(int nIndex);
STANDIN_API long StandInCallCount(int nIndex);
// The pixels those calls wrote, from their own rectangles: copied (BitBlt, StretchBlt,
// TransparentImage, ImageList_DrawEx), filled (PatBlt, FillRect, DrawFrameControl) and
// blended (AlphaBlend).
STANDIN_API void StandInPixelCounts(long* pnCopied, long* pnFilled, long* pnBlended);

// ---- Debug output ----

// Receives every line NKDbgPrintfW writes, after formatting. Null removes the hook.
typedef void (*StandInDebugHook)(const wchar_t* pszLine, void* pContext);
STANDIN_API void StandInSetDebugHook(StandInDebugHook pfnHook, void* pContext);

// ---- The soft input panel ----

// Sets what SipGetInfo reports (the panel shown or not, and whether the query fails), shows or
// hides the panel's window to match, and starts counting SipShowIM calls again.
STANDIN_API void StandInSipSimulate(DWORD dwFlags, BOOL bQueryFails);
// SipShowIM calls since the last StandInSipSimulate, and the flag of the latest one.
STANDIN_API int StandInSipShowCount(void);
STANDIN_API DWORD StandInSipLastShowFlag(void);
// The panel's window (class "SipWndClass"), visible at the bottom of the screen while the
// panel is shown; null before it was first shown.
STANDIN_API HWND StandInSipPanel(void);

// ---- The device behaviours emulated ----

// One bit per behaviour of the device that the desktop lacks and the stand-in emulates (the
// README's table gives each one's reference page).
enum StandInEmulation
{
    // A list view made with LVS_NOSCROLL still scrolls; only its scroll bars stay hidden.
    STANDIN_LIST_NOSCROLL = 0x0001,
    // A static takes a new text, enable state or font without painting over its owner's
    // picture at once: it is invalidated instead.
    STANDIN_STATIC_QUIET = 0x0002,
    // Taps reach a static, whatever its SS_NOTIFY.
    STANDIN_STATIC_TAPS = 0x0004,
    // An edit hands the DC of its paint back with the clip region it was given.
    STANDIN_EDIT_CLIP = 0x0008,
    // An edit keeps its margins when it gets a new font.
    STANDIN_EDIT_MARGINS = 0x0010,
    // RegOpenKeyExW ignores the access mask: a key opened with 0 can be read.
    STANDIN_REGISTRY_ACCESS = 0x0020,
    // LoadBitmapW and ImageList_LoadImageW keep a bitmap resource's own format.
    STANDIN_RESOURCE_FORMAT = 0x0040,
    STANDIN_ALL = 0x007F
};
// Switches emulations on (the default: all) or off; answers those on before the call. Windows
// made while an emulation is off keep the desktop's behaviour for their whole life.
STANDIN_API unsigned StandInSetEmulations(unsigned uOn);

#ifdef __cplusplus
}
#endif
