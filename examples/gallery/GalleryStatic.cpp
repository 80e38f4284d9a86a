// GalleryStatic.cpp - the gallery's static section: labels in colours and underline, a
// marquee in motion, push-button labels pressed and released, and links before and after a tap.
#include "Gallery.h"
#include "NavTestKit.h"

namespace
{
// Control ids; the background callback picks its face by id.
enum
{
    kIdLabel = 600,
    kIdTicker = 620,
    kIdButton = 640, // kIdButton + 0 / + 1
    kIdCard = 660,   // kIdCard + 0 / + 1
};

// Fills a rounded rectangle with a vertical gradient and draws its rim.
void RoundedFace(HDC hdc, const RECT& rc, COLORREF crTop, COLORREF crBottom, COLORREF crRim,
                 int nRadius)
{
    HRGN hrgn = CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, nRadius,
                                   nRadius);
    SelectClipRgn(hdc, hrgn);
    TRIVERTEX v[2] = {
        {rc.left, rc.top, static_cast<COLOR16>(GetRValue(crTop) << 8),
         static_cast<COLOR16>(GetGValue(crTop) << 8), static_cast<COLOR16>(GetBValue(crTop) << 8),
         0},
        {rc.right, rc.bottom, static_cast<COLOR16>(GetRValue(crBottom) << 8),
         static_cast<COLOR16>(GetGValue(crBottom) << 8),
         static_cast<COLOR16>(GetBValue(crBottom) << 8), 0}};
    GRADIENT_RECT g = {0, 1};
    GradientFill(hdc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
    SelectClipRgn(hdc, nullptr);
    HBRUSH hbrRim = CreateSolidBrush(crRim);
    FrameRgn(hdc, hrgn, hbrRim, 1, 1);
    DeleteObject(hbrRim);
    DeleteObject(hrgn);
}

// The ticker's panel, part of the gallery's background. The ticker label stands inside it, so
// that the moving text ends at the label's edges, short of the panel's rim.
void TickerPanel(HDC hdc, const RECT& rc)
{
    RoundedFace(hdc, rc, RGB(16, 24, 38), RGB(26, 36, 54), RGB(70, 96, 130), 10);
}

// The application's background callback for the section's labels.
void DrawFace(HDC hdc, RECT* prc, UINT uPressed, UINT uId)
{
    RECT rc = *prc;
    if (uId == kIdButton || uId == kIdButton + 1)
        RoundedFace(hdc, rc, uPressed ? RGB(250, 176, 76) : RGB(110, 190, 246),
                    uPressed ? RGB(214, 110, 16) : RGB(34, 112, 200),
                    uPressed ? RGB(255, 220, 160) : RGB(170, 216, 250), 14);
    else
        RoundedFace(hdc, rc, RGB(255, 255, 255), RGB(226, 234, 244), RGB(150, 170, 196), 10);
}

CNavStatic g_labels[4];
CNavStatic g_captions[6];
CNavStatic g_ticker;
CNavStatic g_buttons[2];
CNavStatic g_cards[2];
RECT g_rcTicker;
HFONT g_hTickerFont;
bool g_bStopReleased; // a frame shows the Stop button let go

// A label at (x, y) of the given size; the text must outlive the call only.
void Place(CNavStatic& label, GalleryContext& ctx, int x, int y, int cx, int cy,
           const wchar_t* pszText, DWORD dwStyle, UINT nId, DrawBkProc pfn = nullptr)
{
    RECT rc = {x, y, x + cx, y + cy};
    label.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | dwStyle,
                 const_cast<wchar_t*>(pszText), rc, ctx.hwndParent, nId, pfn);
}

// The marquee: a text too wide for its ticker moves on one character a second. It is made
// afresh at its first character and stepped on by the given number of seconds; the gallery
// steps it itself (the label's own timer is stopped), so that every picture is reproducible.
void ShowTicker(HWND hwndParent, int nSeconds)
{
    g_ticker = CNavStatic(); // gives up the previous ticker's window
    g_ticker.SetFont(g_hTickerFont);
    g_ticker.SetTextCr(RGB(140, 236, 170));
    g_ticker.SetIsAutoScroll(1);
    g_ticker.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP,
                    const_cast<wchar_t*>(L"  Next: turn left onto Harbour Boulevard towards the "
                                         L"Old Town ferry terminal  "),
                    g_rcTicker, hwndParent, kIdTicker, nullptr);
    HWND hwndTicker = g_ticker.GetSafeHwnd();
    KillTimer(hwndTicker, 1);
    for (int second = 0; second < nSeconds; ++second)
        SendMessageW(hwndTicker, WM_TIMER, 1, 0);
}

// A small grey caption under a control.
void Caption(int i, GalleryContext& ctx, int x, int y, int cx, const wchar_t* pszText)
{
    g_captions[i].SetFont(ctx.hSmallFont);
    g_captions[i].SetTextCr(RGB(150, 166, 190));
    Place(g_captions[i], ctx, x, y, cx, 18, pszText, SS_CENTER, kIdLabel + 10 + i);
}
} // namespace

void BuildStaticSection(GalleryContext& ctx)
{
    const int x0 = ctx.area.left + 8;
    int y = GalleryTitle(ctx, L"Static");

    // Labels: colours, underline, alignment.
    const struct
    {
        const wchar_t* text;
        COLORREF cr;
        int bUnderline;
        DWORD dwStyle;
        int x, cx;
    } labels[3] = {
        {L"Destination", RGB(240, 244, 250), 0, SS_LEFTNOWORDWRAP, 0, 150},
        {L"Harbour Point", RGB(255, 206, 92), 0, SS_LEFTNOWORDWRAP, 150, 170},
        {L"12.4 km", RGB(126, 226, 150), 1, SS_RIGHT | 0x4 /* one line */, 320, 150},
    };
    for (int i = 0; i < 3; ++i)
    {
        g_labels[i].SetFont(ctx.hFont);
        g_labels[i].SetTextCr(labels[i].cr);
        g_labels[i].SetUnderLine(labels[i].bUnderline);
        Place(g_labels[i], ctx, x0 + labels[i].x, y, labels[i].cx, 26, labels[i].text,
              labels[i].dwStyle, kIdLabel + i);
    }
    g_labels[3].SetFont(ctx.hSmallFont);
    g_labels[3].SetTextCr(RGB(186, 200, 222));
    Place(g_labels[3], ctx, x0, y + 30, 470, 36,
          L"Labels draw over whatever their window shows beneath them, in any colour, "
          L"underlined or not, wrapped on words.",
          0, kIdLabel + 3);
    y += 76;

    // The marquee in its panel: four seconds on in the main picture, and a frame for each of
    // its first four seconds.
    const RECT rcPanel = {x0, y, x0 + 470, y + 34};
    GalleryAddBackdrop(rcPanel, TickerPanel);
    g_rcTicker = rcPanel;
    InflateRect(&g_rcTicker, -12, -2);
    g_hTickerFont = ctx.hFont;
    const HWND hwndParent = ctx.hwndParent;
    ShowTicker(hwndParent, 4);
    for (int frame = 0; frame < 4; ++frame)
    {
        wchar_t szName[32];
        wsprintfW(szName, L"static-marquee-%d", frame);
        GalleryAddFrame(
            szName, [hwndParent, frame] { ShowTicker(hwndParent, frame); },
            [hwndParent] { ShowTicker(hwndParent, 4); });
    }
    Caption(0, ctx, x0, y + 36, 470, L"marquee, four seconds on");
    y += 62;

    // Push-button labels: the callback draws the face, orange while pressed.
    const wchar_t* buttons[2] = {L"Navigate", L"Stop"};
    for (int i = 0; i < 2; ++i)
    {
        g_buttons[i].SetFont(ctx.hFont);
        g_buttons[i].SetTextCr(RGB(255, 255, 255));
        Place(g_buttons[i], ctx, x0 + 40 + i * 220, y, 170, 46, buttons[i],
              SS_CENTER | SS_LEFTNOWORDWRAP, kIdButton + i, DrawFace);
    }
    // Stop is shown held down: a label is pressed only while it holds the pen, so the pen goes
    // down on it for each picture and is taken away after (no click). A frame of its own shows
    // it let go.
    GalleryAddHold(
        [] {
            if (!g_bStopReleased)
                SendMessageW(g_buttons[1].GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                             MAKELPARAM(20, 20));
        },
        [] {
            if (GetCapture() == g_buttons[1].GetSafeHwnd())
                ReleaseCapture();
        });
    GalleryAddFrame(
        L"static-button-pressed", [] {}, [] {});
    GalleryAddFrame(
        L"static-button-released", [] { g_bStopReleased = true; },
        [] { g_bStopReleased = false; });
    Caption(1, ctx, x0 + 40, y + 48, 170, L"released");
    Caption(2, ctx, x0 + 260, y + 48, 170, L"pressed");
    y += 76;

    // Links: blue and underlined until tapped, purple after.
    const wchar_t* links[2] = {L"+65 6123 4567", L"help@quill.example"};
    const unsigned int kinds[2] = {1, 4}; // telephone number, e-mail address
    for (int i = 0; i < 2; ++i)
    {
        g_cards[i].SetFont(ctx.hFont);
        g_cards[i].SetCoopFlag(kinds[i]);
        Place(g_cards[i], ctx, x0 + 10 + i * 240, y, 210, 40, links[i],
              SS_CENTER | SS_LEFTNOWORDWRAP, kIdCard + i, DrawFace);
    }
    {
        // Any menu of registered applications the tap offers is dismissed at once, so the
        // gallery never waits for a user.
        navtest::MenuDriver dismiss(-1);
        SendMessageW(g_cards[1].GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 20));
        SendMessageW(g_cards[1].GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
        GalleryPump(20);
    }
    Caption(3, ctx, x0 + 10, y + 42, 210, L"link");
    Caption(4, ctx, x0 + 250, y + 42, 210, L"link after a tap");
}
