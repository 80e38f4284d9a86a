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

// A check change a tap, the space bar or the application made, told to the parent as the native
// list tells of a state image it changes: LVN_ITEMCHANGING (a non-zero answer refuses the
// change), then LVN_ITEMCHANGED, both with LVIF_STATE and the row's whole state before and
// after (its selection and focus bits and state image 1 or 2). Row -1 stands for every row.
struct CheckChange
{
    HWND hList;
    int row;
    bool bChecked; // the new state
};
// LVN_ITEMCHANGING for the change; true when the parent refused it.
bool RefusedByParent(const CheckChange& change);
// LVN_ITEMCHANGED for the change.
void TellParentChanged(const CheckChange& change);
// A virtual list's check state of a row as its parent keeps it: LVN_GETDISPINFOW with
// LVIF_STATE and the state-image mask; state image 2 is checked.
bool AskParentChecked(HWND hList, int row);

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
    UINT uCallbackMask;        // LVM_SETCALLBACKMASK's mask: with the state-image bits, a
                               // virtual list's checks are the parent's, and the list keeps none
    bool bScrollInColumn;      // the selected row's text scrolls inside column 0, the rest kept
    int nScrollRow;            // the row whose column 0 such a step moved on; -1 for none

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
