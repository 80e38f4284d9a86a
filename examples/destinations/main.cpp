// The destination search screen as a program: builds the screen (DestinationsScreen.cpp), shows
// it and runs it for a user until its window is closed. Its test (test_destinations.cpp) drives
// the same screen with the test kit.
#include "DestinationsScreen.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nShow)
{
    HWND hwnd = destinations::Create(hInstance);
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
    destinations::Free();
    return 0;
}
