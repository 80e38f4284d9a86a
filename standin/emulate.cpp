// emulate.cpp - native controls that behave as the device's: the desktop's list view, static
// and edit differ from the device's in ways the controls rely on. Each native control made
// through the stand-in's CreateWindowExW gets a procedure of the stand-in beneath whatever
// subclasses it later, so that to the library it is the device's control.
#include "StandInState.h"

#include <commctrl.h>

#include <unordered_map>

namespace
{
// What the stand-in keeps of a window it emulates, until the window goes: its own procedure,
// the emulations that were on when it was made, and the margins EM_SETMARGINS set (an edit's).
// Kept in the process, not in window properties: every message of such a window asks, and
// Wine asks its server for a property.
struct Emulated
{
    WNDPROC pfnDesktop;
    unsigned uEmulations;
    int nLeftMargin;  // -1: never set
    int nRightMargin; // -1: never set
};

std::unordered_map<HWND, Emulated>& Windows()
{
    static std::unordered_map<HWND, Emulated> windows;
    return windows;
}

Emulated* Find(HWND hwnd)
{
    std::unordered_map<HWND, Emulated>::iterator it = Windows().find(hwnd);
    return it == Windows().end() ? nullptr : &it->second;
}

LRESULT CallDesktop(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const Emulated* pEmulated = Find(hwnd);
    return pEmulated ? CallWindowProcW(pEmulated->pfnDesktop, hwnd, uMsg, wParam, lParam)
                     : DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

void Emulate(HWND hwnd, WNDPROC pfnEmulation, unsigned uEmulations)
{
    if (!uEmulations)
        return;
    const WNDPROC pfnDesktop = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnEmulation)));
    const Emulated emulated = {pfnDesktop, uEmulations, -1, -1};
    Windows()[hwnd] = emulated;
}

bool Has(HWND hwnd, unsigned uEmulation)
{
    const Emulated* pEmulated = Find(hwnd);
    return pEmulated && (pEmulated->uEmulations & uEmulation) != 0;
}

LRESULT Forget(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CallDesktop(hwnd, uMsg, wParam, lParam);
    Windows().erase(hwnd);
    return lResult;
}

bool IsClass(LPCWSTR pszClass, LPCWSTR pszName)
{
    return !IS_INTRESOURCE(pszClass) && lstrcmpiW(pszClass, pszName) == 0;
}

// ---- The list view ----
//
// List View Styles (Windows CE 5.0), LVS_NOSCROLL: scrolling is disabled for the user, who
// gets no scroll bars; the device's list still scrolls by LVM_SCROLL (LVM_SCROLL, Windows CE
// 5.0), WM_VSCROLL and LVM_ENSUREVISIBLE, which the list's own bar relies on. The desktop's list
// view refuses every kind of scrolling with the bit, so the list is made without it, the bit is
// added behind its back, style changes that only touch it stay unheard, and the scroll bars the
// list then shows are taken off before they take room.

const LONG kNativeBars = WS_VSCROLL | WS_HSCROLL;

LRESULT OnListStyleChange(HWND hwnd, UINT uMsg, WPARAM wParam, STYLESTRUCT* pStyle)
{
    if (static_cast<int>(wParam) != GWL_STYLE || !pStyle)
        return CallDesktop(hwnd, uMsg, wParam, reinterpret_cast<LPARAM>(pStyle));
    const DWORD dwHidden = LVS_NOSCROLL | kNativeBars;
    if (((pStyle->styleOld ^ pStyle->styleNew) & ~dwHidden) == 0)
        return 0;
    STYLESTRUCT seen = {pStyle->styleOld & ~LVS_NOSCROLL, pStyle->styleNew & ~LVS_NOSCROLL};
    const LRESULT lResult = CallDesktop(hwnd, uMsg, wParam, reinterpret_cast<LPARAM>(&seen));
    if (uMsg == WM_STYLECHANGING)
        pStyle->styleNew = seen.styleNew | (pStyle->styleNew & LVS_NOSCROLL);
    return lResult;
}

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_NCCALCSIZE:
    {
        const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        if (style & kNativeBars)
            SetWindowLongW(hwnd, GWL_STYLE, style & ~kNativeBars);
        return CallDesktop(hwnd, uMsg, wParam, lParam);
    }
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
        return OnListStyleChange(hwnd, uMsg, wParam, reinterpret_cast<STYLESTRUCT*>(lParam));
    case WM_NCDESTROY:
        return Forget(hwnd, uMsg, wParam, lParam);
    default:
        return CallDesktop(hwnd, uMsg, wParam, lParam);
    }
}

// ---- The static ----
//
// The desktop's static paints itself at once on a new text, enable state or font, filling its
// face with the brush its parent answers to WM_CTLCOLORSTATIC, over the owner's picture; the
// device's is only invalidated and paints at the next WM_PAINT, which reaches its owner first.
// And the desktop's static lets taps fall through to the window beneath unless it has
// SS_NOTIFY; the device asks no hit test, and taps reach the static.

LRESULT QuietStatic(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE))
        return CallDesktop(hwnd, uMsg, wParam, lParam);
    CallDesktop(hwnd, WM_SETREDRAW, FALSE, 0);
    const LRESULT lResult = CallDesktop(hwnd, uMsg, wParam, lParam);
    CallDesktop(hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
    return lResult;
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SETFONT:
        if (Has(hwnd, STANDIN_STATIC_QUIET))
            return QuietStatic(hwnd, uMsg, wParam, lParam);
        break;
    case WM_NCHITTEST:
        if (Has(hwnd, STANDIN_STATIC_TAPS))
        {
            const LRESULT lHit = CallDesktop(hwnd, uMsg, wParam, lParam);
            return lHit == HTTRANSPARENT ? HTCLIENT : lHit;
        }
        break;
    case WM_NCDESTROY:
        return Forget(hwnd, uMsg, wParam, lParam);
    }
    return CallDesktop(hwnd, uMsg, wParam, lParam);
}

// ---- The edit ----
//
// The desktop's edit leaves its clip region on the DC it is given with WM_PAINT, so that what
// is drawn there afterwards is clipped to its text; and it sets its margins from each new font.
// The device's edit does neither: its margins are what EM_SETMARGINS (Windows CE 5.0) set, in
// pixels, with no width taken from a font.

// The native edit paints into the DC in wParam.
LRESULT PaintKeepingClip(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    HDC hdc = reinterpret_cast<HDC>(wParam);
    const int nSaved = SaveDC(hdc);
    const LRESULT lResult = CallDesktop(hwnd, WM_PAINT, wParam, lParam);
    if (nSaved)
        RestoreDC(hdc, nSaved);
    return lResult;
}

void RememberMargins(HWND hwnd, WPARAM fwMargin, LPARAM lParam)
{
    Emulated* pEmulated = Find(hwnd);
    if (pEmulated && (fwMargin & EC_LEFTMARGIN))
        pEmulated->nLeftMargin = LOWORD(lParam);
    if (pEmulated && (fwMargin & EC_RIGHTMARGIN))
        pEmulated->nRightMargin = HIWORD(lParam);
}

// A new font, and the margins set before it back as they were.
LRESULT SetFontKeepingMargins(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CallDesktop(hwnd, WM_SETFONT, wParam, lParam);
    const Emulated* pEmulated = Find(hwnd);
    if (!pEmulated)
        return lResult;
    const int nLeft = pEmulated->nLeftMargin, nRight = pEmulated->nRightMargin;
    const WPARAM fwMargin = (nLeft >= 0 ? EC_LEFTMARGIN : 0) | (nRight >= 0 ? EC_RIGHTMARGIN : 0);
    if (fwMargin)
        CallDesktop(hwnd, EM_SETMARGINS, fwMargin,
                    MAKELPARAM(nLeft >= 0 ? nLeft : 0, nRight >= 0 ? nRight : 0));
    return lResult;
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_PAINT:
        if (wParam && Has(hwnd, STANDIN_EDIT_CLIP))
            return PaintKeepingClip(hwnd, wParam, lParam);
        break;
    case EM_SETMARGINS:
        RememberMargins(hwnd, wParam, lParam);
        break;
    case WM_SETFONT:
        if (Has(hwnd, STANDIN_EDIT_MARGINS))
            return SetFontKeepingMargins(hwnd, wParam, lParam);
        break;
    case WM_NCDESTROY:
        return Forget(hwnd, uMsg, wParam, lParam);
    }
    return CallDesktop(hwnd, uMsg, wParam, lParam);
}
} // namespace

namespace standin
{
bool MakesListWithoutNoScroll(LPCWSTR pszClass, DWORD dwStyle)
{
    return (dwStyle & LVS_NOSCROLL) && IsClass(pszClass, WC_LISTVIEWW) &&
           Emulates(STANDIN_LIST_NOSCROLL);
}

void EmulateNativeControl(HWND hwnd, LPCWSTR pszClass, DWORD dwStyle)
{
    if (MakesListWithoutNoScroll(pszClass, dwStyle))
    {
        Emulate(hwnd, ListViewProc, STANDIN_LIST_NOSCROLL);
        SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | LVS_NOSCROLL);
    }
    else if (IsClass(pszClass, L"STATIC"))
        Emulate(hwnd, StaticProc, Emulated(STANDIN_STATIC_QUIET | STANDIN_STATIC_TAPS));
    else if (IsClass(pszClass, L"EDIT"))
        Emulate(hwnd, EditProc, Emulated(STANDIN_EDIT_CLIP | STANDIN_EDIT_MARGINS));
}
} // namespace standin
