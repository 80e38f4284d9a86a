// bench_static.cpp - the label's cost: a full repaint (erase and paint) against a native
// "STATIC" of the same size, text and font, and its composition into a parent's DC
// (OnPaintEx) against its floor: the background request and one BitBlt of its area.
#include "BenchUtil.h"

#include "NavStatic.h"
#include "win32/NavGdi.h"

namespace
{
const int kCx = 200, kCy = 30;
wchar_t g_szText[] = L"Marina Bay  12:45";

} // namespace

int main()
{
    using namespace navbench;
    Prepare();
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

    Group repaint;
    const int rpLabel = repaint.Add([&] { Repaint(label.GetSafeHwnd()); });
    const int rpNative = repaint.Add([&] { Repaint(hwndNative); });
    repaint.Run();

    Canvas parent(480, 200, false), piece(kCx, kCy, true);
    Group compose;
    const int cpLabel = compose.Add([&] { label.OnPaintEx(parent.dc); });
    const int cpFloor = compose.Add([&] {
        RECT rcBack = rc;
        SendMessageW(host, WM_NAV_PAINTBKGND, reinterpret_cast<WPARAM>(piece.dc),
                     reinterpret_cast<LPARAM>(&rcBack));
        BitBlt(parent.dc, rc.left, rc.top, kCx, kCy, piece.dc, 0, 0, SRCCOPY);
    });
    compose.Run();

    int missed = PrintTable(
        "CNavStatic 200x30, one line of text",
        {Plain("native STATIC repaint (erase + paint)", repaint, rpNative),
         Against("CNavStatic repaint (erase + paint)", repaint, rpLabel, "native STATIC",
                 rpNative, 1.0),
         Plain("floor: background + BitBlt", compose, cpFloor),
         Against("CNavStatic::OnPaintEx", compose, cpLabel, "floor", cpFloor, 1.5)});
    DeleteObject(hFont);
    printf("\n%d target(s) missed\n", missed);
    return 0;
}
