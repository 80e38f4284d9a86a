/* The one translation unit that compiles the PNG writer used for pictures of windows. */
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
