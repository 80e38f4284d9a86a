// Tests of the shared test host itself: what later tests rely on must hold.
#include <gtest/gtest.h>

#include "Sequence.h"
#include "TestHost.h"

using namespace navtest;

TEST(TestHost, BackgroundRequestIsPaintedAtTheRectanglesPlace)
{
    TestHost host(300, 200);
    Canvas canvas(40, 30);
    const HDC hdc = canvas;

    RECT rc = {250, 170, 290, 200}; // crosses no tile edge
    SendMessageW(host, WM_NAV_PAINTBKGND, reinterpret_cast<WPARAM>(hdc),
                 reinterpret_cast<LPARAM>(&rc));
    Pixels px = Pixels::FromDC(hdc, 0, 0, 40, 30);
    EXPECT_EQ(PatternAt(250, 170), px.At(0, 0));
    EXPECT_EQ(PatternAt(289, 199), px.At(39, 29)) << "across the 256-pixel repeat";
    ASSERT_EQ(1u, host.BackgroundRequests().size());
    EXPECT_EQ(250, host.BackgroundRequests()[0].left);

    host.paintBackground = false;
    canvas.Fill(RGB(0, 0, 0));
    SendMessageW(host, WM_NAV_PAINTBKGND, reinterpret_cast<WPARAM>(hdc),
                 reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(RGB(0, 0, 0), Pixels::FromDC(hdc, 0, 0, 1, 1).At(0, 0));
}

static const Expected kHostSawBothRequests[] = {
    ExpW(WM_DRAWITEM, 7),
    ExpW(WM_MEASUREITEM, 7),
};
static const Expected kOtherItemDrawn[] = {
    ExpW(WM_DRAWITEM, 8),
};

TEST(TestHost, OwnerDrawRequestsGoToTheItemsWindowAndMessagesAreRecorded)
{
    TestHost host(200, 100);
    HWND hwndChild = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, host, nullptr,
                                     nullptr, nullptr);
    MessageSpy spy(hwndChild);
    host.Clear();

    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.hwndItem = hwndChild;
    SendMessageW(host, WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&dis));
    MEASUREITEMSTRUCT mis = {};
    host.measureItemHeight = 42;
    SendMessageW(host, WM_MEASUREITEM, 7, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(42u, mis.itemHeight);

    const Expected forwarded[] = {ExpWL(WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&dis))};
    EXPECT_TRUE(SequenceIs(spy.Messages(), forwarded));
    EXPECT_TRUE(SequenceIs(host.Messages(), kHostSawBothRequests, {WM_DRAWITEM, WM_MEASUREITEM}));
    EXPECT_FALSE(SequenceIs(host.Messages(), kOtherItemDrawn, {WM_DRAWITEM}))
        << "a different wParam must not compare equal";
    DestroyWindow(hwndChild);
}

TEST(TestHost, SpiesStackAndGiveTheProcedureBack)
{
    TestHost host(200, 100);
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, host, nullptr,
                                nullptr, nullptr);
    LONG_PTR original = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    {
        MessageSpy outer(hwnd);
        {
            MessageSpy inner(hwnd);
            SendMessageW(hwnd, WM_USER + 1, 0, 0);
            EXPECT_EQ(1, inner.Count(WM_USER + 1));
        }
        SendMessageW(hwnd, WM_USER + 2, 0, 0);
        EXPECT_EQ(1, outer.Count(WM_USER + 2));
    }
    EXPECT_EQ(original, GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    DestroyWindow(hwnd);
}

// Optional entries may be there or not, but what is there still comes in order and only once;
// an optional entry must not take the match a required one after it needs.
TEST(TestHost, SequenceWithOptionalEntries)
{
    const UINT A = WM_USER + 1, B = WM_USER + 2, C = WM_USER + 3;
    static const Expected kAOptBC[] = {Exp(A), Optional(Exp(B)), Exp(C)};
    static const Expected kOptAThenA[] = {Optional(Exp(A)), Exp(A)};
    static const Expected kOptB1ThenB[] = {Optional(ExpW(B, 1)), Exp(B)};
    static const struct
    {
        const char* label;
        MessageTable table;
        std::vector<UINT> seen;
        std::vector<WPARAM> wParams; // per message; 0 when shorter
        bool bMatches;
    } kCases[] = {
        {"optional absent", kAOptBC, {A, C}, {}, true},
        {"optional present", kAOptBC, {A, B, C}, {}, true},
        {"optional twice", kAOptBC, {A, B, B, C}, {}, false},
        {"optional out of order", kAOptBC, {A, C, B}, {}, false},
        {"required missing", kAOptBC, {A, B}, {}, false},
        {"extra at the end", kAOptBC, {A, C, C}, {}, false},
        {"one: the required one takes it", kOptAThenA, {A}, {}, true},
        {"two", kOptAThenA, {A, A}, {}, true},
        {"three", kOptAThenA, {A, A, A}, {}, false},
        {"optional's wParam differs: skipped", kOptB1ThenB, {B}, {2}, true},
        {"optional's wParam differs, twice", kOptB1ThenB, {B, B}, {2, 3}, false},
        {"optional's wParam fits", kOptB1ThenB, {B, B}, {1, 3}, true},
    };
    for (const auto& c : kCases)
    {
        std::vector<Msg> msgs;
        for (size_t i = 0; i < c.seen.size(); ++i)
            msgs.push_back({nullptr, c.seen[i], i < c.wParams.size() ? c.wParams[i] : 0, 0});
        EXPECT_EQ(c.bMatches, static_cast<bool>(SequenceIs(msgs, c.table))) << c.label;
    }
    // A one-id filter keeps only that id.
    const std::vector<Msg> noisy = {{nullptr, B, 0, 0}, {nullptr, C, 0, 0}, {nullptr, B, 0, 0}};
    static const Expected kCOnly[] = {Exp(C)};
    EXPECT_TRUE(SequenceIs(noisy, kCOnly, {C}));
    EXPECT_FALSE(SequenceIs(noisy, kCOnly, {B}));

    // A notification's sender is the window named at the check.
    HWND hwndA = reinterpret_cast<HWND>(0x1230), hwndB = reinterpret_cast<HWND>(0x4560);
    const std::vector<Msg> clicked = {
        {nullptr, WM_COMMAND, MAKEWPARAM(9, BN_CLICKED), reinterpret_cast<LPARAM>(hwndA)}};
    static const Expected kClicked9[] = {ExpCommand(9, BN_CLICKED)};
    EXPECT_TRUE(SequenceIs(clicked, kClicked9, {}, hwndA));
    EXPECT_FALSE(SequenceIs(clicked, kClicked9, {}, hwndB));
}

// The kit's real input arrives as a user's would: a drag presses, moves in steps and releases
// where asked; two taps at one place stay two taps; typed text reaches the focused edit.
TEST(TestKit, RealInputArrivesAsAUsersWould)
{
    TestHost host(300, 100);
    HWND hwndPad = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10,
                                   100, 30, host, nullptr, nullptr, nullptr);
    HWND hwndEdit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 150, 10, 120, 30,
                                    host, nullptr, nullptr, nullptr);
    MessageSpy spy(hwndPad);
    RealDrag(hwndPad, 5, 5, 45, 9);
    const std::vector<Msg> moves = spy.Messages(WM_MOUSEMOVE);
    ASSERT_EQ(1, spy.Count(WM_LBUTTONDOWN));
    ASSERT_EQ(1, spy.Count(WM_LBUTTONUP));
    EXPECT_EQ(MAKELPARAM(5, 5), spy.Messages(WM_LBUTTONDOWN)[0].lParam);
    EXPECT_EQ(MAKELPARAM(45, 9), spy.Messages(WM_LBUTTONUP)[0].lParam);
    ASSERT_GE(moves.size(), 5u) << "in steps of at most 8 pixels";
    EXPECT_EQ(MAKELPARAM(45, 9), moves.back().lParam);

    spy.Clear();
    RealTap(hwndPad, 20, 20);
    RealTap(hwndPad, 20, 20);
    EXPECT_EQ(2, spy.Count(WM_LBUTTONDOWN));
    EXPECT_EQ(0, spy.Count(WM_LBUTTONDBLCLK));

    RealTap(hwndEdit, 10, 10);
    RealType(L"Km/h 50");
    RealKey(VK_BACK);
    wchar_t sz[32] = L"";
    GetWindowTextW(hwndEdit, sz, 32);
    EXPECT_STREQ(L"Km/h 5", sz);
    DestroyWindow(hwndEdit);
    DestroyWindow(hwndPad);
}

// A menu driver picks an item by its text as the menu shows it (mnemonic and accelerator
// aside), and dismisses a menu without such an item.
TEST(TestKit, MenuDriverAnswersByItemText)
{
    TestHost host(200, 100);
    HMENU hMenu = CreatePopupMenu();
    AppendMenuW(hMenu, MF_STRING, 11, L"&Call");
    AppendMenuW(hMenu, MF_STRING, 12, L"Send a &message\tCtrl+M");
    AppendMenuW(hMenu, MF_STRING, 13, L"Copy");
    const struct
    {
        const wchar_t* item;
        UINT chosen;
        int picked;
    } cases[] = {{L"Send a message", 12, 1}, {L"Copy", 13, 2}, {L"Delete", 0, -1}};
    for (const auto& c : cases)
    {
        MenuDriver menu(c.item);
        SetForegroundWindow(host);
        const UINT chosen = static_cast<UINT>(
            TrackPopupMenu(hMenu, TPM_RETURNCMD, 100, 100, 0, host, nullptr));
        EXPECT_EQ(c.chosen, chosen);
        EXPECT_EQ(1, menu.nMenus);
        EXPECT_EQ(c.picked, menu.nPicked);
        PumpMessages();
    }
    DestroyMenu(hMenu);
}

// A masked comparison leaves out exactly the pixels inside its rectangles: a difference there
// passes, one pixel beside them fails.
TEST(TestKit, GoldenMasksLeaveOutTheirPixelsOnly)
{
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, 8, 8);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    RECT rcAll = {0, 0, 8, 8};
    FillRect(hdc, &rcAll, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const Pixels golden = Pixels::FromDC(hdc, 0, 0, 8, 8);
    ASSERT_TRUE(golden.SavePng(L"kit-mask-golden.png"));
    SetPixel(hdc, 3, 3, RGB(0, 0, 0));
    const Pixels inside = Pixels::FromDC(hdc, 0, 0, 8, 8);
    SetPixel(hdc, 4, 3, RGB(0, 0, 0));
    const Pixels beside = Pixels::FromDC(hdc, 0, 0, 8, 8);
    SelectObject(hdc, hOld);
    DeleteObject(hbm);
    DeleteDC(hdc);
    ReleaseDC(nullptr, hdcScreen);
    const std::vector<RECT> mask = {{3, 3, 4, 4}};
    std::string report;
    EXPECT_TRUE(MatchesGolden(inside, L"kit-mask-golden.png", L"kit-mask", mask, &report))
        << report;
    EXPECT_FALSE(MatchesGolden(inside, L"kit-mask-golden.png", L"kit-mask", &report));
    EXPECT_FALSE(MatchesGolden(beside, L"kit-mask-golden.png", L"kit-mask", mask, &report));
    EXPECT_NE(std::string::npos, report.find("1 pixels differ; first at (4, 3)")) << report;
}

// Advancing the clock delivers timer 1 to the lists and labels whose timer 1 runs, once a
// second, and to no other window; each such timer starts its second again.
TEST(TestKit, AdvanceSecondsTicksRunningControlTimersOnly)
{
    TestHost host(300, 100);
    HWND hwndRunning = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, host, nullptr,
                                       nullptr, nullptr);
    HWND hwndStill = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 20, 10, 10, host, nullptr,
                                     nullptr, nullptr);
    HWND hwndEdit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 40, 10, 10, host, nullptr,
                                    nullptr, nullptr);
    SetTimer(hwndRunning, 1, 1000, nullptr);
    SetTimer(hwndEdit, 1, 1000, nullptr);
    MessageSpy running(hwndRunning), still(hwndStill), edit(hwndEdit);
    EXPECT_EQ(3, AdvanceSeconds(host, 3));
    EXPECT_EQ(3, running.Count(WM_TIMER));
    EXPECT_EQ(0, still.Count(WM_TIMER));
    EXPECT_EQ(0, edit.Count(WM_TIMER)) << "only the controls' windows";
    EXPECT_TRUE(KillTimer(hwndRunning, 1)) << "still running";
    KillTimer(hwndEdit, 1);
    DestroyWindow(hwndEdit);
    DestroyWindow(hwndStill);
    DestroyWindow(hwndRunning);
}
