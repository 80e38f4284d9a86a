// test_settings.cpp - the settings screen's own test, written with the test kit installed with
// the package (NavTestKit.h) and no test framework: it builds the screen in this process and
// goes through it as a user would, with real taps, a drag, typing and keys, answers the Reset
// button's popup menu by its text, checks what the screen heard at each step (each check
// printed, the summary's exit status read by CTest), and compares the finished screen with a
// golden picture.
//
// test_settings.exe [picture.png]   also writes the whole screen to picture.png
//
// On a difference the kit leaves settings-screen.actual.png and settings-screen.diff.png in
// the working folder. The golden picture (golden/settings-screen.png) is made on purpose
// only: look at the actual picture, then copy it over the golden one.
#include "SettingsScreen.h"

#include <NavTestKit.h>
#include <ZorNavCtrl.h>

#include <stdio.h>

#include <string>

using namespace navtest;

namespace
{
std::wstring TextOf(HWND hwnd)
{
    wchar_t sz[256] = L"";
    GetWindowTextW(hwnd, sz, 256);
    return sz;
}

class Screen
{
public:
    explicit Screen(HWND hwnd) : m_hwnd(hwnd) {}
    HWND Item(UINT id) const { return GetDlgItem(m_hwnd, id); }
    // The buttons stand in the group box.
    HWND Button(UINT id) const { return GetDlgItem(Item(settings::kIdGroup), id); }
    std::wstring Status() const { return TextOf(Item(settings::kIdStatus)); }
    bool Heard(const wchar_t* pszStatus) const { return Status() == pszStatus; }
    bool IsChecked(UINT id) const { return settings::IsOn(id); }
    int TopRow() const
    {
        return static_cast<int>(SendMessageW(Item(settings::kIdList), LVM_GETTOPINDEX, 0, 0));
    }
    RECT Row(int row) const { return ListRowRect(Item(settings::kIdList), row); }

private:
    HWND m_hwnd;
};

void GoThrough(const Screen& screen)
{
    // The search field: a tap puts the caret in it, End moves it behind the text.
    HWND hSearch = screen.Item(settings::kIdSearch);
    RealTap(hSearch, 40, 15);
    RealKey(VK_END);
    RealType(L" station");
    Check(TextOf(hSearch) == L"Search: fuel station", "typing reaches the search field");

    // Route options, and Reset, which asks in a popup menu first.
    RealTap(screen.Button(settings::kIdAvoidTolls), 12, 15);
    Check(screen.Heard(L"Avoid tolls: on"), "a tap on a check box is heard");
    {
        MenuDriver menu(settings::kKeepItem);
        RealTap(screen.Button(settings::kIdReset), 39, 25);
        Check(menu.nMenus == 1 && menu.nPicked == 1, "Reset asks; \"Keep them\" is picked");
        Check(screen.IsChecked(settings::kIdAvoidTolls), "kept: avoid tolls stays on");
    }
    {
        MenuDriver menu(settings::kResetItem);
        RealTap(screen.Button(settings::kIdReset), 39, 25);
        Check(menu.nPicked == 0 && screen.Heard(L"Route options reset"),
              "\"Reset route options\" is picked and heard");
        Check(!screen.IsChecked(settings::kIdAvoidTolls) &&
                  screen.IsChecked(settings::kIdAvoidMotorways),
              "the route options are back as they started");
    }
    RealTap(screen.Button(settings::kIdShortest), 12, 15);
    Check(screen.Heard(L"Route: Shortest") && screen.IsChecked(settings::kIdShortest) &&
              !screen.IsChecked(settings::kIdFastest),
          "a radio button takes the check from the others of its group");
    RealTap(screen.Button(settings::kIdAvoidFerries), 12, 15);
    Check(screen.Heard(L"Avoid ferries: on"), "a second check box is heard");

    // The list: a tap on a row's check box, then the space bar on the selected row.
    HWND hList = screen.Item(settings::kIdList);
    RealTap(hList, 12, screen.Row(3).top + 15);
    Check(screen.Heard(L"Announce street names: on") && ListRowChecked(hList, 3),
          "a tap on a row's check box is heard");
    RealKey(VK_SPACE);
    Check(screen.Heard(L"Announce street names: off"), "the space bar's check change is heard");
    RealKey(VK_SPACE);
    Check(screen.Heard(L"Announce street names: on"), "and again");

    // The units: the arrow opens the list, a tap on its second item chooses it.
    Check(ChooseComboItem(screen.Item(settings::kIdUnits), 1) && screen.Heard(L"Units: Miles"),
          "the arrow opens the units list, a tap on an item chooses it and closes the list");

    // The scroll bar: the thumb dragged to the bottom of its track shows the last page; the
    // page-up arrow turns one page back. The bar is as high as the list (392): page arrows
    // of 39, line arrows of 39, a 45-pixel thumb held 22 pixels below its top.
    HWND hBar = screen.Item(settings::kIdListBar);
    RealDrag(hBar, 20, 78 + 22, 20, 392 - 39 - 39 - 45 + 22);
    Check(screen.TopRow() == 50 - 13, "a thumb dropped at the bottom shows the last page");
    RealTap(hBar, 20, 20);
    Check(screen.TopRow() == 50 - 2 * 13, "the page-up arrow turns one page back");

    // A tap on a row's text selects it and takes the focus (no caret left blinking).
    RealTap(hList, 200, screen.Row(screen.TopRow() + 1).top + 15);
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    HWND hwnd = settings::Create(GetModuleHandleW(nullptr));
    if (!Check(hwnd != nullptr, "the screen is built"))
        return CheckSummary();
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    PumpFor(200);
    const Screen screen(hwnd);
    GoThrough(screen);

    // Everything painted afresh, then the picture above the marquee, which moves with the
    // clock, compared with the golden one.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(100);
    HDC hdc = GetDC(hwnd);
    const Pixels still = Pixels::FromDC(hdc, 0, 0, settings::kWidth, settings::kMarqueeTop);
    ReleaseDC(hwnd, hdc);
    std::string report;
    Check(MatchesGolden(still, SETTINGS_GOLDEN, L"settings-screen", &report),
          "the screen matches its golden picture");
    if (!report.empty())
        printf("       %s\n", report.c_str());
    if (argc > 1)
        Check(Pixels::FromWindow(hwnd).SavePng(argv[1]), "the picture is written");

    DestroyWindow(hwnd);
    PumpMessages();
    settings::Free();
    return CheckSummary();
}
