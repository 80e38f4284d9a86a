// Tests of the library core: module handle, shared images and their load / release steps,
// and the artwork the library carries.
#include <gtest/gtest.h>

#include "CxImage.h"
#include "TestHost.h"
#include "hooks/NavTestHooks.h"
#include "core/NavCore.h"
#include "resource.h"

#include <string.h>

#include <vector>

namespace
{
HMODULE Library()
{
    return GetModuleHandleW(L"ZorNavCtrl.dll");
}

// Puts the shared images back as the entry point left them, whatever a test did.
class CoreTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        NavReleaseSharedImages();
        NavLoadSharedImages(GetModuleInstance());
    }
};

SIZE BitmapSize(HBITMAP hbm)
{
    BITMAP bm = {};
    GetObjectW(hbm, sizeof(bm), &bm);
    return {bm.bmWidth, bm.bmHeight};
}

DWORD WINAPI DoNothing(void*)
{
    return 0;
}
} // namespace

TEST_F(CoreTest, ModuleInstanceIsTheLibrarysOwnHandle)
{
    ASSERT_NE(nullptr, Library());
    EXPECT_EQ(Library(), GetModuleInstance());
}

TEST_F(CoreTest, LoadedAtProcessAttach)
{
    HBITMAP hBar = NavSharedBarBitmap();
    ASSERT_NE(nullptr, hBar);
    SIZE size = BitmapSize(hBar);
    EXPECT_EQ(30, size.cx);
    EXPECT_EQ(60, size.cy);

    CxImage* pSmall = NavSharedFace(FALSE);
    CxImage* pLarge = NavSharedFace(TRUE);
    ASSERT_NE(nullptr, pSmall);
    ASSERT_NE(nullptr, pLarge);
    EXPECT_NE(0, pSmall->GetImageState());
    EXPECT_NE(0, pLarge->GetImageState());
    // The button divides the faces into four frames of 78 and 106 pixels.
    EXPECT_EQ(312u, pSmall->GetWidth());
    EXPECT_EQ(424u, pLarge->GetWidth());
}

TEST_F(CoreTest, ThreadAttachAndDetachKeepTheImages)
{
    HBITMAP hBar = NavSharedBarBitmap();
    CxImage* pSmall = NavSharedFace(FALSE);
    CxImage* pLarge = NavSharedFace(TRUE);
    for (int i = 0; i < 3; ++i)
    {
        HANDLE hThread = CreateThread(nullptr, 0, DoNothing, nullptr, 0, nullptr);
        ASSERT_NE(nullptr, hThread);
        WaitForSingleObject(hThread, INFINITE);
        CloseHandle(hThread);
    }
    EXPECT_EQ(hBar, NavSharedBarBitmap());
    EXPECT_EQ(pSmall, NavSharedFace(FALSE));
    EXPECT_EQ(pLarge, NavSharedFace(TRUE));
    EXPECT_EQ(Library(), GetModuleInstance());
}

TEST_F(CoreTest, ReleaseEmptiesAllAndLoadFillsAgain)
{
    NavReleaseSharedImages();
    EXPECT_EQ(nullptr, NavSharedBarBitmap());
    EXPECT_EQ(nullptr, NavSharedFace(FALSE));
    EXPECT_EQ(nullptr, NavSharedFace(TRUE));
    NavReleaseSharedImages(); // nothing left to release

    NavLoadSharedImages(GetModuleInstance());
    EXPECT_NE(nullptr, NavSharedBarBitmap());
    ASSERT_NE(nullptr, NavSharedFace(FALSE));
    EXPECT_NE(0, NavSharedFace(FALSE)->GetImageState());
}

TEST_F(CoreTest, LoadOnlyFillsWhatIsEmpty)
{
    HBITMAP hBar = NavSharedBarBitmap();
    CxImage* pSmall = NavSharedFace(FALSE);
    NavLoadSharedImages(GetModuleInstance());
    EXPECT_EQ(hBar, NavSharedBarBitmap()) << "a second load must not replace (and leak)";
    EXPECT_EQ(pSmall, NavSharedFace(FALSE));
}

TEST_F(CoreTest, ModuleWithoutArtworkLeavesEmptyHolders)
{
    // The test program carries none of the library's resources: the bitmap stays null and the
    // faces exist but hold no image. Releasing them must still work.
    NavReleaseSharedImages();
    NavLoadSharedImages(GetModuleHandleW(nullptr));
    EXPECT_EQ(nullptr, NavSharedBarBitmap());
    ASSERT_NE(nullptr, NavSharedFace(FALSE));
    ASSERT_NE(nullptr, NavSharedFace(TRUE));
    EXPECT_EQ(0, NavSharedFace(FALSE)->GetImageState());
    EXPECT_EQ(0, NavSharedFace(TRUE)->GetImageState());
    NavReleaseSharedImages();
    EXPECT_EQ(nullptr, NavSharedFace(FALSE));
    EXPECT_EQ(nullptr, NavSharedFace(TRUE));
}

TEST_F(CoreTest, LoadingTheLibraryAgainAttachesAndDetachesCleanly)
{
    // A second, independent copy of the library runs its own attach and detach.
    wchar_t szPath[MAX_PATH], szCopy[MAX_PATH];
    GetModuleFileNameW(Library(), szPath, MAX_PATH);
    wcscpy(szCopy, szPath);
    wcscpy(wcsrchr(szCopy, L'\\') + 1, L"ZorNavCtrlCopy.dll");
    ASSERT_TRUE(CopyFileW(szPath, szCopy, FALSE));
    for (int i = 0; i < 3; ++i)
    {
        HMODULE hCopy = LoadLibraryW(szCopy);
        ASSERT_NE(nullptr, hCopy);
        typedef HINSTANCE(__cdecl * GetInstanceFn)(void);
        typedef HBITMAP(__cdecl * GetBarFn)(void);
        auto pfnInstance =
            reinterpret_cast<GetInstanceFn>(GetProcAddress(hCopy, "GetModuleInstance"));
        auto pfnBar = reinterpret_cast<GetBarFn>(GetProcAddress(hCopy, "NavSharedBarBitmap"));
        ASSERT_TRUE(pfnInstance && pfnBar);
        EXPECT_EQ(hCopy, pfnInstance());
        EXPECT_NE(nullptr, pfnBar());
        EXPECT_TRUE(FreeLibrary(hCopy));
    }
    DeleteFileW(szCopy);
    // The original copy is untouched.
    EXPECT_EQ(Library(), GetModuleInstance());
    EXPECT_NE(nullptr, NavSharedBarBitmap());
}

// ---- The artwork ----

namespace
{
const WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

struct Art
{
    WORD id;
    bool png;
    int cx, cy, bits;
};

const Art kArtwork[] = {
    {IDB_LIST_BAR, false, 30, 60, 8},
    {IDB_COMBO_ARROW_PRESSED, false, 24, 22, 8},
    {IDB_COMBO_ARROW, false, 24, 22, 8},
    {IDP_SCROLLBAR, true, 40, 480, 32},
    {IDB_COMBO_ARROW_LARGE, false, 32, 32, 8},
    {IDB_COMBO_ARROW_LARGE_PRESSED, false, 32, 32, 8},
    {IDB_CHECK_RADIO, false, 120, 30, 24},
    {IDB_EDIT_FRAME, false, 212, 36, 24},
    {IDB_EDIT_FRAME_FOCUS, false, 212, 36, 24},
    {IDP_FACES_LARGE, true, 424, 50, 32},
    {IDP_SCROLL_THUMB, true, 40, 45, 32},
    {IDP_FACES_SMALL, true, 312, 50, 32},
};

// Reads the library's artwork as it is stored.
class ArtworkTest : public ::testing::Test
{
protected:
    // The raw bytes of a resource in the Chinese (PRC) language only.
    static const BYTE* RawResource(const wchar_t* pszType, WORD id, DWORD* pcb)
    {
        HRSRC hRes = FindResourceExW(Library(), pszType, MAKEINTRESOURCEW(id), kChinesePrc);
        if (!hRes)
            return nullptr;
        *pcb = SizeofResource(Library(), hRes);
        return static_cast<const BYTE*>(LockResource(LoadResource(Library(), hRes)));
    }

    static DWORD BigEndian(const BYTE* p)
    {
        return (DWORD(p[0]) << 24) | (DWORD(p[1]) << 16) | (DWORD(p[2]) << 8) | p[3];
    }

    // The colour of a pixel of a bitmap resource, through a DIB copy.
    static COLORREF BitmapPixel(HBITMAP hbm, int x, int y)
    {
        HDC hdc = CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        COLORREF c = GetPixel(hdc, x, y);
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        return c;
    }
};
} // namespace

TEST_F(ArtworkTest, EveryResourceHasItsIdTypeSizeDepthAndLanguage)
{
    for (const Art& art : kArtwork)
    {
        SCOPED_TRACE(testing::Message() << "resource " << art.id);
        DWORD cb = 0;
        const BYTE* p = RawResource(art.png ? L"PNG" : MAKEINTRESOURCEW(2) /* RT_BITMAP */,
                                    art.id, &cb);
        ASSERT_NE(nullptr, p);
        if (art.png)
        {
            ASSERT_GE(cb, 33u);
            EXPECT_EQ(0, memcmp(p, "\x89PNG\r\n\x1a\n", 8));
            EXPECT_EQ(DWORD(art.cx), BigEndian(p + 16));
            EXPECT_EQ(DWORD(art.cy), BigEndian(p + 20));
            EXPECT_EQ(8, p[24]) << "8 bits per channel";
            EXPECT_EQ(6, p[25]) << "RGBA";
        }
        else
        {
            ASSERT_GE(cb, sizeof(BITMAPINFOHEADER));
            const BITMAPINFOHEADER* pbih = reinterpret_cast<const BITMAPINFOHEADER*>(p);
            EXPECT_EQ(art.cx, pbih->biWidth);
            EXPECT_EQ(art.cy, abs(pbih->biHeight));
            EXPECT_EQ(art.bits, pbih->biBitCount);
        }
    }
}

TEST_F(ArtworkTest, VersionIs1001InChinesePrcUnicode)
{
    wchar_t szPath[MAX_PATH];
    GetModuleFileNameW(Library(), szPath, MAX_PATH);
    DWORD dwHandle = 0;
    DWORD cb = GetFileVersionInfoSizeW(szPath, &dwHandle);
    ASSERT_NE(0u, cb);
    std::vector<BYTE> data(cb);
    ASSERT_TRUE(GetFileVersionInfoW(szPath, 0, cb, data.data()));

    VS_FIXEDFILEINFO* pInfo = nullptr;
    UINT uLen = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&pInfo), &uLen));
    EXPECT_EQ(MAKELONG(0, 1), pInfo->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(1, 0), pInfo->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(0, 1), pInfo->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(1, 0), pInfo->dwProductVersionLS);

    WORD* pTranslation = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&pTranslation), &uLen));
    ASSERT_GE(uLen, 4u);
    EXPECT_EQ(0x0804, pTranslation[0]);
    EXPECT_EQ(0x04B0, pTranslation[1]);
}

TEST_F(ArtworkTest, ColourKeyedBitmapsAreMagentaExactlyWhereTheyMustNotShow)
{
    // Corners of the bar and the edit frames are drawn with a magenta key; their middles must
    // never be magenta, or holes would show in the controls.
    struct
    {
        WORD id;
        POINT key[2];
        POINT solid[2];
    } cases[] = {
        {IDB_LIST_BAR, {{0, 0}, {29, 59}}, {{15, 30}, {15, 1}}},
        {IDB_EDIT_FRAME, {{0, 0}, {211, 35}}, {{106, 18}, {106, 0}}},
        {IDB_EDIT_FRAME_FOCUS, {{0, 35}, {211, 0}}, {{106, 18}, {0, 18}}},
        {IDB_CHECK_RADIO, {{0, 0}, {119, 29}}, {{15, 15}, {75, 15}}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "bitmap " << c.id);
        HBITMAP hbm = LoadBitmapW(Library(), MAKEINTRESOURCEW(c.id));
        ASSERT_NE(nullptr, hbm);
        for (const POINT& pt : c.key)
            EXPECT_EQ(RGB(255, 0, 255), BitmapPixel(hbm, pt.x, pt.y)) << pt.x << "," << pt.y;
        for (const POINT& pt : c.solid)
            EXPECT_NE(RGB(255, 0, 255), BitmapPixel(hbm, pt.x, pt.y)) << pt.x << "," << pt.y;
        DeleteObject(hbm);
    }
}

TEST_F(ArtworkTest, ButtonFacesDisabledFrameLooksLikeNormal)
{
    for (CxImage* pFace : {NavSharedFace(FALSE), NavSharedFace(TRUE)})
    {
        ASSERT_NE(nullptr, pFace);
        const int cx = static_cast<int>(pFace->GetWidth() / 4);
        navtest::Canvas canvas(4 * cx, 50);
        canvas.Fill(RGB(0, 0, 0));
        pFace->DrawAlphaChannel(canvas, 0, 0, 4 * cx, 50, 0, 0, 255, 0);
        const navtest::Pixels px = canvas.Read();
        for (int y = 0; y < 50; y += 7)
            for (int x = 0; x < cx; x += 5)
                ASSERT_EQ(px.At(x, y), px.At(x + 3 * cx, y)) << "at " << x << "," << y;
        EXPECT_NE(px.At(cx / 2, 25), px.At(cx + cx / 2, 25)) << "pressed differs from normal";
        EXPECT_NE(px.At(cx / 2, 25), px.At(2 * cx + cx / 2, 25)) << "focused differs";
        EXPECT_EQ(RGB(0, 0, 0), px.At(0, 0)) << "rounded corners are transparent";
    }
}
