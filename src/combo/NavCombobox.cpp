// NavCombobox.cpp - CNavCombobox: the edit with its arrow, the drop-down list, and the list
// operations forwarded to the native list box.
#include "NavCombobox.h"

#include "combo/ComboTextBuffer.h"
#include "core/NavCore.h"
#include "core/NavCompose.h"
#include "win32/NavCheck.h"
#include "win32/NavGdi.h"
#include "platform/NavPlatform.h"
#include "resource.h"
#include "win32/NavWindow.h"

// The exported layout as applications compiled against the header see it: a field added,
// removed or resized fails here until the copy (and this size) take it in.
NAV_COMPILE_CHECK(sizeof(CNavCombobox) == NAV_BY_WORD_SIZE(60, 88), combo_layout);

namespace
{
const COLORREF kKey = RGB(0xFF, 0x00, 0xFF);
const UINT kListIdOffset = 1010;
const DWORD kEditStyle = WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
const DWORD kListStyle = WS_CHILD | WS_VSCROLL | LBS_NOTIFY;
const UINT kHideFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_HIDEWINDOW;

// Asks the native list box a question (a count, a height, the selection, a text's length)
// straight away: the list's own procedure only passes such questions on, and a message through
// the window costs two calls more. For the handlers, on the windows' thread; the public
// operations, which any thread may call, send.
LRESULT AskList(WNDPROC pfnListNative, HWND hList, UINT msg, WPARAM wParam = 0)
{
    return pfnListNative ? nav::CallNative(pfnListNative, hList, msg, wParam, 0)
                         : SendMessageW(hList, msg, wParam, 0);
}
} // namespace

// Sets the defaults: no windows, 24 x 22 arrows.
CNavCombobox::CNavCombobox()
    : m_hWnd(NULL), m_hList(NULL), m_hFont(NULL), m_bPressed(0), m_rcList(),
      m_pfnOldProc(NULL), m_pfnOldListProc(NULL), m_nArrowWidth(24), m_nArrowHeight(22),
      m_bLarger(0), m_bListOpenAtPress(0)
{
}

// Field by field: the copy names the same windows.
CNavCombobox::CNavCombobox(const CNavCombobox& other)
    : m_hWnd(other.m_hWnd), m_hList(other.m_hList), m_hFont(other.m_hFont),
      m_bPressed(other.m_bPressed), m_rcList(other.m_rcList), m_pfnOldProc(other.m_pfnOldProc),
      m_pfnOldListProc(other.m_pfnOldListProc), m_nArrowWidth(other.m_nArrowWidth),
      m_nArrowHeight(other.m_nArrowHeight), m_bLarger(other.m_bLarger),
      m_bListOpenAtPress(other.m_bListOpenAtPress)
{
}

// Gives each window its native procedure back and destroys it, the list first. After a
// Create that failed half-way a window may exist that was never subclassed; it keeps its
// procedure (there is none to give back).
CNavCombobox::~CNavCombobox()
{
    DestroyList();
    DestroyEdit();
}

// Takes over every field of the source. Windows this combo made (their user data names this
// object) go as the destructor would take them: left alone they would stay subclassed to an
// object that now stands for other windows. Windows this combo only shares with the combo
// that made them are left to that combo.
CNavCombobox& CNavCombobox::operator=(const CNavCombobox& other)
{
    if (m_hList != other.m_hList && nav::IsOwnWindow(m_hList, this))
        DestroyList();
    if (m_hWnd != other.m_hWnd && nav::IsOwnWindow(m_hWnd, this))
        DestroyEdit();
    m_hWnd = other.m_hWnd;
    m_hList = other.m_hList;
    m_hFont = other.m_hFont;
    m_bPressed = other.m_bPressed;
    m_rcList = other.m_rcList;
    m_pfnOldProc = other.m_pfnOldProc;
    m_pfnOldListProc = other.m_pfnOldListProc;
    m_nArrowWidth = other.m_nArrowWidth;
    m_nArrowHeight = other.m_nArrowHeight;
    m_bLarger = other.m_bLarger;
    m_bListOpenAtPress = other.m_bListOpenAtPress;
    return *this;
}

// Gives the list its native procedure back, if it was replaced, and destroys it.
void CNavCombobox::DestroyList()
{
    nav::RestoreAndDestroy(m_hList, m_pfnOldListProc);
}

// Gives the edit its native procedure back, if it was replaced, and destroys it.
void CNavCombobox::DestroyEdit()
{
    nav::RestoreAndDestroy(m_hWnd, m_pfnOldProc);
}

// Creates the edit and the hidden list and subclasses both. rect is turned into the list's
// rectangle in screen coordinates; its height is the list's greatest height from now on.
int CNavCombobox::Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* /*pszText*/, RECT& rect,
                         HWND hParent, UINT nID)
{
    if (IsWindow(m_hWnd))
        return 1;
    const RECT rcEdit = {rect.left, rect.top, rect.right, rect.top + m_nArrowHeight + 2};
    m_hWnd = nav::CreateChild(0, L"EDIT", L"", kEditStyle | (dwStyle & WS_VISIBLE), rcEdit,
                              hParent, nID, hInstance);
    DWORD dwError = m_hWnd ? 0 : GetLastError();

    ClientToScreen(hParent, reinterpret_cast<POINT*>(&rect.left));
    ClientToScreen(hParent, reinterpret_cast<POINT*>(&rect.right));
    rect.top += m_nArrowHeight + 2;
    if (rect.bottom <= rect.top)
        rect.bottom = rect.top + m_nArrowHeight;
    m_rcList = rect;

    // A list that outlived its edit (the application destroyed the edit) is used again. An
    // edit is not kept without its list: it is taken down, so that the next Create starts
    // whole instead of finding a window and answering 1 with half a combo.
    if (m_hWnd && !IsWindow(m_hList))
    {
        m_hList = nav::CreateChild(WS_EX_TOOLWINDOW, L"LISTBOX", L"ComboboxList", kListStyle,
                                   m_rcList, hParent, nID + kListIdOffset, hInstance);
        if (!m_hList)
            dwError = GetLastError();
    }
    if (!m_hWnd || !IsWindow(m_hList))
    {
        if (m_hWnd)
            DestroyWindow(m_hWnd);
        m_hWnd = NULL;
        NKDbgPrintfW(L"CNavCombobox::Create failed: %d\n", dwError);
        return 0;
    }

    if (m_hFont)
    {
        SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);
        SendMessageW(m_hList, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);
    }
    // After the font: on the desktop WM_SETFONT resets the margins. The text never runs
    // under the arrow.
    SendMessageW(m_hWnd, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, m_nArrowWidth));
    SendMessageW(m_hList, LB_SETITEMHEIGHT, 0, MAKELPARAM(LOWORD(m_nArrowHeight), 0));

    nav::Subclass(m_hWnd, this, ComboboxProc, m_pfnOldProc);
    nav::Subclass(m_hList, this, ComboboxListProc, m_pfnOldListProc);
    return 1;
}

// The edit window as stored.
HWND CNavCombobox::GetSafeHwnd()
{
    return m_hWnd;
}

// Records the font that Create hands to both windows.
void CNavCombobox::SetFont(HFONT hFont)
{
    m_hFont = hFont;
}

// Chooses the 32 x 32 or the 24 x 22 arrows.
void CNavCombobox::IsLargerCB(int bLarger)
{
    m_bLarger = bLarger;
    m_nArrowWidth = bLarger ? 32 : 24;
    m_nArrowHeight = bLarger ? 32 : 22;
}

// Shows or hides the edit and closes an open list.
void CNavCombobox::Show(int nCmdShow)
{
    ShowWindow(m_hWnd, nCmdShow);
    if (HasList() && IsWindowVisible(m_hList))
        ShowWindow(m_hList, SW_HIDE);
}

// Moves the edit; the list is placed again at its next opening.
int CNavCombobox::MoveWindow(int x, int y, int nWidth, int nHeight)
{
    if (!IsWindow(m_hWnd))
        return 0;
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, TRUE);
    return 1;
}

int CNavCombobox::InsertString(int nIndex, const wchar_t* pszText)
{
    return HasList() ? static_cast<int>(SendList(LB_INSERTSTRING, nIndex,
                                                 reinterpret_cast<LPARAM>(pszText)))
                     : -1;
}

int CNavCombobox::AddString(const wchar_t* pszText)
{
    return HasList()
               ? static_cast<int>(SendList(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText)))
               : -1;
}

int CNavCombobox::DeleteString(int nIndex)
{
    return HasList() ? static_cast<int>(SendList(LB_DELETESTRING, nIndex)) : -1;
}

// Selects an item; one with text also becomes the edit's text and closes the list.
int CNavCombobox::SetCurSel(int nIndex)
{
    if (nIndex == -1 || !HasList())
        return -1;
    const int nResult = static_cast<int>(SendList(LB_SETCURSEL, nIndex));
    if (static_cast<int>(SendList(LB_GETTEXTLEN, nIndex)) <= 0)
        return nResult;
    CopyItemToEdit(nIndex);
    HideList();
    return nResult;
}

int CNavCombobox::GetCurSel()
{
    return HasList() ? static_cast<int>(SendList(LB_GETCURSEL)) : -1;
}

int CNavCombobox::GetCount()
{
    return HasList() ? static_cast<int>(SendList(LB_GETCOUNT)) : -1;
}

// Copies an item's text into the caller's buffer. Without a buffer it is LB_ERR: the list box
// would otherwise be told to write through a null pointer, which only some platforms forgive.
int CNavCombobox::GetLBText(int nIndex, wchar_t* pszText)
{
    if (!HasList())
        return 0;
    if (!pszText)
        return LB_ERR;
    return static_cast<int>(SendList(LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(pszText)));
}

int CNavCombobox::GetLBTextLen(int nIndex)
{
    return HasList() ? static_cast<int>(SendList(LB_GETTEXTLEN, nIndex)) : 0;
}

// Empties the list; the edit keeps its text. Always 0.
int CNavCombobox::ResetContent()
{
    if (HasList())
        SendList(LB_RESETCONTENT);
    return 0;
}

// Sets the height of every row (the list has fixed rows, so the index is ignored).
int CNavCombobox::SetItemHeight(int /*nIndex*/, UINT cyItemHeight)
{
    return HasList() ? static_cast<int>(SendList(LB_SETITEMHEIGHT, 0,
                                                 MAKELPARAM(LOWORD(cyItemHeight), 0)))
                     : -1;
}

int CNavCombobox::GetItemHeight(int nIndex)
{
    return HasList() ? static_cast<int>(SendList(LB_GETITEMHEIGHT, nIndex)) : 0;
}

// The edit's procedure: paints the arrow under the text, presses it, opens and closes the
// list.
LRESULT CALLBACK CNavCombobox::ComboboxProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return nav::ForwardToObject(&CNavCombobox::OnEditMessage, nav::NoObject::AnswerZero, hWnd, msg,
                                wParam, lParam);
}

LRESULT CNavCombobox::OnEditMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_PAINT:
        return OnPaint(hWnd, lParam);
    case WM_ERASEBKGND:
        return 1; // the paint covers the whole client area
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return OnKeyDown(hWnd, msg, wParam, lParam);
    case WM_COMMAND:
        return OnCommand(hWnd, wParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: // what a read-only or disabled edit asks instead
        return nav::TransparentCtlColor(reinterpret_cast<HDC>(wParam));
    case WM_MOUSEMOVE:
        return OnMouseMove(hWnd, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // the second tap of a double tap is a tap
        return OnLButtonDown(hWnd, msg, wParam, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(hWnd, wParam, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(hWnd, wParam, lParam);
    default:
        break;
    }
    return nav::CallNative(m_pfnOldProc, hWnd, msg, wParam, lParam);
}

// The list's procedure: closes on focus loss, grey background, an item chosen by the pen.
LRESULT CALLBACK CNavCombobox::ComboboxListProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return nav::ForwardToObject(&CNavCombobox::OnListMessage, nav::NoObject::AnswerZero, hWnd, msg,
                                wParam, lParam);
}

LRESULT CNavCombobox::OnListMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_KILLFOCUS:
        return OnListKillFocus(hWnd, wParam, lParam);
    case WM_CTLCOLORLISTBOX:
        return OnListCtlColor(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONUP:
        return OnListLButtonUp(hWnd, wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return OnListKeyDown(hWnd, msg, wParam, lParam);
    case WM_GETDLGCODE:
        return OnListGetDlgCode(hWnd, wParam, reinterpret_cast<const MSG*>(lParam));
    default:
        break;
    }
    return nav::CallNative(m_pfnOldListProc, hWnd, msg, wParam, lParam);
}

// Whether the list window exists.
BOOL CNavCombobox::HasList() const
{
    return IsWindow(m_hList);
}

// Sends a list-box message to the list.
LRESULT CNavCombobox::SendList(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageW(m_hList, msg, wParam, lParam);
}

// Makes an item's text the edit's text. Nothing changes for an empty item or when no
// buffer can be had.
BOOL CNavCombobox::CopyItemToEdit(int nIndex)
{
    const int nLength = static_cast<int>(SendList(LB_GETTEXTLEN, nIndex));
    if (nLength <= 0)
        return FALSE;
    nav::combo::TextBuffer buffer(nLength);
    if (!buffer.Get())
        return FALSE;
    if (static_cast<int>(SendList(LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(buffer.Get()))) < 0)
        return FALSE;
    SetWindowTextW(m_hWnd, buffer.Get());
    return TRUE;
}

// Closes the list if it is open.
void CNavCombobox::HideList()
{
    if (IsWindowVisible(m_hList))
        ShowWindow(m_hList, SW_HIDE);
}

// Opens the list under the edit, or over it when the parent has no room below, with as many
// whole rows as the greatest height allows (at least one).
void CNavCombobox::OpenList()
{
    const int cyItem = static_cast<int>(AskList(m_pfnOldListProc, m_hList, LB_GETITEMHEIGHT));
    const int nCount = static_cast<int>(AskList(m_pfnOldListProc, m_hList, LB_GETCOUNT));
    if (cyItem <= 0 || nCount <= 0)
        return;
    const nav::Place place = nav::PlaceInParent(m_hWnd);
    const RECT& rcEdit = place.rcWindow;
    RECT rcParent;
    GetClientRect(place.hParent, &rcParent);

    const int cyMax = m_rcList.bottom - m_rcList.top;
    int cy = nCount * cyItem;
    if (cy > cyMax)
        cy = (cyMax / cyItem) * cyItem;
    if (cy < cyItem)
        cy = cyItem; // rows taller than the greatest height: one row rather than none
    const int y = rcEdit.bottom + cy > rcParent.bottom ? rcEdit.top - cy : rcEdit.bottom;

    // Opened by the edit's handlers, with nothing called out since they began.
    const nav::WindowWatch watch = nav::WindowWatch::OverLiveWindow(m_hWnd, this);
    SetFocus(m_hList); // the parent hears EN_KILLFOCUS
    if (!watch.Died())
        SetWindowPos(m_hList, NULL, rcEdit.left, y, rcEdit.right - rcEdit.left, cy,
                     SWP_SHOWWINDOW);
}

// Makes the selected item's text the edit's text and closes the list, as a pen-up on the item
// does; an item without text changes nothing. TRUE when an item was chosen.
BOOL CNavCombobox::ChooseSelected()
{
    const int nSel = static_cast<int>(AskList(m_pfnOldListProc, m_hList, LB_GETCURSEL));
    if (nSel == LB_ERR || !IsWindowVisible(m_hList) ||
        static_cast<int>(AskList(m_pfnOldListProc, m_hList, LB_GETTEXTLEN, nSel)) <= 0)
        return FALSE;
    InvalidateRect(m_hWnd, NULL, TRUE);
    const nav::WindowWatch watch(m_hWnd, this);
    CopyItemToEdit(nSel); // the parent hears EN_UPDATE and EN_CHANGE
    if (watch.Died())
        return FALSE;
    HideList();
    return TRUE;
}

// Closes the list from the keyboard: the focus goes back to the edit, where the keys came
// from (the list closes as it loses the focus).
void CNavCombobox::CloseListToEdit()
{
    const nav::WindowWatch watch(m_hWnd, this);
    SetFocus(m_hWnd); // the parent hears EN_SETFOCUS
    if (!watch.Died())
        HideList();
}

namespace
{
// The keys that open and close a native combo box's list: F4, and Alt with an up or down
// arrow.
bool IsListToggleKey(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const LPARAM kAltDown = 1 << 29;
    if (msg == WM_KEYDOWN)
        return wParam == VK_F4;
    return (wParam == VK_DOWN || wParam == VK_UP) && (lParam & kAltDown);
}
} // namespace

// The arrow's hit area: the right end of the edit's client area.
RECT CNavCombobox::ArrowRect(HWND hWnd) const
{
    RECT rcClient;
    GetClientRect(hWnd, &rcClient);
    RECT rc;
    SetRect(&rc, rcClient.right - m_nArrowWidth, rcClient.top, rcClient.right, rcClient.bottom);
    return rc;
}

// Draws arrow bitmap nBitmapID at (x, 0), magenta transparent; nothing if it cannot be loaded.
// The arrows are kept between paints (nav::ArtworkDC).
void CNavCombobox::DrawArrow(HDC hdc, int x, int nBitmapID)
{
    const nav::ArtworkDC dcArrow(GetModuleInstance(), static_cast<WORD>(nBitmapID));
    if (!dcArrow)
        return;
    TransparentImage(hdc, x, 0, m_nArrowWidth, m_nArrowHeight, dcArrow, 0, 0, m_nArrowWidth,
                     m_nArrowHeight, kKey);
}

// Composes the parent's background, the resting arrow and the native text; one copy to the
// screen.
LRESULT CNavCombobox::OnPaint(HWND hWnd, LPARAM lParam)
{
    nav::PaintDC dc(hWnd);
    RECT rcClient;
    GetClientRect(hWnd, &rcClient);
    nav::PaintBuffer buffer(dc, rcClient.right, rcClient.bottom);
    if (!buffer)
        return 0;

    // The client area in the parent's coordinates. On the device that is the window less its
    // one-pixel border; the desktop's edit keeps no non-client border and paints its line
    // inside the client area instead.
    const nav::WindowWatch watch = nav::WindowWatch::OverLiveWindow(hWnd, this);
    const nav::Place place = nav::PlaceInParent(hWnd);
    nav::PaintParentBeneath(place, buffer, nav::ClientRectIn(place, rcClient));
    if (watch.Died())
        return 0;

    DrawArrow(buffer, rcClient.right - m_nArrowWidth,
              m_bLarger ? IDB_COMBO_ARROW_LARGE : IDB_COMBO_ARROW);
    nav::PaintNative(m_pfnOldProc, hWnd, buffer, lParam);
    buffer.CopyTo(dc);
    return 0;
}

// Every key repaints the field. F4 and Alt+Down open the list (it takes the focus, so that the
// arrow keys move its selection) or close it again; the native edit never sees them.
LRESULT CNavCombobox::OnKeyDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_KEYDOWN)
        InvalidateRect(hWnd, NULL, TRUE);
    if (!IsListToggleKey(msg, wParam, lParam) || !HasList())
        return nav::CallNative(m_pfnOldProc, hWnd, msg, wParam, lParam);
    if (IsWindowVisible(m_hList))
        CloseListToEdit();
    else
        OpenList();
    return 0;
}

// Commands to the edit are consumed; EN_UPDATE repaints.
LRESULT CNavCombobox::OnCommand(HWND hWnd, WPARAM wParam)
{
    if (HIWORD(wParam) == EN_UPDATE)
        InvalidateRect(hWnd, NULL, FALSE);
    return 0;
}

// While pressed, each move repaints, which puts the resting arrow back.
LRESULT CNavCombobox::OnMouseMove(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (m_bPressed)
        InvalidateRect(hWnd, NULL, TRUE);
    return nav::CallNative(m_pfnOldProc, hWnd, WM_MOUSEMOVE, wParam, lParam);
}

// Pen down: pressed; on the arrow the pressed arrow appears at once. The native edit hears
// the second tap of a double tap as a double click (it selects a word).
LRESULT CNavCombobox::OnLButtonDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const RECT rcArrow = ArrowRect(hWnd);
    m_bPressed = 1;
    m_bListOpenAtPress = 0;
    if (PtInRect(&rcArrow, nav::PointFromLParam(lParam)))
    {
        // The native edit takes the focus at the pen-down, which may close an open list
        // before the pen-up arrives; the pen-up acts on the list as it was at the press.
        m_bListOpenAtPress = HasList() && IsWindowVisible(m_hList);
        nav::WindowDC dc(hWnd);
        if (dc)
            DrawArrow(dc, rcArrow.left,
                      m_bLarger ? IDB_COMBO_ARROW_LARGE_PRESSED : IDB_COMBO_ARROW_PRESSED);
    }
    return nav::CallNative(m_pfnOldProc, hWnd, msg, wParam, lParam);
}

// Pen up on the arrow: closes an open list (or one that this tap's pen-down closed) or opens
// a hidden one that has items.
LRESULT CNavCombobox::OnLButtonUp(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const RECT rcArrow = ArrowRect(hWnd);
    const BOOL bWasOpen = m_bListOpenAtPress;
    m_bPressed = 0;
    m_bListOpenAtPress = 0;
    if (PtInRect(&rcArrow, nav::PointFromLParam(lParam)) && HasList())
    {
        const nav::WindowWatch watch = nav::WindowWatch::OverLiveWindow(hWnd, this);
        const int nCount = static_cast<int>(AskList(m_pfnOldListProc, m_hList, LB_GETCOUNT));
        if (IsWindowVisible(m_hList) || bWasOpen || nCount <= 0)
            SetWindowPos(m_hList, NULL, 0, 0, 0, 0, kHideFlags);
        else
            OpenList();
        if (watch.Died())
            return 0;
    }
    InvalidateRect(hWnd, NULL, TRUE);
    return nav::CallNative(m_pfnOldProc, hWnd, WM_LBUTTONUP, wParam, lParam);
}

// Another window took the pen away from the native edit: the press ends as a release outside
// the arrow would, opening or closing nothing.
LRESULT CNavCombobox::OnCaptureChanged(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (m_bPressed && reinterpret_cast<HWND>(lParam) != hWnd)
    {
        m_bPressed = 0;
        m_bListOpenAtPress = 0;
        InvalidateRect(hWnd, NULL, TRUE);
    }
    return nav::CallNative(m_pfnOldProc, hWnd, WM_CAPTURECHANGED, wParam, lParam);
}

// The list closes when it loses the focus.
LRESULT CNavCombobox::OnListKillFocus(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    HideList();
    return nav::CallNative(m_pfnOldListProc, hWnd, WM_KILLFOCUS, wParam, lParam);
}

// The open list holds the focus: the native list moves its selection with the arrow keys;
// Enter chooses the selected item, and F4, Alt+Down or Escape close the list without choosing,
// all handing the focus back to the edit.
LRESULT CNavCombobox::OnListKeyDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (IsListToggleKey(msg, wParam, lParam) || (msg == WM_KEYDOWN && wParam == VK_ESCAPE))
    {
        CloseListToEdit();
        return 0;
    }
    if (msg == WM_KEYDOWN && wParam == VK_RETURN)
    {
        const nav::WindowWatch watch(hWnd, this);
        if (ChooseSelected() && !watch.Died())
            SetFocus(m_hWnd);
        return 0;
    }
    return nav::CallNative(m_pfnOldListProc, hWnd, msg, wParam, lParam);
}

// In a dialog the open list keeps Enter and Escape, as a native combo box's dropped list does:
// they choose and close rather than reach the dialog as IDOK and IDCANCEL. Everything else it
// wants (the arrows, characters) the native list box says.
LRESULT CNavCombobox::OnListGetDlgCode(HWND hWnd, WPARAM wParam, const MSG* pMsg)
{
    LRESULT lResult = nav::CallNative(m_pfnOldListProc, hWnd, WM_GETDLGCODE, wParam,
                                      reinterpret_cast<LPARAM>(pMsg));
    if (pMsg && pMsg->message == WM_KEYDOWN &&
        (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE) && IsWindowVisible(hWnd))
        lResult |= DLGC_WANTMESSAGE;
    return lResult;
}

// Light grey text background, grey field.
LRESULT CNavCombobox::OnListCtlColor(HDC hdc)
{
    if (hdc)
    {
        SetBkColor(hdc, RGB(0xCC, 0xCC, 0xCC));
        SetBkMode(hdc, TRANSPARENT);
    }
    return reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH));
}

// Pen up on the list: an item with text becomes the edit's text and the list closes; an
// empty item changes nothing. The native list sees the pen-up afterwards.
LRESULT CNavCombobox::OnListLButtonUp(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const nav::WindowWatch watch(hWnd, this);
    ChooseSelected();
    if (watch.Died())
        return 0; // the parent destroyed the combo box when it heard of the new text
    return nav::CallNative(m_pfnOldListProc, hWnd, WM_LBUTTONUP, wParam, lParam);
}
