// NavEdit.cpp - CNavEdit: creation, operations, the window procedure and the off-screen paint.
#include "NavEdit.h"

#include "core/NavCore.h"
#include "core/NavCompose.h"
#include "win32/NavAlloc.h"
#include "win32/NavCheck.h"
#include "win32/NavGdi.h"
#include "platform/NavPlatform.h"
#include "resource.h"
#include "win32/NavWindow.h"

// The exported layout as applications compiled against the header see it: a field added,
// removed or resized fails here until the copy (and this size) take it in.
NAV_COMPILE_CHECK(sizeof(CNavEdit) == NAV_BY_WORD_SIZE(32, 56), edit_layout);

namespace
{
const int kFrameBorder = 5;      // the frame bitmaps' fixed border, and the text's left margin
const UINT kCmdCopy = 1010;      // WM_COMMAND id: copy the selection to the clipboard
const UINT kCmdSelectAll = 1011; // WM_COMMAND id: select the whole text
const COLORREF kKey = RGB(0xFF, 0x00, 0xFF);

// One piece of the frame: where it goes and where it comes from in the frame bitmap.
struct FramePiece
{
    int x, y, cx, cy, xSrc, ySrc, cxSrc, cySrc;
};

// Opens the soft input panel unless it reports exactly "on"; a failed query leaves it alone.
void OpenInputPanel()
{
    SIPINFO si;
    ZeroMemory(&si, sizeof(si));
    // 48 bytes on the 32-bit device; the structure holds a pointer, so it is larger on a
    // 64-bit build, and the query checks the size.
    si.cbSize = sizeof(SIPINFO);
    if (SipGetInfo(&si) && si.fdwFlags != SIPF_ON)
        SipShowIM(SIPF_ON);
}
} // namespace

// Sets the initial values: no window, grey frame.
CNavEdit::CNavEdit()
    : m_pfnDrawBk(NULL), m_hWnd(NULL), m_hFont(NULL), m_bPressed(0),
      m_pfnOldProc(NULL), m_bNoFrame(0), m_nFrameBitmapID(IDB_EDIT_FRAME)
{
}

// Field by field: the copy names the same window.
CNavEdit::CNavEdit(const CNavEdit& other)
    : m_pfnDrawBk(other.m_pfnDrawBk), m_hWnd(other.m_hWnd), m_hFont(other.m_hFont),
      m_bPressed(other.m_bPressed), m_pfnOldProc(other.m_pfnOldProc),
      m_bNoFrame(other.m_bNoFrame), m_nFrameBitmapID(other.m_nFrameBitmapID)
{
}

// Hands the window back to the native procedure, so that its destruction never reaches
// EditProc, and destroys it.
CNavEdit::~CNavEdit()
{
    if (!IsWindow(m_hWnd))
        return;
    m_pfnDrawBk = NULL;
    DestroyOwnWindow();
}

// Takes over every field of the source. A window this edit made (its user data names this
// object) goes as the destructor would take it: left alone it would stay subclassed to an
// object that now stands for another window. A window this edit only shares with the edit
// that made it is left to that edit.
CNavEdit& CNavEdit::operator=(const CNavEdit& other)
{
    if (m_hWnd != other.m_hWnd && nav::IsOwnWindow(m_hWnd, this))
        DestroyOwnWindow();
    m_pfnDrawBk = other.m_pfnDrawBk;
    m_hWnd = other.m_hWnd;
    m_hFont = other.m_hFont;
    m_bPressed = other.m_bPressed;
    m_pfnOldProc = other.m_pfnOldProc;
    m_bNoFrame = other.m_bNoFrame;
    m_nFrameBitmapID = other.m_nFrameBitmapID;
    return *this;
}

// Gives the window its native procedure back, then destroys it, if it is alive.
void CNavEdit::DestroyOwnWindow()
{
    nav::RestoreAndDestroy(m_hWnd, m_pfnOldProc);
}

// Creates and subclasses the native edit; the skin frame replaces a native border.
int CNavEdit::Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* pszText, RECT& rect,
                     HWND hParent, UINT nID, DrawBkProc pfnDrawBk, int bNoFrame)
{
    if (IsWindow(m_hWnd))
        return 1;
    if (pfnDrawBk)
        m_pfnDrawBk = pfnDrawBk;
    m_bNoFrame = bNoFrame;
    if (!bNoFrame)
        dwStyle &= ~WS_BORDER;

    m_hWnd = nav::CreateChild(0, L"EDIT", pszText, dwStyle, rect, hParent, nID, hInstance);
    if (!m_hWnd)
    {
        NKDbgPrintfW(L"CNavEdit::Create failed: %d\n", GetLastError());
        return 0;
    }
    // The font first, then the margins.
    if (m_hFont)
        SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);
    SendMessageW(m_hWnd, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(kFrameBorder, 0));

    nav::Subclass(m_hWnd, this, EditProc, m_pfnOldProc);
    return 1;
}

// The window's text, when the window is alive.
int CNavEdit::SetText(wchar_t* pszText)
{
    return IsWindow(m_hWnd) ? SetWindowTextW(m_hWnd, pszText) : 0;
}

// Copies at most nMaxCount - 1 characters and a terminator; 0 and the buffer untouched
// without a window, a buffer or a size (the platform is not asked: not every one checks).
int CNavEdit::GetText(wchar_t* pszBuffer, int nMaxCount)
{
    if (!IsWindow(m_hWnd) || !pszBuffer || nMaxCount <= 0)
        return 0;
    return GetWindowTextW(m_hWnd, pszBuffer, nMaxCount);
}

// The text's length in characters, 0 without a window.
int CNavEdit::GetTextLength()
{
    return IsWindow(m_hWnd) ? GetWindowTextLengthW(m_hWnd) : 0;
}

// Limits the number of characters the user can type.
void CNavEdit::SetLimitText(UINT nLimit)
{
    if (IsWindow(m_hWnd))
        SendMessageW(m_hWnd, EM_LIMITTEXT, nLimit, 0);
}

// Records the font that Create hands to the window.
void CNavEdit::SetFont(HFONT hFont)
{
    m_hFont = hFont;
}

// The native edit window (null before Create).
HWND CNavEdit::GetSafeHwnd()
{
    return m_hWnd;
}

// Composes the field without its text and copies it into the parent's DC at the field's
// place.
int CNavEdit::OnPaintEx(HDC hdc)
{
    if (!hdc)
        return 0;
    // A copy shares its maker's window, which the object it names composes; a window that names
    // none is gone: nothing to place, and drawing nothing is not success.
    CNavEdit* pMaker = nav::FindObject(nav::Type<CNavEdit>(), m_hWnd);
    if (!pMaker)
        return 0;
    if (pMaker != this)
        return pMaker->OnPaintEx(hdc);
    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    RECT rcInParent;
    const HWND hParent = ParentRect(&rcInParent);
    nav::PaintBuffer buffer(hdc, rcClient.right, rcClient.bottom);
    if (!buffer)
        return 0;
    // The picture is copied whatever happened to the window meanwhile.
    ComposeBackground(buffer, rcClient, hParent, rcInParent);
    DrawBottomLine(buffer, rcInParent);
    // Only the composed picture is copied; a native border, if any, has nothing composed.
    buffer.CopyTo(hdc, rcInParent.left, rcInParent.top);
    return 1;
}

// The field's procedure: skinned painting, frame by focus, the panel on a tap, the copy and
// select-all commands; everything else goes to the native edit.
LRESULT CALLBACK CNavEdit::EditProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return nav::ForwardToObject(&CNavEdit::OnMessage, nav::NoObject::AnswerZero, hWnd, msg, wParam,
                                lParam);
}

LRESULT CNavEdit::OnMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_SETFOCUS:
        return OnSetFocus(hWnd, wParam, lParam);
    case WM_KILLFOCUS:
        return OnKillFocus(hWnd, wParam, lParam);
    case WM_PAINT:
        return OnPaint(hWnd, lParam);
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_KEYDOWN:
    case WM_VSCROLL:
        InvalidateRect(hWnd, NULL, TRUE);
        break;
    case WM_COMMAND:
        return OnCommand(hWnd, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: // what a read-only or disabled edit asks instead
        return OnCtlColor(reinterpret_cast<HDC>(wParam));
    case WM_MOUSEMOVE:
        return OnMouseMove(hWnd, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // the second tap of a double tap is a tap
        return OnLButtonDown(hWnd, msg, wParam, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(hWnd, wParam, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(hWnd, wParam, lParam);
    default:
        break;
    }
    return nav::CallNative(m_pfnOldProc, hWnd, msg, wParam, lParam);
}

// The orange frame shows from the next paint on.
LRESULT CNavEdit::OnSetFocus(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    m_nFrameBitmapID = IDB_EDIT_FRAME_FOCUS;
    return nav::CallNative(m_pfnOldProc, hWnd, WM_SETFOCUS, wParam, lParam);
}

// The grey frame returns at once.
LRESULT CNavEdit::OnKillFocus(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    m_nFrameBitmapID = IDB_EDIT_FRAME;
    InvalidateRect(hWnd, NULL, FALSE);
    return nav::CallNative(m_pfnOldProc, hWnd, WM_KILLFOCUS, wParam, lParam);
}

// Composes background, frame, native text and bottom line off screen; one copy to the
// screen.
LRESULT CNavEdit::OnPaint(HWND hWnd, LPARAM lParam)
{
    nav::PaintDC dc(hWnd);
    RECT rcClient;
    GetClientRect(hWnd, &rcClient);
    nav::PaintBuffer buffer(dc, rcClient.right, rcClient.bottom);
    if (!buffer)
        return 0;
    RECT rcInParent;
    const HWND hParent = ParentRect(&rcInParent);
    if (!ComposeBackground(buffer, rcClient, hParent, rcInParent))
        return 0;
    nav::PaintNative(m_pfnOldProc, hWnd, buffer, lParam);
    DrawBottomLine(buffer, rcInParent);
    buffer.CopyTo(dc);
    return 0;
}

// Commands sent to the field: repaint on EN_UPDATE, copy (1010), select all (1011). None
// reaches the native edit.
LRESULT CNavEdit::OnCommand(HWND hWnd, WPARAM wParam, LPARAM /*lParam*/)
{
    if (HIWORD(wParam) == EN_UPDATE)
    {
        InvalidateRect(hWnd, NULL, FALSE);
        return 0;
    }
    switch (LOWORD(wParam))
    {
    case kCmdCopy:
        SendMessageW(hWnd, WM_COPY, 0, 0);
        break;
    case kCmdSelectAll:
        SendMessageW(hWnd, EM_SETSEL, 0xFF00, 0);
        SendMessageW(hWnd, EM_SCROLLCARET, 0, 0);
        break;
    default:
        break;
    }
    return 0;
}

// The native edit draws its text over what was composed, without filling the field.
LRESULT CNavEdit::OnCtlColor(HDC hdc)
{
    return nav::TransparentCtlColor(hdc);
}

// While the pen is down a dragged selection is repainted over the skin at once.
LRESULT CNavEdit::OnMouseMove(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (m_bPressed)
        RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE);
    return nav::CallNative(m_pfnOldProc, hWnd, WM_MOUSEMOVE, wParam, lParam);
}

// Pen down: pressed, and the soft input panel for a tap inside the client area. The native
// edit hears the second tap of a double tap as a double click (it selects a word).
LRESULT CNavEdit::OnLButtonDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    m_bPressed = 1;
    RECT rcClient;
    GetClientRect(hWnd, &rcClient);
    const nav::WindowWatch watch(hWnd, this);
    if (PtInRect(&rcClient, nav::PointFromLParam(lParam)))
        OpenInputPanel(); // the application hears of the panel coming up
    if (watch.Died())
        return 0;
    return nav::CallNative(m_pfnOldProc, hWnd, msg, wParam, lParam);
}

// Pen up: released; the field repaints.
LRESULT CNavEdit::OnLButtonUp(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    m_bPressed = 0;
    InvalidateRect(hWnd, NULL, TRUE);
    return nav::CallNative(m_pfnOldProc, hWnd, WM_LBUTTONUP, wParam, lParam);
}

// Another window took the pen away from the native edit: the press ends as a release would,
// so that neither the callback nor the moves that follow still see the pen down.
LRESULT CNavEdit::OnCaptureChanged(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (m_bPressed && reinterpret_cast<HWND>(lParam) != hWnd)
    {
        m_bPressed = 0;
        InvalidateRect(hWnd, NULL, TRUE);
    }
    return nav::CallNative(m_pfnOldProc, hWnd, WM_CAPTURECHANGED, wParam, lParam);
}

// The parent's background, then the application's background or the frame. False when the
// parent's answer or the application's callback destroyed the window (touch nothing of the
// object then). Called with the window alive: by the paint handler, or by OnPaintEx once it
// has seen the window.
bool CNavEdit::ComposeBackground(HDC hdcMem, const RECT& rcClient, HWND hParent,
                                 const RECT& rcInParent)
{
    const nav::WindowWatch watch = nav::WindowWatch::OverLiveWindow(m_hWnd, this);
    nav::PaintBeneathIn(hParent, hdcMem, rcInParent);
    if (watch.Died())
        return false;
    if (m_pfnDrawBk)
    {
        RECT rc = rcClient;
        m_pfnDrawBk(hdcMem, &rc, m_bPressed == 1 ? 1 : 0,
                    static_cast<UINT>(GetDlgCtrlID(m_hWnd)));
        return !watch.Died();
    }
    if (!m_bNoFrame)
        DrawFrame(hdcMem, rcClient);
    return true;
}

// Nine-slice copy of the frame bitmap: stretched edges and centre, colour-keyed corners.
// A field smaller than two borders gets borders of half its size, so that no piece has a
// negative size (StretchBlt would mirror it); a bitmap that cannot be loaded leaves the
// parent's background. The frame is kept between paints (nav::ArtworkDC).
void CNavEdit::DrawFrame(HDC hdcMem, const RECT& rc)
{
    const nav::ArtworkDC dcFrame(GetModuleInstance(), LOWORD(m_nFrameBitmapID));
    if (!dcFrame)
        return;
    const int bw = dcFrame.Width(), bh = dcFrame.Height();
    if (bw <= 2 * kFrameBorder || bh <= 2 * kFrameBorder)
        return;

    const int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    const int cx = r - l, cy = b - t;
    const int bx = cx / 2 < kFrameBorder ? cx / 2 : kFrameBorder;
    const int by = cy / 2 < kFrameBorder ? cy / 2 : kFrameBorder;
    const int cxMid = cx - 2 * bx, cyMid = cy - 2 * by;
    const int cxSrcMid = bw - 2 * kFrameBorder, cySrcMid = bh - 2 * kFrameBorder;

    const FramePiece stretched[] = {
        {l + bx, t + by, cxMid, cyMid, kFrameBorder, kFrameBorder, cxSrcMid, cySrcMid},
        {l + bx, t, cxMid, by, kFrameBorder, 0, cxSrcMid, by},
        {l + bx, b - by, cxMid, by, kFrameBorder, bh - by, cxSrcMid, by},
        {l, t + by, bx, cyMid, 0, kFrameBorder, bx, cySrcMid},
        {r - bx, t + by, bx, cyMid, bw - bx, kFrameBorder, bx, cySrcMid},
    };
    const FramePiece corners[] = {
        {l, t, bx, by, 0, 0, bx, by},
        {l, b - by, bx, by, 0, bh - by, bx, by},
        {r - bx, t, bx, by, bw - bx, 0, bx, by},
        {r - bx, b - by, bx, by, bw - bx, bh - by, bx, by},
    };
    SetStretchBltMode(hdcMem, COLORONCOLOR);
    // One counter for both loops: the device's older compilers keep a for loop's variable in
    // the enclosing block.
    size_t i;
    for (i = 0; i < NAV_COUNT_OF(stretched); ++i)
    {
        const FramePiece& p = stretched[i];
        if (p.cx > 0 && p.cy > 0)
            StretchBlt(hdcMem, p.x, p.y, p.cx, p.cy, dcFrame, p.xSrc, p.ySrc, p.cxSrc, p.cySrc,
                       SRCCOPY);
    }
    for (i = 0; i < NAV_COUNT_OF(corners); ++i)
    {
        const FramePiece& p = corners[i];
        if (p.cx > 0 && p.cy > 0)
            TransparentImage(hdcMem, p.x, p.y, p.cx, p.cy, dcFrame, p.xSrc, p.ySrc, p.cxSrc,
                             p.cySrc, kKey);
    }
}

// The black line along the window's bottom row (rcWindow: the window's rectangle, wherever it
// is), drawn over frame, background and text. One fill of the row, the pixels a one-pixel
// black pen's line would set, for one call where the pen took six.
void CNavEdit::DrawBottomLine(HDC hdcMem, const RECT& rcWindow)
{
    const int w = rcWindow.right - rcWindow.left, h = rcWindow.bottom - rcWindow.top;
    if (w > 0 && h > 0)
        PatBlt(hdcMem, 0, h - 1, w, 1, BLACKNESS);
}

// The field's window rectangle in its parent's client coordinates; returns the parent.
HWND CNavEdit::ParentRect(RECT* prcInParent)
{
    const nav::Place place = nav::PlaceInParent(m_hWnd);
    *prcInParent = place.rcWindow;
    return place.hParent;
}
