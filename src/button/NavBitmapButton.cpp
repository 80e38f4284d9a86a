// NavBitmapButton.cpp - CNavBitmapButton: the object, its window procedure, painting and taps.
//
// The native window is an owner-drawn "BUTTON": it keeps its own pressed look, capture and
// BN_CLICKED notification, and asks its parent for WM_DRAWITEM, which the parent hands back to
// this window. The face is composed off screen in one back buffer and copied once.
#include "NavBitmapButton.h"

#include "CxImage.h"
#include "core/NavCore.h"
#include "win32/NavAlloc.h"
#include "win32/NavCheck.h"
#include "core/NavCompose.h"
#include "win32/NavGdi.h"
#include "platform/NavPlatform.h"
#include "resource.h"
#include "win32/NavWindow.h"

// The exported layout as applications compiled against the header see it: a field added,
// removed or resized fails here until the copy (and this size) take it in.
NAV_COMPILE_CHECK(sizeof(CNavBitmapButton) == NAV_BY_WORD_SIZE(32, 64), button_layout);

namespace
{
// Set by a double tap so that the release that follows it is not counted a second time;
// cleared by the next pen-down on any button of the process.
int g_nIgnoreNextRelease;

// The button that the space bar pressed, until the key comes up. Only the keyboard's own
// press may end in a keyboard click: a button merely shown pushed (BM_SETSTATE) is not one.
HWND g_hwndSpaceDown;

const int kIconSize = 30;          // check and radio icons of bitmap 108
const int kIconTextGap = 32;       // caption offset right of those icons
const int kSmallFrameWidth = 78;   // frame width of the small PNG faces
const int kFaceHeight = 50;
const int kMaxRadioSteps = 20;     // group members cleared after a radio tap, at most
const int kCaptionBuffer = 50;     // wide characters, so at most 49 are shown

enum IconIndex
{
    kIconCheckOff = 0,
    kIconCheckOn = 1,
    kIconRadioOff = 2,
    kIconRadioOn = 3
};

// The check-state word and the number of buttons that share it, in one allocation. The word
// comes first so that m_pCheck points at the start of the block.
struct CheckBlock
{
    int nCheck;
    nav::RefCount refs;
};

CheckBlock* BlockOf(int* pCheck)
{
    return reinterpret_cast<CheckBlock*>(pCheck);
}

// A new, unchecked check-state word with one share, or null when there is no memory.
int* NewCheckWord()
{
    CheckBlock* pBlock = nav::NewObject(nav::Type<CheckBlock>());
    return pBlock ? &pBlock->nCheck : NULL;
}

bool Has(UINT nState, UINT nBit)
{
    return (nState & nBit) != 0;
}

// Which image of the application's list shows the face.
int ImageIndex(ButtonType nType, UINT nState, bool bChecked, int nImages)
{
    const bool bFour = nImages == 4;
    if (nType == NAVBTN_PUSH)
    {
        if (Has(nState, ODS_SELECTED))
            return 1;
        if (Has(nState, ODS_FOCUS) || Has(nState, ODS_DISABLED))
            return bFour ? (Has(nState, ODS_FOCUS) ? 2 : 3) : 0;
        return 0;
    }
    // push-on/push-off
    if (bChecked)
        return Has(nState, ODS_DISABLED) ? 1 : (bFour ? 3 : 1);
    return Has(nState, ODS_DISABLED) ? 0 : (bFour ? 1 : 0);
}

// The state value handed to the application's face painter.
UINT CallbackFlags(ButtonType nType, UINT nState, bool bChecked)
{
    if (nType == NAVBTN_PUSH)
    {
        if (Has(nState, ODS_SELECTED))
            return ODS_SELECTED;
        if (Has(nState, ODS_FOCUS))
            return ODS_FOCUS;
        return Has(nState, ODS_DISABLED) ? ODS_DISABLED : 0;
    }
    const UINT nDisabled = Has(nState, ODS_DISABLED) ? ODS_DISABLED : 0;
    return (bChecked ? ODS_CHECKED : 0) | nDisabled;
}

// Frame of the shared PNG faces for the owner-draw state: pressed, focused, disabled, normal.
int FaceFrame(UINT nState)
{
    if (Has(nState, ODS_SELECTED))
        return 1;
    if (Has(nState, ODS_FOCUS))
        return 2;
    return Has(nState, ODS_DISABLED) ? 3 : 0;
}

// Draws one icon of bitmap 108. The strip is kept between paints (nav::ArtworkImageList); a
// failed load draws nothing.
void DrawIcon(HDC hdc, int x, int y, int nIcon)
{
    const nav::ArtworkImageList icons(GetModuleInstance(), IDB_CHECK_RADIO, kIconSize,
                                      RGB(0xFF, 0x00, 0xFF));
    if (icons)
        nav::DrawListImage(icons, nIcon, hdc, x, y, ILD_TRANSPARENT);
}

// The shared faces are not stretched: a small button shows the 78-pixel frame, any wider one
// the large frame at its left.
void DrawSharedFace(HDC hdc, const RECT& rcFace, UINT nState)
{
    CxImage* pSmall = nav::g_pSmallFace;
    if (!pSmall)
        return;
    const int cx = rcFace.right - rcFace.left;
    const int nSmallLimit = static_cast<int>(pSmall->GetWidth() / 4) + 5;
    CxImage* pFace = pSmall;
    int cxFrame = kSmallFrameWidth;
    if (cx > nSmallLimit)
    {
        pFace = nav::g_pLargeFace;
        cxFrame = pFace ? static_cast<int>(pFace->GetWidth() / 4) : 0;
    }
    if (!pFace || !pFace->GetImageState())
        return;
    pFace->DrawAlphaChannel(hdc, 0, 0, cxFrame, kFaceHeight, FaceFrame(nState) * cxFrame, 0, 255,
                            0);
}
} // namespace

// ---- Object ----

// A button without a window; only the check-state word is made now.
CNavBitmapButton::CNavBitmapButton()
    : m_hWnd(NULL), m_hFont(NULL), m_nType(NAVBTN_PUSH), m_pfnDrawBk(NULL),
      m_pCheck(NewCheckWord()), m_hImageList(NULL), m_pfnOldProc(NULL)
{
}

// Shares every field with the original, the check-state word included.
CNavBitmapButton::CNavBitmapButton(const CNavBitmapButton& other)
    : m_hWnd(other.m_hWnd), m_hFont(other.m_hFont), m_nType(other.m_nType),
      m_pfnDrawBk(other.m_pfnDrawBk), m_pCheck(other.m_pCheck),
      m_hImageList(other.m_hImageList), m_pfnOldProc(other.m_pfnOldProc)
{
    AddRefCheck();
}

// Takes over every field of the source; the word this button held before is let go (and
// freed when no other copy shares it). A window this button made (its user data names this
// object) goes as the destructor would take it: left alone it would stay subclassed to an
// object that now stands for another window. A window this button only shares with the button
// that made it is left to that button.
CNavBitmapButton& CNavBitmapButton::operator=(const CNavBitmapButton& other)
{
    if (m_hWnd != other.m_hWnd && nav::IsOwnWindow(m_hWnd, this))
        DestroyOwnWindow();
    if (other.m_pCheck != m_pCheck)
    {
        ReleaseCheck();
        m_pCheck = other.m_pCheck;
        AddRefCheck();
    }
    m_hWnd = other.m_hWnd;
    m_hFont = other.m_hFont;
    m_nType = other.m_nType;
    m_pfnDrawBk = other.m_pfnDrawBk;
    m_hImageList = other.m_hImageList;
    m_pfnOldProc = other.m_pfnOldProc;
    return *this;
}

// The native procedure goes back before the window is destroyed, so no message of the
// destruction reaches an object that is going away.
CNavBitmapButton::~CNavBitmapButton()
{
    DestroyOwnWindow();
    ReleaseCheck();
}

// Gives the window its native procedure back, then destroys it, if it is alive.
void CNavBitmapButton::DestroyOwnWindow()
{
    nav::RestoreAndDestroy(m_hWnd, m_pfnOldProc);
}

void CNavBitmapButton::AddRefCheck()
{
    if (m_pCheck)
        BlockOf(m_pCheck)->refs.AddRef();
}

// Drops this button's share of the check-state word; the last share frees it.
void CNavBitmapButton::ReleaseCheck()
{
    if (m_pCheck && BlockOf(m_pCheck)->refs.Release())
        nav::FreeObject(BlockOf(m_pCheck));
    m_pCheck = NULL;
}

bool CNavBitmapButton::IsChecked() const
{
    return m_pCheck && (*m_pCheck & 1);
}

// Makes the owner-drawn window and installs BitmapButtonProc on it. A check-state word the
// constructor could not make is made now; without one the button could not keep its state,
// and Create fails.
int CNavBitmapButton::Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* pszCaption, RECT& rc,
                             HWND hwndParent, UINT nId, HIMAGELIST hImageList,
                             ButtonType nType, DrawBkProc pfnDrawBk)
{
    if (IsWindow(m_hWnd))
        return 1;
    if (!m_pCheck)
        m_pCheck = NewCheckWord();
    if (!m_pCheck)
    {
        NKDbgPrintfW(L"CreateButton failed: %d\n", GetLastError());
        return 0;
    }
    if (hImageList)
        m_hImageList = hImageList;
    m_nType = nType;
    if (!hImageList && pfnDrawBk)
        m_pfnDrawBk = pfnDrawBk;

    m_hWnd = nav::CreateChild(0, L"BUTTON", pszCaption, dwStyle | WS_TABSTOP | BS_OWNERDRAW, rc,
                              hwndParent, nId, hInstance);
    if (!m_hWnd)
    {
        NKDbgPrintfW(L"CreateButton failed: %d\n", GetLastError());
        return 0;
    }
    nav::Subclass(m_hWnd, this, BitmapButtonProc, m_pfnOldProc);
    return 1;
}

// Resizes the window in place.
void CNavBitmapButton::ReSize(int cx, int cy)
{
    if (IsWindow(m_hWnd))
        SetWindowPos(m_hWnd, NULL, -1, -1, cx, cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Remembers the caption font for the next paint.
void CNavBitmapButton::SetFont(HFONT hFont)
{
    m_hFont = hFont;
}

// Bit 0 of the check-state word.
int CNavBitmapButton::GetCheck()
{
    if (!IsWindow(m_hWnd))
        return 0;
    return IsChecked() ? 1 : 0;
}

// Sets or clears the check state; the application repaints when it wants the change seen.
void CNavBitmapButton::SetCheck(int nCheck)
{
    if (!IsWindow(m_hWnd) || !m_pCheck)
        return;
    if (nCheck)
        *m_pCheck |= 1;
    else
        *m_pCheck = 0;
}

// Shows or hides the window.
int CNavBitmapButton::Show(int nCmdShow)
{
    if (!IsWindow(m_hWnd))
        return 0;
    return ShowWindow(m_hWnd, nCmdShow);
}

// Sets the caption (the native window's text).
void CNavBitmapButton::SetText(const wchar_t* pszText)
{
    if (IsWindow(m_hWnd))
        SetWindowTextW(m_hWnd, pszText);
}

// Reads the caption into the caller's buffer. No buffer, or one of no size, gets nothing
// without the platform being asked (not every one checks).
int CNavBitmapButton::GetText(wchar_t* pszBuffer, int cchBuffer)
{
    if (!IsWindow(m_hWnd) || !pszBuffer || cchBuffer <= 0)
        return 0;
    return GetWindowTextW(m_hWnd, pszBuffer, cchBuffer);
}

HWND CNavBitmapButton::GetSafeHwnd()
{
    return m_hWnd;
}

// Paints the normal face into the parent's DC at the button's place.
int CNavBitmapButton::OnPaintEx(HDC hdcParent)
{
    RECT rcFace = {};
    if (!hdcParent || !GetClientRect(m_hWnd, &rcFace)) // no window, nothing to place
        return 0;
    // A copy shares its maker's window, which the object it names composes.
    CNavBitmapButton* pMaker = nav::FindObject(nav::Type<CNavBitmapButton>(), m_hWnd);
    if (pMaker && pMaker != this)
        return pMaker->OnPaintEx(hdcParent);
    return DrawFace(hdcParent, rcFace, 0, true) ? 1 : 0;
}

// ---- Window procedure ----

// Reads like a table of contents: each case unpacks its parameters and calls one handler;
// everything else goes to the native button.
LRESULT CALLBACK CNavBitmapButton::BitmapButtonProc(HWND hwnd, UINT msg, WPARAM wParam,
                                                    LPARAM lParam)
{
    return nav::ForwardToObject(&CNavBitmapButton::OnMessage, nav::NoObject::AnswerZero, hwnd, msg,
                                wParam, lParam);
}

LRESULT CNavBitmapButton::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_DRAWITEM:
        return OnDrawItem(hwnd, wParam, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_ERASEBKGND:
        return 1; // the background comes with the face
    case WM_CTLCOLORBTN:
        return OnCtlColorBtn(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
        return OnLButtonDown(hwnd, wParam, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(hwnd, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        return OnLButtonDblClk(hwnd, wParam, lParam);
    case WM_KEYDOWN:
        return OnKeyDown(hwnd, wParam, lParam);
    case WM_KEYUP:
        return OnKeyUp(hwnd, wParam, lParam);
    case WM_NAV_RADIOCLEAR:
        return OnRadioClear(hwnd);
    default:
        return nav::CallNative(m_pfnOldProc, hwnd, msg, wParam, lParam);
    }
}

// Draws the face of a button item; other owner-draw requests belong to the native procedure.
LRESULT CNavBitmapButton::OnDrawItem(HWND hwnd, WPARAM wParam, const DRAWITEMSTRUCT* pdis)
{
    if (!pdis || pdis->CtlType != ODT_BUTTON)
        return nav::CallNative(m_pfnOldProc, hwnd, WM_DRAWITEM, wParam,
                               reinterpret_cast<LPARAM>(pdis));
    DrawFace(pdis->hDC, pdis->rcItem, pdis->itemState, false);
    return 1;
}

// The native button asks for its colours; it draws nothing of its own over the face.
LRESULT CNavBitmapButton::OnCtlColorBtn(HDC hdc)
{
    return nav::TransparentCtlColor(hdc);
}

// A new tap starts: any double tap before it is over.
LRESULT CNavBitmapButton::OnLButtonDown(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    g_nIgnoreNextRelease = 0;
    NKDbgPrintfW(L"WM_LBUTTONDOWN\n");
    return nav::CallNative(m_pfnOldProc, hwnd, WM_LBUTTONDOWN, wParam, lParam);
}

// The end of a tap changes the state, unless a double tap has already counted it.
LRESULT CNavBitmapButton::OnLButtonUp(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC pfnOld = m_pfnOldProc;
    if (!g_nIgnoreNextRelease)
    {
        NKDbgPrintfW(L"WM_LBUTTONUP\n");
        SetButtonState(wParam, lParam, hwnd);
    }
    return nav::CallNative(pfnOld, hwnd, WM_LBUTTONUP, wParam, lParam);
}

// The second tap of a double tap counts here; the release that follows it does not.
LRESULT CNavBitmapButton::OnLButtonDblClk(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC pfnOld = m_pfnOldProc;
    g_nIgnoreNextRelease = 1;
    SetButtonState(wParam, lParam, hwnd);
    return nav::CallNative(pfnOld, hwnd, WM_LBUTTONDBLCLK, wParam, lParam);
}

// The native button shows itself pushed while the space bar is down.
LRESULT CNavBitmapButton::OnKeyDown(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = nav::CallNative(m_pfnOldProc, hwnd, WM_KEYDOWN, wParam, lParam);
    if (wParam == VK_SPACE && (SendMessageW(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED))
        g_hwndSpaceDown = hwnd;
    return lResult;
}

// The native button answers the space bar coming up on a pushed button with BN_CLICKED to
// the parent, here as on the device. That is a keyboard click: the state changes first, as at
// the end of a tap inside, so that the parent reads the new state when it hears of the click.
LRESULT CNavBitmapButton::OnKeyUp(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC pfnOld = m_pfnOldProc;
    if (wParam == VK_SPACE)
    {
        const bool bClick = g_hwndSpaceDown == hwnd &&
                            (SendMessageW(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED);
        g_hwndSpaceDown = NULL;
        if (bClick)
            ApplyClick(hwnd);
    }
    return nav::CallNative(pfnOld, hwnd, WM_KEYUP, wParam, lParam);
}

// Another radio button of the group was tapped. Other kinds ignore the request.
LRESULT CNavBitmapButton::OnRadioClear(HWND hwnd)
{
    if (m_nType == NAVBTN_RADIO)
    {
        if (m_pCheck)
            *m_pCheck = 0;
        InvalidateRect(hwnd, NULL, FALSE);
    }
    return 0;
}

// ---- Taps ----

// Applies a tap released at the point in lParam: nothing when it lies outside the button.
void CNavBitmapButton::SetButtonState(WPARAM /*wParam*/, LPARAM lParam, HWND hwnd)
{
    CNavBitmapButton* pThis = nav::FindObject(nav::Type<CNavBitmapButton>(), hwnd);
    if (!pThis)
        return;
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    if (PtInRect(&rc, nav::PointFromLParam(lParam)))
        pThis->ApplyClick(hwnd);
}

// A completed click, by tap or by keyboard: check and toggle buttons flip, a radio button is
// checked and clears the rest of its group; every kind repaints.
void CNavBitmapButton::ApplyClick(HWND hwnd)
{
    switch (m_nType)
    {
    case NAVBTN_CHECK:
    case NAVBTN_TOGGLE:
        if (m_pCheck)
            *m_pCheck = (*m_pCheck & 1) ? 0 : (*m_pCheck | 1);
        break;
    case NAVBTN_RADIO:
        if (m_pCheck)
            *m_pCheck |= 1;
        ClearGroup(hwnd);
        break;
    default:
        break;
    }
    InvalidateRect(hwnd, NULL, FALSE);
}

// Asks the controls that follow this radio button in its dialog group to uncheck themselves.
void CNavBitmapButton::ClearGroup(HWND hwnd)
{
    const HWND hwndParent = GetParent(hwnd);
    if (!IsWindow(hwnd) || !IsWindow(hwndParent))
        return;
    HWND hwndItem = hwnd;
    for (int i = 0; i < kMaxRadioSteps; ++i)
    {
        hwndItem = GetNextDlgGroupItem(hwndParent, hwndItem, FALSE);
        if (hwndItem == hwnd || !IsWindow(hwndItem))
            break;
        SendMessageW(hwndItem, WM_NAV_RADIOCLEAR, 0, 0);
    }
}

// ---- Painting ----

// Composes the face off screen: the parent's background, the artwork, the caption; then one
// copy to the target, to (0, 0) for an owner-draw request or to the button's place in the
// parent for OnPaintEx. False when no back buffer could be had: the target is left as it was.
bool CNavBitmapButton::DrawFace(HDC hdcTarget, const RECT& rcFace, UINT nState, bool bToParent)
{
    const int cx = rcFace.right - rcFace.left, cy = rcFace.bottom - rcFace.top;
    // A DIB section: the PNG faces blend straight into its pixels. A parent that does not
    // paint beneath the button (a group box, for one) leaves its neutral first colour.
    nav::PaintBuffer buffer(hdcTarget, cx, cy, GetSysColorBrush(COLOR_BTNFACE));
    if (!buffer)
        return false;

    const nav::Place place = nav::PlaceInParent(m_hWnd);
    const RECT& rcParent = place.rcWindow;
    // Alive: an owner-draw request reaches the face through the button's own procedure, and
    // OnPaintEx has the button's client area.
    const nav::WindowWatch watch = nav::WindowWatch::OverLiveWindow(m_hWnd, this);
    nav::PaintParentBeneath(place, buffer, rcParent);
    if (watch.Died())
        return false;

    SetTextColor(buffer, RGB(0, 0, 0));
    SetBkMode(buffer, TRANSPARENT);
    RECT rcText = rcFace;
    if (DrawFaceArt(buffer, rcFace, nState, rcText) && watch.Died())
        return false;
    DrawCaption(buffer, rcText, cx);

    // Only the composed face is copied; a native border, if any, has nothing composed.
    if (bToParent)
        buffer.CopyTo(hdcTarget, rcParent.left, rcParent.top);
    else
        buffer.CopyTo(hdcTarget, 0, 0);
    return true;
}

// The face itself, by the first rule that applies: radio icon (and the application's icon),
// check icon, the application's image list, its callback, the shared PNG faces. Moves the
// caption's left edge past the icons. True when the application's callback was called (it may
// have destroyed the window).
bool CNavBitmapButton::DrawFaceArt(HDC hdc, const RECT& rcFace, UINT nState, RECT& rcText)
{
    const bool bChecked = IsChecked();
    if (m_nType == NAVBTN_RADIO)
    {
        DrawIcon(hdc, rcFace.left, rcFace.top, bChecked ? kIconRadioOn : kIconRadioOff);
        rcText.left = rcFace.left + kIconTextGap;
        if (m_hImageList)
        {
            int cxIcon = 0, cyIcon = 0;
            ImageList_GetIconSize(m_hImageList, &cxIcon, &cyIcon);
            nav::DrawListImage(m_hImageList, 0, hdc, rcFace.left + kIconTextGap, rcFace.top,
                               ILD_TRANSPARENT);
            rcText.left = rcFace.left + kIconTextGap + cxIcon + 1;
        }
        return false;
    }
    if (m_nType == NAVBTN_CHECK)
    {
        DrawIcon(hdc, rcFace.left, rcFace.top, bChecked ? kIconCheckOn : kIconCheckOff);
        rcText.left = rcFace.left + kIconTextGap;
        return false;
    }
    const bool bFaceKind = m_nType == NAVBTN_PUSH || m_nType == NAVBTN_TOGGLE;
    if (m_hImageList)
    {
        if (bFaceKind)
        {
            const int nImages = ImageList_GetImageCount(m_hImageList);
            nav::DrawListImage(m_hImageList, ImageIndex(m_nType, nState, bChecked, nImages),
                               hdc, 0, 0, ILD_TRANSPARENT);
        }
        return false;
    }
    if (m_pfnDrawBk)
    {
        if (bFaceKind)
        {
            RECT rc = rcFace; // the application gets its own copy to scribble on
            m_pfnDrawBk(hdc, &rc, CallbackFlags(m_nType, nState, bChecked),
                        static_cast<UINT>(GetDlgCtrlID(m_hWnd)));
            return true;
        }
        return false;
    }
    DrawSharedFace(hdc, rcFace, nState);
    return false;
}

// The caption, at most 49 characters of the window text, placed by kind.
void CNavBitmapButton::DrawCaption(HDC hdc, RECT rcText, int cxFace)
{
    // Read from the native button straight away: through the window the request would pass
    // this button's procedure on its way to the same place (see nav::AskNative).
    wchar_t szText[kCaptionBuffer];
    szText[0] = L'\0';
    const int nLen =
        static_cast<int>(nav::AskNative(m_pfnOldProc, m_hWnd, WM_GETTEXT, kCaptionBuffer, szText));
    if (nLen <= 0 || szText[0] == L'\0')
        return;

    nav::PaintSelectGuard font(hdc, m_hFont);
    UINT nFormat = DT_VCENTER | DT_SINGLELINE;
    if (m_nType == NAVBTN_PUSH)
    {
        // Centred as one line when the caption fits the width, as two when it wraps.
        SIZE size = {};
        GetTextExtentExPointW(hdc, szText, nLen, 0, NULL, NULL, &size);
        const int nLines = size.cx > cxFace ? 2 : 1;
        rcText.top += (rcText.bottom - nLines * size.cy - rcText.top) / 2;
        nFormat = DT_CENTER | DT_WORDBREAK;
    }
    else if (m_nType == NAVBTN_TOGGLE)
    {
        nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    }
    DrawTextW(hdc, szText, nLen, &rcText, nFormat);
}
