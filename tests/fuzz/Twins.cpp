// Twins.cpp - the same standard messages sent to a control's window and to a native window of
// the same class, style and size; results and the state read back afterwards must agree. The
// differences the controls are made for are listed below, each with its reason; nothing else
// may differ.
//
// Kept out of the inputs because the native Wine controls fail on them: a single-line EDIT
// without ES_AUTOHSCROLL (crashes on inserted text), SS_ENDELLIPSIS (an assertion in DrawText),
// LVM_GETNEXTITEM with LVNI_ABOVE/LVNI_BELOW (loops), LVM_GETITEMSTATE on an owner-data list
// (stray bits), LB_FINDSTRING / LB_FINDSTRINGEXACT from a start below -1 (reads before the
// items). A native LISTBOX makes GDI objects at its first paint, so the twins stay out of
// any count of GDI objects.
#include <gtest/gtest.h>

#include "FuzzKit.h"
#include "TestHost.h"
#include "ZorNavCtrl.h"

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

using namespace navfuzz;
using navtest::TestHost;

namespace
{

// A difference that is the control's purpose, not a fault. bStateToo: what the message does
// to the control differs as well, so the comparison of that seed ends there.
struct ExpectedDifference
{
    const wchar_t* pszClass;
    UINT msg;
    bool bStateToo;
    const char* pszReason;
};

const ExpectedDifference kExpected[] = {
    {L"*", WM_CTLCOLOREDIT, false, "the controls answer colour requests transparent, null brush"},
    {L"*", WM_CTLCOLORLISTBOX, false, "the combo list answers with its grey field"},
    {L"*", WM_CTLCOLORSTATIC, false, "the controls answer colour requests transparent, null brush"},
    {L"STATIC", WM_NCHITTEST, false, "a label with a callback is a push button and takes taps (HTCLIENT)"},
    {L"STATIC", WM_LBUTTONDOWN, false, "a push-button label takes a pen-down inside itself: capture, repaint, 1"},
    {L"STATIC", WM_TIMER, false, "every timer is the label's own (id 1 scrolls its text): answered 1"},
};

// How often each expected difference was seen. The standard run must see every one: an entry
// it never sees is stale and would hide a real difference in a later change.
long long g_nSeen[sizeof(kExpected) / sizeof(kExpected[0])];

const ExpectedDifference* FindExpected(const std::wstring& cls, UINT msg)
{
    for (const ExpectedDifference& e : kExpected)
        if (e.msg == msg && (cls == e.pszClass || std::wstring(e.pszClass) == L"*"))
            return &e;
    return nullptr;
}

// What one message gave back: its result and what it wrote into the caller's buffer.
struct Outcome
{
    LRESULT result = 0;
    std::wstring out;
    bool operator==(const Outcome& o) const { return result == o.result && out == o.out; }
};

// How a message's lParam is made for each window.
enum class Arg
{
    Value,   // lParam as given
    TextIn,  // points to the text
    TextOut, // a buffer of 'size' characters, read back
    ItemIn,  // an LVITEMW carrying item, subitem, state, mask and the text
    ItemOut, // an LVITEMW with a text buffer of 'size' characters, read back
};

struct Message
{
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    Arg arg;
    std::wstring text;
    int size;
    LVITEMW item;
};

std::string Describe(const Message& m)
{
    std::ostringstream os;
    os << "msg 0x" << std::hex << m.msg << " w 0x" << m.wParam << " l 0x" << m.lParam << std::dec
       << " text(" << m.text.size() << ") size " << m.size;
    if (m.arg == Arg::ItemIn || m.arg == Arg::ItemOut)
        os << " item " << m.item.iItem << "/" << m.item.iSubItem << " mask 0x" << std::hex
           << m.item.mask << " state 0x" << m.item.state << "/0x" << m.item.stateMask;
    return os.str();
}

std::string Describe(const std::vector<LRESULT>& state)
{
    std::ostringstream os;
    for (LRESULT r : state)
        os << r << " ";
    return os.str();
}

Outcome Apply(HWND hwnd, const Message& m)
{
    Outcome o;
    std::vector<wchar_t> buffer(static_cast<size_t>(m.size > 0 ? m.size : 0) + 1, 0);
    LVITEMW item = m.item;
    std::wstring text = m.text;
    LPARAM lParam = m.lParam;
    switch (m.arg)
    {
    case Arg::Value: break;
    case Arg::TextIn: lParam = reinterpret_cast<LPARAM>(text.c_str()); break;
    case Arg::TextOut: lParam = reinterpret_cast<LPARAM>(buffer.data()); break;
    case Arg::ItemIn:
        item.pszText = &text[0];
        lParam = reinterpret_cast<LPARAM>(&item);
        break;
    case Arg::ItemOut:
        item.pszText = buffer.data();
        item.cchTextMax = m.size;
        lParam = reinterpret_cast<LPARAM>(&item);
        break;
    }
    o.result = SendMessageW(hwnd, m.msg, m.wParam, lParam);
    if (m.arg == Arg::TextOut || m.arg == Arg::ItemOut)
        o.out.assign(buffer.data());
    return o;
}

// One variant: how to make our control, what to send, and what to read back.
struct Variant
{
    const char* label;
    std::wstring cls;
    // Makes our control on the host and returns the window the messages go to.
    std::function<HWND(TestHost&)> make;
    std::function<Message(Rng&, HWND)> message;
    std::function<std::vector<LRESULT>(HWND)> probe;
};

// The styles each window was created with. Read back later they may differ: a native list
// box drops WS_VSCROLL while its bar is hidden, and a twin made from that would never scroll.
std::map<HWND, std::pair<DWORD, DWORD>> g_created;

LRESULT CALLBACK RecordCreation(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND)
    {
        const CREATESTRUCTW* pcs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        g_created[reinterpret_cast<HWND>(wParam)] = {static_cast<DWORD>(pcs->style),
                                                     pcs->dwExStyle};
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// Our control's window, its creation styles recorded.
HWND MakeOurs(const std::function<HWND(TestHost&)>& make, TestHost& host)
{
    g_created.clear();
    HHOOK hHook = SetWindowsHookExW(WH_CBT, RecordCreation, nullptr, GetCurrentThreadId());
    HWND hwnd = make(host);
    UnhookWindowsHookEx(hHook);
    return g_created.count(hwnd) ? hwnd : nullptr;
}

// The native twin: same class, creation styles, rectangle, font and the settings our Create
// makes.
HWND MakeTwin(const std::wstring& cls, HWND hwndOurs, HWND hParent)
{
    RECT rc;
    GetWindowRect(hwndOurs, &rc);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    wchar_t szText[256] = {};
    GetWindowTextW(hwndOurs, szText, 256);
    const std::pair<DWORD, DWORD> styles = g_created[hwndOurs];
    HWND hwnd = CreateWindowExW(styles.second, cls.c_str(), szText, styles.first, rc.left,
                                rc.top, rc.right - rc.left, rc.bottom - rc.top, hParent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(4000)), nullptr,
                                nullptr);
    SendMessageW(hwnd, WM_SETFONT, static_cast<WPARAM>(SendMessageW(hwndOurs, WM_GETFONT, 0, 0)),
                 FALSE);
    if (cls == L"EDIT")
    {
        const LRESULT margins = SendMessageW(hwndOurs, EM_GETMARGINS, 0, 0);
        SendMessageW(hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     MAKELPARAM(LOWORD(margins), HIWORD(margins)));
    }
    else if (cls == L"LISTBOX")
    {
        SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, SendMessageW(hwndOurs, LB_GETITEMHEIGHT, 0, 0));
    }
    else if (cls == WC_LISTVIEWW)
    {
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                     SendMessageW(hwndOurs, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.cx = static_cast<int>(SendMessageW(hwndOurs, LVM_GETCOLUMNWIDTH, 0, 0));
        column.pszText = const_cast<wchar_t*>(L" ");
        SendMessageW(hwnd, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    }
    return hwnd;
}

Message Plain(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    Message m = {msg, wParam, lParam, Arg::Value, L"", 0, {}};
    return m;
}

Message WithText(UINT msg, WPARAM wParam, const std::wstring& text)
{
    Message m = Plain(msg, wParam);
    m.arg = Arg::TextIn;
    m.text = text;
    return m;
}

Message IntoBuffer(UINT msg, WPARAM wParam, int size)
{
    Message m = Plain(msg, wParam);
    m.arg = Arg::TextOut;
    m.size = size;
    return m;
}

// What a class's messages are made from: the generator, the twin's window (read for counts and
// sizes) and a memory DC for the messages that carry one. A class that draws more before it
// chooses a message adds that.
struct Args
{
    Rng& rng;
    HWND hwnd;
    HDC hdc;
};

// One table of messages per class, drawn by weight.
template <class A> using Messages = Operation<Message (*)(A&)>;

// Messages every window class takes alike: text, enabling, font, paint, focus, keys, pen.
struct CommonArgs : Args
{
    LPARAM lPoint; // around the client area
};

const UINT kKeys[] = {VK_UP,    VK_DOWN, VK_LEFT,  VK_RIGHT,  VK_HOME, VK_END,
                      VK_PRIOR, VK_NEXT, VK_SPACE, VK_DELETE, VK_BACK, 'A'};

const Messages<CommonArgs> kCommon[] = {
    {"WM_SETTEXT", 1,
     [](CommonArgs& a) {
         return WithText(WM_SETTEXT, 0, Text(a.rng).substr(0, a.rng.Chance(90) ? 80 : 20000));
     }},
    {"WM_GETTEXT", 1,
     [](CommonArgs& a) {
         return IntoBuffer(WM_GETTEXT, static_cast<WPARAM>(a.rng.Below(40)), 40);
     }},
    {"WM_GETTEXTLENGTH", 1, [](CommonArgs&) { return Plain(WM_GETTEXTLENGTH); }},
    {"WM_ENABLE", 1,
     [](CommonArgs& a) { return Plain(WM_ENABLE, static_cast<WPARAM>(a.rng.Below(2))); }},
    {"WM_ERASEBKGND", 1,
     [](CommonArgs& a) { return Plain(WM_ERASEBKGND, reinterpret_cast<WPARAM>(a.hdc)); }},
    {"WM_PAINT", 1, [](CommonArgs&) { return Plain(WM_PAINT); }},
    {"WM_SETFOCUS, WM_KILLFOCUS", 1,
     [](CommonArgs& a) { return Plain(a.rng.Chance(50) ? WM_SETFOCUS : WM_KILLFOCUS); }},
    {"WM_KEYDOWN", 1, [](CommonArgs& a) { return Plain(WM_KEYDOWN, a.rng.Pick(kKeys), 1); }},
    {"WM_KEYUP", 1,
     [](CommonArgs& a) { return Plain(WM_KEYUP, a.rng.Pick(kKeys), 0xC0000001); }},
    {"WM_CHAR", 1,
     [](CommonArgs& a) {
         return Plain(WM_CHAR, static_cast<WPARAM>(L"ab1 \bZ"[a.rng.Below(6)]), 1);
     }},
    {"WM_LBUTTONDOWN", 1,
     [](CommonArgs& a) { return Plain(WM_LBUTTONDOWN, MK_LBUTTON, a.lPoint); }},
    {"WM_LBUTTONUP", 1, [](CommonArgs& a) { return Plain(WM_LBUTTONUP, 0, a.lPoint); }},
    {"WM_TIMER", 1,
     [](CommonArgs& a) { return Plain(WM_TIMER, static_cast<WPARAM>(a.rng.Below(3))); }},
    {"WM_GETFONT", 1, [](CommonArgs&) { return Plain(WM_GETFONT); }},
};

// One of the messages every class takes, for a point around the client area.
Message Common(Args& args)
{
    Rng& rng = args.rng;
    RECT rc = {0, 0, 1, 1};
    GetClientRect(args.hwnd, &rc);
    const LPARAM lPoint = MAKELPARAM(rng.Below(rc.right + 20) - 10, rng.Below(rc.bottom + 20) - 10);
    CommonArgs a = {args, lPoint};
    return Draw(rng, kCommon).run(a);
}

// ---- the four classes ----

const Messages<Args> kEdit[] = {
    {"EM_SETSEL", 1,
     [](Args& a) {
         return Plain(EM_SETSEL, static_cast<WPARAM>(a.rng.Index(20)), a.rng.Index(20));
     }},
    {"EM_GETSEL", 1, [](Args&) { return Plain(EM_GETSEL); }},
    {"EM_REPLACESEL", 1,
     [](Args& a) {
         return WithText(EM_REPLACESEL, static_cast<WPARAM>(a.rng.Below(2)),
                         Text(a.rng).substr(0, 30));
     }},
    {"EM_LIMITTEXT", 1,
     [](Args& a) {
         return Plain(EM_LIMITTEXT,
                      static_cast<WPARAM>(a.rng.Chance(70) ? a.rng.Below(40) : a.rng.Edge()));
     }},
    {"EM_GETLIMITTEXT", 1, [](Args&) { return Plain(EM_GETLIMITTEXT); }},
    {"EM_UNDO, EM_CANUNDO", 1,
     [](Args& a) { return Plain(a.rng.Chance(50) ? EM_UNDO : EM_CANUNDO); }},
    {"EM_SETMODIFY", 1,
     [](Args& a) { return Plain(EM_SETMODIFY, static_cast<WPARAM>(a.rng.Below(2))); }},
    {"EM_GETMODIFY", 1, [](Args&) { return Plain(EM_GETMODIFY); }},
    {"EM_LINELENGTH", 1,
     [](Args& a) { return Plain(EM_LINELENGTH, static_cast<WPARAM>(a.rng.Index(20))); }},
    {"EM_POSFROMCHAR", 1,
     [](Args& a) { return Plain(EM_POSFROMCHAR, static_cast<WPARAM>(a.rng.Index(20))); }},
    {"WM_CTLCOLOREDIT", 1,
     [](Args& a) {
         return Plain(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(a.hdc),
                      reinterpret_cast<LPARAM>(a.hwnd));
     }},
    {"common", 3, Common},
};

Message EditMessage(Rng& rng, HWND hwnd, HDC hdc)
{
    Args a = {rng, hwnd, hdc};
    return Draw(rng, kEdit).run(a);
}

std::vector<LRESULT> EditProbe(HWND hwnd)
{
    wchar_t sz[64] = {};
    GetWindowTextW(hwnd, sz, 64);
    std::vector<LRESULT> v = {SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0),
                              SendMessageW(hwnd, EM_GETSEL, 0, 0),
                              SendMessageW(hwnd, EM_GETLIMITTEXT, 0, 0),
                              SendMessageW(hwnd, EM_GETMODIFY, 0, 0), IsWindowEnabled(hwnd)};
    for (wchar_t* p = sz; *p; ++p)
        v.push_back(*p);
    return v;
}

// A list box's messages go to an item around its count.
struct ListBoxArgs : Args
{
    int nCount;
    WPARAM index;
};

const Messages<ListBoxArgs> kListBox[] = {
    {"LB_ADDSTRING", 2,
     [](ListBoxArgs& a) {
         return WithText(LB_ADDSTRING, 0, Text(a.rng).substr(0, a.rng.Chance(90) ? 60 : 20000));
     }},
    {"LB_INSERTSTRING", 1,
     [](ListBoxArgs& a) { return WithText(LB_INSERTSTRING, a.index, Text(a.rng).substr(0, 60)); }},
    {"LB_DELETESTRING", 1, [](ListBoxArgs& a) { return Plain(LB_DELETESTRING, a.index); }},
    {"LB_SETCURSEL", 1, [](ListBoxArgs& a) { return Plain(LB_SETCURSEL, a.index); }},
    {"LB_GETCURSEL", 1, [](ListBoxArgs&) { return Plain(LB_GETCURSEL); }},
    // Room for the longest text the inputs hold.
    {"LB_GETTEXT", 1, [](ListBoxArgs& a) { return IntoBuffer(LB_GETTEXT, a.index, 20001); }},
    {"LB_GETTEXTLEN", 1, [](ListBoxArgs& a) { return Plain(LB_GETTEXTLEN, a.index); }},
    {"LB_RESETCONTENT, LB_GETCOUNT", 1,
     [](ListBoxArgs& a) { return Plain(a.rng.Chance(20) ? LB_RESETCONTENT : LB_GETCOUNT); }},
    {"LB_SETITEMHEIGHT", 1,
     [](ListBoxArgs& a) {
         return Plain(LB_SETITEMHEIGHT, a.index, a.rng.Chance(80) ? a.rng.Below(60) : a.rng.Edge());
     }},
    {"LB_GETITEMHEIGHT", 1, [](ListBoxArgs& a) { return Plain(LB_GETITEMHEIGHT, a.index); }},
    // A start below -1 makes Wine's list box read before its items.
    {"LB_FINDSTRING, LB_FINDSTRINGEXACT", 1,
     [](ListBoxArgs& a) {
         return WithText(a.rng.Chance(50) ? LB_FINDSTRING : LB_FINDSTRINGEXACT,
                         static_cast<WPARAM>(a.rng.Below(a.nCount + 2) - 1),
                         Text(a.rng).substr(0, 3));
     }},
    {"LB_SELECTSTRING", 1,
     [](ListBoxArgs& a) {
         return WithText(LB_SELECTSTRING, static_cast<WPARAM>(-1), Text(a.rng).substr(0, 2));
     }},
    {"LB_SETTOPINDEX, LB_GETTOPINDEX", 1,
     [](ListBoxArgs& a) {
         return Plain(a.rng.Chance(50) ? LB_SETTOPINDEX : LB_GETTOPINDEX, a.index);
     }},
    {"LB_SETITEMDATA", 1,
     [](ListBoxArgs& a) {
         return Plain(LB_SETITEMDATA, a.index, static_cast<LPARAM>(a.rng.Edge()));
     }},
    {"LB_GETITEMDATA", 1, [](ListBoxArgs& a) { return Plain(LB_GETITEMDATA, a.index); }},
    {"WM_CTLCOLORLISTBOX", 1,
     [](ListBoxArgs& a) {
         return Plain(WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(a.hdc),
                      reinterpret_cast<LPARAM>(a.hwnd));
     }},
    {"common", 1, [](ListBoxArgs& a) { return Common(a); }},
};

Message ListBoxMessage(Rng& rng, HWND hwnd, HDC hdc)
{
    const int nCount = static_cast<int>(SendMessageW(hwnd, LB_GETCOUNT, 0, 0));
    ListBoxArgs a = {{rng, hwnd, hdc}, nCount, static_cast<WPARAM>(rng.Index(nCount))};
    return Draw(rng, kListBox).run(a);
}

std::vector<LRESULT> ListBoxProbe(HWND hwnd)
{
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    return {rc.right, rc.bottom, SendMessageW(hwnd, LB_GETCOUNT, 0, 0), SendMessageW(hwnd, LB_GETCURSEL, 0, 0),
            SendMessageW(hwnd, LB_GETTOPINDEX, 0, 0), SendMessageW(hwnd, LB_GETITEMHEIGHT, 0, 0),
            SendMessageW(hwnd, LB_GETTEXTLEN, 0, 0), IsWindowEnabled(hwnd)};
}

// A list view's messages carry an item around its count, mostly of column 0.
struct ListViewArgs : Args
{
    Message m;
    bool bOwnerData;
};

// The item going in with a new text of up to 60 characters.
Message ItemWithText(ListViewArgs& a, UINT msg, WPARAM wParam)
{
    a.m.msg = msg;
    a.m.wParam = wParam;
    a.m.arg = Arg::ItemIn;
    a.m.text = Text(a.rng).substr(0, 60);
    return a.m;
}

const Messages<ListViewArgs> kListView[] = {
    {"LVM_INSERTITEMW", 2,
     [](ListViewArgs& a) {
         a.m.item.mask = LVIF_TEXT;
         a.m.item.iSubItem = 0;
         return ItemWithText(a, LVM_INSERTITEMW, 0);
     }},
    {"LVM_SETITEMTEXTW", 1,
     [](ListViewArgs& a) {
         return ItemWithText(a, LVM_SETITEMTEXTW, static_cast<WPARAM>(a.m.item.iItem));
     }},
    {"LVM_GETITEMTEXTW", 1,
     [](ListViewArgs& a) {
         a.m.msg = LVM_GETITEMTEXTW;
         a.m.wParam = static_cast<WPARAM>(a.m.item.iItem);
         a.m.arg = Arg::ItemOut;
         a.m.size = 1 + a.rng.Below(64);
         return a.m;
     }},
    {"LVM_SETITEMSTATE", 2,
     [](ListViewArgs& a) {
         a.m.msg = LVM_SETITEMSTATE;
         a.m.wParam = static_cast<WPARAM>(a.m.item.iItem);
         a.m.arg = Arg::ItemIn;
         a.m.item.state = a.rng.Chance(50) ? LVIS_SELECTED | LVIS_FOCUSED : 0;
         a.m.item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
         return a.m;
     }},
    // Wine answers stray bits for an owner-data list.
    {"LVM_GETITEMSTATE", 1,
     [](ListViewArgs& a) {
         if (a.bOwnerData)
             return Plain(LVM_GETITEMCOUNT);
         return Plain(LVM_GETITEMSTATE, static_cast<WPARAM>(a.m.item.iItem),
                      LVIS_SELECTED | LVIS_FOCUSED);
     }},
    // Never LVNI_ABOVE / LVNI_BELOW: Wine's list view loops on them.
    {"LVM_GETNEXTITEM", 1,
     [](ListViewArgs& a) {
         static const LPARAM kFlags[] = {LVNI_ALL, LVNI_SELECTED, LVNI_FOCUSED,
                                         LVNI_SELECTED | LVNI_FOCUSED};
         return Plain(LVM_GETNEXTITEM, static_cast<WPARAM>(a.m.item.iItem), a.rng.Pick(kFlags));
     }},
    {"LVM_ENSUREVISIBLE", 1,
     [](ListViewArgs& a) {
         return Plain(LVM_ENSUREVISIBLE, static_cast<WPARAM>(a.m.item.iItem), a.rng.Below(2));
     }},
    {"LVM_GETTOPINDEX", 1, [](ListViewArgs&) { return Plain(LVM_GETTOPINDEX); }},
    {"LVM_GETCOUNTPERPAGE", 1, [](ListViewArgs&) { return Plain(LVM_GETCOUNTPERPAGE); }},
    {"LVM_DELETEITEM", 1,
     [](ListViewArgs& a) {
         return Plain(LVM_DELETEITEM, static_cast<WPARAM>(a.m.item.iItem));
     }},
    {"LVM_DELETEALLITEMS, LVM_GETSELECTEDCOUNT", 1,
     [](ListViewArgs& a) {
         return Plain(a.rng.Chance(20) ? LVM_DELETEALLITEMS : LVM_GETSELECTEDCOUNT);
     }},
    {"LVM_SETITEMCOUNT", 1,
     [](ListViewArgs& a) {
         static const int kCounts[] = {0, 1, 5, 12, 40};
         return Plain(LVM_SETITEMCOUNT, static_cast<WPARAM>(a.rng.Pick(kCounts)), 0);
     }},
    {"LVM_GETCOLUMNWIDTH", 1,
     [](ListViewArgs& a) {
         return Plain(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(a.rng.Below(2)));
     }},
    {"WM_VSCROLL", 1,
     [](ListViewArgs& a) { return Plain(WM_VSCROLL, static_cast<WPARAM>(a.rng.Below(9))); }},
    {"common", 3, [](ListViewArgs& a) { return Common(a); }},
};

Message ListViewMessage(Rng& rng, HWND hwnd, HDC hdc)
{
    const int nCount = static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    ListViewArgs a = {{rng, hwnd, hdc}, Plain(0),
                      (GetWindowLongW(hwnd, GWL_STYLE) & LVS_OWNERDATA) != 0};
    a.m.item.iItem = rng.Index(nCount);
    a.m.item.iSubItem = rng.Chance(85) ? 0 : rng.Below(3);
    return Draw(rng, kListView).run(a);
}

std::vector<LRESULT> ListViewProbe(HWND hwnd)
{
    return {SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0),
            SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED),
            SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED),
            SendMessageW(hwnd, LVM_GETTOPINDEX, 0, 0), SendMessageW(hwnd, LVM_GETSELECTEDCOUNT, 0, 0),
            SendMessageW(hwnd, LVM_GETCOUNTPERPAGE, 0, 0), IsWindowEnabled(hwnd)};
}

// A static's hit tests go to a point around it, in screen coordinates.
struct StaticArgs : Args
{
    POINT pt;
};

const Messages<StaticArgs> kStatic[] = {
    {"WM_NCHITTEST", 1,
     [](StaticArgs& a) { return Plain(WM_NCHITTEST, 0, MAKELPARAM(a.pt.x, a.pt.y)); }},
    {"WM_CTLCOLORSTATIC", 1,
     [](StaticArgs& a) {
         return Plain(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(a.hdc),
                      reinterpret_cast<LPARAM>(a.hwnd));
     }},
    {"STM_GETIMAGE", 1, [](StaticArgs&) { return Plain(STM_GETIMAGE, IMAGE_BITMAP); }},
    {"common", 3, [](StaticArgs& a) { return Common(a); }},
};

Message StaticMessage(Rng& rng, HWND hwnd, HDC hdc)
{
    RECT rc = {0, 0, 1, 1};
    GetClientRect(hwnd, &rc);
    POINT pt = {rng.Below(rc.right + 20) - 10, rng.Below(rc.bottom + 20) - 10};
    ClientToScreen(hwnd, &pt);
    StaticArgs a = {{rng, hwnd, hdc}, pt};
    return Draw(rng, kStatic).run(a);
}

std::vector<LRESULT> StaticProbe(HWND hwnd)
{
    wchar_t sz[64] = {};
    GetWindowTextW(hwnd, sz, 64);
    std::vector<LRESULT> v = {GetWindowTextLengthW(hwnd), IsWindowEnabled(hwnd)};
    for (wchar_t* p = sz; *p; ++p)
        v.push_back(*p);
    return v;
}

void Callback(HDC hdc, RECT* prc, UINT, UINT)
{
    if (hdc && prc)
        FillRect(hdc, prc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
}

// Every variant owns its control through the host's lifetime (a static slot per variant).
template <class T> T& Fresh(std::unique_ptr<T>& slot)
{
    slot.reset(new T);
    return *slot;
}

// A memory DC for the messages that carry one.
HDC g_hdc = nullptr;

std::unique_ptr<CNavEdit> g_edit;
std::unique_ptr<CNavCombobox> g_combo;
std::unique_ptr<CNavListCtrl> g_list;
std::unique_ptr<CNavStatic> g_label;

Variant EditVariant(const char* label, DWORD dwStyle)
{
    return {label, L"EDIT",
            [dwStyle](TestHost& host) {
                RECT rc = {10, 10, 210, 40};
                Fresh(g_edit).Create(nullptr, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | dwStyle,
                                     const_cast<wchar_t*>(L"start"), rc, host, 100, nullptr, 0);
                return g_edit->GetSafeHwnd();
            },
            [](Rng& rng, HWND hwnd) { return EditMessage(rng, hwnd, g_hdc); }, EditProbe};
}

Variant ListViewVariant(const char* label, DWORD dwStyle)
{
    return {label, WC_LISTVIEWW,
            [dwStyle](TestHost& host) {
                RECT rc = {10, 10, 250, 250};
                Fresh(g_list).Create(host, dwStyle, nullptr, rc, 100);
                return g_list->GetSafeHwnd();
            },
            [](Rng& rng, HWND hwnd) { return ListViewMessage(rng, hwnd, g_hdc); }, ListViewProbe};
}

Variant StaticVariant(const char* label, DWORD dwStyle, DrawBkProc pfn)
{
    return {label, L"STATIC",
            [dwStyle, pfn](TestHost& host) {
                RECT rc = {10, 10, 210, 40};
                Fresh(g_label).Create(nullptr, WS_CHILD | WS_VISIBLE | dwStyle,
                                      const_cast<wchar_t*>(L"label"), rc, host, 100, pfn);
                return g_label->GetSafeHwnd();
            },
            [](Rng& rng, HWND hwnd) { return StaticMessage(rng, hwnd, g_hdc); }, StaticProbe};
}

std::vector<Variant> Variants()
{
    return {
        EditVariant("edit", 0),
        EditVariant("edit centred", ES_CENTER),
        EditVariant("edit password", ES_PASSWORD),
        EditVariant("edit read-only", ES_READONLY),
        EditVariant("edit digits", ES_NUMBER),
        {"combo list", L"LISTBOX",
         [](TestHost& host) {
             RECT rc = {10, 10, 210, 200};
             Fresh(g_combo).Create(nullptr, WS_CHILD | WS_VISIBLE, nullptr, rc, host, 100);
             return GetDlgItem(host, 100 + 1010);
         },
         [](Rng& rng, HWND hwnd) { return ListBoxMessage(rng, hwnd, g_hdc); }, ListBoxProbe},
        ListViewVariant("list", WS_VISIBLE),
        ListViewVariant("list bordered", WS_VISIBLE | WS_BORDER),
        ListViewVariant("list virtual", WS_VISIBLE | WS_BORDER | LVS_OWNERDATA),
        StaticVariant("label", SS_LEFT, nullptr),
        StaticVariant("label centred, notify", SS_CENTER | SS_NOTIFY, nullptr),
        StaticVariant("label right", SS_RIGHT, nullptr),
        StaticVariant("label push button", SS_LEFT, Callback),
    };
}

TEST(Twins, StandardMessagesAnswerAsTheNativeControlOfTheSameClassAndStyle)
{
    InstallCrashReport();
    // For every variant a quarter of the seeds, with a quarter of the operations each but at
    // most 400: the twins' lists grow with every message and each message costs more.
    Budget budget = ReadBudget(kDefaultSeeds, kDefaultOps);
    // A run that holds the standard one (a replay of one seed need not) sees every expected
    // difference.
    const bool bHoldsStandardRun = budget.firstSeed == 1 && budget.seeds >= kDefaultSeeds &&
                                   budget.ops >= kDefaultOps;
    budget.seeds = budget.seeds / 4 > 0 ? budget.seeds / 4 : 1;
    const int nMessages = budget.ops / 4 < 1 ? 1 : budget.ops / 4 > 400 ? 400 : budget.ops / 4;
    long long nSent = 0, nExpected = 0;
    std::vector<std::string> unexplained;
    const DWORD dwStart = GetTickCount();
    g_hdc = CreateCompatibleDC(nullptr);
    for (const Variant& v : Variants())
    {
        const DWORD dwVariant = GetTickCount();
        for (int k = 0; k < budget.seeds; ++k)
        {
            const uint64_t seed = budget.firstSeed + static_cast<uint64_t>(k);
            BeginSeed(seed);
            SetRunning(true);
            Rng rng(seed);
            TestHost host(400, 300);
            HWND hwndOurs = MakeOurs(v.make, host);
            ASSERT_TRUE(IsWindow(hwndOurs)) << v.label;
            HWND hwndTwin = MakeTwin(v.cls, hwndOurs, host);
            ASSERT_TRUE(IsWindow(hwndTwin)) << v.label;
            for (int n = 0; n < nMessages; ++n)
            {
                const Message m = v.message(rng, hwndTwin);
                Note("%s: %s", v.label, Describe(m).c_str());
                const Outcome ours = Apply(hwndOurs, m);
                const Outcome twin = Apply(hwndTwin, m);
                ReleaseCapture();
                ++nSent;
                const ExpectedDifference* pExpected = FindExpected(v.cls, m.msg);
                if (pExpected)
                    ++nExpected;
                std::ostringstream where;
                where << v.label << ", seed " << seed << ", message " << n << ": " << Describe(m);
                if (pExpected && !(ours == twin))
                    ++g_nSeen[pExpected - kExpected];
                if (!pExpected && !(ours == twin))
                {
                    where << ": result " << ours.result << " vs native " << twin.result;
                    unexplained.push_back(where.str());
                    break;
                }
                const std::vector<LRESULT> stateOurs = v.probe(hwndOurs);
                const std::vector<LRESULT> stateTwin = v.probe(hwndTwin);
                if (stateOurs != stateTwin)
                {
                    if (pExpected && ours == twin)
                        ++g_nSeen[pExpected - kExpected];
                    if (!pExpected || !pExpected->bStateToo)
                        unexplained.push_back(where.str() + ": the state read back differs: " +
                                              Describe(stateOurs) + " vs native " +
                                              Describe(stateTwin));
                    break;
                }
            }
            SetRunning(false);
            DestroyWindow(hwndTwin);
            g_edit.reset();
            g_combo.reset();
            g_list.reset();
            g_label.reset();
        }
        printf("[ twins ] %s: %lu ms\n", v.label,
               static_cast<unsigned long>(GetTickCount() - dwVariant));
    }
    DeleteDC(g_hdc);
    printf("[ twins ] %lld messages to %zu variants x %d seeds in %lu ms, %lld of them allowed to "
           "differ; differences seen:\n",
           nSent, Variants().size(), budget.seeds,
           static_cast<unsigned long>(GetTickCount() - dwStart), nExpected);
    for (const ExpectedDifference& e : kExpected)
    {
        const long long nSeen = g_nSeen[&e - kExpected];
        printf("[ twins ] %6lld x %ls 0x%04X: %s\n", nSeen, e.pszClass, e.msg, e.pszReason);
        if (bHoldsStandardRun)
        {
            EXPECT_GT(nSeen, 0) << "stale expected difference, never seen: " << e.pszClass
                                << " 0x" << std::hex << e.msg << " (" << e.pszReason << ")";
        }
    }
    if (!bHoldsStandardRun)
        printf("[ twins ] a run smaller than the standard one: unseen differences not checked\n");
    for (const std::string& s : unexplained)
        ADD_FAILURE() << "unexplained difference: " << s;
}

} // namespace
