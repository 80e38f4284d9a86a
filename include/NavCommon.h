// NavCommon.h - types and messages shared by every ZorNavCtrl control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#if defined(ZNC_BUILDING)
#define ZNC_API __declspec(dllexport)
#else
#define ZNC_API __declspec(dllimport)
#endif

// The application's background painter: (memory DC being composed, face or client rectangle
// with left and top 0, state value, control id). It paints the whole rectangle; the control
// draws its text over it.
typedef void (*DrawBkProc)(HDC hdc, RECT* prc, UINT uState, UINT uCtrlId);

// The application's row-image painter for the list: (row DC, image area, the row's item).
typedef void (*DrawItemProc)(HDC hdc, RECT* prc, LVITEMW* pItem);

// Sent to a control's parent before the control draws: wParam is a DC whose origin stands for
// the rectangle's top-left corner, lParam points to the control's RECT in the parent's client
// coordinates. The parent paints what it shows beneath that rectangle.
#define WM_NAV_PAINTBKGND (WM_USER + 0x208)

// Posted by the list's scroll bar to its parent for a page arrow: wParam 1 = page up,
// 0 = page down.
#define WM_NAV_PAGESCROLL (WM_USER + 0x209)

// Sent between the radio buttons of one group: a radio button receiving it unchecks itself.
#define WM_NAV_RADIOCLEAR 0x7D1

// The kinds of CNavBitmapButton.
enum ButtonType
{
    NAVBTN_PUSH = 0,   // push button
    NAVBTN_CHECK = 1,  // check box
    NAVBTN_RADIO = 2,  // radio button
    NAVBTN_TOGGLE = 3, // push-on/push-off button
};
