// CostTable.cpp - the operations counted for the cost table, and the floor of each: the one place
// that says what a paint's obligations need.
#include "CostTable.h"

#include "NavBitmapButton.h"
#include "NavCombobox.h"
#include "NavEdit.h"
#include "NavGroupBox.h"
#include "NavListCtrl.h"
#include "NavStatic.h"
#include "NavTestKit.h"
#include "StandIn.h"
#include "TestHost.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <sstream>

namespace navcost
{

long Cost::Calls() const
{
    long n = 0;
    for (const auto& call : calls)
        n += call.second;
    return n;
}

bool InProcess(const std::string& call)
{
    static const char* const kInProcess[] = {
        "malloc", "calloc", "realloc", "free", "memcpy", "memmove", "memset", "wcschr",
        "wcslen", "wsprintfW", "InterlockedCompareExchange", "InterlockedDecrement",
        "InterlockedIncrement", "GetCurrentThreadId", "GetLastError", "SetLastError", "SetRect",
        "PtInRect"};
    for (const char* psz : kInProcess)
        if (call == psz)
            return true;
    return false;
}

long Cost::SystemCalls() const
{
    long n = 0;
    for (const auto& call : calls)
        n += InProcess(call.first) ? 0 : call.second;
    return n;
}

namespace
{

// ---- The floor ----
//
// Every obligation below is a call into the system.
//
// What each obligation of a paint needs at least, in calls. A paint's floor is the sum of its
// obligations, each once, and the pixels of its artwork and of its copy to the screen.
struct Obligation
{
    const char* name;
    long nCalls;
};
// The window's paint: BeginPaint, EndPaint.
const Obligation kPaint = {"paint", 2};
// The background request to the parent: one SendMessageW (its place in the parent known).
const Obligation kBackground = {"background", 1};
// One artwork piece: one blend, blit or image list draw.
const Obligation kArtwork = {"artwork", 1};
// Text: the font selected and put back, its colour, transparent mode, DrawTextW.
const Obligation kText = {"text", 5};
// The text kept by the window, read from it: GetWindowTextW.
const Obligation kReadText = {"text read", 1};
// The copy of the composed picture to the screen: one BitBlt.
const Obligation kCopy = {"copy", 1};
// The native control's own paint or handling, through its procedure: CallWindowProcW.
const Obligation kNative = {"native", 1};
// One line drawn: MoveToEx, LineTo, with the pen selected and put back.
const Obligation kLine = {"line", 4};
// Artwork the control must load at each paint rather than keep, or loads at its first paint and
// keeps (the edit's frame, the combo box's arrow, the check box's icons): a bitmap resource with a DC to draw it from (LoadBitmapW, CreateCompatibleDC, SelectObject in and out, DeleteDC,
// DeleteObject); an image list (ImageList_LoadImageW, ImageList_Destroy); a PNG resource decoded
// into a DIB section (FindResourceW, LoadResource, LockResource, SizeofResource,
// CreateDIBSection, DeleteObject).
const Obligation kLoadBitmap = {"bitmap loaded", 6};
const Obligation kLoadImageList = {"image list loaded", 2};
const Obligation kLoadPng = {"PNG decoded", 6};

struct Need
{
    Obligation obligation;
    long nTimes;
    long nPixels; // each time
};

Need Once(Obligation o, long nPixels = 0)
{
    return Need{o, 1, nPixels};
}
Need Times(long n, Obligation o, long nPixels = 0)
{
    return Need{o, n, nPixels};
}

Floor FloorOf(const std::vector<Need>& needs)
{
    Floor floor;
    for (const Need& need : needs)
    {
        if (need.nTimes <= 0)
            continue;
        std::string name = need.obligation.name;
        if (need.nTimes > 1)
            name = std::to_string(need.nTimes) + " " + name;
        floor.obligations.push_back(name);
        floor.nCalls += need.obligation.nCalls * need.nTimes;
        floor.nPixels += need.nPixels * need.nTimes;
    }
    return floor;
}

// ---- Counting ----

Cost Count(const std::function<void()>& fn)
{
    StandInCountCalls(TRUE);
    fn();
    StandInCountCalls(FALSE);
    Cost cost;
    for (int i = 0; const char* pszName = StandInCallName(i); ++i)
        if (const long n = StandInCallCount(i))
            cost.calls[pszName] = n;
    StandInPixelCounts(&cost.nCopied, &cost.nFilled, &cost.nBlended);
    return cost;
}

void Repaint(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
}

// The window's paint and the children it brings along, flushed.
void Flush(HWND hwnd)
{
    UpdateWindow(hwnd);
    navtest::PumpMessages();
}

class Table
{
public:
    // An operation counted at once: the first paint.
    void First(const std::string& control, const std::string& op, const std::function<void()>& fn,
               Floor floor)
    {
        m_rows.push_back(Row{control, op, Count(fn), std::move(floor)});
    }
    // An operation done once untimed first (what it loads for good, it loads there), then
    // counted; undo, when given, runs after each time.
    void Again(const std::string& control, const std::string& op, const std::function<void()>& fn,
               Floor floor, const std::function<void()>& undo = nullptr)
    {
        fn();
        if (undo)
            undo();
        m_rows.push_back(Row{control, op, Count(fn), std::move(floor)});
        if (undo)
            undo();
    }
    std::vector<Row> Rows() { return std::move(m_rows); }

private:
    std::vector<Row> m_rows;
};

HFONT Font(int nHeight, int nWeight = FW_NORMAL)
{
    return navtest::MakeFont(nHeight, L"Tahoma", nWeight);
}

// ---- The controls ----

void Buttons(Table& table, HWND host, HFONT hCaption, HFONT hText)
{
    struct Kind
    {
        const char* name;
        ButtonType type;
        int cx, cy;
        const wchar_t* text;
        // The artwork pieces of a paint and their pixels: the push button's face (blended);
        // the check box's icon (drawn from its image list).
        long nArtPixels;
        long nImageListLoads; // the check box's icons, loaded at the first paint and kept
    } kinds[] = {{"push button 106x50", NAVBTN_PUSH, 106, 50, L"Start", 106 * 50, 0},
                 {"check box 180x34", NAVBTN_CHECK, 180, 34, L"Avoid tolls", 30 * 30, 1}};
    for (const Kind& kind : kinds)
    {
        CNavBitmapButton button;
        std::wstring text = kind.text;
        RECT rc = {20, 20, 20 + kind.cx, 20 + kind.cy};
        const long nArea = static_cast<long>(kind.cx) * kind.cy;
        button.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE, &text[0], rc, host, 1,
                      nullptr, kind.type, nullptr);
        button.SetFont(kind.type == NAVBTN_PUSH ? hCaption : hText);
        HWND hwnd = button.GetSafeHwnd();
        // The picture a paint composes: background, artwork, caption, one copy; the first paint
        // loads the icons the others draw from.
        const Floor first = FloorOf({Once(kPaint), Once(kBackground),
                                     Times(kind.nImageListLoads, kLoadImageList),
                                     Once(kArtwork, kind.nArtPixels), Once(kText),
                                     Once(kReadText), Once(kCopy, nArea)});
        const Floor paint = FloorOf({Once(kPaint), Once(kBackground),
                                     Once(kArtwork, kind.nArtPixels), Once(kText),
                                     Once(kReadText), Once(kCopy, nArea)});
        table.First(kind.name, "first paint", [&] { UpdateWindow(hwnd); }, first);
        table.Again(kind.name, "repaint", [&] { Repaint(hwnd); }, paint);
        navtest::Canvas parent(300, 120);
        table.Again(kind.name, "OnPaintEx", [&] { button.OnPaintEx(parent); },
                    FloorOf({Once(kBackground), Once(kArtwork, kind.nArtPixels), Once(kText),
                             Once(kReadText), Once(kCopy, nArea)}));
        // A tap: pressed and released, each shown once; the click told to the parent.
        table.Again(kind.name, "tap",
                    [&] {
                        navtest::SendTap(hwnd, kind.cx / 2, kind.cy / 2);
                        Flush(hwnd);
                    },
                    FloorOf({Times(2, kPaint), Times(2, kBackground),
                             Times(2, kArtwork, kind.nArtPixels), Times(2, kText),
                             Times(2, kReadText), Times(2, kCopy, nArea), Once(kNative)}));
    }
}

void Label(Table& table, HWND host, HFONT hText)
{
    const char* const name = "label 200x30";
    CNavStatic label;
    label.SetFont(hText);
    label.SetTextCr(RGB(20, 40, 90));
    RECT rc = {20, 20, 220, 50};
    wchar_t szText[] = L"Marina Bay  12:45";
    label.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, szText, rc,
                 host, 2, nullptr);
    HWND hwnd = label.GetSafeHwnd();
    const long nArea = 200 * 30;
    const Floor paint = FloorOf({Once(kPaint), Once(kBackground), Once(kText), Once(kReadText),
                                 Once(kCopy, nArea)});
    table.First(name, "first paint", [&] { UpdateWindow(hwnd); }, paint);
    table.Again(name, "repaint", [&] { Repaint(hwnd); }, paint);
    navtest::Canvas parent(300, 120);
    table.Again(name, "OnPaintEx", [&] { label.OnPaintEx(parent); },
                FloorOf({Once(kBackground), Once(kText), Once(kReadText), Once(kCopy, nArea)}));

    // A marquee's tick: the text moved on by one character and painted.
    CNavStatic marquee;
    marquee.SetFont(hText);
    marquee.SetIsAutoScroll(1);
    RECT rcMarquee = {20, 60, 220, 90};
    wchar_t szLong[] = L"Traffic: slow traffic on the ring road between exits 4 and 7";
    marquee.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, szLong,
                   rcMarquee, host, 3, nullptr);
    HWND hwndMarquee = marquee.GetSafeHwnd();
    UpdateWindow(hwndMarquee);
    table.Again("marquee label 200x30", "tick",
                [&] {
                    SendMessageW(hwndMarquee, WM_TIMER, 1, 0);
                    UpdateWindow(hwndMarquee);
                },
                paint);
}

void Edit(Table& table, HWND host, HFONT hText)
{
    const char* const name = "edit 200x36";
    CNavEdit edit;
    edit.SetFont(hText);
    RECT rc = {20, 20, 220, 56};
    wchar_t szText[] = L"Main Street 12";
    edit.Create(GetModuleHandleW(nullptr), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                szText, rc, host, 4, nullptr, 0);
    HWND hwnd = edit.GetSafeHwnd();
    RECT rcClient;
    GetClientRect(hwnd, &rcClient);
    const long nArea = rcClient.right * rcClient.bottom;
    // The frame's nine pieces (corners kept, edges and field stretched); the native edit draws
    // the text. The frame's bitmap is loaded at the first paint and kept for the others.
    const Floor first = FloorOf({Once(kPaint), Once(kBackground), Once(kLoadBitmap),
                                 Times(9, kArtwork, nArea / 9), Once(kNative), Once(kCopy, nArea)});
    const Floor paint = FloorOf({Once(kPaint), Once(kBackground), Times(9, kArtwork, nArea / 9),
                                 Once(kNative), Once(kCopy, nArea)});
    table.First(name, "first paint", [&] { UpdateWindow(hwnd); }, first);
    table.Again(name, "repaint", [&] { Repaint(hwnd); }, paint);
    navtest::Canvas parent(300, 120);
    table.Again(name, "OnPaintEx", [&] { edit.OnPaintEx(parent); },
                FloorOf({Once(kBackground), Times(9, kArtwork, nArea / 9), Once(kNative),
                         Once(kCopy, nArea)}));
    SetFocus(hwnd);
    Flush(hwnd);
    // A keystroke: the native edit takes the character (one message through the subclass) and
    // the field repaints once.
    table.Again(name, "keystroke",
                [&] {
                    SendMessageW(hwnd, WM_CHAR, L'x', 1);
                    Flush(hwnd);
                },
                FloorOf({Once(kNative), Once(kPaint), Once(kBackground),
                         Times(9, kArtwork, nArea / 9), Once(kNative), Once(kCopy, nArea)}),
                [&] {
                    SendMessageW(hwnd, WM_CHAR, VK_BACK, 1);
                    Flush(hwnd);
                });
    SetFocus(host);
    Flush(host);
}

void Combo(Table& table, HWND host, HFONT hText)
{
    const char* const name = "combo box 200x24";
    CNavCombobox combo;
    combo.SetFont(hText);
    RECT rc = {20, 20, 220, 150};
    combo.Create(GetModuleHandleW(nullptr), WS_VISIBLE, nullptr, rc, host, 5);
    for (const wchar_t* city : {L"Berlin", L"Hamburg", L"Munich", L"Cologne", L"Frankfurt"})
        combo.AddString(city);
    combo.SetCurSel(1);
    HWND hwnd = combo.GetSafeHwnd();
    RECT rcClient;
    GetClientRect(hwnd, &rcClient);
    const long nArea = rcClient.right * rcClient.bottom;
    // The native edit's text over the background, the arrow drawn, one copy. The arrow's bitmap
    // is loaded at the first paint and kept for the others.
    const Floor first = FloorOf({Once(kPaint), Once(kBackground), Once(kNative),
                                 Once(kLoadBitmap), Once(kArtwork, 24 * 22), Once(kCopy, nArea)});
    const Floor paint = FloorOf({Once(kPaint), Once(kBackground), Once(kNative),
                                 Once(kArtwork, 24 * 22), Once(kCopy, nArea)});
    table.First(name, "first paint", [&] { UpdateWindow(hwnd); }, first);
    table.Again(name, "repaint", [&] { Repaint(hwnd); }, paint);
    // Opening: the tap on the arrow shows the native list, which paints itself; the field
    // repaints once with its arrow pressed.
    table.Again(name, "open",
                [&] {
                    navtest::SendTap(hwnd, rcClient.right - 12, rcClient.bottom / 2);
                    Flush(hwnd);
                },
                FloorOf({Times(2, kNative), Once(kPaint), Once(kBackground), Once(kNative),
                         Once(kArtwork, 24 * 22), Once(kCopy, nArea)}),
                [&] {
                    // Escape where the open list's keys go: to the list, which has the focus.
                    SendMessageW(GetDlgItem(host, 5 + 1010), WM_KEYDOWN, VK_ESCAPE, 0);
                    Flush(host);
                });
}

void Group(Table& table, HWND host, HFONT hText)
{
    const char* const name = "group box 300x120";
    CNavGroupBox group;
    RECT rc = {20, 20, 320, 140};
    HBITMAP hbm = navtest::MakeSolidBitmap(300, 120, RGB(230, 236, 244));
    wchar_t szCaption[] = L"Route options";
    group.Create(GetModuleHandleW(nullptr), WS_VISIBLE | WS_CLIPCHILDREN, szCaption, rc, host, 6,
                 hbm);
    HWND hwnd = group.GetSafeHwnd();
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(hText), FALSE);
    const long nArea = 300 * 120;
    // Its bitmap copied beneath it, the caption.
    const Floor paint = FloorOf({Once(kPaint), Once(kArtwork, nArea), Once(kText), Once(kReadText)});
    table.First(name, "first paint", [&] { UpdateWindow(hwnd); }, paint);
    table.Again(name, "repaint", [&] { Repaint(hwnd); }, paint);
    DestroyWindow(hwnd);
    DeleteObject(hbm);
}

std::wstring CellText(int row, int sub)
{
    wchar_t sz[40];
    wsprintfW(sz, sub ? L"%02d km" : L"Destination %07d", sub ? row % 100 : row);
    return sz;
}

void List(Table& table, HWND host, HFONT hRow)
{
    const char* const name = "list 300x243, 8 rows";
    const int kCx = 300, kCy = 243, kCol0 = 170, kCol1 = 90;
    HIMAGELIST hImages = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
    for (COLORREF c : {RGB(220, 60, 40), RGB(40, 140, 220)})
    {
        HBITMAP hbm = navtest::MakeSolidBitmap(16, 16, c);
        ImageList_AddMasked(hImages, hbm, RGB(255, 0, 255));
        DeleteObject(hbm);
    }
    CNavListCtrl list;
    list.SetFont(hRow);
    list.SetCheckBox(1);
    list.SetImageList(hImages, nullptr, nullptr);
    RECT rc = {20, 20, 20 + kCx, 20 + kCy};
    list.Create(host, nullptr, rc, 7);
    HWND hList = list.GetSafeHwnd();
    SendMessageW(hList, LVM_SETCOLUMNWIDTH, 0, kCol0);
    LVCOLUMNW col = {};
    col.mask = LVCF_WIDTH | LVCF_FMT;
    col.cx = kCol1;
    col.fmt = LVCFMT_RIGHT;
    SendMessageW(hList, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&col));
    list.SetItemCount(100);
    for (int i = 0; i < 30; i += 3)
        list.SetCheckStatus(i, 1);
    list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    RECT rcClient;
    GetClientRect(hList, &rcClient);
    const int nRows = list.GetPageSize() + 1; // the last one cut off at the bottom
    const long cxRow = kCol0 + kCol1, cyRow = CNavListCtrl::FixLineHeight;
    const long nRowArea = cxRow * cyRow;
    // A row: its background, its check box and image, two cells of text, one copy.
    auto withRows = [&](std::vector<Need> needs, long nTimes) {
        for (const Need& need :
             {Times(nTimes, kBackground), Times(nTimes, kArtwork, 30 * 30),
              Times(nTimes, kArtwork, 16 * 16), Times(2 * nTimes, kText),
              Times(nTimes, kLine), Times(nTimes, kNative), Times(nTimes, kCopy, nRowArea)})
            needs.push_back(need);
        return FloorOf(needs);
    };
    // The list view paints through the native procedure and asks for each row.
    table.First(name, "first paint", [&] { Flush(hList); },
                withRows({Once(kNative), Once(kPaint)}, nRows));
    table.Again(name, "repaint", [&] { Repaint(hList); Flush(hList); },
                withRows({Once(kNative), Once(kPaint)}, nRows));
    table.Again(name, "a row",
                [&] {
                    ListView_RedrawItems(hList, 3, 3);
                    UpdateWindow(hList);
                },
                withRows({Once(kNative), Once(kPaint)}, 1));
    // A page, as the README's parent turns it: the list scrolls and paints its new rows; the
    // thumb moves (the scroll bar repaints).
    table.Again(name, "a page",
                [&] {
                    SendMessageW(hList, WM_VSCROLL, SB_PAGEDOWN, 0);
                    list.EnsureVisible(list.GetScrollPos(), 0);
                    Flush(hList);
                },
                withRows({Times(2, kNative), Once(kPaint)}, nRows),
                [&] {
                    SendMessageW(hList, WM_VSCROLL, SB_PAGEUP, 0);
                    list.EnsureVisible(list.GetScrollPos(), 0);
                    Flush(hList);
                });
    // A tap on a row: the selection moves from one row to another, both repainted.
    table.Again(name, "tap on a row",
                [&] {
                    navtest::SendTap(hList, 120, 4 * cyRow + cyRow / 2);
                    Flush(hList);
                },
                withRows({Times(2, kNative), Once(kPaint)}, 2),
                [&] {
                    list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED,
                                      LVIS_SELECTED | LVIS_FOCUSED);
                    Flush(hList);
                });
    HWND hBar = FindWindowExW(host, nullptr, L"STATIC", L"NavScrollBar");
    if (hBar)
    {
        RECT rcBar;
        GetClientRect(hBar, &rcBar);
        const long nBarArea = rcBar.right * rcBar.bottom;
        // The bar: its two PNGs decoded, background, its arrows and thumb, one copy.
        table.Again("list scroll bar 40x243", "repaint", [&] { Repaint(hBar); },
                    FloorOf({Once(kPaint), Once(kBackground), Times(2, kLoadPng),
                             Times(5, kArtwork), Once(kCopy, nBarArea)}));
    }
    list.Destroy();
    ImageList_Destroy(hImages);
}

} // namespace

std::vector<Row> MeasureAll()
{
    Table table;
    HFONT hCaption = Font(18, FW_BOLD), hText = Font(16), hRow = Font(14);
    {
        navtest::TestHost host(480, 320);
        host.hook = [&host](UINT msg, WPARAM, LPARAM lParam, LRESULT* pResult) {
            if (host.Messages().size() > 4096)
                host.Clear();
            return navtest::AnswerRowRequest(msg, lParam, CellText,
                                             [](int r) { return r % 2; }, pResult);
        };
        navtest::PumpMessages();
        Buttons(table, host, hCaption, hText);
        Label(table, host, hText);
        Edit(table, host, hText);
        Combo(table, host, hText);
        Group(table, host, hText);
        List(table, host, hRow);
    }
    DeleteObject(hCaption);
    DeleteObject(hText);
    DeleteObject(hRow);
    return table.Rows();
}

std::string TableText(const std::vector<Row>& rows)
{
    std::ostringstream out;
    out << "# control | operation | system calls | floor calls | calls | pixels copied, filled, "
           "blended | floor pixels | calls by name\n";
    for (const Row& row : rows)
    {
        out << row.control << " | " << row.op << " | " << row.cost.SystemCalls() << " | "
            << row.floor.nCalls << " | " << row.cost.Calls() << " | " << row.cost.nCopied << " " << row.cost.nFilled << " "
            << row.cost.nBlended << " | " << row.floor.nPixels << " |";
        for (const auto& call : row.cost.calls)
            out << " " << call.first << " " << call.second;
        out << "\n";
    }
    return out.str();
}

std::string TableDiff(const std::string& expected, const std::string& actual)
{
    auto lines = [](const std::string& text) {
        std::vector<std::string> v;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            if (!line.empty() && line[0] != '#')
                v.push_back(line);
        return v;
    };
    const std::vector<std::string> e = lines(expected), a = lines(actual);
    std::string diff;
    for (size_t i = 0; i < e.size() || i < a.size(); ++i)
    {
        const std::string* pe = i < e.size() ? &e[i] : nullptr;
        const std::string* pa = i < a.size() ? &a[i] : nullptr;
        if (pe && pa && *pe == *pa)
            continue;
        if (pe)
            diff += "- " + *pe + "\n";
        if (pa)
            diff += "+ " + *pa + "\n";
    }
    return diff;
}

} // namespace navcost
