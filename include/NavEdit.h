// NavEdit.h - CNavEdit, a single-line text field on a skinned frame.
//
// The native "EDIT" window keeps all text editing; CNavEdit paints the field off screen (the
// parent's background, then the frame or the application's background, the native text and
// a black bottom line) and opens the soft input panel when the field is tapped.
//
// On the desktop the native edit asks its parent for colours (WM_CTLCOLOREDIT): the parent
// must pass that message to the window named in lParam, as it passes WM_DRAWITEM, or the
// edit fills its field white over the frame.
#pragma once

#include "NavCommon.h"

class ZNC_API CNavEdit
{
public:
    CNavEdit();
    virtual ~CNavEdit();
    CNavEdit(const CNavEdit&) = default;
    // Takes over every field; a window this edit made is given up first.
    CNavEdit& operator=(const CNavEdit& other);

    // Creates the native edit as a child of hParent at rect (parent client coordinates).
    // pfnDrawBk, when set, paints the field's background instead of the frame; bNoFrame
    // draws no frame and keeps WS_BORDER. Returns 1 on success or when the window exists.
    int Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* pszText, RECT& rect, HWND hParent,
               UINT nID, DrawBkProc pfnDrawBk, int bNoFrame);

    int SetText(wchar_t* pszText);
    int GetText(wchar_t* pszBuffer, int nMaxCount);
    int GetTextLength();
    void SetLimitText(UINT nLimit);
    // Records the font for Create; a font set after Create is not passed to the window.
    void SetFont(HFONT hFont);
    HWND GetSafeHwnd();
    // Paints the field's background and frame, without text, into a DC of the parent at the
    // field's place. Returns 0 for a null DC.
    int OnPaintEx(HDC hdc);

protected:
    static LRESULT CALLBACK EditProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    DrawBkProc m_pfnDrawBk;
    HWND m_hWnd;
    HFONT m_hFont;
    int m_bPressed;
    WNDPROC m_pfnOldProc;
    int m_bNoFrame;
    int m_nFrameBitmapID;

private:
    void DestroyOwnWindow();
    LRESULT CallOld(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(HWND hWnd, LPARAM lParam);
    LRESULT OnCommand(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColor(HDC hdc);
    LRESULT OnSetFont(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(HWND hWnd, WPARAM wParam, LPARAM lParam);

    // Composes everything but the text into hdcMem (W x H), as the paint and OnPaintEx do.
    void ComposeBackground(HDC hdcMem, const RECT& rcClient, const RECT& rcInParent);
    void DrawFrame(HDC hdcMem, const RECT& rc);
    void DrawBottomLine(HDC hdcMem);
    // The window rectangle in the parent's client coordinates.
    RECT WindowRectInParent();
};
