// BenchUtil.h - timing for the benchmark programs: each case runs until it has taken at least
// a minimum time, best of several rounds, reported per iteration and as a ratio against a
// baseline measured in the same run.
#pragma once

#include "TestHost.h"

#include <stdio.h>

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

// Microseconds per call of fn: the best of 5 rounds, each at least 'minSeconds' long.
template <class F> double MicrosPerCall(F&& fn, double minSeconds = 0.15)
{
    for (int i = 0; i < 3; ++i) // warm caches and lazily made surfaces
        fn();
    double best = 1e30;
    for (int round = 0; round < 5; ++round)
    {
        long n = 0;
        double start = NowSeconds(), elapsed = 0;
        do
        {
            fn();
            ++n;
            elapsed = NowSeconds() - start;
        } while (elapsed < minSeconds);
        double us = elapsed * 1e6 / n;
        if (us < best)
            best = us;
    }
    return best;
}

struct Row
{
    std::string name;
    double us;
    std::string baseline; // empty: no ratio
    double baselineUs;
    double target;        // 0: none; otherwise the ratio must stay at or below it
};

// Prints a table; returns the number of rows that missed their target.
inline int PrintTable(const char* title, const std::vector<Row>& rows)
{
    int missed = 0;
    printf("\n== %s ==\n", title);
    printf("%-48s %12s %10s  %s\n", "case", "us/iter", "ratio", "against");
    for (const Row& r : rows)
    {
        if (r.baseline.empty())
        {
            printf("%-48s %12.2f %10s\n", r.name.c_str(), r.us, "");
            continue;
        }
        double ratio = r.us / r.baselineUs;
        bool miss = r.target > 0 && ratio > r.target;
        missed += miss;
        printf("%-48s %12.2f %9.2fx  %s%s\n", r.name.c_str(), r.us, ratio, r.baseline.c_str(),
               r.target > 0 ? (miss ? "  (target missed)" : "  (target met)") : "");
    }
    fflush(stdout);
    return missed;
}

// Repaints a window fully and synchronously: invalidate (with erase) and update.
inline void Repaint(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

} // namespace navbench
