// test_list_fixture.h - what the list and scroll-bar tests share: a host that answers a
// virtual list's row requests, a list with its protected state readable, and pixel helpers.
#pragma once

#include <gtest/gtest.h>

#include "NavListCtrl.h"
#include "Sequence.h"
#include "TestHost.h"
#include "win32/NavGdi.h"
#include "list/NavScrollBar.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace listtest
{
using namespace navtest;

// A list whose protected fields a test may read.
struct ProbeList : CNavListCtrl
{
    using CNavListCtrl::IsVirtualList;
    using CNavListCtrl::m_bSelectHScroll;
    using CNavListCtrl::m_nItemCount;
    using CNavListCtrl::m_nScrollChar;
    using CNavListCtrl::m_sizeIcon;
};

const UINT kListId = 100;
const UINT kBarId = kListId + 1001;
const RECT kListRect = {10, 10, 310, 253}; // 300 x 243: eight 30-pixel rows

// The host answers the virtual list's requests with texts from 'text' and image 'image'.
class ListHost : public TestHost
{
public:
    ListHost() : TestHost(640, 480)
    {
        hook = [this](UINT msg, WPARAM, LPARAM lParam, LRESULT* pResult) {
            if (msg == WM_DRAWITEM)
            {
                const DRAWITEMSTRUCT* pdis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                drawRects[static_cast<int>(pdis->itemID)] = pdis->rcItem;
                return false;
            }
            const NMLISTVIEW* pnm = reinterpret_cast<const NMLISTVIEW*>(lParam);
            const UINT kImages = LVIS_STATEIMAGEMASK;
            if (msg == WM_NOTIFY && pnm->hdr.code == LVN_ITEMCHANGED &&
                (pnm->uChanged & LVIF_STATE) &&
                ((pnm->uNewState ^ pnm->uOldState) & kImages) && (pnm->uNewState & kImages))
                checkChanges.push_back({pnm->iItem, (pnm->uNewState & kImages) == 0x2000});
            return AnswerRowRequest(msg, lParam, text, [this](int) { return image; }, pResult);
        };
    }
    std::function<std::wstring(int row, int subItem)> text = [](int row, int subItem) {
        return subItem ? L"" : L"Row " + std::to_wstring(row);
    };
    int image = -1;
    // The check changes the parent heard (LVN_ITEMCHANGED with a new state image), in order:
    // the row, and whether it is checked now.
    std::vector<std::pair<int, bool>> checkChanges;
    // The rectangle of each row's latest draw request (the native list's drawing rectangle,
    // which on the desktop starts 2 pixels right of the row's bounds).
    std::map<int, RECT> drawRects;
};

inline HWND BarOf(HWND hwndHost)
{
    return GetDlgItem(hwndHost, kBarId);
}

inline RECT RowRect(HWND hwndList, int row)
{
    RECT rc = {};
    rc.left = LVIR_BOUNDS;
    SendMessageW(hwndList, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
    return rc;
}

// Paints a window now and lets whatever follows (forwarded row requests) happen.
inline void PaintNow(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
}

inline void Select(HWND hwndList, int row)
{
    LVITEMW item = {};
    item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(hwndList, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

inline int TopRow(HWND hwndList)
{
    return static_cast<int>(SendMessageW(hwndList, LVM_GETTOPINDEX, 0, 0));
}

inline bool IsDark(COLORREF c)
{
    return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80;
}

inline std::string RectText(const RECT& rc)
{
    return "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + "," +
           std::to_string(rc.right) + "," + std::to_string(rc.bottom) + ")";
}

} // namespace listtest
