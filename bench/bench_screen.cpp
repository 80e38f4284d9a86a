// bench_screen.cpp - a whole screen of 800 x 480, the gallery's mix of every control (push and
// push-on/push-off buttons, a group box with check boxes, radio buttons and a push button, a
// list with check boxes, images, two columns and its scroll bar, edits, a combo box, labels),
// against the same screen made of native controls of the same sizes and texts: one whole
// repaint, what a user waits for when a dialog opens or comes back to the front; then what
// each screen holds in memory once built and at most during one whole repaint.
//
// Both screens are children of one host, in the same place; the one measured is brought to the
// front before each of its blocks (untimed), so that neither repaint is clipped by the other.
// The memory of each screen is measured in a process of its own (this program, started again),
// so that neither inherits the other's heap.
#include "BenchUtil.h"

#include "CxImage.h"
#include "NavBitmapButton.h"
#include "NavCombobox.h"
#include "NavEdit.h"
#include "NavGroupBox.h"
#include "NavListCtrl.h"
#include "NavStatic.h"
#include "core/NavCore.h"
#include "hooks/NavTestHooks.h"
#include "platform/NavPlatform.h"
#include "resource.h"
#include "win32/NavGdi.h"

#include <stdio.h>
#include <string.h>
#include <winternl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace navbench;

namespace
{
const int kScreenCx = 800, kScreenCy = 480;
const COLORREF kKey = RGB(0xFF, 0x00, 0xFF);

// What both screens share, as an application would hold it: fonts, row images, the group box's
// picture and the screen's background (a bitmap of the screen's size). The application keeps
// the pictures it answers background requests from in memory DCs of its own: a DC made for
// each request and given a picture of the screen's size costs over ten microseconds under
// Wine, more than most of a control's paint. The group box is lent a copy of its picture,
// which it selects into a DC of its own at each paint.
struct Art
{
    Art()
        : hCaption(navtest::MakeFont(18, L"Tahoma", FW_BOLD)), hText(navtest::MakeFont(16)),
          hRow(navtest::MakeFont(14)), hImages(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0)),
          hBackground(Gradient(kScreenCx, kScreenCy, RGB(34, 44, 62), RGB(56, 70, 94))),
          hGroup(Gradient(460, 190, RGB(236, 241, 248), RGB(210, 220, 234))),
          hGroupForBox(Gradient(460, 190, RGB(236, 241, 248), RGB(210, 220, 234))),
          hBackgroundLoose(Gradient(kScreenCx, kScreenCy, RGB(34, 44, 62), RGB(56, 70, 94))),
          backgroundDc(nullptr), groupDc(nullptr), selectBackground(backgroundDc, hBackground),
          selectGroup(groupDc, hGroup)
    {
        for (COLORREF c : {RGB(220, 60, 40), RGB(40, 140, 220)})
        {
            nav::Bitmap bitmap(navtest::MakeSolidBitmap(16, 16, c));
            ImageList_AddMasked(hImages, bitmap, kKey);
        }
    }
    ~Art()
    {
        for (HGDIOBJ h : {static_cast<HGDIOBJ>(hCaption), static_cast<HGDIOBJ>(hText),
                          static_cast<HGDIOBJ>(hRow), static_cast<HGDIOBJ>(hGroupForBox),
                          static_cast<HGDIOBJ>(hBackgroundLoose)})
            DeleteObject(h);
        ImageList_Destroy(hImages);
    }

    // A screen-compatible bitmap with a vertical gradient from top to bottom.
    static HBITMAP Gradient(int cx, int cy, COLORREF top, COLORREF bottom)
    {
        nav::WindowDC screen(nullptr);
        HBITMAP hbm = CreateCompatibleBitmap(screen, cx, cy);
        nav::MemDC dc(screen);
        nav::SelectGuard select(dc, hbm);
        TRIVERTEX v[2] = {{0, 0, static_cast<COLOR16>(GetRValue(top) << 8),
                           static_cast<COLOR16>(GetGValue(top) << 8),
                           static_cast<COLOR16>(GetBValue(top) << 8), 0},
                          {cx, cy, static_cast<COLOR16>(GetRValue(bottom) << 8),
                           static_cast<COLOR16>(GetGValue(bottom) << 8),
                           static_cast<COLOR16>(GetBValue(bottom) << 8), 0}};
        GRADIENT_RECT gr = {0, 1};
        GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_V);
        return hbm;
    }

    HFONT hCaption, hText, hRow;
    HIMAGELIST hImages;
    nav::Bitmap hBackground, hGroup;
    HBITMAP hGroupForBox;
    HBITMAP hBackgroundLoose; // the same background, in no DC: for answers that make one

    nav::MemDC backgroundDc, groupDc;
    nav::SelectGuard selectBackground, selectGroup;
};

// Copies the part of a picture beneath rc (its coordinates) to (0, 0) of hdc.
void CopyBeneath(HDC hdc, HDC hdcPicture, const RECT& rc)
{
    BitBlt(hdc, 0, 0, rc.right - rc.left, rc.bottom - rc.top, hdcPicture, rc.left, rc.top,
           SRCCOPY);
}

// While set, our screen answers background requests as the README's group box sample does: a
// DC made for each request, the picture selected into it.
bool g_bDcPerRequest;

void CopyBeneathFromBitmap(HDC hdc, HBITMAP hbm, const RECT& rc)
{
    nav::MemDC dc(hdc);
    nav::SelectGuard select(dc, hbm);
    CopyBeneath(hdc, dc, rc);
}

// The screen window: its background from the bitmap, the controls' requests answered as the
// README's parent answers them (ours) or left to the defaults (native).
struct ScreenWindow
{
    HWND hwnd = nullptr;
    bool bOurs = false;
    HDC hdcBackground = nullptr;
    HBITMAP hbmBackground = nullptr; // the same picture, in no DC

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        ScreenWindow* p = reinterpret_cast<ScreenWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!p)
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        switch (msg)
        {
        case WM_ERASEBKGND:
        {
            RECT rc;
            GetClientRect(hwnd, &rc);
            CopyBeneath(reinterpret_cast<HDC>(wParam), p->hdcBackground, rc);
            return 1;
        }
        case WM_NAV_PAINTBKGND:
            if (wParam && lParam && g_bDcPerRequest)
                CopyBeneathFromBitmap(reinterpret_cast<HDC>(wParam), p->hbmBackground,
                                      *reinterpret_cast<RECT*>(lParam));
            else if (wParam && lParam)
                CopyBeneath(reinterpret_cast<HDC>(wParam), p->hdcBackground,
                            *reinterpret_cast<RECT*>(lParam));
            return 0;
        case WM_DRAWITEM:
            return SendMessageW(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem, msg, wParam,
                                lParam);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC:
            if (p->bOurs && IsChild(hwnd, reinterpret_cast<HWND>(lParam)))
                return SendMessageW(reinterpret_cast<HWND>(lParam), msg, wParam, lParam);
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = CNavListCtrl::FixLineHeight;
            return TRUE;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        }
    }

    void Create(HWND hwndParent, bool bOursScreen, HDC hdcPicture, HBITMAP hbmPicture)
    {
        bOurs = bOursScreen;
        hdcBackground = hdcPicture;
        hbmBackground = hbmPicture;
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZncBenchScreen";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0,
                               kScreenCx, kScreenCy, hwndParent, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
};

// The group box of our screen answers its buttons' background requests from its picture, as
// the README's group box procedure does.
WNDPROC g_pfnBoxProc;
HDC g_hdcBoxPicture;
HBITMAP g_hbmBoxPicture; // the box's own copy, in a DC only while the box paints

LRESULT CALLBACK GroupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NAV_PAINTBKGND)
    {
        if (wParam && lParam && g_bDcPerRequest)
            CopyBeneathFromBitmap(reinterpret_cast<HDC>(wParam), g_hbmBoxPicture,
                                  *reinterpret_cast<RECT*>(lParam));
        else if (wParam && lParam)
            CopyBeneath(reinterpret_cast<HDC>(wParam), g_hdcBoxPicture,
                        *reinterpret_cast<RECT*>(lParam));
        return 0;
    }
    if (msg == WM_COMMAND)
        return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
    return CallWindowProcW(g_pfnBoxProc, hwnd, msg, wParam, lParam);
}

// One control of the screen: where it stands, its text, its kind.
enum Kind
{
    kPush,
    kToggle,
    kCheck,
    kRadio,
    kEdit,
    kLabel,
    kLabelRight,
    kLabelWrapped
};

struct Item
{
    Kind kind;
    RECT rc;
    const wchar_t* text;
    bool bInGroup;
};

const RECT kGroupRect = {10, 130, 470, 320};
const RECT kListRect = {480, 10, 790, 253};
const RECT kComboRect = {480, 350, 680, 438}; // the edit 24 high, the list below it
const wchar_t* const kCities[] = {L"Berlin", L"Hamburg", L"Munich", L"Cologne", L"Frankfurt",
                                  L"Stuttgart"};

const Item kItems[] = {
    {kPush, {10, 10, 116, 60}, L"Route", false},
    {kPush, {124, 10, 230, 60}, L"Start", false},
    {kPush, {238, 10, 344, 60}, L"Stop", false},
    {kPush, {352, 10, 458, 60}, L"Home", false},
    {kToggle, {10, 70, 116, 120}, L"Voice on", false},
    {kToggle, {124, 70, 230, 120}, L"Voice off", false},
    {kPush, {238, 70, 392, 120}, L"Go home", false},
    {kCheck, {12, 26, 192, 60}, L"Avoid tolls", true},
    {kCheck, {12, 66, 192, 100}, L"Avoid ferries", true},
    {kCheck, {12, 106, 192, 140}, L"Avoid motorways", true},
    {kRadio, {196, 26, 376, 60}, L"Fastest", true},
    {kRadio, {196, 66, 376, 100}, L"Shortest", true},
    {kRadio, {196, 106, 376, 140}, L"Economical", true},
    {kPush, {378, 134, 456, 184}, L"Apply", true},
    {kEdit, {480, 264, 680, 300}, L"Main Street 12", false},
    {kEdit, {480, 306, 680, 342}, L"Berlin", false},
    {kLabel, {10, 330, 210, 360}, L"Destination", false},
    {kLabel, {220, 330, 470, 360}, L"Harbour Point", false},
    {kLabelRight, {10, 364, 210, 394}, L"12.4 km", false},
    {kLabel, {690, 264, 790, 294}, L"ETA 12:45", false},
    {kLabelWrapped, {10, 400, 470, 470},
     L"Labels draw over whatever their window shows beneath them, in any colour, underlined or "
     L"not, wrapped on words.",
     false},
};

std::wstring RowText(int row, int sub)
{
    static const wchar_t* const kPlaces[] = {L"Fuel station", L"Car park", L"Restaurant",
                                             L"Hotel", L"Hospital", L"Railway station"};
    wchar_t sz[64];
    if (sub)
        wsprintfW(sz, L"%d.%d km", 1 + row / 4, (row * 7) % 10);
    else
        wsprintfW(sz, L"%s %d", kPlaces[row % 6], row + 1);
    return sz;
}

const int kRows = 20;
const int kDistanceCx = 80;

// The screen of our controls.
struct OurScreen
{
    ScreenWindow screen;
    CNavGroupBox group;
    std::vector<std::unique_ptr<CNavBitmapButton>> buttons;
    std::vector<std::unique_ptr<CNavEdit>> edits;
    std::vector<std::unique_ptr<CNavStatic>> labels;
    CNavListCtrl list;
    CNavCombobox combo;

    void Build(HWND hwndHost, const Art& art)
    {
        HINSTANCE hInst = GetModuleHandleW(nullptr);
        screen.Create(hwndHost, true, art.backgroundDc, art.hBackgroundLoose);
        HWND hwnd = screen.hwnd;
        RECT rcGroup = kGroupRect;
        g_hdcBoxPicture = art.groupDc;
        g_hbmBoxPicture = art.hGroupForBox;
        group.Create(hInst, WS_VISIBLE | WS_CLIPCHILDREN, const_cast<wchar_t*>(L"Route options"),
                     rcGroup, hwnd, 300, art.hGroupForBox);
        HWND hwndGroup = group.GetSafeHwnd();
        SendMessageW(hwndGroup, WM_SETFONT, reinterpret_cast<WPARAM>(art.hText), FALSE);
        g_pfnBoxProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwndGroup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GroupProc)));
        UINT nId = 400;
        bool bFirstRadio = true;
        for (const Item& item : kItems)
        {
            RECT rc = item.rc;
            std::wstring text = item.text;
            HWND hwndParent = item.bInGroup ? hwndGroup : hwnd;
            switch (item.kind)
            {
            case kPush:
            case kToggle:
            case kCheck:
            case kRadio:
            {
                static const ButtonType types[] = {NAVBTN_PUSH, NAVBTN_TOGGLE, NAVBTN_CHECK,
                                                   NAVBTN_RADIO};
                buttons.emplace_back(new CNavBitmapButton);
                CNavBitmapButton& b = *buttons.back();
                DWORD dwStyle = WS_CHILD | WS_VISIBLE;
                if (item.kind == kRadio && bFirstRadio)
                    dwStyle |= WS_GROUP;
                bFirstRadio = bFirstRadio && item.kind != kRadio;
                b.Create(hInst, dwStyle, &text[0], rc, hwndParent, nId++, nullptr,
                         types[item.kind], nullptr);
                b.SetFont(item.kind == kPush || item.kind == kToggle ? art.hCaption : art.hText);
                if (text == L"Avoid tolls" || text == L"Shortest" || text == L"Voice on")
                    b.SetCheck(1);
                break;
            }
            case kEdit:
                edits.emplace_back(new CNavEdit);
                edits.back()->SetFont(art.hText);
                edits.back()->Create(hInst, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                                     &text[0], rc, hwnd, nId++, nullptr, 0);
                break;
            default:
            {
                labels.emplace_back(new CNavStatic);
                CNavStatic& l = *labels.back();
                l.SetFont(art.hText);
                l.SetTextCr(RGB(0xE8, 0xEE, 0xF6));
                const DWORD dwStyle = item.kind == kLabelRight     ? SS_RIGHT | 0x4
                                      : item.kind == kLabelWrapped ? SS_LEFT
                                                                   : SS_LEFTNOWORDWRAP;
                l.Create(hInst, WS_CHILD | WS_VISIBLE | dwStyle, &text[0], rc, hwnd, nId++,
                         nullptr);
                break;
            }
            }
        }

        list.SetFont(art.hRow);
        list.SetCheckBox(1);
        list.SetImageList(art.hImages, nullptr, nullptr);
        list.Create(hwnd, WS_VISIBLE | WS_BORDER, hInst, kListRect, 500);
        HWND hList = list.GetSafeHwnd();
        RECT rcClient;
        GetClientRect(hList, &rcClient);
        const int cxRow = rcClient.right - 42; // clear of the scroll bar
        const int cxSecond = kDistanceCx + 51;
        SendMessageW(hList, LVM_SETCOLUMNWIDTH, 0, cxRow - cxSecond);
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH;
        column.fmt = LVCFMT_RIGHT;
        column.cx = cxSecond;
        SendMessageW(hList, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
        for (int i = 0; i < kRows; ++i)
        {
            std::wstring text = RowText(i, 0);
            list.InsertItem(i, &text[0], i % 2, i);
            list.SetItemText(i, 1, RowText(i, 1).c_str());
            list.SetCheckStatus(i, i % 3 == 0);
        }
        list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list.Invalidate();

        combo.SetFont(art.hText);
        RECT rcCombo = kComboRect;
        combo.Create(hInst, WS_VISIBLE, nullptr, rcCombo, hwnd, 600);
        for (const wchar_t* city : kCities)
            combo.AddString(city);
        combo.SetCurSel(1);
    }

    ~OurScreen()
    {
        list.Destroy();
        if (IsWindow(screen.hwnd))
            DestroyWindow(screen.hwnd);
    }
};

// The same screen of native controls.
struct NativeScreen
{
    ScreenWindow screen;

    void Build(HWND hwndHost, const Art& art)
    {
        screen.Create(hwndHost, false, art.backgroundDc, art.hBackgroundLoose);
        HWND hwnd = screen.hwnd;
        HWND hwndGroup = NativeControl(L"BUTTON", BS_GROUPBOX, L"Route options", hwnd,
                                       kGroupRect, art.hText);
        bool bFirstRadio = true;
        for (const Item& item : kItems)
        {
            HWND hwndParent = item.bInGroup ? hwndGroup : hwnd;
            static const DWORD buttonStyles[] = {BS_PUSHBUTTON, BS_AUTOCHECKBOX | BS_PUSHLIKE,
                                                 BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON};
            HWND hwndItem = nullptr;
            switch (item.kind)
            {
            case kPush:
            case kToggle:
            case kCheck:
            case kRadio:
            {
                DWORD dwStyle = buttonStyles[item.kind];
                if (item.kind == kRadio && bFirstRadio)
                    dwStyle |= WS_GROUP;
                bFirstRadio = bFirstRadio && item.kind != kRadio;
                hwndItem = NativeControl(L"BUTTON", dwStyle, item.text, hwndParent, item.rc,
                                         item.kind == kPush || item.kind == kToggle
                                             ? art.hCaption
                                             : art.hText);
                if (!lstrcmpW(item.text, L"Avoid tolls") || !lstrcmpW(item.text, L"Shortest") ||
                    !lstrcmpW(item.text, L"Voice on"))
                    SendMessageW(hwndItem, BM_SETCHECK, BST_CHECKED, 0);
                break;
            }
            case kEdit:
                NativeControl(L"EDIT", WS_BORDER | ES_AUTOHSCROLL, item.text, hwnd, item.rc,
                              art.hText);
                break;
            default:
            {
                const DWORD dwStyle = item.kind == kLabelRight     ? SS_RIGHT | 0x4
                                      : item.kind == kLabelWrapped ? SS_LEFT
                                                                   : SS_LEFTNOWORDWRAP;
                NativeControl(L"STATIC", dwStyle, item.text, hwnd, item.rc, art.hText);
                break;
            }
            }
        }

        const int cxRow = kListRect.right - kListRect.left - 42;
        const int cxSecond = kDistanceCx + 51;
        HWND hList = NativeReportList(hwnd, kListRect, LVS_SHOWSELALWAYS, art.hImages,
                                      cxRow - cxSecond, cxSecond, art.hRow);
        FillNativeRows(hList, kRows, RowText);

        HWND hCombo = NativeControl(L"COMBOBOX", CBS_DROPDOWN | WS_VSCROLL, L"", hwnd,
                                    kComboRect, art.hText);
        SendMessageW(hCombo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 22);
        for (const wchar_t* city : kCities)
            SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(city));
        SendMessageW(hCombo, CB_SETCURSEL, 1, 0);
    }

    ~NativeScreen()
    {
        if (IsWindow(screen.hwnd))
            DestroyWindow(screen.hwnd);
    }
};

// Repaints a screen and everything on it, as when a dialog comes back to the front.
void RepaintScreen(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Shows one screen in front of the other, hides the other behind it, and lets every pending
// paint happen.
void BringToFront(HWND hwndShow, HWND hwndHide)
{
    SetWindowPos(hwndShow, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    if (hwndHide)
        ShowWindow(hwndHide, SW_HIDE);
    RedrawWindow(hwndShow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    navtest::PumpMessages();
}

// ---- Memory ----

// Live GDI objects of the process: what GetGuiResources answers, or, where it is a stub that
// answers 0 (Wine), the entries in use in the process's GDI handle table, which the process
// environment block points to (under Wine the table is the process's own).
long GdiObjects()
{
    const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n)
        return static_cast<long>(n);
    struct HandleEntry // the table's layout: 24 bytes an entry at both word sizes
    {
        unsigned long long object;
        unsigned owner;
        unsigned short unique;
        unsigned char type;
        unsigned char flags;
        unsigned long long user;
    };
    typedef LONG(WINAPI * QueryProcess)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const QueryProcess pfnQuery = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info = {};
    if (!pfnQuery || pfnQuery(GetCurrentProcess(), ProcessBasicInformation, &info,
                              sizeof(info), nullptr) != 0 || !info.PebBaseAddress)
        return -1;
    const BYTE* pPeb = reinterpret_cast<const BYTE*>(info.PebBaseAddress);
    const HandleEntry* pTable = *reinterpret_cast<HandleEntry* const*>(
        pPeb + (sizeof(void*) == 8 ? 0xF8 : 0x94)); // GdiSharedHandleTable
    if (!pTable)
        return -1;
    long nLive = 0;
    for (int i = 0; i < 0x10000; ++i)
        nLive += pTable[i].type != 0;
    return nLive;
}

struct Memory
{
    long long bytes = 0; // committed private bytes
    long gdi = 0;        // live GDI objects

    static Memory Now() { return Memory{static_cast<long long>(PrivateBytes()), GdiObjects()}; }
    Memory operator-(const Memory& o) const { return Memory{bytes - o.bytes, gdi - o.gdi}; }
    Memory operator+(const Memory& o) const { return Memory{bytes + o.bytes, gdi + o.gdi}; }
    void Max(const Memory& o)
    {
        bytes = std::max(bytes, o.bytes);
        gdi = std::max(gdi, o.gdi);
    }
};

// The most seen at any message sent or returned in this thread while the hook is on.
Memory g_peak;

LRESULT CALLBACK SampleAtMessage(int nCode, WPARAM wParam, LPARAM lParam)
{
    g_peak.Max(Memory::Now());
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// What one load of an artwork holds while a paint uses it (the load, and a DC to draw from
// where the paint makes one).
template <class Load> Memory HeldBy(Load load)
{
    const Memory before = Memory::Now();
    Memory held;
    load([&] { held = Memory::Now() - before; });
    return held;
}

struct ArtworkHeld
{
    const char* name;
    Memory memory;
};

std::vector<ArtworkHeld> PerPaintArtwork()
{
    HINSTANCE hModule = GetModuleInstance();
    auto bitmap = [hModule](WORD wId) {
        return [hModule, wId](const std::function<void()>& sample) {
            nav::Bitmap bm(nav::LoadBitmapResource(hModule, wId));
            nav::MemDC dc(nullptr);
            nav::SelectGuard select(dc, bm);
            sample();
        };
    };
    return {
        {"check and radio icons (image list)",
         HeldBy([hModule](const std::function<void()>& sample) {
             nav::ImageList icons(nav::LoadImageListResource(hModule, IDB_CHECK_RADIO, 30, kKey));
             sample();
         })},
        {"edit frame (bitmap 212x36)", HeldBy(bitmap(IDB_EDIT_FRAME))},
        {"combo arrow (bitmap 24x22)", HeldBy(bitmap(IDB_COMBO_ARROW))},
        {"scroll bar strip (PNG 40x480, decoded)",
         HeldBy([hModule](const std::function<void()>& sample) {
             CxImage image;
             image.LoadPNGFromResource(hModule, IDP_SCROLLBAR);
             sample();
         })},
    };
}

// The memory child: builds one screen, paints it, and prints what it holds.
int MeasureMemory(bool bOurs)
{
    Prepare();
    navtest::TestHost host(kScreenCx, kScreenCy);
    Art art;
    navtest::PumpMessages();
    const Memory base = Memory::Now();
    std::unique_ptr<OurScreen> ours;
    std::unique_ptr<NativeScreen> native;
    HWND hwnd = nullptr;
    if (bOurs)
    {
        ours.reset(new OurScreen);
        ours->Build(host, art);
        hwnd = ours->screen.hwnd;
    }
    else
    {
        native.reset(new NativeScreen);
        native->Build(host, art);
        hwnd = native->screen.hwnd;
    }
    BringToFront(hwnd, nullptr);
    RepaintScreen(hwnd);
    navtest::PumpMessages();
    const Memory built = Memory::Now() - base;

    g_peak = Memory::Now();
    HHOOK hSent = SetWindowsHookExW(WH_CALLWNDPROC, SampleAtMessage, nullptr, GetCurrentThreadId());
    HHOOK hReturned =
        SetWindowsHookExW(WH_CALLWNDPROCRET, SampleAtMessage, nullptr, GetCurrentThreadId());
    RepaintScreen(hwnd);
    UnhookWindowsHookEx(hSent);
    UnhookWindowsHookEx(hReturned);
    Memory peak = g_peak - base;

    printf("built %lld %ld\n", built.bytes, built.gdi);
    printf("sampled %lld %ld\n", peak.bytes, peak.gdi);
    if (bOurs)
    {
        // The artwork a paint loads lives between two messages; what the largest holds is
        // measured alone and added to what the screen holds.
        for (const ArtworkHeld& a : PerPaintArtwork())
            printf("artwork %lld %ld %s\n", a.memory.bytes, a.memory.gdi, a.name);
        BITMAP bm = {};
        GetObjectW(NavSharedBarBitmap(), sizeof(bm), &bm);
        long long shared = static_cast<long long>(bm.bmWidthBytes) * bm.bmHeight;
        long nShared = 1;
        for (BOOL bLarge : {FALSE, TRUE})
            if (CxImage* pFace = NavSharedFace(bLarge))
                shared += 4LL * pFace->GetWidth() * 50; // faces are 50 pixels high
        printf("shared %lld %ld\n", shared, nShared);
    }
    fflush(stdout);
    return 0;
}

// Runs this program again to measure one screen's memory; its lines, or none on failure.
std::vector<std::string> MemoryOf(bool bOurs)
{
    wchar_t szPath[MAX_PATH];
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(szPath) + L"\" --memory " + (bOurs ? L"ours" : L"native");
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE hRead = nullptr, hWrite = nullptr;
    if (!CreatePipe(&hRead, &hWrite, &sa, 0))
        return {};
    SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = hWrite;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    const BOOL bStarted = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0,
                                         nullptr, nullptr, &si, &pi);
    CloseHandle(hWrite);
    std::string out;
    if (bStarted)
    {
        char buf[4096];
        DWORD n = 0;
        while (ReadFile(hRead, buf, sizeof(buf), &n, nullptr) && n)
            out.append(buf, n);
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(hRead);
    std::vector<std::string> lines;
    for (size_t start = 0; start < out.size();)
    {
        size_t end = out.find('\n', start);
        if (end == std::string::npos)
            end = out.size();
        std::string line = out.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The numbers of the line that starts with key ("key bytes gdi [name]").
bool Find(const std::vector<std::string>& lines, const char* key, Memory* pMemory)
{
    for (const std::string& line : lines)
    {
        long long bytes = 0;
        long gdi = 0;
        const size_t n = strlen(key);
        if (line.compare(0, n, key) == 0 && line.size() > n && line[n] == ' ' &&
            sscanf(line.c_str() + n, "%lld %ld", &bytes, &gdi) == 2)
        {
            *pMemory = Memory{bytes, gdi};
            return true;
        }
    }
    return false;
}

// The memory of both screens, each measured in a process of its own; what one copy of each
// kind of artwork a paint loads holds goes to *pArtwork, in PerPaintArtwork's order.
int ReportMemory(std::vector<Memory>* pArtwork)
{
    const std::vector<std::string> ours = MemoryOf(true), native = MemoryOf(false);
    Memory oursBuilt, oursSampled, shared, nativeBuilt, nativeSampled;
    if (!Find(ours, "built", &oursBuilt) || !Find(ours, "sampled", &oursSampled) ||
        !Find(ours, "shared", &shared) || !Find(native, "built", &nativeBuilt) ||
        !Find(native, "sampled", &nativeSampled))
    {
        printf("\nmemory: the measuring processes gave no figures\n");
        return 1;
    }
    Memory largest;
    std::string largestBytesName, largestGdiName;
    printf("\n== the artwork one paint loads, held alone (bytes committed, GDI objects) ==\n");
    for (const std::string& line : ours)
    {
        long long bytes = 0;
        long gdi = 0;
        int nName = 0;
        if (sscanf(line.c_str(), "artwork %lld %ld %n", &bytes, &gdi, &nName) == 2 && nName)
        {
            printf("%-50s %10lld %8ld\n", line.c_str() + nName, bytes, gdi);
            pArtwork->push_back(Memory{bytes, gdi});
            if (bytes > largest.bytes)
                largestBytesName = line.c_str() + nName;
            if (gdi > largest.gdi)
                largestGdiName = line.c_str() + nName;
            largest.Max(Memory{bytes, gdi});
        }
    }
    // A paint's artwork is freed before the next paint starts: the most held at once is what
    // the screen holds, the buffer of the paint under way and the largest artwork of one paint.
    Memory oursPeak = oursSampled;
    oursPeak.Max(oursBuilt + largest);
    // The allowance: the shared images (loaded when the library is, before either screen) and
    // one paint buffer at its largest, a DIB section and its DC.
    const Memory buffer{4LL * nav::PaintBuffer::kMaxKeptPixels, 2};
    const Memory allowance = shared + buffer;

    int missed = 0;
    printf("\n== whole screen 800x480: memory, ours against the native screen ==\n");
    printf("%-50s %14s %12s %16s\n", "case", "bytes", "GDI objects", "target");
    auto row = [&](const char* name, const Memory& m, const Memory* pLimit) {
        char szTarget[64] = "";
        if (pLimit)
        {
            const bool bMiss = m.bytes > pLimit->bytes || m.gdi > pLimit->gdi;
            missed += bMiss;
            snprintf(szTarget, sizeof(szTarget), "%s%lld / %ld", bMiss ? "MISS<=" : "ok<=",
                     pLimit->bytes, pLimit->gdi);
        }
        printf("%-50s %14lld %12ld %16s\n", name, m.bytes, m.gdi, szTarget);
    };
    row("native screen, built", nativeBuilt, nullptr);
    row("native screen, peak during one whole repaint", nativeSampled, nullptr);
    row("shared images (loaded with the library)", shared, nullptr);
    row("one paint buffer at its largest", buffer, nullptr);
    const Memory builtLimit = nativeBuilt + allowance;
    Memory peakLimit = nativeSampled + allowance;
    row("ours, built (the shared images not in it)", oursBuilt, nullptr);
    const Memory oursBuiltAll = oursBuilt + shared;
    row("ours, built, with the shared images", oursBuiltAll, &builtLimit);
    row("ours, peak during one whole repaint, sampled", oursSampled, nullptr);
    const Memory oursPeakAll = oursPeak + shared;
    row("ours, peak (and the largest artwork), with shared", oursPeakAll, &peakLimit);
    printf("(peaks are sampled at every message sent in the repaint; artwork a paint loads and "
           "frees between two messages is added from its own measurement: the largest bytes "
           "are the %s, the most GDI objects the %s)\n",
           largestBytesName.c_str(), largestGdiName.c_str());
    fflush(stdout);
    return missed;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && !strcmp(argv[1], "--memory"))
        return MeasureMemory(!strcmp(argv[2], "ours"));

    Stage stage(kScreenCx, kScreenCy);
    Art art;
    OurScreen ours;
    NativeScreen native;
    native.Build(stage.host, art);
    ours.Build(stage.host, art);
    const HWND hwndOurs = ours.screen.hwnd, hwndNative = native.screen.hwnd;
    BringToFront(hwndNative, hwndOurs);
    BringToFront(hwndOurs, hwndNative);

    Group g;
    const int iOurs = g.Add([&] { RepaintScreen(hwndOurs); },
                            [&] { BringToFront(hwndOurs, hwndNative); });
    const int iNative = g.Add([&] { RepaintScreen(hwndNative); },
                              [&] { BringToFront(hwndNative, hwndOurs); });
    g.Run();
    int missed = PrintTable(
        "whole screen 800x480, every control (window repaint) against the same screen of "
        "native controls",
        {Plain("native screen", g, iNative),
         Against("our screen", g, iOurs, "native screen", iNative, 1.10)});

    // The same screen when the application makes a DC for each background request, as the
    // README's group box sample does (not a target: the application's cost, not the library's).
    Group naive;
    const int iNaive = naive.Add([&] { RepaintScreen(hwndOurs); },
                                 [&] {
                                     g_bDcPerRequest = true;
                                     BringToFront(hwndOurs, hwndNative);
                                 });
    const int iNaiveNative = naive.Add([&] { RepaintScreen(hwndNative); },
                                       [&] {
                                           g_bDcPerRequest = false;
                                           BringToFront(hwndNative, hwndOurs);
                                       });
    naive.Run();
    g_bDcPerRequest = false;
    PrintTable("the same, the background answered from a DC made for each request",
               {Plain("native screen", naive, iNaiveNative),
                Against("our screen, a DC made for each background request", naive, iNaive,
                        "native screen", iNaiveNative)});

    std::vector<Memory> artwork;
    missed += ReportMemory(&artwork);

    // What keeping each kind of artwork between paints would change (it is not kept: the
    // paints load it each time): the loads one screen repaint would not make, and one copy of
    // the artwork held instead.
    HINSTANCE hModule = GetModuleInstance();
    Group loads;
    struct Kept
    {
        const char* name;
        int nLoads; // on this screen, at each whole repaint
        int iCase;
    };
    const Kept kept[] = {
        {"check and radio icons (image list)", 6,
         loads.Add([&] {
             ImageList_Destroy(nav::LoadImageListResource(hModule, IDB_CHECK_RADIO, 30, kKey));
         })},
        {"edit frame (bitmap 212x36)", 2,
         loads.Add([&] { DeleteObject(nav::LoadBitmapResource(hModule, IDB_EDIT_FRAME)); })},
        {"combo arrow (bitmap 24x22)", 1,
         loads.Add([&] { DeleteObject(nav::LoadBitmapResource(hModule, IDB_COMBO_ARROW)); })},
        {"scroll bar strip (PNG 40x480, decoded)", 1, loads.Add([&] {
             CxImage image;
             image.LoadPNGFromResource(hModule, IDP_SCROLLBAR);
         })},
    };
    loads.Run();
    const double usScreen = g.Micros(iOurs);
    printf("\n== one artwork kept between paints (not done): what it would change ==\n");
    printf("%-40s %6s %9s %12s %8s %10s %5s\n", "artwork", "loads", "us/load", "us/repaint",
           "share", "bytes held", "GDI");
    for (size_t i = 0; i < sizeof(kept) / sizeof(kept[0]); ++i)
    {
        const double us = loads.Micros(kept[i].iCase);
        const Memory held = i < artwork.size() ? artwork[i] : Memory();
        printf("%-40s %6d %9.1f %12.1f %7.1f%% %10lld %5ld\n", kept[i].name, kept[i].nLoads,
               us, us * kept[i].nLoads, 100.0 * us * kept[i].nLoads / usScreen, held.bytes,
               held.gdi);
    }
    fflush(stdout);
    return Finish(missed);
}
