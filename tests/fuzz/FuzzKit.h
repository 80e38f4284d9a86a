// FuzzKit.h - what the fuzzing program shares between its random-operation and twin parts:
// the budget, a seeded generator, the ring of recent operations printed on a crash or a failed
// expectation, edge values and texts, and the committed-memory probe.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace navfuzz
{

// How much to run. The defaults fit the test command; ZNC_FUZZ_SEEDS, ZNC_FUZZ_OPS and
// ZNC_FUZZ_SEED (the first seed, to replay one) ask for more or for one seed again.
struct Budget
{
    uint64_t firstSeed;
    int seeds;
    int ops; // per seed
};
Budget ReadBudget(int defaultSeeds, int defaultOps);
// What the test command runs: 16,000 random operations, 3,000 more for the memory check and
// 13,000 twin messages.
const int kDefaultSeeds = 16;
const int kDefaultOps = 1000;

// splitmix64: the same seed gives the same run on every machine and at both pointer sizes.
class Rng
{
public:
    explicit Rng(uint64_t seed) : m_state(seed) {}
    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n-1 (0 when n <= 0).
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T, size_t N> const T& Pick(const T (&values)[N])
    {
        return values[Below(static_cast<int>(N))];
    }
    // An index around a collection of nCount: mostly inside or just beyond, sometimes an edge
    // (negative, huge).
    int Index(int nCount);
    // A size: mostly ordinary, sometimes zero, negative or very large.
    int Size();
    // Any int, edges favoured.
    int Edge();

private:
    uint64_t m_state;
};

// One entry of an operation table: its name, how often it is drawn relative to the other
// entries of its table, and what it does. Each table lists every operation of its kind once,
// so a new entry leaves the weights written beside the others as they are.
template <class Run> struct Operation
{
    const char* name;
    int weight;
    Run run;
};

// One entry of a table, drawn by weight.
template <class Run, size_t N>
const Operation<Run>& Draw(Rng& rng, const Operation<Run> (&table)[N])
{
    int nTotal = 0;
    for (const Operation<Run>& op : table)
        nTotal += op.weight;
    int n = rng.Below(nTotal);
    for (const Operation<Run>& op : table)
    {
        if (n < op.weight)
            return op;
        n -= op.weight;
    }
    return table[N - 1];
}

// The ring of the last operations, printed with the seed when something goes wrong.
void BeginSeed(uint64_t seed);
void Note(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
void PrintRecent(const char* why);
// Installs the unhandled-exception filter and the failed-expectation printer (once).
void InstallCrashReport();
// True while a seed runs (the failure printer stays quiet otherwise).
void SetRunning(bool bRunning);

// Texts the operations use: empty, short, one with line breaks, tabs and ampersands, one
// wider than any control, and 10,000 characters.
const std::wstring& Text(Rng& rng);
std::string Describe(const std::wstring& text);

// Committed private memory of the process, in bytes.
size_t CommittedPrivateBytes();

} // namespace navfuzz
