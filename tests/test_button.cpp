// test_button.cpp - CNavBitmapButton on the test host: taps, radio groups, faces, captions,
// copies and GDI hygiene.
#include <gtest/gtest.h>

#include "NavBitmapButton.h"
#include "Sequence.h"
#include "Assignment.h"
#include "TestHost.h"
#include "CxImage.h"
#include "hooks/NavTestHooks.h"
#include "StandIn.h"
#include "core/NavCore.h"
#include "win32/NavGdi.h"

#include <malloc.h>
#include <psapi.h>

#include <memory>
#include <string>
#include <vector>

using namespace navtest;

namespace
{
const COLORREF kFaceNormal = RGB(0x56, 0xD5, 0xEB);
const COLORREF kFacePressed = RGB(0xF1, 0xF3, 0xF5);
const COLORREF kFaceFocused = RGB(0xFA, 0xDB, 0x42);
const COLORREF kIconField = RGB(0xF3, 0xF5, 0xF7); // inside an unchecked icon at (15, 15)
const COLORREF kIconMark = RGB(0x36, 0xAD, 0x48);  // tick or dot at (15, 15)

const ButtonType kKinds[] = {NAVBTN_PUSH, NAVBTN_CHECK, NAVBTN_RADIO, NAVBTN_TOGGLE};
const char* const kKindNames[] = {"push", "check", "radio", "toggle"};

// Exposes the protected window procedure, so tests can see what is installed.
struct ProbeButton : CNavBitmapButton
{
    static WNDPROC Proc() { return BitmapButtonProc; }
};

// Creates a button at rc of the host.
std::unique_ptr<CNavBitmapButton> MakeButton(HWND hwndParent, RECT rc, ButtonType nType,
                                             const wchar_t* pszCaption = L"", UINT nId = 100,
                                             HIMAGELIST hList = nullptr,
                                             DrawBkProc pfn = nullptr, DWORD dwStyle = 0)
{
    auto p = std::make_unique<CNavBitmapButton>();
    std::wstring caption = pszCaption;
    p->Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | dwStyle, &caption[0], rc,
              hwndParent, nId, hList, nType, pfn);
    return p;
}

// Sends the button an owner-draw request for the given state into a fresh DC, as the native
// button's parent would forward it, and reads back what was drawn.
Pixels DrawItem(HWND hwnd, UINT nState, UINT nCtlType = ODT_BUTTON, LRESULT* pResult = nullptr)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    Canvas canvas(rc.right, rc.bottom);
    canvas.Fill(RGB(255, 255, 255));
    DRAWITEMSTRUCT dis = {nCtlType, static_cast<UINT>(GetDlgCtrlID(hwnd)), 0, ODA_DRAWENTIRE,
                          nState, hwnd, canvas, rc, 0};
    LRESULT lr = SendMessageW(hwnd, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    if (pResult)
        *pResult = lr;
    return canvas.Read();
}

// The window's own pixels after a full repaint through the native button and the host.
Pixels Screen(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpMessages();
    return Pixels::FromWindow(hwnd);
}

bool HasUpdate(HWND hwnd)
{
    return GetUpdateRect(hwnd, nullptr, FALSE) != FALSE;
}

// An image list of solid squares, one colour per image.
HIMAGELIST MakeColourList(const std::vector<COLORREF>& colours, int nSize = 50)
{
    HIMAGELIST hList = ImageList_Create(nSize, nSize, ILC_COLOR24, 4, 0);
    for (COLORREF c : colours)
    {
        HBITMAP hbm = MakeSolidBitmap(nSize, nSize, c);
        ImageList_Add(hList, hbm, nullptr);
        DeleteObject(hbm);
    }
    return hList;
}

// Columns holding text ink: the host pattern always has blue 0x80 and the icons are grey or
// green, so a dark pixel with little blue is the black caption.
bool IsInk(COLORREF c)
{
    return GetBValue(c) < 0x50 && GetRValue(c) < 0x60 && GetGValue(c) < 0x60;
}
// The caption's ink from column xFrom on.
RECT CaptionInk(const Pixels& px, int xFrom)
{
    return InkBox(px, {xFrom, 0, px.Width(), px.Height()}, IsInk);
}
} // namespace

// ---- Object and operations ----

TEST(ButtonObject, OperationsWithoutWindowDoNothing)
{
    CNavBitmapButton btn;
    btn.SetCheck(1);
    wchar_t sz[8] = L"x";
    EXPECT_EQ(0, btn.GetCheck());
    EXPECT_EQ(0, btn.Show(SW_SHOW));
    EXPECT_EQ(0, btn.GetText(sz, 8));
    EXPECT_EQ(nullptr, btn.GetSafeHwnd());
    HDC hdc = GetDC(nullptr);
    EXPECT_EQ(0, btn.OnPaintEx(hdc));
    ReleaseDC(nullptr, hdc);
    btn.ReSize(10, 10);
    btn.SetText(L"y");
}

TEST(ButtonObject, CreateStyleSecondCreateAndFailure)
{
    TestHost host;
    HIMAGELIST hList = MakeColourList({RGB(255, 0, 0), RGB(0, 0, 255)});
    auto btn = MakeButton(host, {10, 20, 110, 70}, NAVBTN_TOGGLE, L"Go", 7, hList);
    HWND hwnd = btn->GetSafeHwnd();
    ASSERT_TRUE(IsWindow(hwnd));
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(BS_OWNERDRAW, style & BS_TYPEMASK);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_EQ(7, GetDlgCtrlID(hwnd));
    EXPECT_EQ(ProbeButton::Proc(), (WNDPROC)GetWindowLongPtrW(hwnd, GWLP_WNDPROC));

    // A second Create keeps the window, the kind and the image list.
    RECT rc2 = {0, 0, 30, 30};
    EXPECT_EQ(1, btn->Create(GetModuleHandleW(nullptr), WS_CHILD, nullptr, rc2, host, 8,
                             nullptr, NAVBTN_PUSH, nullptr));
    EXPECT_EQ(hwnd, btn->GetSafeHwnd());
    SendTap(hwnd, 5, 5); // still a toggle: the tap checks it
    EXPECT_EQ(1, btn->GetCheck());
    EXPECT_EQ(RGB(0, 0, 255), DrawItem(hwnd, 0).At(5, 5));

    DebugCapture debug;
    CNavBitmapButton orphan;
    RECT rc = {0, 0, 20, 20};
    EXPECT_EQ(0, orphan.Create(GetModuleHandleW(nullptr), WS_CHILD, nullptr, rc,
                               reinterpret_cast<HWND>(0x4321), 1, nullptr, NAVBTN_PUSH, nullptr));
    ASSERT_EQ(1u, debug.Lines().size());
    EXPECT_EQ(L"CreateButton failed: 1400\n", debug.Lines()[0]); // invalid window handle
    ImageList_Destroy(hList);
}

TEST(ButtonObject, CheckTextResizeAndShow)
{
    TestHost host;
    auto btn = MakeButton(host, {30, 40, 130, 90}, NAVBTN_CHECK, L"Caption");
    HWND hwnd = btn->GetSafeHwnd();
    ValidateRect(hwnd, nullptr);
    btn->SetCheck(5);
    EXPECT_EQ(1, btn->GetCheck());
    EXPECT_FALSE(HasUpdate(hwnd)) << "SetCheck does not repaint";
    btn->SetCheck(0);
    EXPECT_EQ(0, btn->GetCheck());

    wchar_t sz[8];
    EXPECT_EQ(4, btn->GetText(sz, 5));
    EXPECT_STREQ(L"Capt", sz);
    btn->SetText(L"Other");
    EXPECT_EQ(5, btn->GetText(sz, 8));
    // No buffer, or none to speak of: nothing is copied.
    EXPECT_EQ(0, btn->GetText(nullptr, 8));
    EXPECT_EQ(0, btn->GetText(sz, -1));
    EXPECT_STREQ(L"Other", sz);

    btn->ReSize(60, 25);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(30, rc.left);
    EXPECT_EQ(40, rc.top);
    EXPECT_EQ(60, rc.right - rc.left);
    EXPECT_EQ(25, rc.bottom - rc.top);

    EXPECT_NE(0, btn->Show(SW_HIDE)); // was visible
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

// The destructor gives the native procedure back before the window goes away.
TEST(ButtonObject, DestructorRestoresProcedureThenDestroys)
{
    TestHost host;
    auto btn = MakeButton(host, {0, 0, 80, 40}, NAVBTN_PUSH);
    HWND hwnd = btn->GetSafeHwnd();
    const LONG_PTR native = GetClassLongPtrW(hwnd, GCLP_WNDPROC);
    LONG_PTR procAtDestroy = 0;
    host.hook = [&](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT*) {
        if (msg == WM_PARENTNOTIFY && LOWORD(wParam) == WM_DESTROY)
            procAtDestroy = GetWindowLongPtrW(reinterpret_cast<HWND>(lParam), GWLP_WNDPROC);
        return false;
    };
    btn.reset();
    host.hook = nullptr;
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(native, procAtDestroy);
}

// Copies share the window and the check state; destroying any one of them destroys the window
// for all, and the shared word is neither leaked nor freed twice.
TEST(ButtonObject, CopiesShareStateAndWordIsFreedOnce)
{
    TestHost host;
    auto btn = MakeButton(host, {0, 0, 80, 40}, NAVBTN_CHECK);
    {
        CNavBitmapButton copy(*btn);
        CNavBitmapButton assigned;
        assigned.SetFont(nullptr);
        assigned = copy;
        EXPECT_EQ(btn->GetSafeHwnd(), assigned.GetSafeHwnd());
        assigned.SetCheck(1);
        EXPECT_EQ(1, btn->GetCheck());
        SendTap(btn->GetSafeHwnd(), 3, 3);
        EXPECT_EQ(0, copy.GetCheck());
        assigned = assigned; // self-assignment keeps the shared word
        EXPECT_EQ(0, assigned.GetCheck());
    } // the copies destroy the window
    EXPECT_FALSE(IsWindow(btn->GetSafeHwnd()));
    EXPECT_EQ(0, btn->GetCheck());

    // A copy that lets go of the word leaves it to the others: it outlives new allocations.
    auto live = MakeButton(host, {0, 0, 80, 40}, NAVBTN_CHECK);
    live->SetCheck(1);
    {
        CNavBitmapButton tmp;
        tmp = *live;
        tmp = CNavBitmapButton();
    }
    std::vector<CNavBitmapButton> fresh(16);
    EXPECT_EQ(1, live->GetCheck());

    // Many copies and assignments: memory stays flat (no word is lost) and the heap stays
    // consistent (none is freed twice).
    PROCESS_MEMORY_COUNTERS before = {}, after = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof(before));
    for (int i = 0; i < 200000; ++i)
    {
        CNavBitmapButton a, b;
        CNavBitmapButton c(a);
        b = a;
        c = b;
        a = CNavBitmapButton();
    }
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof(after));
    EXPECT_LT(after.PagefileUsage, before.PagefileUsage + 1024 * 1024);
    EXPECT_TRUE(HeapValidate(reinterpret_cast<HANDLE>(_get_heap_handle()), 0, nullptr));
}

// Assignment over a button keeps the rule every control keeps (Assignment.h).
TEST(ButtonObject, AssignmentGivesUpTheTargetsOwnWindow)
{
    TestHost host;
    AssignmentRule<CNavBitmapButton> rule;
    rule.make = [&](CNavBitmapButton& source, CNavBitmapButton& target) {
        wchar_t szNone[] = L"";
        RECT rcSource = {0, 0, 80, 40}, rcTarget = {0, 50, 80, 90};
        ASSERT_EQ(1, source.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE, szNone,
                                   rcSource, host, 100, nullptr, NAVBTN_PUSH, nullptr));
        ASSERT_EQ(1, target.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE, szNone,
                                   rcTarget, host, 101, nullptr, NAVBTN_CHECK, nullptr));
    };
    rule.Check();
}

// ---- Taps ----

static const Expected kTwoTapsClickTwice[] = {
    ExpW(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED)),
    ExpW(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED)),
};

// One tap inside, one more, a release outside (right of and above the button): the state of
// each kind, the repaint request and the native click.
TEST(ButtonTap, TapsByKind)
{
    const int kAfterOne[] = {0, 1, 1, 1}, kAfterTwo[] = {0, 0, 1, 0};
    for (int k = 0; k < 4; ++k)
    {
        SCOPED_TRACE(kKindNames[k]);
        TestHost host;
        auto btn = MakeButton(host, {10, 10, 110, 60}, kKinds[k], L"", 100, nullptr, nullptr,
                              WS_GROUP);
        HWND hwnd = btn->GetSafeHwnd();
        PumpMessages();
        host.Clear();
        SendTap(hwnd, 20, 20);
        EXPECT_EQ(kAfterOne[k], btn->GetCheck());
        SendTap(hwnd, 20, 20);
        EXPECT_EQ(kAfterTwo[k], btn->GetCheck());
        PumpMessages();
        EXPECT_TRUE(SequenceIs(host.Messages(), kTwoTapsClickTwice, {WM_COMMAND}));

        // A release without a press (the native button ignores it) repaints only when it
        // lands inside; outside it changes nothing.
        const int before = btn->GetCheck();
        const POINT outside[] = {{150, 20}, {20, -3}, {-1, 10}};
        for (POINT pt : outside)
        {
            ValidateRect(hwnd, nullptr);
            SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            EXPECT_EQ(before, btn->GetCheck()) << pt.x << "," << pt.y;
            EXPECT_FALSE(HasUpdate(hwnd)) << pt.x << "," << pt.y;
        }
        SendPenDown(hwnd, 20, 20);
        SendPenUp(hwnd, 200, 20);
        EXPECT_EQ(before, btn->GetCheck());
        ValidateRect(hwnd, nullptr);
        SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
        EXPECT_TRUE(HasUpdate(hwnd));
    }
}

// down, up, double-click, up: the up and the double-click count, the last up does not; the
// flag is the whole process's until the next pen-down on any button.
TEST(ButtonTap, DoubleTapCountsEachTapOnce)
{
    TestHost host;
    auto a = MakeButton(host, {0, 0, 100, 50}, NAVBTN_CHECK, L"", 1);
    auto b = MakeButton(host, {0, 60, 100, 110}, NAVBTN_CHECK, L"", 2);
    HWND hwndA = a->GetSafeHwnd(), hwndB = b->GetSafeHwnd();
    DebugCapture debug;
    const LPARAM pt = MAKELPARAM(10, 10);
    SendMessageW(hwndA, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    SendMessageW(hwndA, WM_LBUTTONUP, 0, pt);
    EXPECT_EQ(1, a->GetCheck());
    SendMessageW(hwndA, WM_LBUTTONDBLCLK, MK_LBUTTON, pt);
    EXPECT_EQ(0, a->GetCheck());
    SendMessageW(hwndA, WM_LBUTTONUP, 0, pt);
    EXPECT_EQ(0, a->GetCheck());
    EXPECT_EQ((std::vector<std::wstring>{L"WM_LBUTTONDOWN\n", L"WM_LBUTTONUP\n"}),
              debug.Lines());

    SendMessageW(hwndB, WM_LBUTTONUP, 0, pt); // still ignored: no pen-down since
    EXPECT_EQ(0, b->GetCheck());
    SendTap(hwndB, 10, 10);
    EXPECT_EQ(1, b->GetCheck());
    EXPECT_EQ(2, debug.Count(L"WM_LBUTTONDOWN\n"));
    EXPECT_EQ(2, debug.Count(L"WM_LBUTTONUP\n"));
}

// ---- Keyboard ----

// Space down and up on a focused button, as the keyboard delivers them.
void PressSpace(HWND hwnd)
{
    SendMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageW(hwnd, WM_KEYUP, VK_SPACE, 0xC0390001);
}

// A keyboard click, by the space bar on a focused button or by BM_CLICK (what a dialog's
// mnemonic sends): the native button tells the parent, and the state changes as at the end of
// a tap inside, before the parent hears of it.
TEST(ButtonKeys, KeyboardClicksChangeStateAsATapInside)
{
    const int kAfterOne[] = {0, 1, 1, 1}, kAfterTwo[] = {0, 0, 1, 0};
    const struct
    {
        const char* label;
        void (*click)(HWND);
    } ways[] = {{"space", PressSpace},
                {"BM_CLICK", [](HWND hwnd) { SendMessageW(hwnd, BM_CLICK, 0, 0); }}};
    for (const auto& way : ways)
        for (int k = 0; k < 4; ++k)
        {
            SCOPED_TRACE(std::string(way.label) + " " + kKindNames[k]);
            TestHost host;
            auto btn = MakeButton(host, {10, 10, 110, 60}, kKinds[k], L"", 100, nullptr,
                                  nullptr, WS_GROUP);
            HWND hwnd = btn->GetSafeHwnd();
            SetFocus(hwnd);
            PumpMessages();
            std::vector<int> seenAtClick;
            host.hook = [&](UINT msg, WPARAM wParam, LPARAM, LRESULT*) {
                if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
                    seenAtClick.push_back(btn->GetCheck());
                return false;
            };
            way.click(hwnd);
            EXPECT_EQ(kAfterOne[k], btn->GetCheck());
            ValidateRect(hwnd, nullptr);
            way.click(hwnd);
            EXPECT_EQ(kAfterTwo[k], btn->GetCheck());
            EXPECT_TRUE(HasUpdate(hwnd));
            EXPECT_EQ((std::vector<int>{kAfterOne[k], kAfterTwo[k]}), seenAtClick);
            host.hook = nullptr;
        }
}

// Only the keyboard's own press clicks: a button shown pushed by the application, or one that
// lost the focus while the key was down, keeps its state at the key-up, as the native button
// sends no click then.
TEST(ButtonKeys, NoClickWithoutTheKeyboardsOwnPress)
{
    TestHost host;
    auto btn = MakeButton(host, {10, 10, 110, 60}, NAVBTN_CHECK, L"", 100);
    auto other = MakeButton(host, {10, 70, 110, 120}, NAVBTN_CHECK, L"", 101);
    HWND hwnd = btn->GetSafeHwnd();
    SetFocus(hwnd);
    PumpMessages();
    host.Clear();
    SendMessageW(hwnd, BM_SETSTATE, TRUE, 0);
    SendMessageW(hwnd, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(0, btn->GetCheck()) << "shown pushed";
    SendMessageW(hwnd, BM_SETSTATE, FALSE, 0);

    SendMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SetFocus(other->GetSafeHwnd());
    SendMessageW(hwnd, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(0, btn->GetCheck()) << "focus lost while the key was down";
    EXPECT_EQ(0, other->GetCheck());
    PumpMessages();
    for (const Msg& m : host.Messages(WM_COMMAND))
        EXPECT_NE(BN_CLICKED, HIWORD(m.wParam)) << "no click was reported either";
}

// ---- Radio groups ----

struct RadioGroup
{
    std::vector<std::unique_ptr<CNavBitmapButton>> buttons;
    RadioGroup(HWND hwndParent, int nCount, int yTop = 0)
    {
        for (int i = 0; i < nCount; ++i)
        {
            int x = (i % 10) * 60, y = yTop + (i / 10) * 30;
            buttons.push_back(MakeButton(hwndParent, {x, y, x + 58, y + 28}, NAVBTN_RADIO, L"",
                                         200 + yTop + i, nullptr, nullptr,
                                         i == 0 ? WS_GROUP : 0));
            buttons.back()->SetCheck(1);
        }
    }
    std::string Checks() const
    {
        std::string s;
        for (auto& b : buttons)
            s += b->GetCheck() ? '1' : '0';
        return s;
    }
};

// The group's first button hears one clearing request per tap.
static const Expected kGroupClearedOnce[] = {
    ExpWL(WM_NAV_RADIOCLEAR, 0, 0),
};

TEST(ButtonRadio, TapClearsTheRestOfItsGroupOnly)
{
    TestHost host;
    RadioGroup first(host, 5), second(host, 3, 100);
    MessageSpy spy(first.buttons[0]->GetSafeHwnd());
    SendTap(first.buttons[2]->GetSafeHwnd(), 5, 5); // a checked one: it stays checked
    EXPECT_EQ("00100", first.Checks());
    EXPECT_EQ("111", second.Checks());
    EXPECT_TRUE(SequenceIs(spy.Messages(), kGroupClearedOnce, {WM_NAV_RADIOCLEAR}));
    SendTap(first.buttons[4]->GetSafeHwnd(), 5, 5);
    EXPECT_EQ("00001", first.Checks());
}

// A keyboard click on a radio button clears the rest of its group as a tap does.
TEST(ButtonRadio, SpaceClearsTheRestOfItsGroup)
{
    TestHost host;
    RadioGroup first(host, 5), second(host, 3, 100);
    SetFocus(first.buttons[3]->GetSafeHwnd());
    PressSpace(first.buttons[3]->GetSafeHwnd());
    EXPECT_EQ("00010", first.Checks());
    EXPECT_EQ("111", second.Checks());
}

// The walk stops after 20 members: in a group of 25 the last four keep their state.
TEST(ButtonRadio, LargeGroupClearsTwentyFollowers)
{
    TestHost host(640, 480);
    RadioGroup group(host, 25);
    SendTap(group.buttons[0]->GetSafeHwnd(), 5, 5);
    EXPECT_EQ("1" + std::string(20, '0') + "1111", group.Checks());
    for (auto& b : group.buttons)
        b->SetCheck(1);
    SendTap(group.buttons[10]->GetSafeHwnd(), 5, 5); // 14 to the end, 6 from the start
    EXPECT_EQ("000000" "1111" "1" "00000000000000", group.Checks());
}

// Only radio buttons act on the clear request; every kind answers 0.
TEST(ButtonRadio, ClearRequestToEachKind)
{
    TestHost host;
    for (int k = 0; k < 4; ++k)
    {
        SCOPED_TRACE(kKindNames[k]);
        auto btn = MakeButton(host, {0, 0, 80, 40}, kKinds[k]);
        HWND hwnd = btn->GetSafeHwnd();
        btn->SetCheck(1);
        ValidateRect(hwnd, nullptr);
        EXPECT_EQ(0, SendMessageW(hwnd, WM_NAV_RADIOCLEAR, 0, 0));
        const bool bRadio = kKinds[k] == NAVBTN_RADIO;
        EXPECT_EQ(bRadio ? 0 : 1, btn->GetCheck());
        EXPECT_EQ(bRadio, HasUpdate(hwnd));
    }
}

// ---- Painting ----

// The face goes over the host's background: the pattern shows where the PNG is transparent.
// 83 pixels still take the 78-pixel small frame, 84 the 106-pixel large one.
TEST(ButtonPaint, SharedFaceBySizeOverParentBackground)
{
    TestHost host;
    struct Case { int cx; bool bLargeShowsAt80; } cases[] = {{83, false}, {84, true}};
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.cx);
        auto btn = MakeButton(host, {40, 30, 40 + c.cx, 80}, NAVBTN_PUSH);
        host.Clear();
        Pixels px = Screen(btn->GetSafeHwnd());
        ASSERT_EQ(1u, host.BackgroundRequests().size());
        const RECT rq = host.BackgroundRequests()[0];
        EXPECT_EQ(40, rq.left);
        EXPECT_EQ(30, rq.top);
        EXPECT_EQ(40 + c.cx, rq.right);
        EXPECT_EQ(80, rq.bottom);
        EXPECT_TRUE(ColorNear(kFaceNormal, px.At(40, 25), 3)) << ColorText(px.At(40, 25));
        EXPECT_EQ(PatternAt(40, 30), px.At(0, 0)) << "corner is transparent";
        const COLORREF at80 = px.At(80, 25);
        if (c.bLargeShowsAt80)
            EXPECT_TRUE(ColorNear(kFaceNormal, at80, 3)) << ColorText(at80);
        else
            EXPECT_EQ(PatternAt(120, 55), at80);
    }
}

// The place a paint asks its parent for is remembered between paints; however the button comes
// to stand elsewhere, the next paint asks for the new place, of the parent it has then.
TEST(ButtonPaint, BackgroundRequestFollowsTheButtonWhereverItGoes)
{
    TestHost host, other;
    struct Case
    {
        const char* label;
        std::function<void(HWND)> move;
        TestHost* pParentAfter;
        RECT rcAfter;
    } cases[] = {
        {"MoveWindow", [](HWND h) { MoveWindow(h, 60, 70, 90, 40, TRUE); }, &host,
         {60, 70, 150, 110}},
        {"SetWindowPos, moved only",
         [](HWND h) { SetWindowPos(h, nullptr, 15, 25, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
         &host, {15, 25, 95, 65}},
        {"another parent", [&other](HWND h) { SetParent(h, other); }, &other, {10, 20, 90, 60}},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.label);
        auto btn = MakeButton(host, {10, 20, 90, 60}, NAVBTN_PUSH);
        HWND hwnd = btn->GetSafeHwnd();
        Screen(hwnd); // the place found and remembered
        c.move(hwnd);
        host.Clear();
        other.Clear();
        Screen(hwnd);
        ASSERT_EQ(1u, c.pParentAfter->BackgroundRequests().size());
        const RECT rq = c.pParentAfter->BackgroundRequests()[0];
        EXPECT_TRUE(EqualRect(&c.rcAfter, &rq))
            << rq.left << "," << rq.top << "," << rq.right << "," << rq.bottom;
        SetParent(hwnd, host);
    }
}

// The frame follows the owner-draw state, with pressed before focused before disabled; the
// push-on/push-off kind shows no check state in the shared faces.
TEST(ButtonPaint, SharedFaceFramePerState)
{
    struct Case { const char* name; UINT state; COLORREF centre; } cases[] = {
        {"normal", 0, kFaceNormal},
        {"pressed", ODS_SELECTED, kFacePressed},
        {"pressed+focused", ODS_SELECTED | ODS_FOCUS, kFacePressed},
        {"focused", ODS_FOCUS, kFaceFocused},
        {"focused+disabled", ODS_FOCUS | ODS_DISABLED, kFaceFocused},
        {"disabled", ODS_DISABLED, kFaceNormal},
        {"checked bit ignored", ODS_CHECKED, kFaceNormal},
    };
    TestHost host;
    auto push = MakeButton(host, {0, 0, 78, 50}, NAVBTN_PUSH);
    auto toggle = MakeButton(host, {0, 60, 106, 110}, NAVBTN_TOGGLE);
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(ColorNear(c.centre, DrawItem(push->GetSafeHwnd(), c.state).At(39, 25), 3));
        toggle->SetCheck(0);
        Pixels off = DrawItem(toggle->GetSafeHwnd(), c.state);
        toggle->SetCheck(1);
        Pixels on = DrawItem(toggle->GetSafeHwnd(), c.state);
        EXPECT_TRUE(ColorNear(c.centre, on.At(53, 25), 3));
        EXPECT_EQ(off.Raw(), on.Raw());
    }
}

// The native states reach the face through the host: pressed, focused, disabled.
TEST(ButtonPaint, NativeStatesShowOnScreen)
{
    TestHost host;
    auto btn = MakeButton(host, {10, 10, 110, 60}, NAVBTN_PUSH);
    HWND hwnd = btn->GetSafeHwnd();
    EXPECT_TRUE(ColorNear(kFaceNormal, Screen(hwnd).At(53, 25), 3));
    SendPenDown(hwnd, 20, 20);
    EXPECT_TRUE(ColorNear(kFacePressed, Screen(hwnd).At(53, 25), 3));
    SendPenUp(hwnd, 20, 20);
    SetFocus(hwnd);
    EXPECT_TRUE(ColorNear(kFaceFocused, Screen(hwnd).At(53, 25), 3));
    SetFocus(host);
    EnableWindow(hwnd, FALSE);
    EXPECT_TRUE(ColorNear(kFaceNormal, Screen(hwnd).At(53, 25), 3));
}

// Icons of bitmap 108 land at the face's top-left corner, magenta left out; the caption
// starts 32 pixels in (after the application's icon as well for a radio button).
TEST(ButtonPaint, CheckAndRadioIcons)
{
    TestHost host;
    HIMAGELIST hIcon = MakeColourList({RGB(200, 0, 0)}, 16);
    struct Case { const char* name; ButtonType type; HIMAGELIST list; int textLeft; } cases[] = {
        {"check", NAVBTN_CHECK, nullptr, 32},
        {"check ignores list", NAVBTN_CHECK, hIcon, 32},
        {"radio", NAVBTN_RADIO, nullptr, 32},
        {"radio with icon", NAVBTN_RADIO, hIcon, 32 + 16 + 1},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto btn = MakeButton(host, {20, 100, 220, 140}, c.type, L"HHHH", 100, c.list);
        HWND hwnd = btn->GetSafeHwnd();
        Pixels off = Screen(hwnd);
        btn->SetCheck(1);
        Pixels on = Screen(hwnd);
        EXPECT_EQ(kIconField, off.At(15, 15));
        EXPECT_TRUE(ColorNear(kIconMark, on.At(15, 15), 3)) << ColorText(on.At(15, 15));
        EXPECT_EQ(PatternAt(21, 101), on.At(1, 1)) << "magenta is transparent";
        EXPECT_EQ(c.type == NAVBTN_RADIO && c.list ? RGB(200, 0, 0) : PatternAt(52, 101),
                  on.At(32, 1));
        const RECT ink = CaptionInk(on, 31);
        EXPECT_GE(ink.left, c.textLeft);
        EXPECT_LE(ink.left, c.textLeft + 3);
        EXPECT_NEAR(20, (ink.top + ink.bottom - 1) / 2, 2) << "vertically centred";
    }
    ImageList_Destroy(hIcon);
}

// Which image of the application's list shows, by kind, state, check and image count.
TEST(ButtonPaint, ImageListIndexTable)
{
    const COLORREF colours[] = {RGB(250, 0, 0), RGB(0, 250, 0), RGB(0, 0, 250),
                                RGB(250, 250, 0)};
    struct Case { ButtonType type; bool checked; UINT state; int index2; int index4; } cases[] = {
        {NAVBTN_PUSH, false, ODS_SELECTED | ODS_FOCUS, 1, 1},
        {NAVBTN_PUSH, false, ODS_FOCUS | ODS_DISABLED, 0, 2},
        {NAVBTN_PUSH, false, ODS_DISABLED, 0, 3},
        {NAVBTN_PUSH, true, 0, 0, 0},
        {NAVBTN_TOGGLE, true, 0, 1, 3},
        {NAVBTN_TOGGLE, true, ODS_DISABLED, 1, 1},
        {NAVBTN_TOGGLE, false, ODS_FOCUS, 0, 1},
        {NAVBTN_TOGGLE, false, ODS_DISABLED | ODS_SELECTED, 0, 0},
    };
    TestHost host;
    HIMAGELIST hTwo = MakeColourList({colours[0], colours[1]});
    HIMAGELIST hFour = MakeColourList({colours[0], colours[1], colours[2], colours[3]});
    for (auto& c : cases)
    {
        for (int n : {2, 4})
        {
            SCOPED_TRACE(testing::Message() << kKindNames[c.type] << " checked=" << c.checked
                                            << " state=" << c.state << " images=" << n);
            auto btn = MakeButton(host, {0, 0, 60, 50}, c.type, L"", 100, n == 2 ? hTwo : hFour);
            btn->SetCheck(c.checked);
            EXPECT_EQ(colours[n == 2 ? c.index2 : c.index4],
                      DrawItem(btn->GetSafeHwnd(), c.state).At(25, 25));
        }
    }
    ImageList_Destroy(hTwo);
    ImageList_Destroy(hFour);
}

namespace
{
struct CallbackLog
{
    int calls = 0;
    UINT state = 0xFFFF, id = 0;
    RECT rc = {};
} g_callback;

void RecordingCallback(HDC hdc, RECT* prc, UINT uState, UINT uCtrlId)
{
    ++g_callback.calls;
    g_callback.state = uState;
    g_callback.id = uCtrlId;
    g_callback.rc = *prc;
    HBRUSH hbr = CreateSolidBrush(RGB(10, 200, 30));
    FillRect(hdc, prc, hbr);
    DeleteObject(hbr);
}
} // namespace

// The flags the application's painter gets, and that only face kinds call it.
TEST(ButtonPaint, CallbackFlagTable)
{
    struct Case { ButtonType type; bool checked; UINT state; int calls; UINT flags; } cases[] = {
        {NAVBTN_PUSH, false, ODS_SELECTED | ODS_FOCUS | ODS_DISABLED, 1, 1},
        {NAVBTN_PUSH, true, ODS_FOCUS | ODS_DISABLED, 1, 16},
        {NAVBTN_PUSH, false, ODS_DISABLED, 1, 4},
        {NAVBTN_PUSH, true, 0, 1, 0},
        {NAVBTN_TOGGLE, true, ODS_FOCUS, 1, 8},
        {NAVBTN_TOGGLE, true, ODS_DISABLED | ODS_SELECTED, 1, 12},
        {NAVBTN_TOGGLE, false, ODS_SELECTED, 1, 0},
        {NAVBTN_TOGGLE, false, ODS_DISABLED, 1, 4},
        {NAVBTN_CHECK, true, 0, 0, 0},
        {NAVBTN_RADIO, true, 0, 0, 0},
    };
    TestHost host;
    for (auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << kKindNames[c.type] << " checked=" << c.checked
                                        << " state=" << c.state);
        auto btn = MakeButton(host, {5, 5, 95, 45}, c.type, L"", 33, nullptr, RecordingCallback);
        btn->SetCheck(c.checked);
        g_callback = CallbackLog();
        Pixels px = DrawItem(btn->GetSafeHwnd(), c.state);
        ASSERT_EQ(c.calls, g_callback.calls);
        if (!c.calls)
            continue;
        EXPECT_EQ(c.flags, g_callback.state);
        EXPECT_EQ(33u, g_callback.id);
        EXPECT_EQ(90, g_callback.rc.right);
        EXPECT_EQ(RGB(10, 200, 30), px.At(45, 20));
    }

    // With an image list as well, the callback is dropped.
    HIMAGELIST hList = MakeColourList({RGB(1, 2, 3)});
    auto btn = MakeButton(host, {0, 0, 60, 50}, NAVBTN_PUSH, L"", 1, hList, RecordingCallback);
    g_callback = CallbackLog();
    EXPECT_EQ(RGB(1, 2, 3), DrawItem(btn->GetSafeHwnd(), 0).At(5, 5));
    EXPECT_EQ(0, g_callback.calls);
    ImageList_Destroy(hList);
}

// Captions: 49 characters at most; push captions centred as one line or, when too wide, as
// two; push-on/push-off captions centred on one line.
TEST(ButtonPaint, CaptionPlacement)
{
    TestHost host(700, 300);
    HFONT hFont = MakeFont(12);
    HDC hdc = GetDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    SIZE s49 = {}, sOne = {};
    GetTextExtentPoint32W(hdc, std::wstring(49, L'M').c_str(), 49, &s49);
    GetTextExtentPoint32W(hdc, L"OK", 2, &sOne);
    SelectObject(hdc, hOld);
    ReleaseDC(nullptr, hdc);

    auto check = MakeButton(host, {0, 0, 690, 40}, NAVBTN_CHECK, std::wstring(60, L'M').c_str());
    check->SetFont(hFont);
    EXPECT_NEAR(32 + s49.cx, CaptionInk(Screen(check->GetSafeHwnd()), 31).right - 1, 3)
        << "only 49 characters are drawn";

    struct Case { const char* name; ButtonType type; const wchar_t* text; int lines; } cases[] = {
        {"push fits", NAVBTN_PUSH, L"OK", 1},
        {"push wraps", NAVBTN_PUSH, L"OK OK OK OK OK OK OK OK OK OK", 2},
        {"toggle", NAVBTN_TOGGLE, L"OK", 1},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto btn = MakeButton(host, {0, 50, 106, 150}, c.type, c.text, 100, nullptr,
                              RecordingCallback); // plain green face: only the caption is ink
        btn->SetFont(hFont);
        const RECT ink = CaptionInk(Screen(btn->GetSafeHwnd()), 0);
        const int l = ink.left, r = ink.right - 1, t = ink.top, b = ink.bottom - 1;
        EXPECT_NEAR(53, (l + r) / 2, 2) << "centred horizontally";
        const int top = (100 - c.lines * sOne.cy) / 2;
        EXPECT_GE(t, top);
        EXPECT_LE(b, top + c.lines * sOne.cy);
        EXPECT_GT(b - t, (c.lines - 1) * sOne.cy);
    }
    DeleteObject(hFont);
}

// OnPaintEx paints the normal face at the button's place in the parent's DC and hands the DC
// back as it was; a list-box owner-draw request goes to the native procedure untouched.
TEST(ButtonPaint, OnPaintExAndForeignDrawItem)
{
    TestHost host;
    auto btn = MakeButton(host, {30, 20, 130, 70}, NAVBTN_PUSH, L"");
    EnableWindow(btn->GetSafeHwnd(), FALSE);
    Canvas canvas(200, 100);
    const HDC hdc = canvas;
    canvas.Fill(RGB(0, 0, 0));
    const DcState before = MarkCallerDc(hdc);

    EXPECT_EQ(0, btn->OnPaintEx(nullptr));
    EXPECT_EQ(1, btn->OnPaintEx(hdc));
    Pixels px = Pixels::FromDC(hdc, 0, 0, 200, 100);
    EXPECT_TRUE(ColorNear(kFaceNormal, px.At(30 + 53, 20 + 25), 3));
    EXPECT_EQ(PatternAt(30, 20), px.At(30, 20));
    EXPECT_EQ(RGB(0, 0, 0), px.At(29, 20));
    EXPECT_EQ(RGB(0, 0, 0), px.At(130, 70));
    EXPECT_EQ("", before.Changes(hdc));
    {
        // A copy names the same window and composes the same picture.
        CNavBitmapButton copy(*btn);
        canvas.Fill(RGB(0, 0, 0));
        EXPECT_EQ(1, copy.OnPaintEx(hdc));
        EXPECT_EQ(px.Raw(), Pixels::FromDC(hdc, 0, 0, 200, 100).Raw()) << "a copy's picture";
        copy = CNavBitmapButton(); // the button alone gives the window up
    }

    LRESULT lr = -1;
    Pixels untouched = DrawItem(btn->GetSafeHwnd(), 0, ODT_LISTBOX, &lr);
    EXPECT_EQ(RGB(255, 255, 255), untouched.At(53, 25));
    EXPECT_NE(1, lr);

    HWND hwnd = btn->GetSafeHwnd();
    EXPECT_EQ(1, SendMessageW(hwnd, WM_ERASEBKGND, 0, 0));
    HDC hdcWnd = GetDC(hwnd);
    SetBkMode(hdcWnd, OPAQUE);
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)),
              SendMessageW(hwnd, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hdcWnd), 0));
    EXPECT_EQ(TRANSPARENT, GetBkMode(hdcWnd));
    ReleaseDC(hwnd, hdcWnd);
}

// A button with a border is larger than the face composed for its client area; OnPaintEx
// copies the face and nothing beyond it (the strip once showed what a larger button had left
// in the shared back buffer).
TEST(ButtonPaint, ABorderedButtonComposesOnlyItsFace)
{
    TestHost host;
    auto large = MakeButton(host, {10, 100, 300, 200}, NAVBTN_PUSH, L"large");
    auto bordered = MakeButton(host, {30, 20, 130, 70}, NAVBTN_PUSH, L"");
    ASSERT_TRUE(AddNativeBorder(bordered->GetSafeHwnd()));
    Canvas canvas(320, 220);
    ASSERT_EQ(1, large->OnPaintEx(canvas));
    canvas.Fill(RGB(0, 0, 0));

    ASSERT_EQ(1, bordered->OnPaintEx(canvas));
    Pixels px = canvas.Read();
    EXPECT_EQ(0, ChangedBeyondPicture(px, bordered->GetSafeHwnd(), RGB(0, 0, 0)));
    EXPECT_EQ(PatternAt(30, 20), px.At(30, 20)) << "the face itself is composed";
}

// No GDI object outlives a paint: the owners' count is back where it started, and after
// thousands of paints of every kind the process can still make objects. What the paints keep
// (the picture, the check and radio icons) goes with the last control.
TEST(ButtonPaint, NoGdiObjectSurvivesAPaint)
{
    TestHost host;
    HIMAGELIST hList = MakeColourList({RGB(9, 9, 9), RGB(8, 8, 8)}, 20);
    HFONT hFont = MakeFont(14);
    PumpMessages();
    const long nStart = StandInLiveObjects();
    std::vector<std::unique_ptr<CNavBitmapButton>> buttons;
    for (int k = 0; k < 4; ++k)
    {
        buttons.push_back(MakeButton(host, {0, 50 * k, 100, 50 * k + 45}, kKinds[k], L"Text"));
        buttons.push_back(MakeButton(host, {110, 50 * k, 200, 50 * k + 45}, kKinds[k], L"Text",
                                     101, hList));
        buttons.back()->SetFont(hFont);
    }
    buttons.push_back(MakeButton(host, {210, 0, 300, 45}, NAVBTN_PUSH, L"cb", 102, nullptr,
                                 RecordingCallback));
    PumpMessages();
    const long nLive = StandInLiveObjects();
    for (int i = 0; i < 2500; ++i)
        for (auto& b : buttons)
        {
            DrawItem(b->GetSafeHwnd(), i % 2 ? ODS_SELECTED : ODS_FOCUS);
            if (i % 500 == 0)
            {
                EXPECT_EQ(nLive, StandInLiveObjects());
            }
        }
    for (auto& b : buttons)
        Screen(b->GetSafeHwnd());
    EXPECT_EQ(nLive, StandInLiveObjects());
    HDC hdcScreen = GetDC(nullptr);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, 10, 10);
    HPEN hPen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_NE(nullptr, hbm);
    EXPECT_NE(nullptr, hPen);
    DeleteObject(hbm);
    DeleteObject(hPen);
    ReleaseDC(nullptr, hdcScreen);
    buttons.clear();
    EXPECT_EQ(nStart, StandInLiveObjects()) << "what the paints kept went with the last control";
    DeleteObject(hFont);
    ImageList_Destroy(hList);
}

// The faces blend straight into a DIB section's pixels; the result must match the blend the
// platform does into any other bitmap, at full and at half strength.
TEST(ButtonPaint, DirectFaceBlendMatchesPlatformBlend)
{
    CxImage* pFace = NavSharedFace(TRUE);
    ASSERT_TRUE(pFace && pFace->GetImageState());
    const int cx = static_cast<int>(pFace->GetWidth()) + 20, cy = 70;
    HDC hdcScreen = GetDC(nullptr);
    // Blends onto the host pattern in the given bitmap, through a shifted logical origin.
    auto blend = [&](HBITMAP hbm, BYTE nAlpha) {
        HDC hdc = CreateCompatibleDC(hdcScreen);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        TestHost::PaintPattern(hdc, {0, 0, cx, cy});
        SetViewportOrgEx(hdc, 7, 3, nullptr);
        pFace->DrawAlphaChannel(hdc, 3, 7, cx + 20, 50, 0, 0, nAlpha, 0);
        SetViewportOrgEx(hdc, 0, 0, nullptr);
        Pixels px = Pixels::FromDC(hdc, 0, 0, cx, cy);
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        return px;
    };
    HBITMAP hbmDdb = CreateCompatibleBitmap(hdcScreen, cx, cy);
    for (int nHeight : {cy, -cy})
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = nHeight; // bottom-up, then top-down
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        HBITMAP hbmDib = CreateDIBSection(hdcScreen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        for (BYTE nAlpha : {255, 127})
        {
            SCOPED_TRACE(testing::Message() << "height " << nHeight << " alpha " << +nAlpha);
            Pixels direct = blend(hbmDib, nAlpha), platform = blend(hbmDdb, nAlpha);
            int nDiffer = 0;
            for (int y = 0; y < cy; ++y)
                for (int x = 0; x < cx; ++x)
                    nDiffer += !ColorNear(direct.At(x, y), platform.At(x, y), 1);
            EXPECT_EQ(0, nDiffer);
            EXPECT_NE(PatternAt(60, 30), direct.At(60, 30)) << "something was drawn";
            EXPECT_EQ(PatternAt(5, 5), direct.At(5, 5)) << "nothing left of the face";
        }
        DeleteObject(hbmDib);
    }
    DeleteObject(hbmDdb);
    ReleaseDC(nullptr, hdcScreen);
}
