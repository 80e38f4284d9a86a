// GalleryStatic.cpp - the gallery's static section.
#include "Gallery.h"

void BuildStaticSection(GalleryContext& ctx)
{
    GalleryTitle(ctx, L"Static");
}
