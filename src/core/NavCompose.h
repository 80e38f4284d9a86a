// NavCompose.h - composing a control over its parent: where the control stands in the parent,
// asking the parent to paint what lies beneath it (WM_NAV_PAINTBKGND), and the colour answer
// that keeps a native child from filling over what was composed.
#pragma once

#include "NavCommon.h"

namespace nav
{
// The window rectangle of hwnd in its parent's client coordinates (empty when hwnd is no
// window).
inline RECT WindowRectInParent(HWND hwnd)
{
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// A rectangle of hwnd's client area in its parent's client coordinates.
inline RECT ClientRectInParent(HWND hwnd, const RECT& rcClient)
{
    RECT rc = rcClient;
    MapWindowPoints(hwnd, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
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

// Answers a control-colour request: the native control draws its text without filling its
// background, so what was composed beneath it stays visible.
inline LRESULT TransparentCtlColor(HDC hdc)
{
    if (hdc)
        SetBkMode(hdc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}
} // namespace nav
