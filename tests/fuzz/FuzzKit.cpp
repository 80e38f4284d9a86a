// FuzzKit.cpp - budget, generator helpers, the ring of recent operations and its printers,
// texts and the memory probe.
#include "FuzzKit.h"

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace navfuzz
{

namespace
{
const int kRingSize = 32;
const int kLineSize = 160;

// Fixed storage: the exception filter may run with little stack and a damaged heap.
char g_ring[kRingSize][kLineSize];
unsigned g_nNext = 0;
uint64_t g_seed = 0;
bool g_bRunning = false;

void WriteRaw(const char* psz)
{
    DWORD nWritten = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), psz, static_cast<DWORD>(strlen(psz)), &nWritten,
              nullptr);
}

// The report is printed by a thread of its own: a thread whose stack overflowed has too
// little left to format anything (Wine then ends the process without a word).
char g_szWhy[MAX_PATH + 96];
HANDLE g_hReport = nullptr;
HANDLE g_hReported = nullptr;

DWORD WINAPI Reporter(void*)
{
    WaitForSingleObject(g_hReport, INFINITE);
    PrintRecent(g_szWhy);
    SetEvent(g_hReported);
    return 0;
}

void Report(const EXCEPTION_RECORD* pRecord)
{
    static LONG s_nReported = 0;
    if (InterlockedExchange(&s_nReported, 1))
        return;
    const DWORD dwCode = pRecord->ExceptionCode;
    // Where: the module and the offset in it, for addr2line ("?" for Wine's own Unix side).
    HMODULE hModule = nullptr;
    char szModule[MAX_PATH] = "?";
    if (pRecord->ExceptionAddress)
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<const char*>(pRecord->ExceptionAddress), &hModule);
    if (hModule)
        GetModuleFileNameA(hModule, szModule, sizeof(szModule));
    const char* pszName = strrchr(szModule, '\\');
    snprintf(g_szWhy, sizeof(g_szWhy),
             pRecord->ExceptionAddress ? "unhandled exception 0x%08lX at %s+0x%llX"
                                       : "abort (0x%08lX)",
             static_cast<unsigned long>(dwCode), pszName ? pszName + 1 : szModule,
             static_cast<unsigned long long>(static_cast<const char*>(pRecord->ExceptionAddress) -
                                             reinterpret_cast<const char*>(hModule)));
    SetEvent(g_hReport);
    WaitForSingleObject(g_hReported, 5000);
    // Ends here with the exception's code, so the test command sees the failure whatever the
    // platform would make of an overflowed stack.
    TerminateProcess(GetCurrentProcess(), dwCode);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pInfo)
{
    Report(pInfo->ExceptionRecord);
    return EXCEPTION_CONTINUE_SEARCH;
}

// An assertion in the platform's own controls ends in abort().
void OnAbort(int)
{
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = 0xC0000409; // what the platform reports for a fail-fast
    Report(&record);
}

// A stack overflow is reported as soon as it is raised, while the guard page still leaves
// room to hand the report over.
LONG WINAPI OnStackOverflow(EXCEPTION_POINTERS* pInfo)
{
    if (pInfo->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW)
        Report(pInfo->ExceptionRecord);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Prints the ring at the first failed expectation of a running seed.
class FailurePrinter : public ::testing::EmptyTestEventListener
{
    void OnTestPartResult(const ::testing::TestPartResult& result) override
    {
        if (result.failed() && g_bRunning)
            PrintRecent("failed expectation");
    }
};

std::wstring Repeat(const wchar_t* pszUnit, size_t nChars)
{
    std::wstring s;
    while (s.size() < nChars)
        s += pszUnit;
    s.resize(nChars);
    return s;
}

long ReadEnv(const char* pszName, long nDefault)
{
    char sz[32];
    const DWORD n = GetEnvironmentVariableA(pszName, sz, sizeof(sz));
    if (n == 0 || n >= sizeof(sz))
        return nDefault;
    const long v = strtol(sz, nullptr, 0);
    return v > 0 ? v : nDefault;
}
} // namespace

Budget ReadBudget(int defaultSeeds, int defaultOps)
{
    Budget b;
    b.firstSeed = static_cast<uint64_t>(ReadEnv("ZNC_FUZZ_SEED", 1));
    b.seeds = static_cast<int>(ReadEnv("ZNC_FUZZ_SEEDS", defaultSeeds));
    b.ops = static_cast<int>(ReadEnv("ZNC_FUZZ_OPS", defaultOps));
    return b;
}

int Rng::Index(int nCount)
{
    static const int kEdges[] = {INT_MIN, -100000, -2, -1, 0x7FFF, 0xFFFF, 0x10000, INT_MAX};
    if (Chance(85))
        return Below(nCount + 3) - 1;
    return Pick(kEdges);
}

int Rng::Size()
{
    static const int kEdges[] = {INT_MIN, -100000, -50, -1, 0, 1, 2, 32767, 100000};
    if (Chance(85))
        return Below(400);
    return Pick(kEdges);
}

int Rng::Edge()
{
    static const int kEdges[] = {INT_MIN, -100000, -2, -1, 0, 1, 2, 3, 4, 5, 8, 30, 255,
                                 0x7FFF, 0xFFFF, INT_MAX};
    return Chance(70) ? Pick(kEdges) : static_cast<int>(Next());
}

void BeginSeed(uint64_t seed)
{
    g_seed = seed;
    g_nNext = 0;
    for (auto& line : g_ring)
        line[0] = 0;
}

void Note(const char* format, ...)
{
    char* line = g_ring[g_nNext % kRingSize];
    va_list args;
    va_start(args, format);
    vsnprintf(line, kLineSize, format, args);
    va_end(args);
    ++g_nNext;
}

void PrintRecent(const char* why)
{
    char sz[kLineSize + 32];
    snprintf(sz, sizeof(sz), "\n*** fuzz: %s at seed %llu, operation %u; the last ones:\n", why,
             static_cast<unsigned long long>(g_seed), g_nNext);
    WriteRaw(sz);
    const unsigned nFirst = g_nNext > kRingSize ? g_nNext - kRingSize : 0;
    for (unsigned i = nFirst; i < g_nNext; ++i)
    {
        snprintf(sz, sizeof(sz), "  #%u %s\n", i, g_ring[i % kRingSize]);
        WriteRaw(sz);
    }
    snprintf(sz, sizeof(sz), "  replay: ZNC_FUZZ_SEED=%llu ZNC_FUZZ_SEEDS=1\n",
             static_cast<unsigned long long>(g_seed));
    WriteRaw(sz);
}

void InstallCrashReport()
{
    static bool s_bDone = false;
    if (s_bDone)
        return;
    s_bDone = true;
    g_hReport = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    g_hReported = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(CreateThread(nullptr, 0, Reporter, nullptr, 0, nullptr));
    SetUnhandledExceptionFilter(OnUnhandledException);
    AddVectoredExceptionHandler(1, OnStackOverflow);
    // Wine's own controls assert through the C runtime they were built with, not ours.
    signal(SIGABRT, OnAbort);
    typedef void (*Handler)(int);
    typedef Handler (*Signal)(int, Handler);
    if (HMODULE hUcrt = LoadLibraryW(L"ucrtbase.dll"))
        if (auto pfn = reinterpret_cast<Signal>(
                reinterpret_cast<void*>(GetProcAddress(hUcrt, "signal"))))
            pfn(SIGABRT, OnAbort);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FailurePrinter);
}

void SetRunning(bool bRunning)
{
    g_bRunning = bRunning;
}

const std::wstring& Text(Rng& rng)
{
    static const std::wstring kTexts[] = {
        L"",
        L"A",
        L"Hello",
        L"0123456789 0123456789 0123456789 0123456789 0123456789 0123456789",
        L"Line one\r\nline two\ttab && amp &x",
        L"\x00C4\x00D6\x00DC \x4E2D\x6587 \xD83D\xDE00 \x05D0\x05D1",
        Repeat(L"wide text ", 300),
        Repeat(L"0123456789", 10000),
    };
    return rng.Pick(kTexts);
}

std::string Describe(const std::wstring& text)
{
    char sz[48];
    snprintf(sz, sizeof(sz), "text(%u)", static_cast<unsigned>(text.size()));
    return sz;
}

size_t CommittedPrivateBytes()
{
    size_t total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    const char* p = nullptr;
    while (VirtualQuery(p, &mbi, sizeof(mbi)) == sizeof(mbi))
    {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE)
            total += mbi.RegionSize;
        const char* next = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
        if (next <= p)
            break;
        p = next;
    }
    return total;
}

} // namespace navfuzz
