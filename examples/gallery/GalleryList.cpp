// GalleryList.cpp - the gallery's list section: a virtual list of places scrolled part way,
// with check boxes, images, a distance column and full-strength page arrows, beside an
// ordinary list of favourites whose selected row's text is too long to show (all its rows
// fit, so its scroll bar is half-faded). The lists stand on a light panel, as they would in a
// navigation application's own window.
#include "Gallery.h"

#include <stdio.h>

#include <string>

namespace
{
const UINT kVirtualId = 4100;
const UINT kOrdinaryId = 4200;
const int kVirtualRows = 500;

CNavListCtrl g_places;    // virtual
CNavListCtrl g_favourites; // ordinary
WNDPROC g_pfnGalleryProc;
HIMAGELIST g_hImages;
HFONT g_hRowFont;

const wchar_t* const kPlaceNames[] = {
    L"Fuel station", L"Car park", L"Restaurant", L"Hotel", L"Hospital", L"Railway station",
    L"Car wash", L"Pharmacy", L"Cash machine", L"Post office", L"Supermarket",
};
const wchar_t* const kStreets[] = {L"Ring Road", L"Harbour St", L"Mill Lane", L"North Gate",
                                   L"Elm Avenue", L"Bridge St", L"Park Row"};

// One 16 x 16 sign per kind of place: a rounded square in the kind's colour with a letter.
HIMAGELIST MakeSigns()
{
    static const example::Badge signs[] = {{RGB(0xD9, 0x3A, 0x2B), L"F"}, {RGB(0x1F, 0x6F, 0xD1), L"P"},
                       {RGB(0x2E, 0x9E, 0x4F), L"R"}, {RGB(0x8A, 0x4F, 0xC9), L"H"},
                       {RGB(0xE0, 0x3C, 0x6C), L"+"}, {RGB(0x3C, 0x4A, 0x5E), L"T"}};
    HFONT hFont = CreateFontW(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                              ANTIALIASED_QUALITY, 0, L"Tahoma");
    HIMAGELIST hil = example::MakeBadges(16, signs, 6, hFont, true);
    DeleteObject(hFont);
    return hil;
}

// A place of the virtual list: its name, distance and sign.
std::wstring PlaceText(int row, int subItem)
{
    wchar_t sz[64];
    if (subItem == 1)
        swprintf(sz, 64, L"%d.%d km", 1 + row / 4, (row * 7) % 10);
    else
        swprintf(sz, 64, L"%ls, %ls", kPlaceNames[row % 11], kStreets[row % 7]);
    return sz;
}

// The light panel beneath the lists: a vertical gradient over the section's height.
RECT g_rcPanel;

void PaintPanel(HDC hdc, const RECT& rc)
{
    const int span = g_rcPanel.bottom - g_rcPanel.top;
    for (int y = rc.top; y < rc.bottom; ++y)
    {
        const int t = span > 0 ? (y - g_rcPanel.top) * 255 / span : 0;
        HBRUSH hbr = CreateSolidBrush(RGB(0xF6 - t * 0x1A / 255, 0xF9 - t * 0x12 / 255, 0xFD - t * 0x0A / 255));
        RECT band = {0, y - rc.top, rc.right - rc.left, y - rc.top + 1};
        FillRect(hdc, &band, hbr);
        DeleteObject(hbr);
    }
}

// The gallery window answers the virtual list's row requests and acts on the page arrows;
// everything else goes on to the gallery's own procedure.
LRESULT CALLBACK ListSectionProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY)
    {
        NMLVDISPINFOW* pInfo = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if (pInfo->hdr.idFrom == kVirtualId && pInfo->hdr.code == LVN_GETDISPINFOW)
        {
            if ((pInfo->item.mask & LVIF_TEXT) && pInfo->item.pszText)
                lstrcpynW(pInfo->item.pszText,
                          PlaceText(pInfo->item.iItem, pInfo->item.iSubItem).c_str(),
                          pInfo->item.cchTextMax);
            if (pInfo->item.mask & LVIF_IMAGE)
                pInfo->item.iImage = pInfo->item.iItem % 6;
            return 0;
        }
    }
    if (msg == WM_NAV_PAINTBKGND && wParam && lParam)
    {
        RECT rcOverlap;
        const RECT* prc = reinterpret_cast<const RECT*>(lParam);
        if (IntersectRect(&rcOverlap, prc, &g_rcPanel))
        {
            PaintPanel(reinterpret_cast<HDC>(wParam), *prc);
            return 0;
        }
    }
    if (msg == WM_NAV_PAGESCROLL)
    {
        HWND hList = g_places.GetSafeHwnd();
        SendMessageW(hList, WM_VSCROLL, wParam ? SB_PAGEUP : SB_PAGEDOWN, 0);
        g_places.EnsureVisible(g_places.GetScrollPos(), 0); // places the thumb, paints nothing
        return 0;
    }
    return CallWindowProcW(g_pfnGalleryProc, hwnd, msg, wParam, lParam);
}

// Adds a right-aligned distance column cxDistance wide. Column 0's text starts behind the
// check box and image (49 pixels), yet the row is only as wide as the columns together, so the
// second column is given that start on top of its own width.
void AddDistanceColumn(CNavListCtrl& list, int cxDistance)
{
    HWND hList = list.GetSafeHwnd();
    RECT rcClient;
    GetClientRect(hList, &rcClient);
    const int cxRow = rcClient.right - 42; // clear of the scroll bar
    const int cxSecond = cxDistance + 51;
    SendMessageW(hList, LVM_SETCOLUMNWIDTH, 0, cxRow - cxSecond);
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_RIGHT;
    column.cx = cxSecond;
    SendMessageW(hList, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
}
} // namespace

void BuildListSection(GalleryContext& ctx)
{
    const int top = GalleryTitle(ctx, L"List");
    const int rows = (ctx.area.bottom - top - 2) / CNavListCtrl::FixLineHeight;
    const int height = rows * CNavListCtrl::FixLineHeight + 2;
    const int widthPlaces = 300, gap = 8;
    g_rcPanel = {ctx.area.left, top, ctx.area.right, top + height};

    g_pfnGalleryProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        ctx.hwndParent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListSectionProc)));
    g_hImages = MakeSigns();
    g_hRowFont = CreateFontW(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                             ANTIALIASED_QUALITY, 0, L"Tahoma");
    HINSTANCE hInst = GetModuleHandleW(nullptr);

    // A virtual list of places, scrolled part way, page arrows at full strength.
    const RECT rcPlaces = {ctx.area.left, top, ctx.area.left + widthPlaces, top + height};
    g_places.SetFont(g_hRowFont);
    g_places.SetCheckBox(1);
    g_places.SetImageList(g_hImages, nullptr, nullptr);
    g_places.Create(ctx.hwndParent, hInst, rcPlaces, kVirtualId);
    AddDistanceColumn(g_places, 66);
    g_places.SetItemCount(kVirtualRows);
    for (int i = 120; i < 140; i += 3)
        g_places.SetCheckStatus(i, 1);
    g_places.SetIsScrollPage(1);
    SendMessageW(g_places.GetSafeHwnd(), LVM_SCROLL, 0, 118 * CNavListCtrl::FixLineHeight);
    g_places.SetItemState(122, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    g_places.Invalidate();

    // An ordinary list of favourites; the selected one's text is too long for its row.
    const RECT rcFavourites = {rcPlaces.right + gap, top, ctx.area.right, top + height};
    g_favourites.SetFont(g_hRowFont);
    g_favourites.SetCheckBox(1);
    g_favourites.SetSelChecked(0);
    g_favourites.SetImageList(g_hImages, nullptr, nullptr);
    g_favourites.Create(ctx.hwndParent, WS_VISIBLE | WS_BORDER, hInst, rcFavourites,
                        kOrdinaryId);
    struct Favourite
    {
        const wchar_t* name;
        int image;
        bool checked;
    } const favourites[] = {
        {L"Home", 3, true},
        {L"Office", 1, false},
        {L"Airport Terminal 2, Departures, Gate B14", 5, true},
        {L"Grandma's", 3, false},
        {L"Harbour", 1, true},
        {L"Napoli", 2, false},
        {L"Hospital", 4, false},
        {L"Mill Lane", 0, true},
    };
    int index = 0;
    for (const Favourite& f : favourites)
    {
        g_favourites.InsertItem(index, const_cast<wchar_t*>(f.name), f.image, index);
        g_favourites.SetCheckStatus(index, f.checked);
        ++index;
    }

    // Tap the long favourite. The main picture shows the row as painted; a frame of its own
    // shows its text three seconds into the sideways scrolling (the timer's steps, made here).
    HWND hFavourites = g_favourites.GetSafeHwnd();
    RECT rcRow = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(hFavourites, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rcRow));
    const LPARAM tap = MAKELPARAM(100, rcRow.top + 10);
    SendMessageW(hFavourites, WM_LBUTTONDOWN, MK_LBUTTON, tap);
    SendMessageW(hFavourites, WM_LBUTTONUP, 0, tap);
    GalleryAddFrame(
        L"list-textscroll",
        [] {
            g_favourites.EnableSelectHScroll(1);
            for (int second = 0; second < 3; ++second)
                SendMessageW(g_favourites.GetSafeHwnd(), WM_TIMER, 1, 0);
        },
        [] {
            g_favourites.EnableSelectHScroll(0);
            g_favourites.Invalidate();
        });
}
