// BenchUtil.h - timing for the benchmark programs.
//
// A machine shared with compilers (and Wine's server, which every window call waits on) makes
// single timings worthless: a case measured a second later sees another machine. So the cases
// that are compared are measured side by side, in rounds of short alternating blocks (A, B,
// A, B ...); each round gives one ratio, and a comparison reports the median of the rounds'
// ratios with its interquartile range. A busy spell of the machine spoils a block or a round,
// which the minimum within the round and the median across rounds leave out.
//
// In-process work (composition into a memory DC, loads, decodes) and window repaints (which
// go through the server) are measured in separate groups, so that the one does not take on the
// other's noise.
#pragma once

#include "TestHost.h"
#include "core/NavCompose.h"
#include "win32/NavGdi.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace navbench
{

inline double NowSeconds()
{
    static LARGE_INTEGER s_freq;
    if (!s_freq.QuadPart)
        QueryPerformanceFrequency(&s_freq);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(s_freq.QuadPart);
}

// Keeps the process on one processor: under Wine a thread that wanders between processors
// while it waits on the server pays for cold caches at every move. The last processor is
// taken, the first being the one the system's own work favours.
inline void PinToOneProcessor()
{
    DWORD_PTR dwProcess = 0, dwSystem = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &dwProcess, &dwSystem) || !dwProcess)
        return;
    DWORD_PTR dwOne = 1;
    for (DWORD_PTR m = dwProcess; m >>= 1;)
        dwOne <<= 1;
    while (!(dwOne & dwProcess))
        dwOne >>= 1;
    SetProcessAffinityMask(GetCurrentProcess(), dwOne);
    SetThreadAffinityMask(GetCurrentThread(), dwOne);
}

// The median and the quartiles of a sample (by linear interpolation).
struct Spread
{
    double median = 0, q1 = 0, q3 = 0;
    // Half the interquartile range relative to the median, in per cent.
    double HalfIqrPercent() const { return median > 0 ? 50.0 * (q3 - q1) / median : 0; }
};

inline Spread SpreadOf(std::vector<double> v)
{
    Spread s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    auto at = [&v](double q) {
        const double pos = q * static_cast<double>(v.size() - 1);
        const size_t i = static_cast<size_t>(pos);
        const double f = pos - static_cast<double>(i);
        return i + 1 < v.size() ? v[i] * (1 - f) + v[i + 1] * f : v[i];
    };
    s.median = at(0.5);
    s.q1 = at(0.25);
    s.q3 = at(0.75);
    return s;
}

// How long each part of a group's measurement lasts.
struct Timing
{
    double warmSeconds = 0.03;     // per case, before anything counts
    double blockSeconds = 0.0003;  // one block of one case: short enough to run undisturbed
    int blocksPerRound = 9;        // blocks of each case per round, in turns
    int rounds = 81;               // odd: the median is one round's
};

// Cases measured together, in turns. Within a round every case runs several short blocks,
// taking turns (A, B, A, B ...); a case's time in that round is its quickest block, since a
// block that the system interrupted only ever comes out slower. Add the cases, Run, then read
// each case's microseconds per call and the ratio of any two (the median of the rounds'
// ratios, with its quartiles).
class Group
{
public:
    explicit Group(Timing timing = Timing()) : m_timing(timing) {}

    // A case; enter, when given, runs untimed before each block of the case that follows a
    // block of another (to bring the case's window to the front, say).
    int Add(std::function<void()> fn, std::function<void()> enter = nullptr)
    {
        m_cases.push_back(Case{std::move(fn), std::move(enter), 1, {}});
        return static_cast<int>(m_cases.size() - 1);
    }

    void Run()
    {
        for (Case& c : m_cases)
            Calibrate(c);
        const size_t n = m_cases.size();
        std::vector<double> best(n);
        for (int round = 0; round < m_timing.rounds; ++round)
        {
            std::fill(best.begin(), best.end(), 1e30);
            for (int block = 0; block < m_timing.blocksPerRound; ++block)
                for (size_t k = 0; k < n; ++k) // each round starts with the next case
                {
                    const size_t i = (k + static_cast<size_t>(round)) % n;
                    Enter(i);
                    best[i] = std::min(best[i], Block(m_cases[i]));
                }
            for (size_t i = 0; i < n; ++i)
                m_cases[i].us.push_back(best[i]);
        }
    }

    // Microseconds per call: the median round.
    double Micros(int i) const { return SpreadOf(m_cases[i].us).median; }

    // Case i against case j, round by round.
    Spread Ratio(int i, int j) const { return RatioToSum(i, {j}); }

    // Microseconds of the cases js together: the median round's sum.
    double SumMicros(const std::vector<int>& js) const { return SpreadOf(Sums(js)).median; }

    // Case i against the sum of the cases js, round by round.
    Spread RatioToSum(int i, const std::vector<int>& js) const
    {
        std::vector<double> r;
        const std::vector<double>& a = m_cases[i].us;
        const std::vector<double> b = Sums(js);
        for (size_t k = 0; k < a.size() && k < b.size(); ++k)
            r.push_back(b[k] > 0 ? a[k] / b[k] : 0);
        return SpreadOf(r);
    }

private:
    std::vector<double> Sums(const std::vector<int>& js) const
    {
        std::vector<double> sums(m_cases[js.front()].us.size(), 0.0);
        for (int j : js)
            for (size_t k = 0; k < sums.size() && k < m_cases[j].us.size(); ++k)
                sums[k] += m_cases[j].us[k];
        return sums;
    }

    struct Case
    {
        std::function<void()> fn;
        std::function<void()> enter;
        long nCalls; // calls per block
        std::vector<double> us;
    };

    void Enter(size_t i)
    {
        if (m_entered == i)
            return;
        m_entered = i;
        if (m_cases[i].enter)
            m_cases[i].enter();
    }

    static double Block(Case& c)
    {
        const double start = NowSeconds();
        for (long i = 0; i < c.nCalls; ++i)
            c.fn();
        return (NowSeconds() - start) * 1e6 / static_cast<double>(c.nCalls);
    }

    // Warms the case up (caches, lazily made surfaces, the server's tables) and picks the
    // number of calls that fills one block, from the quickest of several trial blocks.
    void Calibrate(Case& c)
    {
        Enter(static_cast<size_t>(&c - m_cases.data()));
        c.nCalls = 1;
        double usBest = 1e30;
        const double until = NowSeconds() + m_timing.warmSeconds;
        do
            usBest = std::min(usBest, Block(c));
        while (NowSeconds() < until);
        const double calls = m_timing.blockSeconds * 1e6 / usBest;
        c.nCalls = calls < 1 ? 1 : calls > 1e6 ? 1000000 : static_cast<long>(calls);
    }

    Timing m_timing;
    std::vector<Case> m_cases;
    size_t m_entered = static_cast<size_t>(-1);
};

// Repaints a window fully and synchronously: invalidate (with erase) and update.
inline void Repaint(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// One line of a table: a case, and optionally its ratio against a baseline of the same group.
struct Row
{
    std::string name;
    double us;
    std::string baseline; // empty: no ratio
    Spread ratio;
    double target; // 0: none; otherwise the ratio should stay at or below it
};

inline Row Plain(const std::string& name, const Group& g, int i)
{
    return Row{name, g.Micros(i), "", Spread(), 0};
}

inline Row Against(const std::string& name, const Group& g, int i, const std::string& baseline,
                   int j, double target = 0)
{
    return Row{name, g.Micros(i), baseline, g.Ratio(i, j), target};
}

// One case against a baseline, measured as a group of their own.
inline Row Compared(const std::string& name, std::function<void()> fn,
                    const std::string& baseline, std::function<void()> fnBaseline)
{
    Group g;
    const int i = g.Add(std::move(fn));
    const int j = g.Add(std::move(fnBaseline));
    g.Run();
    return Against(name, g, i, baseline, j);
}

// The baseline of a comparison: the name of its own row, the name the compared row gives it,
// and what it runs.
struct Baseline
{
    std::string row;
    std::string cited;
    std::function<void()> fn;
};

// A case against its baseline, measured as a group of their own: the baseline's row, then the
// case's with its ratio and target.
inline std::vector<Row> Paired(const std::string& name, std::function<void()> fn,
                               const Baseline& baseline, double target,
                               Timing timing = Timing())
{
    Group g(timing);
    const int i = g.Add(std::move(fn));
    const int j = g.Add(baseline.fn);
    g.Run();
    return {Plain(baseline.row, g, j), Against(name, g, i, baseline.cited, j, target)};
}

// A control's window repaint against its native baseline's (Paired).
inline std::vector<Row> RepaintAgainst(const std::string& name, HWND hwnd,
                                       const std::string& baselineRow,
                                       const std::string& baseline, HWND hwndBaseline,
                                       double target)
{
    return Paired(name, [hwnd] { Repaint(hwnd); },
                  {baselineRow, baseline, [hwndBaseline] { Repaint(hwndBaseline); }}, target);
}

// One piece of a paint: a step the paint must do, done alone the way the paint does it.
struct Piece
{
    std::string name;
    std::function<void()> fn;
};

// The picture a paint composes in, as every control gets it: the buffer the library keeps
// between paints lent to it (its DC's state saved, clipped to the paint's size), cleared to
// black or filled with the paint's first colour, and its state put back at the end. Making a
// new DC and bitmap instead costs more (bench_static shows both).
inline Piece LentPicture(HDC hdcTarget, int cx, int cy, HBRUSH hbrFirst = nullptr)
{
    const char* pszName = hbrFirst ? "picture lent, filled with its colour, put back"
                                   : "picture lent, cleared, put back";
    return Piece{pszName, [=] { nav::PaintBuffer buffer(hdcTarget, cx, cy, hbrFirst); }};
}

// The background request as a paint makes it: the control's place in its parent found, then
// WM_NAV_PAINTBKGND sent with that rectangle and hdc.
inline Piece BackgroundRequest(HWND hwnd, HDC hdc)
{
    return Piece{"background request, with the place in the parent", [=] {
                     nav::PaintParentBeneath(hwnd, hdc, nav::WindowRectInParent(hwnd));
                 }};
}

// A composition beside the pieces its paint must do, all measured in one group: a row per
// piece, their sum, the pieces done one after another as the paint does them, and the
// composition against the sum round by round. What the ratio has above 1 is time spent on none
// of the pieces; what the pieces one after another take above their sum is the cost of doing
// them together (caches and the platform's own tables shared between them), which no piece
// alone shows.
inline std::vector<Row> AgainstPieces(const std::string& name, std::function<void()> fn,
                                      const std::vector<Piece>& pieces, double target,
                                      Timing timing = Timing())
{
    Group g(timing);
    const int i = g.Add(std::move(fn));
    std::vector<int> js;
    for (const Piece& piece : pieces)
        js.push_back(g.Add(piece.fn));
    const int together = g.Add([&pieces] {
        for (const Piece& piece : pieces)
            piece.fn();
    });
    g.Run();
    std::vector<Row> rows;
    for (size_t k = 0; k < pieces.size(); ++k)
        rows.push_back(Plain("  " + pieces[k].name, g, js[k]));
    rows.push_back(Row{"  sum of the pieces", g.SumMicros(js), "", Spread(), 0});
    rows.push_back(Row{"  the pieces one after another", g.Micros(together), "sum of its pieces",
                       g.RatioToSum(together, js), 0});
    rows.push_back(Row{name, g.Micros(i), "sum of its pieces", g.RatioToSum(i, js), target});
    return rows;
}

// The rows of several comparisons, in order, for one table.
inline std::vector<Row> Joined(std::initializer_list<std::vector<Row>> parts)
{
    std::vector<Row> rows;
    for (const std::vector<Row>& part : parts)
        rows.insert(rows.end(), part.begin(), part.end());
    return rows;
}

// The first row whose name, leading spaces left out, is name (null: none).
inline const Row* FindRow(const std::vector<Row>& rows, const std::string& name)
{
    for (const Row& r : rows)
        if (r.name.substr(r.name.find_first_not_of(' ')) == name)
            return &r;
    return nullptr;
}

// That row's microseconds per call, and its median ratio (0: no such row).
inline double MicrosOf(const std::vector<Row>& rows, const std::string& name)
{
    const Row* pRow = FindRow(rows, name);
    return pRow ? pRow->us : 0;
}

inline double RatioOf(const std::vector<Row>& rows, const std::string& name)
{
    const Row* pRow = FindRow(rows, name);
    return pRow ? pRow->ratio.median : 0;
}

// Prints a paragraph under a table (the reason for what a row shows), wrapped at 96 columns.
inline void PrintNote(const std::string& text)
{
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = start + 96;
        if (end >= text.size())
            end = text.size();
        else
        {
            const size_t space = text.rfind(' ', end);
            end = space != std::string::npos && space > start ? space : end;
        }
        printf("%s\n", text.substr(start, end - start).c_str());
        start = end + (end < text.size() && text[end] == ' ' ? 1 : 0);
    }
    fflush(stdout);
}

// Formats like printf into a string.
inline std::string Format(const char* fmt, ...)
{
    char sz[1024];
    va_list args;
    va_start(args, fmt);
    vsnprintf(sz, sizeof(sz), fmt, args);
    va_end(args);
    return sz;
}

// Prints a table; returns the number of rows that missed their target. A missed target is
// information, not a failure of the program.
inline int PrintTable(const char* title, const std::vector<Row>& rows)
{
    int missed = 0;
    printf("\n== %s ==\n", title);
    printf("%-50s %10s %8s %15s %7s  %s\n", "case", "us/call", "ratio", "IQR", "target",
           "against");
    for (const Row& r : rows)
    {
        if (r.baseline.empty())
        {
            printf("%-50s %10.2f\n", r.name.c_str(), r.us);
            continue;
        }
        const bool bMiss = r.target > 0 && r.ratio.median > r.target;
        missed += bMiss;
        char szTarget[32] = "";
        if (r.target > 0)
            snprintf(szTarget, sizeof(szTarget), "%s%.2f", bMiss ? "MISS<=" : "ok<=", r.target);
        printf("%-50s %10.2f %7.3fx %7.3f-%-7.3f %7s  %s\n", r.name.c_str(), r.us,
               r.ratio.median, r.ratio.q1, r.ratio.q3, szTarget, r.baseline.c_str());
    }
    fflush(stdout);
    return missed;
}

// A memory DC holding a bitmap: a 32-bit DIB section like the controls' back buffers, or a
// screen-compatible bitmap like a parent's off-screen picture.
class Canvas
{
public:
    Canvas(int cx, int cy, bool bDib)
        : m_dc(nullptr), m_bitmap(MakeBitmap(cx, cy, bDib)), m_select(m_dc, m_bitmap), dc(m_dc)
    {
    }

private:
    static HBITMAP MakeBitmap(int cx, int cy, bool bDib)
    {
        nav::WindowDC screen(nullptr);
        return bDib ? nav::CreateDib32(screen, cx, cy) : CreateCompatibleBitmap(screen, cx, cy);
    }
    nav::MemDC m_dc;
    nav::Bitmap m_bitmap;
    nav::SelectGuard m_select;

public:
    const HDC dc;
};

// The floor of a composition: the parent paints what lies beneath rcInParent into the piece,
// and one BitBlt copies it to (x, y) of the target.
inline void BackgroundAndBlit(HWND hwndParent, RECT rcInParent, HDC hdcPiece, HDC hdcTarget,
                              int x, int y)
{
    SendMessageW(hwndParent, WM_NAV_PAINTBKGND, reinterpret_cast<WPARAM>(hdcPiece),
                 reinterpret_cast<LPARAM>(&rcInParent));
    BitBlt(hdcTarget, x, y, rcInParent.right - rcInParent.left,
           rcInParent.bottom - rcInParent.top, hdcPiece, 0, 0, SRCCOPY);
}

// A window's text read as the controls read theirs when they paint: from the native
// procedure of the window's class straight away.
inline int ReadText(HWND hwnd, wchar_t* pszText, int cch)
{
    const WNDPROC pfnNative = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
    return static_cast<int>(
        CallWindowProcW(pfnNative, hwnd, WM_GETTEXT, cch, reinterpret_cast<LPARAM>(pszText)));
}

// A native control of the given class, text and font, the baseline a control is measured
// against.
inline HWND NativeControl(const wchar_t* pszClass, DWORD dwStyle, const wchar_t* pszText,
                          HWND hwndParent, const RECT& rc, HFONT hFont)
{
    HWND hwnd = CreateWindowExW(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | dwStyle, rc.left,
                                rc.top, rc.right - rc.left, rc.bottom - rc.top, hwndParent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    return hwnd;
}

// A native report list view made as ours is drawn: no header, one selection, check boxes, the
// given row images (shared, so that destroying the list leaves them), two columns of cx0 and
// cx1 pixels, the second right-aligned. The font is set only when one is given.
inline HWND NativeReportList(HWND hwndParent, const RECT& rc, DWORD dwStyle, HIMAGELIST hImages,
                             int cx0, int cx1, HFONT hFont = nullptr)
{
    HWND hList = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                 WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT |
                                     LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHAREIMAGELISTS |
                                     dwStyle,
                                 rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                                 hwndParent, nullptr, nullptr, nullptr);
    if (hFont)
        SendMessageW(hList, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    SendMessageW(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    SendMessageW(hList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hImages));
    LVCOLUMNW col = {};
    col.mask = LVCF_WIDTH | LVCF_FMT;
    for (int c = 0; c < 2; ++c)
    {
        col.cx = c ? cx1 : cx0;
        col.fmt = c ? LVCFMT_RIGHT : LVCFMT_LEFT;
        SendMessageW(hList, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
    }
    return hList;
}

// Fills a native report list with nRows rows as the benchmarks fill ours: texts from
// text(row, column), image row % 2, every third row checked, row 2 selected.
inline void FillNativeRows(HWND hList, int nRows,
                           const std::function<std::wstring(int row, int column)>& text)
{
    for (int i = 0; i < nRows; ++i)
    {
        std::wstring text0 = text(i, 0), text1 = text(i, 1);
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = &text0[0];
        item.iImage = i % 2;
        SendMessageW(hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = &text1[0];
        SendMessageW(hList, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        ListView_SetCheckState(hList, i, i % 3 == 0);
    }
    ListView_SetItemState(hList, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// Committed private memory of the process, summed over its address space (the process
// memory counters are not filled in under Wine).
inline SIZE_T PrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (const char* p = nullptr; VirtualQuery(p, &mbi, sizeof(mbi)) == sizeof(mbi);
         p = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize)
    {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE)
            total += mbi.RegionSize;
        if (static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize < p)
            break;
    }
    return total;
}

// What every benchmark program does first.
inline void Prepare()
{
    const char* pszPin = getenv("ZNC_BENCH_PIN");
    if (!pszPin || *pszPin != '0')
        PinToOneProcessor();
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
}

struct Prepared
{
    Prepared() { Prepare(); }
};

// What every program stands on: the process prepared, a host window for the controls and,
// for a height other than 0, a Tahoma font of that height (owned).
struct Stage : Prepared
{
    Stage(int cx, int cy, int nFontHeight = 0, int nWeight = FW_NORMAL)
        : host(cx, cy),
          font(nFontHeight ? navtest::MakeFont(nFontHeight, L"Tahoma", nWeight) : nullptr)
    {
    }
    navtest::TestHost host;
    nav::Font font;
};

// The programs' last line; their exit status, which a missed target does not change.
inline int Finish(int missed)
{
    printf("\n%d target(s) missed\n", missed);
    return 0;
}

} // namespace navbench
