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

    EXPECT_TRUE(SequenceIs(spy.Messages(), {ExpWL(WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&dis))}));
    EXPECT_TRUE(SequenceIs(host.Messages(), {ExpW(WM_DRAWITEM, 7), ExpW(WM_MEASUREITEM, 7)},
                           {WM_DRAWITEM, WM_MEASUREITEM}));
    EXPECT_FALSE(SequenceIs(host.Messages(), {ExpW(WM_DRAWITEM, 8)}, {WM_DRAWITEM}))
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
