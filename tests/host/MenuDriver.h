// MenuDriver.h - answering popup menus on behalf of a user.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace navtest
{

// While it lives, drives every popup menu this thread opens: records the menu's items as it
// opens, then picks item nChoice with the keyboard, or dismisses the menu for a negative
// choice, through keys posted to the menu's loop. A link label's tap may open such a menu, and
// nothing here may wait for a user.
class MenuDriver
{
public:
    explicit MenuDriver(int nChoice) : m_nChoice(nChoice)
    {
        s_pThis = this;
        m_hHook = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
    }
    ~MenuDriver()
    {
        UnhookWindowsHookEx(m_hHook);
        s_pThis = nullptr;
    }
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;

    int nMenus = 0;
    HWND hwndOwner = nullptr;
    std::vector<UINT> ids;
    std::vector<std::wstring> texts;

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* pcwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (nCode == HC_ACTION && s_pThis && pcwp->message == WM_INITMENUPOPUP)
            s_pThis->OnMenu(pcwp->hwnd, reinterpret_cast<HMENU>(pcwp->wParam));
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    void OnMenu(HWND hwnd, HMENU hMenu)
    {
        ++nMenus;
        hwndOwner = hwnd;
        ids.clear();
        texts.clear();
        for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        {
            wchar_t sz[128] = {};
            GetMenuStringW(hMenu, i, sz, 128, MF_BYPOSITION);
            ids.push_back(GetMenuItemID(hMenu, i));
            texts.push_back(sz);
        }
        if (m_nChoice < 0)
        {
            PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
            return;
        }
        for (int i = 0; i <= m_nChoice; ++i)
            PostMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    }

    static inline MenuDriver* s_pThis;
    int m_nChoice;
    HHOOK m_hHook;
};

} // namespace navtest
