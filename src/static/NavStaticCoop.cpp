// NavStaticCoop.cpp - CNavStatic as a link: the registered applications for the kind of data
// the text holds (HKEY_CURRENT_USER "Software\Quill\<kind>", one sub-key per application),
// the popup menu that offers them, and the call into the chosen application's library.
#include "NavStatic.h"

#include "platform/NavPlatform.h"
#include "win32/NavAlloc.h"
#include "win32/NavHandle.h"
#include "win32/NavWindow.h"

#include <string.h>

namespace
{
const COLORREF kLinkBlue = 0xFF0000;
const COLORREF kLinkVisited = 0x800080;

// Data-type keywords by number; only 1, 6 and 8 are reachable from a cooperation flag.
const wchar_t kDataTypes[12][20] = {
    L"", L"TEXT", L"", L"", L"", L"", L"TEL", L"", L"EMAIL", L"RECORD", L"FILE", L"SECRET"};

// The text handed to a cooperating library holds at most this many characters.
const int kLaunchTextChars = 511;
// Characters of a sub-key name, terminator included; longer names end the enumeration.
const DWORD kSubKeyNameChars = 50;
// Bytes read of each registry value (49 characters and the terminator).
const DWORD kValueBytes = 100;


// Data-type number of a cooperation flag; 0 for a flag that names no kind.
int DataTypeOfFlag(unsigned int nFlag)
{
    switch (nFlag)
    {
    case NAV_COOP_TEL:
        return 6;
    case NAV_COOP_TEXT:
        return 1;
    case NAV_COOP_EMAIL:
        return 8;
    default:
        return 0;
    }
}

// Opens a registry key for its owner; null when it cannot be opened.
HKEY OpenKey(HKEY hParent, const wchar_t* pszSubKey)
{
    HKEY hKey = NULL;
    // The device takes no access mask: 0.
    if (RegOpenKeyExW(hParent, pszSubKey, 0, 0, &hKey) != ERROR_SUCCESS)
        hKey = NULL;
    return hKey;
}

// Reads one string value into a table slot, always leaving it terminated inside the slot; a
// value that is missing or too long leaves the slot empty.
void ReadValue(HKEY hKey, const wchar_t* pszName, wchar_t (&szSlot)[NAV_COOP_SLOT])
{
    memset(szSlot, 0, sizeof(szSlot));
    if (!hKey)
        return;
    DWORD cbData = kValueBytes;
    if (RegQueryValueExW(hKey, pszName, NULL, NULL, reinterpret_cast<BYTE*>(szSlot),
                         &cbData) != ERROR_SUCCESS)
    {
        memset(szSlot, 0, sizeof(szSlot));
        return;
    }
    szSlot[cbData / sizeof(wchar_t)] = L'\0';
}

// Loads a cooperating library for the duration of one call. An empty name loads nothing: it
// is not handed to the platform, whose search for it is not defined.
HMODULE LoadCoopLibrary(const wchar_t* pszName)
{
    return pszName[0] ? LoadLibraryW(pszName) : NULL;
}

// Shows the platform's task bar if it exists and is hidden.
void ShowTaskBar()
{
    HWND hTaskBar = FindWindowW(L"HHTaskBar", NULL);
    if (IsWindow(hTaskBar) && !IsWindowVisible(hTaskBar))
        ShowWindow(hTaskBar, SW_SHOW);
}
} // namespace

// Marks the text's kind of data; the link is blue again from the next painting.
void CNavStatic::SetCoopFlag(unsigned int nCoopFlag)
{
    m_nCoopFlag = nCoopFlag;
    m_crLink = kLinkBlue;
}

// Reads the applications registered for the flag's kind of data into the current table.
// Entries start empty, and at most NAV_COOP_MAX_APPS are read: the enumeration stops there.
int CNavStatic::QueryCoopInfo()
{
    if (!m_pCoopInfo)
        return 0;
    const int nType = DataTypeOfFlag(m_nCoopFlag);
    if (!nType)
        return 0;
    memset(m_pCoopInfo, 0, sizeof(*m_pCoopInfo));
    m_pCoopInfo->nType = nType;

    wchar_t szPath[100];
    wsprintfW(szPath, L"Software\\Quill\\%s", kDataTypes[nType]);
    const nav::RegKey kind(OpenKey(HKEY_CURRENT_USER, szPath));
    if (!kind)
        return 0;

    int nCount = 0;
    while (nCount < NAV_COOP_MAX_APPS)
    {
        wchar_t szName[kSubKeyNameChars];
        DWORD cchName = kSubKeyNameChars;
        if (RegEnumKeyExW(kind.Get(), nCount, szName, &cchName, NULL, NULL, NULL,
                          NULL) != ERROR_SUCCESS)
            break;
        // A sub-key that cannot be opened still takes its place, with empty values.
        const nav::RegKey app(OpenKey(kind.Get(), szName));
        ReadValue(app.Get(), L"DispName", m_pCoopInfo->szDispName[nCount]);
        ReadValue(app.Get(), L"AppName", m_pCoopInfo->szAppName[nCount]);
        ReadValue(app.Get(), L"FuncName", m_pCoopInfo->szFuncName[nCount]);
        ReadValue(app.Get(), L"ClassID", m_pCoopInfo->szClassID[nCount]);
        ++nCount;
    }
    m_pCoopInfo->nCount = nCount;
    return 1;
}

// A tap on a link: turns it purple, reads a fresh table and offers its applications in a popup
// menu at the tap point. The chosen item comes back as WM_COMMAND to this window.
void CNavStatic::StartCoopLookup(POINT ptClient)
{
    m_crLink = kLinkVisited;
    FreeCoopInfo();
    m_pCoopInfo = nav::NewObject(nav::Type<CoopInfo>());
    if (!m_pCoopInfo || !QueryCoopInfo())
        return;

    const nav::PopupMenu menu(CreatePopupMenu());
    if (!menu.Get())
        return;
    for (int i = 0; i < m_pCoopInfo->nCount; ++i)
        AppendMenuW(menu.Get(), MF_STRING, NAV_COOP_FIRST_ID + i, m_pCoopInfo->szDispName[i]);
    POINT ptScreen = ptClient;
    ClientToScreen(m_hWnd, &ptScreen);
    TrackPopupMenuEx(menu.Get(), 0, ptScreen.x, ptScreen.y, m_hWnd, NULL);
}

// Frees the cooperation table.
void CNavStatic::FreeCoopInfo()
{
    nav::FreeObject(m_pCoopInfo);
    m_pCoopInfo = NULL;
}

// A menu choice launches its application; anything else goes to the native procedure.
LRESULT CNavStatic::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (!m_pCoopInfo)
        return nav::CallNative(m_pfnOldProc, m_hWnd, WM_COMMAND, wParam, lParam);
    if (wParam < NAV_COOP_FIRST_ID || wParam >= NAV_COOP_FIRST_ID + NAV_COOP_MAX_APPS ||
        m_pCoopInfo->nCount < 1)
    {
        FreeCoopInfo();
        return nav::CallNative(m_pfnOldProc, m_hWnd, WM_COMMAND, wParam, lParam);
    }
    return LaunchCoop(static_cast<int>(wParam - NAV_COOP_FIRST_ID), wParam, lParam);
}

// Calls entry nEntry's export with the text (cut to 511 characters), an empty string and 0,
// and unloads its library again. The task bar comes back first (except for the fifth and
// sixth entries), also for an empty entry (beyond the count, or without a library), whose
// load then fails. A library that cannot be loaded passes the command on; otherwise it is
// consumed.
LRESULT CNavStatic::LaunchCoop(int nEntry, WPARAM wParam, LPARAM lParam)
{
    // Work from copies: the call may run code that replaces or frees the table.
    wchar_t szLibrary[NAV_COOP_SLOT], szFunction[NAV_COOP_SLOT];
    memcpy(szLibrary, m_pCoopInfo->szClassID[nEntry], sizeof(szLibrary));
    memcpy(szFunction, m_pCoopInfo->szFuncName[nEntry], sizeof(szFunction));
    szLibrary[NAV_COOP_SLOT - 1] = L'\0';
    szFunction[NAV_COOP_SLOT - 1] = L'\0';
    if (nEntry >= m_pCoopInfo->nCount)
        szLibrary[0] = L'\0';

    wchar_t szText[kLaunchTextChars + 1] = {};
    GetWindowTextW(m_hWnd, szText, kLaunchTextChars + 1);
    // The fifth and sixth applications keep the task bar as it is.
    if (nEntry != 4 && nEntry != 5)
        ShowTaskBar();

    const nav::Library library(LoadCoopLibrary(szLibrary));
    if (!library.Get())
    {
        FreeCoopInfo();
        return nav::CallNative(m_pfnOldProc, m_hWnd, WM_COMMAND, wParam, lParam);
    }
    // From one function type to the other directly: C++03 has no cast through void*.
    NavCoopEntry pfnEntry =
        reinterpret_cast<NavCoopEntry>(GetProcAddressW(library.Get(), szFunction));
    if (pfnEntry)
    {
        const nav::WindowWatch watch(m_hWnd, this);
        wchar_t szExtra[1] = {L'\0'};
        pfnEntry(szText, szExtra, 0);
        if (watch.Died())
            return 0; // the application closed the label; its destructor freed the table
    }
    FreeCoopInfo();
    return 0;
}
