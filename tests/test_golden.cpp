// test_golden.cpp - golden images: every control in each of its states, rendered over the test
// host's pattern and compared pixel for pixel with the PNGs in tests/golden.
//
// Each case builds its controls in a fresh host, drives them into one state with real messages
// (taps, focus, timer ticks sent by hand) and captures the host's pixels under all of its
// children. A mismatch leaves <name>.actual.png and <name>.diff.png in ZNC_GOLDEN_OUT. With
// ZNC_GOLDEN_UPDATE=1 in the environment the captures replace the committed images instead:
// that is done only on purpose, never to make a change pass.
#include <gtest/gtest.h>

#include "ZorNavCtrl.h"
#include "TestHost.h"
#include "win32/NavGdi.h"

#include <stdio.h>
#include <stdlib.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace navtest;

namespace
{
const COLORREF kMagenta = RGB(0xFF, 0x00, 0xFF);
// The face every case writes with, asked for by name: "Tahoma" (and the desktop's default
// font) would be Wine's own Tahoma on a machine with the fonts-wine package and DejaVu Sans,
// through font substitution, on one without it.
const wchar_t kFace[] = L"DejaVu Sans";
const int kHostCx = 400, kHostCy = 300;

// ---- A scene: one host and everything a case makes in it ----

// Owns the host and, in creation order, the objects a case makes; they go in reverse order,
// controls before the fonts and images they were given, all before the host.
class Scene
{
public:
    // The host's first paint happens inside its creation, before its procedure is in place, and
    // paints nothing; its pattern is painted once more here, so that gaps between controls show it.
    Scene() : host(kHostCx, kHostCy)
    {
        RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    ~Scene()
    {
        host.hook = nullptr; // it may know objects that go first
        while (!m_owned.empty())
            m_owned.pop_back();
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    template <class T> T& Make()
    {
        auto p = std::make_shared<T>();
        m_owned.push_back(p);
        return *p;
    }
    HFONT Font(int nHeight, int nWeight = FW_NORMAL)
    {
        HFONT hFont = MakeFont(nHeight, kFace, nWeight);
        Keep(hFont);
        return hFont;
    }
    void Keep(HGDIOBJ hObject)
    {
        m_owned.emplace_back(hObject, [](HGDIOBJ h) { DeleteObject(h); });
    }
    void Keep(HIMAGELIST hList)
    {
        m_owned.emplace_back(static_cast<void*>(hList),
                             [](void* h) { ImageList_Destroy(static_cast<HIMAGELIST>(h)); });
    }
    // Gives the keyboard focus to hwnd with its top-level window active, as a user's tap would.
    void Focus(HWND hwnd)
    {
        SetForegroundWindow(host);
        SetFocus(hwnd);
    }

    TestHost host;

private:
    std::vector<std::shared_ptr<void>> m_owned;
};

// ---- Artwork an application brings: solid, position-free, so it draws the same everywhere ----

void Fill(HDC hdc, const RECT& rc, COLORREF cr)
{
    nav::Brush brush(CreateSolidBrush(cr));
    FillRect(hdc, &rc, brush);
}

// A face of cx x cy in each of the colours, bordered in black, on the magenta mask.
HIMAGELIST MakeFaces(Scene& scene, int cx, int cy, const std::vector<COLORREF>& colours)
{
    const int n = static_cast<int>(colours.size());
    nav::Bitmap strip(nav::CreateDib32(nullptr, cx * n, cy));
    {
        nav::MemDC dc(nullptr);
        nav::SelectGuard select(dc, strip);
        for (int i = 0; i < n; ++i)
        {
            RECT rc = {i * cx, 0, (i + 1) * cx, cy};
            Fill(dc, rc, kMagenta);
            InflateRect(&rc, -2, -2);
            Fill(dc, rc, RGB(0, 0, 0));
            InflateRect(&rc, -2, -2);
            Fill(dc, rc, colours[i]);
        }
    }
    HIMAGELIST hList = ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, n, 0);
    ImageList_AddMasked(hList, strip, kMagenta);
    scene.Keep(hList);
    return hList;
}

const std::vector<COLORREF> kFourFaces = {RGB(0x90, 0x90, 0x90), RGB(0x30, 0xA0, 0x40),
                                          RGB(0x30, 0x60, 0xD0), RGB(0xE0, 0x80, 0x20)};
const std::vector<COLORREF> kTwoFaces = {RGB(0xA0, 0xA0, 0xB0), RGB(0x40, 0xC0, 0x60)};
const std::vector<COLORREF> kRowImages = {RGB(0xD0, 0x30, 0x30), RGB(0x30, 0x70, 0xD0),
                                          RGB(0x30, 0xA0, 0x50)};

// The application's background: each state bit it is given shows as its own colour (pressed
// red, checked green, disabled blue, focused a band on the right), and a band on the left
// tells the control id.
void PaintByState(HDC hdc, RECT* prc, UINT uState, UINT uId)
{
    Fill(hdc, *prc, RGB((uState & ODS_SELECTED) ? 0xF0 : 0x60, (uState & ODS_CHECKED) ? 0xD0 : 0x70,
                        (uState & ODS_DISABLED) ? 0xD0 : 0x60));
    RECT rcBand = {prc->left + 3, prc->top + 3, prc->left + 9, prc->bottom - 3};
    Fill(hdc, rcBand, RGB(uId & 0xFF, 0x20, 0xA0));
    if (uState & ODS_FOCUS)
    {
        rcBand = {prc->right - 9, prc->top + 3, prc->right - 3, prc->bottom - 3};
        Fill(hdc, rcBand, RGB(0xFF, 0xFF, 0x40));
    }
}

// ---- Buttons ----

struct ButtonFace
{
    const char* name;
    ButtonType type;
    int cx;
    enum Art { Shared, Faces4, Faces2, Icon, Callback } art;
};

CNavBitmapButton& AddButton(Scene& scene, HWND hwndParent, RECT rc, const wchar_t* pszCaption,
                            ButtonType type, HIMAGELIST hList, DrawBkProc pfn, UINT nId,
                            DWORD dwStyle = 0)
{
    CNavBitmapButton& btn = scene.Make<CNavBitmapButton>();
    btn.SetFont(scene.Font(16, FW_BOLD));
    btn.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | dwStyle,
               const_cast<wchar_t*>(pszCaption), rc, hwndParent, nId, hList, type, pfn);
    return btn;
}

CNavBitmapButton& AddFace(Scene& scene, const ButtonFace& face)
{
    HIMAGELIST hList = nullptr;
    if (face.art == ButtonFace::Faces4)
        hList = MakeFaces(scene, face.cx, 50, kFourFaces);
    else if (face.art == ButtonFace::Faces2)
        hList = MakeFaces(scene, face.cx, 50, kTwoFaces);
    else if (face.art == ButtonFace::Icon)
        hList = MakeFaces(scene, 30, 30, {RGB(0x40, 0xB0, 0x40)});
    const int cx = face.type == NAVBTN_CHECK || face.type == NAVBTN_RADIO ? 180 : face.cx;
    const int cy = face.type == NAVBTN_CHECK || face.type == NAVBTN_RADIO ? 34 : 50;
    RECT rc = {20, 20, 20 + cx, 20 + cy};
    return AddButton(scene, scene.host, rc, L"Route", face.type, hList,
                     face.art == ButtonFace::Callback ? PaintByState : nullptr, 300);
}

// A button state and how a user gets there.
struct ButtonState
{
    const char* name;
    bool bForTwoStateKinds; // checked states exist for check, radio and push-on/push-off
    void (*apply)(Scene&, HWND);
};

void Tap(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    SendTap(hwnd, rc.right / 2, rc.bottom / 2);
}

const ButtonState kButtonStates[] = {
    {"normal", false, [](Scene&, HWND) {}},
    {"pressed", false, [](Scene&, HWND hwnd) {
         RECT rc;
         GetClientRect(hwnd, &rc);
         SendPenDown(hwnd, rc.right / 2, rc.bottom / 2); // held down
     }},
    {"focused", false, [](Scene& s, HWND hwnd) { s.Focus(hwnd); }},
    {"disabled", false, [](Scene&, HWND hwnd) { EnableWindow(hwnd, FALSE); }},
    {"checked", true, [](Scene&, HWND hwnd) { Tap(hwnd); }},
    {"checked_disabled", true, [](Scene&, HWND hwnd) {
         Tap(hwnd);
         EnableWindow(hwnd, FALSE);
     }},
};

const ButtonFace kButtonFaces[] = {
    {"push106", NAVBTN_PUSH, 106, ButtonFace::Shared},
    {"push78", NAVBTN_PUSH, 78, ButtonFace::Shared},
    {"push_imagelist4", NAVBTN_PUSH, 106, ButtonFace::Faces4},
    {"push_imagelist2", NAVBTN_PUSH, 106, ButtonFace::Faces2},
    {"push_callback", NAVBTN_PUSH, 120, ButtonFace::Callback},
    {"check", NAVBTN_CHECK, 0, ButtonFace::Shared},
    {"check_callback", NAVBTN_CHECK, 0, ButtonFace::Callback},
    {"radio", NAVBTN_RADIO, 0, ButtonFace::Shared},
    {"radio_icon", NAVBTN_RADIO, 0, ButtonFace::Icon},
    {"toggle_imagelist4", NAVBTN_TOGGLE, 106, ButtonFace::Faces4},
    {"toggle_imagelist2", NAVBTN_TOGGLE, 106, ButtonFace::Faces2},
    {"toggle_callback", NAVBTN_TOGGLE, 120, ButtonFace::Callback},
};

// Two radio buttons of one group: a tap on the second clears the first.
void RadioGroup(Scene& s)
{
    RECT rc1 = {20, 20, 200, 54}, rc2 = {20, 60, 200, 94};
    CNavBitmapButton& first =
        AddButton(s, s.host, rc1, L"Fastest", NAVBTN_RADIO, nullptr, nullptr, 310, WS_GROUP);
    CNavBitmapButton& second =
        AddButton(s, s.host, rc2, L"Shortest", NAVBTN_RADIO, nullptr, nullptr, 311);
    Tap(first.GetSafeHwnd());
    PumpMessages();
    Tap(second.GetSafeHwnd());
}

// ---- Group box ----

// The card beneath the group box: bands that tell where a pixel of it came from.
HBITMAP MakeCard(Scene& scene, int cx, int cy)
{
    HBITMAP hbm = nav::CreateDib32(nullptr, cx, cy);
    scene.Keep(hbm);
    nav::MemDC dc(nullptr);
    nav::SelectGuard select(dc, hbm);
    for (int y = 0; y < cy; y += 8)
        for (int x = 0; x < cx; x += 8)
        {
            RECT rc = {x, y, x + 8, y + 8};
            Fill(dc, rc, RGB(0xE0 + (x / 8 % 2) * 0x10, 0xE8, 0xC0 + (y * 63 / cy)));
        }
    return hbm;
}

// The group box leaves its buttons' background to the application: this answers it with the
// part of the card beneath them, as an application showing the card under its buttons does.
LRESULT CALLBACK CardBeneath(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR dwCard)
{
    if (msg == WM_NAV_PAINTBKGND && wParam && lParam)
    {
        const RECT* prc = reinterpret_cast<const RECT*>(lParam);
        HDC hdc = reinterpret_cast<HDC>(wParam);
        nav::MemDC card(hdc);
        nav::SelectGuard select(card, reinterpret_cast<HBITMAP>(dwCard));
        BitBlt(hdc, 0, 0, prc->right - prc->left, prc->bottom - prc->top, card, prc->left,
               prc->top, SRCCOPY);
        return 0;
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, CardBeneath, 1);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

HWND AddGroupBox(Scene& s)
{
    HBITMAP hCard = MakeCard(s, 300, 200);
    CNavGroupBox& box = s.Make<CNavGroupBox>();
    RECT rc = {20, 20, 320, 220};
    box.Create(GetModuleHandleW(nullptr), WS_VISIBLE | WS_CLIPCHILDREN,
               const_cast<wchar_t*>(L"Route options"), rc, s.host, 400, hCard);
    SendMessageW(box.GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(s.Font(14)), FALSE);
    SetWindowSubclass(box.GetSafeHwnd(), CardBeneath, 1, reinterpret_cast<DWORD_PTR>(hCard));
    // Created visible in a shown window, the box was erased before it was subclassed: only a
    // repaint with erasing shows its bitmap.
    RedrawWindow(box.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return box.GetSafeHwnd();
}

void GroupBoxWithButtons(Scene& s, bool bPressApply)
{
    HWND hwndBox = AddGroupBox(s);
    RECT rcCheck = {14, 26, 194, 60}, rcRadio = {14, 70, 194, 104}, rcApply = {200, 130, 278, 180};
    CNavBitmapButton& check =
        AddButton(s, hwndBox, rcCheck, L"Avoid tolls", NAVBTN_CHECK, nullptr, nullptr, 401);
    AddButton(s, hwndBox, rcRadio, L"Fastest", NAVBTN_RADIO, nullptr, nullptr, 402, WS_GROUP);
    CNavBitmapButton& apply =
        AddButton(s, hwndBox, rcApply, L"Apply", NAVBTN_PUSH, nullptr, nullptr, 403);
    Tap(check.GetSafeHwnd());
    if (bPressApply)
        SendPenDown(apply.GetSafeHwnd(), 39, 25);
}

// ---- Lists ----

const UINT kListId = 500;

// What a list case sets before and after Create.
struct ListSetup
{
    bool bVirtual = false;
    bool bCheckBox = false;
    bool bImages = false;
    bool bPageScroll = false;
    int nRows = 6;
    const wchar_t* pszLongRow = nullptr; // row 1's text, when it is to be too long
};

std::wstring RowText(int row, int subItem)
{
    static const wchar_t* const kNames[] = {L"Fuel station", L"Car park", L"Restaurant",
                                            L"Hotel", L"Hospital", L"Railway station"};
    if (subItem == 1)
        return std::to_wstring(1 + row / 3) + L"." + std::to_wstring(row * 7 % 10) + L" km";
    return std::wstring(kNames[row % 6]) + L" " + std::to_wstring(row);
}

// The host answers a virtual list's row requests and acts on the page arrows.
void AnswerLists(Scene& s, CNavListCtrl& list)
{
    s.host.hook = [&list](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
        if (msg == WM_NAV_PAGESCROLL)
        {
            SendMessageW(list.GetSafeHwnd(), WM_VSCROLL, wParam ? SB_PAGEUP : SB_PAGEDOWN, 0);
            list.Invalidate();
            *pResult = 0;
            return true;
        }
        return navtest::AnswerRowRequest(msg, lParam, RowText, [](int row) { return row % 3; },
                                         pResult);
    };
}

CNavListCtrl& AddList(Scene& s, const ListSetup& setup, int cy = 242)
{
    CNavListCtrl& list = s.Make<CNavListCtrl>();
    AnswerLists(s, list);
    list.SetFont(s.Font(14));
    list.SetCheckBox(setup.bCheckBox);
    if (setup.bImages)
        list.SetImageList(MakeFaces(s, 16, 16, kRowImages), nullptr, nullptr);
    list.EnablePageScroll(setup.bPageScroll);
    list.SetIsScrollPage(setup.bPageScroll);
    const RECT rc = {20, 20, 320, 20 + cy};
    list.Create(s.host, setup.bVirtual ? WS_VISIBLE | WS_BORDER | LVS_OWNERDATA
                                       : WS_VISIBLE | WS_BORDER,
                GetModuleHandleW(nullptr), rc, kListId);
    if (setup.bVirtual)
        list.SetItemCount(setup.nRows);
    else
        for (int i = 0; i < setup.nRows; ++i)
        {
            std::wstring text = i == 1 && setup.pszLongRow ? setup.pszLongRow : RowText(i, 0);
            list.InsertItem(i, &text[0], i % 3, i);
        }
    return list;
}

void TapRow(CNavListCtrl& list, int row, int x)
{
    RECT rc = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list.GetSafeHwnd(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
    SendTap(list.GetSafeHwnd(), x, rc.top + 10);
}

// A second, right-aligned column for the distance; column 0 keeps the rest clear of the bar.
void AddDistanceColumn(CNavListCtrl& list)
{
    HWND hList = list.GetSafeHwnd();
    SendMessageW(hList, LVM_SETCOLUMNWIDTH, 0, 150);
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_RIGHT;
    column.cx = 104;
    SendMessageW(hList, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < list.GetItemCount(); ++i)
        list.SetItemText(i, 1, RowText(i, 1).c_str());
}

// A selected row whose text is too long, after n steps of its sideways scrolling.
void ListTextScroll(Scene& s, int nSteps)
{
    ListSetup setup;
    setup.bCheckBox = true;
    setup.pszLongRow = L"Airport Terminal 2, Departures, Gate B14";
    CNavListCtrl& list = AddList(s, setup);
    list.EnableSelectHScroll(1);
    TapRow(list, 1, 120);
    KillTimer(list.GetSafeHwnd(), 1); // the steps come from here, not from the clock
    PumpMessages();
    for (int i = 0; i < nSteps; ++i)
        SendMessageW(list.GetSafeHwnd(), WM_TIMER, 1, 0);
}

// The scroll bar of a long list, its top row 10 (or 0: the thumb at the top of the track), the
// zone at y pressed, then optionally dragged to yDrag and released.
enum class Release { No, Yes };

void BarZone(Scene& s, int y, Release release, int yDrag = -1)
{
    ListSetup setup;
    setup.nRows = 40;
    setup.bPageScroll = true;
    CNavListCtrl& list = AddList(s, setup, 262); // tall enough for every zone
    if (yDrag < 0)
        list.EnsureVisible(17, FALSE);
    PumpMessages();
    HWND hwndBar = GetDlgItem(s.host, kListId + 1001);
    SendPenDown(hwndBar, 20, y);
    if (yDrag >= 0)
        SendMessageW(hwndBar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, yDrag));
    if (release == Release::Yes)
        SendPenUp(hwndBar, 20, yDrag >= 0 ? yDrag : y);
}

// ---- Edits and combo boxes ----

CNavEdit& AddEdit(Scene& s, DrawBkProc pfn, int bNoFrame)
{
    CNavEdit& edit = s.Make<CNavEdit>();
    edit.SetFont(s.Font(20));
    RECT rc = {20, 20, 258, 52};
    edit.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                const_cast<wchar_t*>(L"Main Street 12"), rc, s.host, 600, pfn, bNoFrame);
    return edit;
}

// A tap on the field: it takes the focus. The caret blinks on the clock and stays hidden.
void TapEdit(Scene& s, HWND hwnd, bool bRelease)
{
    s.Focus(s.host);
    SendPenDown(hwnd, 200, 12);
    HideCaret(hwnd);
    if (bRelease)
        SendPenUp(hwnd, 200, 12);
}

CNavCombobox& AddCombo(Scene& s, int y, bool bLarge)
{
    CNavCombobox& combo = s.Make<CNavCombobox>();
    combo.IsLargerCB(bLarge);
    combo.SetFont(s.Font(20));
    const int cyField = bLarge ? 34 : 24, cyRow = bLarge ? 32 : 22;
    RECT rc = {20, y, 260, y + cyField + 4 * cyRow};
    combo.Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rc, s.host, 700);
    for (const wchar_t* psz : {L"Berlin", L"Hamburg", L"Munich", L"Cologne", L"Frankfurt"})
        combo.AddString(psz);
    combo.SetCurSel(2);
    return combo;
}

// Pen down on the arrow once the box has painted; the list opens at the pen-up. The edit's
// caret is kept hidden.
void PressArrow(CNavCombobox& combo, bool bRelease)
{
    PumpMessages();
    HWND hwnd = combo.GetSafeHwnd();
    RECT rc;
    GetClientRect(hwnd, &rc);
    SendPenDown(hwnd, rc.right - 10, rc.bottom / 2);
    HideCaret(hwnd);
    if (bRelease)
        SendPenUp(hwnd, rc.right - 10, rc.bottom / 2);
}

// ---- Labels ----

const COLORREF kInk = RGB(0x20, 0x20, 0x40);

// What a label case sets before Create.
struct LabelSetup
{
    const wchar_t* pszText;
    DWORD dwStyle = SS_LEFTNOWORDWRAP;
    COLORREF cr = kInk;
    DrawBkProc pfn = nullptr;
    int cx = 240, cy = 30;
    int nWeight = FW_BOLD;
    int bUnderLine = 0;
    int bAutoScroll = 0;
    unsigned int nCoopFlag = 0;
    UINT nId = 800;
};

CNavStatic& AddLabel(Scene& s, const LabelSetup& setup)
{
    CNavStatic& label = s.Make<CNavStatic>();
    label.SetFont(s.Font(18, setup.nWeight));
    label.SetTextCr(setup.cr);
    label.SetUnderLine(setup.bUnderLine);
    label.SetIsAutoScroll(setup.bAutoScroll);
    if (setup.nCoopFlag)
        label.SetCoopFlag(setup.nCoopFlag);
    RECT rc = {20, 20, 20 + setup.cx, 20 + setup.cy};
    label.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | setup.dwStyle,
                 const_cast<wchar_t*>(setup.pszText), rc, s.host, setup.nId, setup.pfn);
    return label;
}

// A push-button label: the application paints its face.
CNavStatic& AddButtonLabel(Scene& s)
{
    LabelSetup setup = {L"Navigate", SS_CENTER, RGB(255, 255, 255), PaintByState, 170, 46};
    return AddLabel(s, setup);
}

// A scrolling label after n ticks of its timer, sent here rather than waited for.
void Marquee(Scene& s, int nTicks)
{
    LabelSetup setup = {L"Next: turn left onto Harbour Boulevard", SS_LEFTNOWORDWRAP,
                        RGB(0x10, 0x60, 0x20), PaintByState, 280, 34};
    setup.bAutoScroll = 1;
    setup.nId = 820;
    HWND hwnd = AddLabel(s, setup).GetSafeHwnd();
    KillTimer(hwnd, 1);
    PumpMessages();
    for (int i = 0; i < nTicks; ++i)
        SendMessageW(hwnd, WM_TIMER, 1, 0);
}

// A tap on a link: it turns to the visited colour. Any menu of registered applications it
// offers is dismissed at once, so nothing waits for a user.
void Link(Scene& s, bool bTap)
{
    LabelSetup setup = {L"help@quill.example", SS_CENTER, 0};
    setup.nWeight = FW_NORMAL;
    setup.nCoopFlag = NAV_COOP_EMAIL;
    setup.nId = 840;
    HWND hwnd = AddLabel(s, setup).GetSafeHwnd();
    if (!bTap)
        return;
    MenuDriver dismiss(-1);
    SendTap(hwnd, 30, 15);
    PumpMessages();
}

// ---- The cases ----

struct GoldenCase
{
    std::string name;
    std::function<void(Scene&)> setup;
    // Whether the pictures are taken after pending paints are done. A pen-down that draws at
    // once what the next paint takes back is taken as it stands.
    bool bSettle = true;
};

// Failures name the case, not the bytes of its parameter.
void PrintTo(const GoldenCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<GoldenCase> ButtonCases()
{
    std::vector<GoldenCase> cases;
    for (const ButtonFace& face : kButtonFaces)
        for (const ButtonState& state : kButtonStates)
        {
            if (state.bForTwoStateKinds && face.type == NAVBTN_PUSH)
                continue;
            cases.push_back({std::string("button_") + face.name + "_" + state.name,
                             [&face, &state](Scene& s) {
                                 state.apply(s, AddFace(s, face).GetSafeHwnd());
                             }});
        }
    cases.push_back({"button_radio_group", RadioGroup});
    return cases;
}

std::vector<GoldenCase> OtherCases()
{
    std::vector<GoldenCase> cases = {
        // Group box
        {"groupbox_bitmap", [](Scene& s) { AddGroupBox(s); }},
        {"groupbox_buttons", [](Scene& s) { GroupBoxWithButtons(s, false); }},
        {"groupbox_button_pressed", [](Scene& s) { GroupBoxWithButtons(s, true); }},
        // List
        {"list_plain", [](Scene& s) { AddList(s, ListSetup()); }},
        {"list_selected", [](Scene& s) { TapRow(AddList(s, ListSetup()), 2, 150); }},
        {"list_checks", [](Scene& s) {
             ListSetup setup;
             setup.bCheckBox = true;
             CNavListCtrl& list = AddList(s, setup);
             list.SetCheckStatus(0, 1);
             TapRow(list, 3, 10); // the check zone: checked by the tap, and selected
         }},
        {"list_images", [](Scene& s) {
             ListSetup setup;
             setup.bCheckBox = setup.bImages = true;
             TapRow(AddList(s, setup), 1, 150);
         }},
        {"list_columns", [](Scene& s) {
             ListSetup setup;
             setup.bImages = true;
             CNavListCtrl& list = AddList(s, setup);
             AddDistanceColumn(list);
             TapRow(list, 4, 150);
         }},
        {"list_scrolled", [](Scene& s) {
             ListSetup setup;
             setup.nRows = 30;
             setup.bCheckBox = true;
             CNavListCtrl& list = AddList(s, setup);
             list.EnsureVisible(20, FALSE);
             list.SetItemState(18, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
         }},
        {"list_virtual", [](Scene& s) {
             ListSetup setup;
             setup.bVirtual = setup.bCheckBox = setup.bImages = setup.bPageScroll = true;
             setup.nRows = 500;
             CNavListCtrl& list = AddList(s, setup);
             AddDistanceColumn(list);
             for (int i = 120; i < 140; i += 3)
                 list.SetCheckStatus(i, 1);
             list.EnsureVisible(124, FALSE);
             list.SetItemState(122, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
         }},
        {"list_textscroll_0", [](Scene& s) { ListTextScroll(s, 0); }},
        {"list_textscroll_1", [](Scene& s) { ListTextScroll(s, 1); }},
        {"list_textscroll_5", [](Scene& s) { ListTextScroll(s, 5); }},
        // Scroll bar zones of a 262-pixel bar with page arrows: page up 0-38, line up 39-77,
        // track below, line down 184-222, page down 223-261.
        {"scrollbar_pageup_pressed", [](Scene& s) { BarZone(s, 20, Release::No); }},
        {"scrollbar_pageup_released", [](Scene& s) { BarZone(s, 20, Release::Yes); }},
        {"scrollbar_lineup_pressed", [](Scene& s) { BarZone(s, 58, Release::No); }},
        {"scrollbar_lineup_released", [](Scene& s) { BarZone(s, 58, Release::Yes); }},
        {"scrollbar_track_pressed", [](Scene& s) { BarZone(s, 175, Release::No); }},
        {"scrollbar_track_released", [](Scene& s) { BarZone(s, 175, Release::Yes); }},
        {"scrollbar_thumb_dragged", [](Scene& s) { BarZone(s, 100, Release::No, 150); }},
        {"scrollbar_thumb_dropped", [](Scene& s) { BarZone(s, 100, Release::Yes, 150); }},
        {"scrollbar_linedown_pressed", [](Scene& s) { BarZone(s, 200, Release::No); }},
        {"scrollbar_linedown_released", [](Scene& s) { BarZone(s, 200, Release::Yes); }},
        {"scrollbar_pagedown_pressed", [](Scene& s) { BarZone(s, 240, Release::No); }},
        {"scrollbar_pagedown_released", [](Scene& s) { BarZone(s, 240, Release::Yes); }},
        // Edit
        {"edit_unfocused", [](Scene& s) { AddEdit(s, nullptr, 0); }},
        {"edit_focused", [](Scene& s) { TapEdit(s, AddEdit(s, nullptr, 0).GetSafeHwnd(), true); }},
        {"edit_callback", [](Scene& s) { AddEdit(s, PaintByState, 0); }},
        {"edit_callback_pressed",
         [](Scene& s) { TapEdit(s, AddEdit(s, PaintByState, 0).GetSafeHwnd(), false); }},
        {"edit_callback_focused",
         [](Scene& s) { TapEdit(s, AddEdit(s, PaintByState, 0).GetSafeHwnd(), true); }},
        {"edit_noframe", [](Scene& s) { AddEdit(s, nullptr, 1); }},
        {"edit_noframe_focused",
         [](Scene& s) { TapEdit(s, AddEdit(s, nullptr, 1).GetSafeHwnd(), true); }},
        // Combo box
        {"combo_closed", [](Scene& s) { AddCombo(s, 20, false); }},
        {"combo_arrow_pressed", [](Scene& s) { PressArrow(AddCombo(s, 20, false), false); },
         false},
        {"combo_open_below", [](Scene& s) { PressArrow(AddCombo(s, 20, false), true); }},
        {"combo_open_above", [](Scene& s) { PressArrow(AddCombo(s, 240, false), true); }},
        {"combo_large_closed", [](Scene& s) { AddCombo(s, 20, true); }},
        {"combo_large_arrow_pressed", [](Scene& s) { PressArrow(AddCombo(s, 20, true), false); },
         false},
        {"combo_large_open_below", [](Scene& s) { PressArrow(AddCombo(s, 20, true), true); }},
        {"combo_large_open_above", [](Scene& s) { PressArrow(AddCombo(s, 230, true), true); }},
        // Label
        {"static_text", [](Scene& s) { AddLabel(s, {L"Destination"}); }},
        {"static_colour", [](Scene& s) {
             AddLabel(s, {L"Harbour Point", SS_LEFTNOWORDWRAP, RGB(0xC0, 0x20, 0x20)});
         }},
        {"static_underline_right", [](Scene& s) {
             LabelSetup setup = {L"12.4 km", SS_RIGHT, RGB(0x10, 0x70, 0x30)};
             setup.nWeight = FW_NORMAL;
             setup.bUnderLine = 1;
             setup.nId = 810;
             AddLabel(s, setup);
         }},
        {"static_wrapped", [](Scene& s) {
             AddLabel(s, {L"Labels draw over whatever lies beneath them, wrapped on words.", 0,
                          kInk, nullptr, 240, 60});
         }},
        {"static_marquee_0", [](Scene& s) { Marquee(s, 0); }},
        {"static_marquee_1", [](Scene& s) { Marquee(s, 1); }},
        {"static_marquee_2", [](Scene& s) { Marquee(s, 2); }},
        {"static_marquee_3", [](Scene& s) { Marquee(s, 3); }},
        {"static_button", [](Scene& s) { AddButtonLabel(s); }},
        {"static_button_pressed",
         [](Scene& s) { SendPenDown(AddButtonLabel(s).GetSafeHwnd(), 20, 20); }},
        {"static_button_released",
         [](Scene& s) { SendTap(AddButtonLabel(s).GetSafeHwnd(), 20, 20); }},
        {"static_link", [](Scene& s) { Link(s, false); }},
        {"static_link_visited", [](Scene& s) { Link(s, true); }},
    };
    return cases;
}

std::vector<GoldenCase> AllCases()
{
    std::vector<GoldenCase> cases = ButtonCases();
    for (GoldenCase& c : OtherCases())
        cases.push_back(std::move(c));
    return cases;
}

// ---- Capture and compare ----

// Waits until the host and its children have nothing left to do: queued and posted messages,
// then the paints they caused.
void PumpUntilIdle()
{
    for (int i = 0; i < 4; ++i)
    {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    }
}

// The host's pixels under the union of its visible children, read through a DC of the host
// that does not leave the children out.
Pixels Capture(HWND hwndHost, bool bSettle)
{
    if (bSettle)
        PumpUntilIdle();
    RECT rcAll = {};
    for (HWND hwnd = GetWindow(hwndHost, GW_CHILD); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT))
    {
        if (!IsWindowVisible(hwnd))
            continue;
        RECT rc;
        GetWindowRect(hwnd, &rc);
        MapWindowPoints(nullptr, hwndHost, reinterpret_cast<POINT*>(&rc), 2);
        UnionRect(&rcAll, &rcAll, &rc);
    }
    HDC hdc = GetDCEx(hwndHost, nullptr, DCX_CACHE);
    Pixels px = Pixels::FromDC(hdc, rcAll.left, rcAll.top, rcAll.right - rcAll.left,
                               rcAll.bottom - rcAll.top);
    ReleaseDC(hwndHost, hdc);
    return px;
}

// A path the program can open: Wine's drive Z: is the Unix root.
std::string WinePath(const std::string& unixPath)
{
    return unixPath.size() && unixPath[0] == '/' ? "Z:" + unixPath : unixPath;
}

std::string GoldenPath(const std::string& name)
{
    return WinePath(ZNC_GOLDEN_DIR "/" + name + ".png");
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// Compares the capture with the golden image (the test kit writes <name>.actual.png and
// <name>.diff.png into ZNC_GOLDEN_OUT on a difference).
::testing::AssertionResult MatchesGolden(const std::string& name, const Pixels& actual)
{
    std::string report;
    if (navtest::MatchesGolden(actual, Wide(GoldenPath(name)).c_str(),
                               Wide(ZNC_GOLDEN_OUT "/" + name).c_str(), &report))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name << ": " << report;
}

bool Updating()
{
    const char* psz = getenv("ZNC_GOLDEN_UPDATE");
    return psz && *psz && strcmp(psz, "0") != 0;
}

class Golden : public ::testing::TestWithParam<GoldenCase>
{
};

TEST_P(Golden, Matches)
{
    const GoldenCase& c = GetParam();
    Pixels actual;
    {
        Scene scene;
        c.setup(scene);
        actual = Capture(scene.host, c.bSettle);
        ReleaseCapture();
    }
    PumpMessages();
    ASSERT_GT(actual.Width() * actual.Height(), 0) << c.name << ": nothing to capture";
    if (Updating())
    {
        ASSERT_TRUE(actual.SavePng(Wide(GoldenPath(c.name)).c_str()))
            << "cannot write " << GoldenPath(c.name);
        return;
    }
    EXPECT_TRUE(MatchesGolden(c.name, actual));
}

INSTANTIATE_TEST_SUITE_P(Controls, Golden, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                             return info.param.name;
                         });

// The images hold the glyphs of DejaVu Sans and DejaVu Sans Bold (Debian's fonts-dejavu-core,
// which fontconfig brings along): a machine that has other fonts by that name, or synthesises
// the bold face, cannot reproduce them, and says so here rather than in a hundred mismatches.
TEST(GoldenSet, WritesWithTheFontsTheImagesWereMadeWith)
{
    const struct
    {
        int nWeight;
        const wchar_t* pszFullName;
    } faces[] = {{FW_NORMAL, L"DejaVu Sans"}, {FW_BOLD, L"DejaVu Sans Bold"}};
    nav::MemDC dc(nullptr);
    for (const auto& face : faces)
    {
        nav::Font font(MakeFont(18, kFace, face.nWeight));
        nav::SelectGuard select(dc, font);
        std::vector<BYTE> metrics(GetOutlineTextMetricsW(dc, 0, nullptr));
        ASSERT_FALSE(metrics.empty()) << "no outline font for " << face.nWeight;
        OUTLINETEXTMETRICW* potm = reinterpret_cast<OUTLINETEXTMETRICW*>(metrics.data());
        GetOutlineTextMetricsW(dc, static_cast<UINT>(metrics.size()), potm);
        const wchar_t* pszFull = reinterpret_cast<const wchar_t*>(
            metrics.data() + reinterpret_cast<UINT_PTR>(potm->otmpFullName));
        EXPECT_STREQ(face.pszFullName, pszFull) << "weight " << face.nWeight;
    }
}

// Every committed image belongs to a case: a renamed or dropped case must not leave an image
// that nothing checks any more.
TEST(GoldenSet, EveryImageHasACase)
{
    if (Updating())
        GTEST_SKIP() << "checked by the next comparing run";
    std::set<std::string> names;
    for (const GoldenCase& c : AllCases())
        EXPECT_TRUE(names.insert(c.name).second) << "two cases named " << c.name;
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA(WinePath(ZNC_GOLDEN_DIR "/*.png").c_str(), &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFind) << "no images in " ZNC_GOLDEN_DIR;
    do
    {
        std::string file = fd.cFileName;
        EXPECT_TRUE(names.count(file.substr(0, file.size() - 4)))
            << file << " has no case; delete it on purpose or restore its case";
    } while (FindNextFileA(hFind, &fd));
    FindClose(hFind);
}
} // namespace
