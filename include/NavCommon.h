/// \file NavCommon.h
/// Types and messages shared by every ZorNavCtrl control: the application's painting
/// callbacks, the two messages a control sends to its parent, the radio buttons' own message
/// and the kinds of button.
///
/// Every control asks its parent window for the picture beneath it (#WM_NAV_PAINTBKGND)
/// before it draws, so the parent of every control must answer that message. Texts are
/// UTF-16 throughout; colours are \c COLORREF values (0x00BBGGRR); sizes and coordinates are
/// pixels.
#pragma once

#include <windows.h>
#include <commctrl.h>

#if defined(ZNC_BUILDING)
/// Marks a class exported from ZorNavCtrl.dll (imported by applications).
#define ZNC_API __declspec(dllexport)
#else
/// Marks a class imported from ZorNavCtrl.dll; the library's own build exports it instead.
#define ZNC_API __declspec(dllimport)
#endif

/// The application's background painter, given to CNavBitmapButton::Create,
/// CNavEdit::Create and CNavStatic::Create.
///
/// Called while the control composes its picture off screen, after the parent has painted
/// the background beneath the control (#WM_NAV_PAINTBKGND), with:
/// - \c hdc: the memory DC being composed (a bitmap of the control's size, origin at the
///   control's top-left corner);
/// - \c prc: the rectangle to paint, left and top 0, right and bottom the control's width and
///   height (the button's face, the edit's and the static's client area);
/// - \c uState: the button passes \c ODS_SELECTED (1) while pressed, \c ODS_FOCUS (16) while
///   focused, \c ODS_DISABLED (4) while disabled, and for a push-on/push-off button
///   \c ODS_CHECKED (8) while it is on (ored with \c ODS_DISABLED); the edit and the static
///   pass 1 while the pen is down on the control and 0 otherwise;
/// - \c uCtrlId: the control's id (\c GetDlgCtrlID of its window).
///
/// It paints the whole rectangle; the control then draws its text (the edit also its bottom
/// line) over it. The function must stay valid while the control's window exists; the
/// control never frees anything it is given.
typedef void (*DrawBkProc)(HDC hdc, RECT* prc, UINT uState, UINT uCtrlId);

/// The application's row-image painter for CNavListCtrl, set with CNavListCtrl::SetImageList.
///
/// Called for each row the list draws when the list has no image list, or when the row's
/// image index is -1: \c hdc is the row's DC, \c prc the image area in the list's client
/// coordinates (see CNavListCtrl for the row layout), \c pItem the row's column-0 item as the
/// list fetched it (\c iItem, \c iImage, \c lParam, and \c pszText, at most 63 characters,
/// valid during the call only). The painter must leave the DC's selections as it found them.
typedef void (*DrawItemProc)(HDC hdc, RECT* prc, LVITEMW* pItem);

/// Sent (\c SendMessageW) by every control to its parent window before the control draws:
/// \c wParam is an \c HDC whose origin stands for the rectangle's top-left corner, \c lParam
/// points to a \c RECT, the control's (or, for a list, one row's) rectangle in the parent's
/// client coordinates. The parent paints into that DC what it shows beneath the rectangle
/// (for example its background shifted by -left, -top) and returns 0; the result is not read.
/// A parent that does not answer leaves undefined pixels beneath the control's artwork.
/// Value 0x608.
#define WM_NAV_PAINTBKGND (WM_USER + 0x208)

/// Posted (\c PostMessageW) by a CNavListCtrl's scroll bar to the list's parent when the pen
/// is released after a press on a page arrow, while page scrolling is enabled
/// (CNavListCtrl::EnablePageScroll): \c wParam 1 = page-up arrow, 0 = page-down arrow;
/// \c lParam 0. The bar does not scroll the list for a page arrow: the application scrolls it
/// by sending the list window \c WM_VSCROLL with \c SB_PAGEUP or \c SB_PAGEDOWN (the list
/// paints its new page at once), then places the thumb with
/// <tt>list.EnsureVisible(list.GetScrollPos(), 0)</tt>: the new top row is in view, so that
/// call scrolls and paints nothing. (CNavListCtrl::Invalidate would place the thumb too, but
/// paint the whole list a second time.) Value 0x609.
#define WM_NAV_PAGESCROLL (WM_USER + 0x209)

/// Sent by a radio-kind CNavBitmapButton, after a tap checked it, to up to 20 following
/// controls of its dialog group (\c GetNextDlgGroupItem): a radio-kind button receiving it
/// unchecks itself and repaints; other buttons ignore it. \c wParam and \c lParam are 0; the
/// answer is 0. Applications do not need to send it (use CNavBitmapButton::SetCheck).
/// Value 0x7D1.
#define WM_NAV_RADIOCLEAR 0x7D1

/// The kinds of CNavBitmapButton, chosen at CNavBitmapButton::Create.
enum ButtonType
{
    /// Push button: a tap changes no state; the face follows the pressed, focused and disabled
    /// states. Parent hears \c BN_CLICKED.
    NAVBTN_PUSH = 0,
    /// Check box: a 30-pixel check icon at the left and the caption (black) beside it; each
    /// completed tap toggles the check state.
    NAVBTN_CHECK = 1,
    /// Radio button: a 30-pixel radio icon, optionally an image of the button's image list,
    /// then the caption (black); a tap checks it and unchecks the other radio buttons of its
    /// dialog group (put \c WS_GROUP on the first button of each group).
    NAVBTN_RADIO = 2,
    /// Push-on/push-off button with a centred caption; each completed tap toggles the check
    /// state, which only a face from an image list or a #DrawBkProc shows.
    NAVBTN_TOGGLE = 3
};
