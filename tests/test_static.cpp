// test_static.cpp - CNavStatic on the test host: creation, painting, marquee, taps, and the
// cooperation lookup against the real registry, a real popup menu, a hidden "HHTaskBar"
// window and a cooperating library (static_coop.dll) that records how it was called.
#include <gtest/gtest.h>

#include "NavGroupBox.h"
#include "NavStatic.h"
#include "Sequence.h"
#include "Assignment.h"
#include "TestHost.h"
#include "coop/StaticCoopRecord.h"
#include "StandIn.h"
#include "win32/NavGdi.h"

#include <psapi.h>
#include <string>
#include <vector>

using namespace navtest;

namespace
{
const UINT kId = 100;
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kLinkBlue = 0xFF0000;
const COLORREF kLinkPurple = 0x800080;

// Reads and steers the label's state, and can listen between the label and the native
// procedure to show which messages are passed on.
class StaticProbe : public CNavStatic
{
public:
    int ScrollChar() const { return m_nScrollChar; }
    void SetScrollChar(int n) { m_nScrollChar = n; }
    int Pressed() const { return m_bPressed; }
    COLORREF LinkColor() const { return m_crLink; }
    CoopInfo* Table() const { return m_pCoopInfo; }
    void MakeTable() { m_pCoopInfo = new CoopInfo(); }
    // Where the table lies in the object: copies never take it.
    size_t TableOffset() const
    {
        return reinterpret_cast<const char*>(&m_pCoopInfo) -
               reinterpret_cast<const char*>(static_cast<const CNavStatic*>(this));
    }

    // Messages the label passes on to the native procedure, from now on.
    void ListenToNative()
    {
        s_pfnNative = m_pfnOldProc;
        s_native.clear();
        m_pfnOldProc = NativeRecorder;
    }
    static const std::vector<Msg>& NativeMessages() { return s_native; }
    static std::vector<Msg> NativeMessages(UINT message)
    {
        std::vector<Msg> out;
        for (const Msg& m : s_native)
            if (m.message == message)
                out.push_back(m);
        return out;
    }

private:
    static LRESULT CALLBACK NativeRecorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        s_native.push_back({hwnd, msg, wParam, lParam});
        return CallWindowProcW(s_pfnNative, hwnd, msg, wParam, lParam);
    }
    static WNDPROC s_pfnNative;
    static std::vector<Msg> s_native;
};
WNDPROC StaticProbe::s_pfnNative;
std::vector<Msg> StaticProbe::s_native;

// What the background callback was last called with.
struct CallbackLog
{
    int nCalls = 0;
    RECT rc = {};
    UINT uState = 0;
    UINT uId = 0;
    std::vector<UINT> states;
} g_callback;

const COLORREF kCallbackFace = RGB(30, 200, 90);
const COLORREF kCallbackFacePressed = RGB(250, 150, 20);

// A background callback painting a plain face, orange while pressed.
void FaceCallback(HDC hdc, RECT* prc, UINT uState, UINT uId)
{
    ++g_callback.nCalls;
    g_callback.rc = *prc;
    g_callback.uState = uState;
    g_callback.uId = uId;
    g_callback.states.push_back(uState);
    HBRUSH hbr = CreateSolidBrush(uState ? kCallbackFacePressed : kCallbackFace);
    FillRect(hdc, prc, hbr);
    DeleteObject(hbr);
}

// A second callback, to show which one a label keeps.
int g_otherCalls;
void OtherCallback(HDC, RECT*, UINT, UINT)
{
    ++g_otherCalls;
}

bool MakeStatic(CNavStatic& label, HWND hParent, const wchar_t* pszText, RECT rc,
                DWORD dwStyle = 0, DrawBkProc pfn = nullptr, UINT nId = kId)
{
    return label.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | dwStyle,
                        const_cast<wchar_t*>(pszText), rc, hParent, nId, pfn) == 1;
}

void Tick(HWND hwnd, WPARAM id = 1)
{
    SendMessageW(hwnd, WM_TIMER, id, 0);
}

void Redraw(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpMessages();
}

// Width of a text in a font, as the label measures it.
int TextWidth(HFONT hFont, const wchar_t* psz)
{
    HDC hdc = GetDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    SIZE size = {};
    GetTextExtentPoint32W(hdc, psz, lstrlenW(psz), &size);
    SelectObject(hdc, hOld);
    ReleaseDC(nullptr, hdc);
    return size.cx;
}

// The pixels of a label that differ from the host's pattern beneath it.
struct Ink
{
    RECT box = {0, 0, 0, 0}; // bounding box; empty when there is no ink
    int nPixels = 0;
    bool Empty() const { return nPixels == 0; }
    int Width() const { return box.right - box.left; }
    int Height() const { return box.bottom - box.top; }
};

Ink FindInk(const Pixels& px, const RECT& rcInParent)
{
    Ink ink;
    auto differs = [&rcInParent](int x, int y, COLORREF c) {
        return !ColorNear(c, PatternAt(rcInParent.left + x, rcInParent.top + y), 6);
    };
    ink.box = InkBoxWhere(px, {0, 0, px.Width(), px.Height()}, differs, &ink.nPixels);
    return ink;
}

// Pixels of exactly one colour.
int CountColor(const Pixels& px, COLORREF cr)
{
    int n = 0;
    for (int y = 0; y < px.Height(); ++y)
        for (int x = 0; x < px.Width(); ++x)
            n += px.At(x, y) == cr;
    return n;
}

// Whether some row of the ink is a line across (nearly) the whole ink width.
bool HasUnderline(const Pixels& px, const Ink& ink, const RECT& rcInParent)
{
    for (int y = ink.box.top; y < ink.box.bottom; ++y)
    {
        int n = 0;
        for (int x = ink.box.left; x < ink.box.right; ++x)
            n += !ColorNear(px.At(x, y), PatternAt(rcInParent.left + x, rcInParent.top + y), 6);
        if (n >= ink.Width() * 9 / 10)
            return true;
    }
    return false;
}

class StaticTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_callback = CallbackLog();
        g_otherCalls = 0;
        m_hFont = MakeFont(16);
    }
    void TearDown() override
    {
        PumpMessages();
        DeleteObject(m_hFont);
    }

    // A label in the host with the fixture's font; set its other properties first.
    bool MakeLabel(StaticProbe& label, const wchar_t* pszText, RECT rc, DWORD dwStyle = 0,
                   DrawBkProc pfn = nullptr)
    {
        label.SetFont(m_hFont);
        return MakeStatic(label, m_host, pszText, rc, dwStyle, pfn);
    }

    TestHost m_host;
    HFONT m_hFont = nullptr;
};

// ---- creation and plain operations ----

TEST_F(StaticTest, OperationsWithoutWindowReturnZeroAndTouchNothing)
{
    StaticProbe label;
    wchar_t sz[8] = L"keep";
    EXPECT_EQ(nullptr, label.GetSafeHwnd());
    EXPECT_EQ(0, label.SetText(const_cast<wchar_t*>(L"x")));
    EXPECT_EQ(0, label.GetText(sz, 8));
    EXPECT_STREQ(L"keep", sz);
    EXPECT_EQ(0, label.GetTextLength());
    EXPECT_EQ(0, label.OnPaintEx(nullptr));
    EXPECT_EQ(kLinkBlue, label.LinkColor());
    EXPECT_EQ(nullptr, label.Table());
}

TEST_F(StaticTest, CreateSubclassesSendsFontAndKeepsFirstCallback)
{
    StaticProbe label;
    RECT rc = {10, 20, 110, 50};
    ASSERT_TRUE(MakeLabel(label, L"Hello", rc, 0, FaceCallback));
    HWND hwnd = label.GetSafeHwnd();
    ASSERT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(m_host.Hwnd(), GetParent(hwnd));
    EXPECT_EQ(static_cast<int>(kId), GetDlgCtrlID(hwnd));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&label), GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    EXPECT_EQ(reinterpret_cast<WPARAM>(m_hFont),
              static_cast<WPARAM>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    RECT rcWin;
    GetWindowRect(hwnd, &rcWin);
    EXPECT_EQ(100, rcWin.right - rcWin.left);
    EXPECT_EQ(30, rcWin.bottom - rcWin.top);

    wchar_t sz[16] = {};
    EXPECT_EQ(5, label.GetText(sz, 16));
    EXPECT_STREQ(L"Hello", sz);
    EXPECT_EQ(3, label.GetText(sz, 4)) << "a buffer of n characters takes n - 1";
    EXPECT_EQ(0, label.GetText(nullptr, 16)) << "no buffer";
    EXPECT_EQ(0, label.GetText(sz, -1)) << "a negative size";
    EXPECT_STREQ(L"Hel", sz);
    EXPECT_EQ(5, label.GetTextLength());

    // A second Create changes nothing, not even the callback.
    RECT rcOther = {0, 0, 5, 5};
    EXPECT_EQ(1, label.Create(nullptr, WS_CHILD, const_cast<wchar_t*>(L"x"), rcOther, m_host,
                              7, OtherCallback));
    EXPECT_EQ(hwnd, label.GetSafeHwnd());
    Redraw(hwnd);
    EXPECT_GT(g_callback.nCalls, 0);
    EXPECT_EQ(0, g_otherCalls);
}

TEST_F(StaticTest, NullCallbackKeepsTheStoredOne)
{
    StaticProbe label;
    RECT rc = {0, 0, 60, 20};
    // The first Create fails (no such parent) after storing the callback.
    DebugCapture debug;
    EXPECT_EQ(0, label.Create(nullptr, WS_CHILD, const_cast<wchar_t*>(L"x"), rc,
                              reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x4321)), kId,
                              FaceCallback));
    ASSERT_EQ(1u, debug.Lines().size());
    const std::wstring& line = debug.Lines()[0];
    EXPECT_EQ(0u, line.find(L"CNavStatic::Create failed: ")) << "line";
    EXPECT_EQ(L'\n', line.back());
    EXPECT_NE(L"CNavStatic::Create failed: 0\n", line);
    EXPECT_EQ(nullptr, label.GetSafeHwnd());

    ASSERT_TRUE(MakeStatic(label, m_host, L"x", rc, 0, nullptr));
    Redraw(label.GetSafeHwnd());
    EXPECT_GT(g_callback.nCalls, 0) << "the callback of the failed Create is kept";
}

TEST_F(StaticTest, ScrollTimerRunsOnlyWhenAskedBeforeCreate)
{
    struct Case
    {
        const char* label;
        int before;
        int after;
        bool timer;
    } cases[] = {{"never", 0, 0, false}, {"before Create", 1, 1, true},
                 {"only after Create", 0, 1, false}, {"cleared after Create", 1, 0, true}};
    for (const Case& c : cases)
    {
        StaticProbe label;
        label.SetIsAutoScroll(c.before);
        ASSERT_TRUE(MakeStatic(label, m_host, L"x", RECT{0, 0, 50, 20}));
        label.SetIsAutoScroll(c.after);
        // KillTimer succeeds only for a running timer.
        EXPECT_EQ(c.timer, KillTimer(label.GetSafeHwnd(), 1) != FALSE) << c.label;
    }
}

// Assignment over a label keeps the rule every control keeps (Assignment.h), and the target's
// lookup table goes with its window.
TEST_F(StaticTest, AssignmentGivesUpTheTargetsOwnWindow)
{
    AssignmentRule<CNavStatic, StaticProbe> rule;
    rule.make = [&](StaticProbe& source, StaticProbe& target) {
        ASSERT_TRUE(MakeStatic(source, m_host, L"source", RECT{0, 0, 50, 20}, 0, FaceCallback));
        ASSERT_TRUE(MakeStatic(target, m_host, L"target", RECT{0, 30, 50, 50}, 0, nullptr, 101));
        target.MakeTable();
    };
    rule.nUncopiedAt = StaticProbe().TableOffset();
    rule.afterAssign = [](StaticProbe& source, StaticProbe& target, bool) {
        EXPECT_EQ(nullptr, target.Table());
        g_callback = CallbackLog();
        Redraw(source.GetSafeHwnd());
        EXPECT_GT(g_callback.nCalls, 0) << "the source still paints";
    };
    rule.Check();
}

TEST_F(StaticTest, CopiesNeverHoldTheTableOfATap)
{
    // A tap's table left behind (a menu dismissed without a choice) stays with its maker:
    // copies made or assigned afterwards must not free it a second time when they go.
    StaticProbe* pMaker = new StaticProbe();
    ASSERT_TRUE(MakeStatic(*pMaker, m_host, L"maker", RECT{0, 0, 50, 20}));
    pMaker->MakeTable();
    CoopInfo* pTable = pMaker->Table();

    StaticProbe* pCopy = new StaticProbe(*pMaker);
    StaticProbe assigned;
    static_cast<CNavStatic&>(assigned) = *pMaker;
    EXPECT_EQ(nullptr, pCopy->Table());
    EXPECT_EQ(nullptr, assigned.Table());
    EXPECT_EQ(pTable, pMaker->Table());
    EXPECT_EQ(pMaker->GetSafeHwnd(), pCopy->GetSafeHwnd()) << "the window is still shared";

    delete pCopy; // destroys the shared window, frees no table
    static_cast<CNavStatic&>(assigned) = CNavStatic();
    EXPECT_EQ(pTable, pMaker->Table());
    delete pMaker; // frees the table once
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

TEST_F(StaticTest, DestructorHandsTheWindowBackThenDestroysIt)
{
    StaticProbe* pLabel = new StaticProbe();
    ASSERT_TRUE(MakeStatic(*pLabel, m_host, L"x", RECT{0, 0, 50, 20}));
    HWND hwnd = pLabel->GetSafeHwnd();
    pLabel->ListenToNative();
    delete pLabel;
    EXPECT_FALSE(IsWindow(hwnd));
    // The window's last messages went straight to the procedure the label had replaced.
    EXPECT_EQ(1u, StaticProbe::NativeMessages(WM_NCDESTROY).size());

    // A window that its parent destroyed first is left alone by the destructor.
    StaticProbe orphan;
    TestHost* pHost = new TestHost(100, 100);
    ASSERT_TRUE(MakeStatic(orphan, *pHost, L"x", RECT{0, 0, 50, 20}));
    delete pHost;
    EXPECT_FALSE(IsWindow(orphan.GetSafeHwnd()));
}

// ---- painting ----

TEST_F(StaticTest, BackgroundComesFromParentThenCallback)
{
    struct Case
    {
        const char* label;
        DrawBkProc pfn;
    } cases[] = {{"parent background", nullptr}, {"callback over it", FaceCallback}};
    for (const Case& c : cases)
    {
        StaticProbe label;
        RECT rc = {37, 51, 137, 81};
        ASSERT_TRUE(MakeStatic(label, m_host, L"", rc, 0, c.pfn, 42));
        PumpMessages();
        m_host.Clear();
        g_callback = CallbackLog();
        Redraw(label.GetSafeHwnd());

        ASSERT_EQ(1u, m_host.BackgroundRequests().size()) << c.label;
        const RECT& req = m_host.BackgroundRequests()[0];
        EXPECT_TRUE(EqualRect(&req, &rc)) << c.label;
        EXPECT_EQ(0, m_host.Count(WM_CTLCOLORSTATIC)) << c.label;
        Pixels px = Pixels::FromWindow(label.GetSafeHwnd());
        for (POINT pt : {POINT{0, 0}, POINT{99, 29}, POINT{50, 15}})
        {
            COLORREF want = c.pfn ? kCallbackFace : PatternAt(rc.left + pt.x, rc.top + pt.y);
            EXPECT_EQ(want, px.At(pt.x, pt.y)) << c.label << " at " << pt.x << "," << pt.y;
        }
        if (c.pfn)
        {
            EXPECT_EQ(1, g_callback.nCalls);
            RECT rcClient = {0, 0, 100, 30};
            EXPECT_TRUE(EqualRect(&rcClient, &g_callback.rc));
            EXPECT_EQ(0u, g_callback.uState);
            EXPECT_EQ(42u, g_callback.uId);
        }
    }
}

TEST_F(StaticTest, TextColourAndUnderline)
{
    struct Case
    {
        const char* label;
        COLORREF crText;
        int bUnderline;
        unsigned int nCoop;
        COLORREF crInk;
        bool bUnderlined;
        bool bUnderlinedFont; // the label is given an underlined font
    } cases[] = {
        {"black", 0, 0, 0, 0, false, false},
        {"red underlined", kRed, 1, 0, kRed, true, false},
        {"link is blue and underlined", kRed, 0, NAV_COOP_TEL, kLinkBlue, true, false},
        {"unknown kind still a link", kRed, 0, 3, kLinkBlue, true, false},
        {"underlined font, label not underlined", 0, 0, 0, 0, false, true},
        {"underlined font, label underlined", 0, 1, 0, 0, true, true},
    };
    LOGFONTW lf = {};
    lf.lfHeight = 16;
    lf.lfUnderline = 1;
    wcscpy(lf.lfFaceName, L"Tahoma");
    nav::Font hUnderlined(CreateFontIndirectW(&lf));
    for (const Case& c : cases)
    {
        StaticProbe label;
        label.SetTextCr(c.crText);
        label.SetUnderLine(c.bUnderline);
        label.SetCoopFlag(c.nCoop);
        RECT rc = {20, 20, 200, 50};
        if (c.bUnderlinedFont)
        {
            label.SetFont(hUnderlined);
            ASSERT_TRUE(MakeStatic(label, m_host, L"xvxvxv", rc, 0, nullptr));
        }
        else
            ASSERT_TRUE(MakeLabel(label, L"xvxvxv", rc));
        Redraw(label.GetSafeHwnd());
        Pixels px = Pixels::FromWindow(label.GetSafeHwnd());
        Ink ink = FindInk(px, rc);
        ASSERT_FALSE(ink.Empty()) << c.label;
        EXPECT_GT(CountColor(px, c.crInk), 5) << c.label;
        EXPECT_EQ(c.bUnderlined, HasUnderline(px, ink, rc)) << c.label;
    }
}

// The desktop's native static paints itself on a new font, text or enable state, asking its
// parent for a brush; the label's own picture must be what shows.
TEST_F(StaticTest, NativePaintingNeverShows)
{
    StaticProbe label;
    RECT rc = {20, 20, 220, 50};
    ASSERT_TRUE(MakeLabel(label, L"first", rc));
    HWND hwnd = label.GetSafeHwnd();
    struct Step
    {
        const char* label;
        void (*act)(CNavStatic&);
        const wchar_t* shown;
    } steps[] = {
        {"created with a font", [](CNavStatic&) {}, L"first"},
        {"new text", [](CNavStatic& s) { s.SetText(const_cast<wchar_t*>(L"ii")); }, L"ii"},
        {"disabled", [](CNavStatic& s) { EnableWindow(s.GetSafeHwnd(), FALSE); }, L"ii"},
    };
    for (const Step& step : steps)
    {
        m_host.Clear();
        step.act(label);
        PumpMessages();
        EXPECT_EQ(0, m_host.Count(WM_CTLCOLORSTATIC)) << step.label;
        Pixels px = Pixels::FromWindow(hwnd);
        Ink ink = FindInk(px, rc);
        EXPECT_NEAR(TextWidth(m_hFont, step.shown), ink.Width(), 3) << step.label;
        EXPECT_EQ(PatternAt(rc.left + 190, rc.top + 2), px.At(190, 2)) << step.label;
        EXPECT_TRUE(IsWindowVisible(hwnd)) << step.label;
    }
    // A hidden label stays hidden through a new text.
    ShowWindow(hwnd, SW_HIDE);
    label.SetText(const_cast<wchar_t*>(L"hidden"));
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(StaticTest, FormatFollowsStyleBits)
{
    // A text of three words that wraps in a narrow control.
    const wchar_t* pszText = L"xx xx xx";
    const int cxWord = TextWidth(m_hFont, L"xx xx");
    TEXTMETRICW tm;
    {
        HDC hdc = GetDC(nullptr);
        HGDIOBJ hOld = SelectObject(hdc, m_hFont);
        GetTextMetricsW(hdc, &tm);
        SelectObject(hdc, hOld);
        ReleaseDC(nullptr, hdc);
    }
    const int cx = cxWord + 4, cy = tm.tmHeight * 4;
    enum Where { kLeft, kRight };
    struct Case
    {
        const char* label;
        DWORD dwStyle;
        bool bOneLine;
        Where where;
    } cases[] = {
        {"plain wraps at the top", SS_LEFT, false, kLeft},
        {"SS_RIGHT", SS_RIGHT, false, kRight},
        {"bit 0x4: one line, centred vertically", 0x4, true, kLeft},
        {"bit 0x8", 0x8, true, kLeft},
        {"bits 0xC", SS_LEFTNOWORDWRAP, true, kLeft},
        {"bit 0x4 with 0x400", 0x4 | 0x400, true, kLeft},
        {"bit 0x4 with SS_RIGHT", 0x4 | SS_RIGHT, true, kRight},
    };
    for (const Case& c : cases)
    {
        StaticProbe label;
        RECT rc = {30, 30, 30 + cx, 30 + cy};
        ASSERT_TRUE(MakeLabel(label, pszText, rc, c.dwStyle));
        Redraw(label.GetSafeHwnd());
        Ink ink = FindInk(Pixels::FromWindow(label.GetSafeHwnd()), rc);
        ASSERT_FALSE(ink.Empty()) << c.label;
        if (c.bOneLine)
        {
            EXPECT_LE(ink.Height(), tm.tmHeight) << c.label;
            const int mid = (ink.box.top + ink.box.bottom) / 2;
            EXPECT_NEAR(cy / 2, mid, tm.tmHeight / 2) << c.label;
        }
        else
        {
            EXPECT_GT(ink.Height(), tm.tmHeight) << c.label << ": wrapped";
            EXPECT_LT(ink.box.top, tm.tmHeight) << c.label;
        }
        if (c.where == kLeft)
        {
            EXPECT_LE(ink.box.left, 2) << c.label;
        }
        else
        {
            EXPECT_GE(ink.box.right, cx - 2) << c.label;
        }
    }
}

// SS_CENTER centres the window's text only while it is not scrolled; OnPaintEx always does.
TEST_F(StaticTest, CentreOnlyAtOffsetZeroInTheWindow)
{
    StaticProbe label;
    const wchar_t* pszText = L"ABCDEFGHIJKLMNOPQRST";
    RECT rc = {40, 40, 140, 70};
    ASSERT_TRUE(MakeLabel(label, pszText, rc, SS_CENTER));
    HWND hwnd = label.GetSafeHwnd();
    const int n = lstrlenW(pszText);
    ASSERT_GT(TextWidth(m_hFont, pszText), 100);
    for (int i = 0; i < n - 2; ++i)
        Tick(hwnd);
    ASSERT_EQ(n - 2, label.ScrollChar());
    Redraw(hwnd);
    Ink window = FindInk(Pixels::FromWindow(hwnd), rc);
    ASSERT_FALSE(window.Empty());
    EXPECT_LE(window.box.left, 2) << "not centred while scrolled";

    {
        Canvas composed(200, 100);
        EXPECT_EQ(1, label.OnPaintEx(composed));
        Ink ex = FindInk(Pixels::FromDC(composed, rc.left, rc.top, 100, 30), rc);
        ASSERT_FALSE(ex.Empty());
        const int cxRest = TextWidth(m_hFont, L"ST");
        EXPECT_NEAR((100 - cxRest) / 2, ex.box.left, 3) << "centred by OnPaintEx";
    }

    // A text that fits is at offset 0 and centred in the window.
    label.SetText(const_cast<wchar_t*>(L"ST"));
    Tick(hwnd);
    ASSERT_EQ(0, label.ScrollChar());
    Redraw(hwnd);
    Ink fit = FindInk(Pixels::FromWindow(hwnd), rc);
    EXPECT_NEAR((100 - TextWidth(m_hFont, L"ST")) / 2, fit.box.left, 3);
}

TEST_F(StaticTest, OnPaintExComposesAtTheControlsPlaceAndLeavesTheDcAsItWas)
{
    StaticProbe label;
    label.SetTextCr(kRed);
    RECT rc = {60, 30, 160, 60};
    ASSERT_TRUE(MakeLabel(label, L"xvxv", rc, 0, FaceCallback));
    {
        Canvas target(200, 100);
        target.Fill(RGB(255, 255, 255));
        const DcState before = MarkCallerDc(target);
        m_host.Clear();

        EXPECT_EQ(1, label.OnPaintEx(target));
        ASSERT_EQ(1u, m_host.BackgroundRequests().size());
        EXPECT_TRUE(EqualRect(&rc, &m_host.BackgroundRequests()[0]));
        Pixels px = Pixels::FromDC(target, 0, 0, 200, 100);
        EXPECT_EQ(RGB(255, 255, 255), px.At(rc.left - 1, rc.top));
        EXPECT_EQ(RGB(255, 255, 255), px.At(rc.right, rc.bottom));
        EXPECT_EQ(kCallbackFace, px.At(rc.left, rc.top));
        EXPECT_EQ(kCallbackFace, px.At(rc.right - 1, rc.bottom - 1));
        EXPECT_GT(CountColor(px, kRed), 5);

        EXPECT_EQ("", before.Changes(target));

        // A copy names the same window and composes the same picture.
        CNavStatic copy(label);
        target.Fill(RGB(255, 255, 255));
        EXPECT_EQ(1, copy.OnPaintEx(target));
        EXPECT_EQ(px.Raw(), Pixels::FromDC(target, 0, 0, 200, 100).Raw()) << "a copy's picture";
        static_cast<CNavStatic&>(copy) = CNavStatic(); // the label alone gives the window up
    }
}

// Labels compose in one back buffer that the library keeps between paints. Over a parent that
// paints nothing beneath them, a label shows what a new buffer holds (black), never the text of
// the label composed before it.
TEST_F(StaticTest, NothingOfTheLabelBeforeShowsThroughAnUnpaintedBackground)
{
    m_host.paintBackground = false;
    StaticProbe first, second;
    first.SetTextCr(kRed);
    const RECT rcFirst = {10, 10, 110, 40}, rcSecond = {10, 60, 110, 90};
    ASSERT_TRUE(MakeLabel(first, L"WWWWWWWW", rcFirst));
    ASSERT_TRUE(MakeLabel(second, L" ", rcSecond));
    Canvas composed(200, 100);
    composed.Fill(RGB(255, 255, 255));

    ASSERT_EQ(1, first.OnPaintEx(composed));
    ASSERT_EQ(1, second.OnPaintEx(composed));
    Pixels px = composed.Read();
    EXPECT_GT(CountColor(px, kRed), 5) << "the first label drew its text";
    for (int y = rcSecond.top; y < rcSecond.bottom; ++y)
        for (int x = rcSecond.left; x < rcSecond.right; ++x)
            ASSERT_EQ(RGB(0, 0, 0), px.At(x, y)) << "at " << x << "," << y;
}

// A parent may compose another label while it answers a label's background request; each
// paint keeps its own picture.
TEST_F(StaticTest, NestedCompositionKeepsBothPictures)
{
    StaticProbe outer, inner;
    outer.SetTextCr(kRed);
    inner.SetTextCr(kRed);
    RECT rcOuter = {10, 10, 110, 40}, rcInner = {10, 160, 110, 190};
    ASSERT_TRUE(MakeStatic(outer, m_host, L"", rcOuter));
    ASSERT_TRUE(MakeStatic(inner, m_host, L"xvxv", rcInner));
    Redraw(outer.GetSafeHwnd());
    Canvas elsewhere(640, 480);
    int nNested = 0;
    m_host.hook = [&](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plr) {
        const RECT* prc = reinterpret_cast<const RECT*>(lParam);
        if (msg != WM_NAV_PAINTBKGND || prc->top != rcOuter.top || nNested++)
            return false;
        TestHost::PaintPattern(reinterpret_cast<HDC>(wParam), *prc);
        inner.OnPaintEx(elsewhere);
        *plr = 0;
        return true;
    };
    // Blacken the window so that only a full repaint shows the right picture.
    HDC hdcOuter = GetDC(outer.GetSafeHwnd());
    RECT rcAll = {0, 0, 100, 30};
    FillRect(hdcOuter, &rcAll, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(outer.GetSafeHwnd(), hdcOuter);
    const long nBefore = StandInLiveObjects();
    Redraw(outer.GetSafeHwnd());
    m_host.hook = nullptr;
    ASSERT_EQ(1, nNested);
    EXPECT_EQ(nBefore, StandInLiveObjects());
    EXPECT_TRUE(FindInk(Pixels::FromWindow(outer.GetSafeHwnd()), rcOuter).Empty());
    Pixels nested = Pixels::FromDC(elsewhere, rcInner.left, rcInner.top, 100, 30);
    EXPECT_GT(CountColor(nested, kRed), 5);
    EXPECT_EQ(PatternAt(rcInner.left + 95, rcInner.top + 25), nested.At(95, 25));
}

// ---- marquee ----

TEST_F(StaticTest, MarqueeCycle)
{
    struct Case
    {
        const char* label;
        const wchar_t* text;
        int cx;
        std::vector<int> offsets; // after each tick
    };
    const std::wstring longText(130, L'W'); // longer than a label reads in one request
    const Case cases[] = {
        {"10 characters too wide", L"ABCDEFGHIJ", 40, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 1}},
        {"fitting text", L"AB", 120, {0, 0, 0}},
        {"130 characters", longText.c_str(), 40, {1, 2, 3}},
    };
    for (const Case& c : cases)
    {
        StaticProbe label;
        RECT rc = {10, 10, 10 + c.cx, 40};
        ASSERT_TRUE(MakeLabel(label, c.text, rc, SS_LEFTNOWORDWRAP));
        HWND hwnd = label.GetSafeHwnd();
        std::vector<int> seen;
        for (size_t i = 0; i < c.offsets.size(); ++i)
        {
            Tick(hwnd);
            seen.push_back(label.ScrollChar());
            PumpMessages();
            // At the end of the text nothing is left to draw.
            Ink ink = FindInk(Pixels::FromWindow(hwnd), rc);
            EXPECT_EQ(seen.back() == lstrlenW(c.text), ink.Empty()) << c.label << " tick " << i;
        }
        EXPECT_EQ(c.offsets, seen) << c.label;
    }
}

TEST_F(StaticTest, MarqueeLeavesAnEmptyTextAlone)
{
    StaticProbe label;
    ASSERT_TRUE(MakeStatic(label, m_host, L"", RECT{0, 0, 40, 20}));
    label.SetScrollChar(3);
    Tick(label.GetSafeHwnd());
    EXPECT_EQ(3, label.ScrollChar());
    Redraw(label.GetSafeHwnd()); // an offset beyond the (empty) text draws nothing
    EXPECT_TRUE(FindInk(Pixels::FromWindow(label.GetSafeHwnd()), RECT{0, 0, 40, 20}).Empty());
}

TEST_F(StaticTest, MarqueeFitsTwoPixelsLessWithACallback)
{
    const wchar_t* pszText = L"WWWW";
    const int cxText = TextWidth(m_hFont, pszText);
    struct Case
    {
        const char* label;
        int cx;
        DrawBkProc pfn;
        int offset;
    } cases[] = {{"no callback, 1 px spare", cxText + 1, nullptr, 0},
                 {"callback, 1 px spare", cxText + 1, FaceCallback, 1},
                 {"callback, 2 px spare", cxText + 2, FaceCallback, 0},
                 {"no callback, exact", cxText, nullptr, 0},
                 {"no callback, 1 px short", cxText - 1, nullptr, 1}};
    for (const Case& c : cases)
    {
        StaticProbe label;
        ASSERT_TRUE(MakeLabel(label, pszText, RECT{0, 0, c.cx, 30}, 0, c.pfn));
        Tick(label.GetSafeHwnd());
        EXPECT_EQ(c.offset, label.ScrollChar()) << c.label;
    }
}

TEST_F(StaticTest, OtherTimerIdsAreSwallowed)
{
    StaticProbe label;
    ASSERT_TRUE(MakeLabel(label, L"ABCDEFGHIJ", RECT{0, 0, 30, 20}));
    label.ListenToNative();
    HWND hwnd = label.GetSafeHwnd();
    EXPECT_EQ(1, SendMessageW(hwnd, WM_TIMER, 2, 0));
    EXPECT_EQ(1, SendMessageW(hwnd, WM_TIMER, 77, 0));
    EXPECT_EQ(0, label.ScrollChar());
    EXPECT_EQ(1, SendMessageW(hwnd, WM_TIMER, 1, 0));
    EXPECT_EQ(1, label.ScrollChar());
    EXPECT_TRUE(StaticProbe::NativeMessages(WM_TIMER).empty());
}

// A shorter text set while scrolled must not be read beyond its end.
TEST_F(StaticTest, PaintAfterShorterTextDrawsNothingBeyondIt)
{
    StaticProbe label;
    RECT rc = {10, 10, 50, 40};
    ASSERT_TRUE(MakeLabel(label, L"ABCDEFGHIJKLMNOP", rc));
    HWND hwnd = label.GetSafeHwnd();
    for (int i = 0; i < 8; ++i)
        Tick(hwnd);
    ASSERT_EQ(8, label.ScrollChar());
    label.SetText(const_cast<wchar_t*>(L"ab"));
    EXPECT_EQ(8, label.ScrollChar()) << "SetText leaves the offset";
    Redraw(hwnd);
    EXPECT_TRUE(FindInk(Pixels::FromWindow(hwnd), rc).Empty());
    {
        Canvas composed(100, 100);
        label.OnPaintEx(composed);
        EXPECT_TRUE(FindInk(Pixels::FromDC(composed, rc.left, rc.top, 40, 30), rc).Empty());
    }
    Tick(hwnd);
    EXPECT_EQ(0, label.ScrollChar());
}

TEST_F(StaticTest, NoGdiObjectSurvivesPaintsAndScrollSteps)
{
    StaticProbe label;
    label.SetUnderLine(1);
    RECT rc = {10, 10, 60, 40};
    ASSERT_TRUE(MakeLabel(label, L"ABCDEFGHIJKLMNOP", rc, SS_CENTER, FaceCallback));
    HWND hwnd = label.GetSafeHwnd();
    Redraw(hwnd);
    const long nBefore = StandInLiveObjects();
    for (int i = 0; i < 12000; ++i)
    {
        Tick(hwnd);
        Redraw(hwnd);
        Canvas composed(80, 60);
        label.OnPaintEx(composed);
    }
    EXPECT_EQ(nBefore, StandInLiveObjects());
    // Had each round leaked a font or bitmap, the process would be near its handle limit.
    HBITMAP hbm = CreateBitmap(4, 4, 1, 32, nullptr);
    EXPECT_NE(nullptr, hbm);
    DeleteObject(hbm);
}

// ---- taps ----

// The process's working set, in bytes: under Wine a bitmap's pixels live outside the memory
// that VirtualQuery sees, but they count here once drawn into.
SIZE_T WorkingSetBytes()
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    return K32GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc)) ? pmc.WorkingSetSize
                                                                            : 0;
}

// The controls' kept picture never outlives them: however the last control window goes, the
// live-object count is back where it started; a label that goes before another control leaves
// it to that control. While a small label keeps it, a huge label paints with a picture of its
// own, which goes with the paint.
TEST_F(StaticTest, TheKeptPictureGoesWithTheLastControlAndStaysSmall)
{
    PumpMessages();
    const long nStart = StandInLiveObjects();
    for (bool bByDestructor : {true, false})
    {
        SCOPED_TRACE(bByDestructor ? "destructor" : "DestroyWindow");
        StaticProbe label;
        ASSERT_TRUE(MakeStatic(label, m_host, L"Kept", RECT{10, 10, 110, 40}, 0, FaceCallback));
        Redraw(label.GetSafeHwnd());
        EXPECT_GT(StandInLiveObjects(), nStart) << "kept between paints";
        if (!bByDestructor)
        {
            DestroyWindow(label.GetSafeHwnd());
            EXPECT_EQ(nStart, StandInLiveObjects());
        }
    }
    EXPECT_EQ(nStart, StandInLiveObjects());
    {
        CNavGroupBox box;
        RECT rcBox = {120, 10, 220, 60};
        ASSERT_EQ(1, box.Create(nullptr, WS_VISIBLE, nullptr, rcBox, m_host, 80, nullptr));
        {
            StaticProbe label;
            ASSERT_TRUE(MakeStatic(label, m_host, L"Kept", RECT{10, 10, 110, 40}));
            Redraw(label.GetSafeHwnd());
        }
        EXPECT_GT(StandInLiveObjects(), nStart) << "kept for the group box";
    }
    EXPECT_EQ(nStart, StandInLiveObjects()) << "gone with the last control";

    StaticProbe small;
    ASSERT_TRUE(MakeStatic(small, m_host, L"Small", RECT{10, 10, 110, 40}));
    Redraw(small.GetSafeHwnd());
    const long nWithSmall = StandInLiveObjects();
    const SIZE_T before = WorkingSetBytes();
    {
        StaticProbe huge;
        ASSERT_TRUE(MakeStatic(huge, m_host, L"Huge", RECT{0, 0, 3000, 3000}));
        Redraw(huge.GetSafeHwnd());
        Redraw(small.GetSafeHwnd());
    }
    PumpMessages();
    EXPECT_EQ(nWithSmall, StandInLiveObjects());
    const SIZE_T kHugePicture = 3000u * 3000u * 4u;
    EXPECT_LT(WorkingSetBytes(), before + kHugePicture / 4)
        << "the huge label's picture is not kept";
}

static const Expected kPressPostsClicked[] = {
    ExpCommand(55, BN_CLICKED),
};
// A push-button label keeps a pen-down inside itself from the native procedure; the release
// always goes on.
static const Expected kUpPassedOn[] = {
    Exp(WM_LBUTTONUP),
};
static const Expected kDownAndUpPassedOn[] = {
    Exp(WM_LBUTTONDOWN),
    Exp(WM_LBUTTONUP),
};

TEST_F(StaticTest, PressAndRelease)
{
    enum { kInside, kOutside };
    struct Case
    {
        const char* label;
        DrawBkProc pfn;
        int down, up;
        MessageTable posted;   // WM_COMMAND posted to the parent
        MessageTable passedOn; // pen messages the native procedure saw
    } cases[] = {
        {"button: tap", FaceCallback, kInside, kInside, kPressPostsClicked, kUpPassedOn},
        {"button: release outside", FaceCallback, kInside, kOutside, {}, kUpPassedOn},
        {"button: press outside, release inside", FaceCallback, kOutside, kInside,
         kPressPostsClicked, kDownAndUpPassedOn},
        {"label: tap", nullptr, kInside, kInside, {}, kDownAndUpPassedOn},
        {"label: release outside", nullptr, kInside, kOutside, {}, kDownAndUpPassedOn},
    };
    const POINT at[2] = {{10, 10}, {-5, 300}};
    for (const Case& c : cases)
    {
        StaticProbe label;
        RECT rc = {20, 20, 120, 50};
        ASSERT_TRUE(MakeStatic(label, m_host, L"Press", rc, 0, c.pfn, 55));
        HWND hwnd = label.GetSafeHwnd();
        label.ListenToNative();
        PumpMessages();
        m_host.Clear();
        g_callback = CallbackLog();

        SendPenDown(hwnd, at[c.down].x, at[c.down].y);
        const bool bInside = c.down == kInside;
        EXPECT_EQ(bInside ? 1 : 0, label.Pressed()) << c.label;
        EXPECT_EQ(bInside && c.pfn, GetCapture() == hwnd) << c.label;
        PumpMessages();
        if (c.pfn && bInside)
        {
            EXPECT_EQ(kCallbackFacePressed, Pixels::FromWindow(hwnd).At(95, 25)) << c.label;
            EXPECT_EQ(1u, g_callback.uState) << c.label;
        }
        SendPenUp(hwnd, at[c.up].x, at[c.up].y);
        EXPECT_EQ(0, m_host.Count(WM_COMMAND)) << c.label << ": posted, not sent";
        EXPECT_EQ(0, label.Pressed()) << c.label;
        EXPECT_NE(hwnd, GetCapture()) << c.label;
        PumpMessages();
        if (c.pfn)
        {
            EXPECT_EQ(kCallbackFace, Pixels::FromWindow(hwnd).At(95, 25)) << c.label;
        }

        EXPECT_TRUE(SequenceIs(m_host.Messages(), c.posted, {WM_COMMAND}, hwnd)) << c.label;
        EXPECT_TRUE(SequenceIs(StaticProbe::NativeMessages(), c.passedOn,
                               {WM_LBUTTONDOWN, WM_LBUTTONUP}))
            << c.label;
        ReleaseCapture();
    }
}

// Another window takes the pen from a pressed push-button label: the press ends as a release
// outside would. No click is reported, and the callback is told "released" again.
TEST_F(StaticTest, ALostCaptureEndsThePressWithoutAClick)
{
    StaticProbe label;
    RECT rc = {20, 20, 120, 50};
    ASSERT_TRUE(MakeStatic(label, m_host, L"Press", rc, 0, FaceCallback, 55));
    HWND hwnd = label.GetSafeHwnd();
    PumpMessages();
    m_host.Clear();
    SendPenDown(hwnd, 10, 10);
    ASSERT_EQ(hwnd, GetCapture());
    SetCapture(m_host);
    EXPECT_EQ(0, label.Pressed());
    PumpMessages();
    EXPECT_EQ(0u, g_callback.uState);
    EXPECT_EQ(kCallbackFace, Pixels::FromWindow(hwnd).At(95, 25));
    EXPECT_EQ(0, m_host.Count(WM_COMMAND));
    ReleaseCapture();
}

static const Expected kRealTapPostsClicked[] = {
    ExpCommand(56, BN_CLICKED),
};

TEST_F(StaticTest, RealTapsReachLabelsThatActOnThem)
{
    struct Case
    {
        const char* label;
        DrawBkProc pfn;
        unsigned int nCoopFlag;
        bool bReachesLabel;
    } cases[] = {
        {"push button", FaceCallback, 0, true},
        {"link", nullptr, 3, true}, // a kind with no registry key: no menu, but purple
        {"plain label", nullptr, 0, true}, // the device asks no hit test: every static is tapped
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        StaticProbe label;
        label.SetCoopFlag(c.nCoopFlag);
        ASSERT_TRUE(MakeStatic(label, m_host, L"Tap me", RECT{20, 20, 120, 50}, 0, c.pfn, 56));
        HWND hwnd = label.GetSafeHwnd();
        PumpMessages();
        MessageSpy spy(hwnd);
        m_host.Clear();

        RealTap(hwnd, 30, 15);
        EXPECT_EQ(c.bReachesLabel ? 1 : 0, spy.Count(WM_LBUTTONUP));
        // A tap on a label never goes on to the parent beneath it.
        EXPECT_EQ(c.bReachesLabel ? 0 : 1, m_host.Count(WM_LBUTTONUP));
        if (c.pfn)
        {
            EXPECT_TRUE(SequenceIs(m_host.Messages(), kRealTapPostsClicked, {WM_COMMAND}, hwnd));
        }
        if (c.nCoopFlag)
        {
            EXPECT_EQ(kLinkPurple, label.LinkColor());
        }
    }
}

// ---- cooperation lookup ----

// One registered application.
struct App
{
    std::wstring key, disp, app, func, classId;
};

void WriteString(HKEY hKey, const wchar_t* pszName, const std::wstring& value)
{
    RegSetValueExW(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Writes the applications under HKCU\Software\Quill\<kind>.
void Register(const wchar_t* pszKind, const std::vector<App>& apps)
{
    std::wstring path = std::wstring(L"Software\\Quill\\") + pszKind;
    HKEY hKind = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &hKind, nullptr));
    for (const App& a : apps)
    {
        HKEY hApp = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(hKind, a.key.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &hApp, nullptr));
        WriteString(hApp, L"DispName", a.disp);
        WriteString(hApp, L"AppName", a.app);
        WriteString(hApp, L"FuncName", a.func);
        WriteString(hApp, L"ClassID", a.classId);
        RegCloseKey(hApp);
    }
    RegCloseKey(hKind);
}

// The sub-key names of a kind in the order the registry enumerates them.
std::vector<std::wstring> EnumerationOrder(const wchar_t* pszKind)
{
    std::vector<std::wstring> names;
    std::wstring path = std::wstring(L"Software\\Quill\\") + pszKind;
    HKEY hKind = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &hKind) != ERROR_SUCCESS)
        return names;
    wchar_t sz[256];
    for (DWORD i = 0;; ++i)
    {
        DWORD cch = 256;
        if (RegEnumKeyExW(hKind, i, sz, &cch, nullptr, nullptr, nullptr, nullptr))
            break;
        names.push_back(sz);
    }
    RegCloseKey(hKind);
    return names;
}

const wchar_t kCoopDll[] = L"static_coop.dll";

App CoopApp(const std::wstring& key, const std::wstring& func = L"CoopOpen",
            const std::wstring& lib = kCoopDll)
{
    return {key, L"Open with " + key, L"app-" + key, func, lib};
}

class StaticCoopTest : public StaticTest
{
protected:
    void SetUp() override
    {
        StaticTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quill");
        m_hMap = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    sizeof(StaticCoopRecord), STATIC_COOP_RECORD_NAME);
        ASSERT_NE(nullptr, m_hMap);
        m_pRecord = static_cast<StaticCoopRecord*>(
            MapViewOfFile(m_hMap, FILE_MAP_WRITE, 0, 0, sizeof(StaticCoopRecord)));
        ASSERT_NE(nullptr, m_pRecord);
        ZeroMemory(m_pRecord, sizeof(*m_pRecord));

        static ATOM s_atom;
        if (!s_atom)
        {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"HHTaskBar";
            s_atom = RegisterClassW(&wc);
        }
        m_hTaskBar = CreateWindowExW(0, L"HHTaskBar", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_hTaskBar);
    }
    void TearDown() override
    {
        DestroyWindow(m_hTaskBar);
        UnmapViewOfFile(m_pRecord);
        CloseHandle(m_hMap);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quill");
        StaticTest::TearDown();
    }

    // Creates a link label with the given kind and text.
    void MakeLink(StaticProbe& label, unsigned int nFlag, const wchar_t* pszText = L"555-0100")
    {
        label.SetCoopFlag(nFlag);
        ASSERT_TRUE(MakeLabel(label, pszText, RECT{20, 20, 220, 50}));
        PumpMessages();
    }
    // A tap on the label, the menu driven by 'menu', and what the choice posted handled.
    void TapLink(StaticProbe& label)
    {
        SendTap(label.GetSafeHwnd(), 30, 10);
        PumpMessages();
    }
    bool CoopLoaded() const { return GetModuleHandleW(kCoopDll) != nullptr; }

    HANDLE m_hMap = nullptr;
    StaticCoopRecord* m_pRecord = nullptr;
    HWND m_hTaskBar = nullptr;
};

TEST_F(StaticCoopTest, EachFlagReadsItsOwnKey)
{
    Register(L"TEL", {CoopApp(L"tel")});
    Register(L"TEXT", {CoopApp(L"text")});
    Register(L"EMAIL", {CoopApp(L"email")});
    struct Case
    {
        const char* label;
        unsigned int nFlag;
        int nType;         // 0: no lookup
        const wchar_t* disp;
    } cases[] = {{"1: TEL", 1, 6, L"Open with tel"},
                 {"2: TEXT", 2, 1, L"Open with text"},
                 {"4: EMAIL", 4, 8, L"Open with email"},
                 {"3: no kind", 3, 0, nullptr},
                 {"8: no kind", 8, 0, nullptr}};
    for (const Case& c : cases)
    {
        StaticProbe label;
        MakeLink(label, c.nFlag);
        MenuDriver menu(-1);
        TapLink(label);
        EXPECT_EQ(kLinkPurple, label.LinkColor()) << c.label;
        ASSERT_NE(nullptr, label.Table()) << c.label << ": the table stays after a dismissal";
        EXPECT_EQ(c.nType, label.Table()->nType) << c.label;
        EXPECT_EQ(c.nType ? 1 : 0, label.QueryCoopInfo()) << c.label;
        if (!c.disp)
        {
            EXPECT_EQ(0, menu.nMenus) << c.label;
            EXPECT_EQ(0, label.Table()->nCount) << c.label;
            continue;
        }
        ASSERT_EQ(1, menu.nMenus) << c.label;
        EXPECT_EQ(label.GetSafeHwnd(), menu.hwndOwner) << c.label;
        ASSERT_EQ(1u, menu.texts.size()) << c.label;
        EXPECT_EQ(c.disp, menu.texts[0]) << c.label;
        EXPECT_EQ(0, m_pRecord->nCalls) << c.label << ": dismissed, nothing called";
    }
}

TEST_F(StaticCoopTest, MenuListsApplicationsInEnumerationOrder)
{
    Register(L"TEL", {CoopApp(L"Dialer"), CoopApp(L"Contacts"), CoopApp(L"Messenger")});
    std::vector<std::wstring> order = EnumerationOrder(L"TEL");
    ASSERT_EQ(3u, order.size());
    StaticProbe label;
    MakeLink(label, NAV_COOP_TEL);
    MenuDriver menu(-1);
    TapLink(label);
    ASSERT_EQ(1, menu.nMenus);
    EXPECT_EQ((std::vector<UINT>{1024, 1025, 1026}), menu.ids);
    ASSERT_EQ(3u, menu.texts.size());
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(L"Open with " + order[i], menu.texts[i]);
        EXPECT_EQ(L"app-" + order[i], std::wstring(label.Table()->szAppName[i]));
        EXPECT_STREQ(kCoopDll, label.Table()->szClassID[i]);
        EXPECT_STREQ(L"CoopOpen", label.Table()->szFuncName[i]);
    }
    EXPECT_EQ(3, label.Table()->nCount);
}

TEST_F(StaticCoopTest, NoApplicationsGiveAnEmptyTable)
{
    Register(L"EMAIL", {});
    StaticProbe label;
    MakeLink(label, NAV_COOP_EMAIL);
    MenuDriver menu(-1);
    TapLink(label);
    ASSERT_NE(nullptr, label.Table());
    EXPECT_EQ(0, label.Table()->nCount);
    EXPECT_EQ(8, label.Table()->nType);
    EXPECT_EQ(0, m_pRecord->nCalls);
}

TEST_F(StaticCoopTest, ChoiceCallsTheExportWithTextAndUnloadsIt)
{
    Register(L"TEXT", {CoopApp(L"a0"), CoopApp(L"a1"), CoopApp(L"a2")});
    StaticProbe label;
    MakeLink(label, NAV_COOP_TEXT, L"Meet at noon");
    label.ListenToNative();
    Redraw(label.GetSafeHwnd());
    EXPECT_GT(CountColor(Pixels::FromWindow(label.GetSafeHwnd()), kLinkBlue), 5);
    MenuDriver menu(1);
    TapLink(label);
    ASSERT_EQ(1, menu.nMenus);
    EXPECT_EQ(1, m_pRecord->nCalls);
    EXPECT_STREQ(L"Meet at noon", m_pRecord->szData);
    EXPECT_STREQ(L"", m_pRecord->szExtra);
    EXPECT_EQ(0, m_pRecord->nReserved);
    EXPECT_FALSE(CoopLoaded()) << "the library is loaded only for the call";
    EXPECT_EQ(nullptr, label.Table());
    EXPECT_TRUE(StaticProbe::NativeMessages(WM_COMMAND).empty()) << "the choice is consumed";
    Pixels px = Pixels::FromWindow(label.GetSafeHwnd());
    EXPECT_EQ(0, CountColor(px, kLinkBlue));
    EXPECT_GT(CountColor(px, kLinkPurple), 5);

    // The link turns blue again with SetCoopFlag, at the next painting.
    label.SetCoopFlag(NAV_COOP_TEXT);
    EXPECT_EQ(kLinkBlue, label.LinkColor());
    Redraw(label.GetSafeHwnd());
    EXPECT_GT(CountColor(Pixels::FromWindow(label.GetSafeHwnd()), kLinkBlue), 5);
}

TEST_F(StaticCoopTest, TaskBarIsShownExceptForTheFifthAndSixthChoice)
{
    std::vector<App> apps;
    for (int i = 0; i < 7; ++i)
        apps.push_back(CoopApp(L"app" + std::to_wstring(i)));
    Register(L"TEL", apps);
    for (int nChoice = 0; nChoice < 7; ++nChoice)
    {
        ShowWindow(m_hTaskBar, SW_HIDE);
        m_pRecord->nCalls = 0;
        StaticProbe label;
        MakeLink(label, NAV_COOP_TEL);
        MenuDriver menu(nChoice);
        TapLink(label);
        const bool bShown = nChoice != 4 && nChoice != 5;
        EXPECT_EQ(1, m_pRecord->nCalls) << "choice " << nChoice;
        EXPECT_EQ(bShown, m_pRecord->bTaskBarVisible != FALSE)
            << "choice " << nChoice << ": shown before the library is called";
        EXPECT_EQ(bShown, IsWindowVisible(m_hTaskBar) != FALSE) << "choice " << nChoice;
    }
}

// A choice the label cannot act on goes on to the native procedure as it came.
static const Expected kFirstChoicePassedOn[] = {
    ExpW(WM_COMMAND, NAV_COOP_FIRST_ID),
};

TEST_F(StaticCoopTest, FailedLaunches)
{
    struct Case
    {
        const char* label;
        App app;
        MessageTable passedOn; // WM_COMMAND given to the native procedure
    } cases[] = {
        {"missing library: passed on", CoopApp(L"gone", L"CoopOpen", L"no_such_lib.dll"),
         kFirstChoicePassedOn},
        {"missing export: consumed", CoopApp(L"odd", L"NoSuchExport"), {}},
    };
    for (const Case& c : cases)
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quill");
        Register(L"TEL", {c.app});
        StaticProbe label;
        MakeLink(label, NAV_COOP_TEL);
        label.ListenToNative();
        MenuDriver menu(0);
        TapLink(label);
        EXPECT_EQ(nullptr, label.Table()) << c.label;
        EXPECT_TRUE(SequenceIs(StaticProbe::NativeMessages(WM_COMMAND), c.passedOn)) << c.label;
        EXPECT_EQ(0, m_pRecord->nCalls) << c.label;
        EXPECT_FALSE(CoopLoaded()) << c.label;
    }
}

TEST_F(StaticCoopTest, LongTextIsPassedCutTo511Characters)
{
    Register(L"TEL", {CoopApp(L"a0")});
    std::wstring text;
    for (int i = 0; i < 600; ++i)
        text += static_cast<wchar_t>(L'A' + i % 26);
    StaticProbe label;
    MakeLink(label, NAV_COOP_TEL, text.c_str());
    MenuDriver menu(0);
    TapLink(label);
    ASSERT_EQ(1, m_pRecord->nCalls);
    EXPECT_EQ(511, m_pRecord->nDataLength);
    EXPECT_EQ(text.substr(0, 511), std::wstring(m_pRecord->szData));
}

TEST_F(StaticCoopTest, TwelveApplicationsFillTheTenEntriesOnly)
{
    std::vector<App> apps;
    for (int i = 0; i < 12; ++i)
        apps.push_back(CoopApp(L"app" + std::wstring(1, static_cast<wchar_t>(L'a' + i))));
    Register(L"TEL", apps);
    std::vector<std::wstring> order = EnumerationOrder(L"TEL");
    StaticProbe label;
    MakeLink(label, NAV_COOP_TEL);
    MenuDriver menu(9);
    TapLink(label);
    ASSERT_EQ(1, menu.nMenus);
    ASSERT_EQ(10u, menu.texts.size());
    for (size_t i = 0; i < 10; ++i)
        EXPECT_EQ(L"Open with " + order[i], menu.texts[i]) << i;
    EXPECT_EQ(1033u, menu.ids.back());
    EXPECT_EQ(1, m_pRecord->nCalls) << "the tenth application is launched";
}

TEST_F(StaticCoopTest, FiftyCharacterSubKeyNameEndsTheEnumeration)
{
    std::wstring longName = L"m" + std::wstring(49, L'x');
    Register(L"TEL", {CoopApp(L"a0"), CoopApp(L"b1"), CoopApp(longName), CoopApp(L"z9"),
                      CoopApp(L"m" + std::wstring(48, L'y'))});
    std::vector<std::wstring> order = EnumerationOrder(L"TEL");
    size_t nBefore = 0;
    while (nBefore < order.size() && order[nBefore].size() < 50)
        ++nBefore;
    ASSERT_LT(nBefore, order.size());
    StaticProbe label;
    MakeLink(label, NAV_COOP_TEL);
    MenuDriver menu(-1);
    TapLink(label);
    ASSERT_NE(nullptr, label.Table());
    EXPECT_EQ(static_cast<int>(nBefore), label.Table()->nCount);
    EXPECT_EQ(nBefore, menu.texts.size());
}

TEST_F(StaticCoopTest, ValuesStayTerminatedInsideTheirSlots)
{
    Register(L"TEL", {CoopApp(L"a0")});
    HKEY hApp = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quill\\TEL\\a0", 0,
                                           KEY_ALL_ACCESS, &hApp));
    // 49 characters fit with the terminator; 50 do not and leave the slot empty.
    WriteString(hApp, L"DispName", std::wstring(49, L'D'));
    WriteString(hApp, L"AppName", std::wstring(50, L'A'));
    StaticProbe label;
    label.SetCoopFlag(NAV_COOP_TEL);
    ASSERT_TRUE(MakeStatic(label, m_host, L"x", RECT{0, 0, 50, 20}));
    label.MakeTable();
    ASSERT_EQ(1, label.QueryCoopInfo());
    EXPECT_EQ(std::wstring(49, L'D'), label.Table()->szDispName[0]);
    EXPECT_STREQ(L"", label.Table()->szAppName[0]);

    // A value stored without a terminator, read again into the same table, is cut at its own
    // end and not joined to what the slot held before.
    const wchar_t raw[2] = {L'B', L'B'};
    RegSetValueExW(hApp, L"DispName", 0, REG_BINARY, reinterpret_cast<const BYTE*>(raw),
                   sizeof(raw));
    RegCloseKey(hApp);
    ASSERT_EQ(1, label.QueryCoopInfo());
    EXPECT_STREQ(L"BB", label.Table()->szDispName[0]);

    // Fewer applications than before leave the later entries empty.
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quill\\TEL\\a0");
    ASSERT_EQ(1, label.QueryCoopInfo());
    EXPECT_EQ(0, label.Table()->nCount);
    EXPECT_STREQ(L"", label.Table()->szDispName[0]);
    EXPECT_STREQ(L"", label.Table()->szClassID[0]);
}

TEST_F(StaticCoopTest, CommandsOutsideALaunchGoToTheNativeProcedure)
{
    Register(L"TEL", {CoopApp(L"a0"), CoopApp(L"a1")});
    struct Case
    {
        const char* label;
        bool bLookup; // a dismissed menu left a table
        WPARAM wParam;
    } cases[] = {{"no lookup yet", false, 1024},
                 {"id below the range", true, 1023},
                 {"id above the range", true, 1034}};
    for (const Case& c : cases)
    {
        ShowWindow(m_hTaskBar, SW_HIDE);
        StaticProbe label;
        MakeLink(label, NAV_COOP_TEL);
        if (c.bLookup)
        {
            MenuDriver menu(-1);
            TapLink(label);
            ASSERT_NE(nullptr, label.Table()) << c.label;
        }
        label.ListenToNative();
        SendMessageW(label.GetSafeHwnd(), WM_COMMAND, c.wParam, 0);
        const Expected passedOn[] = {ExpW(WM_COMMAND, c.wParam)};
        EXPECT_TRUE(SequenceIs(StaticProbe::NativeMessages(WM_COMMAND), passedOn)) << c.label;
        EXPECT_EQ(nullptr, label.Table()) << c.label;
        EXPECT_EQ(0, m_pRecord->nCalls) << c.label;
        EXPECT_FALSE(IsWindowVisible(m_hTaskBar)) << c.label << ": nothing launches";
        EXPECT_FALSE(CoopLoaded()) << c.label;
    }
}

// An entry at or above the count, or one without a library, is empty: the launch goes as far
// as a failed load, so a hidden task bar is shown first (except for the fifth and sixth
// entries), then the table goes and the command is passed on.
TEST_F(StaticCoopTest, EmptyEntriesShowTheTaskBarThenFailToLoad)
{
    struct Case
    {
        const char* label;
        int nChoice;
        bool bShown;
    } cases[] = {{"fourth, beyond the count", 3, true},
                 {"fifth, beyond the count", 4, false},
                 {"sixth, beyond the count", 5, false},
                 {"tenth, beyond the count", 9, true},
                 {"second, without a library", 1, true}};
    Register(L"TEL", {CoopApp(L"a0"), CoopApp(L"a1", L"CoopOpen", L"")});
    for (const Case& c : cases)
    {
        ShowWindow(m_hTaskBar, SW_HIDE);
        StaticProbe label;
        MakeLink(label, NAV_COOP_TEL);
        {
            MenuDriver menu(-1);
            TapLink(label);
        }
        ASSERT_NE(nullptr, label.Table()) << c.label;
        label.ListenToNative();
        const WPARAM wParam = NAV_COOP_FIRST_ID + c.nChoice;
        SendMessageW(label.GetSafeHwnd(), WM_COMMAND, wParam, 0);
        EXPECT_EQ(c.bShown, IsWindowVisible(m_hTaskBar) != FALSE) << c.label;
        const Expected passedOn[] = {ExpW(WM_COMMAND, wParam)};
        EXPECT_TRUE(SequenceIs(StaticProbe::NativeMessages(WM_COMMAND), passedOn)) << c.label;
        EXPECT_EQ(nullptr, label.Table()) << c.label;
        EXPECT_EQ(0, m_pRecord->nCalls) << c.label;
        EXPECT_FALSE(CoopLoaded()) << c.label;
    }
}

TEST_F(StaticCoopTest, LookupOnlyFollowsAPressInside)
{
    Register(L"TEL", {CoopApp(L"a0")});
    StaticProbe label;
    MakeLink(label, NAV_COOP_TEL);
    MenuDriver menu(-1);
    SendPenUp(label.GetSafeHwnd(), 30, 10); // a release without a press
    SendPenDown(label.GetSafeHwnd(), 30, 10);
    SendPenUp(label.GetSafeHwnd(), 500, 10); // released outside
    PumpMessages();
    EXPECT_EQ(0, menu.nMenus);
    EXPECT_EQ(kLinkBlue, label.LinkColor());
    EXPECT_EQ(nullptr, label.Table());
}

} // namespace
