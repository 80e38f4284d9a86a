// NavCombobox.h - CNavCombobox, an edit field with a drop-down arrow and a list of its own.
//
// Two native children of the application's window: an "EDIT" showing the current text with
// the arrow drawn over its right end, and a "LISTBOX" ("ComboboxList", id + 1010) that opens
// below the edit, or above it when there is no room below. The list operations go to the
// native list box.
//
// On the desktop the native edit and list box ask their parent for colours
// (WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX): the parent must pass those messages to the window
// named in lParam, as it passes WM_DRAWITEM, or the edit fills its field white over the
// arrow.
#pragma once

#include "NavCommon.h"

class ZNC_API CNavCombobox
{
public:
    CNavCombobox();
    virtual ~CNavCombobox();
    CNavCombobox(const CNavCombobox&) = default;
    // Takes over every field; windows this combo made are given up first.
    CNavCombobox& operator=(const CNavCombobox& other);

    // Creates the edit (arrow height + 2 high) and the hidden list below it. rect is in the
    // parent's client coordinates; on return it holds the list's rectangle in screen
    // coordinates, whose height is the list's greatest height. Returns 1 on success or when
    // the edit exists.
    int Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* pszText, RECT& rect, HWND hParent,
               UINT nID);
    HWND GetSafeHwnd();
    // Records the font for Create.
    void SetFont(HFONT hFont);
    // Non-zero: 32 x 32 arrows; zero: 24 x 22. Call before Create to shape the windows.
    void IsLargerCB(int bLarger);
    // Shows or hides the edit; an open list is closed in either case.
    void Show(int nCmdShow);
    // Moves the edit; the list follows at its next opening.
    int MoveWindow(int x, int y, int nWidth, int nHeight);

    int InsertString(int nIndex, const wchar_t* pszText);
    int AddString(const wchar_t* pszText);
    int DeleteString(int nIndex);
    // Selects an item and, when it has text, shows it in the edit and closes the list.
    // -1 neither clears the selection nor the edit.
    int SetCurSel(int nIndex);
    int GetCurSel();
    int GetCount();
    // Copies item nIndex's text (GetLBTextLen + 1 characters) into pszText. LB_ERR for a null
    // buffer or a row that does not exist, 0 without a list.
    int GetLBText(int nIndex, wchar_t* pszText);
    int GetLBTextLen(int nIndex);
    int ResetContent();
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetItemHeight(int nIndex);

protected:
    static LRESULT CALLBACK ComboboxProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ComboboxListProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;
    HWND m_hList;
    HFONT m_hFont;
    int m_bPressed;
    RECT m_rcList;
    WNDPROC m_pfnOldProc;
    WNDPROC m_pfnOldListProc;
    int m_nArrowWidth;
    int m_nArrowHeight;
    int m_bLarger;
    // 1 when the list was open at the latest pen-down on the arrow. The pen-down moves the
    // focus to the edit, which closes the list before the pen-up arrives; the pen-up must
    // still know that this tap is meant to close it.
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
    LRESULT OnLButtonDown(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnListKeyDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnListKillFocus(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnListCtlColor(HDC hdc);
    LRESULT OnListLButtonUp(HWND hWnd, WPARAM wParam, LPARAM lParam);
};
