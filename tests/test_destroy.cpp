// test_destroy.cpp - every control, destroyed by its application inside each notification and
// call out it makes (and, separately, by the destruction of its parent, whose WM_DESTROY
// deletes it), as applications close a screen from "done checked", "item chosen" or "link
// followed".
//
// Each control lives alone on pages of its own; its destructor runs, the pages are filled with
// 0xDD and made inaccessible, so that any later read or write of the object faults at once.
// The library's own blocks are overwritten as they are freed (the stand-in's free). A fault is
// reported with the case and the process ends: nothing after it can be trusted.
#include <gtest/gtest.h>

#include "TestHost.h"
#include "ZorNavCtrl.h"
#include "coop/StaticCoopRecord.h"

#include <functional>
#include <new>
#include <string>
#include <vector>

using namespace navtest;

namespace
{
const UINT kId = 400;
const UINT_PTR kMenuTimer = 0x77;
const RECT kFieldRect = {20, 80, 220, 116};
const RECT kListRect = {20, 130, 320, 370};
const RECT kLabelRect = {340, 20, 460, 50};
const RECT kButtonRect = {340, 80, 500, 114};
const size_t kPageBytes = 8192; // every control fits in two pages

std::string g_case;
std::vector<char*> g_deadPages;

// A fault on a dead control's pages, or through a pointer read from freed memory.
LONG CALLBACK CatchUseAfterDestruction(EXCEPTION_POINTERS* pInfo)
{
    const EXCEPTION_RECORD* pRecord = pInfo->ExceptionRecord;
    if (pRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
        return EXCEPTION_CONTINUE_SEARCH;
    const ULONG_PTR address = pRecord->ExceptionInformation[1];
    bool bDead = (address & 0xFFFFFF00u) == 0xDDDDDD00u;
    for (char* pPage : g_deadPages)
        bDead = bDead || (address >= reinterpret_cast<ULONG_PTR>(pPage) &&
                          address < reinterpret_cast<ULONG_PTR>(pPage) + kPageBytes);
    if (!bDead)
        return EXCEPTION_CONTINUE_SEARCH;
    fprintf(stderr, "FAILED %s: the destroyed control was %s at %p (code at %p)\n",
            g_case.c_str(), pRecord->ExceptionInformation[0] ? "written" : "read",
            reinterpret_cast<void*>(address), pRecord->ExceptionAddress);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_CONTINUE_SEARCH;
}

template <class T> T* NewOnOwnPages()
{
    void* pv = VirtualAlloc(nullptr, kPageBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    return new (pv) T();
}

template <class T> void DeleteAndPoison(T* p)
{
    p->~T();
    memset(static_cast<void*>(p), 0xDD, kPageBytes);
    DWORD dwOld = 0;
    VirtualProtect(p, kPageBytes, PAGE_NOACCESS, &dwOld);
    g_deadPages.push_back(reinterpret_cast<char*>(p));
}

// The callbacks a control calls (background, row image) fire the case's destruction.
std::function<void()> g_callOut;
void DrawBkCallOut(HDC, RECT*, UINT, UINT)
{
    if (g_callOut)
        g_callOut();
}
void DrawItemCallOut(HDC, RECT*, LVITEMW*)
{
    if (g_callOut)
        g_callOut();
}

// One case's screen: the host, the control on its own pages and how to delete it.
struct Scene
{
    TestHost host{640, 480};
    std::function<void()> kill;
    bool bParent = false; // destroy the parent instead; its WM_DESTROY deletes the control
    bool bArmed = false, bFired = false, bKilled = false;
    CNavListCtrl* list = nullptr;
    CNavCombobox* combo = nullptr;
    CNavStatic* label = nullptr;
    CNavBitmapButton* button = nullptr;
    CNavEdit* edit = nullptr;

    template <class T> T* Make(T*& p)
    {
        p = NewOnOwnPages<T>();
        kill = [this, &p]() {
            if (!bKilled)
                DeleteAndPoison(p);
            bKilled = true;
        };
        return p;
    }
    void Fire()
    {
        if (!bArmed || bFired)
            return;
        bFired = true;
        if (bParent)
            DestroyWindow(host);
        else
            kill();
    }
    ~Scene()
    {
        if (kill)
            kill();
    }
};

using Trigger = std::function<bool(UINT, WPARAM, LPARAM)>;

Trigger Notify(UINT code)
{
    return [code](UINT msg, WPARAM, LPARAM lParam) {
        return msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == code;
    };
}
Trigger CheckChange()
{
    return [](UINT msg, WPARAM, LPARAM lParam) {
        if (msg != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != LVN_ITEMCHANGED)
            return false;
        const NMLISTVIEW* pnm = reinterpret_cast<const NMLISTVIEW*>(lParam);
        return (pnm->uChanged & LVIF_STATE) &&
               ((pnm->uNewState ^ pnm->uOldState) & LVIS_STATEIMAGEMASK);
    };
}
Trigger Command(UINT code)
{
    return [code](UINT msg, WPARAM wParam, LPARAM) {
        return msg == WM_COMMAND && HIWORD(wParam) == code;
    };
}
Trigger Message(UINT id)
{
    return [id](UINT msg, WPARAM, LPARAM) { return msg == id; };
}
const Trigger kByCallback; // the control's callback fires it

struct Case
{
    std::string name;
    std::function<void(Scene&)> make;
    std::function<void(Scene&)> act;
    Trigger trigger;
};

void MakeList(Scene& s, bool bVirtual)
{
    CNavListCtrl* l = s.Make(s.list);
    l->SetCheckBox(1);
    l->Create(s.host, WS_VISIBLE | WS_BORDER | (bVirtual ? LVS_OWNERDATA : 0),
              GetModuleHandleW(nullptr), kListRect, kId);
    if (bVirtual)
        l->SetItemCount(20);
    else
        for (int i = 0; i < 20; ++i)
            l->InsertItem(i, const_cast<wchar_t*>(L"A row with a rather long text to scroll"),
                          -1, 0);
}

HWND ComboList(Scene& s)
{
    return GetDlgItem(s.host, kId + 1010);
}

void MakeCombo(Scene& s)
{
    CNavCombobox* c = s.Make(s.combo);
    RECT rc = kFieldRect;
    rc.bottom = rc.top + 200;
    c->Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rc, s.host, kId);
    for (const wchar_t* psz : {L"One", L"Two", L"Three"})
        c->AddString(psz);
}

// A combo box with its list open (a tap on the arrow).
void MakeOpenCombo(Scene& s)
{
    MakeCombo(s);
    SendTap(s.combo->GetSafeHwnd(), kFieldRect.right - kFieldRect.left - 12, 12);
}

void MakeLabel(Scene& s, unsigned nCoop, DrawBkProc pfnDrawBk)
{
    CNavStatic* l = s.Make(s.label);
    if (nCoop)
    {
        HKEY hKey = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Quill\\TEL\\destroy", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
        const std::pair<const wchar_t*, const wchar_t*> values[] = {
            {L"DispName", L"Call"}, {L"FuncName", L"CoopOpen"}, {L"ClassID", L"static_coop.dll"}};
        for (const auto& v : values)
            RegSetValueExW(hKey, v.first, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.second),
                           static_cast<DWORD>((wcslen(v.second) + 1) * sizeof(wchar_t)));
        RegCloseKey(hKey);
        l->SetCoopFlag(nCoop);
    }
    RECT rc = kLabelRect;
    l->Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE,
              const_cast<wchar_t*>(L"555-0100"), rc, s.host, kId, pfnDrawBk);
}

void MakeButton(Scene& s, DrawBkProc pfnDrawBk)
{
    CNavBitmapButton* b = s.Make(s.button);
    RECT rc = kButtonRect;
    b->Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE, const_cast<wchar_t*>(L"Done"),
              rc, s.host, kId, nullptr, pfnDrawBk ? NAVBTN_PUSH : NAVBTN_CHECK, pfnDrawBk);
}

void MakeEdit(Scene& s, DrawBkProc pfnDrawBk)
{
    CNavEdit* e = s.Make(s.edit);
    RECT rc = kFieldRect;
    e->Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE, const_cast<wchar_t*>(L"Text"),
              rc, s.host, kId, pfnDrawBk, 0);
}

void RepaintNow(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HWND ListBar(Scene& s)
{
    return GetDlgItem(s.host, kId + 1001);
}

std::vector<Case> Cases()
{
    std::vector<Case> c;
    for (bool bVirtual : {false, true})
    {
        const std::string kind = bVirtual ? "virtual list" : "list";
        auto make = [bVirtual](Scene& s) { MakeList(s, bVirtual); };
        c.push_back({(kind + ", check changed by a tap"), make,
                     [](Scene& s) { SendTap(s.list->GetSafeHwnd(), 12, 45); }, CheckChange()});
        c.push_back({(kind + ", check changed by the space bar"),
                     [make](Scene& s) {
                         make(s);
                         s.list->SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED,
                                              LVIS_SELECTED | LVIS_FOCUSED);
                     },
                     [](Scene& s) {
                         SendMessageW(s.list->GetSafeHwnd(), WM_KEYDOWN, VK_SPACE, 0);
                     },
                     CheckChange()});
        c.push_back({(kind + ", NM_CLICK of a tap on a check box"), make,
                     [](Scene& s) { SendTap(s.list->GetSafeHwnd(), 12, 45); }, Notify(NM_CLICK)});
        c.push_back({(kind + ", LVN_ITEMCHANGING of a check change"), make,
                     [](Scene& s) { SendTap(s.list->GetSafeHwnd(), 12, 45); },
                     Notify(LVN_ITEMCHANGING)});
        c.push_back({(kind + ", LVN_KEYDOWN of the space bar"),
                     [make](Scene& s) {
                         make(s);
                         s.list->SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED,
                                              LVIS_SELECTED | LVIS_FOCUSED);
                     },
                     [](Scene& s) {
                         SendMessageW(s.list->GetSafeHwnd(), WM_KEYDOWN, VK_SPACE, 0);
                     },
                     Notify(LVN_KEYDOWN)});
        c.push_back({(kind + ", a tap selecting a row"), make,
                     [](Scene& s) { SendTap(s.list->GetSafeHwnd(), 100, 75); },
                     Notify(LVN_ITEMCHANGED)});
        c.push_back({(kind + ", background request of its paint"), make,
                     [](Scene& s) { RepaintNow(s.list->GetSafeHwnd()); },
                     Message(WM_NAV_PAINTBKGND)});
        c.push_back({(kind + ", row image callback"),
                     [make](Scene& s) {
                         make(s);
                         SIZE size = {24, 24};
                         s.list->SetImageList(nullptr, &size, DrawItemCallOut);
                     },
                     [](Scene& s) { RepaintNow(s.list->GetSafeHwnd()); }, kByCallback});
        c.push_back({(kind + ", scroll bar's background request"), make,
                     [](Scene& s) { RepaintNow(ListBar(s)); }, Message(WM_NAV_PAINTBKGND)});
    }
    // The list's own question for a check (the native list's requests ask for more).
    const Trigger checkAsked = [](UINT msg, WPARAM, LPARAM lParam) {
        return msg == WM_NOTIFY &&
               reinterpret_cast<const NMHDR*>(lParam)->code == LVN_GETDISPINFOW &&
               reinterpret_cast<const NMLVDISPINFOW*>(lParam)->item.mask == LVIF_STATE;
    };
    c.push_back({"virtual list keeping no checks, a check asked for by its paint",
                 [](Scene& s) {
                     MakeList(s, true);
                     SendMessageW(s.list->GetSafeHwnd(), LVM_SETCALLBACKMASK,
                                  LVIS_STATEIMAGEMASK, 0);
                 },
                 [](Scene& s) { RepaintNow(s.list->GetSafeHwnd()); }, checkAsked});
    c.push_back({"virtual list keeping no checks, a check asked for by a tap",
                 [](Scene& s) {
                     MakeList(s, true);
                     SendMessageW(s.list->GetSafeHwnd(), LVM_SETCALLBACKMASK,
                                  LVIS_STATEIMAGEMASK, 0);
                 },
                 [](Scene& s) { SendTap(s.list->GetSafeHwnd(), 12, 45); }, checkAsked});
    c.push_back({"virtual list, its row's cells asked for by the marquee in its column",
                 [](Scene& s) {
                     MakeList(s, true);
                     s.list->EnableSelectHScrollInColumn(1);
                     s.list->EnableSelectHScroll(1);
                     SendTap(s.list->GetSafeHwnd(), 100, 75);
                 },
                 [](Scene& s) { SendMessageW(s.list->GetSafeHwnd(), WM_TIMER, 1, 0); },
                 Notify(LVN_GETDISPINFOW)});
    c.push_back({"virtual list, its row asked for by the marquee",
                 [](Scene& s) {
                     MakeList(s, true);
                     s.list->EnableSelectHScroll(1);
                     SendTap(s.list->GetSafeHwnd(), 100, 75);
                 },
                 [](Scene& s) { SendMessageW(s.list->GetSafeHwnd(), WM_TIMER, 1, 0); },
                 Notify(LVN_GETDISPINFOW)});

    c.push_back({"combo box, EN_UPDATE after a tap on an item", MakeOpenCombo,
                 [](Scene& s) { SendTap(ComboList(s), 20, 33); }, Command(EN_UPDATE)});
    c.push_back({"combo box, EN_CHANGE after a tap on an item", MakeOpenCombo,
                 [](Scene& s) { SendTap(ComboList(s), 20, 33); }, Command(EN_CHANGE)});
    c.push_back({"combo box, LBN_SELCHANGE after a tap on an item", MakeOpenCombo,
                 [](Scene& s) { SendTap(ComboList(s), 20, 33); }, Command(LBN_SELCHANGE)});
    c.push_back({"combo box, EN_CHANGE after Enter in the open list", MakeOpenCombo,
                 [](Scene& s) {
                     SendMessageW(ComboList(s), LB_SETCURSEL, 2, 0);
                     SendMessageW(ComboList(s), WM_KEYDOWN, VK_RETURN, 0);
                 },
                 Command(EN_CHANGE)});
    c.push_back({"combo box, EN_SETFOCUS as Escape closes the list", MakeOpenCombo,
                 [](Scene& s) { SendMessageW(ComboList(s), WM_KEYDOWN, VK_ESCAPE, 0); },
                 Command(EN_SETFOCUS)});
    c.push_back({"combo box, background request of its paint", MakeCombo,
                 [](Scene& s) { RepaintNow(s.combo->GetSafeHwnd()); },
                 Message(WM_NAV_PAINTBKGND)});

    c.push_back({"link, destroyed while its menu is open",
                 [](Scene& s) { MakeLabel(s, NAV_COOP_TEL, nullptr); },
                 [](Scene& s) {
                     SetTimer(s.host, kMenuTimer, 50, nullptr);
                     SendTap(s.label->GetSafeHwnd(), 10, 10);
                 },
                 [](UINT msg, WPARAM wParam, LPARAM) {
                     return msg == WM_TIMER && wParam == kMenuTimer;
                 }});
    c.push_back({"link, destroyed by the cooperating function it launched",
                 [](Scene& s) { MakeLabel(s, NAV_COOP_TEL, nullptr); },
                 [](Scene& s) {
                     MenuDriver menu(0);
                     SendTap(s.label->GetSafeHwnd(), 10, 10);
                     PumpMessages();
                 },
                 Message(STATIC_COOP_CALLED)});
    c.push_back({"label button, BN_CLICKED", [](Scene& s) { MakeLabel(s, 0, DrawBkCallOut); },
                 [](Scene& s) { SendTap(s.label->GetSafeHwnd(), 10, 10); },
                 Command(BN_CLICKED)});
    c.push_back({"label, background request of its paint",
                 [](Scene& s) { MakeLabel(s, 0, nullptr); },
                 [](Scene& s) { RepaintNow(s.label->GetSafeHwnd()); },
                 Message(WM_NAV_PAINTBKGND)});
    c.push_back({"label, background callback", [](Scene& s) { MakeLabel(s, 0, DrawBkCallOut); },
                 [](Scene& s) { RepaintNow(s.label->GetSafeHwnd()); }, kByCallback});
    c.push_back({"label, background request of OnPaintEx",
                 [](Scene& s) { MakeLabel(s, 0, nullptr); },
                 [](Scene& s) {
                     HDC hdc = GetDC(s.host);
                     s.label->OnPaintEx(hdc);
                     ReleaseDC(s.host, hdc);
                 },
                 Message(WM_NAV_PAINTBKGND)});

    c.push_back({"button, BN_CLICKED of a tap", [](Scene& s) { MakeButton(s, nullptr); },
                 [](Scene& s) { SendTap(s.button->GetSafeHwnd(), 10, 10); },
                 Command(BN_CLICKED)});
    c.push_back({"button, BN_CLICKED of the space bar", [](Scene& s) { MakeButton(s, nullptr); },
                 [](Scene& s) {
                     SetFocus(s.button->GetSafeHwnd());
                     SendMessageW(s.button->GetSafeHwnd(), WM_KEYDOWN, VK_SPACE, 0);
                     SendMessageW(s.button->GetSafeHwnd(), WM_KEYUP, VK_SPACE, 0xC0000001);
                 },
                 Command(BN_CLICKED)});
    c.push_back({"button, background request of its paint",
                 [](Scene& s) { MakeButton(s, nullptr); },
                 [](Scene& s) { RepaintNow(s.button->GetSafeHwnd()); },
                 Message(WM_NAV_PAINTBKGND)});
    c.push_back({"button, background callback", [](Scene& s) { MakeButton(s, DrawBkCallOut); },
                 [](Scene& s) { RepaintNow(s.button->GetSafeHwnd()); }, kByCallback});

    c.push_back({"edit, EN_SETFOCUS of a tap", [](Scene& s) { MakeEdit(s, nullptr); },
                 [](Scene& s) { SendTap(s.edit->GetSafeHwnd(), 10, 10); },
                 Command(EN_SETFOCUS)});
    c.push_back({"edit, EN_CHANGE of a typed character", [](Scene& s) { MakeEdit(s, nullptr); },
                 [](Scene& s) { SendMessageW(s.edit->GetSafeHwnd(), WM_CHAR, L'x', 1); },
                 Command(EN_CHANGE)});
    c.push_back({"edit, background request of its paint",
                 [](Scene& s) { MakeEdit(s, nullptr); },
                 [](Scene& s) { RepaintNow(s.edit->GetSafeHwnd()); },
                 Message(WM_NAV_PAINTBKGND)});
    c.push_back({"edit, background callback", [](Scene& s) { MakeEdit(s, DrawBkCallOut); },
                 [](Scene& s) { RepaintNow(s.edit->GetSafeHwnd()); }, kByCallback});
    return c;
}

// What the cooperating library writes to, with the host to tell.
struct CoopRecord
{
    CoopRecord()
    {
        hMap = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  sizeof(StaticCoopRecord), STATIC_COOP_RECORD_NAME);
        pRecord = static_cast<StaticCoopRecord*>(
            MapViewOfFile(hMap, FILE_MAP_WRITE, 0, 0, sizeof(StaticCoopRecord)));
    }
    ~CoopRecord()
    {
        UnmapViewOfFile(pRecord);
        CloseHandle(hMap);
    }
    HANDLE hMap;
    StaticCoopRecord* pRecord;
};
} // namespace

TEST(DestroyedInsideACallOut, NothingTouchesTheControlAfterwards)
{
    PVOID pHandler = AddVectoredExceptionHandler(1, CatchUseAfterDestruction);
    CoopRecord coop;
    ASSERT_NE(nullptr, coop.pRecord);
    int nRuns = 0;
    for (const Case& c : Cases())
        for (bool bParent : {false, true})
        {
            g_case = c.name + (bParent ? " (the parent destroyed)" : "");
            SCOPED_TRACE(g_case);
            {
                Scene s;
                s.bParent = bParent;
                coop.pRecord->hwndTell = s.host;
                s.host.hook = [&s, &c](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
                    if (msg == WM_DESTROY && s.kill)
                        s.kill();
                    if (c.trigger && c.trigger(msg, wParam, lParam))
                    {
                        s.Fire();
                        if (msg == WM_TIMER)
                        {
                            KillTimer(s.host, kMenuTimer);
                            EndMenu();
                        }
                    }
                    return AnswerRowRequest(
                        msg, lParam, [](int, int) { return std::wstring(80, L'w'); },
                        [](int) { return -1; }, pResult);
                };
                g_callOut = [&s]() { s.Fire(); };
                c.make(s);
                PumpMessages();
                s.bArmed = true;
                c.act(s);
                PumpFor(100);
                EXPECT_TRUE(s.bFired) << "the call out came";
                EXPECT_TRUE(s.bKilled) << "the control was deleted inside it";
                g_callOut = nullptr;
            }
            PumpFor(20);
            for (char* pPage : g_deadPages)
                VirtualFree(pPage, 0, MEM_RELEASE);
            g_deadPages.clear();
            ++nRuns;
        }
    coop.pRecord->hwndTell = nullptr;
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quill\\TEL\\destroy");
    RemoveVectoredExceptionHandler(pHandler);
    printf("%d cases, each survived\n", nRuns);
}
