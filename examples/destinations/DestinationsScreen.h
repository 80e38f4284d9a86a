// DestinationsScreen.h - the destination search screen, built by the program (main.cpp) and by
// its own test (test_destinations.cpp), which finds the screen's windows by these ids.
#pragma once

#include <windows.h>

#include <string>

namespace destinations
{
// The screen's client size.
const int kWidth = 800;
const int kHeight = 480;
// How many places the virtual list shows.
const int kPlaceCount = 200000;

enum Id
{
    kIdTitle = 100,
    kIdSearch,
    kIdSortLabel,
    kIdSort,
    kIdList,
    kIdStatus,
};
// The list's scroll bar has the list's id + 1001, the combo's drop-down list the combo's + 1010.
const UINT kIdListBar = kIdList + 1001;
const UINT kIdSortList = kIdSort + 1010;
// The sort combo box's items.
enum Sort
{
    kSortByName,
    kSortByDistance,
};

// Builds the screen: its window, not shown yet, and every control in it. Null when the window
// cannot be made.
HWND Create(HINSTANCE hInst);
// The place a row of the list shows now (the order follows the sort), and its name.
int PlaceOfRow(int row);
std::wstring NameOf(int place);
// Whether the screen holds the place as a favourite (the list keeps no check of its own).
bool IsFavourite(int place);
// Frees what the screen lent its controls (fonts, images); call it once the screen's window is
// destroyed.
void Free();
} // namespace destinations
