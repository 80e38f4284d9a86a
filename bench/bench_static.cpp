// bench_static.cpp - the label's cost: one full repaint (erase and paint) against a native
// "STATIC" of the same size, text and font, and its composition into a parent's DC
// (OnPaintEx) against one BitBlt of the same area.
#include "BenchUtil.h"

#include "NavStatic.h"

namespace
{
const int kCx = 200, kCy = 30;
wchar_t g_szText[] = L"Marina Bay  12:45";

// A memory DC with a bitmap, standing for a parent's off-screen picture.
struct OffScreen
{
    OffScreen(HDC hdcRef, int cx, int cy)
        : hdc(CreateCompatibleDC(hdcRef)), hbm(CreateCompatibleBitmap(hdcRef, cx, cy)),
          hOld(SelectObject(hdc, hbm))
    {
    }
    ~OffScreen()
    {
        SelectObject(hdc, hOld);
        DeleteObject(hbm);
        DeleteDC(hdc);
    }
    HDC hdc;
    HBITMAP hbm;
    HGDIOBJ hOld;
};
// The better of a previous best and a new short measurement.
template <class F> double Best(double usSoFar, F&& fn)
{
    double us = navbench::MicrosPerCall(fn, 0.04);
    return us < usSoFar ? us : usSoFar;
}
} // namespace

int main()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    navtest::TestHost host(480, 200);
    HFONT hFont = navtest::MakeFont(16);

    CNavStatic label;
    label.SetFont(hFont);
    label.SetTextCr(RGB(20, 40, 90));
    RECT rc = {20, 20, 20 + kCx, 20 + kCy};
    label.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, g_szText,
                 rc, host, 1, nullptr);
    HWND hwndNative = CreateWindowExW(0, L"STATIC", g_szText,
                                      WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 20, 80, kCx,
                                      kCy, host, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwndNative, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    navtest::PumpMessages();

    HDC hdcHost = GetDC(host);
    OffScreen parent(hdcHost, 480, 200);
    OffScreen source(hdcHost, kCx, kCy);
    double usLabel = 1e30, usNative = 1e30, usCompose = 1e30, usBlit = 1e30;
    // The cases take turns, so that a busy spell of the machine does not fall on one of a
    // pair only; each keeps its best.
    for (int round = 0; round < 6; ++round)
    {
        usLabel = Best(usLabel, [&] { navbench::Repaint(label.GetSafeHwnd()); });
        usNative = Best(usNative, [&] { navbench::Repaint(hwndNative); });
        usCompose = Best(usCompose, [&] { label.OnPaintEx(parent.hdc); });
        usBlit = Best(usBlit, [&] {
            BitBlt(parent.hdc, rc.left, rc.top, kCx, kCy, source.hdc, 0, 0, SRCCOPY);
        });
    }
    ReleaseDC(host, hdcHost);

    int missed = navbench::PrintTable(
        "CNavStatic 200 x 30, one line of text",
        {{"native STATIC repaint (erase + paint)", usNative, "", 0, 0},
         {"CNavStatic repaint (erase + paint)", usLabel, "native STATIC", usNative, 1.0},
         {"BitBlt 200 x 30", usBlit, "", 0, 0},
         {"CNavStatic::OnPaintEx", usCompose, "BitBlt", usBlit, 20.0}});
    DeleteObject(hFont);
    return missed ? 1 : 0;
}
