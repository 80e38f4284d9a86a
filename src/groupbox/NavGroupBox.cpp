// NavGroupBox.cpp - CNavGroupBox: the bitmap background, owner-draw forwarding to button
// children and transparent child colours. The native group box still draws its frame and
// caption in WM_PAINT.
#include "NavGroupBox.h"

#include "core/NavCompose.h"
#include "win32/NavGdi.h"
#include "platform/NavPlatform.h"
#include "win32/NavCheck.h"
#include "win32/NavWindow.h"

// The exported layout as applications compiled against the header see it: a field added,
// removed or resized fails here until the copy (and this size) take it in.
NAV_COMPILE_CHECK(sizeof(CNavGroupBox) == NAV_BY_WORD_SIZE(16, 32), groupbox_layout);

// A group box without a window.
CNavGroupBox::CNavGroupBox() : m_hWnd(NULL), m_hBitmap(NULL), m_pfnOldProc(NULL)
{
}

CNavGroupBox::CNavGroupBox(const CNavGroupBox& other)
    : m_hWnd(other.m_hWnd), m_hBitmap(other.m_hBitmap), m_pfnOldProc(other.m_pfnOldProc)
{
}

// Copies every field. A window this box made (its user data names this object) goes as the
// destructor would take it: left alone it would stay subclassed to an object that now stands
// for another window. A window this box only shares with the box that made it is left alone.
CNavGroupBox& CNavGroupBox::operator=(const CNavGroupBox& other)
{
    if (m_hWnd != other.m_hWnd && nav::IsOwnWindow(m_hWnd, this))
        DestroyOwnWindow();
    m_hWnd = other.m_hWnd;
    m_hBitmap = other.m_hBitmap;
    m_pfnOldProc = other.m_pfnOldProc;
    return *this;
}

// Restores the native procedure first, so that the destruction's messages do not reach an
// object that is going away.
CNavGroupBox::~CNavGroupBox()
{
    DestroyOwnWindow();
}

// Gives the window its native procedure back, then destroys it, if it is alive.
void CNavGroupBox::DestroyOwnWindow()
{
    nav::RestoreAndDestroy(m_hWnd, m_pfnOldProc);
}

// Makes the native group box and installs GrouProc on it.
int CNavGroupBox::Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* pszCaption, RECT& rc,
                         HWND hwndParent, UINT nId, HBITMAP hBitmap)
{
    if (IsWindow(m_hWnd))
        return 1;
    if (hBitmap)
        m_hBitmap = hBitmap;
    const DWORD dwBoxStyle = dwStyle | WS_CHILD | WS_TABSTOP | BS_GROUPBOX;
    m_hWnd = nav::CreateChild(0, L"BUTTON", pszCaption, dwBoxStyle, rc, hwndParent, nId, hInstance);
    if (!m_hWnd)
    {
        NKDbgPrintfW(L"CreateButton failed: %d\n", GetLastError());
        return 0;
    }
    nav::Subclass(m_hWnd, this, GrouProc, m_pfnOldProc);
    return 1;
}

HWND CNavGroupBox::GetSafeHwnd()
{
    return m_hWnd;
}

// The window procedure: one handler per message, everything else to the native group box.
LRESULT CALLBACK CNavGroupBox::GrouProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return nav::ForwardToObject(&CNavGroupBox::OnMessage, nav::NoObject::AnswerZero, hwnd, msg,
                                wParam, lParam);
}

LRESULT CNavGroupBox::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_ERASEBKGND:
        return OnEraseBkgnd(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_DRAWITEM:
        return OnDrawItem(hwnd, wParam, lParam);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return OnCtlColor(reinterpret_cast<HDC>(wParam));
    default:
        return nav::CallNative(m_pfnOldProc, hwnd, msg, wParam, lParam);
    }
}

// Copies the bitmap, unscaled, under the whole box.
LRESULT CNavGroupBox::OnEraseBkgnd(HWND hwnd, HDC hdc)
{
    if (!hdc || !m_hBitmap)
        return 1;
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    nav::MemDC dcBitmap(hdc);
    if (!dcBitmap)
        return 1;
    nav::SelectGuard select(dcBitmap, m_hBitmap);
    BitBlt(hdc, 0, 0, cx, cy, dcBitmap, 0, 0, SRCCOPY);
    return 1;
}

// A button child draws itself only when its owner-draw request reaches its own window; other
// kinds of request are swallowed.
LRESULT CNavGroupBox::OnDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    const DRAWITEMSTRUCT* pdis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!pdis || pdis->CtlType != ODT_BUTTON)
        return 0;
    SendDlgItemMessageW(hwnd, static_cast<int>(pdis->CtlID), WM_DRAWITEM, wParam, lParam);
    return 1;
}

// Children paint over the bitmap without filling their background.
LRESULT CNavGroupBox::OnCtlColor(HDC hdc)
{
    return nav::TransparentCtlColor(hdc);
}
