// A minimal application: one window with a bitmap button, answering the controls' background
// request and passing owner-draw requests back to the controls.
#include <ZorNavCtrl.h>

static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_NAV_PAINTBKGND:
    {
        // Paint what lies beneath the control; the DC's origin is the rectangle's corner.
        const RECT* prc = reinterpret_cast<const RECT*>(lParam);
        RECT rc = {0, 0, prc->right - prc->left, prc->bottom - prc->top};
        FillRect(reinterpret_cast<HDC>(wParam), &rc, GetSysColorBrush(COLOR_WINDOW));
        return 0;
    }
    case WM_DRAWITEM:
    {
        const DRAWITEMSTRUCT* pdis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return SendMessageW(pdis->hwndItem, WM_DRAWITEM, wParam, lParam);
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nShow)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = L"ZorNavConsumer";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(L"ZorNavConsumer", L"ZorNavCtrl", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              CW_USEDEFAULT, 0, 320, 200, nullptr, nullptr, hInstance, nullptr);

    CNavBitmapButton button;
    RECT rc = {20, 20, 126, 70};
    wchar_t szCaption[] = L"OK";
    button.Create(hInstance, WS_CHILD | WS_VISIBLE, szCaption, rc, hwnd, 100, nullptr,
                  NAVBTN_PUSH, nullptr);
    ShowWindow(hwnd, nShow);

    // With any argument the program only checks that it can start, and quits.
    if (__argc > 1)
        DestroyWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
