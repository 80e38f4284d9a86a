// GalleryMain.cpp - the gallery window: a device-like background, four sections, a PNG.
//
// gallery.exe [output.png] [--show]
#include "Gallery.h"

#include "TestHost.h"

#include <stdio.h>

#include <string>
#include <vector>

namespace
{
// Wine's headless screen is 1024 x 768; the whole window must fit on it to be captured.
const int kWidth = 1016;
const int kHeight = 736;
std::wstring g_outPath = L"gallery.png";
HWND g_hwnd;

// The gallery's own background: a dark blue-grey gradient, as on the device's screens.
COLORREF BackgroundAt(int /*x*/, int y)
{
    int t = y * 255 / kHeight;
    return RGB(34 + t / 12, 44 + t / 10, 62 + t / 8);
}

struct Backdrop
{
    RECT rc;
    void (*pfnPaint)(HDC, const RECT&);
};
std::vector<Backdrop> g_backdrops;

void PaintBackground(HDC hdc, const RECT& rc)
{
    // One band per row, shifted so that rc's corner stands at hdc's origin.
    for (int y = rc.top; y < rc.bottom; ++y)
    {
        HBRUSH hbr = CreateSolidBrush(BackgroundAt(0, y));
        RECT band = {0, y - rc.top, rc.right - rc.left, y - rc.top + 1};
        FillRect(hdc, &band, hbr);
        DeleteObject(hbr);
    }
    for (const Backdrop& b : g_backdrops)
    {
        RECT rcOverlap;
        if (!IntersectRect(&rcOverlap, &b.rc, &rc))
            continue;
        RECT rcInDc = b.rc;
        OffsetRect(&rcInDc, -rc.left, -rc.top);
        const int nSaved = SaveDC(hdc);
        b.pfnPaint(hdc, rcInDc);
        RestoreDC(hdc, nSaved);
    }
}

struct Title
{
    RECT rc;
    std::wstring text;
};
std::vector<Title> g_titles;
HFONT g_hTitleFont;

// Section titles are the gallery's own text, painted with its background.
void PaintTitles(HDC hdc)
{
    HGDIOBJ hOld = SelectObject(hdc, g_hTitleFont);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(0xC8, 0xD6, 0xE8));
    for (Title& t : g_titles)
        DrawTextW(hdc, t.text.c_str(), -1, &t.rc, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    SelectObject(hdc, hOld);
}

LRESULT CALLBACK GalleryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_NAV_PAINTBKGND:
        if (wParam && lParam)
            PaintBackground(reinterpret_cast<HDC>(wParam), *reinterpret_cast<RECT*>(lParam));
        return 0;
    case WM_ERASEBKGND:
    {
        RECT rc;
        GetClientRect(hwnd, &rc);
        PaintBackground(reinterpret_cast<HDC>(wParam), rc);
        PaintTitles(reinterpret_cast<HDC>(wParam));
        return 1;
    }
    case WM_DRAWITEM:
    {
        // Owner-drawn controls draw themselves only when the request reaches their window.
        const DRAWITEMSTRUCT* pdis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return pdis ? SendMessageW(pdis->hwndItem, WM_DRAWITEM, wParam, lParam) : FALSE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    {
        // Native edits and list boxes ask their parent for colours; the controls answer
        // themselves, so that what they composed beneath the text stays visible. Text drawn
        // straight on the dark background is made light (a section marks those children).
        HWND hwndChild = reinterpret_cast<HWND>(lParam);
        if (!IsChild(hwnd, hwndChild))
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        if (GetPropW(hwndChild, kLightTextProp))
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0xE8, 0xEE, 0xF6));
        return SendMessageW(hwndChild, msg, wParam, lParam);
    }
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = CNavListCtrl::FixLineHeight;
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

struct Frame
{
    std::wstring name;
    std::function<void()> show, restore;
};
std::vector<Frame> g_frames;

struct Hold
{
    std::function<void()> press, release;
};
std::vector<Hold> g_holds;

// One picture of the whole window: every window painted afresh (a picture must not show what
// an earlier state left behind), then the subject changed over it (some subjects, such as a
// scrolling step, draw straight to the screen and would not survive a repaint), then the held
// states put on. Returns whether the PNG was written.
bool TakePicture(const std::wstring& path, const std::function<void()>& show)
{
    RedrawWindow(g_hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GalleryPump(50);
    if (show)
        show();
    for (Hold& h : g_holds)
        h.press();
    GalleryPump(50);
    const bool bSaved = navtest::Pixels::FromWindow(g_hwnd).SavePng(path.c_str());
    for (Hold& h : g_holds)
        h.release();
    return bSaved;
}

// gallery-<name>.png beside the main picture.
std::wstring FramePath(const std::wstring& name)
{
    std::wstring path = g_outPath;
    size_t dot = path.rfind(L".png");
    if (dot != std::wstring::npos)
        path.erase(dot);
    return path + L"-" + name + L".png";
}
} // namespace

void GalleryAddFrame(const wchar_t* pszName, std::function<void()> show,
                     std::function<void()> restore)
{
    g_frames.push_back({pszName, std::move(show), std::move(restore)});
}

void GalleryAddHold(std::function<void()> press, std::function<void()> release)
{
    g_holds.push_back({std::move(press), std::move(release)});
}

void GalleryAddBackdrop(const RECT& rcArea, void (*pfnPaint)(HDC hdc, const RECT& rcInDc))
{
    g_backdrops.push_back({rcArea, pfnPaint});
    InvalidateRect(g_hwnd, &rcArea, TRUE);
}

int GalleryTitle(GalleryContext& ctx, const wchar_t* pszTitle)
{
    RECT rc = {ctx.area.left, ctx.area.top, ctx.area.right, ctx.area.top + 22};
    g_titles.push_back({rc, pszTitle});
    g_hTitleFont = ctx.hSmallFont;
    InvalidateRect(ctx.hwndParent, &rc, TRUE);
    return ctx.area.top + 26;
}

void GalleryPump(DWORD dwMilliseconds)
{
    navtest::PumpFor(dwMilliseconds);
}

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    bool bShow = false;
    for (int i = 1; i < __argc; ++i)
    {
        std::wstring arg = __wargv[i];
        if (arg == L"--show")
            bShow = true;
        else
            g_outPath = arg;
    }

    const DWORD dwStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
    g_hwnd = example::CreateMainWindow(hInstance, GalleryProc, L"ZorNavGallery",
                                       L"ZorNavCtrl gallery", dwStyle, kWidth, kHeight);
    if (!g_hwnd)
    {
        fprintf(stderr, "gallery: cannot create the window (%lu)\n", GetLastError());
        return 1;
    }

    HFONT hFont = navtest::MakeFont(18, L"Tahoma", FW_BOLD);
    HFONT hSmallFont = navtest::MakeFont(14);
    GalleryContext ctx = {g_hwnd, {}, hFont, hSmallFont};

    // Four sections: buttons and group boxes, lists, edits and combo boxes, labels.
    const RECT areas[4] = {{8, 6, 504, 366}, {512, 6, 1008, 366},
                           {8, 372, 504, 732}, {512, 372, 1008, 732}};
    void (*const builders[4])(GalleryContext&) = {BuildButtonSection, BuildListSection,
                                                  BuildEditSection, BuildStaticSection};
    for (int i = 0; i < 4; ++i)
    {
        ctx.area = areas[i];
        builders[i](ctx);
        GalleryPump(20);
    }

    GalleryPump(300);
    bool bSaved = TakePicture(g_outPath, nullptr);
    printf("gallery: %ls %s\n", g_outPath.c_str(), bSaved ? "written" : "NOT written");
    fflush(stdout);
    for (Frame& f : g_frames)
    {
        bSaved &= TakePicture(FramePath(f.name), f.show);
        f.restore();
    }
    // A shown window leaves held states off: a held pen would take the user's first tap.

    if (bShow)
    {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    else
    {
        DestroyWindow(g_hwnd);
    }
    DeleteObject(hFont);
    DeleteObject(hSmallFont);
    return bSaved ? 0 : 1;
}
