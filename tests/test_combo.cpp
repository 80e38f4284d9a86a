// test_combo.cpp - CNavCombobox on the test host: the shape of its windows, the list
// operations, opening below and above with whole rows, closing by arrow, item, focus,
// SetCurSel and Show, the painted and pressed arrow, and that no GDI object survives.
#include <gtest/gtest.h>

#include "NavCombobox.h"
#include "Sequence.h"
#include "Assignment.h"
#include "TestHost.h"
#include "StandIn.h"
#include "combo/ComboTextBuffer.h"
#include "win32/NavGdi.h"
#include "resource.h"

#include <string>
#include <vector>

using namespace navtest;

namespace
{
const UINT kId = 200;
const COLORREF kListRow = RGB(0xCC, 0xCC, 0xCC);

// Gives the protected state to tests.
class TestCombo : public CNavCombobox
{
public:
    RECT ListRect() const { return m_rcList; }
    int Pressed() const { return m_bPressed; }
};

RECT ScreenRect(HWND hwnd, RECT rc)
{
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t sz[128] = L"";
    GetWindowTextW(hwnd, sz, 128);
    return sz;
}

class ComboTest : public ::testing::Test
{
protected:
    // Creates a combo at rc (parent client coordinates) with the given items.
    int Make(TestCombo& combo, RECT rc, std::vector<const wchar_t*> items = {},
             DWORD dwStyle = WS_VISIBLE)
    {
        int nResult = combo.Create(GetModuleHandleW(nullptr), dwStyle, nullptr, rc, host, kId);
        for (const wchar_t* psz : items)
            combo.AddString(psz);
        PumpMessages();
        return nResult;
    }

    HWND List() const { return GetDlgItem(host, kId + 1010); }

    // A tap on the middle of the arrow.
    static void TapArrow(CNavCombobox& combo)
    {
        HWND hwnd = combo.GetSafeHwnd();
        RECT rc;
        GetClientRect(hwnd, &rc);
        SendTap(hwnd, rc.right - 10, rc.bottom / 2);
        PumpMessages();
    }

    // A tap on row nRow of the open list.
    void TapRow(int nRow)
    {
        const int cy = static_cast<int>(SendMessageW(List(), LB_GETITEMHEIGHT, 0, 0));
        SendTap(List(), 20, nRow * cy + cy / 2);
        PumpMessages();
    }

    bool ListOpen() const { return IsWindowVisible(List()) != FALSE; }

    TestHost host{400, 300};
};
} // namespace

// ---- Creation ----

TEST_F(ComboTest, CreateShapesEditAndList)
{
    struct Case
    {
        const char* label;
        int bLarge;
        RECT rc;
        DWORD dwStyle;
        int cyEdit, cyArrow, cxArrow, cyMaxList;
    };
    const Case cases[] = {
        {"60 px high", 0, {20, 30, 220, 90}, WS_VISIBLE, 24, 22, 24, 36},
        {"no higher than the edit", 0, {20, 30, 220, 50}, WS_VISIBLE, 24, 22, 24, 22},
        {"hidden", 0, {20, 30, 220, 130}, 0, 24, 22, 24, 76},
        {"large", 1, {20, 30, 220, 130}, WS_VISIBLE, 34, 32, 32, 66},
        {"large, low", 1, {20, 30, 220, 60}, WS_VISIBLE, 34, 32, 32, 32},
    };
    HFONT hFont = MakeFont(16);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        TestCombo combo;
        combo.IsLargerCB(c.bLarge);
        combo.SetFont(hFont);
        RECT rc = c.rc;
        ASSERT_EQ(1, combo.Create(GetModuleHandleW(nullptr), c.dwStyle | WS_DISABLED, nullptr, rc,
                                  host, kId));
        HWND hwnd = combo.GetSafeHwnd();
        HWND hList = List();
        ASSERT_TRUE(IsWindow(hList));

        // The edit: the rectangle's width, arrow height + 2; only WS_VISIBLE is taken.
        const RECT rcEdit = RectInParent(hwnd);
        EXPECT_EQ(c.rc.left, rcEdit.left);
        EXPECT_EQ(c.rc.top, rcEdit.top);
        EXPECT_EQ(200, rcEdit.right - rcEdit.left);
        EXPECT_EQ(c.cyEdit, rcEdit.bottom - rcEdit.top);
        const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
        EXPECT_EQ(c.dwStyle != 0, (style & WS_VISIBLE) != 0);
        EXPECT_EQ(0, style & WS_DISABLED);
        EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL),
                  style & (WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL));
        EXPECT_EQ(kId, static_cast<UINT>(GetDlgCtrlID(hwnd)));
        // The right margin keeps the text off the arrow, font or not.
        EXPECT_EQ(c.cxArrow, HIWORD(SendMessageW(hwnd, EM_GETMARGINS, 0, 0)));
        EXPECT_EQ(reinterpret_cast<LRESULT>(hFont), SendMessageW(hwnd, WM_GETFONT, 0, 0));

        // The list: hidden, its own id, rows as high as the arrow.
        wchar_t szClass[32], szName[32];
        GetClassNameW(hList, szClass, 32);
        GetWindowTextW(hList, szName, 32);
        EXPECT_STREQ(L"ListBox", szClass);
        EXPECT_STREQ(L"ComboboxList", szName);
        EXPECT_FALSE(IsWindowVisible(hList));
        // (The desktop's list box drops WS_VSCROLL while it has nothing to scroll.)
        EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | LBS_NOTIFY),
                  GetWindowLongPtrW(hList, GWL_STYLE) & (WS_CHILD | LBS_NOTIFY | LBS_SORT));
        EXPECT_NE(0, GetWindowLongPtrW(hList, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        EXPECT_EQ(c.cyArrow, SendMessageW(hList, LB_GETITEMHEIGHT, 0, 0));
        EXPECT_EQ(reinterpret_cast<LRESULT>(hFont), SendMessageW(hList, WM_GETFONT, 0, 0));

        // The caller's rectangle: in screen coordinates, below the edit, the list's greatest
        // height.
        RECT rcScreen = ScreenRect(host, c.rc);
        EXPECT_EQ(rcScreen.left, rc.left);
        EXPECT_EQ(rcScreen.right, rc.right);
        EXPECT_EQ(rcScreen.top + c.cyEdit, rc.top);
        EXPECT_EQ(c.cyMaxList, rc.bottom - rc.top);
        const RECT rcList = combo.ListRect();
        EXPECT_TRUE(EqualRect(&rc, &rcList));

        EXPECT_EQ(1, combo.Create(GetModuleHandleW(nullptr), 0, nullptr, rc, host, kId + 1));
        EXPECT_EQ(hwnd, combo.GetSafeHwnd());
    }
    EXPECT_FALSE(IsWindow(List())) << "the destructor destroys the list";
    DeleteObject(hFont);
}

TEST_F(ComboTest, FailedCreateWritesTheDebugLine)
{
    DebugCapture debug;
    TestCombo combo;
    RECT rc = {0, 0, 100, 60};
    EXPECT_EQ(0, combo.Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rc, nullptr, kId));
    EXPECT_EQ(nullptr, combo.GetSafeHwnd());
    ASSERT_EQ(1u, debug.Lines().size());
    // The desktop reports ERROR_TLW_WITH_WSCHILD for a child window without a parent.
    EXPECT_EQ(L"CNavCombobox::Create failed: 1406\n", debug.Lines()[0]);
}

namespace
{
// Refuses to create windows of one class on this thread while it lives.
class RefuseClass
{
public:
    explicit RefuseClass(const wchar_t* pszClass)
    {
        s_pszClass = pszClass;
        m_hHook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~RefuseClass() { UnhookWindowsHookEx(m_hHook); }

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        wchar_t szClass[32] = L"";
        if (nCode == HCBT_CREATEWND && GetClassNameW(reinterpret_cast<HWND>(wParam), szClass, 32) &&
            lstrcmpiW(szClass, s_pszClass) == 0)
            return 1;
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static const wchar_t* s_pszClass;
    HHOOK m_hHook;
};
const wchar_t* RefuseClass::s_pszClass;
} // namespace

// A Create that fails half-way takes down what it made: a second Create then makes the whole
// pair (it used to find the edit alive and answer 1 with no list).
TEST_F(ComboTest, CreateThatFailsHalfWayLeavesNothingBroken)
{
    for (const wchar_t* pszRefused : {L"ListBox", L"Edit"})
    {
        SCOPED_TRACE(pszRefused);
        DebugCapture debug;
        TestCombo combo;
        {
            RefuseClass refuse(pszRefused);
            RECT rc = {20, 20, 220, 80};
            EXPECT_EQ(0, combo.Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rc, host, kId));
        }
        EXPECT_EQ(1u, debug.Lines().size());
        EXPECT_EQ(nullptr, combo.GetSafeHwnd());
        EXPECT_EQ(nullptr, List());
        RECT rc = {20, 20, 220, 80};
        EXPECT_EQ(1, combo.Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rc, host, kId));
        EXPECT_TRUE(IsWindow(combo.GetSafeHwnd()));
        int nLists = 0;
        for (HWND h = GetWindow(host, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        {
            wchar_t szClass[32] = L"";
            GetClassNameW(h, szClass, 32);
            nLists += lstrcmpiW(szClass, L"ListBox") == 0;
        }
        EXPECT_EQ(1, nLists);
        combo.AddString(L"One");
        TapArrow(combo);
        EXPECT_TRUE(ListOpen());
    }
}

// The edit destroyed by the application and the combo created again: the list that survived
// is subclassed once, not over itself (which made every list message call itself until the
// stack ran out), and the destructor still destroys it.
TEST_F(ComboTest, CreateAgainAfterTheEditWasDestroyed)
{
    HWND hList = nullptr;
    {
        TestCombo combo;
        ASSERT_EQ(1, Make(combo, {20, 20, 220, 120}));
        hList = List();
        DestroyWindow(combo.GetSafeHwnd());
        ASSERT_EQ(1, Make(combo, {20, 20, 220, 120}, {L"One", L"Two"}));
        EXPECT_EQ(hList, List());
        EXPECT_EQ(2, combo.GetCount());
        wchar_t sz[16] = L"";
        EXPECT_EQ(3, combo.GetLBText(1, sz));
        EXPECT_STREQ(L"Two", sz);
        TapArrow(combo);
        EXPECT_TRUE(ListOpen());
        TapRow(0);
        EXPECT_EQ(L"One", WindowText(combo.GetSafeHwnd()));
    }
    EXPECT_FALSE(IsWindow(hList));
}

// Assignment over a combo keeps the rule every control keeps (Assignment.h), for its edit and
// its list alike.
TEST_F(ComboTest, AssignmentGivesUpTheTargetsOwnWindows)
{
    AssignmentRule<CNavCombobox, TestCombo> rule;
    rule.make = [&](TestCombo& source, TestCombo& target) {
        ASSERT_EQ(1, Make(source, {20, 20, 220, 120}, {L"One"}));
        RECT rc = {20, 150, 220, 250};
        ASSERT_EQ(1, target.Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rc, host,
                                   kId + 1));
        ASSERT_TRUE(IsWindow(GetDlgItem(host, kId + 1 + 1010)));
    };
    rule.ownWindows = [&](TestCombo& target) {
        return std::vector<HWND>{target.GetSafeHwnd(), GetDlgItem(host, kId + 1 + 1010)};
    };
    rule.afterAssign = [&](TestCombo& source, TestCombo&, bool) {
        TapArrow(source);
        EXPECT_TRUE(ListOpen()) << "the source still works";
    };
    rule.Check();
}

// ---- List operations ----

TEST_F(ComboTest, ListOperationsWithoutAList)
{
    TestCombo combo;
    wchar_t sz[8] = L"keep";
    struct Case
    {
        const char* label;
        int nResult, nExpected;
    };
    const Case cases[] = {
        {"InsertString", combo.InsertString(0, L"a"), -1},
        {"AddString", combo.AddString(L"a"), -1},
        {"DeleteString", combo.DeleteString(0), -1},
        {"SetCurSel", combo.SetCurSel(0), -1},
        {"GetCurSel", combo.GetCurSel(), -1},
        {"GetCount", combo.GetCount(), -1},
        {"SetItemHeight", combo.SetItemHeight(0, 30), -1},
        {"GetLBText", combo.GetLBText(0, sz), 0},
        {"GetLBTextLen", combo.GetLBTextLen(0), 0},
        {"GetItemHeight", combo.GetItemHeight(0), 0},
        {"ResetContent", combo.ResetContent(), 0},
        {"MoveWindow", combo.MoveWindow(0, 0, 10, 10), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nExpected, c.nResult) << c.label;
    EXPECT_STREQ(L"keep", sz);
    combo.Show(SW_SHOW); // nothing to show
}

TEST_F(ComboTest, ListOperationsReachTheListBox)
{
    TestCombo combo;
    ASSERT_EQ(1, Make(combo, {20, 20, 220, 120}));
    EXPECT_EQ(0, combo.AddString(L"Zulu"));
    EXPECT_EQ(1, combo.AddString(L"Alpha")); // unsorted: appended
    EXPECT_EQ(1, combo.InsertString(1, L"Mike"));
    EXPECT_EQ(3, combo.GetCount());
    wchar_t sz[16];
    EXPECT_EQ(4, combo.GetLBText(1, sz));
    EXPECT_STREQ(L"Mike", sz);
    EXPECT_EQ(5, combo.GetLBTextLen(2));
    EXPECT_EQ(2, combo.DeleteString(0));
    EXPECT_EQ(22, combo.GetItemHeight(0));
    EXPECT_NE(-1, combo.SetItemHeight(5, 0x10019)); // any index, the low 16 bits
    EXPECT_EQ(0x19, combo.GetItemHeight(0));

    SetWindowTextW(combo.GetSafeHwnd(), L"kept");
    EXPECT_EQ(0, combo.ResetContent());
    EXPECT_EQ(0, combo.GetCount());
    EXPECT_EQ(L"kept", WindowText(combo.GetSafeHwnd()));
}

// ---- Opening ----

// An item's text asked for without a buffer, or for a row that does not exist, is an error;
// the platform's list box is never handed a null buffer to write into.
TEST_F(ComboTest, GetLBTextWithoutABufferOrRowIsAnError)
{
    TestCombo combo;
    ASSERT_EQ(1, Make(combo, {20, 20, 220, 120}));
    combo.AddString(L"Zulu");
    wchar_t sz[8] = L"keep";
    struct Case
    {
        const char* label;
        int nIndex;
        wchar_t* pszBuffer;
    };
    const Case cases[] = {
        {"null buffer", 0, nullptr},
        {"row -1", -1, sz},
        {"row past the end", 1, sz},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LB_ERR, combo.GetLBText(c.nIndex, c.pszBuffer)) << c.label;
    EXPECT_STREQ(L"keep", sz);
}

TEST_F(ComboTest, OpensBelowWithWholeRows)
{
    struct Case
    {
        const char* label;
        RECT rc;
        int nItems;
        int cyExpected;
    };
    const Case cases[] = {
        {"60 px rectangle, two items", {20, 20, 220, 80}, 2, 22},
        {"ten rows in 100 px", {20, 20, 220, 144}, 10, 88},
        {"three rows fit", {20, 20, 220, 144}, 3, 66},
        {"one item", {20, 20, 220, 144}, 1, 22},
        // Greatest height 6 px: one row rather than a list with no height that takes the focus.
        {"greatest height under one row", {20, 20, 220, 50}, 3, 22},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        TestCombo combo;
        ASSERT_EQ(1, Make(combo, c.rc));
        for (int i = 0; i < c.nItems; ++i)
            combo.AddString((L"Item " + std::to_wstring(i)).c_str());
        TapArrow(combo);
        ASSERT_TRUE(ListOpen());
        const RECT rcEdit = RectInParent(combo.GetSafeHwnd());
        const RECT rcList = RectInParent(List());
        EXPECT_EQ(rcEdit.left, rcList.left);
        EXPECT_EQ(rcEdit.right, rcList.right);
        EXPECT_EQ(rcEdit.bottom, rcList.top);
        EXPECT_EQ(c.cyExpected, rcList.bottom - rcList.top);
        EXPECT_EQ(List(), GetFocus());
        // The list answers its own colour request: light grey rows.
        RedrawWindow(List(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_EQ(kListRow, Pixels::FromWindow(List()).At(150, 11));
    }
}

TEST_F(ComboTest, OpensUpwardNearTheParentsBottom)
{
    TestCombo combo;
    // The host is 300 px high: 250 + 24 + 66 would pass its bottom.
    ASSERT_EQ(1, Make(combo, {40, 250, 240, 350}, {L"One", L"Two", L"Three"}));
    TapArrow(combo);
    ASSERT_TRUE(ListOpen());
    const RECT rcList = RectInParent(List());
    EXPECT_EQ(40, rcList.left);
    EXPECT_EQ(250 - 66, rcList.top);
    EXPECT_EQ(250, rcList.bottom);
}

TEST_F(ComboTest, EmptyListNeverOpens)
{
    TestCombo combo;
    ASSERT_EQ(1, Make(combo, {20, 20, 220, 120}));
    for (int i = 0; i < 2; ++i)
    {
        TapArrow(combo);
        EXPECT_FALSE(ListOpen());
    }
    EXPECT_EQ(0, combo.Pressed());
}

// ---- Closing ----

TEST_F(ComboTest, ArrowTapsOpenAndCloseInTurn)
{
    TestCombo combo;
    ASSERT_EQ(1, Make(combo, {20, 20, 220, 120}, {L"One", L"Two"}));
    // The pen-down moves the focus to the edit, which closes the list before the pen-up; the
    // tap must still close it rather than open it again.
    for (int i = 0; i < 4; ++i)
    {
        TapArrow(combo);
        EXPECT_EQ(i % 2 == 0, ListOpen()) << "tap " << i;
    }
    // A tap on the text of the edit closes an open list (focus) and opens nothing.
    TapArrow(combo);
    ASSERT_TRUE(ListOpen());
    SendTap(combo.GetSafeHwnd(), 10, 10);
    PumpMessages();
    EXPECT_FALSE(ListOpen());
}

TEST_F(ComboTest, ChoosingAnItem)
{
    TestCombo combo;
    ASSERT_EQ(1, Make(combo, {20, 20, 220, 150}, {L"One", L"Two", L"", L"Four"}));
    SetWindowTextW(combo.GetSafeHwnd(), L"start");

    // An item without text neither copies nor closes.
    TapArrow(combo);
    TapRow(2);
    EXPECT_EQ(2, combo.GetCurSel());
    EXPECT_TRUE(ListOpen());
    EXPECT_EQ(L"start", WindowText(combo.GetSafeHwnd()));

    // An item with text becomes the edit's text and closes the list.
    TapRow(1);
    EXPECT_FALSE(ListOpen());
    EXPECT_EQ(L"Two", WindowText(combo.GetSafeHwnd()));

    // Losing the focus closes the list.
    TapArrow(combo);
    ASSERT_TRUE(ListOpen());
    SetFocus(host);
    EXPECT_FALSE(ListOpen());
}

// The keyboard works the list as on a native combo box: F4 and Alt+Down (or Alt+Up) open and
// close it, the arrow keys move its selection while it is open, Enter chooses. Each key goes
// to the window that has the focus, as the keyboard would send it, or through IsDialogMessage
// as a dialog's loop hands it on: the open list keeps Enter and Escape from the dialog.
TEST_F(ComboTest, KeyboardOpensMovesChoosesAndCloses)
{
    const LPARAM kAlt = 1 << 29;
    struct Toggle
    {
        const char* label;
        UINT msg;
        WPARAM vk;
        LPARAM lParam;
    } toggles[] = {{"F4", WM_KEYDOWN, VK_F4, 1},
                   {"Alt+Down", WM_SYSKEYDOWN, VK_DOWN, 1 | kAlt},
                   {"Alt+Up", WM_SYSKEYDOWN, VK_UP, 1 | kAlt}};
    bool bDialog = false;
    auto key = [this, &bDialog](UINT msg, WPARAM vk, LPARAM lParam = 1) {
        MSG m = {};
        m.hwnd = GetFocus();
        m.message = msg;
        m.wParam = vk;
        m.lParam = lParam;
        if (!bDialog || !IsDialogMessageW(host, &m))
            SendMessageW(m.hwnd, msg, vk, lParam);
        PumpMessages();
    };
    for (const Toggle& t : toggles)
    for (bool bInDialog : {false, true})
    {
        SCOPED_TRACE(std::string(t.label) + (bInDialog ? " in a dialog" : ""));
        bDialog = bInDialog;
        host.Clear();
        TestCombo combo;
        ASSERT_EQ(1, Make(combo, {20, 20, 220, 150}, {L"One", L"Two", L"", L"Four"}));
        SetWindowTextW(combo.GetSafeHwnd(), L"start");
        SendMessageW(List(), LB_SETCURSEL, 0, 0);
        SetFocus(combo.GetSafeHwnd());

        key(t.msg, t.vk, t.lParam);
        ASSERT_TRUE(ListOpen());
        EXPECT_EQ(List(), GetFocus());
        key(WM_KEYDOWN, VK_DOWN);
        key(WM_KEYDOWN, VK_DOWN);
        key(WM_KEYDOWN, VK_DOWN);
        EXPECT_EQ(3, combo.GetCurSel());
        key(WM_KEYDOWN, VK_UP);
        EXPECT_EQ(2, combo.GetCurSel());
        key(WM_KEYDOWN, VK_RETURN);
        EXPECT_TRUE(ListOpen()) << "an item without text is not chosen, as with a tap";
        key(WM_KEYDOWN, VK_UP);
        key(WM_KEYDOWN, VK_RETURN);
        EXPECT_FALSE(ListOpen());
        EXPECT_EQ(L"Two", WindowText(combo.GetSafeHwnd()));
        EXPECT_EQ(combo.GetSafeHwnd(), GetFocus());

        for (const Toggle& close : {t, Toggle{"Escape", WM_KEYDOWN, VK_ESCAPE, 1}})
        {
            key(t.msg, t.vk, t.lParam);
            ASSERT_TRUE(ListOpen());
            key(WM_KEYDOWN, VK_DOWN);
            key(close.msg, close.vk, close.lParam);
            EXPECT_FALSE(ListOpen()) << close.label << " closes it";
            EXPECT_EQ(combo.GetSafeHwnd(), GetFocus()) << close.label;
            EXPECT_EQ(L"Two", WindowText(combo.GetSafeHwnd())) << close.label << " chooses nothing";
        }
        for (const Msg& m : host.Messages(WM_COMMAND))
            EXPECT_TRUE(m.wParam != IDOK && m.wParam != IDCANCEL) << "the dialog heard " << m.wParam;
    }
    bDialog = false;
    // Without Alt the arrow keys in the field open nothing.
    TestCombo combo;
    ASSERT_EQ(1, Make(combo, {20, 20, 220, 150}, {L"One"}));
    SetFocus(combo.GetSafeHwnd());
    key(WM_KEYDOWN, VK_DOWN);
    EXPECT_FALSE(ListOpen());
}

// Another window takes the pen while it is down on the arrow: the press ends as a release
// outside the arrow would; the list neither opens nor closes.
TEST_F(ComboTest, ALostCaptureEndsThePress)
{
    TestCombo combo;
    ASSERT_EQ(1, Make(combo, {20, 20, 220, 150}, {L"One", L"Two"}));
    HWND hwnd = combo.GetSafeHwnd();
    RECT rc;
    GetClientRect(hwnd, &rc);
    SendPenDown(hwnd, rc.right - 10, rc.bottom / 2);
    ASSERT_EQ(hwnd, GetCapture()) << "the native edit holds the pen";
    ASSERT_EQ(1, combo.Pressed());
    SetCapture(host);
    EXPECT_EQ(0, combo.Pressed());
    PumpMessages();
    ValidateRect(hwnd, nullptr);
    SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
    RECT rcUpdate;
    EXPECT_FALSE(GetUpdateRect(hwnd, &rcUpdate, FALSE)) << "moves no longer repaint";
    ReleaseCapture();
    EXPECT_FALSE(ListOpen());
}

TEST_F(ComboTest, SetCurSel)
{
    struct Case
    {
        const char* label;
        int nIndex;
        int nResult;
        int nSelAfter;
        const wchar_t* pszTextAfter;
        bool bOpenAfter;
    };
    const Case cases[] = {
        {"-1 clears nothing", -1, -1, 1, L"start", true},
        {"item with text", 3, 3, 3, L"Four", false},
        {"item without text", 2, 2, 2, L"start", true},
        {"out of range", 9, LB_ERR, 1, L"start", true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        TestCombo combo;
        ASSERT_EQ(1, Make(combo, {20, 20, 220, 150}, {L"One", L"Two", L"", L"Four"}));
        SendMessageW(List(), LB_SETCURSEL, 1, 0);
        SetWindowTextW(combo.GetSafeHwnd(), L"start");
        TapArrow(combo);
        ASSERT_TRUE(ListOpen());
        EXPECT_EQ(c.nResult, combo.SetCurSel(c.nIndex));
        EXPECT_EQ(c.nSelAfter, combo.GetCurSel());
        EXPECT_EQ(c.pszTextAfter, WindowText(combo.GetSafeHwnd()));
        EXPECT_EQ(c.bOpenAfter, ListOpen());
    }
}

TEST_F(ComboTest, ShowClosesTheList)
{
    TestCombo combo;
    ASSERT_EQ(1, Make(combo, {20, 20, 220, 120}, {L"One", L"Two"}));
    TapArrow(combo);
    ASSERT_TRUE(ListOpen());
    combo.Show(SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(combo.GetSafeHwnd()));
    EXPECT_FALSE(ListOpen());
    combo.Show(SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(combo.GetSafeHwnd()));
    EXPECT_FALSE(ListOpen());
}

TEST_F(ComboTest, MovedEditOpensItsListAtTheNewPlace)
{
    TestCombo combo;
    ASSERT_EQ(1, Make(combo, {20, 20, 220, 100}, {L"1", L"2", L"3", L"4", L"5"}));
    EXPECT_EQ(1, combo.MoveWindow(60, 120, 150, 24));
    TapArrow(combo);
    ASSERT_TRUE(ListOpen());
    const RECT rcList = RectInParent(List());
    EXPECT_EQ(60, rcList.left);
    EXPECT_EQ(144, rcList.top);
    EXPECT_EQ(210, rcList.right);
    EXPECT_EQ(44, rcList.bottom - rcList.top) << "the greatest height set at Create: 56 px";
}

// ---- Commands ----

TEST_F(ComboTest, CommandsToTheEditAreConsumed)
{
    NativeClassSpy spy(L"EDIT");
    ASSERT_TRUE(spy.Registered());
    {
        TestCombo combo;
        ASSERT_EQ(1, Make(combo, {20, 20, 220, 120}));
        ASSERT_GT(spy.Count(WM_NCCREATE), 0);
        HWND hwnd = combo.GetSafeHwnd();
        const WPARAM commands[] = {1010, 1011, MAKEWPARAM(0, EN_UPDATE), 5};
        for (WPARAM w : commands)
        {
            PumpMessages();
            ValidateRect(hwnd, nullptr);
            EXPECT_EQ(0, SendMessageW(hwnd, WM_COMMAND, w, 0));
            RECT rc;
            EXPECT_EQ(HIWORD(w) == EN_UPDATE, GetUpdateRect(hwnd, &rc, FALSE) != FALSE);
        }
        EXPECT_EQ(0, spy.Count(WM_COMMAND));
    }
}

TEST_F(ComboTest, MessagesPassedOnReachTheNativeWindowsUnchanged)
{
    NativeClassSpy editSpy(L"EDIT");
    NativeClassSpy listSpy(L"LISTBOX");
    ASSERT_TRUE(editSpy.Registered());
    ASSERT_TRUE(listSpy.Registered());
    {
        TestCombo combo;
        ASSERT_EQ(1, Make(combo, {20, 20, 220, 120}, {L"One"}));
        HWND hwnd = combo.GetSafeHwnd();
        ASSERT_GT(listSpy.Count(WM_NCCREATE), 0) << "the spy stands beneath the list";
        const LPARAM lMark = 0x5A5A;
        struct Case
        {
            NativeClassSpy& spy;
            Msg m;
        };
        const Case cases[] = {
            {editSpy, {hwnd, WM_KEYDOWN, VK_SHIFT, lMark}},
            {editSpy, {hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)}},
            {editSpy, {hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)}},
            {editSpy, {hwnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10)}},
            {editSpy, {hwnd, WM_USER + 5, 7, lMark}},
            {listSpy, {List(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), lMark}},
            {listSpy, {List(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10)}},
            {listSpy, {List(), WM_USER + 5, 7, lMark}},
        };
        for (const Case& c : cases)
            EXPECT_TRUE(PassesOnUnchanged(c.spy, c.m))
                << (c.m.hwnd == hwnd ? "edit" : "list") << " message 0x" << std::hex
                << c.m.message;
    }
}

// ---- Painting ----

namespace
{
// Compares the arrow area of the edit's picture with the arrow bitmap: bitmap pixels where it
// is not magenta, the host's pattern where it is. The desktop's edit paints its one-pixel
// border along the client area's edges, so those are left out.
void ExpectArrow(const Pixels& px, HWND hwnd, int nBitmapId, int cx, int cy)
{
    HMODULE hLib = GetModuleHandleW(L"ZorNavCtrl.dll");
    HBITMAP hbm = LoadBitmapW(hLib, MAKEINTRESOURCEW(nBitmapId));
    ASSERT_NE(nullptr, hbm);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    Pixels art = Pixels::FromDC(hdc, 0, 0, cx, cy);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    DeleteObject(hbm);

    RECT rcClient;
    GetClientRect(hwnd, &rcClient);
    POINT origin = {0, 0};
    MapWindowPoints(hwnd, GetParent(hwnd), &origin, 1);
    const int x0 = rcClient.right - cx;
    int nMismatches = 0;
    for (int y = 1; y < cy && y < rcClient.bottom - 1; ++y)
        for (int x = 0; x < cx - 1; ++x)
        {
            COLORREF a = art.At(x, y);
            COLORREF expected = a == RGB(0xFF, 0, 0xFF)
                                    ? PatternAt(origin.x + x0 + x, origin.y + y)
                                    : a;
            if (!ColorNear(expected, px.At(x0 + x, y), 1) && ++nMismatches <= 3)
                ADD_FAILURE() << "arrow " << nBitmapId << " at " << x << "," << y << ": "
                              << ColorText(px.At(x0 + x, y)) << " not " << ColorText(expected);
        }
    EXPECT_EQ(0, nMismatches);
}
} // namespace

TEST_F(ComboTest, PaintsTheArrowOverTheParentAndPressesItAtOnce)
{
    struct Case
    {
        const char* label;
        int bLarge;
        int cx, cy, nRest, nPressed;
    };
    const Case cases[] = {
        {"normal", 0, 24, 22, IDB_COMBO_ARROW, IDB_COMBO_ARROW_PRESSED},
        {"large", 1, 32, 32, IDB_COMBO_ARROW_LARGE, IDB_COMBO_ARROW_LARGE_PRESSED},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        TestCombo combo;
        combo.IsLargerCB(c.bLarge);
        ASSERT_EQ(1, Make(combo, {33, 47, 233, 150}, {L"One"}));
        HWND hwnd = combo.GetSafeHwnd();
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pixels px = Pixels::FromWindow(hwnd);
        ExpectArrow(px, hwnd, c.nRest, c.cx, c.cy);
        // Left of the arrow, with no text: the host's background at the right place.
        POINT origin = {0, 0};
        MapWindowPoints(hwnd, host, &origin, 1);
        EXPECT_EQ(PatternAt(origin.x + 60, origin.y + 10), px.At(60, 10));

        // The pressed arrow is on screen before any message is pumped.
        RECT rc;
        GetClientRect(hwnd, &rc);
        SendPenDown(hwnd, rc.right - 8, 8);
        EXPECT_EQ(1, combo.Pressed());
        ExpectArrow(Pixels::FromWindow(hwnd), hwnd, c.nPressed, c.cx, c.cy);
        SendPenUp(hwnd, rc.right - 8, 8);
        PumpMessages();
        ExpectArrow(Pixels::FromWindow(hwnd), hwnd, c.nRest, c.cx, c.cy);
        // The text is painted over the composition, clear of the arrow.
        SetWindowTextW(hwnd, L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
        UpdateWindow(hwnd);
        ExpectArrow(Pixels::FromWindow(hwnd), hwnd, c.nRest, c.cx, c.cy);
    }
}

// ---- Faults mended ----

TEST_F(ComboTest, TextBufferThatCannotBeHadLeavesTheEditsText)
{
    TestCombo combo;
    ASSERT_EQ(1, Make(combo, {20, 20, 220, 150}, {L"One", L"Two"}));
    SetWindowTextW(combo.GetSafeHwnd(), L"start");
    StandInFailAllocations(L"ZorNavCtrl.dll", 1, TRUE, L"malloc"); // the text buffers
    TapArrow(combo);
    ASSERT_TRUE(ListOpen());
    EXPECT_EQ(1, combo.SetCurSel(1));
    EXPECT_EQ(L"start", WindowText(combo.GetSafeHwnd()));
    EXPECT_FALSE(ListOpen()) << "the list is still closed";

    TapArrow(combo);
    TapRow(0);
    EXPECT_EQ(L"start", WindowText(combo.GetSafeHwnd()));
    EXPECT_FALSE(ListOpen());
    StandInFailAllocations(L"ZorNavCtrl.dll", 0, FALSE, nullptr);

    TapArrow(combo);
    TapRow(0);
    EXPECT_EQ(L"One", WindowText(combo.GetSafeHwnd()));
}

// ---- Resources ----

// The arrows are kept between paints and presses, and go with the last control window.
TEST_F(ComboTest, NoGdiObjectSurvivesAPaintOrAnArrowPress)
{
    PumpMessages();
    const long nStart = StandInLiveObjects();
    {
        TestCombo normal, large;
        large.IsLargerCB(1);
        ASSERT_EQ(1, Make(normal, {20, 20, 220, 100}, {L"One", L"Two"}));
        ASSERT_EQ(1, Make(large, {20, 150, 220, 250}, {L"One", L"Two"}));
        long nLive = 0;
        for (int i = 0; i < 3000; ++i)
        {
            if (i == 2) // both have pressed and painted their arrows once: those are kept
                nLive = StandInLiveObjects();
            TestCombo& combo = i % 2 ? large : normal;
            HWND hwnd = combo.GetSafeHwnd();
            RECT rc;
            GetClientRect(hwnd, &rc);
            SendPenDown(hwnd, rc.right - 8, 8);
            SendPenUp(hwnd, rc.right - 8, 8);
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        PumpMessages();
        EXPECT_EQ(nLive, StandInLiveObjects());
        HPEN hPen = CreatePen(PS_SOLID, 1, 0);
        EXPECT_NE(nullptr, hPen) << "GDI objects can still be made";
        DeleteObject(hPen);
    }
    EXPECT_EQ(nStart, StandInLiveObjects()) << "the kept arrows went with the last control";
}
