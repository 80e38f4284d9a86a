// NavAlloc.h - heap objects, made and freed on the C heap. The desktop's C++ run time, asked for
// memory when none was left, recursed instead of answering null; the device's answers null, as
// every allocation here does when the platform has nothing left (the tests make the platform's
// own calls fail, from below).
#pragma once

#include "NavCommon.h"

#include <new>
#include <stdlib.h>

// Exported only by the DLLs built for the tests and benchmarks, which reach the library's own
// owners and buffers through one seam (hooks/NavTestHooks.h); the DLL that ships exports its
// classes alone.
#if defined(ZNC_TEST_SEAM)
#define ZNC_TEST_API ZNC_API
#else
#define ZNC_TEST_API
#endif

namespace nav
{
// A block of cb bytes from the C heap, or null.
inline void* AllocBlock(size_t cb)
{
    return malloc(cb);
}

// nCount zeroed elements of cb bytes each, or null.
inline void* AllocZeroed(size_t nCount, size_t cb)
{
    return calloc(nCount, cb);
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

// The number of holders of a block that copies share (a button's check word, a list's scroll
// bar and check words): one when the block is made, one more for each copy. Copies may be made
// and destroyed on more than one thread, so the count moves with the Interlocked calls.
class RefCount
{
public:
    RefCount() : m_nRefs(1) {}
    void AddRef() { InterlockedIncrement(&m_nRefs); }
    // Drops one holder; true for the last, which frees the block.
    bool Release() { return InterlockedDecrement(&m_nRefs) == 0; }

private:
    LONG m_nRefs; // the device's Interlocked calls take a plain LPLONG
};

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
