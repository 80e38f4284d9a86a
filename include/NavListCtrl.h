// NavListCtrl.h - CNavListCtrl, a report list whose rows the control draws itself, with check
// boxes, row images, a 40-pixel scroll bar of its own and sideways scrolling of a selected
// row's text that does not fit.
//
// The parent window must answer WM_NAV_PAINTBKGND, pass WM_DRAWITEM back to the list window,
// answer WM_MEASUREITEM with CNavListCtrl::FixLineHeight, answer LVN_GETDISPINFOW for a virtual
// list and, if it uses page scrolling, act on WM_NAV_PAGESCROLL.
#pragma once

#include "NavCommon.h"

class CNavScrollBar;
struct CNavListShared;

class ZNC_API CNavListCtrl
{
public:
    // Row height in pixels that the list and its scroll bar assume (page size, scrolling by
    // distance). A value of 0 or below counts as 30.
    static int FixLineHeight;

    CNavListCtrl();
    // Copies share the window, the scroll bar, the separator pen and the check words with
    // their source; the last of them to go frees the shared pieces.
    CNavListCtrl(const CNavListCtrl& other);
    CNavListCtrl& operator=(const CNavListCtrl& other);
    virtual ~CNavListCtrl();

    // Makes the list window; 1 on success or when the window exists already, 0 otherwise.
    int Create(HWND hParent, DWORD dwStyle, HINSTANCE hInst, const RECT& rc, UINT nID);
    // A visible, bordered virtual list.
    int Create(HWND hParent, HINSTANCE hInst, const RECT& rc, UINT nID);
    // Releases the window, the scroll bar, the pen and the check words.
    void Destroy();

    HWND GetSafeHwnd();
    UINT GetDlgCtrlID();
    void Show(int nCmdShow);
    int MoveWindow(int x, int y, int cx, int cy);
    void Invalidate();
    void Update();
    void SetFont(HFONT hFont);
    int OnPaintEx(HDC hdc);

    int InsertItem(int index, wchar_t* pszText, int nImage, LPARAM lParam);
    int SetItemText(int index, int nSubItem, const wchar_t* pszText);
    int DeleteItem(int index);
    int DeleteAllItems();
    void SetItemCount(int nCount);
    int GetItemCount();
    int GetNextItem(int nStart, int nFlags);
    void SetItemState(int index, UINT nState, UINT nMask);
    int EnsureVisible(int index, int bPartialOK);

    void SetCheckBox(int bCheckBox);
    int GetCheckStatus(int index);
    void SetCheckStatus(int index, int bCheck);
    void SetCheckAll();
    void SetCheckOff();
    void SetSelChecked(int bSelChecked);

    int SetImageList(HIMAGELIST hImageList, SIZE* pSize, DrawItemProc pfnDrawItem);

    int GetPageSize();
    int GetScrollPos();
    int EnablePageScroll(int bEnable);
    int GetIsScrollPage();
    void SetIsScrollPage(int bIsScrollPage);
    int EnableHScrollBar(int bEnable);
    void EnableSelectHScroll(int bEnable);

protected:
    int IsVirtualList();
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT ListCtrlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnSelectScroll(HWND hWnd);

private:
    friend class CNavScrollBar;

    // Message handlers.
    LRESULT OnSize(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(HWND hWnd, LPARAM lParam);
    LRESULT OnDrawItem(const DRAWITEMSTRUCT* pdis);
    LRESULT OnKeyDown(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyUp(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(HWND hWnd, WPARAM nTimerId);
    LRESULT OnVScroll(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcCalcSize(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnStyleChange(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT CallOld(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // Helpers.
    static int LineHeight(); // FixLineHeight, or 30 when it is 0 or below
    CNavScrollBar* ScrollBar() const;
    HPEN SeparatorPen() const;
    bool IsRowChecked(int index);
    void WriteRowCheck(int index, bool bCheck);
    void ToggleRowCheck(int index);
    void ToggleCheckAsTapped(HWND hWnd, int row, const RECT& rcRow);
    void SetAllChecks(bool bCheck);
    void SetColumn0Width(int cx);
    void UpdateThumb();
    void RepaintNow();
    void ClipUnderScrollBar();
    void ReleaseShared(bool bWindowGoes);

protected:
    int m_nScrollChar;
    BOOL m_bSelectHScroll;
    CNavListShared* m_pShared; // scroll bar, separator pen and check words, shared by copies
    WNDPROC m_pfnOldProc;
    DrawItemProc m_pfnDrawItem;
    int m_nScrollPos;
    int m_nPageSize;
    int m_nItemCount;
    BOOL m_bCheckBox;
    BOOL m_bSelChecked;
    BOOL m_bPageScroll;
    BOOL m_bIsScrollPage;
    BOOL m_bHScrollBar;
    SIZE m_sizeIcon;
    HFONT m_hFont;
    HWND m_hWnd;
    HIMAGELIST m_hImageList;
    HINSTANCE m_hInst;
};
