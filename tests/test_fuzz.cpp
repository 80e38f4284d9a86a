// test_fuzz.cpp - seeded random sequences of every public operation of every control, and of
// the messages each control's windows handle, with edge arguments; after every seed nothing
// the library made is left alive, and the committed memory does not grow with the number of
// seeds run. Each class's operations are one table of named, weighted entries (Operation in
// fuzz/FuzzKit.h). The native-twin comparison lives in fuzz/Twins.cpp.
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
#include "StandIn.h"
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

// How the notes name each class's objects.
template <class T> const char* ClassName();
template <> const char* ClassName<CNavBitmapButton>() { return "button"; }
template <> const char* ClassName<CNavListCtrl>() { return "list"; }
template <> const char* ClassName<CNavCombobox>() { return "combo"; }
template <> const char* ClassName<CNavEdit>() { return "edit"; }
template <> const char* ClassName<CNavStatic>() { return "label"; }
template <> const char* ClassName<CNavGroupBox>() { return "group"; }

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
        // What a step does; the weights add up to 100.
        static const Operation<void (World::*)()> kSteps[] = {
            {"life cycle", 8, &World::LifeCycle},
            {"button", 8, &World::CallButton},
            {"list", 10, &World::CallList},
            {"combo box", 8, &World::CallCombo},
            {"edit", 7, &World::CallEdit},
            {"label", 8, &World::CallStatic},
            {"group box", 3, &World::CallGroup},
            {"message", 43, &World::SendSomething},
            {"environment", 5, &World::Environment},
        };
        (this->*Draw(m_rng, kSteps).run)();
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

    // An operation on one object of a class: the object and its slot's number.
    template <class T> using ObjectOperation = Operation<void (World::*)(T&, int)>;

    // Draws an operation of the table and calls it on one of the class's objects.
    template <class T, size_t N>
    void CallOn(Slots<T>& slots, const ObjectOperation<T> (&table)[N])
    {
        const int i = slots.Pick(m_rng);
        (this->*Draw(m_rng, table).run)(*slots.obj[i], i);
    }

    // Construct, destroy, copy, assign (itself included), and take the window away.
    template <class T> void LifeCycleOf(Slots<T>& slots)
    {
        typedef void (*Change)(Slots<T>&, int i, int j);
        static const Operation<Change> kChanges[] = {
            {"delete", 1,
             [](Slots<T>& s, int i, int) {
                 Note("%s[%d] deleted", ClassName<T>(), i);
                 s.obj[i].reset();
             }},
            {"new", 1,
             [](Slots<T>& s, int i, int) {
                 Note("%s[%d] = new", ClassName<T>(), i);
                 s.obj[i].reset(new T);
             }},
            {"copy", 1,
             [](Slots<T>& s, int i, int j) {
                 Note("%s[%d] = copy of %s[%d]", ClassName<T>(), j, ClassName<T>(), i);
                 s.obj[j].reset(new T(*s.obj[i]));
             }},
            {"assign", 1,
             [](Slots<T>& s, int i, int j) {
                 if (!s.obj[j])
                     s.obj[j].reset(new T);
                 Note("*%s[%d] = *%s[%d]", ClassName<T>(), j, ClassName<T>(), i);
                 *s.obj[j] = *s.obj[i];
             }},
            {"DestroyWindow", 2,
             [](Slots<T>& s, int i, int) {
                 Note("DestroyWindow(%s[%d].GetSafeHwnd())", ClassName<T>(), i);
                 DestroyWindow(s.obj[i]->GetSafeHwnd());
             }},
        };
        const int i = slots.Pick(m_rng);
        const int j = m_rng.Below(kSlots);
        Draw(m_rng, kChanges).run(slots, i, j);
    }

    void LifeCycle()
    {
        static const Operation<void (*)(World&)> kClasses[] = {
            {"button", 1, [](World& w) { w.LifeCycleOf(w.m_buttons); }},
            {"list", 1, [](World& w) { w.LifeCycleOf(w.m_lists); }},
            {"combo", 1, [](World& w) { w.LifeCycleOf(w.m_combos); }},
            {"edit", 1, [](World& w) { w.LifeCycleOf(w.m_edits); }},
            {"label", 1, [](World& w) { w.LifeCycleOf(w.m_statics); }},
            {"group", 1, [](World& w) { w.LifeCycleOf(w.m_groups); }},
        };
        Draw(m_rng, kClasses).run(*this);
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
    template <class T> void PaintInto(T& obj, int i)
    {
        PaintTarget t;
        ChooseDC(t);
        Note("%s[%d].OnPaintEx(%p)", ClassName<T>(), i, static_cast<void*>(t.hdc));
        obj.OnPaintEx(t.hdc);
    }

    // Show with any SW_ value and beyond.
    template <class T> void ShowWith(T& obj, int i)
    {
        const int n = m_rng.Chance(80) ? m_rng.Below(12) : m_rng.Edge();
        Note("%s[%d].Show(%d)", ClassName<T>(), i, n);
        obj.Show(n);
    }

    // The calls several controls share, noted the same way for each.
    template <class T> void SetFontOf(T& obj, int i)
    {
        Note("%s[%d].SetFont", ClassName<T>(), i);
        obj.SetFont(Font());
    }
    template <class T> void SetTextOf(T& obj, int i)
    {
        wchar_t* psz = TextArg(true);
        Note("%s[%d].SetText(%s)", ClassName<T>(), i, TextName().c_str());
        obj.SetText(psz);
    }
    template <class T> void GetTextLengthOf(T& obj, int i)
    {
        Note("%s[%d].GetTextLength", ClassName<T>(), i);
        ExpectWithoutWindow(obj.GetSafeHwnd(), obj.GetTextLength(), 0, "GetTextLength");
    }
    template <class T> void MoveWindowOf(T& obj, int i)
    {
        RECT rc = AnyRect();
        Note("%s[%d].MoveWindow(%ld, %ld, %ld, %ld)", ClassName<T>(), i, rc.left, rc.top,
             rc.right - rc.left, rc.bottom - rc.top);
        obj.MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    }
    template <class T> void SafeHwndOf(T& obj, int i)
    {
        Note("%s[%d].GetSafeHwnd", ClassName<T>(), i);
        obj.GetSafeHwnd();
    }

    // Reads the text into a buffer of a random size, never claiming more room than it has.
    template <class T> void GetTextOf(T& obj, int i)
    {
        const HWND hwnd = obj.GetSafeHwnd();
        const int nRoom = m_rng.Chance(50) ? 1 + m_rng.Below(20) : 12000;
        std::vector<wchar_t> buffer(static_cast<size_t>(nRoom) + 1, L'#');
        const int n = m_rng.Chance(85) ? m_rng.Below(nRoom + 1) : -m_rng.Below(3);
        const bool bNull = m_rng.Chance(10);
        Note("%s[%d].GetText(%s, %d)", ClassName<T>(), i, bNull ? "null" : "buffer", n);
        ExpectWithoutWindow(hwnd, obj.GetText(bNull ? nullptr : buffer.data(), n), 0, "GetText");
        EXPECT_EQ(L'#', buffer[static_cast<size_t>(nRoom)])
            << ClassName<T>() << " wrote beyond the size it was given";
    }

    // ---- public operations, class by class ----

    void CallButton()
    {
        static const ObjectOperation<CNavBitmapButton> kOperations[] = {
            {"Create", 1, &World::ButtonCreate},
            {"ReSize", 1, &World::ButtonReSize},
            {"SetFont", 1, &World::SetFontOf},
            {"GetCheck", 1, &World::ButtonGetCheck},
            {"SetCheck", 1, &World::ButtonSetCheck},
            {"Show", 1, &World::ShowWith},
            {"SetText", 1, &World::SetTextOf},
            {"GetText", 1, &World::GetTextOf},
            {"GetSafeHwnd", 1, &World::SafeHwndOf},
            {"OnPaintEx", 2, &World::PaintInto},
        };
        CallOn(m_buttons, kOperations);
    }

    void ButtonCreate(CNavBitmapButton& b, int i)
    {
        RECT rc = AnyRect();
        const int nType = m_rng.Chance(90) ? m_rng.Below(4) : m_rng.Edge();
        const HIMAGELIST hil = m_rng.Chance(25) ? m_loans.images : nullptr;
        wchar_t* psz = TextArg(true);
        Note("button[%d].Create(rc %ld,%ld,%ld,%ld, %s, type %d, il %d)", i, rc.left, rc.top,
             rc.right, rc.bottom, TextName().c_str(), nType, hil != nullptr);
        b.Create(nullptr, CommonStyle(), psz, rc, Parent(), Id(), hil,
                 static_cast<ButtonType>(nType), Callback());
    }
    void ButtonReSize(CNavBitmapButton& b, int i)
    {
        const int cx = m_rng.Size(), cy = m_rng.Size();
        Note("button[%d].ReSize(%d, %d)", i, cx, cy);
        b.ReSize(cx, cy);
    }
    void ButtonGetCheck(CNavBitmapButton& b, int i)
    {
        Note("button[%d].GetCheck", i);
        ExpectWithoutWindow(b.GetSafeHwnd(), b.GetCheck(), 0, "GetCheck");
    }
    void ButtonSetCheck(CNavBitmapButton& b, int i)
    {
        const int n = m_rng.Edge();
        Note("button[%d].SetCheck(%d)", i, n);
        b.SetCheck(n);
    }

    void CallList()
    {
        static const ObjectOperation<CNavListCtrl> kOperations[] = {
            {"Create", 1, &World::ListCreate},
            {"Create (short)", 1, &World::ListCreateShort},
            {"Destroy", 1, &World::ListDestroy},
            {"GetDlgCtrlID", 1, &World::ListGetDlgCtrlID},
            {"Show", 1, &World::ShowWith},
            {"MoveWindow", 1, &World::MoveWindowOf},
            {"Invalidate, Update", 1, &World::ListInvalidate},
            {"SetFont", 1, &World::SetFontOf},
            {"OnPaintEx", 1, &World::PaintInto},
            {"InsertItem", 2, &World::ListInsertItem},
            {"SetItemText", 1, &World::ListSetItemText},
            {"DeleteItem", 1, &World::ListDeleteItem},
            {"DeleteAllItems", 1, &World::ListDeleteAllItems},
            {"SetItemCount", 1, &World::ListSetItemCount},
            {"GetItemCount", 1, &World::ListGetItemCount},
            {"GetNextItem", 1, &World::ListGetNextItem},
            {"SetItemState", 1, &World::ListSetItemState},
            {"EnsureVisible", 1, &World::ListEnsureVisible},
            {"SetCheckBox", 1, &World::ListSetCheckBox},
            {"GetCheckStatus", 1, &World::ListGetCheckStatus},
            {"SetCheckStatus", 1, &World::ListSetCheckStatus},
            {"SetCheckAll", 1, &World::ListSetCheckAll},
            {"SetCheckOff", 1, &World::ListSetCheckOff},
            {"SetSelChecked", 1, &World::ListSetSelChecked},
            {"SetImageList", 1, &World::ListSetImageList},
            {"GetPageSize, GetScrollPos, GetIsScrollPage", 1, &World::ListGetScrollState},
            {"EnablePageScroll", 1, &World::ListEnablePageScroll},
            {"SetIsScrollPage", 1, &World::ListSetIsScrollPage},
            {"EnableHScrollBar", 1, &World::ListEnableHScrollBar},
            {"EnableSelectHScroll", 1, &World::ListEnableSelectHScroll},
            {"FixLineHeight", 1, &World::ListFixLineHeight},
            {"GetSafeHwnd", 2, &World::SafeHwndOf},
        };
        CallOn(m_lists, kOperations);
    }

    // The rows the list holds, for indices around them (3 without a window).
    static int RowsOf(CNavListCtrl& l) { return IsWindow(l.GetSafeHwnd()) ? l.GetItemCount() : 3; }

    void ListCreate(CNavListCtrl& l, int i)
    {
        RECT rc = AnyRect();
        static const DWORD kStyles[] = {0, WS_VISIBLE, WS_VISIBLE | WS_BORDER,
                                        WS_VISIBLE | LVS_OWNERDATA,
                                        WS_VISIBLE | WS_BORDER | LVS_OWNERDATA, 0xFFFFFFFFu};
        const DWORD dw = m_rng.Pick(kStyles);
        Note("list[%d].Create(style %08lX, rc %ld,%ld,%ld,%ld)", i, dw, rc.left, rc.top,
             rc.right, rc.bottom);
        l.Create(Parent(), dw, nullptr, rc, Id());
    }
    void ListCreateShort(CNavListCtrl& l, int i)
    {
        RECT rc = AnyRect();
        Note("list[%d].Create(short, rc %ld,%ld,%ld,%ld)", i, rc.left, rc.top, rc.right,
             rc.bottom);
        l.Create(Parent(), nullptr, rc, Id());
    }
    void ListDestroy(CNavListCtrl& l, int i)
    {
        Note("list[%d].Destroy", i);
        l.Destroy();
    }
    void ListGetDlgCtrlID(CNavListCtrl& l, int i)
    {
        Note("list[%d].GetDlgCtrlID", i);
        l.GetDlgCtrlID();
    }
    void ListInvalidate(CNavListCtrl& l, int i)
    {
        Note("list[%d].Invalidate; Update", i);
        l.Invalidate();
        l.Update();
    }
    void ListInsertItem(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Index(RowsOf(l));
        const int nImage = m_rng.Chance(80) ? m_rng.Below(4) : m_rng.Edge();
        wchar_t* psz = TextArg(true);
        Note("list[%d].InsertItem(%d, %s, %d)", i, n, TextName().c_str(), nImage);
        l.InsertItem(n, psz, nImage, static_cast<LPARAM>(m_rng.Next()));
    }
    void ListSetItemText(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Index(RowsOf(l));
        const int nSub = m_rng.Chance(80) ? m_rng.Below(3) : m_rng.Edge();
        wchar_t* psz = TextArg(true);
        Note("list[%d].SetItemText(%d, %d, %s)", i, n, nSub, TextName().c_str());
        l.SetItemText(n, nSub, psz);
    }
    void ListDeleteItem(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Index(RowsOf(l));
        Note("list[%d].DeleteItem(%d)", i, n);
        l.DeleteItem(n);
    }
    void ListDeleteAllItems(CNavListCtrl& l, int i)
    {
        Note("list[%d].DeleteAllItems", i);
        l.DeleteAllItems();
    }
    void ListSetItemCount(CNavListCtrl& l, int i)
    {
        static const int kCounts[] = {-1, 0, 1, 5, 12, 50, 1000, 100000};
        const int n = m_rng.Pick(kCounts);
        Note("list[%d].SetItemCount(%d)", i, n);
        l.SetItemCount(n);
    }
    void ListGetItemCount(CNavListCtrl& l, int i)
    {
        Note("list[%d].GetItemCount", i);
        l.GetItemCount();
    }
    void ListGetNextItem(CNavListCtrl& l, int i)
    {
        // Never LVNI_ABOVE / LVNI_BELOW: Wine's list view loops on them.
        static const int kFlags[] = {LVNI_ALL, LVNI_SELECTED, LVNI_FOCUSED,
                                     LVNI_SELECTED | LVNI_FOCUSED, LVNI_TORIGHT, LVNI_TOLEFT};
        const int n = m_rng.Index(RowsOf(l));
        const int nFlags = m_rng.Pick(kFlags);
        Note("list[%d].GetNextItem(%d, %d)", i, n, nFlags);
        ExpectWithoutWindow(l.GetSafeHwnd(), l.GetNextItem(n, nFlags), -1, "GetNextItem");
    }
    void ListSetItemState(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Index(RowsOf(l));
        const UINT nState = static_cast<UINT>(m_rng.Edge());
        const UINT nMask = m_rng.Chance(70) ? (LVIS_SELECTED | LVIS_FOCUSED)
                                            : static_cast<UINT>(m_rng.Edge());
        Note("list[%d].SetItemState(%d, %08X, %08X)", i, n, nState, nMask);
        l.SetItemState(n, nState, nMask);
    }
    void ListEnsureVisible(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Index(RowsOf(l));
        const int bPartial = m_rng.Edge();
        Note("list[%d].EnsureVisible(%d, %d)", i, n, bPartial);
        l.EnsureVisible(n, bPartial);
    }
    void ListSetCheckBox(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Edge();
        Note("list[%d].SetCheckBox(%d)", i, n);
        l.SetCheckBox(n);
    }
    void ListGetCheckStatus(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Index(RowsOf(l));
        Note("list[%d].GetCheckStatus(%d)", i, n);
        l.GetCheckStatus(n);
    }
    void ListSetCheckStatus(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Index(RowsOf(l)), b = m_rng.Edge();
        Note("list[%d].SetCheckStatus(%d, %d)", i, n, b);
        l.SetCheckStatus(n, b);
    }
    void ListSetCheckAll(CNavListCtrl& l, int i)
    {
        Note("list[%d].SetCheckAll", i);
        l.SetCheckAll();
    }
    void ListSetCheckOff(CNavListCtrl& l, int i)
    {
        Note("list[%d].SetCheckOff", i);
        l.SetCheckOff();
    }
    void ListSetSelChecked(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Edge();
        Note("list[%d].SetSelChecked(%d)", i, n);
        l.SetSelChecked(n);
    }
    void ListSetImageList(CNavListCtrl& l, int i)
    {
        SIZE size = {m_rng.Size(), m_rng.Size()};
        const bool bList = m_rng.Chance(70), bSize = m_rng.Chance(50);
        const bool bProc = m_rng.Chance(50);
        Note("list[%d].SetImageList(%d, size %d: %ld x %ld, proc %d)", i, bList, bSize, size.cx,
             size.cy, bProc);
        l.SetImageList(bList ? m_loans.images : nullptr, bSize ? &size : nullptr,
                       bProc ? ImageCallback : nullptr);
    }
    void ListGetScrollState(CNavListCtrl& l, int i)
    {
        Note("list[%d].GetPageSize; GetScrollPos; GetIsScrollPage", i);
        l.GetPageSize();
        l.GetScrollPos();
        l.GetIsScrollPage();
    }
    void ListEnablePageScroll(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Edge();
        Note("list[%d].EnablePageScroll(%d)", i, n);
        l.EnablePageScroll(n);
    }
    void ListSetIsScrollPage(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Edge();
        Note("list[%d].SetIsScrollPage(%d)", i, n);
        l.SetIsScrollPage(n);
    }
    void ListEnableHScrollBar(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Edge();
        Note("list[%d].EnableHScrollBar(%d)", i, n);
        l.EnableHScrollBar(n);
    }
    void ListEnableSelectHScroll(CNavListCtrl& l, int i)
    {
        const int n = m_rng.Edge();
        Note("list[%d].EnableSelectHScroll(%d)", i, n);
        l.EnableSelectHScroll(n);
    }
    void ListFixLineHeight(CNavListCtrl&, int)
    {
        static const int kHeights[] = {30, 30, 0, -3, 1, 24, 60};
        CNavListCtrl::FixLineHeight = m_rng.Pick(kHeights);
        Note("CNavListCtrl::FixLineHeight = %d", CNavListCtrl::FixLineHeight);
    }

    void CallCombo()
    {
        static const ObjectOperation<CNavCombobox> kOperations[] = {
            {"Create", 1, &World::ComboCreate},
            {"SetFont", 1, &World::SetFontOf},
            {"IsLargerCB", 1, &World::ComboIsLargerCB},
            {"Show", 1, &World::ShowWith},
            {"MoveWindow", 1, &World::MoveWindowOf},
            {"InsertString", 1, &World::ComboInsertString},
            {"AddString", 2, &World::ComboAddString},
            {"DeleteString", 1, &World::ComboDeleteString},
            {"SetCurSel", 1, &World::ComboSetCurSel},
            {"GetCurSel, GetCount", 1, &World::ComboGetCurSel},
            {"GetLBText", 1, &World::ComboGetLBText},
            {"ResetContent", 1, &World::ComboResetContent},
            {"SetItemHeight", 1, &World::ComboSetItemHeight},
            {"GetItemHeight", 1, &World::ComboGetItemHeight},
            {"GetSafeHwnd", 4, &World::SafeHwndOf},
        };
        CallOn(m_combos, kOperations);
    }

    // The items the combo holds, for indices around them (2 when it holds none).
    static int ItemsOf(CNavCombobox& c) { return c.GetCount() > 0 ? c.GetCount() : 2; }

    void ComboCreate(CNavCombobox& c, int i)
    {
        RECT rc = AnyRect();
        wchar_t* psz = TextArg(true);
        Note("combo[%d].Create(rc %ld,%ld,%ld,%ld, %s)", i, rc.left, rc.top, rc.right,
             rc.bottom, TextName().c_str());
        c.Create(nullptr, CommonStyle(), psz, rc, Parent(), Id());
    }
    void ComboIsLargerCB(CNavCombobox& c, int i)
    {
        const int n = m_rng.Edge();
        Note("combo[%d].IsLargerCB(%d)", i, n);
        c.IsLargerCB(n);
    }
    void ComboInsertString(CNavCombobox& c, int i)
    {
        const int n = m_rng.Index(ItemsOf(c));
        wchar_t* psz = TextArg(false);
        Note("combo[%d].InsertString(%d, %s)", i, n, TextName().c_str());
        c.InsertString(n, psz);
    }
    void ComboAddString(CNavCombobox& c, int i)
    {
        wchar_t* psz = TextArg(false);
        Note("combo[%d].AddString(%s)", i, TextName().c_str());
        c.AddString(psz);
    }
    void ComboDeleteString(CNavCombobox& c, int i)
    {
        const int n = m_rng.Index(ItemsOf(c));
        Note("combo[%d].DeleteString(%d)", i, n);
        c.DeleteString(n);
    }
    void ComboSetCurSel(CNavCombobox& c, int i)
    {
        const int n = m_rng.Index(ItemsOf(c));
        Note("combo[%d].SetCurSel(%d)", i, n);
        c.SetCurSel(n);
    }
    void ComboGetCurSel(CNavCombobox& c, int i)
    {
        Note("combo[%d].GetCurSel; GetCount", i);
        c.GetCurSel();
        c.GetCount();
    }
    void ComboGetLBText(CNavCombobox& c, int i)
    {
        // The buffer holds GetLBTextLen + 1 characters, as the operation requires.
        const int n = m_rng.Index(ItemsOf(c));
        const int nLen = c.GetLBTextLen(n);
        std::vector<wchar_t> buffer(static_cast<size_t>(nLen > 0 ? nLen : 0) + 2, L'#');
        const bool bNull = m_rng.Chance(15);
        Note("combo[%d].GetLBText(%d, %s) len %d", i, n, bNull ? "null" : "buffer", nLen);
        c.GetLBText(n, bNull ? nullptr : buffer.data());
        EXPECT_EQ(L'#', buffer.back()) << "GetLBText wrote beyond the item's length + 1";
    }
    void ComboResetContent(CNavCombobox& c, int i)
    {
        Note("combo[%d].ResetContent", i);
        c.ResetContent();
    }
    void ComboSetItemHeight(CNavCombobox& c, int i)
    {
        const int n = m_rng.Index(ItemsOf(c));
        const UINT cy = static_cast<UINT>(m_rng.Chance(70) ? m_rng.Below(60) : m_rng.Edge());
        Note("combo[%d].SetItemHeight(%d, %u)", i, n, cy);
        c.SetItemHeight(n, cy);
    }
    void ComboGetItemHeight(CNavCombobox& c, int i)
    {
        const int n = m_rng.Index(ItemsOf(c));
        Note("combo[%d].GetItemHeight(%d)", i, n);
        c.GetItemHeight(n);
    }

    void CallEdit()
    {
        static const ObjectOperation<CNavEdit> kOperations[] = {
            {"Create", 1, &World::EditCreate},
            {"SetText", 1, &World::SetTextOf},
            {"GetText", 1, &World::GetTextOf},
            {"GetTextLength", 1, &World::GetTextLengthOf},
            {"SetLimitText", 1, &World::EditSetLimitText},
            {"SetFont", 1, &World::SetFontOf},
            {"OnPaintEx", 1, &World::PaintInto},
            {"GetSafeHwnd", 1, &World::SafeHwndOf},
        };
        CallOn(m_edits, kOperations);
    }

    void EditCreate(CNavEdit& e, int i)
    {
        RECT rc = AnyRect();
        // Always ES_AUTOHSCROLL: Wine's single-line EDIT without it crashes on inserted text.
        static const DWORD kEditStyles[] = {0, ES_CENTER, ES_RIGHT, ES_PASSWORD,
                                            ES_READONLY, ES_NUMBER, ES_UPPERCASE};
        const DWORD dw = CommonStyle() | ES_AUTOHSCROLL | m_rng.Pick(kEditStyles);
        wchar_t* psz = TextArg(true);
        const int bNoFrame = m_rng.Chance(20) ? m_rng.Edge() : 0;
        Note("edit[%d].Create(style %08lX, rc %ld,%ld,%ld,%ld, %s, noframe %d)", i, dw, rc.left,
             rc.top, rc.right, rc.bottom, TextName().c_str(), bNoFrame);
        e.Create(nullptr, dw, psz, rc, Parent(), Id(), Callback(), bNoFrame);
    }
    void EditSetLimitText(CNavEdit& e, int i)
    {
        const UINT n = static_cast<UINT>(m_rng.Edge());
        Note("edit[%d].SetLimitText(%u)", i, n);
        e.SetLimitText(n);
    }

    void CallStatic()
    {
        static const ObjectOperation<CNavStatic> kOperations[] = {
            {"Create", 1, &World::StaticCreate},
            {"SetText", 1, &World::SetTextOf},
            {"GetText", 1, &World::GetTextOf},
            {"GetTextLength", 1, &World::GetTextLengthOf},
            {"SetFont", 1, &World::SetFontOf},
            {"SetTextCr", 1, &World::StaticSetTextCr},
            {"SetUnderLine", 1, &World::StaticSetUnderLine},
            {"SetIsAutoScroll", 1, &World::StaticSetIsAutoScroll},
            {"SetCoopFlag", 1, &World::StaticSetCoopFlag},
            {"QueryCoopInfo", 1, &World::StaticQueryCoopInfo},
            {"OnPaintEx", 1, &World::PaintInto},
            {"GetSafeHwnd", 3, &World::SafeHwndOf},
        };
        CallOn(m_statics, kOperations);
    }

    void StaticCreate(CNavStatic& s, int i)
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
    }
    void StaticSetTextCr(CNavStatic& s, int i)
    {
        const unsigned long cr = static_cast<unsigned long>(m_rng.Next());
        Note("label[%d].SetTextCr(%08lX)", i, cr);
        s.SetTextCr(cr);
    }
    void StaticSetUnderLine(CNavStatic& s, int i)
    {
        const int n = m_rng.Edge();
        Note("label[%d].SetUnderLine(%d)", i, n);
        s.SetUnderLine(n);
    }
    void StaticSetIsAutoScroll(CNavStatic& s, int i)
    {
        const int n = m_rng.Edge();
        Note("label[%d].SetIsAutoScroll(%d)", i, n);
        s.SetIsAutoScroll(n);
    }
    void StaticSetCoopFlag(CNavStatic& s, int i)
    {
        static const unsigned kFlags[] = {0, NAV_COOP_TEL, NAV_COOP_TEXT, NAV_COOP_EMAIL, 3, 8,
                                          0xFFFFFFFFu};
        const unsigned n = m_rng.Pick(kFlags);
        Note("label[%d].SetCoopFlag(%u)", i, n);
        s.SetCoopFlag(n);
    }
    void StaticQueryCoopInfo(CNavStatic& s, int i)
    {
        Note("label[%d].QueryCoopInfo", i);
        s.QueryCoopInfo();
    }

    void CallGroup()
    {
        static const ObjectOperation<CNavGroupBox> kOperations[] = {
            {"Create", 70, &World::GroupCreate},
            {"GetSafeHwnd", 30, &World::SafeHwndOf},
        };
        CallOn(m_groups, kOperations);
    }

    void GroupCreate(CNavGroupBox& g, int i)
    {
        RECT rc = AnyRect();
        wchar_t* psz = TextArg(true);
        const bool bBitmap = m_rng.Chance(70);
        Note("group[%d].Create(rc %ld,%ld,%ld,%ld, %s, bitmap %d)", i, rc.left, rc.top, rc.right,
             rc.bottom, TextName().c_str(), bBitmap);
        g.Create(nullptr, CommonStyle(), psz, rc, Parent(), Id(),
                 bBitmap ? m_loans.groupBitmap : nullptr);
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

    // A message, a call or a state change for any window of the seed.
    void SendSomething()
    {
        static const Operation<void (World::*)(HWND)> kMessages[] = {
            {"tap", 2, &World::SendTap},
            {"pen down", 1, &World::SendPenDown},
            {"pen up", 1, &World::SendPenUp},
            {"pen move", 1, &World::SendPenMove},
            {"double tap", 1, &World::SendDoubleTap},
            {"WM_TIMER", 1, &World::SendTimer},
            {"WM_SIZE", 1, &World::SendSize},
            {"SetWindowPos", 1, &World::Resize},
            {"WM_SETFONT", 1, &World::SendSetFont},
            {"EnableWindow", 1, &World::Enable},
            {"WM_SETTEXT", 1, &World::SendSetText},
            {"keys", 2, &World::SendKey},
            {"WM_VSCROLL, WM_HSCROLL", 1, &World::SendScroll},
            {"the library's messages", 1, &World::SendLibraryMessage},
            {"invalidate, UpdateWindow", 1, &World::Update},
            {"RedrawWindow(parent)", 1, &World::RedrawParent},
            {"WM_PAINT, WM_ERASEBKGND", 1, &World::SendPaint},
            {"capture", 1, &World::Capture},
            {"focus", 1, &World::Focus},
            {"WM_CTLCOLOR*", 1, &World::SendCtlColor},
            {"WM_DRAWITEM", 1, &World::DrawItem},
            {"WM_COMMAND", 1, &World::SendCommand},
            {"WM_NCHITTEST", 1, &World::SendHitTest},
            {"window state", 1, &World::ChangeWindowState},
        };
        HWND hwnd = AnyWindow();
        (this->*Draw(m_rng, kMessages).run)(hwnd);
    }

    // A tap; a menu a link opens is closed at once (CloseMenus).
    void SendTap(HWND hwnd)
    {
        PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
        Mouse(hwnd, WM_LBUTTONDOWN, MK_LBUTTON);
        Mouse(hwnd, WM_LBUTTONUP, 0);
    }
    void SendPenDown(HWND hwnd) { Mouse(hwnd, WM_LBUTTONDOWN, MK_LBUTTON); }
    void SendPenUp(HWND hwnd)
    {
        PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
        Mouse(hwnd, WM_LBUTTONUP, 0);
    }
    void SendPenMove(HWND hwnd) { Mouse(hwnd, WM_MOUSEMOVE, m_rng.Chance(60) ? MK_LBUTTON : 0); }
    void SendDoubleTap(HWND hwnd) { Mouse(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON); }
    void SendTimer(HWND hwnd)
    {
        static const int kIds[] = {1, 1, 1, 0, 2, 7, -1, 0x7FFFFFFF};
        Send(hwnd, WM_TIMER,
             static_cast<WPARAM>(m_rng.Chance(80) ? m_rng.Pick(kIds) : m_rng.Edge()), 0);
    }
    void SendSize(HWND hwnd)
    {
        Send(hwnd, WM_SIZE, static_cast<WPARAM>(m_rng.Below(5)),
             MAKELPARAM(m_rng.Size(), m_rng.Size()));
    }
    void Resize(HWND hwnd)
    {
        const int cx = m_rng.Size(), cy = m_rng.Size();
        Note("%p SetWindowPos size %d x %d", static_cast<void*>(hwnd), cx, cy);
        SetWindowPos(hwnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void SendSetFont(HWND hwnd)
    {
        Send(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), m_rng.Below(2));
    }
    void Enable(HWND hwnd)
    {
        const BOOL b = m_rng.Below(2);
        Note("%p EnableWindow(%d)", static_cast<void*>(hwnd), b);
        EnableWindow(hwnd, b);
    }
    void SendSetText(HWND hwnd)
    {
        wchar_t* psz = TextArg(true);
        Note("%p WM_SETTEXT %s", static_cast<void*>(hwnd), TextName().c_str());
        SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(psz));
    }
    void SendKey(HWND hwnd)
    {
        static const UINT kKeys[] = {VK_UP,     VK_DOWN,  VK_LEFT,  VK_RIGHT,  VK_HOME,
                                     VK_END,    VK_PRIOR, VK_NEXT,  VK_SPACE,  VK_RETURN,
                                     VK_ESCAPE, VK_F4,    VK_TAB,   VK_DELETE, VK_BACK,
                                     'A',       '5',      VK_MENU};
        static const UINT kMsgs[] = {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP};
        const UINT msg = m_rng.Pick(kMsgs);
        const LPARAM lParam = (msg == WM_SYSKEYDOWN ? (1 << 29) : 0) | 1;
        Send(hwnd, msg, m_rng.Pick(kKeys), lParam);
    }
    void SendScroll(HWND hwnd)
    {
        const WPARAM code =
            static_cast<WPARAM>(m_rng.Chance(85) ? m_rng.Below(9) : m_rng.Edge() & 0xFFFF);
        const WPARAM pos = static_cast<WPARAM>(m_rng.Below(2000)) << 16;
        Send(hwnd, m_rng.Chance(80) ? WM_VSCROLL : WM_HSCROLL, code | pos, 0);
    }
    void SendLibraryMessage(HWND hwnd)
    {
        RECT rc = AnyRect();
        static const UINT kMsgs[] = {WM_NAV_PAINTBKGND, WM_NAV_PAGESCROLL, WM_NAV_RADIOCLEAR};
        const UINT msg = m_rng.Pick(kMsgs);
        if (msg == WM_NAV_PAINTBKGND)
            Send(hwnd, msg, reinterpret_cast<WPARAM>(m_loans.memDC),
                 m_rng.Chance(80) ? reinterpret_cast<LPARAM>(&rc) : 0);
        else
            Send(hwnd, msg, static_cast<WPARAM>(m_rng.Below(3)), 0);
    }
    void Update(HWND hwnd)
    {
        Note("%p invalidate + UpdateWindow", static_cast<void*>(hwnd));
        InvalidateRect(hwnd, nullptr, m_rng.Below(2));
        UpdateWindow(hwnd);
    }
    void RedrawParent(HWND)
    {
        Note("RedrawWindow(parent, all children)");
        RedrawWindow(m_hParent, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    void SendPaint(HWND hwnd)
    {
        if (m_rng.Chance(50))
            Send(hwnd, WM_PAINT, 0, 0);
        else
            Send(hwnd, WM_ERASEBKGND,
                 m_rng.Chance(80) ? reinterpret_cast<WPARAM>(m_loans.memDC) : 0, 0);
    }
    // Capture: taken, taken away by another window (a lost press), given up.
    void Capture(HWND hwnd)
    {
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
    }
    void Focus(HWND hwnd)
    {
        const int n = m_rng.Below(3);
        HWND hwndOther = AnyWindow();
        Note("%p focus %d, other %p", static_cast<void*>(hwnd), n, static_cast<void*>(hwndOther));
        if (n == 0)
            SetFocus(hwnd);
        else
            SendMessageW(hwnd, n == 1 ? WM_KILLFOCUS : WM_SETFOCUS,
                         reinterpret_cast<WPARAM>(hwndOther), 0);
    }
    void SendCtlColor(HWND hwnd)
    {
        static const UINT kMsgs[] = {WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORSTATIC,
                                     WM_CTLCOLORBTN};
        Send(hwnd, m_rng.Pick(kMsgs), reinterpret_cast<WPARAM>(m_loans.memDC),
             reinterpret_cast<LPARAM>(hwnd));
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
    void SendCommand(HWND hwnd)
    {
        static const WPARAM kCommands[] = {0, 1, 2, NAV_COOP_FIRST_ID, NAV_COOP_FIRST_ID + 3,
                                           NAV_COOP_FIRST_ID + 10,
                                           static_cast<WPARAM>(EN_UPDATE) << 16,
                                           static_cast<WPARAM>(LBN_SELCHANGE) << 16 | 1110};
        Send(hwnd, WM_COMMAND, m_rng.Pick(kCommands), 0);
    }
    void SendHitTest(HWND hwnd) { Mouse(hwnd, WM_NCHITTEST, 0); }
    void ChangeWindowState(HWND hwnd)
    {
        static const UINT kMsgs[] = {WM_CANCELMODE, WM_CAPTURECHANGED, WM_SHOWWINDOW,
                                     WM_STYLECHANGED, WM_WINDOWPOSCHANGED};
        const UINT msg = m_rng.Pick(kMsgs);
        if (msg == WM_STYLECHANGED)
        {
            // Style changes are made for real, so that WM_STYLECHANGING comes first: a forged
            // WM_STYLECHANGED flips LVS_OWNERDATA inside Wine's list view, which then asserts.
            // Bits 0x4000 and 0x8000 stay out: on a static they are ellipsis styles.
            static const DWORD kBits[] = {WS_VISIBLE, WS_DISABLED, WS_BORDER, WS_VSCROLL,
                                          WS_HSCROLL, 0x2000,      0x1000,    0x0001};
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
    }

    // The parent goes first, comes back, messages posted meanwhile are dispatched.
    void Environment()
    {
        static const Operation<void (World::*)()> kChanges[] = {
            {"parent destroyed", 1, &World::DestroyParent},
            {"new parent", 1, &World::ReplaceParent},
            {"pump messages", 2, &World::Pump},
        };
        (this->*Draw(m_rng, kChanges).run)();
    }
    void DestroyParent()
    {
        if (m_rng.Chance(30) && IsWindow(m_hParent))
        {
            Note("DestroyWindow(parent)");
            DestroyWindow(m_hParent);
        }
    }
    void ReplaceParent()
    {
        if (!IsWindow(m_hParent) || m_rng.Chance(5))
        {
            Note("new parent");
            NewHost();
        }
    }
    void Pump()
    {
        Note("pump messages");
        navtest::PumpMessages();
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
        StandInSetDebugHook(CountDebugLine, nullptr);
        s_hHook = SetWindowsHookExW(WH_MSGFILTER, CloseMenus, nullptr, GetCurrentThreadId());
        PaintSmallLabel();
        navtest::PumpMessages();
    }
    static void TearDownTestSuite()
    {
        UnhookWindowsHookEx(s_hHook);
        StandInSetDebugHook(nullptr, nullptr);
    }

    // Live library objects once every control of a seed is gone (see PaintSmallLabel).
    static long Ledger()
    {
        PaintSmallLabel();
        return StandInLiveObjects();
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
