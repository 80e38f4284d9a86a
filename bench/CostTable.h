// CostTable.h - what a paint costs the device, counted: every call the library makes into the
// platform for each control and common operation, by name, and the pixels those calls copy,
// fill and blend (counted from below by the stand-in, StandInCountCalls), beside the floor of
// each row, the calls and pixels its obligations need. bench_cost prints the table with a
// device time estimate; test_cost holds the counts to the checked-in table
// (tests/cost/table.txt).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace navcost
{

// What the library's calls cost while one operation ran.
struct Cost
{
    std::map<std::string, long> calls; // by name, the names called at least once
    long nCopied = 0, nFilled = 0, nBlended = 0;
    long Calls() const;
    // The calls that cross into the system on the device (windows, graphics, resources, the
    // kernel); the rest run inside the caller's process (the C run-time, interlocked
    // operations, rectangle helpers).
    long SystemCalls() const;
    long Pixels() const { return nCopied + nFilled + nBlended; }
};

// The least an operation needs: its obligations (each once), their calls and pixels.
struct Floor
{
    std::vector<std::string> obligations;
    long nCalls = 0;
    long nPixels = 0;
};

struct Row
{
    std::string control; // "push button 106x50"
    std::string op;      // "repaint"
    Cost cost;
    Floor floor;
};

// Builds every control in a host of its own, runs each operation once untimed (so that lazy
// loads and caches settle as they would after the first use), then counts it.
std::vector<Row> MeasureAll();

// Whether a device call runs inside the caller's process rather than in the system.
bool InProcess(const std::string& call);

// The table as it is checked in: one line per row, its counts and its calls by name.
std::string TableText(const std::vector<Row>& rows);

// The rows of two table texts that differ, as "- expected" / "+ actual" lines; empty when equal.
std::string TableDiff(const std::string& expected, const std::string& actual);

} // namespace navcost
