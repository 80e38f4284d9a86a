/// \file NavBitmapButton.h
/// CNavBitmapButton, the library's skinned button.
#pragma once

#include "NavCommon.h"

/// A push button, check box, radio button or push-on/push-off button (#ButtonType) on an
/// owner-drawn native "BUTTON" window.
///
/// The face comes from the library's PNG faces (78 x 50 for buttons up to 83 pixels wide,
/// 106 x 50 above; not stretched), from an application's image list, or from the
/// application's #DrawBkProc; check and radio icons (30 x 30) and the caption are drawn over
/// it. Check and radio captions are black: place those buttons on light backgrounds. The
/// caption shows at most 49 characters.
///
/// What the parent window must do:
/// - answer #WM_NAV_PAINTBKGND (the picture beneath the button);
/// - pass \c WM_DRAWITEM back to the button's window
///   (<tt>SendMessageW(dis->hwndItem, WM_DRAWITEM, wParam, lParam)</tt>): the button draws
///   only when the request reaches its own window (a CNavGroupBox does this for buttons
///   inside it);
/// - act on \c WM_COMMAND / \c BN_CLICKED, which the native button sends to its parent
///   after every tap (read the new state with GetCheck()). Buttons inside a CNavGroupBox send
///   it to the group box, which does not pass it on.
///
/// The object owns its window: the destructor destroys it. It never frees the font, image
/// list or callback it is given.
///
/// The user data of the control's window (\c GWL_USERDATA) holds the object's address and
/// belongs to the control: an application that stores its own data there breaks it.
class ZNC_API CNavBitmapButton
{
public:
    /// A button without a window, unchecked.
    CNavBitmapButton();
    /// The copy names the same window, image list and check state as \p other; destroying
    /// either destroys the window for both, the check state is freed with the last of them.
    CNavBitmapButton(const CNavBitmapButton& other);
    /// Takes over every field of \p other, sharing its window and check state. A window this
    /// button made itself is destroyed first.
    CNavBitmapButton& operator=(const CNavBitmapButton& other);
    /// Gives the window its native procedure back and destroys it (for every copy).
    virtual ~CNavBitmapButton();

    /// Creates the owner-drawn button window.
    /// \param hInstance instance that owns the window (the application's).
    /// \param dwStyle window style: \c WS_CHILD, \c WS_VISIBLE to be seen, \c WS_GROUP on
    ///        the first radio button of a group; \c WS_TABSTOP and \c BS_OWNERDRAW are added.
    /// \param pszCaption caption (copied by the window).
    /// \param rc rectangle in the parent's client coordinates (not changed).
    /// \param hwndParent parent window (it receives \c WM_DRAWITEM and \c BN_CLICKED).
    /// \param nId control id.
    /// \param hImageList application's faces or null, drawn at (0, 0) unstretched. Push kind:
    ///        image 0 normal, 1 pressed, and with exactly four images 2 focused, 3 disabled.
    ///        Push-on/push-off kind: 0 off, 1 on; with four images 0 off and disabled, 1 off
    ///        (and on while disabled), 3 on. Radio kind: image 0 is drawn after the radio icon.
    ///        Not owned; keep it alive while the button exists.
    /// \param nType the kind of button.
    /// \param pfnDrawBk face painter for push and push-on/push-off kinds, or null; ignored
    ///        when \p hImageList is given.
    /// \return 1 on success or when the window is already alive (nothing then changes), 0 on
    ///         failure (a debug line "CreateButton failed" is written; Create may be retried).
    int Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* pszCaption, RECT& rc,
               HWND hwndParent, UINT nId, HIMAGELIST hImageList, ButtonType nType,
               DrawBkProc pfnDrawBk);

    /// Resizes the window to \p cx x \p cy pixels, keeping its position and stacking order.
    /// Does nothing without a window.
    void ReSize(int cx, int cy);
    /// The caption font from the next paint on (null: the DC's default font). Not owned; keep
    /// it alive while the button exists. Call InvalidateRect on GetSafeHwnd() to see it at once.
    void SetFont(HFONT hFont);
    /// The check state: 1 when checked, 0 when not or when there is no window.
    int GetCheck();
    /// Checks (\p nCheck non-zero) or unchecks the button without repainting it and without
    /// touching the other radio buttons of its group; call InvalidateRect on GetSafeHwnd() to
    /// show the change. Does nothing without a window.
    void SetCheck(int nCheck);
    /// \c ShowWindow with \p nCmdShow; its result, 0 without a window.
    int Show(int nCmdShow);
    /// Sets the caption (the window's text); the native button repaints. Nothing without a window.
    void SetText(const wchar_t* pszText);
    /// Copies the caption into \p pszBuffer, at most \p cchBuffer - 1 characters and a
    /// terminator. \return the characters copied; 0 without a window, buffer or size.
    int GetText(wchar_t* pszBuffer, int cchBuffer);
    /// The window handle as stored: null before Create, possibly stale after the window died.
    HWND GetSafeHwnd();
    /// Paints the button's normal face (not pressed, no focus, enabled) and caption into a DC
    /// of the parent at the button's place in the parent's client coordinates, for a parent
    /// that composes its own picture. The parent's #WM_NAV_PAINTBKGND is asked as for a paint.
    /// \return 1 when drawn, 0 for a null DC, a button without a window, or when no memory
    ///         could be had for the picture (the DC is then left as it was).
    int OnPaintEx(HDC hdcParent);

protected:
    /// The window procedure installed on the native button by Create: draws on
    /// \c WM_DRAWITEM, turns taps into check-state changes, passes everything else on.
    static LRESULT CALLBACK BitmapButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    /// The member handler the window procedure forwards to once it has found the object:
    /// one handler per message, the rest to the native procedure.
    LRESULT OnMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    /// The state change at the end of a tap released at the client point in \p lParam (as in
    /// \c WM_LBUTTONUP) on the button window \p hwnd; a release outside changes nothing.
    /// \p wParam is not used.
    static void SetButtonState(WPARAM wParam, LPARAM lParam, HWND hwnd);

private:
    LRESULT OnDrawItem(HWND hwnd, WPARAM wParam, const DRAWITEMSTRUCT* pdis);
    LRESULT OnCtlColorBtn(HDC hdc);
    LRESULT OnLButtonDown(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyUp(HWND hwnd, WPARAM wParam, LPARAM lParam);
    void ApplyClick(HWND hwnd);
    LRESULT OnRadioClear(HWND hwnd);
    void ClearGroup(HWND hwnd);
    void DestroyOwnWindow();
    // Composes the face for the given owner-draw state bits and copies it to hdcTarget: to
    // (0, 0), or to the button's place in the parent when bToParent; false when nothing could
    // be drawn.
    bool DrawFace(HDC hdcTarget, const RECT& rcFace, UINT nState, bool bToParent);
    bool DrawFaceArt(HDC hdc, const RECT& rcFace, UINT nState, RECT& rcText);
    void DrawCaption(HDC hdc, RECT rcText, int cxFace);
    bool IsChecked() const;
    void AddRefCheck();
    void ReleaseCheck();

    HWND m_hWnd;
    HFONT m_hFont;
    ButtonType m_nType;
    DrawBkProc m_pfnDrawBk;
    int* m_pCheck; // bit 0 = checked; shared by copies, freed with the last of them
    HIMAGELIST m_hImageList;
    WNDPROC m_pfnOldProc;
};
