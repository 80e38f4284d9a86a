/// \file NavCombobox.h
/// CNavCombobox, an edit field with a drop-down arrow and a list of its own.
#pragma once

#include "NavCommon.h"

/// An edit field with a drop-down arrow and a list of its own, built from two native
/// children of the application's window.
///
/// - The edit ("EDIT", the id given to Create) shows the current text with the arrow (24 x 22,
///   or 32 x 32 after IsLargerCB) drawn over its right end; it is arrow height + 2 pixels
///   high (24 or 34) whatever rectangle Create is given.
/// - The list ("LISTBOX", window name "ComboboxList", id = the combo's id + 1010) opens below
///   the edit, or above it when the parent's client area has no room below, as wide as the
///   edit and as many whole rows high as its greatest height allows (set by Create). Its rows
///   are arrow height high; unsorted; black text (unless the parent sets another) on grey.
///
/// A tap on the arrow opens or closes the list; a tap on an item with text copies the text
/// into the edit and closes the list; the list also closes when it loses the focus. The list
/// operations (AddString, SetCurSel, ...) go to the native list box and answer what it
/// answers.
///
/// What the parent window must do:
/// - answer #WM_NAV_PAINTBKGND (the picture beneath the edit);
/// - pass \c WM_CTLCOLOREDIT and \c WM_CTLCOLORLISTBOX back to the window in \c lParam
///   (<tt>return SendMessageW((HWND)lParam, msg, wParam, lParam);</tt>): on the desktop the
///   native windows ask their parent, and the default answer fills the field white over the
///   arrow. The edit's text takes the text colour of that DC: black unless the parent sets
///   another (\c SetTextColor on \c wParam) before passing the request on;
/// - to hear a choice, act on \c WM_COMMAND from the list id (id + 1010), \c LBN_SELCHANGE
///   when the pen selects an item, and read the choice from the list (GetCurSel, GetLBText):
///   whether the edit already holds the item's text then is the native list box's affair.
///   Or act on \c EN_CHANGE under the combo's id, which the edit sends for every new text:
///   a chosen item's, SetCurSel's and what the user types. SetCurSel sends no
///   \c LBN_SELCHANGE.
/// - give siblings that repaint themselves beneath the open list (a scrolling label, say)
///   \c WS_CLIPSIBLINGS, or they paint over it.
///
/// The object owns both windows and destroys them in its destructor; it never frees the font.
///
/// The user data of both windows (\c GWL_USERDATA) holds the object's address and belongs
/// to the control: an application that stores its own data there breaks it.
class ZNC_API CNavCombobox
{
public:
    /// A combo without windows, with 24 x 22 arrows.
    CNavCombobox();
    /// Gives each window its native procedure back and destroys it, the list first.
    virtual ~CNavCombobox();
    /// The copy names the same windows; destroying either copy destroys them for both, so
    /// keep one owner and pass it by reference.
    CNavCombobox(const CNavCombobox& other);
    /// Takes over every field of \p other; windows this combo made itself are destroyed first.
    CNavCombobox& operator=(const CNavCombobox& other);

    /// Creates the edit and the hidden list and subclasses both.
    /// \param hInstance instance that owns the windows.
    /// \param dwStyle only \c WS_VISIBLE is read; the edit is always bordered, a tab stop and
    ///        scrolls its text sideways.
    /// \param pszText not used (set the text with SetCurSel, or \c SetWindowTextW on
    ///        GetSafeHwnd()).
    /// \param rect in: the combo's rectangle in the parent's client coordinates; its left,
    ///        top and width place the edit, and the height below the edit (bottom - top -
    ///        arrow height - 2) is the list's greatest height (at least one row). Out: the
    ///        list's rectangle in screen coordinates.
    /// \param hParent parent of both windows (it receives their notifications).
    /// \param nID the edit's id; the list gets \p nID + 1010.
    /// \return 1 on success or when the edit already exists (nothing changes), 0 when either
    ///         window could not be made (a debug line "CNavCombobox::Create failed" is written).
    int Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* pszText, RECT& rect, HWND hParent,
               UINT nID);
    /// The edit window as stored (null before Create).
    HWND GetSafeHwnd();
    /// Records the font that Create hands to the edit and the list; call it before Create (a
    /// later call has no effect on the windows). Not owned; keep it alive while the combo exists.
    void SetFont(HFONT hFont);
    /// Non-zero: 32 x 32 arrows, a 34-pixel edit and 32-pixel rows; zero: 24 x 22 arrows, a
    /// 24-pixel edit and 22-pixel rows. Call before Create; later it changes only the arrow's
    /// picture and hit area.
    void IsLargerCB(int bLarger);
    /// \c ShowWindow on the edit with \p nCmdShow; an open list is closed in either case.
    void Show(int nCmdShow);
    /// Moves and sizes the edit (parent client coordinates) and repaints it; the list follows
    /// at its next opening, with the greatest height from Create.
    /// \return 1, or 0 without an edit window.
    int MoveWindow(int x, int y, int nWidth, int nHeight);

    /// Inserts \p pszText (copied) before item \p nIndex (-1: at the end).
    /// \return the new item's index, \c LB_ERR or \c LB_ERRSPACE from the list box; -1
    ///         without a list.
    int InsertString(int nIndex, const wchar_t* pszText);
    /// Appends \p pszText (copied). \return the new item's index, \c LB_ERR or
    /// \c LB_ERRSPACE; -1 without a list.
    int AddString(const wchar_t* pszText);
    /// Deletes item \p nIndex. \return the items left, \c LB_ERR for a bad index; -1 without
    /// a list.
    int DeleteString(int nIndex);
    /// Selects item \p nIndex; when it has text, the text becomes the edit's (the edit sends
    /// \c EN_CHANGE) and an open list closes. Sends no \c LBN_SELCHANGE.
    /// \return the list box's answer to \c LB_SETCURSEL (\c LB_ERR for a bad index); -1 for
    ///         \p nIndex -1 (which clears neither the selection nor the edit) or without a list.
    int SetCurSel(int nIndex);
    /// The selected item's index, \c LB_ERR (-1) when none; -1 without a list.
    int GetCurSel();
    /// The number of items; -1 without a list.
    int GetCount();
    /// Copies item \p nIndex's text into \p pszText, which must hold GetLBTextLen(nIndex) + 1
    /// characters. \return the characters copied; \c LB_ERR for a null buffer or a row that
    /// does not exist; 0 without a list.
    int GetLBText(int nIndex, wchar_t* pszText);
    /// Length of item \p nIndex's text in characters, \c LB_ERR for a bad index; 0 without a list.
    int GetLBTextLen(int nIndex);
    /// Removes every item; the edit keeps its text. \return 0 in every case.
    int ResetContent();
    /// Sets the height of every row to \p cyItemHeight pixels (the index is ignored: the rows
    /// are of one height). \return 0, \c LB_ERR for a height the list box refuses; -1 without a
    /// list.
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    /// The rows' height in pixels; 0 without a list.
    int GetItemHeight(int nIndex);

protected:
    /// The edit's window procedure: paints the parent's background, the arrow and the native
    /// text off screen, presses the arrow, opens and closes the list.
    static LRESULT CALLBACK ComboboxProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    /// The list's window procedure: copies a tapped item's text into the edit, closes on
    /// losing the focus, answers its colour request grey.
    static LRESULT CALLBACK ComboboxListProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    /// The member handler ComboboxProc forwards to once it has found the object.
    LRESULT OnEditMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    /// The member handler ComboboxListProc forwards to once it has found the object.
    LRESULT OnListMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;              ///< The edit window; null before Create.
    HWND m_hList;             ///< The drop-down list window; null before Create.
    HFONT m_hFont;            ///< Font handed to both windows by Create; not owned.
    int m_bPressed;           ///< 1 from a pen-down on the edit to the next pen-up on it.
    /// The list's rectangle computed by Create, in screen coordinates; later only its height
    /// is used, as the list's greatest height.
    RECT m_rcList;
    WNDPROC m_pfnOldProc;     ///< The edit's native procedure.
    WNDPROC m_pfnOldListProc; ///< The list's native procedure.
    int m_nArrowWidth;        ///< Arrow width in pixels: 24, or 32 when large.
    int m_nArrowHeight;       ///< Arrow height in pixels: 22, or 32 when large (edit: + 2).
    int m_bLarger;            ///< Non-zero after IsLargerCB(1): the 32 x 32 arrows.
    /// 1 when the list was open at the latest pen-down on the arrow. The pen-down moves the
    /// focus to the edit, which closes the list before the pen-up arrives; the pen-up must
    /// still know that this tap is meant to close it.
    int m_bListOpenAtPress;

private:
    void DestroyList();
    void DestroyEdit();
    BOOL HasList() const;
    LRESULT SendList(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Copies item nIndex's text into the edit; FALSE (edit unchanged) when it has none or
    // no buffer can be had.
    BOOL CopyItemToEdit(int nIndex);
    void HideList();
    void OpenList();
    BOOL ChooseSelected();
    void CloseListToEdit();
    RECT ArrowRect(HWND hWnd) const;
    void DrawArrow(HDC hdc, int x, int nBitmapID);

    LRESULT OnPaint(HWND hWnd, LPARAM lParam);
    LRESULT OnCommand(HWND hWnd, WPARAM wParam);
    LRESULT OnMouseMove(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnListKeyDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnListGetDlgCode(HWND hWnd, WPARAM wParam, const MSG* pMsg);
    LRESULT OnListKillFocus(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnListCtlColor(HDC hdc);
    LRESULT OnListLButtonUp(HWND hWnd, WPARAM wParam, LPARAM lParam);
};
