// test_edit.cpp - CNavEdit on the test host: creation, operations, frames and focus, the
// background callback, the bottom line, commands, the soft input panel, OnPaintEx, and that no
// GDI object survives a paint.
#include <gtest/gtest.h>

#include "NavEdit.h"
#include "Sequence.h"
#include "Assignment.h"
#include "TestHost.h"
#include "StandIn.h"
#include "win32/NavGdi.h"
#include "platform/NavPlatform.h"

#include <string>
#include <vector>

using namespace navtest;

namespace
{
const COLORREF kRim = RGB(0x8E, 0x92, 0x97);
const COLORREF kField = RGB(0xFF, 0xFF, 0xFF);
const COLORREF kRimFocus = RGB(0xE8, 0x79, 0x0A);
const COLORREF kFieldFocus = RGB(0xEA, 0xF4, 0xFF);
const COLORREF kCallbackColour = RGB(0x30, 0xA0, 0x50);
const COLORREF kBlack = RGB(0, 0, 0);
const DWORD kStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;

// Gives the protected state to tests (the frame bitmap in use).
class TestEdit : public CNavEdit
{
public:
    int FrameId() const { return m_nFrameBitmapID; }
    void SetFrameId(int nId) { m_nFrameBitmapID = nId; }
    int Pressed() const { return m_bPressed; }
};

// What the background callback was called with.
struct CallbackCall
{
    RECT rc;
    UINT uState;
    UINT uId;
};
std::vector<CallbackCall> g_calls;

void SolidBackground(HDC hdc, RECT* prc, UINT uState, UINT uId)
{
    g_calls.push_back({*prc, uState, uId});
    HBRUSH hbr = CreateSolidBrush(kCallbackColour);
    FillRect(hdc, prc, hbr);
    DeleteObject(hbr);
}

class EditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.clear();
        StandInSipSimulate(SIPF_OFF, FALSE);
    }

    // Creates an edit at rc on the host; the text may be empty.
    int Make(TestEdit& edit, RECT rc, const wchar_t* pszText = L"", DWORD dwStyle = kStyle,
             DrawBkProc pfn = nullptr, int bNoFrame = 0, UINT nId = 100)
    {
        return edit.Create(GetModuleHandleW(nullptr), dwStyle, const_cast<wchar_t*>(pszText),
                           rc, host, nId, pfn, bNoFrame);
    }

    // Paints the window now and reads back its client area.
    static Pixels Paint(HWND hwnd)
    {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return Pixels::FromWindow(hwnd);
    }

    TestHost host{400, 300};
};

bool HasUpdateRegion(HWND hwnd)
{
    RECT rc;
    return GetUpdateRect(hwnd, &rc, FALSE) != FALSE;
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return L"<no clipboard>";
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT))
    {
        text = static_cast<const wchar_t*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
}
} // namespace

// ---- Creation ----

TEST_F(EditTest, CreateReplacesTheNativeBorderOnlyWhenTheFrameIsDrawn)
{
    struct Case
    {
        const char* label;
        DWORD dwStyle;
        int bNoFrame;
        bool bBorderExpected;
    };
    const Case cases[] = {
        {"frame, WS_BORDER asked", kStyle | WS_BORDER, 0, false},
        {"frame, no border asked", kStyle, 0, false},
        {"no frame, WS_BORDER kept", kStyle | WS_BORDER, 1, true},
        {"no frame, no border", kStyle, 1, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        TestEdit edit;
        ASSERT_EQ(1, Make(edit, {10, 10, 210, 46}, L"", c.dwStyle, nullptr, c.bNoFrame));
        HWND hwnd = edit.GetSafeHwnd();
        RECT rc;
        GetWindowRect(hwnd, &rc);
        EXPECT_EQ(200, rc.right - rc.left);
        EXPECT_EQ(36, rc.bottom - rc.top);
        EXPECT_EQ(100, GetDlgCtrlID(hwnd));
        EXPECT_EQ(host.Hwnd(), GetParent(hwnd));
        EXPECT_EQ(5, LOWORD(SendMessageW(hwnd, EM_GETMARGINS, 0, 0)));
        // The desktop's edit moves a WS_BORDER into its own painting: a line along the
        // left side where the frame's rim or the host's background would otherwise be.
        Pixels px = Paint(hwnd);
        const COLORREF left = px.At(0, 18);
        const COLORREF expected = c.bNoFrame ? PatternAt(10, 28) : kRim;
        if (c.bBorderExpected)
            EXPECT_NE(expected, left) << ColorText(left);
        else
            EXPECT_EQ(expected, left) << ColorText(left);
    }
}

TEST_F(EditTest, FontIsTakenOnlyBeforeCreateAndKeepsTheMargin)
{
    HFONT hFont = MakeFont(20);
    HFONT hLater = MakeFont(12);
    {
        TestEdit edit;
        edit.SetFont(hFont);
        ASSERT_EQ(1, Make(edit, {10, 10, 210, 46}, L"abc"));
        HWND hwnd = edit.GetSafeHwnd();
        EXPECT_EQ(reinterpret_cast<LRESULT>(hFont), SendMessageW(hwnd, WM_GETFONT, 0, 0));
        // The desktop's edit resets the margins on WM_SETFONT; ours keeps the left margin.
        EXPECT_EQ(5, LOWORD(SendMessageW(hwnd, EM_GETMARGINS, 0, 0)));

        edit.SetFont(hLater);
        EXPECT_EQ(reinterpret_cast<LRESULT>(hFont), SendMessageW(hwnd, WM_GETFONT, 0, 0));

        // An application that sends the font itself keeps the margin as well.
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(hLater), TRUE);
        EXPECT_EQ(reinterpret_cast<LRESULT>(hLater), SendMessageW(hwnd, WM_GETFONT, 0, 0));
        EXPECT_EQ(5, LOWORD(SendMessageW(hwnd, EM_GETMARGINS, 0, 0)));
    }
    DeleteObject(hFont);
    DeleteObject(hLater);
}

TEST_F(EditTest, SecondCreateChangesNothing)
{
    TestEdit edit;
    ASSERT_EQ(1, Make(edit, {10, 10, 210, 46}, L"first"));
    HWND hwnd = edit.GetSafeHwnd();
    EXPECT_EQ(1, Make(edit, {50, 50, 100, 80}, L"second", kStyle, SolidBackground, 1, 7));
    EXPECT_EQ(hwnd, edit.GetSafeHwnd());
    wchar_t sz[32];
    edit.GetText(sz, 32);
    EXPECT_STREQ(L"first", sz);
    // Neither the callback nor bNoFrame of the second call took effect: the frame is drawn.
    Pixels px = Paint(hwnd);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(kRim, px.At(0, 18));
}

TEST_F(EditTest, FailedCreateWritesTheDebugLine)
{
    DebugCapture debug;
    TestEdit edit;
    RECT rc = {0, 0, 100, 30};
    // A child window without a parent cannot be made.
    EXPECT_EQ(0, edit.Create(GetModuleHandleW(nullptr), kStyle, const_cast<wchar_t*>(L""), rc,
                             nullptr, 1, nullptr, 0));
    EXPECT_EQ(nullptr, edit.GetSafeHwnd());
    ASSERT_EQ(1u, debug.Lines().size());
    // The desktop reports ERROR_TLW_WITH_WSCHILD for a child window without a parent.
    EXPECT_EQ(L"CNavEdit::Create failed: 1406\n", debug.Lines()[0]);
}

// Assignment over an edit keeps the rule every control keeps (Assignment.h).
TEST_F(EditTest, AssignmentGivesUpTheTargetsOwnWindow)
{
    AssignmentRule<CNavEdit, TestEdit> rule;
    rule.make = [&](TestEdit& source, TestEdit& target) {
        ASSERT_EQ(1, Make(source, {10, 10, 210, 46}, L"source"));
        ASSERT_EQ(1, Make(target, {10, 60, 210, 96}, L"target", kStyle, nullptr, 0, 101));
    };
    rule.afterAssign = [](TestEdit& source, TestEdit&, bool) {
        EXPECT_EQ(kRim, Paint(source.GetSafeHwnd()).At(0, 18));
    };
    rule.Check();
}

// ---- Operations ----

TEST_F(EditTest, OperationsWithoutAWindowDoNothing)
{
    auto check = [](TestEdit& edit, const char* label) {
        SCOPED_TRACE(label);
        wchar_t sz[8] = L"keep";
        EXPECT_EQ(0, edit.SetText(const_cast<wchar_t*>(L"x")));
        EXPECT_EQ(0, edit.GetText(sz, 8));
        EXPECT_STREQ(L"keep", sz);
        EXPECT_EQ(0, edit.GetTextLength());
        edit.SetLimitText(3); // no window: nothing happens
        EXPECT_EQ(0, edit.OnPaintEx(nullptr));
        HDC hdcScreen = GetDC(nullptr);
        EXPECT_EQ(0, edit.OnPaintEx(hdcScreen)) << "nothing drawn is not success";
        ReleaseDC(nullptr, hdcScreen);
    };
    TestEdit before;
    check(before, "before Create");
    TestEdit gone;
    ASSERT_EQ(1, Make(gone, {10, 10, 110, 40}));
    DestroyWindow(gone.GetSafeHwnd());
    check(gone, "after the window has gone");
}

TEST_F(EditTest, TextOperationsReachTheWindow)
{
    TestEdit edit;
    ASSERT_EQ(1, Make(edit, {10, 10, 210, 46}, L"start"));
    EXPECT_NE(0, edit.SetText(const_cast<wchar_t*>(L"Hello world")));
    EXPECT_EQ(11, edit.GetTextLength());
    wchar_t sz[6];
    EXPECT_EQ(5, edit.GetText(sz, 6)); // truncated to the buffer, terminated
    EXPECT_STREQ(L"Hello", sz);
    // No buffer, or none to speak of: nothing is copied.
    EXPECT_EQ(0, edit.GetText(nullptr, 6));
    EXPECT_EQ(0, edit.GetText(sz, -1));
    EXPECT_STREQ(L"Hello", sz);
    edit.SetLimitText(4);
    EXPECT_EQ(4, SendMessageW(edit.GetSafeHwnd(), EM_GETLIMITTEXT, 0, 0));
}

// ---- Picture ----

TEST_F(EditTest, NineSliceFrameAtAnySizeWithTransparentCorners)
{
    struct Case
    {
        const char* label;
        RECT rc;
    };
    const Case cases[] = {
        {"the bitmap's own size", {20, 20, 232, 56}},
        {"stretched", {20, 30, 340, 90}},
        {"shrunk", {15, 40, 75, 64}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        TestEdit edit;
        ASSERT_EQ(1, Make(edit, c.rc));
        const int w = c.rc.right - c.rc.left, h = c.rc.bottom - c.rc.top;
        Pixels px = Paint(edit.GetSafeHwnd());
        // The outermost corner pixels are magenta in the bitmap: the host shows through.
        const POINT corners[] = {{0, 0}, {w - 1, 0}, {0, h - 2}, {w - 1, h - 2}};
        for (const POINT& pt : corners)
            EXPECT_EQ(PatternAt(c.rc.left + pt.x, c.rc.top + pt.y), px.At(pt.x, pt.y))
                << "corner " << pt.x << "," << pt.y;
        // Edges: the rim, stretched to the field's size.
        EXPECT_EQ(kRim, px.At(0, h / 2));
        EXPECT_EQ(kRim, px.At(w - 1, h / 2));
        EXPECT_EQ(kRim, px.At(w / 2, 0));
        // Inside: the white field, with no text in it.
        EXPECT_EQ(kField, px.At(w / 2, h / 2));
        EXPECT_EQ(kField, px.At(6, 6));
        EXPECT_EQ(kField, px.At(w - 7, h - 7));
        // Never the key colour.
        for (DWORD v : px.Raw())
            ASSERT_NE(0xFF00FFu, v);
    }
}

TEST_F(EditTest, BottomLineIsDrawnOverEverything)
{
    struct Case
    {
        const char* label;
        DrawBkProc pfn;
        int bNoFrame;
    };
    const Case cases[] = {
        {"frame", nullptr, 0},
        {"callback", SolidBackground, 0},
        {"no frame", nullptr, 1},
    };
    // A font taller than the field, so that the text reaches the bottom row too.
    HFONT hFont = MakeFont(40, L"Tahoma", FW_BOLD);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        TestEdit edit;
        edit.SetFont(hFont);
        ASSERT_EQ(1, Make(edit, {10, 10, 170, 40}, L"WWWWWWWW", kStyle, c.pfn, c.bNoFrame));
        Pixels px = Paint(edit.GetSafeHwnd());
        for (int x = 0; x < 160; ++x)
            ASSERT_EQ(kBlack, px.At(x, 29)) << "x " << x;
    }
    DeleteObject(hFont);
}

TEST_F(EditTest, CallbackReplacesTheFrameAndSeesPenAndId)
{
    for (int bNoFrame = 0; bNoFrame <= 1; ++bNoFrame)
    {
        SCOPED_TRACE(bNoFrame ? "no frame" : "frame asked");
        g_calls.clear();
        TestEdit edit;
        ASSERT_EQ(1, Make(edit, {10, 10, 210, 46}, L"Text", kStyle, SolidBackground, bNoFrame, 321));
        HWND hwnd = edit.GetSafeHwnd();
        Pixels px = Paint(hwnd);
        ASSERT_FALSE(g_calls.empty());
        const CallbackCall& call = g_calls.back();
        EXPECT_EQ(0, call.rc.left);
        EXPECT_EQ(0, call.rc.top);
        EXPECT_EQ(200, call.rc.right);
        EXPECT_EQ(36, call.rc.bottom);
        EXPECT_EQ(0u, call.uState);
        EXPECT_EQ(321u, call.uId);
        // The callback's colour everywhere the frame would be, text on top of it.
        EXPECT_EQ(kCallbackColour, px.At(0, 0));
        EXPECT_EQ(kCallbackColour, px.At(0, 18));
        EXPECT_EQ(kCallbackColour, px.At(150, 18));
        bool bText = false;
        for (int y = 0; y < 20 && !bText; ++y)
            for (int x = 5; x < 40 && !bText; ++x)
                bText = px.At(x, y) != kCallbackColour;
        EXPECT_TRUE(bText) << "the text is drawn over the callback's background";

        // While the pen is down the callback is told so.
        SendPenDown(hwnd, 20, 10);
        Paint(hwnd);
        EXPECT_EQ(1u, g_calls.back().uState);
        SendPenUp(hwnd, 20, 10);
        Paint(hwnd);
        EXPECT_EQ(0u, g_calls.back().uState);
    }
}

TEST_F(EditTest, WithoutFrameTheParentShowsUnderTheText)
{
    TestEdit edit;
    ASSERT_EQ(1, Make(edit, {30, 40, 230, 76}, L"x", kStyle, nullptr, 1));
    Pixels px = Paint(edit.GetSafeHwnd());
    // The host's colour request reaches the edit, so the field is not filled white.
    EXPECT_EQ(PatternAt(30 + 120, 40 + 20), px.At(120, 20));
    EXPECT_EQ(PatternAt(30, 40), px.At(0, 0));
    ASSERT_FALSE(host.BackgroundRequests().empty());
    const RECT& req = host.BackgroundRequests().back();
    EXPECT_EQ(30, req.left);
    EXPECT_EQ(40, req.top);
    EXPECT_EQ(230, req.right);
    EXPECT_EQ(76, req.bottom);
}

TEST_F(EditTest, FramesFollowTheFocus)
{
    TestEdit edit;
    ASSERT_EQ(1, Make(edit, {10, 10, 210, 46}));
    HWND hwnd = edit.GetSafeHwnd();
    Paint(hwnd);
    EXPECT_EQ(109, edit.FrameId());

    // Gained: the orange frame shows from the next paint.
    SetFocus(hwnd);
    EXPECT_EQ(110, edit.FrameId());
    Pixels px = Paint(hwnd);
    EXPECT_EQ(kRimFocus, px.At(0, 18));
    EXPECT_EQ(kFieldFocus, px.At(150, 18));
    EXPECT_EQ(PatternAt(10, 10), px.At(0, 0));

    // Lost: the field asks to be repainted at once; the grey frame returns without help.
    ValidateRect(hwnd, nullptr);
    SetFocus(host);
    EXPECT_EQ(109, edit.FrameId());
    EXPECT_TRUE(HasUpdateRegion(hwnd));
    PumpMessages();
    px = Pixels::FromWindow(hwnd);
    EXPECT_EQ(kRim, px.At(0, 18));
    EXPECT_EQ(kField, px.At(150, 18));
}

TEST_F(EditTest, RepaintRequestsByMessage)
{
    TestEdit edit;
    ASSERT_EQ(1, Make(edit, {10, 10, 210, 46}, L"text"));
    HWND hwnd = edit.GetSafeHwnd();
    struct Case
    {
        const char* label;
        UINT msg;
        WPARAM wParam;
        bool bRepaint;
    };
    const Case cases[] = {
        {"key down", WM_KEYDOWN, VK_SHIFT, true},
        {"vertical scroll", WM_VSCROLL, SB_LINEDOWN, true},
        {"EN_UPDATE command", WM_COMMAND, MAKEWPARAM(0, EN_UPDATE), true},
        {"other command", WM_COMMAND, 4321, false},
        {"move without pen", WM_MOUSEMOVE, 0, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        PumpMessages();
        ValidateRect(hwnd, nullptr);
        SendMessageW(hwnd, c.msg, c.wParam, 0);
        EXPECT_EQ(c.bRepaint, HasUpdateRegion(hwnd));
    }
    // While the pen is down every move repaints the field.
    SendPenDown(hwnd, 30, 10);
    PumpMessages();
    ValidateRect(hwnd, nullptr);
    SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 10));
    EXPECT_TRUE(HasUpdateRegion(hwnd));
    SendPenUp(hwnd, 30, 10);
    EXPECT_EQ(0, edit.Pressed());
}

// Another window takes the pen while it is down on the field: the press ends as a release
// would. The callback is told "released" and later moves no longer repaint the field.
TEST_F(EditTest, ALostCaptureEndsThePress)
{
    TestEdit edit;
    ASSERT_EQ(1, Make(edit, {10, 10, 210, 46}, L"Text", kStyle, SolidBackground));
    HWND hwnd = edit.GetSafeHwnd();
    SendPenDown(hwnd, 20, 10);
    ASSERT_EQ(hwnd, GetCapture()) << "the native edit holds the pen";
    Paint(hwnd);
    ASSERT_EQ(1u, g_calls.back().uState);
    SetCapture(host);
    EXPECT_EQ(0, edit.Pressed());
    EXPECT_TRUE(HasUpdateRegion(hwnd)) << "repainted as at a release";
    Paint(hwnd);
    EXPECT_EQ(0u, g_calls.back().uState);
    ValidateRect(hwnd, nullptr);
    SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 10));
    EXPECT_FALSE(HasUpdateRegion(hwnd));
    ReleaseCapture();
}

// ---- Commands ----

// An edit made over a spy on the system's EDIT procedure (the spy outlives it).
class NativeEditTest : public EditTest
{
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        ASSERT_TRUE(spy.Registered());
        ASSERT_EQ(1, Make(edit, {10, 10, 210, 46}, L"Hello world"));
        hwnd = edit.GetSafeHwnd();
        ASSERT_GT(spy.Count(WM_NCCREATE), 0) << "the spy stands beneath the edit";
    }

    NativeClassSpy spy{L"EDIT"};
    TestEdit edit;
    HWND hwnd = nullptr;
};

// Copy (1010) reaches the system's edit as a copy, select-all (1011) as a selection and a
// caret scroll; no command at all gets through.
static const Expected kCopyThenSelectAll[] = {
    Exp(WM_COPY),
    Exp(EM_SCROLLCARET),
};

TEST_F(NativeEditTest, CopyAndSelectAllCommandsNeverReachTheNativeEdit)
{
    SendMessageW(hwnd, EM_SETSEL, 0, 5);
    spy.Clear();
    EXPECT_EQ(0, SendMessageW(hwnd, WM_COMMAND, 1010, 0));
    EXPECT_EQ(L"Hello", ClipboardText());

    SendMessageW(hwnd, EM_SETSEL, 2, 2);
    EXPECT_EQ(0, SendMessageW(hwnd, WM_COMMAND, 1011, 0));
    DWORD dwStart = 0, dwEnd = 0;
    SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                 reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(11u, dwEnd);

    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(0, EN_UPDATE), 0);
    SendMessageW(hwnd, WM_COMMAND, 77, 0);
    EXPECT_TRUE(SequenceIs(spy.Messages(), kCopyThenSelectAll,
                           {WM_COPY, EM_SCROLLCARET, WM_COMMAND}));
}

TEST_F(NativeEditTest, MessagesPassedOnReachTheNativeEditUnchanged)
{
    const LPARAM lMark = 0x5A5A;
    const Msg messages[] = {
        {hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(host.Hwnd()), lMark},
        {hwnd, WM_KILLFOCUS, reinterpret_cast<WPARAM>(host.Hwnd()), lMark},
        {hwnd, WM_KEYDOWN, VK_SHIFT, lMark},
        {hwnd, WM_VSCROLL, SB_LINEDOWN, lMark},
        {hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10)},
        {hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10)},
        {hwnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 10)},
        {hwnd, WM_USER + 5, 7, lMark},
    };
    for (const Msg& m : messages)
        EXPECT_TRUE(PassesOnUnchanged(spy, m)) << "message 0x" << std::hex << m.message;
}

// ---- Soft input panel ----

TEST_F(EditTest, TapOpensTheInputPanelUnlessItIsExactlyOn)
{
    struct Case
    {
        const char* label;
        DWORD dwFlags;
        BOOL bQueryFails;
        POINT pt;
        int nShowsExpected;
    };
    const Case cases[] = {
        {"panel off", SIPF_OFF, FALSE, {20, 10}, 1},
        {"panel exactly on", SIPF_ON, FALSE, {20, 10}, 0},
        {"panel on with more flags", SIPF_ON | 0x2, FALSE, {20, 10}, 1},
        {"other flags only", 0x4, FALSE, {20, 10}, 1},
        {"query fails", SIPF_OFF, TRUE, {20, 10}, 0},
        {"outside the client area", SIPF_OFF, FALSE, {-1, -1}, 0},
    };
    TestEdit edit;
    ASSERT_EQ(1, Make(edit, {10, 10, 210, 46}, L"", kStyle | WS_BORDER, nullptr, 1));
    HWND hwnd = edit.GetSafeHwnd();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        StandInSipSimulate(c.dwFlags, c.bQueryFails);
        SendPenDown(hwnd, c.pt.x, c.pt.y);
        EXPECT_EQ(1, edit.Pressed()) << "pressed wherever the pen went down";
        SendPenUp(hwnd, c.pt.x, c.pt.y);
        EXPECT_EQ(0, edit.Pressed());
        EXPECT_EQ(c.nShowsExpected, StandInSipShowCount());
        if (c.nShowsExpected)
        {
            EXPECT_EQ(static_cast<DWORD>(SIPF_ON), StandInSipLastShowFlag());
        }
    }
    // The field only opens the panel: neither the focus coming by the keyboard nor the focus
    // leaving touches it. Closing it is the application's (the README says how).
    StandInSipSimulate(SIPF_ON, FALSE);
    SetFocus(host);
    SetFocus(hwnd);
    SetFocus(host);
    PumpMessages();
    EXPECT_EQ(0, StandInSipShowCount());
}

// ---- OnPaintEx ----

TEST_F(EditTest, OnPaintExDrawsTheFieldWithoutTextAtItsPlace)
{
    TestEdit edit;
    ASSERT_EQ(1, Make(edit, {40, 30, 240, 66}, L"WWWWWWWWWWWW"));
    const COLORREF kCanvas = RGB(1, 2, 3);
    {
        Canvas canvas(400, 300);
        canvas.Fill(kCanvas);
        const DcState before = MarkCallerDc(canvas);

        EXPECT_EQ(1, edit.OnPaintEx(canvas));
        Pixels px = Pixels::FromDC(canvas, 0, 0, 400, 300);
        // Outside the field: untouched.
        EXPECT_EQ(kCanvas, px.At(39, 40));
        EXPECT_EQ(kCanvas, px.At(240, 40));
        EXPECT_EQ(kCanvas, px.At(100, 29));
        EXPECT_EQ(kCanvas, px.At(100, 66));
        // The field: host background in the corners, rim, white inside with no text at all,
        // the bottom line.
        EXPECT_EQ(PatternAt(40, 30), px.At(40, 30));
        EXPECT_EQ(kRim, px.At(40, 48));
        for (int y = 35; y < 60; ++y)
            for (int x = 45; x < 235; ++x)
                ASSERT_EQ(kField, px.At(x, y)) << x << "," << y;
        EXPECT_EQ(kBlack, px.At(140, 65));
        EXPECT_EQ("", before.Changes(canvas)) << "the caller's DC comes back as it was";

        // A copy names the same window and composes the same picture.
        CNavEdit copy(edit);
        canvas.Fill(kCanvas);
        EXPECT_EQ(1, copy.OnPaintEx(canvas));
        EXPECT_EQ(px.Raw(), Pixels::FromDC(canvas, 0, 0, 400, 300).Raw()) << "a copy's picture";
        copy = CNavEdit(); // the edit alone gives the window up
    }
}

// ---- Faults mended ----

TEST_F(EditTest, TinyFieldsDrawWithoutMirroredPieces)
{
    struct Case
    {
        const char* label;
        int cx, cy;
    };
    const Case cases[] = {
        {"narrow", 6, 36}, {"low", 120, 7}, {"both", 8, 8}, {"one pixel", 1, 1}, {"empty", 0, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        TestEdit edit;
        ASSERT_EQ(1, Make(edit, {20, 20, 20 + c.cx, 20 + c.cy}));
        Paint(edit.GetSafeHwnd()); // the first paint makes the buffer kept between paints
        const long nLive = StandInLiveObjects();
        Pixels px = Paint(edit.GetSafeHwnd());
        EXPECT_EQ(nLive, StandInLiveObjects());
        for (DWORD v : px.Raw())
            ASSERT_NE(0xFF00FFu, v);
        // Where a side is long enough to have an edge, it keeps its rim; a mirrored centre
        // would have covered the right one.
        if (c.cy >= 10)
        {
            EXPECT_EQ(kRim, px.At(0, c.cy / 2));
            EXPECT_EQ(kRim, px.At(c.cx - 1, c.cy / 2));
        }
        if (c.cx >= 10)
        {
            EXPECT_EQ(kRim, px.At(c.cx / 2, 0));
        }
        if (c.cy > 0)
        {
            EXPECT_EQ(kBlack, px.At(0, c.cy - 1));
        }
    }
}

// A frameless field may keep a native border, which makes its window larger than the picture
// composed for its client area. OnPaintEx copies that picture and nothing beyond it; the strip
// the border adds once showed what a larger field had left in the shared back buffer.
TEST_F(EditTest, ABorderedFieldComposesOnlyItsPicture)
{
    TestEdit large, bordered;
    ASSERT_EQ(1, Make(large, {10, 100, 390, 200}, L"", kStyle, SolidBackground));
    ASSERT_EQ(1, Make(bordered, {40, 30, 240, 66}, L"", kStyle, nullptr, 1));
    ASSERT_TRUE(AddNativeBorder(bordered.GetSafeHwnd()));
    const COLORREF kCanvas = RGB(1, 2, 3);
    Canvas canvas(400, 300);
    ASSERT_EQ(1, large.OnPaintEx(canvas));
    canvas.Fill(kCanvas);

    ASSERT_EQ(1, bordered.OnPaintEx(canvas));
    Pixels px = canvas.Read();
    EXPECT_EQ(0, ChangedBeyondPicture(px, bordered.GetSafeHwnd(), kCanvas));
    EXPECT_EQ(PatternAt(40, 30), px.At(40, 30)) << "the picture itself is composed";
}

// A field as large as a window may be needs a picture of 4 GB: under Wine that was handed out
// and the paint then faulted.
TEST_F(EditTest, AFieldTooLargeForAnyPictureDrawsNothing)
{
    TestEdit edit;
    ASSERT_EQ(1, Make(edit, {10, 10, 110, 46}));
    SetWindowPos(edit.GetSafeHwnd(), nullptr, 0, 0, 100000, 100000,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Canvas canvas(40, 30);
    const long nLive = StandInLiveObjects();
    EXPECT_EQ(0, edit.OnPaintEx(canvas));
    EXPECT_EQ(nLive, StandInLiveObjects());
}

TEST_F(EditTest, MissingFrameBitmapLeavesTheParentsBackground)
{
    TestEdit edit;
    ASSERT_EQ(1, Make(edit, {10, 10, 210, 46}));
    edit.SetFrameId(999); // no such bitmap
    Paint(edit.GetSafeHwnd()); // the first paint makes the buffer kept between paints
    const long nLive = StandInLiveObjects();
    Pixels px = Paint(edit.GetSafeHwnd());
    EXPECT_EQ(nLive, StandInLiveObjects());
    EXPECT_EQ(PatternAt(10 + 100, 10 + 18), px.At(100, 18));
    EXPECT_EQ(PatternAt(10, 10 + 18), px.At(0, 18));
    EXPECT_EQ(kBlack, px.At(100, 35));
}

// ---- Resources ----

TEST_F(EditTest, NoGdiObjectSurvivesAPaint)
{
    TestEdit framed, withCallback, bare;
    ASSERT_EQ(1, Make(framed, {10, 10, 210, 46}, L"framed"));
    ASSERT_EQ(1, Make(withCallback, {10, 60, 210, 96}, L"callback", kStyle, SolidBackground));
    ASSERT_EQ(1, Make(bare, {10, 110, 210, 146}, L"bare", kStyle, nullptr, 1));
    SetFocus(framed.GetSafeHwnd());
    Canvas canvas(400, 300);
    PumpMessages();

    const long nLive = StandInLiveObjects();
    // Enough paints to exhaust the process's GDI handles if each left a few behind.
    for (int i = 0; i < 10000; ++i)
    {
        HWND hwnd = i % 3 == 0 ? framed.GetSafeHwnd()
                               : i % 3 == 1 ? withCallback.GetSafeHwnd() : bare.GetSafeHwnd();
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        if (i % 100 == 0)
            framed.OnPaintEx(canvas);
    }
    EXPECT_EQ(nLive, StandInLiveObjects());
    HPEN hPen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_NE(nullptr, hPen) << "GDI objects can still be made";
    DeleteObject(hPen);
    EXPECT_EQ(kRimFocus, Paint(framed.GetSafeHwnd()).At(0, 18));
}
