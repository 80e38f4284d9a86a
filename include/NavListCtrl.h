/// \file NavListCtrl.h
/// CNavListCtrl, a report list whose rows the control draws itself.
#pragma once

#include "NavCommon.h"

class CNavScrollBar;
struct CNavListShared;

/// A report list ("SysListView32", single selection, no header, fixed owner-drawn rows) whose
/// rows the control draws itself, with check boxes, row images, a 40-pixel scroll bar of its
/// own and sideways scrolling of a selected row's text that does not fit.
///
/// Two modes, fixed at Create by \c LVS_OWNERDATA: a virtual list (the short Create) knows
/// only its row count (SetItemCount) and asks the parent for each cell with
/// \c LVN_GETDISPINFOW; an ordinary list holds the rows the application inserts
/// (InsertItem, SetItemText).
///
/// Geometry. The scroll bar is a sibling window standing over the right 40 pixels of the
/// list's rectangle (raised above the list; MoveWindow and Show keep it there). Column 0, the
/// only column the list makes, is as wide as the client area less 40. A row of column 0 is
/// laid out from its left edge L: the check box (when on) from L to L + 31, 2 to 34 pixels
/// below the row's top; the image (when its width cx, from SetImageList, is above 0) from the
/// check box's right edge, cx + 1 wide; the text from there + 1 to that + column 0's width,
/// vertically centred on one line (a line feed splits it into an upper and a lower half), at
/// most 63 characters, in black. The row is only as wide as its columns together, and text
/// reaching past it is cut 2 pixels short of its right edge. A selected row is drawn on a
/// light-blue bar; an unselected one on the parent's background (#WM_NAV_PAINTBKGND, asked
/// per row) with a tan line along its bottom. Black text wants a light background beneath
/// the list.
///
/// Rows are FixLineHeight pixels high (30 unless changed); GetPageSize is the client
/// height plus 2, divided by that, the remainder dropped. A bordered list (\c WS_BORDER, 1
/// pixel on each side) whose height is n x FixLineHeight + 2 shows exactly n whole rows and
/// a page size of n.
///
/// What the parent window must do:
/// - answer #WM_NAV_PAINTBKGND (the list's background, and each unselected row's);
/// - answer \c WM_MEASUREITEM with FixLineHeight (\c itemHeight), and pass \c WM_DRAWITEM
///   back to the list window (the list draws rows only when the request reaches its own
///   window);
/// - for a virtual list, answer \c LVN_GETDISPINFOW with each cell's text (and the image
///   index for column 0), and, when the callback mask holds the state-image bits
///   (\c LVM_SETCALLBACKMASK with \c LVIS_STATEIMAGEMASK), with each row's state image
///   (\c LVIF_STATE: 2 checked, 1 unchecked): the list then keeps no check of its own;
/// - with page scrolling on, act on #WM_NAV_PAGESCROLL: send the list \c WM_VSCROLL with
///   \c SB_PAGEUP or \c SB_PAGEDOWN, then call <tt>EnsureVisible(GetScrollPos(), 0)</tt>,
///   which places the thumb without painting the list again.
///
/// What the parent hears (as \c WM_NOTIFY under the list's id): \c LVN_ITEMCHANGED for
/// selection changes, and \c LVN_ITEMCHANGING then \c LVN_ITEMCHANGED for every check change
/// made by a tap or by the space bar on the selected row, in both kinds of list, in the order
/// of the platform's list with check boxes: a tap in the check zone sends \c NM_CLICK first
/// (a row not yet selected is selected before it), the space bar \c LVN_KEYDOWN. \c uChanged
/// has \c LVIF_STATE, \c iItem is the row, \c uNewState and \c uOldState are the row's whole
/// state (selection and focus bits, and the state image 0x2000 checked, 0x1000 unchecked). A
/// non-zero answer to \c LVN_ITEMCHANGING keeps the check. An ordinary list's native list
/// sends them, also for SetCheckStatus, SetCheckAll and SetCheckOff; a virtual list whose
/// parent keeps the checks sends them for those calls too (row -1 for every row), any other
/// virtual list for taps and keys only. \c NM_CLICK follows any other tap. Either kind answers
/// \c LVM_GETITEMSTATE with state image 2 for a checked row.
///
/// The thumb is placed again only by the calls that say so (Create, Invalidate, MoveWindow,
/// DeleteAllItems, EnsureVisible, SetItemCount), by the arrow keys and by the bar's own
/// arrows and track. After scrolling the list otherwise (sending it \c WM_VSCROLL or
/// \c LVM_SCROLL), call <tt>EnsureVisible(GetScrollPos(), 0)</tt> (the list painted itself
/// while it scrolled); after changing its rows (InsertItem, DeleteItem), call Invalidate().
///
/// The object owns its window and its scroll bar; it never frees the font or the image list.
///
/// The user data of the control's window (\c GWL_USERDATA) holds the object's address and
/// belongs to the control: an application that stores its own data there breaks it.
class ZNC_API CNavListCtrl
{
public:
    /// Row height in pixels that the list and its scroll bar assume (page size, thumb,
    /// dragging); also what the parent answers to \c WM_MEASUREITEM. Shared by every list of
    /// the process; set it before creating lists. A value of 0 or below counts as 30.
    static int FixLineHeight;

    /// A list without a window; page scrolling and the scroll bar on, check boxes off.
    CNavListCtrl();
    /// The copy shares the window, the scroll bar, the separator pen and the check states with
    /// \p other; the last of them to go frees the shared pieces.
    CNavListCtrl(const CNavListCtrl& other);
    /// Takes over every field of \p other and shares its pieces; a window this list made
    /// itself is destroyed first.
    CNavListCtrl& operator=(const CNavListCtrl& other);
    /// Does what Destroy does.
    virtual ~CNavListCtrl();

    /// Makes the list window and its scroll bar.
    /// \param hParent parent window (it receives the requests and notifications above).
    /// \param dwStyle only \c WS_VISIBLE, \c WS_BORDER and \c LVS_OWNERDATA (virtual list)
    ///        are read.
    /// \param hInst instance that owns the windows.
    /// \param rc rectangle in the parent's client coordinates, the scroll bar included.
    /// \param nID control id; the scroll bar gets \p nID + 1001.
    /// \return 1 on success or when the window exists (nothing then changes), 0 when the
    ///         window cannot be made or after Destroy. Register the list view class first
    ///         (\c InitCommonControlsEx with \c ICC_LISTVIEW_CLASSES).
    int Create(HWND hParent, DWORD dwStyle, HINSTANCE hInst, const RECT& rc, UINT nID);
    /// A visible, bordered virtual list; the other arguments as in the long form.
    int Create(HWND hParent, HINSTANCE hInst, const RECT& rc, UINT nID);
    /// Destroys the window and the scroll bar and frees the pen and the check states. A later
    /// Create makes them anew.
    void Destroy();

    /// The list window (null before Create and after Destroy).
    HWND GetSafeHwnd();
    /// The list window's control id (0 without a window).
    UINT GetDlgCtrlID();
    /// \c ShowWindow on the list with \p nCmdShow; non-zero also shows and raises the scroll
    /// bar (even after EnableHScrollBar(0)), zero hides it.
    void Show(int nCmdShow);
    /// Moves and sizes the list (parent client coordinates, the bar included) and repaints it;
    /// the bar follows and its thumb is placed again; column 0 becomes the client width less
    /// 40 (or the whole width while the bar is off), so set further columns' widths again.
    /// \return 1, 0 without a window or without a scroll bar.
    int MoveWindow(int x, int y, int cx, int cy);
    /// Repaints the whole list (without erasing) and places the thumb again from the list's
    /// position. Call it after scrolling the list or changing its rows yourself.
    void Invalidate();
    /// Paints what is invalid now (\c UpdateWindow).
    void Update();
    /// The rows' font from the next paint on (null: the DC's font). Not owned; keep it alive
    /// while the list exists.
    void SetFont(HFONT hFont);
    /// Does nothing (the list always paints itself). \return 1.
    int OnPaintEx(HDC hdc);

    /// Inserts a row into an ordinary list. \param index where (0-based). \param pszText
    /// column 0's text (copied). \param nImage image index (-1: none; the row painter is
    /// called instead). \param lParam the application's value for the row.
    /// \return the new row's index, -1 on failure; 0 without a window. Call Invalidate() for
    ///         the thumb.
    int InsertItem(int index, wchar_t* pszText, int nImage, LPARAM lParam);
    /// Sets the text of column \p nSubItem of row \p index in an ordinary list (copied).
    /// \return non-zero on success; 0 on failure, without a window or on a virtual list.
    int SetItemText(int index, int nSubItem, const wchar_t* pszText);
    /// Deletes row \p index; a virtual list's check states behind it move up by one.
    /// \return non-zero on success; 0 without a window or for a row outside the count.
    int DeleteItem(int index);
    /// Deletes every row, stops the text scrolling and places the thumb again.
    /// \return non-zero on success; 0 without a window.
    int DeleteAllItems();
    /// Sets a virtual list's row count (a negative count counts as 0); every row is
    /// unchecked afterwards, also when the count did not change, unless the parent keeps the
    /// checks (callback mask). The thumb is placed again. Does nothing for an ordinary list or
    /// without a window.
    void SetItemCount(int nCount);
    /// The number of rows, as the list window reports it (0 without a window).
    int GetItemCount();
    /// \c LVM_GETNEXTITEM: the next row after \p nStart (-1: from the start) that has the
    /// \c LVNI_* flags in \p nFlags (for example \c LVNI_SELECTED).
    /// \return its index, -1 when none or without a window.
    int GetNextItem(int nStart, int nFlags);
    /// \c LVM_SETITEMSTATE for row \p index (-1: every row): the bits of \p nMask are set
    /// to those of \p nState (for example \c LVIS_SELECTED | \c LVIS_FOCUSED to select a
    /// row). Does nothing without a window.
    void SetItemState(int index, UINT nState, UINT nMask);
    /// Scrolls row \p index into view (\p bPartialOK non-zero: a partly visible row will do)
    /// and places the thumb again. A row already in view scrolls and repaints nothing, so
    /// <tt>EnsureVisible(GetScrollPos(), 0)</tt> only places the thumb after the application
    /// scrolled the list itself. \return non-zero on success; 0 without a window.
    int EnsureVisible(int index, int bPartialOK);

    /// Shows (non-zero) or hides the rows' check boxes; repaints at once. The check states
    /// are kept while the boxes are hidden. May be called before Create.
    void SetCheckBox(int bCheckBox);
    /// 1 when row \p index is checked (a virtual list whose parent keeps the checks asks it);
    /// 0 when not, while check boxes are off, or for a row outside the count.
    int GetCheckStatus(int index);
    /// Checks (non-zero) or unchecks row \p index. Ignored while check boxes are off or for a
    /// row outside the count. An ordinary list repaints the row and sends
    /// \c LVN_ITEMCHANGED; a virtual list whose parent keeps the checks tells the parent
    /// (\c LVN_ITEMCHANGING, \c LVN_ITEMCHANGED) and repaints the row; any other virtual list
    /// sends nothing and shows it at the next paint (call Invalidate()).
    void SetCheckStatus(int index, int bCheck);
    /// Checks every row and repaints at once; nothing while check boxes are off.
    void SetCheckAll();
    /// Unchecks every row and repaints at once; nothing while check boxes are off.
    void SetCheckOff();
    /// Non-zero: a tap anywhere on a row toggles its check; zero (the default): only a tap
    /// left of client x 30, in the row's top 34 pixels, does.
    void SetSelChecked(int bSelChecked);

    /// Sets where row images come from.
    /// \param hImageList image list drawn for each row's image index, or null. Its image
    ///        width sets the image area; not owned, keep it alive while the list exists.
    /// \param pSize with a null image list: the image area's size (only \c cx is used).
    /// \param pfnDrawItem with a null image list: the row-image painter, called for each row
    ///        that no image list draws (every row while none was ever set, else the rows whose
    ///        image index is -1); with an image list it is ignored.
    /// \return 1; 0 (nothing changed) when both \p hImageList and \p pfnDrawItem are null.
    int SetImageList(HIMAGELIST hImageList, SIZE* pSize, DrawItemProc pfnDrawItem);

    /// The number of whole rows one page shows: the client height + 2 divided by
    /// FixLineHeight (at Create: the window height divided by FixLineHeight).
    int GetPageSize();
    /// The index of the top visible row (0 when the list cannot tell).
    int GetScrollPos();
    /// Enables (non-zero, the default) or disables the bar's page arrows: while enabled the
    /// bar shows 39-pixel page arrows at its ends and posts #WM_NAV_PAGESCROLL for them;
    /// disabled, they are gone and the line arrows move to the ends. Takes effect at the
    /// bar's next paint: call Invalidate(). \return the previous setting.
    int EnablePageScroll(int bEnable);
    /// The setting of EnablePageScroll (1 by default).
    int IsPageScrollEnabled();
    /// The value set by SetIsScrollPage (0 by default).
    int GetIsScrollPage();
    /// Only how the page arrows look: non-zero draws them at full strength, zero half-faded.
    /// Taps on them post #WM_NAV_PAGESCROLL either way. Takes effect at the bar's next
    /// paint: call Invalidate().
    void SetIsScrollPage(int bIsScrollPage);
    /// Shows (non-zero, the default) or hides the scroll bar; column 0 becomes the client
    /// width less 40, or the whole client width. Before Create it only records the choice.
    /// \return 1.
    int EnableHScrollBar(int bEnable);
    /// Non-zero: after a tap on a row, a selected row whose column-0 text does not fit is
    /// redrawn once a second starting one character further on, wrapping round; zero stops
    /// it. Either value stops a running scroll; the next tap starts it. By default each step
    /// draws the selection bar, the check box and column 0's text alone, from the check box's
    /// right edge across the whole row (over the image, the separators and every other
    /// column), and the text fits when it fits the whole row; EnableSelectHScrollInColumn
    /// keeps the rest of the row.
    void EnableSelectHScroll(int bEnable);
    /// Non-zero: each step of the selected row's text scrolling (EnableSelectHScroll) draws
    /// the whole row, its check box, image, separators and other columns as they are, and
    /// scrolls column 0's text inside column 0, cut at its right edge; the text fits when it
    /// fits column 0's text area. Zero (the default): a step draws column 0's text alone
    /// across the row. May be called before Create; copies share the setting.
    void EnableSelectHScrollInColumn(int bInColumn);

    /// The row height the list and its scroll bar work with: FixLineHeight, or 30 when it is
    /// 0 or below.
    static int LineHeight();

protected:
    /// Non-zero (\c LVS_OWNERDATA) when the window exists and is a virtual list, else 0.
    int IsVirtualList();
    /// The procedure installed on the list window by Create; hands messages to ListCtrlProc.
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    /// The list's message handler: painting, row drawing, taps on check boxes, the text
    /// scrolling timer; everything else goes to the native list.
    LRESULT ListCtrlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    /// One step of the selected row's sideways text scrolling on the list window \p hWnd.
    void OnSelectScroll(HWND hWnd);

private:
    // Message handlers.
    LRESULT OnSize(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(HWND hWnd, LPARAM lParam);
    LRESULT OnDrawItem(const DRAWITEMSTRUCT* pdis);
    LRESULT OnKeyDown(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyUp(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(HWND hWnd, WPARAM nTimerId);
    LRESULT OnVScroll(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanged(HWND hWnd, WPARAM wParam, const WINDOWPOS* pPos);
    LRESULT OnDestroy(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCallbackMask(HWND hWnd, UINT uMask);
    LRESULT OnGetItemState(HWND hWnd, int row, UINT uMask);

    // Helpers.
    CNavScrollBar* ScrollBar() const;
    HPEN SeparatorPen() const;
    bool IsRowChecked(int index);
    void WriteRowCheck(int index, bool bCheck);
    bool ToggleCheckAsTapped(HWND hWnd, int row);
    void CheckZoneTap(HWND hWnd, const LVHITTESTINFO& hit);
    bool ChecksFromParent();
    bool ChangeRowCheck(int index, bool bCheck);
    bool DrawRowContent(HDC hdc, int row, const RECT& rc, bool bSelected, int nFirstChar);
    void ScrollInColumn(HWND hWnd, HDC hdc, int row, const RECT& rc, const wchar_t* pszText,
                        int n);
    void SetAllChecks(bool bCheck);
    void SetColumn0Width(int cx);
    void UpdateThumb();
    void RepaintNow();
    void ClipUnderScrollBar();
    void ReleaseShared(bool bWindowGoes);

protected:
    int m_nScrollChar;         ///< Characters left out of the selected row's scrolled text.
    BOOL m_bSelectHScroll;     ///< EnableSelectHScroll's value.
    CNavListShared* m_pShared; ///< Scroll bar, separator pen and check states, shared by copies.
    WNDPROC m_pfnOldProc;      ///< The native list's procedure.
    DrawItemProc m_pfnDrawItem; ///< The application's row-image painter, or null.
    int m_nScrollPos;          ///< The top row last returned by GetScrollPos.
    int m_nPageSize;           ///< GetPageSize's value.
    int m_nItemCount;          ///< The row count the check operations and DeleteItem check against.
    BOOL m_bCheckBox;          ///< SetCheckBox's value.
    BOOL m_bSelChecked;        ///< SetSelChecked's value.
    BOOL m_bPageScroll;        ///< EnablePageScroll's value (1 by default).
    BOOL m_bIsScrollPage;      ///< SetIsScrollPage's value.
    BOOL m_bHScrollBar;        ///< EnableHScrollBar's value (1 by default).
    SIZE m_sizeIcon;           ///< Image area size; only cx is used.
    HFONT m_hFont;             ///< The rows' font; not owned.
    HWND m_hWnd;               ///< The list window; null before Create and after Destroy.
    HIMAGELIST m_hImageList;   ///< Row images; not owned.
    HINSTANCE m_hInst;         ///< Instance given to Create.
};
