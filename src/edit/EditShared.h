// EditShared.h - what the edit and the combo box's edit both need from a native "EDIT".
#pragma once

#include "NavCommon.h"
#include "core/NavCompose.h"
#include "win32/NavGdi.h"
#include "win32/NavWindow.h"
#include "platform/NavBridge.h"

namespace nav
{
namespace edit
{
// Passes WM_SETFONT to the native edit. Desktop bridge: the desktop's edit resets its margins
// to the font's defaults, which would put the text on the frame; they are put back.
inline LRESULT SetFontKeepingMargins(WNDPROC pfnOld, HWND hWnd, WPARAM wParam, LPARAM lParam)
{
#if ZNC_DESKTOP_BRIDGES
    if (nav::BridgeOn(NAV_BRIDGE_EDIT_MARGINS))
    {
        LRESULT margins = nav::CallNative(pfnOld, hWnd, EM_GETMARGINS, 0, 0);
        LRESULT lr = nav::CallNative(pfnOld, hWnd, WM_SETFONT, wParam, lParam);
        nav::CallNative(pfnOld, hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                        static_cast<LPARAM>(static_cast<DWORD>(margins)));
        return lr;
    }
#endif
    return nav::CallNative(pfnOld, hWnd, WM_SETFONT, wParam, lParam);
}

// Lets the native edit paint its text into hdcMem over what was composed there; the native
// edit paints into the DC in wParam. Desktop bridge: the desktop's edit leaves its clip region
// on that DC, so its state is put back and what is drawn afterwards is not clipped to the text
// area.
inline void PaintNativeText(WNDPROC pfnOld, HWND hWnd, HDC hdcMem, LPARAM lParam)
{
#if ZNC_DESKTOP_BRIDGES
    if (nav::BridgeOn(NAV_BRIDGE_EDIT_CLIP))
    {
        nav::SavedDC saved(hdcMem);
        nav::CallNative(pfnOld, hWnd, WM_PAINT, reinterpret_cast<WPARAM>(hdcMem), lParam);
        return;
    }
#endif
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
