// bench_edit.cpp - what the skinned edit and the combo box's edit cost to repaint, against a
// native "EDIT" of the same size and text, and the edit's composition against one BitBlt of
// the same area.
#include "BenchUtil.h"

#include "NavCombobox.h"
#include "NavEdit.h"
#include "win32/NavGdi.h"
#include "platform/NavPlatform.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace
{
const wchar_t kText[] = L"Hello, navigation world";

// A memory DC with a screen-compatible bitmap.
struct Surface
{
    Surface(int cx, int cy)
    {
        HDC hdcScreen = GetDC(nullptr);
        hdc = CreateCompatibleDC(hdcScreen);
        hbm = CreateCompatibleBitmap(hdcScreen, cx, cy);
        ReleaseDC(nullptr, hdcScreen);
        hOld = SelectObject(hdc, hbm);
        PatBlt(hdc, 0, 0, cx, cy, WHITENESS);
        SetPixel(hdc, 0, 0, RGB(0xFF, 0, 0xFF));
    }
    ~Surface()
    {
        SelectObject(hdc, hOld);
        DeleteObject(hbm);
        DeleteDC(hdc);
    }
    HDC hdc;
    HBITMAP hbm;
    HGDIOBJ hOld;
};

// Measures the cases in turns, so that the load of a shared machine falls on all of them
// alike; each keeps its best time.
std::vector<double> MeasureInTurns(const std::vector<std::function<void()>>& cases)
{
    std::vector<double> best(cases.size(), 1e30);
    for (int turn = 0; turn < 4; ++turn)
        for (size_t i = 0; i < cases.size(); ++i)
            best[i] = std::min(best[i], navbench::MicrosPerCall(cases[i], 0.05));
    return best;
}

HWND NativeEdit(HWND hParent, int x, int y, int cx, int cy, HFONT hFont)
{
    HWND hwnd = CreateWindowExW(0, L"EDIT", kText, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, x, y,
                                cx, cy, hParent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    return hwnd;
}
} // namespace

int main()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    navtest::TestHost host(640, 400);
    HFONT hFont = navtest::MakeFont(16);

    CNavEdit edit;
    edit.SetFont(hFont);
    RECT rcEdit = {10, 10, 210, 46};
    edit.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                const_cast<wchar_t*>(kText), rcEdit, host, 100, nullptr, 0);

    CNavCombobox combo;
    combo.SetFont(hFont);
    RECT rcCombo = {10, 60, 210, 160};
    combo.Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rcCombo, host, 101);
    SetWindowTextW(combo.GetSafeHwnd(), kText);
    RECT rcComboEdit;
    GetWindowRect(combo.GetSafeHwnd(), &rcComboEdit);

    HWND hNative = NativeEdit(host, 300, 10, 200, 36, hFont);
    HWND hNativeLow = NativeEdit(host, 300, 60, 200, rcComboEdit.bottom - rcComboEdit.top, hFont);
    navtest::PumpMessages();

    Surface canvas(640, 400);
    Surface source(212, 36);
    // The pieces of the edit's paint that the platform charges for: loading the frame bitmap
    // (done at every paint), one colour-keyed corner (four per paint), the off-screen picture.
    HMODULE hLib = GetModuleHandleW(L"ZorNavCtrl.dll");
    const std::vector<double> us = MeasureInTurns({
        [&] { navbench::Repaint(hNative); },
        [&] { navbench::Repaint(edit.GetSafeHwnd()); },
        [&] { navbench::Repaint(hNativeLow); },
        [&] { navbench::Repaint(combo.GetSafeHwnd()); },
        [&] { BitBlt(canvas.hdc, 10, 10, 200, 36, source.hdc, 0, 0, SRCCOPY); },
        [&] { edit.OnPaintEx(canvas.hdc); },
        [&] { DeleteObject(nav::LoadBitmapResource(hLib, 109)); },
        [&] {
            TransparentImage(canvas.hdc, 10, 10, 5, 5, source.hdc, 0, 0, 5, 5,
                             RGB(0xFF, 0, 0xFF));
        },
        [&] {
            HDC hdc = CreateCompatibleDC(canvas.hdc);
            HBITMAP hbm = nav::CreateDib32(hdc, 200, 36);
            HGDIOBJ hOld = SelectObject(hdc, hbm);
            PatBlt(hdc, 0, 0, 200, 36, BLACKNESS);
            SelectObject(hdc, hOld);
            DeleteObject(hbm);
            DeleteDC(hdc);
        },
    });
    const double usNative = us[0], usEdit = us[1], usNativeLow = us[2], usCombo = us[3];
    const double usBlt = us[4], usCompose = us[5];

    navbench::PrintTable(
        "Edit and combo box: one full repaint",
        {
            {"native EDIT 200x36", usNative, "", 0, 0},
            {"CNavEdit 200x36 (frame, text)", usEdit, "native EDIT 200x36", usNative, 1.0},
            {"native EDIT 200x24", usNativeLow, "", 0, 0},
            {"CNavCombobox edit 200x24 (arrow, text)", usCombo, "native EDIT 200x24",
             usNativeLow, 1.0},
        });
    navbench::PrintTable(
        "Edit composition",
        {
            {"BitBlt 200x36", usBlt, "", 0, 0},
            {"CNavEdit::OnPaintEx 200x36", usCompose, "BitBlt 200x36", usBlt, 20.0},
        });
    navbench::PrintTable(
        "Where the composition's time goes (platform calls)",
        {
            {"frame bitmap 212x36 loaded + deleted", us[6], "", 0, 0},
            {"TransparentImage 5x5 corner", us[7], "", 0, 0},
            {"memory DC + 200x36 DIB section, filled, freed", us[8], "", 0, 0},
        });

    DestroyWindow(hNative);
    DestroyWindow(hNativeLow);
    DeleteObject(hFont);
    return 0; // the tables say which targets were missed
}
