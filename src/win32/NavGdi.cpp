// NavGdi.cpp - the paint buffer the library keeps between paints, the library's resource
// loaders and the artwork kept with the buffer.
#include "win32/NavGdi.h"

namespace nav
{
HBITMAP LoadBitmapResource(HINSTANCE hModule, WORD wResId)
{
    return LoadBitmapW(hModule, MAKEINTRESOURCEW(wResId));
}

HIMAGELIST LoadImageListResource(HINSTANCE hModule, WORD wResId, int cx, COLORREF crMask)
{
    return ImageList_LoadImageW(hModule, MAKEINTRESOURCEW(wResId), cx, 0, crMask, IMAGE_BITMAP, 0);
}

// A bitmap resource loaded into a memory DC made like the screen, with its size. Members in
// acquisition order: the bitmap is deselected, then the DC deleted, then the bitmap.
class LoadedBitmap
{
public:
    LoadedBitmap(HINSTANCE hModule, WORD wResId, HDC hdcRef)
        : m_bitmap(LoadBitmapResource(hModule, wResId)), m_size(SizeOf(m_bitmap)),
          m_dc(m_size.cx > 0 && m_size.cy > 0 ? CreateCompatibleDC(hdcRef) : NULL),
          m_select(m_dc, m_bitmap)
    {
    }
    // The DC with the bitmap in it, or null.
    HDC Get() const { return m_dc; }
    int Width() const { return m_size.cx; }
    int Height() const { return m_size.cy; }

private:
    LoadedBitmap(const LoadedBitmap&);
    LoadedBitmap& operator=(const LoadedBitmap&);

    static SIZE SizeOf(HBITMAP hbm)
    {
        SIZE size = {0, 0};
        BITMAP bm;
        if (hbm && GetObjectW(hbm, sizeof(bm), &bm) == sizeof(bm))
        {
            size.cx = bm.bmWidth;
            size.cy = bm.bmHeight;
        }
        return size;
    }

    Bitmap m_bitmap;
    SIZE m_size;
    UniqueHandle<HDC, CloseMemDC> m_dc;
    SelectGuard m_select;
};

namespace
{
// The buffer lent to one paint at a time, on the thread that painted first. Freed when the
// library unloads.
struct KeptBuffer
{
    KeptBuffer() : pBuffer(NULL), nThread(0), bBusy(false) {}
    ~KeptBuffer() { FreeObject(pBuffer); }
    BackBuffer* pBuffer;
    LONG nThread; // the first painting thread's id
    bool bBusy;

    // The kept buffer grown to hold cx x cy, or null when it cannot be lent.
    BackBuffer* Borrow(int cx, int cy)
    {
        const LONG nCurrent = static_cast<LONG>(GetCurrentThreadId());
        if (!nThread)
            InterlockedCompareExchange(&nThread, nCurrent, 0);
        if (nThread != nCurrent || bBusy || cx <= 0 || cy <= 0)
            return NULL;
        const int cxKept = pBuffer && pBuffer->Width() > cx ? pBuffer->Width() : cx;
        const int cyKept = pBuffer && pBuffer->Height() > cy ? pBuffer->Height() : cy;
        if (static_cast<LONGLONG>(cxKept) * cyKept > PaintBuffer::kMaxKeptPixels)
            return NULL;
        if (!pBuffer || cxKept != pBuffer->Width() || cyKept != pBuffer->Height())
        {
            FreeObject(pBuffer);
            // Made like the screen, which every window DC shares.
            pBuffer = NewObject(Type<BackBuffer>(), static_cast<HDC>(NULL), cxKept, cyKept);
            if (pBuffer && !*pBuffer)
            {
                FreeObject(pBuffer);
                pBuffer = NULL;
            }
            if (!pBuffer)
                return NULL;
        }
        bBusy = true;
        return pBuffer;
    }
};
KeptBuffer g_kept;
LONG g_nControlWindows; // the device's Interlocked calls take a plain LPLONG

// The artwork kept with the buffer, on the buffer's thread: a few bitmaps, each loaded at the
// first drawing that wants it. A bitmap that could not be loaded is not kept (the next drawing
// tries again).
struct KeptArtwork
{
    enum
    {
        kSlots = 8 // the edit's two frames, the combo box's four arrows, and room
    };
    struct Slot
    {
        HINSTANCE hModule;
        WORD wResId;
        LoadedBitmap* pLoaded; // null: a free slot
    };
    Slot slots[kSlots];

    ~KeptArtwork() { FreeAll(); }
    void FreeAll()
    {
        for (int i = 0; i < kSlots; ++i)
        {
            FreeObject(slots[i].pLoaded);
            slots[i].pLoaded = NULL;
        }
    }
    // The kept bitmap, loaded now when it is not kept yet. *pbKept says whether a slot held or
    // took it: false when every slot is taken (or no memory for the bitmap's owner), and the
    // caller loads the bitmap for itself.
    LoadedBitmap* Find(HINSTANCE hModule, WORD wResId, bool* pbKept)
    {
        Slot* pFree = NULL;
        for (int i = 0; i < kSlots; ++i)
        {
            Slot& slot = slots[i];
            if (slot.pLoaded && slot.hModule == hModule && slot.wResId == wResId)
            {
                *pbKept = true;
                return slot.pLoaded;
            }
            if (!slot.pLoaded && !pFree)
                pFree = &slot;
        }
        *pbKept = false;
        if (!pFree)
            return NULL;
        LoadedBitmap* pLoaded =
            NewObject(Type<LoadedBitmap>(), hModule, wResId, static_cast<HDC>(NULL));
        if (!pLoaded)
            return NULL;
        *pbKept = true;
        if (!pLoaded->Get())
        {
            FreeObject(pLoaded); // nothing to keep, nothing to draw
            return NULL;
        }
        pFree->hModule = hModule;
        pFree->wResId = wResId;
        pFree->pLoaded = pLoaded;
        return pLoaded;
    }
};
KeptArtwork g_artwork; // zero-initialised: every slot free

// The image lists kept with the buffer, on the buffer's thread, as the bitmaps above.
struct KeptImageLists
{
    enum
    {
        kSlots = 2 // the check and radio icons, and room
    };
    struct Slot
    {
        HINSTANCE hModule;
        WORD wResId;
        int cx;
        COLORREF crMask;
        ImageList list; // empty: a free slot
    };
    Slot slots[kSlots];

    void FreeAll()
    {
        for (int i = 0; i < kSlots; ++i)
            slots[i].list.Attach(NULL);
    }
    // The kept list, loaded now when it is not kept yet; *pbKept false when every slot is
    // taken, and the caller loads the list for itself.
    HIMAGELIST Find(HINSTANCE hModule, WORD wResId, int cx, COLORREF crMask, bool* pbKept)
    {
        Slot* pFree = NULL;
        for (int i = 0; i < kSlots; ++i)
        {
            Slot& slot = slots[i];
            if (slot.list && slot.hModule == hModule && slot.wResId == wResId &&
                slot.cx == cx && slot.crMask == crMask)
            {
                *pbKept = true;
                return slot.list;
            }
            if (!slot.list && !pFree)
                pFree = &slot;
        }
        *pbKept = pFree != NULL;
        if (!pFree)
            return NULL;
        pFree->list.Attach(LoadImageListResource(hModule, wResId, cx, crMask));
        pFree->hModule = hModule;
        pFree->wResId = wResId;
        pFree->cx = cx;
        pFree->crMask = crMask;
        return pFree->list; // null when it could not be loaded: the slot stays free
    }
};
KeptImageLists g_imageLists; // every slot free

// Whether this is the thread that keeps the buffer and the artwork (the first that asks).
bool OnKeepingThread()
{
    const LONG nCurrent = static_cast<LONG>(GetCurrentThreadId());
    if (!g_kept.nThread)
        InterlockedCompareExchange(&g_kept.nThread, nCurrent, 0);
    return g_kept.nThread == nCurrent;
}
} // namespace

ArtworkDC::ArtworkDC(HINSTANCE hModule, WORD wResId) : m_hdc(NULL), m_cx(0), m_cy(0), m_pOwn(NULL)
{
    bool bKept = false;
    const LoadedBitmap* pLoaded =
        OnKeepingThread() ? g_artwork.Find(hModule, wResId, &bKept) : NULL;
    if (!bKept)
    {
        m_pOwn = NewObject(Type<LoadedBitmap>(), hModule, wResId, static_cast<HDC>(NULL));
        pLoaded = m_pOwn;
    }
    if (pLoaded && pLoaded->Get())
    {
        m_hdc = pLoaded->Get();
        m_cx = pLoaded->Width();
        m_cy = pLoaded->Height();
    }
}

ArtworkDC::~ArtworkDC()
{
    FreeObject(m_pOwn);
}

ArtworkImageList::ArtworkImageList(HINSTANCE hModule, WORD wResId, int cx, COLORREF crMask)
    : m_himl(NULL)
{
    bool bKept = false;
    if (OnKeepingThread())
        m_himl = g_imageLists.Find(hModule, wResId, cx, crMask, &bKept);
    if (!bKept)
    {
        m_own.Attach(LoadImageListResource(hModule, wResId, cx, crMask));
        m_himl = m_own;
    }
}

PaintBuffer::PaintBuffer(HDC hdcTarget, int cx, int cy, HBRUSH hbrFirst)
    : PaintSurface(cx, cy), m_bLent(false), m_nSaved(0), m_pOwn(NULL)
{
    if (BackBuffer* pKept = g_kept.Borrow(cx, cy))
    {
        m_nSaved = SaveDC(pKept->Get());
        if (m_nSaved)
        {
            m_bLent = true;
            m_hdc = pKept->Get();
            IntersectClipRect(m_hdc, 0, 0, cx, cy);
            if (!hbrFirst)
                PatBlt(m_hdc, 0, 0, cx, cy, BLACKNESS); // what a new DIB section holds
        }
        else
        {
            g_kept.bBusy = false;
        }
    }
    if (!m_bLent)
    {
        m_pOwn = NewObject(Type<BackBuffer>(), hdcTarget, cx, cy);
        if (m_pOwn && *m_pOwn)
            m_hdc = m_pOwn->Get();
    }
    const RECT rcAll = {0, 0, cx, cy};
    if (m_hdc && hbrFirst)
        FillRect(m_hdc, &rcAll, hbrFirst);
}

void PaintBuffer::GiveBackKept()
{
    if (g_kept.bBusy || g_kept.nThread != static_cast<LONG>(GetCurrentThreadId()))
        return;
    FreeObject(g_kept.pBuffer);
    g_kept.pBuffer = NULL;
    g_artwork.FreeAll();
    g_imageLists.FreeAll();
}

void PaintBuffer::ControlWindowIn()
{
    InterlockedIncrement(&g_nControlWindows);
}

void PaintBuffer::ControlWindowOut()
{
    if (InterlockedDecrement(&g_nControlWindows) == 0)
        GiveBackKept();
}

bool PaintBuffer::PutsBackAtEnd(HDC hdc)
{
    return hdc && g_kept.bBusy && g_kept.pBuffer && g_kept.pBuffer->Get() == hdc &&
           g_kept.nThread == static_cast<LONG>(GetCurrentThreadId());
}

PaintBuffer::~PaintBuffer()
{
    if (m_bLent)
    {
        RestoreDC(m_hdc, m_nSaved);
        g_kept.bBusy = false;
    }
    FreeObject(m_pOwn);
}
} // namespace nav
