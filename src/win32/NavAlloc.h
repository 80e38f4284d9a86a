// NavAlloc.h - the one point every resource the library obtains passes (see common/
// NavFaults.h): NAV_ALLOC(acquire, failed) is 'acquire' unless a test made this allocation
// fail, in which case it is 'failed' and nothing is acquired. The device build compiles the
// point away. Heap objects are made and freed here too, from the C heap: the desktop's C++ run
// time, asked for memory when none is left, recursed instead of answering null.
#pragma once

#include "NavCommon.h"

#include <new>
#include <stdlib.h>

// Exported by the desktop build only, for the tests and benchmarks that use the library's own
// owners and buffers (see hooks/NavTestHooks.h); the device build exports its classes alone.
#if defined(_WIN32_WCE)
#define ZNC_TEST_API
#else
#define ZNC_TEST_API ZNC_API
#endif

#if defined(_WIN32_WCE)
#define NAV_ALLOC(acquire, failed) (acquire)
#else
namespace nav
{
class FaultCounter;

namespace detail
{
// Counts one allocation point; false when a test made it fail.
ZNC_TEST_API bool AllocationGoesAhead();
// The counter behind it, which the test hooks arm.
extern FaultCounter g_faults;
} // namespace detail
} // namespace nav
#define NAV_ALLOC(acquire, failed) (::nav::detail::AllocationGoesAhead() ? (acquire) : (failed))
#endif

namespace nav
{
// A block of cb bytes from the C heap, or null.
inline void* AllocBlock(size_t cb)
{
    return NAV_ALLOC(malloc(cb), NULL);
}

// nCount zeroed elements of cb bytes each, or null.
inline void* AllocZeroed(size_t nCount, size_t cb)
{
    return NAV_ALLOC(calloc(nCount, cb), NULL);
}

// Names the type T to a function template that no other argument would tell it:
// NewObject(Type<T>()). The device's older compilers give every call that names the type only
// between angle brackets the same instance of the template, whatever the type.
template <class T> struct Type
{
};

// A value-initialised T on the C heap, or null; give it back with FreeObject.
template <class T> T* NewObject(Type<T>)
{
    void* p = AllocBlock(sizeof(T));
    return p ? new (p) T() : NULL;
}

template <class T, class A, class B, class C> T* NewObject(Type<T>, A a, B b, C c)
{
    void* p = AllocBlock(sizeof(T));
    return p ? new (p) T(a, b, c) : NULL;
}

// Destroys and frees what NewObject made; null does nothing.
template <class T> void FreeObject(T* p)
{
    if (p)
    {
        p->~T();
        free(p);
    }
}
} // namespace nav
