// test_groupbox.cpp - CNavGroupBox on the test host: its bitmap background, the owner-draw
// requests it hands to button children, transparent child colours and its clean-up.
#include <gtest/gtest.h>

#include "NavBitmapButton.h"
#include "NavGroupBox.h"
#include "Assignment.h"
#include "Sequence.h"
#include "TestHost.h"
#include "StandIn.h"
#include "win32/NavGdi.h"

#include <memory>
#include <string>

using namespace navtest;

namespace
{
const COLORREF kFaceNormal = RGB(0x56, 0xD5, 0xEB);
const COLORREF kFacePressed = RGB(0xF1, 0xF3, 0xF5);

// A bitmap whose every pixel tells where it is: RGB(x, y, 0x40).
HBITMAP MakeGradient(int cx, int cy)
{
    HBITMAP hbm = nav::CreateDib32(nullptr, cx, cy);
    DIBSECTION ds = {};
    GetObjectW(hbm, sizeof(ds), &ds);
    DWORD* p = static_cast<DWORD*>(ds.dsBm.bmBits);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            p[y * cx + x] = ((x & 0xFF) << 16) | ((y & 0xFF) << 8) | 0x40;
    return hbm;
}

COLORREF GradientAt(int x, int y)
{
    return RGB(x & 0xFF, y & 0xFF, 0x40);
}

struct ProbeGroupBox : CNavGroupBox
{
    static WNDPROC Proc() { return GrouProc; }
};

struct Fixture
{
    TestHost host;
    HBITMAP hBitmap = MakeGradient(300, 200);
    std::unique_ptr<CNavGroupBox> box = std::make_unique<CNavGroupBox>();
    CNavBitmapButton button;
    Fixture()
    {
        RECT rc = {20, 10, 320, 210};
        box->Create(GetModuleHandleW(nullptr), WS_VISIBLE, const_cast<wchar_t*>(L"Group"), rc,
                    host, 50, hBitmap);
        RECT rcButton = {100, 60, 206, 110};
        button.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE, nullptr, rcButton,
                      box->GetSafeHwnd(), 51, nullptr, NAVBTN_PUSH, nullptr);
        PumpMessages();
    }
    ~Fixture()
    {
        box.reset(); // takes the button's window with it
        DeleteObject(hBitmap);
    }
    HWND Box() const { return box->GetSafeHwnd(); }
};

Pixels Repaint(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    return Pixels::FromWindow(hwnd);
}
} // namespace

TEST(GroupBox, CreateStyleAndSecondCreateKeepsBitmap)
{
    Fixture f;
    HWND hwnd = f.Box();
    ASSERT_TRUE(IsWindow(hwnd));
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(BS_GROUPBOX, style & BS_TYPEMASK);
    EXPECT_EQ(WS_CHILD | WS_TABSTOP, style & (WS_CHILD | WS_TABSTOP));
    EXPECT_EQ(ProbeGroupBox::Proc(), (WNDPROC)GetWindowLongPtrW(hwnd, GWLP_WNDPROC));

    HBITMAP hOther = MakeGradient(10, 10);
    RECT rc = {0, 0, 10, 10};
    EXPECT_EQ(1, f.box->Create(nullptr, 0, nullptr, rc, f.host, 1, hOther));
    EXPECT_EQ(hwnd, f.box->GetSafeHwnd());
    EXPECT_EQ(GradientAt(150, 150), Repaint(hwnd).At(150, 150)) << "first bitmap kept";
    DeleteObject(hOther);

    DebugCapture debug;
    CNavGroupBox orphan;
    EXPECT_EQ(0, orphan.Create(nullptr, 0, nullptr, rc, reinterpret_cast<HWND>(0x4321), 1,
                               nullptr));
    EXPECT_EQ(1, debug.Count(L"CreateButton failed: 1400\n"));
}

// The bitmap lies unscaled under the box; the native frame and caption are still drawn; the
// button inside gets its owner-draw request through the box and draws its face in each state.
TEST(GroupBox, BitmapBackgroundAndButtonChild)
{
    Fixture f;
    Pixels px = Repaint(f.Box());
    EXPECT_EQ(GradientAt(40, 150), px.At(40, 150));
    EXPECT_EQ(GradientAt(250, 30), px.At(250, 30));
    int nFrame = 0; // the native frame runs down the left edge somewhere in the first pixels
    for (int x = 0; x < 6; ++x)
        nFrame += px.At(x, 120) != GradientAt(x, 120);
    EXPECT_GT(nFrame, 0);
    EXPECT_TRUE(ColorNear(kFaceNormal, px.At(100 + 53, 60 + 25), 3));

    // The box does not paint beneath its buttons: where the face is transparent the bitmap
    // does not show.
    EXPECT_NE(GradientAt(100, 60), px.At(100, 60));

    SendMessageW(f.button.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PumpMessages();
    Pixels pressed = Pixels::FromWindow(f.button.GetSafeHwnd());
    EXPECT_TRUE(ColorNear(kFacePressed, pressed.At(53, 25), 3));
    SendMessageW(f.button.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
}

// Owner-draw requests: a button's goes to the child with its id and is answered 1; a list
// box's, a combo box's or a null one is swallowed (0) and reaches no child.
static const Expected kButtonsRequestForwarded[] = {
    ExpW(WM_DRAWITEM, 51),
};

TEST(GroupBox, DrawItemForwardingByControlType)
{
    Fixture f;
    MessageSpy spy(f.button.GetSafeHwnd());
    HDC hdc = GetDC(f.button.GetSafeHwnd());
    struct Case { const char* name; UINT type; bool null; LRESULT result; MessageTable toChild; }
    cases[] = {
        {"button", ODT_BUTTON, false, 1, kButtonsRequestForwarded},
        {"list box", ODT_LISTBOX, false, 0, {}},
        {"combo box", ODT_COMBOBOX, false, 0, {}},
        {"null", ODT_BUTTON, true, 0, {}},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        spy.Clear();
        DRAWITEMSTRUCT dis = {c.type, 51, 0, ODA_DRAWENTIRE, 0, f.button.GetSafeHwnd(), hdc,
                              {0, 0, 106, 50}, 0};
        EXPECT_EQ(c.result, SendMessageW(f.Box(), WM_DRAWITEM, 51,
                                         c.null ? 0 : reinterpret_cast<LPARAM>(&dis)));
        EXPECT_TRUE(SequenceIs(spy.Messages(), c.toChild, {WM_DRAWITEM}));
    }
    ReleaseDC(f.button.GetSafeHwnd(), hdc);
}

TEST(GroupBox, ChildColoursAreTransparent)
{
    Fixture f;
    HDC hdc = GetDC(f.Box());
    for (UINT msg : {WM_CTLCOLORBTN, WM_CTLCOLORSTATIC})
    {
        SetBkMode(hdc, OPAQUE);
        EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)),
                  SendMessageW(f.Box(), msg, reinterpret_cast<WPARAM>(hdc), 0));
        EXPECT_EQ(TRANSPARENT, GetBkMode(hdc));
    }
    ReleaseDC(f.Box(), hdc);
    EXPECT_EQ(1, SendMessageW(f.Box(), WM_ERASEBKGND, 0, 0)) << "no DC: nothing, still 1";
}

// The destructor restores the native procedure, then destroys the window; destroying a copy
// destroys the window the original names, and a paint never leaves a GDI object behind.
TEST(GroupBox, DestructionAndCopies)
{
    Fixture f;
    HWND hwnd = f.Box();
    const long nLive = StandInLiveObjects();
    for (int i = 0; i < 3000; ++i)
        Repaint(hwnd);
    EXPECT_EQ(nLive, StandInLiveObjects());

    const LONG_PTR native = GetClassLongPtrW(hwnd, GCLP_WNDPROC);
    LONG_PTR procAtDestroy = 0;
    f.host.hook = [&](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT*) {
        if (msg == WM_PARENTNOTIFY && LOWORD(wParam) == WM_DESTROY &&
            reinterpret_cast<HWND>(lParam) == hwnd)
            procAtDestroy = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
        return false;
    };
    {
        CNavGroupBox copy(*f.box);
        CNavGroupBox assigned;
        assigned = copy;
        EXPECT_EQ(hwnd, assigned.GetSafeHwnd());
    }
    f.host.hook = nullptr;
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(native, procAtDestroy);
    EXPECT_EQ(hwnd, f.box->GetSafeHwnd()); // stale, and the destructor then does nothing
}

// Assignment over a group box keeps the rule every control keeps (Assignment.h).
TEST(GroupBox, AssignmentGivesUpTheTargetsOwnWindow)
{
    Fixture f;
    AssignmentRule<CNavGroupBox> rule;
    rule.make = [&](CNavGroupBox& source, CNavGroupBox& target) {
        RECT rcSource = {330, 120, 430, 220}, rc = {330, 10, 430, 110};
        ASSERT_EQ(1, source.Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rcSource,
                                   f.host, 61, f.hBitmap));
        ASSERT_EQ(1, target.Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rc, f.host, 60,
                                   f.hBitmap));
    };
    rule.Check();
}
