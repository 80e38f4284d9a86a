// NavHandle.h - one movable owner for every handle the library makes: a handle type and the
// call that gives it back, in the spirit of WIL's unique_any.
//
// The closer is a small function object; it may carry what the closing call needs besides the
// handle (the window of ReleaseDC, the PAINTSTRUCT of EndPaint, the DC of a selection) and
// moves with the handle. A null handle (H{}) is never closed. Owners made with kCounted count
// themselves in NavGdiLiveObjects(), so tests can show that a paint leaves nothing behind even
// where the platform cannot count GDI handles.
#pragma once

#include "NavCommon.h"

#include <stdlib.h>

extern "C" ZNC_API long NavGdiLiveObjects(void);

namespace nav
{
namespace detail
{
ZNC_API void CountAcquire(const void* h);
ZNC_API void CountRelease(const void* h);
} // namespace detail

template <class H, class Closer, bool kCounted = true> class UniqueHandle
{
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h, Closer closer = Closer()) : m_h(h), m_closer(closer)
    {
        CountAcquire();
    }
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.m_h), m_closer(other.m_closer)
    {
        other.m_h = H();
    }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
        {
            Reset();
            m_h = other.m_h;
            m_closer = other.m_closer;
            other.m_h = H();
        }
        return *this;
    }

    // Closes what is held and takes h instead.
    void Reset(H h = H())
    {
        if (m_h)
        {
            m_closer(m_h);
            CountRelease();
        }
        m_h = h;
        CountAcquire();
    }
    // Hands the handle over to whoever takes it next (for example SetWindowRgn, after which
    // the system owns the region); the owner forgets it.
    H Release()
    {
        CountRelease();
        H h = m_h;
        m_h = H();
        return h;
    }
    H Get() const { return m_h; }
    operator H() const { return m_h; }
    explicit operator bool() const { return m_h != H(); }

protected:
    Closer& GetCloser() { return m_closer; }
    const Closer& GetCloser() const { return m_closer; }

private:
    void CountAcquire() const
    {
        if constexpr (kCounted)
            detail::CountAcquire(reinterpret_cast<const void*>(m_h));
    }
    void CountRelease() const
    {
        if constexpr (kCounted)
            detail::CountRelease(reinterpret_cast<const void*>(m_h));
    }

    H m_h = H();
    Closer m_closer = Closer();
};

// A closer that is one call on the handle.
template <auto pfnClose> struct CloseWith
{
    template <class H> void operator()(H h) const { pfnClose(h); }
};

// Closers of the handles the controls make.
typedef CloseWith<DeleteObject> CloseGdiObject;
typedef CloseWith<ImageList_Destroy> CloseImageList;
typedef CloseWith<DeleteDC> CloseMemDC;
typedef CloseWith<RegCloseKey> CloseRegKey;
typedef CloseWith<DestroyMenu> CloseMenu;
typedef CloseWith<FreeLibrary> CloseLibrary;
typedef CloseWith<free> FreeText;
struct CloseWindowDC
{
    HWND hwnd = nullptr;
    void operator()(HDC h) const { ReleaseDC(hwnd, h); }
};
struct DeleteText
{
    void operator()(wchar_t* p) const { delete[] p; }
};
} // namespace nav
