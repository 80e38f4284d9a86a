// NavListProc.cpp - the list window's procedure: painting (the parent's background, rows
// drawn off screen, the skinned selection bar), taps on rows and their check boxes, and the
// once-a-second sideways scrolling of a selected row's text that does not fit.
#include "NavListCtrl.h"

#include "core/NavCore.h"
#include "core/NavCompose.h"
#include "win32/NavGdi.h"
#include "win32/NavWindow.h"
#include "list/NavListShared.h"
#include "platform/NavPlatform.h"

#include <wchar.h>

namespace
{
const UINT kScrollPeriod = 1000;
const int kCheckRight = 31;        // check box from L to L + 31
const int kCheckTop = 2;           // ... and from T + 2
const int kCheckBottom = 34;       // ... to T + 34
const int kImageTopWithCheck = 3;  // image at T + 3 when rows have check boxes
const int kCheckZoneRight = 30;    // tap zone of the check box: client x below 30
const int kCheckZoneHeight = 34;   // ... and the row's top 34 pixels
const int kTextChars = 64;         // cell buffer: at most 63 characters are drawn
const int kBarBorder = 6;          // nine-part selection bar
const COLORREF kMagenta = RGB(0xFF, 0x00, 0xFF);
const UINT kTextFlags = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

// The check-box, image and text-start areas of a row.
struct RowAreas
{
    RECT check;
    RECT image;
};

RowAreas LayOutRow(const RECT& rc, bool bCheckBox, int cxImage)
{
    RowAreas a;
    if (bCheckBox)
        SetRect(&a.check, rc.left, rc.top + kCheckTop, rc.left + kCheckRight,
                rc.top + kCheckBottom);
    else
        SetRect(&a.check, rc.left, rc.top, rc.left, rc.bottom);
    if (cxImage > 0)
        SetRect(&a.image, a.check.right, bCheckBox ? rc.top + kImageTopWithCheck : rc.top,
                a.check.right + cxImage + 1, rc.bottom);
    else
        a.image = a.check;
    return a;
}

// Draws the shared bar bitmap over rc as a nine-part frame with 6-pixel borders; the corners
// are colour-keyed, the rest stretched.
void DrawSelectionBar(HDC hdc, const RECT& rc)
{
    HBITMAP hBar = nav::g_hBarBitmap;
    BITMAP bm;
    if (!hBar || !GetObjectW(hBar, sizeof(bm), &bm))
        return;
    nav::MemDC dcBar(hdc);
    nav::SelectGuard select(dcBar, hBar);
    const int b = kBarBorder;
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    const int W = R - L, H = B - T, bw = bm.bmWidth, bh = bm.bmHeight;
    StretchBlt(hdc, L + b, T + b, W - 2 * b, H - 2 * b, dcBar, b, b, bw - 2 * b, bh - 2 * b,
               SRCCOPY);
    StretchBlt(hdc, L + b, T, W - 2 * b, b, dcBar, b, 0, bw - 2 * b, b, SRCCOPY);
    StretchBlt(hdc, L + b, B - b, W - 2 * b, b, dcBar, b, bh - b, bw - 2 * b, b, SRCCOPY);
    StretchBlt(hdc, L, T + b, b, H - 2 * b, dcBar, 0, b, b, bh - 2 * b, SRCCOPY);
    StretchBlt(hdc, R - b, T + b, b, H - 2 * b, dcBar, bw - b, b, b, bh - 2 * b, SRCCOPY);
    TransparentImage(hdc, L, T, b, b, dcBar, 0, 0, b, b, kMagenta);
    TransparentImage(hdc, L, B - b, b, b, dcBar, 0, bh - b, b, b, kMagenta);
    TransparentImage(hdc, R - b, T, b, b, dcBar, bw - b, 0, b, b, kMagenta);
    TransparentImage(hdc, R - b, B - b, b, b, dcBar, bw - b, bh - b, b, b, kMagenta);
}

// Draws a cell's text; a line feed splits it into an upper and a lower half of the row.
void DrawCellText(HDC hdc, const wchar_t* pszText, RECT rc, UINT uFlags)
{
    const wchar_t* pszFeed = wcschr(pszText, L'\n');
    if (!pszFeed)
    {
        DrawTextW(hdc, pszText, -1, &rc, uFlags);
        return;
    }
    const int half = (rc.bottom - rc.top) / 2;
    RECT rcUpper = {rc.left, rc.top, rc.right, rc.top + half};
    RECT rcLower = {rc.left, rc.top + half, rc.right, rc.top + half + half};
    DrawTextW(hdc, pszText, static_cast<int>(pszFeed - pszText), &rcUpper, uFlags);
    DrawTextW(hdc, pszFeed + 1, -1, &rcLower, uFlags);
}

// The native list that a row's paint reads its columns and cells from. They are asked of the
// native procedure straight away: through the window, by way of the list's own procedure that
// passes them on unchanged, each question costs more, and a row of two columns asks five (the
// cells' piece in bench_list's output says what they cost).
struct NativeList
{
    HWND hwnd;
    WNDPROC pfnNative;
    LRESULT Ask(UINT msg, WPARAM wParam, void* pData) const
    {
        return nav::AskNative(pfnNative, hwnd, msg, wParam, pData);
    }
};

// Fetches one cell (text, image, application value) into szText, cut to 63 characters.
LVITEMW FetchCell(const NativeList& list, int row, int nSubItem, wchar_t (&szText)[kTextChars])
{
    szText[0] = L'\0';
    LVITEMW item = CellItem(row, nSubItem, szText);
    item.cchTextMax = kTextChars;
    list.Ask(LVM_GETITEMW, 0, &item);
    // A parent may fill all of cchTextMax without a terminator (wcsncpy does): the last
    // character is always the end.
    szText[kTextChars - 1] = L'\0';
    // A virtual list's parent may answer with a text of its own instead of filling ours.
    if (item.pszText != szText && item.pszText)
    {
        int i = 0;
        for (; i < kTextChars - 1 && item.pszText[i]; ++i)
            szText[i] = item.pszText[i];
        szText[i] = L'\0';
    }
    item.pszText = szText;
    item.cchTextMax = kTextChars;
    return item;
}

UINT AlignmentOf(int fmt)
{
    switch (fmt & LVCFMT_JUSTIFYMASK)
    {
    case LVCFMT_RIGHT:
        return DT_RIGHT;
    case LVCFMT_CENTER:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

// A row's background: the selection bar, or the parent's background beneath it, composed off
// screen and copied at once. The picture is the buffer every control borrows between paints:
// a DIB section made and freed for each row cost a third of the row's drawing.
void DrawRowBackground(HWND hList, HDC hdc, const RECT& rc, bool bSelected)
{
    if (bSelected)
    {
        DrawSelectionBar(hdc, rc);
        return;
    }
    nav::PaintBuffer back(hdc, rc.right - rc.left, rc.bottom - rc.top);
    if (!back)
        return;
    const nav::Place place = nav::PlaceInParent(hList);
    nav::PaintParentBeneath(place, back, nav::ClientRectIn(place, rc));
    back.CopyTo(hdc, rc.left, rc.top);
}

// A row's check box, ticked or clear.
void DrawRowCheck(HDC hdc, RECT rcCheck, bool bChecked)
{
    DrawFrameControl(hdc, &rcCheck, DFC_BUTTON, DFCS_BUTTONCHECK | (bChecked ? DFCS_CHECKED : 0));
}

// Where a row's first cell gets its picture: the list's image list, else the application's
// drawing callback.
struct RowImages
{
    HIMAGELIST hImageList;
    DrawItemProc pfnDrawItem;
};

// The first cell: its image (or the callback) in the image area, its text after it.
RECT DrawFirstCell(HDC hdc, const RowAreas& areas, const RowImages& images, LVITEMW& item,
                   int cx)
{
    RECT rcText = {areas.image.right + 1, 0, areas.image.right + 1 + cx, 0};
    RECT rcImage = areas.image;
    if (images.hImageList && item.iImage != -1)
        nav::DrawListImage(images.hImageList, item.iImage, hdc, rcImage.left, rcImage.top,
                           ILD_TRANSPARENT);
    else if (images.pfnDrawItem)
        images.pfnDrawItem(hdc, &rcImage, &item);
    return rcText;
}

// A later cell: the separator line at the previous cell's right edge (one pixel further left
// when the cell is empty), its text after it.
RECT DrawSeparator(HDC hdc, const RECT& rcRow, const wchar_t* pszText, int right, int cx)
{
    const int x = pszText[0] ? right : right - 1;
    RECT rcText = {pszText[0] ? right + 1 : right, 0, right + cx, 0};
    MoveToEx(hdc, x, rcRow.top, NULL);
    LineTo(hdc, x, rcRow.bottom);
    return rcText;
}

// Every column's cell of a row, left to right, each text cut at the row's right edge.
void DrawRowCells(const NativeList& list, const LVCOLUMNW* pColumns, int nColumns, HDC hdc,
                  int row, const RECT& rc, const RowAreas& areas, const RowImages& images,
                  int nFirstChar)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    int right = areas.image.right; // right edge of the previous column's text
    for (int i = 0; nColumns >= 0 ? i < nColumns : list.Ask(LVM_GETCOLUMNW, i, &column) != 0;
         ++i)
    {
        if (nColumns >= 0)
            column = pColumns[i];
        wchar_t szText[kTextChars];
        LVITEMW item = FetchCell(list, row, i, szText);
        RECT rcText = i == 0 ? DrawFirstCell(hdc, areas, images, item, column.cx)
                             : DrawSeparator(hdc, rc, szText, right, column.cx);
        rcText.top = rc.top;
        rcText.bottom = rc.bottom;
        if (rcText.right > rc.right)
            rcText.right = rc.right - 2;
        const int nSkip = i == 0 && nFirstChar < static_cast<int>(wcslen(szText)) ? nFirstChar : 0;
        DrawCellText(hdc, szText + nSkip, rcText, AlignmentOf(column.fmt) | kTextFlags);
        right = rcText.right;
    }
}

// The columns' formats and widths into pColumns, from what the list keeps or asked of the native
// list (and kept); their count, or -1 for a list of more columns than are kept, whose rows ask
// for each column themselves.
int ColumnsOf(const NativeList& list, CNavListShared* pShared, LVCOLUMNW* pColumns)
{
    if (pShared && pShared->nColumns == -1)
    {
        int n = 0;
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH;
        while (n <= CNavListShared::kMaxColumns && list.Ask(LVM_GETCOLUMNW, n, &column))
        {
            if (n < CNavListShared::kMaxColumns)
                pShared->columns[n] = column;
            ++n;
        }
        pShared->nColumns = n > CNavListShared::kMaxColumns ? -2 : n;
    }
    if (!pShared || pShared->nColumns < 0)
        return -1;
    for (int i = 0; i < pShared->nColumns; ++i)
        pColumns[i] = pShared->columns[i];
    return pShared->nColumns;
}

// Whether a message to the list may change its columns: what the list keeps of them is then
// asked for again.
bool ChangesColumns(UINT uMsg)
{
    switch (uMsg)
    {
    case LVM_INSERTCOLUMNW:
    case LVM_INSERTCOLUMNA:
    case LVM_DELETECOLUMN:
    case LVM_SETCOLUMNW:
    case LVM_SETCOLUMNA:
    case LVM_SETCOLUMNWIDTH:
    case WM_DESTROY:
        return true;
    default:
        return false;
    }
}
} // namespace

// The procedure installed on the list window: finds the object in the user data.
LRESULT CALLBACK CNavListCtrl::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return nav::ForwardToObject(&CNavListCtrl::ListCtrlProc, nav::NoObject::DefaultProc, hWnd, uMsg,
                                wParam, lParam);
}

LRESULT CNavListCtrl::ListCtrlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pShared && ChangesColumns(uMsg))
        m_pShared->nColumns = -1;
    switch (uMsg)
    {
    case WM_SIZE:
        return OnSize(hWnd, wParam, lParam);
    case WM_PAINT:
        return OnPaint(hWnd, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_DRAWITEM:
        return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_KEYDOWN:
        return OnKeyDown(hWnd, wParam, lParam);
    case WM_KEYUP:
        return OnKeyUp(hWnd, wParam, lParam);
    case WM_TIMER:
        return OnTimer(hWnd, wParam);
    case WM_VSCROLL:
        return OnVScroll(hWnd, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(hWnd, uMsg, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
        return OnWindowPosChanged(hWnd, wParam, reinterpret_cast<const WINDOWPOS*>(lParam));
    case WM_DESTROY:
        return OnDestroy(hWnd, wParam, lParam);
    case LVM_SETCALLBACKMASK:
        return OnSetCallbackMask(hWnd, static_cast<UINT>(wParam));
    case LVM_GETITEMSTATE:
        return OnGetItemState(hWnd, static_cast<int>(wParam), static_cast<UINT>(lParam));
    default:
        return nav::CallNative(m_pfnOldProc, hWnd, uMsg, wParam, lParam);
    }
}

// A new client height gives a new page size.
LRESULT CNavListCtrl::OnSize(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    m_nPageSize = (HIWORD(lParam) + 2) / LineHeight();
    return nav::CallNative(m_pfnOldProc, hWnd, WM_SIZE, wParam, lParam);
}

// The parent paints the list's background into the paint DC, then the native list paints its
// rows there, asking for each with WM_DRAWITEM.
LRESULT CNavListCtrl::OnPaint(HWND hWnd, LPARAM lParam)
{
    CNavScrollBar* pBar = ScrollBar();
    if (pBar && pBar->m_bListRegionPending)
        ClipUnderScrollBar(); // before the list paints over the bar
    nav::PaintDC dc(hWnd);
    const nav::WindowWatch watch(hWnd, this);
    const nav::Place place = nav::PlaceInParent(hWnd);
    nav::PaintParentBeneath(place, dc, place.rcWindow);
    if (watch.Died())
        return 0;
    nav::CallNative(m_pfnOldProc, hWnd, WM_PAINT, reinterpret_cast<WPARAM>(dc.Get()), lParam);
    return 0;
}

// Draws one whole row: background (the parent's or the selection bar), check box, image,
// the columns' texts with separators, and the bottom line of an unselected row. The row's DC
// is handed back as it came: what the row selects, its modes and the pen's position are put
// back, and with an application's drawing callback, which may leave anything changed, the
// whole state the DC had.
LRESULT CNavListCtrl::OnDrawItem(const DRAWITEMSTRUCT* pdis)
{
    if (!pdis)
        return 1;
    HDC hdc = pdis->hDC;
    const RECT& rc = pdis->rcItem;
    const int row = static_cast<int>(pdis->itemID);
    const bool bSelected = (pdis->itemState & ODS_SELECTED) != 0;
    nav::SavedDC saved(m_pfnDrawItem ? hdc : NULL);
    nav::TextModeGuard modes(hdc, TRANSPARENT, RGB(0, 0, 0));

    const nav::WindowWatch watch(m_hWnd, this);
    DrawRowBackground(m_hWnd, hdc, rc, bSelected);
    if (watch.Died())
        return 1;
    // The row a scrolling step in column 0 moved on shows its text from where the step left it.
    const int nFirstChar = bSelected && m_bSelectHScroll && m_pShared &&
                                   m_pShared->bScrollInColumn && m_pShared->nScrollRow == row
                               ? m_nScrollChar
                               : 0;
    DrawRowContent(hdc, row, rc, bSelected, nFirstChar);
    return 1;
}

// What a row shows over its background: the check box, the image, the columns' texts with
// their separators (the first column's text from character nFirstChar on) and, when the row
// is not selected, its bottom line. Reading a virtual list's check or cells asks the parent;
// false when the parent destroyed the list meanwhile.
bool CNavListCtrl::DrawRowContent(HDC hdc, int row, const RECT& rc, bool bSelected,
                                  int nFirstChar)
{
    const nav::WindowWatch watch(m_hWnd, this);
    const RowAreas areas = LayOutRow(rc, m_bCheckBox != 0, m_sizeIcon.cx);
    nav::SelectGuard selectPen(hdc, SeparatorPen());
    if (m_bCheckBox)
    {
        const bool bChecked = IsRowChecked(row);
        if (watch.Died())
            return false;
        DrawRowCheck(hdc, areas.check, bChecked);
    }
    nav::SelectGuard selectFont(hdc, m_hFont);
    const RowImages images = {m_hImageList, m_pfnDrawItem};
    const NativeList list = {m_hWnd, m_pfnOldProc};
    // The columns copied out first: a parent answering for a cell may change them, or destroy
    // the list, and the row then draws on with what it had.
    LVCOLUMNW columns[CNavListShared::kMaxColumns];
    const int nColumns = ColumnsOf(list, m_pShared, columns);
    DrawRowCells(list, columns, nColumns, hdc, row, rc, areas, images, nFirstChar);
    if (watch.Died())
        return false;

    if (!bSelected)
    {
        MoveToEx(hdc, rc.left, rc.bottom - 1, NULL);
        LineTo(hdc, rc.right, rc.bottom - 1);
    }
    return true;
}

// The space bar toggles the selected row's check as the native list with check boxes does: the
// parent hears LVN_KEYDOWN, then of the check's change, and the row is repainted at once. The
// key goes no further, so that the native list does not select the row anew (a virtual one
// clears and sets the selection again at the space bar). A held key toggles once: its repeats
// are left to the native list.
LRESULT CNavListCtrl::OnKeyDown(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const LPARAM kRepeat = 1 << 30; // the key was already down
    const int row = wParam == VK_SPACE && m_bCheckBox && !(lParam & kRepeat)
                        ? static_cast<int>(SendMessageW(hWnd, LVM_GETNEXTITEM,
                                                        static_cast<WPARAM>(-1), LVNI_SELECTED))
                        : -1;
    if (row == -1)
        return nav::CallNative(m_pfnOldProc, hWnd, WM_KEYDOWN, wParam, lParam);
    NMLVKEYDOWN nm = {};
    nm.hdr.hwndFrom = hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(hWnd));
    nm.hdr.code = LVN_KEYDOWN;
    nm.wVKey = VK_SPACE;
    const nav::WindowWatch watch(hWnd, this);
    SendMessageW(GetParent(hWnd), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    if (!watch.Died())
        ToggleCheckAsTapped(hWnd, row);
    return 0;
}

// The arrow keys move the selection and may scroll: the thumb follows.
LRESULT CNavListCtrl::OnKeyUp(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_UP || wParam == VK_DOWN)
        UpdateThumb();
    return nav::CallNative(m_pfnOldProc, hWnd, WM_KEYUP, wParam, lParam);
}

// Timer 1 drives the selected-row scrolling; no timer reaches the native list.
LRESULT CNavListCtrl::OnTimer(HWND hWnd, WPARAM nTimerId)
{
    if (nTimerId == kSelectScrollTimer && m_bSelectHScroll)
        OnSelectScroll(hWnd);
    return 0;
}

// The native list scrolls; every row is drawn again.
LRESULT CNavListCtrl::OnVScroll(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    InvalidateRect(hWnd, NULL, FALSE);
    return nav::CallNative(m_pfnOldProc, hWnd, WM_VSCROLL, wParam, lParam);
}

// A tap on a row restarts the text scrolling. In the check zone (the whole row with
// m_bSelChecked) the list takes the tap as the native list with check boxes takes a tap on a
// box (CheckZoneTap); anywhere else the native list selects the row and tells the parent. The
// second tap of a double tap reaches the native list as a double click, then toggles the check
// in the zone as a tap.
LRESULT CNavListCtrl::OnLButtonDown(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LVHITTESTINFO hit = {};
    hit.pt = nav::PointFromLParam(lParam);
    hit.flags = LVHT_ONITEM;
    if (SendMessageW(hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == -1)
        return nav::CallNative(m_pfnOldProc, hWnd, uMsg, wParam, lParam);
    const int row = hit.iItem;
    RECT rcRow = {};
    rcRow.left = LVIR_BOUNDS;
    SendMessageW(hWnd, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rcRow));
    RECT rcZone = rcRow;
    if (!m_bSelChecked)
        SetRect(&rcZone, rcRow.left, rcRow.top, kCheckZoneRight, rcRow.top + kCheckZoneHeight);
    const bool bToggles = m_bCheckBox && PtInRect(&rcZone, hit.pt);
    if (m_bSelectHScroll)
    {
        m_nScrollChar = 0;
        if (m_pShared)
            m_pShared->nScrollRow = -1;
        KillTimer(hWnd, kSelectScrollTimer);
        nav::StartTimer(hWnd, kSelectScrollTimer, kScrollPeriod);
    }
    if (bToggles && uMsg == WM_LBUTTONDOWN)
    {
        CheckZoneTap(hWnd, hit);
        return 0;
    }
    const nav::WindowWatch watch(hWnd, this);
    const LRESULT lResult = nav::CallNative(m_pfnOldProc, hWnd, uMsg, wParam, lParam);
    if (bToggles && !watch.Died())
        ToggleCheckAsTapped(hWnd, row);
    return lResult;
}

// A pen-down in a row's check zone, in the order the native list with check boxes keeps: the
// parent hears NM_CLICK, then of the check's change, and the row is repainted at once. The list
// takes the focus and selects a row that was not selected first, telling the parent as any tap
// does; the row already selected changes its check alone. The native list does not see this
// pen-down, so its pen-up sends no second NM_CLICK.
void CNavListCtrl::CheckZoneTap(HWND hWnd, const LVHITTESTINFO& hit)
{
    const nav::WindowWatch watch(hWnd, this);
    SetFocus(hWnd); // as the native list's pen-down does; nothing happens when it has the focus
    if (watch.Died())
        return;
    const UINT kSelection = LVIS_SELECTED | LVIS_FOCUSED;
    if (SendMessageW(hWnd, LVM_GETITEMSTATE, hit.iItem, kSelection) != kSelection)
    {
        LVITEMW item = {};
        item.state = item.stateMask = kSelection;
        SendMessageW(hWnd, LVM_SETITEMSTATE, hit.iItem, reinterpret_cast<LPARAM>(&item));
        if (watch.Died())
            return;
    }
    LVITEMW param = {};
    param.mask = LVIF_PARAM;
    param.iItem = hit.iItem;
    SendMessageW(hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&param));
    if (watch.Died())
        return;
    NMLISTVIEW nm = {}; // the fields of NMITEMACTIVATE that NM_CLICK fills
    nm.hdr.hwndFrom = hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(hWnd));
    nm.hdr.code = NM_CLICK;
    nm.iItem = hit.iItem;
    nm.iSubItem = hit.iSubItem;
    nm.ptAction = hit.pt;
    nm.lParam = param.lParam;
    SendMessageW(GetParent(hWnd), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    if (!watch.Died())
        ToggleCheckAsTapped(hWnd, hit.iItem);
}

// Flips a row's check, telling the parent (an ordinary list's native list does so itself), and
// repaints the row at once when it is selected; any other row is repainted by the native list
// when it becomes selected. False when the parent destroyed the list meanwhile.
bool CNavListCtrl::ToggleCheckAsTapped(HWND hWnd, int row)
{
    const nav::WindowWatch watch(hWnd, this);
    const bool bWasChecked = IsRowChecked(row);
    if (watch.Died() || !ChangeRowCheck(row, !bWasChecked))
        return false;
    RECT rcRow = {};
    rcRow.left = LVIR_BOUNDS;
    if (SendMessageW(hWnd, LVM_GETITEMSTATE, row, LVIS_SELECTED) == LVIS_SELECTED &&
        SendMessageW(hWnd, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rcRow)))
    {
        InvalidateRect(hWnd, &rcRow, FALSE);
        UpdateWindow(hWnd);
    }
    return !watch.Died();
}

// The application names what the parent keeps: with the state-image bits a virtual list asks
// the parent for each row's check and keeps none itself (the check states it held go). The
// native list keeps the mask as well (LVM_GETCALLBACKMASK answers it).
LRESULT CNavListCtrl::OnSetCallbackMask(HWND hWnd, UINT uMask)
{
    if (m_pShared)
    {
        m_pShared->uCallbackMask = uMask;
        if (ChecksFromParent())
            m_pShared->FreeChecks();
        else if (IsVirtualList())
            m_pShared->EnsureChecks(m_nItemCount);
    }
    return nav::CallNative(m_pfnOldProc, hWnd, LVM_SETCALLBACKMASK, uMask, 0);
}

// A virtual list with check boxes answers a row's state image as an ordinary one does (2
// checked, 1 unchecked), from its own check states or the parent's, so that the platform's
// ListView_GetCheckState reads either kind of list; the rest of the state is the native list's.
LRESULT CNavListCtrl::OnGetItemState(HWND hWnd, int row, UINT uMask)
{
    const nav::WindowWatch watch(hWnd, this);
    const UINT uNative = static_cast<UINT>(
        nav::CallNative(m_pfnOldProc, hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(row), uMask));
    if (watch.Died() || !(uMask & LVIS_STATEIMAGEMASK) || !m_bCheckBox || !IsVirtualList())
        return static_cast<LRESULT>(uNative);
    const bool bChecked = IsRowChecked(row);
    if (watch.Died())
        return 0;
    return static_cast<LRESULT>((uNative & uMask & ~LVIS_STATEIMAGEMASK) |
                                INDEXTOSTATEIMAGEMASK(bChecked ? 2 : 1));
}

// The platform moved or resized the list (SetWindowPos, MoveWindow, a dialog's layout): the
// bar keeps to the list's right edge and the list's window region follows, so that the whole
// new area is the list's.
LRESULT CNavListCtrl::OnWindowPosChanged(HWND hWnd, WPARAM wParam, const WINDOWPOS* pPos)
{
    const nav::WindowWatch watch(hWnd, this);
    const LRESULT lResult = nav::CallNative(m_pfnOldProc, hWnd, WM_WINDOWPOSCHANGED, wParam,
                                            reinterpret_cast<LPARAM>(pPos));
    if (watch.Died() || !pPos || ((pPos->flags & SWP_NOSIZE) && (pPos->flags & SWP_NOMOVE)))
        return lResult;
    CNavScrollBar* pBar = ScrollBar();
    if (pBar && IsWindow(pBar->m_hWnd) && pBar->m_pListCtrl == this)
    {
        const RECT rc = nav::WindowRectInParent(hWnd);
        SetWindowPos(pBar->m_hWnd, NULL, rc.right - kScrollBarWidth, rc.top, kScrollBarWidth,
                     rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ClipUnderScrollBar();
    return lResult;
}

// The bar stands beside the list as a sibling, so the platform does not take it with the list:
// when the list window goes, for whatever reason, its bar goes too, and the next Create makes
// a new one beside the new list.
LRESULT CNavListCtrl::OnDestroy(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    CNavScrollBar* pBar = ScrollBar();
    if (pBar && pBar->m_pListCtrl == this)
        pBar->DestroyBarWindow();
    return nav::CallNative(m_pfnOldProc, hWnd, WM_DESTROY, wParam, lParam);
}

// One step of the selected row's sideways scrolling: while its first column's text is too wide,
// redraw the row with the text starting one character further on, wrapping to the full text
// after the last one; a text that fits stops the timer.
void CNavListCtrl::OnSelectScroll(HWND hWnd)
{
    nav::WindowDC dc(hWnd);
    if (!dc)
        return;
    const int row = static_cast<int>(
        SendMessageW(hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED | LVNI_SELECTED));
    if (row == -1)
        return;
    wchar_t szText[kTextChars];
    const NativeList list = {hWnd, m_pfnOldProc};
    const nav::WindowWatch watch(hWnd, this);
    FetchCell(list, row, 0, szText); // a virtual list asks its parent
    if (watch.Died())
        return;
    const wchar_t* pszText = szText;
    if (!pszText[0])
        return;
    RECT rc = {};
    rc.left = LVIR_BOUNDS;
    if (!SendMessageW(hWnd, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc)))
        return;

    const int n = static_cast<int>(wcslen(pszText));
    if (m_pShared && m_pShared->bScrollInColumn)
    {
        ScrollInColumn(hWnd, dc, row, rc, pszText, n);
        return;
    }
    nav::SelectGuard selectFont(dc, m_hFont);
    // The text starts after the check box and runs over the place of the image.
    RECT rcCheck = LayOutRow(rc, m_bCheckBox != 0, 0).check;
    RECT rcText = rc;
    rcText.left = rcCheck.right;
    SIZE size = {};
    GetTextExtentExPointW(dc, pszText, n, 0, NULL, NULL, &size);
    if (size.cx <= (rc.right - rc.left) - m_sizeIcon.cx - rcText.left)
    {
        KillTimer(hWnd, kSelectScrollTimer);
        return;
    }

    DrawRowBackground(hWnd, dc, rc, true);
    if (m_bCheckBox)
        DrawRowCheck(dc, rcCheck, IsRowChecked(row));
    if (m_nScrollChar < 0)
        m_nScrollChar = 0;
    if (++m_nScrollChar >= n)
        m_nScrollChar = 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, pszText + m_nScrollChar, -1, &rcText, DT_LEFT | kTextFlags);
}

// A scrolling step that keeps the row: the text is measured against column 0's own text area
// (after the check box and the image, as wide as the column, in the font the row is drawn
// with), and the row is painted again as the native list paints it (OnDrawItem), its image,
// separators and other columns as they are, column 0's text from the next character on.
void CNavListCtrl::ScrollInColumn(HWND hWnd, HDC hdc, int row, const RECT& rc,
                                  const wchar_t* pszText, int n)
{
    const NativeList list = {hWnd, m_pfnOldProc};
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    if (!list.Ask(LVM_GETCOLUMNW, 0, &column))
        return;
    const RowAreas areas = LayOutRow(rc, m_bCheckBox != 0, m_sizeIcon.cx);
    const int left = areas.image.right + 1;
    int right = left + column.cx;
    if (right > rc.right)
        right = rc.right - 2;
    HFONT hFont = m_hFont ? m_hFont
                          : reinterpret_cast<HFONT>(list.Ask(WM_GETFONT, 0, NULL));
    SIZE size = {};
    {
        nav::SelectGuard selectFont(hdc, hFont);
        GetTextExtentExPointW(hdc, pszText, n, 0, NULL, NULL, &size);
    }
    if (size.cx <= right - left)
    {
        m_pShared->nScrollRow = -1;
        KillTimer(hWnd, kSelectScrollTimer);
        return;
    }
    if (m_nScrollChar < 0)
        m_nScrollChar = 0;
    if (++m_nScrollChar >= n)
        m_nScrollChar = 0;
    m_pShared->nScrollRow = row;
    RECT rcClient = {};
    GetClientRect(hWnd, &rcClient);
    const RECT rcRepaint = {rcClient.left, rc.top, rcClient.right, rc.bottom};
    InvalidateRect(hWnd, &rcRepaint, FALSE);
    UpdateWindow(hWnd);
}
