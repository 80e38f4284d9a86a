// ExampleArt.h - the little artwork and window plumbing the example programs share. Plain
// Win32 and header-only: the settings screen builds against an installed package and takes
// nothing else of this source tree.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace example
{
// One row badge: a rounded square in a colour, with a white letter on it.
struct Badge
{
    COLORREF color;
    const wchar_t* letter;
};

// An image list of cx-square badges, masked on magenta, lettered in hFont; with bRim each gets
// a one-pixel white rim.
inline HIMAGELIST MakeBadges(int cx, const Badge* pBadges, int nBadges, HFONT hFont, bool bRim)
{
    const COLORREF crKey = RGB(255, 0, 255);
    HIMAGELIST hil = ImageList_Create(cx, cx, ILC_COLOR24 | ILC_MASK, nBadges, 0);
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBRUSH hbrKey = CreateSolidBrush(crKey);
    HPEN hpenRim = bRim ? CreatePen(PS_SOLID, 1, RGB(255, 255, 255)) : nullptr;
    HGDIOBJ hOldPen = SelectObject(hdc, bRim ? hpenRim : GetStockObject(NULL_PEN));
    HGDIOBJ hOldFont = SelectObject(hdc, hFont);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));
    const int nExtent = bRim ? cx : cx + 1; // a null pen leaves the right and bottom edge out
    for (int i = 0; i < nBadges; ++i)
    {
        HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, cx, cx);
        HGDIOBJ hOldBitmap = SelectObject(hdc, hbm);
        RECT rc = {0, 0, cx, cx};
        FillRect(hdc, &rc, hbrKey);
        HBRUSH hbrFill = CreateSolidBrush(pBadges[i].color);
        HGDIOBJ hOldBrush = SelectObject(hdc, hbrFill);
        RoundRect(hdc, 0, 0, nExtent, nExtent, cx * 3 / 8, cx * 3 / 8);
        SelectObject(hdc, hOldBrush);
        DeleteObject(hbrFill);
        DrawTextW(hdc, pBadges[i].letter, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(hdc, hOldBitmap);
        ImageList_AddMasked(hil, hbm, crKey);
        DeleteObject(hbm);
    }
    SelectObject(hdc, hOldFont);
    SelectObject(hdc, hOldPen);
    if (hpenRim)
        DeleteObject(hpenRim);
    DeleteObject(hbrKey);
    DeleteDC(hdc);
    ReleaseDC(nullptr, hdcScreen);
    return hil;
}

// Answers a control's background request (WM_NAV_PAINTBKGND: wParam the DC, lParam the
// rectangle in the parent) from a bitmap that covers the parent's client area. False when the
// request carries no DC or rectangle.
inline bool PaintBitmapBeneath(HBITMAP hbm, WPARAM wParam, LPARAM lParam)
{
    if (!wParam || !lParam)
        return false;
    const RECT* prc = reinterpret_cast<const RECT*>(lParam);
    HDC hdc = reinterpret_cast<HDC>(wParam);
    HDC hdcBitmap = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hdcBitmap, hbm);
    BitBlt(hdc, 0, 0, prc->right - prc->left, prc->bottom - prc->top, hdcBitmap, prc->left,
           prc->top, SRCCOPY);
    SelectObject(hdcBitmap, hOld);
    DeleteDC(hdcBitmap);
    return true;
}

// Readies the common controls, registers the main window's class (arrow cursor, double
// clicks) and makes the window with a client area of cxClient x cyClient. Null on failure.
inline HWND CreateMainWindow(HINSTANCE hInstance, WNDPROC pfnProc, const wchar_t* pszClass,
                             const wchar_t* pszTitle, DWORD dwStyle, int cxClient, int cyClient)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = pszClass;
    RegisterClassW(&wc);
    RECT rcWindow = {0, 0, cxClient, cyClient};
    AdjustWindowRect(&rcWindow, dwStyle, FALSE);
    return CreateWindowW(pszClass, pszTitle, dwStyle, 0, 0, rcWindow.right - rcWindow.left,
                         rcWindow.bottom - rcWindow.top, nullptr, nullptr, hInstance, nullptr);
}
} // namespace example
