// test_fuzz.cpp - seeded random sequences of every public operation of every control, and of
// the messages each control's windows handle, with edge arguments; after every seed nothing
// the library made is left alive, and the committed memory does not grow with the number of
// seeds run. The native-twin comparison lives in fuzz/Twins.cpp.
//
// The test command runs a small budget; ZNC_FUZZ_SEEDS / ZNC_FUZZ_OPS ask for more, and
// ZNC_FUZZ_SEED=N ZNC_FUZZ_SEEDS=1 replays the seed a failure names.
//
// Kept out of the inputs, because the native Wine controls beneath ours fail on them: a
// single-line EDIT without ES_AUTOHSCROLL (crashes on inserted text), SS_ENDELLIPSIS and the
// other ellipsis styles (an assertion in DrawText), LVM_GETNEXTITEM with LVNI_ABOVE/LVNI_BELOW
// (loops).
#include <gtest/gtest.h>

#include "TestHost.h"
#include "ZorNavCtrl.h"
#include "hooks/NavTestHooks.h"
#include "win32/NavGdi.h"
#include "fuzz/FuzzKit.h"
#include "platform/NavPlatform.h"

#include <climits>
#include <memory>
#include <vector>

using namespace navfuzz;
using navtest::TestHost;

namespace
{
const int kSlots = 2;

void FillCallback(HDC hdc, RECT* prc, UINT uState, UINT)
{
    if (!hdc || !prc)
        return;
    HBRUSH hbr = CreateSolidBrush(uState ? RGB(250, 150, 20) : RGB(30, 200, 90));
    FillRect(hdc, prc, hbr);
    DeleteObject(hbr);
}

void ImageCallback(HDC hdc, RECT* prc, LVITEMW* pItem)
{
    if (hdc && prc && pItem)
        Rectangle(hdc, prc->left, prc->top, prc->right, prc->bottom);
}

long g_nDebugLines = 0;
void CountDebugLine(const wchar_t*, void*)
{
    ++g_nDebugLines;
}

// A cooperation link tapped while applications are registered opens a popup menu whose loop
// would wait for a user; the fuzzer closes every menu as soon as its loop looks at a message.
LRESULT CALLBACK CloseMenus(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == MSGF_MENU)
        EndMenu();
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// What the application lends the controls during one seed: fonts, an image list, the group
// box's bitmap and a memory DC to paint into. Freed after every control has gone.
struct Loans
{
    HFONT font[2];
    HIMAGELIST images;
    HBITMAP groupBitmap;
    HDC memDC;
    HBITMAP memBitmap;
    HGDIOBJ oldBitmap;

    Loans()
    {
        font[0] = navtest::MakeFont(14);
        font[1] = navtest::MakeFont(40, L"Tahoma", FW_BOLD);
        images = ImageList_Create(16, 16, ILC_COLOR32, 4, 0);
        HDC screen = GetDC(nullptr);
        groupBitmap = CreateCompatibleBitmap(screen, 300, 200);
        memBitmap = CreateCompatibleBitmap(screen, 120, 90);
        memDC = CreateCompatibleDC(screen);
        oldBitmap = SelectObject(memDC, memBitmap);
        ReleaseDC(nullptr, screen);
    }
    ~Loans()
    {
        SelectObject(memDC, oldBitmap);
        DeleteDC(memDC);
        DeleteObject(memBitmap);
        DeleteObject(groupBitmap);
        ImageList_Destroy(images);
        DeleteObject(font[0]);
        DeleteObject(font[1]);
    }
    Loans(const Loans&) = delete;
    Loans& operator=(const Loans&) = delete;
};

// Two objects of one class; operations pick one, constructing it on first use.
template <class T> struct Slots
{
    std::unique_ptr<T> obj[kSlots];
    int Pick(Rng& rng)
    {
        const int i = rng.Below(kSlots);
        if (!obj[i])
            obj[i].reset(new T);
        return i;
    }
};

// Paints one small label and lets it go, so that the ledger is compared with every kept paint
// buffer in the same state: the label's has gone with the last label, and the one the other
// controls borrow has been made.
void PaintSmallLabel()
{
    TestHost host(120, 80);
    CNavStatic label;
    RECT rc = {2, 2, 60, 22};
    label.Create(nullptr, WS_CHILD | WS_VISIBLE, const_cast<wchar_t*>(L"ok"), rc, host, 7,
                 nullptr);
    CNavBitmapButton button;
    RECT rcButton = {2, 26, 80, 76};
    button.Create(nullptr, WS_CHILD | WS_VISIBLE, const_cast<wchar_t*>(L"ok"), rcButton, host, 8,
                  nullptr, NAVBTN_PUSH, nullptr);
    RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// One seed's world: a parent, two objects of every class, what the application lends, and
// the operations.
class World
{
public:
    World(Rng& rng, Loans& loans) : m_rng(rng), m_loans(loans) { NewHost(); }
    ~World() { TearDown(); }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    void Step()
    {
        const int n = m_rng.Below(100);
        if (n < 8)
            LifeCycle();
        else if (n < 16)
            CallButton();
        else if (n < 26)
            CallList();
        else if (n < 34)
            CallCombo();
        else if (n < 41)
            CallEdit();
        else if (n < 49)
            CallStatic();
        else if (n < 52)
            CallGroup();
        else if (n < 95)
            SendSomething();
        else
            Environment();
        if (++m_nSteps % 256 == 0)
            for (auto& host : m_hosts)
                host->Clear();
    }

    // Objects go in a seeded order, then the parents, then whatever was posted meanwhile.
    void TearDown()
    {
        for (int i = 0; i < 12; ++i)
        {
            const int k = m_rng.Below(kSlots);
            switch (m_rng.Below(6))
            {
            case 0: m_buttons.obj[k].reset(); break;
            case 1: m_lists.obj[k].reset(); break;
            case 2: m_combos.obj[k].reset(); break;
            case 3: m_edits.obj[k].reset(); break;
            case 4: m_statics.obj[k].reset(); break;
            default: m_groups.obj[k].reset(); break;
            }
        }
        for (int k = 0; k < kSlots; ++k)
        {
            m_buttons.obj[k].reset();
            m_lists.obj[k].reset();
            m_combos.obj[k].reset();
            m_edits.obj[k].reset();
            m_statics.obj[k].reset();
            m_groups.obj[k].reset();
        }
        ReleaseCapture();
        m_hosts.clear();
        navtest::PumpMessages();
        CNavListCtrl::FixLineHeight = 30;
    }

private:
    void NewHost()
    {
        m_hosts.emplace_back(new TestHost(640, 480));
        m_hParent = m_hosts.back()->Hwnd();
    }

    // ---- arguments ----

    HWND Parent()
    {
        const int n = m_rng.Below(20);
        if (n == 0)
            return nullptr;
        if (n == 1)
            return AnyWindow();
        if (n == 2 && m_groups.obj[0])
            return m_groups.obj[0]->GetSafeHwnd();
        return m_hParent;
    }

    RECT AnyRect()
    {
        RECT rc;
        rc.left = m_rng.Chance(90) ? m_rng.Below(500) - 20 : m_rng.Edge();
        rc.top = m_rng.Chance(90) ? m_rng.Below(400) - 20 : m_rng.Edge();
        // Widths and heights mostly fit the parent; sometimes zero, negative or huge.
        const int cx = m_rng.Chance(90) ? 1 + m_rng.Below(300) : m_rng.Size();
        const int cy = m_rng.Chance(90) ? 1 + m_rng.Below(200) : m_rng.Size();
        rc.right = SaturatedSum(rc.left, cx);
        rc.bottom = SaturatedSum(rc.top, cy);
        return rc;
    }
    static int SaturatedSum(int a, int b)
    {
        const long long sum = static_cast<long long>(a) + b;
        return sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : static_cast<int>(sum);
    }

    UINT Id()
    {
        static const UINT kIds[] = {0, 1, 100, 101, 102, 0xFFFF, 0xFFFFFFFFu};
        return m_rng.Chance(80) ? 100 + m_rng.Below(8) : m_rng.Pick(kIds);
    }

    DWORD CommonStyle()
    {
        DWORD dw = m_rng.Chance(95) ? WS_CHILD : 0;
        if (m_rng.Chance(85))
            dw |= WS_VISIBLE;
        if (m_rng.Chance(20))
            dw |= WS_BORDER;
        if (m_rng.Chance(10))
            dw |= WS_GROUP;
        if (m_rng.Chance(10))
            dw |= WS_CLIPSIBLINGS;
        if (m_rng.Chance(3))
            dw |= WS_DISABLED;
        return dw;
    }

    HFONT Font() { return m_rng.Chance(20) ? nullptr : m_loans.font[m_rng.Below(2)]; }
    DrawBkProc Callback() { return m_rng.Chance(40) ? FillCallback : nullptr; }

    // A text the callee may keep a pointer into for the call only; null where allowed.
    wchar_t* TextArg(bool bNullAllowed)
    {
        m_bTextNull = bNullAllowed && m_rng.Chance(8);
        m_text = m_bTextNull ? std::wstring() : Text(m_rng);
        return m_bTextNull ? nullptr : &m_text[0];
    }
    std::string TextName() { return m_bTextNull ? "null" : Describe(m_text); }

    // A DC to paint into: none, the loaned memory DC, or the parent's window DC.
    struct PaintTarget
    {
        HWND hwnd = nullptr;
        HDC hdc = nullptr;
        ~PaintTarget()
        {
            if (hwnd)
                ReleaseDC(hwnd, hdc);
        }
    };
    void ChooseDC(PaintTarget& target)
    {
        const int n = m_rng.Below(3);
        if (n == 1)
            target.hdc = m_loans.memDC;
        else if (n == 2 && IsWindow(m_hParent))
        {
            target.hwnd = m_hParent;
            target.hdc = GetDC(m_hParent);
        }
    }

    // Every window the seed has: the parents, their children at any depth, and windows made
    // without WS_CHILD; sometimes null or one that is gone.
    HWND AnyWindow()
    {
        std::vector<HWND> windows;
        for (auto& host : m_hosts)
        {
            if (!IsWindow(host->Hwnd()))
                continue;
            windows.push_back(host->Hwnd());
            EnumChildWindows(host->Hwnd(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
        }
        for (int k = 0; k < kSlots; ++k)
        {
            if (m_buttons.obj[k])
                windows.push_back(m_buttons.obj[k]->GetSafeHwnd());
            if (m_lists.obj[k])
                windows.push_back(m_lists.obj[k]->GetSafeHwnd());
            if (m_combos.obj[k])
                windows.push_back(m_combos.obj[k]->GetSafeHwnd());
            if (m_edits.obj[k])
                windows.push_back(m_edits.obj[k]->GetSafeHwnd());
            if (m_statics.obj[k])
                windows.push_back(m_statics.obj[k]->GetSafeHwnd());
        }
        if (windows.empty() || m_rng.Chance(3))
            return nullptr;
        return windows[m_rng.Below(static_cast<int>(windows.size()))];
    }
    static BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam)
    {
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
        return TRUE;
    }

    // ---- operations common to every class ----

    // Construct, destroy, copy, assign (itself included), and take the window away.
    template <class T> void LifeCycleOf(Slots<T>& slots, const char* pszClass)
    {
        const int i = slots.Pick(m_rng);
        const int j = m_rng.Below(kSlots);
        switch (m_rng.Below(6))
        {
        case 0:
            Note("%s[%d] deleted", pszClass, i);
            slots.obj[i].reset();
            break;
        case 1:
            Note("%s[%d] = new", pszClass, i);
            slots.obj[i].reset(new T);
            break;
        case 2:
            Note("%s[%d] = copy of %s[%d]", pszClass, j, pszClass, i);
            slots.obj[j].reset(new T(*slots.obj[i]));
            break;
        case 3:
            if (!slots.obj[j])
                slots.obj[j].reset(new T);
            Note("*%s[%d] = *%s[%d]", pszClass, j, pszClass, i);
            *slots.obj[j] = *slots.obj[i];
            break;
        default:
            Note("DestroyWindow(%s[%d].GetSafeHwnd())", pszClass, i);
            DestroyWindow(slots.obj[i]->GetSafeHwnd());
            break;
        }
    }

    void LifeCycle()
    {
        switch (m_rng.Below(6))
        {
        case 0: LifeCycleOf(m_buttons, "button"); break;
        case 1: LifeCycleOf(m_lists, "list"); break;
        case 2: LifeCycleOf(m_combos, "combo"); break;
        case 3: LifeCycleOf(m_edits, "edit"); break;
        case 4: LifeCycleOf(m_statics, "label"); break;
        default: LifeCycleOf(m_groups, "group"); break;
        }
    }

    // ---- public operations, class by class ----

    void CallButton()
    {
        const int i = m_buttons.Pick(m_rng);
        CNavBitmapButton& b = *m_buttons.obj[i];
        switch (m_rng.Below(11))
        {
        case 0:
        {
            RECT rc = AnyRect();
            const int nType = m_rng.Chance(90) ? m_rng.Below(4) : m_rng.Edge();
            const HIMAGELIST hil = m_rng.Chance(25) ? m_loans.images : nullptr;
            wchar_t* psz = TextArg(true);
            Note("button[%d].Create(rc %ld,%ld,%ld,%ld, %s, type %d, il %d)", i, rc.left, rc.top,
                 rc.right, rc.bottom, TextName().c_str(), nType, hil != nullptr);
            b.Create(nullptr, CommonStyle(), psz, rc, Parent(), Id(), hil,
                     static_cast<ButtonType>(nType), Callback());
            break;
        }
        case 1:
        {
            const int cx = m_rng.Size(), cy = m_rng.Size();
            Note("button[%d].ReSize(%d, %d)", i, cx, cy);
            b.ReSize(cx, cy);
            break;
        }
        case 2:
            SetFontOf("button", i, b);
            break;
        case 3:
            Note("button[%d].GetCheck", i);
            ExpectWithoutWindow(b.GetSafeHwnd(), b.GetCheck(), 0, "GetCheck");
            break;
        case 4:
        {
            const int n = m_rng.Edge();
            Note("button[%d].SetCheck(%d)", i, n);
            b.SetCheck(n);
            break;
        }
        case 5:
            ShowWith("button", i, b);
            break;
        case 6:
            SetTextOf("button", i, b);
            break;
        case 7:
            GetTextInto("button", i, b.GetSafeHwnd(),
                        [&](wchar_t* p, int n) { return b.GetText(p, n); });
            break;
        case 8:
            SafeHwndOf("button", i, b);
            break;
        default:
            PaintInto("button", i, b);
            break;
        }
    }

    // An operation on an object whose window is gone (or was never made) answers the value
    // every control documents for that case.
    static void ExpectWithoutWindow(HWND hwnd, int nResult, int nWithout, const char* pszWhat)
    {
        if (!IsWindow(hwnd))
        {
            EXPECT_EQ(nWithout, nResult) << pszWhat << " without a window";
        }
    }

    // OnPaintEx into no DC, the loaned memory DC or the parent's window DC.
    template <class T> void PaintInto(const char* pszClass, int i, T& obj)
    {
        PaintTarget t;
        ChooseDC(t);
        Note("%s[%d].OnPaintEx(%p)", pszClass, i, static_cast<void*>(t.hdc));
        obj.OnPaintEx(t.hdc);
    }

    // Show with any SW_ value and beyond.
    template <class T> void ShowWith(const char* pszClass, int i, T& obj)
    {
        const int n = m_rng.Chance(80) ? m_rng.Below(12) : m_rng.Edge();
        Note("%s[%d].Show(%d)", pszClass, i, n);
        obj.Show(n);
    }

    // The calls several controls share, noted the same way for each.
    template <class T> void SetFontOf(const char* pszClass, int i, T& obj)
    {
        Note("%s[%d].SetFont", pszClass, i);
        obj.SetFont(Font());
    }
    template <class T> void SetTextOf(const char* pszClass, int i, T& obj)
    {
        wchar_t* psz = TextArg(true);
        Note("%s[%d].SetText(%s)", pszClass, i, TextName().c_str());
        obj.SetText(psz);
    }
    template <class T> void GetTextLengthOf(const char* pszClass, int i, T& obj)
    {
        Note("%s[%d].GetTextLength", pszClass, i);
        ExpectWithoutWindow(obj.GetSafeHwnd(), obj.GetTextLength(), 0, "GetTextLength");
    }
    template <class T> void MoveWindowOf(const char* pszClass, int i, T& obj)
    {
        RECT rc = AnyRect();
        Note("%s[%d].MoveWindow(%ld, %ld, %ld, %ld)", pszClass, i, rc.left, rc.top,
             rc.right - rc.left, rc.bottom - rc.top);
        obj.MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    }
    template <class T> void SafeHwndOf(const char* pszClass, int i, T& obj)
    {
        Note("%s[%d].GetSafeHwnd", pszClass, i);
        obj.GetSafeHwnd();
    }

    // Reads a text into a buffer of a random size, never claiming more room than it has.
    template <class F> void GetTextInto(const char* pszClass, int i, HWND hwnd, F get)
    {
        const int nRoom = m_rng.Chance(50) ? 1 + m_rng.Below(20) : 12000;
        std::vector<wchar_t> buffer(static_cast<size_t>(nRoom) + 1, L'#');
        const int n = m_rng.Chance(85) ? m_rng.Below(nRoom + 1) : -m_rng.Below(3);
        const bool bNull = m_rng.Chance(10);
        Note("%s[%d].GetText(%s, %d)", pszClass, i, bNull ? "null" : "buffer", n);
        ExpectWithoutWindow(hwnd, get(bNull ? nullptr : buffer.data(), n), 0, "GetText");
        EXPECT_EQ(L'#', buffer[static_cast<size_t>(nRoom)])
            << pszClass << " wrote beyond the size it was given";
    }

    void CallList()
    {
        const int i = m_lists.Pick(m_rng);
        CNavListCtrl& l = *m_lists.obj[i];
        const int nCount = IsWindow(l.GetSafeHwnd()) ? l.GetItemCount() : 3;
        switch (m_rng.Below(34))
        {
        case 0:
        {
            RECT rc = AnyRect();
            static const DWORD kStyles[] = {0, WS_VISIBLE, WS_VISIBLE | WS_BORDER,
                                            WS_VISIBLE | LVS_OWNERDATA,
                                            WS_VISIBLE | WS_BORDER | LVS_OWNERDATA, 0xFFFFFFFFu};
            const DWORD dw = m_rng.Pick(kStyles);
            Note("list[%d].Create(style %08lX, rc %ld,%ld,%ld,%ld)", i, dw, rc.left, rc.top,
                 rc.right, rc.bottom);
            l.Create(Parent(), dw, nullptr, rc, Id());
            break;
        }
        case 1:
        {
            RECT rc = AnyRect();
            Note("list[%d].Create(short, rc %ld,%ld,%ld,%ld)", i, rc.left, rc.top, rc.right,
                 rc.bottom);
            l.Create(Parent(), nullptr, rc, Id());
            break;
        }
        case 2:
            Note("list[%d].Destroy", i);
            l.Destroy();
            break;
        case 3:
            Note("list[%d].GetDlgCtrlID", i);
            l.GetDlgCtrlID();
            break;
        case 4:
            ShowWith("list", i, l);
            break;
        case 5:
            MoveWindowOf("list", i, l);
            break;
        case 6:
            Note("list[%d].Invalidate; Update", i);
            l.Invalidate();
            l.Update();
            break;
        case 7:
            SetFontOf("list", i, l);
            break;
        case 8:
            PaintInto("list", i, l);
            break;
        case 9:
        case 10:
        {
            const int n = m_rng.Index(nCount);
            const int nImage = m_rng.Chance(80) ? m_rng.Below(4) : m_rng.Edge();
            wchar_t* psz = TextArg(true);
            Note("list[%d].InsertItem(%d, %s, %d)", i, n, TextName().c_str(), nImage);
            l.InsertItem(n, psz, nImage, static_cast<LPARAM>(m_rng.Next()));
            break;
        }
        case 11:
        {
            const int n = m_rng.Index(nCount);
            const int nSub = m_rng.Chance(80) ? m_rng.Below(3) : m_rng.Edge();
            wchar_t* psz = TextArg(true);
            Note("list[%d].SetItemText(%d, %d, %s)", i, n, nSub, TextName().c_str());
            l.SetItemText(n, nSub, psz);
            break;
        }
        case 12:
        {
            const int n = m_rng.Index(nCount);
            Note("list[%d].DeleteItem(%d)", i, n);
            l.DeleteItem(n);
            break;
        }
        case 13:
            Note("list[%d].DeleteAllItems", i);
            l.DeleteAllItems();
            break;
        case 14:
        {
            static const int kCounts[] = {-1, 0, 1, 5, 12, 50, 1000, 100000};
            const int n = m_rng.Pick(kCounts);
            Note("list[%d].SetItemCount(%d)", i, n);
            l.SetItemCount(n);
            break;
        }
        case 15:
            Note("list[%d].GetItemCount", i);
            l.GetItemCount();
            break;
        case 16:
        {
            // Never LVNI_ABOVE / LVNI_BELOW: Wine's list view loops on them.
            static const int kFlags[] = {LVNI_ALL, LVNI_SELECTED, LVNI_FOCUSED,
                                         LVNI_SELECTED | LVNI_FOCUSED, LVNI_TORIGHT,
                                         LVNI_TOLEFT};
            const int n = m_rng.Index(nCount);
            const int nFlags = m_rng.Pick(kFlags);
            Note("list[%d].GetNextItem(%d, %d)", i, n, nFlags);
            ExpectWithoutWindow(l.GetSafeHwnd(), l.GetNextItem(n, nFlags), -1, "GetNextItem");
            break;
        }
        case 17:
        {
            const int n = m_rng.Index(nCount);
            const UINT nState = static_cast<UINT>(m_rng.Edge());
            const UINT nMask = m_rng.Chance(70) ? (LVIS_SELECTED | LVIS_FOCUSED)
                                                : static_cast<UINT>(m_rng.Edge());
            Note("list[%d].SetItemState(%d, %08X, %08X)", i, n, nState, nMask);
            l.SetItemState(n, nState, nMask);
            break;
        }
        case 18:
        {
            const int n = m_rng.Index(nCount);
            const int bPartial = m_rng.Edge();
            Note("list[%d].EnsureVisible(%d, %d)", i, n, bPartial);
            l.EnsureVisible(n, bPartial);
            break;
        }
        case 19:
        {
            const int n = m_rng.Edge();
            Note("list[%d].SetCheckBox(%d)", i, n);
            l.SetCheckBox(n);
            break;
        }
        case 20:
        {
            const int n = m_rng.Index(nCount);
            Note("list[%d].GetCheckStatus(%d)", i, n);
            l.GetCheckStatus(n);
            break;
        }
        case 21:
        {
            const int n = m_rng.Index(nCount), b = m_rng.Edge();
            Note("list[%d].SetCheckStatus(%d, %d)", i, n, b);
            l.SetCheckStatus(n, b);
            break;
        }
        case 22:
            Note("list[%d].SetCheckAll", i);
            l.SetCheckAll();
            break;
        case 23:
            Note("list[%d].SetCheckOff", i);
            l.SetCheckOff();
            break;
        case 24:
        {
            const int n = m_rng.Edge();
            Note("list[%d].SetSelChecked(%d)", i, n);
            l.SetSelChecked(n);
            break;
        }
        case 25:
        {
            SIZE size = {m_rng.Size(), m_rng.Size()};
            const bool bList = m_rng.Chance(70), bSize = m_rng.Chance(50);
            const bool bProc = m_rng.Chance(50);
            Note("list[%d].SetImageList(%d, size %d: %ld x %ld, proc %d)", i, bList, bSize,
                 size.cx, size.cy, bProc);
            l.SetImageList(bList ? m_loans.images : nullptr, bSize ? &size : nullptr,
                           bProc ? ImageCallback : nullptr);
            break;
        }
        case 26:
            Note("list[%d].GetPageSize; GetScrollPos; GetIsScrollPage", i);
            l.GetPageSize();
            l.GetScrollPos();
            l.GetIsScrollPage();
            break;
        case 27:
        {
            const int n = m_rng.Edge();
            Note("list[%d].EnablePageScroll(%d)", i, n);
            l.EnablePageScroll(n);
            break;
        }
        case 28:
        {
            const int n = m_rng.Edge();
            Note("list[%d].SetIsScrollPage(%d)", i, n);
            l.SetIsScrollPage(n);
            break;
        }
        case 29:
        {
            const int n = m_rng.Edge();
            Note("list[%d].EnableHScrollBar(%d)", i, n);
            l.EnableHScrollBar(n);
            break;
        }
        case 30:
        {
            const int n = m_rng.Edge();
            Note("list[%d].EnableSelectHScroll(%d)", i, n);
            l.EnableSelectHScroll(n);
            break;
        }
        case 31:
        {
            static const int kHeights[] = {30, 30, 0, -3, 1, 24, 60};
            CNavListCtrl::FixLineHeight = m_rng.Pick(kHeights);
            Note("CNavListCtrl::FixLineHeight = %d", CNavListCtrl::FixLineHeight);
            break;
        }
        default:
            SafeHwndOf("list", i, l);
            break;
        }
    }

    void CallCombo()
    {
        const int i = m_combos.Pick(m_rng);
        CNavCombobox& c = *m_combos.obj[i];
        const int nCount = c.GetCount() > 0 ? c.GetCount() : 2;
        switch (m_rng.Below(19))
        {
        case 0:
        {
            RECT rc = AnyRect();
            wchar_t* psz = TextArg(true);
            Note("combo[%d].Create(rc %ld,%ld,%ld,%ld, %s)", i, rc.left, rc.top, rc.right,
                 rc.bottom, TextName().c_str());
            c.Create(nullptr, CommonStyle(), psz, rc, Parent(), Id());
            break;
        }
        case 1:
            SetFontOf("combo", i, c);
            break;
        case 2:
        {
            const int n = m_rng.Edge();
            Note("combo[%d].IsLargerCB(%d)", i, n);
            c.IsLargerCB(n);
            break;
        }
        case 3:
            ShowWith("combo", i, c);
            break;
        case 4:
            MoveWindowOf("combo", i, c);
            break;
        case 5:
        {
            const int n = m_rng.Index(nCount);
            wchar_t* psz = TextArg(false);
            Note("combo[%d].InsertString(%d, %s)", i, n, TextName().c_str());
            c.InsertString(n, psz);
            break;
        }
        case 6:
        case 7:
        {
            wchar_t* psz = TextArg(false);
            Note("combo[%d].AddString(%s)", i, TextName().c_str());
            c.AddString(psz);
            break;
        }
        case 8:
        {
            const int n = m_rng.Index(nCount);
            Note("combo[%d].DeleteString(%d)", i, n);
            c.DeleteString(n);
            break;
        }
        case 9:
        {
            const int n = m_rng.Index(nCount);
            Note("combo[%d].SetCurSel(%d)", i, n);
            c.SetCurSel(n);
            break;
        }
        case 10:
            Note("combo[%d].GetCurSel; GetCount", i);
            c.GetCurSel();
            c.GetCount();
            break;
        case 11:
        {
            // The buffer holds GetLBTextLen + 1 characters, as the operation requires.
            const int n = m_rng.Index(nCount);
            const int nLen = c.GetLBTextLen(n);
            std::vector<wchar_t> buffer(static_cast<size_t>(nLen > 0 ? nLen : 0) + 2, L'#');
            const bool bNull = m_rng.Chance(15);
            Note("combo[%d].GetLBText(%d, %s) len %d", i, n, bNull ? "null" : "buffer", nLen);
            c.GetLBText(n, bNull ? nullptr : buffer.data());
            EXPECT_EQ(L'#', buffer.back()) << "GetLBText wrote beyond the item's length + 1";
            break;
        }
        case 12:
            Note("combo[%d].ResetContent", i);
            c.ResetContent();
            break;
        case 13:
        {
            const int n = m_rng.Index(nCount);
            const UINT cy = static_cast<UINT>(m_rng.Chance(70) ? m_rng.Below(60) : m_rng.Edge());
            Note("combo[%d].SetItemHeight(%d, %u)", i, n, cy);
            c.SetItemHeight(n, cy);
            break;
        }
        case 14:
        {
            const int n = m_rng.Index(nCount);
            Note("combo[%d].GetItemHeight(%d)", i, n);
            c.GetItemHeight(n);
            break;
        }
        default:
            SafeHwndOf("combo", i, c);
            break;
        }
    }

    void CallEdit()
    {
        const int i = m_edits.Pick(m_rng);
        CNavEdit& e = *m_edits.obj[i];
        switch (m_rng.Below(8))
        {
        case 0:
        {
            RECT rc = AnyRect();
            // Always ES_AUTOHSCROLL: Wine's single-line EDIT without it crashes on inserted text.
            static const DWORD kEditStyles[] = {0, ES_CENTER, ES_RIGHT, ES_PASSWORD,
                                                ES_READONLY, ES_NUMBER, ES_UPPERCASE};
            const DWORD dw = CommonStyle() | ES_AUTOHSCROLL | m_rng.Pick(kEditStyles);
            wchar_t* psz = TextArg(true);
            const int bNoFrame = m_rng.Chance(20) ? m_rng.Edge() : 0;
            Note("edit[%d].Create(style %08lX, rc %ld,%ld,%ld,%ld, %s, noframe %d)", i, dw,
                 rc.left, rc.top, rc.right, rc.bottom, TextName().c_str(), bNoFrame);
            e.Create(nullptr, dw, psz, rc, Parent(), Id(), Callback(), bNoFrame);
            break;
        }
        case 1:
            SetTextOf("edit", i, e);
            break;
        case 2:
            GetTextInto("edit", i, e.GetSafeHwnd(),
                        [&](wchar_t* p, int n) { return e.GetText(p, n); });
            break;
        case 3:
            GetTextLengthOf("edit", i, e);
            break;
        case 4:
        {
            const UINT n = static_cast<UINT>(m_rng.Edge());
            Note("edit[%d].SetLimitText(%u)", i, n);
            e.SetLimitText(n);
            break;
        }
        case 5:
            SetFontOf("edit", i, e);
            break;
        case 6:
            PaintInto("edit", i, e);
            break;
        default:
            SafeHwndOf("edit", i, e);
            break;
        }
    }

    void CallStatic()
    {
        const int i = m_statics.Pick(m_rng);
        CNavStatic& s = *m_statics.obj[i];
        switch (m_rng.Below(14))
        {
        case 0:
        {
            RECT rc = AnyRect();
            // No ellipsis styles: Wine's DrawText asserts on them.
            static const DWORD kStaticStyles[] = {SS_LEFT, SS_CENTER, SS_RIGHT,
                                                  SS_LEFTNOWORDWRAP, SS_SIMPLE,
                                                  SS_LEFT | SS_NOTIFY, SS_CENTER | SS_NOPREFIX,
                                                  SS_LEFT | SS_CENTERIMAGE};
            const DWORD dw = CommonStyle() | m_rng.Pick(kStaticStyles);
            wchar_t* psz = TextArg(true);
            Note("label[%d].Create(style %08lX, rc %ld,%ld,%ld,%ld, %s)", i, dw, rc.left, rc.top,
                 rc.right, rc.bottom, TextName().c_str());
            s.Create(nullptr, dw, psz, rc, Parent(), Id(), Callback());
            break;
        }
        case 1:
            SetTextOf("label", i, s);
            break;
        case 2:
            GetTextInto("label", i, s.GetSafeHwnd(),
                        [&](wchar_t* p, int n) { return s.GetText(p, n); });
            break;
        case 3:
            GetTextLengthOf("label", i, s);
            break;
        case 4:
            SetFontOf("label", i, s);
            break;
        case 5:
        {
            const unsigned long cr = static_cast<unsigned long>(m_rng.Next());
            Note("label[%d].SetTextCr(%08lX)", i, cr);
            s.SetTextCr(cr);
            break;
        }
        case 6:
        {
            const int n = m_rng.Edge();
            Note("label[%d].SetUnderLine(%d)", i, n);
            s.SetUnderLine(n);
            break;
        }
        case 7:
        {
            const int n = m_rng.Edge();
            Note("label[%d].SetIsAutoScroll(%d)", i, n);
            s.SetIsAutoScroll(n);
            break;
        }
        case 8:
        {
            static const unsigned kFlags[] = {0, NAV_COOP_TEL, NAV_COOP_TEXT, NAV_COOP_EMAIL, 3,
                                              8, 0xFFFFFFFFu};
            const unsigned n = m_rng.Pick(kFlags);
            Note("label[%d].SetCoopFlag(%u)", i, n);
            s.SetCoopFlag(n);
            break;
        }
        case 9:
            Note("label[%d].QueryCoopInfo", i);
            s.QueryCoopInfo();
            break;
        case 10:
            PaintInto("label", i, s);
            break;
        default:
            SafeHwndOf("label", i, s);
            break;
        }
    }

    void CallGroup()
    {
        const int i = m_groups.Pick(m_rng);
        CNavGroupBox& g = *m_groups.obj[i];
        if (m_rng.Chance(70))
        {
            RECT rc = AnyRect();
            wchar_t* psz = TextArg(true);
            const bool bBitmap = m_rng.Chance(70);
            Note("group[%d].Create(rc %ld,%ld,%ld,%ld, %s, bitmap %d)", i, rc.left, rc.top,
                 rc.right, rc.bottom, TextName().c_str(), bBitmap);
            g.Create(nullptr, CommonStyle(), psz, rc, Parent(), Id(),
                     bBitmap ? m_loans.groupBitmap : nullptr);
        }
        else
        {
            SafeHwndOf("group", i, g);
        }
    }

    // ---- messages ----

    POINT AnyPoint(HWND hwnd)
    {
        RECT rc = {0, 0, 100, 30};
        GetClientRect(hwnd, &rc);
        POINT pt;
        if (m_rng.Chance(80))
        {
            pt.x = m_rng.Below(rc.right > 0 ? rc.right : 1);
            pt.y = m_rng.Below(rc.bottom > 0 ? rc.bottom : 1);
        }
        else
        {
            // Outside, at the edges of what MAKELPARAM can carry.
            static const int kCoords[] = {-32768, -1, 32767, 5000};
            pt.x = m_rng.Pick(kCoords);
            pt.y = m_rng.Chance(50) ? m_rng.Pick(kCoords) : 5;
        }
        return pt;
    }

    void Mouse(HWND hwnd, UINT msg, WPARAM wParam)
    {
        const POINT pt = AnyPoint(hwnd);
        Note("%p mouse %04X (%ld, %ld)", static_cast<void*>(hwnd), msg, pt.x, pt.y);
        SendMessageW(hwnd, msg, wParam, MAKELPARAM(pt.x, pt.y));
    }

    void Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        Note("%p msg %04X w %llX l %llX", static_cast<void*>(hwnd), msg,
             static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam));
        SendMessageW(hwnd, msg, wParam, lParam);
    }

    void SendSomething()
    {
        HWND hwnd = AnyWindow();
        switch (m_rng.Below(26))
        {
        case 0:
        case 1:
            // A tap; a menu a link opens is closed at once (CloseMenus).
            PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
            Mouse(hwnd, WM_LBUTTONDOWN, MK_LBUTTON);
            Mouse(hwnd, WM_LBUTTONUP, 0);
            break;
        case 2:
            Mouse(hwnd, WM_LBUTTONDOWN, MK_LBUTTON);
            break;
        case 3:
            PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
            Mouse(hwnd, WM_LBUTTONUP, 0);
            break;
        case 4:
            Mouse(hwnd, WM_MOUSEMOVE, m_rng.Chance(60) ? MK_LBUTTON : 0);
            break;
        case 5:
            Mouse(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON);
            break;
        case 6:
        {
            static const int kIds[] = {1, 1, 1, 0, 2, 7, -1, 0x7FFFFFFF};
            Send(hwnd, WM_TIMER, static_cast<WPARAM>(m_rng.Chance(80) ? m_rng.Pick(kIds)
                                                                       : m_rng.Edge()),
                 0);
            break;
        }
        case 7:
            Send(hwnd, WM_SIZE, static_cast<WPARAM>(m_rng.Below(5)),
                 MAKELPARAM(m_rng.Size(), m_rng.Size()));
            break;
        case 8:
        {
            const int cx = m_rng.Size(), cy = m_rng.Size();
            Note("%p SetWindowPos size %d x %d", static_cast<void*>(hwnd), cx, cy);
            SetWindowPos(hwnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        case 9:
            Send(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), m_rng.Below(2));
            break;
        case 10:
        {
            const BOOL b = m_rng.Below(2);
            Note("%p EnableWindow(%d)", static_cast<void*>(hwnd), b);
            EnableWindow(hwnd, b);
            break;
        }
        case 11:
        {
            wchar_t* psz = TextArg(true);
            Note("%p WM_SETTEXT %s", static_cast<void*>(hwnd), TextName().c_str());
            SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(psz));
            break;
        }
        case 12:
        case 13:
        {
            static const UINT kKeys[] = {VK_UP,    VK_DOWN,   VK_LEFT,  VK_RIGHT, VK_HOME,
                                         VK_END,   VK_PRIOR,  VK_NEXT,  VK_SPACE, VK_RETURN,
                                         VK_ESCAPE, VK_F4,    VK_TAB,   VK_DELETE, VK_BACK,
                                         'A',      '5',       VK_MENU};
            static const UINT kMsgs[] = {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN,
                                         WM_SYSKEYUP};
            const UINT msg = m_rng.Pick(kMsgs);
            const LPARAM lParam = (msg == WM_SYSKEYDOWN ? (1 << 29) : 0) | 1;
            Send(hwnd, msg, m_rng.Pick(kKeys), lParam);
            break;
        }
        case 14:
        {
            const WPARAM code = static_cast<WPARAM>(m_rng.Chance(85) ? m_rng.Below(9)
                                                                     : m_rng.Edge() & 0xFFFF);
            const WPARAM pos = static_cast<WPARAM>(m_rng.Below(2000)) << 16;
            Send(hwnd, m_rng.Chance(80) ? WM_VSCROLL : WM_HSCROLL, code | pos, 0);
            break;
        }
        case 15:
        {
            RECT rc = AnyRect();
            static const UINT kMsgs[] = {WM_NAV_PAINTBKGND, WM_NAV_PAGESCROLL,
                                         WM_NAV_RADIOCLEAR};
            const UINT msg = m_rng.Pick(kMsgs);
            if (msg == WM_NAV_PAINTBKGND)
                Send(hwnd, msg, reinterpret_cast<WPARAM>(m_loans.memDC),
                     m_rng.Chance(80) ? reinterpret_cast<LPARAM>(&rc) : 0);
            else
                Send(hwnd, msg, static_cast<WPARAM>(m_rng.Below(3)), 0);
            break;
        }
        case 16:
            Note("%p invalidate + UpdateWindow", static_cast<void*>(hwnd));
            InvalidateRect(hwnd, nullptr, m_rng.Below(2));
            UpdateWindow(hwnd);
            break;
        case 17:
            Note("RedrawWindow(parent, all children)");
            RedrawWindow(m_hParent, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            break;
        case 18:
            if (m_rng.Chance(50))
                Send(hwnd, WM_PAINT, 0, 0);
            else
                Send(hwnd, WM_ERASEBKGND,
                     m_rng.Chance(80) ? reinterpret_cast<WPARAM>(m_loans.memDC) : 0, 0);
            break;
        case 19:
        {
            // Capture: taken, taken away by another window (a lost press), given up.
            const int n = m_rng.Below(3);
            Note("%p capture %d", static_cast<void*>(hwnd), n);
            if (n == 0)
                SetCapture(hwnd);
            else if (n == 1)
            {
                Mouse(hwnd, WM_LBUTTONDOWN, MK_LBUTTON);
                SetCapture(IsWindow(m_hParent) ? m_hParent : nullptr);
            }
            else
                ReleaseCapture();
            break;
        }
        case 20:
        {
            const int n = m_rng.Below(3);
            HWND hwndOther = AnyWindow();
            Note("%p focus %d, other %p", static_cast<void*>(hwnd), n,
                 static_cast<void*>(hwndOther));
            if (n == 0)
                SetFocus(hwnd);
            else
                SendMessageW(hwnd, n == 1 ? WM_KILLFOCUS : WM_SETFOCUS,
                             reinterpret_cast<WPARAM>(hwndOther), 0);
            break;
        }
        case 21:
        {
            static const UINT kMsgs[] = {WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORSTATIC,
                                         WM_CTLCOLORBTN};
            Send(hwnd, m_rng.Pick(kMsgs), reinterpret_cast<WPARAM>(m_loans.memDC),
                 reinterpret_cast<LPARAM>(hwnd));
            break;
        }
        case 22:
            DrawItem(hwnd);
            break;
        case 23:
        {
            static const WPARAM kCommands[] = {0, 1, 2, NAV_COOP_FIRST_ID,
                                               NAV_COOP_FIRST_ID + 3, NAV_COOP_FIRST_ID + 10,
                                               static_cast<WPARAM>(EN_UPDATE) << 16,
                                               static_cast<WPARAM>(LBN_SELCHANGE) << 16 | 1110};
            Send(hwnd, WM_COMMAND, m_rng.Pick(kCommands), 0);
            break;
        }
        case 24:
            Mouse(hwnd, WM_NCHITTEST, 0);
            break;
        default:
        {
            static const UINT kMsgs[] = {WM_CANCELMODE, WM_CAPTURECHANGED, WM_SHOWWINDOW,
                                         WM_STYLECHANGED, WM_WINDOWPOSCHANGED};
            const UINT msg = m_rng.Pick(kMsgs);
            if (msg == WM_STYLECHANGED)
            {
                // Style changes are made for real, so that WM_STYLECHANGING comes first: a
                // forged WM_STYLECHANGED flips LVS_OWNERDATA inside Wine's list view, which then
                // asserts. Bits 0x4000 and 0x8000 stay out: on a static they are ellipsis styles.
                static const DWORD kBits[] = {WS_VISIBLE, WS_DISABLED, WS_BORDER, WS_VSCROLL,
                                              WS_HSCROLL, 0x2000, 0x1000, 0x0001};
                const DWORD dwBit = m_rng.Pick(kBits);
                Note("%p style ^= %08lX", static_cast<void*>(hwnd), dwBit);
                SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) ^ dwBit);
            }
            else if (msg == WM_WINDOWPOSCHANGED)
            {
                Note("%p ShowWindow", static_cast<void*>(hwnd));
                ShowWindow(hwnd, m_rng.Chance(50) ? SW_HIDE : SW_SHOWNA);
            }
            else
                Send(hwnd, msg, static_cast<WPARAM>(m_rng.Below(2)), 0);
            break;
        }
        }
    }

    // An owner-draw request as a parent would pass it back, with any item and rectangle.
    void DrawItem(HWND hwnd)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = m_rng.Chance(50) ? ODT_BUTTON : ODT_LISTVIEW;
        dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
        dis.itemID = static_cast<UINT>(m_rng.Index(5));
        dis.itemAction = ODA_DRAWENTIRE | (m_rng.Chance(30) ? ODA_SELECT : 0);
        dis.itemState = static_cast<UINT>(m_rng.Chance(70) ? m_rng.Below(0x20) : m_rng.Edge());
        dis.hwndItem = hwnd;
        dis.hDC = m_rng.Chance(90) ? m_loans.memDC : nullptr;
        dis.rcItem = AnyRect();
        Note("%p WM_DRAWITEM item %u state %X rc %ld,%ld,%ld,%ld", static_cast<void*>(hwnd),
             dis.itemID, dis.itemState, dis.rcItem.left, dis.rcItem.top, dis.rcItem.right,
             dis.rcItem.bottom);
        SendMessageW(hwnd, WM_DRAWITEM, static_cast<WPARAM>(dis.CtlID),
                     m_rng.Chance(95) ? reinterpret_cast<LPARAM>(&dis) : 0);
    }

    // The parent goes first, comes back, messages posted meanwhile are dispatched.
    void Environment()
    {
        switch (m_rng.Below(4))
        {
        case 0:
            if (m_rng.Chance(30) && IsWindow(m_hParent))
            {
                Note("DestroyWindow(parent)");
                DestroyWindow(m_hParent);
            }
            break;
        case 1:
            if (!IsWindow(m_hParent) || m_rng.Chance(5))
            {
                Note("new parent");
                NewHost();
            }
            break;
        default:
            Note("pump messages");
            navtest::PumpMessages();
            break;
        }
    }

    Rng& m_rng;
    Loans& m_loans;
    std::vector<std::unique_ptr<TestHost>> m_hosts;
    HWND m_hParent = nullptr;
    std::wstring m_text;
    bool m_bTextNull = false;
    long m_nSteps = 0;

    Slots<CNavBitmapButton> m_buttons;
    Slots<CNavListCtrl> m_lists;
    Slots<CNavCombobox> m_combos;
    Slots<CNavEdit> m_edits;
    Slots<CNavStatic> m_statics;
    Slots<CNavGroupBox> m_groups;
};

// Runs one seed from start to end.
void RunSeed(uint64_t seed, int nOps)
{
    BeginSeed(seed);
    SetRunning(true);
    {
        Rng rng(seed);
        Loans loans;
        World world(rng, loans);
        for (int n = 0; n < nOps && !::testing::Test::HasFatalFailure(); ++n)
            world.Step();
        Note("tear down");
    }
    SetRunning(false);
}

class Fuzz : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        InstallCrashReport();
        NavSetDebugHook(CountDebugLine, nullptr);
        s_hHook = SetWindowsHookExW(WH_MSGFILTER, CloseMenus, nullptr, GetCurrentThreadId());
        PaintSmallLabel();
        navtest::PumpMessages();
    }
    static void TearDownTestSuite()
    {
        UnhookWindowsHookEx(s_hHook);
        NavSetDebugHook(nullptr, nullptr);
    }

    // Live library objects once every control of a seed is gone (see PaintSmallLabel).
    static long Ledger()
    {
        PaintSmallLabel();
        return NavGdiLiveObjects();
    }

    static HHOOK s_hHook;
};
HHOOK Fuzz::s_hHook = nullptr;

TEST_F(Fuzz, RandomOperationsAndMessagesLeaveNoLibraryObjectAlive)
{
    const Budget budget = ReadBudget(kDefaultSeeds, kDefaultOps);
    const long nStart = Ledger();
    const DWORD dwStart = GetTickCount();
    for (int k = 0; k < budget.seeds && !HasFatalFailure(); ++k)
    {
        const uint64_t seed = budget.firstSeed + static_cast<uint64_t>(k);
        RunSeed(seed, budget.ops);
        const long nLive = Ledger();
        EXPECT_EQ(nStart, nLive) << "library objects alive after seed " << seed;
        if (nLive != nStart)
            PrintRecent("ledger differs");
    }
    printf("[ fuzz ] %d seeds from %llu x %d operations = %lld operations in %lu ms; "
           "%ld debug lines\n",
           budget.seeds, static_cast<unsigned long long>(budget.firstSeed), budget.ops,
           static_cast<long long>(budget.seeds) * budget.ops,
           static_cast<unsigned long>(GetTickCount() - dwStart), g_nDebugLines);
}

// A leak per operation shows as growth between the second and the first pass over the same
// seeds; the first pass pays for everything made once (the label's buffer, caches, the heap's
// own growth).
TEST_F(Fuzz, CommittedMemoryDoesNotGrowWithTheNumberOfRounds)
{
    const Budget budget = ReadBudget(kDefaultSeeds, kDefaultOps);
    const int nSeeds = budget.seeds < 3 ? budget.seeds : 3;
    auto pass = [&] {
        for (int k = 0; k < nSeeds; ++k)
            RunSeed(budget.firstSeed + static_cast<uint64_t>(k), budget.ops / 2);
        Ledger();
        return CommittedPrivateBytes();
    };
    const size_t cbAfterN = pass();
    const size_t cbAfter2N = pass();
    {
        // The probe sees what the heap commits: a deliberate 8 MB shows.
        std::vector<char> ballast(8u << 20, 1);
        EXPECT_GT(CommittedPrivateBytes(), cbAfter2N + (6u << 20));
    }
    const long long growth = static_cast<long long>(cbAfter2N) - static_cast<long long>(cbAfterN);
    printf("[ fuzz ] committed private memory after %d rounds %zu KB, after %d rounds %zu KB\n",
           nSeeds, cbAfterN / 1024, 2 * nSeeds, cbAfter2N / 1024);
    // Slack for the allocator: a few megabytes of fragmentation, nothing proportional.
    EXPECT_LT(growth, 4ll * 1024 * 1024);
}

} // namespace
