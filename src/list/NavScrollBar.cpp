// NavScrollBar.cpp - the list's scroll bar: its window, thumb placement, painting from the
// PNG strip and the thumb, and the pen: arrows and the track scroll the list at release, page
// arrows post WM_NAV_PAGESCROLL to the parent, the thumb is dragged and dropped.
#include "list/NavScrollBar.h"

#include "NavListCtrl.h"
#include "CxImage.h"
#include "core/NavCore.h"
#include "core/NavCompose.h"
#include "win32/NavGdi.h"
#include "win32/NavWindow.h"
#include "list/NavListShared.h"
#include "resource.h"

#include <limits.h>

namespace
{
const int kBarWidth = 40;
const int kArrowHeight = 39;
const int kThumbHeight = 45;
const int kThumbHold = 22;           // pen's distance below the thumb's top edge
const int kFixedHeights = 123;       // two line arrows and the thumb
const int kTrackRowInStrip = 78;     // first track row in PNG 105
const int kLineUpRowInStrip = 39;
const int kLineDownRowInStrip = 402;
const int kPageDownRowInStrip = 441;
const BYTE kActive = 255;
const BYTE kInactive = 127;

// Scrolls the list by a number of rows. One LVM_SCROLL carries an int of pixels, to which the
// native list adds half a row before it rounds to whole rows: a longer distance (more than about
// 71.6 million rows of 30 pixels) goes as several, each in the same direction. At least one is
// sent, a distance of 0 included.
void ScrollListByRows(HWND hList, double rows, int nRowHeight)
{
    const double maxRows = (INT_MAX - nRowHeight) / nRowHeight;
    do
    {
        const double step = rows > maxRows ? maxRows : rows < -maxRows ? -maxRows : rows;
        const int dy = static_cast<int>(step) * nRowHeight;
        SendMessageW(hList, LVM_SCROLL, 0, static_cast<LPARAM>(dy));
        rows -= step;
    } while (rows != 0);
}
} // namespace

// Initial values: no window, thumb at its top below a page and a line arrow.
CNavScrollBar::CNavScrollBar()
    : m_hWnd(NULL), m_hInst(NULL), m_pfnOldProc(NULL), m_pListCtrl(NULL),
      m_zonePressed(Zone::None), m_nThumbTop(2 * kArrowHeight), m_nPageArrowHeight(kArrowHeight),
      m_bListRegionPending(false)
{
}

// Destroys the window if it still exists; the subclassing is not undone first.
CNavScrollBar::~CNavScrollBar()
{
    DestroyBarWindow();
}

// Destroys the bar's window, if any.
void CNavScrollBar::DestroyBarWindow()
{
    nav::DestroyKeepingProc(m_hWnd);
    m_hWnd = NULL;
}

// Makes the "STATIC" window over the list's right 40 pixels, raises it and subclasses it. A bar
// that has a window already keeps it.
BOOL CNavScrollBar::Create(HWND hList, HINSTANCE hInst, UINT nID)
{
    if (IsWindow(m_hWnd))
        return FALSE;
    HWND hParent = GetParent(hList);
    RECT rc = nav::WindowRectInParent(hList);
    m_hInst = hInst;
    const RECT rcBar = {rc.right - kBarWidth, rc.top, rc.right, rc.bottom};
    m_hWnd = nav::CreateChild(0, L"STATIC", L"NavScrollBar", WS_CHILD | WS_VISIBLE, rcBar, hParent,
                              nID, hInst);
    if (!IsWindow(m_hWnd))
    {
        m_hWnd = NULL;
        return FALSE;
    }
    SetWindowPos(m_hWnd, HWND_TOP, rc.right - kBarWidth, rc.top, kBarWidth, rc.bottom - rc.top,
                 SWP_NOSIZE);
    nav::Subclass(m_hWnd, this, WindowProc, m_pfnOldProc);
    return TRUE;
}

// The client height H of the bar's window.
int CNavScrollBar::ClientHeight()
{
    RECT rc = {};
    GetClientRect(m_hWnd, &rc);
    return rc.bottom - rc.top;
}

// The list has more rows than one page shows.
bool CNavScrollBar::IsListScrollable()
{
    return m_pListCtrl && m_pListCtrl->GetItemCount() > m_pListCtrl->GetPageSize();
}

// Places the thumb after the list's top row: at the top for row 0, at the bottom while the last
// row is in view, proportionally in between. A bar without a window has nothing to place.
void CNavScrollBar::UpdateThumb()
{
    if (!IsWindow(m_hWnd) || !m_pListCtrl)
        return;
    const int H = ClientHeight();
    const int P = m_nPageArrowHeight;
    const double page = m_pListCtrl->GetPageSize();
    const double pos = m_pListCtrl->GetScrollPos();
    const double count = m_pListCtrl->GetItemCount();
    const double travel = H - 2 * P - kFixedHeights;

    if (pos == 0)
        m_nThumbTop = P + kArrowHeight;
    else if (pos > 0 && page + pos >= count)
        m_nThumbTop = static_cast<int>((P + travel) + kArrowHeight);
    else
    {
        double ratio = count == 0 ? 0 : travel / (count - page);
        m_nThumbTop = static_cast<int>(((ratio * pos) + P) + kArrowHeight);
    }
    ClampAndRepaint();
}

// Keeps the thumb between the line arrows (the upper bound first, so that on a bar too short
// for the thumb it ends at the top) and repaints the bar.
void CNavScrollBar::ClampAndRepaint()
{
    const int H = ClientHeight();
    const int P = m_nPageArrowHeight;
    const int lineDownTop = H - P - kArrowHeight;
    if (m_nThumbTop + kThumbHeight >= lineDownTop)
        m_nThumbTop = lineDownTop - kThumbHeight;
    if (m_nThumbTop <= P + kArrowHeight)
        m_nThumbTop = P + kArrowHeight;
    InvalidateRect(m_hWnd, NULL, TRUE);
}

// The procedure installed on the bar's window: finds the object in the user data.
LRESULT CALLBACK CNavScrollBar::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return nav::ForwardToObject(&CNavScrollBar::ScrollBarProc, nav::NoObject::DefaultProc, hWnd,
                                uMsg, wParam, lParam);
}

// The bar's messages; everything else goes to the native "STATIC" procedure.
LRESULT CNavScrollBar::ScrollBarProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_PAINT:
        return OnPaint(hWnd);
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam));
    case WM_MOUSEMOVE:
        TrackThumb(lParam, FALSE);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // the static class asks for double clicks: a second tap is a tap
        OnLButtonDown(wParam, lParam);
        return 1;
    case WM_LBUTTONUP:
        OnLButtonUp(wParam, lParam);
        return 1;
    default:
        break;
    }
    return nav::CallNative(m_pfnOldProc, hWnd, uMsg, wParam, lParam);
}

// The whole bar, composed in one paint.
LRESULT CNavScrollBar::OnPaint(HWND hWnd)
{
    nav::PaintDC dc(hWnd);
    OnPaintEx(dc);
    return 1;
}

// The native static asks for its colours; it paints nothing of its own over the bar.
LRESULT CNavScrollBar::OnCtlColorStatic(HDC hdc)
{
    return nav::TransparentCtlColor(hdc);
}

// Paints the whole bar into hdc (or into the window's own DC when hdc is null). A bar without a
// window paints nothing.
void CNavScrollBar::OnPaintEx(HDC hdc)
{
    if (!IsWindow(m_hWnd))
        return;
    if (hdc)
    {
        Paint(hdc);
        return;
    }
    nav::WindowDC dc(m_hWnd);
    if (dc)
        Paint(dc);
}

// Composes the parent's background, the arrows, the track and the thumb off screen and copies
// the picture in one step. Arrows and track are half-faded while there is nothing to scroll;
// the page arrows are at full strength while the application says so.
void CNavScrollBar::Paint(HDC hdc)
{
    const bool bScrollable = IsListScrollable();
    const BYTE lineAlpha = bScrollable ? kActive : kInactive;
    const BYTE pageAlpha = (m_pListCtrl && m_pListCtrl->GetIsScrollPage()) ? kActive : kInactive;

    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    const int W = rcClient.right - rcClient.left;
    const int H = rcClient.bottom - rcClient.top;
    const int P = m_nPageArrowHeight;
    const int lineDownTop = H - P - kArrowHeight;
    const int left = rcClient.left, top = rcClient.top;

    nav::PaintBuffer back(hdc, W, H);
    if (!back)
        return;
    const nav::WindowWatch watch(m_hWnd, this);
    const nav::Place place = nav::PlaceInParent(m_hWnd);
    nav::PaintParentBeneath(place, back, place.rcWindow);
    if (watch.Died())
        return;

    CxImage image;
    if (image.LoadPNGFromResource(GetModuleInstance(), IDP_SCROLLBAR))
    {
        if (m_pListCtrl && m_pListCtrl->IsPageScrollEnabled() && P > 0)
        {
            image.DrawAlphaChannel(back, left, top, kBarWidth, P, 0, 0, pageAlpha, 0);
            image.DrawAlphaChannel(back, left, lineDownTop + kArrowHeight, kBarWidth, P, 0,
                                   kPageDownRowInStrip, pageAlpha, 0);
        }
        image.DrawAlphaChannel(back, left, top + P, kBarWidth, kArrowHeight, 0,
                               kLineUpRowInStrip, lineAlpha, 0);
        image.DrawAlphaChannel(back, left, lineDownTop, kBarWidth, kArrowHeight, 0,
                               kLineDownRowInStrip, lineAlpha, 0);
        image.DrawAlphaChannel(back, left, top + P + kArrowHeight, kBarWidth,
                               lineDownTop - P - kArrowHeight, 0, kTrackRowInStrip, lineAlpha, 0);
        image.ReleaseImage();

        if (bScrollable && P + kArrowHeight <= m_nThumbTop &&
            m_nThumbTop + kThumbHeight <= lineDownTop &&
            image.LoadPNGFromResource(GetModuleInstance(), IDP_SCROLL_THUMB))
        {
            image.DrawAlphaChannel(back, left, top + m_nThumbTop, kBarWidth, kThumbHeight, 0, 0,
                                   kActive, 0);
            image.ReleaseImage();
        }
    }
    BitBlt(hdc, left, top, W, H, back, left, top, SRCCOPY);
}

// Pen down: takes the capture and remembers which zone was hit. Nothing scrolls yet.
void CNavScrollBar::OnLButtonDown(WPARAM /*wParam*/, LPARAM lParam)
{
    SetCapture(m_hWnd);
    m_zonePressed = ZoneAt(nav::PointFromLParam(lParam)); // a release lost with the capture must not act later
}

// The zone under a point of the client area; the arrows before the thumb, which only counts
// while the list can scroll.
CNavScrollBar::Zone::Value CNavScrollBar::ZoneAt(POINT pt)
{
    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    const int H = rcClient.bottom - rcClient.top;
    const int P = m_nPageArrowHeight;
    const int lineDownTop = H - P - kArrowHeight;

    RECT rcPageUp, rcPageDown, rcLineDown, rcLineUp, rcThumb;
    SetRect(&rcPageUp, 0, 0, kBarWidth, P);
    SetRect(&rcPageDown, 0, H - P, kBarWidth, rcClient.bottom);
    SetRect(&rcLineDown, 0, lineDownTop, kBarWidth, lineDownTop + kArrowHeight);
    SetRect(&rcLineUp, 0, P, kBarWidth, P + kArrowHeight);
    if (IsListScrollable() && m_nThumbTop < lineDownTop)
        SetRect(&rcThumb, 0, m_nThumbTop, kBarWidth, m_nThumbTop + kThumbHeight);
    else
        SetRect(&rcThumb, 0, 0, 0, 0);

    if (PtInRect(&rcPageUp, pt))
        return Zone::PageUp;
    if (PtInRect(&rcPageDown, pt))
        return Zone::PageDown;
    if (PtInRect(&rcLineDown, pt))
        return Zone::LineDown;
    if (PtInRect(&rcLineUp, pt))
        return Zone::LineUp;
    if (PtInRect(&rcThumb, pt))
        return Zone::Thumb;
    return Zone::None;
}

// Pen up: acts on the zone pressed. Page arrows post WM_NAV_PAGESCROLL to the parent, line
// arrows and the track scroll the list, a dragged thumb drops the list at its row.
void CNavScrollBar::OnLButtonUp(WPARAM /*wParam*/, LPARAM lParam)
{
    const int y = nav::PointFromLParam(lParam).y;
    const bool bPageScroll = m_pListCtrl && m_pListCtrl->IsPageScrollEnabled();
    const nav::WindowWatch watch(m_hWnd, this);

    switch (m_zonePressed)
    {
    case Zone::PageUp:
    case Zone::PageDown:
        if (bPageScroll)
            PostMessageW(GetParent(m_hWnd), WM_NAV_PAGESCROLL,
                         m_zonePressed == Zone::PageUp ? 1 : 0, 0);
        break;
    case Zone::LineUp:
        ScrollList(SB_LINEUP);
        break;
    case Zone::LineDown:
        ScrollList(SB_LINEDOWN);
        break;
    case Zone::Thumb:
        TrackThumb(lParam, TRUE);
        break;
    case Zone::None:
        // A tap on the track; the release point decides, and the thumb's top row pages up.
        ScrollList(y > m_nThumbTop ? SB_PAGEDOWN : SB_PAGEUP);
        break;
    }
    if (watch.Died())
        return; // the list went while it scrolled, and its bar with it
    ReleaseCapture();
    ClearPressed();
}

// Scrolls the list by a line or a page and moves the thumb after it; a list with nothing to
// scroll stays as it is.
void CNavScrollBar::ScrollList(WPARAM nCode)
{
    if (!IsListScrollable())
        return;
    const nav::WindowWatch watch(m_hWnd, this);
    SendMessageW(m_pListCtrl->GetSafeHwnd(), WM_VSCROLL, nCode, 0);
    if (!watch.Died())
        UpdateThumb();
}

// Forgets which zone was pressed.
void CNavScrollBar::ClearPressed()
{
    m_zonePressed = Zone::None;
}

// Follows the pen with the thumb, held 22 pixels below its top edge. At the release of a dragged
// thumb the list scrolls once to the row the drop position stands for. On a bar too short for
// the thumb to travel, the drop leaves the list where it is.
void CNavScrollBar::TrackThumb(LPARAM lParam, BOOL bApply)
{
    if (!IsWindow(m_hWnd))
        return;
    if (m_zonePressed == Zone::Thumb || bApply)
    {
        const int y = nav::PointFromLParam(lParam).y;
        m_nThumbTop = y > 0 ? y - kThumbHold : 0;
        const int P = m_nPageArrowHeight;
        const int travel = ClientHeight() - 2 * P - kFixedHeights;
        if (bApply && m_pListCtrl && travel > 0)
        {
            const double pos = m_pListCtrl->GetScrollPos();
            const double count = m_pListCtrl->GetItemCount();
            const double page = m_pListCtrl->GetPageSize();
            const double top = static_cast<double>(m_nThumbTop);
            // Toward zero; the quotient stays far inside the range of a 64-bit integer (at
            // most 2^31 rows times a 16-bit pen position). A drop beyond the track's ends stops
            // at the list's: the native list adds the distance to its top row, which for a list
            // of up to INT_MAX rows must not leave the range of an int.
            double newTop = static_cast<double>(
                static_cast<LONGLONG>((count - page) * (top - P - kArrowHeight) / travel));
            const double last = count > page ? count - page : 0;
            newTop = newTop < 0 ? 0 : newTop > last ? last : newTop;
            HWND hList = m_pListCtrl->GetSafeHwnd();
            const nav::WindowWatch watch(m_hWnd, this);
            ScrollListByRows(hList, newTop - pos, CNavListCtrl::LineHeight());
            InvalidateRect(hList, NULL, FALSE);
            if (watch.Died())
                return;
        }
    }
    ClampAndRepaint();
}
