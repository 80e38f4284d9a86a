// bench_cost.cpp - what each control's paint costs the device, counted rather than timed: the
// calls into the platform and the pixels moved for every control and common operation, beside
// the floor its obligations need (CostTable.cpp), and the device time those counts come to.
// The counts are exact and the same at every run; test_cost holds them to the checked-in table.
#include "BenchUtil.h"
#include "CostTable.h"

#include <string.h>

namespace
{
// The device's costs, per call and per pixel, on a 400 MHz ARM with a 16-bit screen. These are
// estimates, not measurements (docs/performance.md says where each comes from): a call into the
// system is a trap into the graphics and window process and back; a call inside the process is
// an ordinary call into coredll.
const double kUsPerSystemCall = 2.0;
const double kUsPerInProcessCall = 0.05;
const double kUsPerPixelCopied = 0.010;
const double kUsPerPixelFilled = 0.005;
const double kUsPerPixelBlended = 0.040;

double DeviceMicros(const navcost::Cost& c)
{
    return kUsPerSystemCall * c.SystemCalls() +
           kUsPerInProcessCall * (c.Calls() - c.SystemCalls()) + kUsPerPixelCopied * c.nCopied +
           kUsPerPixelFilled * c.nFilled + kUsPerPixelBlended * c.nBlended;
}

double FloorMicros(const navcost::Floor& f)
{
    // The floor's pixels are copies (the artwork and the copy to the screen).
    return kUsPerSystemCall * f.nCalls + kUsPerPixelCopied * f.nPixels;
}

const navcost::Row* Find(const std::vector<navcost::Row>& rows, const char* control,
                         const char* op)
{
    for (const navcost::Row& row : rows)
        if (row.control == control && row.op == op)
            return &row;
    return nullptr;
}
} // namespace

int main()
{
    navbench::Prepared prepared;
    const std::vector<navcost::Row> rows = navcost::MeasureAll();

    printf("\n== What a paint costs the device: calls into the system and pixels, counted ==\n");
    printf("%-24s %-14s %6s %6s %6s %7s %8s %8s %8s %8s %8s %8s\n", "control", "operation",
           "sys", "floor", "x", "in-proc", "copied", "filled", "blended", "floor px", "dev us",
           "floor us");
    int over = 0;
    for (const navcost::Row& row : rows)
    {
        const double ratio =
            row.floor.nCalls ? double(row.cost.SystemCalls()) / row.floor.nCalls : 0;
        over += ratio > 1.1;
        printf("%-24s %-14s %6ld %6ld %6.2f %7ld %8ld %8ld %8ld %8ld %8.1f %8.1f\n",
               row.control.c_str(), row.op.c_str(), row.cost.SystemCalls(), row.floor.nCalls,
               ratio, row.cost.Calls() - row.cost.SystemCalls(), row.cost.nCopied,
               row.cost.nFilled, row.cost.nBlended, row.floor.nPixels, DeviceMicros(row.cost),
               FloorMicros(row.floor));
    }
    printf("\n%d row(s) above 1.1x their floor's system calls\n", over);

    printf("\n== The floors: each row's obligations, once each ==\n");
    for (const navcost::Row& row : rows)
    {
        std::string list;
        for (const std::string& o : row.floor.obligations)
            list += (list.empty() ? "" : ", ") + o;
        printf("%-24s %-14s %s\n", row.control.c_str(), row.op.c_str(), list.c_str());
    }

    printf("\n== The calls by name, as tests/cost/table.txt holds them ==\n%s",
           navcost::TableText(rows).c_str());

    // The 800 x 480 screen of bench_screen, repainted: each of its controls' repaint rows, as
    // many times as it has such controls.
    struct Share
    {
        const char* control;
        const char* op;
        int nTimes;
    } screen[] = {{"push button 106x50", "repaint", 8},
                  {"check box 180x34", "repaint", 6},
                  {"edit 200x36", "repaint", 2},
                  {"label 200x30", "repaint", 5},
                  {"list 300x243, 8 rows", "repaint", 1},
                  {"list scroll bar 40x243", "repaint", 1},
                  {"combo box 200x24", "repaint", 1},
                  {"group box 300x120", "repaint", 1}};
    double usScreen = 0, usFloor = 0;
    long nSystem = 0;
    for (const Share& share : screen)
        if (const navcost::Row* row = Find(rows, share.control, share.op))
        {
            usScreen += share.nTimes * DeviceMicros(row->cost);
            usFloor += share.nTimes * FloorMicros(row->floor);
            nSystem += share.nTimes * row->cost.SystemCalls();
        }
    printf("\nThe 800x480 screen (8 push, 6 check/radio, 2 edits, 5 labels, a list and its bar, a "
           "combo box, a group box) repainted on the device: %ld system calls, about %.0f us "
           "(%.0f us at the floor), estimated at %.1f us a system call, %.2f us a call inside "
           "the process, %.3f / %.3f / %.3f us a pixel copied / filled / blended.\n",
           nSystem, usScreen, usFloor, kUsPerSystemCall, kUsPerInProcessCall, kUsPerPixelCopied,
           kUsPerPixelFilled, kUsPerPixelBlended);
    return 0;
}
