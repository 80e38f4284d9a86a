// NavTestHooks.h - the test hooks: exports of the desktop build through which the tests and the
// benchmarks watch and steer the library. They are not part of the product's interface (the
// public headers in include/ are), no application should call them, and the device build has
// none of them: this header cannot be read there.
#pragma once

#include "NavCommon.h"

#if defined(_WIN32_WCE)
#error "the test hooks exist in the desktop build only"
#endif

class CxImage;

extern "C" {

// ---- The live-object ledger ----

// Owners of GDI objects, DCs and image lists the library made and has not given back yet.
ZNC_API long NavGdiLiveObjects(void);

// ---- Shared images ----

// The entry point's load and release steps: NavLoadSharedImages fills each shared image that
// is still empty from hModule; NavReleaseSharedImages frees whatever exists and leaves all
// three null.
ZNC_API void NavLoadSharedImages(HINSTANCE hModule);
ZNC_API void NavReleaseSharedImages(void);
// The shared images as the controls read them.
ZNC_API HBITMAP NavSharedBarBitmap(void);
ZNC_API CxImage* NavSharedFace(BOOL bLarge);

// ---- The list's scroll bar ----

// The thumb's top edge of the bar whose window is hwndBar, -1 when hwndBar is not a scroll bar
// of this library.
ZNC_API int NavScrollBarThumbTop(HWND hwndBar);
// Paints the bar of hwndBar into hdc as its WM_PAINT does (into the client area's coordinates
// of hdc); 0 when hwndBar is not a scroll bar of this library or hdc is null.
ZNC_API int NavScrollBarPaint(HWND hwndBar, HDC hdc);

// ---- The desktop bridges ----

// Switches bridges (NavBridge bits, platform/NavBridge.h) on (the default) or off; answers the
// bridges on before the call.
ZNC_API unsigned NavSetBridges(unsigned uOn);

// ---- The stand-ins for the device's services ----

// Receives every debug line after formatting. Pass null to remove the hook.
typedef void (*NavDebugHook)(const wchar_t* pszLine, void* pContext);
ZNC_API void NavSetDebugHook(NavDebugHook pfnHook, void* pContext);
// Sets what SipGetInfo reports: the panel flags and whether the query fails.
ZNC_API void NavSipSimulate(DWORD dwFlags, BOOL bQueryFails);
// Number of SipShowIM calls since the last NavSipSimulate, and the flag of the latest one.
ZNC_API int NavSipShowCount(void);
ZNC_API DWORD NavSipLastShowFlag(void);

// ---- Allocation failures ----

// Makes the library's allocation points (win32/NavAlloc.h) fail: nFail 0 fails none (the
// default); nFail N fails the Nth point counted from this call, and with bFromThenOn every
// point after it too. The image library has hooks of its own (ImgBlendHooks.h).
ZNC_API void NavFailAllocations(long nFail, BOOL bFromThenOn);
// Points counted since the last NavFailAllocations.
ZNC_API long NavAllocationCount(void);

// While set, every buffer the combo box fetches an item's text into fails to allocate.
ZNC_API void NavComboFailTextBuffers(BOOL bFail);

} // extern "C"
