// bench_button.cpp - what a bitmap button's paint costs: a full repaint against a native
// "BUTTON" of the same size and caption; the composition alone (OnPaintEx) against its floor,
// the work every paint must do (the background request, the loads the paint is bound to make,
// one BitBlt of the button's area); and the pieces of a paint.
#include "BenchUtil.h"

#include "CxImage.h"
#include "NavBitmapButton.h"
#include "hooks/NavTestHooks.h"
#include "core/NavCore.h"
#include "win32/NavGdi.h"
#include "platform/NavPlatform.h"
#include "resource.h"

#include <string>
#include <vector>

using namespace navbench;

namespace
{
const int kPushCx = 106, kPushCy = 50;  // one large face
const int kCheckCx = 180, kCheckCy = 34; // icon and caption
const COLORREF kKey = RGB(0xFF, 0x00, 0xFF);

void MakeButton(CNavBitmapButton& btn, HWND hwndParent, ButtonType nType, int x, int y, int cx,
                int cy, const wchar_t* pszText, HFONT hFont)
{
    std::wstring text = pszText;
    RECT rc = {x, y, x + cx, y + cy};
    btn.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE, &text[0], rc, hwndParent, 1,
               nullptr, nType, nullptr);
    btn.SetFont(hFont);
}

} // namespace

int main()
{
    Stage stage(640, 400, 16, FW_BOLD);
    HWND host = stage.host;
    HFONT hFont = stage.font;

    HWND hwndNativePush = NativeControl(L"BUTTON", BS_PUSHBUTTON, L"Start", host,
                                        {10, 10, 10 + kPushCx, 10 + kPushCy}, hFont);
    HWND hwndNativeCheck = NativeControl(L"BUTTON", BS_AUTOCHECKBOX, L"Avoid tolls", host,
                                         {10, 80, 10 + kCheckCx, 80 + kCheckCy}, hFont);
    SendMessageW(hwndNativeCheck, BM_SETCHECK, BST_CHECKED, 0);
    CNavBitmapButton push, check;
    MakeButton(push, host, NAVBTN_PUSH, 200, 10, kPushCx, kPushCy, L"Start", hFont);
    MakeButton(check, host, NAVBTN_CHECK, 200, 80, kCheckCx, kCheckCy, L"Avoid tolls", hFont);
    check.SetCheck(1);
    navtest::PumpMessages();

    // Window repaints, each against the native button of its size and caption.
    const std::vector<Row> repaints = Joined(
        {RepaintAgainst("CNavBitmapButton push 106x50", push.GetSafeHwnd(),
                        "native BUTTON push 106x50", "native push", hwndNativePush, 1.0),
         RepaintAgainst("CNavBitmapButton check box 180x34", check.GetSafeHwnd(),
                        "native BUTTON check box 180x34", "native check box", hwndNativeCheck,
                        1.0)});

    // The composition into the parent's off-screen picture, against its floor.
    Canvas parent(640, 400, false), piece(kCheckCx, kPushCy, true);
    auto floor = [&](int x, int y, int cx, int cy) {
        BackgroundAndBlit(host, {x, y, x + cx, y + cy}, piece.dc, parent.dc, x, y);
    };
    auto loadIcons = [&] {
        return nav::LoadImageListResource(GetModuleInstance(), IDB_CHECK_RADIO, 30, kKey);
    };
    const std::vector<Row> composes = Joined(
        {Paired("OnPaintEx push 106x50", [&] { push.OnPaintEx(parent.dc); },
                {"floor push: background + BitBlt", "floor push",
                 [&] { floor(200, 10, kPushCx, kPushCy); }},
                1.5),
         Paired("OnPaintEx check box 180x34", [&] { check.OnPaintEx(parent.dc); },
                {"floor check: icons + background + BitBlt", "floor check",
                 [&] {
                     ImageList_Destroy(loadIcons());
                     floor(200, 80, kCheckCx, kCheckCy);
                 }},
                1.5)});

    // The pieces of a paint, each alone, against one BitBlt of the push button's area.
    CxImage* pFace = NavSharedFace(TRUE);
    HIMAGELIST hIcons = loadIcons();
    auto blit = [&] { BitBlt(parent.dc, 200, 10, kPushCx, kPushCy, piece.dc, 0, 0, SRCCOPY); };
    std::vector<Row> pieces = {
        Compared("background request to the host",
                 [&] {
                     RECT rc = {200, 10, 200 + kPushCx, 10 + kPushCy};
                     SendMessageW(host, WM_NAV_PAINTBKGND, reinterpret_cast<WPARAM>(piece.dc),
                                  reinterpret_cast<LPARAM>(&rc));
                 },
                 "BitBlt", blit),
        Compared("back buffer (DIB section) made and freed",
                 [&] { nav::BackBuffer buffer(parent.dc, kPushCx, kPushCy); },
                 "BitBlt", blit),
        Compared("large face blended into a DIB section",
                 [&] { pFace->DrawAlphaChannel(piece.dc, 0, 0, kPushCx, kPushCy, 0, 0, 255, 0); },
                 "BitBlt", blit),
        Compared("caption, DrawTextW",
                 [&] {
                     HGDIOBJ hOld = SelectObject(piece.dc, hFont);
                     RECT rc = {0, 0, kPushCx, kPushCy};
                     DrawTextW(piece.dc, L"Start", 5, &rc, DT_CENTER | DT_WORDBREAK);
                     SelectObject(piece.dc, hOld);
                 },
                 "BitBlt", blit),
        Compared("icons: ImageList_LoadImage (DIB section)",
                 [&] {
                     ImageList_Destroy(ImageList_LoadImageW(
                         GetModuleInstance(), MAKEINTRESOURCEW(IDB_CHECK_RADIO), 30, 0, kKey,
                         IMAGE_BITMAP, LR_CREATEDIBSECTION));
                 },
                 "BitBlt", blit),
        Compared("icons: the library's loader", [&] { ImageList_Destroy(loadIcons()); }, "BitBlt",
                 blit),
        Compared("icons: ImageList_Draw of one",
                 [&] { ImageList_Draw(hIcons, 1, piece.dc, 0, 0, ILD_TRANSPARENT); }, "BitBlt",
                 blit)};
    ImageList_Destroy(hIcons);
    Group blitAlone;
    const int pcBlit = blitAlone.Add(blit);
    blitAlone.Run();
    pieces.insert(pieces.begin(), Plain("BitBlt 106x50", blitAlone, pcBlit));

    int missed = PrintTable(
        "bitmap button: window repaint (invalidate, erase, paint) against the native button",
        repaints);
    missed += PrintTable("bitmap button: composition (OnPaintEx) against its floor", composes);
    PrintTable("bitmap button: pieces of one paint", pieces);

    return Finish(missed);
}
