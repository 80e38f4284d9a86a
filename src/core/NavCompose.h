// NavCompose.h - composing a control over its parent: where the control stands in the parent,
// asking the parent to paint what lies beneath it (WM_NAV_PAINTBKGND), and the colour answer
// that keeps a native child from filling over what was composed.
#pragma once

#include "NavCommon.h"
#include "win32/NavWindow.h"

namespace nav
{
// The window rectangle of hwnd in its parent's client coordinates (empty when hwnd is no
// window). The place is remembered between paints (PlaceInParent).
inline RECT WindowRectInParent(HWND hwnd)
{
    return PlaceInParent(hwnd).rcWindow;
}

// A rectangle of a window's client area in its parent's client coordinates, the window standing
// at place.
inline RECT ClientRectIn(const Place& place, const RECT& rcClient)
{
    const RECT rc = {rcClient.left + place.ptClient.x, rcClient.top + place.ptClient.y,
                     rcClient.right + place.ptClient.x, rcClient.bottom + place.ptClient.y};
    return rc;
}

// A rectangle of hwnd's client area in its parent's client coordinates.
inline RECT ClientRectInParent(HWND hwnd, const RECT& rcClient)
{
    return ClientRectIn(PlaceInParent(hwnd), rcClient);
}

// Asks hwnd's parent to paint what it shows beneath rcInParent (parent client coordinates)
// into hdc, whose origin stands for that rectangle's top-left corner. The parent receives a
// copy, so whatever it does to the rectangle stays with it.
inline void PaintParentBeneath(HWND hwnd, HDC hdc, const RECT& rcInParent)
{
    RECT rcRequest = rcInParent;
    SendMessageW(GetParent(hwnd), WM_NAV_PAINTBKGND, reinterpret_cast<WPARAM>(hdc),
                 reinterpret_cast<LPARAM>(&rcRequest));
}

// The same, hParent being the window's parent, already asked for (PlaceInParent).
inline void PaintBeneathIn(HWND hParent, HDC hdc, const RECT& rcInParent)
{
    RECT rcRequest = rcInParent;
    SendMessageW(hParent, WM_NAV_PAINTBKGND, reinterpret_cast<WPARAM>(hdc),
                 reinterpret_cast<LPARAM>(&rcRequest));
}

// The same for a window standing at place, whose parent was asked for with it.
inline void PaintParentBeneath(const Place& place, HDC hdc, const RECT& rcInParent)
{
    PaintBeneathIn(place.hParent, hdc, rcInParent);
}

// Answers a control-colour request: the native control draws its text without filling its
// background, so what was composed beneath it stays visible.
inline LRESULT TransparentCtlColor(HDC hdc)
{
    if (hdc)
        SetBkMode(hdc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}
} // namespace nav
