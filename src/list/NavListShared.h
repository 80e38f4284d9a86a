// NavListShared.h - what a list and its copies share: the scroll bar, the separator pen and the
// check words of a virtual list. The last owner to let go frees them.
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
    CNavListShared();
    ~CNavListShared();

    long nRefs;
    CNavScrollBar* pScrollBar; // owned; null only when its allocation failed
    nav::Pen pen;              // separator lines, made by the first Create
    int* pCheckFlags;          // owned (calloc); one 32-bit word per row, bit 0 = checked
    int nCheckWords;

    // Replaces the check words with nCount clear ones (none for a count of 0 or below, or of
    // 2^30 and more, which the 32-bit device could not allocate either).
    void ResetChecks(int nCount);
    // Drops the check words.
    void FreeChecks();

private:
    CNavListShared(const CNavListShared&);
    CNavListShared& operator=(const CNavListShared&);
};
