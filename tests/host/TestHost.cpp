// TestHost.cpp - the shared parent window, spy, pixel read-back and debug capture.
#include "TestHost.h"

#include "StandIn.h"
#include "win32/NavGdi.h"

#include <stdio.h>

namespace navtest
{
namespace
{
const wchar_t kHostClass[] = L"ZorNavTestHost";
const int kTile = 1024; // the cached pattern; it repeats every 256 pixels

// A DC holding the pattern for 0..kTile-1 in both directions, made once per process.
HDC PatternDC()
{
    static HDC s_hdc;
    if (s_hdc)
        return s_hdc;
    void* pBits = nullptr;
    HBITMAP hbm = nav::CreateDib32(nullptr, kTile, kTile, &pBits);
    DWORD* p = static_cast<DWORD*>(pBits);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x)
        {
            COLORREF c = PatternAt(x, y);
            p[y * kTile + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    s_hdc = CreateCompatibleDC(nullptr);
    SelectObject(s_hdc, hbm); // kept for the life of the process
    return s_hdc;
}

int Mod256(int v)
{
    return ((v % 256) + 256) % 256;
}

ATOM RegisterHostClass()
{
    static ATOM s_atom;
    if (s_atom)
        return s_atom;
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcW; // replaced per window in the constructor
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = kHostClass;
    s_atom = RegisterClassW(&wc);
    return s_atom;
}
} // namespace

void TestHost::PaintPattern(HDC hdc, const RECT& rc)
{
    HDC hdcPattern = PatternDC();
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    // Blit in pieces that each start on the right phase of the 256-pixel pattern.
    for (int y = 0; y < cy; y += kTile - 256)
        for (int x = 0; x < cx; x += kTile - 256)
        {
            int w = cx - x < kTile - 256 ? cx - x : kTile - 256;
            int h = cy - y < kTile - 256 ? cy - y : kTile - 256;
            BitBlt(hdc, x, y, w, h, hdcPattern, Mod256(rc.left + x), Mod256(rc.top + y),
                   SRCCOPY);
        }
}

TestHost::TestHost(int cx, int cy, DWORD dwStyle)
{
    RegisterHostClass();
    RECT rc = {0, 0, cx, cy};
    AdjustWindowRect(&rc, dwStyle, FALSE);
    m_hwnd = CreateWindowExW(0, kHostClass, L"ZorNavCtrl test host", dwStyle, 0, 0,
                             rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WndProc));
    PumpMessages();
}

TestHost::~TestHost()
{
    if (IsWindow(m_hwnd))
    {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    PumpMessages();
}

LRESULT CALLBACK TestHost::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TestHost* pHost = reinterpret_cast<TestHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!pHost)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    return pHost->OnMessage(msg, wParam, lParam);
}

LRESULT TestHost::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    Record(m_hwnd, msg, wParam, lParam);
    if (hook)
    {
        LRESULT lr = 0;
        if (hook(msg, wParam, lParam, &lr))
            return lr;
    }
    switch (msg)
    {
    case WM_NAV_PAINTBKGND:
    {
        const RECT* prc = reinterpret_cast<const RECT*>(lParam);
        if (prc)
            m_bkgndRects.push_back(*prc);
        if (paintBackground && prc && wParam)
            PaintPattern(reinterpret_cast<HDC>(wParam), *prc);
        return 0;
    }
    case WM_DRAWITEM:
    {
        const DRAWITEMSTRUCT* pdis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (forwardDrawItem && pdis && IsWindow(pdis->hwndItem))
            return SendMessageW(pdis->hwndItem, WM_DRAWITEM, wParam, lParam);
        return FALSE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    {
        HWND hwndChild = reinterpret_cast<HWND>(lParam);
        if (forwardCtlColor && hwndChild != m_hwnd && IsChild(m_hwnd, hwndChild))
            return SendMessageW(hwndChild, msg, wParam, lParam);
        return DefWindowProcW(m_hwnd, msg, wParam, lParam);
    }
    case WM_MEASUREITEM:
    {
        MEASUREITEMSTRUCT* pmis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (pmis)
            pmis->itemHeight = measureItemHeight;
        return TRUE;
    }
    case WM_ERASEBKGND:
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        PaintPattern(reinterpret_cast<HDC>(wParam), rc);
        return 1;
    }
    default:
        return DefWindowProcW(m_hwnd, msg, wParam, lParam);
    }
}

std::vector<Msg> MessageLog::Messages(UINT message) const
{
    std::vector<Msg> out;
    for (const Msg& m : m_messages)
        if (m.message == message)
            out.push_back(m);
    return out;
}

int MessageLog::Count(UINT message) const
{
    return static_cast<int>(Messages(message).size());
}


// ---- MessageSpy ----

// Spies use the common controls' subclass chain, so that several can stack on one window.
MessageSpy::MessageSpy(HWND hwnd) : m_hwnd(hwnd)
{
    SetWindowSubclass(hwnd, SpyProc, reinterpret_cast<UINT_PTR>(this),
                      reinterpret_cast<DWORD_PTR>(this));
}

MessageSpy::~MessageSpy()
{
    if (IsWindow(m_hwnd))
        RemoveWindowSubclass(m_hwnd, SpyProc, reinterpret_cast<UINT_PTR>(this));
}

LRESULT CALLBACK MessageSpy::SpyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR uId, DWORD_PTR dwRefData)
{
    MessageSpy* pSpy = reinterpret_cast<MessageSpy*>(dwRefData);
    pSpy->Record(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, SpyProc, uId);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// ---- NativeClassSpy ----

namespace
{
std::vector<NativeClassSpy*> g_classSpies;
// The system procedures, kept for windows that outlive their spy.
std::vector<std::pair<std::wstring, WNDPROC>> g_nativeProcs;
}

NativeClassSpy::NativeClassSpy(const wchar_t* pszClass) : m_class(pszClass)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(nullptr, pszClass, &wc))
        return;
    m_pfnNative = wc.lpfnWndProc;
    wc.lpfnWndProc = SpyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.style &= ~CS_GLOBALCLASS;
    wc.lpszClassName = pszClass;
    m_atom = RegisterClassExW(&wc);
    if (m_atom)
    {
        g_classSpies.push_back(this);
        g_nativeProcs.push_back({m_class, m_pfnNative});
    }
}

NativeClassSpy::~NativeClassSpy()
{
    if (!m_atom)
        return;
    UnregisterClassW(m_class.c_str(), GetModuleHandleW(nullptr));
    for (size_t i = 0; i < g_classSpies.size(); ++i)
        if (g_classSpies[i] == this)
            g_classSpies.erase(g_classSpies.begin() + i);
}

LRESULT CALLBACK NativeClassSpy::SpyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    wchar_t szClass[64] = L"";
    GetClassNameW(hwnd, szClass, 64);
    for (NativeClassSpy* pSpy : g_classSpies)
        if (lstrcmpiW(pSpy->m_class.c_str(), szClass) == 0)
            pSpy->Record(hwnd, msg, wParam, lParam);
    for (const auto& native : g_nativeProcs)
        if (lstrcmpiW(native.first.c_str(), szClass) == 0)
            return CallWindowProcW(native.second, hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}


bool ColorNear(COLORREF a, COLORREF b, int tolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string ColorText(COLORREF c)
{
    char sz[16];
    snprintf(sz, sizeof(sz), "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return sz;
}

// ---- DebugCapture ----

DebugCapture::DebugCapture()
{
    StandInSetDebugHook(Hook, this);
}

DebugCapture::~DebugCapture()
{
    StandInSetDebugHook(nullptr, nullptr);
}

void DebugCapture::Hook(const wchar_t* pszLine, void* pContext)
{
    static_cast<DebugCapture*>(pContext)->m_lines.push_back(pszLine);
}

int DebugCapture::Count(const std::wstring& line) const
{
    int n = 0;
    for (const std::wstring& l : m_lines)
        n += (l == line);
    return n;
}

// ---- Input ----

void SendPenDown(HWND hwnd, int x, int y)
{
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void SendPenUp(HWND hwnd, int x, int y)
{
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void SendTap(HWND hwnd, int x, int y)
{
    SendPenDown(hwnd, x, y);
    SendPenUp(hwnd, x, y);
}

HFONT MakeFont(int nHeight, const wchar_t* pszFace, int nWeight)
{
    return CreateFontW(-nHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, pszFace);
}

bool AnswerRowRequest(UINT msg, LPARAM lParam,
                      const std::function<std::wstring(int row, int subItem)>& text,
                      const std::function<int(int row)>& image, LRESULT* pResult)
{
    if (msg != WM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->code != LVN_GETDISPINFOW)
        return false;
    NMLVDISPINFOW* pInfo = reinterpret_cast<NMLVDISPINFOW*>(lParam);
    if ((pInfo->item.mask & LVIF_TEXT) && pInfo->item.pszText)
        lstrcpynW(pInfo->item.pszText, text(pInfo->item.iItem, pInfo->item.iSubItem).c_str(),
                  pInfo->item.cchTextMax);
    if (pInfo->item.mask & LVIF_IMAGE)
        pInfo->item.iImage = image(pInfo->item.iItem);
    *pResult = 0;
    return true;
}


RECT InkBoxWhere(const Pixels& px, const RECT& rc,
                 const std::function<bool(int x, int y, COLORREF c)>& match, int* pnCount)
{
    RECT box = {rc.right, rc.bottom, rc.left, rc.top};
    int nCount = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
        {
            if (!match(x, y, px.At(x, y)))
                continue;
            ++nCount;
            box.left = x < box.left ? x : box.left;
            box.top = y < box.top ? y : box.top;
            box.right = x + 1 > box.right ? x + 1 : box.right;
            box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
        }
    if (box.left >= box.right)
        SetRectEmpty(&box);
    if (pnCount)
        *pnCount = nCount;
    return box;
}

RECT InkBox(const Pixels& px, const RECT& rc, const std::function<bool(COLORREF c)>& match)
{
    return InkBoxWhere(px, rc, [&match](int, int, COLORREF c) { return match(c); });
}

Canvas::Canvas(int cx, int cy) : m_cx(cx), m_cy(cy)
{
    HDC hdcScreen = GetDC(nullptr);
    m_hdc = CreateCompatibleDC(hdcScreen);
    m_hbm = CreateCompatibleBitmap(hdcScreen, cx, cy);
    ReleaseDC(nullptr, hdcScreen);
    m_hOld = SelectObject(m_hdc, m_hbm);
}

Canvas::~Canvas()
{
    SelectObject(m_hdc, m_hOld);
    DeleteObject(m_hbm);
    DeleteDC(m_hdc);
}

void Canvas::Fill(COLORREF c)
{
    HBRUSH hbr = CreateSolidBrush(c);
    RECT rc = {0, 0, m_cx, m_cy};
    FillRect(m_hdc, &rc, hbr);
    DeleteObject(hbr);
}

DcState DcState::Of(HDC hdc)
{
    HRGN hClip = CreateRectRgn(0, 0, 0, 0);
    const bool bClipped = GetClipRgn(hdc, hClip) == 1;
    DeleteObject(hClip);
    POINT ptPen = {};
    GetCurrentPositionEx(hdc, &ptPen);
    return {GetCurrentObject(hdc, OBJ_PEN),
            GetCurrentObject(hdc, OBJ_BRUSH),
            GetCurrentObject(hdc, OBJ_FONT),
            GetCurrentObject(hdc, OBJ_BITMAP),
            GetBkMode(hdc),
            GetTextColor(hdc),
            bClipped,
            ptPen};
}

std::string DcState::Changes(HDC hdc) const
{
    const DcState now = Of(hdc);
    std::string changes;
    auto note = [&changes](bool bChanged, const char* pszWhat) {
        if (bChanged)
            changes += changes.empty() ? pszWhat : std::string(", ") + pszWhat;
    };
    note(now.pen != pen, "pen");
    note(now.brush != brush, "brush");
    note(now.font != font, "font");
    note(now.bitmap != bitmap, "bitmap");
    note(now.nBkMode != nBkMode, "background mode");
    note(now.crText != crText, "text colour");
    note(now.bClipped != bClipped, "clip region");
    note(now.ptPen.x != ptPen.x || now.ptPen.y != ptPen.y, "pen position");
    return changes;
}

DcState MarkCallerDc(HDC hdc)
{
    SetBkMode(hdc, OPAQUE);
    SetTextColor(hdc, RGB(1, 2, 3));
    MoveToEx(hdc, 7, 5, nullptr);
    return DcState::Of(hdc);
}

HBITMAP MakeSolidBitmap(int cx, int cy, COLORREF c)
{
    Canvas canvas(1, 1); // only its DC: the bitmap goes to the caller
    HDC hdcScreen = GetDC(nullptr);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, cx, cy);
    ReleaseDC(nullptr, hdcScreen);
    HGDIOBJ hOld = SelectObject(canvas, hbm);
    HBRUSH hbr = CreateSolidBrush(c);
    RECT rc = {0, 0, cx, cy};
    FillRect(canvas, &rc, hbr);
    DeleteObject(hbr);
    SelectObject(canvas, hOld);
    return hbm;
}

bool AddNativeBorder(HWND hwnd)
{
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RECT rcWindow = {}, rcClient = {};
    GetWindowRect(hwnd, &rcWindow);
    GetClientRect(hwnd, &rcClient);
    return rcClient.right < rcWindow.right - rcWindow.left;
}

int ChangedBeyondPicture(const Pixels& px, HWND hwnd, COLORREF c)
{
    RECT rcWindow = {}, rcClient = {};
    GetWindowRect(hwnd, &rcWindow);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rcWindow), 2);
    GetClientRect(hwnd, &rcClient);
    int n = 0;
    for (int y = rcWindow.top; y < rcWindow.bottom; ++y)
        for (int x = rcWindow.left; x < rcWindow.right; ++x)
        {
            const bool bPicture =
                x < rcWindow.left + rcClient.right && y < rcWindow.top + rcClient.bottom;
            n += !bPicture && px.At(x, y) != c;
        }
    return n;
}

} // namespace navtest
