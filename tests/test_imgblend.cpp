// Tests of the image holder: decoding, premultiplied pixels, blending, clipping, bad input.
#include <gtest/gtest.h>

#include "CxImage.h"
#include "StandIn.h"
#include "TestHost.h"

#include <vector>

using navtest::Canvas;

namespace
{
enum
{
    kPixel = 201,     // 1 x 1, RGB (200, 100, 50) at alpha 128
    kQuad = 202,      // 4 x 2: red, red, clear, clear / blue, blue, green@128, green@128
    kTruncated = 203,
    kCorrupt = 204,
    kNotPng = 205,
    kHuge = 206,      // header claims 60000 x 60000
    kLength2G = 207,  // an image data chunk that claims 2^31 - 1 bytes in a 47-byte file
    kBomb16Bit = 208, // 8192 x 8192 at 16-bit RGBA: a gigabyte from 66 bytes
    kBombDeflate = 209, // 1 x 1 whose data inflates to 4 MiB
    kBadCrc = 210,    // one pixel changed after its chunk's CRC was made
    kOverBudget = 211,  // 513 x 256, one column over the pixel budget
    kScreen = 212,    // 480 x 272, a whole screen
    kShortPalette = 213, // 16 x 16, indices 0 to 255 into a palette of red and blue
    kMissing = 299,
};

HMODULE Self()
{
    return GetModuleHandleW(nullptr);
}

// dst = src * (a/255) + dst * (1 - alpha * a / 255^2), with src premultiplied by alpha.
int Blend(int straight, int alpha, int constant, int dst)
{
    double pre = straight * alpha / 255.0;
    return static_cast<int>(pre * constant / 255.0 + dst * (1.0 - alpha * constant / 65025.0) +
                            0.5);
}
} // namespace

TEST(CxImage, KnownPixelBlendsPremultipliedOverDifferentBackgrounds)
{
    CxImage img;
    ASSERT_NE(0, img.LoadPNGFromResource(Self(), kPixel));
    EXPECT_NE(0, img.GetImageState());
    EXPECT_EQ(1u, img.GetWidth());

    struct Case
    {
        const char* label;
        COLORREF background;
        BYTE alpha;
    } cases[] = {
        {"black, opaque", RGB(0, 0, 0), 255},
        {"white, opaque", RGB(255, 255, 255), 255},
        {"white, half faded", RGB(255, 255, 255), 127},
        {"grey, half faded", RGB(90, 160, 20), 127},
    };
    for (const Case& c : cases)
    {
        Canvas canvas(3, 3);
        canvas.Fill(c.background);
        img.DrawAlphaChannel(canvas.Dc(), 1, 1, 1, 1, 0, 0, c.alpha, 0);
        COLORREF expected = RGB(Blend(200, 128, c.alpha, GetRValue(c.background)),
                                Blend(100, 128, c.alpha, GetGValue(c.background)),
                                Blend(50, 128, c.alpha, GetBValue(c.background)));
        EXPECT_TRUE(navtest::ColorNear(expected, canvas.At(1, 1), 2))
            << c.label << ": expected " << navtest::ColorText(expected) << " got "
            << navtest::ColorText(canvas.At(1, 1));
        EXPECT_EQ(c.background, canvas.At(0, 0)) << c.label << ": outside the region";
        EXPECT_EQ(c.background, canvas.At(2, 2)) << c.label << ": outside the region";
    }
}

TEST(CxImage, FullyTransparentPixelsLeaveTheBackground)
{
    CxImage img;
    ASSERT_NE(0, img.LoadPNGFromResource(Self(), kQuad));
    EXPECT_EQ(4u, img.GetWidth());

    const COLORREF bg = RGB(10, 20, 30);
    Canvas canvas(4, 2);
    canvas.Fill(bg);
    img.DrawAlphaChannel(canvas.Dc(), 0, 0, 4, 2, 0, 0, 255, 0);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(0, 0));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(1, 0));
    EXPECT_EQ(bg, canvas.At(2, 0));
    EXPECT_EQ(bg, canvas.At(3, 0));
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(0, 1));
    EXPECT_TRUE(navtest::ColorNear(RGB(Blend(0, 128, 255, 10), Blend(255, 128, 255, 20),
                                       Blend(0, 128, 255, 30)),
                                   canvas.At(3, 1)));
}

TEST(CxImage, RegionsOutsideTheImageAreClipped)
{
    CxImage img;
    ASSERT_NE(0, img.LoadPNGFromResource(Self(), kQuad));
    const COLORREF bg = RGB(1, 2, 3);

    // Half outside on the right: only the image's column 1 lands, at destination x 0.
    {
        Canvas canvas(6, 3);
        canvas.Fill(bg);
        EXPECT_NE(0u, img.DrawAlphaChannel(canvas.Dc(), 0, 0, 6, 3, 1, 0, 255, 0));
        EXPECT_EQ(RGB(255, 0, 0), canvas.At(0, 0));
        EXPECT_EQ(bg, canvas.At(3, 0)) << "nothing beyond the image's right edge";
        EXPECT_EQ(bg, canvas.At(0, 2)) << "nothing below the image";
    }
    // Negative source: the destination moves with the clipped part.
    {
        Canvas canvas(6, 4);
        canvas.Fill(bg);
        img.DrawAlphaChannel(canvas.Dc(), 0, 0, 3, 3, -2, -1, 255, 0);
        EXPECT_EQ(bg, canvas.At(1, 1));
        EXPECT_EQ(RGB(255, 0, 0), canvas.At(2, 1));
        EXPECT_EQ(RGB(0, 0, 255), canvas.At(2, 2));
    }
    // Entirely outside, empty or inverted regions draw nothing and say so.
    struct
    {
        const char* label;
        int cx, cy, xSrc, ySrc;
    } outside[] = {
        {"right of the image", 2, 2, 4, 0},  {"below the image", 2, 2, 0, 2},
        {"left of the image", 2, 2, -2, 0},  {"zero width", 0, 2, 0, 0},
        {"negative height", 2, -1, 0, 0},    {"far away", 5, 5, 0x7FFFFFF0, 0x7FFFFFF0},
    };
    for (const auto& c : outside)
    {
        Canvas canvas(4, 4);
        canvas.Fill(bg);
        EXPECT_EQ(0u, img.DrawAlphaChannel(canvas.Dc(), 0, 0, c.cx, c.cy, c.xSrc, c.ySrc, 255, 0))
            << c.label;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                ASSERT_EQ(bg, canvas.At(x, y)) << c.label << " at " << x << "," << y;
    }
}

TEST(CxImage, BadInputLeavesAnEmptyHolder)
{
    struct
    {
        const char* label;
        HMODULE module;
        WORD id;
    } cases[] = {
        {"missing resource", Self(), kMissing},
        {"truncated PNG", Self(), kTruncated},
        {"corrupt compressed data", Self(), kCorrupt},
        {"not a PNG", Self(), kNotPng},
        {"absurd dimensions", Self(), kHuge},
        {"chunk longer than the file", Self(), kLength2G},
        {"dimension bomb", Self(), kBomb16Bit},
        {"deflate bomb", Self(), kBombDeflate},
        {"wrong CRC", Self(), kBadCrc},
        {"over the pixel budget", Self(), kOverBudget},
        {"PNG id of another module", GetModuleHandleW(L"kernel32.dll"), kPixel},
    };
    for (const auto& c : cases)
    {
        CxImage img;
        const DWORD start = GetTickCount();
        EXPECT_EQ(0, img.LoadPNGFromResource(c.module, c.id)) << c.label;
        EXPECT_LT(GetTickCount() - start, 1000u) << c.label << ": answered 0 quickly";
        EXPECT_EQ(0, img.GetImageState()) << c.label;
        EXPECT_EQ(0u, img.GetWidth()) << c.label;
        Canvas canvas(2, 2);
        canvas.Fill(RGB(7, 7, 7));
        EXPECT_EQ(0u, img.DrawAlphaChannel(canvas.Dc(), 0, 0, 2, 2, 0, 0, 255, 0)) << c.label;
        EXPECT_EQ(RGB(7, 7, 7), canvas.At(0, 0)) << c.label;
    }
}

TEST(CxImage, ReleaseAndReloadCycles)
{
    CxImage img;
    EXPECT_EQ(0, img.GetImageState()) << "a new holder is empty";
    EXPECT_EQ(0u, img.DrawAlphaChannel(nullptr, 0, 0, 1, 1, 0, 0, 255, 0));

    ASSERT_NE(0, img.LoadPNGFromResource(Self(), kPixel));
    Canvas canvas(1, 1);
    canvas.Fill(RGB(0, 0, 0));
    EXPECT_EQ(0u, img.DrawAlphaChannel(nullptr, 0, 0, 1, 1, 0, 0, 255, 0)) << "null DC";
    img.DrawAlphaChannel(canvas.Dc(), 0, 0, 1, 1, 0, 0, 255, 0);

    // Loading again replaces the image; a failed load empties the holder.
    ASSERT_NE(0, img.LoadPNGFromResource(Self(), kQuad));
    EXPECT_EQ(4u, img.GetWidth());
    EXPECT_EQ(0, img.LoadPNGFromResource(Self(), kCorrupt));
    EXPECT_EQ(0, img.GetImageState());

    ASSERT_NE(0, img.LoadPNGFromResource(Self(), kPixel));
    img.ReleaseImage();
    EXPECT_EQ(0, img.GetImageState());
    img.ReleaseImage(); // twice is harmless

    // Draw / release cycles leave no GDI object behind: the stand-in's ledger counts every
    // object the image library holds.
    const long nLive = StandInLiveObjectsOf(L"imgblend.dll");
    img.LoadPNGFromResource(Self(), kPixel);
    img.DrawAlphaChannel(canvas.Dc(), 0, 0, 1, 1, 0, 0, 255, 0);
    EXPECT_LT(nLive, StandInLiveObjectsOf(L"imgblend.dll")) << "the drawing surface is counted";
    for (int i = 0; i < 1000; ++i)
    {
        img.LoadPNGFromResource(Self(), kPixel);
        img.DrawAlphaChannel(canvas.Dc(), 0, 0, 1, 1, 0, 0, 255, 0);
        img.ReleaseImage();
    }
    EXPECT_EQ(nLive, StandInLiveObjectsOf(L"imgblend.dll"));
}

TEST(CxImage, DrawingLeavesTheTargetDcAsItWas)
{
    CxImage img;
    ASSERT_NE(0, img.LoadPNGFromResource(Self(), kQuad));
    Canvas canvas(4, 4);
    canvas.Fill(RGB(0, 0, 0));
    const navtest::DcState before = navtest::MarkCallerDc(canvas);
    img.DrawAlphaChannel(canvas, 0, 0, 4, 2, 0, 0, 127, 0);
    EXPECT_EQ("", before.Changes(canvas));
}

// Within the budget: a whole screen loads; indices past a short palette draw opaque black.
TEST(CxImage, ScreenSizedAndShortPaletteImagesLoad)
{
    CxImage screen;
    ASSERT_NE(0, screen.LoadPNGFromResource(Self(), kScreen));
    EXPECT_EQ(480u, screen.GetWidth());

    CxImage img;
    ASSERT_NE(0, img.LoadPNGFromResource(Self(), kShortPalette));
    Canvas canvas(16, 16);
    canvas.Fill(RGB(200, 200, 200));
    img.DrawAlphaChannel(canvas.Dc(), 0, 0, 16, 16, 0, 0, 255, 0);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(0, 0));
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(1, 0));
    for (int i = 2; i < 256; ++i)
        ASSERT_EQ(RGB(0, 0, 0), canvas.At(i % 16, i / 16)) << "index " << i;
}
