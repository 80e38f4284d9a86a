// NavWindow.h - subclassing helpers shared by the controls.
#pragma once

#include "NavCommon.h"

namespace nav
{
// Gives a subclassed window its native procedure back (when one was replaced), then destroys
// it, so that no message of the destruction reaches an object that is going away. Nothing
// happens when the window is gone already.
inline void RestoreAndDestroy(HWND hwnd, WNDPROC pfnOldProc)
{
    if (!IsWindow(hwnd))
        return;
    if (pfnOldProc)
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnOldProc));
    DestroyWindow(hwnd);
}
} // namespace nav
