/* The one translation unit that compiles the PNG decoder. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
/* The failure reason is never read; without thread-local storage the decoder needs nothing
   the device's run time lacks. */
#define STBI_NO_THREAD_LOCALS
/* The decoder's memory comes zeroed through the image library's allocation point, which holds
   every request to the budget. */
#include "ImgBlendAlloc.h"
#define STBI_MALLOC(cb) ImgBlendMalloc(cb)
#define STBI_REALLOC(p, cb) ImgBlendRealloc(p, cb)
#define STBI_FREE(p) ImgBlendFree(p)
#include <stdlib.h>
#include <stb_image.h>
