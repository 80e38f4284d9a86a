/* ImgBlendAlloc.h - the image library's heap and its budget. Every block the image library and
   its PNG decoder take comes from ImgBlendMalloc or ImgBlendRealloc and goes back through
   ImgBlendFree. Read by C and C++. */
#ifndef IMGBLEND_ALLOC_H
#define IMGBLEND_ALLOC_H

#include <stddef.h>

/* The budget, the same on the desktop and the device (a process there has 32 MB of address
   space, shared with the application):
   - an image has at most IMGBLEND_MAX_PIXELS pixels (a whole 480 x 272 screen in either
     orientation fits, six times the largest artwork the controls carry) and at most
     IMGBLEND_MAX_SIDE pixels a side;
   - no single request of the image library is above IMGBLEND_MAX_REQUEST bytes: a larger
     one fails at the allocation point, whatever asked for it. A 16-bit RGBA image of the
     largest size decodes within it. */
#define IMGBLEND_MAX_PIXELS 131072
#define IMGBLEND_MAX_SIDE 8192
#define IMGBLEND_MAX_REQUEST (3u * 1024u * 1024u)

#ifdef __cplusplus
extern "C" {
#endif

/* A zeroed block of cb bytes, or null (cb above IMGBLEND_MAX_REQUEST, or no memory). */
void* ImgBlendMalloc(size_t cb);
/* The block p (null: a new one) at cb bytes, what it gains zeroed; null when it cannot grow,
   p then still held. */
void* ImgBlendRealloc(void* p, size_t cb);
/* Gives back a block of the two above; null is ignored. */
void ImgBlendFree(void* p);

#ifdef IMGBLEND_HEAP_STATS
/* Counted by builds that define IMGBLEND_HEAP_STATS (the native checks of the decoder): bytes
   held now, the most held at once and the largest request (granted or not) since the last
   reset. */
struct ImgBlendHeapStats
{
    size_t cbHeld;
    size_t cbPeak;
    size_t cbLargestRequest;
};
void ImgBlendGetHeapStats(struct ImgBlendHeapStats* pStats);
void ImgBlendResetHeapStats(void);
#endif

#ifdef __cplusplus
}
#endif

#endif /* IMGBLEND_ALLOC_H */
