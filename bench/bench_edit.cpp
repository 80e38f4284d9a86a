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
#include "StandIn.h"
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
// The frame drawn as the edit draws it: edges and centre stretched, corners keyed.
void DrawNinePieces(HDC hdc, HDC hdcFrame, int cx, int cy)
{
    const int b = 5, bw = 212, bh = 36;
    const COLORREF crKey = RGB(0xFF, 0x00, 0xFF);
    SetStretchBltMode(hdc, COLORONCOLOR);
    StretchBlt(hdc, b, b, cx - 2 * b, cy - 2 * b, hdcFrame, b, b, bw - 2 * b, bh - 2 * b, SRCCOPY);
    StretchBlt(hdc, b, 0, cx - 2 * b, b, hdcFrame, b, 0, bw - 2 * b, b, SRCCOPY);
    StretchBlt(hdc, b, cy - b, cx - 2 * b, b, hdcFrame, b, bh - b, bw - 2 * b, b, SRCCOPY);
    StretchBlt(hdc, 0, b, b, cy - 2 * b, hdcFrame, 0, b, b, bh - 2 * b, SRCCOPY);
    StretchBlt(hdc, cx - b, b, b, cy - 2 * b, hdcFrame, bw - b, b, b, bh - 2 * b, SRCCOPY);
    TransparentImage(hdc, 0, 0, b, b, hdcFrame, 0, 0, b, b, crKey);
    TransparentImage(hdc, 0, cy - b, b, b, hdcFrame, 0, bh - b, b, b, crKey);
    TransparentImage(hdc, cx - b, 0, b, b, hdcFrame, bw - b, 0, b, b, crKey);
    TransparentImage(hdc, cx - b, cy - b, b, b, hdcFrame, bw - b, bh - b, b, b, crKey);
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

    // The edit's composition beside the pieces its paint must do, done alone as the paint
    // does them: the picture (lent and cleared), the background request, the frame loaded and
    // drawn in nine pieces (edges and centre stretched, corners keyed), the bottom line, the
    // copy.
    HINSTANCE hModule = GetModuleInstance();
    nav::Bitmap frame(nav::LoadBitmapResource(hModule, IDB_EDIT_FRAME));
    const std::vector<Row> editPieces = AgainstPieces(
        "CNavEdit::OnPaintEx 200x36", [&] { edit.OnPaintEx(parent.dc); },
        {LentPicture(parent.dc, kEditCx, kEditCy),
         BackgroundRequest(edit.GetSafeHwnd(), piece.dc),
         {"frame: bitmap 212x36 loaded", [&] { DeleteObject(nav::LoadBitmapResource(hModule, IDB_EDIT_FRAME)); }},
         {"frame: drawn in nine pieces",
          [&] {
              nav::MemDC dc(piece.dc);
              nav::SelectGuard select(dc, frame);
              DrawNinePieces(piece.dc, dc, kEditCx, kEditCy);
          }},
         {"bottom line: pen made, line drawn",
          [&] {
              nav::Pen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
              nav::SelectGuard select(piece.dc, pen);
              MoveToEx(piece.dc, 0, kEditCy - 1, nullptr);
              LineTo(piece.dc, kEditCx, kEditCy - 1);
          }},
         {"final copy (BitBlt)",
          [&] { BitBlt(parent.dc, 10, 10, kEditCx, kEditCy, piece.dc, 0, 0, SRCCOPY); }}},
        1.10);

    // The combo box's window repaint beside the pieces its paint must do: its floor window's
    // repaint (the paint begun and ended, the arrow loaded, the background request, the copy),
    // the picture, the arrow drawn keyed from a DC of its own, the native edit's text painted
    // into a DC.
    nav::Bitmap arrow(nav::LoadBitmapResource(hModule, IDB_COMBO_ARROW));
    RECT rcComboClient;
    GetClientRect(combo.GetSafeHwnd(), &rcComboClient);
    const WNDPROC pfnEdit = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hNativeLow, GCLP_WNDPROC));
    const std::vector<Row> comboPieces = AgainstPieces(
        "CNavCombobox edit 200x24 repaint", [&] { Repaint(combo.GetSafeHwnd()); },
        {{"floor window repaint (arrow loaded, bkgnd, copy)", [&] { Repaint(hFloor); }},
         LentPicture(parent.dc, rcComboClient.right, rcComboClient.bottom),
         {"arrow drawn (its DC made, TransparentImage 24x22)",
          [&] {
              nav::MemDC arrowDc(piece.dc);
              nav::SelectGuard selectArrow(arrowDc, arrow);
              TransparentImage(piece.dc, kEditCx - 24, 0, 24, 22, arrowDc, 0, 0, 24, 22,
                               RGB(0xFF, 0, 0xFF));
          }},
         {"native text painted into the picture",
          [&] {
              nav::SavedDC saved(piece.dc);
              CallWindowProcW(pfnEdit, hNativeLow, WM_PAINT,
                              reinterpret_cast<WPARAM>(piece.dc), 0);
          }}},
        1.10);

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
    missed += PrintTable(
        "edit and combo box: composition against the sum of the pieces its paint must do",
        Joined({editPieces, comboPieces}));
    PrintNote(Format(
        "Why the edit's composition stays above the sum of its pieces: done one after another, "
        "its pieces cost %.2fx their sum, and the composition %.2fx. What the pieces cost "
        "together above each alone is their cost to each other (caches and the platform's "
        "tables, which each piece done alone has to itself): the frame is loaded at every paint "
        "and drawn at once, between the parent's background and the copy.",
        RatioOf(editPieces, "the pieces one after another"),
        RatioOf(editPieces, "CNavEdit::OnPaintEx 200x36")));
    PrintNote(Format(
        "Why the edit stays above the native one: its frame is loaded at every paint (%.1f us) "
        "and drawn in nine pieces straight from the bitmap's own 24-bit format (%.1f us: every "
        "piece is converted as it is copied, and the corners are keyed pixel by pixel); in a "
        "window repaint the native edit then paints its text into the picture, as the native "
        "edit beside it does. The picture, the background, the bottom line and the copy are "
        "%.1f us.",
        MicrosOf(editPieces, "frame: bitmap 212x36 loaded"),
        MicrosOf(editPieces, "frame: drawn in nine pieces"),
        MicrosOf(editPieces, LentPicture(nullptr, 0, 0).name) +
            MicrosOf(editPieces, BackgroundRequest(nullptr, nullptr).name) +
            MicrosOf(editPieces, "bottom line: pen made, line drawn") +
            MicrosOf(editPieces, "final copy (BitBlt)")));
    PrintNote(Format(
        "Why the combo box stays above the native edit: beyond a window whose paint is only its "
        "floor (%.1f us: the paint begun and ended, the arrow loaded, the background, the "
        "copy), it composes in a picture of its own (%.1f us), its arrow is drawn keyed from a DC "
        "made for it (%.1f us) and the native edit paints its text into the picture (%.1f us).",
        MicrosOf(comboPieces, "floor window repaint (arrow loaded, bkgnd, copy)"),
        MicrosOf(comboPieces, LentPicture(nullptr, 0, 0).name),
        MicrosOf(comboPieces, "arrow drawn (its DC made, TransparentImage 24x22)"),
        MicrosOf(comboPieces, "native text painted into the picture")));

    DestroyWindow(hNative);
    DestroyWindow(hNativeLow);
    DestroyWindow(hFloor);
    return Finish(missed);
}
