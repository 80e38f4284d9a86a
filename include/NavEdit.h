/// \file NavEdit.h
/// CNavEdit, a single-line text field on a skinned frame.
#pragma once

#include "NavCommon.h"

/// A single-line text field on a skinned frame.
///
/// The native "EDIT" window keeps all text editing (caret, selection, typing, limits, its
/// \c EN_CHANGE and other notifications to the parent under the id given to Create).
/// CNavEdit paints the field off screen: the parent's background, then the frame (grey rim
/// and white field, orange rim and pale blue field while focused; curved corners, 5-pixel
/// rim stretched to any size) or the application's #DrawBkProc instead of it, the native
/// text (5-pixel left margin), and a black line along the bottom row. A tap in the field
/// opens the soft input panel on the device.
///
/// Without a frame (Create's \c bNoFrame) and without a callback, the text stands directly
/// on the parent's background.
///
/// What the parent window must do:
/// - answer #WM_NAV_PAINTBKGND;
/// - pass \c WM_CTLCOLOREDIT back to the window in \c lParam
///   (<tt>return SendMessageW((HWND)lParam, msg, wParam, lParam);</tt>): on the desktop the
///   native edit asks its parent, and the default answer fills the field white over the
///   frame. The text takes the text colour of that DC: black unless the parent calls
///   \c SetTextColor on \c wParam before passing the request on (do so for a field
///   without frame on a dark background).
///
/// The object owns its window; it never frees the font or the callback.
///
/// The user data of the control's window (\c GWL_USERDATA) holds the object's address and
/// belongs to the control: an application that stores its own data there breaks it.
class ZNC_API CNavEdit
{
public:
    /// A field without a window; grey frame.
    CNavEdit();
    /// Gives the window its native procedure back and destroys it.
    virtual ~CNavEdit();
    /// The copy names the same window; destroying either copy destroys it for both, so keep
    /// one owner and pass it by reference.
    CNavEdit(const CNavEdit& other);
    /// Takes over every field of \p other; a window this edit made itself is destroyed first.
    CNavEdit& operator=(const CNavEdit& other);

    /// Creates the native edit and subclasses it.
    /// \param hInstance instance that owns the window.
    /// \param dwStyle native style (\c WS_CHILD, \c WS_VISIBLE, \c WS_TABSTOP,
    ///        \c ES_AUTOHSCROLL, \c ES_PASSWORD, ...). \c WS_BORDER is removed when the
    ///        frame is drawn, kept with \p bNoFrame.
    /// \param pszText initial text (copied).
    /// \param rect rectangle in the parent's client coordinates (not changed). The frame
    ///        artwork is 36 pixels high; any size is stretched to.
    /// \param hParent parent window.
    /// \param nID control id.
    /// \param pfnDrawBk painter of the field's background instead of the frame, or null (a
    ///        null keeps one given to an earlier Create).
    /// \param bNoFrame non-zero: no frame is drawn and the style is used as given.
    /// \return 1 on success or when the window exists (nothing then changes), 0 on failure
    ///         (a debug line "CNavEdit::Create failed" is written; Create may be retried).
    int Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* pszText, RECT& rect, HWND hParent,
               UINT nID, DrawBkProc pfnDrawBk, int bNoFrame);

    /// Replaces the text (copied). \return \c SetWindowTextW's result, 0 without a window.
    int SetText(wchar_t* pszText);
    /// Copies the text into \p pszBuffer, at most \p nMaxCount - 1 characters and a
    /// terminator. \return the characters copied; 0 (buffer untouched) without a window,
    /// buffer or size.
    int GetText(wchar_t* pszBuffer, int nMaxCount);
    /// The text's length in characters; 0 without a window.
    int GetTextLength();
    /// Limits what the user can type to \p nLimit characters (\c EM_LIMITTEXT; 0 is the
    /// platform's maximum). Does nothing without a window.
    void SetLimitText(UINT nLimit);
    /// Records the font that Create hands to the window: call it before Create. To change the
    /// font later, send \c WM_SETFONT to GetSafeHwnd() (the margins are kept). Not owned.
    void SetFont(HFONT hFont);
    /// The native edit window (null before Create).
    HWND GetSafeHwnd();
    /// Paints the field's background, frame and bottom line, without the text, into a DC of
    /// the parent at the field's place in the parent's client coordinates, for a parent that
    /// composes its own picture. \return 1 when drawn, 0 for a null DC or without a window.
    int OnPaintEx(HDC hdc);

protected:
    /// The window procedure installed on the native edit: skinned painting, frame by focus,
    /// the input panel on a tap. It consumes every \c WM_COMMAND sent to the field: id 1010
    /// copies the selection, id 1011 selects all the text.
    static LRESULT CALLBACK EditProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    /// The member handler the window procedure forwards to once it has found the object:
    /// one handler per message, the rest to the native procedure.
    LRESULT OnMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    DrawBkProc m_pfnDrawBk; ///< The application's background painter, or null (frame drawn).
    HWND m_hWnd;            ///< The native edit window; null before Create.
    HFONT m_hFont;          ///< Font recorded by SetFont for Create; not owned.
    int m_bPressed;         ///< 1 from a pen-down on the field to the next pen-up.
    WNDPROC m_pfnOldProc;   ///< The native edit's procedure.
    int m_bNoFrame;         ///< Create's \c bNoFrame: no frame drawn, style kept.
    int m_nFrameBitmapID;   ///< Frame artwork in use: 109 normal, 110 while focused.

private:
    void DestroyOwnWindow();
    LRESULT OnSetFocus(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(HWND hWnd, LPARAM lParam);
    LRESULT OnCommand(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColor(HDC hdc);
    LRESULT OnMouseMove(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(HWND hWnd, WPARAM wParam, LPARAM lParam);

    // Composes everything but the text into hdcMem (W x H), as the paint and OnPaintEx do.
    // False when the window went meanwhile.
    bool ComposeBackground(HDC hdcMem, const RECT& rcClient, HWND hParent,
                           const RECT& rcInParent);
    void DrawFrame(HDC hdcMem, const RECT& rc);
    void DrawBottomLine(HDC hdcMem, const RECT& rcWindow);
    // The window rectangle in the parent's client coordinates; returns the parent.
    HWND ParentRect(RECT* prcInParent);
};
