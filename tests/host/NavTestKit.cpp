// NavTestKit.cpp - the test kit: pumping, real input, answering popup menus, pictures of
// windows, PNG files and golden comparison. Plain Win32 and stb, nothing of the library's, so
// that applications link it as it is installed.
#include "NavTestKit.h"

#include "NavDib.h"

#include <commctrl.h>

#include <stdio.h>

#include <stb_image.h>
#include <stb_image_write.h>

namespace navtest
{
namespace
{
// A path the program can open: a path of the machine Wine runs on goes through drive Z:.
std::wstring WindowsPath(const wchar_t* pszPath)
{
    std::wstring path = pszPath ? pszPath : L"";
    return !path.empty() && path[0] == L'/' ? L"Z:" + path : path;
}

void WriteToFile(void* pContext, void* pData, int cb)
{
    fwrite(pData, 1, cb, static_cast<FILE*>(pContext));
}

// Writes 0x00RRGGBB pixels, top row first, as an 8-bit RGB PNG.
bool WritePng(const std::wstring& path, int cx, int cy, const std::vector<DWORD>& bits)
{
    if (cx <= 0 || cy <= 0)
        return false;
    std::vector<unsigned char> rgb(bits.size() * 3);
    for (size_t i = 0; i < bits.size(); ++i)
    {
        rgb[3 * i] = static_cast<unsigned char>(bits[i] >> 16);
        rgb[3 * i + 1] = static_cast<unsigned char>(bits[i] >> 8);
        rgb[3 * i + 2] = static_cast<unsigned char>(bits[i]);
    }
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f)
        return false;
    const int ok = stbi_write_png_to_func(WriteToFile, f, cx, cy, 3, rgb.data(), cx * 3);
    return fclose(f) == 0 && ok;
}

void SendMouse(DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = dwFlags;
    SendInput(1, &in, sizeof(in));
}

// Brings the window's top-level window to the foreground and returns the client point on the
// screen.
POINT OnScreen(HWND hwnd, int x, int y)
{
    POINT pt = {x, y};
    ClientToScreen(hwnd, &pt);
    SetForegroundWindow(GetAncestor(hwnd, GA_ROOT));
    return pt;
}

void SendKey(WORD vk, wchar_t ch, DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = ch ? ch : static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = dwFlags;
    SendInput(1, &in, sizeof(in));
}

// The text a menu item shows, without the mnemonic's '&' and without the accelerator after a
// tab.
std::wstring ItemLabel(const std::wstring& text)
{
    std::wstring label;
    for (size_t i = 0; i < text.size() && text[i] != L'\t'; ++i)
    {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        label += text[i];
    }
    return label;
}

// The latest press, so that the next one is not taken for the second half of a double tap.
DWORD g_dwLastPress;
POINT g_ptLastPress = {-100000, -100000};

// Presses the pen at a screen point. A press near the latest one, within the double-click time,
// waits that time out first: two taps of a test are two taps, never one double tap.
void PressAt(POINT pt)
{
    if (abs(pt.x - g_ptLastPress.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
        abs(pt.y - g_ptLastPress.y) <= GetSystemMetrics(SM_CYDOUBLECLK))
    {
        const DWORD dwWait = GetDoubleClickTime() + 50;
        const DWORD dwSince = GetTickCount() - g_dwLastPress;
        if (dwSince < dwWait)
            PumpFor(dwWait - dwSince);
    }
    SetCursorPos(pt.x, pt.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    g_ptLastPress = pt;
    g_dwLastPress = GetTickCount();
}

MenuDriver* g_pMenuDriver;
} // namespace

// ---- Pumping ----

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PumpFor(DWORD dwMilliseconds)
{
    const DWORD dwStart = GetTickCount();
    do
    {
        PumpMessages();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - dwStart < dwMilliseconds);
    PumpMessages();
}

// ---- Real input ----

void RealTap(HWND hwnd, int x, int y)
{
    PressAt(OnScreen(hwnd, x, y));
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpFor(100);
}

// Each step moves the cursor (which gives the window under it, or the one holding the
// capture, a WM_MOUSEMOVE) and is handled before the next, as a pen's moves would be.
void RealDrag(HWND hwnd, int x0, int y0, int x1, int y1)
{
    const POINT from = OnScreen(hwnd, x0, y0);
    const POINT to = OnScreen(hwnd, x1, y1);
    PressAt(from);
    PumpMessages();
    const int dx = to.x - from.x, dy = to.y - from.y;
    const int nSteps = ((abs(dx) > abs(dy) ? abs(dx) : abs(dy)) + 7) / 8;
    for (int i = 1; i <= nSteps; ++i)
    {
        SetCursorPos(from.x + dx * i / nSteps, from.y + dy * i / nSteps);
        PumpMessages();
    }
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpFor(100);
}

void RealType(const wchar_t* pszText)
{
    for (const wchar_t* p = pszText; p && *p; ++p)
    {
        SendKey(0, *p, KEYEVENTF_UNICODE);
        SendKey(0, *p, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
        PumpMessages();
    }
    PumpFor(100);
}

void RealKey(WORD vk)
{
    SendKey(vk, 0, 0);
    SendKey(vk, 0, KEYEVENTF_KEYUP);
    PumpFor(100);
}

// ---- Popup menus ----

MenuDriver::MenuDriver(const wchar_t* pszItem) : m_item(pszItem ? pszItem : L""), m_nChoice(-1)
{
    Start();
}

MenuDriver::MenuDriver(int nChoice) : m_nChoice(nChoice)
{
    Start();
}

void MenuDriver::Start()
{
    nMenus = 0;
    hwndOwner = NULL;
    nPicked = -1;
    g_pMenuDriver = this;
    m_hHook = SetWindowsHookExW(WH_CALLWNDPROC, Hook, NULL, GetCurrentThreadId());
}

MenuDriver::~MenuDriver()
{
    UnhookWindowsHookEx(m_hHook);
    g_pMenuDriver = NULL;
}

// The menu's owner hears WM_INITMENUPOPUP as the menu opens, before its modal loop reads input.
LRESULT CALLBACK MenuDriver::Hook(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* pcwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && g_pMenuDriver && pcwp->message == WM_INITMENUPOPUP)
        g_pMenuDriver->OnMenu(pcwp->hwnd, reinterpret_cast<HMENU>(pcwp->wParam));
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

// Keys posted to the owner reach the menu's loop, which reads this thread's queue.
void MenuDriver::OnMenu(HWND hwnd, HMENU hMenu)
{
    ++nMenus;
    hwndOwner = hwnd;
    ids.clear();
    texts.clear();
    nPicked = m_item.empty() ? m_nChoice : -1;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
    {
        wchar_t sz[128] = {};
        GetMenuStringW(hMenu, i, sz, 128, MF_BYPOSITION);
        ids.push_back(GetMenuItemID(hMenu, i));
        texts.push_back(sz);
        if (!m_item.empty() && nPicked < 0 && ItemLabel(sz) == m_item)
            nPicked = i;
    }
    if (nPicked < 0 || nPicked >= static_cast<int>(ids.size()))
    {
        nPicked = -1;
        PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    for (int i = 0; i <= nPicked; ++i)
        PostMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
}

// ---- Pictures ----

Pixels::Pixels() : m_cx(0), m_cy(0)
{
}

Pixels Pixels::FromDC(HDC hdc, int x, int y, int cx, int cy)
{
    Pixels px;
    if (cx <= 0 || cy <= 0)
        return px;
    void* pBits = NULL;
    HBITMAP hbm = nav::CreateDib32(NULL, cx, cy, &pBits);
    if (!hbm)
        return px;
    HDC hdcMem = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hdcMem, hbm);
    BitBlt(hdcMem, 0, 0, cx, cy, hdc, x, y, SRCCOPY);
    GdiFlush();
    px.m_cx = cx;
    px.m_cy = cy;
    const DWORD* p = static_cast<const DWORD*>(pBits);
    px.m_bits.assign(p, p + static_cast<size_t>(cx) * cy);
    for (size_t i = 0; i < px.m_bits.size(); ++i)
        px.m_bits[i] &= 0x00FFFFFF;
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    DeleteObject(hbm);
    return px;
}

Pixels Pixels::FromWindow(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    HDC hdc = GetDC(hwnd);
    Pixels px = FromDC(hdc, 0, 0, rc.right, rc.bottom);
    ReleaseDC(hwnd, hdc);
    return px;
}

Pixels Pixels::FromPng(const wchar_t* pszPath)
{
    Pixels px;
    FILE* f = _wfopen(WindowsPath(pszPath).c_str(), L"rb");
    if (!f)
        return px;
    std::vector<unsigned char> data;
    unsigned char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    fclose(f);
    int cx = 0, cy = 0, channels = 0;
    unsigned char* rgb = data.empty() ? NULL
                                      : stbi_load_from_memory(data.data(),
                                                              static_cast<int>(data.size()),
                                                              &cx, &cy, &channels, 3);
    if (!rgb)
        return px;
    px.m_cx = cx;
    px.m_cy = cy;
    px.m_bits.resize(static_cast<size_t>(cx) * cy);
    for (size_t i = 0; i < px.m_bits.size(); ++i)
        px.m_bits[i] = (rgb[3 * i] << 16) | (rgb[3 * i + 1] << 8) | rgb[3 * i + 2];
    stbi_image_free(rgb);
    return px;
}

COLORREF Pixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_cx || y >= m_cy)
        return CLR_INVALID;
    const DWORD v = m_bits[static_cast<size_t>(y) * m_cx + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

bool Pixels::SavePng(const wchar_t* pszPath) const
{
    return WritePng(WindowsPath(pszPath), m_cx, m_cy, m_bits);
}

bool MatchesGolden(const Pixels& actual, const wchar_t* pszGolden, const wchar_t* pszOut,
                   std::string* pReport)
{
    return MatchesGolden(actual, pszGolden, pszOut, std::vector<RECT>(), pReport);
}

bool MatchesGolden(const Pixels& actual, const wchar_t* pszGolden, const wchar_t* pszOut,
                   const std::vector<RECT>& masked, std::string* pReport)
{
    std::string report;
    const Pixels golden = Pixels::FromPng(pszGolden);
    const std::wstring out = WindowsPath(pszOut);
    const size_t slash = out.find_last_of(L"/\\");
    if (slash != std::wstring::npos)
        CreateDirectoryW(out.substr(0, slash).c_str(), NULL);
    char sz[256];
    if (golden.Width() == 0)
    {
        snprintf(sz, sizeof(sz), "no golden picture %ls (the actual one is %ls.actual.png)",
                 WindowsPath(pszGolden).c_str(), out.c_str());
        report = sz;
    }
    else if (golden.Width() != actual.Width() || golden.Height() != actual.Height())
    {
        snprintf(sz, sizeof(sz), "size %d x %d, golden %d x %d", actual.Width(),
                 actual.Height(), golden.Width(), golden.Height());
        report = sz;
    }
    else
    {
        // The golden picture faded to a quarter, the differing pixels red over it.
        std::vector<DWORD> diff(golden.Raw());
        int nDiffering = 0, xFirst = -1, yFirst = -1;
        for (int y = 0; y < golden.Height(); ++y)
            for (int x = 0; x < golden.Width(); ++x)
            {
                DWORD& d = diff[static_cast<size_t>(y) * golden.Width() + x];
                const POINT pt = {x, y};
                bool bMasked = false;
                for (size_t i = 0; i < masked.size() && !bMasked; ++i)
                    bMasked = PtInRect(&masked[i], pt) != FALSE;
                if (bMasked)
                {
                    d = 0x808080;
                    continue;
                }
                if (golden.At(x, y) == actual.At(x, y))
                {
                    d = (d >> 2) & 0x3F3F3F;
                    continue;
                }
                d = 0xFF0000;
                if (nDiffering++ == 0)
                    xFirst = x, yFirst = y;
            }
        if (nDiffering == 0)
        {
            if (pReport)
                pReport->clear();
            return true;
        }
        const COLORREF e = golden.At(xFirst, yFirst), a = actual.At(xFirst, yFirst);
        snprintf(sz, sizeof(sz),
                 "%d pixels differ; first at (%d, %d): expected #%02X%02X%02X, actual "
                 "#%02X%02X%02X (pictures in %ls.actual.png and .diff.png)",
                 nDiffering, xFirst, yFirst, GetRValue(e), GetGValue(e), GetBValue(e),
                 GetRValue(a), GetGValue(a), GetBValue(a), out.c_str());
        report = sz;
        WritePng(out + L".diff.png", golden.Width(), golden.Height(), diff);
    }
    WritePng(out + L".actual.png", actual.Width(), actual.Height(), actual.Raw());
    if (pReport)
        *pReport = report;
    return false;
}

// ---- Checks ----

namespace
{
int g_nChecks, g_nFailedChecks;
}

bool Check(bool bOk, const char* pszWhat)
{
    printf("%s %s\n", bOk ? "ok    " : "FAILED", pszWhat ? pszWhat : "");
    fflush(stdout);
    ++g_nChecks;
    g_nFailedChecks += !bOk;
    return bOk;
}

int CheckSummary()
{
    printf("%d checks, %d failed\n", g_nChecks, g_nFailedChecks);
    fflush(stdout);
    return g_nChecks > 0 && g_nFailedChecks == 0 ? 0 : 1;
}

// ---- The controls ----

RECT ListRowRect(HWND hList, int row)
{
    RECT rc = {LVIR_BOUNDS, 0, 0, 0};
    if (!SendMessageW(hList, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc)))
        SetRectEmpty(&rc);
    return rc;
}

std::wstring ListCellText(HWND hList, int row, int nSubItem)
{
    wchar_t sz[256] = L"";
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    item.pszText = sz;
    item.cchTextMax = 256;
    SendMessageW(hList, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return sz;
}

bool ListRowChecked(HWND hList, int row)
{
    return (SendMessageW(hList, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) &
            LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

bool ChooseComboItem(HWND hCombo, int n)
{
    const int kListIdOffset = 1010; // the combo's list: a sibling, id of the edit + 1010
    RECT rc = {};
    GetClientRect(hCombo, &rc);
    RealTap(hCombo, rc.right - 8, rc.bottom / 2); // the arrow
    HWND hList = GetDlgItem(GetParent(hCombo), GetDlgCtrlID(hCombo) + kListIdOffset);
    if (!hList || !IsWindowVisible(hList) || n < 0 ||
        n >= static_cast<int>(SendMessageW(hList, LB_GETCOUNT, 0, 0)))
        return false;
    SendMessageW(hList, LB_SETTOPINDEX, n, 0);
    const int top = static_cast<int>(SendMessageW(hList, LB_GETTOPINDEX, 0, 0));
    const int cy = static_cast<int>(SendMessageW(hList, LB_GETITEMHEIGHT, 0, 0));
    RealTap(hList, 20, (n - top) * cy + cy / 2);
    return !IsWindowVisible(hList) && SendMessageW(hList, LB_GETCURSEL, 0, 0) == n;
}

namespace
{
BOOL CALLBACK CollectTimed(HWND hwnd, LPARAM lParam)
{
    wchar_t szClass[32] = L"";
    GetClassNameW(hwnd, szClass, 32);
    if (lstrcmpiW(szClass, L"SysListView32") == 0 || lstrcmpiW(szClass, L"STATIC") == 0)
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}
} // namespace

int AdvanceSeconds(HWND hwndRoot, int nSeconds)
{
    const UINT_PTR kTimer = 1;
    int nSent = 0;
    for (int second = 0; second < nSeconds; ++second)
    {
        std::vector<HWND> windows;
        CollectTimed(hwndRoot, reinterpret_cast<LPARAM>(&windows));
        EnumChildWindows(hwndRoot, CollectTimed, reinterpret_cast<LPARAM>(&windows));
        for (size_t i = 0; i < windows.size(); ++i)
        {
            if (!IsWindow(windows[i]) || !KillTimer(windows[i], kTimer))
                continue; // gone, or no timer running
            SetTimer(windows[i], kTimer, 1000, NULL);
            SendMessageW(windows[i], WM_TIMER, kTimer, 0);
            ++nSent;
        }
        PumpMessages();
    }
    return nSent;
}

bool SoftInputPanel(RECT* prcScreen)
{
    HWND hPanel = FindWindowW(L"SipWndClass", NULL);
    const bool bShown = hPanel && IsWindowVisible(hPanel);
    if (prcScreen)
    {
        SetRectEmpty(prcScreen);
        if (bShown)
            GetWindowRect(hPanel, prcScreen);
    }
    return bShown;
}

} // namespace navtest
