// NavOwner.h - the owner of one handle, in the manner of WTL's CHandle and CBitmapT<true>. Plain
// C++ and header-only, so that the image library, a DLL of its own, cleans up through the same
// owners as the controls (the closers of GDI's handles are in NavDib.h).
//
// An owner cannot be copied (the copy constructor and assignment are declared and never
// defined); ownership moves only by hand, with Detach() and Attach(). The closer is a small
// function object that may carry what the closing call needs besides the handle (the window of
// ReleaseDC, the PAINTSTRUCT of EndPaint, the DC of a selection). A null handle (H()) is never
// closed.
#pragma once

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

} // namespace nav
