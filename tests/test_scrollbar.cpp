// test_scrollbar.cpp - the list's own scroll bar through real windows: where it stands, where
// its thumb goes, how it looks, and what each zone sends the list and the parent.
#include "test_list_fixture.h"
#include "hooks/NavTestHooks.h"
#include "StandIn.h"

#include <climits>

using namespace listtest;

namespace
{
// The list is 243 high, so is the bar: H = 243, P = 39, line-down top 165, travel 42, thumb
// top from 78 to 120.
const int kH = 243;
const int kTop = 78, kBottom = 120, kTravel = 42;

// The buttons' and the thumb's orange body.
bool IsOrange(COLORREF c)
{
    return GetRValue(c) > 200 && GetGValue(c) > 100 && GetGValue(c) < 200 && GetBValue(c) < 120;
}

struct BarTest : ::testing::Test
{
    ListHost host;
    ProbeList list;
    HWND bar = nullptr;

    void Make(int nRows, const RECT& rc = kListRect)
    {
        ASSERT_EQ(1, list.Create(host, WS_VISIBLE | WS_BORDER | LVS_OWNERDATA, nullptr, rc,
                                 kListId));
        list.SetItemCount(nRows);
        bar = BarOf(host);
        ASSERT_TRUE(IsWindow(bar));
        PumpMessages();
    }
    HWND List() { return list.GetSafeHwnd(); }
    int Thumb() { return NavScrollBarThumbTop(bar); }
    // Makes l (a list of its own for one case) with nRows rows, row topRow on top, and returns
    // its bar; nullptr, with a failure recorded, when the list could not be made.
    HWND MakeCase(ProbeList& l, int nRows, int topRow, BOOL bPageScroll = TRUE,
                  const RECT& rc = kListRect, DWORD dwBorder = WS_BORDER)
    {
        const BOOL bMade = l.Create(host, WS_VISIBLE | LVS_OWNERDATA | dwBorder, nullptr, rc,
                                    kListId);
        EXPECT_EQ(1, bMade);
        if (bMade != 1)
            return nullptr;
        l.EnablePageScroll(bPageScroll);
        l.SetItemCount(nRows);
        if (topRow)
        {
            SendMessageW(l.GetSafeHwnd(), LVM_SCROLL, 0, topRow * 30);
            l.Invalidate(); // the list resynchronises its bar
        }
        return BarOf(host);
    }
    void ScrollTo(int row)
    {
        SendMessageW(List(), LVM_SCROLL, 0, (row - list.GetScrollPos()) * 30);
        list.Invalidate(); // the list resynchronises its bar
    }
    // The bar's picture as the parent shows it, in bar client coordinates.
    Pixels BarPixels()
    {
        PaintNow(bar);
        RECT rc;
        GetWindowRect(bar, &rc);
        MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
        HDC hdc = GetDC(host);
        Pixels px = Pixels::FromDC(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        ReleaseDC(host, hdc);
        return px;
    }
    COLORREF BackgroundAt(int x, int y) { return PatternAt(270 + x, 10 + y); }
};

TEST_F(BarTest, StandsOverTheListsRightEdgeAsARaisedSibling)
{
    Make(100);
    wchar_t szClass[16] = {}, szText[16] = {};
    GetClassNameW(bar, szClass, 16);
    GetWindowTextW(bar, szText, 16);
    EXPECT_EQ(0, lstrcmpiW(L"STATIC", szClass)) << "a native STATIC window";
    EXPECT_STREQ(L"NavScrollBar", szText);
    EXPECT_EQ(static_cast<HWND>(host), GetParent(bar));
    EXPECT_EQ(0x50000000, GetWindowLongW(bar, GWL_STYLE) & 0xFFFF0000);
    RECT rc;
    GetWindowRect(bar, &rc);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(RectText({270, 10, 310, 253}), RectText(rc));
    bool barAboveList = false;
    for (HWND h = GetWindow(bar, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
        barAboveList = barAboveList || h == List();
    EXPECT_TRUE(barAboveList);

    // The platform moves and resizes the list (a dialog's layout, SetWindowPos): the bar keeps
    // to its right edge, and the list's window region (window coordinates) to the whole new
    // area but the bar.
    const struct
    {
        const char* label;
        RECT rc;
    } moves[] = {{"enlarged", {10, 10, 410, 310}}, {"moved", {40, 30, 440, 330}},
                 {"shrunk", {40, 30, 240, 130}}};
    for (const auto& m : moves)
    {
        SCOPED_TRACE(m.label);
        const int cx = m.rc.right - m.rc.left, cy = m.rc.bottom - m.rc.top;
        SetWindowPos(List(), nullptr, m.rc.left, m.rc.top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(bar, &rc);
        MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(RectText({m.rc.right - 40, m.rc.top, m.rc.right, m.rc.bottom}), RectText(rc));
        HRGN hRgn = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, GetWindowRgn(List(), hRgn)) << "the list has a region";
        EXPECT_TRUE(PtInRegion(hRgn, cx - 41, cy - 2)) << "the new area's far corner is the list's";
        EXPECT_FALSE(PtInRegion(hRgn, cx - 39, cy / 2)) << "what lies under the bar is not";
        DeleteObject(hRgn);
    }
}

TEST_F(BarTest, ThumbFollowsTheTopRow)
{
    struct Case
    {
        const char* label;
        int rows;
        BOOL bPageScroll;
        int topRow;
        int thumb;
    } cases[] = {
        {"top", 100, TRUE, 0, kTop},
        {"last row in view", 100, TRUE, 92, kBottom},
        {"row 10: 78 + 42/92*10 truncated", 100, TRUE, 10, 82},
        {"row 50: 78 + 22.8", 100, TRUE, 50, 100},
        {"page scroll off, top", 100, FALSE, 0, 39},
        {"page scroll off, row 50: 39 + 120/92*50", 100, FALSE, 50, 104},
        {"page scroll off, bottom", 100, FALSE, 92, 243 - 84},
        {"all rows fit", 5, TRUE, 0, kTop},
        {"empty", 0, TRUE, 0, kTop},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        ProbeList l;
        HWND hBar = MakeCase(l, c.rows, c.topRow, c.bPageScroll);
        ASSERT_NE(nullptr, hBar);
        EXPECT_EQ(c.topRow, l.GetScrollPos());
        EXPECT_EQ(c.thumb, NavScrollBarThumbTop(hBar));
    }
}

TEST_F(BarTest, ShortBarsClampTheThumbToTheTop)
{
    for (int height : {201 /* travel 0 */, 190 /* travel -11 */})
    {
        SCOPED_TRACE(height);
        ProbeList l;
        HWND hBar = MakeCase(l, 100, 40, TRUE, {10, 10, 310, 10 + height}, 0);
        ASSERT_NE(nullptr, hBar);
        EXPECT_EQ(kTop, NavScrollBarThumbTop(hBar));
    }
}

TEST_F(BarTest, KeysMoveTheThumbAtKeyUp)
{
    Make(100);
    Select(List(), 0);
    SetFocus(List());
    for (int i = 0; i < 12; ++i)
    {
        SendMessageW(List(), WM_KEYDOWN, VK_DOWN, 0);
        SendMessageW(List(), WM_KEYUP, VK_DOWN, 0);
    }
    const int pos = list.GetScrollPos();
    EXPECT_EQ(5, pos) << "row 12 selected, at the bottom of the page";
    EXPECT_EQ(kTop + static_cast<int>(kTravel / 92.0 * pos), Thumb());
    const int thumb = Thumb();
    SendMessageW(List(), WM_KEYDOWN, VK_END, 0);
    SendMessageW(List(), WM_KEYUP, VK_END, 0);
    EXPECT_EQ(92, list.GetScrollPos());
    EXPECT_EQ(thumb, Thumb()) << "other keys leave the thumb";
}

// ---- Looks ----

TEST_F(BarTest, ArtworkIsHalfFadedWhenEverythingFits)
{
    Make(100);
    ScrollTo(40);
    Pixels full = BarPixels();
    const int thumb = Thumb();
    EXPECT_TRUE(IsOrange(full.At(8, thumb + 10))) << "thumb " << ColorText(full.At(8, thumb + 10));

    list.SetItemCount(8); // count == page: nothing to scroll
    Pixels faded = BarPixels();
    for (POINT pt : {POINT{8, 39 + 8}, POINT{8, 165 + 30}})
    {
        const COLORREF f = full.At(pt.x, pt.y), bg = BackgroundAt(pt.x, pt.y);
        const COLORREF expected = RGB((GetRValue(f) * 127 + GetRValue(bg) * 128) / 255,
                                      (GetGValue(f) * 127 + GetGValue(bg) * 128) / 255,
                                      (GetBValue(f) * 127 + GetBValue(bg) * 128) / 255);
        EXPECT_TRUE(ColorNear(expected, faded.At(pt.x, pt.y), 6))
            << pt.y << ": " << ColorText(faded.At(pt.x, pt.y)) << " vs " << ColorText(expected);
    }
    EXPECT_FALSE(IsOrange(faded.At(8, thumb + 10))) << "no thumb";
}

TEST_F(BarTest, PageArrowsShowTheApplicationsFlagOrNothingWhenOff)
{
    Make(100);
    Pixels half = BarPixels();
    list.SetIsScrollPage(1);
    Pixels strong = BarPixels();
    const POINT up = {8, 20}, down = {8, kH - 19};
    for (POINT pt : {up, down})
    {
        EXPECT_TRUE(IsOrange(strong.At(pt.x, pt.y))) << ColorText(strong.At(pt.x, pt.y));
        EXPECT_NE(strong.At(pt.x, pt.y), half.At(pt.x, pt.y));
    }
    list.EnablePageScroll(0);
    list.Invalidate();
    Pixels off = BarPixels();
    // The line arrows move to the ends; the page artwork is gone.
    EXPECT_EQ(strong.At(20, 39 + 19), off.At(20, 19)) << "line-up arrow at the top";
    EXPECT_EQ(strong.At(20, 165 + 19), off.At(20, kH - 20)) << "line-down arrow at the bottom";
}

TEST_F(BarTest, ListRepaintsNeverCoverTheBar)
{
    host.text = [](int, int) { return std::wstring(L"A row text long enough to reach the bar"); };
    Make(100);
    Select(List(), 0);
    SendMessageW(List(), LVM_SETCOLUMNWIDTH, 0, 600); // rows run under the bar
    PaintNow(host);
    Pixels before = BarPixels();
    PaintNow(List());
    SendMessageW(List(), WM_VSCROLL, SB_LINEDOWN, 0);
    PaintNow(List());
    RECT rc;
    GetWindowRect(bar, &rc);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
    HDC hdc = GetDC(host);
    Pixels after = Pixels::FromDC(hdc, rc.left, rc.top, 40, kH);
    ReleaseDC(host, hdc);
    int changed = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < 40; ++x)
            changed += before.At(x, y) != after.At(x, y);
    EXPECT_EQ(0, changed) << "bar pixels painted over by the list";
}

TEST_F(BarTest, NoGdiObjectSurvivesBarPaintsOrScrolling)
{
    Make(100);
    const long before = StandInLiveObjects();
    for (int i = 0; i < 2000; ++i)
    {
        PaintNow(bar);
        SendTap(bar, 20, i % 2 ? 39 + 10 : 165 + 10); // line up / line down
    }
    PumpMessages();
    EXPECT_EQ(before, StandInLiveObjects());
    HPEN hPen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_NE(nullptr, hPen);
    DeleteObject(hPen);
}

// ---- Input ----

// What a zone's tap sends the list (WM_VSCROLL, LVM_SCROLL) or posts the parent
// (WM_NAV_PAGESCROLL, wParam 1 for up).
static const Expected kPostsPageUp[] = {ExpWL(WM_NAV_PAGESCROLL, 1, 0)};
static const Expected kPostsPageDown[] = {ExpWL(WM_NAV_PAGESCROLL, 0, 0)};
static const Expected kSendsLineUp[] = {ExpWL(WM_VSCROLL, SB_LINEUP, 0)};
static const Expected kSendsLineDown[] = {ExpWL(WM_VSCROLL, SB_LINEDOWN, 0)};
static const Expected kSendsPageUp[] = {ExpWL(WM_VSCROLL, SB_PAGEUP, 0)};
static const Expected kSendsPageDown[] = {ExpWL(WM_VSCROLL, SB_PAGEDOWN, 0)};
static const Expected kSendsLineDownTwice[] = {ExpWL(WM_VSCROLL, SB_LINEDOWN, 0),
                                               ExpWL(WM_VSCROLL, SB_LINEDOWN, 0)};
static const Expected kPostsPageDownTwice[] = {ExpWL(WM_NAV_PAGESCROLL, 0, 0),
                                               ExpWL(WM_NAV_PAGESCROLL, 0, 0)};

struct Zone
{
    const char* label;
    int rows;
    BOOL bPageScroll;
    int pressY, releaseY;
    MessageTable toList;   // sent to the list
    MessageTable toParent; // posted to the parent
    int topAfter;
    bool bDoubleTap = false; // tapped twice quickly: the second press comes as a double click
};

TEST_F(BarTest, EachZoneSendsExactlyItsMessages)
{
    const Zone zones[] = {
        {"page up", 100, TRUE, 10, 10, {}, kPostsPageUp, 20},
        {"page down", 100, TRUE, kH - 10, kH - 10, {}, kPostsPageDown, 20},
        {"page up, released far away", 100, TRUE, 10, 200, {}, kPostsPageUp, 20},
        {"line up", 100, TRUE, 50, 50, kSendsLineUp, {}, 19},
        {"line down", 100, TRUE, 170, 170, kSendsLineDown, {}, 21},
        {"track below the thumb", 100, TRUE, 150, 150, kSendsPageDown, {}, 28},
        {"track above the thumb", 100, TRUE, 80, 80, kSendsPageUp, {}, 12},
        {"released on the thumb's top row", 100, TRUE, 80, 87, kSendsPageUp, {}, 12},
        {"page scroll off: top is line up", 100, FALSE, 10, 10, kSendsLineUp, {}, 19},
        {"page scroll off: bottom is line down", 100, FALSE, kH - 10, kH - 10, kSendsLineDown,
         {}, 21},
        {"all fit: line arrow does nothing", 8, TRUE, 50, 50, {}, {}, 0},
        {"all fit: track does nothing", 8, TRUE, 120, 120, {}, {}, 0},
        {"all fit: page arrow still posts", 8, TRUE, 10, 10, {}, kPostsPageUp, 0},
        {"line down, tapped twice quickly", 100, TRUE, 170, 170, kSendsLineDownTwice, {}, 22,
         true},
        {"page down, tapped twice quickly", 100, TRUE, kH - 10, kH - 10, {}, kPostsPageDownTwice,
         20, true},
    };
    for (const Zone& z : zones)
    {
        SCOPED_TRACE(z.label);
        ProbeList l;
        // With rows to scroll, row 20 on top: thumb top 78 + 42 * 20 / 92 = 87.
        HWND hBar = MakeCase(l, z.rows, z.rows > 8 ? 20 : 0, z.bPageScroll);
        ASSERT_NE(nullptr, hBar);
        ASSERT_EQ(z.rows > 8 ? (z.bPageScroll ? 87 : 39 + 120 * 20 / 92) : (z.bPageScroll ? 78 : 39),
                  NavScrollBarThumbTop(hBar));
        PumpMessages();
        MessageSpy spy(l.GetSafeHwnd());
        host.Clear();
        SendPenDown(hBar, 20, z.pressY);
        EXPECT_TRUE(spy.Messages().empty() || spy.Count(WM_VSCROLL) == 0) << "nothing at press";
        SendPenUp(hBar, 20, z.releaseY);
        if (z.bDoubleTap)
        {
            SendMessageW(hBar, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, z.pressY));
            SendPenUp(hBar, 20, z.releaseY);
        }
        EXPECT_EQ(0, host.Count(WM_NAV_PAGESCROLL)) << "posted, not sent";
        EXPECT_EQ(nullptr, GetCapture()) << "capture released";
        PumpMessages();
        EXPECT_TRUE(SequenceIs(spy.Messages(), z.toList, {WM_VSCROLL, LVM_SCROLL}));
        EXPECT_TRUE(SequenceIs(host.Messages(), z.toParent, {WM_NAV_PAGESCROLL}));
        EXPECT_EQ(z.topAfter, l.GetScrollPos());
    }
}

// The parent's answer to WM_NAV_PAGESCROLL that the README gives: WM_VSCROLL pages the list,
// which paints each row once, and EnsureVisible on the new top row, which is in view, scrolls
// nothing and paints no row again: it only places the thumb.
TEST_F(BarTest, APageFromTheParentPaintsEachRowOnceAndPlacesTheThumb)
{
    Make(100);
    PaintNow(host);
    std::map<int, int> draws;
    auto answerRows = host.hook;
    host.hook = [&](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
        if (msg == WM_DRAWITEM)
            ++draws[static_cast<int>(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->itemID)];
        return answerRows(msg, wParam, lParam, pResult);
    };
    const struct
    {
        WPARAM bUp;
        int topAfter, thumbAfter; // 78 + 42 * top / 92, truncated
    } pages[] = {{0, 8, 81}, {0, 16, 85}, {1, 8, 81}};
    for (const auto& p : pages)
    {
        draws.clear();
        SendMessageW(List(), WM_VSCROLL, p.bUp ? SB_PAGEUP : SB_PAGEDOWN, 0);
        list.EnsureVisible(list.GetScrollPos(), 0);
        PaintNow(host);
        EXPECT_EQ(p.topAfter, list.GetScrollPos());
        EXPECT_EQ(p.thumbAfter, Thumb());
        EXPECT_GE(draws.size(), 8u);
        for (const auto& row : draws)
            EXPECT_EQ(1, row.second) << "row " << row.first << " drawn more than once";
    }
    host.hook = answerRows;
}

TEST_F(BarTest, EveryPaintAsksTheParentFirst)
{
    Make(100);
    host.Clear();
    PaintNow(bar);
    ASSERT_EQ(1u, host.BackgroundRequests().size());
    EXPECT_EQ(RectText({270, 10, 310, 253}), RectText(host.BackgroundRequests()[0]));
}

// A drag moves only the thumb; the list jumps once, at release, to the row the drop stands
// for, truncated and kept within the list: (count - page) * (drop - 78) / 42.
TEST_F(BarTest, ThumbDragScrollsTheListOnceAtRelease)
{
    struct Drag
    {
        const char* label;
        int rows;
        int releaseY;
        int scrollRows; // LVM_SCROLL distance in rows
        int topAfter;
        int thumbAfter;
    } drags[] = {
        {"to 140: 92 * 40 / 42 = 87.6", 100, 140, 87, 87, 118},
        {"above the bar: stops at the first row", 100, -5, 0, 0, kTop},
        {"below the bar: stops at the last page", 100, 400, 92, 92, kBottom},
        {"count = page + 1, drop 120: row 1", 9, 142, 1, 1, kBottom},
        {"count = page + 1, drop 119: row 0", 9, 141, 0, 0, 119},
    };
    for (const Drag& d : drags)
    {
        SCOPED_TRACE(d.label);
        ProbeList l;
        HWND hBar = MakeCase(l, d.rows, 0);
        ASSERT_NE(nullptr, hBar);
        MessageSpy spy(l.GetSafeHwnd());
        SendPenDown(hBar, 20, kTop + 22);
        for (int y = 90; y <= 130; y += 10)
        {
            SendMessageW(hBar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, y));
            const int expected = y - 22 > kBottom ? kBottom : y - 22 < kTop ? kTop : y - 22;
            EXPECT_EQ(expected, NavScrollBarThumbTop(hBar)) << y;
        }
        EXPECT_EQ(0, spy.Count(LVM_SCROLL) + spy.Count(WM_VSCROLL)) << "the list waits";
        SendPenUp(hBar, 20, d.releaseY);
        const Expected scrolledOnce[] = {ExpWL(LVM_SCROLL, 0, d.scrollRows * 30)};
        EXPECT_TRUE(SequenceIs(spy.Messages(), scrolledOnce, {LVM_SCROLL, WM_VSCROLL}));
        EXPECT_EQ(d.topAfter, l.GetScrollPos());
        EXPECT_EQ(d.thumbAfter, NavScrollBarThumbTop(hBar)) << "stays where dropped (clamped)";
    }
}

TEST_F(BarTest, ThumbDropOnABarWithoutTravelLeavesTheList)
{
    for (int height : {201, 195})
    {
        SCOPED_TRACE(height);
        ProbeList l;
        HWND hBar = MakeCase(l, 100, 10, TRUE, {10, 10, 310, 10 + height}, 0);
        ASSERT_NE(nullptr, hBar);
        MessageSpy spy(l.GetSafeHwnd());
        SendPenDown(hBar, 20, 90); // on the thumb at 78
        SendPenUp(hBar, 20, 150);
        EXPECT_EQ(0, spy.Count(LVM_SCROLL));
        EXPECT_EQ(10, l.GetScrollPos());
    }
}

// A press whose release never came (the capture went elsewhere) is forgotten at the next
// press: the release acts on the zone pressed last.
TEST_F(BarTest, EachPressForgetsTheZoneOfAnEarlierOne)
{
    Make(100);
    ScrollTo(20);
    struct Case
    {
        const char* label;
        int firstY, pressY, releaseY;
        MessageTable toList;
    } cases[] = {
        {"page up, then line down", 10, 170, 170, kSendsLineDown},
        {"thumb, then the track below it", 0, 150, 150, kSendsPageDown},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        const int firstY = c.firstY ? c.firstY : Thumb() + 5;
        SendPenDown(bar, 20, firstY);
        ReleaseCapture();
        PumpMessages();
        host.Clear();
        MessageSpy spy(List());
        SendPenDown(bar, 20, c.pressY);
        SendPenUp(bar, 20, c.releaseY);
        PumpMessages();
        EXPECT_TRUE(SequenceIs(spy.Messages(), c.toList, {LVM_SCROLL, WM_VSCROLL}));
        EXPECT_EQ(0, host.Count(WM_NAV_PAGESCROLL));
    }
}

// A drop at either end of the track reaches that end of the list, whatever its length: one
// LVM_SCROLL carries at most INT_MAX pixels (about 71.6 million rows of 30), so a longer
// distance takes several, each in the same direction (none wrapped round to the other way).
TEST_F(BarTest, ADropAtEitherEndReachesThatEndOfEveryLength)
{
    struct Length
    {
        const char* label;
        int rows;
        int bottomY, topY; // releases: the thumb dropped at the bottom, then at the top
    } lengths[] = {
        {"a million rows, far below and far above: beyond an int of pixels", 1000000, 3460,
         -3000},
        {"2^30 rows", 1 << 30, kBottom + 22, kTop + 22},
        {"INT_MAX rows, the most a list holds", INT_MAX, kBottom + 22 + 5, kTop + 22 - 5},
    };
    for (const Length& len : lengths)
    {
        SCOPED_TRACE(len.label);
        ProbeList l;
        HWND hBar = MakeCase(l, len.rows, 0);
        ASSERT_NE(nullptr, hBar);
        ASSERT_EQ(len.rows, l.GetItemCount());
        const struct
        {
            int releaseY, topAfter, thumbAfter;
            bool bUp;
        } drops[] = {{len.bottomY, len.rows - l.GetPageSize(), kBottom, false},
                     {len.topY, 0, kTop, true}};
        for (const auto& d : drops)
        {
            MessageSpy spy(l.GetSafeHwnd());
            SendPenDown(hBar, 20, NavScrollBarThumbTop(hBar) + 22);
            SendPenUp(hBar, 20, d.releaseY);
            const std::vector<Msg> scrolls = spy.Messages(LVM_SCROLL);
            ASSERT_FALSE(scrolls.empty());
            for (const Msg& m : scrolls)
                EXPECT_EQ(d.bUp, static_cast<int>(m.lParam) < 0) << m.lParam;
            EXPECT_EQ(d.topAfter, l.GetScrollPos());
            EXPECT_EQ(d.thumbAfter, NavScrollBarThumbTop(hBar));
        }
        l.SetItemCount(0); // Wine's list view takes seconds to destroy a billion rows one by one
    }
}

// ---- A bar whose window could not be made ----

HHOOK g_hVeto;

LRESULT CALLBACK VetoScrollBar(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND)
    {
        const CBT_CREATEWNDW* pCreate = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        if (pCreate->lpcs->lpszName && !IS_INTRESOURCE(pCreate->lpcs->lpszName) &&
            lstrcmpW(pCreate->lpcs->lpszName, L"NavScrollBar") == 0)
            return 1;
    }
    return CallNextHookEx(g_hVeto, nCode, wParam, lParam);
}

// A list whose bar cannot be made is not made either (it used to live on without its bar while
// Create answered 1); a bar window lost later leaves the list going on without it.
TEST_F(BarTest, WindowlessBarDoesNothingAndTheListGoesOn)
{
    g_hVeto = SetWindowsHookExW(WH_CBT, VetoScrollBar, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, g_hVeto);
    EXPECT_EQ(0, list.Create(host, WS_VISIBLE | LVS_OWNERDATA, nullptr, kListRect, kListId));
    UnhookWindowsHookEx(g_hVeto);
    EXPECT_EQ(nullptr, list.GetSafeHwnd());
    EXPECT_EQ(nullptr, GetDlgItem(host, kListId)) << "no list window is left behind";
    ASSERT_EQ(1, list.Create(host, WS_VISIBLE | LVS_OWNERDATA, nullptr, kListRect, kListId));
    ASSERT_NE(nullptr, BarOf(host)) << "the next Create makes both";

    DestroyWindow(BarOf(host));
    EXPECT_EQ(nullptr, BarOf(host));
    EXPECT_EQ(1, list.MoveWindow(10, 10, 300, 242)); // the list alone
    PaintNow(host);
    ASSERT_FALSE(GetUpdateRect(host, nullptr, FALSE));

    list.SetItemCount(100);
    EXPECT_EQ(1, list.EnsureVisible(50, 0));
    list.Invalidate();
    SendMessageW(List(), WM_KEYUP, VK_DOWN, 0);
    list.DeleteAllItems();
    EXPECT_FALSE(GetUpdateRect(host, nullptr, FALSE)) << "nothing beyond the list was invalidated";
    list.SetItemCount(20);
    SendMessageW(List(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(8, list.GetScrollPos());
}

} // namespace
