// NavStatic.cpp - CNavStatic: creation, operations, painting, auto-scroll and taps.
//
// The label paints in two steps, as the native static would be repainted: WM_ERASEBKGND
// composes the parent's background and the optional callback off screen and copies it to the
// window, then WM_PAINT draws the text over it. OnPaintEx does both into a DC of the parent.
// The cooperation lookup and launch live in NavStaticCoop.cpp.
#include "NavStatic.h"

#include "win32/NavAlloc.h"
#include "win32/NavCheck.h"
#include "core/NavCompose.h"
#include "win32/NavGdi.h"
#include "platform/NavPlatform.h"
#include "win32/NavWindow.h"

// The exported layout as applications compiled against the header see it: a field added,
// removed or resized fails here until the copy (and this size) take it in.
NAV_COMPILE_CHECK(sizeof(CNavStatic) == NAV_BY_WORD_SIZE(52, 80), label_layout);

namespace
{
const UINT_PTR kScrollTimer = 1;
const UINT kScrollPeriod = 1000;

// Style bits the drawing reads (the device's values).
const LONG kStyleCenter = 0x1;        // SS_CENTER
const LONG kStyleRight = 0x2;         // SS_RIGHT
const LONG kStyleOneLine = 0x4 | 0x8; // any bit of SS_LEFTNOWORDWRAP
const LONG kStyleVCenter = 0x400;

const COLORREF kLinkBlue = 0xFF0000;

// The window's text, fetched whole for one drawing or scroll step; empty when the window has
// no text or no memory could be had for it. Most labels are short: the text is read into the
// object's own room in one request, and only one that fills that room is measured and fetched
// again into memory of its own. The requests go to the native static straight away: through
// the window they would pass the label's procedure on their way to the same place (what that
// adds: the label's table of pieces in bench_static's output).
class WindowText
{
public:
    WindowText(HWND hWnd, WNDPROC pfnNative) : m_pText(m_szShort), m_nLength(0)
    {
        m_szShort[0] = L'\0';
        m_nLength = Ask(pfnNative, hWnd, WM_GETTEXT, kShortText, m_szShort);
        if (m_nLength < kShortText - 1)
            return;
        m_pText = NULL;
        m_nLength = 0;
        int nLength = Ask(pfnNative, hWnd, WM_GETTEXTLENGTH, 0, NULL);
        if (nLength <= 0)
            return;
        m_text.Attach(static_cast<wchar_t*>(
            nav::AllocZeroed(static_cast<size_t>(nLength) + 1, sizeof(wchar_t))));
        if (m_text)
        {
            m_pText = m_text.Get();
            m_nLength = Ask(pfnNative, hWnd, WM_GETTEXT, nLength + 1, m_text.Get());
        }
    }

    const wchar_t* Get() const { return m_pText; }
    int Length() const { return m_pText && m_nLength > 0 ? m_nLength : 0; }

private:
    enum
    {
        kShortText = 128
    };
    static int Ask(WNDPROC pfnNative, HWND hWnd, UINT msg, int cch, wchar_t* psz)
    {
        return static_cast<int>(nav::AskNative(pfnNative, hWnd, msg, cch, psz));
    }
    wchar_t m_szShort[kShortText];
    nav::UniqueHandle<wchar_t*, nav::FreeText> m_text;
    const wchar_t* m_pText;
    int m_nLength;
};

// A copy of the base font with the underline the label needs; null when the base font has it
// already and draws as it is.
HFONT MakeLabelFont(HFONT hBase, bool bUnderline)
{
    LOGFONTW lf = {};
    if (hBase && GetObjectW(hBase, sizeof(lf), &lf) && (lf.lfUnderline != 0) == bUnderline)
        return NULL;
    lf.lfUnderline = bUnderline ? 1 : 0;
    return CreateFontIndirectW(&lf);
}

// The font of one text drawing: the base font when its underline is the label's, else the base
// font's copy with the label's underline, made for it and deleted after it. Without memory for
// the copy the base font is drawn with, plain.
class LabelFont
{
public:
    LabelFont(HFONT hBase, bool bUnderline)
        : m_hBase(hBase), m_font(MakeLabelFont(hBase, bUnderline))
    {
    }
    HFONT Get() const { return m_font ? static_cast<HFONT>(m_font) : m_hBase; }

private:
    HFONT m_hBase;
    nav::Font m_font;
};

// The point of a mouse message (client coordinates, which may be negative) and whether it lies
// in the window's client area.
bool PointInClient(HWND hWnd, LPARAM lParam, POINT* ppt)
{
    *ppt = nav::PointFromLParam(lParam);
    RECT rcClient = {};
    GetClientRect(hWnd, &rcClient);
    return PtInRect(&rcClient, *ppt) != FALSE;
}

// The DrawTextW format for a window style; bCenter says whether SS_CENTER may centre now.
UINT LabelFormat(LONG lStyle, bool bCenter)
{
    UINT uFormat = DT_WORDBREAK;
    if (lStyle & kStyleVCenter)
        uFormat |= DT_VCENTER;
    if ((lStyle & kStyleCenter) && bCenter)
        uFormat |= DT_CENTER;
    if (lStyle & kStyleRight)
        uFormat |= DT_RIGHT;
    if (lStyle & kStyleOneLine)
        uFormat = (uFormat & ~DT_WORDBREAK) | DT_SINGLELINE | DT_EXPANDTABS | DT_VCENTER;
    return uFormat;
}
} // namespace

// Sets the defaults: black text, blue links, no callback, no window.
CNavStatic::CNavStatic()
    : m_pfnDrawBk(NULL), m_hWnd(NULL), m_hFont(NULL), m_pfnOldProc(NULL),
      m_crLink(kLinkBlue), m_crText(0), m_bUnderLine(0), m_bPressed(0), m_nCoopFlag(0),
      m_pCoopInfo(NULL), m_nScrollChar(0), m_bAutoScroll(0)
{
}

// Gives the window its native procedure back before destroying it, then frees the table.
CNavStatic::~CNavStatic()
{
    DestroyOwnWindow();
    FreeCoopInfo();
}

// Copies every field but the cooperation table: the table belongs to the tap of the label
// that made it, and a copy holding it too would free it a second time.
CNavStatic::CNavStatic(const CNavStatic& other)
    : m_pfnDrawBk(other.m_pfnDrawBk), m_hWnd(other.m_hWnd), m_hFont(other.m_hFont),
      m_pfnOldProc(other.m_pfnOldProc), m_crLink(other.m_crLink), m_crText(other.m_crText),
      m_bUnderLine(other.m_bUnderLine), m_bPressed(other.m_bPressed),
      m_nCoopFlag(other.m_nCoopFlag), m_pCoopInfo(NULL), m_nScrollChar(other.m_nScrollChar),
      m_bAutoScroll(other.m_bAutoScroll)
{
}

// Takes over every field of the source but its table (see the copy constructor). A window
// this label made (its user data names this object) goes as the destructor would take it:
// left alone it would stay subclassed to an object that now stands for another. A window this
// label only shares with the label that made it is left to that label. The label's own table
// goes too: it belonged to a tap on the window it no longer stands for.
CNavStatic& CNavStatic::operator=(const CNavStatic& other)
{
    if (this == &other)
        return *this;
    if (m_hWnd != other.m_hWnd && nav::IsOwnWindow(m_hWnd, this))
        DestroyOwnWindow();
    FreeCoopInfo();
    m_pfnDrawBk = other.m_pfnDrawBk;
    m_hWnd = other.m_hWnd;
    m_hFont = other.m_hFont;
    m_pfnOldProc = other.m_pfnOldProc;
    m_crLink = other.m_crLink;
    m_crText = other.m_crText;
    m_bUnderLine = other.m_bUnderLine;
    m_bPressed = other.m_bPressed;
    m_nCoopFlag = other.m_nCoopFlag;
    m_nScrollChar = other.m_nScrollChar;
    m_bAutoScroll = other.m_bAutoScroll;
    return *this;
}

// Gives the window its native procedure back, then destroys it, if it is alive.
void CNavStatic::DestroyOwnWindow()
{
    nav::RestoreAndDestroy(m_hWnd, m_pfnOldProc);
}

// Creates the native static, hands it the font, starts the scroll timer and subclasses it. A
// marquee without its timer would never move: when the timer cannot be had, the window goes
// again and Create fails.
int CNavStatic::Create(HINSTANCE hInstance, unsigned long dwStyle, wchar_t* pszText, RECT& rc,
                       HWND hParent, unsigned int nID, DrawBkProc pfnDrawBk)
{
    if (IsWindow(m_hWnd))
        return 1;
    if (pfnDrawBk)
        m_pfnDrawBk = pfnDrawBk;

    HWND hWnd = nav::CreateChild(0, L"STATIC", pszText, dwStyle, rc, hParent, nID, hInstance);
    if (hWnd && m_bAutoScroll && !nav::StartTimer(hWnd, kScrollTimer, kScrollPeriod))
    {
        const DWORD dwError = GetLastError();
        DestroyWindow(hWnd);
        hWnd = NULL;
        SetLastError(dwError);
    }
    if (!hWnd)
    {
        NKDbgPrintfW(L"CNavStatic::Create failed: %d\n", GetLastError());
        return 0;
    }
    m_hWnd = hWnd;
    if (m_hFont)
        SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);

    nav::Subclass(hWnd, this, StaticProc, m_pfnOldProc);
    return 1;
}

// The window as stored; null before Create.
HWND CNavStatic::GetSafeHwnd()
{
    return m_hWnd;
}

// Replaces the window's text; the scroll offset stays where it is.
int CNavStatic::SetText(wchar_t* pszText)
{
    if (!IsWindow(m_hWnd))
        return 0;
    return SetWindowTextW(m_hWnd, pszText);
}

// Copies the window's text into the caller's buffer of nMaxCount characters; 0 without a
// buffer or a size (the platform is not asked: not every one checks).
int CNavStatic::GetText(wchar_t* pszBuffer, int nMaxCount)
{
    if (!IsWindow(m_hWnd) || !pszBuffer || nMaxCount <= 0)
        return 0;
    return GetWindowTextW(m_hWnd, pszBuffer, nMaxCount);
}

// Length of the window's text in characters; 0 without a window.
int CNavStatic::GetTextLength()
{
    if (!IsWindow(m_hWnd))
        return 0;
    return GetWindowTextLengthW(m_hWnd);
}

// Stores the font; after Create it is only used by the next painting and scroll step.
void CNavStatic::SetFont(HFONT hFont)
{
    m_hFont = hFont;
}

// Stores the text colour used without a cooperation flag.
void CNavStatic::SetTextCr(unsigned long crText)
{
    m_crText = crText;
}

// Stores whether the text is underlined without a cooperation flag.
void CNavStatic::SetUnderLine(int bUnderLine)
{
    m_bUnderLine = bUnderLine;
}

// Stores the auto-scroll wish for the next Create.
void CNavStatic::SetIsAutoScroll(int bAutoScroll)
{
    m_bAutoScroll = bAutoScroll;
}

// Composes background, callback and text off screen and copies them into the parent's DC at
// the control's place. SS_CENTER centres at every scroll offset here. Without a window or
// without memory for the picture nothing is composed, and that is reported as a failure.
int CNavStatic::OnPaintEx(HDC hdc)
{
    RECT rcClient = {};
    if (!hdc || !GetClientRect(m_hWnd, &rcClient)) // no window, nothing to place
        return 0;
    // A copy shares its maker's window, which the object it names composes.
    CNavStatic* pMaker = nav::FindObject(nav::Type<CNavStatic>(), m_hWnd);
    if (pMaker && pMaker != this)
        return pMaker->OnPaintEx(hdc);
    // Made before the picture, which keeps it selected until the paint ends.
    const LabelFont font(TextFont(), TextUnderlined());
    nav::PaintBuffer buffer(hdc, rcClient.right, rcClient.bottom);
    if (!buffer)
        return 0;
    SetBkMode(buffer, TRANSPARENT);

    RECT rcParent;
    const HWND hParent = ParentRect(&rcParent);
    if (!DrawBackground(buffer, hParent, rcParent))
        return 0;
    DrawLabel(buffer, rcClient, true, font.Get());
    // Only the composed client area is copied; a border, if any, has nothing composed.
    BitBlt(hdc, rcParent.left, rcParent.top, rcClient.right, rcClient.bottom, buffer, 0, 0,
           SRCCOPY);
    return 1;
}

// One tick of the marquee: moves the first drawn character on by one while the whole text is
// wider than the control, and back to 0 once it is past the end or the text fits.
void CNavStatic::OnScrollText(HWND hWnd)
{
    // A tick without a DC to measure with leaves the text where it is, for the next tick.
    nav::WindowDC dc(hWnd);
    if (!dc)
        return;
    RECT rc = {};
    GetClientRect(hWnd, &rc);
    if (m_pfnDrawBk)
        rc.right -= 2;

    WindowText text(hWnd, m_pfnOldProc);
    if (text.Length() == 0)
        return;

    SIZE size = {};
    {
        // Only a stored font is measured with; the window's own font is not looked up here.
        nav::SelectGuard font(dc, m_hFont);
        GetTextExtentExPointW(dc, text.Get(), text.Length(), 0, NULL, NULL, &size);
    }
    if (size.cx > rc.right - rc.left && m_nScrollChar < text.Length())
        ++m_nScrollChar;
    else
        m_nScrollChar = 0;
    Repaint();
}

// The window procedure: finds the object and hands each message to its handler.
LRESULT CALLBACK CNavStatic::StaticProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return nav::ForwardToObject(&CNavStatic::OnMessage, nav::NoObject::AnswerZero, hWnd, uMsg,
                                wParam, lParam);
}

LRESULT CNavStatic::OnMessage(HWND /*hWnd*/, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_TIMER:
        return OnTimer(static_cast<UINT_PTR>(wParam));
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // the static class asks for double clicks: a second tap is a tap
        return OnLButtonDown(uMsg, wParam, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(wParam, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(wParam, lParam);
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    default:
        return nav::CallNative(m_pfnOldProc, m_hWnd, uMsg, wParam, lParam);
    }
}

// The text over the background that WM_ERASEBKGND left; SS_CENTER only at offset 0.
void CNavStatic::OnPaint()
{
    const nav::WindowWatch watch = nav::WindowWatch::OverLiveWindow(m_hWnd, this);
    nav::PaintDC dc(m_hWnd); // BeginPaint sends WM_ERASEBKGND, which asks the parent
    if (watch.Died())
        return;
    SetBkMode(dc, TRANSPARENT);
    RECT rcClient = {};
    GetClientRect(m_hWnd, &rcClient);
    const LabelFont font(TextFont(), TextUnderlined());
    DrawLabel(dc, rcClient, false, font.Get());
}

// Composes the parent's background and the callback off screen and copies them to the window.
LRESULT CNavStatic::OnEraseBkgnd(HDC hdc)
{
    RECT rcParent;
    const HWND hParent = ParentRect(&rcParent);
    const int cx = rcParent.right - rcParent.left, cy = rcParent.bottom - rcParent.top;
    nav::PaintBuffer buffer(hdc, cx, cy);
    if (buffer)
    {
        DrawBackground(buffer, hParent, rcParent);
        BitBlt(hdc, 0, 0, cx, cy, buffer, 0, 0, SRCCOPY);
    }
    return 1;
}

// Timer 1 scrolls; every tick is swallowed, whatever its id.
LRESULT CNavStatic::OnTimer(UINT_PTR nTimerId)
{
    if (nTimerId == kScrollTimer)
        OnScrollText(m_hWnd);
    return 1;
}

// Whatever asks us for colours gets a transparent DC and no brush.
LRESULT CNavStatic::OnCtlColorStatic(HDC hdc)
{
    return nav::TransparentCtlColor(hdc);
}

// A pen-down inside presses the label; a push-button label keeps the pen and shows it.
LRESULT CNavStatic::OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    POINT pt;
    if (PointInClient(m_hWnd, lParam, &pt))
    {
        m_bPressed = 1;
        if (m_pfnDrawBk)
        {
            SetCapture(m_hWnd);
            Repaint();
            return 1;
        }
    }
    return nav::CallNative(m_pfnOldProc, m_hWnd, uMsg, wParam, lParam);
}

// A pen-up inside opens the cooperation menu (a pressed link) and reports a push-button
// click; any pen-up releases the label.
LRESULT CNavStatic::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    POINT pt;
    if (PointInClient(m_hWnd, lParam, &pt))
    {
        if (m_bPressed && m_nCoopFlag)
        {
            const nav::WindowWatch watch(m_hWnd, this);
            StartCoopLookup(pt); // the menu is modal: anything may happen while it is open
            if (watch.Died())
                return 0;
            Repaint();
        }
        if (m_pfnDrawBk)
        {
            m_bPressed = 0;
            Repaint();
            const int nID = GetDlgCtrlID(m_hWnd);
            PostMessageW(GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                         reinterpret_cast<LPARAM>(m_hWnd));
        }
    }
    m_bPressed = 0;
    if (GetCapture() == m_hWnd)
    {
        ReleaseCapture();
        Repaint();
    }
    return nav::CallNative(m_pfnOldProc, m_hWnd, WM_LBUTTONUP, wParam, lParam);
}

// Another window took the pen away: the press ends as a release outside would, with no click
// and no menu, and the callback is told "released" again.
LRESULT CNavStatic::OnCaptureChanged(WPARAM wParam, LPARAM lParam)
{
    if (m_bPressed && reinterpret_cast<HWND>(lParam) != m_hWnd)
    {
        m_bPressed = 0;
        Repaint();
    }
    return nav::CallNative(m_pfnOldProc, m_hWnd, WM_CAPTURECHANGED, wParam, lParam);
}

// Asks for a full repaint: background on WM_ERASEBKGND, then the text.
void CNavStatic::Repaint()
{
    InvalidateRect(m_hWnd, NULL, TRUE);
}

// The control's window rectangle in its parent's client coordinates; returns the parent.
HWND CNavStatic::ParentRect(RECT* prc)
{
    const nav::Place place = nav::PlaceInParent(m_hWnd);
    *prc = place.rcWindow;
    return place.hParent;
}

// The parent's background beneath the control, then the caller's background over it. False
// when the window went meanwhile (touch nothing of the object then). Called with the window
// alive: by the erase handler, or by OnPaintEx once it has the client area.
bool CNavStatic::DrawBackground(HDC hdcMem, HWND hParent, const RECT& rcParent)
{
    const nav::WindowWatch watch = nav::WindowWatch::OverLiveWindow(m_hWnd, this);
    nav::PaintBeneathIn(hParent, hdcMem, rcParent);
    if (watch.Died())
        return false;
    if (m_pfnDrawBk)
    {
        RECT rcClient = {};
        GetClientRect(m_hWnd, &rcClient);
        m_pfnDrawBk(hdcMem, &rcClient, m_bPressed == 1 ? 1 : 0, GetDlgCtrlID(m_hWnd));
        return !watch.Died();
    }
    return true;
}

// The font the text is drawn from: the stored one, else the window's own.
HFONT CNavStatic::TextFont()
{
    return m_hFont ? m_hFont : reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
}

// Whether the text is drawn underlined: always as a link, else as the underline field says.
bool CNavStatic::TextUnderlined() const
{
    return m_nCoopFlag != 0 || m_bUnderLine != 0;
}

// Draws the text from the scroll offset on, in the given font (made for this drawing), the
// label's colour and format.
void CNavStatic::DrawLabel(HDC hdc, const RECT& rc, bool bCenterAlways, HFONT hFont)
{
    nav::PaintSelectGuard font(hdc, hFont);
    SetTextColor(hdc, m_nCoopFlag != 0 ? m_crLink : m_crText);

    WindowText text(m_hWnd, m_pfnOldProc);
    // After a SetText the offset may lie beyond a shorter text until the next tick resets
    // it; there is nothing left to draw then.
    if (text.Length() == 0 || m_nScrollChar < 0 || m_nScrollChar >= text.Length())
        return;
    const LONG lStyle = GetWindowLongW(m_hWnd, GWL_STYLE);
    const UINT uFormat = LabelFormat(lStyle, bCenterAlways || m_nScrollChar == 0);
    RECT rcText = rc;
    DrawTextW(hdc, text.Get() + m_nScrollChar, text.Length() - m_nScrollChar, &rcText,
              uFormat);
}
