// SettingsScreen.cpp - a navigation device's settings screen built from ZorNavCtrl controls
// on a dark background: a title, a search field, a list of 50 settings with check boxes,
// images and a value column, a units combo box, route options (check boxes, radio buttons,
// push buttons) in a group box, a save button, a status line that shows what the screen heard
// and a traffic marquee. Reset asks first, in a popup menu.
#include "SettingsScreen.h"

#include <ZorNavCtrl.h>

#include "ExampleArt.h"

#include <stdio.h>
#include <wchar.h>

namespace
{
using namespace settings;

// Colours of the screen.
const COLORREF kTextLight = RGB(0xE8, 0xEE, 0xF6);
const COLORREF kTextDim = RGB(0xA8, 0xB8, 0xCC);
const COLORREF kAccent = RGB(0x4C, 0x8E, 0xDA);
const COLORREF kCard = RGB(0xEC, 0xF1, 0xF7);

// Where the list stands: rows of 30 pixels, 13 of them whole, plus the 1-pixel border above
// and below.
const int kListRows = 13;
const RECT kListRect = {12, 62, 452, 62 + kListRows * 30 + 2};
// The group box and its background bitmap.
const RECT kGroupRect = {470, 128, 788, 328};

struct Setting
{
    const wchar_t* name;
    const wchar_t* value;
    int image; // 0 sound, 1 map, 2 route, 3 display, 4 system
    bool on;
};

const Setting kSettings[] = {
    {L"Voice guidance", L"Anna", 0, true},
    {L"Speed camera alerts", L"Beep", 0, true},
    {L"Lane assistant", L"Full", 2, true},
    {L"Announce street names", L"On", 0, false},
    {L"Speed limit warning", L"+5 km/h", 0, true},
    {L"Night colours", L"Auto", 3, true},
    {L"3D buildings", L"On", 1, false},
    {L"Points of interest", L"12 kinds", 1, true},
    {L"Show fuel prices", L"Diesel", 1, true},
    {L"Traffic information", L"Live", 2, true},
    {L"Reroute on traffic", L"Ask", 2, false},
    {L"Avoid unpaved roads", L"On", 2, true},
    {L"Avoid toll roads", L"Off", 2, false},
    {L"Avoid ferries", L"Off", 2, false},
    {L"Avoid motorways", L"Off", 2, false},
    {L"Avoid low-emission zones", L"On", 2, false},
    {L"Vehicle type", L"Car", 2, false},
    {L"Caravan or trailer", L"None", 2, false},
    {L"Map zoom", L"Auto", 1, true},
    {L"North up", L"Off", 1, false},
    {L"Map text size", L"Large", 3, false},
    {L"Brightness", L"80 %", 3, false},
    {L"Screen timeout", L"Never", 3, false},
    {L"Touch sounds", L"Soft", 0, true},
    {L"Volume", L"65 %", 0, false},
    {L"Mute during calls", L"On", 0, true},
    {L"Bluetooth phone", L"Paired", 4, true},
    {L"Read out messages", L"Off", 0, false},
    {L"Keyboard layout", L"QWERTY", 4, false},
    {L"Language", L"English (UK)", 4, false},
    {L"Distance units", L"km", 4, false},
    {L"Time format", L"24 h", 4, false},
    {L"Time zone", L"Automatic", 4, true},
    {L"Home address", L"Set", 2, false},
    {L"Work address", L"Set", 2, false},
    {L"Recent destinations", L"20", 2, true},
    {L"Parking suggestions", L"On", 1, true},
    {L"Electric charging points", L"Off", 1, false},
    {L"Speed in dashboard", L"On", 3, true},
    {L"Arrival time", L"On", 3, true},
    {L"Compass", L"Off", 3, false},
    {L"Safety reminders", L"On", 4, true},
    {L"Fatigue warning", L"2 h", 4, false},
    {L"Share anonymous data", L"Off", 4, false},
    {L"Map updates", L"Weekly", 4, true},
    {L"Software updates", L"Ask", 4, true},
    {L"Storage", L"3.1 GB free", 4, false},
    {L"Demo mode", L"Off", 4, false},
    {L"Reset to factory settings", L"", 4, false},
    {L"About this device", L"v1.0", 4, false},
};
const int kSettingCount = sizeof(kSettings) / sizeof(kSettings[0]);

HWND g_hwnd;
bool g_bBuilt;
HFONT g_hTitleFont, g_hFont, g_hSmallFont;
HIMAGELIST g_hIcons;
HBITMAP g_hGroupBitmap;
WNDPROC g_pfnGroupProc;

CNavStatic g_title, g_unitsLabel, g_status, g_traffic;
CNavEdit g_search;
CNavListCtrl g_list;
CNavCombobox g_units;
CNavGroupBox g_group;
CNavBitmapButton g_avoid[3], g_route[3], g_reset, g_apply, g_save;

// ---- Painting ----

// The screen's background at row y: a dark blue-grey that lightens towards the bottom, with
// an accent line under the title bar.
COLORREF BackgroundAt(int y)
{
    if (y == 52)
        return kAccent;
    const int t = y * 255 / kHeight;
    return RGB(22 + t / 14, 28 + t / 12, 40 + t / 9);
}

// Paints what the screen shows beneath rc (client coordinates) into hdc, whose origin stands
// for rc's top-left corner: the background, and a light card under the list so that its
// black row texts read.
void PaintScene(HDC hdc, const RECT& rc)
{
    for (int y = rc.top; y < rc.bottom; ++y)
    {
        RECT band = {0, y - rc.top, rc.right - rc.left, y - rc.top + 1};
        HBRUSH hbr = CreateSolidBrush(BackgroundAt(y));
        FillRect(hdc, &band, hbr);
        DeleteObject(hbr);
    }
    RECT rcCard;
    if (IntersectRect(&rcCard, &rc, &kListRect))
    {
        OffsetRect(&rcCard, -rc.left, -rc.top);
        HBRUSH hbr = CreateSolidBrush(kCard);
        FillRect(hdc, &rcCard, hbr);
        DeleteObject(hbr);
    }
}

// The group box's bitmap: a light card with a faint band behind the buttons.
HBITMAP MakeGroupBitmap(int cx, int cy)
{
    HDC hdcScreen = GetDC(nullptr);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, cx, cy);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    RECT rc = {0, 0, cx, cy};
    HBRUSH hbrCard = CreateSolidBrush(RGB(0xF4, 0xF6, 0xFA));
    FillRect(hdc, &rc, hbrCard);
    DeleteObject(hbrCard);
    RECT rcBand = {0, cy - 64, cx, cy};
    HBRUSH hbrBand = CreateSolidBrush(RGB(0xDE, 0xE6, 0xF0));
    FillRect(hdc, &rcBand, hbrBand);
    DeleteObject(hbrBand);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    ReleaseDC(nullptr, hdcScreen);
    return hbm;
}

// Five 20 x 20 row icons: a rounded square in the kind's colour with a white letter.
HIMAGELIST MakeIcons()
{
    static const example::Badge icons[] = {{RGB(0xE0, 0x6C, 0x1E), L"S"}, {RGB(0x2E, 0x9E, 0x4F), L"M"},
                       {RGB(0x1F, 0x6F, 0xD1), L"R"}, {RGB(0x8A, 0x4F, 0xC9), L"D"},
                       {RGB(0x55, 0x62, 0x74), L"i"}};
    return example::MakeBadges(20, icons, 5, g_hSmallFont, false);
}

// ---- What the screen hears ----

// Shows what the screen heard on the status line (and on the console). Changes made while the
// screen is built are not news.
void Report(const wchar_t* pszText)
{
    if (!g_bBuilt)
        return;
    g_status.SetText(const_cast<wchar_t*>(pszText));
    printf("settings: %ls\n", pszText);
    fflush(stdout);
}

// Asks in a popup menu below the Reset button whether to reset the route options.
bool ConfirmReset()
{
    HMENU hMenu = CreatePopupMenu();
    if (!hMenu)
        return false;
    AppendMenuW(hMenu, MF_STRING, 1, kResetItem);
    AppendMenuW(hMenu, MF_STRING, 2, kKeepItem);
    RECT rc;
    GetWindowRect(g_reset.GetSafeHwnd(), &rc);
    const UINT uChoice = static_cast<UINT>(TrackPopupMenu(
        hMenu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, rc.left, rc.bottom, 0, g_hwnd, nullptr));
    DestroyMenu(hMenu);
    return uChoice == 1;
}

// The route options as the screen starts: avoid motorways, the fastest route. SetCheck does not
// repaint: each button is invalidated.
void ResetRouteOptions()
{
    for (int i = 0; i < 3; ++i)
    {
        g_avoid[i].SetCheck(i == 2);
        g_route[i].SetCheck(i == 0);
        InvalidateRect(g_avoid[i].GetSafeHwnd(), nullptr, FALSE);
        InvalidateRect(g_route[i].GetSafeHwnd(), nullptr, FALSE);
    }
}

// A button was tapped (BN_CLICKED). Those in the group box arrive through its subclass.
void OnButton(UINT id)
{
    wchar_t sz[96];
    if (id >= kIdAvoidTolls && id <= kIdAvoidMotorways)
    {
        CNavBitmapButton& b = g_avoid[id - kIdAvoidTolls];
        wchar_t szName[48];
        b.GetText(szName, 48);
        swprintf(sz, 96, L"%ls: %ls", szName, b.GetCheck() ? L"on" : L"off");
    }
    else if (id >= kIdFastest && id <= kIdEconomic)
    {
        wchar_t szName[48];
        g_route[id - kIdFastest].GetText(szName, 48);
        swprintf(sz, 96, L"Route: %ls", szName);
    }
    else if (id == kIdSave)
        swprintf(sz, 96, L"Settings saved");
    else if (id == kIdApply)
        swprintf(sz, 96, L"Route options applied");
    else if (id == kIdReset && ConfirmReset())
    {
        ResetRouteOptions();
        swprintf(sz, 96, L"Route options reset");
    }
    else
        return;
    Report(sz);
}

// The units list's selection, read from the list: whether the combo has copied the item's text
// into its edit yet is the native list box's affair.
void OnUnitsChosen()
{
    const int index = g_units.GetCurSel();
    const int cch = index >= 0 ? g_units.GetLBTextLen(index) : -1;
    if (cch < 0 || cch > 60)
        return;
    wchar_t szUnits[64];
    g_units.GetLBText(index, szUnits);
    wchar_t sz[96];
    swprintf(sz, 96, L"Units: %ls", szUnits);
    Report(sz);
}

// A row of the (ordinary) list was checked or unchecked: its state image changed.
void OnListItemChanged(const NMLISTVIEW* pnm)
{
    if (!(pnm->uChanged & LVIF_STATE) || pnm->iItem < 0 || pnm->iItem >= kSettingCount)
        return;
    const UINT newImage = pnm->uNewState & LVIS_STATEIMAGEMASK;
    if (newImage == (pnm->uOldState & LVIS_STATEIMAGEMASK) || newImage == 0)
        return;
    wchar_t sz[96];
    swprintf(sz, 96, L"%ls: %ls", kSettings[pnm->iItem].name,
             newImage == INDEXTOSTATEIMAGEMASK(2) ? L"on" : L"off");
    Report(sz);
}

// The group box keeps its buttons' WM_COMMAND and leaves their background unanswered: this
// subclass paints the bitmap beneath them and passes their commands on to the screen.
LRESULT CALLBACK GroupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NAV_PAINTBKGND && example::PaintBitmapBeneath(g_hGroupBitmap, wParam, lParam))
        return 0;
    if (msg == WM_COMMAND)
        return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
    return CallWindowProcW(g_pfnGroupProc, hwnd, msg, wParam, lParam);
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
        // The combo's text stands on the dark background: light text. The search field keeps
        // black text on its white frame.
        if (reinterpret_cast<HWND>(lParam) == g_units.GetSafeHwnd())
            SetTextColor(reinterpret_cast<HDC>(wParam), kTextLight);
        return SendMessageW(reinterpret_cast<HWND>(lParam), msg, wParam, lParam);
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        return SendMessageW(reinterpret_cast<HWND>(lParam), msg, wParam, lParam);
    case WM_NAV_PAGESCROLL:
        // The page arrows leave the scrolling to us. The list paints its new page while it
        // scrolls; EnsureVisible of the new top row, in view already, only places the thumb.
        SendMessageW(g_list.GetSafeHwnd(), WM_VSCROLL, wParam ? SB_PAGEUP : SB_PAGEDOWN, 0);
        g_list.EnsureVisible(g_list.GetScrollPos(), 0);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kIdUnitsList && HIWORD(wParam) == LBN_SELCHANGE)
            OnUnitsChosen();
        else if (HIWORD(wParam) == BN_CLICKED)
            OnButton(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
    {
        const NMHDR* pnm = reinterpret_cast<const NMHDR*>(lParam);
        if (pnm->idFrom == kIdList && pnm->code == LVN_ITEMCHANGED)
            OnListItemChanged(reinterpret_cast<const NMLISTVIEW*>(lParam));
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

// ---- Building the screen ----

HFONT MakeFont(int nHeight, int nWeight)
{
    return CreateFontW(-nHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
}

void MakeLabel(CNavStatic& label, HINSTANCE hInst, HFONT hFont, COLORREF cr, RECT rc,
               const wchar_t* pszText, DWORD dwStyle, UINT id)
{
    label.SetFont(hFont);
    label.SetTextCr(cr);
    label.Create(hInst, WS_CHILD | WS_VISIBLE | dwStyle, const_cast<wchar_t*>(pszText), rc,
                 g_hwnd, id, nullptr);
}

void MakeButton(CNavBitmapButton& button, HINSTANCE hInst, HWND hwndParent, RECT rc,
                const wchar_t* pszCaption, ButtonType type, DWORD dwStyle, UINT id)
{
    button.SetFont(g_hFont);
    button.Create(hInst, WS_CHILD | WS_VISIBLE | dwStyle, const_cast<wchar_t*>(pszCaption),
                  rc, hwndParent, id, nullptr, type, nullptr);
}

// The list: an ordinary list (rows inserted here) of 50 settings with check boxes, an icon
// and a right-aligned value column.
void BuildList(HINSTANCE hInst)
{
    g_list.SetFont(g_hFont);
    g_list.SetCheckBox(1);
    g_list.SetImageList(g_hIcons, nullptr, nullptr);
    g_list.Create(g_hwnd, WS_VISIBLE | WS_BORDER, hInst, kListRect, kIdList);

    // Column 0's text starts behind the check box (31 pixels) and the icon (20 + 1), one
    // pixel on; the row is as wide as the columns together and stops at the scroll bar. The
    // value column therefore gets that start on top of its own 96 pixels, and its right end
    // is drawn 2 pixels inside the row.
    HWND hList = g_list.GetSafeHwnd();
    RECT rcClient;
    GetClientRect(hList, &rcClient);
    const int cxRow = rcClient.right - 40;
    const int cxValue = 96 + 31 + 21 + 1;
    SendMessageW(hList, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(cxRow - cxValue, 0));
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_RIGHT;
    column.cx = cxValue;
    SendMessageW(hList, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));

    for (int i = 0; i < kSettingCount; ++i)
    {
        const Setting& s = kSettings[i];
        g_list.InsertItem(i, const_cast<wchar_t*>(s.name), s.image, i);
        g_list.SetItemText(i, 1, s.value);
        g_list.SetCheckStatus(i, s.on);
    }
    g_list.SetIsScrollPage(1);
    g_list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    g_list.Invalidate(); // rows were inserted: the thumb follows
}

// Route options: check boxes and radio buttons on the group box's bitmap, two push buttons.
void BuildRouteOptions(HINSTANCE hInst)
{
    const int cx = kGroupRect.right - kGroupRect.left, cy = kGroupRect.bottom - kGroupRect.top;
    g_hGroupBitmap = MakeGroupBitmap(cx, cy);
    RECT rc = kGroupRect;
    g_group.Create(hInst, WS_VISIBLE | WS_CLIPCHILDREN, const_cast<wchar_t*>(L"Route options"),
                   rc, g_hwnd, kIdGroup, g_hGroupBitmap);
    HWND hwndGroup = g_group.GetSafeHwnd();
    SendMessageW(hwndGroup, WM_SETFONT, reinterpret_cast<WPARAM>(g_hSmallFont), FALSE);
    g_pfnGroupProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwndGroup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GroupProc)));

    const wchar_t* const avoid[3] = {L"Avoid tolls", L"Avoid ferries", L"Avoid motorways"};
    const wchar_t* const route[3] = {L"Fastest", L"Shortest", L"Economic"};
    for (int i = 0; i < 3; ++i)
    {
        // WS_GROUP starts each dialog group: the check boxes, the radio buttons, the pushes.
        const DWORD dwGroup = i == 0 ? WS_GROUP : 0;
        MakeButton(g_avoid[i], hInst, hwndGroup, RECT{8, 26 + i * 36, 190, 56 + i * 36},
                   avoid[i], NAVBTN_CHECK, dwGroup, kIdAvoidTolls + i);
        MakeButton(g_route[i], hInst, hwndGroup, RECT{192, 26 + i * 36, 312, 56 + i * 36},
                   route[i], NAVBTN_RADIO, dwGroup, kIdFastest + i);
    }
    ResetRouteOptions();
    MakeButton(g_reset, hInst, hwndGroup, RECT{cx - 176, cy - 58, cx - 98, cy - 8}, L"Reset",
               NAVBTN_PUSH, WS_GROUP, kIdReset);
    MakeButton(g_apply, hInst, hwndGroup, RECT{cx - 88, cy - 58, cx - 10, cy - 8}, L"Apply",
               NAVBTN_PUSH, 0, kIdApply);
}

void BuildScreen(HINSTANCE hInst)
{
    MakeLabel(g_title, hInst, g_hTitleFont, kTextLight, RECT{16, 8, 300, 48}, L"Settings",
              SS_LEFTNOWORDWRAP, kIdTitle);

    g_search.SetFont(g_hFont);
    RECT rcSearch = {470, 12, 788, 42};
    g_search.Create(hInst, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                    const_cast<wchar_t*>(L"Search: fuel"), rcSearch, g_hwnd, kIdSearch, nullptr,
                    0);

    BuildList(hInst);

    MakeLabel(g_unitsLabel, hInst, g_hSmallFont, kTextDim, RECT{470, 66, 788, 86},
              L"Distance units", SS_LEFTNOWORDWRAP, kIdUnitsLabel);
    g_units.SetFont(g_hFont);
    RECT rcUnits = {470, 90, 788, 90 + 24 + 4 * 22}; // the edit, then up to four rows
    g_units.Create(hInst, WS_VISIBLE, nullptr, rcUnits, g_hwnd, kIdUnits);
    const wchar_t* const units[3] = {L"Kilometres", L"Miles", L"Miles and yards"};
    for (const wchar_t* u : units)
        g_units.AddString(u);
    g_units.SetCurSel(0);

    BuildRouteOptions(hInst);

    MakeLabel(g_status, hInst, g_hSmallFont, kTextDim, RECT{470, 340, 676, 390},
              L"Tap a setting to change it.", 0, kIdStatus);
    MakeButton(g_save, hInst, g_hwnd, RECT{682, 340, 788, 390}, L"Save", NAVBTN_PUSH, 0,
               kIdSave);

    // The marquee moves one character a second; it needs a single-line style, and it clips
    // its siblings so that it never paints over the open units list.
    g_traffic.SetIsAutoScroll(1);
    MakeLabel(g_traffic, hInst, g_hFont, RGB(0x8C, 0xEC, 0xAA), RECT{12, 462, 788, 490},
              L"Traffic: slow traffic on Ring Road between exits 4 and 6 - road works on Mill "
              L"Lane until Friday - fuel prices updated 10 minutes ago",
              SS_LEFTNOWORDWRAP | WS_CLIPSIBLINGS, kIdTraffic);
}
} // namespace

namespace settings
{
HWND Create(HINSTANCE hInst)
{
    const DWORD dwStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    g_hwnd = example::CreateMainWindow(hInst, ScreenProc, L"ZorNavSettings", L"Settings",
                                       dwStyle, kWidth, kHeight);
    if (!g_hwnd)
        return nullptr;
    g_hTitleFont = MakeFont(28, FW_BOLD);
    g_hFont = MakeFont(16, FW_NORMAL);
    g_hSmallFont = MakeFont(14, FW_BOLD);
    g_hIcons = MakeIcons();
    BuildScreen(hInst);
    g_bBuilt = true;
    return g_hwnd;
}

bool IsOn(UINT id)
{
    if (id >= kIdAvoidTolls && id <= kIdAvoidMotorways)
        return g_avoid[id - kIdAvoidTolls].GetCheck() != 0;
    if (id >= kIdFastest && id <= kIdEconomic)
        return g_route[id - kIdFastest].GetCheck() != 0;
    return false;
}

void Free()
{
    ImageList_Destroy(g_hIcons);
    DeleteObject(g_hGroupBitmap);
    DeleteObject(g_hTitleFont);
    DeleteObject(g_hFont);
    DeleteObject(g_hSmallFont);
    g_hIcons = nullptr;
    g_hGroupBitmap = nullptr;
    g_hTitleFont = g_hFont = g_hSmallFont = nullptr;
    g_bBuilt = false;
}
} // namespace settings
