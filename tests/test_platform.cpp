// Tests of the device stand-ins and of the GDI owners every control paints with.
#include <gtest/gtest.h>

#include "TestHost.h"
#include "core/NavGdi.h"
#include "platform/NavPlatform.h"

TEST(DebugOutput, LinesAreFormattedAndCaptured)
{
    navtest::DebugCapture capture;
    NKDbgPrintfW(L"CreateButton failed: %d\n", 1407);
    NKDbgPrintfW(L"%s=%u\n", L"rows", 8u);
    NKDbgPrintfW(nullptr); // ignored
    ASSERT_EQ(2u, capture.Lines().size());
    EXPECT_EQ(L"CreateButton failed: 1407\n", capture.Lines()[0]);
    EXPECT_EQ(L"rows=8\n", capture.Lines()[1]);
}

TEST(DebugOutput, VeryLongLinesAreCutNotOverrun)
{
    navtest::DebugCapture capture;
    std::wstring text(5000, L'x');
    NKDbgPrintfW(L"%s", text.c_str());
    ASSERT_EQ(1u, capture.Lines().size());
    EXPECT_GE(capture.Lines()[0].size(), 1000u);
    EXPECT_LE(capture.Lines()[0].size(), 1024u);
}

TEST(DebugOutput, NothingIsCapturedWithoutAHook)
{
    std::vector<std::wstring> lines;
    {
        navtest::DebugCapture capture;
        NKDbgPrintfW(L"one\n");
        lines = capture.Lines();
    }
    NKDbgPrintfW(L"two\n"); // no hook any more: must not reach the old capture
    EXPECT_EQ(1u, lines.size());
}

TEST(SoftInputPanel, QueryAndShowFollowTheSimulation)
{
    SIPINFO si = {};
    si.cbSize = sizeof(si);

    NavSipSimulate(SIPF_OFF, FALSE);
    EXPECT_TRUE(SipGetInfo(&si));
    EXPECT_EQ(DWORD(SIPF_OFF), si.fdwFlags);

    EXPECT_TRUE(SipShowIM(SIPF_ON));
    EXPECT_EQ(1, NavSipShowCount());
    EXPECT_EQ(DWORD(SIPF_ON), NavSipLastShowFlag());
    EXPECT_TRUE(SipGetInfo(&si));
    EXPECT_EQ(DWORD(SIPF_ON), si.fdwFlags);

    NavSipSimulate(SIPF_ON | 0x2, FALSE);
    EXPECT_EQ(0, NavSipShowCount());
    EXPECT_TRUE(SipGetInfo(&si));
    EXPECT_EQ(DWORD(SIPF_ON | 0x2), si.fdwFlags);
}

TEST(SoftInputPanel, FailedQueriesWriteNothing)
{
    NavSipSimulate(SIPF_ON, TRUE);
    SIPINFO si = {};
    si.cbSize = sizeof(si);
    si.fdwFlags = 0xABCD;
    EXPECT_FALSE(SipGetInfo(&si));
    EXPECT_EQ(0xABCDu, si.fdwFlags);

    NavSipSimulate(SIPF_ON, FALSE);
    si.cbSize = 12; // wrong size
    EXPECT_FALSE(SipGetInfo(&si));
    EXPECT_EQ(0xABCDu, si.fdwFlags);
    EXPECT_FALSE(SipGetInfo(nullptr));
}

TEST(Platform, GetProcAddressWFindsExportsByWideName)
{
    HMODULE hKernel = GetModuleHandleW(L"kernel32.dll");
    EXPECT_EQ(GetProcAddress(hKernel, "GetTickCount"), GetProcAddressW(hKernel, L"GetTickCount"));
    EXPECT_EQ(nullptr, GetProcAddressW(hKernel, L"NoSuchExport"));
    EXPECT_EQ(nullptr, GetProcAddressW(hKernel, nullptr));
    std::wstring longName(400, L'A');
    EXPECT_EQ(nullptr, GetProcAddressW(hKernel, longName.c_str()));
}

TEST(Platform, TransparentImageTakesADcOrABitmap)
{
    navtest::TestHost host(16, 16);
    HDC hdcScreen = GetDC(host);
    HBITMAP hSrc = CreateCompatibleBitmap(hdcScreen, 4, 1);
    HDC hdcSrc = CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOld = SelectObject(hdcSrc, hSrc);
    const COLORREF row[4] = {RGB(255, 0, 255), RGB(10, 20, 30), RGB(255, 0, 255), RGB(1, 2, 3)};
    for (int x = 0; x < 4; ++x)
        SetPixel(hdcSrc, x, 0, row[x]);

    for (int useBitmap = 0; useBitmap < 2; ++useBitmap)
    {
        SCOPED_TRACE(useBitmap ? "bitmap source" : "DC source");
        if (useBitmap)
            SelectObject(hdcSrc, hOld); // a bitmap must not be selected elsewhere
        HDC hdcDst = CreateCompatibleDC(hdcScreen);
        HBITMAP hDst = CreateCompatibleBitmap(hdcScreen, 4, 1);
        HGDIOBJ hOldDst = SelectObject(hdcDst, hDst);
        RECT rc = {0, 0, 4, 1};
        HBRUSH hbr = CreateSolidBrush(RGB(90, 90, 90));
        FillRect(hdcDst, &rc, hbr);
        DeleteObject(hbr);

        HANDLE hSource = useBitmap ? static_cast<HANDLE>(hSrc) : static_cast<HANDLE>(hdcSrc);
        EXPECT_TRUE(TransparentImage(hdcDst, 0, 0, 4, 1, hSource, 0, 0, 4, 1, RGB(255, 0, 255)));
        EXPECT_EQ(RGB(90, 90, 90), GetPixel(hdcDst, 0, 0));
        EXPECT_EQ(RGB(10, 20, 30), GetPixel(hdcDst, 1, 0));
        EXPECT_EQ(RGB(90, 90, 90), GetPixel(hdcDst, 2, 0));
        EXPECT_EQ(RGB(1, 2, 3), GetPixel(hdcDst, 3, 0));
        SelectObject(hdcDst, hOldDst);
        DeleteObject(hDst);
        DeleteDC(hdcDst);
    }
    EXPECT_FALSE(TransparentImage(hdcSrc, 0, 0, 1, 1, nullptr, 0, 0, 1, 1, 0));
    DeleteDC(hdcSrc);
    DeleteObject(hSrc);
    ReleaseDC(host, hdcScreen);
}

// ---- GDI owners ----

TEST(GdiOwners, BackBufferRestoresAndFreesEverything)
{
    navtest::TestHost host(32, 32);
    nav::WindowDC hdcWin(host);
    const long nBefore = NavGdiLiveObjects();
    HGDIOBJ hOriginal = nullptr;
    {
        nav::BackBuffer buffer(hdcWin, 20, 10);
        ASSERT_TRUE(buffer);
        EXPECT_EQ(nBefore + 2, NavGdiLiveObjects()) << "a DC and a bitmap";
        HGDIOBJ hBitmap = GetCurrentObject(buffer, OBJ_BITMAP);
        BITMAP bm = {};
        GetObjectW(hBitmap, sizeof(bm), &bm);
        EXPECT_EQ(20, bm.bmWidth);
        EXPECT_EQ(10, bm.bmHeight);
        hOriginal = hBitmap;
    }
    EXPECT_EQ(nBefore, NavGdiLiveObjects());
    EXPECT_EQ(0u, GetObjectType(hOriginal)) << "the back buffer's bitmap is deleted";
}

TEST(GdiOwners, ZeroSizedBackBufferStillWorks)
{
    navtest::TestHost host(32, 32);
    nav::WindowDC hdcWin(host);
    for (SIZE size : {SIZE{0, 0}, SIZE{-5, 10}, SIZE{10, -5}})
    {
        nav::BackBuffer buffer(hdcWin, size.cx, size.cy);
        EXPECT_TRUE(buffer) << size.cx << "x" << size.cy;
    }
}

TEST(GdiOwners, SelectGuardAndSavedDcHandTheDcBackUnchanged)
{
    navtest::TestHost host(32, 32);
    nav::WindowDC hdc(host);
    HGDIOBJ hPen = GetCurrentObject(hdc, OBJ_PEN);
    HGDIOBJ hFont = GetCurrentObject(hdc, OBJ_FONT);
    {
        nav::Pen pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
        nav::SelectGuard select(hdc, pen);
        EXPECT_EQ(pen.Get(), GetCurrentObject(hdc, OBJ_PEN));
        nav::SelectGuard nothing(hdc, nullptr); // selects nothing, restores nothing
        EXPECT_EQ(pen.Get(), GetCurrentObject(hdc, OBJ_PEN));
    }
    EXPECT_EQ(hPen, GetCurrentObject(hdc, OBJ_PEN));

    {
        nav::SavedDC saved(hdc);
        SelectObject(hdc, GetStockObject(SYSTEM_FIXED_FONT));
        SetBkMode(hdc, TRANSPARENT);
        IntersectClipRect(hdc, 0, 0, 2, 2);
    }
    EXPECT_EQ(hFont, GetCurrentObject(hdc, OBJ_FONT));
    EXPECT_EQ(OPAQUE, GetBkMode(hdc));
    RECT rcClip, rcClient;
    GetClipBox(hdc, &rcClip);
    GetClientRect(host, &rcClient);
    EXPECT_EQ(rcClient.right, rcClip.right - rcClip.left) << "the clip region is back";
}

TEST(GdiOwners, OwnersReleaseOnResetAndCountCorrectly)
{
    const long nBefore = NavGdiLiveObjects();
    {
        nav::Bitmap bmp(CreateBitmap(2, 2, 1, 1, nullptr));
        HBITMAP hFirst = bmp;
        bmp.Reset(CreateBitmap(3, 3, 1, 1, nullptr));
        EXPECT_EQ(0u, GetObjectType(hFirst));
        EXPECT_EQ(nBefore + 1, NavGdiLiveObjects());
        nav::Bitmap empty;
        EXPECT_FALSE(empty);
        nav::Font failed(nullptr);
        EXPECT_EQ(nBefore + 1, NavGdiLiveObjects()) << "null handles are not counted";
    }
    EXPECT_EQ(nBefore, NavGdiLiveObjects());
}
