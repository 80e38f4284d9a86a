/// \file NavGroupBox.h
/// CNavGroupBox, a native group box over a bitmap of the application's.
#pragma once

#include "NavCommon.h"

/// A native group box ("BUTTON", \c BS_GROUPBOX) over a bitmap of the application's, meant
/// as the parent window of the controls placed inside it.
///
/// It copies the bitmap, unstretched, under the whole box when the box is erased (the native
/// group box then draws its frame and caption over it), hands its button children's
/// \c WM_DRAWITEM back to them so that CNavBitmapButton children draw themselves, and
/// answers its children's \c WM_CTLCOLORBTN and \c WM_CTLCOLORSTATIC with a transparent
/// background.
///
/// What it does not do, and the application must:
/// - It does not answer its children's #WM_NAV_PAINTBKGND: to show the bitmap beneath
///   buttons inside it, subclass the box (\c SetWindowLongPtrW with \c GWLP_WNDPROC, on
///   GetSafeHwnd()) and paint the part of the bitmap under the given rectangle there, passing
///   every other message to the procedure you replaced.
/// - It does not pass its children's \c WM_COMMAND on: \c BN_CLICKED from a button inside
///   it reaches the box and stops there. Hear it in the same subclass (forward \c WM_COMMAND
///   to the box's parent), or read the buttons' state with CNavBitmapButton::GetCheck when
///   needed.
/// - Give it \c WS_CLIPCHILDREN so that its own painting does not cover its children.
///
/// The object owns its window; it never frees the bitmap.
///
/// The user data of the control's window (\c GWL_USERDATA) holds the object's address and
/// belongs to the control: an application that stores its own data there breaks it.
class ZNC_API CNavGroupBox
{
public:
    /// A group box without a window.
    CNavGroupBox();
    /// The copy names the same window and bitmap; destroying either destroys the window.
    CNavGroupBox(const CNavGroupBox& other);
    /// Takes over every field of \p other; a window this box made itself is destroyed first.
    CNavGroupBox& operator=(const CNavGroupBox& other);
    /// Gives the window its native procedure back, then destroys it; the bitmap is left alone.
    virtual ~CNavGroupBox();

    /// Creates the group box.
    /// \param hInstance instance that owns the window.
    /// \param dwStyle window style (\c WS_VISIBLE, \c WS_CLIPCHILDREN, ...); \c WS_CHILD,
    ///        \c WS_TABSTOP and \c BS_GROUPBOX are added.
    /// \param pszCaption caption drawn by the native group box on its frame (copied).
    /// \param rc rectangle in the parent's client coordinates (not changed).
    /// \param hwndParent parent window.
    /// \param nId control id.
    /// \param hBitmap background, at least as large as the box (it is neither stretched nor
    ///        tiled), or null to keep one given to an earlier Create. Not owned: keep it alive,
    ///        and not selected into a DC, while the box exists.
    /// \return 1 on success or when the window is alive (nothing then changes), 0 on failure
    ///         (a debug line "CreateButton failed" is written; Create may be retried).
    int Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* pszCaption, RECT& rc,
               HWND hwndParent, UINT nId, HBITMAP hBitmap);
    /// The window handle as stored (null before Create).
    HWND GetSafeHwnd();

protected:
    /// The window procedure installed on the native group box: paints the bitmap on
    /// \c WM_ERASEBKGND, forwards button children's \c WM_DRAWITEM to them (other owner-draw
    /// requests are answered 0), answers children's colour requests transparent; everything
    /// else, \c WM_COMMAND included, goes to the native procedure.
    static LRESULT CALLBACK GrouProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    /// The member handler the window procedure forwards to once it has found the object:
    /// one handler per message, the rest to the native procedure.
    LRESULT OnMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    LRESULT OnEraseBkgnd(HWND hwnd, HDC hdc);
    LRESULT OnDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColor(HDC hdc);
    void DestroyOwnWindow();

    HWND m_hWnd;
    HBITMAP m_hBitmap;
    WNDPROC m_pfnOldProc;
};
