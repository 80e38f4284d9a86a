// NavTestHooks.h - the one seam through which the tests and the benchmarks reach the library's
// own pieces that no call into the platform shows: the shared images, the list scroll bar's
// thumb, and (through ZNC_TEST_API) the owners and the paint buffer. Only the DLLs built for the
// tests and benchmarks (ZNC_TEST_SEAM) have it; the DLL that ships does not. What the platform
// sees (the GDI ledger, allocation failures, the soft input panel, the debug lines) the stand-in
// of the device's platform counts, fails and records from below (standin/StandIn.h).
#pragma once

#include "NavCommon.h"

class CxImage;

extern "C" {

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

} // extern "C"
