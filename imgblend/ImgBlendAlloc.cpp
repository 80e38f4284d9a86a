// ImgBlendAlloc.cpp - the image library's one allocation point (see ImgBlendAlloc.h).
//
// Each block carries its size in front of it, so that a block that grows has its new part
// zeroed and, in the native checks, the bytes held are known. The decoder therefore never
// reads memory nobody wrote, whatever a hostile stream asks it to copy.
#include "ImgBlendAlloc.h"

#include <stdlib.h>
#include <string.h>

namespace
{
// The size in front of each block; 8 bytes keep the block aligned as malloc aligns.
union BlockHead
{
    size_t cb;
    double align;
};

#ifdef IMGBLEND_HEAP_STATS
ImgBlendHeapStats g_stats;
#endif

void NoteRequest(size_t cb)
{
#ifdef IMGBLEND_HEAP_STATS
    if (cb > g_stats.cbLargestRequest)
        g_stats.cbLargestRequest = cb;
#else
    (void)cb;
#endif
}

void NoteHeld(size_t cbGiven, size_t cbTaken)
{
#ifdef IMGBLEND_HEAP_STATS
    g_stats.cbHeld = g_stats.cbHeld + cbGiven - cbTaken;
    if (g_stats.cbHeld > g_stats.cbPeak)
        g_stats.cbPeak = g_stats.cbHeld;
#else
    (void)cbGiven;
    (void)cbTaken;
#endif
}
} // namespace

extern "C" void* ImgBlendMalloc(size_t cb)
{
    NoteRequest(cb);
    if (cb > IMGBLEND_MAX_REQUEST)
        return NULL;
    BlockHead* pHead = static_cast<BlockHead*>(calloc(1, sizeof(BlockHead) + cb));
    if (!pHead)
        return NULL;
    pHead->cb = cb;
    NoteHeld(cb, 0);
    return pHead + 1;
}

extern "C" void* ImgBlendRealloc(void* p, size_t cb)
{
    if (!p)
        return ImgBlendMalloc(cb);
    NoteRequest(cb);
    if (cb > IMGBLEND_MAX_REQUEST)
        return NULL;
    BlockHead* pOld = static_cast<BlockHead*>(p) - 1;
    const size_t cbOld = pOld->cb;
    BlockHead* pHead = static_cast<BlockHead*>(realloc(pOld, sizeof(BlockHead) + cb));
    if (!pHead)
        return NULL;
    if (cb > cbOld)
        memset(reinterpret_cast<unsigned char*>(pHead + 1) + cbOld, 0, cb - cbOld);
    pHead->cb = cb;
    NoteHeld(cb, cbOld);
    return pHead + 1;
}

extern "C" void ImgBlendFree(void* p)
{
    if (!p)
        return;
    BlockHead* pHead = static_cast<BlockHead*>(p) - 1;
    NoteHeld(0, pHead->cb);
    free(pHead);
}

#ifdef IMGBLEND_HEAP_STATS
extern "C" void ImgBlendGetHeapStats(ImgBlendHeapStats* pStats)
{
    *pStats = g_stats;
}

extern "C" void ImgBlendResetHeapStats(void)
{
    g_stats.cbPeak = g_stats.cbHeld;
    g_stats.cbLargestRequest = 0;
}
#endif
