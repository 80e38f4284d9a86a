// test_destinations.cpp - the destination screen's own test, written with the package's test
// kit (NavTestKit.h) and no test framework: each step prints "ok" or "FAILED", and the summary's
// exit status is what CTest reads. It types into the search field with the soft input panel up,
// keeps places as favourites by tap and by the space bar, sorts with the combo box and sees the
// favourites follow their places, advances the list's one-second timer to scroll the selected
// name inside its column, and compares the screen with a golden picture, the scrolling name
// masked.
//
// test_destinations.exe [picture.png]   also writes the whole screen to picture.png
#include "DestinationsScreen.h"

#include <NavTestKit.h>
#include <ZorNavCtrl.h>

#include <stdio.h>

#include <string>

using namespace navtest;

namespace
{
// A row whose name is too long for its column once the list is sorted by distance.
const int kScrollingRow = 3;

std::wstring TextOf(HWND hwnd)
{
    wchar_t sz[256] = L"";
    GetWindowTextW(hwnd, sz, 256);
    return sz;
}

// The row of the list that shows a place now, or -1.
int RowOf(int place)
{
    for (int row = 0; row < destinations::kPlaceCount; ++row)
        if (destinations::PlaceOfRow(row) == place)
            return row;
    return -1;
}

void GoThrough(HWND hwnd)
{
    using namespace destinations;
    HWND hSearch = GetDlgItem(hwnd, kIdSearch);
    HWND hList = GetDlgItem(hwnd, kIdList);
    HWND hStatus = GetDlgItem(hwnd, kIdStatus);

    // The search field: a tap opens the soft input panel, which leaves the field in view.
    Check(!SoftInputPanel(nullptr), "the soft input panel is down at first");
    RealTap(hSearch, 60, 15);
    RealKey(VK_END);
    RealType(L": Mill Lane");
    RECT rcPanel = {}, rcField = {};
    GetWindowRect(hSearch, &rcField);
    Check(SoftInputPanel(&rcPanel), "a tap in the search field shows the panel");
    Check(rcField.bottom <= rcPanel.top, "the field stays above the panel");
    Check(TextOf(hSearch) == L"Search: Mill Lane", "typing reaches the field");

    // A tap on a row's box keeps its place as a favourite; the search field loses the focus
    // and the screen puts the panel away.
    const RECT rcRow2 = ListRowRect(hList, 2);
    RealTap(hList, 12, rcRow2.top + 15);
    Check(!SoftInputPanel(nullptr), "leaving the field puts the panel away");
    const int place = PlaceOfRow(2);
    Check(ListRowChecked(hList, 2) && IsFavourite(place), "a tap on a box makes a favourite");
    Check(TextOf(hStatus) == NameOf(place) + L": favourite", "the screen heard it");
    RealKey(VK_SPACE);
    Check(!ListRowChecked(hList, 2) && !IsFavourite(place), "the space bar takes it back");
    RealKey(VK_SPACE);
    Check(ListRowChecked(hList, 2) && IsFavourite(place), "and gives it again");

    // Sorting by distance moves the place; its check goes with it, the list asking the screen.
    Check(ChooseComboItem(GetDlgItem(hwnd, kIdSort), kSortByDistance),
          "the combo box chooses \"Distance\"");
    Check(TextOf(hStatus) == L"Sorted by distance", "the screen sorted");
    Check(ListCellText(hList, 0, 1) == L"0.00 km", "the nearest place comes first");
    const int row = RowOf(place);
    Check(row != 2 && ListRowChecked(hList, row), "the favourite follows its place");
    Check(!ListRowChecked(hList, 2), "the row it left is not checked");
    RealTap(hList, 12, ListRowRect(hList, 0).top + 15);
    Check(ListRowChecked(hList, 0) && IsFavourite(PlaceOfRow(0)), "the nearest is a favourite");

    // The selected row's long name scrolls inside its column; the distance stays.
    RealTap(hList, 200, ListRowRect(hList, kScrollingRow).top + 15);
    const RECT rc0 = ListRowRect(hList, kScrollingRow);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    SendMessageW(hList, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    const int xDistance = rc0.left + 31 + 21 + 1 + column.cx + 2; // past the separator
    const Pixels before = Pixels::FromWindow(hList);
    Check(AdvanceSeconds(hwnd, 2) >= 2, "two seconds of the list's timer");
    const Pixels after = Pixels::FromWindow(hList);
    bool bNameMoved = false, bDistanceKept = true;
    for (int y = rc0.top; y < rc0.bottom; ++y)
    {
        for (int x = rc0.left + 53; x < xDistance - 2; ++x)
            bNameMoved = bNameMoved || before.At(x, y) != after.At(x, y);
        for (int x = xDistance; x < rc0.right - 6; ++x)
            bDistanceKept = bDistanceKept && before.At(x, y) == after.At(x, y);
    }
    Check(bNameMoved, "the selected name scrolled");
    Check(bDistanceKept, "the distance column stays in view");
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    HWND hwnd = destinations::Create(GetModuleHandleW(nullptr));
    if (!Check(hwnd != nullptr, "the screen is built"))
        return CheckSummary();
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    PumpFor(200);
    GoThrough(hwnd);

    // The picture, the selected row's name masked: it moves with the clock.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(100);
    HWND hList = GetDlgItem(hwnd, destinations::kIdList);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    SendMessageW(hList, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    RECT rcName = ListRowRect(hList, kScrollingRow);
    rcName.right = rcName.left + 31 + 21 + 1 + column.cx + 2; // up to the distance column
    MapWindowPoints(hList, hwnd, reinterpret_cast<POINT*>(&rcName), 2);
    std::string report;
    Check(MatchesGolden(Pixels::FromWindow(hwnd), DESTINATIONS_GOLDEN, L"destinations-screen",
                        {rcName}, &report),
          "the screen matches its golden picture");
    if (!report.empty())
        printf("       %s\n", report.c_str());
    if (argc > 1)
        Check(Pixels::FromWindow(hwnd).SavePng(argv[1]), "the picture is written");

    DestroyWindow(hwnd);
    PumpMessages();
    destinations::Free();
    return CheckSummary();
}
