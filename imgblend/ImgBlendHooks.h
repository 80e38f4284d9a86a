// ImgBlendHooks.h - the image library's test hooks: exports of its desktop build through which
// the tests make its allocations fail. Not part of its interface; absent from the device build.
#pragma once

#include <windows.h>

#include "CxImage.h" // IMGBLEND_API

#if defined(_WIN32_WCE)
#error "the test hooks exist in the desktop build only"
#endif

extern "C" {
// Makes the image library's allocation points fail: nFail 0 fails none (the default); nFail N
// fails the Nth point counted from this call, and with bFromThenOn every point after it too.
IMGBLEND_API void ImgBlendFailAllocations(long nFail, BOOL bFromThenOn);
// Points counted since the last ImgBlendFailAllocations.
IMGBLEND_API long ImgBlendAllocationCount(void);
}
