// GalleryList.cpp - the gallery's list section.
#include "Gallery.h"

void BuildListSection(GalleryContext& ctx)
{
    GalleryTitle(ctx, L"List");
}
