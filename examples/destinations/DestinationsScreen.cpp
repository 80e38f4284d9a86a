// DestinationsScreen.cpp - a destination search screen of a navigation device built from
// ZorNavCtrl controls: a search field that opens the soft input panel, a sort combo box, and a
// virtual list of 200,000 places with a favourite check box, a category badge, the place's name
// and its distance. The screen keeps the favourites itself, by place: the list asks for each
// row's check when it draws it and tells of each change, so a new sort needs no loop over the
// rows. The selected row's name scrolls inside its own column when it is too long, the
// distance column staying in view.
#include "DestinationsScreen.h"

#include <ZorNavCtrl.h>
#include <sipapi.h> // the device SDK's; the package's stand-in under Wine

#include "ExampleArt.h"

#include <stdio.h>
#include <wchar.h>

#include <algorithm>
#include <vector>

namespace
{
using namespace destinations;

const COLORREF kTextLight = RGB(0xE8, 0xEE, 0xF6);
const COLORREF kTextDim = RGB(0xA8, 0xB8, 0xCC);
const COLORREF kBackground = RGB(0x1C, 0x26, 0x36);
const COLORREF kCard = RGB(0xEC, 0xF1, 0xF7);

// Ten bordered rows of 30 pixels.
const int kListRows = 10;
const RECT kListRect = {12, 104, 620, 104 + kListRows * 30 + 2};
// The distance column: 90 pixels of text, right-aligned.
const int kDistanceWidth = 90;

const wchar_t* const kKinds[4] = {L"Fuel station", L"Car park", L"Restaurant", L"Hotel"};
const wchar_t* const kNotes[5] = {L"open day and night", L"with charging points",
                                  L"next to the river", L"by the old town hall",
                                  L"two minutes from the motorway"};
const wchar_t* const kPlaces[12] = {
    L"Northgate",         L"Riverside Walk",     L"Old Market Square", L"Kingsbridge Road",
    L"St. Mary's Church", L"Harbour View",       L"Station Approach",  L"Mill Lane",
    L"Castle Hill",       L"Westfield Park",     L"Queen's Parade",    L"Elm Tree Avenue"};

HWND g_hwnd;
bool g_bBuilt;
HFONT g_hTitleFont, g_hFont, g_hSmallFont;
HIMAGELIST g_hBadges;

CNavStatic g_title, g_sortLabel, g_status;
CNavEdit g_search;
CNavCombobox g_sort;
CNavListCtrl g_list;

// The places, their order in the list, and the favourites by place.
std::vector<std::wstring> g_names;
std::vector<int> g_distances; // in tens of metres
std::vector<int> g_order;
std::vector<bool> g_favourite;

int KindOf(int place)
{
    return place % 4;
}

void MakePlaces()
{
    g_names.resize(kPlaceCount);
    g_distances.resize(kPlaceCount);
    g_order.resize(kPlaceCount);
    g_favourite.assign(kPlaceCount, false);
    wchar_t sz[96];
    for (int i = 0; i < kPlaceCount; ++i)
    {
        swprintf(sz, 96, L"%ls %ls %d, %ls", kKinds[KindOf(i)], kPlaces[(i / 4) % 12], i / 48 + 1,
                 kNotes[(i / 7) % 5]);
        g_names[i] = sz;
        g_distances[i] = static_cast<int>((static_cast<unsigned>(i) * 7919u) % 250000u);
        g_order[i] = i;
    }
}

void SortPlaces(int sort)
{
    if (sort == kSortByDistance)
        std::stable_sort(g_order.begin(), g_order.end(),
                         [](int a, int b) { return g_distances[a] < g_distances[b]; });
    else
        std::stable_sort(g_order.begin(), g_order.end(),
                         [](int a, int b) { return g_names[a] < g_names[b]; });
}

void PaintScene(HDC hdc, const RECT& rc)
{
    RECT rcAll = {0, 0, rc.right - rc.left, rc.bottom - rc.top};
    HBRUSH hbr = CreateSolidBrush(kBackground);
    FillRect(hdc, &rcAll, hbr);
    DeleteObject(hbr);
    RECT rcCard;
    if (IntersectRect(&rcCard, &rc, &kListRect))
    {
        OffsetRect(&rcCard, -rc.left, -rc.top);
        HBRUSH hbrCard = CreateSolidBrush(kCard);
        FillRect(hdc, &rcCard, hbrCard);
        DeleteObject(hbrCard);
    }
}

void Report(const wchar_t* pszText)
{
    if (!g_bBuilt)
        return;
    g_status.SetText(const_cast<wchar_t*>(pszText));
    printf("destinations: %ls\n", pszText);
    fflush(stdout);
}

// The list asks for a row's cells, and for its check: the screen keeps the favourites.
void OnGetDispInfo(NMLVDISPINFOW* pInfo)
{
    LVITEMW& item = pInfo->item;
    if (item.iItem < 0 || item.iItem >= kPlaceCount)
        return;
    const int place = g_order[item.iItem];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
    {
        if (item.iSubItem == 0)
            lstrcpynW(item.pszText, g_names[place].c_str(), item.cchTextMax);
        else
        {
            const int d = g_distances[place];
            swprintf(item.pszText, item.cchTextMax, L"%d.%02d km", d / 100, d % 100);
        }
    }
    if (item.mask & LVIF_IMAGE)
        item.iImage = KindOf(place);
    if ((item.mask & LVIF_STATE) && (item.stateMask & LVIS_STATEIMAGEMASK))
        item.state = INDEXTOSTATEIMAGEMASK(g_favourite[place] ? 2 : 1);
}

// A favourite changed by a tap, the space bar, or SetCheckStatus / SetCheckAll / SetCheckOff
// (row -1: every row).
void OnItemChanged(const NMLISTVIEW* pnm)
{
    const UINT newImage = pnm->uNewState & LVIS_STATEIMAGEMASK;
    if (!(pnm->uChanged & LVIF_STATE) || newImage == 0 ||
        newImage == (pnm->uOldState & LVIS_STATEIMAGEMASK))
        return;
    const bool bOn = newImage == INDEXTOSTATEIMAGEMASK(2);
    if (pnm->iItem == -1)
    {
        g_favourite.assign(kPlaceCount, bOn);
        Report(bOn ? L"Every place is a favourite" : L"No favourites");
        return;
    }
    if (pnm->iItem < 0 || pnm->iItem >= kPlaceCount)
        return;
    const int place = g_order[pnm->iItem];
    g_favourite[place] = bOn;
    wchar_t sz[96];
    swprintf(sz, 96, L"%ls: %ls", g_names[place].c_str(), bOn ? L"favourite" : L"not a favourite");
    Report(sz);
}

void OnSortChosen()
{
    const int sort = g_sort.GetCurSel();
    SortPlaces(sort);
    g_list.Invalidate(); // the rows ask again; their checks follow their places
    Report(sort == kSortByDistance ? L"Sorted by distance" : L"Sorted by name");
}

LRESULT CALLBACK ScreenProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_NAV_PAINTBKGND:
        if (wParam && lParam)
            PaintScene(reinterpret_cast<HDC>(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ERASEBKGND:
    {
        RECT rc;
        GetClientRect(hwnd, &rc);
        PaintScene(reinterpret_cast<HDC>(wParam), rc);
        return 1;
    }
    case WM_DRAWITEM:
    {
        const DRAWITEMSTRUCT* pdis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return pdis ? SendMessageW(pdis->hwndItem, msg, wParam, lParam) : FALSE;
    }
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = CNavListCtrl::FixLineHeight;
        return TRUE;
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lParam) == g_sort.GetSafeHwnd())
            SetTextColor(reinterpret_cast<HDC>(wParam), kTextLight);
        return SendMessageW(reinterpret_cast<HWND>(lParam), msg, wParam, lParam);
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        return SendMessageW(reinterpret_cast<HWND>(lParam), msg, wParam, lParam);
    case WM_NAV_PAGESCROLL:
        SendMessageW(g_list.GetSafeHwnd(), WM_VSCROLL, wParam ? SB_PAGEUP : SB_PAGEDOWN, 0);
        g_list.EnsureVisible(g_list.GetScrollPos(), 0);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kIdSearch && HIWORD(wParam) == EN_KILLFOCUS)
            SipShowIM(SIPF_OFF); // the screen stops taking text: the panel goes
        else if (LOWORD(wParam) == kIdSortList && HIWORD(wParam) == LBN_SELCHANGE)
            OnSortChosen();
        return 0;
    case WM_NOTIFY:
    {
        const NMHDR* pnm = reinterpret_cast<const NMHDR*>(lParam);
        if (pnm->idFrom == kIdList && pnm->code == LVN_GETDISPINFOW)
            OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(lParam));
        else if (pnm->idFrom == kIdList && pnm->code == LVN_ITEMCHANGED)
            OnItemChanged(reinterpret_cast<const NMLISTVIEW*>(lParam));
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

HFONT MakeFont(int nHeight, int nWeight)
{
    return CreateFontW(-nHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
}

void MakeLabel(CNavStatic& label, HINSTANCE hInst, HFONT hFont, COLORREF cr, RECT rc,
               const wchar_t* pszText, UINT id)
{
    label.SetFont(hFont);
    label.SetTextCr(cr);
    label.Create(hInst, WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, const_cast<wchar_t*>(pszText),
                 rc, g_hwnd, id, nullptr);
}

// The virtual list: check boxes kept by the screen (the state-image bits in the callback
// mask), a category badge, the name in column 0, scrolling inside its column when selected,
// and the distance in a right-aligned column 1.
void BuildList(HINSTANCE hInst)
{
    g_list.SetFont(g_hFont);
    g_list.SetCheckBox(1);
    g_list.SetImageList(g_hBadges, nullptr, nullptr);
    g_list.EnableSelectHScrollInColumn(1);
    g_list.EnableSelectHScroll(1);
    g_list.Create(g_hwnd, WS_VISIBLE | WS_BORDER | LVS_OWNERDATA, hInst, kListRect, kIdList);
    HWND hList = g_list.GetSafeHwnd();
    ListView_SetCallbackMask(hList, LVIS_STATEIMAGEMASK);

    // Column 0's text starts behind the check box (31) and the badge (20 + 1), one pixel on;
    // the distance column takes that start on top of its width, so the row ends at the bar.
    RECT rcClient;
    GetClientRect(hList, &rcClient);
    const int cxRow = rcClient.right - 40;
    const int cxDistance = kDistanceWidth + 31 + 21 + 1;
    SendMessageW(hList, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(cxRow - cxDistance, 0));
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_RIGHT;
    column.cx = cxDistance;
    SendMessageW(hList, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    g_list.SetItemCount(kPlaceCount);
    g_list.SetIsScrollPage(1);
}

void BuildScreen(HINSTANCE hInst)
{
    MakeLabel(g_title, hInst, g_hTitleFont, kTextLight, RECT{16, 10, 320, 46}, L"Destinations",
              kIdTitle);

    g_search.SetFont(g_hFont);
    RECT rcSearch = {12, 58, 452, 88};
    g_search.Create(hInst, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                    const_cast<wchar_t*>(L"Search"), rcSearch, g_hwnd, kIdSearch, nullptr, 0);

    MakeLabel(g_sortLabel, hInst, g_hSmallFont, kTextDim, RECT{470, 62, 560, 84}, L"Sort by",
              kIdSortLabel);
    g_sort.SetFont(g_hFont);
    RECT rcSort = {560, 60, 788, 60 + 24 + 2 * 22};
    g_sort.Create(hInst, WS_VISIBLE, nullptr, rcSort, g_hwnd, kIdSort);
    g_sort.AddString(L"Name");
    g_sort.AddString(L"Distance");
    g_sort.SetCurSel(kSortByName);

    BuildList(hInst);

    MakeLabel(g_status, hInst, g_hSmallFont, kTextDim, RECT{12, 428, 788, 452},
              L"Tap a box to keep a place as a favourite.", kIdStatus);
}
} // namespace

namespace destinations
{
HWND Create(HINSTANCE hInst)
{
    const DWORD dwStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    g_hwnd = example::CreateMainWindow(hInst, ScreenProc, L"ZorNavDestinations", L"Destinations",
                                       dwStyle, kWidth, kHeight);
    if (!g_hwnd)
        return nullptr;
    g_hTitleFont = MakeFont(28, FW_BOLD);
    g_hFont = MakeFont(16, FW_NORMAL);
    g_hSmallFont = MakeFont(14, FW_BOLD);
    static const example::Badge badges[4] = {{RGB(0xE0, 0x6C, 0x1E), L"F"},
                                             {RGB(0x1F, 0x6F, 0xD1), L"P"},
                                             {RGB(0x2E, 0x9E, 0x4F), L"R"},
                                             {RGB(0x8A, 0x4F, 0xC9), L"H"}};
    g_hBadges = example::MakeBadges(20, badges, 4, g_hSmallFont, false);
    MakePlaces();
    SortPlaces(kSortByName);
    BuildScreen(hInst);
    g_bBuilt = true;
    return g_hwnd;
}

int PlaceOfRow(int row)
{
    return row >= 0 && row < kPlaceCount ? g_order[row] : -1;
}

std::wstring NameOf(int place)
{
    return place >= 0 && place < kPlaceCount ? g_names[place] : std::wstring();
}

bool IsFavourite(int place)
{
    return place >= 0 && place < kPlaceCount && g_favourite[place];
}

void Free()
{
    ImageList_Destroy(g_hBadges);
    DeleteObject(g_hTitleFont);
    DeleteObject(g_hFont);
    DeleteObject(g_hSmallFont);
    g_hBadges = nullptr;
    g_hTitleFont = g_hFont = g_hSmallFont = nullptr;
    g_bBuilt = false;
}
} // namespace destinations
