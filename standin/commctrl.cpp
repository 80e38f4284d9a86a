// commctrl.cpp - the bodies of the stand-in commctrl.dll: the image lists counted in the
// ledger and failed for the tests, and made from a bitmap as the device makes them. Every other
// call is forwarded to Wine's comctl32 (see standin/CMakeLists.txt).
#include "StandInState.h"

#include <commctrl.h>

extern "C" {

// ImageList_LoadImage (Windows CE 5.0): with flags 0 the image list keeps the bitmap's own
// colours. The desktop loads a device-dependent bitmap and reduces the list to 16 colours.
HIMAGELIST WINAPI Ce5_ImageList_LoadImageW(HINSTANCE hi, LPCWSTR lpbmp, int cx, int cGrow,
                                           COLORREF crMask, UINT uType, UINT uFlags)
{
    return standin::Obtain<HIMAGELIST>(STANDIN_CALLER(), L"ImageList_LoadImageW", [&] {
        if (uType == IMAGE_BITMAP && uFlags == 0 && standin::Emulates(STANDIN_RESOURCE_FORMAT))
            return standin::CopyImageListResource(hi, lpbmp, cx, crMask);
        return ImageList_LoadImageW(hi, lpbmp, cx, cGrow, crMask, uType, uFlags);
    });
}

BOOL WINAPI Ce5_ImageList_Destroy(HIMAGELIST himl)
{
    standin::Untrack(himl);
    return ImageList_Destroy(himl);
}

} // extern "C"
