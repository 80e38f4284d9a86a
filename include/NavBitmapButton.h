// NavBitmapButton.h - CNavBitmapButton, the library's skinned button: push button, check box,
// radio button or push-on/push-off button on an owner-drawn native "BUTTON" window. Its face
// comes from the library's PNG faces, from an application's image list, or from the
// application's DrawBkProc; check and radio icons and the caption are drawn over it.
#pragma once

#include "NavCommon.h"

class ZNC_API CNavBitmapButton
{
public:
    CNavBitmapButton();
    // Copies share the window, the image list and the check state with the original.
    CNavBitmapButton(const CNavBitmapButton& other);
    CNavBitmapButton& operator=(const CNavBitmapButton& other);
    // Gives the window its native procedure back and destroys it (for every copy).
    virtual ~CNavBitmapButton();

    // Creates the owner-drawn button window as a child of hwndParent. The style must carry
    // WS_CHILD (and WS_VISIBLE to be seen; WS_GROUP starts a radio group). A callback passed
    // together with an image list is ignored. Returns 1 on success or when the window is
    // already alive, 0 on failure.
    int Create(HINSTANCE hInstance, DWORD dwStyle, wchar_t* pszCaption, RECT& rc,
               HWND hwndParent, UINT nId, HIMAGELIST hImageList, ButtonType nType,
               DrawBkProc pfnDrawBk);

    // Resizes the window, keeping its position and stacking order.
    void ReSize(int cx, int cy);
    // The caption font, used from the next paint on; the application keeps it alive.
    void SetFont(HFONT hFont);
    // 1 when checked, 0 when not or when there is no window.
    int GetCheck();
    // Sets (non-zero) or clears the check state without repainting.
    void SetCheck(int nCheck);
    // ShowWindow's result, 0 without a window.
    int Show(int nCmdShow);
    void SetText(const wchar_t* pszText);
    // GetWindowTextW's result, 0 without a window.
    int GetText(wchar_t* pszBuffer, int cchBuffer);
    // The window handle as stored, stale or null included.
    HWND GetSafeHwnd();
    // Paints the button's normal face into a DC of its parent at the button's place there.
    // Returns 0 for a null DC or a button without a window, else 1.
    int OnPaintEx(HDC hdcParent);

protected:
    static LRESULT CALLBACK BitmapButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The state change at the end of a tap released at the point in lParam.
    static void SetButtonState(WPARAM wParam, LPARAM lParam, HWND hwnd);

private:
    LRESULT CallOld(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawItem(HWND hwnd, WPARAM wParam, const DRAWITEMSTRUCT* pdis);
    LRESULT OnCtlColorBtn(HDC hdc);
    LRESULT OnLButtonDown(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyUp(HWND hwnd, WPARAM wParam, LPARAM lParam);
    void ApplyClick(HWND hwnd);
    LRESULT OnRadioClear(HWND hwnd);
    void ClearGroup(HWND hwnd);
    void DestroyOwnWindow();
    // Composes the face for the given owner-draw state bits and copies it to hdcTarget: to
    // (0, 0), or to the button's place in the parent when bToParent.
    void DrawFace(HDC hdcTarget, const RECT& rcFace, UINT nState, bool bToParent);
    void DrawFaceArt(HDC hdc, const RECT& rcFace, UINT nState, RECT& rcText);
    void DrawCaption(HDC hdc, RECT rcText, int cxFace);
    bool IsChecked() const;
    void AddRefCheck();
    void ReleaseCheck();

    HWND m_hWnd;
    HFONT m_hFont;
    ButtonType m_nType;
    DrawBkProc m_pfnDrawBk;
    int* m_pCheck; // bit 0 = checked; shared by copies, freed with the last of them
    HIMAGELIST m_hImageList;
    WNDPROC m_pfnOldProc;
};
