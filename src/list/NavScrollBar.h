// NavScrollBar.h - the list's own vertical scroll bar: a 40-pixel skinned strip standing over
// the list's right edge as a sibling window. Not exported; only CNavListCtrl makes and drives
// it.
//
// Zones from top to bottom, with H the client height and P the page-arrow height (39, or 0
// while page scrolling is off): page-up [0, P), line-up [P, P+39), track, line-down
// [H-P-39, H-P), page-down [H-P, H). The 40 x 45 thumb travels T = H - 2P - 123 pixels.
#pragma once

#include "NavCommon.h"

class CNavListCtrl;

class CNavScrollBar
{
public:
    // The zone a pen-down hit; it acts at the pen-up.
    struct Zone
    {
        enum Value
        {
            None, // the track, or nothing
            PageUp,
            LineUp,
            Thumb,
            LineDown,
            PageDown
        };
    };

    CNavScrollBar();
    virtual ~CNavScrollBar();

    // Makes the bar's window beside the list window hList, as a child of the list's parent.
    BOOL Create(HWND hList, HINSTANCE hInst, UINT nID);
    // Places the thumb after the list's current top row and repaints the bar.
    void UpdateThumb();
    // Destroys the bar's window and leaves the object without one.
    void DestroyBarWindow();

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT ScrollBarProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    void OnPaintEx(HDC hdc);
    void OnLButtonDown(WPARAM wParam, LPARAM lParam);
    void OnLButtonUp(WPARAM wParam, LPARAM lParam);
    void TrackThumb(LPARAM lParam, BOOL bApply);

    HWND m_hWnd;
    HINSTANCE m_hInst;
    WNDPROC m_pfnOldProc;
    CNavListCtrl* m_pListCtrl;
    Zone::Value m_zonePressed;
    int m_nThumbTop;
    int m_nPageArrowHeight;
    // The list's window region that leaves this bar out could not be made; the list's next
    // paint tries again.
    bool m_bListRegionPending;

private:
    CNavScrollBar(const CNavScrollBar&);            // owned by one list (and its copies)
    CNavScrollBar& operator=(const CNavScrollBar&);

    LRESULT OnPaint(HWND hWnd);
    LRESULT OnCtlColorStatic(HDC hdc);
    void Paint(HDC hdc);
    void ClampAndRepaint();
    void ClearPressed();
    Zone::Value ZoneAt(POINT pt);
    void ScrollList(WPARAM nCode);
    bool IsListScrollable();
    int ClientHeight();
};
