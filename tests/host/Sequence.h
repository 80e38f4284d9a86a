// Sequence.h - comparing recorded messages with an expected table, in GoogleTest.
//
// A test names what a tap, key or call must have sent or posted as a table at file scope,
//     static const Expected kLinkTapPostsClicked[] = {
//         ExpW(WM_COMMAND, MAKEWPARAM(55, BN_CLICKED)),
//     };
// and checks it with EXPECT_TRUE(SequenceIs(host.Messages(), kLinkTapPostsClicked, {WM_COMMAND})).
// An entry wrapped in Optional() may be there or not (a message one platform sends and another
// may not); everything else must appear, in order, and nothing more. A notification's sender
// is named at the check: ExpCommand(55, BN_CLICKED) matches lParam against the hwnd passed.
#pragma once

#include "TestHost.h"

#include <gtest/gtest.h>

#include <sstream>

namespace navtest
{

// What an entry compares besides the message id.
enum ExpFlags : unsigned
{
    kExpWParam = 1,   // wParam must be equal
    kExpLParam = 2,   // lParam must be equal
    kExpOptional = 4, // may be absent
    kExpLParamIsControl = 8, // lParam must be the control's window (a notification's sender)
};

// One expected message.
struct Expected
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    unsigned flags;

    bool Matches(const Msg& m, HWND hwndControl) const
    {
        return m.message == message && (!(flags & kExpWParam) || m.wParam == wParam) &&
               (!(flags & kExpLParam) || m.lParam == lParam) &&
               (!(flags & kExpLParamIsControl) ||
                m.lParam == reinterpret_cast<LPARAM>(hwndControl));
    }
    bool IsOptional() const { return (flags & kExpOptional) != 0; }
};

constexpr Expected Exp(UINT message) { return {message, 0, 0, 0}; }
constexpr Expected ExpW(UINT message, WPARAM wParam)
{
    return {message, wParam, 0, kExpWParam};
}
constexpr Expected ExpWL(UINT message, WPARAM wParam, LPARAM lParam)
{
    return {message, wParam, lParam, kExpWParam | kExpLParam};
}
// A control's WM_COMMAND notification: its id and code, and its window in lParam.
constexpr Expected ExpCommand(WORD id, WORD code)
{
    return {WM_COMMAND, MAKEWPARAM(id, code), 0, kExpWParam | kExpLParamIsControl};
}
constexpr Expected Optional(Expected e)
{
    return {e.message, e.wParam, e.lParam, e.flags | kExpOptional};
}

// A table of expected messages by reference, for data-driven cases: a named array, or
// nothing ({}) for "no such message at all".
struct MessageTable
{
    const Expected* entries = nullptr;
    size_t count = 0;

    constexpr MessageTable() = default;
    constexpr explicit MessageTable(const Expected* table, size_t n) : entries(table), count(n) {}
    template <size_t N>
    constexpr MessageTable(const Expected (&table)[N]) : entries(table), count(N)
    {
    }
};

namespace detail
{

// Whether seen is exactly the n expected entries, optional ones taken or skipped as needed
// (a table over both positions, so an optional entry never swallows a required one's match).
inline bool SequenceMatches(const std::vector<Msg>& seen, const Expected* expected, size_t n,
                            HWND hwndControl)
{
    const size_t m = seen.size();
    // fits[i * (m + 1) + j]: expected[i..n) matches seen[j..m)
    std::vector<char> fits((n + 1) * (m + 1), 0);
    auto at = [&fits, m](size_t i, size_t j) -> char& { return fits[i * (m + 1) + j]; };
    at(n, m) = 1;
    for (size_t i = n; i-- > 0;)
        for (size_t j = m + 1; j-- > 0;)
        {
            const bool bSkip = expected[i].IsOptional() && at(i + 1, j);
            const bool bTake =
                j < m && expected[i].Matches(seen[j], hwndControl) && at(i + 1, j + 1);
            at(i, j) = bSkip || bTake;
        }
    return at(0, 0) != 0;
}

inline void PrintEntry(std::ostream& os, UINT message, WPARAM wParam, LPARAM lParam)
{
    os << std::hex << "0x" << message << " w=" << wParam << " l=" << lParam;
}

} // namespace detail

// Compares the messages whose ids appear in 'filter' (all when empty) with the table, and
// prints both lists side by side on a mismatch (optional entries marked '?'). hwndControl is
// the window that ExpCommand entries come from.
inline ::testing::AssertionResult SequenceIs(const std::vector<Msg>& actual, MessageTable table,
                                             const std::vector<UINT>& filter = {},
                                             HWND hwndControl = nullptr)
{
    const Expected* expected = table.entries;
    const size_t n = table.count;
    std::vector<Msg> seen;
    for (const Msg& m : actual)
    {
        bool keep = filter.empty();
        for (UINT f : filter)
            keep = keep || m.message == f;
        if (keep)
            seen.push_back(m);
    }
    if (detail::SequenceMatches(seen, expected, n, hwndControl))
        return ::testing::AssertionSuccess();

    std::ostringstream os;
    os << "message sequence differs\n  expected | actual\n";
    for (size_t i = 0; i < n || i < seen.size(); ++i)
    {
        os << "  ";
        if (i < n)
        {
            const Expected& e = expected[i];
            const LPARAM lParam = (e.flags & kExpLParamIsControl)
                                      ? reinterpret_cast<LPARAM>(hwndControl)
                                      : e.lParam;
            detail::PrintEntry(os, e.message, e.wParam, lParam);
            os << (e.IsOptional() ? " ?" : "");
        }
        else
            os << "-";
        os << " | ";
        if (i < seen.size())
            detail::PrintEntry(os, seen[i].message, seen[i].wParam, seen[i].lParam);
        else
            os << "-";
        os << "\n";
    }
    return ::testing::AssertionFailure() << os.str();
}

template <size_t N>
::testing::AssertionResult SequenceIs(const std::vector<Msg>& actual,
                                      const Expected (&expected)[N],
                                      const std::vector<UINT>& filter = {},
                                      HWND hwndControl = nullptr)
{
    return SequenceIs(actual, MessageTable(expected), filter, hwndControl);
}

// Sends 'sent' and checks that the first message of its kind the spy then records carries the
// same wParam and lParam: the message went on to the system's procedure unchanged.
inline ::testing::AssertionResult PassesOnUnchanged(NativeClassSpy& spy, const Msg& sent)
{
    spy.Clear();
    SendMessageW(sent.hwnd, sent.message, sent.wParam, sent.lParam);
    const std::vector<Msg> seen = spy.Messages(sent.message);
    if (seen.empty())
        return ::testing::AssertionFailure() << "never reached the system's procedure";
    const Expected unchanged[] = {ExpWL(sent.message, sent.wParam, sent.lParam)};
    return SequenceIs({seen.front()}, unchanged);
}

} // namespace navtest
