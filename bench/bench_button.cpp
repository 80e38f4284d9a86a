// bench_button.cpp - what a bitmap button's paint costs: a full repaint against a native
// "BUTTON" of the same size painting itself, the composition alone against one BitBlt of the
// same area, and the pieces of a paint.
#include "BenchUtil.h"

#include "CxImage.h"
#include "NavBitmapButton.h"
#include "core/NavCore.h"
#include "win32/NavGdi.h"
#include "resource.h"

#include <algorithm>
#include <string>

using namespace navbench;

namespace
{
const int kPushCx = 106, kPushCy = 50;  // one large face
const int kCheckCx = 180, kCheckCy = 34; // icon and caption

HWND MakeNative(HWND hwndParent, DWORD dwKind, int x, int y, int cx, int cy,
                const wchar_t* pszText)
{
    return CreateWindowExW(0, L"BUTTON", pszText, WS_CHILD | WS_VISIBLE | dwKind, x, y, cx, cy,
                           hwndParent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void MakeButton(CNavBitmapButton& btn, HWND hwndParent, ButtonType nType, int x, int y, int cx,
                int cy, const wchar_t* pszText, HFONT hFont)
{
    std::wstring text = pszText;
    RECT rc = {x, y, x + cx, y + cy};
    btn.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE, &text[0], rc, hwndParent, 1,
               nullptr, nType, nullptr);
    btn.SetFont(hFont);
}
// Times a case and its baseline in alternating rounds, so that a machine whose load changes
// during the run weighs on both alike; the best round of each counts.
template <class A, class B> void TimePair(A&& fnCase, B&& fnBaseline, double* pusCase,
                                          double* pusBaseline)
{
    *pusCase = *pusBaseline = 1e30;
    for (int round = 0; round < 6; ++round)
    {
        *pusBaseline = std::min(*pusBaseline, MicrosPerCall(fnBaseline, 0.05));
        *pusCase = std::min(*pusCase, MicrosPerCall(fnCase, 0.05));
    }
}
} // namespace

int main()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    navtest::TestHost host(640, 400);
    HFONT hFont = navtest::MakeFont(16, L"Tahoma", FW_BOLD);

    HWND hwndNativePush = MakeNative(host, BS_PUSHBUTTON, 10, 10, kPushCx, kPushCy, L"Start");
    HWND hwndNativeCheck =
        MakeNative(host, BS_AUTOCHECKBOX, 10, 80, kCheckCx, kCheckCy, L"Avoid tolls");
    SendMessageW(hwndNativePush, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    SendMessageW(hwndNativeCheck, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    SendMessageW(hwndNativeCheck, BM_SETCHECK, BST_CHECKED, 0);

    CNavBitmapButton push, check;
    MakeButton(push, host, NAVBTN_PUSH, 200, 10, kPushCx, kPushCy, L"Start", hFont);
    MakeButton(check, host, NAVBTN_CHECK, 200, 80, kCheckCx, kCheckCy, L"Avoid tolls", hFont);
    check.SetCheck(1);
    navtest::PumpMessages();

    // An owner-drawn BUTTON whose request nobody answers: what invalidate, erase, paint and
    // the owner-draw round trip cost before anything is drawn.
    HWND hwndEmpty = MakeNative(host, BS_OWNERDRAW, 10, 150, kPushCx, kPushCy, L"");
    double usNativePush, usPush, usNativeCheck, usCheck, usEmpty, usNativePush2;
    TimePair([&] { Repaint(hwndEmpty); }, [&] { Repaint(hwndNativePush); }, &usEmpty,
             &usNativePush2);
    TimePair([&] { Repaint(push.GetSafeHwnd()); }, [&] { Repaint(hwndNativePush); }, &usPush,
             &usNativePush);
    TimePair([&] { Repaint(check.GetSafeHwnd()); }, [&] { Repaint(hwndNativeCheck); }, &usCheck,
             &usNativeCheck);

    // The composition alone: into a memory DC the size of the host, against one BitBlt of
    // the button's area between two memory DCs.
    HDC hdcScreen = GetDC(host);
    HDC hdcMem = CreateCompatibleDC(hdcScreen);
    HBITMAP hbmMem = CreateCompatibleBitmap(hdcScreen, 640, 400);
    HGDIOBJ hOldMem = SelectObject(hdcMem, hbmMem);
    HDC hdcSrc = CreateCompatibleDC(hdcScreen);
    HBITMAP hbmSrc = CreateCompatibleBitmap(hdcScreen, kCheckCx, kPushCy);
    HGDIOBJ hOldSrc = SelectObject(hdcSrc, hbmSrc);
    double usBlitPush, usBlitCheck, usComposePush, usComposeCheck;
    TimePair([&] { push.OnPaintEx(hdcMem); },
             [&] { BitBlt(hdcMem, 200, 10, kPushCx, kPushCy, hdcSrc, 0, 0, SRCCOPY); },
             &usComposePush, &usBlitPush);
    TimePair([&] { check.OnPaintEx(hdcMem); },
             [&] { BitBlt(hdcMem, 200, 80, kCheckCx, kCheckCy, hdcSrc, 0, 0, SRCCOPY); },
             &usComposeCheck, &usBlitCheck);

    // The pieces of a paint, each alone.
    const double usBackground = MicrosPerCall([&] {
        RECT rc = {200, 10, 200 + kPushCx, 10 + kPushCy};
        SendMessageW(host, WM_NAV_PAINTBKGND, reinterpret_cast<WPARAM>(hdcSrc),
                     reinterpret_cast<LPARAM>(&rc));
    });
    CxImage* pFace = NavSharedFace(TRUE);
    const double usFace = MicrosPerCall(
        [&] { pFace->DrawAlphaChannel(hdcSrc, 0, 0, kPushCx, kPushCy, 0, 0, 255, 0); });
    const double usIcons = MicrosPerCall([&] {
        HIMAGELIST hList = ImageList_LoadImageW(GetModuleInstance(),
                                                MAKEINTRESOURCEW(IDB_CHECK_RADIO), 30, 0,
                                                RGB(255, 0, 255), IMAGE_BITMAP,
                                                LR_CREATEDIBSECTION);
        ImageList_Draw(hList, 1, hdcSrc, 0, 0, ILD_TRANSPARENT);
        ImageList_Destroy(hList);
    });
    auto bufferCycle = [&](HBITMAP hbm) {
        HDC hdc = CreateCompatibleDC(hdcScreen);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        SelectObject(hdc, hOld);
        DeleteObject(hbm);
        DeleteDC(hdc);
    };
    const double usBufferCompatible = MicrosPerCall(
        [&] { bufferCycle(CreateCompatibleBitmap(hdcScreen, kPushCx, kPushCy)); });
    const double usBuffer =
        MicrosPerCall([&] { bufferCycle(nav::CreateDib32(hdcScreen, kPushCx, kPushCy)); });
    HDC hdcDib = CreateCompatibleDC(hdcScreen);
    HBITMAP hbmDib = nav::CreateDib32(hdcScreen, kPushCx, kPushCy);
    HGDIOBJ hOldDib = SelectObject(hdcDib, hbmDib);
    const double usFaceDib = MicrosPerCall(
        [&] { pFace->DrawAlphaChannel(hdcDib, 0, 0, kPushCx, kPushCy, 0, 0, 255, 0); });
    SelectObject(hdcDib, hOldDib);
    DeleteObject(hbmDib);
    DeleteDC(hdcDib);
    const double usText = MicrosPerCall([&] {
        HGDIOBJ hOld = SelectObject(hdcSrc, hFont);
        RECT rc = {0, 0, kPushCx, kPushCy};
        DrawTextW(hdcSrc, L"Start", 5, &rc, DT_CENTER | DT_WORDBREAK);
        SelectObject(hdcSrc, hOld);
    });

    int missed = PrintTable(
        "bitmap button: full repaint (invalidate + update)",
        {{"native BUTTON push 106x50", usNativePush, "", 0, 0},
         {"CNavBitmapButton push 106x50", usPush, "native push", usNativePush, 1.0},
         {"owner-drawn BUTTON drawing nothing 106x50", usEmpty, "native push", usNativePush2, 0},
         {"native BUTTON check box 180x34", usNativeCheck, "", 0, 0},
         {"CNavBitmapButton check box 180x34", usCheck, "native check box", usNativeCheck, 1.0}});
    missed += PrintTable(
        "bitmap button: composition alone (OnPaintEx into a memory DC)",
        {{"BitBlt 106x50", usBlitPush, "", 0, 0},
         {"OnPaintEx push 106x50", usComposePush, "BitBlt 106x50", usBlitPush, 20.0},
         {"BitBlt 180x34", usBlitCheck, "", 0, 0},
         {"OnPaintEx check box 180x34", usComposeCheck, "BitBlt 180x34", usBlitCheck, 20.0}});
    PrintTable("bitmap button: pieces of one paint",
               {{"back buffer, compatible bitmap: made and freed", usBufferCompatible,
                 "BitBlt 106x50", usBlitPush, 0},
                {"back buffer, DIB section: made and freed", usBuffer, "BitBlt 106x50",
                 usBlitPush, 0},
                {"background request to the host", usBackground, "BitBlt 106x50", usBlitPush,
                 0},
                {"large face into a compatible bitmap (AlphaBlend)", usFace, "BitBlt 106x50",
                 usBlitPush, 0},
                {"large face into a DIB section (direct blend)", usFaceDib, "BitBlt 106x50",
                 usBlitPush, 0},
                {"icons: bitmap 108 loaded, drawn, freed", usIcons, "BitBlt 106x50", usBlitPush,
                 0},
                {"caption, DrawTextW", usText, "BitBlt 106x50", usBlitPush, 0}});

    SelectObject(hdcSrc, hOldSrc);
    DeleteObject(hbmSrc);
    DeleteDC(hdcSrc);
    SelectObject(hdcMem, hOldMem);
    DeleteObject(hbmMem);
    DeleteDC(hdcMem);
    ReleaseDC(host, hdcScreen);
    DeleteObject(hFont);
    printf("\n%d target(s) missed\n", missed);
    return 0;
}
