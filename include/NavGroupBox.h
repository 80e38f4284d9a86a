// NavGroupBox.h - CNavGroupBox: a native group box over a bitmap of the application's, which
// serves as the parent of the controls inside it and hands its buttons' owner-draw requests
// back to them.
#pragma once

#include "NavCommon.h"

class ZNC_API CNavGroupBox
{
public:
    CNavGroupBox();
    // Copies name the same window and bitmap.
    CNavGroupBox(const CNavGroupBox& other);
    CNavGroupBox& operator=(const CNavGroupBox& other);
    // Gives the window its native procedure back, then destroys it; the bitmap is left alone.
    virtual ~CNavGroupBox();

    // Creates the group box as a child of hwndParent, its background the given bitmap (which
    // the application keeps alive and makes at least as large as the box). Returns 1 on
    // success or when the window is already alive, 0 on failure.
    int Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* pszCaption, RECT& rc,
               HWND hwndParent, UINT nId, HBITMAP hBitmap);
    HWND GetSafeHwnd();

protected:
    static LRESULT CALLBACK GrouProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    LRESULT OnEraseBkgnd(HWND hwnd, HDC hdc);
    LRESULT OnDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColor(HDC hdc);
    void DestroyOwnWindow();

    HWND m_hWnd;
    HBITMAP m_hBitmap;
    WNDPROC m_pfnOldProc;
};
