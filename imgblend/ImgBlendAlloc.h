/* ImgBlendAlloc.h - the image library's heap: the PNG decoder takes its memory from
   ImgBlendMalloc and ImgBlendRealloc. Read by C and C++. */
#ifndef IMGBLEND_ALLOC_H
#define IMGBLEND_ALLOC_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

void* ImgBlendMalloc(size_t cb);
void* ImgBlendRealloc(void* p, size_t cb);

#ifdef __cplusplus
}
#endif

#endif /* IMGBLEND_ALLOC_H */
