// NavHandle.h - one owner for every handle the library makes: a handle type and the call that
// gives it back, in the manner of WTL's CHandle and CBitmapT<true>.
//
// An owner cannot be copied (the copy constructor and assignment are declared and never
// defined); ownership moves only by hand, with Detach() and Attach(). The closer is a small
// function object that may carry what the closing call needs besides the handle (the window of
// ReleaseDC, the PAINTSTRUCT of EndPaint, the DC of a selection). A null handle (H()) is never
// closed.
#pragma once

#include "NavCommon.h"
#include "win32/NavAlloc.h" // ZNC_TEST_API

#include <stdlib.h>

namespace nav
{
template <class H, class Closer> class UniqueHandle
{
public:
    UniqueHandle() : m_h(H()), m_closer() {}
    explicit UniqueHandle(H h, const Closer& closer = Closer()) : m_h(h), m_closer(closer) {}
    ~UniqueHandle() { Attach(H()); }

    // Closes what is held and takes ownership of h instead.
    void Attach(H h)
    {
        if (m_h)
            m_closer(m_h);
        m_h = h;
    }
    // Hands the handle over to whoever takes it next (for example SetWindowRgn, after which
    // the system owns the region); the owner forgets it.
    H Detach()
    {
        H h = m_h;
        m_h = H();
        return h;
    }
    H Get() const { return m_h; }
    operator H() const { return m_h; }

protected:
    Closer& GetCloser() { return m_closer; }
    const Closer& GetCloser() const { return m_closer; }

private:
    UniqueHandle(const UniqueHandle&);
    UniqueHandle& operator=(const UniqueHandle&);

    H m_h;
    Closer m_closer;
};

// Closers of the handles the library makes, one call each.
struct CloseGdiObject
{
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct CloseImageList
{
    void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
struct CloseMemDC
{
    void operator()(HDC h) const { DeleteDC(h); }
};
struct CloseRegKey
{
    void operator()(HKEY h) const { RegCloseKey(h); }
};
struct CloseMenu
{
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct CloseLibrary
{
    void operator()(HMODULE h) const { FreeLibrary(h); }
};
struct FreeText
{
    void operator()(wchar_t* p) const { free(p); }
};
struct CloseWindowDC
{
    explicit CloseWindowDC(HWND hwndOwner = NULL) : hwnd(hwndOwner) {}
    void operator()(HDC h) const { ReleaseDC(hwnd, h); }
    HWND hwnd;
};

// The owners the library keeps besides those of GDI (NavGdi.h): a registry key, a popup menu
// and a loaded library. The platform counts none of them as GDI objects, so neither do we.
typedef UniqueHandle<HKEY, CloseRegKey> RegKey;
typedef UniqueHandle<HMENU, CloseMenu> PopupMenu;
typedef UniqueHandle<HMODULE, CloseLibrary> Library;
} // namespace nav
