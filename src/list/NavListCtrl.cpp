// NavListCtrl.cpp - the list's object, its creation and its item and check model: rows,
// check bits of a virtual list or state images of an ordinary one, page size, the scroll bar
// beside it, and everything the application calls.
//
#include "NavListCtrl.h"

#include "win32/NavAlloc.h"
#include "win32/NavCheck.h"
#include "core/NavCompose.h"
#include "win32/NavWindow.h"
#include "list/NavListShared.h"
#include "platform/NavPlatform.h"

#include <string.h>

// The exported layout as applications compiled against the header see it: a field added,
// removed or resized fails here until the copy (and this size) take it in.
NAV_COMPILE_CHECK(sizeof(CNavListCtrl) == NAV_BY_WORD_SIZE(80, 112), list_layout);

namespace
{
const DWORD kExStyle = 0x10000020;
const DWORD kBaseStyle = WS_CHILD | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                         LVS_OWNERDRAWFIXED | LVS_NOSCROLL | LVS_NOCOLUMNHEADER;
const DWORD kCallerStyles = WS_VISIBLE | WS_BORDER | LVS_OWNERDATA;
const DWORD kShortFormStyle = 0x10801000; // visible, bordered, virtual
const COLORREF kSeparatorColor = 0x5D92C7;
const int kBarWidth = kScrollBarWidth;
const int kBarIdOffset = 1001;
const int kDefaultLineHeight = 30;
const UINT kStateChecked = 0x2000;   // state image 2
const UINT kStateUnchecked = 0x1000; // state image 1

// Where two rectangles overlap; false when they do not.
bool Overlap(const RECT& a, const RECT& b, RECT* pOverlap)
{
    pOverlap->left = a.left > b.left ? a.left : b.left;
    pOverlap->top = a.top > b.top ? a.top : b.top;
    pOverlap->right = a.right < b.right ? a.right : b.right;
    pOverlap->bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    return pOverlap->left < pOverlap->right && pOverlap->top < pOverlap->bottom;
}
} // namespace

namespace
{
// The row's whole state (its selection and focus bits) with the given state image.
UINT RowStateWith(HWND hList, int row, UINT stateImage)
{
    const UINT kSelection = LVIS_SELECTED | LVIS_FOCUSED;
    const UINT state = row < 0 ? 0 : static_cast<UINT>(SendMessageW(hList, LVM_GETITEMSTATE, row, kSelection));
    return (state & kSelection) | stateImage;
}

LRESULT SendCheckChange(const CheckChange& change, UINT code)
{
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = change.hList;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(change.hList));
    nm.hdr.code = code;
    nm.iItem = change.row;
    nm.uChanged = LVIF_STATE;
    nm.uNewState = RowStateWith(change.hList, change.row,
                                change.bChecked ? kStateChecked : kStateUnchecked);
    nm.uOldState = change.row < 0 ? 0
                                  : RowStateWith(change.hList, change.row,
                                                 change.bChecked ? kStateUnchecked : kStateChecked);
    return SendMessageW(GetParent(change.hList), WM_NOTIFY, nm.hdr.idFrom,
                        reinterpret_cast<LPARAM>(&nm));
}
} // namespace

bool RefusedByParent(const CheckChange& change)
{
    return SendCheckChange(change, LVN_ITEMCHANGING) != 0;
}

void TellParentChanged(const CheckChange& change)
{
    SendCheckChange(change, LVN_ITEMCHANGED);
}

bool AskParentChecked(HWND hList, int row)
{
    NMLVDISPINFOW nm = {};
    nm.hdr.hwndFrom = hList;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hList));
    nm.hdr.code = LVN_GETDISPINFOW;
    nm.item.mask = LVIF_STATE;
    nm.item.iItem = row;
    nm.item.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageW(GetParent(hList), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    return (nm.item.state & LVIS_STATEIMAGEMASK) == kStateChecked;
}

int CNavListCtrl::FixLineHeight = kDefaultLineHeight;

// The row height to compute with.
int CNavListCtrl::LineHeight()
{
    return FixLineHeight > 0 ? FixLineHeight : kDefaultLineHeight;
}

// The bar's object is made with the shared block; its window comes with the first Create.
CNavListShared::CNavListShared()
    : pScrollBar(nav::NewObject(nav::Type<CNavScrollBar>())), pCheckBits(NULL),
      nCheckRows(0), nColumns(-1), uCallbackMask(0), bScrollInColumn(false), nScrollRow(-1)
{
}

CNavListShared::~CNavListShared()
{
    FreeChecks();
    nav::FreeObject(pScrollBar);
}

namespace
{
const int kMaxCheckRows = 1 << 28;

int CheckWords(int nRows)
{
    return nRows / 32 + (nRows % 32 != 0);
}
} // namespace

void CNavListShared::ResetChecks(int nCount)
{
    FreeChecks();
    EnsureChecks(nCount);
}

bool CNavListShared::EnsureChecks(int nCount)
{
    if (pCheckBits)
        return true;
    if (nCount <= 0 || nCount >= kMaxCheckRows)
        return false;
    pCheckBits = static_cast<DWORD*>(
        nav::AllocZeroed(static_cast<size_t>(CheckWords(nCount)), sizeof(DWORD)));
    nCheckRows = pCheckBits ? nCount : 0;
    return pCheckBits != NULL;
}

bool CNavListShared::IsChecked(int row) const
{
    return pCheckBits && row >= 0 && row < nCheckRows && ((pCheckBits[row / 32] >> (row % 32)) & 1);
}

void CNavListShared::SetChecked(int row, bool bChecked)
{
    if (!pCheckBits || row < 0 || row >= nCheckRows)
        return;
    const DWORD bit = static_cast<DWORD>(1) << (row % 32);
    pCheckBits[row / 32] = bChecked ? (pCheckBits[row / 32] | bit) : (pCheckBits[row / 32] & ~bit);
}

void CNavListShared::SetAllChecked(int nRows, bool bChecked)
{
    if (nRows > nCheckRows)
        nRows = nCheckRows;
    if (!pCheckBits || nRows <= 0)
        return;
    memset(pCheckBits, bChecked ? 0xFF : 0, static_cast<size_t>(nRows / 32) * sizeof(DWORD));
    if (nRows % 32)
    {
        const DWORD mask = (static_cast<DWORD>(1) << (nRows % 32)) - 1;
        DWORD& word = pCheckBits[nRows / 32];
        word = bChecked ? (word | mask) : (word & ~mask);
    }
}

void CNavListShared::DeleteRow(int row, int nRows)
{
    if (nRows > nCheckRows)
        nRows = nCheckRows;
    if (!pCheckBits || row < 0 || row >= nRows)
        return;
    // The deleted row's word: the bits below it stay, those above move down.
    int w = row / 32;
    const DWORD below = (static_cast<DWORD>(1) << (row % 32)) - 1;
    pCheckBits[w] = (pCheckBits[w] & below) | ((pCheckBits[w] >> 1) & ~below);
    // Every following word gives its first bit to the one before and moves down.
    for (const int nWords = CheckWords(nRows); w + 1 < nWords; ++w)
    {
        pCheckBits[w] |= (pCheckBits[w + 1] & 1) << 31;
        pCheckBits[w + 1] >>= 1;
    }
}

void CNavListShared::FreeChecks()
{
    free(pCheckBits);
    pCheckBits = NULL;
    nCheckRows = 0;
}

// Initial values, and the scroll bar object (without a window yet).
CNavListCtrl::CNavListCtrl()
    : m_nScrollChar(0), m_bSelectHScroll(0), m_pShared(NULL), m_pfnOldProc(NULL),
      m_pfnDrawItem(NULL), m_nScrollPos(0), m_nPageSize(0), m_nItemCount(0), m_bCheckBox(0),
      m_bSelChecked(0), m_bPageScroll(1), m_bIsScrollPage(0), m_bHScrollBar(1),
      m_hFont(NULL), m_hWnd(NULL), m_hImageList(NULL), m_hInst(NULL)
{
    m_sizeIcon.cx = 0;
    m_sizeIcon.cy = 0;
    m_pShared = nav::NewObject(nav::Type<CNavListShared>());
}

// Field-by-field copy; the copy shares the window and the shared pieces.
CNavListCtrl::CNavListCtrl(const CNavListCtrl& other)
    : m_nScrollChar(other.m_nScrollChar), m_bSelectHScroll(other.m_bSelectHScroll),
      m_pShared(other.m_pShared), m_pfnOldProc(other.m_pfnOldProc),
      m_pfnDrawItem(other.m_pfnDrawItem), m_nScrollPos(other.m_nScrollPos),
      m_nPageSize(other.m_nPageSize), m_nItemCount(other.m_nItemCount),
      m_bCheckBox(other.m_bCheckBox), m_bSelChecked(other.m_bSelChecked),
      m_bPageScroll(other.m_bPageScroll), m_bIsScrollPage(other.m_bIsScrollPage),
      m_bHScrollBar(other.m_bHScrollBar), m_sizeIcon(other.m_sizeIcon), m_hFont(other.m_hFont),
      m_hWnd(other.m_hWnd), m_hImageList(other.m_hImageList), m_hInst(other.m_hInst)
{
    if (m_pShared)
        m_pShared->refs.AddRef();
}

// Lets go of this object's share, then copies every field of the other and shares its pieces.
// A window this object made (its user data names this object) goes as Destroy would take it:
// left alone it would stay subclassed to an object that now stands for another window. A window
// this object only shares with the list that made it is left to that list.
CNavListCtrl& CNavListCtrl::operator=(const CNavListCtrl& other)
{
    if (this == &other)
        return *this;
    if (m_hWnd != other.m_hWnd && IsWindow(m_hWnd) && nav::IsOwnWindow(m_hWnd, this))
        Destroy();
    ReleaseShared(false);
    m_nScrollChar = other.m_nScrollChar;
    m_bSelectHScroll = other.m_bSelectHScroll;
    m_pShared = other.m_pShared;
    m_pfnOldProc = other.m_pfnOldProc;
    m_pfnDrawItem = other.m_pfnDrawItem;
    m_nScrollPos = other.m_nScrollPos;
    m_nPageSize = other.m_nPageSize;
    m_nItemCount = other.m_nItemCount;
    m_bCheckBox = other.m_bCheckBox;
    m_bSelChecked = other.m_bSelChecked;
    m_bPageScroll = other.m_bPageScroll;
    m_bIsScrollPage = other.m_bIsScrollPage;
    m_bHScrollBar = other.m_bHScrollBar;
    m_sizeIcon = other.m_sizeIcon;
    m_hFont = other.m_hFont;
    m_hWnd = other.m_hWnd;
    m_hImageList = other.m_hImageList;
    m_hInst = other.m_hInst;
    if (m_pShared)
        m_pShared->refs.AddRef();
    return *this;
}

// Does what Destroy does.
CNavListCtrl::~CNavListCtrl()
{
    Destroy();
}

// Gives up this object's share of the scroll bar, pen and check words; the last holder frees
// them. When this object's window is about to be destroyed (bWindowGoes), a bar window that
// this object made or that stands beside that window goes at once, so that no bar outlives its
// list.
void CNavListCtrl::ReleaseShared(bool bWindowGoes)
{
    CNavListShared* pShared = m_pShared;
    m_pShared = NULL;
    if (!pShared)
        return;
    const bool bLast = pShared->refs.Release();
    if (CNavScrollBar* pBar = pShared->pScrollBar)
    {
        const bool bBeside = bWindowGoes && (pBar->m_pListCtrl == this ||
                                             (IsWindow(m_hWnd) && pBar->m_pListCtrl &&
                                              pBar->m_pListCtrl->m_hWnd == m_hWnd));
        if (bLast || bBeside)
            pBar->DestroyBarWindow();
        if (pBar->m_pListCtrl == this)
            pBar->m_pListCtrl = NULL;
    }
    if (bLast)
        nav::FreeObject(pShared);
}

// Releases everything: timer, scroll bar, pen, window and check words. The subclassing is not
// undone first.
void CNavListCtrl::Destroy()
{
    m_hImageList = NULL;
    m_nScrollChar = 0;
    if (IsWindow(m_hWnd))
        KillTimer(m_hWnd, kSelectScrollTimer);
    ReleaseShared(true);
    nav::DestroyKeepingProc(m_hWnd);
    m_hWnd = NULL;
}

CNavScrollBar* CNavListCtrl::ScrollBar() const
{
    return m_pShared ? m_pShared->pScrollBar : NULL;
}

// The pen of the separator lines, made at its first use (and again after a use that could not
// have it); null when it cannot be had, and the lines are left out.
HPEN CNavListCtrl::SeparatorPen() const
{
    if (!m_pShared)
        return NULL;
    if (!m_pShared->pen)
        m_pShared->pen.Attach(CreatePen(PS_SOLID, 1, kSeparatorColor));
    return m_pShared->pen.Get();
}

// Makes the native list, subclasses it, sizes its single column and puts the scroll bar beside
// it. What the constructor could not allocate, or Destroy freed, is made first; a list whose
// bar cannot be made is not made either (Create fails and may be called again).
int CNavListCtrl::Create(HWND hParent, DWORD dwStyle, HINSTANCE hInst, const RECT& rc, UINT nID)
{
    if (IsWindow(m_hWnd))
        return 1;
    if (!m_pShared)
        m_pShared = nav::NewObject(nav::Type<CNavListShared>());
    if (m_pShared && !m_pShared->pScrollBar)
        m_pShared->pScrollBar = nav::NewObject(nav::Type<CNavScrollBar>());
    if (!m_pShared || !m_pShared->pScrollBar)
        return 0;
    m_hInst = hInst;
    SeparatorPen(); // made now, so that copies made before Create share it from the start

    const DWORD dwListStyle = kBaseStyle | (dwStyle & kCallerStyles);
    m_hWnd = nav::CreateChild(kExStyle, WC_LISTVIEWW, L"NavListView", dwListStyle, rc, hParent,
                              nID, hInst);
    if (!m_hWnd)
        return 0;
    nav::Subclass(m_hWnd, this, WindowProc, m_pfnOldProc);

    RECT rcWindow;
    GetWindowRect(m_hWnd, &rcWindow);
    m_nPageSize = (rcWindow.bottom - rcWindow.top) / LineHeight();

    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = (rcWindow.right - rcWindow.left) - kBarWidth;
    column.pszText = const_cast<wchar_t*>(L" ");
    SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

    CNavScrollBar* pBar = ScrollBar();
    pBar->m_pListCtrl = this;
    if (!pBar->Create(m_hWnd, m_hInst, nID + kBarIdOffset) && !IsWindow(pBar->m_hWnd))
    {
        nav::DestroyKeepingProc(m_hWnd);
        m_hWnd = NULL;
        return 0;
    }
    pBar->UpdateThumb();
    EnableHScrollBar(m_bHScrollBar);
    return 1;
}

int CNavListCtrl::Create(HWND hParent, HINSTANCE hInst, const RECT& rc, UINT nID)
{
    return Create(hParent, kShortFormStyle, hInst, rc, nID);
}

HWND CNavListCtrl::GetSafeHwnd()
{
    return m_hWnd;
}

UINT CNavListCtrl::GetDlgCtrlID()
{
    return static_cast<UINT>(::GetDlgCtrlID(m_hWnd));
}

// The list window does not clip its siblings, so its own paints would cover the bar where
// they overlap. The list's window region leaves out the part under a visible bar; a hidden bar
// gives the whole window back. A region that cannot be made, combined or handed to the window
// (low memory) is made again at the list's next paint.
void CNavListCtrl::ClipUnderScrollBar()
{
    if (!IsWindow(m_hWnd))
        return;
    CNavScrollBar* pBar = ScrollBar();
    RECT rcList, rcBar;
    GetWindowRect(m_hWnd, &rcList);
    const bool bBarShown = pBar && IsWindow(pBar->m_hWnd) &&
                           (GetWindowLongW(pBar->m_hWnd, GWL_STYLE) & WS_VISIBLE) &&
                           GetWindowRect(pBar->m_hWnd, &rcBar);
    RECT rcOverlap;
    if (pBar)
        pBar->m_bListRegionPending = false;
    if (!bBarShown || !Overlap(rcList, rcBar, &rcOverlap))
    {
        SetWindowRgn(m_hWnd, NULL, TRUE);
        return;
    }
    nav::Region visible(
        CreateRectRgn(0, 0, rcList.right - rcList.left, rcList.bottom - rcList.top));
    nav::Region covered(CreateRectRgn(rcOverlap.left - rcList.left, rcOverlap.top - rcList.top,
                                      rcOverlap.right - rcList.left,
                                      rcOverlap.bottom - rcList.top));
    if (!visible || !covered || CombineRgn(visible, visible, covered, RGN_DIFF) == ERROR)
    {
        pBar->m_bListRegionPending = true;
        return;
    }
    if (SetWindowRgn(m_hWnd, visible, TRUE))
        visible.Detach(); // the system owns it now
    else
        pBar->m_bListRegionPending = true;
}

// Shows or hides the list; showing also shows and raises the bar, whatever EnableHScrollBar
// said.
void CNavListCtrl::Show(int nCmdShow)
{
    ShowWindow(m_hWnd, nCmdShow);
    CNavScrollBar* pBar = ScrollBar();
    if (!pBar)
        return;
    if (nCmdShow)
        SetWindowPos(pBar->m_hWnd, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    else if (IsWindowVisible(pBar->m_hWnd))
        ShowWindow(pBar->m_hWnd, SW_HIDE);
    ClipUnderScrollBar();
}

// Moves the list and its bar; the bar keeps to the list's right 40 pixels.
int CNavListCtrl::MoveWindow(int x, int y, int cx, int cy)
{
    if (!IsWindow(m_hWnd))
        return 0;
    ::MoveWindow(m_hWnd, x, y, cx, cy, TRUE);
    SetColumn0Width(cx - kBarWidth);
    CNavScrollBar* pBar = ScrollBar();
    if (!pBar)
        return 0;
    if (IsWindow(pBar->m_hWnd))
    {
        const RECT rc = nav::WindowRectInParent(m_hWnd);
        SetWindowPos(pBar->m_hWnd, HWND_TOP, rc.right - kBarWidth, rc.top, kBarWidth,
                     rc.bottom - rc.top, SWP_SHOWWINDOW);
        pBar->UpdateThumb();
    }
    EnableHScrollBar(m_bHScrollBar);
    return 1;
}

void CNavListCtrl::Invalidate()
{
    if (!IsWindow(m_hWnd))
        return;
    InvalidateRect(m_hWnd, NULL, FALSE);
    UpdateThumb();
}

void CNavListCtrl::Update()
{
    if (IsWindow(m_hWnd))
        UpdateWindow(m_hWnd);
}

// Repaints the whole list at once, without erasing. Without a window there is nothing to
// repaint (a null window would stand for every window on the screen).
void CNavListCtrl::RepaintNow()
{
    if (!IsWindow(m_hWnd))
        return;
    InvalidateRect(m_hWnd, NULL, FALSE);
    UpdateWindow(m_hWnd);
}

void CNavListCtrl::SetFont(HFONT hFont)
{
    m_hFont = hFont;
}

int CNavListCtrl::OnPaintEx(HDC /*hdc*/)
{
    return 1;
}

// Asks the bar to place its thumb again, when there is a bar.
void CNavListCtrl::UpdateThumb()
{
    if (CNavScrollBar* pBar = ScrollBar())
        pBar->UpdateThumb();
}

void CNavListCtrl::SetColumn0Width(int cx)
{
    SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(cx, 0));
}

// ---- Rows ----

int CNavListCtrl::InsertItem(int index, wchar_t* pszText, int nImage, LPARAM lParam)
{
    if (!IsWindow(m_hWnd))
        return 0;
    LVITEMW item = CellItem(index, 0, pszText);
    item.iImage = nImage;
    item.lParam = lParam;
    int nResult = static_cast<int>(
        SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    m_nItemCount = static_cast<int>(SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
    return nResult;
}

int CNavListCtrl::SetItemText(int index, int nSubItem, const wchar_t* pszText)
{
    if (!IsWindow(m_hWnd) || IsVirtualList())
        return 0;
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<wchar_t*>(pszText);
    return static_cast<int>(
        SendMessageW(m_hWnd, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
}

// Deletes a row; a virtual list's check states behind it move down by one.
int CNavListCtrl::DeleteItem(int index)
{
    if (!IsWindow(m_hWnd) || index < 0 || index >= m_nItemCount)
        return 0;
    if (IsVirtualList() && m_pShared)
        m_pShared->DeleteRow(index, m_nItemCount);
    if (m_nItemCount > 0)
        --m_nItemCount;
    return static_cast<int>(SendMessageW(m_hWnd, LVM_DELETEITEM, index, 0));
}

int CNavListCtrl::DeleteAllItems()
{
    if (!IsWindow(m_hWnd))
        return 0;
    m_nScrollChar = 0;
    KillTimer(m_hWnd, kSelectScrollTimer);
    m_nItemCount = 0;
    if (m_pShared)
        m_pShared->FreeChecks();
    int nResult = static_cast<int>(SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0));
    UpdateThumb();
    return nResult;
}

// Sets a virtual list's row count; every row is unchecked afterwards. A negative count counts
// as 0. Check states that cannot be had now are tried for again at the next check.
void CNavListCtrl::SetItemCount(int nCount)
{
    if (!IsWindow(m_hWnd) || !IsVirtualList())
        return;
    if (nCount < 0)
        nCount = 0;
    m_nItemCount = nCount;
    if (m_pShared && ChecksFromParent())
        m_pShared->FreeChecks(); // the parent keeps them
    else if (m_pShared)
        m_pShared->ResetChecks(nCount);
    SendMessageW(m_hWnd, LVM_SETITEMCOUNT, nCount, 0);
    UpdateThumb();
}

int CNavListCtrl::GetItemCount()
{
    m_nItemCount = static_cast<int>(SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
    return m_nItemCount;
}

int CNavListCtrl::GetNextItem(int nStart, int nFlags)
{
    if (!IsWindow(m_hWnd))
        return -1;
    return static_cast<int>(SendMessageW(m_hWnd, LVM_GETNEXTITEM, nStart, LOWORD(nFlags)));
}

void CNavListCtrl::SetItemState(int index, UINT nState, UINT nMask)
{
    if (!IsWindow(m_hWnd))
        return;
    LVITEMW item = {};
    item.state = nState;
    item.stateMask = nMask;
    SendMessageW(m_hWnd, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

int CNavListCtrl::EnsureVisible(int index, int bPartialOK)
{
    if (!IsWindow(m_hWnd))
        return 0;
    int nResult =
        static_cast<int>(SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, index, LOWORD(bPartialOK)));
    UpdateThumb();
    return nResult;
}

// ---- Check boxes ----

int CNavListCtrl::IsVirtualList()
{
    if (!IsWindow(m_hWnd))
        return 0;
    return GetWindowLongW(m_hWnd, GWL_STYLE) & LVS_OWNERDATA;
}

// Whether a virtual list's checks are its parent's: the application put the state-image bits
// into the callback mask (LVM_SETCALLBACKMASK), as for the native list's owner data.
bool CNavListCtrl::ChecksFromParent()
{
    return m_pShared && (m_pShared->uCallbackMask & LVIS_STATEIMAGEMASK) && IsVirtualList();
}

// Whether a row is checked: the parent's answer or its bit in a virtual list, state image 2
// otherwise. Asking the parent is a call out: the caller checks that the list still lives.
bool CNavListCtrl::IsRowChecked(int index)
{
    if (ChecksFromParent())
        return index >= 0 && index < m_nItemCount && AskParentChecked(m_hWnd, index);
    if (IsVirtualList())
        return m_pShared && index >= 0 && index < m_nItemCount && m_pShared->IsChecked(index);
    UINT state = static_cast<UINT>(
        SendMessageW(m_hWnd, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK));
    return state == kStateChecked;
}

// Checks a row (its bit, state image 2) or unchecks it (state image 1). A virtual list without
// check states (SetItemCount could not have them) tries for them at a check; without them the
// row stays unchecked. A virtual list whose parent keeps the checks keeps nothing: the caller
// tells the parent.
void CNavListCtrl::WriteRowCheck(int index, bool bCheck)
{
    if (ChecksFromParent())
        return;
    if (IsVirtualList())
    {
        if (m_pShared && index >= 0 && index < m_nItemCount &&
            (!bCheck || m_pShared->EnsureChecks(m_nItemCount)))
            m_pShared->SetChecked(index, bCheck);
        return;
    }
    LVITEMW item = {};
    item.state = bCheck ? kStateChecked : kStateUnchecked;
    item.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageW(m_hWnd, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

// Changes a row's check (-1: every row's) as the user or the application asked. An ordinary
// list's native list tells the parent of its state image itself; a virtual list tells it here,
// LVN_ITEMCHANGING first, whose refusal leaves the check as it was. False when the parent
// destroyed the list on hearing of it.
bool CNavListCtrl::ChangeRowCheck(int index, bool bCheck)
{
    const nav::WindowWatch watch(m_hWnd, this);
    if (!IsVirtualList())
    {
        WriteRowCheck(index, bCheck);
        return !watch.Died();
    }
    const CheckChange change = {m_hWnd, index, bCheck};
    if (RefusedByParent(change) || watch.Died())
        return !watch.Died();
    if (index == -1)
    {
        if (m_pShared && !ChecksFromParent() && (!bCheck || m_pShared->EnsureChecks(m_nItemCount)))
            m_pShared->SetAllChecked(m_nItemCount, bCheck);
    }
    else
        WriteRowCheck(index, bCheck);
    TellParentChanged(change);
    return !watch.Died();
}

void CNavListCtrl::SetCheckBox(int bCheckBox)
{
    m_bCheckBox = bCheckBox;
    RepaintNow();
}

int CNavListCtrl::GetCheckStatus(int index)
{
    if (!m_bCheckBox || index < 0 || index >= m_nItemCount)
        return 0;
    return IsRowChecked(index) ? 1 : 0;
}

// An ordinary list's native list repaints the row; a virtual list whose parent keeps the checks
// tells the parent and repaints the row, any other shows it at its next paint.
void CNavListCtrl::SetCheckStatus(int index, int bCheck)
{
    if (!m_bCheckBox || index < 0 || index >= m_nItemCount)
        return;
    if (!ChecksFromParent())
    {
        WriteRowCheck(index, bCheck != 0);
        return;
    }
    if (!ChangeRowCheck(index, bCheck != 0))
        return;
    RECT rcRow = {};
    rcRow.left = LVIR_BOUNDS;
    if (SendMessageW(m_hWnd, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rcRow)))
        InvalidateRect(m_hWnd, &rcRow, FALSE);
}

// Checks or unchecks every row and repaints at once. A parent that keeps the checks hears of
// all rows at once (row -1), as the native list tells of a state set on every row.
void CNavListCtrl::SetAllChecks(bool bCheck)
{
    if (!m_bCheckBox)
        return;
    if (ChecksFromParent())
    {
        if (!ChangeRowCheck(-1, bCheck))
            return;
    }
    else if (IsVirtualList())
    {
        if (m_pShared && (!bCheck || m_pShared->EnsureChecks(m_nItemCount)))
            m_pShared->SetAllChecked(m_nItemCount, bCheck);
    }
    else
    {
        for (int i = 0; i < static_cast<int>(SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); ++i)
            WriteRowCheck(i, bCheck);
    }
    RepaintNow();
}

void CNavListCtrl::SetCheckAll()
{
    SetAllChecks(true);
}

void CNavListCtrl::SetCheckOff()
{
    SetAllChecks(false);
}

void CNavListCtrl::SetSelChecked(int bSelChecked)
{
    m_bSelChecked = bSelChecked;
}

// ---- Images ----

// An image list (its image size read for painting), or else a painting callback with the size
// it wants. Neither: 0 and nothing changes.
int CNavListCtrl::SetImageList(HIMAGELIST hImageList, SIZE* pSize, DrawItemProc pfnDrawItem)
{
    if (hImageList)
    {
        m_hImageList = hImageList;
        int cx = 0, cy = 0;
        if (ImageList_GetIconSize(hImageList, &cx, &cy))
        {
            m_sizeIcon.cx = cx;
            m_sizeIcon.cy = cy;
        }
        else
        {
            NKDbgPrintfW(L"ImageList_GetIconSize failed: %d!!", GetLastError());
        }
        return 1;
    }
    if (!pfnDrawItem)
        return 0;
    if (pSize)
        m_sizeIcon = *pSize;
    m_pfnDrawItem = pfnDrawItem;
    return 1;
}

// ---- Scrolling and the scroll bar ----

int CNavListCtrl::GetPageSize()
{
    return m_nPageSize;
}

// The native list's top row, from its vertical scroll position.
int CNavListCtrl::GetScrollPos()
{
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    m_nScrollPos = GetScrollInfo(m_hWnd, SB_VERT, &si) ? si.nPos : 0;
    return m_nScrollPos;
}

int CNavListCtrl::EnablePageScroll(int bEnable)
{
    int bPrevious = m_bPageScroll;
    m_bPageScroll = bEnable;
    if (CNavScrollBar* pBar = ScrollBar())
        pBar->m_nPageArrowHeight = bEnable ? 39 : 0;
    return bPrevious;
}

int CNavListCtrl::IsPageScrollEnabled()
{
    return m_bPageScroll;
}

int CNavListCtrl::GetIsScrollPage()
{
    return m_bIsScrollPage;
}

void CNavListCtrl::SetIsScrollPage(int bIsScrollPage)
{
    m_bIsScrollPage = bIsScrollPage;
}

// Shows the bar and narrows column 0 by its width, or hides it and gives the column the whole
// client width. Before Create it only stores the flag.
int CNavListCtrl::EnableHScrollBar(int bEnable)
{
    m_bHScrollBar = bEnable;
    if (!IsWindow(m_hWnd))
        return 1;
    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    const int W = rcClient.right - rcClient.left;
    CNavScrollBar* pBar = ScrollBar();
    if (bEnable)
    {
        SetColumn0Width(W - kBarWidth);
        if (pBar)
            ShowWindow(pBar->m_hWnd, SW_SHOW);
    }
    else
    {
        SetColumn0Width(W);
        if (pBar)
            ShowWindow(pBar->m_hWnd, SW_HIDE);
        InvalidateRect(m_hWnd, NULL, TRUE);
    }
    ClipUnderScrollBar();
    return 1;
}

void CNavListCtrl::EnableSelectHScrollInColumn(int bInColumn)
{
    if (m_pShared)
        m_pShared->bScrollInColumn = bInColumn != 0;
}

void CNavListCtrl::EnableSelectHScroll(int bEnable)
{
    m_bSelectHScroll = bEnable;
    m_nScrollChar = 0;
    if (m_pShared)
        m_pShared->nScrollRow = -1;
    if (IsWindow(m_hWnd))
        KillTimer(m_hWnd, kSelectScrollTimer);
}
