// test_cost.cpp - the calls each control makes into the platform and the pixels they move, for
// every operation of the cost table (bench/CostTable.cpp), held to the checked-in table
// tests/cost/table.txt as the golden images hold the pixels: a change that adds or removes a
// call fails here until the table is updated on purpose, and its commit says why.
#include <gtest/gtest.h>

#include "CostTable.h"

#include <fstream>
#include <sstream>

namespace
{
std::string ReadFile(const char* pszPath)
{
    std::ifstream in(pszPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

TEST(Cost, EveryControlAndOperationMakesTheCallsTheTableSays)
{
    const std::string actual = navcost::TableText(navcost::MeasureAll());
    const std::string expected = ReadFile(ZNC_COST_TABLE);
    const std::string diff = navcost::TableDiff(expected, actual);
    if (!diff.empty())
    {
        std::ofstream(ZNC_COST_OUT, std::ios::binary) << actual;
        ADD_FAILURE() << "The calls into the platform differ from " << ZNC_COST_TABLE
                      << " (- expected, + counted). If the change is meant, copy " << ZNC_COST_OUT
                      << " over the table and say why in the commit.\n"
                      << diff;
    }
}
