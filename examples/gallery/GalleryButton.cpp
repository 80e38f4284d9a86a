// GalleryButton.cpp - the gallery's button section: push buttons on the shared faces in each
// state, push-on/push-off buttons from an image list made at run time, a button painted by the
// application, and check boxes and radio buttons inside a group box over a bitmap.
#include "Gallery.h"

namespace
{
const COLORREF kMagenta = RGB(0xFF, 0x00, 0xFF);

// Everything the section creates lives as long as the gallery.
CNavBitmapButton g_push[4];
CNavBitmapButton g_toggle[3];
CNavBitmapButton g_painted;
CNavBitmapButton g_checks[3];
CNavBitmapButton g_radios[3];
CNavBitmapButton g_apply;
CNavGroupBox g_group;
HIMAGELIST g_hToggleFaces;
HIMAGELIST g_hRadioIcon;
HBITMAP g_hGroupBitmap;
WNDPROC g_pfnGroupProc;
WNDPROC g_pfnFocusProc;

// A rounded rectangle with a vertical gradient and a rim, on magenta (the image-list mask).
void PaintPill(HDC hdc, int x, int cx, int cy, COLORREF top, COLORREF bottom, COLORREF rim)
{
    RECT rc = {x, 0, x + cx, cy};
    HBRUSH hbrKey = CreateSolidBrush(kMagenta);
    FillRect(hdc, &rc, hbrKey);
    DeleteObject(hbrKey);
    HRGN hrgn = CreateRoundRectRgn(x + 1, 1, x + cx, cy, 14, 14);
    SelectClipRgn(hdc, hrgn);
    for (int y = 0; y < cy; ++y)
    {
        const int r = GetRValue(top) + (GetRValue(bottom) - GetRValue(top)) * y / cy;
        const int g = GetGValue(top) + (GetGValue(bottom) - GetGValue(top)) * y / cy;
        const int b = GetBValue(top) + (GetBValue(bottom) - GetBValue(top)) * y / cy;
        HBRUSH hbr = CreateSolidBrush(RGB(r, g, b));
        RECT band = {x, y, x + cx, y + 1};
        FillRect(hdc, &band, hbr);
        DeleteObject(hbr);
    }
    SelectClipRgn(hdc, nullptr);
    HBRUSH hbrRim = CreateSolidBrush(rim);
    FrameRgn(hdc, hrgn, hbrRim, 1, 1);
    DeleteObject(hbrRim);
    DeleteObject(hrgn);
}

// An image list of masked images drawn by pfnPaint into one strip.
template <class F> HIMAGELIST MakeImageList(int cx, int cy, int nImages, F&& paint)
{
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, cx * nImages, cy);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    for (int i = 0; i < nImages; ++i)
        paint(hdc, i * cx, i);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    ReleaseDC(nullptr, hdcScreen);
    HIMAGELIST hList = ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, nImages, 0);
    ImageList_AddMasked(hList, hbm, kMagenta);
    DeleteObject(hbm);
    return hList;
}

// Faces of a push-on/push-off button with four images: 0 off and disabled, 1 off, 2 (unused
// by this kind), 3 on.
HIMAGELIST MakeToggleFaces()
{
    return MakeImageList(106, 50, 4, [](HDC hdc, int x, int i) {
        static const COLORREF colours[4][3] = {
            {RGB(0xC8, 0xCC, 0xD2), RGB(0x9C, 0xA2, 0xAA), RGB(0x80, 0x86, 0x8E)},
            {RGB(0xE6, 0xEC, 0xF2), RGB(0xB4, 0xC0, 0xCE), RGB(0x6E, 0x7C, 0x8C)},
            {RGB(0xE6, 0xEC, 0xF2), RGB(0xB4, 0xC0, 0xCE), RGB(0x6E, 0x7C, 0x8C)},
            {RGB(0x9C, 0xE8, 0x8C), RGB(0x3C, 0xB0, 0x3E), RGB(0x24, 0x80, 0x2A)},
        };
        PaintPill(hdc, x, 106, 50, colours[i][0], colours[i][1], colours[i][2]);
    });
}

// A small leaf-green disc, the icon of the economical route.
HIMAGELIST MakeRadioIcon()
{
    return MakeImageList(30, 30, 1, [](HDC hdc, int x, int) {
        RECT rc = {x, 0, x + 30, 30};
        HBRUSH hbrKey = CreateSolidBrush(kMagenta);
        FillRect(hdc, &rc, hbrKey);
        DeleteObject(hbrKey);
        HBRUSH hbr = CreateSolidBrush(RGB(0x4C, 0xB8, 0x4A));
        HPEN hPen = CreatePen(PS_SOLID, 2, RGB(0x2A, 0x7A, 0x2E));
        HGDIOBJ hOldBrush = SelectObject(hdc, hbr), hOldPen = SelectObject(hdc, hPen);
        Ellipse(hdc, x + 5, 5, x + 25, 25);
        MoveToEx(hdc, x + 9, 21, nullptr);
        LineTo(hdc, x + 20, 10);
        SelectObject(hdc, hOldBrush);
        SelectObject(hdc, hOldPen);
        DeleteObject(hbr);
        DeleteObject(hPen);
    });
}

// A light card with faint grid lines, like a map sheet, for the group box.
HBITMAP MakeGroupBitmap(int cx, int cy)
{
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, cx, cy);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    for (int y = 0; y < cy; ++y)
    {
        const int t = y * 24 / cy;
        HBRUSH hbr = CreateSolidBrush(RGB(0xF4 - t, 0xF7 - t, 0xFB - t / 2));
        RECT band = {0, y, cx, y + 1};
        FillRect(hdc, &band, hbr);
        DeleteObject(hbr);
    }
    HPEN hPen = CreatePen(PS_SOLID, 1, RGB(0xDC, 0xE4, 0xEE));
    HGDIOBJ hOldPen = SelectObject(hdc, hPen);
    for (int x = 24; x < cx; x += 24)
    {
        MoveToEx(hdc, x, 0, nullptr);
        LineTo(hdc, x, cy);
    }
    for (int y = 24; y < cy; y += 24)
    {
        MoveToEx(hdc, 0, y, nullptr);
        LineTo(hdc, cx, y);
    }
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    ReleaseDC(nullptr, hdcScreen);
    return hbm;
}

// The application's own face: an orange pill that darkens while pressed and greys out when
// disabled.
void PaintOrangeFace(HDC hdc, RECT* prc, UINT uState, UINT)
{
    const int cx = prc->right - prc->left, cy = prc->bottom - prc->top;
    HRGN hrgn = CreateRoundRectRgn(prc->left + 1, prc->top + 1, prc->right, prc->bottom, 16, 16);
    COLORREF top = RGB(0xFF, 0xC0, 0x6A), bottom = RGB(0xF0, 0x80, 0x1E);
    if (uState & ODS_SELECTED)
        top = RGB(0xE8, 0x86, 0x2A), bottom = RGB(0xC8, 0x62, 0x10);
    else if (uState & ODS_DISABLED)
        top = RGB(0xD8, 0xD8, 0xD8), bottom = RGB(0xB0, 0xB0, 0xB0);
    SelectClipRgn(hdc, hrgn);
    for (int y = 0; y < cy; ++y)
    {
        HBRUSH hbr = CreateSolidBrush(RGB(GetRValue(top) + (GetRValue(bottom) - GetRValue(top)) * y / cy,
                                          GetGValue(top) + (GetGValue(bottom) - GetGValue(top)) * y / cy,
                                          GetBValue(top) + (GetBValue(bottom) - GetBValue(top)) * y / cy));
        RECT band = {prc->left, prc->top + y, prc->left + cx, prc->top + y + 1};
        FillRect(hdc, &band, hbr);
        DeleteObject(hbr);
    }
    SelectClipRgn(hdc, nullptr);
    HBRUSH hbrRim = CreateSolidBrush(RGB(0xB0, 0x58, 0x08));
    FrameRgn(hdc, hrgn, hbrRim, 1, 1);
    DeleteObject(hbrRim);
    DeleteObject(hrgn);
}

// The group box leaves its buttons' background to the application: this subclass, stacked on
// top of the group box's own procedure, answers it with the part of the bitmap beneath.
LRESULT CALLBACK GroupBackgroundProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NAV_PAINTBKGND && example::PaintBitmapBeneath(g_hGroupBitmap, wParam, lParam))
        return 0;
    return CallWindowProcW(g_pfnGroupProc, hwnd, msg, wParam, lParam);
}

// The focused look without taking the keyboard focus from other sections of the gallery.
LRESULT CALLBACK ShowFocusedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DRAWITEM && lParam)
        reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->itemState |= ODS_FOCUS;
    return CallWindowProcW(g_pfnFocusProc, hwnd, msg, wParam, lParam);
}

WNDPROC Subclass(HWND hwnd, WNDPROC pfn)
{
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfn)));
}

void Make(CNavBitmapButton& btn, HWND hwndParent, int x, int y, int cx, int cy,
          const wchar_t* pszCaption, ButtonType nType, HFONT hFont, UINT nId,
          HIMAGELIST hList = nullptr, DrawBkProc pfn = nullptr, DWORD dwStyle = 0)
{
    RECT rc = {x, y, x + cx, y + cy};
    btn.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | dwStyle,
               const_cast<wchar_t*>(pszCaption), rc, hwndParent, nId, hList, nType, pfn);
    btn.SetFont(hFont);
}
} // namespace

void BuildButtonSection(GalleryContext& ctx)
{
    const HWND hwnd = ctx.hwndParent;
    const int left = ctx.area.left;
    int y = GalleryTitle(ctx, L"Button");

    // The large shared faces: normal, pressed, focused, disabled.
    const wchar_t* captions[4] = {L"Route", L"Pressed", L"Focused", L"Disabled"};
    for (int i = 0; i < 4; ++i)
        Make(g_push[i], hwnd, left + i * 114, y, 106, 50, captions[i], NAVBTN_PUSH, ctx.hFont,
             3000 + i);
    SendMessageW(g_push[1].GetSafeHwnd(), BM_SETSTATE, TRUE, 0);
    g_pfnFocusProc = Subclass(g_push[2].GetSafeHwnd(), ShowFocusedProc);
    EnableWindow(g_push[3].GetSafeHwnd(), FALSE);

    // Push-on/push-off buttons from a run-time image list, and the application's own face.
    y += 58;
    g_hToggleFaces = MakeToggleFaces();
    Make(g_toggle[0], hwnd, left, y, 106, 50, L"Voice on", NAVBTN_TOGGLE, ctx.hFont, 3010,
         g_hToggleFaces);
    g_toggle[0].SetCheck(1);
    Make(g_toggle[1], hwnd, left + 114, y, 106, 50, L"Voice off", NAVBTN_TOGGLE, ctx.hFont,
         3011, g_hToggleFaces);
    Make(g_toggle[2], hwnd, left + 228, y, 106, 50, L"Locked", NAVBTN_TOGGLE, ctx.hFont, 3012,
         g_hToggleFaces);
    EnableWindow(g_toggle[2].GetSafeHwnd(), FALSE);
    Make(g_painted, hwnd, left + 342, y, 154, 50, L"Go home", NAVBTN_PUSH, ctx.hFont, 3013,
         nullptr, PaintOrangeFace);

    // Check boxes and radio buttons on a card: a group box over its bitmap.
    y += 62;
    const int cxGroup = ctx.area.right - left, cyGroup = ctx.area.bottom - y;
    g_hGroupBitmap = MakeGroupBitmap(cxGroup, cyGroup);
    RECT rcGroup = {left, y, left + cxGroup, y + cyGroup};
    g_group.Create(GetModuleHandleW(nullptr), WS_VISIBLE | WS_CLIPCHILDREN,
                   const_cast<wchar_t*>(L"Route options"), rcGroup, hwnd, 3020, g_hGroupBitmap);
    const HWND hwndGroup = g_group.GetSafeHwnd();
    SendMessageW(hwndGroup, WM_SETFONT, reinterpret_cast<WPARAM>(ctx.hSmallFont), FALSE);
    g_pfnGroupProc = Subclass(hwndGroup, GroupBackgroundProc);

    const wchar_t* checks[3] = {L"Avoid tolls", L"Avoid ferries", L"Avoid motorways"};
    for (int i = 0; i < 3; ++i)
        Make(g_checks[i], hwndGroup, 14, 26 + i * 40, 220, 30, checks[i], NAVBTN_CHECK,
             ctx.hFont, 3030 + i);
    g_checks[0].SetCheck(1);
    g_checks[2].SetCheck(1);
    EnableWindow(g_checks[2].GetSafeHwnd(), FALSE);

    g_hRadioIcon = MakeRadioIcon();
    const wchar_t* radios[3] = {L"Fastest", L"Shortest", L"Economical"};
    for (int i = 0; i < 3; ++i)
        Make(g_radios[i], hwndGroup, 254, 26 + i * 40, 220, 30, radios[i], NAVBTN_RADIO,
             ctx.hFont, 3040 + i, i == 2 ? g_hRadioIcon : nullptr, nullptr, i ? 0 : WS_GROUP);
    g_radios[0].SetCheck(1);

    // A small shared face (78 pixels), drawn through the group box's owner-draw forwarding.
    Make(g_apply, hwndGroup, cxGroup - 92, cyGroup - 62, 78, 50, L"Apply", NAVBTN_PUSH,
         ctx.hFont, 3050);
}
