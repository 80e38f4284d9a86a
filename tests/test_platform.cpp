// Tests of the device stand-ins and of the GDI owners every control paints with.
#include <gtest/gtest.h>

#include "TestHost.h"
#include "StandIn.h"
#include "win32/NavGdi.h"
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

    StandInSipSimulate(SIPF_OFF, FALSE);
    EXPECT_TRUE(SipGetInfo(&si));
    EXPECT_EQ(DWORD(SIPF_OFF), si.fdwFlags);

    EXPECT_TRUE(SipShowIM(SIPF_ON));
    EXPECT_EQ(1, StandInSipShowCount());
    EXPECT_EQ(DWORD(SIPF_ON), StandInSipLastShowFlag());
    EXPECT_TRUE(SipGetInfo(&si));
    EXPECT_EQ(DWORD(SIPF_ON), si.fdwFlags);

    StandInSipSimulate(SIPF_ON | 0x2, FALSE);
    EXPECT_EQ(0, StandInSipShowCount());
    EXPECT_TRUE(SipGetInfo(&si));
    EXPECT_EQ(DWORD(SIPF_ON | 0x2), si.fdwFlags);
}

TEST(SoftInputPanel, FailedQueriesWriteNothing)
{
    StandInSipSimulate(SIPF_ON, TRUE);
    SIPINFO si = {};
    si.cbSize = sizeof(si);
    si.fdwFlags = 0xABCD;
    EXPECT_FALSE(SipGetInfo(&si));
    EXPECT_EQ(0xABCDu, si.fdwFlags);

    StandInSipSimulate(SIPF_ON, FALSE);
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
        navtest::Canvas dst(4, 1);
        dst.Fill(RGB(90, 90, 90));

        HANDLE hSource = useBitmap ? static_cast<HANDLE>(hSrc) : static_cast<HANDLE>(hdcSrc);
        EXPECT_TRUE(TransparentImage(dst, 0, 0, 4, 1, hSource, 0, 0, 4, 1, RGB(255, 0, 255)));
        EXPECT_EQ(RGB(90, 90, 90), GetPixel(dst, 0, 0));
        EXPECT_EQ(RGB(10, 20, 30), GetPixel(dst, 1, 0));
        EXPECT_EQ(RGB(90, 90, 90), GetPixel(dst, 2, 0));
        EXPECT_EQ(RGB(1, 2, 3), GetPixel(dst, 3, 0));
    }
    EXPECT_FALSE(TransparentImage(hdcSrc, 0, 0, 1, 1, nullptr, 0, 0, 1, 1, 0));
    DeleteDC(hdcSrc);
    DeleteObject(hSrc);
    ReleaseDC(host, hdcScreen);
}

namespace
{
// A 32-bit memory surface of known content for colour-key comparisons.
struct Surface32
{
    Surface32(HDC hdcRef, int cx, int cy) : dc(hdcRef), bitmap(nav::CreateDib32(hdcRef, cx, cy)),
                                            select(dc, bitmap), cx(cx), cy(cy)
    {
    }
    nav::MemDC dc;
    nav::Bitmap bitmap;
    nav::SelectGuard select;
    int cx, cy;
};

// A source with magenta scattered in runs of different lengths, and a busy destination.
void FillSource(HDC hdc, int cx, int cy)
{
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            SetPixelV(hdc, x, y, (x * 7 + y * 3) % 5 < 2 ? RGB(255, 0, 255)
                                                          : RGB(x * 9, y * 11, 200 - x - y));
}

void FillDest(HDC hdc, int cx, int cy)
{
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            SetPixelV(hdc, x, y, navtest::PatternAt(x * 5, y * 3));
}
} // namespace

TEST(Platform, TransparentImageMatchesTheSystemsColourKeyedCopy)
{
    navtest::TestHost host(64, 64);
    nav::WindowDC hdcWin(host);
    Surface32 src(hdcWin, 40, 40);
    FillSource(src.dc, 40, 40);

    struct
    {
        const char* label;
        int xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc;
        bool clip;
    } cases[] = {
        {"6 x 6 corner", 3, 4, 6, 6, 0, 0, 6, 6, false},
        {"offset piece", 10, 2, 9, 7, 21, 13, 9, 7, false},
        {"one row", 0, 0, 16, 1, 2, 5, 16, 1, false},
        {"clipped destination", 0, 0, 12, 12, 4, 4, 12, 12, true},
        {"largest small piece", 1, 1, 16, 16, 3, 3, 16, 16, false},
        {"larger than small", 0, 0, 30, 30, 1, 1, 30, 30, false},
        {"stretched", 2, 2, 20, 10, 0, 0, 10, 5, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.label);
        Surface32 ours(hdcWin, 40, 40), theirs(hdcWin, 40, 40);
        for (Surface32* pDst : {&ours, &theirs})
        {
            FillDest(pDst->dc, 40, 40);
            if (c.clip)
                IntersectClipRect(pDst->dc, 2, 3, 8, 9);
        }
        EXPECT_TRUE(TransparentImage(ours.dc, c.xDest, c.yDest, c.cxDest, c.cyDest,
                                     src.dc.Get(), c.xSrc, c.ySrc, c.cxSrc, c.cySrc,
                                     RGB(255, 0, 255)));
        TransparentBlt(theirs.dc, c.xDest, c.yDest, c.cxDest, c.cyDest, src.dc, c.xSrc, c.ySrc,
                       c.cxSrc, c.cySrc, RGB(255, 0, 255));
        EXPECT_EQ(static_cast<HGDIOBJ>(src.bitmap.Get()), GetCurrentObject(src.dc, OBJ_BITMAP))
            << "the source's bitmap is back in its DC";
        navtest::Pixels a = navtest::Pixels::FromDC(ours.dc, 0, 0, 40, 40);
        navtest::Pixels b = navtest::Pixels::FromDC(theirs.dc, 0, 0, 40, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(navtest::ColorText(b.At(x, y)), navtest::ColorText(a.At(x, y)))
                    << "at " << x << "," << y;
    }
}

TEST(Platform, TransparentImageLeavesNoObjectBehind)
{
    navtest::TestHost host(64, 64);
    nav::WindowDC hdcWin(host);
    Surface32 dst(hdcWin, 24, 24);
    nav::Bitmap src(nav::CreateDib32(hdcWin, 6, 6));
    Surface32 large(hdcWin, 20, 20); // a piece too large to read pixel by pixel
    const long nBefore = StandInLiveObjects();
    HGDIOBJ hBitmap = GetCurrentObject(dst.dc, OBJ_BITMAP);
    for (int i = 0; i < 2000; ++i)
    {
        TransparentImage(dst.dc, 0, 0, 6, 6, src.Get(), 0, 0, 6, 6, RGB(255, 0, 255));
        TransparentImage(dst.dc, 0, 0, 20, 20, large.dc.Get(), 0, 0, 20, 20, RGB(255, 0, 255));
    }
    EXPECT_EQ(nBefore, StandInLiveObjects());
    EXPECT_EQ(hBitmap, GetCurrentObject(dst.dc, OBJ_BITMAP));
    EXPECT_FALSE(TransparentImage(nullptr, 0, 0, 6, 6, src.Get(), 0, 0, 6, 6, 0));
}

// The stand-in of the device's platform copies bitmap resources' pixels itself instead of going
// through the desktop's loaders: what it makes must draw exactly what they make.
TEST(Platform, ResourceLoadersDrawWhatThePlatformsLoadersDraw)
{
    navtest::TestHost host(64, 64);
    nav::WindowDC hdcWin(host);
    HINSTANCE hLib = GetModuleHandleW(L"ZorNavCtrl.dll");
    ASSERT_TRUE(hLib);
    struct
    {
        const char* label;
        WORD wId;
    } bitmaps[] = {{"selection bar, 8 bits", 102},   {"combo arrow", 104},
                   {"large arrow, pressed", 107},     {"check and radio icons, 24 bits", 108},
                   {"edit frame with the focus", 110}};
    for (const auto& b : bitmaps)
    {
        SCOPED_TRACE(b.label);
        nav::Bitmap ours(nav::LoadBitmapResource(hLib, b.wId));
        nav::Bitmap theirs(static_cast<HBITMAP>(
            LoadImageW(hLib, MAKEINTRESOURCEW(b.wId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ASSERT_TRUE(ours);
        ASSERT_TRUE(theirs);
        BITMAP bmOurs = {}, bmTheirs = {};
        GetObjectW(ours, sizeof(bmOurs), &bmOurs);
        GetObjectW(theirs, sizeof(bmTheirs), &bmTheirs);
        ASSERT_EQ(bmTheirs.bmWidth, bmOurs.bmWidth);
        ASSERT_EQ(bmTheirs.bmHeight, bmOurs.bmHeight);
        EXPECT_EQ(bmTheirs.bmBitsPixel, bmOurs.bmBitsPixel);
        navtest::Pixels pixels[2];
        HBITMAP sources[2] = {ours, theirs};
        for (int i = 0; i < 2; ++i)
        {
            Surface32 target(hdcWin, bmOurs.bmWidth, bmOurs.bmHeight);
            nav::MemDC source(hdcWin);
            nav::SelectGuard select(source, sources[i]);
            BitBlt(target.dc, 0, 0, bmOurs.bmWidth, bmOurs.bmHeight, source, 0, 0, SRCCOPY);
            pixels[i] = navtest::Pixels::FromDC(target.dc, 0, 0, bmOurs.bmWidth, bmOurs.bmHeight);
        }
        EXPECT_TRUE(pixels[1].Raw() == pixels[0].Raw());
    }

    // The icons as an image list: every icon over a busy background, keyed pixels left alone.
    nav::ImageList ours(nav::LoadImageListResource(hLib, 108, 30, RGB(255, 0, 255)));
    nav::ImageList theirs(ImageList_LoadImageW(hLib, MAKEINTRESOURCEW(108), 30, 0,
                                               RGB(255, 0, 255), IMAGE_BITMAP,
                                               LR_CREATEDIBSECTION));
    ASSERT_TRUE(ours);
    ASSERT_TRUE(theirs);
    ASSERT_EQ(ImageList_GetImageCount(theirs), ImageList_GetImageCount(ours));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(ours, &cx, &cy);
    EXPECT_EQ(30, cx);
    EXPECT_EQ(30, cy);
    for (int nIcon = 0; nIcon < ImageList_GetImageCount(ours); ++nIcon)
    {
        SCOPED_TRACE(nIcon);
        navtest::Pixels pixels[2];
        HIMAGELIST lists[2] = {ours, theirs};
        for (int i = 0; i < 2; ++i)
        {
            Surface32 target(hdcWin, 36, 36);
            FillDest(target.dc, 36, 36);
            ImageList_Draw(lists[i], nIcon, target.dc, 3, 2, ILD_TRANSPARENT);
            pixels[i] = navtest::Pixels::FromDC(target.dc, 0, 0, 36, 36);
        }
        EXPECT_TRUE(pixels[1].Raw() == pixels[0].Raw());
    }

    EXPECT_EQ(nullptr, nav::LoadBitmapResource(hLib, 9999));
    EXPECT_EQ(nullptr, nav::LoadImageListResource(hLib, 9999, 30, RGB(255, 0, 255)));
}

// ---- GDI owners ----

TEST(GdiOwners, BackBufferRestoresAndFreesEverything)
{
    navtest::TestHost host(32, 32);
    nav::WindowDC hdcWin(host);
    HGDIOBJ hOriginal = nullptr;
    HDC hdcBuffer = nullptr;
    {
        nav::BackBuffer buffer(hdcWin, 20, 10);
        ASSERT_TRUE(buffer);
        hdcBuffer = buffer;
        HGDIOBJ hBitmap = GetCurrentObject(buffer, OBJ_BITMAP);
        BITMAP bm = {};
        GetObjectW(hBitmap, sizeof(bm), &bm);
        EXPECT_EQ(20, bm.bmWidth);
        EXPECT_EQ(10, bm.bmHeight);
        hOriginal = hBitmap;
    }
    EXPECT_EQ(0u, GetObjectType(hOriginal)) << "the back buffer's bitmap is deleted";
    EXPECT_EQ(0u, GetObjectType(hdcBuffer)) << "and its DC";
}

// A paint buffer lent from the kept one must look like a new one to every paint: black, its
// own size, the DC's state as made; a nested paint or an oversized one must get its own.
TEST(GdiOwners, PaintBufferLooksNewToEveryPaint)
{
    navtest::TestHost host(32, 32);
    nav::WindowDC hdcWin(host);
    { nav::PaintBuffer first(hdcWin, 8, 8); } // the kept buffer exists from here on
    const long nBefore = StandInLiveObjects();
    HFONT hFont = navtest::MakeFont(20);
    const COLORREF crText = GetTextColor(nav::PaintBuffer(hdcWin, 4, 4));
    const int nBkMode = GetBkMode(nav::PaintBuffer(hdcWin, 4, 4));
    struct
    {
        const char* label;
        int cx, cy;
    } sizes[] = {{"larger than before", 120, 40}, {"smaller", 30, 10}, {"taller", 20, 90},
                 {"one pixel", 1, 1}};
    for (const auto& c : sizes)
    {
        SCOPED_TRACE(c.label);
        {
            nav::PaintBuffer dirty(hdcWin, c.cx, c.cy);
            ASSERT_TRUE(dirty);
            EXPECT_TRUE(dirty.IsLent());
            PatBlt(dirty, 0, 0, 200, 200, WHITENESS);
            {
                // Left selected in the lent picture until its paint ends.
                nav::PaintSelectGuard font(dirty, hFont);
            }
            EXPECT_EQ(static_cast<HGDIOBJ>(hFont), GetCurrentObject(dirty, OBJ_FONT));
            SetTextColor(dirty, RGB(1, 2, 3));
            // What a parent's background answer, an application's drawing callback or a native
            // procedure may leave behind in the picture it was handed.
            IntersectClipRect(dirty, 0, 0, 1, 1);
            SetBkMode(dirty, OPAQUE);
            nav::PaintBuffer nested(hdcWin, c.cx, c.cy);
            ASSERT_TRUE(nested);
            EXPECT_FALSE(nested.IsLent()) << "the kept buffer is in use";
            const HGDIOBJ hNestedFont = GetCurrentObject(nested, OBJ_FONT);
            {
                nav::PaintSelectGuard font(nested, hFont);
            }
            EXPECT_EQ(hNestedFont, GetCurrentObject(nested, OBJ_FONT))
                << "a picture of its own gets its font back at once";
        }
        nav::PaintBuffer clean(hdcWin, c.cx, c.cy);
        EXPECT_TRUE(clean.IsLent());
        navtest::Pixels px = navtest::Pixels::FromDC(clean, 0, 0, c.cx, c.cy);
        for (DWORD v : px.Raw())
            ASSERT_EQ(0u, v);
        EXPECT_NE(static_cast<HGDIOBJ>(hFont), GetCurrentObject(clean, OBJ_FONT));
        EXPECT_EQ(crText, GetTextColor(clean));
        EXPECT_EQ(nBkMode, GetBkMode(clean));
        // Drawing stops at the paint's size, as in a bitmap of its own.
        RECT rcClip = {};
        EXPECT_EQ(SIMPLEREGION, GetClipBox(clean, &rcClip));
        EXPECT_EQ(c.cx, rcClip.right);
        EXPECT_EQ(c.cy, rcClip.bottom);
    }
    {
        // A paint that starts from a colour of its own finds it, lent or not.
        HBRUSH hbrFirst = GetSysColorBrush(COLOR_BTNFACE);
        nav::PaintBuffer lent(hdcWin, 6, 3, hbrFirst);
        nav::PaintBuffer nested(hdcWin, 6, 3, hbrFirst);
        ASSERT_TRUE(lent.IsLent());
        ASSERT_FALSE(nested.IsLent());
        for (HDC hdc : {lent.Get(), nested.Get()})
            EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(hdc, 5, 2));
    }
    nav::PaintBuffer huge(hdcWin, 300, nav::PaintBuffer::kMaxKeptPixels / 300 + 1);
    EXPECT_TRUE(huge);
    EXPECT_FALSE(huge.IsLent());
    DeleteObject(hFont);
    EXPECT_EQ(nBefore + 2, StandInLiveObjects()) << "the huge one's DC and bitmap, nothing else";
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

TEST(GdiOwners, OwnersReleaseOnAttachAndLetGoOnDetach)
{
    HBITMAP hDetached = nullptr;
    HBITMAP hKept = nullptr;
    {
        nav::Bitmap bmp(CreateBitmap(2, 2, 1, 1, nullptr));
        HBITMAP hFirst = bmp;
        bmp.Attach(CreateBitmap(3, 3, 1, 1, nullptr));
        EXPECT_EQ(0u, GetObjectType(hFirst));
        nav::Bitmap empty;
        EXPECT_FALSE(empty);
        nav::Font failed(nullptr);
        hDetached = bmp.Detach();
        nav::Bitmap kept(CreateBitmap(4, 4, 1, 1, nullptr));
        hKept = kept;
    }
    EXPECT_EQ(0u, GetObjectType(hKept)) << "an owner deletes what it holds";
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(hDetached)) << "detached, not deleted";
    DeleteObject(hDetached);
}
