// test_list.cpp - the list control through real windows and messages: creation and styles,
// page size, the check model, copies, painting of rows, taps and the selected-row scrolling.
#include "test_list_fixture.h"
#include "Assignment.h"
#include "StandIn.h"

#include <climits>
#include <functional>
#include <memory>
#include <algorithm>
#include <set>
#include <sstream>

using namespace listtest;

namespace
{
const DWORD kVirtualStyle = WS_VISIBLE | WS_BORDER | LVS_OWNERDATA;
const DWORD kOrdinaryStyle = WS_VISIBLE | WS_BORDER;

struct ListTest : ::testing::Test
{
    ListHost host;
    ProbeList list;

    void Make(DWORD dwStyle = kVirtualStyle, const RECT& rc = kListRect)
    {
        ASSERT_EQ(1, list.Create(host, dwStyle, GetModuleHandleW(nullptr), rc, kListId));
        PumpMessages();
    }
    HWND Hwnd() { return list.GetSafeHwnd(); }
    // Makes l (a list of one case) of the given style with nRows rows: a count for a virtual
    // list, rows reading "x" for an ordinary one. False, with a failure recorded, when the
    // list could not be made.
    bool MakeWithRows(ProbeList& l, DWORD dwStyle, int nRows)
    {
        const BOOL bMade = l.Create(host, dwStyle, nullptr, kListRect, kListId);
        EXPECT_EQ(1, bMade);
        if (dwStyle == kVirtualStyle)
            l.SetItemCount(nRows);
        else
            for (int i = 0; i < nRows; ++i)
                l.InsertItem(i, const_cast<wchar_t*>(L"x"), -1, 0);
        return bMade == 1;
    }
    LONG Style() { return GetWindowLongW(Hwnd(), GWL_STYLE); }
    UINT StateImage(int row)
    {
        return static_cast<UINT>(
            SendMessageW(Hwnd(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
    }
    void AddRows(int n)
    {
        for (int i = 0; i < n; ++i)
        {
            std::wstring text = L"Row " + std::to_wstring(i);
            list.InsertItem(i, &text[0], -1, i);
        }
    }
    int ChildWindows(const wchar_t* pszName)
    {
        int n = 0;
        for (HWND h = FindWindowExW(host, nullptr, nullptr, pszName); h;
             h = FindWindowExW(host, h, nullptr, pszName))
            ++n;
        return n;
    }
};

// ---- Creation ----

TEST_F(ListTest, CreateStylesFollowTheCallersThreeBitsOnly)
{
    struct Case
    {
        const char* label;
        DWORD dwCaller;
        LONG expected;
    } cases[] = {
        {"visible bordered virtual", kVirtualStyle, 0x5080740D},
        {"visible bordered ordinary", kOrdinaryStyle, 0x5080640D},
        {"hidden borderless virtual", LVS_OWNERDATA, 0x4000740D},
        {"other bits ignored", kVirtualStyle | WS_TABSTOP | LVS_SORTASCENDING | WS_VSCROLL,
         0x5080740D},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        ProbeList l;
        ASSERT_EQ(1, l.Create(host, c.dwCaller, nullptr, kListRect, kListId));
        EXPECT_EQ(c.expected, GetWindowLongW(l.GetSafeHwnd(), GWL_STYLE));
        wchar_t szClass[32] = {}, szName[32] = {};
        GetClassNameW(l.GetSafeHwnd(), szClass, 32);
        GetWindowTextW(l.GetSafeHwnd(), szName, 32);
        EXPECT_STREQ(WC_LISTVIEWW, szClass);
        EXPECT_STREQ(L"NavListView", szName);
        EXPECT_EQ(kListId, l.GetDlgCtrlID());
    }
}

TEST_F(ListTest, ShortCreateMakesVisibleBorderedVirtualList)
{
    ASSERT_EQ(1, list.Create(host, nullptr, kListRect, kListId));
    EXPECT_EQ(0x5080740D, Style());
    EXPECT_EQ(0x1000, list.IsVirtualList());
}

TEST_F(ListTest, SecondCreateReturnsOneAndMakesNoSecondWindow)
{
    Make();
    HWND first = Hwnd();
    EXPECT_EQ(1, list.Create(host, kVirtualStyle, nullptr, {0, 0, 50, 50}, 7));
    EXPECT_EQ(first, Hwnd());
    EXPECT_EQ(1, ChildWindows(L"NavListView"));
    EXPECT_EQ(1, ChildWindows(L"NavScrollBar"));
}

TEST_F(ListTest, CreateAfterDestroyMakesTheListAndItsBarAnew)
{
    Make();
    list.Destroy();
    EXPECT_EQ(nullptr, Hwnd());
    EXPECT_EQ(0, ChildWindows(L"NavListView"));
    EXPECT_EQ(0, ChildWindows(L"NavScrollBar"));
    EXPECT_EQ(1, list.Create(host, kVirtualStyle, nullptr, kListRect, kListId));
    EXPECT_EQ(1, ChildWindows(L"NavListView"));
    EXPECT_EQ(1, ChildWindows(L"NavScrollBar"));
}

// The desktop list view refuses to scroll with LVS_NOSCROLL; ours scrolls by the bar's messages,
// reports its top row, reads its style back unchanged and never shows a native scroll bar.
TEST_F(ListTest, ScrollsAndReportsTopRowWithoutNativeScrollBars)
{
    Make();
    list.SetItemCount(100);
    RECT rcClient;
    GetClientRect(Hwnd(), &rcClient);
    struct Step
    {
        const char* label;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        int top;
    } steps[] = {
        {"line down", WM_VSCROLL, SB_LINEDOWN, 0, 1},
        {"page down", WM_VSCROLL, SB_PAGEDOWN, 0, 9},
        {"scroll 3 rows by distance", LVM_SCROLL, 0, 90, 12},
        {"line up", WM_VSCROLL, SB_LINEUP, 0, 11},
        {"scroll far past the end", LVM_SCROLL, 0, 30 * 500, 92},
    };
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.label);
        SendMessageW(Hwnd(), s.msg, s.wParam, s.lParam);
        EXPECT_EQ(s.top, list.GetScrollPos());
        EXPECT_EQ(0x5080740D, Style());
        RECT rc;
        GetClientRect(Hwnd(), &rc);
        EXPECT_EQ(rcClient.right, rc.right) << "a native scroll bar took room";
    }
    list.EnsureVisible(0, 0);
    EXPECT_EQ(0, list.GetScrollPos());
}

TEST_F(ListTest, ApplicationStyleChangesStillReachTheNativeList)
{
    Make(kOrdinaryStyle);
    AddRows(3);
    Select(Hwnd(), 1);
    // Dropping LVS_SHOWSELALWAYS is the application's own change and must not be swallowed.
    SetWindowLongW(Hwnd(), GWL_STYLE, Style() & ~LVS_SHOWSELALWAYS);
    EXPECT_EQ(0x5080640D & ~LVS_SHOWSELALWAYS, Style());
    // The list still scrolls afterwards, so LVS_NOSCROLL stayed hidden from the native list.
    AddRows(30);
    SendMessageW(Hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(1, list.GetScrollPos());
}

// ---- Page size ----

TEST_F(ListTest, PageSizeFromWindowHeightThenFromEverySize)
{
    Make();
    EXPECT_EQ(8, list.GetPageSize()); // 243 / 30
    struct Case
    {
        int windowHeight; // client = window - 2 (border)
        int page;
    } cases[] = {{240, 8}, {270, 9}, {90, 3}, {89, 2}, {20, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.windowHeight);
        SetWindowPos(Hwnd(), nullptr, 0, 0, 300, c.windowHeight, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(c.page, list.GetPageSize());
    }
}

TEST_F(ListTest, NonPositiveLineHeightCountsAsThirty)
{
    for (int height : {0, -7})
    {
        SCOPED_TRACE(height);
        CNavListCtrl::FixLineHeight = height;
        ProbeList l;
        ASSERT_EQ(1, l.Create(host, kVirtualStyle, nullptr, kListRect, kListId));
        EXPECT_EQ(8, l.GetPageSize());
        SetWindowPos(l.GetSafeHwnd(), nullptr, 0, 0, 300, 270, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(9, l.GetPageSize());
    }
    CNavListCtrl::FixLineHeight = 30;
}

// ---- Rows and check model ----

TEST_F(ListTest, VirtualCheckWordsMoveDownOnDelete)
{
    Make();
    list.SetCheckBox(1);
    list.SetItemCount(5);
    list.SetCheckStatus(2, 1);
    EXPECT_EQ(1, list.GetCheckStatus(2));
    EXPECT_NE(0, list.DeleteItem(1));
    EXPECT_EQ(4, list.m_nItemCount);
    EXPECT_EQ(1, list.GetCheckStatus(1));
    EXPECT_EQ(0, list.GetCheckStatus(2));
    EXPECT_EQ(0, list.GetCheckStatus(4)) << "row 4 is out of range now";
    for (int bad : {-1, 4, 100})
        EXPECT_EQ(0, list.DeleteItem(bad)) << bad;
    EXPECT_EQ(4, list.m_nItemCount);

    // Across the 32-row words the states are kept in: each delete moves every later row down.
    list.SetItemCount(100);
    for (int row : {0, 31, 32, 33, 63, 64, 99})
        list.SetCheckStatus(row, 1);
    ASSERT_NE(0, list.DeleteItem(10));
    ASSERT_NE(0, list.DeleteItem(0));
    const std::set<int> checked = {29, 30, 31, 61, 62, 97};
    for (int row = 0; row < 98; ++row)
        EXPECT_EQ(checked.count(row) ? 1 : 0, list.GetCheckStatus(row)) << "row " << row;
    list.SetCheckAll();
    list.SetCheckStatus(40, 0);
    for (int row = 0; row < 98; ++row)
        EXPECT_EQ(row == 40 ? 0 : 1, list.GetCheckStatus(row)) << "row " << row;
}

TEST_F(ListTest, SetItemCountClearsEveryCheckEvenWithTheSameCount)
{
    Make();
    list.SetCheckBox(1);
    list.SetItemCount(5);
    list.SetCheckAll();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(1, list.GetCheckStatus(i)) << i;
    list.SetItemCount(5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(0, list.GetCheckStatus(i)) << i;
}

TEST_F(ListTest, ChecksReadZeroWhileCheckBoxesAreOffAndComeBack)
{
    for (DWORD dwStyle : {kVirtualStyle, kOrdinaryStyle})
    {
        SCOPED_TRACE(dwStyle == kVirtualStyle ? "virtual" : "ordinary");
        ProbeList l;
        ASSERT_TRUE(MakeWithRows(l, dwStyle, 3));
        l.SetCheckStatus(1, 1); // ignored: check boxes off
        l.SetCheckBox(1);
        EXPECT_EQ(0, l.GetCheckStatus(1));
        l.SetCheckStatus(1, 1);
        l.SetCheckBox(0);
        EXPECT_EQ(0, l.GetCheckStatus(1));
        l.SetCheckBox(1);
        EXPECT_EQ(1, l.GetCheckStatus(1));
        l.SetCheckOff();
        EXPECT_EQ(0, l.GetCheckStatus(1));
    }
}

TEST_F(ListTest, OrdinaryRowsUseStateImagesOneAndTwo)
{
    Make(kOrdinaryStyle);
    AddRows(3);
    list.SetCheckBox(1);
    EXPECT_EQ(0u, StateImage(0));
    EXPECT_EQ(0, list.GetCheckStatus(0)) << "a fresh row reads as unchecked";
    list.SetCheckStatus(0, 0);
    EXPECT_EQ(0x1000u, StateImage(0));
    list.SetCheckStatus(0, 1);
    EXPECT_EQ(0x2000u, StateImage(0));
    list.SetCheckAll();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(0x2000u, StateImage(i)) << i;
    list.SetCheckOff();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(0x1000u, StateImage(i)) << i;
}

TEST_F(ListTest, ItemTextOnlyOnOrdinaryLists)
{
    Make(kOrdinaryStyle);
    AddRows(2);
    EXPECT_EQ(2, list.GetItemCount());
    EXPECT_NE(0, list.SetItemText(1, 0, L"changed"));
    wchar_t szText[32] = {};
    LVITEMW item = {};
    item.pszText = szText;
    item.cchTextMax = 32;
    SendMessageW(Hwnd(), LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(L"changed", szText);
    list.SetItemCount(50); // ordinary lists ignore it
    EXPECT_EQ(2, list.GetItemCount());

    ProbeList v;
    ASSERT_EQ(1, v.Create(host, kVirtualStyle, nullptr, kListRect, kListId + 1));
    v.SetItemCount(3);
    EXPECT_EQ(0, v.SetItemText(0, 0, L"no"));
}

TEST_F(ListTest, NegativeAndHugeCountsStayDefined)
{
    Make();
    list.SetCheckBox(1);
    struct Case
    {
        const char* label;
        int count;
        int expectedCount;
    } cases[] = {
        {"negative", -5, 0},
        {"2^30, no check words", 1 << 30, 1 << 30},
        {"INT_MAX, no check words", INT_MAX, INT_MAX},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        list.SetItemCount(c.count);
        EXPECT_EQ(c.expectedCount, list.m_nItemCount);
        list.SetCheckStatus(3, 1);
        list.SetCheckStatus(c.expectedCount - 1, 1);
        EXPECT_EQ(0, list.GetCheckStatus(3));
        EXPECT_EQ(0, list.DeleteItem(-1));
    }
    list.SetItemCount(4);
    list.SetCheckStatus(3, 1);
    EXPECT_EQ(1, list.GetCheckStatus(3));

    // Check states SetItemCount could not have: the rows are there, unchecked, and the next
    // check tries again; while that fails too, the row stays unchecked.
    for (BOOL bFromThenOn : {FALSE, TRUE})
    {
        SCOPED_TRACE(bFromThenOn ? "every allocation fails" : "one allocation fails");
        list.SetCheckStatus(1, 1);
        StandInFailAllocations(L"ZorNavCtrl.dll", 1, bFromThenOn, L"calloc");
        list.SetItemCount(1000);
        EXPECT_EQ(1000, list.m_nItemCount);
        EXPECT_EQ(0, list.GetCheckStatus(1));
        list.SetCheckStatus(999, 1);
        EXPECT_EQ(bFromThenOn ? 0 : 1, list.GetCheckStatus(999));
        StandInFailAllocations(L"ZorNavCtrl.dll", 0, FALSE, nullptr);
        list.SetCheckStatus(998, 1);
        EXPECT_EQ(1, list.GetCheckStatus(998));
        EXPECT_EQ(0, list.GetCheckStatus(1));
    }
}

TEST_F(ListTest, OperationsWithoutWindowAnswerTheirDefaults)
{
    ProbeList l;
    EXPECT_EQ(0, l.InsertItem(0, const_cast<wchar_t*>(L"x"), -1, 0));
    EXPECT_EQ(0, l.DeleteItem(0));
    EXPECT_EQ(0, l.DeleteAllItems());
    EXPECT_EQ(-1, l.GetNextItem(-1, LVNI_ALL));
    EXPECT_EQ(0, l.EnsureVisible(0, 0));
    EXPECT_EQ(0, l.MoveWindow(0, 0, 10, 10));
    EXPECT_EQ(0, l.GetScrollPos());
    EXPECT_EQ(0, l.IsVirtualList());
    EXPECT_EQ(1, l.EnableHScrollBar(0));
    EXPECT_EQ(1, l.OnPaintEx(nullptr));
    l.SetItemCount(10);
    EXPECT_EQ(0, l.m_nItemCount);
    l.Invalidate();
    l.Update();
    l.Show(SW_SHOW);
}

// Check-box switches are set before Create as often as after; without a window they must not
// reach for one (a null window would have every window on the screen erased and repainted).
TEST_F(ListTest, CheckSwitchesWithoutWindowRepaintNothing)
{
    PaintNow(host);
    ASSERT_FALSE(GetUpdateRect(host, nullptr, FALSE));
    host.Clear();
    ProbeList l;
    const struct
    {
        const char* label;
        std::function<void()> call;
    } calls[] = {
        {"SetCheckBox", [&] { l.SetCheckBox(1); }},
        {"SetCheckAll", [&] { l.SetCheckAll(); }},
        {"SetCheckOff", [&] { l.SetCheckOff(); }},
    };
    for (const auto& c : calls)
    {
        SCOPED_TRACE(c.label);
        c.call();
        EXPECT_FALSE(GetUpdateRect(host, nullptr, FALSE));
        EXPECT_EQ(0, host.Count(WM_ERASEBKGND));
    }
}

// The native list refuses to turn a virtual list into an ordinary one or back after creation;
// hiding LVS_NOSCROLL from it must not lose that refusal, or the check model would switch.
TEST_F(ListTest, OwnerDataCannotBeSwitchedAfterCreation)
{
    for (DWORD dwStyle : {kVirtualStyle, kOrdinaryStyle})
    {
        SCOPED_TRACE(dwStyle == kVirtualStyle ? "virtual" : "ordinary");
        ProbeList l;
        ASSERT_EQ(1, l.Create(host, dwStyle, nullptr, kListRect, kListId + 2));
        const LONG style = GetWindowLongW(l.GetSafeHwnd(), GWL_STYLE);
        const int bVirtual = l.IsVirtualList();
        SetWindowLongW(l.GetSafeHwnd(), GWL_STYLE, style ^ LVS_OWNERDATA);
        EXPECT_EQ(style, GetWindowLongW(l.GetSafeHwnd(), GWL_STYLE));
        EXPECT_EQ(bVirtual, l.IsVirtualList());
    }
}

// ---- Copies ----

TEST_F(ListTest, CopiesShareChecksAndFreeThePenOnce)
{
    const long before = StandInLiveObjects();
    {
        auto original = std::make_unique<ProbeList>();
        ProbeList early(*original); // copied before Create: shares the pen made later
        ASSERT_EQ(1, original->Create(host, kVirtualStyle, nullptr, kListRect, kListId));
        EXPECT_EQ(before + 1, StandInLiveObjects()) << "the separator pen";
        original->SetCheckBox(1);
        original->SetItemCount(4);
        {
            ProbeList copy(*original);
            ProbeList assigned;
            assigned = copy;
            copy.SetCheckStatus(2, 1);
            EXPECT_EQ(1, original->GetCheckStatus(2)) << "copies share the check words";
            EXPECT_EQ(1, assigned.GetCheckStatus(2));
            original->SetItemCount(2); // new words; the copies see them and their bounds
            EXPECT_EQ(0, copy.GetCheckStatus(2));
            copy.Destroy(); // destroys the shared window, frees nothing shared
            EXPECT_FALSE(IsWindow(original->GetSafeHwnd()));
            EXPECT_FALSE(IsWindow(BarOf(host)));
            EXPECT_EQ(before + 1, StandInLiveObjects());
        }
        original.reset();
        EXPECT_EQ(before + 1, StandInLiveObjects()) << "'early' still holds the pen";
    }
    EXPECT_EQ(before, StandInLiveObjects()) << "the pen is freed exactly once";
}

// Assignment over a list keeps the rule every control keeps (Assignment.h), for the list and
// its bar alike.
TEST_F(ListTest, AssignmentGivesUpTheTargetsOwnWindow)
{
    AssignmentRule<CNavListCtrl, ProbeList> rule;
    rule.make = [&](ProbeList& source, ProbeList& target) {
        ASSERT_EQ(1, source.Create(host, kVirtualStyle, nullptr, kListRect, kListId));
        ASSERT_EQ(1, target.Create(host, kVirtualStyle, nullptr, {320, 10, 620, 253},
                                   kListId + 3));
    };
    // The list and its bar.
    rule.ownWindows = [&](ProbeList& target) {
        return std::vector<HWND>{target.GetSafeHwnd(), GetDlgItem(host, kListId + 3 + 1001)};
    };
    rule.afterAssign = [&](ProbeList&, ProbeList&, bool) {
        EXPECT_EQ(1, ChildWindows(L"NavListView"));
        EXPECT_EQ(1, ChildWindows(L"NavScrollBar"));
    };
    // Lets go of the source's window without destroying it.
    rule.release = [](ProbeList&, ProbeList& copyOfTarget, bool) { copyOfTarget = ProbeList(); };
    rule.Check();
}

// ---- Show, move and the scroll bar's place ----

TEST_F(ListTest, ShowMoveAndEnableHScrollBarKeepTheBarBesideTheList)
{
    Make();
    HWND bar = BarOf(host);
    ASSERT_TRUE(IsWindow(bar));
    auto barRect = [&] {
        RECT rc;
        GetWindowRect(bar, &rc);
        MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    auto column0 = [&] { return (int)SendMessageW(Hwnd(), LVM_GETCOLUMNWIDTH, 0, 0); };
    EXPECT_EQ(RectText({270, 10, 310, 253}), RectText(barRect()));
    EXPECT_EQ(258, column0());

    list.Show(SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(Hwnd()));
    EXPECT_FALSE(IsWindowVisible(bar));
    list.EnableHScrollBar(0);
    EXPECT_EQ(298, column0());
    list.Show(SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(bar)) << "Show shows the bar whatever the flag says";

    list.EnableHScrollBar(0);
    EXPECT_EQ(1, list.MoveWindow(20, 30, 200, 150));
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_EQ(198, column0());
    EXPECT_EQ(RectText({180, 30, 220, 180}), RectText(barRect()));
    list.EnableHScrollBar(1);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(158, column0());
}

// The bar is the list's sibling: whoever destroys the list's window, the bar goes with it,
// and a later Create puts a new one beside the new place.
TEST_F(ListTest, TheBarGoesWithTheListWindowAndComesBackBesideTheNextOne)
{
    ASSERT_NO_FATAL_FAILURE(Make(kVirtualStyle, {10, 10, 210, 210}));
    HWND bar = BarOf(host);
    ASSERT_TRUE(IsWindow(bar));
    DestroyWindow(Hwnd());
    EXPECT_FALSE(IsWindow(bar)) << "no bar stays on screen without its list";
    EXPECT_EQ(0, ChildWindows(L"NavScrollBar"));

    ASSERT_NO_FATAL_FAILURE(Make(kVirtualStyle, {300, 250, 500, 450}));
    EXPECT_EQ(1, ChildWindows(L"NavScrollBar"));
    RECT rc;
    GetWindowRect(BarOf(host), &rc);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(RectText({460, 250, 500, 450}), RectText(rc));
    list.SetItemCount(20);
    list.EnsureVisible(19, FALSE);
    EXPECT_GT(list.GetScrollPos(), 0) << "the new bar serves the new list";
}

TEST_F(ListTest, SwitchesAndImageList)
{
    EXPECT_EQ(1, list.EnablePageScroll(0));
    EXPECT_EQ(0, list.EnablePageScroll(1));
    list.SetIsScrollPage(1);
    EXPECT_EQ(1, list.GetIsScrollPage());

    EXPECT_EQ(0, list.SetImageList(nullptr, nullptr, nullptr));
    SIZE size = {20, 20};
    EXPECT_EQ(1, list.SetImageList(nullptr, &size, [](HDC, RECT*, LVITEMW*) {}));
    EXPECT_EQ(20, list.m_sizeIcon.cx);

    HIMAGELIST hil = ImageList_Create(16, 12, ILC_COLOR24, 1, 1);
    EXPECT_EQ(1, list.SetImageList(hil, nullptr, nullptr));
    EXPECT_EQ(16, list.m_sizeIcon.cx);
    ImageList_Destroy(hil);

    DebugCapture debug;
    static BYTE s_notAnImageList[256];
    EXPECT_EQ(1, list.SetImageList(reinterpret_cast<HIMAGELIST>(s_notAnImageList), nullptr,
                                   nullptr));
    ASSERT_EQ(1u, debug.Lines().size());
    EXPECT_EQ(0u, debug.Lines()[0].find(L"ImageList_GetIconSize failed: "));
    EXPECT_EQ(16, list.m_sizeIcon.cx) << "size unchanged";
}

// ---- Painting ----

// A 16 x 16 image list with one solid red image.
struct RedImages
{
    HIMAGELIST hil = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
    RedImages()
    {
        HBITMAP hbm = MakeSolidBitmap(16, 16, RGB(255, 0, 0));
        ImageList_Add(hil, hbm, nullptr);
        DeleteObject(hbm);
    }
    ~RedImages() { ImageList_Destroy(hil); }
};

bool IsRed(COLORREF c)
{
    return ColorNear(c, RGB(255, 0, 0), 8);
}

TEST_F(ListTest, EveryPaintAsksTheParentForTheListAndEachUnselectedRow)
{
    Make();
    list.SetItemCount(20);
    Select(Hwnd(), 2);
    PumpMessages();
    host.Clear();
    PaintNow(Hwnd());
    const std::vector<RECT>& requests = host.BackgroundRequests();
    // The whole list, then rows 0..8 (row 8 shows one pixel) except the selected row 2.
    ASSERT_EQ(1u + 8u, requests.size());
    EXPECT_EQ(RectText(kListRect), RectText(requests[0]));
    for (int i : {0, 3})
    {
        RECT rc = host.drawRects[i];
        OffsetRect(&rc, 11, 11); // border and list position
        EXPECT_EQ(RectText(rc), RectText(requests[i == 0 ? 1 : 3])) << "row " << i;
    }
    EXPECT_EQ(30, requests[1].bottom - requests[1].top);
}

TEST_F(ListTest, UnselectedRowShowsParentBackgroundAndSeparatorLine)
{
    Make();
    list.SetItemCount(20);
    SendMessageW(Hwnd(), LVM_SETCOLUMNWIDTH, 0, 200); // the whole row clear of the scroll bar
    PaintNow(Hwnd());
    Pixels px = Pixels::FromWindow(Hwnd());
    // Client (x, y) of the list stands at parent (x + 11, y + 11).
    for (int y : {5, 20, 40, 65})
        EXPECT_TRUE(ColorNear(PatternAt(190 + 11, y + 11), px.At(190, y), 0))
            << y << ": " << ColorText(px.At(190, y));
    const RECT rc = host.drawRects[0];
    for (int x : {rc.left, rc.left + 100, rc.right - 1})
        EXPECT_EQ(RGB(0xC7, 0x92, 0x5D), px.At(x, 29)) << x; // 0x5D92C7 as a COLORREF
}

TEST_F(ListTest, SelectedRowIsTheNinePartBarWithoutSeparator)
{
    Make();
    list.SetItemCount(20);
    Select(Hwnd(), 1);
    SendMessageW(Hwnd(), LVM_SETCOLUMNWIDTH, 0, 200); // the whole row clear of the scroll bar
    PaintNow(Hwnd());
    Pixels px = Pixels::FromWindow(Hwnd());
    const RECT rc = host.drawRects[1];
    const int L = rc.left, T = rc.top, B = rc.bottom, R = rc.right;
    ASSERT_EQ(30, T);
    EXPECT_TRUE(ColorNear(RGB(0xCC, 0xE7, 0xFB), px.At(130, T + 15), 10))
        << ColorText(px.At(130, T + 15));
    EXPECT_TRUE(ColorNear(RGB(0xDF, 0xF1, 0xFE), px.At(130, T + 2), 14))
        << ColorText(px.At(130, T + 2));
    EXPECT_TRUE(ColorNear(RGB(0xB8, 0xDD, 0xF9), px.At(130, B - 3), 14))
        << ColorText(px.At(130, B - 3));
    EXPECT_TRUE(ColorNear(RGB(0x6B, 0xB2, 0xE8), px.At(L, T + 15), 12))
        << "left rim " << ColorText(px.At(L, T + 15));
    EXPECT_TRUE(ColorNear(RGB(0x6B, 0xB2, 0xE8), px.At(R - 1, T + 15), 12))
        << "right rim " << ColorText(px.At(R - 1, T + 15));
    for (POINT corner : {POINT{L, T}, POINT{R - 1, T}, POINT{L, B - 1}, POINT{R - 1, B - 1}})
        EXPECT_NE(RGB(0xFF, 0x00, 0xFF), px.At(corner.x, corner.y)) << "corners are keyed";
    EXPECT_NE(RGB(0xC7, 0x92, 0x5D), px.At(100, B - 1)) << "no bottom line";
}

TEST_F(ListTest, CheckBoxImageAndTextGeometry)
{
    RedImages images;
    host.image = 0;
    host.text = [](int, int) { return std::wstring(L"Text"); };
    Make();
    list.SetImageList(images.hil, nullptr, nullptr);
    list.SetCheckBox(1);
    list.SetItemCount(3);
    list.SetCheckStatus(1, 1);
    PaintNow(Hwnd());
    Pixels px = Pixels::FromWindow(Hwnd());
    const RECT rc = host.drawRects[1];
    const int L = rc.left, T = rc.top;

    RECT image = InkBox(px, {L, T, rc.right, T + 30}, IsRed);
    EXPECT_EQ(RectText({L + 31, T + 3, L + 47, T + 19}), RectText(image));

    // The check box: the row unchecked differs from the row checked only inside the box.
    list.SetCheckStatus(1, 0);
    PaintNow(Hwnd());
    Pixels unchecked = Pixels::FromWindow(Hwnd());
    RECT diff = InkBox(px, {0, T, rc.right, T + 30}, [&](COLORREF) { return false; });
    for (int y = T; y < T + 30; ++y)
        for (int x = 0; x < rc.right; ++x)
            if (px.At(x, y) != unchecked.At(x, y))
            {
                const RECT pixel = {x, y, x + 1, y + 1};
                UnionRect(&diff, &diff, &pixel);
            }
    EXPECT_FALSE(IsRectEmpty(&diff)) << "checked and unchecked rows differ";
    EXPECT_GE(diff.left, L);
    EXPECT_LE(diff.right, L + 31) << "the tick lies inside the check box " << RectText(diff);
    EXPECT_GE(diff.top, T + 2);

    RECT text = InkBox(px, {L + 48, T, rc.right, T + 29}, IsDark);
    EXPECT_GE(text.left, L + 49) << RectText(text);
    EXPECT_LT(text.left, L + 53) << RectText(text);
    EXPECT_LE(text.right, rc.right - 2);
}

TEST_F(ListTest, LineFeedSplitsTheCellIntoTwoHalves)
{
    host.text = [](int, int) { return std::wstring(L"AB\nCD"); };
    Make();
    list.SetItemCount(2);
    PaintNow(Hwnd());
    Pixels px = Pixels::FromWindow(Hwnd());
    RECT upper = InkBox(px, {0, 0, 258, 15}, IsDark);
    RECT lower = InkBox(px, {0, 15, 258, 29}, IsDark);
    ASSERT_FALSE(IsRectEmpty(&upper));
    ASSERT_FALSE(IsRectEmpty(&lower));
    EXPECT_GT(upper.top, 0);
    EXPECT_LT(upper.bottom, 15) << "the first line stays in pixels 0..14";
    EXPECT_GT(lower.top, 15);
    // Each line is centred in its half: the same margins above both.
    EXPECT_NEAR(upper.top, lower.top - 15, 1);
    EXPECT_LT(upper.right - upper.left, 30) << "two letters, not the whole cell text";
}

namespace
{
// Leaves the stack below the caller's frame, where a paint's frames will lie, full of 'l'.
__attribute__((noinline)) void FillStackBelow()
{
    volatile wchar_t fill[16384];
    for (wchar_t& c : const_cast<wchar_t(&)[16384]>(fill))
        c = L'l';
}
} // namespace

TEST_F(ListTest, ACellFillingTheWholeBufferWithoutEndShowsItsFirst63Characters)
{
    // Row 0's parent copies with wcsncpy: all of cchTextMax, no terminator. Row 1 answers the
    // same 63 characters, terminated.
    auto answer = host.hook;
    host.hook = [answer](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
        NMLVDISPINFOW* pInfo = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if (msg == WM_NOTIFY && pInfo->hdr.code == LVN_GETDISPINFOW && pInfo->item.iItem == 0 &&
            (pInfo->item.mask & LVIF_TEXT) && pInfo->item.pszText)
        {
            wcsncpy(pInfo->item.pszText, std::wstring(200, L'l').c_str(),
                    static_cast<size_t>(pInfo->item.cchTextMax));
            *pResult = 0;
            return true;
        }
        return answer(msg, wParam, lParam, pResult);
    };
    host.text = [](int, int subItem) { return subItem ? L"" : std::wstring(63, L'l'); };
    Make();
    list.SetItemCount(2);
    FillStackBelow();
    PaintNow(Hwnd());
    Pixels px = Pixels::FromWindow(Hwnd());
    const RECT row0 = InkBox(px, {0, 0, 300, 29}, IsDark);
    const RECT row1 = InkBox(px, {0, 30, 300, 59}, IsDark);
    ASSERT_FALSE(IsRectEmpty(&row1));
    EXPECT_EQ(row1.right, row0.right) << RectText(row0) << " against " << RectText(row1);
}

TEST_F(ListTest, ColumnsAlignAndSeparate)
{
    host.text = [](int, int sub) {
        return sub == 1 ? std::wstring(L"II") : sub == 2 ? std::wstring() : std::wstring(L"I");
    };
    Make();
    SendMessageW(Hwnd(), LVM_SETCOLUMNWIDTH, 0, 100);
    LVCOLUMNW col = {};
    col.mask = LVCF_FMT | LVCF_WIDTH;
    col.fmt = LVCFMT_RIGHT;
    col.cx = 80;
    SendMessageW(Hwnd(), LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&col));
    col.fmt = LVCFMT_LEFT;
    col.cx = 40;
    SendMessageW(Hwnd(), LVM_INSERTCOLUMNW, 2, reinterpret_cast<LPARAM>(&col));
    list.SetItemCount(2);
    PaintNow(Hwnd());
    Pixels px = Pixels::FromWindow(Hwnd());
    const COLORREF line = RGB(0xC7, 0x92, 0x5D);
    const int L = host.drawRects[0].left;
    // Column 0's text runs from L + 1 to L + 101; column 1 (with text) starts after a line at
    // L + 101 and ends at L + 181; column 2 (empty) draws its line at L + 181 - 1.
    EXPECT_EQ(line, px.At(L + 101, 10));
    EXPECT_EQ(line, px.At(L + 180, 10));
    EXPECT_NE(line, px.At(L + 181, 10));
    RECT text1 = InkBox(px, {L + 102, 0, L + 180, 28}, IsDark);
    EXPECT_GE(text1.left, L + 160) << "right-aligned " << RectText(text1);
    EXPECT_LE(text1.right, L + 181);

    // The rows keep the columns between paints; each change shows at the next paint.
    SendMessageW(Hwnd(), LVM_SETCOLUMNWIDTH, 1, 60);
    PaintNow(Hwnd());
    px = Pixels::FromWindow(Hwnd());
    EXPECT_EQ(line, px.At(L + 160, 10)) << "column 2's line after column 1 narrowed";
    EXPECT_NE(line, px.At(L + 180, 10));
    col.mask = LVCF_FMT;
    col.fmt = LVCFMT_LEFT;
    SendMessageW(Hwnd(), LVM_SETCOLUMNW, 1, reinterpret_cast<LPARAM>(&col));
    SendMessageW(Hwnd(), LVM_DELETECOLUMN, 2, 0);
    PaintNow(Hwnd());
    px = Pixels::FromWindow(Hwnd());
    EXPECT_NE(line, px.At(L + 160, 10)) << "column 2 deleted";
    text1 = InkBox(px, {L + 102, 0, L + 161, 28}, IsDark);
    EXPECT_LE(text1.left, L + 110) << "left-aligned " << RectText(text1);
}

// More columns than the list keeps between rows: each row asks for them all itself.
TEST_F(ListTest, EveryColumnOfAManyColumnedListSeparates)
{
    host.text = [](int, int sub) { return sub ? std::wstring() : std::wstring(L"I"); };
    Make();
    SendMessageW(Hwnd(), LVM_SETCOLUMNWIDTH, 0, 40);
    LVCOLUMNW col = {};
    col.mask = LVCF_FMT | LVCF_WIDTH;
    col.fmt = LVCFMT_LEFT;
    col.cx = 16;
    const int nColumns = 10;
    for (int i = 1; i < nColumns; ++i)
        SendMessageW(Hwnd(), LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
    list.SetItemCount(1);
    PaintNow(Hwnd());
    Pixels px = Pixels::FromWindow(Hwnd());
    const int L = host.drawRects[0].left;
    // An empty column draws its line one pixel left of where the previous column's text ends.
    for (int i = 1; i < nColumns; ++i)
        EXPECT_EQ(RGB(0xC7, 0x92, 0x5D), px.At(L + 40 + 16 * (i - 1), 10)) << "column " << i;
}

TEST_F(ListTest, NoGdiObjectSurvivesPaintsOrScrollingSteps)
{
    RedImages images;
    host.image = 0;
    host.text = [](int, int) { return std::wstring(L"A text far too wide for this row to show"); };
    Make(kVirtualStyle, {10, 10, 210, 253});
    list.SetImageList(images.hil, nullptr, nullptr);
    list.SetCheckBox(1);
    list.EnableSelectHScroll(1);
    list.SetItemCount(50);
    Select(Hwnd(), 1);
    const long before = StandInLiveObjects();
    for (int i = 0; i < 3000; ++i)
    {
        PaintNow(Hwnd());
        SendMessageW(Hwnd(), WM_TIMER, 1, 0);
    }
    EXPECT_EQ(before, StandInLiveObjects());
    HPEN hPen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_NE(nullptr, hPen) << "GDI handles are not exhausted";
    DeleteObject(hPen);
}

// A row image callback that leaves the DC changed, as a careless application's may.
void CarelessRowImage(HDC hdc, RECT* prc, LVITEMW*)
{
    SelectObject(hdc, GetStockObject(DKGRAY_BRUSH));
    SetBkMode(hdc, OPAQUE);
    IntersectClipRect(hdc, prc->left, prc->top, prc->right, prc->bottom);
}

TEST_F(ListTest, RowDrawingHandsTheDcBackUnchanged)
{
    Make();
    list.SetCheckBox(1);
    list.SetItemCount(3);
    HDC hdc = GetDC(Hwnd());
    const DcState before = MarkCallerDc(hdc);
    for (DrawItemProc pfnImage : {static_cast<DrawItemProc>(nullptr), &CarelessRowImage})
    {
        SCOPED_TRACE(pfnImage ? "a careless image callback" : "no images");
        list.SetImageList(nullptr, nullptr, pfnImage);
        for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED)})
        {
            DRAWITEMSTRUCT dis = {};
            dis.CtlType = ODT_LISTVIEW;
            dis.itemID = 1;
            dis.itemState = state;
            dis.hwndItem = Hwnd();
            dis.hDC = hdc;
            dis.rcItem = RowRect(Hwnd(), 1);
            EXPECT_EQ(1,
                      SendMessageW(Hwnd(), WM_DRAWITEM, kListId, reinterpret_cast<LPARAM>(&dis)));
            EXPECT_EQ("", before.Changes(hdc));
        }
    }
    ReleaseDC(Hwnd(), hdc);
}

// ---- Taps ----

struct TapCase
{
    const char* label;
    BOOL bSelChecked;
    int x, dy; // dy below the row's top
    bool toggles;
};

TEST_F(ListTest, TapsToggleChecksOnlyInsideTheZone)
{
    host.measureItemHeight = 40; // rows taller than the 34-pixel zone
    const TapCase cases[] = {
        {"x 29 in zone", FALSE, 29, 5, true},       {"x 30 outside", FALSE, 30, 5, false},
        {"y top+33 in zone", FALSE, 5, 33, true},   {"y top+34 outside", FALSE, 5, 34, false},
        {"whole row when SelChecked", TRUE, 200, 38, true},
    };
    for (DWORD dwStyle : {kVirtualStyle, kOrdinaryStyle})
        for (const TapCase& c : cases)
        {
            SCOPED_TRACE(std::string(c.label) + (dwStyle == kVirtualStyle ? " virtual" : " ordinary"));
            ProbeList l;
            ASSERT_TRUE(MakeWithRows(l, dwStyle, 4));
            l.SetCheckBox(1);
            l.SetSelChecked(c.bSelChecked);
            RECT rc = RowRect(l.GetSafeHwnd(), 2);
            ASSERT_EQ(40, rc.bottom - rc.top);
            host.checkChanges.clear();
            SendTap(l.GetSafeHwnd(), c.x, rc.top + c.dy);
            PumpMessages();
            EXPECT_EQ(c.toggles ? 1 : 0, l.GetCheckStatus(2));
            const std::vector<std::pair<int, bool>> heard = {{2, true}};
            EXPECT_EQ(c.toggles ? heard : decltype(heard)(), host.checkChanges)
                << "the parent hears each check change, and only those";
            EXPECT_EQ(0, l.GetCheckStatus(1));
            EXPECT_EQ(0, l.GetCheckStatus(3));
            EXPECT_EQ(2, l.GetNextItem(-1, LVNI_SELECTED)) << "the native list selects the row";
        }
}

TEST_F(ListTest, TwoTapsOnASelectedRowRepaintItEachTimeAndRestoreTheCheck)
{
    Make();
    list.SetItemCount(5);
    list.SetCheckBox(1);
    SendTap(Hwnd(), 10, 35);
    PumpMessages();
    ASSERT_EQ(1, list.GetCheckStatus(1));
    for (int expected : {0, 1})
    {
        host.Clear();
        SendPenDown(Hwnd(), 10, 35);
        EXPECT_GE(host.Count(WM_DRAWITEM), 1) << "repainted at once, before the pen is up";
        SendPenUp(Hwnd(), 10, 35);
        PumpMessages();
        EXPECT_EQ(expected, list.GetCheckStatus(1));
    }
}

// The space bar toggles the selected row's check as a tap in its check zone does: the row is
// repainted at once and the parent hears of the new state image, from either kind of list. A
// held key toggles once; without check boxes or without a selected row nothing changes.
TEST_F(ListTest, SpaceTogglesTheSelectedRowsCheckAsATapInTheZone)
{
    struct Case
    {
        const char* label;
        DWORD dwStyle;
        BOOL bCheckBox;
        bool bSelect;
        LPARAM lKeyData;
        int expected;
    } cases[] = {
        {"virtual", kVirtualStyle, TRUE, true, 1, 1},
        {"ordinary", kOrdinaryStyle, TRUE, true, 1, 1},
        {"repeat of a held key", kVirtualStyle, TRUE, true, 1 | (1 << 30), 0},
        {"no check boxes", kOrdinaryStyle, FALSE, true, 1, 0},
        {"no selected row", kVirtualStyle, TRUE, false, 1, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        ProbeList l;
        ASSERT_TRUE(MakeWithRows(l, c.dwStyle, 4));
        l.SetCheckBox(c.bCheckBox);
        if (c.bSelect)
            Select(l.GetSafeHwnd(), 2);
        PumpMessages();
        host.Clear();
        host.checkChanges.clear();
        SendMessageW(l.GetSafeHwnd(), WM_KEYDOWN, VK_SPACE, c.lKeyData);
        const int nDrawn = host.Count(WM_DRAWITEM);
        SendMessageW(l.GetSafeHwnd(), WM_KEYUP, VK_SPACE, c.lKeyData | (3u << 30));
        PumpMessages();
        EXPECT_EQ(c.expected, l.GetCheckStatus(2));
        EXPECT_EQ(0, l.GetCheckStatus(1));
        if (!c.expected)
        {
            EXPECT_TRUE(host.checkChanges.empty());
            continue;
        }
        EXPECT_GE(nDrawn, 1) << "repainted at once";
        SendMessageW(l.GetSafeHwnd(), WM_KEYDOWN, VK_SPACE, 1);
        EXPECT_EQ(0, l.GetCheckStatus(2)) << "a second press takes the check off";
        const std::vector<std::pair<int, bool>> heard = {{2, true}, {2, false}};
        EXPECT_EQ(heard, host.checkChanges) << "the parent hears both changes";
    }
}

TEST_F(ListTest, ATapOutsideEveryRowChangesNothing)
{
    Make();
    list.SetItemCount(2);
    list.SetCheckBox(1);
    list.SetSelChecked(1);
    list.EnableSelectHScroll(1);
    SendTap(Hwnd(), 10, 200);
    PumpMessages();
    EXPECT_EQ(0, list.GetCheckStatus(0));
    EXPECT_EQ(0, list.GetCheckStatus(1));
    EXPECT_FALSE(KillTimer(Hwnd(), 1)) << "no timer was started";
}

TEST_F(ListTest, EveryTimerIsSwallowed)
{
    Make();
    for (WPARAM id : {WPARAM(1), WPARAM(2), WPARAM(77)})
        EXPECT_EQ(0, SendMessageW(Hwnd(), WM_TIMER, id, 0)) << id;
}

// ---- Selected-row text scrolling ----

struct ScrollTextTest : ListTest
{
    std::wstring rowText[3] = {L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", L"Hi",
                               L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"};
    void SetUp() override
    {
        host.text = [this](int row, int) { return rowText[row % 3]; };
        Make(kVirtualStyle, {10, 10, 210, 253});
        list.SetItemCount(9);
        list.EnableSelectHScroll(1);
    }
    void Tick() { SendMessageW(Hwnd(), WM_TIMER, 1, 0); }
    void Key(WPARAM vk)
    {
        SendMessageW(Hwnd(), WM_KEYDOWN, vk, 0);
        SendMessageW(Hwnd(), WM_KEYUP, vk, 0);
        PumpMessages();
    }
};

TEST_F(ScrollTextTest, EnablingAloneStartsNothing)
{
    EXPECT_FALSE(KillTimer(Hwnd(), 1));
}

TEST_F(ScrollTextTest, OffsetsCycleOneByOneThenWrapToTheFullText)
{
    SendTap(Hwnd(), 100, 10);
    PumpMessages();
    EXPECT_EQ(0, list.m_nScrollChar);
    const int n = static_cast<int>(rowText[0].size());
    for (int step = 1; step <= n + 1; ++step)
    {
        Tick();
        ASSERT_EQ(step % n, list.m_nScrollChar) << "step " << step;
    }
    EXPECT_TRUE(KillTimer(Hwnd(), 1)) << "the tap started timer 1";
}

TEST_F(ScrollTextTest, AStepDrawsTheBarOverTheImageButNoImage)
{
    RedImages images;
    host.image = 0;
    list.SetImageList(images.hil, nullptr, nullptr);
    SendTap(Hwnd(), 100, 10);
    PaintNow(Hwnd());
    // Inside the bar's keyed corners, which show what lay beneath.
    const RECT rc = host.drawRects[0];
    const RECT inner = {rc.left + 6, rc.top + 6, rc.right - 6, rc.bottom - 6};
    Pixels painted = Pixels::FromWindow(Hwnd());
    RECT before = InkBox(painted, inner, IsRed);
    ASSERT_FALSE(IsRectEmpty(&before));
    Tick();
    Pixels px = Pixels::FromWindow(Hwnd());
    RECT after = InkBox(px, inner, IsRed);
    EXPECT_TRUE(IsRectEmpty(&after)) << "the shifted text runs over the image";
    EXPECT_EQ(painted.At(rc.right - 10, rc.top + 3), px.At(rc.right - 10, rc.top + 3))
        << "the same selection bar as a painted selected row";
}

// In its column, a step keeps the row: the image, the separator and the other column stay,
// and the text scrolls when it does not fit column 0, though it would fit the whole row, where
// the default step finds that it fits and stops.
TEST_F(ScrollTextTest, InItsColumnAStepKeepsTheRowAndMeasuresTheColumn)
{
    RedImages images;
    host.image = 0;
    list.SetImageList(images.hil, nullptr, nullptr);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 110;
    SendMessageW(Hwnd(), LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    SendMessageW(Hwnd(), LVM_SETCOLUMNWIDTH, 0, 60);
    // A text wider than column 0's 60 pixels, narrower than the row less the image.
    rowText[0] = L"";
    {
        HDC hdc = GetDC(Hwnd());
        HGDIOBJ hOld = SelectObject(hdc, reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0)));
        SIZE size = {};
        while (size.cx <= 80)
        {
            rowText[0] += L'W';
            GetTextExtentPoint32W(hdc, rowText[0].c_str(), static_cast<int>(rowText[0].size()),
                                  &size);
        }
        SelectObject(hdc, hOld);
        ReleaseDC(Hwnd(), hdc);
        ASSERT_LT(size.cx, 150);
    }
    host.text = [this](int row, int subItem) {
        return subItem ? std::wstring(L"WW") : rowText[row % 3];
    };
    list.EnableSelectHScrollInColumn(1);
    SendTap(Hwnd(), 100, 10);
    PaintNow(Hwnd());
    const RECT rc = host.drawRects[0];
    const RECT inner = {rc.left + 6, rc.top + 6, rc.right - 6, rc.bottom - 6};
    const Pixels painted = Pixels::FromWindow(Hwnd());
    Tick();
    EXPECT_EQ(1, list.m_nScrollChar) << "too wide for column 0";
    const Pixels px = Pixels::FromWindow(Hwnd());
    const RECT imageBefore = InkBox(painted, inner, IsRed);
    const RECT imageAfter = InkBox(px, inner, IsRed);
    ASSERT_FALSE(IsRectEmpty(&imageBefore));
    EXPECT_TRUE(EqualRect(&imageBefore, &imageAfter)) << "the image stays";
    // Column 1: from column 0's right edge to the row's.
    const int x1 = rc.left + 17 + 1 + 60;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = x1; x < rc.right - 6; ++x)
            ASSERT_EQ(painted.At(x, y), px.At(x, y)) << "column 1 and its separator stay, at "
                                                      << x << "," << y;

    list.EnableSelectHScrollInColumn(0);
    SendTap(Hwnd(), 100, 10);
    Tick();
    EXPECT_EQ(0, list.m_nScrollChar) << "the default step measures the whole row";
    EXPECT_FALSE(KillTimer(Hwnd(), 1));
}

TEST_F(ScrollTextTest, AFittingTextKillsTheTimerAndKeysDoNotRestartIt)
{
    SendTap(Hwnd(), 100, 10); // row 0, too wide
    Tick();
    Tick();
    EXPECT_EQ(2, list.m_nScrollChar);
    Key(VK_DOWN); // row 1, "Hi" fits
    EXPECT_EQ(2, list.m_nScrollChar) << "keys do not reset the offset";
    Tick();
    EXPECT_FALSE(KillTimer(Hwnd(), 1)) << "a fitting text stops the timer";
    EXPECT_EQ(2, list.m_nScrollChar);
    Key(VK_DOWN); // row 2, too wide again, but nothing runs
    EXPECT_FALSE(KillTimer(Hwnd(), 1)) << "keys do not restart it";
    Tick(); // a tick that arrives anyway takes the old offset + 1 to the new row
    EXPECT_EQ(3, list.m_nScrollChar);
}

TEST_F(ScrollTextTest, TapAgainRestartsTheCycleAndDeleteAllStopsIt)
{
    SendTap(Hwnd(), 100, 10);
    Tick();
    Tick();
    Tick();
    SendTap(Hwnd(), 100, 10);
    EXPECT_EQ(0, list.m_nScrollChar);
    Tick();
    EXPECT_EQ(1, list.m_nScrollChar);
    list.DeleteAllItems();
    EXPECT_EQ(0, list.m_nScrollChar);
    EXPECT_FALSE(KillTimer(Hwnd(), 1));
    EXPECT_EQ(1, list.m_bSelectHScroll) << "armed again";
}

TEST_F(ScrollTextTest, NoSelectedRowDrawsNothingAndKeepsTheTimer)
{
    SendTap(Hwnd(), 100, 10);
    Select(Hwnd(), 0);
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Hwnd(), LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&item));
    Tick();
    EXPECT_EQ(0, list.m_nScrollChar);
    EXPECT_TRUE(KillTimer(Hwnd(), 1));
}

// A repaint of the list leaves the scroll bar standing over its right edge untouched: the list
// clips its siblings.
TEST(ListPaint, RepaintLeavesItsBarAlone)
{
    TestHost host;
    CNavListCtrl list;
    RECT rc = {10, 10, 310, 280};
    ASSERT_TRUE(list.Create(host, WS_VISIBLE | WS_BORDER, GetModuleHandleW(nullptr), rc, kListId));
    for (int i = 0; i < 20; ++i)
        list.InsertItem(i, const_cast<wchar_t*>(L"A row text long enough to reach the bar"), -1, 0);
    list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(list.GetSafeHwnd(), LVM_SETCOLUMNWIDTH, 0, 600); // rows run under the bar
    PaintNow(list.GetSafeHwnd());
    PaintNow(GetDlgItem(host, kBarId)); // the bar, over the list
    HDC hdc = GetDC(host);
    const RECT rcBar = {rc.right - 40, rc.top, rc.right, rc.bottom};
    Pixels before = Pixels::FromDC(hdc, rcBar.left, rcBar.top, 40, rcBar.bottom - rcBar.top);
    PaintNow(list.GetSafeHwnd());
    Pixels after = Pixels::FromDC(hdc, rcBar.left, rcBar.top, 40, rcBar.bottom - rcBar.top);
    ReleaseDC(host, hdc);
    EXPECT_EQ(before.Raw(), after.Raw());
}

} // namespace

// ---- Check changes told as the native list with check boxes tells them ----

namespace
{
// One notification the parent heard: its code, row and, for the state changes, the row's whole
// state after and before.
struct Notice
{
    UINT code;
    int item;
    UINT newState, oldState;
    bool operator==(const Notice& o) const
    {
        return code == o.code && item == o.item && newState == o.newState &&
               oldState == o.oldState;
    }
};

std::string NoticesText(const std::vector<Notice>& notices)
{
    std::ostringstream os;
    for (const Notice& n : notices)
    {
        const char* name = n.code == NM_CLICK          ? "NM_CLICK"
                           : n.code == LVN_KEYDOWN     ? "LVN_KEYDOWN"
                           : n.code == LVN_ITEMCHANGING ? "LVN_ITEMCHANGING"
                                                        : "LVN_ITEMCHANGED";
        os << "  " << name << " row " << n.item << std::hex << " new 0x" << n.newState
           << " old 0x" << n.oldState << std::dec << "\n";
    }
    return os.str();
}

// Records what a tap or the space bar tells the parent, and keeps a parent's check states for a
// list whose callback mask holds the state-image bits.
struct NoticeRecorder
{
    std::vector<Notice> heard;
    std::map<int, UINT> parentStates; // state image by row, for a list asking the parent
    UINT allRows = INDEXTOSTATEIMAGEMASK(1); // ... of every row not in the map
    bool bRefuse = false;                    // answer LVN_ITEMCHANGING with a refusal

    void Attach(ListHost& host)
    {
        auto rows = host.hook;
        host.hook = [this, rows](UINT msg, WPARAM w, LPARAM l, LRESULT* pResult) {
            if (msg != WM_NOTIFY)
                return rows(msg, w, l, pResult);
            const NMLISTVIEW* pnm = reinterpret_cast<const NMLISTVIEW*>(l);
            const UINT code = pnm->hdr.code;
            if (code == NM_CLICK)
                heard.push_back({code, pnm->iItem, 0, 0});
            else if (code == LVN_KEYDOWN)
                heard.push_back({code, -1, 0, 0});
            else if (code == LVN_ITEMCHANGING || code == LVN_ITEMCHANGED)
                heard.push_back({code, pnm->iItem, pnm->uNewState, pnm->uOldState});
            if (code == LVN_ITEMCHANGING && bRefuse)
            {
                *pResult = TRUE;
                return true;
            }
            if (code == LVN_ITEMCHANGED && (pnm->uNewState & LVIS_STATEIMAGEMASK))
            {
                if (pnm->iItem == -1)
                    parentStates.clear(), allRows = pnm->uNewState & LVIS_STATEIMAGEMASK;
                else
                    parentStates[pnm->iItem] = pnm->uNewState & LVIS_STATEIMAGEMASK;
            }
            NMLVDISPINFOW* pInfo = reinterpret_cast<NMLVDISPINFOW*>(l);
            if (code == LVN_GETDISPINFOW && (pInfo->item.mask & LVIF_STATE))
                pInfo->item.state = parentStates.count(pInfo->item.iItem)
                                        ? parentStates[pInfo->item.iItem]
                                        : allRows;
            return rows(msg, w, l, pResult);
        };
    }
};

enum class TwinAction
{
    TapBoxOfSelected,
    TapBoxOfUnselected,
    Space,
};

// Row 2 selected; a tap on row 2's box (row 3's when it is the unselected one), or the space
// bar.
void Act(HWND hwnd, TwinAction action)
{
    const RECT rc = RowRect(hwnd, action == TwinAction::TapBoxOfUnselected ? 3 : 2);
    if (action != TwinAction::Space)
    {
        SendTap(hwnd, 8, (rc.top + rc.bottom) / 2);
        PumpMessages();
        return;
    }
    SetFocus(hwnd);
    PumpMessages();
    SendMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 1);
    SendMessageW(hwnd, WM_CHAR, L' ', 1);
    SendMessageW(hwnd, WM_KEYUP, VK_SPACE, 1 | (3u << 30));
    PumpMessages();
}
} // namespace

// A tap on a check box and the space bar tell the parent what the native list with
// LVS_EX_CHECKBOXES tells it, in its order and with its states (the whole state of the row,
// selection bits included), from each kind of list: NM_CLICK or LVN_KEYDOWN first, then
// LVN_ITEMCHANGING and LVN_ITEMCHANGED. A tap on the box of the row already selected changes
// its check alone. Where the lists differ by design:
// - a tap on the box of a row that is not selected selects it first (the native list leaves
//   the selection), with the notifications of any tap; then come the native list's three, the
//   row now selected;
// - the native list passes the space bar on to its keyboard selection, which asks about the row
//   it already selected (an LVN_ITEMCHANGING that changes nothing); the list keeps the key.
// The native owner-data list tells of no check change at all; both kinds of list follow the
// ordinary one.
TEST(ListTwin, CheckChangesAreToldAsByTheNativeListWithCheckBoxes)
{
    struct Kind
    {
        const char* label;
        DWORD dwStyle;
        bool bParentKeepsChecks;
    } kinds[] = {
        {"ordinary", kOrdinaryStyle, false},
        {"virtual", kVirtualStyle, false},
        {"virtual, checks kept by the parent", kVirtualStyle, true},
    };
    struct Case
    {
        const char* label;
        TwinAction action;
    } cases[] = {
        {"tap on the box of the selected row", TwinAction::TapBoxOfSelected},
        {"tap on the box of an unselected row", TwinAction::TapBoxOfUnselected},
        {"space bar", TwinAction::Space},
    };
    const UINT kSelection = LVIS_SELECTED | LVIS_FOCUSED;
    for (const Case& c : cases)
    {
        // The native twin: a report list with check boxes, four rows, row 2 selected.
        ListHost nativeHost;
        NoticeRecorder native;
        native.Attach(nativeHost);
        HWND hwndNative = CreateWindowExW(
            0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL |
                                      LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
            10, 10, 300, 243, nativeHost, reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
        SendMessageW(hwndNative, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES,
                     LVS_EX_CHECKBOXES);
        LVCOLUMNW column = {};
        column.mask = LVCF_WIDTH;
        column.cx = 200;
        SendMessageW(hwndNative, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        for (int i = 0; i < 4; ++i)
        {
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<wchar_t*>(L"x");
            SendMessageW(hwndNative, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
        Select(hwndNative, 2);
        PumpMessages();
        native.heard.clear();
        Act(hwndNative, c.action);
        std::vector<Notice> expected = native.heard;
        if (c.action == TwinAction::Space)
            expected.erase(std::remove_if(expected.begin(), expected.end(),
                                          [](const Notice& n) {
                                              return n.code == LVN_ITEMCHANGING &&
                                                     n.newState == n.oldState;
                                          }),
                           expected.end());
        if (c.action == TwinAction::TapBoxOfUnselected)
            for (Notice& n : expected)
                if (n.code != NM_CLICK)
                    n.newState |= kSelection, n.oldState |= kSelection;
        ASSERT_EQ(3u, expected.size()) << c.label << "\n" << NoticesText(native.heard);

        for (const Kind& k : kinds)
        {
            SCOPED_TRACE(std::string(c.label) + ", " + k.label);
            ListHost host;
            NoticeRecorder ours;
            ours.Attach(host);
            ProbeList l;
            ASSERT_EQ(1, l.Create(host, k.dwStyle, nullptr, kListRect, kListId));
            if (k.bParentKeepsChecks)
                SendMessageW(l.GetSafeHwnd(), LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
            if (k.dwStyle == kVirtualStyle)
                l.SetItemCount(4);
            else
                for (int i = 0; i < 4; ++i)
                    l.InsertItem(i, const_cast<wchar_t*>(L"x"), -1, 0);
            l.SetCheckBox(1);
            if (!k.bParentKeepsChecks)
                l.SetCheckOff(); // state image 1 on every row, as the native list's
            Select(l.GetSafeHwnd(), 2);
            PumpMessages();
            ours.heard.clear();
            Act(l.GetSafeHwnd(), c.action);

            std::vector<Notice> heard = ours.heard;
            if (c.action == TwinAction::TapBoxOfUnselected)
            {
                // The selection first: no check changes there.
                auto click = std::find_if(heard.begin(), heard.end(),
                                          [](const Notice& n) { return n.code == NM_CLICK; });
                for (auto it = heard.begin(); it != click; ++it)
                    EXPECT_EQ(0u, (it->newState ^ it->oldState) & LVIS_STATEIMAGEMASK)
                        << NoticesText(ours.heard);
                heard.erase(heard.begin(), click);
            }
            EXPECT_EQ(expected, heard) << "expected (the native list's):\n"
                                       << NoticesText(expected) << "heard:\n"
                                       << NoticesText(ours.heard);
            const int row = c.action == TwinAction::TapBoxOfUnselected ? 3 : 2;
            EXPECT_EQ(1, l.GetCheckStatus(row));
            EXPECT_EQ(row, l.GetNextItem(-1, LVNI_SELECTED));
        }
        DestroyWindow(hwndNative);
    }
}

// With the state-image bits in its callback mask, a virtual list keeps no check: it asks the
// parent for each row's (GetCheckStatus, painting), keeps what the parent answers across
// SetItemCount, and tells the parent of every change, its own calls included (every row at
// once as row -1); a refused LVN_ITEMCHANGING leaves the check as it was.
TEST(ListParentChecks, TheParentKeepsTheChecksWhenTheCallbackMaskSaysSo)
{
    ListHost host;
    NoticeRecorder parent;
    parent.Attach(host);
    ProbeList l;
    ASSERT_EQ(1, l.Create(host, kVirtualStyle, nullptr, kListRect, kListId));
    SendMessageW(l.GetSafeHwnd(), LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    EXPECT_EQ(LVIS_STATEIMAGEMASK, SendMessageW(l.GetSafeHwnd(), LVM_GETCALLBACKMASK, 0, 0));
    l.SetCheckBox(1);
    l.SetItemCount(5);
    parent.parentStates[3] = INDEXTOSTATEIMAGEMASK(2);
    l.SetItemCount(5);
    EXPECT_EQ(1, l.GetCheckStatus(3)) << "the parent's answer, kept across SetItemCount";
    EXPECT_EQ(0, l.GetCheckStatus(2));
    // Read as an ordinary list's state image (the test kit's ListRowChecked), from the parent
    // here and from the list's own check states without the mask.
    EXPECT_TRUE(ListRowChecked(l.GetSafeHwnd(), 3));
    EXPECT_FALSE(ListRowChecked(l.GetSafeHwnd(), 2));
    {
        ProbeList own;
        ASSERT_EQ(1, own.Create(host, kVirtualStyle, nullptr, kListRect, kListId + 1));
        own.SetCheckBox(1);
        own.SetItemCount(3);
        own.SetCheckStatus(1, 1);
        EXPECT_TRUE(ListRowChecked(own.GetSafeHwnd(), 1));
        EXPECT_FALSE(ListRowChecked(own.GetSafeHwnd(), 0));
    }

    PaintNow(l.GetSafeHwnd());
    const Pixels px = Pixels::FromWindow(l.GetSafeHwnd());
    auto box = [&px, &l](int row) {
        const RECT rc = RowRect(l.GetSafeHwnd(), row);
        std::vector<COLORREF> v;
        for (int y = rc.top + 4; y < rc.top + 30; ++y)
            for (int x = rc.left + 4; x < rc.left + 28; ++x)
                v.push_back(px.At(x, y));
        return v;
    };
    EXPECT_NE(box(2), box(3)) << "row 3 painted checked, row 2 not";
    EXPECT_EQ(box(2), box(4));

    parent.heard.clear();
    l.SetCheckStatus(2, 1);
    const std::vector<Notice> one = {
        {LVN_ITEMCHANGING, 2, INDEXTOSTATEIMAGEMASK(2), INDEXTOSTATEIMAGEMASK(1)},
        {LVN_ITEMCHANGED, 2, INDEXTOSTATEIMAGEMASK(2), INDEXTOSTATEIMAGEMASK(1)}};
    EXPECT_EQ(one, parent.heard) << NoticesText(parent.heard);
    EXPECT_EQ(1, l.GetCheckStatus(2));

    parent.heard.clear();
    l.SetCheckOff();
    const std::vector<Notice> all = {{LVN_ITEMCHANGING, -1, INDEXTOSTATEIMAGEMASK(1), 0},
                                     {LVN_ITEMCHANGED, -1, INDEXTOSTATEIMAGEMASK(1), 0}};
    EXPECT_EQ(all, parent.heard) << NoticesText(parent.heard);
    EXPECT_EQ(0, l.GetCheckStatus(2));
    EXPECT_EQ(0, l.GetCheckStatus(3));

    parent.bRefuse = true;
    SendTap(l.GetSafeHwnd(), 8, RowRect(l.GetSafeHwnd(), 1).top + 5);
    PumpMessages();
    EXPECT_EQ(0, l.GetCheckStatus(1)) << "the parent refused the change";
    EXPECT_EQ(1, l.GetNextItem(-1, LVNI_SELECTED));
}
