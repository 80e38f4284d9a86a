// ce5.h - forced into every library source of the device check builds (cmake/Device.cmake,
// run by tools/device-check.sh). It stands the desktop MinGW headers in for the device's SDK and
// narrows them to what the Windows CE 5.0 reference documents: what the device lacks is
// poisoned, so a use is a compile error, and calls whose device prototype differs get that
// prototype.
#pragma once

#ifndef _WIN32_WCE
#error "ce5.h is for the device-configured compile only"
#endif

// Every system header a library source may include, before anything is poisoned: a header
// read after the poison below could not mention the poisoned names itself.
#include <windows.h>
#include <commctrl.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#ifdef __cplusplus
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <climits>
#include <new>
#include <memory>
#include <utility>
#define CE5_EXTERN_C extern "C"
#else
#define CE5_EXTERN_C extern
#endif

// ---- Prototypes that differ on the device ----

// The Interlocked functions take a plain LPLONG on the device, not a volatile pointer. The
// desktop headers make them inline functions of their own, so the device's prototypes go under
// other names that call the device's exports (the i686 check build's stdcall names carry the
// size of the arguments).
#if defined(__i386__)
#define CE5_EXPORT_NAME(name, bytes) "_" #name "@" #bytes
#else
#define CE5_EXPORT_NAME(name, bytes) #name
#endif
CE5_EXTERN_C LONG WINAPI CE5_InterlockedIncrement(LPLONG lpAddend)
    __asm__(CE5_EXPORT_NAME(InterlockedIncrement, 4));
CE5_EXTERN_C LONG WINAPI CE5_InterlockedDecrement(LPLONG lpAddend)
    __asm__(CE5_EXPORT_NAME(InterlockedDecrement, 4));
CE5_EXTERN_C LONG WINAPI CE5_InterlockedCompareExchange(LPLONG Destination, LONG Exchange,
                                                      LONG Comperand)
    __asm__(CE5_EXPORT_NAME(InterlockedCompareExchange, 12));
#undef InterlockedIncrement
#undef InterlockedDecrement
#undef InterlockedCompareExchange
#define InterlockedIncrement CE5_InterlockedIncrement
#define InterlockedDecrement CE5_InterlockedDecrement
#define InterlockedCompareExchange CE5_InterlockedCompareExchange

// Device-only services declared by the device's own headers (winbase.h, wingdi.h).
CE5_EXTERN_C BOOL WINAPI TransparentImage(HDC hdcDest, LONG DstX, LONG DstY, LONG DstCx,
                                        LONG DstCy, HANDLE hSrc, LONG SrcX, LONG SrcY,
                                        LONG SrcCx, LONG SrcCy, COLORREF TransparentColor);
CE5_EXTERN_C FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName);

// ---- Absent on the device ----

// GDI calls without a CE 5.0 page.
#pragma GCC poison GdiFlush DPtoLP LPtoDP SetPixelV GetMapMode GetGraphicsMode
#pragma GCC poison TransparentBlt GradientFill GetGuiResources
// Image lists: ImageList_DrawEx has a page, ImageList_Draw none.
#pragma GCC poison ImageList_Draw

// Window data is 32 bits wide: only GetWindowLong/SetWindowLong with GWL_*.
#undef GetWindowLongPtrW
#undef SetWindowLongPtrW
#undef GetWindowLongPtr
#undef SetWindowLongPtr
#undef GetClassLongPtrW
#undef GWLP_USERDATA
#undef GWLP_WNDPROC
#undef GWLP_ID
#undef GWLP_HINSTANCE
#pragma GCC poison GetWindowLongPtrW SetWindowLongPtrW GetWindowLongPtr SetWindowLongPtr
#pragma GCC poison GetClassLongPtrW GWLP_USERDATA GWLP_WNDPROC GWLP_ID GWLP_HINSTANCE

// Messages the device does not send.
#undef WM_STYLECHANGING
#undef WM_NCCALCSIZE
#undef WM_NCHITTEST
#pragma GCC poison WM_STYLECHANGING WM_NCCALCSIZE WM_NCHITTEST

// C run-time pieces outside the device's run time (no C99 maths), and lstrcpyn.
#pragma GCC poison trunc truncf lround lrint
#undef lstrcpyn
#pragma GCC poison lstrcpynW lstrcpyn

// Bitmap loading: the device has LoadBitmapW; LoadImage's DIB-section flag is the desktop's.
#undef LR_CREATEDIBSECTION
#pragma GCC poison LR_CREATEDIBSECTION

// Registry access masks: the device takes 0.
#undef KEY_READ
#pragma GCC poison KEY_READ

// The MSVC-mode check (tools/device-check.sh) reads these headers with __GNUC__ defined, which
// makes __forceinline GNU's extern inline; the decoder means the compiler's own keyword.
#ifdef _MSC_VER
#undef __forceinline
#endif
