// NavWindow.h - the subclassing seam: how every control stores its object in its window,
// installs its procedure, finds the object again, and gives the window up.
//
// The device keeps a window's user data and procedure in 32-bit slots reached with
// GetWindowLongW/SetWindowLongW and GWL_USERDATA/GWL_WNDPROC. Nothing outside this header
// touches those slots.
#pragma once

#include "NavCommon.h"
#include "win32/NavAlloc.h"
#include "win32/NavGdi.h"

namespace nav
{
namespace detail
{
inline LONG_PTR GetSlot(HWND hwnd, int nIndex)
{
    return GetWindowLongW(hwnd, nIndex);
}
inline LONG_PTR SetSlot(HWND hwnd, int nIndex, LONG_PTR value)
{
    return SetWindowLongW(hwnd, nIndex, static_cast<LONG>(value));
}
const int kUserDataSlot = GWL_USERDATA;
const int kProcSlot = GWL_WNDPROC;
} // namespace detail

// Makes a child window of hParent over rc (parent client coordinates) with control id nID.
inline HWND CreateChild(DWORD dwExStyle, LPCWSTR pszClass, LPCWSTR pszText, DWORD dwStyle,
                        const RECT& rc, HWND hParent, UINT nID, HINSTANCE hInstance)
{
    return CreateWindowExW(dwExStyle, pszClass, pszText, dwStyle, rc.left, rc.top,
                           rc.right - rc.left, rc.bottom - rc.top, hParent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), hInstance, NULL);
}

// Starts (or restarts) a window's timer; 0 when it could not be had.
inline UINT_PTR StartTimer(HWND hwnd, UINT_PTR nID, UINT nPeriod)
{
    return SetTimer(hwnd, nID, nPeriod, NULL);
}

// Where a window stands in its parent: the parent, and the window rectangle and the client
// area's corner in the parent's client coordinates.
struct Place
{
    HWND hParent;
    RECT rcWindow;
    POINT ptClient;
};

// hwnd's place in its parent. Found once (four calls) and remembered until the window moves,
// changes its size or frame, or goes: every control's procedure forgets it at
// WM_WINDOWPOSCHANGED and WM_NCDESTROY (ForwardToObject), and so do Subclass and
// RestoreAndDestroy. While remembered it costs one call, the parent asked for again, so that a
// window given another parent is placed afresh. Remembered on the thread that asked first
// alone; other threads find it at each call.
ZNC_TEST_API Place PlaceInParent(HWND hwnd);
// Drops what PlaceInParent remembers of hwnd.
ZNC_TEST_API void ForgetPlace(HWND hwnd);

// The object a control stored in its window, or null (no window, or not one of ours).
template <class T> T* FindObject(Type<T>, HWND hwnd)
{
    return hwnd ? reinterpret_cast<T*>(detail::GetSlot(hwnd, detail::kUserDataSlot)) : NULL;
}

// Whether hwnd is a window that pObject made and still answers for: its user data names
// pObject. A copy shares its original's window without owning it.
template <class T> bool IsOwnWindow(HWND hwnd, const T* pObject)
{
    return hwnd && FindObject(Type<T>(), hwnd) == pObject;
}

// The procedure the window runs now.
inline WNDPROC WindowProcOf(HWND hwnd)
{
    return reinterpret_cast<WNDPROC>(detail::GetSlot(hwnd, detail::kProcSlot));
}

// Stores pObject in the window's user data, then installs pfnNew and keeps the procedure it
// replaces in pfnOld. User data first, so that the new procedure finds its object from the
// first message on. A window that already runs pfnNew (one that outlived an earlier Create of
// the same object) only gets the new user data: installing the procedure over itself would
// save it as its own native procedure, and every message would then call itself.
inline void Subclass(HWND hwnd, void* pObject, WNDPROC pfnNew, WNDPROC& pfnOld)
{
    ForgetPlace(hwnd); // it may have moved while no procedure of ours heard it
    detail::SetSlot(hwnd, detail::kUserDataSlot, reinterpret_cast<LONG_PTR>(pObject));
    if (WindowProcOf(hwnd) == pfnNew)
    {
        if (!pfnOld)
            pfnOld = DefWindowProcW; // the native procedure is lost; answer as a plain window
        return;
    }
    pfnOld = reinterpret_cast<WNDPROC>(
        detail::SetSlot(hwnd, detail::kProcSlot, reinterpret_cast<LONG_PTR>(pfnNew)));
    if (pfnOld)
        PaintBuffer::ControlWindowIn();
}

// Gives a subclassed window its native procedure back (when one was replaced), then destroys
// it, so that no message of the destruction reaches an object that is going away. Nothing
// happens when the window is gone already.
inline void RestoreAndDestroy(HWND hwnd, WNDPROC pfnOldProc)
{
    ForgetPlace(hwnd); // the handle may name another window later
    if (!IsWindow(hwnd))
        return;
    if (pfnOldProc)
    {
        detail::SetSlot(hwnd, detail::kProcSlot, reinterpret_cast<LONG_PTR>(pfnOldProc));
        PaintBuffer::ControlWindowOut(); // its last message goes to the native procedure
    }
    DestroyWindow(hwnd);
}

// Destroys a window that keeps our procedure to the end (the list and its scroll bar): the
// destruction's messages still reach the object, which must therefore still be alive.
inline void DestroyKeepingProc(HWND hwnd)
{
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
}

// A handler's watch over its window across a call out: a notification sent, the native
// procedure called, an application callback, a cooperating function, a modal menu. Any of them
// may destroy the window, and with it the object (the application closes a screen from a
// notification). The watch keeps the handle and the object in locals; after the call, Died()
// says whether the window is gone or no longer names the object, and the handler then returns
// at once, touching nothing of the object. A watch over no window never reports a death.
// One call each: a window that is gone has no user data (GetWindowLongW answers 0), so the
// user data alone says both whether the window lives and whether it still names the object.
class WindowWatch
{
public:
    // A copy of a control shares its maker's window, which names the maker: the watch of a
    // copy's call follows the object the window names when the watch is made, so that the
    // copy's paint goes on while the window lives and still names its maker.
    template <class T>
    WindowWatch(HWND hwnd, const T* pObject) : m_hwnd(hwnd), m_pObject(pObject), m_bWatching(false)
    {
        if (!hwnd)
            return;
        const void* pNamed =
            reinterpret_cast<const void*>(detail::GetSlot(hwnd, detail::kUserDataSlot));
        m_bWatching = (pObject && pNamed == pObject) || IsWindow(hwnd);
        if (pNamed && pNamed != pObject)
            m_pObject = pNamed;
    }
    // A watch over a window the caller knows to be alive: a handler that the window's procedure
    // reached through the object the window names, or code that has just asked the window for
    // its client area. It needs no question, and differs from the one above only over a handle
    // that is no window when the watch is made, whose death it reports at once.
    template <class T> static WindowWatch OverLiveWindow(HWND hwnd, const T* pObject)
    {
        return WindowWatch(hwnd, static_cast<const void*>(pObject), hwnd != NULL);
    }
    bool Died() const { return m_bWatching && !NamesObject(m_hwnd, m_pObject); }

private:
    WindowWatch(HWND hwnd, const void* pObject, bool bWatching)
        : m_hwnd(hwnd), m_pObject(pObject), m_bWatching(bWatching)
    {
    }

    static bool NamesObject(HWND hwnd, const void* pObject)
    {
        return pObject &&
               detail::GetSlot(hwnd, detail::kUserDataSlot) == reinterpret_cast<LONG_PTR>(pObject);
    }

    HWND m_hwnd;
    const void* m_pObject;
    bool m_bWatching;
};

// Hands a message to the procedure a control replaced (the native control's), the one way every
// control passes on what it does not consume.
inline LRESULT CallNative(WNDPROC pfnNative, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(pfnNative, hwnd, msg, wParam, lParam);
}

// Lets the native procedure paint the window into hdc, over what was composed there: a native
// edit paints into the DC that WM_PAINT's wParam gives it.
inline void PaintNative(WNDPROC pfnNative, HWND hwnd, HDC hdc, LPARAM lParam)
{
    CallNative(pfnNative, hwnd, WM_PAINT, reinterpret_cast<WPARAM>(hdc), lParam);
}

// The point a pen message carries in lParam, in client coordinates: each is a signed 16-bit
// value, negative left of or above the window (a pen held by the capture).
inline POINT PointFromLParam(LPARAM lParam)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return pt;
}

// Asks the native procedure a question it answers through a pointer (a text, a column, a
// cell). A paint that asks it straight away, rather than through the window and the control's
// own procedure that only passes the question on, pays less: the benchmarks' tables of pieces
// (bench_list's cells, bench_static's text) show what the questions cost.
inline LRESULT AskNative(WNDPROC pfnNative, HWND hwnd, UINT msg, WPARAM wParam, void* pAnswer)
{
    return CallNative(pfnNative, hwnd, msg, wParam, reinterpret_cast<LPARAM>(pAnswer));
}

// What a procedure answers when its window names no object (before the user data is set, or
// after a copy let go of it): 0 to everything, or the default window procedure.
struct NoObject
{
    enum Answer
    {
        AnswerZero, // button, group box, edit, combo box, label
        DefaultProc // list, scroll bar
    };
};

inline LRESULT AnswerWithoutObject(NoObject::Answer answer, HWND hwnd, UINT msg, WPARAM wParam,
                                   LPARAM lParam)
{
    return answer == NoObject::DefaultProc ? DefWindowProcW(hwnd, msg, wParam, lParam) : 0;
}

// The whole body of a control's static window procedure: hands the message to the member
// handler of the object the window names, or answers as 'answer' says when it names none.
// The window's last message (WM_NCDESTROY) also takes the object's name out of the window, so
// that nothing arriving for the dead handle later can reach an object that may be gone too.
template <class T>
LRESULT ForwardToObject(LRESULT (T::*pfnHandler)(HWND, UINT, WPARAM, LPARAM),
                        NoObject::Answer answer, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCDESTROY) // destroyed while still ours, object or not
        PaintBuffer::ControlWindowOut();
    if (msg == WM_WINDOWPOSCHANGED || msg == WM_NCDESTROY)
        ForgetPlace(hwnd);
    T* pObject = FindObject(Type<T>(), hwnd);
    if (!pObject)
        return AnswerWithoutObject(answer, hwnd, msg, wParam, lParam);
    const LRESULT lResult = (pObject->*pfnHandler)(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        detail::SetSlot(hwnd, detail::kUserDataSlot, 0);
    return lResult;
}
} // namespace nav
