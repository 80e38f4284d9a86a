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
    // The composition beside the pieces its paint must do, done alone as the paint does them:
    // the picture (lent and cleared, as a new bitmap is: black), the background request, the
    // label's own font made from the one it was given (and deleted), its text read from the
    // window and drawn in a font selected for it, the copy.
    Canvas text(kCx, kCy, true);
    SetBkMode(text.dc, TRANSPARENT);
    SetTextColor(text.dc, RGB(20, 40, 90)); // the label's colour
    HWND hwndLabel = label.GetSafeHwnd();
    const std::vector<Row> pieces = AgainstPieces(
        "CNavStatic::OnPaintEx", [&] { label.OnPaintEx(parent.dc); },
        {LentPicture(parent.dc, kCx, kCy), BackgroundRequest(hwndLabel, piece.dc),
         {"font: made from the given one, deleted",
          [&] {
              LOGFONTW lf = {};
              GetObjectW(hFont, sizeof(lf), &lf);
              DeleteObject(CreateFontIndirectW(&lf));
          }},
         {"text: window text, font selected, DrawTextW",
          [&] {
              wchar_t szText[64];
              const int nLen = ReadText(hwndLabel, szText, 64);
              nav::SelectGuard font(text.dc, hFont);
              RECT rcText = {0, 0, kCx, kCy};
              DrawTextW(text.dc, szText, nLen, &rcText,
                        DT_SINGLELINE | DT_EXPANDTABS | DT_VCENTER);
          }},
         {"final copy (BitBlt)",
          [&] { BitBlt(parent.dc, rc.left, rc.top, kCx, kCy, piece.dc, 0, 0, SRCCOPY); }}},
        1.10);
    // The picture lent against one made for the paint alone, as without the kept buffer.
    const Piece lent = LentPicture(parent.dc, kCx, kCy);
    const std::vector<Row> picture = Paired(
        "a new picture: DC and DIB section made, freed",
        [&] { nav::BackBuffer b(parent.dc, kCx, kCy); }, {lent.name, "lent picture", lent.fn}, 0);
    int missed =
        PrintTable("CNavStatic 200x30, one line of text", Joined({repaint, compose, picture}));
    missed += PrintTable("CNavStatic: composition against the sum of the pieces its paint must do",
                         pieces);
    PrintNote(Format(
        "Why the label's window repaint stays above the native static's: at every erase it "
        "composes its background off screen, as every control does (the picture lent and put "
        "back %.1f us, the background request %.1f us, then one copy to the window), where the "
        "native static fills its rectangle with the brush its parent answers; its text costs "
        "what the native's does, and its own font, made for each paint, %.1f us more. Its "
        "composition costs %.2fx the sum of its pieces, and the pieces done one after another "
        "%.2fx (their cost to each other, which no piece done alone shows).",
        MicrosOf(pieces, LentPicture(nullptr, 0, 0).name),
        MicrosOf(pieces, BackgroundRequest(nullptr, nullptr).name),
        MicrosOf(pieces, "font: made from the given one, deleted"),
        RatioOf(pieces, "CNavStatic::OnPaintEx"), RatioOf(pieces, "the pieces one after another")));
    return Finish(missed);
}
