/// \file NavStatic.h
/// CNavStatic, the library's label, and the types of its link behaviour.
#pragma once

#include "NavCommon.h"

/// SetCoopFlag value: the text is a telephone number; registry key `Software\Quill\TEL`.
#define NAV_COOP_TEL 1
/// SetCoopFlag value: the text is a text; registry key `Software\Quill\TEXT`.
#define NAV_COOP_TEXT 2
/// SetCoopFlag value: the text is an e-mail address; registry key `Software\Quill\EMAIL`.
#define NAV_COOP_EMAIL 4

/// Menu item id of the first registered application in a link's menu; entry i has id
/// #NAV_COOP_FIRST_ID + i. The choice arrives as \c WM_COMMAND at the label's own window.
#define NAV_COOP_FIRST_ID 1024
/// The table holds this many applications; further registrations are not offered.
#define NAV_COOP_MAX_APPS 10
/// Characters in each string slot of the table (a registry value fills at most 49 of them).
#define NAV_COOP_SLOT 100

/// The applications registered for one kind of data, read from the registry for one tap on a
/// link (CNavStatic::QueryCoopInfo). Owned by the label; zero-filled before it is read.
struct CoopInfo
{
    int nType;  ///< Data-type number of the lookup: 6 "TEL", 1 "TEXT", 8 "EMAIL".
    int nCount; ///< Entries read (sub-keys enumerated, at most #NAV_COOP_MAX_APPS).
    wchar_t szAppName[NAV_COOP_MAX_APPS][NAV_COOP_SLOT];  ///< "AppName" of each entry (not used).
    wchar_t szClassID[NAV_COOP_MAX_APPS][NAV_COOP_SLOT];  ///< "ClassID": the library to load.
    wchar_t szFuncName[NAV_COOP_MAX_APPS][NAV_COOP_SLOT]; ///< "FuncName": its export to call.
    wchar_t szDispName[NAV_COOP_MAX_APPS][NAV_COOP_SLOT]; ///< "DispName": the menu text.
};

/// The export a cooperating library offers, called when the user picks it from a link's
/// menu: (the label's text, at most 511 characters; an empty string; 0). The strings are
/// valid during the call only; the result is not read; the library is unloaded straight
/// after the call. Declare it <tt>extern "C"</tt> with the default calling convention so that
/// its name is exported undecorated.
typedef int (*NavCoopEntry)(wchar_t* pszData, wchar_t* pszExtra, int nReserved);

/// The library's label: a native "STATIC" window that draws its text itself over the
/// parent's background (#WM_NAV_PAINTBKGND) and an optional #DrawBkProc, in a chosen colour
/// (black by default) and underline.
///
/// Alignment follows the window style: \c SS_CENTER centres, \c SS_RIGHT right-aligns, and
/// \c SS_LEFTNOWORDWRAP (either of its bits 0x4, 0x8) draws one line, vertically centred,
/// tabs expanded; otherwise the text wraps at word breaks.
///
/// Behaviours switched on by the application:
/// - marquee (SetIsAutoScroll before Create): a text wider than the label moves on by one
///   character a second and starts again after its end. It needs the single-line style
///   \c SS_LEFTNOWORDWRAP, or the text wraps instead of moving. Give it \c WS_CLIPSIBLINGS
///   when a combo's list may open over it;
/// - push button (a #DrawBkProc given to Create): the painter is told when the label is
///   pressed (state 1), and a tap released inside posts \c WM_COMMAND (\c BN_CLICKED, the
///   label's id, its window in \c lParam) to the parent;
/// - link (SetCoopFlag): drawn underlined in blue (purple once tapped); a tap offers, in a
///   popup menu, the applications registered under \c HKEY_CURRENT_USER
///   `Software\Quill\<kind>` and calls the one chosen (#NavCoopEntry).
///
/// The parent must answer #WM_NAV_PAINTBKGND. The object owns its window; it never frees the
/// font or the callback.
///
/// The user data of the control's window (\c GWL_USERDATA) holds the object's address and
/// belongs to the control: an application that stores its own data there breaks it.
class ZNC_API CNavStatic
{
public:
    /// A label without a window: black text, no underline, no link, no marquee.
    CNavStatic();
    /// Gives the window its native procedure back, destroys it and frees the link table.
    virtual ~CNavStatic();
    /// The copy names the same window (destroying either destroys it for both). The
    /// cooperation table of a tap stays with the label that made it, so that it is freed
    /// exactly once.
    CNavStatic(const CNavStatic& other);
    /// Takes over every field of \p other but its table; a window this label made itself is
    /// destroyed first, with its table.
    CNavStatic& operator=(const CNavStatic& other);

    /// Creates and subclasses the "STATIC" window.
    /// \param hInstance instance that owns the window.
    /// \param dwStyle window style, used as given: \c WS_CHILD, \c WS_VISIBLE and the
    ///        alignment styles above.
    /// \param pszText the text (copied).
    /// \param rc rectangle in the parent's client coordinates (not changed).
    /// \param hParent parent window.
    /// \param nID control id (the \c BN_CLICKED of a push-button label carries it).
    /// \param pfnDrawBk background painter, which also makes the label a push button; null
    ///        keeps one given to an earlier Create.
    /// \return 1 on success or when the window already exists (nothing then changes), 0 on
    ///         failure (a debug line "CNavStatic::Create failed" is written; Create may be
    ///         retried).
    int Create(HINSTANCE hInstance, unsigned long dwStyle, wchar_t* pszText, RECT& rc,
               HWND hParent, unsigned int nID, DrawBkProc pfnDrawBk);
    /// The window handle as stored (null before Create).
    HWND GetSafeHwnd();

    /// Replaces the text (copied) and repaints. \return \c SetWindowTextW's result, 0
    /// without a window.
    int SetText(wchar_t* pszText);
    /// Copies the text into \p pszBuffer, at most \p nMaxCount - 1 characters and a
    /// terminator. \return the characters copied; 0 without a window, buffer or size.
    int GetText(wchar_t* pszBuffer, int nMaxCount);
    /// The text's length in characters; 0 without a window.
    int GetTextLength();

    /// Font to draw with (null: the window's font). Before Create it is also given to the
    /// window; after Create it is used from the next paint and marquee step on. Not owned;
    /// keep it alive while the label exists.
    void SetFont(HFONT hFont);
    /// Text colour (\c COLORREF) used without a link, from the next paint on; nothing is
    /// repainted (call \c InvalidateRect on GetSafeHwnd() with erase TRUE to see it at once).
    void SetTextCr(unsigned long crText);
    /// Underlines the text (non-zero) without a link, from the next paint on.
    void SetUnderLine(int bUnderLine);
    /// Read by Create only: set it before Create to move a text that does not fit (the
    /// marquee). Needs \c SS_LEFTNOWORDWRAP. Clearing it later does not stop a running one.
    void SetIsAutoScroll(int bAutoScroll);

    /// Marks the text as data of a kind (#NAV_COOP_TEL, #NAV_COOP_TEXT, #NAV_COOP_EMAIL),
    /// which draws it as a blue underlined link that offers the registered applications when
    /// tapped; 0 ends the link behaviour. Other values draw a link whose tap finds nothing.
    /// The link turns blue again; takes effect at the next paint.
    void SetCoopFlag(unsigned int nCoopFlag);
    /// Fills the label's current cooperation table from the registry (the library does this
    /// itself at each tap on a link). \return 1 when the kind's key was read, 0 when there is
    /// no table, the flag names no kind, or the key cannot be opened.
    int QueryCoopInfo();

    /// Composes the whole label (background, painter, text) into a DC of the parent at the
    /// label's place in the parent's client coordinates, for a parent that composes its own
    /// picture. \return 1 when drawn, 0 for a null DC, without a window or without memory.
    int OnPaintEx(HDC hdc);

protected:
    /// One marquee step on the label's window \p hWnd (timer 1): the first drawn character
    /// moves on by one while the whole text is wider than the label, and back to 0 after the
    /// end or when it fits.
    void OnScrollText(HWND hWnd);
    /// The window procedure installed by Create: painting, marquee timer, taps, link menu.
    static LRESULT CALLBACK StaticProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    /// The member handler the window procedure forwards to once it has found the object:
    /// one handler per message, the rest to the native procedure.
    LRESULT OnMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    DrawBkProc m_pfnDrawBk;  ///< The application's background painter, or null.
    HWND m_hWnd;             ///< The native static window; null before Create.
    HFONT m_hFont;           ///< Font to draw with, or null for the window's; not owned.
    WNDPROC m_pfnOldProc;    ///< The native static's procedure.
    COLORREF m_crLink;       ///< Link colour: blue 0xFF0000, purple 0x800080 once tapped.
    COLORREF m_crText;       ///< Text colour without a link (black by default).
    int m_bUnderLine;        ///< SetUnderLine's value.
    int m_bPressed;          ///< 1 while the pen is down inside the label.
    unsigned int m_nCoopFlag; ///< SetCoopFlag's value; non-zero makes a link.
    CoopInfo* m_pCoopInfo;   ///< The table of the latest tap on a link, owned; or null.
    int m_nScrollChar;       ///< Index of the first character drawn by the marquee.
    int m_bAutoScroll;       ///< SetIsAutoScroll's value, read by Create.

private:
    void DestroyOwnWindow();
    void OnPaint();
    LRESULT OnEraseBkgnd(HDC hdc);
    LRESULT OnTimer(UINT_PTR nTimerId);
    LRESULT OnCtlColorStatic(HDC hdc);
    LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);

    void Repaint();
    HWND ParentRect(RECT* prc);
    bool DrawBackground(HDC hdcMem, HWND hParent, const RECT& rcParent);
    HFONT TextFont();
    bool TextUnderlined() const;
    void DrawLabel(HDC hdc, const RECT& rc, bool bCenterAlways, HFONT hFont);
    void StartCoopLookup(POINT ptClient);
    void FreeCoopInfo();
    LRESULT LaunchCoop(int nEntry, WPARAM wParam, LPARAM lParam);
};
