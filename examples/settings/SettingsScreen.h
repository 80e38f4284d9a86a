// SettingsScreen.h - the settings screen, built by the program (main.cpp) and by its own test
// (test_settings.cpp), which finds the screen's windows by these ids.
#pragma once

#include <windows.h>

namespace settings
{
// The screen's client size.
const int kWidth = 800;
const int kHeight = 500;

// Control ids: GetDlgItem on the screen finds its controls, on the group box the buttons in it.
enum Id
{
    kIdTitle = 100,
    kIdSearch,
    kIdList,
    kIdUnitsLabel,
    kIdUnits,
    kIdGroup,
    kIdAvoidTolls,
    kIdAvoidFerries,
    kIdAvoidMotorways,
    kIdFastest,
    kIdShortest,
    kIdEconomic,
    kIdReset,
    kIdApply,
    kIdSave,
    kIdStatus,
    kIdTraffic,
};
// The list's scroll bar has the list's id + 1001, the combo's drop-down list the combo's + 1010.
const UINT kIdListBar = kIdList + 1001;
const UINT kIdUnitsList = kIdUnits + 1010;
// The traffic marquee's top: it moves with the clock, everything above it stands still.
const int kMarqueeTop = 462;
// The Reset button asks first, in a popup menu of these two items.
const wchar_t kResetItem[] = L"Reset route options";
const wchar_t kKeepItem[] = L"Keep them";

// Builds the screen: its window, not shown yet, and every control in it. Null when the window
// cannot be made.
HWND Create(HINSTANCE hInst);
// Whether the route option with this id (a check box or radio button in the group box) is on.
bool IsOn(UINT id);
// Frees what the screen lent its controls (fonts, images, the group box's bitmap); call it
// once the screen's window is destroyed.
void Free();
} // namespace settings
