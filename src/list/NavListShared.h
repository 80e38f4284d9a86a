// NavListShared.h - what a list and its copies share: the scroll bar, the separator pen and the
// check states of a virtual list. The last owner to let go frees them.
#pragma once

#include "win32/NavGdi.h"
#include "list/NavScrollBar.h"

#include <stdlib.h>

// The list window's timer for the selected row's sideways scrolling.
const UINT_PTR kSelectScrollTimer = 1;
// The scroll bar stands over the list's right 40 pixels.
const int kScrollBarWidth = 40;

// One cell as the list control exchanges it: text, image and application value of a row's
// column nSubItem. The caller adds what its message needs besides.
inline LVITEMW CellItem(int row, int nSubItem, wchar_t* pszText)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = nSubItem;
    item.pszText = pszText;
    return item;
}

struct CNavListShared
{
    // An enumerator: the device's older compilers take no initialiser for a static member in
    // the class.
    enum
    {
        kMaxColumns = 8
    };

    CNavListShared();
    ~CNavListShared();

    nav::RefCount refs;
    CNavScrollBar* pScrollBar; // owned; null only when its allocation failed
    nav::Pen pen;              // separator lines, made by the first Create
    DWORD* pCheckBits;         // owned (calloc); row i checked when bit i % 32 of word i / 32
    int nCheckRows;            // the rows the bits cover; 0 while there are none
    // The columns' formats and widths, asked of the native list by the first row that needs
    // them and kept for every row after it until a message that may change them passes the
    // list's procedure (each question crosses into the native list); -1 while not known, -2 for
    // more columns than are kept (each row then asks for them itself).
    int nColumns;
    LVCOLUMNW columns[kMaxColumns];

    // Replaces the check states with nCount clear ones (one bit a row). When they cannot be
    // had, every row reads unchecked and EnsureChecks tries again at the next check.
    void ResetChecks(int nCount);
    // Clear check states for nCount rows unless there are some already; false when there are
    // none (no memory, or 2^28 rows and more: 32 MiB, the device process's whole space).
    bool EnsureChecks(int nCount);
    bool IsChecked(int row) const;
    void SetChecked(int row, bool bChecked);
    // Every row below nRows checked or unchecked.
    void SetAllChecked(int nRows, bool bChecked);
    // The rows behind row move down by one, of nRows rows.
    void DeleteRow(int row, int nRows);
    // Drops the check states.
    void FreeChecks();

private:
    CNavListShared(const CNavListShared&);
    CNavListShared& operator=(const CNavListShared&);
};
