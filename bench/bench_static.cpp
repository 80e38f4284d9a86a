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
    Stage stage(480, 200, 16);
    HWND host = stage.host;
    HFONT hFont = stage.font;

    CNavStatic label;
    label.SetFont(hFont);
    label.SetTextCr(RGB(20, 40, 90));
    RECT rc = {20, 20, 20 + kCx, 20 + kCy};
    label.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, g_szText,
                 rc, host, 1, nullptr);
    HWND hwndNative = NativeControl(L"STATIC", SS_LEFTNOWORDWRAP, g_szText, host,
                                    {20, 80, 20 + kCx, 80 + kCy}, hFont);
    navtest::PumpMessages();

    const std::vector<Row> repaint =
        RepaintAgainst("CNavStatic repaint (erase + paint)", label.GetSafeHwnd(),
                       "native STATIC repaint (erase + paint)", "native STATIC", hwndNative, 1.0);

    Canvas parent(480, 200, false), piece(kCx, kCy, true);
    const std::vector<Row> compose = Paired(
        "CNavStatic::OnPaintEx", [&] { label.OnPaintEx(parent.dc); },
        {"floor: background + BitBlt", "floor",
         [&] { BackgroundAndBlit(host, rc, piece.dc, parent.dc, rc.left, rc.top); }},
        1.5);
    int missed = PrintTable("CNavStatic 200x30, one line of text", Joined({repaint, compose}));
    return Finish(missed);
}
