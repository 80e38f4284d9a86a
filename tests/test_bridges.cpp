// test_bridges.cpp - each desktop bridge is needed: with it switched off, what it bridges goes
// wrong on the desktop, and with it on (the default) it goes right. The behaviour itself is
// tested in each control's own tests; here only the difference the bridge makes is shown.
#include <gtest/gtest.h>

#include "NavBitmapButton.h"
#include "NavCombobox.h"
#include "NavEdit.h"
#include "NavListCtrl.h"
#include "NavStatic.h"
#include "NavTestKit.h"
#include "TestHost.h"
#include "hooks/NavTestHooks.h"
#include "platform/NavBridge.h"

#include <algorithm>
#include <functional>
#include <initializer_list>

using namespace navtest;

namespace
{
const UINT kId = 300;

// Switches the named bridges off while it lives.
class BridgesOff
{
public:
    explicit BridgesOff(unsigned uBridges) : m_uBefore(NavSetBridges(NAV_BRIDGE_ALL))
    {
        NavSetBridges(m_uBefore & ~uBridges);
    }
    ~BridgesOff() { NavSetBridges(m_uBefore); }
    BridgesOff(const BridgesOff&) = delete;
    BridgesOff& operator=(const BridgesOff&) = delete;

private:
    unsigned m_uBefore;
};

HINSTANCE Instance()
{
    return GetModuleHandleW(nullptr);
}

void PaintNow(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpMessages();
}

void FaceCallback(HDC hdc, RECT* prc, unsigned int, unsigned int)
{
    HBRUSH hBrush = CreateSolidBrush(RGB(0x20, 0x40, 0x60));
    FillRect(hdc, prc, hBrush);
    DeleteObject(hBrush);
}

// One bridge and the probe that tells whether what it bridges holds: true when the control
// behaves as on the device.
struct Case
{
    const char* label;
    unsigned uBridge;
    std::function<bool(TestHost&)> holds;
};

// The list scrolls by the scroll messages and reports its top row.
bool ListScrolls(TestHost& host)
{
    CNavListCtrl list;
    RECT rc = {10, 10, 310, 280};
    if (!list.Create(host, Instance(), rc, kId))
        return false;
    list.SetItemCount(100);
    SendMessageW(list.GetSafeHwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    return list.GetScrollPos() == 1;
}

// A repaint of the list leaves the scroll bar standing over its right edge untouched.
bool ListLeavesItsBarAlone(TestHost& host)
{
    CNavListCtrl list;
    RECT rc = {10, 10, 310, 280};
    if (!list.Create(host, WS_VISIBLE | WS_BORDER, Instance(), rc, kId))
        return false;
    for (int i = 0; i < 20; ++i)
        list.InsertItem(i, const_cast<wchar_t*>(L"A row text long enough to reach the bar"), -1, 0);
    list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(list.GetSafeHwnd(), LVM_SETCOLUMNWIDTH, 0, 600); // rows run under the bar
    PaintNow(list.GetSafeHwnd());
    PaintNow(GetDlgItem(host, kId + 1001)); // the bar, over the list
    HDC hdc = GetDC(host);
    const RECT rcBar = {rc.right - 40, rc.top, rc.right, rc.bottom};
    Pixels before = Pixels::FromDC(hdc, rcBar.left, rcBar.top, 40, rcBar.bottom - rcBar.top);
    PaintNow(list.GetSafeHwnd());
    Pixels after = Pixels::FromDC(hdc, rcBar.left, rcBar.top, 40, rcBar.bottom - rcBar.top);
    ReleaseDC(host, hdc);
    return before.Raw() == after.Raw();
}

// The check box's tick keeps its green (a 16-colour image list turns it teal).
bool CheckIconKeepsItsColours(TestHost& host)
{
    CNavBitmapButton button;
    RECT rc = {10, 10, 200, 60};
    if (!button.Create(Instance(), WS_CHILD | WS_VISIBLE, const_cast<wchar_t*>(L""), rc, host,
                       kId, nullptr, NAVBTN_CHECK, nullptr))
        return false;
    button.SetCheck(1);
    PaintNow(button.GetSafeHwnd());
    const COLORREF tick = Pixels::FromWindow(button.GetSafeHwnd()).At(15, 15);
    return ColorNear(tick, RGB(0x36, 0xAD, 0x48), 8);
}

// A new text leaves the label's background as composed, even under a parent that answers
// the static's colour request with a brush of its own.
bool LabelKeepsItsBackgroundOnNewText(TestHost& host)
{
    host.forwardCtlColor = false;
    CNavStatic label;
    RECT rc = {20, 20, 220, 50};
    if (!label.Create(Instance(), WS_CHILD | WS_VISIBLE, const_cast<wchar_t*>(L"Old"), rc, host,
                      kId, nullptr))
        return false;
    PaintNow(label.GetSafeHwnd());
    label.SetText(const_cast<wchar_t*>(L"New"));
    // No pump: what the native static draws at once stays until the next paint.
    const COLORREF corner = Pixels::FromWindow(label.GetSafeHwnd()).At(195, 25);
    host.forwardCtlColor = true;
    return corner == PatternAt(20 + 195, 20 + 25);
}

// A real tap on a push-button label reaches the label, not the parent beneath it.
bool RealTapReachesALabelButton(TestHost& host)
{
    CNavStatic label;
    RECT rc = {20, 20, 220, 60};
    if (!label.Create(Instance(), WS_CHILD | WS_VISIBLE, const_cast<wchar_t*>(L"Tap"), rc, host,
                      kId, FaceCallback))
        return false;
    PumpMessages();
    MessageSpy spy(label.GetSafeHwnd());
    RealTap(label.GetSafeHwnd(), 100, 20);
    ReleaseCapture();
    return spy.Count(WM_LBUTTONDOWN) == 1;
}

// A real tap on the list's scroll bar reaches the bar (here its line-down arrow), not the
// parent beneath it.
bool RealTapReachesTheListsScrollBar(TestHost& host)
{
    CNavListCtrl list;
    RECT rc = {20, 20, 320, 263};
    if (!list.Create(host, WS_VISIBLE | WS_BORDER | LVS_OWNERDATA, Instance(), rc, kId))
        return false;
    list.SetItemCount(100);
    PumpMessages();
    RealTap(GetDlgItem(host, kId + 1001), 20, 243 - 39 - 20);
    ReleaseCapture();
    return list.GetScrollPos() == 1;
}

// What the edit draws after its native text (the black line along its bottom) is not
// clipped away by the region the native paint leaves on the DC.
bool MakeEdit(CNavEdit& edit, TestHost& host)
{
    RECT rc = {10, 10, 210, 46};
    return edit.Create(Instance(), WS_CHILD | WS_VISIBLE, const_cast<wchar_t*>(L"abc"), rc, host,
                       kId, nullptr, 0) != 0;
}

bool EditDrawsAfterItsText(TestHost& host)
{
    CNavEdit edit;
    if (!MakeEdit(edit, host))
        return false;
    PaintNow(edit.GetSafeHwnd());
    Pixels px = Pixels::FromWindow(edit.GetSafeHwnd());
    return px.At(100, px.Height() - 1) == RGB(0, 0, 0);
}

// The edit keeps its left margin of 5 pixels through a new font.
bool EditKeepsItsMarginThroughANewFont(TestHost& host)
{
    CNavEdit edit;
    if (!MakeEdit(edit, host))
        return false;
    HFONT hFont = MakeFont(20);
    SendMessageW(edit.GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    const int nLeft = LOWORD(SendMessageW(edit.GetSafeHwnd(), EM_GETMARGINS, 0, 0));
    DestroyWindow(edit.GetSafeHwnd());
    DeleteObject(hFont);
    return nLeft == 5;
}

// A second tap on the arrow closes the list that the first one opened.
bool ComboArrowClosesItsList(TestHost& host)
{
    CNavCombobox combo;
    RECT rc = {20, 20, 220, 160};
    if (!combo.Create(Instance(), WS_VISIBLE, nullptr, rc, host, kId))
        return false;
    combo.AddString(const_cast<wchar_t*>(L"One"));
    combo.AddString(const_cast<wchar_t*>(L"Two"));
    HWND hEdit = combo.GetSafeHwnd();
    HWND hList = GetDlgItem(host, kId + 1010);
    RECT rcEdit;
    GetClientRect(hEdit, &rcEdit);
    auto tapArrow = [&] {
        SendTap(hEdit, rcEdit.right - 10, rcEdit.bottom / 2);
        PumpMessages();
    };
    tapArrow();
    const bool bOpened = IsWindowVisible(hList) != FALSE;
    tapArrow();
    return bOpened && !IsWindowVisible(hList);
}

// A tap on a telephone link offers the application registered for telephone numbers. (A key
// opened with access 0 opens on the desktop, but enumerates nothing: the menu comes up empty.)
bool LinkOffersItsRegisteredApplication(TestHost& host)
{
    const wchar_t kKey[] = L"Software\\Quill\\TEL\\BridgeDialer";
    const wchar_t kDisp[] = L"Dial";
    HKEY hApp = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hApp,
                        nullptr) != ERROR_SUCCESS)
        return false;
    RegSetValueExW(hApp, L"DispName", 0, REG_SZ, reinterpret_cast<const BYTE*>(kDisp),
                   sizeof(kDisp));
    RegCloseKey(hApp);
    CNavStatic label;
    label.SetCoopFlag(NAV_COOP_TEL);
    RECT rc = {20, 20, 220, 50};
    const bool bMade = label.Create(Instance(), WS_CHILD | WS_VISIBLE,
                                    const_cast<wchar_t*>(L"555-0100"), rc, host, kId, nullptr);
    MenuDriver menu(-1); // dismissed: nothing is launched
    if (bMade)
    {
        SendTap(label.GetSafeHwnd(), 30, 10);
        PumpMessages();
    }
    // Its own key, and the parents only while they hold nothing else.
    for (const wchar_t* pszKey : {kKey, L"Software\\Quill\\TEL", L"Software\\Quill"})
        RegDeleteKeyW(HKEY_CURRENT_USER, pszKey);
    return std::find(menu.texts.begin(), menu.texts.end(), kDisp) != menu.texts.end();
}

const Case kCases[] = {
    {"list scrolls", NAV_BRIDGE_LIST_SCROLLING, ListScrolls},
    {"list leaves its bar alone", NAV_BRIDGE_LIST_REGION, ListLeavesItsBarAlone},
    {"check icon keeps its colours", NAV_BRIDGE_DIB_BITMAPS, CheckIconKeepsItsColours},
    {"label keeps its background", NAV_BRIDGE_LABEL_QUIET, LabelKeepsItsBackgroundOnNewText},
    {"real tap reaches a label button", NAV_BRIDGE_LABEL_HITTEST, RealTapReachesALabelButton},
    {"real tap reaches the list's scroll bar", NAV_BRIDGE_LABEL_HITTEST,
     RealTapReachesTheListsScrollBar},
    {"edit draws after its text", NAV_BRIDGE_EDIT_CLIP, EditDrawsAfterItsText},
    {"edit keeps its margin", NAV_BRIDGE_EDIT_MARGINS, EditKeepsItsMarginThroughANewFont},
    {"combo arrow closes its list", NAV_BRIDGE_COMBO_PRESS, ComboArrowClosesItsList},
    {"link offers its registered application", NAV_BRIDGE_REGISTRY_ACCESS,
     LinkOffersItsRegisteredApplication},
};
} // namespace

TEST(DesktopBridges, EachIsNeededOnTheDesktop)
{
    TestHost host;
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.label);
        EXPECT_TRUE(c.holds(host)) << "with the bridge on";
        {
            BridgesOff off(c.uBridge);
            EXPECT_FALSE(c.holds(host)) << "with the bridge off: it is not needed";
        }
        PumpMessages();
    }
}

TEST(DesktopBridges, SwitchReportsAndRestoresTheBridgesOn)
{
    EXPECT_EQ(static_cast<unsigned>(NAV_BRIDGE_ALL), NavSetBridges(0));
    EXPECT_EQ(0u, NavSetBridges(~0u));
    EXPECT_EQ(static_cast<unsigned>(NAV_BRIDGE_ALL), NavSetBridges(NAV_BRIDGE_ALL));
}
