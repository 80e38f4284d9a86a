/// \file NavTestKit.h
/// The test kit: drives an application's own screens as a user would and checks their
/// pictures, under Wine on the desktop (not on the device).
///
/// It is what applications may use of the library's own test host: link
/// \c ZorNavCtrl::TestKit (installed with the package) and include \c NavTestKit.h. A test is
/// an ordinary program that builds its screen in its own process, then, step by step, acts
/// and checks:
/// - real input: RealTap, RealDrag, RealType and RealKey go through the system's input queue,
///   so the system (not the test) decides which window hears them, as it would for a user;
/// - modal popup menus: a MenuDriver answers the next menu by an item's text (or position),
///   since nothing may wait for a user;
/// - pictures: Pixels reads a window (or a rectangle of a DC), writes and reads PNG files, and
///   MatchesGolden compares a picture with a golden PNG (optionally leaving masked rectangles
///   out) and, on a difference, writes the actual picture and a difference picture beside the
///   path it is given;
/// - checks: Check prints and counts each check, CheckSummary prints the count and gives the
///   program's exit status, which CTest reads (no test framework needed);
/// - the controls: a list's row rectangle, cell text and check (ListRowRect, ListCellText,
///   ListRowChecked), a combo box's item chosen with the pen (ChooseComboItem), the controls'
///   one-second timers advanced without waiting (AdvanceSeconds), and the soft input panel
///   the stand-in platform shows (SoftInputPanel).
///
/// Everything runs on the thread that owns the windows. Paths are Windows paths; one
/// starting with '/' is a path of the machine Wine runs on, reached through Wine's drive Z:.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

/// The test kit (and, inside the library's own tests, the rest of its test host).
namespace navtest
{

/// Dispatches every message queued for this thread (and the sent messages waiting for it)
/// until none is left.
void PumpMessages();
/// Dispatches this thread's messages for \p dwMilliseconds, so that timers fire and posted
/// messages arrive; returns once the time has passed and the queue is empty.
void PumpFor(DWORD dwMilliseconds);

/// A tap with the pen (the left mouse button) at client point (\p x, \p y) of \p hwnd: the
/// window's top-level window comes to the foreground, the cursor moves there, and the press
/// and the release go through the system's input queue. Pumps for 100 ms afterwards, so
/// that what the tap posted (and a modal menu it opened) has been handled on return. Two
/// taps are never one double tap: a press near the latest one (of RealTap or RealDrag),
/// within the double-click time, waits that time out first.
void RealTap(HWND hwnd, int x, int y);
/// A drag with the pen from client point (\p x0, \p y0) of \p hwnd to (\p x1, \p y1) of
/// the same window, through the system's input queue: a press, moves in steps of at most
/// 8 pixels, each handled before the next, and a release at the end. Pumps for 100 ms
/// afterwards.
void RealDrag(HWND hwnd, int x0, int y0, int x1, int y1);
/// Types \p pszText into the window that has the keyboard focus (tap it first), character
/// by character through the system's input queue, as an on-screen keyboard does. Pumps for
/// 100 ms afterwards.
void RealType(const wchar_t* pszText);
/// Presses and releases the key \p vk (for example \c VK_SPACE, \c VK_RETURN, \c VK_BACK,
/// \c VK_DOWN) through the system's input queue, into the window that has the keyboard
/// focus. Pumps for 100 ms afterwards.
void RealKey(WORD vk);

/// Answers the modal popup menus this thread opens (\c TrackPopupMenu, or a control's own
/// menu) while it lives: as a menu opens, records its items, then picks the chosen item with
/// the keyboard, or dismisses the menu (Escape) when there is no such item. Create it before
/// the tap that opens the menu; at most one may live at a time.
class MenuDriver
{
public:
    /// Picks the item whose text is \p pszItem (compared without the '&' that marks a
    /// mnemonic and without what follows a tab); dismisses a menu that has none.
    explicit MenuDriver(const wchar_t* pszItem);
    /// Picks the item at position \p nChoice (0 = the first); a negative choice, or one past
    /// the last item, dismisses the menu.
    explicit MenuDriver(int nChoice);
    /// Stops answering menus.
    ~MenuDriver();

    /// How many menus opened while the driver lived.
    int nMenus;
    /// The window that owns the latest menu (the one its messages go to).
    HWND hwndOwner;
    /// The latest menu's item ids, by position.
    std::vector<UINT> ids;
    /// The latest menu's item texts, by position, as the menu holds them.
    std::vector<std::wstring> texts;
    /// The position picked in the latest menu; -1 when it was dismissed.
    int nPicked;

private:
    MenuDriver(const MenuDriver&);
    MenuDriver& operator=(const MenuDriver&);
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam);
    void OnMenu(HWND hwnd, HMENU hMenu);
    void Start();

    std::wstring m_item;
    int m_nChoice;
    HHOOK m_hHook;
};

/// A picture: a 32-bit top-down copy of pixels read from a window, a DC or a PNG file.
class Pixels
{
public:
    /// An empty picture (0 x 0).
    Pixels();
    /// The client area of \p hwnd, as the screen shows it now (its children included).
    static Pixels FromWindow(HWND hwnd);
    /// The rectangle (\p x, \p y, \p cx x \p cy) of \p hdc; empty when it cannot be read.
    static Pixels FromDC(HDC hdc, int x, int y, int cx, int cy);
    /// The picture in the PNG file \p pszPath; empty when it cannot be read.
    static Pixels FromPng(const wchar_t* pszPath);

    /// Width in pixels (0 for an empty picture).
    int Width() const { return m_cx; }
    /// Height in pixels (0 for an empty picture).
    int Height() const { return m_cy; }
    /// The colour at (\p x, \p y) as a \c COLORREF; \c CLR_INVALID outside the picture.
    COLORREF At(int x, int y) const;
    /// Writes the picture to \p pszPath as an 8-bit RGB PNG. \return false on failure, or
    /// for an empty picture.
    bool SavePng(const wchar_t* pszPath) const;
    /// The pixels, row after row from the top, each \c 0x00RRGGBB.
    const std::vector<DWORD>& Raw() const { return m_bits; }

private:
    int m_cx, m_cy;
    std::vector<DWORD> m_bits;
};

/// Records one check: prints \c "ok" or \c "FAILED" and \p pszWhat on a line of its own, and
/// counts it for CheckSummary. \return \p bOk.
bool Check(bool bOk, const char* pszWhat);
/// Prints how many checks ran and how many failed (\c "12 checks, 0 failed") and returns
/// the exit status for \c main: 0 when every check passed and at least one ran, else 1, which
/// CTest reports as a failed test.
int CheckSummary();

/// The rectangle of row \p row of a list (\c LVM_GETITEMRECT, \c LVIR_BOUNDS), in the list
/// window's client coordinates; empty for a row the list does not have.
RECT ListRowRect(HWND hList, int row);
/// The text of column \p nSubItem of row \p row of a list (a virtual list asks its parent),
/// at most 255 characters.
std::wstring ListCellText(HWND hList, int row, int nSubItem);
/// Whether row \p row of a list shows a check: its state image is 2 (\c LVM_GETITEMSTATE),
/// for an ordinary list, a virtual list that keeps its checks and one whose parent keeps them.
bool ListRowChecked(HWND hList, int row);
/// Opens the combo box whose edit is \p hCombo with a tap on its arrow, brings item \p n of
/// its list into view and taps it. \return true when the list opened and then closed with
/// item \p n chosen.
bool ChooseComboItem(HWND hCombo, int n);
/// Advances the controls' one-second timers by \p nSeconds seconds at once: each second, every
/// list and label window in \p hwndRoot (itself included) whose timer 1 runs gets the
/// \c WM_TIMER it would have had, and its timer starts its second again. Timers that do not
/// run (a marquee whose text fits) stay still. \return how many timer messages were sent.
int AdvanceSeconds(HWND hwndRoot, int nSeconds);
/// Whether the soft input panel is up, and where: on the desktop the stand-in platform shows
/// it as a window (class "SipWndClass") across the bottom of the screen while it is up.
/// \param prcScreen when not null, receives the panel's rectangle in screen coordinates
///        (empty while it is down).
/// \return true while the panel is shown.
bool SoftInputPanel(RECT* prcScreen);

/// Compares a picture with a golden PNG, pixel for pixel.
/// \param actual the picture to check (for example Pixels::FromWindow of a screen).
/// \param pszGolden the golden PNG file.
/// \param pszOut where the pictures of a difference go: \p pszOut followed by
///        \c .actual.png (the picture compared) and \c .diff.png (the golden picture faded,
///        the differing pixels red); its folder is made when missing. Nothing is written when
///        the pictures match.
/// \param pReport when not null, receives what differed (the number of differing pixels
///        and the first of them, or the sizes, or that the golden file could not be read),
///        empty on a match.
/// \return true when both have the same size and every pixel matches.
bool MatchesGolden(const Pixels& actual, const wchar_t* pszGolden, const wchar_t* pszOut,
                   std::string* pReport = NULL);
/// As the other MatchesGolden, leaving out the pixels inside any of \p masked (rectangles of
/// the picture, for what moves with the clock or blinks); the difference picture shows them
/// grey.
bool MatchesGolden(const Pixels& actual, const wchar_t* pszGolden, const wchar_t* pszOut,
                   const std::vector<RECT>& masked, std::string* pReport = NULL);

} // namespace navtest
