// test_standin.cpp - each device behaviour that the stand-in of the device's platform emulates
// is needed: with the emulation off, what the controls rely on goes wrong under Wine, and with it
// on (the default) it goes right. The behaviour itself is tested in each control's own tests;
// here only the difference the emulation makes is shown.
#include <gtest/gtest.h>

#include "NavBitmapButton.h"
#include "NavCombobox.h"
#include "NavEdit.h"
#include "NavListCtrl.h"
#include "NavStatic.h"
#include "NavTestKit.h"
#include "TestHost.h"
#include "StandIn.h"

#include <algorithm>
#include <functional>
#include <initializer_list>

using namespace navtest;

namespace
{
const UINT kId = 300;

// Switches the named emulations off while it lives (for the windows made meanwhile).
class EmulationsOff
{
public:
    explicit EmulationsOff(unsigned uEmulations) : m_uBefore(StandInSetEmulations(STANDIN_ALL))
    {
        StandInSetEmulations(m_uBefore & ~uEmulations);
    }
    ~EmulationsOff() { StandInSetEmulations(m_uBefore); }
    EmulationsOff(const EmulationsOff&) = delete;
    EmulationsOff& operator=(const EmulationsOff&) = delete;

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

// One emulation and the probe that tells whether what it emulates holds: true when the control
// behaves as on the device.
struct Case
{
    const char* label;
    unsigned uEmulation;
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

// Shown while the panel is up: a window at the bottom of the screen, which the application's
// screen tests can see; hidden again by SIPF_OFF.
bool SoftInputPanelShows(TestHost& host)
{
    CNavEdit edit;
    if (!MakeEdit(edit, host))
        return false;
    StandInSipSimulate(SIPF_OFF, FALSE);
    SendTap(edit.GetSafeHwnd(), 50, 10);
    PumpMessages();
    HWND hPanel = StandInSipPanel();
    RECT rc = {}, rcKit = {};
    // The test kit's view of it, which application tests use, agrees.
    const bool bShown = hPanel && IsWindowVisible(hPanel) && GetWindowRect(hPanel, &rc) &&
                        rc.bottom == GetSystemMetrics(SM_CYSCREEN) &&
                        navtest::SoftInputPanel(&rcKit) && EqualRect(&rc, &rcKit);
    StandInSipSimulate(SIPF_OFF, FALSE);
    return bShown && !IsWindowVisible(hPanel) && !navtest::SoftInputPanel(&rcKit) &&
           IsRectEmpty(&rcKit);
}

const Case kCases[] = {
    {"list scrolls", STANDIN_LIST_NOSCROLL, ListScrolls},
    {"check icon keeps its colours", STANDIN_RESOURCE_FORMAT, CheckIconKeepsItsColours},
    {"label keeps its background", STANDIN_STATIC_QUIET, LabelKeepsItsBackgroundOnNewText},
    {"real tap reaches a label button", STANDIN_STATIC_TAPS, RealTapReachesALabelButton},
    {"real tap reaches the list's scroll bar", STANDIN_STATIC_TAPS,
     RealTapReachesTheListsScrollBar},
    {"edit draws after its text", STANDIN_EDIT_CLIP, EditDrawsAfterItsText},
    {"edit keeps its margin", STANDIN_EDIT_MARGINS, EditKeepsItsMarginThroughANewFont},
    {"link offers its registered application", STANDIN_REGISTRY_ACCESS,
     LinkOffersItsRegisteredApplication},
};
} // namespace

TEST(StandInPlatform, EachEmulationIsNeeded)
{
    TestHost host;
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.label);
        EXPECT_TRUE(c.holds(host)) << "with the emulation on";
        {
            EmulationsOff off(c.uEmulation);
            EXPECT_FALSE(c.holds(host)) << "with the emulation off: it is not needed";
        }
        PumpMessages();
    }
}

TEST(StandInPlatform, SwitchReportsAndRestoresTheEmulationsOn)
{
    EXPECT_EQ(static_cast<unsigned>(STANDIN_ALL), StandInSetEmulations(0));
    EXPECT_EQ(0u, StandInSetEmulations(~0u));
    EXPECT_EQ(static_cast<unsigned>(STANDIN_ALL), StandInSetEmulations(STANDIN_ALL));
}

TEST(StandInPlatform, SoftInputPanelShowsAtTheBottomOfTheScreen)
{
    TestHost host;
    EXPECT_TRUE(SoftInputPanelShows(host));
}
