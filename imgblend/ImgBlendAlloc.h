/* ImgBlendAlloc.h - the image library's allocation point: every heap block, resource, DIB
   section and DC it obtains passes IMG_ALLOC, which a test can make fail in the desktop build
   (ImgBlendHooks.h); the device build compiles it away. The PNG decoder takes its memory from
   ImgBlendMalloc and ImgBlendRealloc, so its allocations count too. Read by C and C++. */
#ifndef IMGBLEND_ALLOC_H
#define IMGBLEND_ALLOC_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#if !defined(_WIN32_WCE)
/* Non-zero when the next allocation may go ahead (always, outside tests). */
int ImgBlendAllocationGoesAhead(void);
#endif
void* ImgBlendMalloc(size_t cb);
void* ImgBlendRealloc(void* p, size_t cb);

#ifdef __cplusplus
}
#endif

#if defined(_WIN32_WCE)
#define IMG_ALLOC(acquire, failed) (acquire)
#else
#define IMG_ALLOC(acquire, failed) (ImgBlendAllocationGoesAhead() ? (acquire) : (failed))
#endif

#endif /* IMGBLEND_ALLOC_H */
