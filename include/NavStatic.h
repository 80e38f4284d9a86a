// NavStatic.h - CNavStatic, the library's label.
//
// A native "STATIC" window that draws its text itself over the parent's background (asked for
// with WM_NAV_PAINTBKGND) and an optional background callback, in a chosen colour and
// underline. It can scroll a text that is too wide (auto-scroll), act as a push button (when
// created with a background callback) and act as a link: with a cooperation flag a tap offers
// the applications registered for its kind of data under HKEY_CURRENT_USER
// "Software\Quill\<kind>" and calls the one the user picks.
#pragma once

#include "NavCommon.h"

// Values of SetCoopFlag: the kind of data the static's text holds.
#define NAV_COOP_TEL 1   // a telephone number, registry key "Software\Quill\TEL"
#define NAV_COOP_TEXT 2  // a text, "Software\Quill\TEXT"
#define NAV_COOP_EMAIL 4 // an e-mail address, "Software\Quill\EMAIL"

// Menu item id of the first registered application; entry i has id NAV_COOP_FIRST_ID + i.
#define NAV_COOP_FIRST_ID 1024
// The table holds this many applications; further registrations are not offered.
#define NAV_COOP_MAX_APPS 10
// Characters in each string slot of the table (a registry value fills at most 49 of them).
#define NAV_COOP_SLOT 100

// The applications registered for one kind of data, read from the registry for one tap.
struct CoopInfo
{
    int nType;  // data-type number of the lookup: 6 "TEL", 1 "TEXT", 8 "EMAIL"
    int nCount; // entries read
    wchar_t szAppName[NAV_COOP_MAX_APPS][NAV_COOP_SLOT];  // "AppName"
    wchar_t szClassID[NAV_COOP_MAX_APPS][NAV_COOP_SLOT];  // "ClassID": the library to load
    wchar_t szFuncName[NAV_COOP_MAX_APPS][NAV_COOP_SLOT]; // "FuncName": its export to call
    wchar_t szDispName[NAV_COOP_MAX_APPS][NAV_COOP_SLOT]; // "DispName": the menu text
};

// The export a cooperating library offers: (the static's text, at most 511 characters; an
// empty string; 0). Its result is not read. Declare it extern "C" with the default calling
// convention so that its name is exported undecorated.
typedef int (*NavCoopEntry)(wchar_t* pszData, wchar_t* pszExtra, int nReserved);

class ZNC_API CNavStatic
{
public:
    CNavStatic();
    virtual ~CNavStatic();
    // Copies share the window. The cooperation table of a tap stays with the label that made
    // it (the one the window names), so that it is freed exactly once.
    CNavStatic(const CNavStatic& other);
    // Takes over every field but the table; a window this label made is given up first, with
    // its table.
    CNavStatic& operator=(const CNavStatic& other);

    // Creates and subclasses the "STATIC" window. A null callback keeps the stored one; a
    // callback makes the static a push button. Returns 1 on success or when the window
    // already exists, 0 on failure.
    int Create(HINSTANCE hInstance, unsigned long dwStyle, wchar_t* pszText, RECT& rc,
               HWND hParent, unsigned int nID, DrawBkProc pfnDrawBk);
    HWND GetSafeHwnd();

    int SetText(wchar_t* pszText);
    int GetText(wchar_t* pszBuffer, int nMaxCount);
    int GetTextLength();

    // Font to draw with (not owned). Before Create it is also given to the window.
    void SetFont(HFONT hFont);
    // Text colour and underline without a cooperation flag; used from the next painting.
    void SetTextCr(unsigned long crText);
    void SetUnderLine(int bUnderLine);
    // Read by Create only: set it before Create to scroll a text that does not fit.
    void SetIsAutoScroll(int bAutoScroll);

    // Marks the text as data of a kind (NAV_COOP_*); 0 ends the link behaviour. The link
    // turns blue again.
    void SetCoopFlag(unsigned int nCoopFlag);
    // Fills the current cooperation table from the registry. 1 when the kind's key was read,
    // 0 when there is no table, the flag names no kind, or the key cannot be opened.
    int QueryCoopInfo();

    // Composes the whole control into a DC of the parent at the control's position.
    // 0 for a null DC, else 1.
    int OnPaintEx(HDC hdc);

protected:
    // One auto-scroll step (timer 1).
    void OnScrollText(HWND hWnd);
    static LRESULT CALLBACK StaticProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    DrawBkProc m_pfnDrawBk;
    HWND m_hWnd;
    HFONT m_hFont;
    WNDPROC m_pfnOldProc;
    COLORREF m_crLink;
    COLORREF m_crText;
    int m_bUnderLine;
    int m_bPressed;
    unsigned int m_nCoopFlag;
    CoopInfo* m_pCoopInfo;
    int m_nScrollChar;
    int m_bAutoScroll;

private:
    void DestroyOwnWindow();
    LRESULT CallOldProc(UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT CallOldProcQuietly(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    LRESULT OnEraseBkgnd(HDC hdc);
    LRESULT OnTimer(UINT_PTR nTimerId);
    LRESULT OnCtlColorStatic(HDC hdc);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);

    void Repaint();
    void ParentRect(RECT* prc);
    void DrawBackground(HDC hdcMem, const RECT& rcParent);
    void DrawLabel(HDC hdc, const RECT& rc, bool bCenterAlways);
    void StartCoopLookup(POINT ptClient);
    void FreeCoopInfo();
    LRESULT LaunchCoop(int nEntry, WPARAM wParam, LPARAM lParam);
};
