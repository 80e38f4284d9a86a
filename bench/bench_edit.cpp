// bench_edit.cpp - what the skinned edit and the combo box's edit cost: a full repaint against
// a native "EDIT" of the same size and text; the edit's composition (OnPaintEx) against its
// floor (the frame bitmap it must load, the background request, one BitBlt of its area); the
// combo box, which composes only inside its own WM_PAINT, against a window whose paint does
// nothing but its floor (the arrow bitmap, the background request, one BitBlt).
#include "BenchUtil.h"

#include "NavCombobox.h"
#include "NavEdit.h"
#include "core/NavCore.h"
#include "win32/NavGdi.h"
#include "platform/NavPlatform.h"
#include "resource.h"

#include <vector>

namespace
{
const wchar_t kText[] = L"Hello, navigation world";
const int kEditCx = 200, kEditCy = 36;


// A window whose paint is the combo's floor: begin the paint, load the resting arrow, ask the
// parent for the background, copy one picture of the window's size, end the paint.
LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_PAINT:
    {
        static navbench::Canvas s_piece(640, 60, true);
        nav::PaintDC hdc(hwnd);
        DeleteObject(nav::LoadBitmapResource(GetModuleInstance(), IDB_COMBO_ARROW));
        RECT rc;
        GetClientRect(hwnd, &rc);
        MapWindowPoints(hwnd, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
        navbench::BackgroundAndBlit(GetParent(hwnd), rc, s_piece.dc, hdc, 0, 0);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

HWND FloorWindow(HWND hParent, int x, int y, int cx, int cy)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZncBenchFloor";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, x, y, cx, cy,
                           hParent, nullptr, wc.hInstance, nullptr);
}
} // namespace

int main()
{
    using namespace navbench;
    Stage stage(640, 400, 16);
    HWND host = stage.host;
    HFONT hFont = stage.font;

    CNavEdit edit;
    edit.SetFont(hFont);
    RECT rcEdit = {10, 10, 10 + kEditCx, 10 + kEditCy};
    edit.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                const_cast<wchar_t*>(kText), rcEdit, host, 100, nullptr, 0);

    CNavCombobox combo;
    combo.SetFont(hFont);
    RECT rcCombo = {10, 60, 210, 160};
    combo.Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rcCombo, host, 101);
    SetWindowTextW(combo.GetSafeHwnd(), kText);
    RECT rcComboEdit;
    GetWindowRect(combo.GetSafeHwnd(), &rcComboEdit);
    const int cyCombo = rcComboEdit.bottom - rcComboEdit.top;

    HWND hNative = NativeControl(L"EDIT", ES_AUTOHSCROLL, kText, host,
                                 {300, 10, 300 + kEditCx, 10 + kEditCy}, hFont);
    HWND hNativeLow = NativeControl(L"EDIT", ES_AUTOHSCROLL, kText, host,
                                    {300, 60, 300 + kEditCx, 60 + cyCombo}, hFont);
    HWND hFloor = FloorWindow(host, 300, 200, kEditCx, cyCombo);
    navtest::PumpMessages();

    const std::vector<Row> repaintEdit =
        RepaintAgainst("CNavEdit 200x36 (frame, text)", edit.GetSafeHwnd(), "native EDIT 200x36",
                       "native EDIT", hNative, 1.0);
    Group repaintCombo;
    const int rpCombo = repaintCombo.Add([&] { Repaint(combo.GetSafeHwnd()); });
    const int rpNativeLow = repaintCombo.Add([&] { Repaint(hNativeLow); });
    const int rpFloor = repaintCombo.Add([&] { Repaint(hFloor); });
    repaintCombo.Run();

    Canvas parent(640, 400, false), piece(kEditCx + 12, kEditCy, true);
    const std::vector<Row> compose =
        Paired("CNavEdit::OnPaintEx 200x36", [&] { edit.OnPaintEx(parent.dc); },
               {"floor: frame load + background + BitBlt", "floor",
                [&] {
                    DeleteObject(nav::LoadBitmapResource(GetModuleInstance(), IDB_EDIT_FRAME));
                    BackgroundAndBlit(host, rcEdit, piece.dc, parent.dc, rcEdit.left,
                                      rcEdit.top);
                }},
               1.5);

    auto blit = [&] { BitBlt(parent.dc, 10, 10, kEditCx, kEditCy, piece.dc, 0, 0, SRCCOPY); };
    std::vector<Row> pieces = {
        Compared("frame bitmap 212x36 loaded + deleted",
                 [&] { DeleteObject(nav::LoadBitmapResource(GetModuleInstance(), IDB_EDIT_FRAME)); },
                 "BitBlt", blit),
        Compared("arrow bitmap 24x22 loaded + deleted",
                 [&] {
                     DeleteObject(nav::LoadBitmapResource(GetModuleInstance(), IDB_COMBO_ARROW));
                 },
                 "BitBlt", blit),
        Compared("TransparentImage 5x5 corner",
                 [&] {
                     TransparentImage(parent.dc, 10, 10, 5, 5, piece.dc, 0, 0, 5, 5,
                                      RGB(0xFF, 0, 0xFF));
                 },
                 "BitBlt", blit),
        Compared("back buffer 200x36 (DIB section) made and freed",
                 [&] { nav::BackBuffer buffer(parent.dc, kEditCx, kEditCy); },
                 "BitBlt", blit)};

    const std::vector<Row> repaintComboRows = {
        Plain("native EDIT 200x24", repaintCombo, rpNativeLow),
        Against("CNavCombobox edit 200x24 (arrow, text)", repaintCombo, rpCombo, "native EDIT",
                rpNativeLow, 1.0),
        Against("combo floor window 200x24 (arrow, bkgnd, BitBlt)", repaintCombo, rpFloor,
                "native EDIT", rpNativeLow),
        Against("CNavCombobox edit 200x24", repaintCombo, rpCombo, "combo floor window",
                rpFloor, 1.5)};
    int missed = PrintTable(
        "edit and combo box: window repaint against a native EDIT of the same size and text",
        Joined({repaintEdit, repaintComboRows}));
    missed += PrintTable("edit: composition (OnPaintEx) against its floor", compose);
    PrintTable("edit and combo box: pieces of one paint", pieces);

    DestroyWindow(hNative);
    DestroyWindow(hNativeLow);
    DestroyWindow(hFloor);
    return Finish(missed);
}
