// The settings screen as a program: builds the screen (SettingsScreen.cpp), shows it and runs
// it for a user until its window is closed. Its test (test_settings.cpp) drives the same
// screen with the test kit.
#include "SettingsScreen.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nShow)
{
    HWND hwnd = settings::Create(hInstance);
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, nShow);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // The windows went with the screen; now what they were lent goes.
    settings::Free();
    return 0;
}
