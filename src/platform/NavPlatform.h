// NavPlatform.h - the device services the controls use (coredll, aygshell), and the library's
// resource loaders. On the desktop the stand-in of the device's platform (standin/) provides
// the same calls.
#pragma once

#include "NavCommon.h"
#include "win32/NavAlloc.h" // ZNC_TEST_API

#include <dbgapi.h> // NKDbgPrintfW
#include <sipapi.h> // SipGetInfo, SipShowIM
// TransparentImage and GetProcAddressW come with the device's windows.h.

namespace nav
{
// Loads a bitmap resource of the library: a DIB section in the resource's own format.
ZNC_TEST_API HBITMAP LoadBitmapResource(HINSTANCE hModule, WORD wResId);

// Loads a strip bitmap of the library as an image list of cx-wide images whose crMask pixels
// are transparent, in the bitmap's own colours.
ZNC_TEST_API HIMAGELIST LoadImageListResource(HINSTANCE hModule, WORD wResId, int cx,
                                              COLORREF crMask);
} // namespace nav
