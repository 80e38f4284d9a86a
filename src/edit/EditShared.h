// EditShared.h - what the edit and the combo box's edit both need from a native "EDIT".
#pragma once

#include "NavCommon.h"
#include "core/NavGdi.h"
#include "platform/NavBridge.h"

namespace nav
{
namespace edit
{
// Answers a control-colour request: the native control draws its text without filling the
// field, so what was composed beneath it stays visible.
inline LRESULT TransparentCtlColor(HDC hdc)
{
    if (hdc)
        SetBkMode(hdc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

// Passes WM_SETFONT to the native edit. Desktop bridge: the desktop's edit resets its margins
// to the font's defaults, which would put the text on the frame; they are put back.
inline LRESULT SetFontKeepingMargins(WNDPROC pfnOld, HWND hWnd, WPARAM wParam, LPARAM lParam)
{
#if ZNC_DESKTOP_BRIDGES
    if (nav::BridgeOn(NAV_BRIDGE_EDIT_MARGINS))
    {
        LRESULT margins = CallWindowProcW(pfnOld, hWnd, EM_GETMARGINS, 0, 0);
        LRESULT lr = CallWindowProcW(pfnOld, hWnd, WM_SETFONT, wParam, lParam);
        CallWindowProcW(pfnOld, hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                        static_cast<LPARAM>(static_cast<DWORD>(margins)));
        return lr;
    }
#endif
    return CallWindowProcW(pfnOld, hWnd, WM_SETFONT, wParam, lParam);
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
        CallWindowProcW(pfnOld, hWnd, WM_PAINT, reinterpret_cast<WPARAM>(hdcMem), lParam);
        return;
    }
#endif
    CallWindowProcW(pfnOld, hWnd, WM_PAINT, reinterpret_cast<WPARAM>(hdcMem), lParam);
}

// A rectangle in screen coordinates converted, corner by corner, to hWndParent's client
// coordinates.
inline RECT ScreenToParent(HWND hWndParent, RECT rc)
{
    ScreenToClient(hWndParent, reinterpret_cast<POINT*>(&rc.left));
    ScreenToClient(hWndParent, reinterpret_cast<POINT*>(&rc.right));
    return rc;
}

// The point carried in a mouse message's lParam; client coordinates may be negative.
inline POINT PointFromLParam(LPARAM lParam)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return pt;
}
} // namespace edit
} // namespace nav
