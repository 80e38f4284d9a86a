// EditShared.h - what the edit and the combo box's edit both need from a native "EDIT".
#pragma once

#include "NavCommon.h"
#include "core/NavCompose.h"
#include "win32/NavGdi.h"
#include "win32/NavWindow.h"

namespace nav
{
namespace edit
{
// Lets the native edit paint its text into hdcMem over what was composed there; the native
// edit paints into the DC in wParam.
inline void PaintNativeText(WNDPROC pfnOld, HWND hWnd, HDC hdcMem, LPARAM lParam)
{
    nav::CallNative(pfnOld, hWnd, WM_PAINT, reinterpret_cast<WPARAM>(hdcMem), lParam);
}

// The point carried in a mouse message's lParam; client coordinates may be negative.
inline POINT PointFromLParam(LPARAM lParam)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return pt;
}
} // namespace edit
} // namespace nav
