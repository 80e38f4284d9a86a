// test_lowmem.cpp - every allocation the library and the image library make, made to fail in
// turn (in the manner of SQLite's out-of-memory tests).
//
// For each scenario the allocation points of its action are first counted; then the action
// runs again once per point k with the k-th allocation failing, and once with every allocation
// from the k-th on failing, in each DLL. After each run: the live-object ledger is back where
// it started, a failed Create answered 0 with its one debug line (and the next Create
// succeeds), and once the failures stop, one ordinary paint shows exactly the picture of a run
// in which nothing failed: nothing stuck, nothing half made, no offset left wrong.
#include <gtest/gtest.h>

#include "TestHost.h"
#include "hooks/NavTestHooks.h"
#include "StandIn.h"
#include "win32/NavGdi.h"
#include "ZorNavCtrl.h"
#include "CxImage.h"
#include "NavTestKit.h"
#include "resource.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace navtest;

namespace
{
const UINT kId = 300;
// Create may write to its rectangle (the combo box does): each call takes a copy.
const RECT kButtonRect = {20, 20, 200, 54};
const RECT kFieldRect = {20, 80, 220, 116};
const RECT kLabelRect = {20, 140, 140, 170};
const RECT kBoxRect = {240, 20, 440, 180};
const RECT kListRect = {20, 200, 320, 443};

// The controls one run makes; a scenario uses those it needs.
struct World
{
    World() : host(640, 480)
    {
        host.hook = [this](UINT msg, WPARAM, LPARAM lParam, LRESULT* pResult) {
            return AnswerRowRequest(
                msg, lParam,
                [](int row, int subItem) {
                    return (subItem ? L"Side " : L"A row with a rather long text ") +
                           std::to_wstring(row);
                },
                [](int) { return -1; }, pResult);
        };
    }
    TestHost host;
    std::unique_ptr<CNavBitmapButton> button;
    std::unique_ptr<CNavListCtrl> list;
    std::unique_ptr<CNavEdit> edit;
    std::unique_ptr<CNavCombobox> combo;
    std::unique_ptr<CNavStatic> label;
    std::unique_ptr<CNavGroupBox> box;
    HFONT hFont = nullptr;
    HBITMAP hBitmap = nullptr;
    int nCreated = -1; // what the action's Create answered, when it made one
    ~World()
    {
        button.reset();
        list.reset();
        edit.reset();
        combo.reset();
        label.reset();
        box.reset();
        if (hFont)
            DeleteObject(hFont);
        if (hBitmap)
            DeleteObject(hBitmap);
    }
};

int MakeButton(World& w, ButtonType nType, int nCheck = 0)
{
    if (!w.button)
        w.button = std::make_unique<CNavBitmapButton>();
    RECT rc = kButtonRect;
    const int n = w.button->Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE,
                                   const_cast<wchar_t*>(L"Caption"), rc, w.host, kId,
                                   nullptr, nType, nullptr);
    if (n && nCheck)
        w.button->SetCheck(1);
    return n;
}

int MakeList(World& w)
{
    if (!w.list)
        w.list = std::make_unique<CNavListCtrl>();
    w.list->SetCheckBox(1);
    const int n = w.list->Create(w.host, WS_VISIBLE | WS_BORDER | LVS_OWNERDATA,
                                 GetModuleHandleW(nullptr), kListRect, kId + 1);
    if (n)
    {
        w.list->SetItemCount(40);
    }
    return n;
}

int MakeEdit(World& w)
{
    if (!w.edit)
        w.edit = std::make_unique<CNavEdit>();
    RECT rc = kFieldRect;
    return w.edit->Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE,
                          const_cast<wchar_t*>(L"Text"), rc, w.host, kId + 2, nullptr, 0);
}

int MakeCombo(World& w)
{
    if (!w.combo)
        w.combo = std::make_unique<CNavCombobox>();
    RECT rc = kFieldRect;
    const int n =
        w.combo->Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rc, w.host, kId + 3);
    if (n && w.combo->GetCount() == 0)
        for (const wchar_t* psz : {L"One", L"Two", L"Three"})
            w.combo->AddString(psz);
    return n;
}

int MakeLabel(World& w, bool bMarquee)
{
    if (!w.label)
    {
        w.label = std::make_unique<CNavStatic>();
        w.label->SetIsAutoScroll(bMarquee ? 1 : 0);
        w.label->SetUnderLine(1);
    }
    RECT rc = kLabelRect;
    return w.label->Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP,
                           const_cast<wchar_t*>(L"A label far too long for its place"),
                           rc, w.host, kId + 4, nullptr);
}

// A link label whose kind of data has one cooperating application registered, the label tests'
// library (which does nothing without the record those tests hold open).
int MakeLink(World& w)
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Quill\\TEL\\lowmem", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &hKey, nullptr) == ERROR_SUCCESS)
    {
        const std::pair<const wchar_t*, const wchar_t*> values[] = {
            {L"DispName", L"Call"}, {L"AppName", L"dialer"}, {L"FuncName", L"CoopOpen"},
            {L"ClassID", L"static_coop.dll"}};
        for (const auto& v : values)
            RegSetValueExW(hKey, v.first, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.second),
                           static_cast<DWORD>((wcslen(v.second) + 1) * sizeof(wchar_t)));
        RegCloseKey(hKey);
    }
    w.label = std::make_unique<CNavStatic>();
    w.label->SetCoopFlag(NAV_COOP_TEL);
    RECT rc = kLabelRect;
    return w.label->Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE,
                           const_cast<wchar_t*>(L"555-0100"), rc, w.host, kId + 4, nullptr);
}

int MakeBox(World& w)
{
    if (!w.box)
        w.box = std::make_unique<CNavGroupBox>();
    RECT rc = kBoxRect;
    if (!w.hBitmap)
        w.hBitmap = MakeSolidBitmap(rc.right - rc.left, rc.bottom - rc.top, RGB(40, 90, 160));
    return w.box->Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE,
                         const_cast<wchar_t*>(L"Group"), rc, w.host, kId + 5, w.hBitmap);
}

// A tap on the combo's arrow.
void OpenCombo(World& w)
{
    SendTap(w.combo->GetSafeHwnd(), kFieldRect.right - kFieldRect.left - 12, 12);
    PumpMessages();
}

// Paints a control into the host's DC as a parent composing its own picture would; the DC must
// come back as it was, whatever failed.
void PaintIntoHost(World& w, const std::function<int(HDC)>& paint)
{
    HDC hdc = GetDC(w.host);
    const DcState before = DcState::Of(hdc);
    paint(hdc);
    EXPECT_EQ("", before.Changes(hdc)) << "the caller's DC comes back as it was";
    ReleaseDC(w.host, hdc);
}

void Repaint(World& w)
{
    RedrawWindow(w.host, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
}

// One scenario: made without failures, then its action under failures, then (failures off)
// what the application would do next, the same in every run.
struct Scenario
{
    const char* name;
    std::function<void(World&)> setup;
    std::function<void(World&)> act;
    std::function<void(World&)> next = [](World&) {};
    // Whether the action may be lost as a whole when an allocation fails (a marquee tick
    // without a DC to measure with): the picture may then also be that of a run without it.
    bool bMayBeLost = false;
};

// Makes a Create the scenario's action; a failed one is followed by the next Create.
Scenario CreateScenario(const char* name, std::function<int(World&)> make,
                        std::function<void(World&)> then = [](World&) {})
{
    Scenario s{name, [](World&) {}, [make](World& w) { w.nCreated = make(w); }};
    s.next = [make, then](World& w) {
        if (w.nCreated == 0)
        {
            ASSERT_EQ(1, make(w)) << "the next Create makes what the failed one could not";
        }
        PumpMessages();
        then(w);
    };
    return s;
}

std::vector<Scenario> Scenarios()
{
    auto tap = [](HWND hwnd, int x, int y) {
        SendTap(hwnd, x, y);
        PumpMessages();
    };
    std::vector<Scenario> s;
    // Creation, with what a user does first afterwards.
    s.push_back(CreateScenario("button Create", [](World& w) { return MakeButton(w, NAVBTN_PUSH); }));
    // Constructed under failures too: what the constructor could not allocate, Create makes.
    Scenario checkBox = CreateScenario(
        "check box made and created", [](World& w) { return MakeButton(w, NAVBTN_CHECK); },
        [tap](World& w) { tap(w.button->GetSafeHwnd(), 10, 10); });
    checkBox.act = [](World& w) {
        w.button = std::make_unique<CNavBitmapButton>();
        w.nCreated = MakeButton(w, NAVBTN_CHECK);
    };
    s.push_back(checkBox);
    Scenario list = CreateScenario("list made and created", MakeList, [](World& w) {
        w.list->EnsureVisible(20, 0);
        PumpMessages();
    });
    list.act = [](World& w) {
        w.list = std::make_unique<CNavListCtrl>();
        w.nCreated = MakeList(w);
    };
    s.push_back(list);
    s.push_back(CreateScenario("edit Create", MakeEdit));
    s.push_back(CreateScenario("combo Create", MakeCombo, OpenCombo));
    s.push_back(CreateScenario("label Create", [](World& w) { return MakeLabel(w, false); }));
    s.push_back(CreateScenario(
        "marquee label Create", [](World& w) { return MakeLabel(w, true); },
        [](World& w) {
            // The timer must run: a tick it sends moves the text on.
            EXPECT_TRUE(KillTimer(w.label->GetSafeHwnd(), 1)) << "the marquee's timer runs";
            SendMessageW(w.label->GetSafeHwnd(), WM_TIMER, 1, 0);
        }));
    s.push_back(CreateScenario("group box Create", MakeBox));

    // Paints, in the states that draw differently.
    const struct
    {
        const char* name;
        ButtonType nType;
        int nCheck;
    } kButtonStates[] = {{"push button paint", NAVBTN_PUSH, 0},
                         {"check box paint", NAVBTN_CHECK, 0},
                         {"checked check box paint", NAVBTN_CHECK, 1},
                         {"radio button paint", NAVBTN_RADIO, 0},
                         {"checked radio button paint", NAVBTN_RADIO, 1},
                         {"toggle paint, off", NAVBTN_TOGGLE, 0},
                         {"toggle paint, on", NAVBTN_TOGGLE, 1}};
    for (const auto& state : kButtonStates)
        s.push_back({state.name,
                     [state](World& w) { MakeButton(w, state.nType, state.nCheck); }, Repaint});
    s.push_back({"button OnPaintEx", [](World& w) { MakeButton(w, NAVBTN_CHECK, 1); },
                 [](World& w) {
                     PaintIntoHost(w, [&](HDC hdc) { return w.button->OnPaintEx(hdc); });
                 }});
    s.push_back({"button tap", [](World& w) { MakeButton(w, NAVBTN_RADIO); },
                 [tap](World& w) { tap(w.button->GetSafeHwnd(), 10, 10); }});
    s.push_back({"button keyboard click", [](World& w) { MakeButton(w, NAVBTN_CHECK); },
                 [](World& w) {
                     SetFocus(w.button->GetSafeHwnd());
                     SendMessageW(w.button->GetSafeHwnd(), WM_KEYDOWN, VK_SPACE, 0);
                     SendMessageW(w.button->GetSafeHwnd(), WM_KEYUP, VK_SPACE, 0xC0000001);
                     PumpMessages();
                 }});
    s.push_back({"button text and font", [](World& w) { MakeButton(w, NAVBTN_PUSH); },
                 [](World& w) {
                     w.hFont = MakeFont(14);
                     w.button->SetFont(w.hFont);
                     w.button->SetText(L"Other");
                     Repaint(w);
                 }});
    s.push_back({"edit paint with the focus", MakeEdit, [](World& w) {
                     SetFocus(w.edit->GetSafeHwnd());
                     Repaint(w);
                 }});
    s.push_back({"edit text and font", MakeEdit, [](World& w) {
                     w.hFont = MakeFont(16);
                     w.edit->SetFont(w.hFont);
                     w.edit->SetText(const_cast<wchar_t*>(L"Other text"));
                     Repaint(w);
                 }});
    s.push_back({"edit OnPaintEx", MakeEdit, [](World& w) {
                     PaintIntoHost(w, [&](HDC hdc) { return w.edit->OnPaintEx(hdc); });
                 }});
    // A choice whose text could not be fetched leaves the edit as it was (SetCurSel still
    // answers the list's selection); choosing again then shows it.
    s.push_back({"combo open and choose", MakeCombo,
                 [](World& w) {
                     OpenCombo(w);
                     Repaint(w);
                     w.combo->SetCurSel(1);
                     Repaint(w);
                 },
                 [](World& w) { w.combo->SetCurSel(1); }});
    s.push_back({"list first paint", MakeList, Repaint});
    s.push_back({"list OnPaintEx", MakeList, [](World& w) {
                     PaintIntoHost(w, [&](HDC hdc) { return w.list->OnPaintEx(hdc); });
                 }});
    s.push_back({"list insert and delete",
                 [](World& w) {
                     w.list = std::make_unique<CNavListCtrl>();
                     w.list->SetCheckBox(1);
                     w.list->Create(w.host, WS_VISIBLE | WS_BORDER, GetModuleHandleW(nullptr),
                                    kListRect, kId + 1);
                 },
                 [](World& w) {
                     for (int i = 0; i < 12; ++i)
                         w.list->InsertItem(i, const_cast<wchar_t*>(L"Inserted row"), -1, 0);
                     w.list->DeleteItem(3);
                     Repaint(w);
                 }});
    s.push_back({"list SetItemCount", MakeList, [](World& w) {
                     w.list->SetItemCount(5000);
                     Repaint(w);
                 }});
    s.push_back({"list scroll and page", MakeList, [](World& w) {
                     SendMessageW(w.list->GetSafeHwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
                     SendMessageW(w.list->GetSafeHwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
                     w.list->Invalidate();
                     PumpMessages();
                 }});
    s.push_back({"list tap on a check box and the marquee", MakeList, [tap](World& w) {
                     tap(w.list->GetSafeHwnd(), 12, 45);
                     SendMessageW(w.list->GetSafeHwnd(), WM_TIMER, 1, 0);
                     SendMessageW(w.list->GetSafeHwnd(), WM_TIMER, 1, 0);
                     PumpMessages();
                 }});
    s.push_back({"scroll bar thumb drag", MakeList, [](World& w) {
                     HWND bar = GetDlgItem(w.host, kId + 1 + 1001);
                     const int y = NavScrollBarThumbTop(bar) + 10;
                     SendPenDown(bar, 20, y);
                     SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, y + 60));
                     SendPenUp(bar, 20, y + 60);
                     PumpMessages();
                 }});
    s.push_back({"label paint and tick",
                 [](World& w) {
                     MakeLabel(w, false);
                     SendMessageW(w.label->GetSafeHwnd(), WM_TIMER, 1, 0);
                     SendMessageW(w.label->GetSafeHwnd(), WM_TIMER, 1, 0);
                 },
                 [](World& w) {
                     SendMessageW(w.label->GetSafeHwnd(), WM_TIMER, 1, 0);
                     Repaint(w);
                 },
                 [](World&) {}, true});
    s.push_back({"label text and font", [](World& w) { MakeLabel(w, false); }, [](World& w) {
                     w.hFont = MakeFont(13);
                     w.label->SetFont(w.hFont);
                     w.label->SetText(const_cast<wchar_t*>(L"Another long text for the label"));
                     Repaint(w);
                 }});
    s.push_back({"label OnPaintEx", [](World& w) { MakeLabel(w, false); }, [](World& w) {
                     PaintIntoHost(w, [&](HDC hdc) { return w.label->OnPaintEx(hdc); });
                 }});
    s.push_back({"label link menu and launch", MakeLink, [](World& w) {
                     MenuDriver menu(0);
                     SendTap(w.label->GetSafeHwnd(), 30, 10);
                     PumpMessages();
                 }});
    s.push_back({"group box paint", MakeBox, Repaint});
    s.push_back({"image load and draw", [](World&) {}, [](World& w) {
                     CxImage image;
                     image.LoadPNGFromResource(GetModuleHandleW(L"ZorNavCtrl.dll"), IDP_SCROLLBAR);
                     HDC hdc = GetDC(w.host);
                     image.DrawAlphaChannel(hdc, 500, 0, 40, 200, 0, 0, 255, 0);
                     ReleaseDC(w.host, hdc);
                 }});
    return s;
}

// The DLL whose allocations a run makes fail, from below: the stand-in of the device's
// platform fails the DLL's allocating calls.
struct Target
{
    const char* name;
    const wchar_t* pszModule;
    void arm(long nFail, BOOL bFromThenOn) const
    {
        StandInFailAllocations(pszModule, nFail, bFromThenOn, nullptr);
    }
    long count() const { return StandInAllocationCount(pszModule); }
};
const Target kTargets[] = {{"library", L"ZorNavCtrl.dll"}, {"image library", L"imgblend.dll"}};

// One run: the scenario with the target's allocations armed as given, then failures off, the
// next steps and one ordinary paint. Answers the picture and the points counted.
Pixels RunOnce(const Scenario& scenario, const Target& target, long nFail, BOOL bFromThenOn,
               long* pnPoints, bool bAct = true)
{
    // The paint buffer the library keeps between paints is given back before each count.
    nav::PaintBuffer::GiveBackKept();
    const long nLiveBefore = StandInLiveObjects();
    Pixels px;
    {
        World w;
        scenario.setup(w);
        PumpMessages();
        nav::PaintBuffer::GiveBackKept(); // the action's first paint makes it again
        DebugCapture debug;
        target.arm(nFail, bFromThenOn);
        if (bAct)
            scenario.act(w);
        PumpMessages();
        *pnPoints = target.count();
        target.arm(0, FALSE);
        if (w.nCreated == 0)
        {
            int nFailedLines = 0;
            for (const std::wstring& line : debug.Lines())
                nFailedLines += line.find(L"failed") != std::wstring::npos;
            EXPECT_LE(nFailedLines, 1) << "a failed Create writes one line at most";
        }
        scenario.next(w);
        Repaint(w);
        px = Pixels::FromWindow(w.host);
    }
    nav::PaintBuffer::GiveBackKept();
    EXPECT_EQ(nLiveBefore, StandInLiveObjects()) << "nothing leaks";
    return px;
}

// Where two pictures first differ, or an empty text when they are the same.
std::string FirstDifference(const Pixels& a, const Pixels& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return "sizes differ";
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.At(x, y) != b.At(x, y))
                return "at " + std::to_string(x) + "," + std::to_string(y) + ": " +
                       ColorText(a.At(x, y)) + " instead of " + ColorText(b.At(x, y));
    return "";
}
} // namespace

TEST(LowMemory, EveryAllocationMayFailAndTheNextPaintRecovers)
{
    int nRuns = 0;
    printf("%-42s %-14s %7s %6s %8s\n", "scenario", "allocations of", "points", "runs", "ms");
    for (const Scenario& scenario : Scenarios())
    {
        for (const Target& target : kTargets)
        {
            SCOPED_TRACE(std::string(scenario.name) + ", " + target.name);
            const DWORD dwStart = GetTickCount();
            long nPoints = 0;
            const Pixels reference = RunOnce(scenario, target, 0, FALSE, &nPoints);
            long nNone = 0;
            const Pixels without = scenario.bMayBeLost
                                       ? RunOnce(scenario, target, 0, FALSE, &nNone, false)
                                       : reference;
            int nScenarioRuns = 1;
            for (long k = 1; k <= nPoints; ++k)
                for (BOOL bFromThenOn : {FALSE, TRUE})
                {
                    SCOPED_TRACE("allocation " + std::to_string(k) +
                                 (bFromThenOn ? " and every one after it" : "") + " fails");
                    long nCounted = 0;
                    const Pixels px = RunOnce(scenario, target, k, bFromThenOn, &nCounted);
                    ++nScenarioRuns;
                    if (FirstDifference(px, without).empty())
                        continue; // the action lost as a whole
                    EXPECT_EQ("", FirstDifference(px, reference))
                        << "the ordinary paint after the failure shows the control whole";
                    if (::testing::Test::HasFailure())
                        return;
                }
            nRuns += nScenarioRuns;
            printf("%-42s %-14s %7ld %6d %8lu\n", scenario.name, target.name, nPoints,
                   nScenarioRuns, GetTickCount() - dwStart);
        }
    }
    printf("%d runs\n", nRuns);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quill\\TEL\\lowmem");
}
