// Sequence.h - comparing recorded messages with an expected table, in GoogleTest.
#pragma once

#include "TestHost.h"

#include <gtest/gtest.h>

#include <sstream>

namespace navtest
{

// One expected message. Fields marked as "any" are not compared.
struct Expected
{
    UINT message;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool checkWParam = false;
    bool checkLParam = false;
};

inline Expected Exp(UINT message) { return {message}; }
inline Expected ExpW(UINT message, WPARAM wParam) { return {message, wParam, 0, true, false}; }
inline Expected ExpWL(UINT message, WPARAM wParam, LPARAM lParam)
{
    return {message, wParam, lParam, true, true};
}

// Compares the messages whose ids appear in 'filter' (all when empty) with 'expected', and
// prints both lists side by side on a mismatch.
inline ::testing::AssertionResult SequenceIs(const std::vector<Msg>& actual,
                                             const std::vector<Expected>& expected,
                                             const std::vector<UINT>& filter = {})
{
    std::vector<Msg> seen;
    for (const Msg& m : actual)
    {
        bool keep = filter.empty();
        for (UINT f : filter)
            keep = keep || m.message == f;
        if (keep)
            seen.push_back(m);
    }
    bool ok = seen.size() == expected.size();
    for (size_t i = 0; ok && i < seen.size(); ++i)
    {
        const Expected& e = expected[i];
        ok = seen[i].message == e.message && (!e.checkWParam || seen[i].wParam == e.wParam) &&
             (!e.checkLParam || seen[i].lParam == e.lParam);
    }
    if (ok)
        return ::testing::AssertionSuccess();

    std::ostringstream os;
    os << "message sequence differs\n  expected | actual\n";
    size_t n = seen.size() > expected.size() ? seen.size() : expected.size();
    for (size_t i = 0; i < n; ++i)
    {
        os << "  ";
        if (i < expected.size())
            os << std::hex << "0x" << expected[i].message << " w=" << expected[i].wParam
               << " l=" << expected[i].lParam;
        else
            os << "-";
        os << " | ";
        if (i < seen.size())
            os << std::hex << "0x" << seen[i].message << " w=" << seen[i].wParam
               << " l=" << seen[i].lParam;
        else
            os << "-";
        os << "\n";
    }
    return ::testing::AssertionFailure() << os.str();
}

} // namespace navtest
