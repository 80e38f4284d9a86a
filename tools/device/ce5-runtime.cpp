// ce5-runtime.cpp - what the compilers of the device check builds expect from a run time of
// their own, linked into both DLLs of those builds (tools/device-check.sh).
//
// The check builds link with -nostdlib against import libraries made from ce5-surface.txt
// alone, so that a call the device lacks fails the link. The C run time is part of the
// device's coredll and comes through that list (malloc, free, memcpy, wcslen, ...); what is
// left is the start-up code and the helpers that the device SDK's compiler brings in its own
// libraries. None of this is part of the product.
#include <windows.h>

#include <new>
#include <stdlib.h>

extern "C" {

// ---- Start-up ----

// The DLL's own table of functions registered with atexit: static destructors must run when
// the DLL unloads, not when the process ends, so a DLL keeps its own table as the compiler's
// DLL start-up code does.
static void (*g_pfnAtExit[32])(void);
static int g_nAtExit;

int atexit(void (*pfn)(void))
{
    if (g_nAtExit == sizeof(g_pfnAtExit) / sizeof(g_pfnAtExit[0]))
        return -1;
    g_pfnAtExit[g_nAtExit++] = pfn;
    return 0;
}

// The static constructors, as both linkers lay them out: -1, the constructors, a null.
extern void (*__CTOR_LIST__[])(void);

// The image library has no DllMain of its own; the library's replaces this one.
__attribute__((weak)) BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

// The entry point: static constructors before DllMain sees the process attach, the destructors
// in the reverse order of their registration after it has seen the detach.
BOOL WINAPI DllMainCRTStartup(HINSTANCE hInstance, DWORD dwReason, LPVOID pReserved)
{
    if (dwReason == DLL_PROCESS_ATTACH)
    {
        int n = 1;
        while (__CTOR_LIST__[n])
            ++n;
        while (--n > 0)
            __CTOR_LIST__[n]();
    }
    const BOOL bResult = DllMain(hInstance, dwReason, pReserved);
    if (dwReason == DLL_PROCESS_DETACH)
    {
        while (g_nAtExit > 0)
            g_pfnAtExit[--g_nAtExit]();
    }
    return bResult;
}

} // extern "C"

// ---- C++ language support, on coredll's heap ----

// The compilers' C++ support library is not linked; the library allocates only with nothrow
// new and frees with delete.
namespace std
{
const nothrow_t nothrow = nothrow_t();
}

void* operator new(std::size_t cb, const std::nothrow_t&) throw()
{
    return malloc(cb ? cb : 1);
}

void* operator new[](std::size_t cb, const std::nothrow_t&) throw()
{
    return malloc(cb ? cb : 1);
}

void operator delete(void* p) throw()
{
    free(p);
}

void operator delete[](void* p) throw()
{
    free(p);
}

#if defined(__arm__)

// ---- Helpers of the ARM code generator for Windows ----
//
// The Thumb-2 code generator for Windows calls these by their Microsoft names for what the
// processor does not do in one instruction (ARMv7-A has no divide instruction in Thumb state).
// They must not divide or convert with a 64-bit integer themselves, or they would call
// themselves. Compiled as the library is (C++03), they spell 64-bit integers as the platform
// headers do and write no 64-bit literals.

// Quotient in the low half, remainder in the high half: r0 and r1 on return, as the Microsoft
// helpers give them.
static ULONGLONG DivideUnsigned(unsigned int uDivisor, unsigned int uDividend)
{
    unsigned int uQuotient = 0;
    ULONGLONG uRemainder = 0;
    for (int nBit = 31; nBit >= 0; --nBit)
    {
        uRemainder = (uRemainder << 1) | ((uDividend >> nBit) & 1);
        if (uRemainder >= uDivisor)
        {
            uRemainder -= uDivisor;
            uQuotient |= 1u << nBit;
        }
    }
    return uQuotient | (uRemainder << 32);
}

extern "C" {

// The divisor comes first. The caller has already trapped a zero divisor.
ULONGLONG __rt_udiv(unsigned int uDivisor, unsigned int uDividend)
{
    return DivideUnsigned(uDivisor, uDividend);
}

// Quotient truncated towards zero; the remainder takes the dividend's sign.
ULONGLONG __rt_sdiv(int nDivisor, int nDividend)
{
    const unsigned int uDivisor = nDivisor < 0 ? 0u - nDivisor : nDivisor;
    const unsigned int uDividend = nDividend < 0 ? 0u - nDividend : nDividend;
    const ULONGLONG uBoth = DivideUnsigned(uDivisor, uDividend);
    unsigned int uQuotient = static_cast<unsigned int>(uBoth);
    unsigned int uRemainder = static_cast<unsigned int>(uBoth >> 32);
    if ((nDivisor < 0) != (nDividend < 0))
        uQuotient = 0u - uQuotient;
    if (nDividend < 0)
        uRemainder = 0u - uRemainder;
    return uQuotient | (static_cast<ULONGLONG>(uRemainder) << 32);
}

// double to a 64-bit integer, truncated towards zero, from the bits of the double (out of
// range gives the smallest integer, as the processor's own conversions do).
LONGLONG __dtoi64(double d)
{
    union
    {
        double d;
        ULONGLONG u;
    } bits;
    bits.d = d;
    const unsigned int uField = static_cast<unsigned int>(bits.u >> 52) & 0x7FF;
    if (uField == 0)
        return 0; // zero and subnormals
    const int nExponent = static_cast<int>(uField) - 1075; // d is the mantissa times 2^nExponent
    const ULONGLONG uOne = 1;
    if (nExponent >= 11)
        return static_cast<LONGLONG>(uOne << 63);
    const ULONGLONG uMantissa = (bits.u & ((uOne << 52) - 1)) | (uOne << 52);
    const ULONGLONG uMagnitude =
        nExponent >= 0 ? uMantissa << nExponent : (nExponent > -53 ? uMantissa >> -nExponent : 0);
    return (bits.u >> 63) ? -static_cast<LONGLONG>(uMagnitude)
                          : static_cast<LONGLONG>(uMagnitude);
}

// A 64-bit integer to double: both halves convert exactly, and their sum is rounded once.
double __i64tod(LONGLONG n)
{
    const int nHigh = static_cast<int>(n >> 32);
    const unsigned int uLow = static_cast<unsigned int>(n);
    return static_cast<double>(nHigh) * 4294967296.0 + static_cast<double>(uLow);
}

} // extern "C"

// Stack probe for frames of more than a page: r4 holds the frame's size in words and must come
// back in bytes; every page of the new frame is touched in order, so that the guard page below
// the stack moves down one page at a time. Only r12 may change besides r4.
__asm__(".text\n"
        ".globl __chkstk\n"
        ".p2align 2\n"
        ".thumb_func\n"
        "__chkstk:\n"
        "    lsls r4, r4, #2\n"
        "    push {r5}\n"
        "    sub r5, sp, r4\n"
        "    mov r12, sp\n"
        "1:  sub r12, r12, #4096\n"
        "    cmp r12, r5\n"
        "    it lo\n"
        "    movlo r12, r5\n"
        "    str r5, [r12]\n"
        "    cmp r12, r5\n"
        "    bhi 1b\n"
        "    pop {r5}\n"
        "    bx lr\n");

#endif // __arm__
