// coredll.cpp - the bodies of the stand-in coredll.dll: the device's services that the desktop
// lacks (the debug output, the soft input panel, GetProcAddressW, TransparentImage), the calls
// that behave as the device's reference documents rather than as the desktop does, and the
// calls counted and failed for the tests. Every other call of the device's list is forwarded
// to Wine's own DLL as it stands (see standin/CMakeLists.txt).
//
// A body is named Ce5_ and the call's name, with the device's prototype; the .def file of the
// DLL is written from the names defined here.
#include "StandInState.h"

#include <commctrl.h>

#include <malloc.h>
#include <map>
#include <unordered_map>
#include <stdarg.h>
#include <stdio.h>
#include <string>
#include <string.h>

#include <sipapi.h> // SIPINFO as the device lays it out

// ---- What the stand-in keeps ----

namespace
{
struct Faults
{
    long nCount = 0;
    long nFail = 0;
    BOOL bFromThenOn = FALSE;
    std::wstring call; // only calls of this name count; empty: every allocating call
};

struct State
{
    std::map<HMODULE, Faults> faults;
    std::unordered_map<const void*, HMODULE> live; // the ledger
    StandInDebugHook pfnDebugHook = nullptr;
    void* pDebugHookContext = nullptr;
    DWORD dwSipFlags = SIPF_OFF;
    BOOL bSipQueryFails = FALSE;
    int nSipShowCount = 0;
    DWORD dwSipLastShow = 0;
    HWND hwndSip = nullptr;
    unsigned uEmulations = STANDIN_ALL;
};

State& TheState()
{
    static State state;
    return state;
}

HMODULE WatchedModule(const wchar_t* pszName)
{
    return GetModuleHandleW(pszName);
}

// Where a module's image lies in memory; empty for no module.
struct Image
{
    HMODULE hModule = nullptr;
    UINT_PTR nStart = 0, nEnd = 0;
    bool Holds(void* p) const
    {
        const UINT_PTR n = reinterpret_cast<UINT_PTR>(p);
        return n >= nStart && n < nEnd;
    }
};

Image ImageOf(HMODULE hModule)
{
    Image image;
    if (!hModule)
        return image;
    const BYTE* pBase = reinterpret_cast<const BYTE*>(hModule);
    const IMAGE_DOS_HEADER* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    const IMAGE_NT_HEADERS* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    image.hModule = hModule;
    image.nStart = reinterpret_cast<UINT_PTR>(pBase);
    image.nEnd = image.nStart + pNt->OptionalHeader.SizeOfImage;
    return image;
}
} // namespace

namespace standin
{
// Looked up by address: every allocating call asks, and asking the loader costs more than
// many a call it watches. The two DLLs are imported by the programs that load them and stay.
HMODULE WatchedCaller(void* pReturn)
{
    static Image images[2];
    for (int i = 0; i < 2; ++i)
    {
        if (!images[i].hModule)
            images[i] = ImageOf(WatchedModule(i == 0 ? L"ZorNavCtrl.dll" : L"imgblend.dll"));
        if (images[i].Holds(pReturn))
            return images[i].hModule;
    }
    return nullptr;
}

bool Allocates(void* pReturn, const wchar_t* pszCall)
{
    HMODULE hModule = WatchedCaller(pReturn);
    if (!hModule)
        return true;
    Faults& faults = TheState().faults[hModule];
    if (!faults.call.empty() && faults.call != pszCall)
        return true;
    ++faults.nCount;
    const bool bFails = faults.nFail > 0 && (faults.nCount == faults.nFail ||
                                             (faults.bFromThenOn && faults.nCount > faults.nFail));
    if (bFails)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return !bFails;
}

void Track(void* pReturn, const void* h)
{
    HMODULE hModule = h ? WatchedCaller(pReturn) : nullptr;
    if (hModule)
        TheState().live[h] = hModule;
}

void Untrack(const void* h)
{
    TheState().live.erase(h);
}

unsigned Emulated(unsigned uEmulations)
{
    return TheState().uEmulations & uEmulations;
}
} // namespace standin

namespace
{
void ShowSipPanel(bool bShow);
} // namespace

using standin::Allocates;
using standin::Obtain;
using standin::Untrack;

// ---- What the tests read and steer ----

extern "C" {

long StandInLiveObjectsOf(const wchar_t* pszModule)
{
    HMODULE hModule = WatchedModule(pszModule);
    long nLive = 0;
    for (const auto& object : TheState().live)
        nLive += hModule && object.second == hModule;
    return nLive;
}

long StandInLiveObjects(void)
{
    return StandInLiveObjectsOf(L"ZorNavCtrl.dll");
}

void StandInFailAllocations(const wchar_t* pszModule, long nFail,
                                                  BOOL bFromThenOn, const wchar_t* pszCall)
{
    HMODULE hModule = WatchedModule(pszModule);
    if (!hModule)
        return;
    Faults& faults = TheState().faults[hModule];
    faults.nCount = 0;
    faults.nFail = nFail;
    faults.bFromThenOn = bFromThenOn;
    faults.call = pszCall ? pszCall : L"";
}

long StandInAllocationCount(const wchar_t* pszModule)
{
    HMODULE hModule = WatchedModule(pszModule);
    return hModule ? TheState().faults[hModule].nCount : 0;
}

void StandInSetDebugHook(StandInDebugHook pfnHook, void* pContext)
{
    TheState().pfnDebugHook = pfnHook;
    TheState().pDebugHookContext = pContext;
}

void StandInSipSimulate(DWORD dwFlags, BOOL bQueryFails)
{
    State& state = TheState();
    state.dwSipFlags = dwFlags;
    state.bSipQueryFails = bQueryFails;
    state.nSipShowCount = 0;
    state.dwSipLastShow = 0;
    ShowSipPanel((dwFlags & SIPF_ON) != 0);
}

int StandInSipShowCount(void)
{
    return TheState().nSipShowCount;
}

DWORD StandInSipLastShowFlag(void)
{
    return TheState().dwSipLastShow;
}

HWND StandInSipPanel(void)
{
    return TheState().hwndSip;
}

unsigned StandInSetEmulations(unsigned uOn)
{
    const unsigned uBefore = TheState().uEmulations;
    TheState().uEmulations = uOn & STANDIN_ALL;
    return uBefore;
}

} // extern "C"

// ---- The device's own services ----

extern "C" {

// NKDbgPrintfW (Windows CE 5.0): formats like wsprintf and writes the line to the debugger.
void Ce5_NKDbgPrintfW(LPCWSTR lpszFmt, ...)
{
    if (!lpszFmt)
        return;
    wchar_t szLine[1024];
    va_list args;
    va_start(args, lpszFmt);
    wvsprintfW(szLine, lpszFmt, args); // stops at 1024 characters
    va_end(args);
    OutputDebugStringW(szLine);
    if (TheState().pfnDebugHook)
        TheState().pfnDebugHook(szLine, TheState().pDebugHookContext);
}

// GetProcAddressW (Windows CE 5.0): GetProcAddress with a wide export name.
FARPROC WINAPI Ce5_GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName)
{
    if (!lpProcName)
        return nullptr;
    char szName[256]; // export names are ASCII
    if (WideCharToMultiByte(CP_ACP, 0, lpProcName, -1, szName, sizeof(szName), nullptr,
                            nullptr) <= 0)
        return nullptr;
    return GetProcAddress(hModule, szName);
}

} // extern "C"

// ---- The soft input panel (SipGetInfo, SipShowIM: Windows CE 5.0) ----

namespace
{
const wchar_t kSipClass[] = L"SipWndClass";
const int kSipHeight = 80;

LRESULT CALLBACK SipPanelProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_PAINT:
    {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        // Three rows of keys, so that a picture of the screen shows what it is.
        HBRUSH hKey = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
        for (int row = 0; row < 3; ++row)
            for (int x = 4; x + 20 <= rc.right; x += 24)
            {
                RECT key = {x, 4 + row * 25, x + 20, 25 + row * 25};
                FillRect(hdc, &key, hKey);
            }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    }
}

// Where the panel stands: across the bottom of the screen.
RECT SipRect()
{
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    RECT rc = {0, cy - kSipHeight, cx, cy};
    return rc;
}

// Shows or hides the panel's window, made at its first showing.
void ShowSipPanel(bool bShow)
{
    State& state = TheState();
    if (!state.hwndSip && bShow)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = SipPanelProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kSipClass;
        RegisterClassW(&wc);
        const RECT rc = SipRect();
        state.hwndSip = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                                        kSipClass, L"Input Panel", WS_POPUP, rc.left, rc.top,
                                        rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr,
                                        wc.hInstance, nullptr);
    }
    if (state.hwndSip && IsWindow(state.hwndSip))
        ShowWindow(state.hwndSip, bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
}
} // namespace

extern "C" {

BOOL WINAPI Ce5_SipGetInfo(SIPINFO* pSipInfo)
{
    State& state = TheState();
    if (!pSipInfo || pSipInfo->cbSize != sizeof(SIPINFO) || state.bSipQueryFails)
        return FALSE;
    pSipInfo->fdwFlags = state.dwSipFlags;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &pSipInfo->rcVisibleDesktop, 0);
    pSipInfo->rcSipRect = SipRect();
    if (state.dwSipFlags & SIPF_ON)
        pSipInfo->rcVisibleDesktop.bottom = pSipInfo->rcSipRect.top;
    return TRUE;
}

BOOL WINAPI Ce5_SipShowIM(DWORD dwFlag)
{
    State& state = TheState();
    ++state.nSipShowCount;
    state.dwSipLastShow = dwFlag;
    if (dwFlag == SIPF_ON || dwFlag == SIPF_OFF)
    {
        state.dwSipFlags = dwFlag;
        ShowSipPanel(dwFlag == SIPF_ON);
    }
    return TRUE;
}

} // extern "C"

// ---- TransparentImage (Windows CE 5.0) ----

namespace
{
// Pieces up to this many pixels are keyed pixel by pixel; larger ones have their source rows
// read in one call (KeyReadPiece), or go to TransparentBlt.
const int kSmallPiece = 256;

BITMAPINFO RowInfo(int cx, int cy)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

// Copies a small unstretched piece, leaving out the key colour: the source is read pixel by
// pixel and every run of kept pixels is written in one call. The controls draw their rounded
// corners this way many times per paint, and Wine's TransparentBlt costs tens of microseconds
// per call even for a 6 x 6 piece.
BOOL KeySmallPiece(HDC hdcDest, int xDest, int yDest, HDC hdcSrc, int xSrc, int ySrc, int cx,
                   int cy, COLORREF crTransparent)
{
    DWORD row[kSmallPiece];
    BITMAPINFO bmi = RowInfo(1, -1);
    const COLORREF crKey = crTransparent & 0x00FFFFFF;
    for (int y = 0; y < cy; ++y)
    {
        for (int x = 0; x < cx;)
        {
            // Skip keyed (or unreadable) pixels, then gather one run of kept ones.
            COLORREF c = GetPixel(hdcSrc, xSrc + x, ySrc + y);
            if (c == CLR_INVALID || c == crKey)
            {
                ++x;
                continue;
            }
            int nRun = 0;
            const int xRun = x;
            while (x < cx && c != CLR_INVALID && c != crKey)
            {
                row[nRun++] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
                if (++x < cx)
                    c = GetPixel(hdcSrc, xSrc + x, ySrc + y);
            }
            bmi.bmiHeader.biWidth = nRun;
            SetDIBitsToDevice(hdcDest, xDest + xRun, yDest + y, nRun, 1, 0, 0, 0, 1, row, &bmi,
                              DIB_RGB_COLORS);
        }
    }
    return TRUE;
}

// Pieces whose source rows hold up to this many pixels are read whole in one call.
const int kReadPixels = 4096;

// Copies an unstretched piece whose source rows are read in one call, leaving out the key
// colour; every run of kept pixels is written in one call. False, with nothing drawn, when the
// source DC holds no bitmap whose rows can be read so.
bool KeyReadPiece(HDC hdcDest, int xDest, int yDest, HDC hdcSrc, int xSrc, int ySrc, int cx,
                  int cy, COLORREF crTransparent)
{
    HBITMAP hbm = static_cast<HBITMAP>(GetCurrentObject(hdcSrc, OBJ_BITMAP));
    BITMAP bm = {};
    POINT pt = {xSrc, ySrc}; // the piece's corner in the bitmap
    if (!hbm || GetObjectW(hbm, sizeof(bm), &bm) != sizeof(bm) || !LPtoDP(hdcSrc, &pt, 1) ||
        pt.x < 0 || pt.y < 0 || pt.x + cx > bm.bmWidth || pt.y + cy > bm.bmHeight ||
        bm.bmWidth * cy > kReadPixels)
        return false;
    DWORD rows[kReadPixels];
    BITMAPINFO bmi = RowInfo(bm.bmWidth, bm.bmHeight); // bottom-up: line 0 is the last row
    // GetDIBits wants the bitmap out of every DC: the DC is lent a one-pixel one meanwhile.
    HBITMAP hStandIn = CreateBitmap(1, 1, 1, 1, nullptr);
    if (!hStandIn)
        return false;
    HGDIOBJ hOld = SelectObject(hdcSrc, hStandIn);
    const int nRead = GetDIBits(hdcSrc, hbm, static_cast<UINT>(bm.bmHeight - (pt.y + cy)),
                                static_cast<UINT>(cy), rows, &bmi, DIB_RGB_COLORS);
    SelectObject(hdcSrc, hOld);
    DeleteObject(hStandIn);
    if (nRead != cy)
        return false;

    BITMAPINFO bmiRun = RowInfo(1, -1);
    const DWORD nKey = (GetRValue(crTransparent) << 16) | (GetGValue(crTransparent) << 8) |
                       GetBValue(crTransparent);
    for (int y = 0; y < cy; ++y)
    {
        const DWORD* pRow = rows + static_cast<size_t>(cy - 1 - y) * bm.bmWidth + pt.x;
        for (int x = 0; x < cx;)
        {
            if ((pRow[x] & 0x00FFFFFF) == nKey)
            {
                ++x;
                continue;
            }
            const int xRun = x;
            while (x < cx && (pRow[x] & 0x00FFFFFF) != nKey)
                ++x;
            bmiRun.bmiHeader.biWidth = x - xRun;
            SetDIBitsToDevice(hdcDest, xDest + xRun, yDest + y, x - xRun, 1, 0, 0, 0, 1,
                              pRow + xRun, &bmiRun, DIB_RGB_COLORS);
        }
    }
    return true;
}

BOOL KeyedBlt(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HDC hdcSrc, int xSrc,
              int ySrc, int cxSrc, int cySrc, COLORREF crTransparent)
{
    if (cxDest == cxSrc && cyDest == cySrc && cxDest > 0 && cyDest > 0 &&
        GetMapMode(hdcDest) == MM_TEXT && GetMapMode(hdcSrc) == MM_TEXT)
    {
        if (cxDest * cyDest <= kSmallPiece)
            return KeySmallPiece(hdcDest, xDest, yDest, hdcSrc, xSrc, ySrc, cxDest, cyDest,
                                 crTransparent);
        if (KeyReadPiece(hdcDest, xDest, yDest, hdcSrc, xSrc, ySrc, cxDest, cyDest,
                         crTransparent))
            return TRUE;
    }
    return TransparentBlt(hdcDest, xDest, yDest, cxDest, cyDest, hdcSrc, xSrc, ySrc, cxSrc,
                          cySrc, crTransparent);
}
} // namespace

extern "C" {

// The source is a DC or a bitmap, which is lent a DC of the stand-in's for the call.
BOOL WINAPI Ce5_TransparentImage(HDC hdcDest, LONG xDest, LONG yDest, LONG cxDest, LONG cyDest,
                                 HANDLE hSrc, LONG xSrc, LONG ySrc, LONG cxSrc, LONG cySrc,
                                 COLORREF crTransparent)
{
    if (!hdcDest || !hSrc)
        return FALSE;
    if (GetObjectType(hSrc) != OBJ_BITMAP)
        return KeyedBlt(hdcDest, xDest, yDest, cxDest, cyDest, static_cast<HDC>(hSrc), xSrc,
                        ySrc, cxSrc, cySrc, crTransparent);
    HDC hdcSrc = CreateCompatibleDC(hdcDest);
    if (!hdcSrc)
        return FALSE;
    HGDIOBJ hOld = SelectObject(hdcSrc, hSrc);
    const BOOL bDone = KeyedBlt(hdcDest, xDest, yDest, cxDest, cyDest, hdcSrc, xSrc, ySrc,
                                cxSrc, cySrc, crTransparent);
    SelectObject(hdcSrc, hOld);
    DeleteDC(hdcSrc);
    return bDone;
}

} // extern "C"

// ---- Calls that behave as the device's reference documents ----

extern "C" {

// RegOpenKeyEx (Windows CE 5.0): samDesired is not supported and must be 0; the key can be
// read all the same. The desktop refuses to read a key opened with 0.
LONG WINAPI Ce5_RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                              PHKEY phkResult)
{
    if (!Allocates(STANDIN_CALLER(), L"RegOpenKeyExW"))
        return ERROR_NOT_ENOUGH_MEMORY;
    if (standin::Emulates(STANDIN_REGISTRY_ACCESS))
        samDesired = KEY_READ;
    return RegOpenKeyExW(hKey, lpSubKey, ulOptions, samDesired, phkResult);
}

// LoadBitmap (Windows CE 5.0): the bitmap keeps the resource's format (a DIB section). The
// desktop converts it to a device-dependent bitmap.
HBITMAP WINAPI Ce5_LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName)
{
    return Obtain<HBITMAP>(STANDIN_CALLER(), L"LoadBitmapW", [&] {
        return standin::Emulates(STANDIN_RESOURCE_FORMAT)
                   ? standin::CopyBitmapResource(hInstance, lpBitmapName)
                   : LoadBitmapW(hInstance, lpBitmapName);
    });
}

HWND WINAPI Ce5_CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName,
                                DWORD dwStyle, int x, int y, int cx, int cy, HWND hWndParent,
                                HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    if (!Allocates(STANDIN_CALLER(), L"CreateWindowExW"))
        return nullptr;
    const bool bWithoutNoScroll = standin::MakesListWithoutNoScroll(lpClassName, dwStyle);
    HWND hwnd = CreateWindowExW(dwExStyle, lpClassName, lpWindowName,
                                bWithoutNoScroll ? dwStyle & ~LVS_NOSCROLL : dwStyle, x, y, cx,
                                cy, hWndParent, hMenu, hInstance, lpParam);
    if (hwnd)
        standin::EmulateNativeControl(hwnd, lpClassName, dwStyle);
    return hwnd;
}

} // extern "C"

// ---- Calls counted in the ledger and failed for the tests ----

extern "C" {

void* Ce5_malloc(size_t cb)
{
    return Allocates(STANDIN_CALLER(), L"malloc") ? malloc(cb) : nullptr;
}

void* Ce5_calloc(size_t nCount, size_t cb)
{
    return Allocates(STANDIN_CALLER(), L"calloc") ? calloc(nCount, cb) : nullptr;
}

void* Ce5_realloc(void* p, size_t cb)
{
    return Allocates(STANDIN_CALLER(), L"realloc") ? realloc(p, cb) : nullptr;
}

// What the library frees is overwritten first, so that a later use of it reads pointers and
// handles that lead nowhere, every time, instead of what the block happened to keep.
void Ce5_free(void* p)
{
    if (p)
        memset(p, 0xDD, _msize(p));
    free(p);
}

HDC WINAPI Ce5_CreateCompatibleDC(HDC hdc)
{
    return Obtain<HDC>(STANDIN_CALLER(), L"CreateCompatibleDC",
                       [&] { return CreateCompatibleDC(hdc); });
}

BOOL WINAPI Ce5_DeleteDC(HDC hdc)
{
    Untrack(hdc);
    return DeleteDC(hdc);
}

HDC WINAPI Ce5_GetDC(HWND hwnd)
{
    return Obtain<HDC>(STANDIN_CALLER(), L"GetDC", [&] { return GetDC(hwnd); });
}

int WINAPI Ce5_ReleaseDC(HWND hwnd, HDC hdc)
{
    Untrack(hdc);
    return ReleaseDC(hwnd, hdc);
}

int WINAPI Ce5_SaveDC(HDC hdc)
{
    return Allocates(STANDIN_CALLER(), L"SaveDC") ? SaveDC(hdc) : 0;
}

HBITMAP WINAPI Ce5_CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT iUsage, void** ppvBits,
                                    HANDLE hSection, DWORD dwOffset)
{
    if (ppvBits)
        *ppvBits = nullptr;
    return Obtain<HBITMAP>(STANDIN_CALLER(), L"CreateDIBSection", [&] {
        return CreateDIBSection(hdc, pbmi, iUsage, ppvBits, hSection, dwOffset);
    });
}

HPEN WINAPI Ce5_CreatePen(int iStyle, int cWidth, COLORREF color)
{
    return Obtain<HPEN>(STANDIN_CALLER(), L"CreatePen",
                        [&] { return CreatePen(iStyle, cWidth, color); });
}

HFONT WINAPI Ce5_CreateFontIndirectW(const LOGFONTW* plf)
{
    return Obtain<HFONT>(STANDIN_CALLER(), L"CreateFontIndirectW",
                         [&] { return CreateFontIndirectW(plf); });
}

HRGN WINAPI Ce5_CreateRectRgn(int x1, int y1, int x2, int y2)
{
    return Obtain<HRGN>(STANDIN_CALLER(), L"CreateRectRgn",
                        [&] { return CreateRectRgn(x1, y1, x2, y2); });
}

// CombineRgn (Windows CE 5.0): ERROR when the combination could not be made; the result's
// rectangles are memory of the system's, so a combination fails like an allocation.
int WINAPI Ce5_CombineRgn(HRGN hDest, HRGN hSrc1, HRGN hSrc2, int iMode)
{
    if (!Allocates(STANDIN_CALLER(), L"CombineRgn"))
        return ERROR;
    return CombineRgn(hDest, hSrc1, hSrc2, iMode);
}

// SetWindowRgn (Windows CE 5.0): after a successful call the system owns the region.
int WINAPI Ce5_SetWindowRgn(HWND hwnd, HRGN hRgn, BOOL bRedraw)
{
    const int nDone = SetWindowRgn(hwnd, hRgn, bRedraw);
    if (nDone && hRgn)
        Untrack(hRgn);
    return nDone;
}

BOOL WINAPI Ce5_DeleteObject(HGDIOBJ h)
{
    Untrack(h);
    return DeleteObject(h);
}

HMENU WINAPI Ce5_CreatePopupMenu(void)
{
    return Allocates(STANDIN_CALLER(), L"CreatePopupMenu") ? CreatePopupMenu() : nullptr;
}

HMODULE WINAPI Ce5_LoadLibraryW(LPCWSTR lpLibFileName)
{
    return Allocates(STANDIN_CALLER(), L"LoadLibraryW") ? LoadLibraryW(lpLibFileName) : nullptr;
}

UINT_PTR WINAPI Ce5_SetTimer(HWND hwnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    return Allocates(STANDIN_CALLER(), L"SetTimer") ? SetTimer(hwnd, nIDEvent, uElapse, lpTimerFunc)
                                                    : 0;
}

HRSRC WINAPI Ce5_FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType)
{
    return Allocates(STANDIN_CALLER(), L"FindResourceW") ? FindResourceW(hModule, lpName, lpType)
                                                         : nullptr;
}

} // extern "C"
