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

    // Each composition beside the pieces its paint must do, done alone into a DIB section as
    // the paint does them: the picture filled with the neutral colour (a parent may paint
    // nothing), the background request, the artwork (the shared face; the icons, loaded at
    // every paint, and one drawn), the caption (read from the window, measured, drawn), the
    // final copy.
    HIMAGELIST hIcons = loadIcons();
    const HBRUSH hbrFace = GetSysColorBrush(COLOR_BTNFACE);
    auto copy = [&](int x, int y, int cx, int cy) {
        return Piece{"final copy (BitBlt)", [&piece, &parent, x, y, cx, cy] {
                         BitBlt(parent.dc, x, y, cx, cy, piece.dc, 0, 0, SRCCOPY);
                     }};
    };
    CxImage* pFace = NavSharedFace(TRUE);
    const std::vector<Row> pushPieces = AgainstPieces(
        "OnPaintEx push 106x50", [&] { push.OnPaintEx(parent.dc); },
        {LentPicture(parent.dc, kPushCx, kPushCy, hbrFace),
         BackgroundRequest(push.GetSafeHwnd(), piece.dc),
         {"face: the shared 106x50 face blended",
          [&] { pFace->DrawAlphaChannel(piece.dc, 0, 0, kPushCx, kPushCy, 0, 0, 255, 0); }},
         {"caption: window text, measured, DrawTextW",
          [&] {
              wchar_t szText[50];
              const int nLen = ReadText(push.GetSafeHwnd(), szText, 50);
              nav::SelectGuard font(piece.dc, hFont);
              SIZE size = {};
              GetTextExtentExPointW(piece.dc, szText, nLen, 0, nullptr, nullptr, &size);
              RECT rc = {0, (kPushCy - size.cy) / 2, kPushCx, kPushCy};
              DrawTextW(piece.dc, szText, nLen, &rc, DT_CENTER | DT_WORDBREAK);
          }},
         copy(200, 10, kPushCx, kPushCy)},
        1.10);
    const std::vector<Row> checkPieces = AgainstPieces(
        "OnPaintEx check box 180x34", [&] { check.OnPaintEx(parent.dc); },
        {LentPicture(parent.dc, kCheckCx, kCheckCy, hbrFace),
         BackgroundRequest(check.GetSafeHwnd(), piece.dc),
         {"icons: the strip loaded as an image list", [&] { ImageList_Destroy(loadIcons()); }},
         {"icon drawn (ImageList_DrawEx)",
          [&] { nav::DrawListImage(hIcons, 1, piece.dc, 0, 0, ILD_TRANSPARENT); }},
         {"caption: window text, DrawTextW",
          [&] {
              wchar_t szText[50];
              const int nLen = ReadText(check.GetSafeHwnd(), szText, 50);
              nav::SelectGuard font(piece.dc, hFont);
              RECT rc = {32, 0, kCheckCx, kCheckCy};
              DrawTextW(piece.dc, szText, nLen, &rc, DT_VCENTER | DT_SINGLELINE);
          }},
         copy(200, 80, kCheckCx, kCheckCy)},
        1.10);
    ImageList_Destroy(hIcons);

    int missed = PrintTable(
        "bitmap button: window repaint (invalidate, erase, paint) against the native button",
        repaints);
    missed += PrintTable("bitmap button: composition (OnPaintEx) against its floor", composes);
    missed += PrintTable("bitmap button: composition against the sum of the pieces its paint must do",
                         Joined({pushPieces, checkPieces}));
    const double usIcons = MicrosOf(checkPieces, "icons: the strip loaded as an image list");
    const double usIcon = MicrosOf(checkPieces, "icon drawn (ImageList_DrawEx)");
    const double usCheck = MicrosOf(checkPieces, "OnPaintEx check box 180x34");
    PrintNote(Format(
        "Why the check box stays above the native one: of its composition's %.1f us, %.1f us "
        "load its icons as an image list at every paint (under Wine an image list is two DCs "
        "and two bitmaps, filled by several copies) and %.1f us draw one icon from it (Wine's "
        "image list makes a DC and a bitmap for each draw); the background, the caption and the "
        "copy are the other %.1f us. The native check box draws a glyph the system keeps.",
        usCheck, usIcons, usIcon, usCheck - usIcons - usIcon));

    return Finish(missed);
}
